#include "platform/gdi/Bitmaps.h"

#include "platform/gdi/DibLayout.h"
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <cairo.h>

/*************************************************************************
 * The bitmap object
 *************************************************************************/

CGdiBitmap::~CGdiBitmap()
{
    if (m_pSurface)
        cairo_surface_destroy(m_pSurface);
}

std::shared_ptr<CGdiBitmap> CGdiBitmap::Make(int nWidth, int nHeight, int nBitsPixel)
{
    if (nWidth <= 0 || nHeight <= 0 || static_cast<long long>(nWidth) * nHeight > MAX_BITMAP_PIXELS)
        return nullptr;
    cairo_surface_t* pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, nWidth, nHeight);
    if (cairo_surface_status(pSurface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pSurface);
        return nullptr;
    }
    auto pBitmap = std::make_shared<CGdiBitmap>();
    pBitmap->m_nWidth = nWidth;
    pBitmap->m_nHeight = nHeight;
    pBitmap->m_nBitsPixel = nBitsPixel == 1 ? 1 : 32;
    pBitmap->m_pSurface = pSurface;
    return pBitmap;
}

uint32_t* CGdiBitmap::Row(int y)
{
    if (m_bDirect) {
        ptrdiff_t nRow = m_nDirectStride > 0 ? y : y - (m_nHeight - 1);
        return reinterpret_cast<uint32_t*>(m_pDibBits.get() + nRow * m_nDirectStride);
    }
    return reinterpret_cast<uint32_t*>(
        cairo_image_surface_get_data(m_pSurface) + static_cast<size_t>(y) * cairo_image_surface_get_stride(m_pSurface));
}

void CGdiBitmap::PullBits()
{
    if (m_bDirect)
        return;
    cairo_surface_flush(m_pSurface);
    if (!m_pDibBits)
        return;
    std::optional<CDibLayout> layout
        = CDibLayout::From(reinterpret_cast<const BITMAPINFO*>(m_dibInfo.data()), DIB_RGB_COLORS, nullptr);
    for (int y = 0; y < m_nHeight; ++y) {
        uint32_t* pRow = Row(y);
        for (int x = 0; x < m_nWidth; ++x)
            pRow[x] = layout->Read(m_pDibBits.get(), x, y);
    }
}

void CGdiBitmap::PushBits()
{
    if (m_bDirect)
        return;
    if (m_pDibBits) {
        std::optional<CDibLayout> layout
            = CDibLayout::From(reinterpret_cast<const BITMAPINFO*>(m_dibInfo.data()), DIB_RGB_COLORS, nullptr);
        for (int y = 0; y < m_nHeight; ++y) {
            const uint32_t* pRow = Row(y);
            for (int x = 0; x < m_nWidth; ++x)
                layout->Write(m_pDibBits.get(), x, y, pRow[x]);
        }
    }
    cairo_surface_mark_dirty(m_pSurface);
}

/*************************************************************************
 * Making bitmaps
 *************************************************************************/

namespace {

HBITMAP AddBitmap(const std::shared_ptr<CGdiBitmap>& pBitmap)
{
    if (!pBitmap) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBITMAP>(AddGdiObject(pBitmap));
}

// Whether bitmaps made for `hdc` are monochrome; nothing for a bad DC.
std::optional<bool> CompatibleIsMonochrome(HDC hdc)
{
    if (!hdc)
        return false;
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return std::nullopt;
    return pDc->m_state.bitmap->IsMonochrome();
}

const CGdiPalette* DcPalette(HDC hdc)
{
    std::shared_ptr<CDeviceContext> pDc = hdc ? LookupDc(hdc) : nullptr;
    return pDc ? pDc->m_state.palette.Get().get() : nullptr;
}

// The bitmap row that DIB scan line `nLine` of the layout lands on.
int BitmapRowOfLine(const CDibLayout& layout, UINT nLine)
{
    return layout.m_bTopDown ? static_cast<int>(nLine) : layout.m_nHeight - 1 - static_cast<int>(nLine);
}

// Copies scan lines `start` onwards of DIB bits, stored in the layout's own
// order, into the bitmap; returns the number copied.
int CopyDibLines(CGdiBitmap& bitmap, const CDibLayout& layout, UINT start, UINT cLines, const BYTE* pBits)
{
    UINT nHeight = static_cast<UINT>(layout.m_nHeight);
    if (start >= nHeight)
        return 0;
    bitmap.PullBits();
    UINT nLines = std::min(cLines, nHeight - start);
    int nWidth = std::min(layout.m_nWidth, bitmap.m_nWidth);
    for (UINT nLine = start; nLine < start + nLines; ++nLine) {
        int y = BitmapRowOfLine(layout, nLine);
        if (y < 0 || y >= bitmap.m_nHeight)
            continue;
        uint32_t* pRow = bitmap.Row(y);
        const BYTE* pStored = pBits + static_cast<size_t>(nLine - start) * layout.m_nStride;
        for (int x = 0; x < nWidth; ++x) {
            uint32_t nPixel = layout.ReadRow(pStored, x);
            pRow[x] = bitmap.IsMonochrome() ? PixelFromColour(ColourFromPixel(nPixel), true) : nPixel;
        }
    }
    bitmap.PushBits();
    return static_cast<int>(nLines);
}

// The colour table GetDIBits gives for a depth of 8 bits or less: black and
// white; the sixteen standard colours; or 3 bits red, 3 bits green, 2 bits blue.
std::vector<RGBQUAD> StandardColourTable(int nBitCount)
{
    std::vector<RGBQUAD> table;
    if (nBitCount == 1) {
        table = { RGBQUAD { 0, 0, 0, 0 }, RGBQUAD { 255, 255, 255, 0 } };
    } else if (nBitCount == 4) {
        static constexpr COLORREF VGA[16] = { RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0),
            RGB(0, 0, 128), RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0),
            RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255) };
        for (COLORREF cr : VGA)
            table.push_back(RGBQUAD { GetBValue(cr), GetGValue(cr), GetRValue(cr), 0 });
    } else if (nBitCount == 8) {
        for (int i = 0; i < 256; ++i) {
            BYTE r = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
            BYTE g = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
            BYTE b = static_cast<BYTE>((i & 3) * 255 / 3);
            table.push_back(RGBQUAD { b, g, r, 0 });
        }
    }
    return table;
}

}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits)
{
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 24 && nBitCount != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap = CGdiBitmap::Make(nWidth, nHeight, static_cast<int>(nBitCount));
    if (pBitmap && lpBits) {
        size_t nStride = (static_cast<size_t>(nWidth) * nBitCount + 15) / 16 * 2;
        const BYTE* pBits = static_cast<const BYTE*>(lpBits);
        for (int y = 0; y < nHeight; ++y) {
            const BYTE* pSource = pBits + y * nStride;
            uint32_t* pRow = pBitmap->Row(y);
            for (int x = 0; x < nWidth; ++x) {
                if (nBitCount == 1) {
                    pRow[x] = (pSource[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
                } else {
                    const BYTE* pPixel = pSource + x * (nBitCount / 8);
                    pRow[x] = (pPixel[2] << 16) | (pPixel[1] << 8) | pPixel[0];
                }
            }
        }
        pBitmap->PushBits();
    }
    return AddBitmap(pBitmap);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    auto lock = GdiLock();
    std::optional<bool> bMonochrome = CompatibleIsMonochrome(hdc);
    if (!bMonochrome)
        return nullptr;
    if (cx == 0 || cy == 0)
        return AddBitmap(CGdiBitmap::Make(1, 1, 1));
    return AddBitmap(CGdiBitmap::Make(cx, cy, *bMonochrome ? 1 : 32));
}

HBITMAP CreateDIBitmap(
    HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* lpbInit, const BITMAPINFO* lpbmi, UINT iUsage)
{
    auto lock = GdiLock();
    std::optional<bool> bMonochrome = CompatibleIsMonochrome(hdc);
    if (!bMonochrome)
        return nullptr;
    if (!pbmih || pbmih->biWidth <= 0 || pbmih->biHeight == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<CGdiBitmap> pBitmap
        = CGdiBitmap::Make(pbmih->biWidth, std::abs(pbmih->biHeight), *bMonochrome ? 1 : 32);
    if (pBitmap && (flInit & CBM_INIT) && lpbInit) {
        std::optional<CDibLayout> layout = CDibLayout::From(lpbmi, iUsage, DcPalette(hdc));
        if (!layout)
            return nullptr;
        CopyDibLines(*pBitmap, *layout, 0, static_cast<UINT>(layout->m_nHeight), static_cast<const BYTE*>(lpbInit));
    }
    return AddBitmap(pBitmap);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection, DWORD)
{
    auto lock = GdiLock();
    if (hSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<CDibLayout> layout = CDibLayout::From(pbmi, usage, DcPalette(hdc));
    if (!layout)
        return nullptr;
    std::shared_ptr<CGdiBitmap> pBitmap = CGdiBitmap::Make(layout->m_nWidth, layout->m_nHeight, 32);
    if (!pBitmap)
        return AddBitmap(nullptr);
    // Keep the header with the colour table resolved to RGB values.
    pBitmap->m_dibInfo.resize(sizeof(BITMAPINFOHEADER) + layout->m_palette.size() * sizeof(RGBQUAD));
    BITMAPINFOHEADER header = pbmi->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biClrUsed = static_cast<DWORD>(layout->m_palette.size());
    header.biSizeImage = static_cast<DWORD>(layout->ImageSize());
    std::memcpy(pBitmap->m_dibInfo.data(), &header, sizeof(header));
    auto* pTable = reinterpret_cast<RGBQUAD*>(pBitmap->m_dibInfo.data() + sizeof(BITMAPINFOHEADER));
    for (size_t i = 0; i < layout->m_palette.size(); ++i) {
        COLORREF cr = ColourFromPixel(layout->m_palette[i]);
        pTable[i] = RGBQUAD { GetBValue(cr), GetGValue(cr), GetRValue(cr), 0 };
    }
    pBitmap->m_pDibBits = std::make_unique<BYTE[]>(layout->ImageSize());
    std::memset(pBitmap->m_pDibBits.get(), 0, layout->ImageSize());
    if (layout->m_nBitCount == 32) {
        cairo_surface_destroy(pBitmap->m_pSurface);
        pBitmap->m_pSurface = nullptr;
        pBitmap->m_bDirect = true;
        // Bottom-up rows run backwards from the last stored one.
        auto nStride = static_cast<ptrdiff_t>(layout->m_nStride);
        pBitmap->m_nDirectStride = layout->m_bTopDown ? nStride : -nStride;
    }
    pBitmap->PullBits();
    if (ppvBits)
        *ppvBits = pBitmap->m_pDibBits.get();
    return AddBitmap(pBitmap);
}

BITMAPINFO TopDownInfo32(int nWidth, int nHeight)
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateDibSection32(int nWidth, int nHeight)
{
    BITMAPINFO info = TopDownInfo32(nWidth, nHeight);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

/*************************************************************************
 * Reading and writing pixels in DIB layout
 *************************************************************************/

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, BITMAPINFO* lpbmi, UINT usage)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap = LookupGdi<CGdiBitmap>(hbm);
    if (!pBitmap || (hdc && !LookupDc(hdc)))
        return 0;
    if (!lpbmi || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    if (!lpvBits && header.biBitCount == 0) {
        header.biWidth = pBitmap->m_nWidth;
        header.biHeight = pBitmap->m_nHeight;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(pBitmap->IsMonochrome() ? 1 : 32);
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(
            (static_cast<size_t>(pBitmap->m_nWidth) * header.biBitCount + 31) / 32 * 4 * pBitmap->m_nHeight);
        header.biClrUsed = 0;
        return 1;
    }
    // The caller's header gives the depth and row order; the size is the bitmap's.
    if (header.biWidth <= 0)
        header.biWidth = pBitmap->m_nWidth;
    if (header.biHeight == 0)
        header.biHeight = pBitmap->m_nHeight;
    std::vector<RGBQUAD> table = StandardColourTable(header.biBitCount);
    header.biClrUsed = 0;
    header.biCompression = BI_RGB;
    std::copy(table.begin(), table.end(), lpbmi->bmiColors);
    std::optional<CDibLayout> layout = CDibLayout::From(lpbmi, DIB_RGB_COLORS, nullptr);
    if (!layout)
        return 0;
    header.biSizeImage = static_cast<DWORD>(layout->ImageSize());
    if (!lpvBits)
        return 1;
    UINT nHeight = static_cast<UINT>(layout->m_nHeight);
    if (start >= nHeight)
        return 0;
    pBitmap->PullBits();
    UINT nLines = std::min(cLines, nHeight - start);
    int nWidth = std::min(layout->m_nWidth, pBitmap->m_nWidth);
    for (UINT nLine = start; nLine < start + nLines; ++nLine) {
        int y = BitmapRowOfLine(*layout, nLine);
        BYTE* pStored = static_cast<BYTE*>(lpvBits) + static_cast<size_t>(nLine - start) * layout->m_nStride;
        std::memset(pStored, 0, layout->m_nStride);
        if (y < 0 || y >= pBitmap->m_nHeight)
            continue;
        const uint32_t* pRow = pBitmap->Row(y);
        for (int x = 0; x < nWidth; ++x)
            layout->WriteRow(pStored, x, pRow[x]);
    }
    return static_cast<int>(nLines);
}

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits, const BITMAPINFO* lpbmi, UINT ColorUse)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap = LookupGdi<CGdiBitmap>(hbm);
    if (!pBitmap || (hdc && !LookupDc(hdc)))
        return 0;
    std::optional<CDibLayout> layout = CDibLayout::From(lpbmi, ColorUse, DcPalette(hdc));
    if (!layout)
        return 0;
    if (!lpBits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return CopyDibLines(*pBitmap, *layout, start, cLines, static_cast<const BYTE*>(lpBits));
}
