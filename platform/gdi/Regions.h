#pragma once

// Regions: areas made of rectangles, combined with the RGN_* modes. Functions
// that describe an area return its complexity (NULLREGION, SIMPLEREGION,
// COMPLEXREGION), or ERROR for a bad handle. Filling and painting a region are
// in Drawing.h.

#include "platform/gdi/GdiTypes.h"

HRGN CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN CreateRectRgnIndirect(const RECT* lprect);
// Makes `hrgn` the given rectangle.
BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom);
// Stores the combination of `hrgnSrc1` and `hrgnSrc2` in `hrgnDst`, which may be either source.
int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
int OffsetRgn(HRGN hrgn, int x, int y);
int GetRgnBox(HRGN hrgn, LPRECT lprc);
BOOL PtInRegion(HRGN hrgn, int x, int y);
// Whether any part of the rectangle lies in the region.
BOOL RectInRegion(HRGN hrgn, const RECT* lprect);
// Whether both cover exactly the same pixels.
BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2);
