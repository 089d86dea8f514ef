#pragma once

// The "msctls_updown32" control: a pair of arrows that step a position
// within a range, usually shown against a buddy edit that holds the number.
//
// A click on an arrow (held: again after half a second, then every tenth of a
// second on the program's clock) or Up/Down with UDS_ARROWKEYS, in the control
// or in its buddy, steps by one: the current position is read from the buddy's
// text (a text that is no number counts as the last position), UDN_DELTAPOS
// asks the parent (nonzero refuses), the result is clamped to the range
// without wrapping, and the parent gets WM_VSCROLL (WM_HSCROLL with UDS_HORZ)
// with SB_THUMBPOSITION and the position. With UDS_SETBUDDYINT the buddy's
// text becomes the position in plain decimal, so the buddy reports EN_CHANGE
// to its own parent. The up arrow moves towards the upper bound: with the
// lower bound above the upper one (the default range is 100..0) it counts down.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* UPDOWN_CLASS = "msctls_updown32";

/* Up-down styles. */
constexpr DWORD UDS_WRAP        = 0x0001; // accepted; positions never wrap
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT  = 0x0004; // sits at the buddy's right edge, inside its old width
constexpr DWORD UDS_ALIGNLEFT   = 0x0008;
constexpr DWORD UDS_AUTOBUDDY   = 0x0010; // the previous sibling becomes the buddy at creation
constexpr DWORD UDS_ARROWKEYS   = 0x0020;
constexpr DWORD UDS_HORZ        = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080; // accepted; the buddy's number never has separators

/* Up-down messages. */
constexpr UINT UDM_SETRANGE = WM_USER + 101; // lParam: MAKELONG(upper, lower), 16-bit signed each
constexpr UINT UDM_GETRANGE = WM_USER + 102; // MAKELONG(upper, lower)
constexpr UINT UDM_SETPOS   = WM_USER + 103; // lParam: MAKELONG(position, 0); the old position
constexpr UINT UDM_GETPOS   = WM_USER + 104; // MAKELONG(position, error): error nonzero when the buddy holds no number
constexpr UINT UDM_SETBUDDY = WM_USER + 105; // wParam: the buddy; the old one
constexpr UINT UDM_GETBUDDY = WM_USER + 106;

/* Up-down notifications. */
constexpr UINT UDN_FIRST    = static_cast<UINT>(-721);
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;
// clang-format on

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;   // the position before the step
    int iDelta; // the step the user asked for; the parent may change it
};
using LPNMUPDOWN = NMUPDOWN*;

// The procedure of the "msctls_updown32" class.
LRESULT CALLBACK UpDownWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
