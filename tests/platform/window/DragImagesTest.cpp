#include "platform/window/DragImages.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF MAGENTA = RGB(255, 0, 255);

// A 40x20 white window and a list whose one 4x4 image is a green 2x2 square
// at (1, 1) in a transparent frame.
class DragImagesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WNDCLASS wc {};
        wc.lpfnWndProc = RecordingWndProc;
        wc.lpszClassName = "DragTarget";
        RegisterClass(&wc);
        m_hWnd = CreateWindowEx(
            0, "DragTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        PumpUntilIdle();
        HDC hdc = GetWindowDC(m_hWnd);
        PatBlt(hdc, 0, 0, 40, 20, WHITENESS);
        ReleaseDC(m_hWnd, hdc);

        m_himl = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 1);
        HBITMAP hImage = CreateBitmap(4, 4, 1, 32, nullptr);
        HDC hdcImage = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdcImage, hImage);
        HBRUSH hMagenta = CreateSolidBrush(MAGENTA);
        HBRUSH hGreen = CreateSolidBrush(GREEN);
        RECT rcAll { 0, 0, 4, 4 };
        RECT rcSquare { 1, 1, 3, 3 };
        FillRect(hdcImage, &rcAll, hMagenta);
        FillRect(hdcImage, &rcSquare, hGreen);
        SelectObject(hdcImage, hOld);
        DeleteDC(hdcImage);
        DeleteObject(hMagenta);
        DeleteObject(hGreen);
        ASSERT_EQ(ImageList_AddMasked(m_himl, hImage, MAGENTA), 0);
        DeleteObject(hImage);
    }
    void TearDown() override
    {
        ImageList_EndDrag();
        ImageList_Destroy(m_himl);
        DestroyWindow(m_hWnd);
        WindowTest::TearDown();
    }

    COLORREF At(int x, int y) const { return WindowPixel(m_hWnd, x, y); }

    HWND m_hWnd { nullptr };
    HIMAGELIST m_himl { nullptr };
};

}

TEST_F(DragImagesTest, TheImageFollowsTheDragAndLeavesNothingBehind)
{
    ASSERT_TRUE(ImageList_BeginDrag(m_himl, 0, 1, 1));
    EXPECT_FALSE(ImageList_BeginDrag(m_himl, 0, 0, 0)); // one drag at a time
    ASSERT_TRUE(ImageList_DragEnter(m_hWnd, 10, 5));
    // The hot spot (1, 1) lies at (10, 5): the square covers (10, 5) to (11, 6).
    EXPECT_EQ(At(10, 5), GREEN);
    EXPECT_EQ(At(11, 6), GREEN);
    EXPECT_EQ(At(9, 4), WHITE);

    ASSERT_TRUE(ImageList_DragMove(20, 10));
    EXPECT_EQ(At(10, 5), WHITE);
    EXPECT_EQ(At(20, 10), GREEN);

    ASSERT_TRUE(ImageList_DragShowNolock(FALSE));
    EXPECT_EQ(At(20, 10), WHITE);
    ASSERT_TRUE(ImageList_DragMove(30, 10));
    EXPECT_EQ(At(30, 10), WHITE); // hidden images do not draw when moved
    ASSERT_TRUE(ImageList_DragShowNolock(TRUE));
    EXPECT_EQ(At(30, 10), GREEN);

    ASSERT_TRUE(ImageList_DragLeave(m_hWnd));
    EXPECT_EQ(At(30, 10), WHITE);
    ImageList_EndDrag();
    EXPECT_FALSE(ImageList_DragMove(5, 5));
}

TEST_F(DragImagesTest, TheDragKeepsItsOwnCopyOfTheImage)
{
    ASSERT_TRUE(ImageList_BeginDrag(m_himl, 0, 0, 0));
    ASSERT_TRUE(ImageList_RemoveAll(m_himl));
    ASSERT_TRUE(ImageList_DragEnter(m_hWnd, 4, 4));
    EXPECT_EQ(At(5, 5), GREEN);
    ImageList_EndDrag();
    EXPECT_EQ(At(5, 5), WHITE);
    EXPECT_FALSE(ImageList_BeginDrag(m_himl, 0, 0, 0)); // the list is empty now
}

TEST_F(DragImagesTest, CursorImageJoinsTheDragImageAtTheHotSpot)
{
    constexpr COLORREF BLUE = RGB(0, 0, 255);
    // A 2x2 opaque blue cursor image.
    HIMAGELIST hCursors = ImageList_Create(2, 2, ILC_COLOR32, 1, 1);
    HBITMAP hBlue = CreateBitmap(2, 2, 1, 32, nullptr);
    HDC hdcBlue = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdcBlue, hBlue);
    HBRUSH hBrush = CreateSolidBrush(BLUE);
    RECT rc { 0, 0, 2, 2 };
    FillRect(hdcBlue, &rc, hBrush);
    SelectObject(hdcBlue, hOld);
    DeleteDC(hdcBlue);
    DeleteObject(hBrush);
    ASSERT_EQ(ImageList_Add(hCursors, hBlue, nullptr), 0);
    DeleteObject(hBlue);

    EXPECT_FALSE(ImageList_SetDragCursorImage(hCursors, 0, 0, 0)); // no drag yet
    ASSERT_TRUE(ImageList_BeginDrag(m_himl, 0, 1, 1));
    ASSERT_TRUE(ImageList_DragEnter(m_hWnd, 10, 5));
    // The cursor's hot spot (1, 1) goes on the drag hot spot at (10, 5).
    ASSERT_TRUE(ImageList_SetDragCursorImage(hCursors, 0, 1, 1));
    EXPECT_EQ(At(9, 4), BLUE);
    EXPECT_EQ(At(10, 5), BLUE);
    EXPECT_EQ(At(11, 6), GREEN);
    EXPECT_EQ(At(11, 4), WHITE);
    // A new cursor image replaces the last one; the merged image reaches up and left.
    ASSERT_TRUE(ImageList_SetDragCursorImage(hCursors, 0, 3, 3));
    EXPECT_EQ(At(9, 4), WHITE);
    EXPECT_EQ(At(7, 2), BLUE);
    EXPECT_EQ(At(8, 3), BLUE);
    EXPECT_EQ(At(10, 5), GREEN);
    ASSERT_TRUE(ImageList_DragMove(20, 10));
    EXPECT_EQ(At(17, 7), BLUE);
    EXPECT_EQ(At(20, 10), GREEN);
    EXPECT_EQ(At(7, 2), WHITE);

    ASSERT_TRUE(ImageList_DragLeave(m_hWnd));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(At(x, y), WHITE) << x << "," << y;
    }
    ImageList_EndDrag();
    ImageList_Destroy(hCursors);
}
