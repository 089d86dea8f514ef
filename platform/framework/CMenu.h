#pragma once

// CMenu: the class library's object around a menu (platform/window/Menu.h).
// The map from handles to objects (HandleMap.h) hands handlers a CMenu for the
// HMENU of a message: the permanent object the program attached, else a
// temporary one freed at idle time.
//
// The object owns its attached menu: the destructor destroys it, so a menu
// that must outlive the object is detached first. Owner-drawn items are
// measured and drawn by the permanent CMenu of their menu (MeasureItem,
// DrawItem), called from CWnd's WM_MEASUREITEM and WM_DRAWITEM handlers.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/window/Menu.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)

public:
    CMenu() = default;
    ~CMenu() override;

    /* Handles and objects. */
    // The permanent object attached to hMenu, else a temporary one; nullptr for NULL.
    static CMenu* FromHandle(HMENU hMenu);
    // The permanent object attached to hMenu, or nullptr.
    static CMenu* FromHandlePermanent(HMENU hMenu);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();
    // Fails when the object already has a menu or hMenu is NULL.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    /* Creating and destroying. Each creating call fails when the object already has a menu. */
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the resource handle's module (AfxGetResourceHandle).
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource);
    // Detaches and destroys the menu; FALSE when there is none.
    BOOL DestroyMenu();

    /* Items. */
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
    UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE);
    UINT GetMenuItemCount() const; // (UINT)-1 without a menu
    UINT GetMenuItemID(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    // The submenu's object (temporary unless one was attached), or nullptr.
    CMenu* GetSubMenu(int nPos) const;

    /* Popup menus. */
    // As ::TrackPopupMenu with pWnd as the owner. While it runs, owner-drawn
    // items of this menu and its submenus are measured by their CMenu objects.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    // The menu TrackPopupMenu is running on the calling thread, or NULL.
    static HMENU GetTrackingMenu();

    /* Owner-drawn items. The defaults leave the structure as it is. */
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    HMENU m_hMenu { nullptr };
};
