#pragma once

// Device contexts that draw into part of a shared bitmap: the display keeps
// one bitmap per top-level window, and every DC of that window or its children
// draws into it at once. Device (0, 0) of such a DC lies at an origin on the
// bitmap, and its drawing never leaves a system area, whatever clip region
// the caller selects. Everything else is an ordinary memory DC; DeleteDC frees it.

#include "platform/gdi/GdiTypes.h"

// A DC on `hbmSurface` with device (0, 0) at `ptOrigin` (bitmap coordinates),
// limited to `hrgnArea` (bitmap coordinates; NULL: the whole bitmap, which the
// call copies). NULL with ERROR_INVALID_HANDLE for a bad bitmap or region.
HDC CreateSurfaceDC(HBITMAP hbmSurface, POINT ptOrigin, HRGN hrgnArea);

// Limits an existing surface DC to the part of `hrgnArea` (device
// coordinates) inside its current area, as BeginPaint does with the update region.
BOOL NarrowSurfaceDC(HDC hdc, HRGN hrgnArea);

// The smallest rectangle (bitmap coordinates) holding every pixel the DC can
// draw: its area, within its bitmap; empty when it can draw none. FALSE for a
// DC that is unknown or holds no bitmap.
BOOL GetSurfaceDCBounds(HDC hdc, LPRECT lprc);
