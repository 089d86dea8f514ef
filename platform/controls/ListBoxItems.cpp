#include "platform/controls/ListBoxInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"

#include <algorithm>
#include <cstring>

namespace {

void DeleteItemNotify(HWND hWnd, int nIndex, ULONG_PTR nData)
{
    if (!IsOwnerDrawn(ListStyle(hWnd)))
        return;
    DELETEITEMSTRUCT dis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(nIndex), hWnd, nData };
    if (HWND hParent = ControlParent(hWnd))
        SendMessage(hParent, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

int CompareItems(HWND hWnd, const CListItem& first, int nFirst, const CListItem& second, int nSecond)
{
    if (HasStrings(ListStyle(hWnd)))
        return CompareString(
                   LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.strText.c_str(), -1, second.strText.c_str(), -1)
            - CSTR_EQUAL;
    COMPAREITEMSTRUCT cis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), hWnd, static_cast<UINT>(nFirst),
        first.nData, static_cast<UINT>(nSecond), second.nData, 0 };
    HWND hParent = ControlParent(hWnd);
    return hParent ? static_cast<int>(SendMessage(hParent, WM_COMPAREITEM, cis.CtlID, reinterpret_cast<LPARAM>(&cis)))
                   : 0;
}

LRESULT InsertItem(HWND hWnd, int nIndex, LPARAM lParam, bool bSorted)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    CListItem item;
    if (HasStrings(dwStyle))
        item.strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    else
        item.nData = static_cast<ULONG_PTR>(lParam);
    if (nIndex < 0 || nIndex > ItemCount(*pState))
        nIndex = ItemCount(*pState);
    if (bSorted) {
        // After the last item that does not sort behind the new one, found by
        // halving: the items of a sorted list stand in order.
        int nLow = 0;
        int nHigh = ItemCount(*pState);
        while (nLow < nHigh) {
            const int nMiddle = nLow + (nHigh - nLow) / 2;
            if (CompareItems(hWnd, item, -1, pState->items[static_cast<size_t>(nMiddle)], nMiddle) < 0)
                nHigh = nMiddle;
            else
                nLow = nMiddle + 1;
        }
        nIndex = nLow;
    }
    const ULONG_PTR nData = item.nData;
    pState->items.insert(pState->items.begin() + nIndex, std::move(item));
    // Measured once in place, so that the owner can read its text.
    if (dwStyle & LBS_OWNERDRAWVARIABLE)
        pState->items[static_cast<size_t>(nIndex)].nHeight
            = static_cast<int>(MeasureItem(hWnd, nIndex, nData, static_cast<UINT>(pState->nItemHeight)));
    if (pState->nCurSel >= nIndex)
        ++pState->nCurSel;
    if (pState->nCaret >= nIndex && ItemCount(*pState) > 1)
        ++pState->nCaret;
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nIndex;
}

LRESULT DeleteItem(HWND hWnd, int nIndex)
{
    CListBoxState* pState = ListBoxState(hWnd);
    if (nIndex < 0 || nIndex >= ItemCount(*pState))
        return LB_ERR;
    ULONG_PTR nData = pState->items[static_cast<size_t>(nIndex)].nData;
    pState->items.erase(pState->items.begin() + nIndex);
    if (pState->nCurSel == nIndex)
        pState->nCurSel = -1;
    else if (pState->nCurSel > nIndex)
        --pState->nCurSel;
    pState->nCaret = std::clamp(
        pState->nCaret > nIndex ? pState->nCaret - 1 : pState->nCaret, 0, std::max(ItemCount(*pState) - 1, 0));
    SetTop(hWnd, *pState, pState->nTop);
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    DeleteItemNotify(hWnd, nIndex, nData);
    return ItemCount(*pState);
}

// LB_GETTEXT: the string, or the item's value in a list without strings.
LRESULT GetText(HWND hWnd, int nIndex, LPSTR pszBuffer)
{
    const CListBoxState* pState = ListBoxState(hWnd);
    if (!IsItem(*pState, nIndex) || !pszBuffer)
        return LB_ERR;
    const CListItem& item = pState->items[static_cast<size_t>(nIndex)];
    if (!HasStrings(ListStyle(hWnd))) {
        std::memcpy(pszBuffer, &item.nData, sizeof(ULONG_PTR));
        return sizeof(ULONG_PTR);
    }
    std::strcpy(pszBuffer, item.strText.c_str());
    return static_cast<LRESULT>(item.strText.size());
}

} // namespace

UINT MeasureItem(HWND hWnd, int nIndex, ULONG_PTR nData, UINT nDefault)
{
    MEASUREITEMSTRUCT mis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(nIndex), 0, nDefault,
        nData };
    if (HWND hParent = ControlParent(hWnd))
        SendMessage(hParent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    return std::max<UINT>(mis.itemHeight, 1);
}

void ResetContent(HWND hWnd)
{
    CListBoxState* pState = ListBoxState(hWnd);
    std::vector<CListItem> items = std::move(pState->items);
    pState->items.clear();
    pState->nCurSel = -1;
    pState->nCaret = pState->nAnchor = pState->nTop = 0;
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    for (size_t i = 0; i < items.size(); ++i)
        DeleteItemNotify(hWnd, static_cast<int>(i), items[i].nData);
}

LRESULT FindString(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bExact)
{
    const CListBoxState* pState = ListBoxState(hWnd);
    const int nCount = ItemCount(*pState);
    if (nCount == 0)
        return LB_ERR;
    const auto nStart = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool bStrings = HasStrings(ListStyle(hWnd));
    std::string strFind = bStrings && lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    for (int n = 1; n <= nCount; ++n) {
        int i = ((nStart < 0 || nStart >= nCount ? -1 : nStart) + n) % nCount;
        const CListItem& item = pState->items[static_cast<size_t>(i)];
        if (!bStrings) {
            if (item.nData == static_cast<ULONG_PTR>(lParam))
                return i;
            continue;
        }
        std::string strItem = bExact ? item.strText : item.strText.substr(0, strFind.size());
        if (lstrcmpi(strItem.c_str(), strFind.c_str()) == 0)
            return i;
    }
    return LB_ERR;
}

BOOL HandleListBoxItemMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool bValid = IsItem(*pState, nIndex);
    switch (uMsg) {
    case LB_ADDSTRING:
        *plResult = InsertItem(hWnd, -1, lParam, (ListStyle(hWnd) & LBS_SORT) != 0);
        return TRUE;
    case LB_INSERTSTRING:
        *plResult = InsertItem(hWnd, nIndex, lParam, false);
        return TRUE;
    case LB_DELETESTRING:
        *plResult = DeleteItem(hWnd, nIndex);
        return TRUE;
    case LB_RESETCONTENT:
        ResetContent(hWnd);
        *plResult = LB_OKAY;
        return TRUE;
    case LB_GETCOUNT:
        *plResult = ItemCount(*pState);
        return TRUE;
    case LB_GETTEXT:
        *plResult = GetText(hWnd, nIndex, reinterpret_cast<LPSTR>(lParam));
        return TRUE;
    case LB_GETTEXTLEN:
        if (!bValid)
            *plResult = LB_ERR;
        else if (HasStrings(ListStyle(hWnd)))
            *plResult = static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].strText.size());
        else
            *plResult = static_cast<LRESULT>(sizeof(ULONG_PTR));
        return TRUE;
    case LB_GETITEMDATA:
        *plResult = bValid ? static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].nData) : LB_ERR;
        return TRUE;
    case LB_SETITEMDATA:
        *plResult = bValid ? LB_OKAY : LB_ERR;
        if (bValid)
            pState->items[static_cast<size_t>(nIndex)].nData = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        *plResult = FindString(hWnd, wParam, lParam, uMsg == LB_FINDSTRINGEXACT);
        return TRUE;
    case LB_DIR:
        *plResult = ListBoxDir(hWnd, static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}
