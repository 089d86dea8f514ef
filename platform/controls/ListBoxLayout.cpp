#include "platform/controls/ListBoxInternal.h"

#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"

#include <algorithm>

int ItemHeight(const CListBoxState& state, int nIndex)
{
    if (nIndex >= 0 && nIndex < ItemCount(state) && state.items[static_cast<size_t>(nIndex)].nHeight > 0)
        return state.items[static_cast<size_t>(nIndex)].nHeight;
    return state.nItemHeight;
}

RECT ItemRect(HWND hWnd, const CListBoxState& state, int nIndex)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    int y = 0;
    if (nIndex >= state.nTop) {
        for (int i = state.nTop; i < nIndex; ++i)
            y += ItemHeight(state, i);
    } else {
        for (int i = nIndex; i < state.nTop; ++i)
            y -= ItemHeight(state, i);
    }
    return RECT { 0, y, rc.right, y + ItemHeight(state, nIndex) };
}

int VisibleCount(HWND hWnd, const CListBoxState& state, int nFrom)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    int y = 0;
    int n = 0;
    for (int i = nFrom; i < ItemCount(state); ++i) {
        y += ItemHeight(state, i);
        if (y > rc.bottom && n > 0)
            break;
        ++n;
    }
    return std::max(n, 1);
}

int ItemFromPoint(const CListBoxState& state, POINT pt, bool* pbOutside)
{
    int y = 0;
    for (int i = state.nTop; i < ItemCount(state); ++i) {
        int nNext = y + ItemHeight(state, i);
        if (pt.y >= y && pt.y < nNext) {
            *pbOutside = false;
            return i;
        }
        y = nNext;
    }
    *pbOutside = true;
    return std::max(0, ItemCount(state) - 1);
}

void UpdateScrollBar(HWND hWnd, const CListBoxState& state)
{
    if (!state.bScrollBar)
        return;
    const int nVisible = VisibleCount(hWnd, state, state.nTop);
    if (!(ListStyle(hWnd) & LBS_DISABLENOSCROLL))
        ShowScrollBar(hWnd, SB_VERT, state.nTop > 0 || state.nTop + nVisible < ItemCount(state));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(ItemCount(state) - 1, 0),
        static_cast<UINT>(VisibleCount(hWnd, state, state.nTop)), state.nTop, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

void UpdateHorizontalBar(HWND hWnd, CListBoxState& state)
{
    if (!state.bHScrollBar)
        return;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const bool bShow = state.nExtent > rc.right;
    if (bShow != ((ListStyle(hWnd) & WS_HSCROLL) != 0)) {
        ShowScrollBar(hWnd, SB_HORZ, bShow ? TRUE : FALSE);
        if (bShow != ((ListStyle(hWnd) & WS_HSCROLL) != 0))
            return;
    }
    const int nScrollX = bShow ? std::clamp(state.nScrollX, 0, state.nExtent - rc.right) : 0;
    if (nScrollX != state.nScrollX) {
        state.nScrollX = nScrollX;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    if (!bShow)
        return;
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, state.nExtent - 1,
        static_cast<UINT>(rc.right), state.nScrollX, 0 };
    SetScrollInfo(hWnd, SB_HORZ, &si, TRUE);
}

void SetScrollX(HWND hWnd, CListBoxState& state, int nScrollX)
{
    if (nScrollX == state.nScrollX)
        return;
    state.nScrollX = nScrollX;
    UpdateHorizontalBar(hWnd, state);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void SetTop(HWND hWnd, CListBoxState& state, int nTop)
{
    const int nLast = ItemCount(state) - 1;
    // The lowest top that still fills the list.
    int nMaxTop = nLast;
    while (nMaxTop > 0 && VisibleCount(hWnd, state, nMaxTop - 1) > nLast - (nMaxTop - 1))
        --nMaxTop;
    nTop = std::clamp(nTop, 0, std::max(nMaxTop, 0));
    if (nTop == state.nTop)
        return;
    state.nTop = nTop;
    UpdateScrollBar(hWnd, state);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void ShowItem(HWND hWnd, CListBoxState& state, int nIndex)
{
    if (nIndex < state.nTop)
        SetTop(hWnd, state, nIndex);
    else if (nIndex >= state.nTop + VisibleCount(hWnd, state, state.nTop)) {
        int nTop = nIndex;
        while (nTop > 0 && VisibleCount(hWnd, state, nTop - 1) > nIndex - (nTop - 1))
            --nTop;
        SetTop(hWnd, state, nTop);
    }
}

void InvalidateItem(HWND hWnd, const CListBoxState& state, int nIndex)
{
    if (nIndex < 0 || nIndex >= ItemCount(state))
        return;
    RECT rc = ItemRect(hWnd, state, nIndex);
    InvalidateRect(hWnd, &rc, TRUE);
}

namespace {

LRESULT SetItemHeight(HWND hWnd, int nIndex, int nHeight)
{
    CListBoxState* pState = ListBoxState(hWnd);
    if (nHeight <= 0 || nHeight > 255)
        return LB_ERR;
    if (ListStyle(hWnd) & LBS_OWNERDRAWVARIABLE) {
        if (!IsItem(*pState, nIndex))
            return LB_ERR;
        pState->items[static_cast<size_t>(nIndex)].nHeight = nHeight;
    } else {
        pState->nItemHeight = nHeight;
    }
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    return LB_OKAY;
}

} // namespace

BOOL HandleListBoxLayoutMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    // An empty list answers for its item 0 as for an item of the list's height.
    const bool bValid = IsItem(*pState, nIndex) || (nIndex == 0 && ItemCount(*pState) == 0);
    switch (uMsg) {
    case LB_GETTOPINDEX:
        *plResult = pState->nTop;
        return TRUE;
    case LB_SETTOPINDEX:
        *plResult = bValid ? LB_OKAY : LB_ERR;
        if (bValid)
            SetTop(hWnd, *pState, nIndex);
        return TRUE;
    case LB_GETITEMRECT:
        *plResult = lParam && bValid ? LB_OKAY : LB_ERR;
        if (*plResult == LB_OKAY)
            *reinterpret_cast<LPRECT>(lParam) = ItemRect(hWnd, *pState, nIndex);
        return TRUE;
    case LB_GETITEMHEIGHT:
        if ((ListStyle(hWnd) & LBS_OWNERDRAWVARIABLE) && !IsItem(*pState, nIndex) && ItemCount(*pState) > 0)
            *plResult = LB_ERR;
        else
            *plResult = ItemHeight(*pState, (ListStyle(hWnd) & LBS_OWNERDRAWVARIABLE) ? nIndex : -1);
        return TRUE;
    case LB_SETITEMHEIGHT:
        *plResult = SetItemHeight(hWnd, nIndex, static_cast<int>(LOWORD(lParam)));
        return TRUE;
    case LB_SETHORIZONTALEXTENT:
        pState->nExtent = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFF));
        UpdateHorizontalBar(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
        *plResult = 0;
        return TRUE;
    case LB_GETHORIZONTALEXTENT:
        *plResult = pState->nExtent;
        return TRUE;
    case LB_ITEMFROMPOINT: {
        bool bOutside = false;
        const int nItem = ItemFromPoint(*pState, MousePointOf(lParam), &bOutside);
        *plResult = static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(nItem), bOutside ? 1 : 0)));
        return TRUE;
    }
    default:
        return FALSE;
    }
}
