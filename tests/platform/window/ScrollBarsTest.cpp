#include "platform/window/ScrollBars.h"

#include "platform/base/WinError.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

// A 200 by 200 popup with a vertical scroll bar over 0..99, a page of 10, at 50.
class ScrollBarsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hWnd = CreateRecordingWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 100, 100, 200, 200);
        SCROLLINFO si { sizeof(si), SIF_ALL, 0, 99, 10, 50, 0 };
        SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }

    // The WM_VSCROLL and WM_HSCROLL codes a press at (x, y) of the window sends.
    std::vector<std::pair<UINT, WORD>> Press(int x, int y)
    {
        POINT pt { 100 + x, 100 + y };
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, pt, 0 });
        PumpUntilIdle();
        std::vector<std::pair<UINT, WORD>> codes;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == WM_VSCROLL || message.uMsg == WM_HSCROLL)
                codes.emplace_back(message.uMsg, LOWORD(message.wParam));
        }
        return codes;
    }

    int BarLeft() const { return 200 - GetSystemMetrics(SM_CXVSCROLL); }

    HWND m_hWnd { nullptr };
};

TEST_F(ScrollBarsTest, ThePositionStaysWithinTheRangeLessThePage)
{
    EXPECT_EQ(SetScrollPos(m_hWnd, SB_VERT, 500, TRUE), 50);
    EXPECT_EQ(GetScrollPos(m_hWnd, SB_VERT), 90); // 99 - (10 - 1)
    SCROLLINFO si { sizeof(si), SIF_POS, 0, 0, 0, -5, 0 };
    EXPECT_EQ(SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE), 0);
    si = SCROLLINFO { sizeof(si), SIF_RANGE, 10, 20, 0, 0, 0 };
    SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m_hWnd, SB_VERT, &si));
    EXPECT_EQ(si.nMin, 10);
    EXPECT_EQ(si.nMax, 20);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 10);
}

TEST_F(ScrollBarsTest, PressesOnTheBarSendScrollCodes)
{
    using Codes = std::vector<std::pair<UINT, WORD>>;
    int x = BarLeft() + 5;
    EXPECT_EQ(Press(x, 5), (Codes { { WM_VSCROLL, SB_LINEUP }, { WM_VSCROLL, SB_ENDSCROLL } }));
    EXPECT_EQ(Press(x, 200 - GetSystemMetrics(SM_CYHSCROLL) - 5),
        (Codes { { WM_VSCROLL, SB_LINEDOWN }, { WM_VSCROLL, SB_ENDSCROLL } }));
    EXPECT_EQ(Press(x, 25), (Codes { { WM_VSCROLL, SB_PAGEUP }, { WM_VSCROLL, SB_ENDSCROLL } }));
    EXPECT_EQ(Press(x, 160), (Codes { { WM_VSCROLL, SB_PAGEDOWN }, { WM_VSCROLL, SB_ENDSCROLL } }));
}

TEST_F(ScrollBarsTest, DisabledArrowsAndEmptyRangesSendNothing)
{
    int x = BarLeft() + 5;
    EXPECT_TRUE(EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_UP)); // no change
    EXPECT_TRUE(Press(x, 5).empty());
    EXPECT_FALSE(Press(x, 190 - GetSystemMetrics(SM_CYHSCROLL)).empty());
    // The horizontal bar has no range: its track does nothing.
    EXPECT_TRUE(Press(100, 200 - GetSystemMetrics(SM_CYHSCROLL) / 2).empty());
}

TEST_F(ScrollBarsTest, HidingABarGivesItsSpaceToTheClientArea)
{
    RECT rcBefore {};
    GetClientRect(m_hWnd, &rcBefore);
    ASSERT_TRUE(ShowScrollBar(m_hWnd, SB_VERT, FALSE));
    RECT rcAfter {};
    GetClientRect(m_hWnd, &rcAfter);
    EXPECT_EQ(rcAfter.right - rcBefore.right, GetSystemMetrics(SM_CXVSCROLL));
    LRESULT nHit = SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELONG(100 + BarLeft() + 5, 150));
    EXPECT_EQ(nHit, HTCLIENT);
}

TEST_F(ScrollBarsTest, BadBarsAndSizesAreRefused)
{
    SCROLLINFO si { sizeof(si), SIF_ALL, 0, 0, 0, 0, 0 };
    EXPECT_FALSE(GetScrollInfo(m_hWnd, SB_CTL, &si));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    si.cbSize = 3;
    EXPECT_EQ(SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE), 0);
    EXPECT_FALSE(ShowScrollBar(m_hWnd, 7, TRUE));
    EXPECT_FALSE(GetScrollRange(m_hWnd, SB_VERT, nullptr, nullptr));
    EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x3333), SB_VERT, &si));
}

}
