#pragma once

// The popups' strip bitmaps as image lists, loaded from the resource module
// once and kept for the process: every popup opened shows the same images,
// so none decodes its bitmaps again. The lists are shared; callers only draw
// from them and never change or free them.

#include "platform/base/WinTypes.h"

class CImageList;

// The image list of bitmap nBitmap of the current resource module, cut into
// images cx pixels wide with colour crMask transparent; null when the bitmap
// cannot be loaded (tried again on the next call).
CImageList* SharedPopupImages(UINT nBitmap, int cx, COLORREF crMask);
