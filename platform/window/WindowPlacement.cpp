#include "platform/window/WindowPlacement.h"

#include "platform/base/WinError.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

namespace {

// The work area's origin, by which top-level positions are given.
POINT WorkAreaOrigin(HWND hWnd)
{
    if (GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD)
        return { 0, 0 };
    RECT rcWork {};
    if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0))
        return { 0, 0 };
    return { rcWork.left, rcWork.top };
}

} // namespace

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl)
{
    RECT rcNormal {};
    DWORD dwStyle = 0;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        dwStyle = pWindow->dwStyle;
        rcNormal = (dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)) ? pWindow->rcNormal : pWindow->rcWindow;
    }
    POINT origin = WorkAreaOrigin(hWnd);
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = 0;
    lpwndpl->showCmd = (dwStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED
        : (dwStyle & WS_MAXIMIZE)              ? SW_SHOWMAXIMIZED
                                               : SW_SHOWNORMAL;
    lpwndpl->ptMinPosition = { -1, -1 };
    lpwndpl->ptMaxPosition = { -1, -1 };
    lpwndpl->rcNormalPosition
        = { rcNormal.left - origin.x, rcNormal.top - origin.y, rcNormal.right - origin.x, rcNormal.bottom - origin.y };
    return TRUE;
}

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    POINT origin = WorkAreaOrigin(hWnd);
    const RECT& rc = lpwndpl->rcNormalPosition;
    RECT rcNormal { rc.left + origin.x, rc.top + origin.y, rc.right + origin.x, rc.bottom + origin.y };
    bool bStateNow = (GetWindowLong(hWnd, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
    if (bStateNow) {
        // Minimized or maximized, the window keeps its place; the restored place is what changes.
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowOrFailLocked(hWnd))
            pWindow->rcNormal = rcNormal;
    } else {
        SetWindowPos(hWnd, nullptr, rcNormal.left, rcNormal.top, rcNormal.right - rcNormal.left,
            rcNormal.bottom - rcNormal.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hWnd, static_cast<int>(lpwndpl->showCmd));
    return TRUE;
}
