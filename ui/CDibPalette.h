#pragma once

// A picture with the palette that shows it in its own colours on a display
// of 256 colours or fewer: a {palette, bitmap} pair, usable as a member or a
// local. Both handles are null until something is loaded; the palette stays
// null for pictures of more than 8 bits per pixel and on loading failures.
// The handles are the object's: DeleteObjects frees them, and so does the
// destructor.
//
// Bitmap resources are PNG files; an indexed PNG (1, 2, 4 or 8 bits) gives a
// palette of 2^depth entries from its colour table, whatever it uses of it.

#include "platform/base/ResourceModule.h"
#include "platform/gdi/GdiTypes.h"

class CDC;

class CDibPalette {
public:
    CDibPalette() = default;
    ~CDibPalette() { DeleteObjects(); }
    CDibPalette(const CDibPalette&) = delete;
    CDibPalette& operator=(const CDibPalette&) = delete;

    // Deletes the palette and the bitmap that are set.
    void DeleteObjects();
    // Makes the palette of a DIB whose colour table follows pHeader: above 8
    // bits per pixel no palette (*pnColors 0, TRUE); else 2^bits entries from
    // the table. TRUE when the palette was made or none is needed.
    BOOL CreatePaletteFromDib(const BITMAPINFOHEADER* pHeader, int* pnColors);
    // Replaces both handles by the bitmap resource nID of hModule and its
    // palette, which is then selected and realised in pDC. Returns the bitmap;
    // null (and no palette) when the resource is missing or damaged.
    HBITMAP LoadResource(CDC* pDC, HMODULE hModule, UINT nID);
    // Selects the palette into pDC in the foreground, realises it and puts
    // the previous palette back. TRUE when a colour changed; FALSE without a palette.
    BOOL Realize(CDC* pDC);
    // Draws the bitmap centred in the client area of pDC's window. FALSE
    // without a bitmap or when its size cannot be read.
    BOOL Draw(CDC* pDC);

    HPALETTE GetPalette() const { return m_hPalette; }
    HBITMAP GetBitmap() const { return m_hBitmap; }

private:
    // A palette of the colours, or null when none can be made.
    static HPALETTE MakePalette(const RGBQUAD* pColors, int nColors);

    HPALETTE m_hPalette { nullptr };
    HBITMAP m_hBitmap { nullptr };
};
