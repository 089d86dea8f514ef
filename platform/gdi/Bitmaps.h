#pragma once

// Bitmaps and the transfer of pixels between device contexts. A bitmap is
// monochrome (1 bit per pixel: black and white only) or colour (32 bits per
// pixel). A DIB section also keeps its pixels in the layout its BITMAPINFO
// describes, where the program may read and write them directly.
//
// Monochrome and colour meet by the documented rules: a monochrome source
// copied to a colour destination paints its 0 bits in the destination DC's
// text colour and its 1 bits in its background colour; a colour source copied
// to a monochrome destination gives 1 (white) where it equals the source DC's
// background colour and 0 elsewhere.

#include "platform/gdi/GdiTypes.h"

/* Making bitmaps. New bitmaps are black. */

// Monochrome for 1 bit per pixel, else colour. `lpBits` holds rows top-down,
// each padded to 2 bytes, with 1, 24 or 32 bits per pixel.
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits);
// A bitmap in the format of the bitmap selected into `hdc`: a memory DC that
// still holds its first bitmap makes monochrome ones. 0 width or height gives a
// 1x1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// A bitmap compatible with `hdc`, filled from `lpbInit` when `flInit` has CBM_INIT.
HBITMAP CreateDIBitmap(
    HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* lpbInit, const BITMAPINFO* lpbmi, UINT iUsage);
// A DIB section of the depth and row order `pbmi` gives, zero-filled; its bits
// go to *ppvBits and live as long as the bitmap. `hSection` must be NULL.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection, DWORD offset);

/* Reading and writing pixels in DIB layout. Scan lines are counted in the
   layout's own order (from the bottom for bottom-up layouts). */

// With `lpvBits` NULL, completes the header of `lpbmi` (a zero biBitCount asks
// for the bitmap's own depth) and returns nonzero. Otherwise copies lines
// `start` to `start + cLines - 1`, fills the colour table for 1, 4 and 8 bits,
// and returns the number of lines copied; 0 on failure.
int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, BITMAPINFO* lpbmi, UINT usage);
// Returns the number of lines copied; 0 on failure.
int SetDIBits(
    HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits, const BITMAPINFO* lpbmi, UINT ColorUse);
