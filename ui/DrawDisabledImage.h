#pragma once

// Redraws what a rectangle of a DC holds in the embossed look of a disabled
// control: the rectangle is filled with the background colour, and every
// pixel that was neither the background nor the highlight colour becomes a
// highlight-coloured pixel one step right and down under a shadow-coloured
// pixel in its own place.

#include "platform/gdi/GdiTypes.h"

class CDC;

void DrawDisabledImage(CDC* pDC, const RECT& rect, COLORREF crBackground, COLORREF crHighlight, COLORREF crShadow);
