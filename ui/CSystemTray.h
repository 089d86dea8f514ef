#pragma once

// A hidden window that owns one icon in the desktop's notification area: the
// icon's record, a list of icons to animate through, the tooltip and the
// default item of the icon's menu (the menu resource whose id is the icon id;
// its first popup is what the icon shows). Mouse input on the icon arrives as
// the callback message and goes to OnTrayNotification, whose commands go to
// the thread's main window.
//
// While the icon is hidden, icon and tip changes are kept and reach the shell
// with the next ShowIcon. Nothing is shown to the user on failure: every
// shell call reports through its result.

#include "platform/base/COleDateTime.h"
#include "platform/framework/CWnd.h"
#include "platform/shell/TrayIcon.h"

#include <vector>

class CSystemTray : public CWnd {
    DECLARE_DYNAMIC(CSystemTray)

public:
    // The id of the animation's timer.
    static constexpr UINT_PTR ANIMATION_TIMER = 4567;

    CSystemTray();
    // Removes the icon and destroys the window.
    ~CSystemTray() override;

    /* The icon. */

    // Makes the hidden window and the icon's record: callback messages go to
    // pTarget's window (this window when there is none). With bShow the icon
    // is added at once; the result is the shell's. Without, it stays hidden.
    BOOL Create(CWnd* pTarget, UINT uCallbackMessage, LPCTSTR szTip, HICON hIcon, UINT uID, BOOL bShow = TRUE);
    // Takes the icon away for good; the object can no longer show it.
    void RemoveIcon();
    BOOL HideIcon();
    // Adds the icon with its callback, icon and tip; it counts as shown only
    // when the shell took it.
    BOOL ShowIcon();
    BOOL SetIcon(HICON hIcon);
    HICON GetIcon() const;
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsHidden() const { return m_bHidden; }

    /* Animation through the icon list. */

    // The icons of the resource ids nFirst to nLast, in order.
    BOOL SetIconFromResource(UINT nFirst, UINT nLast);
    // Steps through the list every nDelayMilliSeconds, for nDurationSeconds
    // (0 or less: until StopAnimation); the current icon comes back at the end.
    BOOL Animate(UINT nDelayMilliSeconds, int nDurationSeconds = -1);
    BOOL StepAnimation();
    BOOL StopAnimation();

    /* Tooltip and menu. */

    BOOL SetTooltipText(LPCTSTR pszTip);
    BOOL SetTooltipTextFromResource(UINT nID);
    // The item the double-click runs and the menu shows in bold, as a command
    // id or (bByPos) a position in the menu's first popup.
    BOOL SetMenuDefaultItem(UINT uItem, BOOL bByPos);

    // The callback: nonzero when wParam is this icon's id and the mouse
    // message was handled. A right-button release shows the menu; a
    // double-click sends the default item's command to the main window.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    // The first popup of the icon's menu resource; null when missing. The
    // caller destroys rMenu.
    HMENU LoadTrayPopup(HMENU& rMenu) const;

    BOOL m_bEnabled { FALSE };
    BOOL m_bHidden { TRUE };
    NOTIFYICONDATA m_tnd {};
    std::vector<HICON> m_icons;
    UINT_PTR m_uIDTimer { 0 };
    size_t m_nCurrentIcon { 0 };
    COleDateTime m_startTime;
    int m_nAnimationPeriod { 0 }; // seconds; 0 or less: until stopped
    HICON m_hSavedIcon { nullptr };
    UINT m_nDefaultMenuItem { 0 };
    BOOL m_bDefaultMenuItemByPos { TRUE };
};
