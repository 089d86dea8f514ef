#include "platform/controls/ListBoxControl.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ControlInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct CListItem {
    std::string strText;
    ULONG_PTR nData { 0 };
    bool bSelected { false };
    int nHeight { 0 }; // variable owner-drawn lists only
};

struct CListBoxState : CControlState {
    std::vector<CListItem> items;
    int nCaret { 0 };   // the item with the focus rectangle
    int nAnchor { 0 };  // where extended selections start
    int nCurSel { -1 }; // single-selection lists
    int nTop { 0 };     // the first visible item
    int nItemHeight { 0 };
    int nCharWidth { 1 }; // the font's average character width: one step of sideways scrolling
    int nExtent { 0 };    // LB_SETHORIZONTALEXTENT
    int nScrollX { 0 };   // pixels scrolled to the left
    bool bFocus { false };
    bool bTracking { false };   // the mouse is held down on the list
    bool bScrollBar { false };  // made with WS_VSCROLL
    bool bHScrollBar { false }; // made with WS_HSCROLL
};

DWORD ListStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

bool IsOwnerDrawn(DWORD dwStyle)
{
    return (dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool HasStrings(DWORD dwStyle)
{
    return !IsOwnerDrawn(dwStyle) || (dwStyle & LBS_HASSTRINGS);
}

bool IsMultiSel(DWORD dwStyle)
{
    return (dwStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int Count(const CListBoxState& state)
{
    return static_cast<int>(state.items.size());
}

/***** Geometry *****/

int ItemHeight(const CListBoxState& state, int nIndex)
{
    if (nIndex >= 0 && nIndex < Count(state) && state.items[static_cast<size_t>(nIndex)].nHeight > 0)
        return state.items[static_cast<size_t>(nIndex)].nHeight;
    return state.nItemHeight;
}

// The item's rectangle in client coordinates; items above the top have negative tops.
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

// How many items fit from nFrom down (at least one).
int VisibleCount(HWND hWnd, const CListBoxState& state, int nFrom)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    int y = 0;
    int n = 0;
    for (int i = nFrom; i < Count(state); ++i) {
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
    for (int i = state.nTop; i < Count(state); ++i) {
        int nNext = y + ItemHeight(state, i);
        if (pt.y >= y && pt.y < nNext) {
            *pbOutside = false;
            return i;
        }
        y = nNext;
    }
    *pbOutside = true;
    return std::max(0, Count(state) - 1);
}

// A list made with WS_VSCROLL shows its bar only while some items are out of
// sight, unless LBS_DISABLENOSCROLL keeps it (greyed) all the time.
void UpdateScrollBar(HWND hWnd, const CListBoxState& state)
{
    if (!state.bScrollBar)
        return;
    const int nVisible = VisibleCount(hWnd, state, state.nTop);
    if (!(ListStyle(hWnd) & LBS_DISABLENOSCROLL))
        ShowScrollBar(hWnd, SB_VERT, state.nTop > 0 || state.nTop + nVisible < Count(state));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(Count(state) - 1, 0),
        static_cast<UINT>(VisibleCount(hWnd, state, state.nTop)), state.nTop, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

// Shows the horizontal bar while the extent is wider than the list, and keeps
// the scroll position within what the extent leaves.
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
    const int nLast = Count(state) - 1;
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

/***** Owner draw *****/

UINT MeasureItem(HWND hWnd, int nIndex, ULONG_PTR nData, UINT nDefault)
{
    MEASUREITEMSTRUCT mis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(nIndex), 0, nDefault,
        nData };
    if (HWND hParent = ControlParent(hWnd))
        SendMessage(hParent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    return std::max<UINT>(mis.itemHeight, 1);
}

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

/***** Items *****/

LRESULT InsertItem(HWND hWnd, int nIndex, LPARAM lParam, bool bSorted)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    CListItem item;
    if (HasStrings(dwStyle))
        item.strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    else
        item.nData = static_cast<ULONG_PTR>(lParam);
    if (nIndex < 0 || nIndex > Count(*pState))
        nIndex = Count(*pState);
    if (bSorted) {
        // After the last item that does not sort behind the new one.
        nIndex = Count(*pState);
        for (int i = 0; i < Count(*pState); ++i) {
            if (CompareItems(hWnd, item, -1, pState->items[static_cast<size_t>(i)], i) < 0) {
                nIndex = i;
                break;
            }
        }
    }
    if (dwStyle & LBS_OWNERDRAWVARIABLE)
        item.nHeight = static_cast<int>(MeasureItem(hWnd, nIndex, item.nData, static_cast<UINT>(pState->nItemHeight)));
    pState->items.insert(pState->items.begin() + nIndex, std::move(item));
    if (pState->nCurSel >= nIndex)
        ++pState->nCurSel;
    if (pState->nCaret >= nIndex && Count(*pState) > 1)
        ++pState->nCaret;
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nIndex;
}

LRESULT DeleteItem(HWND hWnd, int nIndex)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    if (nIndex < 0 || nIndex >= Count(*pState))
        return LB_ERR;
    ULONG_PTR nData = pState->items[static_cast<size_t>(nIndex)].nData;
    pState->items.erase(pState->items.begin() + nIndex);
    if (pState->nCurSel == nIndex)
        pState->nCurSel = -1;
    else if (pState->nCurSel > nIndex)
        --pState->nCurSel;
    pState->nCaret
        = std::clamp(pState->nCaret > nIndex ? pState->nCaret - 1 : pState->nCaret, 0, std::max(Count(*pState) - 1, 0));
    SetTop(hWnd, *pState, pState->nTop);
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    DeleteItemNotify(hWnd, nIndex, nData);
    return Count(*pState);
}

void ResetContent(HWND hWnd)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    std::vector<CListItem> items = std::move(pState->items);
    pState->items.clear();
    pState->nCurSel = -1;
    pState->nCaret = pState->nAnchor = pState->nTop = 0;
    UpdateScrollBar(hWnd, *pState);
    InvalidateRect(hWnd, nullptr, TRUE);
    for (size_t i = 0; i < items.size(); ++i)
        DeleteItemNotify(hWnd, static_cast<int>(i), items[i].nData);
}

// The first item after nStart (wrapping around) whose string starts with (or
// with bExact equals) the text, without regard to case; LB_ERR when none does.
LRESULT FindString(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bExact)
{
    const CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const int nCount = Count(*pState);
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

/***** Selection *****/

void InvalidateItem(HWND hWnd, const CListBoxState& state, int nIndex)
{
    if (nIndex < 0 || nIndex >= Count(state))
        return;
    RECT rc = ItemRect(hWnd, state, nIndex);
    InvalidateRect(hWnd, &rc, TRUE);
}

void SetCaret(HWND hWnd, CListBoxState& state, int nIndex)
{
    InvalidateItem(hWnd, state, state.nCaret);
    state.nCaret = nIndex;
    InvalidateItem(hWnd, state, nIndex);
    ShowItem(hWnd, state, nIndex);
}

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
    nLast = std::min(nLast, Count(state) - 1);
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

bool IsSelected(HWND hWnd, const CListBoxState& state, int nIndex)
{
    return IsMultiSel(ListStyle(hWnd)) ? state.items[static_cast<size_t>(nIndex)].bSelected : state.nCurSel == nIndex;
}

// What a click or a caret move by the user does to the selection.
enum class ESelectAction {
    Move,   // the caret moves; single and extended lists select the item alone
    Toggle, // Ctrl-click or Space: the item's selection flips (multiple and extended lists)
    Extend, // Shift: the range from the anchor (extended lists)
};

void UserSelect(HWND hWnd, int nIndex, ESelectAction eAction)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    if (nIndex < 0 || nIndex >= Count(*pState) || (dwStyle & LBS_NOSEL))
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
            SelectRange(hWnd, *pState, 0, Count(*pState) - 1, false);
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

/***** Keyboard and mouse *****/

void OnKeyDown(HWND hWnd, WPARAM nKey)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    int nTarget = pState->nCaret;
    if (dwStyle & LBS_WANTKEYBOARDINPUT) {
        HWND hParent = ControlParent(hWnd);
        LRESULT lAnswer = hParent ? SendMessage(hParent, WM_VKEYTOITEM,
                              static_cast<DWORD>(MAKELONG(static_cast<WORD>(nKey), static_cast<WORD>(nTarget))),
                              reinterpret_cast<LPARAM>(hWnd))
                                  : -1;
        if (!IsWindow(hWnd) || lAnswer == -2)
            return;
        if (lAnswer >= 0) {
            UserSelect(hWnd, static_cast<int>(lAnswer), ESelectAction::Move);
            return;
        }
    }
    const int nPage = VisibleCount(hWnd, *pState, pState->nTop);
    switch (nKey) {
    case VK_UP:
        nTarget = pState->nCaret - 1;
        break;
    case VK_DOWN:
        nTarget = pState->nCaret + 1;
        break;
    case VK_PRIOR:
        nTarget = pState->nCaret - nPage + 1;
        break;
    case VK_NEXT:
        nTarget = pState->nCaret + nPage - 1;
        break;
    case VK_HOME:
        nTarget = 0;
        break;
    case VK_END:
        nTarget = Count(*pState) - 1;
        break;
    case VK_SPACE:
        if (IsMultiSel(dwStyle))
            UserSelect(hWnd, pState->nCaret, ESelectAction::Toggle);
        return;
    default:
        return;
    }
    if (Count(*pState) == 0)
        return;
    nTarget = std::clamp(nTarget, 0, Count(*pState) - 1);
    if (dwStyle & LBS_MULTIPLESEL) {
        SetCaret(hWnd, *pState, nTarget);
        return;
    }
    ESelectAction eAction = ActionFromModifiers();
    if (eAction == ESelectAction::Toggle) {
        SetCaret(hWnd, *pState, nTarget); // Ctrl moves the caret alone
        return;
    }
    UserSelect(hWnd, nTarget, eAction);
}

void OnChar(HWND hWnd, WPARAM nChar)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    if (!HasStrings(dwStyle)) {
        if (!(dwStyle & LBS_WANTKEYBOARDINPUT))
            return;
        HWND hParent = ControlParent(hWnd);
        LRESULT lAnswer = hParent ? SendMessage(hParent, WM_CHARTOITEM,
                              static_cast<DWORD>(MAKELONG(static_cast<WORD>(nChar), static_cast<WORD>(pState->nCaret))),
                              reinterpret_cast<LPARAM>(hWnd))
                                  : -1;
        if (IsWindow(hWnd) && lAnswer >= 0)
            UserSelect(hWnd, static_cast<int>(lAnswer), ESelectAction::Move);
        return;
    }
    if (nChar < 0x20 || nChar >= 0x80)
        return;
    const char prefix[2] = { static_cast<char>(nChar), '\0' };
    LRESULT nFound = FindString(hWnd, static_cast<WPARAM>(pState->nCaret), reinterpret_cast<LPARAM>(prefix), false);
    if (nFound != LB_ERR)
        UserSelect(hWnd, static_cast<int>(nFound), ESelectAction::Move);
}

POINT PointOf(LPARAM lParam)
{
    return POINT { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
}

void OnPress(HWND hWnd, LPARAM lParam, bool bDouble)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    SetFocus(hWnd);
    bool bOutside = false;
    int nIndex = ItemFromPoint(*pState, PointOf(lParam), &bOutside);
    if (bOutside || Count(*pState) == 0)
        return;
    if (bDouble) {
        if (ListStyle(hWnd) & LBS_NOTIFY)
            NotifyParent(hWnd, LBN_DBLCLK);
        return;
    }
    SetCapture(hWnd);
    pState->bTracking = true;
    ESelectAction eAction = ActionFromModifiers();
    if ((ListStyle(hWnd) & LBS_MULTIPLESEL) && eAction == ESelectAction::Move)
        eAction = ESelectAction::Toggle;
    UserSelect(hWnd, nIndex, eAction);
}

void OnDrag(HWND hWnd, LPARAM lParam)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    if (!pState->bTracking || (ListStyle(hWnd) & LBS_MULTIPLESEL))
        return;
    bool bOutside = false;
    int nIndex = ItemFromPoint(*pState, PointOf(lParam), &bOutside);
    POINT pt = PointOf(lParam);
    if (pt.y < 0)
        nIndex = std::max(pState->nTop - 1, 0);
    if (nIndex != pState->nCaret)
        UserSelect(hWnd, nIndex, (ListStyle(hWnd) & LBS_EXTENDEDSEL) ? ESelectAction::Extend : ESelectAction::Move);
}

/***** Painting *****/

void PaintListBox(HWND hWnd, HDC hdc)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    HBRUSH hBrush = PrepareControlDC(hWnd, hdc, WM_CTLCOLORLISTBOX);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, hBrush);
    const COLORREF crText = GetTextColor(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (int i = pState->nTop; i < Count(*pState); ++i) {
        RECT rc = ItemRect(hWnd, *pState, i);
        if (rc.top >= rcClient.bottom)
            break;
        const bool bSelected = IsSelected(hWnd, *pState, i);
        const bool bCaret = pState->bFocus && i == pState->nCaret;
        // Items scrolled sideways start left of the client area and span the extent.
        rc.left -= pState->nScrollX;
        rc.right = std::max(rc.right, static_cast<LONG>(pState->nExtent)) - pState->nScrollX;
        if (IsOwnerDrawn(dwStyle)) {
            DRAWITEMSTRUCT dis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(i),
                ODA_DRAWENTIRE,
                (bSelected ? ODS_SELECTED : 0u) | (bCaret ? ODS_FOCUS : 0u)
                    | (IsWindowEnabled(hWnd) ? 0u : ODS_DISABLED),
                hWnd, hdc, rc, pState->items[static_cast<size_t>(i)].nData };
            if (HWND hParent = ControlParent(hWnd))
                SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            if (!IsWindow(hWnd))
                return;
            continue;
        }
        if (bSelected) {
            FillRect(hdc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(hdc, IsWindowEnabled(hWnd) ? crText : GetSysColor(COLOR_GRAYTEXT));
        }
        const std::string& strText = pState->items[static_cast<size_t>(i)].strText;
        RECT rcText = rc;
        rcText.left += 2;
        DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | ((dwStyle & LBS_USETABSTOPS) ? DT_EXPANDTABS : 0));
        if (bCaret)
            DrawFocusRect(hdc, &rc);
    }
}

/***** Creation *****/

void OnCreate(HWND hWnd)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const TEXTMETRIC tm = CControlMeasureDC(hWnd).Metrics();
    pState->nItemHeight = std::max<int>(tm.tmHeight, 1);
    pState->nCharWidth = std::max<int>(tm.tmAveCharWidth, 1);
    if (ListStyle(hWnd) & LBS_OWNERDRAWFIXED)
        pState->nItemHeight = static_cast<int>(MeasureItem(hWnd, 0, 0, static_cast<UINT>(pState->nItemHeight)));
    UpdateScrollBar(hWnd, *pState);
    UpdateHorizontalBar(hWnd, *pState);
}

LRESULT GetSelItems(const CListBoxState& state, WPARAM nRoom, LPARAM lParam)
{
    if (!lParam)
        return LB_ERR;
    auto* pItems = reinterpret_cast<int*>(lParam);
    LRESULT n = 0;
    for (int i = 0; i < Count(state) && static_cast<WPARAM>(n) < nRoom; ++i) {
        if (state.items[static_cast<size_t>(i)].bSelected)
            pItems[n++] = i;
    }
    return n;
}

void OnVScroll(HWND hWnd, WPARAM wParam)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    const int nPage = VisibleCount(hWnd, *pState, pState->nTop);
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        SetTop(hWnd, *pState, pState->nTop - 1);
        break;
    case SB_LINEDOWN:
        SetTop(hWnd, *pState, pState->nTop + 1);
        break;
    case SB_PAGEUP:
        SetTop(hWnd, *pState, pState->nTop - nPage);
        break;
    case SB_PAGEDOWN:
        SetTop(hWnd, *pState, pState->nTop + nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        SetTop(hWnd, *pState, HIWORD(wParam));
        break;
    case SB_TOP:
        SetTop(hWnd, *pState, 0);
        break;
    case SB_BOTTOM:
        SetTop(hWnd, *pState, Count(*pState));
        break;
    default:
        break;
    }
}

void OnHScroll(HWND hWnd, WPARAM wParam)
{
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const int nMax = std::max(pState->nExtent - rc.right, 0);
    int nScrollX = pState->nScrollX;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
        nScrollX -= pState->nCharWidth;
        break;
    case SB_LINERIGHT:
        nScrollX += pState->nCharWidth;
        break;
    case SB_PAGELEFT:
        nScrollX -= rc.right;
        break;
    case SB_PAGERIGHT:
        nScrollX += rc.right;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        nScrollX = HIWORD(wParam);
        break;
    case SB_LEFT:
        nScrollX = 0;
        break;
    case SB_RIGHT:
        nScrollX = nMax;
        break;
    default:
        return;
    }
    SetScrollX(hWnd, *pState, std::clamp(nScrollX, 0, nMax));
}

} // namespace

LRESULT CALLBACK ListBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (HandleFontMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    CListBoxState* pState = GetControlState<CListBoxState>(hWnd);
    if (!pState && uMsg != WM_NCCREATE)
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    const DWORD dwStyle = ListStyle(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool bValid = pState && nIndex >= 0 && nIndex < Count(*pState);
    switch (uMsg) {
    case WM_NCCREATE: {
        auto pNew = std::make_unique<CListBoxState>();
        pNew->bScrollBar = (dwStyle & WS_VSCROLL) != 0;
        pNew->bHScrollBar = (dwStyle & WS_HSCROLL) != 0;
        AttachControlState(hWnd, std::move(pNew));
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
    case WM_CREATE:
        OnCreate(hWnd);
        return 0;
    case WM_DESTROY:
        ResetContent(hWnd);
        return 0;
    case WM_NCDESTROY:
        DestroyControlState(hWnd);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT paints every pixel.
    case WM_PAINT:
        PaintControl(hWnd, PaintListBox);
        return 0;
    case WM_SIZE:
        UpdateScrollBar(hWnd, *pState);
        UpdateHorizontalBar(hWnd, *pState);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        pState->bFocus = uMsg == WM_SETFOCUS;
        InvalidateItem(hWnd, *pState, pState->nCaret);
        NotifyParent(hWnd, uMsg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam);
        return 0;
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(hWnd, lParam, uMsg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        OnDrag(hWnd, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        pState->bTracking = false;
        if (uMsg == WM_LBUTTONUP && GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_VSCROLL:
        OnVScroll(hWnd, wParam);
        return 0;
    case WM_HSCROLL:
        OnHScroll(hWnd, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        SetTop(hWnd, *pState, pState->nTop - static_cast<short>(HIWORD(wParam)) / 120 * 3);
        return 0;
    case LB_ADDSTRING:
        return InsertItem(hWnd, -1, lParam, (dwStyle & LBS_SORT) != 0);
    case LB_INSERTSTRING:
        return InsertItem(hWnd, nIndex, lParam, false);
    case LB_DELETESTRING:
        return DeleteItem(hWnd, nIndex);
    case LB_RESETCONTENT:
        ResetContent(hWnd);
        return LB_OKAY;
    case LB_GETCOUNT:
        return Count(*pState);
    case LB_GETTEXT:
        if (!bValid || !lParam)
            return LB_ERR;
        if (!HasStrings(dwStyle)) {
            std::memcpy(
                reinterpret_cast<void*>(lParam), &pState->items[static_cast<size_t>(nIndex)].nData, sizeof(ULONG_PTR));
            return sizeof(ULONG_PTR);
        }
        std::strcpy(reinterpret_cast<LPSTR>(lParam), pState->items[static_cast<size_t>(nIndex)].strText.c_str());
        return static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].strText.size());
    case LB_GETTEXTLEN:
        if (!bValid)
            return LB_ERR;
        return HasStrings(dwStyle) ? static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].strText.size())
                                   : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case LB_GETITEMDATA:
        return bValid ? static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].nData) : LB_ERR;
    case LB_SETITEMDATA:
        if (!bValid)
            return LB_ERR;
        pState->items[static_cast<size_t>(nIndex)].nData = static_cast<ULONG_PTR>(lParam);
        return LB_OKAY;
    case LB_SETCURSEL:
        if (IsMultiSel(dwStyle) || (nIndex != -1 && !bValid))
            return LB_ERR;
        SetCurSel(hWnd, *pState, nIndex);
        return nIndex == -1 ? LB_ERR : nIndex;
    case LB_GETCURSEL:
        return IsMultiSel(dwStyle) ? (Count(*pState) ? pState->nCaret : LB_ERR) : pState->nCurSel;
    case LB_SETSEL: {
        const auto nItem = static_cast<int>(lParam);
        if (!IsMultiSel(dwStyle) || nItem < -1 || nItem >= Count(*pState))
            return LB_ERR;
        if (nItem == -1)
            SelectRange(hWnd, *pState, 0, Count(*pState) - 1, wParam != 0);
        else
            SetItemSelected(hWnd, *pState, nItem, wParam != 0);
        return LB_OKAY;
    }
    case LB_GETSEL:
        return bValid ? (IsSelected(hWnd, *pState, nIndex) ? 1 : 0) : LB_ERR;
    case LB_SELITEMRANGE:
        if (!IsMultiSel(dwStyle))
            return LB_ERR;
        SelectRange(hWnd, *pState, LOWORD(lParam), HIWORD(lParam), wParam != 0);
        return LB_OKAY;
    case LB_GETSELCOUNT:
        if (!IsMultiSel(dwStyle))
            return LB_ERR;
        return std::count_if(
            pState->items.begin(), pState->items.end(), [](const CListItem& item) { return item.bSelected; });
    case LB_GETSELITEMS:
        return IsMultiSel(dwStyle) ? GetSelItems(*pState, wParam, lParam) : LB_ERR;
    case LB_SETANCHORINDEX:
        if (!bValid)
            return LB_ERR;
        pState->nAnchor = nIndex;
        return LB_OKAY;
    case LB_GETANCHORINDEX:
        return pState->nAnchor;
    case LB_SETCARETINDEX:
        if (!bValid)
            return LB_ERR;
        SetCaret(hWnd, *pState, nIndex);
        return LB_OKAY;
    case LB_GETCARETINDEX:
        return pState->nCaret;
    case LB_GETTOPINDEX:
        return pState->nTop;
    case LB_SETTOPINDEX:
        if (!bValid && !(nIndex == 0 && Count(*pState) == 0))
            return LB_ERR;
        SetTop(hWnd, *pState, nIndex);
        return LB_OKAY;
    case LB_GETITEMRECT:
        if (!lParam || (!bValid && !(nIndex == 0 && Count(*pState) == 0)))
            return LB_ERR;
        *reinterpret_cast<LPRECT>(lParam) = ItemRect(hWnd, *pState, nIndex);
        return LB_OKAY;
    case LB_GETITEMHEIGHT:
        if ((dwStyle & LBS_OWNERDRAWVARIABLE) && !bValid && Count(*pState) > 0)
            return LB_ERR;
        return ItemHeight(*pState, (dwStyle & LBS_OWNERDRAWVARIABLE) ? nIndex : -1);
    case LB_SETITEMHEIGHT: {
        const auto nHeight = static_cast<int>(LOWORD(lParam));
        if (nHeight <= 0 || nHeight > 255)
            return LB_ERR;
        if (dwStyle & LBS_OWNERDRAWVARIABLE) {
            if (!bValid)
                return LB_ERR;
            pState->items[static_cast<size_t>(nIndex)].nHeight = nHeight;
        } else {
            pState->nItemHeight = nHeight;
        }
        UpdateScrollBar(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
        return LB_OKAY;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return FindString(hWnd, wParam, lParam, uMsg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        LRESULT nFound = FindString(hWnd, wParam, lParam, false);
        if (nFound == LB_ERR || IsMultiSel(dwStyle))
            return nFound;
        SetCurSel(hWnd, *pState, static_cast<int>(nFound));
        return nFound;
    }
    case LB_SETHORIZONTALEXTENT:
        pState->nExtent = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFF));
        UpdateHorizontalBar(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return pState->nExtent;
    case LB_DIR:
        return ListBoxDir(hWnd, static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
    case LB_ITEMFROMPOINT: {
        bool bOutside = false;
        int nItem = ItemFromPoint(*pState, PointOf(lParam), &bOutside);
        return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(nItem), bOutside ? 1 : 0)));
    }
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
