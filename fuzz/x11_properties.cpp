// Links: platform_display
// Decodes arbitrary bytes as window properties of other X clients (work area,
// embedding info, tray icon size, atom and window lists) and as a monitor
// list: each must give a value that is sound or nothing.

#include "platform/display/MonitorLayout.h"
#include "platform/display/X11Properties.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CX11Property property = MakeX11Property(std::span(pData, nSize));
    for (uint32_t nDesktop : { 0u, 1u, 7u, 0xFFFFFFFFu }) {
        if (std::optional<RECT> rc = DecodeWorkArea(property, nDesktop);
            rc && (rc->right <= rc->left || rc->bottom <= rc->top))
            std::abort();
    }
    DecodeXEmbedInfo(property);
    if (std::optional<int> nSize = DecodeTrayIconSize(property); nSize && (*nSize < 1 || *nSize > 256))
        std::abort();
    X11Longs(property, property.nType);
    // The same items as monitors reported by the server: the layout always has a primary first.
    std::vector<CReportedMonitor> reported;
    for (size_t i = 0; i + 4 <= property.longs.size(); i += 4) {
        auto x = static_cast<int16_t>(property.longs[i]);
        auto y = static_cast<int16_t>(property.longs[i + 1]);
        reported.push_back(CReportedMonitor { RECT { x, y, x + static_cast<uint16_t>(property.longs[i + 2]),
                                                  y + static_cast<uint16_t>(property.longs[i + 3]) },
            (property.longs[i] & 0x10000) != 0 });
    }
    CMonitorLayout layout = DeriveMonitorLayout(reported, SIZE { 1280, 1024 }, DecodeWorkArea(property, 0));
    if (layout.monitors.empty() || !layout.monitors.front().bPrimary || layout.monitors.front().rcMonitor.left != 0
        || layout.monitors.front().rcMonitor.top != 0)
        std::abort();
    return 0;
}
