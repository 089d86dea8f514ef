#include "platform/window/Focus.h"

#include "platform/base/WinError.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <vector>

namespace {

// The top-level windows of the program, for WM_ACTIVATEAPP.
std::vector<HWND> TopLevelWindows()
{
    auto lock = LockWindows();
    std::vector<HWND> windows;
    for (CWindow* pTop : DesktopLocked().children)
        windows.push_back(pTop->hWnd);
    return windows;
}

void SendActivateApp(bool bActive)
{
    for (HWND hTop : TopLevelWindows())
        SendMessage(hTop, WM_ACTIVATEAPP, bActive, 0);
}

WPARAM ActivateParam(HWND hWnd, WORD nKind)
{
    return MAKELONG(nKind, IsIconic(hWnd) ? 1 : 0);
}

HWND Activate(HWND hWnd, WORD nKind)
{
    HWND hTop = nullptr;
    HWND hOld = nullptr;
    bool bAppWasActive = false;
    {
        auto lock = LockWindows();
        CInputState& state = InputStateLocked();
        hOld = state.hActive;
        if (hWnd) {
            CWindow* pWindow = FindWindowOrFailLocked(hWnd);
            if (!pWindow)
                return nullptr;
            while (pWindow->pParent && pWindow->pParent != &DesktopLocked())
                pWindow = pWindow->pParent;
            hTop = pWindow->hWnd;
        }
        if (hTop == hOld)
            return hOld;
        state.hActive = hTop;
        bAppWasActive = state.bAppActive;
        state.bAppActive = hTop != nullptr;
    }
    if (hOld && IsWindow(hOld)) {
        SendMessage(hOld, WM_NCACTIVATE, FALSE, 0);
        SendMessage(hOld, WM_ACTIVATE, ActivateParam(hOld, WA_INACTIVE), reinterpret_cast<LPARAM>(hTop));
    }
    if (!hTop) {
        if (bAppWasActive)
            SendActivateApp(false);
        SetFocus(nullptr);
        return hOld;
    }
    if (!bAppWasActive)
        SendActivateApp(true);
    SetWindowPos(hTop, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(hTop, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hTop, WM_ACTIVATE, ActivateParam(hTop, nKind), reinterpret_cast<LPARAM>(hOld));
    return hOld;
}

}

HWND SetFocus(HWND hWnd)
{
    if (hWnd) {
        HWND hTop = GetAncestor(hWnd, GA_ROOT);
        if (!hTop)
            return nullptr; // not a window; the error is set
        if (hTop != GetActiveWindow()) {
            Activate(hTop, WA_ACTIVE);
            if (!IsWindow(hWnd))
                return nullptr;
        }
    }
    HWND hOld = GetFocus();
    if (hOld == hWnd)
        return hOld;
    if (hOld)
        SendMessage(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    {
        auto lock = LockWindows();
        if (hWnd && !FindWindowLocked(hWnd))
            return nullptr; // destroyed by the old window's handler
        InputStateLocked().hFocus = hWnd;
    }
    if (hWnd)
        SendMessage(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    return hOld;
}

HWND GetFocus()
{
    auto lock = LockWindows();
    return InputStateLocked().hFocus;
}

HWND SetActiveWindow(HWND hWnd)
{
    return Activate(hWnd, WA_ACTIVE);
}

HWND GetActiveWindow()
{
    auto lock = LockWindows();
    return InputStateLocked().hActive;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Activate(hWnd, WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

void ActivateWindowByClick(HWND hTop)
{
    Activate(hTop, WA_CLICKACTIVE);
}
