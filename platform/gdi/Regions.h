#pragma once

// Regions: areas of pixels, made from rectangles, ellipses, rounded
// rectangles and polygons, and combined with the RGN_* modes. Functions that
// describe an area return its complexity (NULLREGION, SIMPLEREGION,
// COMPLEXREGION), or ERROR for a bad handle. Filling, framing and painting a
// region are in Drawing.h.

#include "platform/gdi/GdiTypes.h"

HRGN CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN CreateRectRgnIndirect(const RECT* lprect);

/* Shapes. Corners may come in any order, and the right and bottom edges lie
   outside, as for rectangles. Shapes more than MAX_SHAPE_ROWS rows high are
   refused with ERROR_INVALID_PARAMETER. */

constexpr int MAX_SHAPE_ROWS = 65536;
// The ellipse inscribed in the rectangle: the pixels Ellipse paints with a one-pixel pen.
HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2);
HRGN CreateEllipticRgnIndirect(const RECT* lprect);
// A rectangle whose corners are quarter ellipses w wide and h high: the
// pixels RoundRect paints with a one-pixel pen.
HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h);
// The inside of the closed polygon by the fill mode (ALTERNATE or WINDING):
// the pixels Polygon fills with its brush. At least two points.
HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode);

/* Changing and describing regions. */

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
