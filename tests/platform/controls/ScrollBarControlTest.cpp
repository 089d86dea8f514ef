#include "platform/controls/ScrollBarControl.h"

#include "platform/gdi/Drawing.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ControlTestSupport.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);

struct ScrollSent {
    UINT uMsg;
    WORD nCode;
    WORD nPos;

    bool operator==(const ScrollSent&) const = default;
};

// A vertical bar 16 wide and 200 high at (10, 10) with the range 0 to 100 and a page of 10.
class ScrollBarControlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        m_hBar = CreateScrollBar(SBS_VERT, 10, 10, 16, 200);
    }

    HWND CreateScrollBar(DWORD dwStyle, int x, int y, int cx, int cy)
    {
        HWND hBar = CreateControl("ScrollBar", "", dwStyle | WS_TABSTOP, x, y, cx, cy, 200);
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0 };
        SendMessage(hBar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
        PumpUntilIdle();
        MessageLog::Instance().Take();
        return hBar;
    }

    // The scroll messages the parent received from a bar since the last call.
    std::vector<ScrollSent> TakeScrolls(HWND hBar)
    {
        std::vector<ScrollSent> scrolls;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd != m_hParent || (message.uMsg != WM_VSCROLL && message.uMsg != WM_HSCROLL))
                continue;
            EXPECT_EQ(reinterpret_cast<HWND>(message.lParam), hBar);
            scrolls.push_back({ message.uMsg, LOWORD(message.wParam), HIWORD(message.wParam) });
        }
        return scrolls;
    }

    HWND m_hBar { nullptr };
};

/***** Mouse *****/

TEST_F(ScrollBarControlTest, ArrowPressesScrollALineAndEndWithEndScroll)
{
    Click(m_hBar, 8, 195);
    Click(m_hBar, 8, 5);
    std::vector<ScrollSent> expected { { WM_VSCROLL, SB_LINEDOWN, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 },
        { WM_VSCROLL, SB_LINEUP, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 } };
    EXPECT_EQ(TakeScrolls(m_hBar), expected);
}

TEST_F(ScrollBarControlTest, HeldArrowRepeatsAfterTheDelayWhileTheCursorStaysOnIt)
{
    Mouse(m_hBar, EMouseAction::ButtonDown, 8, 195);
    m_clock.Advance(SCROLL_REPEAT_DELAY);
    PumpUntilIdle();
    m_clock.Advance(SCROLL_REPEAT_INTERVAL);
    PumpUntilIdle();
    Mouse(m_hBar, EMouseAction::Move, 8, 100);
    m_clock.Advance(SCROLL_REPEAT_INTERVAL);
    PumpUntilIdle();
    Mouse(m_hBar, EMouseAction::ButtonUp, 8, 100);
    std::vector<ScrollSent> expected { { WM_VSCROLL, SB_LINEDOWN, 0 }, { WM_VSCROLL, SB_LINEDOWN, 0 },
        { WM_VSCROLL, SB_LINEDOWN, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 } };
    EXPECT_EQ(TakeScrolls(m_hBar), expected);
}

TEST_F(ScrollBarControlTest, TrackPressesPageTowardsTheCursor)
{
    Click(m_hBar, 8, 180);
    SendMessage(m_hBar, SBM_SETPOS, 91, TRUE);
    m_clock.Advance(5000);
    Click(m_hBar, 8, 20);
    std::vector<ScrollSent> expected { { WM_VSCROLL, SB_PAGEDOWN, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 },
        { WM_VSCROLL, SB_PAGEUP, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 } };
    EXPECT_EQ(TakeScrolls(m_hBar), expected);
}

TEST_F(ScrollBarControlTest, DraggingTheThumbTracksAndEndsWithItsPosition)
{
    HWND hBar = CreateScrollBar(SBS_HORZ, 10, 250, 216, 16);
    // Arrows of 16 leave a track of 184 and a thumb of 18 at its start.
    Mouse(hBar, EMouseAction::ButtonDown, 20, 8);
    Mouse(hBar, EMouseAction::Move, 103, 8);
    Mouse(hBar, EMouseAction::Move, 400, 8);
    Mouse(hBar, EMouseAction::ButtonUp, 400, 8);
    std::vector<ScrollSent> scrolls = TakeScrolls(hBar);
    ASSERT_EQ(scrolls.size(), 4u);
    EXPECT_EQ(scrolls[0].nCode, SB_THUMBTRACK);
    EXPECT_GT(scrolls[0].nPos, 40);
    EXPECT_LT(scrolls[0].nPos, 51);
    EXPECT_EQ(scrolls[1], (ScrollSent { WM_HSCROLL, SB_THUMBTRACK, 91 }));
    EXPECT_EQ(scrolls[2], (ScrollSent { WM_HSCROLL, SB_THUMBPOSITION, 91 }));
    EXPECT_EQ(scrolls[3], (ScrollSent { WM_HSCROLL, SB_ENDSCROLL, 0 }));
    EXPECT_EQ(SendMessage(hBar, SBM_GETPOS, 0, 0), 0); // the parent moves it, not the bar
}

TEST_F(ScrollBarControlTest, DisabledArrowIgnoresPresses)
{
    EXPECT_TRUE(SendMessage(m_hBar, SBM_ENABLE_ARROWS, ESB_DISABLE_DOWN, 0));
    EXPECT_FALSE(SendMessage(m_hBar, SBM_ENABLE_ARROWS, ESB_DISABLE_DOWN, 0));
    Click(m_hBar, 8, 195);
    EXPECT_TRUE(TakeScrolls(m_hBar).empty());
}

/***** Keyboard *****/

TEST_F(ScrollBarControlTest, KeysSendTheirCodesAlongTheBarsAxis)
{
    SetFocus(m_hBar);
    MessageLog::Instance().Take();
    for (UINT nKey : { VK_NEXT, VK_LEFT, VK_HOME }) {
        Key(nKey, TRUE);
        Key(nKey, FALSE);
    }
    std::vector<ScrollSent> expected { { WM_VSCROLL, SB_PAGEDOWN, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 },
        { WM_VSCROLL, SB_TOP, 0 }, { WM_VSCROLL, SB_ENDSCROLL, 0 } };
    EXPECT_EQ(TakeScrolls(m_hBar), expected);
}

/***** Values and painting *****/

TEST_F(ScrollBarControlTest, PositionStaysWithinTheRangeLessThePage)
{
    EXPECT_EQ(SendMessage(m_hBar, SBM_SETPOS, 200, FALSE), 0);
    EXPECT_EQ(SendMessage(m_hBar, SBM_GETPOS, 0, 0), 91);
    EXPECT_EQ(SendMessage(m_hBar, SBM_SETRANGE, 0, 50), 91);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(SendMessage(m_hBar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si)));
    EXPECT_EQ(si.nMax, 50);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 41);
    EXPECT_FALSE(SendMessage(m_hBar, SBM_GETSCROLLINFO, 0, 0));
}

TEST_F(ScrollBarControlTest, ThumbIsDrawnWhereThePositionPutsIt)
{
    HBRUSH hRed = CreateSolidBrush(RED);
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_CTLCOLORSCROLLBAR)
            return false;
        *plResult = reinterpret_cast<LRESULT>(hRed);
        return true;
    };
    SendMessage(m_hBar, SBM_SETPOS, 91, TRUE);
    PumpUntilIdle();
    CCapturedImage image(CaptureWindowImage(m_hParent));
    EXPECT_EQ(image.At(18, 10 + 30), RED);  // the track near the top
    EXPECT_NE(image.At(18, 10 + 180), RED); // the thumb at the bottom
    MessageLog::Instance().handler = nullptr;
    DeleteObject(hRed);
}

} // namespace
