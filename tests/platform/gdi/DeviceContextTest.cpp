#include "platform/gdi/DeviceContext.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Regions.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

TEST(DeviceContextTest, SelectObjectReturnsWhatItReplaces)
{
    CTestCanvas canvas(4, 4);
    HPEN hRed = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN hBlue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ hFirst = SelectObject(canvas.Dc(), hRed);
    EXPECT_EQ(hFirst, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(canvas.Dc(), hBlue), hRed);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), hBlue);
    SelectObject(canvas.Dc(), hFirst);
    EXPECT_TRUE(DeleteObject(hRed));
    EXPECT_TRUE(DeleteObject(hBlue));
}

TEST(DeviceContextTest, SelectedObjectsCannotBeDeleted)
{
    CTestCanvas canvas(4, 4);
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ hOld = SelectObject(canvas.Dc(), hBrush);
    EXPECT_FALSE(DeleteObject(hBrush));
    EXPECT_EQ(GetLastError(), ERROR_BUSY);
    EXPECT_EQ(GetObjectType(hBrush), OBJ_BRUSH);

    // A saved state still holds it after it is deselected.
    int nLevel = SaveDC(canvas.Dc());
    SelectObject(canvas.Dc(), hOld);
    EXPECT_FALSE(DeleteObject(hBrush));
    ASSERT_TRUE(RestoreDC(canvas.Dc(), nLevel));
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), hBrush);
    SelectObject(canvas.Dc(), hOld);
    EXPECT_TRUE(DeleteObject(hBrush));

    // Once deleted the handle is dead and stays dead.
    EXPECT_EQ(GetObjectType(hBrush), 0u);
    EXPECT_EQ(SelectObject(canvas.Dc(), hBrush), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(DeviceContextTest, StockObjectsSurviveDeletion)
{
    HGDIOBJ hStock = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(hStock));
    EXPECT_EQ(GetObjectType(hStock), OBJ_BRUSH);
    LOGBRUSH log {};
    ASSERT_EQ(GetObject(hStock, sizeof(log), &log), static_cast<int>(sizeof(log)));
    EXPECT_EQ(log.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(GetStockObject(9999), nullptr);
}

TEST(DeviceContextTest, BitmapGoesIntoOneDcAtATime)
{
    CTestCanvas canvas(4, 4);
    HDC hOther = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(hOther, canvas.Bitmap()), nullptr);
    EXPECT_FALSE(DeleteObject(canvas.Bitmap()));
    DeleteDC(hOther);
}

TEST(DeviceContextTest, RestoreDcGoesBackAbsoluteAndRelative)
{
    CTestCanvas canvas(4, 4);
    HDC hdc = canvas.Dc();
    SetTextColor(hdc, RGB(1, 0, 0));
    EXPECT_EQ(SaveDC(hdc), 1);
    SetTextColor(hdc, RGB(2, 0, 0));
    SetViewportOrgEx(hdc, 5, 5, nullptr);
    EXPECT_EQ(SaveDC(hdc), 2);
    SetTextColor(hdc, RGB(3, 0, 0));
    IntersectClipRect(hdc, 0, 0, 1, 1);
    EXPECT_EQ(SaveDC(hdc), 3);
    SetTextColor(hdc, RGB(4, 0, 0));

    ASSERT_TRUE(RestoreDC(hdc, -1));
    EXPECT_EQ(GetTextColor(hdc), RGB(3, 0, 0));
    ASSERT_TRUE(RestoreDC(hdc, 1));
    EXPECT_EQ(GetTextColor(hdc), RGB(1, 0, 0));
    POINT pt {};
    GetViewportOrgEx(hdc, &pt);
    EXPECT_EQ(pt.x, 0);
    RECT box {};
    EXPECT_EQ(GetClipBox(hdc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 4);
    // Levels above the one restored are gone.
    EXPECT_FALSE(RestoreDC(hdc, 2));
    EXPECT_FALSE(RestoreDC(hdc, -1));
    EXPECT_FALSE(RestoreDC(hdc, 0));
}

TEST(DeviceContextTest, ClipBoxFollowsClipCallsInLogicalCoordinates)
{
    CTestCanvas canvas(40, 40);
    HDC hdc = canvas.Dc();
    SetWindowOrgEx(hdc, 10, 10, nullptr);
    EXPECT_EQ(IntersectClipRect(hdc, 10, 10, 30, 30), SIMPLEREGION);
    RECT box {};
    GetClipBox(hdc, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(ExcludeClipRect(hdc, 15, 15, 20, 20), COMPLEXREGION);
    EXPECT_FALSE(PtVisible(hdc, 17, 17));
    EXPECT_TRUE(PtVisible(hdc, 12, 17));

    HRGN hrgn = CreateRectRgn(0, 0, 5, 5); // device coordinates
    EXPECT_EQ(SelectClipRgn(hdc, hrgn), SIMPLEREGION);
    GetClipBox(hdc, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 15);
    EXPECT_TRUE(DeleteObject(hrgn)); // the DC keeps a copy
    EXPECT_EQ(SelectClipRgn(hdc, nullptr), SIMPLEREGION);
    GetClipBox(hdc, &box);
    EXPECT_EQ(box.left, 10); // the whole surface, seen through the window origin
    EXPECT_EQ(box.right, 50);
}

TEST(DeviceContextTest, BadArgumentsFailCleanly)
{
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    CTestCanvas canvas(2, 2);
    EXPECT_EQ(SetBkMode(canvas.Dc(), 7), 0);
    EXPECT_EQ(SetROP2(canvas.Dc(), 0), 0);
    EXPECT_EQ(SetMapMode(canvas.Dc(), 2), 0);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), 99), nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(hdc));
    EXPECT_FALSE(DeleteDC(hdc));
    EXPECT_EQ(GetBkMode(hdc), 0);
}
