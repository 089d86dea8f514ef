#include "platform/gdi/Blt.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Regions.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

// The documented meaning of a ternary raster operation, bit by bit: bit
// (4p + 2s + d) of the code's third byte is the result.
COLORREF Rop3ByTable(DWORD dwRop, COLORREF p, COLORREF s, COLORREF d)
{
    COLORREF result = 0;
    for (int nBit = 0; nBit < 24; ++nBit) {
        unsigned nIndex = (((p >> nBit) & 1) << 2) | (((s >> nBit) & 1) << 1) | ((d >> nBit) & 1);
        result |= ((dwRop >> (16 + nIndex)) & 1) << nBit;
    }
    return result;
}

void Fill(const CTestCanvas& canvas, const std::vector<COLORREF>& colours)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            SetPixel(canvas.Dc(), x, y, colours[static_cast<size_t>(y) * canvas.Width() + x]);
}

BITMAPINFO* Info(std::vector<BYTE>& storage, int nWidth, int nHeight, int nBitCount, std::vector<RGBQUAD> palette)
{
    storage.assign(sizeof(BITMAPINFOHEADER) + palette.size() * sizeof(RGBQUAD), 0);
    auto* pInfo = reinterpret_cast<BITMAPINFO*>(storage.data());
    pInfo->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pInfo->bmiHeader.biWidth = nWidth;
    pInfo->bmiHeader.biHeight = nHeight;
    pInfo->bmiHeader.biPlanes = 1;
    pInfo->bmiHeader.biBitCount = static_cast<WORD>(nBitCount);
    pInfo->bmiHeader.biClrUsed = static_cast<DWORD>(palette.size());
    if (!palette.empty())
        std::memcpy(pInfo->bmiColors, palette.data(), palette.size() * sizeof(RGBQUAD));
    return pInfo;
}

}

TEST(BltTest, EveryRasterOperationMatchesItsBooleanTable)
{
    constexpr int W = 8, H = 2;
    std::mt19937 random(11);
    auto colours = [&] {
        std::vector<COLORREF> v;
        for (int i = 0; i < W * H; ++i)
            v.push_back(random() & 0xFFFFFF);
        return v;
    };
    std::vector<COLORREF> pattern = colours(), source = colours(), destination = colours();
    CTestCanvas patternCanvas(W, H), sourceCanvas(W, H);
    Fill(patternCanvas, pattern);
    Fill(sourceCanvas, source);
    // The brush copies the pattern bitmap, which may then go on being selected.
    HBRUSH hBrush = CreatePatternBrush(patternCanvas.Bitmap());
    ASSERT_NE(hBrush, nullptr);
    for (DWORD nCode = 0; nCode < 256; ++nCode) {
        DWORD dwRop = nCode << 16;
        CTestCanvas target(W, H);
        Fill(target, destination);
        SelectObject(target.Dc(), hBrush);
        ASSERT_TRUE(BitBlt(target.Dc(), 0, 0, W, H, sourceCanvas.Dc(), 0, 0, dwRop));
        target.ForEach([&](int x, int y, COLORREF cr) {
            size_t i = static_cast<size_t>(y) * W + x;
            ASSERT_EQ(cr, Rop3ByTable(dwRop, pattern[i], source[i], destination[i]))
                << "code " << std::hex << nCode << " at " << std::dec << x << "," << y;
        });
        SelectObject(target.Dc(), GetStockObject(WHITE_BRUSH));
    }
    DeleteObject(hBrush);
}

TEST(BltTest, CopyWithinOneBitmapReadsEveryPixelBeforeItIsOverwritten)
{
    // Scrolling copies a bitmap onto itself in every direction, through a
    // clip area of several rectangles, sometimes from beyond its edge.
    constexpr int W = 24, H = 16;
    std::mt19937 random(5);
    std::vector<COLORREF> before(W * H);
    for (COLORREF& cr : before)
        cr = random() & 0xFFFFFF;
    CTestCanvas canvas(W, H);
    for (int dy : { -3, 0, 2 }) {
        for (int dx : { -5, 0, 4 }) {
            Fill(canvas, before);
            HRGN hClip = CreateRectRgn(1, 1, 20, 6);
            HRGN hMore = CreateRectRgn(6, 4, 23, 15);
            CombineRgn(hClip, hClip, hMore, RGN_OR);
            SelectClipRgn(canvas.Dc(), hClip);
            // Source (0, -2) to (22, 14) lies partly above the bitmap.
            ASSERT_TRUE(BitBlt(canvas.Dc(), dx, dy - 2, 22, 16, canvas.Dc(), 0, -2, SRCCOPY));
            SelectClipRgn(canvas.Dc(), nullptr);
            canvas.ForEach([&](int x, int y, COLORREF cr) {
                const int sx = x - dx, sy = y - dy;
                const bool bCopied = PtInRegion(hClip, x, y) && x >= dx && x < dx + 22 && y >= dy - 2 && y < dy + 14
                    && sx >= 0 && sx < W && sy >= 0 && sy < H;
                const COLORREF crExpected
                    = bCopied ? before[static_cast<size_t>(sy) * W + sx] : before[static_cast<size_t>(y) * W + x];
                ASSERT_EQ(cr, crExpected) << "moved " << dx << "," << dy << " at " << x << "," << y;
            });
            DeleteObject(hMore);
            DeleteObject(hClip);
        }
    }
}

TEST(BltTest, MonochromeSourcePaintsInTextAndBackgroundColours)
{
    CTestCanvas mono(4, 1, 1);
    SetPixel(mono.Dc(), 0, 0, RGB(0, 0, 0));
    SetPixel(mono.Dc(), 1, 0, RGB(255, 255, 255));
    SetPixel(mono.Dc(), 2, 0, RGB(10, 10, 10));    // nearer black
    SetPixel(mono.Dc(), 3, 0, RGB(240, 240, 240)); // nearer white
    CTestCanvas colour(4, 1);
    SetTextColor(colour.Dc(), RGB(200, 0, 0));
    SetBkColor(colour.Dc(), RGB(0, 0, 200));
    ASSERT_TRUE(BitBlt(colour.Dc(), 0, 0, 4, 1, mono.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(colour.At(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(colour.At(1, 0), RGB(0, 0, 200));
    EXPECT_EQ(colour.At(2, 0), RGB(200, 0, 0));
    EXPECT_EQ(colour.At(3, 0), RGB(0, 0, 200));
}

TEST(BltTest, ColourSourceBecomesWhiteWhereItMatchesItsBackground)
{
    CTestCanvas colour(3, 1);
    SetPixel(colour.Dc(), 0, 0, RGB(0, 255, 0));
    SetPixel(colour.Dc(), 1, 0, RGB(255, 255, 255));
    SetPixel(colour.Dc(), 2, 0, RGB(0, 250, 0));
    SetBkColor(colour.Dc(), RGB(0, 255, 0));
    // A memory DC starts with a monochrome bitmap, so compatible bitmaps are monochrome.
    HDC hMonoDc = CreateCompatibleDC(nullptr);
    HBITMAP hMono = CreateCompatibleBitmap(hMonoDc, 3, 1);
    BITMAP bm {};
    GetObject(hMono, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HGDIOBJ hOld = SelectObject(hMonoDc, hMono);
    ASSERT_TRUE(BitBlt(hMonoDc, 0, 0, 3, 1, colour.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(hMonoDc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(hMonoDc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(hMonoDc, 2, 0), RGB(0, 0, 0));
    SelectObject(hMonoDc, hOld);
    DeleteObject(hMono);
    DeleteDC(hMonoDc);
}

TEST(BltTest, StretchMirrorsAndHalftoneAverages)
{
    CTestCanvas source(4, 1);
    Fill(source, { RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255) });
    CTestCanvas target(4, 1);
    // A negative width mirrors: the destination spans x + width to x - 1.
    ASSERT_TRUE(StretchBlt(target.Dc(), 4, 0, -4, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(target.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.At(3, 0), RGB(0, 0, 0));

    CTestCanvas halved(2, 1);
    SetStretchBltMode(halved.Dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(halved.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(halved.At(0, 0), RGB(127, 127, 127));
    EXPECT_EQ(halved.At(1, 0), RGB(127, 0, 127));
}

TEST(BltTest, TransparentBltSkipsTheKeyColour)
{
    CTestCanvas source(3, 1);
    Fill(source, { RGB(255, 0, 255), RGB(1, 2, 3), RGB(255, 0, 255) });
    CTestCanvas target(3, 1);
    Fill(target, { RGB(9, 9, 9), RGB(9, 9, 9), RGB(9, 9, 9) });
    ASSERT_TRUE(TransparentBlt(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(target.At(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(target.At(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(target.At(2, 0), RGB(9, 9, 9));
}

TEST(BltTest, DibBitsOfEveryDepthAndOrderRoundTrip)
{
    constexpr int W = 5, H = 3;
    std::vector<RGBQUAD> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back(
            RGBQUAD { static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 8), static_cast<BYTE>(i), 0 });
    for (int nBitCount : { 1, 4, 8, 24, 32 }) {
        for (int nOrder : { 1, -1 }) {
            std::vector<RGBQUAD> palette;
            if (nBitCount == 1)
                palette = { RGBQUAD { 0, 0, 255, 0 }, RGBQUAD { 0, 255, 0, 0 } };
            else if (nBitCount <= 8)
                palette = sixteen;
            std::vector<BYTE> storage;
            BITMAPINFO* pInfo = Info(storage, W, nOrder * H, nBitCount, palette);
            void* pvBits = nullptr;
            HBITMAP hDib = CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0);
            ASSERT_NE(hDib, nullptr);
            // Write a pattern into the bits directly, through the caller's view of the layout.
            size_t nStride = (W * nBitCount + 31) / 32 * 4;
            auto* pBits = static_cast<BYTE*>(pvBits);
            std::vector<COLORREF> expected(W * H);
            for (int y = 0; y < H; ++y) {
                BYTE* pRow = pBits + (nOrder > 0 ? H - 1 - y : y) * nStride;
                for (int x = 0; x < W; ++x) {
                    int n = (x + 2 * y) % (nBitCount == 1 ? 2 : 16);
                    if (nBitCount <= 8) {
                        int nBit = x * nBitCount;
                        pRow[nBit / 8] |= static_cast<BYTE>(n << (8 - nBitCount - nBit % 8));
                        expected[y * W + x] = RGB(palette[n].rgbRed, palette[n].rgbGreen, palette[n].rgbBlue);
                    } else {
                        BYTE* p = pRow + x * (nBitCount / 8);
                        p[0] = static_cast<BYTE>(10 * n);
                        p[1] = static_cast<BYTE>(20 + n);
                        p[2] = static_cast<BYTE>(200 - n);
                        expected[y * W + x] = RGB(200 - n, 20 + n, 10 * n);
                    }
                }
            }
            HDC hdc = CreateCompatibleDC(nullptr);
            HGDIOBJ hOld = SelectObject(hdc, hDib);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    ASSERT_EQ(GetPixel(hdc, x, y), expected[y * W + x]) << nBitCount << " bits, order " << nOrder;

            // Drawing writes back into the bits: a pixel set to a palette colour reads back as that index.
            SetPixel(hdc, 0, 0, expected[W + 1]);
            std::vector<BYTE> copy(pBits, pBits + nStride * H);
            SetDIBits(hdc, hDib, 0, H, copy.data(), pInfo, DIB_RGB_COLORS);
            EXPECT_EQ(GetPixel(hdc, 0, 0), expected[W + 1]);

            // And through a device bitmap and back as 32 bits.
            HBITMAP hDevice = CreateDIBitmap(nullptr, &pInfo->bmiHeader, CBM_INIT, pBits, pInfo, DIB_RGB_COLORS);
            std::vector<BYTE> info32;
            BITMAPINFO* pInfo32 = Info(info32, W, -H, 32, {});
            std::vector<BYTE> bits32(W * H * 4);
            EXPECT_EQ(GetDIBits(hdc, hDevice, 0, H, bits32.data(), pInfo32, DIB_RGB_COLORS), H);
            for (int y = 0; y < H; ++y) {
                for (int x = 0; x < W; ++x) {
                    const BYTE* p = &bits32[(y * W + x) * 4];
                    COLORREF cr = x == 0 && y == 0 ? expected[W + 1] : expected[y * W + x];
                    EXPECT_EQ(RGB(p[2], p[1], p[0]), cr) << nBitCount << " bits at " << x << "," << y;
                }
            }
            SelectObject(hdc, hOld);
            DeleteDC(hdc);
            DeleteObject(hDevice);
            DeleteObject(hDib);
        }
    }
}

TEST(BltTest, StretchDibitsCountsBottomUpRowsFromTheBottom)
{
    // A 1x2 bottom-up DIB: the first stored row is the bottom one.
    std::vector<BYTE> storage;
    BITMAPINFO* pInfo = Info(storage, 1, 2, 32, {});
    BYTE bits[] = { 0, 0, 255, 0, 255, 0, 0, 0 }; // bottom red, top blue
    CTestCanvas target(1, 2);
    EXPECT_EQ(StretchDIBits(target.Dc(), 0, 0, 1, 2, 0, 0, 1, 2, bits, pInfo, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(target.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.At(0, 1), RGB(255, 0, 0));
    // Source row 0 from the bottom alone.
    EXPECT_EQ(StretchDIBits(target.Dc(), 0, 0, 1, 1, 0, 0, 1, 1, bits, pInfo, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(target.At(0, 0), RGB(255, 0, 0));
}

TEST(BltTest, MalformedDibHeadersAreRefused)
{
    std::vector<BYTE> storage;
    BITMAPINFO* pInfo = Info(storage, 4, 4, 7, {});
    void* pvBits = nullptr;
    EXPECT_EQ(CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0), nullptr);
    pInfo = Info(storage, -4, 4, 32, {});
    EXPECT_EQ(CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0), nullptr);
    pInfo = Info(storage, 100000, 100000, 32, {});
    EXPECT_EQ(CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &pvBits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateBitmap(0, 5, 1, 32, nullptr), nullptr);
}

TEST(BltTest, TopBytesOfThirtyTwoBitDibsDoNotChangeColours)
{
    // Programs often leave an alpha value in the fourth byte of 32-bit pixels.
    std::vector<BYTE> storage;
    BITMAPINFO* pInfo = Info(storage, 2, 1, 32, {});
    void* pvBits = nullptr;
    HBITMAP hDib = CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    ASSERT_NE(hDib, nullptr);
    auto* pPixels = static_cast<DWORD*>(pvBits);
    pPixels[0] = 0xFFFF00FF; // magenta, opaque
    pPixels[1] = 0xFF010203;
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hDib);
    CTestCanvas target(2, 1);
    ASSERT_TRUE(TransparentBlt(target.Dc(), 0, 0, 2, 1, hdc, 0, 0, 2, 1, RGB(255, 0, 255)));
    EXPECT_EQ(target.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(target.At(1, 0), RGB(1, 2, 3));
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(ExtFloodFill(hdc, 0, 0, RGB(255, 0, 255), FLOODFILLSURFACE));
    EXPECT_EQ(pPixels[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(pPixels[1], 0xFF010203u);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hDib);
}
