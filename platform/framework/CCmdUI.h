#pragma once

// CCmdUI: one user-interface item whose state a command target's update
// handler (ON_UPDATE_COMMAND_UI) sets. For a window item (m_pOther, a control
// found by UpdateDialogControls) Enable enables the window, SetCheck checks a
// button and SetText sets the window's text. For a menu item (m_pMenu and
// m_nIndex, its position) they gray, check and rename the item; an item that
// opens a submenu is updated under the ID of the submenu's first item
// (m_pSubMenu), and only Enable applies to it.

#include "platform/base/WinTypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE) { SetCheck(bOn ? 1 : 0); }
    virtual void SetText(LPCTSTR lpszText);
    // Lets the next target in the routing handle the update too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's update handler for the item's state. With
    // bDisableIfNoHndler an item that no handler updated is disabled when
    // pTarget has no command handler for it. Returns whether a handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // Runs the update handlers of pTarget over the items of a popup menu about
    // to open, as WM_INITMENUPOPUP handlers do. With bDisableIfNoHndler, command
    // items that no target handles are grayed. Handlers may add or remove items.
    static void UpdateMenuItems(CMenu* pPopupMenu, CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID { 0 };
    UINT m_nIndex { 0 };
    CMenu* m_pMenu { nullptr };
    CMenu* m_pSubMenu { nullptr };
    CWnd* m_pOther { nullptr };
    UINT m_nIndexMax { 0 };
    BOOL m_bEnableChanged { FALSE }; // an update handler called Enable
    BOOL m_bContinueRouting { FALSE };
};
