#include "platform/gdi/DibLayout.h"

#include <climits>
#include <cstdlib>

std::optional<CDibLayout> CDibLayout::From(const BITMAPINFO* pbmi, UINT nUsage, const CGdiPalette* pPalette)
{
    auto refuse = []() -> std::optional<CDibLayout> {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    };
    if (!pbmi)
        return refuse();
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    int nBitCount = header.biBitCount;
    bool bKnownDepth
        = nBitCount == 1 || nBitCount == 4 || nBitCount == 8 || nBitCount == 16 || nBitCount == 24 || nBitCount == 32;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0
        || header.biHeight == INT_MIN || !bKnownDepth || header.biCompression != BI_RGB
        || static_cast<long long>(header.biWidth) * std::abs(static_cast<long long>(header.biHeight))
            > MAX_BITMAP_PIXELS)
        return refuse();

    CDibLayout layout;
    layout.m_nWidth = header.biWidth;
    layout.m_nHeight = std::abs(header.biHeight);
    layout.m_bTopDown = header.biHeight < 0;
    layout.m_nBitCount = nBitCount;
    layout.m_nStride = (static_cast<size_t>(header.biWidth) * nBitCount + 31) / 32 * 4;
    if (nBitCount <= 8) {
        DWORD nMax = 1u << nBitCount;
        DWORD nColours = header.biClrUsed == 0 || header.biClrUsed > nMax ? nMax : header.biClrUsed;
        const BYTE* pTable = reinterpret_cast<const BYTE*>(pbmi) + header.biSize;
        for (DWORD i = 0; i < nColours; ++i) {
            if (nUsage == DIB_PAL_COLORS) {
                WORD nIndex = reinterpret_cast<const WORD*>(pTable)[i];
                PALETTEENTRY entry {};
                if (pPalette && nIndex < pPalette->m_entries.size())
                    entry = pPalette->m_entries[nIndex];
                layout.m_palette.push_back(PixelFromColour(RGB(entry.peRed, entry.peGreen, entry.peBlue), false));
            } else {
                const RGBQUAD& quad = reinterpret_cast<const RGBQUAD*>(pTable)[i];
                layout.m_palette.push_back(PixelFromColour(RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue), false));
            }
        }
    }
    return layout;
}

size_t CDibLayout::RowOffset(int y) const
{
    size_t nRow = m_bTopDown ? static_cast<size_t>(y) : static_cast<size_t>(m_nHeight - 1 - y);
    return nRow * m_nStride;
}

uint32_t CDibLayout::ReadRow(const BYTE* pRow, int x) const
{
    switch (m_nBitCount) {
    case 1:
    case 4:
    case 8: {
        int nBitOffset = x * m_nBitCount;
        int nShift = 8 - m_nBitCount - nBitOffset % 8;
        unsigned nIndex = (pRow[nBitOffset / 8] >> nShift) & ((1u << m_nBitCount) - 1);
        return nIndex < m_palette.size() ? m_palette[nIndex] : 0;
    }
    case 16: {
        unsigned nValue = pRow[2 * x] | (pRow[2 * x + 1] << 8);
        auto expand = [](unsigned n) { return (n << 3) | (n >> 2); };
        return (expand((nValue >> 10) & 31) << 16) | (expand((nValue >> 5) & 31) << 8) | expand(nValue & 31);
    }
    case 24:
        return (pRow[3 * x + 2] << 16) | (pRow[3 * x + 1] << 8) | pRow[3 * x];
    default:
        return (pRow[4 * x + 2] << 16) | (pRow[4 * x + 1] << 8) | pRow[4 * x];
    }
}

uint32_t CDibLayout::NearestIndex(uint32_t nPixel) const
{
    uint32_t nBest = 0;
    long nBestDistance = LONG_MAX;
    for (uint32_t i = 0; i < m_palette.size(); ++i) {
        long dr = static_cast<long>((m_palette[i] >> 16) & 0xFF) - static_cast<long>((nPixel >> 16) & 0xFF);
        long dg = static_cast<long>((m_palette[i] >> 8) & 0xFF) - static_cast<long>((nPixel >> 8) & 0xFF);
        long db = static_cast<long>(m_palette[i] & 0xFF) - static_cast<long>(nPixel & 0xFF);
        long nDistance = dr * dr + dg * dg + db * db;
        if (nDistance < nBestDistance) {
            nBest = i;
            nBestDistance = nDistance;
        }
    }
    return nBest;
}

void CDibLayout::WriteRow(BYTE* pRow, int x, uint32_t nPixel) const
{
    BYTE r = (nPixel >> 16) & 0xFF, g = (nPixel >> 8) & 0xFF, b = nPixel & 0xFF;
    switch (m_nBitCount) {
    case 1:
    case 4:
    case 8: {
        int nBitOffset = x * m_nBitCount;
        int nShift = 8 - m_nBitCount - nBitOffset % 8;
        BYTE nMask = static_cast<BYTE>(((1u << m_nBitCount) - 1) << nShift);
        BYTE& nByte = pRow[nBitOffset / 8];
        nByte = static_cast<BYTE>((nByte & ~nMask) | ((NearestIndex(nPixel) << nShift) & nMask));
        break;
    }
    case 16: {
        unsigned nValue = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        pRow[2 * x] = nValue & 0xFF;
        pRow[2 * x + 1] = (nValue >> 8) & 0xFF;
        break;
    }
    case 24:
        pRow[3 * x] = b;
        pRow[3 * x + 1] = g;
        pRow[3 * x + 2] = r;
        break;
    default:
        pRow[4 * x] = b;
        pRow[4 * x + 1] = g;
        pRow[4 * x + 2] = r;
        pRow[4 * x + 3] = 0;
        break;
    }
}
