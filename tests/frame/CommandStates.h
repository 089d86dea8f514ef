#pragma once

// What an update pass gave a command, for the tests of the views' and
// windows' update handlers: whether it was enabled, and for a menu item the
// words it was given.

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"

// Whether an update pass enabled a command.
class CEnabledState : public CCmdUI {
public:
    void Enable(BOOL bOn) override { m_bEnabled = bOn; }
    void SetCheck(int) override { }
    void SetText(LPCTSTR) override { }

    BOOL m_bEnabled { TRUE };
};

// The words and state an update pass gave the one item of a menu of its own.
class CMenuItemState : public CCmdUI {
public:
    explicit CMenuItemState(UINT nID)
    {
        m_nID = nID;
        m_menu.CreatePopupMenu();
        m_menu.AppendMenu(MF_STRING, nID, "placeholder");
        m_pMenu = &m_menu;
    }
    void Enable(BOOL bOn) override { m_bEnabled = bOn; }
    void SetCheck(int) override { }
    void SetText(LPCTSTR pszText) override { m_strText = pszText; }

    CMenu m_menu;
    BOOL m_bEnabled { TRUE };
    CString m_strText;
};
