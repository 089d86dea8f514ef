#pragma once

// Memory device contexts: a DC draws into the bitmap selected into it, with its
// own pen, brush, font, colours, modes, origins and clip area. Only the MM_TEXT
// mapping exists: device = logical - window origin + viewport origin.

#include "platform/gdi/GdiTypes.h"

/* Creating and freeing. */

// A DC compatible with `hdc` (or the screen for NULL), holding a 1x1 monochrome
// bitmap, the black pen, the white brush and the system font.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

/* Selected objects. */

// Selects a pen, brush, font or bitmap and returns the one it replaces; NULL on
// failure (a bitmap already selected into another DC is refused). Selecting a
// region sets the clip area to a copy of it and returns the region's complexity.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// The selected OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP or OBJ_PAL.
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

/* Saving the whole state: objects, colours, modes, origins, clip area. */

// Returns the new save level (1 for the first), 0 on failure.
int SaveDC(HDC hdc);
// Returns to save level `nSavedDC`, or with a negative value that many levels
// back (-1 = the last save); the levels above it are dropped.
BOOL RestoreDC(HDC hdc, int nSavedDC);

/* Colours and modes. Each setter returns the previous value (CLR_INVALID or 0 on failure). */

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode); // TRANSPARENT or OPAQUE
int GetBkMode(HDC hdc);
// TA_LEFT/TA_RIGHT/TA_CENTER | TA_TOP/TA_BOTTOM/TA_BASELINE | TA_UPDATECP; GDI_ERROR on failure.
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetROP2(HDC hdc, int rop2); // R2_*
int GetROP2(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode); // ALTERNATE or WINDING
int GetPolyFillMode(HDC hdc);
// Only MM_TEXT is accepted.
int SetMapMode(HDC hdc, int iMode);
int GetMapMode(HDC hdc);

constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

/* Origins and coordinate conversion. The old origin goes to `lppt` when it is not NULL. */

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppt);
BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppt);
BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c);
BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c);

/* Clipping. Regions are in device coordinates, rectangles in logical ones.
   Each call returns the complexity of the new clip area (ERROR on failure). */

// A copy of `hrgn` becomes the clip area; NULL removes clipping.
int SelectClipRgn(HDC hdc, HRGN hrgn);
int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC hdc, int x, int y);
// The smallest rectangle around the visible part of the clip area, in logical coordinates.
int GetClipBox(HDC hdc, LPRECT lprect);
// Copies the clip area into `hrgn`: 1 when there is one, 0 when there is none, -1 on failure.
int GetClipRgn(HDC hdc, HRGN hrgn);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* lprect);

/* Device capabilities. */

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int RASTERCAPS = 38;
constexpr int RC_PALETTE = 0x0100;
// The surface's size and depth; 96 pixels per logical inch; no palette.
int GetDeviceCaps(HDC hdc, int index);
