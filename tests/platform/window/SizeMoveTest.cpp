#include "WindowTestSupport.h"

#include "platform/testing/TestDriver.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace {

class SizeMoveTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 300, 200);
        ASSERT_NE(m_hWnd, nullptr);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }

    // A screen point in the middle of the caption button nPlace from the right (0: close).
    POINT CaptionButton(int nPlace) const
    {
        RECT rc {};
        GetWindowRect(m_hWnd, &rc);
        return { rc.right - GetSystemMetrics(SM_CXFRAME) - nPlace * GetSystemMetrics(SM_CXSIZE) - 5,
            rc.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2 };
    }
    // Presses at from; once a move or size loop holds the mouse, moves to `to` and releases there.
    void Drag(POINT from, POINT to)
    {
        MessageLog::Instance().handler = [this, to](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
            if (hWnd == m_hWnd && uMsg == WM_ENTERSIZEMOVE) {
                InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, to, 0 });
                InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, to, 0 });
            }
            return false;
        };
        InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, from, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, from, 0 });
        PumpUntilIdle();
        // Without a loop (a button, a maximized window) the release goes where the press went.
        if (IsButtonDownForTest())
            InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, from, 0 });
        PumpUntilIdle();
        MessageLog::Instance().handler = nullptr;
    }
    static bool IsButtonDownForTest() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }
    void Click(POINT pt)
    {
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, pt, 0 });
        PumpUntilIdle();
    }
    std::vector<UINT> LoopMessages()
    {
        std::vector<UINT> found;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd == m_hWnd && (message.uMsg == WM_ENTERSIZEMOVE || message.uMsg == WM_EXITSIZEMOVE))
                found.push_back(message.uMsg);
        }
        return found;
    }

    HWND m_hWnd { nullptr };
};

} // namespace

TEST_F(SizeMoveTest, CaptionButtonsMinimizeMaximizeAndRestore)
{
    ASSERT_EQ(SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(CaptionButton(1).x, CaptionButton(1).y)), HTMAXBUTTON);
    ASSERT_EQ(SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(CaptionButton(2).x, CaptionButton(2).y)), HTMINBUTTON);
    Click(CaptionButton(1));
    EXPECT_TRUE(IsZoomed(m_hWnd));
    // Maximized, the same box restores.
    Click(CaptionButton(1));
    EXPECT_FALSE(IsZoomed(m_hWnd));
    RECT rc {};
    GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.left, 200);
    Click(CaptionButton(2));
    EXPECT_TRUE(IsIconic(m_hWnd));
}

TEST_F(SizeMoveTest, ABoxTheStyleLacksDoesNothing)
{
    SetWindowLong(m_hWnd, GWL_STYLE, GetWindowLong(m_hWnd, GWL_STYLE) & ~static_cast<LONG>(WS_MAXIMIZEBOX));
    Click(CaptionButton(1));
    EXPECT_FALSE(IsZoomed(m_hWnd));
    // A double click on the caption does not maximize it either.
    MessageLog::Instance().Take();
    SendMessage(m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(IsZoomed(m_hWnd));
}

TEST_F(SizeMoveTest, DraggingTheCaptionMovesTheWindowInsideOneLoop)
{
    RECT rcBefore {};
    GetWindowRect(m_hWnd, &rcBefore);
    POINT ptCaption { rcBefore.left + 60, CaptionButton(0).y };
    Drag(ptCaption, { ptCaption.x + 35, ptCaption.y - 20 });
    RECT rcAfter {};
    GetWindowRect(m_hWnd, &rcAfter);
    EXPECT_EQ(rcAfter.left, rcBefore.left + 35);
    EXPECT_EQ(rcAfter.top, rcBefore.top - 20);
    EXPECT_EQ(rcAfter.right - rcAfter.left, rcBefore.right - rcBefore.left);
    EXPECT_EQ(LoopMessages(), (std::vector<UINT> { WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE }));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeMoveTest, DraggingAFrameEdgeSizesWithinTheTrackingLimits)
{
    RECT rcBefore {};
    GetWindowRect(m_hWnd, &rcBefore);
    POINT ptRight { rcBefore.right - 1, (rcBefore.top + rcBefore.bottom) / 2 };
    ASSERT_EQ(SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptRight.x, ptRight.y)), HTRIGHT);
    Drag(ptRight, { ptRight.x + 50, ptRight.y + 30 });
    RECT rc {};
    GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.right, rcBefore.right + 50);
    EXPECT_EQ(rc.left, rcBefore.left);
    EXPECT_EQ(rc.bottom, rcBefore.bottom); // only the right edge moves
    // Dragged far past the left edge, the window stops at its minimum tracking width.
    POINT ptBottomRight { rc.right - 1, rc.bottom - 1 };
    ASSERT_EQ(SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptBottomRight.x, ptBottomRight.y)), HTBOTTOMRIGHT);
    Drag(ptBottomRight, { rc.left - 500, rc.top - 500 });
    GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(rc.bottom - rc.top, GetSystemMetrics(SM_CYMINTRACK));
    EXPECT_EQ(rc.left, rcBefore.left);
}
