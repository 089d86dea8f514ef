#pragma once

// The "ComboBox" control: a list box joined to a selection field.
//
// CBS_SIMPLE shows an edit control above a list that is always there;
// CBS_DROPDOWN an edit control with a button that drops the list down;
// CBS_DROPDOWNLIST a field that shows the selected item, with the same
// button. A dropped list is a popup window below the field, as tall as the
// height the combo box was created with less the field; the combo box holds
// the mouse capture while it is down: a click on an item selects it and closes
// the list (CBN_SELENDOK, CBN_CLOSEUP, then CBN_SELCHANGE when it changed), a click elsewhere
// closes it (CBN_SELENDCANCEL, CBN_CLOSEUP). Dropping it sends CBN_DROPDOWN.
// F4 or Alt+Down drops or closes the list; Up and Down change the selection
// (CBN_SELCHANGE), Enter closes with it and Escape without. A drop-down
// combo box takes the field's height on creation. With the extended user
// interface (CB_SETEXTENDEDUI) F4 does nothing and Down drops a closed list
// instead of changing the selection. A combo box with an edit passes the
// focus it is given (SetFocus, Tab in a dialog) on to the edit with the
// whole text selected.
//
// The CB_* messages keep the items as the list box keeps them (sorting with
// CBS_SORT, owner draw with CBS_OWNERDRAWFIXED and CBS_OWNERDRAWVARIABLE);
// owner-draw questions reach the parent as ODT_COMBOBOX with the combo box's
// ID, and an owner-drawn drop-down list field is drawn through WM_DRAWITEM
// with ODS_COMBOBOXEDIT. An owner-drawn combo box asks its parent for the
// height of its selection field at creation (WM_MEASUREITEM for item -1),
// before the height of the items with CBS_OWNERDRAWFIXED (item 0).

#include "platform/window/WindowTypes.h"

// clang-format off
/* Combo box styles. */
constexpr DWORD CBS_SIMPLE            = 0x0001;
constexpr DWORD CBS_DROPDOWN          = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST      = 0x0003;
constexpr DWORD CBS_TYPEMASK          = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED    = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL       = 0x0040;
constexpr DWORD CBS_OEMCONVERT        = 0x0080;
constexpr DWORD CBS_SORT              = 0x0100;
constexpr DWORD CBS_HASSTRINGS        = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT  = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL   = 0x0800;
constexpr DWORD CBS_UPPERCASE         = 0x2000;
constexpr DWORD CBS_LOWERCASE         = 0x4000;

/* Combo box messages. */
constexpr UINT CB_GETEDITSEL         = 0x0140;
constexpr UINT CB_LIMITTEXT          = 0x0141;
constexpr UINT CB_SETEDITSEL         = 0x0142; // lParam: start (low), end (high)
constexpr UINT CB_ADDSTRING          = 0x0143;
constexpr UINT CB_DELETESTRING       = 0x0144;
constexpr UINT CB_GETCOUNT           = 0x0146;
constexpr UINT CB_GETCURSEL          = 0x0147;
constexpr UINT CB_GETLBTEXT          = 0x0148;
constexpr UINT CB_GETLBTEXTLEN       = 0x0149;
constexpr UINT CB_INSERTSTRING       = 0x014A;
constexpr UINT CB_RESETCONTENT       = 0x014B;
constexpr UINT CB_FINDSTRING         = 0x014C;
constexpr UINT CB_SELECTSTRING       = 0x014D;
constexpr UINT CB_SETCURSEL          = 0x014E;
constexpr UINT CB_SHOWDROPDOWN       = 0x014F; // wParam: TRUE drops the list down
constexpr UINT CB_GETITEMDATA        = 0x0150;
constexpr UINT CB_SETITEMDATA        = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT      = 0x0153;
constexpr UINT CB_GETITEMHEIGHT      = 0x0154;
constexpr UINT CB_SETEXTENDEDUI      = 0x0155; // wParam: TRUE for the extended user interface
constexpr UINT CB_GETEXTENDEDUI      = 0x0156;
constexpr UINT CB_GETDROPPEDSTATE    = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT    = 0x0158;
constexpr UINT CB_GETDROPPEDWIDTH    = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH    = 0x0160;

constexpr LRESULT CB_OKAY     = 0;
constexpr LRESULT CB_ERR      = -1;
constexpr LRESULT CB_ERRSPACE = -2;

/* Combo box notifications. */
constexpr WORD CBN_ERRSPACE     = 0xFFFF;
constexpr WORD CBN_SELCHANGE    = 1;
constexpr WORD CBN_DBLCLK       = 2;
constexpr WORD CBN_SETFOCUS     = 3;
constexpr WORD CBN_KILLFOCUS    = 4;
constexpr WORD CBN_EDITCHANGE   = 5;
constexpr WORD CBN_EDITUPDATE   = 6;
constexpr WORD CBN_DROPDOWN     = 7;
constexpr WORD CBN_CLOSEUP      = 8;
constexpr WORD CBN_SELENDOK     = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

/* DRAWITEMSTRUCT.itemState of a combo box's selection field. */
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;
// clang-format on

// The procedure of the "ComboBox" class.
LRESULT CALLBACK ComboBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
