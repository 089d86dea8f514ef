// The move and size loops a caption or frame drag (or SC_MOVE / SC_SIZE) starts.

#include "platform/display/Display.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>

namespace {

// The edges of SC_SIZE's low bits (WMSZ_LEFT 1 ... WMSZ_BOTTOMRIGHT 8).
bool MovesLeft(UINT nEdge)
{
    return nEdge == 1 || nEdge == 4 || nEdge == 7;
}
bool MovesRight(UINT nEdge)
{
    return nEdge == 2 || nEdge == 5 || nEdge == 8;
}
bool MovesTop(UINT nEdge)
{
    return nEdge >= 3 && nEdge <= 5;
}
bool MovesBottom(UINT nEdge)
{
    return nEdge >= 6 && nEdge <= 8;
}

// The window's rectangle in its parent's client coordinates (the screen's for top-level windows).
RECT PlaceInParent(HWND hWnd)
{
    RECT rc {};
    GetWindowRect(hWnd, &rc);
    if (GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

// Where the window goes when the mouse is dx, dy from where the drag started.
RECT DraggedRect(HWND hWnd, RECT rc, bool bMove, UINT nEdge, int dx, int dy)
{
    if (bMove) {
        OffsetRect(&rc, dx, dy);
        return rc;
    }
    int cxMin = 0;
    int cyMin = 0;
    int cxMax = 0x7FFF;
    int cyMax = 0x7FFF;
    if (HasTrackingLimits(static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE)))) {
        MINMAXINFO mmi = QueryMinMaxInfo(hWnd);
        cxMin = mmi.ptMinTrackSize.x;
        cyMin = mmi.ptMinTrackSize.y;
        cxMax = mmi.ptMaxTrackSize.x;
        cyMax = mmi.ptMaxTrackSize.y;
    }
    // The dragged edges move; the size keeps to the tracking limits by stopping them.
    if (MovesLeft(nEdge))
        rc.left = rc.right - std::clamp(static_cast<int>(rc.right - rc.left - dx), cxMin, cxMax);
    if (MovesRight(nEdge))
        rc.right = rc.left + std::clamp(static_cast<int>(rc.right - rc.left + dx), cxMin, cxMax);
    if (MovesTop(nEdge))
        rc.top = rc.bottom - std::clamp(static_cast<int>(rc.bottom - rc.top - dy), cyMin, cyMax);
    if (MovesBottom(nEdge))
        rc.bottom = rc.top + std::clamp(static_cast<int>(rc.bottom - rc.top + dy), cyMin, cyMax);
    return rc;
}

} // namespace

void RunSizeMoveLoop(HWND hWnd, WPARAM nCommand, POINT ptStart)
{
    bool bMove = (nCommand & 0xFFF0) == SC_MOVE;
    auto nEdge = static_cast<UINT>(nCommand & 0x0F);
    if (IsZoomed(hWnd) || IsIconic(hWnd) || (!bMove && (nEdge < 1 || nEdge > 8)))
        return;
    // A desktop that moves and sizes windows itself takes the drag over.
    if (GetAncestor(hWnd, GA_PARENT) == GetDesktopWindow()) {
        int nHitTest = bMove ? static_cast<int>(HTCAPTION) : static_cast<int>(HTLEFT + nEdge - 1);
        auto lock = LockWindows();
        if (DisplayLocked().BeginMoveSize(hWnd, nHitTest, ptStart))
            return;
    }
    RECT rcStart = PlaceInParent(hWnd);
    // The mouse belongs to the window from the start of the loop, as it hears.
    HWND hOldCapture = SetCapture(hWnd);
    SendMessage(hWnd, WM_ENTERSIZEMOVE, 0, 0);
    MSG msg {};
    while (NextPressMessage(&msg)) {
        if (!IsWindow(hWnd))
            return;
        bool bRelease = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
        if (bRelease || msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            RECT rc = DraggedRect(hWnd, rcStart, bMove, nEdge, msg.pt.x - ptStart.x, msg.pt.y - ptStart.y);
            SetWindowPos(
                hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (bRelease)
            break;
    }
    EndPressCapture(hWnd, hOldCapture);
    if (IsWindow(hWnd))
        SendMessage(hWnd, WM_EXITSIZEMOVE, 0, 0);
}
