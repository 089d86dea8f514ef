#pragma once

// The "ScrollBar" control: a scroll bar that is a window of its own.
//
// A scroll bar control has a range, a page and a position like a window's
// scroll bars (ScrollBars.h), kept by the SBM_* messages, and reports what the
// user does to its parent as WM_HSCROLL (SBS_HORZ) or WM_VSCROLL (SBS_VERT)
// with the control in lParam: a press on an arrow sends SB_LINEUP or
// SB_LINEDOWN, a press on the track beside the thumb SB_PAGEUP or
// SB_PAGEDOWN, repeated while the button is held (first after
// SCROLL_REPEAT_DELAY, then every SCROLL_REPEAT_INTERVAL milliseconds, while
// the cursor stays on that part); dragging the thumb sends SB_THUMBTRACK with
// the position under the cursor and, at the release, SB_THUMBPOSITION. Every
// press ends with SB_ENDSCROLL. The arrow keys, Page Up and Down, Home and End
// send SB_LINE*, SB_PAGE*, SB_TOP and SB_BOTTOM followed by SB_ENDSCROLL.
// The control never moves its own position: the parent does, with SBM_SETPOS
// or SBM_SETSCROLLINFO, as it handles the message.

#include "platform/window/ScrollBars.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* Scroll bar control styles. */
constexpr DWORD SBS_HORZ        = 0x0000;
constexpr DWORD SBS_VERT        = 0x0001;
constexpr DWORD SBS_TOPALIGN    = 0x0002;
constexpr DWORD SBS_LEFTALIGN   = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN  = 0x0004;

/* Scroll bar control messages. */
constexpr UINT SBM_SETPOS          = 0x00E0; // wParam: position; lParam: TRUE to redraw; returns the previous one
constexpr UINT SBM_GETPOS          = 0x00E1;
constexpr UINT SBM_SETRANGE        = 0x00E2; // wParam: minimum; lParam: maximum; returns the previous position
constexpr UINT SBM_GETRANGE        = 0x00E3; // wParam: LPINT minimum; lParam: LPINT maximum
constexpr UINT SBM_ENABLE_ARROWS   = 0x00E4; // wParam: ESB_*; returns TRUE when something changed
constexpr UINT SBM_SETRANGEREDRAW  = 0x00E6; // SBM_SETRANGE, then redraw
constexpr UINT SBM_SETSCROLLINFO   = 0x00E9; // wParam: TRUE to redraw; lParam: SCROLLINFO*; returns the position
constexpr UINT SBM_GETSCROLLINFO   = 0x00EA; // lParam: SCROLLINFO*, filled as fMask asks; returns TRUE

/* Repeating presses, in milliseconds. */
constexpr UINT SCROLL_REPEAT_DELAY    = 400;
constexpr UINT SCROLL_REPEAT_INTERVAL = 50;
// clang-format on

// The procedure of the "ScrollBar" class.
LRESULT CALLBACK ScrollBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
