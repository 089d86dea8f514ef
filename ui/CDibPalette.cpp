#include "ui/CDibPalette.h"

#include "platform/framework/CDC.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/PictureColorTable.h"
#include "platform/gdi/Pictures.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <cstddef>
#include <vector>

namespace {

constexpr WORD PALETTE_VERSION = 0x300;

} // namespace

void CDibPalette::DeleteObjects()
{
    if (m_hPalette)
        DeleteObject(m_hPalette);
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hPalette = nullptr;
    m_hBitmap = nullptr;
}

HPALETTE CDibPalette::MakePalette(const RGBQUAD* pColors, int nColors)
{
    // LOGPALETTE ends in a one-entry array: the block holds all the entries.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(nColors));
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    pLogPalette->palVersion = PALETTE_VERSION;
    pLogPalette->palNumEntries = static_cast<WORD>(nColors);
    for (int i = 0; i < nColors; ++i)
        pLogPalette->palPalEntry[i] = PALETTEENTRY { pColors[i].rgbRed, pColors[i].rgbGreen, pColors[i].rgbBlue, 0 };
    return CreatePalette(pLogPalette);
}

BOOL CDibPalette::CreatePaletteFromDib(const BITMAPINFOHEADER* pHeader, int* pnColors)
{
    if (pHeader->biBitCount > 8) {
        *pnColors = 0;
        return TRUE;
    }
    *pnColors = 1 << pHeader->biBitCount;
    const auto* pColors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(pHeader) + pHeader->biSize);
    m_hPalette = MakePalette(pColors, *pnColors);
    return m_hPalette ? TRUE : FALSE;
}

HBITMAP CDibPalette::LoadResource(CDC* pDC, HMODULE hModule, UINT nID)
{
    DeleteObjects();
    HRSRC hInfo = FindResource(hModule, MAKEINTRESOURCE(nID), RT_BITMAP);
    HGLOBAL hData = hInfo ? ::LoadResource(hModule, hInfo) : nullptr;
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData)
        return nullptr;
    const DWORD cbData = SizeofResource(hModule, hInfo);
    int nBitDepth = 0;
    std::vector<RGBQUAD> colors;
    if (!ReadPictureColorTable(pData, cbData, &nBitDepth, &colors))
        return nullptr;
    HBITMAP hBitmap = DecodePicture(pData, cbData);
    if (!hBitmap)
        return nullptr;
    if (!colors.empty()) {
        m_hPalette = MakePalette(colors.data(), static_cast<int>(colors.size()));
        if (m_hPalette && pDC) {
            SelectPalette(pDC->GetSafeHdc(), m_hPalette, FALSE);
            RealizePalette(pDC->GetSafeHdc());
        }
    }
    m_hBitmap = hBitmap;
    return m_hBitmap;
}

BOOL CDibPalette::Realize(CDC* pDC)
{
    if (!m_hPalette)
        return FALSE;
    HPALETTE hPrevious = SelectPalette(pDC->GetSafeHdc(), m_hPalette, FALSE);
    const UINT nChanged = RealizePalette(pDC->GetSafeHdc());
    SelectPalette(pDC->GetSafeHdc(), hPrevious, FALSE);
    return nChanged > 0 ? TRUE : FALSE;
}

BOOL CDibPalette::Draw(CDC* pDC)
{
    BITMAP bm {};
    if (!m_hBitmap || GetObject(m_hBitmap, sizeof(bm), &bm) == 0)
        return FALSE;
    RECT client {};
    GetClientRect(WindowFromDC(pDC->GetSafeHdc()), &client);
    CDC bitmapDC;
    if (!bitmapDC.CreateCompatibleDC(pDC))
        return FALSE;
    HGDIOBJ hOld = bitmapDC.SelectObject(m_hBitmap);
    pDC->BitBlt((client.right - bm.bmWidth) / 2, (client.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, &bitmapDC,
        0, 0, SRCCOPY);
    bitmapDC.SelectObject(hOld);
    return TRUE;
}
