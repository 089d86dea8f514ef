#pragma once

// Pictures: decoding image files (any format gdk-pixbuf reads) into bitmaps,
// writing bitmaps as PNG files, and loading the resource module's bitmaps.
// Paths are program paths. Transparency is dropped: a decoded pixel keeps its
// colour whatever its alpha.

#include "platform/gdi/GdiTypes.h"

#include <cstddef>

// A 32-bit top-down DIB section holding the decoded picture; NULL with
// ERROR_INVALID_DATA for bytes that are no picture.
HBITMAP DecodePicture(const void* pData, size_t cbData);
// Likewise from a file; NULL with ERROR_FILE_NOT_FOUND when it cannot be read.
HBITMAP LoadPictureFile(LPCTSTR lpszPath);

// Like DecodePicture, keeping the transparency as icons need it: the new
// monochrome bitmap in *phbmMask is 1 (white) where the alpha is below 128,
// and the returned colour bitmap is black there.
HBITMAP DecodePictureWithMask(const void* pData, size_t cbData, HBITMAP* phbmMask);
// Likewise from a file.
HBITMAP LoadPictureFileWithMask(LPCTSTR lpszPath, HBITMAP* phbmMask);

// Writes the bitmap's pixels as an 8-bit RGB PNG file (monochrome bitmaps
// black and white). FALSE with the last error set when it cannot be written.
BOOL SaveBitmapAsPng(HBITMAP hbm, LPCTSTR lpszPath);
// Writes the pixels of the bitmap selected into the DC.
BOOL SaveDcAsPng(HDC hdc, LPCTSTR lpszPath);

// The bitmap resource `lpBitmapName` (a name or MAKEINTRESOURCE id) of the
// module, as a colour bitmap; NULL with the resource error when it is missing.
HBITMAP LoadBitmap(HINSTANCE hInstance, LPCTSTR lpBitmapName);
