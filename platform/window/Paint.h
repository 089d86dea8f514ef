#pragma once

// Painting: update regions, WM_PAINT, window DCs, scrolling the client area.
//
// Each window has an update region in client coordinates: the part of its
// client area that waits to be painted, with a flag that asks for the
// background to be erased first and one that asks for the frame (WM_NCPAINT).
// While a visible window of a thread has any of these, and the thread's queue
// holds no posted message, the queue returns WM_PAINT for it, parents before
// children. WM_PAINT is never posted and is not taken by retrieving it: it
// comes back until BeginPaint (or a validation) empties the region.
// DefWindowProc answers WM_PAINT with BeginPaint and EndPaint.
//
// Invalidating a window also invalidates the parts of its visible children
// that lie in the area, unless the window has WS_CLIPCHILDREN (RDW_ALLCHILDREN
// and RDW_NOCHILDREN decide for RedrawWindow). Hidden windows, and windows
// that received WM_SETREDRAW FALSE, are not invalidated. Showing a window,
// changing its size or moving a child window invalidates all of it.
//
// Window DCs draw into the window's part of its top-level window's surface on
// the display, limited to what of the window can show: the client area (or
// the whole window for GetWindowDC) within every ancestor's client area, less
// the visible children with WS_CLIPCHILDREN, less the visible siblings above
// it (and above each ancestor) that have WS_CLIPSIBLINGS. A clip region the
// caller selects is in the DC's own coordinates and can only narrow that.

#include "platform/window/WindowTypes.h"

// clang-format off
/* RedrawWindow. */
constexpr UINT RDW_INVALIDATE      = 0x0001;
constexpr UINT RDW_INTERNALPAINT   = 0x0002; // accepted; nothing else makes WM_PAINT without an update region
constexpr UINT RDW_ERASE           = 0x0004;
constexpr UINT RDW_VALIDATE        = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE         = 0x0020;
constexpr UINT RDW_NOCHILDREN      = 0x0040;
constexpr UINT RDW_ALLCHILDREN     = 0x0080;
constexpr UINT RDW_UPDATENOW       = 0x0100; // paint now, before returning
constexpr UINT RDW_ERASENOW        = 0x0200;
constexpr UINT RDW_FRAME           = 0x0400; // the frame too (WM_NCPAINT) where the area reaches it
constexpr UINT RDW_NOFRAME         = 0x0800;

/* ScrollWindowEx. */
constexpr UINT SW_SCROLLCHILDREN = 0x0001; // move the children with the pixels
constexpr UINT SW_INVALIDATE     = 0x0002; // invalidate what the move uncovers
constexpr UINT SW_ERASE          = 0x0004; // ... with erasing
// clang-format on

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;  // nonzero: the background still needs erasing (WM_ERASEBKGND did not)
    RECT rcPaint; // the bounds of the update region that BeginPaint took
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

/* Update regions. Rectangles and regions are in client coordinates; NULL means
   the whole client area. */

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
// The bounds of the update region; FALSE (and an empty rectangle) when it is
// empty. With bErase, a pending erase is done now through WM_ERASEBKGND.
BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
// Copies the update region into hRgn; returns its complexity (NULLREGION when empty).
int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);

// Sends WM_PAINT now when the window has something to paint.
BOOL UpdateWindow(HWND hWnd);
// Invalidates or validates (RDW_*) a rectangle, a region or (both NULL) the
// whole window, then with RDW_UPDATENOW or RDW_ERASENOW paints at once. An
// area that lies beside the client area (a scroll bar's) with RDW_FRAME
// invalidates the frame alone.
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);

/* Painting. */

// Sends WM_NCPAINT if the frame is due, takes the update region (validating
// it), sends WM_ERASEBKGND if an erase is due, and returns a client-area DC
// limited to the region taken. NULL for a bad window.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);

/* Colours of controls. */

// What DefWindowProc answers to a WM_CTLCOLOR* message: sets the DC's text
// colour (COLOR_WINDOWTEXT) and background colour to the system colours of the
// message's kind, and returns the background's system brush (never deleted):
// COLOR_WINDOW for edits and list boxes, COLOR_SCROLLBAR for scroll bars,
// COLOR_3DFACE for the rest. NULL, changing nothing, for another message.
HBRUSH DefaultControlColors(HDC hdc, UINT uCtlColorMsg);

/* Window DCs. Each is released with ReleaseDC. */

// A DC for the client area; NULL gives a DC on the desktop that shows nowhere.
HDC GetDC(HWND hWnd);
// A DC for the whole window, frame included, with (0, 0) at its top-left corner.
HDC GetWindowDC(HWND hWnd);
// 1 when the DC was the window's and is released, else 0.
int ReleaseDC(HWND hWnd, HDC hDC);
HWND WindowFromDC(HDC hDC);

/* Scrolling. */

// Moves the pixels of lprcScroll (NULL: the client area) by dx, dy within
// lprcClip (NULL: the client area), moves the update region with them, and
// with SW_INVALIDATE invalidates the part uncovered, which also goes to
// hrgnUpdate and lprcUpdate when given. Returns the complexity of that part.
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
    LPRECT prcUpdate, UINT flags);
// ScrollWindowEx with SW_INVALIDATE | SW_ERASE, moving the children when lpRect is NULL.
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect);

/* Screenshots. */

// A new bitmap (the caller deletes it) with the pixels of the window, frame
// included, as its top-level window's surface holds them; NULL: the whole
// screen as the display composes it.
HBITMAP CaptureWindowImage(HWND hWnd);
// The same written as a PNG file (a program path).
BOOL SaveWindowScreenshot(HWND hWnd, LPCSTR lpszPath);
