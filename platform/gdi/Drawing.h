#pragma once

// Lines, shapes, fills and single pixels, drawn pixel-exact with no
// antialiasing. Coordinates are logical. Lines and outlines use the DC's pen
// and fills its brush, both through the DC's binary raster operation;
// FillRect, FrameRect and FillRgn copy their brush. Every primitive stays
// inside the clip area.

#include "platform/gdi/GdiTypes.h"

/* Lines. A line covers its first point and not its last, so joined lines
   draw each joint once. Styled pens paint their gaps in the background
   colour when the background mode is OPAQUE. */

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt);
// Draws from the current position to (x, y), which becomes the current position.
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* apt, int cpt);

/* Shapes: the outline in the pen, the inside in the brush. A shape covers
   the pixels from left to right - 1 and from top to bottom - 1; pens wider
   than one pixel grow the outline inwards. With the null pen the filled area
   is one pixel smaller at the right and bottom. */

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
// Corners are quarter ellipses `width` wide and `height` high.
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
// Closes the figure; the inside follows the DC's polygon fill mode.
BOOL Polygon(HDC hdc, const POINT* apt, int cpt);

/* Fills. */

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
// A one-pixel border in the brush.
int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
// Inverts every pixel of the rectangle.
BOOL InvertRect(HDC hDC, const RECT* lprc);
BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr);
// Paints the region's border with the brush: the pixels of the region less
// than w columns from its left or right edge or h rows from its top or bottom
// edge, holes included.
BOOL FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h);
// Fills with the DC's brush.
BOOL PaintRgn(HDC hdc, HRGN hrgn);
BOOL InvertRgn(HDC hdc, HRGN hrgn);
// Fills from (x, y) with the DC's brush: FLOODFILLBORDER up to pixels of colour
// `color`, FLOODFILLSURFACE over the neighbouring pixels of colour `color`.
// FALSE when the start pixel is invisible or already excluded.
BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type);
BOOL FloodFill(HDC hdc, int x, int y, COLORREF color);

/* Single pixels. */

// Returns the colour actually set, or CLR_INVALID outside the clip area.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip area or the bitmap.
COLORREF GetPixel(HDC hdc, int x, int y);
