#pragma once

// The "ToolbarWindow32" control: a row of buttons and separators with images
// cut from bitmaps, each naming a command.
//
// A click (press and release over the same enabled button) sends WM_COMMAND
// {the button's command, 0, the toolbar} to the owner: the window set with
// TB_SETPARENT, else the parent. A check button toggles its checked state on
// that click. Adjacent TBSTYLE_CHECKGROUP buttons form a group of which one
// is down: a click (or TB_CHECKBUTTON) checks one and releases the others, and
// a click on the checked one leaves it down. With TBSTYLE_FLAT buttons are
// drawn flat and rise while the mouse is over them. Mouse messages and timers
// go through the window procedure, so a subclass sees them first. Changing
// one button repaints only that button.
//
// Tips: with TBSTYLE_TOOLTIPS the bar makes a tooltip control of its own
// (TB_GETTOOLTIPS; TB_SETTOOLTIPS gives it another). Every shown button is a
// tool of it, named by its command, and the bar relays its mouse messages to
// it; the tip's TTN_NEEDTEXT reaches the bar, which passes it to the owner.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

/* Toolbar styles. */
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT     = 0x0800;

/* Button styles (TBBUTTON::fsStyle). */
constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP    = 0x01; // a gap; its width in iBitmap (0: the default)
constexpr BYTE TBSTYLE_CHECK  = 0x02; // toggles its checked state when clicked
constexpr BYTE TBSTYLE_GROUP  = 0x04;
constexpr BYTE TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK; // one of adjacent ones is checked

/* Button states (TBBUTTON::fsState). */
constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN  = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10; // drawn embossed, like a disabled button

/* TBBUTTONINFO::dwMask. */
constexpr DWORD TBIF_IMAGE   = 0x00000001;
constexpr DWORD TBIF_STATE   = 0x00000004;
constexpr DWORD TBIF_STYLE   = 0x00000008;
constexpr DWORD TBIF_LPARAM  = 0x00000010;
constexpr DWORD TBIF_COMMAND = 0x00000020;
constexpr DWORD TBIF_BYINDEX = 0x80000000; // wParam is an index, not a command

/* Toolbar messages, A forms. Buttons are named by command unless told. */
constexpr UINT TB_ENABLEBUTTON     = WM_USER + 1;  // wParam: command; LOWORD(lParam): TRUE to enable
constexpr UINT TB_CHECKBUTTON      = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON      = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON       = WM_USER + 4;
constexpr UINT TB_ISBUTTONENABLED  = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED  = WM_USER + 10;
constexpr UINT TB_ISBUTTONPRESSED  = WM_USER + 11;
constexpr UINT TB_ISBUTTONHIDDEN   = WM_USER + 12;
constexpr UINT TB_SETSTATE         = WM_USER + 17; // wParam: command; LOWORD(lParam): TBSTATE_*
constexpr UINT TB_GETSTATE         = WM_USER + 18; // -1 for an unknown command
constexpr UINT TB_ADDBITMAP        = WM_USER + 19; // wParam: image count; lParam: TBADDBITMAP*
constexpr UINT TB_ADDBUTTONS       = WM_USER + 20; // wParam: count; lParam: TBBUTTON[]
constexpr UINT TB_INSERTBUTTON     = WM_USER + 21; // wParam: index; lParam: TBBUTTON*
constexpr UINT TB_DELETEBUTTON     = WM_USER + 22; // wParam: index
constexpr UINT TB_GETBUTTON        = WM_USER + 23; // wParam: index; lParam: TBBUTTON*
constexpr UINT TB_BUTTONCOUNT      = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX   = WM_USER + 25; // -1 for an unknown command
constexpr UINT TB_GETITEMRECT      = WM_USER + 29; // wParam: index; lParam: RECT* in client coordinates
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETBUTTONSIZE    = WM_USER + 31; // lParam: MAKELONG(cx, cy)
constexpr UINT TB_SETBITMAPSIZE    = WM_USER + 32; // lParam: MAKELONG(cx, cy); cuts the bitmaps added so far again
constexpr UINT TB_AUTOSIZE         = WM_USER + 33;
constexpr UINT TB_GETTOOLTIPS      = WM_USER + 35; // the tooltip control, or NULL
constexpr UINT TB_SETTOOLTIPS      = WM_USER + 36; // wParam: the tooltip control
constexpr UINT TB_SETPARENT        = WM_USER + 37; // wParam: the owner; returns the old one
constexpr UINT TB_GETBUTTONINFO    = WM_USER + 65; // wParam: command; lParam: TBBUTTONINFO*; the index or -1
constexpr UINT TB_SETBUTTONINFO    = WM_USER + 66;
constexpr UINT TB_HITTEST          = WM_USER + 69; // lParam: client POINT*; the button's index, or negative
// clang-format on

// Image indexes come from TB_ADDBITMAP; the default image size is 16 by 15
// and the default button size 24 by 22.
struct TBBUTTON {
    int iBitmap; // the image index; a separator's width
    int idCommand;
    BYTE fsState;      // TBSTATE_*
    BYTE fsStyle;      // TBSTYLE_BUTTON, TBSTYLE_SEP, TBSTYLE_CHECK
    BYTE bReserved[6]; // padding
    DWORD_PTR dwData;  // the owner's value
    INT_PTR iString;   // kept, not drawn
};
using LPTBBUTTON = TBBUTTON*;

// hInst and nID name a bitmap resource; with hInst NULL, nID is an HBITMAP
// (copied). Pixels of colour 0xFF00FF (magenta) are transparent.
struct TBADDBITMAP {
    HINSTANCE hInst;
    UINT_PTR nID;
};
using LPTBADDBITMAP = TBADDBITMAP*;

struct TBBUTTONINFO {
    UINT cbSize;  // sizeof(TBBUTTONINFO)
    DWORD dwMask; // TBIF_*
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPSTR pszText;
    int cchText;
};
using LPTBBUTTONINFO = TBBUTTONINFO*;

// The procedure of the "ToolbarWindow32" class.
LRESULT CALLBACK ToolbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
