#include "platform/window/Monitors.h"

#include "platform/base/WinError.h"
#include "platform/display/MonitorLayout.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Window.h"

#include <mutex>

namespace {

constexpr RECT HEADLESS_SCREEN { 0, 0, 1280, 1024 };

// The list and its lock, a leaf: nothing else is taken while it is held.
struct CScreen {
    std::mutex mutex;
    std::vector<CMonitor> monitors { CMonitor { HEADLESS_SCREEN, HEADLESS_SCREEN, true } };
};

CScreen& Screen()
{
    static auto* pScreen = new CScreen;
    return *pScreen;
}

HMONITOR HandleOf(size_t nIndex)
{
    return reinterpret_cast<HMONITOR>(nIndex + 1);
}

long long Area(const RECT& rc)
{
    return IsRectEmpty(&rc) ? 0 : static_cast<long long>(rc.right - rc.left) * (rc.bottom - rc.top);
}

}

std::vector<CMonitor> ScreenMonitors()
{
    std::lock_guard lock(Screen().mutex);
    return Screen().monitors;
}

void SetScreenMonitors(std::vector<CMonitor> monitors)
{
    if (monitors.empty())
        monitors.push_back(CMonitor { HEADLESS_SCREEN, HEADLESS_SCREEN, true });
    std::lock_guard lock(Screen().mutex);
    Screen().monitors = std::move(monitors);
}

CMonitor MonitorNearestPoint(POINT pt)
{
    std::vector<CMonitor> monitors = ScreenMonitors();
    return MonitorNearest(monitors, pt);
}

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    RECT rc { pt.x, pt.y, pt.x + 1, pt.y + 1 };
    return MonitorFromRect(&rc, dwFlags);
}

HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags)
{
    if (!lprc)
        return nullptr;
    std::vector<CMonitor> monitors = ScreenMonitors();
    size_t nBest = 0;
    long long nBestArea = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        RECT rcShared {};
        IntersectRect(&rcShared, &monitors[i].rcMonitor, lprc);
        if (Area(rcShared) > nBestArea) {
            nBest = i;
            nBestArea = Area(rcShared);
        }
    }
    if (nBestArea > 0)
        return HandleOf(nBest);
    if (dwFlags == MONITOR_DEFAULTTOPRIMARY)
        return HandleOf(0);
    if (dwFlags != MONITOR_DEFAULTTONEAREST)
        return nullptr;
    POINT ptCentre { (lprc->left + lprc->right) / 2, (lprc->top + lprc->bottom) / 2 };
    const CMonitor& nearest = MonitorNearest(monitors, ptCentre);
    return HandleOf(static_cast<size_t>(&nearest - monitors.data()));
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags)
{
    RECT rc {};
    if (!GetWindowRect(hwnd, &rc))
        return nullptr;
    return MonitorFromRect(&rc, dwFlags);
}

BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    auto nIndex = reinterpret_cast<size_t>(hMonitor);
    std::vector<CMonitor> monitors = ScreenMonitors();
    if (!lpmi || lpmi->cbSize != sizeof(MONITORINFO) || nIndex == 0 || nIndex > monitors.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CMonitor& monitor = monitors[nIndex - 1];
    lpmi->rcMonitor = monitor.rcMonitor;
    lpmi->rcWork = monitor.rcWork;
    lpmi->dwFlags = monitor.bPrimary ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}
