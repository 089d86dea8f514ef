#pragma once

// The headless display's tray: it records the icons it is given, in the order
// they came, and passes the clicks a test makes on them to the input sink.
// Each icon stands at a point of its own near the screen's lower right corner,
// the newest leftmost, as the clicks report. It can be switched off, as when the
// desktop has no tray: the display then offers none. Safe to use from any thread.

#include "platform/display/TrayHost.h"

#include <mutex>
#include <optional>
#include <vector>

class CHeadlessTrayHost : public CTrayHost {
public:
    CHeadlessTrayHost(int nScreenWidth, int nScreenHeight);

    bool AddIcon(const CTrayIcon& icon) override;
    bool ModifyIcon(const CTrayIcon& icon) override;
    bool DeleteIcon(HWND hWnd, UINT uID) override;
    // The icon's place around its point.
    bool GetIconRect(HWND hWnd, UINT uID, RECT* pRect) override;

    // The icons shown now, the oldest first.
    std::vector<CTrayIcon> GetIcons() const;
    // The screen point where an icon stands; nullopt for an unknown key.
    std::optional<POINT> IconPoint(HWND hWnd, UINT uID) const;
    // Acts on the icon with a mouse message (WM_RBUTTONUP, ...) at its point,
    // as a user would; false for an unknown key or when no sink is set.
    bool Click(HWND hWnd, UINT uID, UINT nMouseMessage);
    // The pointer comes onto the icon (bOver) or leaves it; false as for Click.
    bool Hover(HWND hWnd, UINT uID, bool bOver);

    // Whether the display offers this tray; switching it off drops the icons.
    bool IsEnabled() const;
    void SetEnabled(bool bEnabled);

private:
    std::optional<size_t> IndexOfLocked(HWND hWnd, UINT uID) const;
    POINT PointOfLocked(size_t nIndex) const;

    mutable std::mutex m_mutex;
    int m_nScreenWidth;
    int m_nScreenHeight;
    std::vector<CTrayIcon> m_icons; // the oldest first
    bool m_bEnabled { true };
};
