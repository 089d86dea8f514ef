#pragma once

// A memory DC over a white colour bitmap, for tests that draw and read pixels.

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"

#include <functional>

class CTestCanvas {
public:
    CTestCanvas(int nWidth, int nHeight, int nBitCount = 32)
        : m_nWidth(nWidth)
        , m_nHeight(nHeight)
    {
        m_hdc = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateBitmap(nWidth, nHeight, 1, nBitCount, nullptr);
        m_hOldBitmap = SelectObject(m_hdc, m_hBitmap);
        PatBlt(m_hdc, 0, 0, nWidth, nHeight, WHITENESS);
    }
    ~CTestCanvas()
    {
        SelectObject(m_hdc, m_hOldBitmap);
        DeleteDC(m_hdc);
        DeleteObject(m_hBitmap);
    }
    CTestCanvas(const CTestCanvas&) = delete;
    CTestCanvas& operator=(const CTestCanvas&) = delete;

    HDC Dc() const { return m_hdc; }
    HBITMAP Bitmap() const { return m_hBitmap; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // Reads a pixel regardless of the DC's clip area and origins.
    COLORREF At(int x, int y) const
    {
        COLORREF crFound = CLR_INVALID;
        ForEach([&](int px, int py, COLORREF cr) {
            if (px == x && py == y)
                crFound = cr;
        });
        return crFound;
    }

    // The pixels that differ from white.
    std::vector<POINT> Marked() const
    {
        std::vector<POINT> marked;
        ForEach([&](int x, int y, COLORREF cr) {
            if (cr != RGB(255, 255, 255))
                marked.push_back(POINT { x, y });
        });
        return marked;
    }

    void ForEach(const std::function<void(int, int, COLORREF)>& fn) const
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = m_nWidth;
        info.bmiHeader.biHeight = -m_nHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<BYTE> bits(static_cast<size_t>(m_nWidth) * m_nHeight * 4);
        GetDIBits(m_hdc, m_hBitmap, 0, m_nHeight, bits.data(), &info, DIB_RGB_COLORS);
        for (int y = 0; y < m_nHeight; ++y) {
            for (int x = 0; x < m_nWidth; ++x) {
                const BYTE* p = &bits[(static_cast<size_t>(y) * m_nWidth + x) * 4];
                fn(x, y, RGB(p[2], p[1], p[0]));
            }
        }
    }

private:
    int m_nWidth;
    int m_nHeight;
    HDC m_hdc { nullptr };
    HBITMAP m_hBitmap { nullptr };
    HGDIOBJ m_hOldBitmap { nullptr };
};
