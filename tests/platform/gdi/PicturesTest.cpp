#include "platform/gdi/Pictures.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Colours every pixel differently, so that a swapped channel or row shows.
void Paint(const CTestCanvas& canvas)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            SetPixel(canvas.Dc(), x, y, RGB(x * 40, y * 50, 255 - x * 10 - y));
}

std::vector<COLORREF> PixelsOf(HBITMAP hBitmap)
{
    BITMAP bm {};
    GetObject(hBitmap, sizeof(bm), &bm);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            pixels.push_back(GetPixel(hdc, x, y));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return pixels;
}

std::vector<COLORREF> PixelsOf(const CTestCanvas& canvas)
{
    std::vector<COLORREF> pixels;
    canvas.ForEach([&](int, int, COLORREF cr) { pixels.push_back(cr); });
    return pixels;
}

}

TEST(PicturesTest, PngRoundTripKeepsEveryPixel)
{
    TempFolder temp;
    CTestCanvas canvas(6, 5);
    Paint(canvas);
    std::string strPath = ProgramPathFromHostPath((temp / "shot.png").string());
    ASSERT_TRUE(SaveDcAsPng(canvas.Dc(), strPath.c_str()));
    HBITMAP hLoaded = LoadPictureFile(strPath.c_str());
    ASSERT_NE(hLoaded, nullptr);
    BITMAP bm {};
    GetObject(hLoaded, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 5);
    EXPECT_NE(bm.bmBits, nullptr); // a DIB section
    EXPECT_EQ(PixelsOf(hLoaded), PixelsOf(canvas));
    DeleteObject(hLoaded);
}

TEST(PicturesTest, MonochromeBitmapsSaveBlackAndWhite)
{
    TempFolder temp;
    HBITMAP hMono = CreateBitmap(3, 1, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hMono);
    SetPixel(hdc, 1, 0, RGB(255, 255, 255));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    std::string strPath = ProgramPathFromHostPath((temp / "mono.png").string());
    ASSERT_TRUE(SaveBitmapAsPng(hMono, strPath.c_str()));
    HBITMAP hLoaded = LoadPictureFile(strPath.c_str());
    EXPECT_EQ(PixelsOf(hLoaded), (std::vector<COLORREF> { RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0) }));
    DeleteObject(hLoaded);
    DeleteObject(hMono);
}

TEST(PicturesTest, BadInputIsAnErrorNotACrash)
{
    const char garbage[] = "\x89PNG\r\n\x1a\nthis is not the rest of a picture";
    SetLastError(0);
    EXPECT_EQ(DecodePicture(garbage, sizeof(garbage)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(DecodePicture(nullptr, 0), nullptr);
    TempFolder temp;
    std::string strMissing = ProgramPathFromHostPath((temp / "missing.png").string());
    EXPECT_EQ(LoadPictureFile(strMissing.c_str()), nullptr);
    std::string strNoFolder = ProgramPathFromHostPath((temp / "no" / "such" / "x.png").string());
    CTestCanvas canvas(2, 2);
    EXPECT_FALSE(SaveDcAsPng(canvas.Dc(), strNoFolder.c_str()));
    EXPECT_FALSE(fs::exists(temp / "no"));
}

TEST(PicturesTest, LoadBitmapReadsThePngResource)
{
    TempFolder temp;
    CTestCanvas canvas(4, 3);
    Paint(canvas);
    ASSERT_TRUE(SaveDcAsPng(canvas.Dc(), ProgramPathFromHostPath((temp / "pic.png").string()).c_str()));
    temp.WriteFile("pictures.rc", "7 BITMAP \"pic.png\"\n");
    fs::path module = temp / "pictures.dll";
    std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + (temp / "pictures.rc").string() + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    ASSERT_NE(hModule, nullptr);
    HBITMAP hBitmap = LoadBitmap(hModule, MAKEINTRESOURCE(7));
    ASSERT_NE(hBitmap, nullptr);
    EXPECT_EQ(PixelsOf(hBitmap), PixelsOf(canvas));
    DeleteObject(hBitmap);
    EXPECT_EQ(LoadBitmap(hModule, MAKEINTRESOURCE(8)), nullptr);
    FreeLibrary(hModule);
}

TEST(PicturesTest, PicturesOfEachFormatDecodeByTheirSignatureOrByGuessing)
{
    // Two pixels, red then blue, in three formats; the portable pixmap has no signature checked here.
    const unsigned char bmp[]
        = { 'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,
              0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0 };
    const unsigned char gif[] = { 'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 255, ',', 0, 0,
        0, 0, 2, 0, 1, 0, 0, 2, 2, 0x44, 0x0a, 0, ';' };
    const char ppm[] = "P6 2 1 255\n\xff\x00\x00\x00\x00\xff";
    for (const auto& [pData, cbData] :
        { std::pair<const void*, size_t> { bmp, sizeof(bmp) }, std::pair<const void*, size_t> { gif, sizeof(gif) },
            std::pair<const void*, size_t> { ppm, sizeof(ppm) - 1 } }) {
        HBITMAP hBitmap = DecodePicture(pData, cbData);
        ASSERT_NE(hBitmap, nullptr);
        EXPECT_EQ(PixelsOf(hBitmap), (std::vector<COLORREF> { RGB(255, 0, 0), RGB(0, 0, 255) }));
        DeleteObject(hBitmap);
    }
}
