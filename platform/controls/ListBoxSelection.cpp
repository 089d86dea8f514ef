#include "platform/controls/ListBoxInternal.h"

#include "platform/window/Input.h"

#include <algorithm>

namespace {

void SetItemSelected(HWND hWnd, CListBoxState& state, int nIndex, bool bSelected)
{
    CListItem& item = state.items[static_cast<size_t>(nIndex)];
    if (item.bSelected != bSelected) {
        item.bSelected = bSelected;
        InvalidateItem(hWnd, state, nIndex);
    }
}

void SelectRange(HWND hWnd, CListBoxState& state, int nFirst, int nLast, bool bSelected)
{
    if (nFirst > nLast)
        std::swap(nFirst, nLast);
    nFirst = std::max(nFirst, 0);
    nLast = std::min(nLast, ItemCount(state) - 1);
    for (int i = nFirst; i <= nLast; ++i)
        SetItemSelected(hWnd, state, i, bSelected);
}

void SetCurSel(HWND hWnd, CListBoxState& state, int nIndex)
{
    InvalidateItem(hWnd, state, state.nCurSel);
    state.nCurSel = nIndex;
    if (nIndex >= 0) {
        SetCaret(hWnd, state, nIndex);
        InvalidateItem(hWnd, state, nIndex);
    }
}

LRESULT GetSelItems(const CListBoxState& state, WPARAM nRoom, LPARAM lParam)
{
    if (!lParam)
        return LB_ERR;
    auto* pItems = reinterpret_cast<int*>(lParam);
    LRESULT n = 0;
    for (int i = 0; i < ItemCount(state) && static_cast<WPARAM>(n) < nRoom; ++i) {
        if (state.items[static_cast<size_t>(i)].bSelected)
            pItems[n++] = i;
    }
    return n;
}

// LB_SETSEL: lParam names the item, -1 all of them.
LRESULT SetSel(HWND hWnd, bool bSelected, int nItem)
{
    CListBoxState* pState = ListBoxState(hWnd);
    if (!IsMultiSel(ListStyle(hWnd)) || nItem < -1 || nItem >= ItemCount(*pState))
        return LB_ERR;
    if (nItem == -1)
        SelectRange(hWnd, *pState, 0, ItemCount(*pState) - 1, bSelected);
    else
        SetItemSelected(hWnd, *pState, nItem, bSelected);
    return LB_OKAY;
}

// The messages of a single-selection list's one selected item.
BOOL HandleCurSelMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const bool bMulti = IsMultiSel(ListStyle(hWnd));
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (uMsg) {
    case LB_SETCURSEL:
        if (bMulti || (nIndex != -1 && !IsItem(*pState, nIndex))) {
            *plResult = LB_ERR;
            return TRUE;
        }
        SetCurSel(hWnd, *pState, nIndex);
        *plResult = nIndex == -1 ? LB_ERR : nIndex;
        return TRUE;
    case LB_GETCURSEL:
        *plResult = bMulti ? (ItemCount(*pState) ? pState->nCaret : LB_ERR) : pState->nCurSel;
        return TRUE;
    case LB_SELECTSTRING:
        *plResult = FindString(hWnd, wParam, lParam, false);
        if (*plResult != LB_ERR && !bMulti)
            SetCurSel(hWnd, *pState, static_cast<int>(*plResult));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void SetCaret(HWND hWnd, CListBoxState& state, int nIndex)
{
    InvalidateItem(hWnd, state, state.nCaret);
    state.nCaret = nIndex;
    InvalidateItem(hWnd, state, nIndex);
    ShowItem(hWnd, state, nIndex);
}

bool IsSelected(HWND hWnd, const CListBoxState& state, int nIndex)
{
    return IsMultiSel(ListStyle(hWnd)) ? state.items[static_cast<size_t>(nIndex)].bSelected : state.nCurSel == nIndex;
}

void UserSelect(HWND hWnd, int nIndex, ESelectAction eAction)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    if (nIndex < 0 || nIndex >= ItemCount(*pState) || (dwStyle & LBS_NOSEL))
        return;
    if (dwStyle & LBS_MULTIPLESEL) {
        if (eAction != ESelectAction::Move)
            SetItemSelected(hWnd, *pState, nIndex, !pState->items[static_cast<size_t>(nIndex)].bSelected);
        SetCaret(hWnd, *pState, nIndex);
    } else if (dwStyle & LBS_EXTENDEDSEL) {
        if (eAction == ESelectAction::Toggle) {
            SetItemSelected(hWnd, *pState, nIndex, !pState->items[static_cast<size_t>(nIndex)].bSelected);
            pState->nAnchor = nIndex;
        } else {
            if (eAction == ESelectAction::Move)
                pState->nAnchor = nIndex;
            SelectRange(hWnd, *pState, 0, ItemCount(*pState) - 1, false);
            SelectRange(hWnd, *pState, pState->nAnchor, nIndex, true);
        }
        SetCaret(hWnd, *pState, nIndex);
    } else {
        if (pState->nCurSel == nIndex)
            return;
        SetCurSel(hWnd, *pState, nIndex);
    }
    if (dwStyle & LBS_NOTIFY)
        NotifyParent(hWnd, LBN_SELCHANGE);
}

ESelectAction ActionFromModifiers()
{
    if (GetKeyState(static_cast<int>(VK_SHIFT)) & 0x8000)
        return ESelectAction::Extend;
    if (GetKeyState(static_cast<int>(VK_CONTROL)) & 0x8000)
        return ESelectAction::Toggle;
    return ESelectAction::Move;
}

BOOL HandleListBoxSelectionMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (HandleCurSelMessage(hWnd, uMsg, wParam, lParam, plResult))
        return TRUE;
    CListBoxState* pState = ListBoxState(hWnd);
    const bool bMulti = IsMultiSel(ListStyle(hWnd));
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool bValid = IsItem(*pState, nIndex);
    switch (uMsg) {
    case LB_SETSEL:
        *plResult = SetSel(hWnd, wParam != 0, static_cast<int>(lParam));
        return TRUE;
    case LB_GETSEL:
        *plResult = bValid ? (IsSelected(hWnd, *pState, nIndex) ? 1 : 0) : LB_ERR;
        return TRUE;
    case LB_SELITEMRANGE:
        *plResult = bMulti ? LB_OKAY : LB_ERR;
        if (bMulti)
            SelectRange(hWnd, *pState, LOWORD(lParam), HIWORD(lParam), wParam != 0);
        return TRUE;
    case LB_GETSELCOUNT:
        *plResult = bMulti ? std::count_if(pState->items.begin(), pState->items.end(),
                        [](const CListItem& item) { return item.bSelected; })
                           : LB_ERR;
        return TRUE;
    case LB_GETSELITEMS:
        *plResult = bMulti ? GetSelItems(*pState, wParam, lParam) : LB_ERR;
        return TRUE;
    case LB_SETANCHORINDEX:
        *plResult = bValid ? LB_OKAY : LB_ERR;
        if (bValid)
            pState->nAnchor = nIndex;
        return TRUE;
    case LB_GETANCHORINDEX:
        *plResult = pState->nAnchor;
        return TRUE;
    case LB_SETCARETINDEX:
        *plResult = bValid ? LB_OKAY : LB_ERR;
        if (bValid)
            SetCaret(hWnd, *pState, nIndex);
        return TRUE;
    case LB_GETCARETINDEX:
        *plResult = pState->nCaret;
        return TRUE;
    default:
        return FALSE;
    }
}
