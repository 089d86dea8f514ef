#pragma once

// One icon in the desktop's notification area: a hidden window that receives
// the icon's callback message, the icon record, a list of icons to animate,
// the tip and the default item of the icon's menu. The icon's menu is the
// first submenu of the menu resource whose id is the icon id.
//
//   constructed (disabled, hidden) ──Create──> enabled, hidden or shown
//   shown  ──HideIcon──> hidden      (icon and tip changes are kept while
//   hidden ──ShowIcon──> shown        hidden and reach the tray on ShowIcon)
//   enabled ──RemoveIcon──> disabled, hidden
//
// The icon counts as shown only when the tray took it: on a desktop without a
// tray ShowIcon fails and the icon stays hidden, so the owner never hides its
// window behind an icon that is not there; a later ShowIcon tries again.
// Subclasses may list their own registered callback message in their maps,
// bound to OnTrayNotification.

#include "platform/base/COleDateTime.h"
#include "platform/framework/CWnd.h"
#include "platform/shell/TrayIcon.h"

#include <vector>

class CSystemTray : public CWnd {
    DECLARE_DYNAMIC(CSystemTray)
    DECLARE_MESSAGE_MAP()

public:
    // The animation timer's id.
    static constexpr UINT_PTR TIMER_ANIMATION = 4567;

    CSystemTray();
    ~CSystemTray() override;
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    /* The icon. */

    // Creates the hidden window and the icon record: callbacks go to pTarget's
    // window (this window without one). With bShow the icon is added at once
    // and the tray's answer enables it; without, the icon is enabled and
    // hidden. FALSE on a system too old for tray icons.
    BOOL Create(CWnd* pTarget, UINT uCallbackMessage, LPCTSTR pszTip, HICON hIcon, UINT uID, BOOL bShow = TRUE);
    using CWnd::Create;
    // Takes the icon out of the tray and disables it.
    void RemoveIcon();
    // Takes a shown icon out of the tray; the answer of the tray, else FALSE.
    BOOL HideIcon();
    // Puts a hidden icon into the tray with its current icon and tip; TRUE
    // when it is shown afterwards (already shown counts), FALSE when the tray
    // refused it (it stays hidden) or the icon is disabled.
    BOOL ShowIcon();
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsHidden() const { return m_bHidden; }

    // Changes the icon; while hidden only the record changes. FALSE when
    // disabled or the tray refused.
    BOOL SetIcon(HICON hIcon);
    // The current icon; nullptr when disabled.
    HICON GetIcon() const;
    // The list of icons to animate: LoadIcon of each resource id from nFirst
    // to nLast. FALSE (and an empty list) when nFirst > nLast.
    BOOL SetIconFromResource(UINT nFirst, UINT nLast);

    /* Animation: the icons of the list in turn, one per step. */

    // Starts stepping every nDelayMilliseconds for nDurationSeconds (0 or less:
    // until stopped), from the first icon; the current icon comes back when it
    // stops. TRUE when the timer started.
    BOOL Animate(UINT nDelayMilliseconds, int nDurationSeconds);
    // The next icon of the list (the first after the last); FALSE for an empty list.
    BOOL StepAnimation();
    void StopAnimation();

    /* The tip and the menu. */

    // At most 63 bytes are kept, cut at a character boundary. FALSE when
    // disabled or the tray refused.
    BOOL SetTooltipText(LPCTSTR pszTip);
    BOOL SetTooltipTextFromResource(UINT nID);
    // The item that a double click runs and the menu shows in bold: a command
    // id, or a position in the icon's menu when bByPosition. FALSE when the
    // icon's menu cannot be loaded.
    BOOL SetMenuDefaultItem(UINT uItem, BOOL bByPosition);

    // The icon's mouse input (wParam the icon id, lParam the mouse message):
    // a right button release shows the icon's menu at the cursor for the main
    // window; a double click sends the main window the default item's command.
    // 0 for another icon's input or when the icon's menu is missing, else 1.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR nIDEvent);

private:
    // The first submenu of the icon's menu resource (nullptr when missing);
    // the whole menu, to destroy, in *phMenu.
    HMENU LoadIconMenu(HMENU* phMenu) const;
    // Applies the stored default item to a menu.
    void ApplyDefaultItem(HMENU hSubMenu) const;

    BOOL m_bEnabled { FALSE };        // the icon can be used
    BOOL m_bHidden { TRUE };          // the icon is not in the tray now
    NOTIFYICONDATA m_data {};         // the record the tray is given
    std::vector<HICON> m_icons;       // the icons to animate
    UINT_PTR m_nAnimationTimer { 0 }; // 0: no animation runs
    size_t m_nAnimationIndex { 0 };   // the icon of the list shown last
    COleDateTime m_animationStart;    // when the animation started
    int m_nAnimationSeconds { 0 };    // 0 or less: until stopped
    HICON m_hSavedIcon { nullptr };   // the icon before the animation
    UINT m_uDefaultItem { 0 };        // a command id, or a position
    BOOL m_bDefaultByPosition { TRUE };
};
