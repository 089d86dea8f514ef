#pragma once

// How painting keeps the caret out of the way, for the window layer's own
// files: BeginPaint takes the caret off the window it paints, and EndPaint
// puts back what BeginPaint took off.

#include "platform/window/WindowTypes.h"

void HideCaretForPaint(HWND hWnd);
void ShowCaretAfterPaint(HWND hWnd);
