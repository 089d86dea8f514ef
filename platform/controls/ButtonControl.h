#pragma once

// The "Button" control: push buttons, check boxes, radio buttons, group boxes
// and owner-drawn buttons.
//
// A button has a check state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE)
// and a pushed state. A left press takes the focus and the capture and pushes
// the button; the push follows the mouse while it is held; releasing it over
// the button clicks it. Space does the same from the keyboard: pressing it
// pushes, releasing it clicks. Enter is left to the dialog manager, which
// clicks the default button. A click changes the check state of the automatic
// kinds (BS_AUTOCHECKBOX toggles, BS_AUTO3STATE cycles unchecked, checked,
// indeterminate, BS_AUTORADIOBUTTON checks itself and unchecks the other
// automatic radio buttons of its group) and then sends BN_CLICKED. A group is
// a run of sibling windows in GW_HWNDNEXT order that starts at a window with
// WS_GROUP and ends before the next one. Checking a radio button, by message
// or by a click, makes it a tab stop (WS_TABSTOP) and unchecking takes that
// away, so that Tab enters a group on its chosen button. A double click sends
// BN_DOUBLECLICKED for radio and owner-drawn buttons and with BS_NOTIFY;
// other kinds take it as a press. BS_NOTIFY also sends BN_SETFOCUS and
// BN_KILLFOCUS.
//
// Group boxes never take the mouse (HTTRANSPARENT) and are not clicked.
// BS_OWNERDRAW buttons send WM_DRAWITEM (ODT_BUTTON) with ODS_SELECTED,
// ODS_FOCUS and ODS_DISABLED. BS_BITMAP and BS_ICON show the bitmap or icon
// set by BM_SETIMAGE, centred, in place of the text.

#include "platform/window/WindowTypes.h"

// clang-format off
/* Button styles: the kind in the low four bits, flags above. */
constexpr DWORD BS_PUSHBUTTON      = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON   = 0x00000001; // drawn with a dark outer frame
constexpr DWORD BS_CHECKBOX        = 0x00000002;
constexpr DWORD BS_AUTOCHECKBOX    = 0x00000003;
constexpr DWORD BS_RADIOBUTTON     = 0x00000004;
constexpr DWORD BS_3STATE          = 0x00000005;
constexpr DWORD BS_AUTO3STATE      = 0x00000006;
constexpr DWORD BS_GROUPBOX        = 0x00000007;
constexpr DWORD BS_USERBUTTON      = 0x00000008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
constexpr DWORD BS_PUSHBOX         = 0x0000000A;
constexpr DWORD BS_OWNERDRAW       = 0x0000000B;
constexpr DWORD BS_TYPEMASK        = 0x0000000F;
constexpr DWORD BS_LEFTTEXT        = 0x00000020; // the text left of the box
constexpr DWORD BS_TEXT            = 0x00000000;
constexpr DWORD BS_ICON            = 0x00000040;
constexpr DWORD BS_BITMAP          = 0x00000080;
constexpr DWORD BS_LEFT            = 0x00000100;
constexpr DWORD BS_RIGHT           = 0x00000200;
constexpr DWORD BS_CENTER          = 0x00000300;
constexpr DWORD BS_TOP             = 0x00000400;
constexpr DWORD BS_BOTTOM          = 0x00000800;
constexpr DWORD BS_VCENTER         = 0x00000C00;
constexpr DWORD BS_PUSHLIKE        = 0x00001000;
constexpr DWORD BS_MULTILINE       = 0x00002000;
constexpr DWORD BS_NOTIFY          = 0x00004000;
constexpr DWORD BS_FLAT            = 0x00008000;

/* Button messages (BM_GETCHECK and BM_SETCHECK come with the window messages). */
constexpr UINT BM_GETSTATE = 0x00F2; // returns the check state and BST_PUSHED, BST_FOCUS
constexpr UINT BM_SETSTATE = 0x00F3; // wParam: TRUE pushes, FALSE releases
constexpr UINT BM_SETSTYLE = 0x00F4; // wParam: the new style; lParam: TRUE to redraw
constexpr UINT BM_CLICK    = 0x00F5; // clicks the button as the mouse would
constexpr UINT BM_GETIMAGE = 0x00F6; // wParam: IMAGE_*
constexpr UINT BM_SETIMAGE = 0x00F7; // wParam: IMAGE_*; lParam: the handle; returns the previous one

/* Check and push states. */
constexpr UINT BST_UNCHECKED     = 0x0000;
constexpr UINT BST_CHECKED       = 0x0001;
constexpr UINT BST_INDETERMINATE = 0x0002;
constexpr UINT BST_PUSHED        = 0x0004;
constexpr UINT BST_FOCUS         = 0x0008;

/* Button notifications. */
constexpr WORD BN_CLICKED       = 0;
constexpr WORD BN_PAINT         = 1;
constexpr WORD BN_HILITE        = 2;
constexpr WORD BN_UNHILITE      = 3;
constexpr WORD BN_DISABLE       = 4;
constexpr WORD BN_DOUBLECLICKED = 5;
constexpr WORD BN_SETFOCUS      = 6;
constexpr WORD BN_KILLFOCUS     = 7;
// clang-format on

// The procedure of the "Button" class.
LRESULT CALLBACK ButtonWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
