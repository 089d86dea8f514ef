#pragma once

// The new-document monitor's tray icon in its first form: the program's icon
// in the desktop's tray, which leads back to a hidden main window. A click or
// a double-click on it sends the main window ID_SHOW_MAIN_WINDOW. The icon
// lives on a hidden window of its own.

#include "platform/framework/CWnd.h"

// FIXME: the new-document monitor's own tray window replaces this once it exists.
class CMonitorTrayIcon : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT ICON_ID = 1;

    CMonitorTrayIcon() = default;

    // Makes the hidden window; FALSE when it cannot be made.
    BOOL Create(CWnd* pMainWnd);
    // Shows the icon; FALSE without a tray (or when it refuses), and then no
    // icon leads back to the window.
    BOOL ShowIcon();
    void HideIcon();
    BOOL IsIconShown() const { return m_bShown; }

protected:
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

private:
    CWnd* m_pMainWnd { nullptr };
    BOOL m_bShown { FALSE };
};
