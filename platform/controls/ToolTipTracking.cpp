#include "platform/controls/ToolTipInternal.h"

#include "platform/window/Monitors.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>

void TrackActivate(HWND hWnd, bool bShow, const TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const int nTool
        = pInfo && pInfo->cbSize >= offsetof(TOOLINFO, lParam) ? FindTool(*pState, pInfo->hwnd, pInfo->uId) : -1;
    if (!bShow) {
        // Only the tracked tip goes; a tip the mouse brought keeps to its own timing.
        if (pState->bTracking && (nTool < 0 || nTool == pState->nCurrent))
            HideTip(hWnd, false);
        return;
    }
    if (nTool < 0)
        return;
    HideTip(hWnd, false);
    std::string strText;
    if (!ToolText(hWnd, nTool, &strText) || !(pState = ToolTipState(hWnd)) || strText.empty())
        return;
    pState->nCurrent = nTool;
    pState->strShown = strText;
    pState->bTracking = true;
    pState->ePhase = ETipPhase::Shown;
    PlaceTrackedTip(hWnd);
}

void TrackPosition(HWND hWnd, POINT pt)
{
    CToolTipState* pState = ToolTipState(hWnd);
    pState->ptTrack = pt;
    if (pState->bTracking)
        PlaceTrackedTip(hWnd);
}

void PlaceTrackedTip(HWND hWnd)
{
    const CToolTipState* pState = ToolTipState(hWnd);
    const SIZE size = TipSize(hWnd, pState->strShown);
    MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
    GetMonitorInfo(MonitorFromPoint(pState->ptTrack, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& rcMonitor = info.rcMonitor;
    const int x
        = std::clamp<int>(pState->ptTrack.x, rcMonitor.left, std::max(rcMonitor.right - size.cx, rcMonitor.left));
    const int y
        = std::clamp<int>(pState->ptTrack.y, rcMonitor.top, std::max(rcMonitor.bottom - size.cy, rcMonitor.top));
    SetWindowPos(hWnd, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hWnd, nullptr, TRUE);
}
