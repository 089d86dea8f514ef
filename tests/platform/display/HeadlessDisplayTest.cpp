#include "platform/display/HeadlessDisplay.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

namespace {

HWND Window(ULONG_PTR nValue)
{
    return reinterpret_cast<HWND>(nValue);
}

class HeadlessDisplayTest : public ::testing::Test {
protected:
    // Paints the whole surface of a window in one colour.
    void Paint(HWND hWnd, COLORREF cr)
    {
        HBITMAP hbm = m_display.SurfaceOf(hWnd);
        ASSERT_NE(hbm, nullptr);
        BITMAP bm {};
        GetObject(hbm, sizeof(bm), &bm);
        HDC hdc = CreateSurfaceDC(hbm, POINT {}, nullptr);
        HBRUSH hbr = CreateSolidBrush(cr);
        RECT rc { 0, 0, bm.bmWidth, bm.bmHeight };
        FillRect(hdc, &rc, hbr);
        DeleteObject(hbr);
        DeleteDC(hdc);
    }

    // The colour of a screen pixel now.
    COLORREF ScreenAt(int x, int y)
    {
        HBITMAP hbm = m_display.CaptureScreen();
        HDC hdc = CreateSurfaceDC(hbm, POINT {}, nullptr);
        COLORREF cr = GetPixel(hdc, x, y);
        DeleteDC(hdc);
        DeleteObject(hbm);
        return cr;
    }

    CHeadlessDisplay m_display { 320, 240 };
};

TEST_F(HeadlessDisplayTest, OnlyVisibleWindowsShowInZOrder)
{
    m_display.CreateTopLevel(Window(1), RECT { 10, 10, 60, 60 });
    m_display.CreateTopLevel(Window(2), RECT { 40, 40, 90, 90 });
    Paint(Window(1), RGB(255, 0, 0));
    Paint(Window(2), RGB(0, 0, 255));
    EXPECT_EQ(ScreenAt(20, 20), GetSysColor(COLOR_DESKTOP)); // nothing shown yet
    m_display.ShowTopLevel(Window(1), true);
    m_display.ShowTopLevel(Window(2), true);
    m_display.RestackTopLevels({ Window(2), Window(1) });
    EXPECT_EQ(ScreenAt(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(50, 50), RGB(0, 0, 255));
    m_display.RestackTopLevels({ Window(1), Window(2) });
    EXPECT_EQ(ScreenAt(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(80, 80), RGB(0, 0, 255));
}

TEST_F(HeadlessDisplayTest, MovingKeepsThePixelsAndResizingDropsThem)
{
    m_display.CreateTopLevel(Window(1), RECT { 0, 0, 50, 50 });
    m_display.ShowTopLevel(Window(1), true);
    Paint(Window(1), RGB(0, 255, 0));
    HBITMAP hbmBefore = m_display.SurfaceOf(Window(1));
    m_display.MoveTopLevel(Window(1), RECT { 100, 100, 150, 150 });
    EXPECT_EQ(m_display.SurfaceOf(Window(1)), hbmBefore);
    EXPECT_EQ(ScreenAt(120, 120), RGB(0, 255, 0));
    EXPECT_EQ(ScreenAt(20, 20), GetSysColor(COLOR_DESKTOP));
    m_display.MoveTopLevel(Window(1), RECT { 100, 100, 180, 150 });
    HBITMAP hbmAfter = m_display.SurfaceOf(Window(1));
    BITMAP bm {};
    GetObject(hbmAfter, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 80);
}

TEST_F(HeadlessDisplayTest, DestroyedAndUnknownWindowsHaveNoSurface)
{
    m_display.CreateTopLevel(Window(1), RECT { 0, 0, 0, 0 });
    EXPECT_NE(m_display.SurfaceOf(Window(1)), nullptr); // even a window of no size
    m_display.DestroyTopLevel(Window(1));
    EXPECT_EQ(m_display.SurfaceOf(Window(1)), nullptr);
    EXPECT_EQ(m_display.SurfaceOf(Window(7)), nullptr);
    m_display.ShowTopLevel(Window(7), true); // ignored
    m_display.MoveTopLevel(Window(7), RECT { 0, 0, 5, 5 });
    m_display.DestroyTopLevel(Window(7));
}

}
