#pragma once

// The system caret: one per thread, owned by one window of that thread. It is
// a rectangle drawn by inverting the pixels under it (or by XOR with a bitmap),
// so drawing it twice takes it away again. It blinks: every blink time on the
// program's clock a timer of the window layer (WM_SYSTIMER, not input for idle
// processing) inverts it once more. BeginPaint takes it off the window it
// paints and EndPaint puts it back, and ScrollWindowEx moves it with the
// pixels it scrolls, so painting and scrolling never leave a stray copy.
//
// Hiding counts: after n HideCaret calls it takes n ShowCaret calls to show it
// again; a new caret starts hidden once. Positions are in the client
// coordinates of the caret's window. A caret whose window is destroyed is
// destroyed with it.

#include "platform/gdi/GdiTypes.h"
#include "platform/window/WindowTypes.h"

// Replaces the thread's caret by a new hidden one for hWnd: solid (hBitmap
// NULL; a width or height of 0 becomes the border width SM_CXBORDER or
// SM_CYBORDER), grey in a 50% pattern (hBitmap (HBITMAP)1), or the shape of the bitmap, whose
// white pixels invert and whose black ones do not (nWidth and nHeight are then
// ignored). FALSE for a window of another thread or a bad bitmap.
BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
// Takes the thread's caret off the screen and frees it; FALSE when there is none.
BOOL DestroyCaret();
// Counts one hiding off; the caret shows when none are left. hWnd must own
// the caret (NULL: whichever window of the thread does). FALSE otherwise.
BOOL ShowCaret(HWND hWnd);
// Counts one hiding more and takes the caret off the screen.
BOOL HideCaret(HWND hWnd);
// Moves the thread's caret, hidden or not; a shown caret shows at once at
// its new place and blinks from there.
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(LPPOINT lpPoint);
// Milliseconds between two inversions, for every thread; INFINITE stops the
// blinking with the caret shown. Default 530. A new time applies at once to
// the calling thread's caret, and to other threads' carets when they are
// next shown or moved.
BOOL SetCaretBlinkTime(UINT uMSeconds);
UINT GetCaretBlinkTime();
