#include "platform/controls/ListViewInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/Paint.h"

#include <algorithm>
#include <cstdint>

namespace {

std::string Lowered(std::string strText)
{
    CharLowerBuff(strText.data(), static_cast<DWORD>(strText.size()));
    return strText;
}

bool Matches(HWND hWnd, int nRow, const LVFINDINFO& info, const std::string& strWanted)
{
    if (info.flags & LVFI_PARAM)
        return ListViewState(hWnd)->rows[static_cast<size_t>(nRow)].lParam == info.lParam;
    const std::string strText = Lowered(RowText(hWnd, nRow, 0));
    if (info.flags & LVFI_PARTIAL)
        return strText.compare(0, strWanted.size(), strWanted) == 0;
    return strText == strWanted;
}

} // namespace

BOOL SortRows(HWND hWnd, PFNLVCOMPARE pfnCompare, LPARAM lParamSort)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!pfnCompare)
        return FALSE;
    // The comparator sees copies of the values, each with the index of its
    // row, so a list it changes is noticed afterwards rather than sorted half-way.
    struct CSortKey {
        LPARAM value;
        uint32_t nRow;
    };
    std::vector<CSortKey> keys;
    keys.reserve(pState->rows.size());
    for (const CListViewRow& row : pState->rows)
        keys.push_back({ row.lParam, static_cast<uint32_t>(keys.size()) });
    const unsigned nReorders = pState->nReorders;
    const unsigned nAnchor
        = IsRow(*pState, pState->nAnchor) ? pState->rows[static_cast<size_t>(pState->nAnchor)].nSerial : 0;
    std::stable_sort(keys.begin(), keys.end(),
        [&](const CSortKey& a, const CSortKey& b) { return pfnCompare(a.value, b.value, lParamSort) < 0; });
    if (!(pState = ListViewSurvivor(hWnd)) || pState->nReorders != nReorders)
        return FALSE;
    // Rows move in place, cycle by cycle: position i takes row keys[i].nRow,
    // and a key that names its own position is done.
    std::vector<CListViewRow>& rows = pState->rows;
    for (uint32_t i = 0; i < keys.size(); ++i) {
        if (keys[i].nRow == i)
            continue;
        CListViewRow first = std::move(rows[i]);
        uint32_t j = i;
        for (uint32_t k = keys[j].nRow; k != i; k = keys[j].nRow) {
            rows[j] = std::move(rows[k]);
            keys[j].nRow = j;
            j = k;
        }
        rows[j] = std::move(first);
        keys[j].nRow = j;
    }
    ++pState->nReorders;
    pState->nAnchor = nAnchor ? RowOfSerial(*pState, nAnchor, 0) : -1;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

int FindRow(HWND hWnd, int nStartAfter, const LVFINDINFO* pInfo)
{
    if (!pInfo || !(pInfo->flags & (LVFI_PARAM | LVFI_STRING | LVFI_PARTIAL)))
        return -1;
    if (!(pInfo->flags & LVFI_PARAM) && !pInfo->psz)
        return -1;
    const std::string strWanted = (pInfo->flags & LVFI_PARAM) ? std::string() : Lowered(pInfo->psz);
    const CListViewState* pState = ListViewState(hWnd);
    const int nCount = RowCount(*pState);
    if (nStartAfter < -1 || nStartAfter >= nCount)
        return -1;
    const int nSteps = (pInfo->flags & LVFI_WRAP) ? nCount : nCount - nStartAfter - 1;
    for (int nStep = 0; nStep < nSteps; ++nStep) {
        const int nRow = (nStartAfter + 1 + nStep) % nCount;
        if (!(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
            return -1;
        if (Matches(hWnd, nRow, *pInfo, strWanted))
            return nRow;
    }
    return -1;
}
