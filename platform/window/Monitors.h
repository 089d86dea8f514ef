#pragma once

// The monitors the screen is made of, as the installed display reports them
// (the headless display has one of 1280 by 1024 pixels). The primary
// monitor's top-left corner is (0, 0); the others may lie at negative
// coordinates. The screen metrics (SystemMetrics.h) derive from the primary
// monitor and from all of them together.
//
// A monitor handle names a monitor of the current list; after the monitors
// change, an old handle may name another one or none.

#include "platform/display/Display.h"
#include "platform/window/WindowTypes.h"

#include <vector>

ARCHIVORA_DECLARE_HANDLE(HMONITOR);

// clang-format off
constexpr DWORD MONITOR_DEFAULTTONULL    = 0; // nothing when no monitor holds the point or window
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY     = 0x00000001;
// clang-format on

struct MONITORINFO {
    DWORD cbSize; // sizeof(MONITORINFO)
    RECT rcMonitor;
    RECT rcWork;   // less the desktop's panels
    DWORD dwFlags; // MONITORINFOF_PRIMARY
};
using LPMONITORINFO = MONITORINFO*;

/* Finding monitors. */

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
// The monitor sharing the most area with the rectangle.
HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags);
// The monitor of the window's rectangle; NULL for a window that does not exist.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags);
// FALSE with ERROR_INVALID_PARAMETER for a bad handle or size.
BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi);

/* For the window layer. */

// The monitors, the primary first; never empty.
std::vector<CMonitor> ScreenMonitors();
// Takes the installed display's monitors (an empty list: the headless screen).
void SetScreenMonitors(std::vector<CMonitor> monitors);
// The monitor holding the point, else the nearest one.
CMonitor MonitorNearestPoint(POINT pt);
