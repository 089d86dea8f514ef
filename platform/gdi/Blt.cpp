#include "platform/gdi/Blt.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DibLayout.h"
#include "platform/gdi/PixelTarget.h"
#include "platform/gdi/Rects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Whether the operation reads the source, or the pattern: it does when the
// result changes with that operand's bit.
bool UsesSource(DWORD dwRop)
{
    unsigned nTable = (dwRop >> 16) & 0xFF;
    return ((nTable >> 2) ^ nTable) & 0x33;
}

bool UsesPattern(DWORD dwRop)
{
    unsigned nTable = (dwRop >> 16) & 0xFF;
    return ((nTable >> 4) ^ nTable) & 0x0F;
}

// Where the source pixels come from: a copy of the bitmap's pixels (so that a
// transfer within one bitmap reads what was there before) and the background
// colour of the source DC, which decides colour to monochrome conversion.
struct BltSource {
    int nWidth { 0 };
    int nHeight { 0 };
    bool bMonochrome { false };
    std::vector<uint32_t> pixels;
    uint32_t nBkPixel { 0xFFFFFF };

    static BltSource FromBitmap(CGdiBitmap& bitmap, COLORREF crBk)
    {
        BltSource source;
        bitmap.PullBits();
        source.nWidth = bitmap.m_nWidth;
        source.nHeight = bitmap.m_nHeight;
        source.bMonochrome = bitmap.IsMonochrome();
        source.nBkPixel = PixelFromColour(crBk, false);
        source.pixels.reserve(static_cast<size_t>(source.nWidth) * source.nHeight);
        for (int y = 0; y < source.nHeight; ++y) {
            const uint32_t* pRow = bitmap.Row(y);
            for (int x = 0; x < source.nWidth; ++x)
                source.pixels.push_back(pRow[x] & 0xFFFFFF);
        }
        return source;
    }

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * nWidth + x]; }
};

// A rectangle as origin and signed extent; a negative extent mirrors.
struct Span {
    int x, y, cx, cy;
};

// Maps destination pixel centre `nDst` (0-based within the destination extent
// `nDstExtent`) to the source offset within `nSrcExtent`, mirroring when the
// signs differ.
int MapOffset(int nDst, int nDstExtent, int nSrcExtent)
{
    int nDstSize = std::abs(nDstExtent), nSrcSize = std::abs(nSrcExtent);
    int nOffset = static_cast<int>((static_cast<long long>(2 * nDst + 1) * nSrcSize) / (2LL * nDstSize));
    if ((nDstExtent < 0) != (nSrcExtent < 0))
        nOffset = nSrcSize - 1 - nOffset;
    return nOffset;
}

struct BltRequest {
    Span dst;
    const BltSource* pSource { nullptr };
    Span src {};
    DWORD dwRop { SRCCOPY };
    bool bTransparent { false };
    uint32_t nTransparent { 0 };
};

// The source pixel for one destination pixel, converted to the destination's
// kind; nothing when it falls outside the source or is transparent.
std::optional<uint32_t> SourcePixel(const BltRequest& request, const CPixelTarget& target, int i, int j)
{
    const BltSource& source = *request.pSource;
    const Span& src = request.src;
    int sx = std::min(src.x, src.x + src.cx) + MapOffset(i, request.dst.cx, src.cx);
    int sy = std::min(src.y, src.y + src.cy) + MapOffset(j, request.dst.cy, src.cy);
    if (sx < 0 || sy < 0 || sx >= source.nWidth || sy >= source.nHeight)
        return std::nullopt;
    uint32_t nPixel = source.At(sx, sy);
    bool bShrinking = std::abs(src.cx) > std::abs(request.dst.cx) || std::abs(src.cy) > std::abs(request.dst.cy);
    if (target.Dc().m_state.nStretchMode == HALFTONE && bShrinking && !source.bMonochrome) {
        // Average the source pixels that meet in this destination pixel.
        int nDx = std::abs(request.dst.cx), nDy = std::abs(request.dst.cy);
        int nSx = std::abs(src.cx), nSy = std::abs(src.cy);
        int x0 = std::min(src.x, src.x + src.cx) + i * nSx / nDx;
        int x1 = std::max(x0 + 1, std::min(src.x, src.x + src.cx) + (i + 1) * nSx / nDx);
        int y0 = std::min(src.y, src.y + src.cy) + j * nSy / nDy;
        int y1 = std::max(y0 + 1, std::min(src.y, src.y + src.cy) + (j + 1) * nSy / nDy);
        if ((request.dst.cx < 0) != (src.cx < 0)) {
            int nMirror = 2 * std::min(src.x, src.x + src.cx) + nSx;
            std::swap(x0, x1);
            x0 = nMirror - x0;
            x1 = nMirror - x1;
        }
        if ((request.dst.cy < 0) != (src.cy < 0)) {
            int nMirror = 2 * std::min(src.y, src.y + src.cy) + nSy;
            std::swap(y0, y1);
            y0 = nMirror - y0;
            y1 = nMirror - y1;
        }
        unsigned long nR = 0, nG = 0, nB = 0, nCount = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, source.nHeight); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x1, source.nWidth); ++x) {
                uint32_t n = source.At(x, y);
                nR += (n >> 16) & 0xFF;
                nG += (n >> 8) & 0xFF;
                nB += n & 0xFF;
                ++nCount;
            }
        }
        if (nCount)
            nPixel = static_cast<uint32_t>(((nR / nCount) << 16) | ((nG / nCount) << 8) | (nB / nCount));
    }
    if (request.bTransparent && nPixel == request.nTransparent)
        return std::nullopt;
    const DcState& dstState = target.Dc().m_state;
    if (source.bMonochrome && !target.IsMonochrome())
        return target.Pixel(nPixel ? dstState.crBk : dstState.crText);
    if (!source.bMonochrome && target.IsMonochrome())
        return nPixel == source.nBkPixel ? 0xFFFFFFu : 0u;
    return nPixel;
}

// Runs one transfer over the visible part of the destination span.
void Transfer(CPixelTarget& target, const BltRequest& request)
{
    const Span& dst = request.dst;
    int xLeft = std::min(dst.x, dst.x + dst.cx), yTop = std::min(dst.y, dst.y + dst.cy);
    RECT rcBounds = target.Clip().Bounds();
    const CGdiBrush& brush = *target.Dc().m_state.brush;
    bool bPattern = UsesPattern(request.dwRop);
    // Only the rows and columns inside the clip bounds are walked.
    int jFrom = std::max(0, static_cast<int>(rcBounds.top) - yTop);
    int jTo = std::min(std::abs(dst.cy), static_cast<int>(rcBounds.bottom) - yTop);
    int iFrom = std::max(0, static_cast<int>(rcBounds.left) - xLeft);
    int iTo = std::min(std::abs(dst.cx), static_cast<int>(rcBounds.right) - xLeft);
    for (int j = jFrom; j < jTo; ++j) {
        int y = yTop + j;
        uint32_t* pRow = target.Bitmap().Row(y);
        for (int i = iFrom; i < iTo; ++i) {
            int x = xLeft + i;
            if (!target.Visible(x, y))
                continue;
            uint32_t nSource = 0;
            if (request.pSource) {
                std::optional<uint32_t> nPixel = SourcePixel(request, target, i, j);
                if (!nPixel)
                    continue;
                nSource = *nPixel;
            }
            uint32_t nPattern = 0;
            if (bPattern) {
                // Where a hatch leaves a gap, a transfer sees the background colour.
                std::optional<uint32_t> nBrush = target.BrushPixel(brush, x, y);
                nPattern = nBrush ? *nBrush : target.Pixel(target.Dc().m_state.crBk);
            }
            pRow[x] = ApplyRop3(request.dwRop, nPattern, nSource, pRow[x]);
        }
    }
}

Span DeviceSpan(const CDeviceContext& dc, int x, int y, int cx, int cy)
{
    POINT pt = dc.ToDevice(x, y);
    return Span { pt.x, pt.y, cx, cy };
}

// Whether a transfer is a plain copy of rows: the same size, SRCCOPY, and a
// source of the destination's kind, so no pixel needs converting.
bool IsRowCopy(const Span& dst, const Span& src, DWORD dwRop, const CGdiBitmap& source, const CGdiBitmap& target)
{
    return dwRop == SRCCOPY && dst.cx == src.cx && dst.cy == src.cy && dst.cx > 0 && dst.cy > 0
        && source.IsMonochrome() == target.IsMonochrome();
}

// Copies the rows of a same-size SRCCOPY transfer inside the clip area. The
// source may be the destination's own bitmap: the clip rectangles and their
// rows are then walked so that no pixel is overwritten before it is read.
void CopyRows(CPixelTarget& target, const Span& dst, CGdiBitmap& source, const Span& src)
{
    const int sdx = src.x - dst.x;
    const int sdy = src.y - dst.y;
    // Where the destination has source pixels under it.
    RECT rcDst { dst.x, dst.y, dst.x + dst.cx, dst.y + dst.cy };
    const RECT rcSource { -sdx, -sdy, source.m_nWidth - sdx, source.m_nHeight - sdy };
    if (!IntersectRect(&rcDst, &rcDst, &rcSource))
        return;
    const bool bBackwards = sdy < 0 || (sdy == 0 && sdx < 0);
    const std::vector<RECT>& clip = target.Clip().Rects();
    auto copyRect = [&](const RECT& rcClip) {
        RECT rc {};
        if (!IntersectRect(&rc, &rcClip, &rcDst))
            return;
        const auto nPixels = static_cast<size_t>(rc.right - rc.left);
        for (int i = 0; i < rc.bottom - rc.top; ++i) {
            const int y = bBackwards ? rc.bottom - 1 - i : rc.top + i;
            uint32_t* pDst = target.Bitmap().Row(y) + rc.left;
            std::memmove(pDst, source.Row(y + sdy) + rc.left + sdx, nPixels * sizeof(uint32_t));
            for (size_t x = 0; x < nPixels; ++x)
                pDst[x] &= 0xFFFFFF;
        }
    };
    if (bBackwards)
        std::for_each(clip.rbegin(), clip.rend(), copyRect);
    else
        std::for_each(clip.begin(), clip.end(), copyRect);
}

BOOL StretchFromDc(HDC hdcDest, Span dst, HDC hdcSrc, Span src, DWORD dwRop, std::optional<UINT> crTransparent)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDst = LookupDc(hdcDest);
    if (!pDst)
        return FALSE;
    BltRequest request { DeviceSpan(*pDst, dst.x, dst.y, dst.cx, dst.cy), nullptr, {}, dwRop, false, 0 };
    BltSource source;
    if (UsesSource(dwRop) || crTransparent) {
        std::shared_ptr<CDeviceContext> pSrc = LookupDc(hdcSrc);
        if (!pSrc)
            return FALSE;
        if (src.cx == 0 || src.cy == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        request.src = DeviceSpan(*pSrc, src.x, src.y, src.cx, src.cy);
        CGdiBitmap& sourceBitmap = *pSrc->m_state.bitmap;
        if (!crTransparent && IsRowCopy(request.dst, request.src, dwRop, sourceBitmap, *pDst->m_state.bitmap)) {
            sourceBitmap.PullBits();
            CPixelTarget target(*pDst);
            CopyRows(target, request.dst, sourceBitmap, request.src);
            return TRUE;
        }
        source = BltSource::FromBitmap(*pSrc->m_state.bitmap, pSrc->m_state.crBk);
        request.pSource = &source;
        if (crTransparent) {
            request.bTransparent = true;
            request.nTransparent = PixelFromColour(*crTransparent, source.bMonochrome);
        }
    }
    if (dst.cx == 0 || dst.cy == 0)
        return TRUE;
    CPixelTarget target(*pDst);
    Transfer(target, request);
    return TRUE;
}

}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return StretchFromDc(hdc, Span { x, y, cx, cy }, hdcSrc, Span { x1, y1, cx, cy }, rop, std::nullopt);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
    int hSrc, DWORD rop)
{
    return StretchFromDc(
        hdcDest, Span { xDest, yDest, wDest, hDest }, hdcSrc, Span { xSrc, ySrc, wSrc, hSrc }, rop, std::nullopt);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    if (UsesSource(rop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return StretchFromDc(hdc, Span { x, y, w, h }, nullptr, Span {}, rop, std::nullopt);
}

BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
    int yoriginSrc, int wSrc, int hSrc, UINT crTransparent)
{
    if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return StretchFromDc(hdcDest, Span { xoriginDest, yoriginDest, wDest, hDest }, hdcSrc,
        Span { xoriginSrc, yoriginSrc, wSrc, hSrc }, SRCCOPY, crTransparent);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
    int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDst = LookupDc(hdc);
    if (!pDst)
        return 0;
    std::optional<CDibLayout> layout = CDibLayout::From(lpbmi, iUsage, pDst->m_state.palette.Get().get());
    if (!layout)
        return 0;
    if (!lpBits || SrcWidth == 0 || SrcHeight == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BltSource source;
    source.nWidth = layout->m_nWidth;
    source.nHeight = layout->m_nHeight;
    for (int y = 0; y < layout->m_nHeight; ++y) {
        for (int x = 0; x < layout->m_nWidth; ++x)
            source.pixels.push_back(layout->Read(static_cast<const BYTE*>(lpBits), x, y));
    }
    // A bottom-up layout counts source rows from its bottom.
    int yTop = layout->m_bTopDown ? ySrc : layout->m_nHeight - ySrc - SrcHeight;
    BltRequest request { DeviceSpan(*pDst, xDest, yDest, DestWidth, DestHeight), &source,
        Span { xSrc, yTop, SrcWidth, SrcHeight }, rop, false, 0 };
    if (DestWidth != 0 && DestHeight != 0) {
        CPixelTarget target(*pDst);
        Transfer(target, request);
    }
    return std::abs(SrcHeight);
}
