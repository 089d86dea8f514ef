#include "platform/gdi/ImageLists.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr int IMAGE_SIZE = 4;

// A free bitmap strip of 4x4 images: image n is magenta with a 2x2 centre of
// colours[n].
HBITMAP MakeStrip(const std::vector<COLORREF>& colours)
{
    int nCount = static_cast<int>(colours.size());
    HBITMAP hStrip = CreateBitmap(IMAGE_SIZE * nCount, IMAGE_SIZE, 1, 32, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hStrip);
    for (int n = 0; n < nCount; ++n) {
        HBRUSH hMagenta = CreateSolidBrush(MAGENTA);
        HBRUSH hCentre = CreateSolidBrush(colours[static_cast<size_t>(n)]);
        RECT rcAll { n * IMAGE_SIZE, 0, (n + 1) * IMAGE_SIZE, IMAGE_SIZE };
        RECT rcCentre { n * IMAGE_SIZE + 1, 1, n * IMAGE_SIZE + 3, 3 };
        FillRect(hdc, &rcAll, hMagenta);
        FillRect(hdc, &rcCentre, hCentre);
        DeleteObject(hMagenta);
        DeleteObject(hCentre);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hStrip;
}

// A masked list holding one image per colour, magenta being transparent.
class ImageListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_himl = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR32 | ILC_MASK, 4, 4);
        ASSERT_NE(m_himl, nullptr);
        HBITMAP hStrip = MakeStrip({ RED, GREEN, BLUE });
        ASSERT_EQ(ImageList_AddMasked(m_himl, hStrip, MAGENTA), 0);
        DeleteObject(hStrip);
    }
    void TearDown() override { EXPECT_TRUE(ImageList_Destroy(m_himl)); }

    HIMAGELIST m_himl { nullptr };
};

void Clear(CTestCanvas& canvas, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    RECT rc { 0, 0, canvas.Width(), canvas.Height() };
    FillRect(canvas.Dc(), &rc, hBrush);
    DeleteObject(hBrush);
}

}

/* The mask-colour strip. */

TEST_F(ImageListsTest, AddMaskedCutsTheStripIntoImages)
{
    EXPECT_EQ(ImageList_GetImageCount(m_himl), 3);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(m_himl, &cx, &cy));
    EXPECT_EQ(cx, IMAGE_SIZE);
    EXPECT_EQ(cy, IMAGE_SIZE);
    IMAGEINFO info {};
    ASSERT_TRUE(ImageList_GetImageInfo(m_himl, 2, &info));
    EXPECT_EQ(info.rcImage.left, 2 * IMAGE_SIZE);
    BITMAP bm {};
    GetObject(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 3 * IMAGE_SIZE);
}

TEST_F(ImageListsTest, TransparentDrawingLeavesMaskColourPixelsAlone)
{
    CTestCanvas canvas(6, 6);
    Clear(canvas, WHITE);
    ImageList_SetBkColor(m_himl, BLACK); // ILD_TRANSPARENT ignores the background colour
    ASSERT_TRUE(ImageList_Draw(m_himl, 1, canvas.Dc(), 1, 1, ILD_TRANSPARENT));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            bool bCentre = x >= 2 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(canvas.At(x, y), bCentre ? GREEN : WHITE) << x << "," << y;
        }
    }
}

TEST_F(ImageListsTest, NormalDrawingUsesTheBackgroundColourUnlessItIsNone)
{
    CTestCanvas canvas(4, 4);
    Clear(canvas, WHITE);
    EXPECT_EQ(ImageList_SetBkColor(m_himl, BLUE), CLR_NONE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), BLUE);
    EXPECT_EQ(canvas.At(1, 1), RED);

    Clear(canvas, WHITE);
    EXPECT_EQ(ImageList_SetBkColor(m_himl, CLR_NONE), BLUE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), WHITE);
    EXPECT_EQ(canvas.At(2, 2), RED);

    // DrawEx's own background wins over the list's.
    ASSERT_TRUE(ImageList_DrawEx(m_himl, 0, canvas.Dc(), 0, 0, 0, 0, GREEN, CLR_DEFAULT, ILD_NORMAL));
    EXPECT_EQ(canvas.At(3, 3), GREEN);
}

TEST_F(ImageListsTest, MaskAndImageStylesDrawOnePartAlone)
{
    CTestCanvas canvas(4, 4);
    Clear(canvas, BLUE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_MASK));
    EXPECT_EQ(canvas.At(0, 0), WHITE);
    EXPECT_EQ(canvas.At(1, 1), BLACK);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_IMAGE));
    EXPECT_EQ(canvas.At(0, 0), BLACK); // AddMasked turned the masked pixels black
    EXPECT_EQ(canvas.At(1, 1), RED);
}

TEST_F(ImageListsTest, DrawExDrawsOnlyThePartAsked)
{
    CTestCanvas canvas(4, 4);
    Clear(canvas, WHITE);
    ASSERT_TRUE(ImageList_DrawEx(m_himl, 0, canvas.Dc(), 0, 0, 2, 2, GREEN, CLR_NONE, ILD_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), GREEN);
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(2, 2), WHITE);
}

TEST_F(ImageListsTest, AnImageWithoutMaskKeepsToTheClipAndToMonochromeRules)
{
    HIMAGELIST himl = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR32, 1, 1);
    HBITMAP hStrip = MakeStrip({ RED });
    {
        CTestCanvas corner(1, 1);
        HGDIOBJ hOld = SelectObject(corner.Dc(), hStrip);
        SetPixel(corner.Dc(), 0, 3, BLUE); // tells the image's top from its bottom
        SelectObject(corner.Dc(), hOld);
    }
    ASSERT_EQ(ImageList_Add(himl, hStrip, nullptr), 0);
    DeleteObject(hStrip);

    CTestCanvas canvas(4, 4);
    IntersectClipRect(canvas.Dc(), 0, 0, 2, 4);
    ASSERT_TRUE(ImageList_Draw(himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(0, 0), MAGENTA);
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(0, 3), BLUE);
    EXPECT_EQ(canvas.At(2, 2), WHITE) << "outside the clip";

    // Onto a monochrome bitmap colours other than white turn black.
    HBITMAP hLight = MakeStrip({ RGB(200, 200, 200) });
    ASSERT_EQ(ImageList_Add(himl, hLight, nullptr), 1);
    DeleteObject(hLight);
    CTestCanvas mono(4, 4, 1);
    ASSERT_TRUE(ImageList_Draw(himl, 1, mono.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(mono.At(0, 0), BLACK);
    EXPECT_EQ(mono.At(1, 1), BLACK) << "light grey";
    EXPECT_TRUE(ImageList_Destroy(himl));
}

/* Blending. */

TEST_F(ImageListsTest, BlendStylesMixTheHighlightIntoOpaquePixels)
{
    COLORREF crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    auto mixed = [&](int nQuarters, COLORREF crBase, COLORREF crOver) {
        auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>((a * (4 - nQuarters) + b * nQuarters) / 4); };
        return RGB(mix(GetRValue(crBase), GetRValue(crOver)), mix(GetGValue(crBase), GetGValue(crOver)),
            mix(GetBValue(crBase), GetBValue(crOver)));
    };
    CTestCanvas canvas(4, 4);
    Clear(canvas, WHITE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT | ILD_BLEND50));
    EXPECT_EQ(canvas.At(1, 1), mixed(2, RED, crHighlight));
    EXPECT_NE(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(0, 0), WHITE); // transparent pixels are not blended

    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT | ILD_BLEND25));
    EXPECT_EQ(canvas.At(2, 2), mixed(1, RED, crHighlight));

    ASSERT_TRUE(ImageList_DrawEx(m_himl, 2, canvas.Dc(), 0, 0, 0, 0, CLR_NONE, GREEN, ILD_SELECTED));
    EXPECT_EQ(canvas.At(2, 2), mixed(2, BLUE, GREEN));
}

/* Overlays. */

TEST_F(ImageListsTest, OverlayImageIsDrawnOverTheImage)
{
    // Image 3: a single green pixel at the top-left corner, the rest transparent.
    HBITMAP hCorner = CreateBitmap(IMAGE_SIZE, IMAGE_SIZE, 1, 32, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hCorner);
    HBRUSH hMagenta = CreateSolidBrush(MAGENTA);
    RECT rc { 0, 0, IMAGE_SIZE, IMAGE_SIZE };
    FillRect(hdc, &rc, hMagenta);
    DeleteObject(hMagenta);
    SetPixel(hdc, 0, 0, GREEN);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ASSERT_EQ(ImageList_AddMasked(m_himl, hCorner, MAGENTA), 3);
    DeleteObject(hCorner);
    ASSERT_TRUE(ImageList_SetOverlayImage(m_himl, 3, 1));
    EXPECT_FALSE(ImageList_SetOverlayImage(m_himl, 3, 16));
    EXPECT_FALSE(ImageList_SetOverlayImage(m_himl, 9, 2));

    CTestCanvas canvas(4, 4);
    Clear(canvas, WHITE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1)));
    EXPECT_EQ(canvas.At(0, 0), GREEN);
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(3, 3), WHITE);

    // An unset overlay number draws the image alone.
    Clear(canvas, WHITE);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(2)));
    EXPECT_EQ(canvas.At(0, 0), WHITE);

    // The icon of an image carries the overlay too.
    HICON hIcon = ImageList_GetIcon(m_himl, 0, INDEXTOOVERLAYMASK(1));
    ASSERT_NE(hIcon, nullptr);
    Clear(canvas, BLUE);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, hIcon));
    EXPECT_EQ(canvas.At(0, 0), GREEN);
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(3, 0), BLUE);
    DestroyIcon(hIcon);
}

/* Changing the list. */

TEST_F(ImageListsTest, RemoveMovesLaterImagesDown)
{
    ASSERT_TRUE(ImageList_Remove(m_himl, 0));
    EXPECT_EQ(ImageList_GetImageCount(m_himl), 2);
    CTestCanvas canvas(4, 4);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(1, 1), GREEN);
    EXPECT_FALSE(ImageList_Remove(m_himl, 2));
    EXPECT_FALSE(ImageList_Draw(m_himl, 2, canvas.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_RemoveAll(m_himl));
    EXPECT_EQ(ImageList_GetImageCount(m_himl), 0);
}

TEST_F(ImageListsTest, IconsGoInAndComeOutWithTheirMasks)
{
    HICON hIcon = ImageList_GetIcon(m_himl, 1, ILD_NORMAL);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(ImageList_AddIcon(m_himl, hIcon), 3);
    EXPECT_EQ(ImageList_ReplaceIcon(m_himl, 0, hIcon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(m_himl, 7, hIcon), -1);
    DestroyIcon(hIcon);
    CTestCanvas canvas(8, 4);
    ASSERT_TRUE(ImageList_Draw(m_himl, 3, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 4, 0, ILD_TRANSPARENT));
    for (int x : { 0, 4 }) {
        EXPECT_EQ(canvas.At(x, 0), WHITE);
        EXPECT_EQ(canvas.At(x + 1, 1), GREEN);
    }
}

TEST_F(ImageListsTest, ReplaceTakesAnImageAndOptionalMask)
{
    HBITMAP hStrip = MakeStrip({ BLUE });
    ASSERT_TRUE(ImageList_Replace(m_himl, 0, hStrip, nullptr));
    EXPECT_FALSE(ImageList_Replace(m_himl, 5, hStrip, nullptr));
    DeleteObject(hStrip);
    CTestCanvas canvas(4, 4);
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(0, 0), MAGENTA); // without a mask every pixel is opaque
    EXPECT_EQ(canvas.At(1, 1), BLUE);
}

TEST_F(ImageListsTest, CopyMovesOrSwapsImagesWithTheirMasks)
{
    // Image 0 becomes an unmasked blue image: its magenta frame is opaque.
    HBITMAP hStrip = MakeStrip({ BLUE });
    ASSERT_TRUE(ImageList_Replace(m_himl, 0, hStrip, nullptr));
    DeleteObject(hStrip);
    IMAGEINFO info {};
    ASSERT_TRUE(ImageList_GetImageInfo(m_himl, 2, &info)); // makes the strip before the copy

    ASSERT_TRUE(ImageList_Copy(m_himl, 2, m_himl, 0, ILCF_MOVE));
    ASSERT_TRUE(ImageList_Copy(m_himl, 1, m_himl, 0, ILCF_SWAP));
    CTestCanvas canvas(12, 4);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ImageList_Draw(m_himl, i, canvas.Dc(), 4 * i, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(0, 0), WHITE); // the green image, masked, swapped to 0
    EXPECT_EQ(canvas.At(1, 1), GREEN);
    EXPECT_EQ(canvas.At(4, 0), MAGENTA); // the blue image, unmasked, swapped to 1
    EXPECT_EQ(canvas.At(5, 1), BLUE);
    EXPECT_EQ(canvas.At(8, 0), MAGENTA); // its copy at 2
    EXPECT_EQ(canvas.At(9, 1), BLUE);
    // The strip of GetImageInfo shows the images as they are now.
    ASSERT_TRUE(ImageList_GetImageInfo(m_himl, 2, &info));
    CTestCanvas strip(12, 4);
    HDC hdcStrip = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdcStrip, info.hbmImage);
    BitBlt(strip.Dc(), 0, 0, 12, 4, hdcStrip, 0, 0, SRCCOPY);
    SelectObject(hdcStrip, hOld);
    DeleteDC(hdcStrip);
    EXPECT_EQ(strip.At(9, 1), BLUE);

    // Another list of the same size lends an image; one of another size cannot.
    HIMAGELIST hOther = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR32 | ILC_MASK, 1, 1);
    HIMAGELIST hBigger = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
    hStrip = MakeStrip({ RED });
    ImageList_AddMasked(hOther, hStrip, MAGENTA);
    ImageList_Add(hBigger, hStrip, nullptr);
    DeleteObject(hStrip);
    EXPECT_TRUE(ImageList_Copy(m_himl, 0, hOther, 0, ILCF_MOVE));
    EXPECT_FALSE(ImageList_Copy(m_himl, 0, hBigger, 0, ILCF_MOVE));
    EXPECT_FALSE(ImageList_Copy(m_himl, 3, m_himl, 0, ILCF_MOVE));
    EXPECT_FALSE(ImageList_Copy(m_himl, 0, m_himl, 1, 2));
    ASSERT_TRUE(ImageList_Draw(m_himl, 0, canvas.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.At(1, 1), RED);
    ImageList_Destroy(hOther);
    ImageList_Destroy(hBigger);
}

TEST_F(ImageListsTest, MergeLaysTheSecondImageOverTheFirst)
{
    HIMAGELIST hMerged = ImageList_Merge(m_himl, 0, m_himl, 2, 2, 0);
    ASSERT_NE(hMerged, nullptr);
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(hMerged, &cx, &cy);
    EXPECT_EQ(cx, IMAGE_SIZE + 2);
    EXPECT_EQ(cy, IMAGE_SIZE);
    CTestCanvas canvas(6, 4);
    ASSERT_TRUE(ImageList_Draw(hMerged, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(1, 1), RED);
    EXPECT_EQ(canvas.At(3, 1), BLUE);
    EXPECT_EQ(canvas.At(4, 2), BLUE);
    EXPECT_EQ(canvas.At(0, 0), WHITE);
    EXPECT_TRUE(ImageList_Destroy(hMerged));
    EXPECT_EQ(ImageList_Merge(m_himl, 0, m_himl, 9, 0, 0), nullptr);
}

TEST(ImageListsErrorsTest, BadListsAndSizesAreRefused)
{
    EXPECT_EQ(ImageList_Create(0, 4, ILC_COLOR32, 1, 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HIMAGELIST himl = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
    ASSERT_TRUE(ImageList_Destroy(himl));
    EXPECT_FALSE(ImageList_Destroy(himl));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    EXPECT_EQ(ImageList_Add(himl, nullptr, nullptr), -1);
    EXPECT_EQ(ImageList_LoadImage(nullptr, MAKEINTRESOURCE(1), 4, 1, CLR_NONE, IMAGE_ICON, 0), nullptr);
}

TEST(ImageListsLoadTest, LoadImageCutsAResourceStripWithAMaskColour)
{
    TempFolder temp;
    HBITMAP hStrip = MakeStrip({ RED, GREEN });
    ASSERT_TRUE(SaveBitmapAsPng(hStrip, ProgramPathFromHostPath((temp / "strip.png").string()).c_str()));
    DeleteObject(hStrip);
    temp.WriteFile("strip.rc", "196 BITMAP \"strip.png\"\n");
    std::filesystem::path module = temp / "strip.dll";
    std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + (temp / "strip.rc").string() + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    ASSERT_NE(hModule, nullptr);

    HIMAGELIST himl = ImageList_LoadImage(hModule, MAKEINTRESOURCE(196), IMAGE_SIZE, 1, MAGENTA, IMAGE_BITMAP, 0);
    ASSERT_NE(himl, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(himl), 2);
    CTestCanvas canvas(4, 4);
    ASSERT_TRUE(ImageList_Draw(himl, 1, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(0, 0), WHITE);
    EXPECT_EQ(canvas.At(2, 2), GREEN);
    ImageList_Destroy(himl);
    EXPECT_EQ(ImageList_LoadImage(hModule, MAKEINTRESOURCE(197), IMAGE_SIZE, 1, MAGENTA, IMAGE_BITMAP, 0), nullptr);
    FreeLibrary(hModule);
}
