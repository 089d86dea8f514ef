#include "platform/window/ScrollBars.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>

namespace {

constexpr int MIN_THUMB = 6; // pixels along the bar

// The highest position the page allows.
int MaxPos(const CScrollBarState& bar)
{
    return bar.nMax - std::max<int>(static_cast<int>(bar.nPage) - 1, 0);
}

void ClampPos(CScrollBarState& bar)
{
    bar.nPos = std::clamp(bar.nPos, bar.nMin, std::max(bar.nMin, MaxPos(bar)));
}

DWORD BarStyle(int nBar)
{
    return nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

// The window's bar for a call, or nullptr with the last error set. Lock held.
CScrollBarState* FindBarLocked(HWND hWnd, int nBar)
{
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return nullptr;
    if (nBar != SB_HORZ && nBar != SB_VERT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return &pWindow->scrollBars[nBar];
}

// Invalidates the frame where a shown bar lies (SB_BOTH: both bars). The
// rectangle lies beside the client area, which waits for nothing.
void RedrawBar(HWND hWnd, int nBar)
{
    const auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    if ((nBar == SB_VERT || nBar == SB_BOTH) && (dwStyle & WS_VSCROLL)) {
        RECT rcBar { rcClient.right, 0, rcClient.right + GetSystemMetrics(SM_CXVSCROLL), rcClient.bottom };
        RedrawWindow(hWnd, &rcBar, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
    if ((nBar == SB_HORZ || nBar == SB_BOTH) && (dwStyle & WS_HSCROLL)) {
        RECT rcBar { 0, rcClient.bottom, rcClient.right, rcClient.bottom + GetSystemMetrics(SM_CYHSCROLL) };
        RedrawWindow(hWnd, &rcBar, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
}

// The parts of a bar along its length, in window coordinates.
struct CBarLayout {
    RECT rcBar {};
    bool bVertical { true };
    int nStart { 0 }; // where the bar begins along its axis
    int nEnd { 0 };
    int nArrow { 0 };      // the length of each arrow
    int nThumbStart { 0 }; // thumb position along the axis; no thumb when nThumbEnd <= nThumbStart
    int nThumbEnd { 0 };
};

// Lays out a bar; false when the window does not show it.
bool LayOutBar(HWND hWnd, int nBar, CBarLayout& layout)
{
    DWORD dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    if (!(dwStyle & BarStyle(nBar)))
        return false;
    RECT rcWindow {};
    RECT rcClient {};
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    POINT ptClient { 0, 0 };
    ClientToScreen(hWnd, &ptClient);
    OffsetRect(&rcClient, ptClient.x - rcWindow.left, ptClient.y - rcWindow.top);
    layout.bVertical = nBar == SB_VERT;
    if (layout.bVertical) {
        layout.rcBar
            = { rcClient.right, rcClient.top, rcClient.right + GetSystemMetrics(SM_CXVSCROLL), rcClient.bottom };
        layout.nStart = layout.rcBar.top;
        layout.nEnd = layout.rcBar.bottom;
        layout.nArrow = GetSystemMetrics(SM_CYVSCROLL);
    } else {
        layout.rcBar
            = { rcClient.left, rcClient.bottom, rcClient.right, rcClient.bottom + GetSystemMetrics(SM_CYHSCROLL) };
        layout.nStart = layout.rcBar.left;
        layout.nEnd = layout.rcBar.right;
        layout.nArrow = GetSystemMetrics(SM_CXHSCROLL);
    }
    layout.nArrow = std::min(layout.nArrow, (layout.nEnd - layout.nStart) / 2);
    SCROLLINFO si { sizeof(si), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hWnd, nBar, &si);
    int nTrack = layout.nEnd - layout.nStart - 2 * layout.nArrow;
    long long nRange = static_cast<long long>(si.nMax) - si.nMin + 1;
    if (nRange <= 1 || (si.nPage && si.nPage >= nRange) || nTrack < MIN_THUMB)
        return true; // nothing to scroll: no thumb
    int nThumb = si.nPage
        ? static_cast<int>(std::max<long long>(nTrack * static_cast<long long>(si.nPage) / nRange, MIN_THUMB))
        : GetSystemMetrics(layout.bVertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    nThumb = std::min(nThumb, nTrack);
    long long nSpan
        = std::max<long long>(static_cast<long long>(si.nMax) - std::max<int>(si.nPage - 1, 0) - si.nMin, 1);
    // A dragged thumb stands where it is dragged to.
    layout.nThumbStart
        = layout.nStart + layout.nArrow + static_cast<int>((nTrack - nThumb) * (si.nTrackPos - si.nMin) / nSpan);
    layout.nThumbEnd = layout.nThumbStart + nThumb;
    return true;
}

// A span along the bar as a rectangle.
RECT Span(const CBarLayout& layout, int nFrom, int nTo)
{
    RECT rc = layout.rcBar;
    if (layout.bVertical) {
        rc.top = nFrom;
        rc.bottom = nTo;
    } else {
        rc.left = nFrom;
        rc.right = nTo;
    }
    return rc;
}

void DrawBar(HWND hWnd, HDC hdc, int nBar, UINT nDisabled)
{
    CBarLayout layout;
    if (!LayOutBar(hWnd, nBar, layout))
        return;
    bool bThumb = layout.nThumbEnd > layout.nThumbStart;
    UINT nInactive = bThumb ? 0 : DFCS_INACTIVE;
    RECT rcFirst = Span(layout, layout.nStart, layout.nStart + layout.nArrow);
    RECT rcLast = Span(layout, layout.nEnd - layout.nArrow, layout.nEnd);
    DrawFrameControl(hdc, &rcFirst, DFC_SCROLL,
        (layout.bVertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT)
            | ((nDisabled & ESB_DISABLE_LTUP) ? DFCS_INACTIVE : nInactive));
    DrawFrameControl(hdc, &rcLast, DFC_SCROLL,
        (layout.bVertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT)
            | ((nDisabled & ESB_DISABLE_RTDN) ? DFCS_INACTIVE : nInactive));
    RECT rcTrack = Span(layout, layout.nStart + layout.nArrow, layout.nEnd - layout.nArrow);
    FillRect(hdc, &rcTrack, GetSysColorBrush(COLOR_3DLIGHT));
    if (bThumb) {
        RECT rcThumb = Span(layout, layout.nThumbStart, layout.nThumbEnd);
        DrawEdge(hdc, &rcThumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

// The position that puts the thumb's grab point at nAt along the bar.
int PosForThumbAt(const CBarLayout& layout, const SCROLLINFO& si, int nAt, int nGrabOffset)
{
    const int nTravel = layout.nEnd - layout.nStart - 2 * layout.nArrow - (layout.nThumbEnd - layout.nThumbStart);
    const int nMaxPos = std::max(si.nMin, si.nMax - std::max<int>(static_cast<int>(si.nPage) - 1, 0));
    if (nTravel <= 0)
        return si.nPos;
    const long long nOffset = nAt - nGrabOffset - (layout.nStart + layout.nArrow);
    const long long nSpan = static_cast<long long>(nMaxPos) - si.nMin;
    return static_cast<int>(
        std::clamp<long long>(si.nMin + (nOffset * nSpan + nTravel / 2) / nTravel, si.nMin, nMaxPos));
}

void SetTracking(HWND hWnd, int nBar, bool bTracking, int nTrackPos)
{
    {
        auto lock = LockWindows();
        CScrollBarState* pBar = FindBarLocked(hWnd, nBar);
        if (!pBar)
            return;
        pBar->bTracking = bTracking;
        pBar->nTrackPos = nTrackPos;
    }
    RedrawBar(hWnd, nBar);
}

// Drags the thumb grabbed at nGrab (window coordinates along the bar). The
// loop takes every message of the thread until the left button is released:
// mouse moves (wherever they were sent) move the thumb, sending SB_THUMBTRACK
// with each new position; other input is dropped; the rest is dispatched, so
// the window keeps painting. The release sends SB_THUMBPOSITION with the last
// position, then SB_ENDSCROLL. The window's procedure scrolls; the bar's
// position changes only when it calls SetScrollInfo.
void TrackThumb(HWND hWnd, int nBar, const CBarLayout& layout, int nGrab)
{
    SCROLLINFO si { sizeof(si), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hWnd, nBar, &si);
    const int nGrabOffset = nGrab - layout.nThumbStart;
    const UINT uMsg = layout.bVertical ? WM_VSCROLL : WM_HSCROLL;
    int nTrackPos = si.nPos;
    SetTracking(hWnd, nBar, true, nTrackPos);
    SetCapture(hWnd);
    for (;;) {
        MSG msg {};
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsButtonDown(VK_LBUTTON))
                break; // the button is up, and its release will not come here
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const bool bMove = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
        const bool bRelease = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
        if (bMove || bRelease) {
            RECT rcWindow {};
            GetWindowRect(hWnd, &rcWindow);
            int nAt = layout.bVertical ? msg.pt.y - rcWindow.top : msg.pt.x - rcWindow.left;
            int nPos = PosForThumbAt(layout, si, nAt, nGrabOffset);
            if (nPos != nTrackPos) {
                nTrackPos = nPos;
                SetTracking(hWnd, nBar, true, nTrackPos);
                SendMessage(hWnd, uMsg, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(nPos)), 0);
                if (!IsWindow(hWnd))
                    return;
            }
            if (bRelease)
                break;
            continue;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST))
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        if (!IsWindow(hWnd))
            return;
    }
    if (GetCapture() == hWnd)
        ReleaseCapture();
    SetTracking(hWnd, nBar, false, 0);
    SendMessage(hWnd, uMsg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(nTrackPos)), 0);
    if (IsWindow(hWnd))
        SendMessage(hWnd, uMsg, SB_ENDSCROLL, 0);
}

}

/***** For the non-client code *****/

void DrawScrollBars(HWND hWnd, HDC hdcWindow)
{
    UINT nDisabled[2] {};
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return;
        nDisabled[SB_HORZ] = pWindow->scrollBars[SB_HORZ].nDisabledArrows;
        nDisabled[SB_VERT] = pWindow->scrollBars[SB_VERT].nDisabledArrows;
    }
    DrawBar(hWnd, hdcWindow, SB_HORZ, nDisabled[SB_HORZ]);
    DrawBar(hWnd, hdcWindow, SB_VERT, nDisabled[SB_VERT]);
    CBarLayout horz;
    CBarLayout vert;
    if (LayOutBar(hWnd, SB_HORZ, horz) && LayOutBar(hWnd, SB_VERT, vert)) {
        RECT rcBox { vert.rcBar.left, horz.rcBar.top, vert.rcBar.right, horz.rcBar.bottom };
        FillRect(hdcWindow, &rcBox, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void ClickScrollBar(HWND hWnd, int nBar, POINT ptScreen)
{
    CBarLayout layout;
    if (!LayOutBar(hWnd, nBar, layout))
        return;
    RECT rcWindow {};
    GetWindowRect(hWnd, &rcWindow);
    int nAt = layout.bVertical ? ptScreen.y - rcWindow.top : ptScreen.x - rcWindow.left;
    UINT nDisabled = 0;
    {
        auto lock = LockWindows();
        if (CScrollBarState* pBar = FindBarLocked(hWnd, nBar))
            nDisabled = pBar->nDisabledArrows;
    }
    bool bThumb = layout.nThumbEnd > layout.nThumbStart;
    int nCode = -1;
    if (nAt < layout.nStart + layout.nArrow)
        nCode = (nDisabled & ESB_DISABLE_LTUP) ? -1 : SB_LINEUP;
    else if (nAt >= layout.nEnd - layout.nArrow)
        nCode = (nDisabled & ESB_DISABLE_RTDN) ? -1 : SB_LINEDOWN;
    else if (bThumb && nAt < layout.nThumbStart)
        nCode = SB_PAGEUP;
    else if (bThumb && nAt >= layout.nThumbEnd)
        nCode = SB_PAGEDOWN;
    else if (bThumb) {
        TrackThumb(hWnd, nBar, layout, nAt);
        return;
    }
    if (nCode < 0 || (!bThumb && nCode != SB_LINEUP && nCode != SB_LINEDOWN))
        return;
    UINT uMsg = layout.bVertical ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(hWnd, uMsg, static_cast<WPARAM>(nCode), 0);
    SendMessage(hWnd, uMsg, SB_ENDSCROLL, 0);
}

/***** Scroll bar calls *****/

int SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw)
{
    if (!lpsi || lpsi->cbSize != sizeof(SCROLLINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int nPos = 0;
    {
        auto lock = LockWindows();
        CScrollBarState* pBar = FindBarLocked(hWnd, nBar);
        if (!pBar)
            return 0;
        if (lpsi->fMask & SIF_RANGE) {
            pBar->nMin = lpsi->nMin;
            pBar->nMax = std::max(lpsi->nMin, lpsi->nMax);
        }
        if (lpsi->fMask & SIF_PAGE)
            pBar->nPage = std::min<UINT>(lpsi->nPage, static_cast<UINT>(pBar->nMax - pBar->nMin + 1));
        if (lpsi->fMask & SIF_POS)
            pBar->nPos = lpsi->nPos;
        ClampPos(*pBar);
        nPos = pBar->nPos;
    }
    if (redraw)
        RedrawBar(hWnd, nBar);
    return nPos;
}

BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    if (!lpsi || lpsi->cbSize != sizeof(SCROLLINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWindows();
    CScrollBarState* pBar = FindBarLocked(hWnd, nBar);
    if (!pBar)
        return FALSE;
    if (lpsi->fMask & SIF_RANGE) {
        lpsi->nMin = pBar->nMin;
        lpsi->nMax = pBar->nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
        lpsi->nPage = pBar->nPage;
    if (lpsi->fMask & SIF_POS)
        lpsi->nPos = pBar->nPos;
    if (lpsi->fMask & SIF_TRACKPOS)
        lpsi->nTrackPos = pBar->bTracking ? pBar->nTrackPos : pBar->nPos;
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    int nOld = GetScrollPos(hWnd, nBar);
    SCROLLINFO si { sizeof(si), SIF_POS, 0, 0, 0, nPos, 0 };
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return nOld;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    SCROLLINFO si { sizeof(si), SIF_POS, 0, 0, 0, 0, 0 };
    return GetScrollInfo(hWnd, nBar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si { sizeof(si), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0 };
    {
        auto lock = LockWindows();
        if (!FindBarLocked(hWnd, nBar))
            return FALSE;
    }
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    SCROLLINFO si { sizeof(si), SIF_RANGE, 0, 0, 0, 0, 0 };
    if (!lpMinPos || !lpMaxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!GetScrollInfo(hWnd, nBar, &si))
        return FALSE;
    *lpMinPos = si.nMin;
    *lpMaxPos = si.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    DWORD dwBits = wBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL)
        : wBar == SB_HORZ          ? WS_HSCROLL
        : wBar == SB_VERT          ? WS_VSCROLL
                                   : 0;
    if (!dwBits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    DWORD dwNew = bShow ? (dwStyle | dwBits) : (dwStyle & ~dwBits);
    if (dwNew != dwStyle) {
        SetWindowLong(hWnd, GWL_STYLE, static_cast<LONG>(dwNew));
        SetWindowPos(
            hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    if (wSBflags != SB_HORZ && wSBflags != SB_VERT && wSBflags != SB_BOTH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool bChanged = false;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        for (int nBar : { SB_HORZ, SB_VERT }) {
            if (wSBflags != SB_BOTH && static_cast<int>(wSBflags) != nBar)
                continue;
            UINT& nDisabled = pWindow->scrollBars[nBar].nDisabledArrows;
            bChanged = bChanged || nDisabled != (wArrows & ESB_DISABLE_BOTH);
            nDisabled = wArrows & ESB_DISABLE_BOTH;
        }
    }
    if (bChanged)
        RedrawBar(hWnd, static_cast<int>(wSBflags));
    return bChanged ? TRUE : FALSE;
}
