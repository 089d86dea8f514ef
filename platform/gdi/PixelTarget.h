#pragma once

// Pixel-level drawing into the bitmap of a DC, shared by the drawing, text and
// blit code. A target is made for the length of one call: it brings a DIB
// section's surface up to date, honours the DC's clip area, and writes the
// pixels back when it goes. Coordinates here are device coordinates.

#include "platform/gdi/GdiInternal.h"

#include <optional>

// The binary raster operation `nRop2` (R2_*) of pen and destination pixels.
uint32_t ApplyRop2(int nRop2, uint32_t nPen, uint32_t nDst);
// The ternary raster operation `dwRop` of pattern, source and destination pixels.
uint32_t ApplyRop3(DWORD dwRop, uint32_t nPattern, uint32_t nSource, uint32_t nDst);

class CPixelTarget {
public:
    explicit CPixelTarget(CDeviceContext& dc);
    ~CPixelTarget();
    CPixelTarget(const CPixelTarget&) = delete;
    CPixelTarget& operator=(const CPixelTarget&) = delete;

    CDeviceContext& Dc() const { return m_dc; }
    CGdiBitmap& Bitmap() const { return m_bitmap; }
    bool IsMonochrome() const { return m_bitmap.IsMonochrome(); }
    const CRectList& Clip() const { return m_clip; }
    // The part of `rc` inside the clip area's bounds; loops run over it, never
    // over the whole of a huge rectangle.
    RECT VisiblePart(const RECT& rc) const;
    bool Visible(int x, int y) const;
    uint32_t Pixel(COLORREF cr) const { return PixelFromColour(cr, IsMonochrome()); }

    uint32_t Get(int x, int y) const { return m_bitmap.Row(y)[x] & 0xFFFFFF; }
    // Writes a pixel when visible, through the DC's binary raster operation.
    void Plot(int x, int y, uint32_t nPixel);
    // Writes a pixel when visible, as it is.
    void Put(int x, int y, uint32_t nPixel);
    // Writes nPixel, as it is, into every visible pixel of rc: Put over the
    // rectangle, a row span at a time.
    void FillSolid(const RECT& rc, uint32_t nPixel);

    // The brush's pixel at a device position; nothing where a hatch shows through.
    std::optional<uint32_t> BrushPixel(const CGdiBrush& brush, int x, int y) const;
    // How brush pixels meet the destination: through the DC's binary raster
    // operation (shapes), or copied (FillRect and its kin).
    enum class Mix { Rop2, Copy };
    // Paints pixels x0 to x1 - 1 of row y with the brush.
    void FillSpan(int y, int x0, int x1, const CGdiBrush& brush, Mix eMix = Mix::Rop2);
    void FillRect(const RECT& rc, const CGdiBrush& brush, Mix eMix = Mix::Rop2);

private:
    CDeviceContext& m_dc;
    CGdiBitmap& m_bitmap;
    CRectList m_clip;
    bool m_bSingleClip { false };
    RECT m_rcSingleClip {};
};
