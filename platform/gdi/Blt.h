#pragma once

// Transfers of pixels between device contexts, and from DIB bits, by ternary
// raster operations; monochrome and colour meet by the rules in Bitmaps.h.

#include "platform/gdi/GdiTypes.h"

/* Transfers. Each combines pattern (the DC's brush), source and destination
   by a ternary raster operation; a negative width or height mirrors. */

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
// Stretches by the destination's stretch mode: HALFTONE averages the source
// pixels that meet in one destination pixel, the other modes take the nearest.
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
    int hSrc, DWORD rop);
BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
// Copies, stretching, every source pixel except those of colour `crTransparent`.
BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
    int yoriginSrc, int wSrc, int hSrc, UINT crTransparent);
// Like StretchBlt from DIB bits; the source rectangle is in the DIB's
// coordinates, with y counted from the bottom for bottom-up layouts. Returns
// the number of lines copied, 0 on failure.
int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
    int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop);
