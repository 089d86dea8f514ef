#include "platform/window/Caret.h"

#include "platform/base/Clock.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <thread>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// A 40x30 window that paints itself white, a manual clock, and the default blink time.
class CaretTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        MessageLog::Instance().handler = [](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
            if (uMsg != WM_PAINT)
                return false;
            PAINTSTRUCT ps {};
            HDC hdc = BeginPaint(hWnd, &ps);
            PatBlt(hdc, 0, 0, 40, 30, WHITENESS);
            EndPaint(hWnd, &ps);
            *plResult = 0;
            return true;
        };
        m_hWnd = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 40, 30);
        ASSERT_NE(m_hWnd, nullptr);
        PumpUntilIdle();
        SetCaretBlinkTime(500);
    }
    void TearDown() override
    {
        DestroyCaret();
        DestroyWindow(m_hWnd);
        WindowTest::TearDown();
    }

    // A popup without a frame: window and client coordinates agree.
    COLORREF At(int x, int y) const { return WindowPixel(m_hWnd, x, y); }
    // Whether the 2x10 caret at (x, y) shows, checking its corners and the pixels around it.
    bool ShowsAt(int x, int y) const
    {
        EXPECT_EQ(At(x - 1, y), WHITE);
        EXPECT_EQ(At(x + 2, y + 9), WHITE);
        EXPECT_EQ(At(x, y + 10), WHITE);
        bool bOn = At(x, y) == BLACK;
        EXPECT_EQ(At(x + 1, y + 9) == BLACK, bOn);
        return bOn;
    }
    void Advance(UINT nMilliseconds)
    {
        m_clock.Advance(nMilliseconds);
        PumpUntilIdle();
    }
    // Whether nothing but white is left in the window.
    bool AllWhite() const
    {
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (At(x, y) != WHITE)
                    return false;
            }
        }
        return true;
    }

    CManualClock m_clock { 0, 1000 };
    CClockOverride m_useClock { m_clock };
    HWND m_hWnd { nullptr };
};

}

TEST_F(CaretTest, BlinksOnTheClockAndHidesWithoutTrace)
{
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(5, 4));
    EXPECT_FALSE(ShowsAt(5, 4)); // made hidden
    ASSERT_TRUE(ShowCaret(m_hWnd));
    EXPECT_TRUE(ShowsAt(5, 4));
    Advance(499);
    EXPECT_TRUE(ShowsAt(5, 4));
    Advance(1);
    EXPECT_FALSE(ShowsAt(5, 4));
    Advance(500);
    EXPECT_TRUE(ShowsAt(5, 4));

    ASSERT_TRUE(HideCaret(m_hWnd));
    EXPECT_TRUE(AllWhite());
    Advance(2000);
    EXPECT_TRUE(AllWhite());
    // The blinking never reaches the window as a timer message.
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        EXPECT_NE(message.uMsg, WM_TIMER);
        EXPECT_NE(message.uMsg, WM_SYSTIMER);
    }
}

TEST_F(CaretTest, HidingCountsAndMovingShowsAtOnce)
{
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    SetCaretPos(3, 3);
    ShowCaret(m_hWnd);
    HideCaret(m_hWnd);
    HideCaret(m_hWnd);
    ShowCaret(m_hWnd);
    EXPECT_TRUE(AllWhite());
    ShowCaret(m_hWnd);
    EXPECT_TRUE(ShowsAt(3, 3));

    Advance(500); // off now
    ASSERT_TRUE(SetCaretPos(20, 10));
    EXPECT_TRUE(ShowsAt(20, 10));
    EXPECT_EQ(At(3, 3), WHITE);
    POINT pt {};
    ASSERT_TRUE(GetCaretPos(&pt));
    EXPECT_EQ(pt.x, 20);
    EXPECT_EQ(pt.y, 10);
    Advance(499); // a full period from the move
    EXPECT_TRUE(ShowsAt(20, 10));

    SetCaretBlinkTime(INFINITE);
    Advance(5000);
    EXPECT_TRUE(ShowsAt(20, 10));
    ASSERT_TRUE(DestroyCaret());
    EXPECT_TRUE(AllWhite());
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(ShowCaret(m_hWnd));
}

TEST_F(CaretTest, RepaintingLeavesNoStrayCaret)
{
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    SetCaretPos(8, 8);
    ShowCaret(m_hWnd);
    ASSERT_TRUE(ShowsAt(8, 8));
    // The repaint whitens the window; the caret comes back over it.
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
    EXPECT_TRUE(ShowsAt(8, 8));
    // Blinking and hiding now restore white, never leave the caret's negative.
    Advance(500);
    EXPECT_TRUE(AllWhite());
    Advance(500);
    HideCaret(m_hWnd);
    EXPECT_TRUE(AllWhite());
}

TEST_F(CaretTest, HiddenAndShownAgainInsideAPaintItBlinksAfterwards)
{
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    SetCaretPos(8, 8);
    ShowCaret(m_hWnd);
    PAINTSTRUCT ps {};
    BeginPaint(m_hWnd, &ps);
    HideCaret(m_hWnd);
    ShowCaret(m_hWnd);
    EndPaint(m_hWnd, &ps);
    ASSERT_TRUE(ShowsAt(8, 8));
    Advance(500);
    EXPECT_FALSE(ShowsAt(8, 8));
    Advance(500);
    EXPECT_TRUE(ShowsAt(8, 8));
}

TEST_F(CaretTest, ScrollingCarriesTheCaretWithThePixels)
{
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    SetCaretPos(5, 4);
    ShowCaret(m_hWnd);
    ScrollWindowEx(m_hWnd, 10, 0, nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_TRUE(ShowsAt(15, 4));
    EXPECT_EQ(At(5, 4), WHITE);
    POINT pt {};
    GetCaretPos(&pt);
    EXPECT_EQ(pt.x, 15);
    HideCaret(m_hWnd);
    EXPECT_TRUE(AllWhite());
}

TEST_F(CaretTest, BitmapCaretInvertsItsWhitePixelsOnly)
{
    // Rows of two bytes: 1100, 0011.
    constexpr BYTE SHAPE[] = { 0xC0, 0, 0x30, 0 };
    HBITMAP hShape = CreateBitmap(4, 2, 1, 1, SHAPE);
    ASSERT_TRUE(CreateCaret(m_hWnd, hShape, 0, 0));
    SetCaretPos(10, 10);
    ShowCaret(m_hWnd);
    EXPECT_EQ(At(10, 10), BLACK);
    EXPECT_EQ(At(11, 10), BLACK);
    EXPECT_EQ(At(12, 10), WHITE);
    EXPECT_EQ(At(12, 11), BLACK);
    EXPECT_EQ(At(10, 11), WHITE);
    DestroyCaret();
    EXPECT_TRUE(AllWhite());
    DeleteObject(hShape);
}

TEST_F(CaretTest, CaretBelongsToOneThreadAndDiesWithItsWindow)
{
    // Another thread can neither make a caret for this window nor touch this thread's caret.
    ASSERT_TRUE(CreateCaret(m_hWnd, nullptr, 2, 10));
    BOOL bMadeThere = TRUE;
    BOOL bMovedThere = TRUE;
    std::thread other([&] {
        bMadeThere = CreateCaret(m_hWnd, nullptr, 2, 10);
        bMovedThere = SetCaretPos(1, 1);
    });
    other.join();
    EXPECT_FALSE(bMadeThere);
    EXPECT_FALSE(bMovedThere);

    HWND hOther = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 0, 20, 20);
    ASSERT_TRUE(CreateCaret(hOther, nullptr, 2, 10)); // replaces the first
    EXPECT_FALSE(ShowCaret(m_hWnd));
    EXPECT_TRUE(ShowCaret(hOther));
    DestroyWindow(hOther);
    POINT pt {};
    EXPECT_FALSE(GetCaretPos(&pt));
    EXPECT_FALSE(ShowCaret(nullptr));
}
