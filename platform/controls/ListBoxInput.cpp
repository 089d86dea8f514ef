#include "platform/controls/ListBoxInternal.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/ScrollBars.h"

#include <algorithm>

namespace {

void OnKeyDown(HWND hWnd, WPARAM nKey)
{
    CListBoxState* pState = ListBoxState(hWnd);
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
        nTarget = ItemCount(*pState) - 1;
        break;
    case VK_SPACE:
        if (IsMultiSel(dwStyle))
            UserSelect(hWnd, pState->nCaret, ESelectAction::Toggle);
        return;
    default:
        return;
    }
    if (ItemCount(*pState) == 0)
        return;
    nTarget = std::clamp(nTarget, 0, ItemCount(*pState) - 1);
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
    CListBoxState* pState = ListBoxState(hWnd);
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

void OnPress(HWND hWnd, LPARAM lParam, bool bDouble)
{
    CListBoxState* pState = ListBoxState(hWnd);
    SetFocus(hWnd);
    bool bOutside = false;
    int nIndex = ItemFromPoint(*pState, MousePointOf(lParam), &bOutside);
    if (bOutside || ItemCount(*pState) == 0)
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
    CListBoxState* pState = ListBoxState(hWnd);
    if (!pState->bTracking || (ListStyle(hWnd) & LBS_MULTIPLESEL))
        return;
    bool bOutside = false;
    int nIndex = ItemFromPoint(*pState, MousePointOf(lParam), &bOutside);
    POINT pt = MousePointOf(lParam);
    if (pt.y < 0)
        nIndex = std::max(pState->nTop - 1, 0);
    if (nIndex != pState->nCaret)
        UserSelect(hWnd, nIndex, (ListStyle(hWnd) & LBS_EXTENDEDSEL) ? ESelectAction::Extend : ESelectAction::Move);
}

void OnVScroll(HWND hWnd, WPARAM wParam)
{
    CListBoxState* pState = ListBoxState(hWnd);
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
        SetTop(hWnd, *pState, ItemCount(*pState));
        break;
    default:
        break;
    }
}

void OnHScroll(HWND hWnd, WPARAM wParam)
{
    CListBoxState* pState = ListBoxState(hWnd);
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

BOOL HandleListBoxInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CListBoxState* pState = ListBoxState(hWnd);
    switch (uMsg) {
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam);
        return TRUE;
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(hWnd, lParam, uMsg == WM_LBUTTONDBLCLK);
        return TRUE;
    case WM_MOUSEMOVE:
        OnDrag(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        pState->bTracking = false;
        if (uMsg == WM_LBUTTONUP && GetCapture() == hWnd)
            ReleaseCapture();
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(hWnd, wParam);
        return TRUE;
    case WM_HSCROLL:
        OnHScroll(hWnd, wParam);
        return TRUE;
    case WM_MOUSEWHEEL:
        SetTop(hWnd, *pState, pState->nTop - static_cast<short>(HIWORD(wParam)) / 120 * 3);
        return TRUE;
    default:
        return FALSE;
    }
}
