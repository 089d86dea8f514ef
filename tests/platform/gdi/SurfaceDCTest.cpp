#include "platform/gdi/SurfaceDC.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

// A white 100 by 100 surface with a reader DC over all of it.
class SurfaceDCTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hbm = CreateBitmap(100, 100, 1, 32, nullptr);
        m_hdcReader = CreateSurfaceDC(m_hbm, POINT {}, nullptr);
        PatBlt(m_hdcReader, 0, 0, 100, 100, WHITENESS);
    }
    void TearDown() override
    {
        DeleteDC(m_hdcReader);
        DeleteObject(m_hbm);
    }

    void Fill(HDC hdc, RECT rc, COLORREF cr)
    {
        HBRUSH hbr = CreateSolidBrush(cr);
        FillRect(hdc, &rc, hbr);
        DeleteObject(hbr);
    }
    COLORREF At(int x, int y) { return GetPixel(m_hdcReader, x, y); }

    HBITMAP m_hbm { nullptr };
    HDC m_hdcReader { nullptr };
};

TEST_F(SurfaceDCTest, DcsShareTheBitmapEachAtItsOrigin)
{
    HDC hdcA = CreateSurfaceDC(m_hbm, POINT { 10, 10 }, nullptr);
    HDC hdcB = CreateSurfaceDC(m_hbm, POINT { 50, 60 }, nullptr);
    ASSERT_NE(hdcA, nullptr);
    ASSERT_NE(hdcB, nullptr);
    Fill(hdcA, RECT { 0, 0, 5, 5 }, RED);
    Fill(hdcB, RECT { 0, 0, 5, 5 }, BLUE);
    EXPECT_EQ(At(10, 10), RED);
    EXPECT_EQ(At(14, 14), RED);
    EXPECT_EQ(At(15, 15), RGB(255, 255, 255));
    EXPECT_EQ(At(50, 60), BLUE);
    EXPECT_EQ(GetPixel(hdcB, 0, 0), BLUE); // read back in its own coordinates
    POINT pt { 3, 4 };
    LPtoDP(hdcB, &pt, 1);
    EXPECT_EQ(pt.x, 3); // device coordinates do not show the origin
    EXPECT_EQ(pt.y, 4);
    DeleteDC(hdcA);
    DeleteDC(hdcB);
}

TEST_F(SurfaceDCTest, DrawingNeverLeavesTheAreaWhateverTheClip)
{
    HRGN hrgnArea = CreateRectRgn(20, 20, 40, 40);
    HDC hdc = CreateSurfaceDC(m_hbm, POINT { 20, 20 }, hrgnArea);
    DeleteObject(hrgnArea);
    HRGN hrgnWide = CreateRectRgn(-100, -100, 200, 200);
    SelectClipRgn(hdc, hrgnWide);
    Fill(hdc, RECT { -50, -50, 150, 150 }, RED);
    SelectClipRgn(hdc, nullptr);
    Fill(hdc, RECT { -50, -50, 150, 150 }, RED);
    EXPECT_EQ(At(20, 20), RED);
    EXPECT_EQ(At(39, 39), RED);
    EXPECT_EQ(At(19, 19), RGB(255, 255, 255));
    EXPECT_EQ(At(40, 40), RGB(255, 255, 255));
    RECT rcBox {};
    GetClipBox(hdc, &rcBox);
    RECT rcExpected { 0, 0, 20, 20 };
    EXPECT_TRUE(EqualRect(&rcBox, &rcExpected));
    DeleteObject(hrgnWide);
    DeleteDC(hdc);
}

TEST_F(SurfaceDCTest, ClipRegionsAreInTheDcsOwnCoordinates)
{
    HDC hdc = CreateSurfaceDC(m_hbm, POINT { 30, 30 }, nullptr);
    HRGN hrgn = CreateRectRgn(0, 0, 10, 10);
    SelectClipRgn(hdc, hrgn);
    HRGN hrgnBack = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(hdc, hrgnBack), 1);
    EXPECT_TRUE(EqualRgn(hrgn, hrgnBack));
    Fill(hdc, RECT { 0, 0, 50, 50 }, BLUE);
    EXPECT_EQ(At(35, 35), BLUE);
    EXPECT_EQ(At(45, 45), RGB(255, 255, 255));
    DeleteObject(hrgn);
    DeleteObject(hrgnBack);
    DeleteDC(hdc);
}

TEST_F(SurfaceDCTest, NarrowingKeepsOnlyTheCommonPart)
{
    HRGN hrgnArea = CreateRectRgn(0, 0, 50, 50);
    HDC hdc = CreateSurfaceDC(m_hbm, POINT { 10, 0 }, hrgnArea);
    HRGN hrgnUpdate = CreateRectRgn(30, 0, 60, 10); // device coordinates: 40..70 on the bitmap
    ASSERT_TRUE(NarrowSurfaceDC(hdc, hrgnUpdate));
    Fill(hdc, RECT { 0, 0, 100, 100 }, RED);
    EXPECT_EQ(At(45, 5), RED);
    EXPECT_EQ(At(39, 5), RGB(255, 255, 255));
    EXPECT_EQ(At(55, 5), RGB(255, 255, 255)); // outside the first area
    DeleteObject(hrgnArea);
    DeleteObject(hrgnUpdate);
    DeleteDC(hdc);
}

TEST_F(SurfaceDCTest, TheBoundsHoldEveryPixelTheDcCanDraw)
{
    auto bounds = [](HDC hdc) {
        RECT rc { -1, -1, -1, -1 };
        EXPECT_TRUE(GetSurfaceDCBounds(hdc, &rc));
        return rc;
    };
    RECT rcWhole { 0, 0, 100, 100 };
    RECT rc = bounds(m_hdcReader);
    EXPECT_TRUE(EqualRect(&rc, &rcWhole)) << "no area: the whole bitmap";

    // An area partly off the bitmap, narrowed to an update region: its bitmap part.
    HRGN hrgnArea = CreateRectRgn(60, 70, 130, 90);
    HDC hdc = CreateSurfaceDC(m_hbm, POINT { 60, 70 }, hrgnArea);
    HRGN hrgnUpdate = CreateRectRgn(5, 5, 80, 10);
    NarrowSurfaceDC(hdc, hrgnUpdate);
    rc = bounds(hdc);
    RECT rcExpected { 65, 75, 100, 80 };
    EXPECT_TRUE(EqualRect(&rc, &rcExpected));

    // Narrowed to nothing: it can draw nowhere.
    HRGN hrgnNone = CreateRectRgn(0, 0, 0, 0);
    NarrowSurfaceDC(hdc, hrgnNone);
    rc = bounds(hdc);
    EXPECT_TRUE(IsRectEmpty(&rc));
    DeleteObject(hrgnArea);
    DeleteObject(hrgnUpdate);
    DeleteObject(hrgnNone);
    DeleteDC(hdc);
}

TEST_F(SurfaceDCTest, BadHandlesAreRefused)
{
    EXPECT_EQ(CreateSurfaceDC(reinterpret_cast<HBITMAP>(0x9999), POINT {}, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CreateSurfaceDC(m_hbm, POINT {}, reinterpret_cast<HRGN>(0x9999)), nullptr);
    EXPECT_FALSE(NarrowSurfaceDC(m_hdcReader, nullptr));
    RECT rc {};
    EXPECT_FALSE(GetSurfaceDCBounds(reinterpret_cast<HDC>(0x9999), &rc));
}

TEST(SysColorsTest, SystemBrushesPaintTheirColourAndCannotBeDeleted)
{
    HBRUSH hbr = GetSysColorBrush(COLOR_HIGHLIGHT);
    ASSERT_NE(hbr, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), hbr);
    DeleteObject(hbr);
    LOGBRUSH lb {};
    ASSERT_EQ(GetObject(hbr, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetSysColorBrush(25), nullptr); // no element has that index
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColor(400), 0u);
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
}

}
