#include "ui/WindowHelpers.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

namespace {

// The most messages one call dispatches.
constexpr int MAX_PUMPED_MESSAGES = 4096;

HWND WindowOf(const CWnd* pWnd)
{
    HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    return hWnd && ::IsWindow(hWnd) ? hWnd : nullptr;
}

}

void PumpMessages(CWnd* pWnd)
{
    HWND hWnd = WindowOf(pWnd);
    if (pWnd && !hWnd)
        return; // an object without a window has no messages
    MSG msg;
    for (int n = 0; n < MAX_PUMPED_MESSAGES && ::PeekMessage(&msg, hWnd, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::DispatchMessage(&msg);
    }
    CWinThread* pThread = AfxGetThread();
    if (HWND hMain = WindowOf(pThread ? pThread->GetMainWnd() : nullptr))
        ::UpdateWindow(hMain);
}

void CenterWindowOn(CWnd* pWnd, CWnd* pReference)
{
    HWND hWnd = WindowOf(pWnd);
    if (!hWnd)
        return;
    HWND hReference = WindowOf(pReference);
    RECT rcWindow {};
    RECT rcReference {};
    if (!::GetWindowRect(hWnd, &rcWindow)
        || !::GetWindowRect(hReference ? hReference : ::GetDesktopWindow(), &rcReference))
        return;
    POINT ptTopLeft { rcReference.left
            + ((rcReference.right - rcReference.left) - (rcWindow.right - rcWindow.left)) / 2,
        rcReference.top + ((rcReference.bottom - rcReference.top) - (rcWindow.bottom - rcWindow.top)) / 2 };
    // A child window is placed in its parent's client coordinates.
    if ((::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) && !::ScreenToClient(::GetParent(hWnd), &ptTopLeft))
        return;
    ::SetWindowPos(hWnd, nullptr, ptTopLeft.x, ptTopLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
