#pragma once

// Menus behind HMENU values: building and changing them, their item states,
// loading them from the resource module, and tracking a popup menu.
//
// A menu is a list of items; an item is a command (with an ID), a separator,
// or a popup that opens another menu. A menu owns its submenus: DestroyMenu
// destroys them too, RemoveMenu detaches a submenu without destroying it.
// Handle values are never reused; a destroyed menu's handle is refused with
// ERROR_INVALID_MENU_HANDLE.
//
// Positions count from 0. MF_BYCOMMAND finds the first item with the ID in
// the menu or, depth first, in its submenus.

#include "platform/base/ResourceModule.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* Item flags (MF_*), beyond those of the resource format. */
constexpr UINT MF_INSERT         = 0x0000;
constexpr UINT MF_CHANGE         = 0x0080;
constexpr UINT MF_APPEND         = 0x0100;
constexpr UINT MF_DELETE         = 0x0200;
constexpr UINT MF_REMOVE         = 0x1000;
constexpr UINT MF_BYCOMMAND      = 0x0000;
constexpr UINT MF_BYPOSITION     = 0x0400;
constexpr UINT MF_ENABLED        = 0x0000;
constexpr UINT MF_UNCHECKED      = 0x0000;
constexpr UINT MF_STRING         = 0x0000;
constexpr UINT MF_BITMAP         = 0x0004;
constexpr UINT MF_OWNERDRAW      = 0x0100;
constexpr UINT MF_UNHILITE       = 0x0000;
constexpr UINT MF_HILITE         = 0x0080;
constexpr UINT MF_DEFAULT        = 0x1000;
constexpr UINT MF_SYSMENU        = 0x2000;
constexpr UINT MF_MOUSESELECT    = 0x8000;
constexpr UINT MF_RIGHTJUSTIFY   = 0x4000; // in a menu bar: this item and those after it sit at the right end

/* MENUITEMINFO types and states. */
constexpr UINT MFT_STRING        = 0x0000;
constexpr UINT MFT_MENUBARBREAK  = 0x0020;
constexpr UINT MFT_MENUBREAK     = 0x0040;
constexpr UINT MFT_OWNERDRAW     = 0x0100;
constexpr UINT MFT_RADIOCHECK    = 0x0200;
constexpr UINT MFT_SEPARATOR     = 0x0800;
constexpr UINT MFT_RIGHTJUSTIFY  = 0x4000;
constexpr UINT MFS_ENABLED       = 0x0000;
constexpr UINT MFS_GRAYED        = 0x0003;
constexpr UINT MFS_DISABLED      = 0x0003;
constexpr UINT MFS_CHECKED       = 0x0008;
constexpr UINT MFS_HILITE        = 0x0080;
constexpr UINT MFS_DEFAULT       = 0x1000;

/* MENUITEMINFO fields to read or write. */
constexpr UINT MIIM_STATE        = 0x0001;
constexpr UINT MIIM_ID           = 0x0002;
constexpr UINT MIIM_SUBMENU      = 0x0004;
constexpr UINT MIIM_TYPE         = 0x0010; // fType and the text together
constexpr UINT MIIM_DATA         = 0x0020;
constexpr UINT MIIM_STRING       = 0x0040;
constexpr UINT MIIM_FTYPE        = 0x0100;

/* GetMenuDefaultItem. */
constexpr UINT GMDI_USEDISABLED  = 0x0001;
constexpr UINT GMDI_GOINTOPOPUPS = 0x0002;

/* TrackPopupMenu. */
constexpr UINT TPM_LEFTBUTTON    = 0x0000;
constexpr UINT TPM_RIGHTBUTTON   = 0x0002; // the right button chooses too
constexpr UINT TPM_LEFTALIGN     = 0x0000;
constexpr UINT TPM_CENTERALIGN   = 0x0004;
constexpr UINT TPM_RIGHTALIGN    = 0x0008;
constexpr UINT TPM_TOPALIGN      = 0x0000;
constexpr UINT TPM_VCENTERALIGN  = 0x0010;
constexpr UINT TPM_BOTTOMALIGN   = 0x0020;
constexpr UINT TPM_NONOTIFY      = 0x0080; // no notification messages to the owner
constexpr UINT TPM_RETURNCMD     = 0x0100; // return the chosen ID instead of posting WM_COMMAND
constexpr UINT TPM_HORIZONTAL    = 0x0000; // keep TPMPARAMS.rcExclude clear by moving sideways
constexpr UINT TPM_VERTICAL      = 0x0040; // ... by moving up or down

/* WM_ENTERIDLE sources. */
constexpr WPARAM MSGF_MENU       = 2;

/* Owner-drawn items. */
constexpr UINT ODT_MENU          = 1;
constexpr UINT ODT_LISTBOX       = 2;
constexpr UINT ODT_COMBOBOX      = 3;
constexpr UINT ODT_BUTTON        = 4;
constexpr UINT ODT_STATIC        = 5;
constexpr UINT ODA_DRAWENTIRE    = 0x0001;
constexpr UINT ODA_SELECT        = 0x0002;
constexpr UINT ODA_FOCUS         = 0x0004;
constexpr UINT ODS_SELECTED      = 0x0001;
constexpr UINT ODS_GRAYED        = 0x0002;
constexpr UINT ODS_DISABLED      = 0x0004;
constexpr UINT ODS_CHECKED       = 0x0008;
constexpr UINT ODS_FOCUS         = 0x0010;
constexpr UINT ODS_DEFAULT       = 0x0020;
// clang-format on

struct DRAWITEMSTRUCT {
    UINT CtlType; // ODT_*
    UINT CtlID;
    UINT itemID;
    UINT itemAction; // ODA_*
    UINT itemState;  // ODS_*
    HWND hwndItem;   // the control; the HMENU for ODT_MENU
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

struct MENUITEMINFO {
    UINT cbSize; // sizeof(MENUITEMINFO)
    UINT fMask;  // MIIM_*
    UINT fType;  // MFT_*
    UINT fState; // MFS_*
    UINT wID;
    HMENU hSubMenu;
    HANDLE hbmpChecked;   // not used
    HANDLE hbmpUnchecked; // not used
    ULONG_PTR dwItemData;
    LPSTR dwTypeData; // the text; reading copies at most cch - 1 bytes and sets cch to the length
    UINT cch;
    HANDLE hbmpItem; // not used
};
using LPMENUITEMINFO = MENUITEMINFO*;
using LPCMENUITEMINFO = const MENUITEMINFO*;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude; // screen area the menu must not cover
};
using LPTPMPARAMS = TPMPARAMS*;

/* Creating and destroying. */
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
// Builds a menu from a compiled menu resource of the module (NULL: the
// resource handle), or from the compiled bytes themselves. ERROR_RESOURCE_NAME_NOT_FOUND
// when absent, ERROR_INVALID_DATA when damaged.
HMENU LoadMenu(HINSTANCE hInstance, LPCTSTR lpMenuName);
HMENU LoadMenuIndirect(const void* lpMenuTemplate, DWORD cbTemplate);

/* Changing items. lpNewItem is the text for MF_STRING, the item data for
   MF_OWNERDRAW. With MF_POPUP, uIDNewItem is the submenu's HMENU. */
BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
// Replaces the item; a popup it replaces is destroyed.
BOOL ModifyMenu(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
// Removes the item and destroys its submenu.
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
// Removes the item and keeps its submenu alive.
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);

/* States. Each returns the previous state, or (UINT)-1 when the item does not exist. */
UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable); // MF_ENABLED, MF_GRAYED, MF_DISABLED
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);   // MF_CHECKED, MF_UNCHECKED
// Checks idCheck with a radio mark and unchecks the others of idFirst..idLast.
BOOL CheckMenuRadioItem(HMENU hmenu, UINT idFirst, UINT idLast, UINT idCheck, UINT uFlags);
BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos); // (UINT)-1: none
UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags);

/* Reading. */
int GetMenuItemCount(HMENU hMenu); // -1 for a bad handle
// The ID of the item at nPos: (UINT)-1 for a popup or no item.
UINT GetMenuItemID(HMENU hMenu, int nPos);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// MF_* flags of the item; for a popup the high byte of the low word holds its item count.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// Copies at most cchMax - 1 bytes of the text and a NUL; lpString NULL asks for the length.
int GetMenuString(HMENU hMenu, UINT uIDItem, LPTSTR lpString, int cchMax, UINT flags);
BOOL GetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFO lpmii);
BOOL SetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFO lpmii);

/* Popup menus. */
// Shows the menu at (x, y) (screen) as the TPM_ alignment flags place it and
// runs its modal loop until an item is chosen or the menu is cancelled (a
// click outside it, Escape at the top level, Alt, or a WM_CANCELMODE).
// The owner receives WM_INITMENU (the menu), WM_ENTERMENULOOP, then
// WM_INITMENUPOPUP for each menu that opens and WM_UNINITMENUPOPUP as it
// closes (the first one's too), WM_MEASUREITEM/WM_DRAWITEM for owner-drawn
// items, WM_MENUSELECT as the selection moves, WM_ENTERIDLE (MSGF_MENU)
// whenever the loop's queue is empty, and WM_EXITMENULOOP; TPM_NONOTIFY
// leaves out all but the owner-draw ones. With TPM_RETURNCMD returns the chosen ID (0 for none); otherwise posts
// WM_COMMAND for the chosen ID and returns TRUE (FALSE for a bad menu or
// window, or while another menu is tracked on the thread).
// TrackPopupMenuEx with TPMPARAMS keeps rcExclude clear: a menu that would
// cover it moves to its right (TPM_VERTICAL: below it), or to its left (above
// it) when the screen ends first. prcRect is ignored, as documented.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS lptpm);
// Ends the menu loop running on this thread, as a cancel.
BOOL EndMenu();

/* Answering tracked menus in tests. */
// Called on the menu's thread once a tracked menu has opened (its owner has
// handled WM_INITMENUPOPUP), before the loop waits for the user. FALSE leaves
// the menu to the user. TRUE answers it: *pnCommand is the command to choose,
// as a user would, by opening the submenus that lead to its item and
// activating the item; 0, or a command that no enabled item carries,
// dismisses the menu. One per thread; returns the previous one (nullptr
// removes it).
using MENUTRACKHOOK = BOOL (*)(HMENU hMenu, UINT* pnCommand);
MENUTRACKHOOK SetThreadMenuTrackHook(MENUTRACKHOOK pfnHook);

/* Menu bars of top-level windows. The bar takes SM_CYMENU at the top of the
   non-client area, under the caption; a click on one of its popup items, or
   Alt with an item's mnemonic, opens that item's menu below it (WM_INITMENU
   first, then as TrackPopupMenu without TPM_RETURNCMD), and a command item on
   the bar itself posts WM_COMMAND. DestroyWindow destroys the window's bar. */
// Replaces the bar (NULL removes it) and recomputes the client area; the old
// bar is not destroyed. Fails for child windows (ERROR_CHILD_WINDOW_MENU).
BOOL SetMenu(HWND hWnd, HMENU hMenu);
HMENU GetMenu(HWND hWnd);
// Paints the bar again after its items changed.
BOOL DrawMenuBar(HWND hWnd);
