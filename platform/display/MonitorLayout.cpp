#include "platform/display/MonitorLayout.h"

#include "platform/gdi/Rects.h"

#include <algorithm>
#include <cstdlib>

namespace {

RECT Shifted(RECT rc, POINT ptBy)
{
    OffsetRect(&rc, -ptBy.x, -ptBy.y);
    return rc;
}

}

CMonitorLayout DeriveMonitorLayout(
    const std::vector<CReportedMonitor>& reported, SIZE szRoot, const std::optional<RECT>& workArea)
{
    std::vector<CReportedMonitor> candidates;
    for (const CReportedMonitor& monitor : reported) {
        if (!IsRectEmpty(&monitor.rcMonitor))
            candidates.push_back(monitor);
    }
    if (candidates.empty())
        candidates.push_back(CReportedMonitor { RECT { 0, 0, szRoot.cx, szRoot.cy }, true });

    auto primary = std::find_if(candidates.begin(), candidates.end(), [](const auto& m) { return m.bPrimary; });
    if (primary == candidates.end()) {
        POINT ptCorner {};
        primary = std::find_if(
            candidates.begin(), candidates.end(), [&](const auto& m) { return PtInRect(&m.rcMonitor, ptCorner); });
    }
    if (primary == candidates.end())
        primary = candidates.begin();
    std::rotate(candidates.begin(), primary, primary + 1);

    CMonitorLayout layout;
    layout.ptOrigin = POINT { candidates.front().rcMonitor.left, candidates.front().rcMonitor.top };
    for (size_t i = 0; i < candidates.size(); ++i) {
        const RECT& rcRoot = candidates[i].rcMonitor;
        RECT rcWork = rcRoot;
        RECT rcShared {};
        if (workArea && IntersectRect(&rcShared, &rcRoot, &*workArea))
            rcWork = rcShared;
        CMonitor monitor;
        monitor.rcMonitor = Shifted(rcRoot, layout.ptOrigin);
        monitor.rcWork = Shifted(rcWork, layout.ptOrigin);
        monitor.bPrimary = i == 0;
        layout.monitors.push_back(monitor);
    }
    return layout;
}

const CMonitor& MonitorNearest(const std::vector<CMonitor>& monitors, POINT pt)
{
    const CMonitor* pBest = &monitors.front();
    long long nBest = -1;
    for (const CMonitor& monitor : monitors) {
        const RECT& rc = monitor.rcMonitor;
        long long dx = pt.x < rc.left ? rc.left - pt.x : pt.x >= rc.right ? pt.x - rc.right + 1 : 0;
        long long dy = pt.y < rc.top ? rc.top - pt.y : pt.y >= rc.bottom ? pt.y - rc.bottom + 1 : 0;
        long long nDistance = dx * dx + dy * dy;
        if (nBest < 0 || nDistance < nBest) {
            pBest = &monitor;
            nBest = nDistance;
        }
    }
    return *pBest;
}
