// The X11 display's icons as pixels: the window's icon drawn at 16 and 32
// pixels into _NET_WM_ICON (ARGB rows, each size led by its width and
// height), and the pixels the tray and the cursors show. Drawn once on black
// and once on white, a pixel that differs is where the background shows:
// transparent.

#include "platform/display/X11DisplayInternal.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"

#include <algorithm>

#include <X11/Xatom.h>

namespace {

// The icon's pixels at one size, drawn over a background of one colour.
std::vector<uint32_t> IconOver(HICON hIcon, int cx, int cy, uint32_t nBackground)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    std::vector<uint32_t> pixels;
    if (!hbm)
        return pixels;
    std::fill_n(static_cast<uint32_t*>(pBits), static_cast<size_t>(cx) * cy, nBackground);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    DrawIconEx(hdc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    const auto* pPixels = static_cast<const uint32_t*>(pBits);
    pixels.assign(pPixels, pPixels + static_cast<size_t>(cx) * cy);
    DeleteObject(hbm);
    return pixels;
}

}

std::vector<uint32_t> IconPixels(HICON hIcon, int cx, int cy)
{
    std::vector<uint32_t> onBlack = IconOver(hIcon, cx, cy, 0x000000);
    std::vector<uint32_t> onWhite = IconOver(hIcon, cx, cy, 0xFFFFFF);
    if (onBlack.size() != onWhite.size())
        return {};
    for (size_t i = 0; i < onBlack.size(); ++i) {
        bool bTransparent = (onBlack[i] & 0xFFFFFF) != (onWhite[i] & 0xFFFFFF);
        onBlack[i] = bTransparent ? 0 : 0xFF000000u | (onBlack[i] & 0xFFFFFF);
    }
    return onBlack;
}

void CX11State::SetIcon(x11::CTopLevel& window)
{
    if (!window.look.hIcon) {
        XDeleteProperty(m_pDisplay, window.window, m_atoms._NET_WM_ICON);
        return;
    }
    std::vector<long> value;
    for (int nSize : { 16, 32 }) {
        std::vector<uint32_t> pixels = IconPixels(window.look.hIcon, nSize, nSize);
        if (pixels.empty())
            continue;
        value.push_back(nSize);
        value.push_back(nSize);
        value.insert(value.end(), pixels.begin(), pixels.end());
    }
    XChangeProperty(m_pDisplay, window.window, m_atoms._NET_WM_ICON, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(value.data()), static_cast<int>(value.size()));
}
