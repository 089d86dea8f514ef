// The X11 display's monitors: RandR 1.5 monitors, else Xinerama screens,
// else the root window, with the desktop's work area.

#include "platform/display/X11DisplayInternal.h"

#include "platform/display/MonitorLayout.h"
#include "platform/display/XSettings.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

std::vector<CReportedMonitor> RandrMonitors(Display* pDisplay, Window root)
{
    std::vector<CReportedMonitor> reported;
    int nEventBase = 0;
    int nErrorBase = 0;
    int nMajor = 0;
    int nMinor = 0;
    if (!XRRQueryExtension(pDisplay, &nEventBase, &nErrorBase) || !XRRQueryVersion(pDisplay, &nMajor, &nMinor)
        || nMajor * 100 + nMinor < 105)
        return reported;
    int nCount = 0;
    XRRMonitorInfo* pMonitors = XRRGetMonitors(pDisplay, root, True, &nCount);
    for (int i = 0; pMonitors && i < nCount; ++i) {
        const XRRMonitorInfo& info = pMonitors[i];
        reported.push_back(
            CReportedMonitor { RECT { info.x, info.y, info.x + info.width, info.y + info.height }, info.primary != 0 });
    }
    if (pMonitors)
        XRRFreeMonitors(pMonitors);
    return reported;
}

std::vector<CReportedMonitor> XineramaMonitors(Display* pDisplay)
{
    std::vector<CReportedMonitor> reported;
    int nEventBase = 0;
    int nErrorBase = 0;
    if (!XineramaQueryExtension(pDisplay, &nEventBase, &nErrorBase) || !XineramaIsActive(pDisplay))
        return reported;
    int nCount = 0;
    XineramaScreenInfo* pScreens = XineramaQueryScreens(pDisplay, &nCount);
    for (int i = 0; pScreens && i < nCount; ++i) {
        const XineramaScreenInfo& info = pScreens[i];
        reported.push_back(CReportedMonitor {
            RECT { info.x_org, info.y_org, info.x_org + info.width, info.y_org + info.height }, false });
    }
    if (pScreens)
        XFree(pScreens);
    return reported;
}

}

void CX11State::RefreshScreen()
{
    if (m_bLost)
        return;
    std::vector<CReportedMonitor> reported = RandrMonitors(m_pDisplay, m_root);
    if (reported.empty())
        reported = XineramaMonitors(m_pDisplay);
    SIZE szRoot { DisplayWidth(m_pDisplay, m_nScreen), DisplayHeight(m_pDisplay, m_nScreen) };
    uint32_t nDesktop = X11Long(ReadProperty(m_root, m_atoms._NET_CURRENT_DESKTOP, 1), XA_CARDINAL).value_or(0);
    constexpr long MAX_DESKTOPS = 64;
    std::optional<RECT> workArea
        = DecodeWorkArea(ReadProperty(m_root, m_atoms._NET_WORKAREA, MAX_DESKTOPS * 4), nDesktop);
    CMonitorLayout layout = DeriveMonitorLayout(reported, szRoot, workArea);
    m_monitors = std::move(layout.monitors);
    m_ptOrigin = layout.ptOrigin;
}

void CX11State::WatchScreenChanges()
{
    int nErrorBase = 0;
    if (XRRQueryExtension(m_pDisplay, &m_nRandrEventBase, &nErrorBase))
        XRRSelectInput(
            m_pDisplay, m_root, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    else
        m_nRandrEventBase = -1;
}

bool CX11State::IsScreenChangeEvent(const XEvent& event)
{
    if (event.type == PropertyNotify && event.xproperty.window == m_root)
        return event.xproperty.atom == m_atoms._NET_WORKAREA || event.xproperty.atom == m_atoms._NET_CURRENT_DESKTOP;
    if (m_nRandrEventBase < 0)
        return false;
    if (event.type == m_nRandrEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(const_cast<XEvent*>(&event));
        return true;
    }
    return event.type == m_nRandrEventBase + RRNotify;
}

void CX11State::ReadSettings()
{
    m_nDoubleClickTime = 500;
    if (m_bLost)
        return;
    m_settingsOwner = XGetSelectionOwner(m_pDisplay, m_settingsSelection);
    if (!m_settingsOwner)
        return;
    // Its changes and its end are watched; should it be gone already, the error is counted.
    XSelectInput(m_pDisplay, m_settingsOwner, PropertyChangeMask | StructureNotifyMask);
    constexpr long MAX_SETTINGS_LONGS = 16384;
    CX11Property property = ReadProperty(m_settingsOwner, m_atoms._XSETTINGS_SETTINGS, MAX_SETTINGS_LONGS);
    if (property.nType != m_atoms._XSETTINGS_SETTINGS || property.nFormat != 8)
        return;
    std::map<std::string, int32_t> settings = DecodeXSettingsIntegers(property.bytes);
    constexpr int32_t LONGEST_DOUBLE_CLICK = 5000;
    auto it = settings.find("Net/DoubleClickTime");
    if (it != settings.end() && it->second > 0 && it->second <= LONGEST_DOUBLE_CLICK)
        m_nDoubleClickTime = static_cast<UINT>(it->second);
}

bool CX11State::IsSettingsEvent(const XEvent& event) const
{
    if (event.type == ClientMessage && event.xclient.window == m_root && event.xclient.message_type == m_atoms.MANAGER)
        return static_cast<Atom>(event.xclient.data.l[1]) == m_settingsSelection;
    if (!m_settingsOwner)
        return false;
    if (event.type == PropertyNotify && event.xproperty.window == m_settingsOwner)
        return event.xproperty.atom == m_atoms._XSETTINGS_SETTINGS;
    return event.type == DestroyNotify && event.xdestroywindow.window == m_settingsOwner;
}
