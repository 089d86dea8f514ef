#include "platform/window/Focus.h"

#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

constexpr UINT ACTIVATION_MESSAGES[] = { WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS };

class FocusTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hFirst = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
        m_hEdit = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, m_hFirst, 1);
        m_hSecond = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 300, 200);
        MessageLog::Instance().Take();
    }

    // The focus and activation messages logged since the last call.
    std::vector<LoggedMessage> Take()
    {
        std::vector<LoggedMessage> result;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (std::find(std::begin(ACTIVATION_MESSAGES), std::end(ACTIVATION_MESSAGES), message.uMsg)
                != std::end(ACTIVATION_MESSAGES))
                result.push_back(message);
        }
        return result;
    }

    static WPARAM W(HWND hWnd) { return reinterpret_cast<WPARAM>(hWnd); }
    static LPARAM L(HWND hWnd) { return reinterpret_cast<LPARAM>(hWnd); }

    HWND m_hFirst { nullptr };
    HWND m_hEdit { nullptr };
    HWND m_hSecond { nullptr };
};

TEST_F(FocusTest, KillFocusNamesTheNewWindowAndSetFocusTheOld)
{
    SetActiveWindow(m_hFirst);
    Take();
    HWND hOther = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, m_hFirst, 2);
    SetFocus(m_hEdit);
    Take();
    HWND hSeenDuringKill = nullptr;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_KILLFOCUS)
            hSeenDuringKill = GetFocus();
        return false;
    };
    EXPECT_EQ(SetFocus(hOther), m_hEdit);
    std::vector<LoggedMessage> expected { { m_hEdit, WM_KILLFOCUS, W(hOther), 0 },
        { hOther, WM_SETFOCUS, W(m_hEdit), 0 } };
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(GetFocus(), hOther);
    EXPECT_EQ(hSeenDuringKill, m_hEdit);
}

TEST_F(FocusTest, FocusingAWindowOfAnotherTopLevelActivatesItFirst)
{
    SetFocus(m_hEdit);
    EXPECT_EQ(GetActiveWindow(), m_hFirst);
    Take();
    SetFocus(m_hSecond);
    std::vector<LoggedMessage> expected {
        { m_hFirst, WM_NCACTIVATE, FALSE, 0 },
        { m_hFirst, WM_ACTIVATE, WA_INACTIVE, L(m_hSecond) },
        { m_hSecond, WM_NCACTIVATE, TRUE, 0 },
        { m_hSecond, WM_ACTIVATE, WA_ACTIVE, L(m_hFirst) },
        { m_hEdit, WM_KILLFOCUS, W(m_hSecond), 0 }, // the default WM_ACTIVATE focuses the window
        { m_hSecond, WM_SETFOCUS, W(m_hEdit), 0 },
    };
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(GetActiveWindow(), m_hSecond);
    EXPECT_EQ(GetTopWindow(nullptr), m_hSecond);
}

TEST_F(FocusTest, TheProgramIsToldWhenItBecomesActiveAndInactive)
{
    SetActiveWindow(m_hFirst);
    auto first = MessageLog::Instance().TakeMessages({ WM_ACTIVATEAPP });
    EXPECT_EQ(first.size(), 2u); // each top-level window
    SetActiveWindow(m_hSecond);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_ACTIVATEAPP }).empty());
    SetActiveWindow(nullptr);
    std::vector<LoggedMessage> deactivated;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_ACTIVATEAPP)
            deactivated.push_back(message);
    }
    ASSERT_EQ(deactivated.size(), 2u);
    EXPECT_EQ(deactivated[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(FocusTest, NullTakesTheFocusAwayAndBadWindowsAreRefused)
{
    SetFocus(m_hEdit);
    Take();
    EXPECT_EQ(SetFocus(nullptr), m_hEdit);
    std::vector<LoggedMessage> expected { { m_hEdit, WM_KILLFOCUS, 0, 0 } };
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x5555)), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(SetForegroundWindow(reinterpret_cast<HWND>(0x5555)));
}

TEST_F(FocusTest, ADestroyedFocusWindowLeavesNoFocus)
{
    SetFocus(m_hEdit);
    DestroyWindow(m_hFirst);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    SetFocus(m_hSecond);
    EXPECT_EQ(GetFocus(), m_hSecond);
}

}
