#pragma once

// Rectangle helpers. A RECT covers the pixels from left to right - 1 and from
// top to bottom - 1; a rectangle whose right <= left or bottom <= top is empty.
// Functions that take output pointers return FALSE for a NULL pointer.

#include "platform/gdi/GdiTypes.h"

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
// Grows the rectangle by dx on the left and right and dy at the top and bottom (shrinks for negative values).
BOOL InflateRect(LPRECT lprc, int dx, int dy);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL IsRectEmpty(const RECT* lprc);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
BOOL PtInRect(const RECT* lprc, POINT pt);
// The common part; FALSE with an empty *lprcDst when the two do not meet.
BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
// The smallest rectangle holding both; empty rectangles are ignored.
BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
// lprcSrc1 less lprcSrc2 when the rest is still a rectangle (lprcSrc2 covers
// whole rows or columns at one side); else a copy of lprcSrc1. FALSE when the
// result is empty.
BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
