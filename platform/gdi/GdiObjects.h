#pragma once

// Drawing objects: pens, brushes and palettes, the stock objects, and what
// every kind of object shares (deleting, describing). Fonts are in Text.h,
// bitmaps in Bitmaps.h, regions in Regions.h.

#include "platform/gdi/GdiTypes.h"

/* Every kind of object. */

// Frees the object. FALSE with ERROR_INVALID_PARAMETER while it is selected into a device
// context (also in a saved state); stock objects are never freed and always
// give TRUE.
BOOL DeleteObject(HGDIOBJ hObject);
// Copies the object's description: LOGPEN, LOGBRUSH, LOGFONT, BITMAP, or the
// WORD entry count of a palette. With a NULL buffer, returns the size needed;
// else the bytes copied, 0 on failure.
int GetObject(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject);
// OBJ_* of a live handle, else 0.
DWORD GetObjectType(HGDIOBJ hObject);
// The stock object `nIndex` (WHITE_BRUSH ... DEFAULT_GUI_FONT); NULL for an
// unknown index. The stock fonts: SYSTEM_FONT bold with a 16-pixel cell,
// DEFAULT_GUI_FONT with 11-pixel characters, ANSI_VAR_FONT and ANSI_FIXED_FONT
// with 13-pixel characters (proportional and fixed pitch).
HGDIOBJ GetStockObject(int nIndex);

/* Pens. Widths below 1 draw one pixel wide; styled pens wider than one pixel draw solid. */

HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* plpen);

/* Brushes. Hatches and patterns are aligned to the device origin. A pattern
   brush copies the bitmap; a monochrome pattern paints 0 bits in the text
   colour and 1 bits in the background colour of the DC it paints on. */

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int iHatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP hbm);
HBRUSH CreateBrushIndirect(const LOGBRUSH* plbrush);

/* Palettes are kept as data; every surface is true-colour. */

HPALETTE CreatePalette(const LOGPALETTE* plpal);
// Selects the palette into the DC and returns the previous one.
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
// Nothing is mapped on a true-colour surface: always 0.
UINT RealizePalette(HDC hdc);
// Remaps a window's pixels to a newly realized palette; true-colour pixels
// need nothing, so this only checks the DC.
BOOL UpdateColors(HDC hdc);
UINT GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, PALETTEENTRY* pPalEntries);
// The index of the entry nearest to `crColor` (the least sum of squared
// channel differences; the first of equals); CLR_INVALID for a bad palette.
UINT GetNearestPaletteIndex(HPALETTE h, COLORREF crColor);
