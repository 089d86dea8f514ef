#pragma once

// The "tooltips_class32" control: a small top-most popup that shows a tool's
// text when the mouse rests over the tool.
//
// A tool is a window (TTF_IDISHWND: uId is the window) or a rectangle in the
// client area of hwnd, named by (hwnd, uId). Its text is a string, a string
// resource (lpszText = MAKEINTRESOURCE(id) with hinst) or LPSTR_TEXTCALLBACK,
// asked of hwnd with TTN_NEEDTEXT each time the tip shows; the handler fills
// szText, points lpszText at a text or names a resource.
//
// The control sees the mouse through TTM_RELAYEVENT (the owner passes on the
// messages it gets) or by subclassing tools added with TTF_SUBCLASS. Over a
// tool, the tip shows once the initial delay has passed since the mouse
// entered it, below the cursor and inside the screen, and goes after the
// auto-pop delay, when the mouse leaves the tool, on a button press or a key,
// when the control is deactivated, or when a modal dialog disables the
// top-level window of the tool; it shows again for that tool only
// after the mouse left it. Moving to another tool while a tip shows switches
// after the reshow delay. The delays follow the double-click time on the
// program's clock: initial = the double-click time, auto-pop = ten times it,
// reshow = a fifth of it (TTM_SETDELAYTIME changes them). The tip never takes
// activation or the focus.
//
// Tracking: TTM_TRACKACTIVATE shows a tool's tip at once, its top-left corner
// at the point TTM_TRACKPOSITION gave (moved inside that point's monitor),
// and keeps it there, whatever the mouse does, until TTM_TRACKACTIVATE(FALSE),
// TTM_POP or the tool's removal. The caller does its own timing and placing
// (TTM_GETBUBBLESIZE tells the size a tool's tip takes).

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* TOOLTIPS_CLASS = "tooltips_class32";

/* Tooltip styles. */
constexpr DWORD TTS_ALWAYSTIP = 0x01; // accepted: tips show whether or not the owner is active
constexpr DWORD TTS_NOPREFIX  = 0x02;

/* TOOLINFO::uFlags. */
constexpr UINT TTF_IDISHWND    = 0x0001; // uId is the tool window
constexpr UINT TTF_CENTERTIP   = 0x0002;
constexpr UINT TTF_SUBCLASS    = 0x0010; // the control watches the tool window's mouse messages itself
constexpr UINT TTF_TRACK       = 0x0020; // shown by TTM_TRACKACTIVATE
constexpr UINT TTF_ABSOLUTE    = 0x0080; // accepted: a tracked tip always stands at its point
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_DI_SETITEM  = 0x8000; // TTN_NEEDTEXT: the control keeps the text it got

/* Tooltip messages, A forms. */
constexpr UINT TTM_ACTIVATE        = WM_USER + 1;  // wParam: TRUE to activate
constexpr UINT TTM_SETDELAYTIME    = WM_USER + 3;  // wParam: TTDT_*; lParam: milliseconds, -1 for the default
constexpr UINT TTM_ADDTOOL         = WM_USER + 4;  // lParam: TOOLINFO*
constexpr UINT TTM_DELTOOL         = WM_USER + 5;  // lParam: TOOLINFO* (hwnd, uId)
constexpr UINT TTM_NEWTOOLRECT     = WM_USER + 6;  // lParam: TOOLINFO* (hwnd, uId, rect)
constexpr UINT TTM_RELAYEVENT      = WM_USER + 7;  // lParam: MSG*
constexpr UINT TTM_GETTOOLINFO     = WM_USER + 8;  // lParam: TOOLINFO* naming the tool (hwnd, uId); see GetToolInfo below
constexpr UINT TTM_SETTOOLINFO     = WM_USER + 9;  // lParam: TOOLINFO*; all but (hwnd, uId) replace the tool's
constexpr UINT TTM_HITTEST         = WM_USER + 10; // lParam: TTHITTESTINFO*; TRUE with ti filled when a tool is there
constexpr UINT TTM_GETTEXT         = WM_USER + 11; // lParam: TOOLINFO* whose lpszText receives the text
constexpr UINT TTM_UPDATETIPTEXT   = WM_USER + 12; // lParam: TOOLINFO* (hwnd, uId, hinst, lpszText)
constexpr UINT TTM_GETTOOLCOUNT    = WM_USER + 13;
constexpr UINT TTM_ENUMTOOLS       = WM_USER + 14; // wParam: index; lParam: TOOLINFO*, filled as by TTM_GETTOOLINFO
constexpr UINT TTM_GETCURRENTTOOL  = WM_USER + 15; // lParam: TOOLINFO* or NULL; TRUE while a tool is current
constexpr UINT TTM_TRACKACTIVATE   = WM_USER + 17; // wParam: TRUE to show; lParam: TOOLINFO* naming the tool
constexpr UINT TTM_TRACKPOSITION   = WM_USER + 18; // lParam: MAKELPARAM(x, y), screen coordinates
constexpr UINT TTM_GETDELAYTIME    = WM_USER + 21; // wParam: TTDT_*
constexpr UINT TTM_POP             = WM_USER + 28; // hides the tip
constexpr UINT TTM_GETBUBBLESIZE   = WM_USER + 30; // lParam: TOOLINFO*; MAKELONG(cx, cy) of the tool's tip

/* TTM_SETDELAYTIME kinds. */
constexpr WPARAM TTDT_AUTOMATIC = 0; // all three from the initial delay
constexpr WPARAM TTDT_RESHOW    = 1;
constexpr WPARAM TTDT_AUTOPOP   = 2;
constexpr WPARAM TTDT_INITIAL   = 3;

/* Tooltip notifications, A forms. */
constexpr UINT TTN_FIRST    = static_cast<UINT>(-520);
constexpr UINT TTN_NEEDTEXT = TTN_FIRST - 0; // to the tool's hwnd, idFrom = uId
constexpr UINT TTN_SHOW     = TTN_FIRST - 1;
constexpr UINT TTN_POP      = TTN_FIRST - 2;
// clang-format on

struct TOOLINFO {
    UINT cbSize; // sizeof(TOOLINFO)
    UINT uFlags; // TTF_*
    HWND hwnd;   // receives TTN_NEEDTEXT; holds a rectangle tool
    UINT_PTR uId;
    RECT rect; // in hwnd's client coordinates, for tools that are not windows
    HINSTANCE hinst;
    LPSTR lpszText; // a text, MAKEINTRESOURCE(id) with hinst, or LPSTR_TEXTCALLBACK
    LPARAM lParam;
    void* lpReserved;
};
using LPTOOLINFO = TOOLINFO*;

// TTM_GETTOOLINFO and TTM_ENUMTOOLS fill a TOOLINFO: a stored text is copied
// into lpszText when that points at a buffer (80 bytes at most, with its
// zero); a callback text gives LPSTR_TEXTCALLBACK and a resource text its ID.

struct TTHITTESTINFO {
    HWND hwnd; // the window the point is in
    POINT pt;  // in hwnd's client coordinates
    TOOLINFO ti;
};
using LPTTHITTESTINFO = TTHITTESTINFO*;

struct NMTTDISPINFO {
    NMHDR hdr;
    LPSTR lpszText; // the text, or MAKEINTRESOURCE(id) with hinst
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using LPNMTTDISPINFO = NMTTDISPINFO*;

// The procedure of the "tooltips_class32" class.
LRESULT CALLBACK ToolTipWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
