#include "platform/gdi/Icons.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/gdi/Blt.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A 4x4 RGBA PNG: the left two columns opaque red, the right two fully
// transparent green.
constexpr BYTE HALF_CLEAR_PNG[] = { 0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x08, 0x06, 0x00, 0x00, 0x00, 0xA9, 0xF1, 0x9E, 0x7E,
    0x00, 0x00, 0x00, 0x15, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x84, 0x81, 0x90,
    0x01, 0x86, 0x49, 0x14, 0x00, 0x00, 0x51, 0x1D, 0x17, 0xE9, 0x55, 0xEB, 0xD2, 0x18, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82 };

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

HICON HalfClearIcon()
{
    return CreateIconFromPicture(HALF_CLEAR_PNG, sizeof(HALF_CLEAR_PNG));
}

void Fill(CTestCanvas& canvas, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    RECT rc { 0, 0, canvas.Width(), canvas.Height() };
    FillRect(canvas.Dc(), &rc, hBrush);
    DeleteObject(hBrush);
}

// An icon of one colour whose left `nOpaque` columns are opaque.
HICON SolidIcon(int cx, int cy, COLORREF cr, int nOpaque)
{
    CTestCanvas colour(cx, cy);
    CTestCanvas mask(cx, cy, 1);
    Fill(colour, BLACK);
    PatBlt(mask.Dc(), 0, 0, nOpaque, cy, BLACKNESS);
    HBRUSH hBrush = CreateSolidBrush(cr);
    RECT rc { 0, 0, nOpaque, cy };
    FillRect(colour.Dc(), &rc, hBrush);
    DeleteObject(hBrush);
    // The bitmaps must not stay selected while the icon copies them.
    HBITMAP hColour = CreateBitmap(cx, cy, 1, 32, nullptr);
    HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hColour);
    BitBlt(hdc, 0, 0, cx, cy, colour.Dc(), 0, 0, SRCCOPY);
    SelectObject(hdc, hMask);
    BitBlt(hdc, 0, 0, cx, cy, mask.Dc(), 0, 0, SRCCOPY);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ICONINFO info { TRUE, 0, 0, hMask, hColour };
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hMask);
    DeleteObject(hColour);
    return hIcon;
}

}

/* Drawing with the mask taken from the picture's alpha. */

TEST(IconsTest, DrawIconExShowsTheBackgroundWhereThePictureIsTransparent)
{
    HICON hIcon = HalfClearIcon();
    ASSERT_NE(hIcon, nullptr);
    CTestCanvas canvas(8, 8);
    Fill(canvas, BLUE);
    // The DC's own colours must not leak into the mask.
    SetTextColor(canvas.Dc(), RGB(0, 255, 0));
    SetBkColor(canvas.Dc(), RGB(255, 0, 255));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 2, 2, hIcon, 0, 0, 0, nullptr, DI_NORMAL));
    for (int y = 2; y < 6; ++y) {
        EXPECT_EQ(canvas.At(2, y), RED);
        EXPECT_EQ(canvas.At(3, y), RED);
        EXPECT_EQ(canvas.At(4, y), BLUE);
        EXPECT_EQ(canvas.At(5, y), BLUE);
    }
    EXPECT_EQ(canvas.At(1, 2), BLUE);
    EXPECT_EQ(canvas.At(2, 6), BLUE);
    EXPECT_TRUE(DestroyIcon(hIcon));
}

TEST(IconsTest, DrawIconExStretchesMaskAndImageTogether)
{
    HICON hIcon = HalfClearIcon();
    CTestCanvas canvas(8, 8);
    Fill(canvas, BLUE);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, hIcon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(3, 7), RED);
    EXPECT_EQ(canvas.At(4, 0), BLUE);
    DestroyIcon(hIcon);
}

TEST(IconsTest, DrawIconExPartsDrawMaskOrImageAlone)
{
    HICON hIcon = HalfClearIcon();
    CTestCanvas canvas(4, 4);
    Fill(canvas, BLUE);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, hIcon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_EQ(canvas.At(0, 0), BLACK);
    EXPECT_EQ(canvas.At(3, 3), WHITE);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, hIcon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(canvas.At(0, 0), RED);
    EXPECT_EQ(canvas.At(3, 3), BLACK);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, hIcon, 0, 0, 0, nullptr, 0));
    DestroyIcon(hIcon);
}

TEST(IconsTest, FlickerFreeBrushFillsTheTransparentPart)
{
    HICON hIcon = HalfClearIcon();
    CTestCanvas canvas(4, 4);
    Fill(canvas, BLUE);
    HBRUSH hBrush = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, hIcon, 0, 0, 0, hBrush, DI_NORMAL));
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(3, 1), RGB(0, 255, 0));
    DeleteObject(hBrush);
    DestroyIcon(hIcon);
}

/* Icon objects. */

TEST(IconsTest, IconsKeepTheirOwnCopiesOfTheBitmaps)
{
    HICON hIcon = SolidIcon(4, 4, RED, 2);
    ASSERT_NE(hIcon, nullptr);
    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info));
    BITMAP bm {};
    GetObject(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 4);
    // Deleting what GetIconInfo gave leaves the icon whole.
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    HICON hCopy = CopyIcon(hIcon);
    ASSERT_NE(hCopy, nullptr);
    EXPECT_TRUE(DestroyIcon(hIcon));
    CTestCanvas canvas(4, 4);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, hCopy));
    EXPECT_EQ(canvas.At(1, 0), RED);
    EXPECT_EQ(canvas.At(2, 0), WHITE);
    EXPECT_TRUE(DestroyIcon(hCopy));
}

TEST(IconsTest, BadIconsAndHandlesAreRefused)
{
    HBITMAP hMask = CreateBitmap(4, 4, 1, 1, nullptr);
    HBITMAP hColour = CreateBitmap(5, 4, 1, 32, nullptr);
    ICONINFO info { TRUE, 0, 0, hMask, hColour };
    EXPECT_EQ(CreateIconIndirect(&info), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    info.hbmMask = nullptr;
    EXPECT_EQ(CreateIconIndirect(&info), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
    DeleteObject(hMask);
    DeleteObject(hColour);

    HICON hIcon = SolidIcon(2, 2, RED, 1);
    EXPECT_TRUE(DestroyIcon(hIcon));
    EXPECT_FALSE(DestroyIcon(hIcon));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CTestCanvas canvas(2, 2);
    EXPECT_FALSE(DrawIcon(canvas.Dc(), 0, 0, hIcon));
    EXPECT_EQ(CreateIconFromPicture("no picture", 10), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST(IconsTest, MonochromeIconSplitsItsMaskBitmap)
{
    // Top half the AND mask (all 0: opaque), bottom half the XOR image (white).
    HBITMAP hBoth = CreateBitmap(2, 4, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBoth);
    PatBlt(hdc, 0, 2, 2, 2, WHITENESS);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ICONINFO info { TRUE, 0, 0, hBoth, nullptr };
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hBoth);
    ASSERT_NE(hIcon, nullptr);
    CTestCanvas canvas(2, 2);
    Fill(canvas, BLUE);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, hIcon));
    EXPECT_EQ(canvas.At(0, 0), WHITE);
    EXPECT_EQ(canvas.At(1, 1), WHITE);
    DestroyIcon(hIcon);
}

/* Standard and resource icons. */

TEST(IconsTest, StandardIconsAreSharedAndSurviveDestroy)
{
    HICON hError = LoadIcon(nullptr, IDI_ERROR);
    ASSERT_NE(hError, nullptr);
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), hError);
    EXPECT_NE(LoadIcon(nullptr, IDI_QUESTION), hError);
    EXPECT_TRUE(DestroyIcon(hError));
    CTestCanvas canvas(ICON_DEFAULT_SIZE, ICON_DEFAULT_SIZE);
    Fill(canvas, BLUE);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, hError));
    EXPECT_EQ(canvas.At(0, 0), BLUE); // the corner lies outside the disc
    EXPECT_EQ(canvas.At(6, ICON_DEFAULT_SIZE / 2), RGB(204, 0, 0));
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(IconsTest, LoadIconAndLoadImageReadPictureResources)
{
    TempFolder temp;
    {
        std::ofstream png(temp / "half.png", std::ios::binary);
        png.write(reinterpret_cast<const char*>(HALF_CLEAR_PNG), sizeof(HALF_CLEAR_PNG));
    }
    temp.WriteFile("icons.rc", "5 ICON \"half.png\"\n6 CURSOR \"half.png\"\n");
    fs::path module = temp / "icons.dll";
    std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + (temp / "icons.rc").string() + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    ASSERT_NE(hModule, nullptr);

    HICON hIcon = LoadIcon(hModule, MAKEINTRESOURCE(5));
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(LoadIcon(hModule, MAKEINTRESOURCE(5)), hIcon);
    EXPECT_EQ(LoadIcon(hModule, MAKEINTRESOURCE(6)), nullptr);
    auto hBig = static_cast<HICON>(LoadImage(hModule, MAKEINTRESOURCE(5), IMAGE_ICON, 8, 8, LR_DEFAULTCOLOR));
    ASSERT_NE(hBig, nullptr);
    EXPECT_NE(hBig, hIcon);
    CTestCanvas canvas(8, 8);
    Fill(canvas, BLUE);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, hBig));
    EXPECT_EQ(canvas.At(3, 3), RED);
    EXPECT_EQ(canvas.At(4, 3), BLUE);
    DestroyIcon(hBig);

    // A cursor's picture carries no hot spot: it is the top-left pixel, where the tip is drawn.
    auto hCursor = static_cast<HCURSOR>(LoadImage(hModule, MAKEINTRESOURCE(6), IMAGE_CURSOR, 0, 0, LR_SHARED));
    ASSERT_NE(hCursor, nullptr);
    ICONINFO cursor {};
    ASSERT_TRUE(GetIconInfo(hCursor, &cursor));
    EXPECT_FALSE(cursor.fIcon);
    EXPECT_EQ(cursor.xHotspot, 0u);
    EXPECT_EQ(cursor.yHotspot, 0u);
    DeleteObject(cursor.hbmMask);
    DeleteObject(cursor.hbmColor);

    std::string strFile = ProgramPathFromHostPath((temp / "half.png").string());
    auto hFromFile = static_cast<HICON>(LoadImage(nullptr, strFile.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(hFromFile, nullptr);
    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(hFromFile, &info));
    BITMAP bm {};
    GetObject(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(hFromFile);
    FreeLibrary(hModule);
}

TEST(IconsTest, LoadImageMakesADibSectionOnlyWhenAsked)
{
    TempFolder temp;
    temp.WriteFile("half.png", std::string_view(reinterpret_cast<const char*>(HALF_CLEAR_PNG), sizeof(HALF_CLEAR_PNG)));
    std::string strFile = ProgramPathFromHostPath((temp / "half.png").string());
    struct Case {
        UINT fuLoad;
        int cx;
        bool bDib;
    };
    for (Case c : { Case { LR_LOADFROMFILE, 0, false }, Case { LR_LOADFROMFILE | LR_CREATEDIBSECTION, 0, true },
             Case { LR_LOADFROMFILE | LR_CREATEDIBSECTION, 8, true }, Case { LR_LOADFROMFILE, 8, false } }) {
        auto hBitmap = static_cast<HBITMAP>(LoadImage(nullptr, strFile.c_str(), IMAGE_BITMAP, c.cx, c.cx, c.fuLoad));
        ASSERT_NE(hBitmap, nullptr);
        BITMAP bm {};
        ASSERT_TRUE(GetObject(hBitmap, sizeof(bm), &bm));
        int nSize = c.cx ? c.cx : 4;
        EXPECT_EQ(bm.bmWidth, nSize);
        EXPECT_EQ(bm.bmHeight, nSize);
        EXPECT_EQ(bm.bmBits != nullptr, c.bDib);
        CTestCanvas canvas(nSize, nSize);
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        BitBlt(canvas.Dc(), 0, 0, nSize, nSize, hdc, 0, 0, SRCCOPY);
        EXPECT_EQ(canvas.At(0, 0), RED);
        EXPECT_EQ(canvas.At(nSize / 2 - 1, nSize - 1), RED);
        if (c.bDib) {
            // The program's writes to the bits are the bitmap's pixels.
            static_cast<DWORD*>(bm.bmBits)[0] = 0x000000FF;
            BitBlt(canvas.Dc(), 0, 0, nSize, nSize, hdc, 0, 0, SRCCOPY);
            EXPECT_EQ(canvas.At(0, 0), BLUE);
        }
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hBitmap);
    }
}

/* Masked transfer. */

TEST(IconsTest, MaskBltPicksForegroundWhereTheMaskIsSet)
{
    CTestCanvas source(4, 2);
    Fill(source, RED);
    HBITMAP hMask = CreateBitmap(4, 2, 1, 1, nullptr);
    HDC hdcMask = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdcMask, hMask);
    PatBlt(hdcMask, 0, 0, 2, 2, WHITENESS);
    SelectObject(hdcMask, hOld);
    DeleteDC(hdcMask);

    CTestCanvas canvas(6, 2);
    Fill(canvas, BLUE);
    constexpr DWORD KEEP_DESTINATION = 0x00AA0029;
    ASSERT_TRUE(MaskBlt(canvas.Dc(), 1, 0, 4, 2, source.Dc(), 0, 0, hMask, 0, 0, MAKEROP4(SRCCOPY, KEEP_DESTINATION)));
    EXPECT_EQ(canvas.At(0, 0), BLUE);
    EXPECT_EQ(canvas.At(1, 0), RED);
    EXPECT_EQ(canvas.At(2, 1), RED);
    EXPECT_EQ(canvas.At(3, 0), BLUE);
    EXPECT_EQ(canvas.At(4, 1), BLUE);

    // The background operation works too: invert the destination where the mask is 0.
    Fill(canvas, BLUE);
    ASSERT_TRUE(MaskBlt(canvas.Dc(), 0, 0, 4, 2, source.Dc(), 0, 0, hMask, 0, 0, MAKEROP4(SRCCOPY, DSTINVERT)));
    EXPECT_EQ(canvas.At(0, 0), RED);
    EXPECT_EQ(canvas.At(3, 0), RGB(255, 255, 0));

    // A colour mask is refused.
    HBITMAP hColourMask = CreateBitmap(4, 2, 1, 32, nullptr);
    EXPECT_FALSE(MaskBlt(canvas.Dc(), 0, 0, 4, 2, source.Dc(), 0, 0, hColourMask, 0, 0, SRCCOPY));
    DeleteObject(hColourMask);
    DeleteObject(hMask);
}
