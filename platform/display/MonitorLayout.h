#pragma once

// The monitors as the program sees them, derived from what the X server
// reports: a pure function, so that layouts no test machine has are tested.
//
// Screen coordinates put the primary monitor's top-left corner at (0, 0)
// (the program places its windows and popups on that assumption); the
// others keep their places relative to it and may lie at negative
// coordinates.

#include "platform/display/Display.h"

#include <optional>
#include <vector>

// One monitor as the server reports it, in root coordinates.
struct CReportedMonitor {
    RECT rcMonitor {};
    bool bPrimary { false };
};

struct CMonitorLayout {
    std::vector<CMonitor> monitors; // screen coordinates, the primary first; never empty
    POINT ptOrigin {};              // the primary's corner in root coordinates
};

// From the monitors reported (RandR, else Xinerama; empty: none, and one
// monitor as large as the root stands in), the root's size and the desktop's
// work area (root coordinates; none when unset). The primary is the one
// flagged, else the one holding the root's corner, else the first. Each
// monitor's work area is its part of the desktop's work area, or all of it
// where they do not meet.
CMonitorLayout DeriveMonitorLayout(
    const std::vector<CReportedMonitor>& reported, SIZE szRoot, const std::optional<RECT>& workArea);

// The monitor holding the point, else the nearest one (screen coordinates).
const CMonitor& MonitorNearest(const std::vector<CMonitor>& monitors, POINT pt);
