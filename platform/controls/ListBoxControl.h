#pragma once

// The "ListBox" control: a list of items, each a string and/or a value.
//
// Items are numbered from 0; LB_ERR (-1) answers a bad index. With LBS_SORT
// strings are kept in the word sort of CompareString without regard to case
// (so "10" before "2", hyphens left out, accented letters with their base
// letter), new items after equal ones; owner-drawn lists without LBS_HASSTRINGS keep only values
// and sort them by asking the parent with WM_COMPAREITEM. Owner-drawn lists
// (LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE) ask the parent for the item
// height with WM_MEASUREITEM (once for fixed lists, per item for variable
// ones), draw each item through WM_DRAWITEM, and report removed items with
// WM_DELETEITEM.
//
// Selection: a single-selection list has one current item (LB_SETCURSEL);
// LBS_MULTIPLESEL toggles an item on each click or Space; LBS_EXTENDEDSEL
// selects one item on a click, a range from the anchor with Shift and toggles
// with Ctrl. The arrow keys, Page Up and Down, Home and End move the caret
// item (and the selection, except in multiple-selection lists). With
// LBS_NOTIFY, a change the user makes sends LBN_SELCHANGE and a double click
// LBN_DBLCLK; LBN_SETFOCUS and LBN_KILLFOCUS are sent always. With
// LBS_WANTKEYBOARDINPUT the parent sees each key first through WM_VKEYTOITEM
// (and characters through WM_CHARTOITEM for lists without strings): -2 means
// it handled the key, -1 lets the list do its default, a number >= 0 moves
// the caret there.
//
// A list made with WS_VSCROLL shows its scroll bar only while some items are
// out of sight; with LBS_DISABLENOSCROLL the bar stays, greyed when all fit.
// A list with WS_HSCROLL scrolls sideways across the width set with
// LB_SETHORIZONTALEXTENT; its horizontal bar shows only while that width is
// more than the list's.

#include "platform/window/Messages.h" // WM_VKEYTOITEM, WM_CHARTOITEM
#include "platform/window/WindowTypes.h"

// clang-format off
/* List box styles. */
constexpr DWORD LBS_NOTIFY            = 0x0001;
constexpr DWORD LBS_SORT              = 0x0002;
constexpr DWORD LBS_NOREDRAW          = 0x0004;
constexpr DWORD LBS_MULTIPLESEL       = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED    = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS        = 0x0040;
constexpr DWORD LBS_USETABSTOPS       = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT  = 0x0100;
constexpr DWORD LBS_MULTICOLUMN       = 0x0200;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
constexpr DWORD LBS_EXTENDEDSEL       = 0x0800;
constexpr DWORD LBS_DISABLENOSCROLL   = 0x1000;
constexpr DWORD LBS_NODATA            = 0x2000;
constexpr DWORD LBS_NOSEL             = 0x4000;
constexpr DWORD LBS_STANDARD          = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

/* List box messages. */
constexpr UINT LB_ADDSTRING        = 0x0180; // lParam: the string (or value); returns the index
constexpr UINT LB_INSERTSTRING     = 0x0181; // wParam: the index, -1 for the end
constexpr UINT LB_DELETESTRING     = 0x0182; // returns the count left
constexpr UINT LB_RESETCONTENT     = 0x0184;
constexpr UINT LB_SETSEL           = 0x0185; // wParam: TRUE selects; lParam: the index, -1 for all
constexpr UINT LB_SETCURSEL        = 0x0186; // wParam: the index, -1 for none
constexpr UINT LB_GETSEL           = 0x0187;
constexpr UINT LB_GETCURSEL        = 0x0188;
constexpr UINT LB_GETTEXT          = 0x0189; // lParam: a buffer big enough; returns the length
constexpr UINT LB_GETTEXTLEN       = 0x018A;
constexpr UINT LB_GETCOUNT         = 0x018B;
constexpr UINT LB_SELECTSTRING     = 0x018C; // wParam: the index to start after; lParam: the prefix
constexpr UINT LB_GETTOPINDEX      = 0x018E;
constexpr UINT LB_FINDSTRING       = 0x018F; // wParam: the index to start after, -1 for all; lParam: the prefix
constexpr UINT LB_GETSELCOUNT      = 0x0190;
constexpr UINT LB_GETSELITEMS      = 0x0191; // wParam: room; lParam: int array; returns the number stored
constexpr UINT LB_SETTOPINDEX      = 0x0197;
constexpr UINT LB_GETITEMRECT      = 0x0198; // wParam: the index; lParam: RECT*
constexpr UINT LB_GETITEMDATA      = 0x0199;
constexpr UINT LB_SETITEMDATA      = 0x019A;
constexpr UINT LB_SELITEMRANGE     = 0x019B; // wParam: TRUE selects; lParam: first (low) and last (high)
constexpr UINT LB_SETANCHORINDEX   = 0x019C;
constexpr UINT LB_GETANCHORINDEX   = 0x019D;
constexpr UINT LB_SETCARETINDEX    = 0x019E;
constexpr UINT LB_GETCARETINDEX    = 0x019F;
constexpr UINT LB_SETITEMHEIGHT    = 0x01A0; // wParam: the index (variable lists); lParam: the height
constexpr UINT LB_GETITEMHEIGHT    = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT  = 0x01A2;
constexpr UINT LB_ITEMFROMPOINT    = 0x01A9; // lParam: a client point; returns the index (low), 1 outside the items (high)
constexpr UINT LB_DIR              = 0x018D; // wParam: DDL_* flags; lParam: a path with a name pattern; returns the last index added
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194; // wParam: the width in pixels the items can be scrolled across

/* LB_DIR flags: what is listed besides the files that are neither hidden nor
   system files. DDL_EXCLUSIVE lists only the kinds named: files with one of
   the named attributes, folders, drives. */
constexpr UINT DDL_READWRITE = 0x0000;
constexpr UINT DDL_READONLY  = 0x0001;
constexpr UINT DDL_HIDDEN    = 0x0002;
constexpr UINT DDL_SYSTEM    = 0x0004;
constexpr UINT DDL_DIRECTORY = 0x0010; // folders, as "[name]" ("[..]" for the parent)
constexpr UINT DDL_ARCHIVE   = 0x0020;
constexpr UINT DDL_DRIVES    = 0x4000; // drives, as "[-c-]"
constexpr UINT DDL_EXCLUSIVE = 0x8000;

constexpr LRESULT LB_OKAY     = 0;
constexpr LRESULT LB_ERR      = -1;
constexpr LRESULT LB_ERRSPACE = -2;

/* List box notifications. */
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK    = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS  = 4;
constexpr WORD LBN_KILLFOCUS = 5;
// clang-format on

// The procedure of the "ListBox" class.
LRESULT CALLBACK ListBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
