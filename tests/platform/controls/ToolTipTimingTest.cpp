#include "platform/controls/ToolTipControl.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ButtonControl.h"
#include "platform/window/Focus.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

namespace {

class ToolTipTimingTest : public CommonControlTest {
protected:
    void SetUp() override
    {
        CommonControlTest::SetUp();
        m_hButton = CreateControl("Button", "OK", BS_PUSHBUTTON, 20, 20, 80, 24, 51001);
        m_hTip = CreateWindowEx(
            0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hParent, nullptr, nullptr, nullptr);
        SetActiveWindow(m_hParent);
        PumpUntilIdle();
    }
    BOOL AddTool(UINT uFlags, HWND hwnd, UINT_PTR uId, LPCSTR lpszText, RECT rect = {})
    {
        TOOLINFO info { sizeof(TOOLINFO), uFlags, hwnd, uId, rect, nullptr, const_cast<LPSTR>(lpszText), 0, nullptr };
        return static_cast<BOOL>(SendMessage(m_hTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
    }
    // Relays a message of the parent at a client point, as an owner's PreTranslateMessage does;
    // moves put the cursor there first, as a real move would.
    void Relay(UINT uMsg, int x, int y)
    {
        if (uMsg == WM_MOUSEMOVE)
            Mouse(m_hParent, EMouseAction::Move, x, y);
        MSG msg { m_hParent, uMsg, 0, MAKELPARAM(x, y), 0, {} };
        SendMessage(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    // Moves the clock on and runs what fell due.
    void Wait(UINT nMilliseconds)
    {
        m_clock.Advance(nMilliseconds);
        PumpUntilIdle();
    }
    bool Shown() const { return IsWindowVisible(m_hTip) != FALSE; }

    HWND m_hButton { nullptr };
    HWND m_hTip { nullptr };
};

TEST_F(ToolTipTimingTest, TipShowsAfterTheInitialDelayWithoutTakingActivationAndPopsLater)
{
    ASSERT_TRUE(AddTool(TTF_IDISHWND | TTF_SUBCLASS, m_hParent, reinterpret_cast<UINT_PTR>(m_hButton), "Find next"));
    const UINT nInitial = GetDoubleClickTime();
    HWND hFocus = GetFocus();
    Mouse(m_hButton, EMouseAction::Move, 10, 10);
    Wait(nInitial - 1);
    EXPECT_FALSE(Shown());
    Mouse(m_hButton, EMouseAction::Move, 12, 11); // moving inside the tool does not start again
    Wait(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(GetActiveWindow(), m_hParent);
    EXPECT_EQ(GetFocus(), hFocus);
    EXPECT_EQ(GetWindowLongPtr(m_hTip, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
        static_cast<LONG_PTR>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    RECT rcTip {};
    RECT rcButton {};
    GetWindowRect(m_hTip, &rcTip);
    GetWindowRect(m_hButton, &rcButton);
    EXPECT_GT(rcTip.top, rcButton.top + 10);   // below the cursor
    EXPECT_EQ(rcTip.left, rcButton.left + 12); // at the last position the mouse was seen

    // A new text on show gets a window that fits it, where the tip stands.
    TOOLINFO info { sizeof(TOOLINFO), 0, m_hParent, reinterpret_cast<UINT_PTR>(m_hButton), {}, nullptr,
        const_cast<LPSTR>("Find the next match in the catalog"), 0, nullptr };
    SendMessage(m_hTip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
    RECT rcLonger {};
    GetWindowRect(m_hTip, &rcLonger);
    EXPECT_EQ(rcLonger.left, rcTip.left);
    EXPECT_GT(rcLonger.right, rcTip.right);

    Wait(nInitial * 10 - 1);
    EXPECT_TRUE(Shown());
    Wait(1);
    EXPECT_FALSE(Shown());
    Wait(nInitial * 2); // resting on the same tool does not bring it back
    EXPECT_FALSE(Shown());

    // Leaving and coming back starts over; a press ends the tip.
    Mouse(m_hParent, EMouseAction::Move, 300, 200); // the parent is not watched: the tip checks the cursor
    Wait(100);
    Mouse(m_hButton, EMouseAction::Move, 10, 10);
    Wait(nInitial);
    EXPECT_TRUE(Shown());
    Mouse(m_hButton, EMouseAction::ButtonDown, 10, 10);
    Mouse(m_hButton, EMouseAction::ButtonUp, 10, 10);
    EXPECT_FALSE(Shown());
    Wait(nInitial * 2);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTimingTest, RelayedMovesSwitchToolsAfterTheReshowDelayAndAskForCallbackTexts)
{
    ASSERT_TRUE(AddTool(0, m_hParent, 1, "first", RECT { 200, 100, 260, 140 }));
    ASSERT_TRUE(AddTool(0, m_hParent, 2, LPSTR_TEXTCALLBACK, RECT { 270, 100, 330, 140 }));
    EXPECT_FALSE(AddTool(0, m_hParent, 2, "again")); // (hwnd, uId) names one tool
    onNotify = [](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == TTN_NEEDTEXT)
            lstrcpyn(reinterpret_cast<NMTTDISPINFO*>(pHdr)->szText, "second from callback", 80);
        return 0;
    };
    const UINT nInitial = GetDoubleClickTime();
    Relay(WM_MOUSEMOVE, 210, 110);
    Wait(nInitial);
    ASSERT_TRUE(Shown());
    TOOLINFO current { sizeof(TOOLINFO), 0, nullptr, 0, {}, nullptr, nullptr, 0, nullptr };
    EXPECT_TRUE(SendMessage(m_hTip, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, 1U);

    Relay(WM_MOUSEMOVE, 280, 110);
    EXPECT_FALSE(Shown());
    Wait(nInitial / 5);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(TakeNotifications({ TTN_NEEDTEXT }).size(), 1U);
    char szText[80] {};
    TOOLINFO info { sizeof(TOOLINFO), 0, m_hParent, 2, {}, nullptr, szText, 0, nullptr };
    SendMessage(m_hTip, TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "second from callback");

    // Keys end it; so do deactivation and deleting the current tool.
    Relay(WM_KEYDOWN, 0, 0);
    EXPECT_FALSE(Shown());
    Relay(WM_MOUSEMOVE, 210, 110);
    SendMessage(m_hTip, TTM_ACTIVATE, FALSE, 0);
    Wait(nInitial);
    EXPECT_FALSE(Shown());
    Relay(WM_MOUSEMOVE, 215, 110); // ignored while inactive
    Wait(nInitial);
    EXPECT_FALSE(Shown());
    SendMessage(m_hTip, TTM_ACTIVATE, TRUE, 0);
    Relay(WM_MOUSEMOVE, 215, 112);
    Wait(nInitial);
    ASSERT_TRUE(Shown());
    TOOLINFO first { sizeof(TOOLINFO), 0, m_hParent, 1, {}, nullptr, nullptr, 0, nullptr };
    SendMessage(m_hTip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_FALSE(Shown());
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    Wait(nInitial * 2);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTimingTest, DelaysFollowTheOwnersSettingsAndAHandlerMayDestroyTheTip)
{
    SendMessage(m_hTip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 100);
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 100);
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 1000);
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 20);
    SendMessage(m_hTip, TTM_SETDELAYTIME, TTDT_INITIAL, -1);
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), static_cast<LRESULT>(GetDoubleClickTime()));

    ASSERT_TRUE(
        AddTool(TTF_IDISHWND | TTF_SUBCLASS, m_hParent, reinterpret_cast<UINT_PTR>(m_hButton), LPSTR_TEXTCALLBACK));
    onNotify = [this](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == TTN_NEEDTEXT)
            DestroyWindow(m_hTip);
        return 0;
    };
    Mouse(m_hButton, EMouseAction::Move, 10, 10);
    Wait(GetDoubleClickTime());
    EXPECT_FALSE(IsWindow(m_hTip));
    // The button is no longer watched by anyone and goes on working.
    Mouse(m_hButton, EMouseAction::Move, 12, 12);
    Click(m_hButton, 10, 10);
    EXPECT_EQ(TakeCommands().size(), 1U);
}

} // namespace

TEST_F(ToolTipTimingTest, ATrackedTipStandsAtItsPointUntilItsOwnerTakesItDown)
{
    constexpr UINT_PTR ID_TRACKED = 5;
    ASSERT_TRUE(AddTool(TTF_TRACK | TTF_ABSOLUTE, m_hParent, ID_TRACKED, "Tracked"));
    TOOLINFO tool { sizeof(TOOLINFO), 0, m_hParent, ID_TRACKED, {}, nullptr, nullptr, 0, nullptr };
    auto Send = [&](UINT uMsg, WPARAM wParam, LPARAM lParam) { return SendMessage(m_hTip, uMsg, wParam, lParam); };
    auto WindowRect = [&] {
        RECT rc {};
        GetWindowRect(m_hTip, &rc);
        return rc;
    };
    const auto nBubble = static_cast<DWORD>(Send(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
    ASSERT_GT(LOWORD(nBubble), 0);

    // Shown at once, its top-left corner at the point, in the size the bubble size told.
    Send(TTM_TRACKPOSITION, 0, MAKELPARAM(300, 200));
    Send(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    ASSERT_TRUE(Shown());
    EXPECT_EQ(WindowRect(), (RECT { 300, 200, 300 + LOWORD(nBubble), 200 + HIWORD(nBubble) }));

    // The mouse, presses and time do not take it down.
    Relay(WM_MOUSEMOVE, 5, 5);
    Relay(WM_LBUTTONDOWN, 5, 5);
    Wait(GetDoubleClickTime() * 11);
    EXPECT_TRUE(Shown());

    // A new text is shown at once in a window that fits it; a new point moves it, kept on the monitor.
    tool.lpszText = const_cast<LPSTR>("Tracked, with a longer text");
    Send(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&tool));
    const auto nLonger = static_cast<DWORD>(Send(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_GT(LOWORD(nLonger), LOWORD(nBubble));
    EXPECT_EQ(WindowRect(), (RECT { 300, 200, 300 + LOWORD(nLonger), 200 + HIWORD(nLonger) }));
    Send(TTM_TRACKPOSITION, 0, MAKELPARAM(5000, 5000));
    const RECT rcMoved = WindowRect();
    EXPECT_EQ(rcMoved.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rcMoved.bottom, GetSystemMetrics(SM_CYSCREEN));

    Send(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    EXPECT_FALSE(Shown());
    TOOLINFO unknown { sizeof(TOOLINFO), 0, m_hParent, 99, {}, nullptr, nullptr, 0, nullptr };
    Send(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&unknown));
    EXPECT_FALSE(Shown());
    EXPECT_EQ(Send(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&unknown)), 0);
}
