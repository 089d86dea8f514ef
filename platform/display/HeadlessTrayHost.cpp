#include "platform/display/HeadlessTrayHost.h"

#include <cstddef>

namespace {

constexpr int TRAY_SLOT_WIDTH = 24; // each icon's place, from the right edge leftwards
constexpr int TRAY_ROW_HEIGHT = 24; // the tray row at the bottom of the screen

}

CHeadlessTrayHost::CHeadlessTrayHost(int nScreenWidth, int nScreenHeight)
    : m_nScreenWidth(nScreenWidth)
    , m_nScreenHeight(nScreenHeight)
{
}

std::optional<size_t> CHeadlessTrayHost::IndexOfLocked(HWND hWnd, UINT uID) const
{
    for (size_t i = 0; i < m_icons.size(); ++i) {
        if (m_icons[i].hWnd == hWnd && m_icons[i].uID == uID)
            return i;
    }
    return std::nullopt;
}

POINT CHeadlessTrayHost::PointOfLocked(size_t nIndex) const
{
    // The newest icon stands leftmost: slot 0 (rightmost) is the oldest.
    int nSlot = static_cast<int>(nIndex);
    return POINT { m_nScreenWidth - TRAY_SLOT_WIDTH * nSlot - TRAY_SLOT_WIDTH / 2,
        m_nScreenHeight - TRAY_ROW_HEIGHT / 2 };
}

bool CHeadlessTrayHost::AddIcon(const CTrayIcon& icon)
{
    std::lock_guard lock(m_mutex);
    if (!m_bEnabled || IndexOfLocked(icon.hWnd, icon.uID))
        return false;
    m_icons.push_back(icon);
    return true;
}

bool CHeadlessTrayHost::ModifyIcon(const CTrayIcon& icon)
{
    std::lock_guard lock(m_mutex);
    std::optional<size_t> nIndex = IndexOfLocked(icon.hWnd, icon.uID);
    if (!nIndex)
        return false;
    m_icons[*nIndex] = icon;
    return true;
}

bool CHeadlessTrayHost::DeleteIcon(HWND hWnd, UINT uID)
{
    std::lock_guard lock(m_mutex);
    std::optional<size_t> nIndex = IndexOfLocked(hWnd, uID);
    if (!nIndex)
        return false;
    m_icons.erase(m_icons.begin() + static_cast<std::ptrdiff_t>(*nIndex));
    return true;
}

std::vector<CTrayIcon> CHeadlessTrayHost::GetIcons() const
{
    std::lock_guard lock(m_mutex);
    return m_icons;
}

std::optional<POINT> CHeadlessTrayHost::IconPoint(HWND hWnd, UINT uID) const
{
    std::lock_guard lock(m_mutex);
    std::optional<size_t> nIndex = IndexOfLocked(hWnd, uID);
    if (!nIndex)
        return std::nullopt;
    return PointOfLocked(*nIndex);
}

bool CHeadlessTrayHost::GetIconRect(HWND hWnd, UINT uID, RECT* pRect)
{
    std::optional<POINT> pt = IconPoint(hWnd, uID);
    if (!pt)
        return false;
    *pRect = RECT { pt->x - TRAY_SLOT_WIDTH / 2, pt->y - TRAY_ROW_HEIGHT / 2, pt->x + TRAY_SLOT_WIDTH / 2,
        pt->y + TRAY_ROW_HEIGHT / 2 };
    return true;
}

bool CHeadlessTrayHost::Click(HWND hWnd, UINT uID, UINT nMouseMessage)
{
    std::optional<POINT> pt = IconPoint(hWnd, uID);
    CTrayInputSink* pSink = m_pSink.load();
    if (!pt || !pSink)
        return false;
    // The sink is called without the lock: it may come back to change the icons.
    pSink->OnTrayMouse(hWnd, uID, nMouseMessage, *pt);
    return true;
}

bool CHeadlessTrayHost::Hover(HWND hWnd, UINT uID, bool bOver)
{
    CTrayInputSink* pSink = m_pSink.load();
    if (!IconPoint(hWnd, uID) || !pSink)
        return false;
    pSink->OnTrayHover(hWnd, uID, bOver);
    return true;
}

bool CHeadlessTrayHost::IsEnabled() const
{
    std::lock_guard lock(m_mutex);
    return m_bEnabled;
}

void CHeadlessTrayHost::SetEnabled(bool bEnabled)
{
    std::lock_guard lock(m_mutex);
    m_bEnabled = bEnabled;
    if (!bEnabled)
        m_icons.clear();
}
