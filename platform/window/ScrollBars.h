#pragma once

// The scroll bars of windows with WS_HSCROLL or WS_VSCROLL: a range, a page
// and a position each, drawn in the non-client area beside the client area
// (arrows, track, thumb), and clicks on them sent to the window as WM_HSCROLL
// or WM_VSCROLL (SB_LINE*, SB_PAGE*; then SB_ENDSCROLL). Pressing the thumb
// starts a loop that takes the thread's messages until the button is
// released: each move to a new position sends SB_THUMBTRACK with it (high
// word; SIF_TRACKPOS has it in full), the release SB_THUMBPOSITION with the
// last one, then SB_ENDSCROLL. The window scrolls itself and sets the
// position with SetScrollInfo. The position always
// lies within nMin to nMax - max(nPage - 1, 0). Scroll bar controls (SB_CTL)
// are windows of their own and are refused here with ERROR_INVALID_PARAMETER.

#include "platform/window/WindowTypes.h"

// clang-format off
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL  = 2;
constexpr int SB_BOTH = 3;

/* WM_HSCROLL and WM_VSCROLL codes. */
constexpr WORD SB_LINEUP        = 0;
constexpr WORD SB_LINELEFT      = 0;
constexpr WORD SB_LINEDOWN      = 1;
constexpr WORD SB_LINERIGHT     = 1;
constexpr WORD SB_PAGEUP        = 2;
constexpr WORD SB_PAGELEFT      = 2;
constexpr WORD SB_PAGEDOWN      = 3;
constexpr WORD SB_PAGERIGHT     = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK    = 5;
constexpr WORD SB_TOP           = 6;
constexpr WORD SB_LEFT          = 6;
constexpr WORD SB_BOTTOM        = 7;
constexpr WORD SB_RIGHT         = 7;
constexpr WORD SB_ENDSCROLL     = 8;

/* SCROLLINFO.fMask. */
constexpr UINT SIF_RANGE           = 0x0001;
constexpr UINT SIF_PAGE            = 0x0002;
constexpr UINT SIF_POS             = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS        = 0x0010;
constexpr UINT SIF_ALL             = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

/* EnableScrollBar. */
constexpr UINT ESB_ENABLE_BOTH   = 0x0000;
constexpr UINT ESB_DISABLE_LTUP  = 0x0001; // the left or up arrow
constexpr UINT ESB_DISABLE_LEFT  = 0x0001;
constexpr UINT ESB_DISABLE_UP    = 0x0001;
constexpr UINT ESB_DISABLE_RTDN  = 0x0002; // the right or down arrow
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_DOWN  = 0x0002;
constexpr UINT ESB_DISABLE_BOTH  = 0x0003;
// clang-format on

struct SCROLLINFO {
    UINT cbSize; // sizeof(SCROLLINFO)
    UINT fMask;  // SIF_*
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos; // the position while the thumb is dragged, else nPos
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

// Sets what fMask names and returns the new position (0 on failure).
int SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
// Fills what fMask names; FALSE for a bad window or bar.
BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi);
// Return the previous position (0 on failure).
int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
int GetScrollPos(HWND hWnd, int nBar);
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
// Shows or hides a bar by setting or clearing WS_HSCROLL / WS_VSCROLL, which
// changes the client area.
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
// Disables the arrows wArrows names (ESB_*); FALSE when nothing changes.
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
