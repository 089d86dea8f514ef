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
    EXPECT_EQ(GetActiveWindow(), m_hSecond) << "the last window shown";
    SetActiveWindow(nullptr);
    std::vector<LoggedMessage> deactivated;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_ACTIVATEAPP)
            deactivated.push_back(message);
    }
    ASSERT_EQ(deactivated.size(), 2u); // each top-level window
    EXPECT_EQ(deactivated[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    SetActiveWindow(m_hFirst);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_ACTIVATEAPP }).size(), 2u);
    SetActiveWindow(m_hSecond);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_ACTIVATEAPP }).empty());
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

/***** Windows coming and going *****/

TEST_F(FocusTest, ShowingATopLevelWindowActivatesItUnlessTheCallAsksNotTo)
{
    HWND hThird = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 0, 300, 200, 100);
    HWND hChild = CreateRecordingWindow(WS_CHILD, 5, 5, 50, 20, hThird, 1);
    for (int nCmdShow : { SW_SHOWNA, SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_MINIMIZE }) {
        ShowWindow(hThird, nCmdShow);
        EXPECT_EQ(GetActiveWindow(), m_hSecond) << nCmdShow;
        ShowWindow(hThird, SW_HIDE);
    }
    SetWindowPos(hThird, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(hChild, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), m_hSecond);
    Take();

    // Shown again while visible: activated all the same, the focus with it.
    ShowWindow(hThird, SW_SHOWNORMAL);
    std::vector<LoggedMessage> expected {
        { m_hSecond, WM_NCACTIVATE, FALSE, 0 },
        { m_hSecond, WM_ACTIVATE, WA_INACTIVE, L(hThird) },
        { hThird, WM_NCACTIVATE, TRUE, 0 },
        { hThird, WM_ACTIVATE, WA_ACTIVE, L(m_hSecond) },
        { m_hSecond, WM_KILLFOCUS, W(hThird), 0 },
        { hThird, WM_SETFOCUS, W(m_hSecond), 0 },
    };
    EXPECT_EQ(Take(), expected);

    // Moved without SWP_NOACTIVATE: activated; WS_EX_NOACTIVATE: never.
    SetWindowPos(m_hFirst, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(GetActiveWindow(), m_hFirst);
    HWND hPalette = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, WS_EX_NOACTIVATE);
    ShowWindow(hPalette, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), m_hFirst);
    HWND hPopup = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, m_hFirst);
    EXPECT_EQ(GetActiveWindow(), hPopup);
    EXPECT_EQ(GetFocus(), hPopup);
}

TEST_F(FocusTest, HidingTheActiveWindowActivatesItsOwnerElseTheNextWindow)
{
    HWND hTip = CreateRecordingWindow(WS_POPUP, 0, 0, 50, 50, nullptr, 0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    SetWindowPos(hTip, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND hOwned = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 100, 100, m_hFirst);
    SetFocus(m_hSecond); // above the owner in the z-order
    SetFocus(hOwned);
    Take();

    // The owner, although another window lies above it.
    ShowWindow(hOwned, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), m_hFirst);
    EXPECT_EQ(GetFocus(), m_hFirst);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_ACTIVATE, WM_SETFOCUS }),
        (std::vector<std::pair<HWND, UINT>> {
            { hOwned, WM_ACTIVATE }, { m_hFirst, WM_ACTIVATE }, { m_hFirst, WM_SETFOCUS } }));

    // Without an owner: the next window of the program, the tool window passed over.
    SetWindowPos(m_hFirst, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(GetActiveWindow(), m_hSecond);
    EXPECT_EQ(GetFocus(), m_hSecond);

    // The last one: the program is inactive and keys go nowhere.
    ShowWindow(m_hSecond, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(MessageLog::Instance().TakeMessages({ WM_ACTIVATEAPP }).empty());
}

TEST_F(FocusTest, DestroyingTheActiveWindowActivatesTheNextAndItsOwnedWindowsGoFirst)
{
    HWND hOwned = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, m_hFirst);
    SetFocus(m_hEdit);
    SetFocus(hOwned);
    Take();
    DestroyWindow(m_hFirst);
    EXPECT_FALSE(IsWindow(hOwned));
    EXPECT_EQ(GetActiveWindow(), m_hSecond) << "neither the dying owner nor its owned window";
    EXPECT_EQ(GetFocus(), m_hSecond);
    for (const LoggedMessage& message : Take())
        EXPECT_NE(message.wParam == TRUE && message.uMsg == WM_NCACTIVATE ? message.hWnd : nullptr, m_hFirst);
}

TEST_F(FocusTest, DestroyingTheFocusWindowMovesTheFocusToItsParentWhileItStillWorks)
{
    // An in-place editor commits when it loses the focus: it must still be a
    // working window then, and its parent must be told that it has the focus.
    HWND hPane = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 0, 40, 200, 100, m_hFirst, 2);
    HWND hEditor = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 5, 5, 80, 20, hPane, 3, 0, "draft");
    SetFocus(hEditor);
    Take();
    std::string strCommitted;
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (hWnd == hEditor && uMsg == WM_KILLFOCUS) {
            char szText[32] {};
            GetWindowText(hWnd, szText, sizeof(szText));
            strCommitted = szText;
        }
        return false;
    };
    DestroyWindow(hEditor);
    EXPECT_EQ(strCommitted, "draft");
    EXPECT_EQ(GetFocus(), hPane);
    std::vector<LoggedMessage> expected { { hEditor, WM_KILLFOCUS, W(hPane), 0 },
        { hPane, WM_SETFOCUS, W(hEditor), 0 } };
    EXPECT_EQ(Take(), expected);

    // Hiding a pane that contains the focus moves it up as well.
    HWND hInner = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 5, 5, 80, 20, hPane, 4);
    SetFocus(hInner);
    ShowWindow(hPane, SW_HIDE);
    EXPECT_EQ(GetFocus(), m_hFirst);
    // A window without the focus changes nothing.
    ShowWindow(hPane, SW_SHOW);
    Take();
    DestroyWindow(hPane);
    EXPECT_EQ(GetFocus(), m_hFirst);
    EXPECT_TRUE(Take().empty());
}

}
