#pragma once

// The "msctls_statusbar32" control: a bar of parts, each a text in a sunken,
// raised or no border, set by their right edges.
//
// The edges are client x coordinates; -1 stretches a part to the right end.
// A part whose edge is not past the previous part's has no width: it takes
// no room and draws nothing. Without CCS_NOPARENTALIGN the bar places itself
// along the parent's bottom at creation and whenever it receives WM_SIZE
// (the parent passes its own on). SBARS_SIZEGRIP draws a grip in the
// bottom-right corner.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* STATUSCLASSNAME = "msctls_statusbar32";

/* Status bar styles. */
constexpr DWORD SBARS_SIZEGRIP = 0x0100;

/* SB_SETTEXT: flags or-ed with the part number; SB_GETTEXT returns them in the high word. */
constexpr UINT SBT_NOBORDERS = 0x0100;
constexpr UINT SBT_POPOUT    = 0x0200; // raised instead of sunken

/* Status bar messages, A forms. */
constexpr UINT SB_SETTEXT       = WM_USER + 1;  // wParam: part | SBT_*; lParam: the text
constexpr UINT SB_GETTEXT       = WM_USER + 2;  // wParam: part; lParam: buffer; MAKELONG(length, SBT_*)
constexpr UINT SB_GETTEXTLENGTH = WM_USER + 3;  // wParam: part; MAKELONG(length, SBT_*)
constexpr UINT SB_SETPARTS      = WM_USER + 4;  // wParam: count (1..256); lParam: int right edges
constexpr UINT SB_GETPARTS      = WM_USER + 6;  // wParam: room; lParam: int[] or NULL; the part count
constexpr UINT SB_GETBORDERS    = WM_USER + 7;  // lParam: int[3] horizontal, vertical, between parts
constexpr UINT SB_SETMINHEIGHT  = WM_USER + 8;  // wParam: the least height of the drawing area
constexpr UINT SB_GETRECT       = WM_USER + 10; // wParam: part; lParam: RECT* in client coordinates
// clang-format on

// The procedure of the "msctls_statusbar32" class.
LRESULT CALLBACK StatusBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
