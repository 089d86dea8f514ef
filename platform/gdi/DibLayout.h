#pragma once

// The layout of device-independent bitmap bits described by a BITMAPINFO:
// 1, 4 and 8 bits through a colour table, 16 bits as 5-5-5, 24 and 32 bits as
// blue, green, red. Rows are padded to 4 bytes and stored bottom-up for a
// positive height, top-down for a negative one.

#include "platform/gdi/GdiInternal.h"

#include <optional>
#include <vector>

class CDibLayout {
public:
    // The layout, or nothing (with ERROR_INVALID_PARAMETER) for a header we do
    // not read. DIB_PAL_COLORS tables index `pPalette`.
    [[nodiscard]] static std::optional<CDibLayout> From(
        const BITMAPINFO* pbmi, UINT nUsage, const CGdiPalette* pPalette);

    // The pixel at column x of row y, rows counted from the top.
    uint32_t Read(const BYTE* pBits, int x, int y) const { return ReadRow(pBits + RowOffset(y), x); }
    void Write(BYTE* pBits, int x, int y, uint32_t nPixel) const { WriteRow(pBits + RowOffset(y), x, nPixel); }
    // The same within one stored row.
    uint32_t ReadRow(const BYTE* pRow, int x) const;
    void WriteRow(BYTE* pRow, int x, uint32_t nPixel) const;
    // Where row y (from the top) starts.
    size_t RowOffset(int y) const;
    size_t ImageSize() const { return m_nStride * static_cast<size_t>(m_nHeight); }

    int m_nWidth { 0 };
    int m_nHeight { 0 };
    int m_nBitCount { 0 };
    bool m_bTopDown { false };
    size_t m_nStride { 0 };
    std::vector<uint32_t> m_palette; // pixels

private:
    uint32_t NearestIndex(uint32_t nPixel) const;
};

// The largest bitmap we make: 2^28 pixels.
constexpr long long MAX_BITMAP_PIXELS = 1LL << 28;
