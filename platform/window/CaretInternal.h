#pragma once

// How painting and scrolling keep the caret out of the way, for the window
// layer's own files: BeginPaint and ScrollWindowEx take the caret off the
// window they draw into (or an ancestor of the caret's window), and EndPaint
// and the end of the scroll put back what they took off.

#include "platform/window/WindowTypes.h"

void TakeCaretOff(HWND hWnd);
void PutCaretBack(HWND hWnd);
// The caret moves with the pixels when it lies in the scrolled part of its window.
void ScrollCaret(HWND hWnd, int dx, int dy, const RECT& rcScroll);
