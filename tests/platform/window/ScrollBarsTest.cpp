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

TEST_F(ScrollBarsTest, AMovedThumbRepaintsTheFrameAndLeavesTheClientAreaAlone)
{
    // At 0 the thumb lies just below the upper arrow, where the track showed.
    const int nBelowArrow = GetSystemMetrics(SM_CYVSCROLL) + 2;
    const COLORREF crTrack = WindowPixel(m_hWnd, BarLeft() + 5, nBelowArrow);
    SetScrollPos(m_hWnd, SB_VERT, 0, TRUE);
    RECT rcUpdate {};
    EXPECT_FALSE(GetUpdateRect(m_hWnd, &rcUpdate, FALSE));
    PumpUntilIdle();
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_NCPAINT, WM_ERASEBKGND }),
        (std::vector<std::pair<HWND, UINT>> { { m_hWnd, WM_NCPAINT } }));
    const COLORREF crThumb = WindowPixel(m_hWnd, BarLeft() + 5, nBelowArrow);
    EXPECT_NE(crThumb, crTrack);

    // Without redraw the bar stays as drawn; an area inside the client area
    // with RDW_FRAME is the client area alone.
    SetScrollPos(m_hWnd, SB_VERT, 50, FALSE);
    RECT rcInside { 10, 10, 20, 20 };
    RedrawWindow(m_hWnd, &rcInside, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    PumpUntilIdle();
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_NCPAINT, WM_ERASEBKGND }),
        (std::vector<std::pair<HWND, UINT>> { { m_hWnd, WM_ERASEBKGND } }));
    EXPECT_EQ(WindowPixel(m_hWnd, BarLeft() + 5, nBelowArrow), crThumb);
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

TEST_F(ScrollBarsTest, DraggingTheThumbTracksUntilTheRelease)
{
    // What the window hears while the thumb moves: the code, the position in
    // the message and the one SIF_TRACKPOS gives, and the bar's own position.
    struct Heard {
        WORD nCode;
        int nPos;
        int nTrackPos;
        int nBarPos;
        bool operator==(const Heard&) const = default;
    };
    std::vector<Heard> heard;
    std::vector<UINT> posted;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT*) {
        if (uMsg == WM_USER)
            posted.push_back(uMsg);
        if (uMsg != WM_VSCROLL)
            return false;
        SCROLLINFO si { sizeof(si), SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(m_hWnd, SB_VERT, &si);
        heard.push_back({ LOWORD(wParam), HIWORD(wParam), si.nTrackPos, si.nPos });
        return false;
    };
    // The whole gesture waits in the queue before the loop starts, as when
    // the program was busy; moves reach the loop wherever they were sent.
    int x = 100 + BarLeft() + 5;
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, POINT { x, 200 }, 0 });
    PostMessage(m_hWnd, WM_USER, 0, 0);
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, POINT { x, 180 }, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, POINT { x - 50, 299 }, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, POINT { x - 50, 299 }, 0 });
    PumpUntilIdle();

    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0].nCode, SB_THUMBTRACK);
    EXPECT_LT(heard[0].nPos, 50) << "moving up lowers the position";
    EXPECT_EQ(heard[0].nTrackPos, heard[0].nPos);
    EXPECT_EQ(heard[1], (Heard { SB_THUMBTRACK, 90, 90, 50 })) << "past the end is the last position";
    EXPECT_EQ(heard[2], (Heard { SB_THUMBPOSITION, 90, 50, 50 }));
    EXPECT_EQ(heard[3].nCode, SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(m_hWnd, SB_VERT), 50) << "the window sets the position itself";
    EXPECT_EQ(posted, std::vector<UINT> { WM_USER }) << "other messages are served during the drag";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarsTest, AWindowThatFollowsTheThumbEndsWhereItWasDropped)
{
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, LRESULT*) {
        if (uMsg == WM_VSCROLL && (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION))
            SetScrollPos(hWnd, SB_VERT, HIWORD(wParam), TRUE);
        return false;
    };
    int x = 100 + BarLeft() + 5;
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, POINT { x, 200 }, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, POINT { x, 0 }, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, POINT { x, 205 }, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, POINT { x, 205 }, 0 });
    PumpUntilIdle();
    // Grabbed at 200 and dropped 5 pixels lower: a little past where it began.
    int nPos = GetScrollPos(m_hWnd, SB_VERT);
    EXPECT_GT(nPos, 50);
    EXPECT_LT(nPos, 60);
}
