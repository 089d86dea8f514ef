// Position, size, z-order, visibility, enable state and coordinates.

#include "platform/window/Window.h"

#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <vector>

namespace {

// The widths of the non-client frame on each side (see Window.h).
RECT FrameOf(DWORD dwStyle, DWORD dwExStyle)
{
    RECT frame {};
    auto addAround = [&frame](int cx, int cy) {
        frame.left += cx;
        frame.right += cx;
        frame.top += cy;
        frame.bottom += cy;
    };
    SIZE outer = OuterFrameOf(dwStyle, dwExStyle);
    addAround(outer.cx, outer.cy);
    if ((dwStyle & WS_CAPTION) == WS_CAPTION)
        frame.top += GetSystemMetrics((dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (dwExStyle & WS_EX_CLIENTEDGE)
        addAround(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    if (dwExStyle & WS_EX_STATICEDGE)
        addAround(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    if (dwStyle & WS_VSCROLL)
        frame.right += GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_HSCROLL)
        frame.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return frame;
}

bool Contains(const RECT& rc, POINT pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

bool IsTopmostBand(const CWindow& window)
{
    return window.pParent == &DesktopLocked() && (window.dwExStyle & WS_EX_TOPMOST);
}

// Moves the window in its siblings' order as SetWindowPos's hWndInsertAfter asks. Lock held.
// Windows that `owner` owns (directly or through others) and that lie below
// it move just above it, keeping their order among themselves.
void KeepOwnedAboveLocked(std::vector<CWindow*>& siblings, const CWindow& owner)
{
    auto isOwned = [&](const CWindow* p) {
        for (const CWindow* pOwner = p->pOwner; pOwner; pOwner = pOwner->pOwner) {
            if (pOwner == &owner)
                return true;
        }
        return false;
    };
    auto itOwner = std::find(siblings.begin(), siblings.end(), &owner);
    std::vector<CWindow*> below;
    for (auto it = itOwner + 1; it != siblings.end();) {
        if (isOwned(*it) && !IsTopmostBand(**it) == !IsTopmostBand(owner)) {
            below.push_back(*it);
            it = siblings.erase(it);
        } else {
            ++it;
        }
    }
    itOwner = std::find(siblings.begin(), siblings.end(), &owner);
    siblings.insert(itOwner, below.begin(), below.end());
}

void ReorderLocked(CWindow& window, HWND hWndInsertAfter)
{
    CWindow& parent = *window.pParent;
    bool bTopLevel = &parent == &DesktopLocked();
    auto& siblings = parent.children;
    std::vector<CWindow*> original = siblings;
    std::erase(siblings, &window);
    if (bTopLevel && hWndInsertAfter == HWND_TOPMOST)
        window.dwExStyle |= WS_EX_TOPMOST;
    else if (bTopLevel && (hWndInsertAfter == HWND_NOTOPMOST || hWndInsertAfter == HWND_BOTTOM))
        window.dwExStyle &= ~WS_EX_TOPMOST;
    auto firstNormal = std::find_if(siblings.begin(), siblings.end(), [](CWindow* p) { return !IsTopmostBand(*p); });
    size_t nBandStart = IsTopmostBand(window) ? 0 : static_cast<size_t>(firstNormal - siblings.begin());
    size_t nBandEnd = IsTopmostBand(window) ? static_cast<size_t>(firstNormal - siblings.begin()) : siblings.size();
    size_t nIndex = nBandStart;
    if (hWndInsertAfter == HWND_BOTTOM) {
        nIndex = siblings.size();
    } else if (hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_TOPMOST && hWndInsertAfter != HWND_NOTOPMOST) {
        auto it = std::find(siblings.begin(), siblings.end(), FindWindowLocked(hWndInsertAfter));
        if (it == siblings.end()) {
            siblings = original; // not a sibling: the order stays
            return;
        }
        nIndex = std::clamp(static_cast<size_t>(it - siblings.begin()) + 1, nBandStart, nBandEnd);
    }
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(nIndex), &window);
    if (bTopLevel)
        KeepOwnedAboveLocked(siblings, window);
}

// Whether a ShowWindow command activates the window it shows.
bool ActivatesWhenShown(int nCmdShow)
{
    switch (nCmdShow) {
    case SW_SHOWNORMAL:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMAXIMIZED:
    case SW_SHOW:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        return true;
    default:
        return false;
    }
}

// The rectangle ShowWindow gives a minimized or maximized window. Lock held.
RECT StateRectLocked(const CWindow& window, bool bMaximize)
{
    RECT rcParent {};
    if (window.pParent) {
        RECT rcClient = ClientRectInParentLocked(*window.pParent);
        rcParent = { 0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top };
    }
    if (bMaximize)
        return rcParent;
    int cx = GetSystemMetrics(SM_CXMINIMIZED);
    int cy = GetSystemMetrics(SM_CYMINIMIZED);
    return { 0, rcParent.bottom - cy, cx, rcParent.bottom };
}

}

/***** Geometry helpers *****/

void KeepOwnFrame(HWND hWnd, const RECT& rcWindow, const RECT& rcClient)
{
    auto lock = LockWindows();
    if (CWindow* pWindow = FindWindowLocked(hWnd)) {
        const RECT rcStyles = ClientRectForLocked(*pWindow, rcWindow);
        pWindow->rcOwnFrame = RECT { std::max<LONG>(rcClient.left - rcStyles.left, 0),
            std::max<LONG>(rcClient.top - rcStyles.top, 0), std::max<LONG>(rcStyles.right - rcClient.right, 0),
            std::max<LONG>(rcStyles.bottom - rcClient.bottom, 0) };
    }
}

void AskNonClientArea(HWND hWnd, const RECT& rcWindow)
{
    RECT rcClient = rcWindow;
    SendMessage(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rcClient));
    KeepOwnFrame(hWnd, rcWindow, rcClient);
}

RECT ClientRectInParentLocked(const CWindow& window)
{
    RECT rcClient = ClientRectForLocked(window, window.rcWindow);
    const RECT& own = window.rcOwnFrame;
    rcClient.left += own.left;
    rcClient.top += own.top;
    rcClient.right = std::max<LONG>(rcClient.left, rcClient.right - own.right);
    rcClient.bottom = std::max<LONG>(rcClient.top, rcClient.bottom - own.bottom);
    return rcClient;
}

RECT ClientRectForLocked(const CWindow& window, const RECT& rc)
{
    RECT frame = FrameOf(window.dwStyle, window.dwExStyle);
    if (window.hMenuBar && !(window.dwStyle & WS_CHILD))
        frame.top += GetSystemMetrics(SM_CYMENU);
    RECT rcClient { rc.left + frame.left, rc.top + frame.top, rc.right - frame.right, rc.bottom - frame.bottom };
    rcClient.right = std::max(rcClient.right, rcClient.left);
    rcClient.bottom = std::max(rcClient.bottom, rcClient.top);
    return rcClient;
}

POINT ClientOriginLocked(const CWindow& window)
{
    POINT origin { 0, 0 };
    if (window.pParent)
        origin = ClientOriginLocked(*window.pParent);
    RECT rcClient = window.pParent ? ClientRectInParentLocked(window) : window.rcWindow;
    return { origin.x + rcClient.left, origin.y + rcClient.top };
}

bool IsVisibleLocked(const CWindow& window)
{
    for (const CWindow* p = &window; p; p = p->pParent) {
        if (!(p->dwStyle & WS_VISIBLE))
            return false;
    }
    return true;
}

SIZE OuterFrameOf(DWORD dwStyle, DWORD dwExStyle)
{
    if (dwStyle & WS_THICKFRAME)
        return SIZE { GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME) };
    if ((dwStyle & WS_DLGFRAME) || (dwExStyle & WS_EX_DLGMODALFRAME))
        return SIZE { GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME) };
    if (dwStyle & WS_BORDER)
        return SIZE { GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER) };
    return SIZE {};
}

/***** Position, size and z-order *****/

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    WINDOWPOS wp { hWnd, hWndInsertAfter, x, y, std::max(cx, 0), std::max(cy, 0), uFlags };
    NCCALCSIZE_PARAMS calc {}; // rgrc[1] and rgrc[2]: the window and client rectangles before
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        if (pWindow == &DesktopLocked()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        const RECT& rc = pWindow->rcWindow;
        calc.rgrc[1] = rc;
        calc.rgrc[2] = ClientRectInParentLocked(*pWindow);
        if (!(wp.flags & SWP_NOMOVE) && wp.x == rc.left && wp.y == rc.top)
            wp.flags |= SWP_NOMOVE;
        if (!(wp.flags & SWP_NOSIZE) && wp.cx == rc.right - rc.left && wp.cy == rc.bottom - rc.top)
            wp.flags |= SWP_NOSIZE;
        if (wp.flags & SWP_NOMOVE) {
            wp.x = rc.left;
            wp.y = rc.top;
        }
        if (wp.flags & SWP_NOSIZE) {
            wp.cx = rc.right - rc.left;
            wp.cy = rc.bottom - rc.top;
        }
    }
    if (!(wp.flags & SWP_NOSENDCHANGING))
        SendMessage(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(wp.flags & SWP_NOSIZE) || (wp.flags & SWP_FRAMECHANGED)) {
        const RECT rcNew { wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy };
        calc.rgrc[0] = rcNew;
        calc.lppos = &wp;
        SendMessage(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&calc));
        KeepOwnFrame(hWnd, rcNew, calc.rgrc[0]);
    }
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        if (!(wp.flags & SWP_NOZORDER))
            ReorderLocked(*pWindow, wp.hwndInsertAfter);
        RECT rcOld = pWindow->rcWindow;
        if (!(wp.flags & SWP_NOMOVE) || !(wp.flags & SWP_NOSIZE))
            pWindow->rcWindow = { wp.x, wp.y, wp.x + std::max(wp.cx, 0), wp.y + std::max(wp.cy, 0) };
        if (!(pWindow->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)))
            pWindow->rcNormal = pWindow->rcWindow;
        if (wp.flags & SWP_SHOWWINDOW)
            pWindow->dwStyle |= WS_VISIBLE;
        else if (wp.flags & SWP_HIDEWINDOW)
            pWindow->dwStyle &= ~WS_VISIBLE;
        InvalidateAfterMoveLocked(*pWindow, rcOld, wp.flags);
    }
    SendMessage(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (wp.flags & SWP_HIDEWINDOW)
        PassOnFocusAndActivation(hWnd);
    else if (!(wp.flags & SWP_NOACTIVATE))
        ActivateShownWindow(hWnd);
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(
        hWnd, nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    bool bWasVisible = false;
    bool bShow = nCmdShow != SW_HIDE;
    DWORD dwState = 0; // WS_MINIMIZE or WS_MAXIMIZE wanted, 0 for the normal state
    if (nCmdShow == SW_SHOWMAXIMIZED)
        dwState = WS_MAXIMIZE;
    else if (nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_SHOWMINNOACTIVE
        || nCmdShow == SW_FORCEMINIMIZE)
        dwState = WS_MINIMIZE;
    bool bChangeState = false;
    DWORD dwPrevious = 0; // the state before the call
    RECT rcNew {};
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        bWasVisible = (pWindow->dwStyle & WS_VISIBLE) != 0;
        DWORD dwCurrent = pWindow->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE);
        dwPrevious = dwCurrent;
        bool bKeepsState
            = nCmdShow == SW_HIDE || nCmdShow == SW_SHOW || nCmdShow == SW_SHOWNA || nCmdShow == SW_SHOWNOACTIVATE;
        if (!bKeepsState && dwState != dwCurrent) {
            bChangeState = true;
            if (!dwCurrent)
                pWindow->rcNormal = pWindow->rcWindow;
            pWindow->dwStyle = (pWindow->dwStyle & ~(WS_MINIMIZE | WS_MAXIMIZE)) | dwState;
            rcNew = dwState ? StateRectLocked(*pWindow, dwState == WS_MAXIMIZE) : pWindow->rcNormal;
        }
    }
    if (bChangeState && dwState == WS_MAXIMIZE) {
        // The window may choose where and how large it is maximized.
        MINMAXINFO mmi = QueryMinMaxInfo(hWnd);
        rcNew = { mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
            mmi.ptMaxPosition.y + mmi.ptMaxSize.y };
    }
    if (bShow != bWasVisible)
        SendMessage(hWnd, WM_SHOWWINDOW, bShow, 0);
    UINT uFlags = SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!bChangeState)
        uFlags |= SWP_NOMOVE | SWP_NOSIZE;
    if (bShow != bWasVisible || bChangeState)
        SetWindowPos(hWnd, nullptr, rcNew.left, rcNew.top, rcNew.right - rcNew.left, rcNew.bottom - rcNew.top, uFlags);
    if (bChangeState && (dwState == WS_MINIMIZE) != (dwPrevious == WS_MINIMIZE))
        ShowOwnedWindows(hWnd, dwState != WS_MINIMIZE);
    if (ActivatesWhenShown(nCmdShow))
        ActivateShownWindow(hWnd);
    return bWasVisible;
}

BOOL IsWindowVisible(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    return pWindow && IsVisibleLocked(*pWindow);
}

BOOL IsIconic(HWND hWnd)
{
    return (GetWindowLong(hWnd, GWL_STYLE) & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hWnd)
{
    return (GetWindowLong(hWnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    bool bWasDisabled = false;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        bWasDisabled = (pWindow->dwStyle & WS_DISABLED) != 0;
        if (bWasDisabled != !bEnable)
            pWindow->dwStyle ^= WS_DISABLED;
    }
    if (bWasDisabled != !bEnable)
        SendMessage(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return bWasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    return pWindow && !(pWindow->dwStyle & WS_DISABLED);
}

/***** Coordinates *****/

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow || !lpRect) {
        if (pWindow)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    POINT origin = pWindow->pParent ? ClientOriginLocked(*pWindow->pParent) : POINT { 0, 0 };
    const RECT& rc = pWindow->rcWindow;
    *lpRect = { rc.left + origin.x, rc.top + origin.y, rc.right + origin.x, rc.bottom + origin.y };
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow || !lpRect) {
        if (pWindow)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT rcClient = pWindow->pParent ? ClientRectInParentLocked(*pWindow) : pWindow->rcWindow;
    *lpRect = { 0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top };
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT frame = FrameOf(dwStyle & ~(WS_VSCROLL | WS_HSCROLL), dwExStyle);
    lpRect->left -= frame.left;
    lpRect->top -= frame.top + (bMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    lpRect->right += frame.right;
    lpRect->bottom += frame.bottom;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    auto lock = LockWindows();
    CWindow* pFrom = hWndFrom ? FindWindowOrFailLocked(hWndFrom) : &DesktopLocked();
    CWindow* pTo = hWndTo ? FindWindowOrFailLocked(hWndTo) : &DesktopLocked();
    if (!pFrom || !pTo)
        return 0;
    POINT from = ClientOriginLocked(*pFrom);
    POINT to = ClientOriginLocked(*pTo);
    LONG dx = from.x - to.x;
    LONG dy = from.y - to.y;
    for (UINT i = 0; lpPoints && i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    if (!IsWindow(hWnd) || !lpPoint) {
        SetLastError(lpPoint ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MapWindowPoints(hWnd, nullptr, lpPoint, 1);
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    if (!IsWindow(hWnd) || !lpPoint) {
        SetLastError(lpPoint ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MapWindowPoints(nullptr, hWnd, lpPoint, 1);
    return TRUE;
}

HWND WindowFromPointSkipping(POINT Point, const std::vector<HWND>& skipped)
{
    auto lock = LockWindows();
    CWindow* pFound = nullptr;
    CWindow* pLevel = &DesktopLocked();
    POINT ptInLevel = Point; // in pLevel's client coordinates
    for (;;) {
        CWindow* pHit = nullptr;
        for (CWindow* pChild : pLevel->children) {
            bool bSkip = !(pChild->dwStyle & WS_VISIBLE)
                || ((pChild->dwStyle & WS_CHILD) && (pChild->dwStyle & WS_DISABLED))
                || std::find(skipped.begin(), skipped.end(), pChild->hWnd) != skipped.end();
            if (!bSkip && Contains(pChild->rcWindow, ptInLevel)) {
                pHit = pChild;
                break;
            }
        }
        if (!pHit)
            return pFound ? pFound->hWnd : nullptr;
        RECT rcClient = ClientRectInParentLocked(*pHit);
        if (!Contains(rcClient, ptInLevel))
            return pHit->hWnd; // on the frame: no child is there
        pFound = pHit;
        pLevel = pHit;
        ptInLevel = { ptInLevel.x - rcClient.left, ptInLevel.y - rcClient.top };
    }
}

HWND WindowFromPoint(POINT Point)
{
    return WindowFromPointSkipping(Point, {});
}

HWND ChildWindowFromPointEx(HWND hWndParent, POINT Point, UINT uFlags)
{
    auto lock = LockWindows();
    CWindow* pParent = FindWindowOrFailLocked(hWndParent);
    if (!pParent)
        return nullptr;
    RECT rcClient = pParent->pParent ? ClientRectInParentLocked(*pParent) : pParent->rcWindow;
    RECT rcWindow = pParent->rcWindow; // in client coordinates below
    RECT rcBounds { rcWindow.left - rcClient.left, rcWindow.top - rcClient.top, rcWindow.right - rcClient.left,
        rcWindow.bottom - rcClient.top };
    if (!Contains(rcBounds, Point))
        return nullptr;
    for (CWindow* pChild : pParent->children) {
        if ((uFlags & CWP_SKIPINVISIBLE) && !(pChild->dwStyle & WS_VISIBLE))
            continue;
        if ((uFlags & CWP_SKIPDISABLED) && (pChild->dwStyle & WS_DISABLED))
            continue;
        if ((uFlags & CWP_SKIPTRANSPARENT) && (pChild->dwExStyle & WS_EX_TRANSPARENT))
            continue;
        if (Contains(pChild->rcWindow, Point))
            return pChild->hWnd;
    }
    return hWndParent;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point)
{
    return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL);
}
