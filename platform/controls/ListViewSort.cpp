#include "platform/controls/ListViewInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/Paint.h"

#include <algorithm>
#include <numeric>

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
    // The comparator sees copies of the values, so a list it changes is
    // noticed afterwards rather than sorted half-way.
    std::vector<LPARAM> values;
    std::vector<unsigned> serials;
    for (const CListViewRow& row : pState->rows) {
        values.push_back(row.lParam);
        serials.push_back(row.nSerial);
    }
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t { 0 });
    std::stable_sort(order.begin(), order.end(),
        [&](size_t a, size_t b) { return pfnCompare(values[a], values[b], lParamSort) < 0; });
    if (!(pState = ListViewSurvivor(hWnd)) || pState->rows.size() != serials.size())
        return FALSE;
    for (size_t i = 0; i < serials.size(); ++i) {
        if (pState->rows[i].nSerial != serials[i])
            return FALSE;
    }
    const unsigned nAnchor = IsRow(*pState, pState->nAnchor) ? serials[static_cast<size_t>(pState->nAnchor)] : 0;
    std::vector<CListViewRow> sorted;
    sorted.reserve(order.size());
    for (size_t nFrom : order)
        sorted.push_back(std::move(pState->rows[nFrom]));
    pState->rows = std::move(sorted);
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
