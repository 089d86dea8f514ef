#include "platform/testing/TestDriver.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Timers.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A 300 by 200 popup parent of the recording class at (50, 60), driven by a CTestDriver.
class TestDriverTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(RegisterStandardControls());
        m_hParent = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 60, 300, 200);
        ASSERT_NE(m_hParent, nullptr);
        m_driver.Pump();
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        DestroyWindow(m_hParent);
        WindowTest::TearDown();
    }

    HWND CreateControl(HWND hParent, LPCSTR lpszClass, DWORD dwStyle, int nId, int x = 10, int y = 10)
    {
        HWND hControl = CreateWindowEx(0, lpszClass, "", WS_CHILD | WS_VISIBLE | dwStyle, x, y, 120, 24, hParent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), nullptr, nullptr);
        m_driver.Pump();
        MessageLog::Instance().Take();
        return hControl;
    }

    // The messages of the given kinds the parent received since the last call, with their lParam.
    std::vector<std::pair<UINT, LPARAM>> TakeParentMessages(const std::vector<UINT>& kinds)
    {
        std::vector<std::pair<UINT, LPARAM>> result;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd == m_hParent && std::find(kinds.begin(), kinds.end(), message.uMsg) != kinds.end())
                result.emplace_back(message.uMsg, message.lParam);
        }
        return result;
    }

    CTestDriver m_driver;
    HWND m_hParent { nullptr };
};

std::vector<UINT_PTR> TakeTimerIds(HWND hWnd)
{
    std::vector<UINT_PTR> ids;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.hWnd == hWnd && message.uMsg == WM_TIMER)
            ids.push_back(message.wParam);
    }
    return ids;
}

} // namespace

/***** Time *****/

TEST_F(TestDriverTest, AdvanceFiresDueTimersInOrderAndNoneEarly)
{
    ASSERT_EQ(SetTimer(m_hParent, 1, 30, nullptr), 1u);
    ASSERT_EQ(SetTimer(m_hParent, 2, 50, nullptr), 2u);

    m_driver.Advance(29);
    EXPECT_TRUE(TakeTimerIds(m_hParent).empty());

    // Due at 30, 50, 60, 90, 100 and 120: a single jump to 120 would report each timer once.
    m_driver.Advance(91);
    EXPECT_EQ(TakeTimerIds(m_hParent), (std::vector<UINT_PTR> { 1, 2, 1, 1, 2, 1 }));

    KillTimer(m_hParent, 1);
    KillTimer(m_hParent, 2);
    m_driver.Advance(200);
    EXPECT_TRUE(TakeTimerIds(m_hParent).empty());
}

TEST(TestDriverClockTest, DriverHoldsTheClockForItsLifetime)
{
    ULONGLONG nBefore = ClockTicks();
    {
        CTestDriver driver;
        ULONGLONG nStart = ClockTicks();
        driver.Advance(250);
        EXPECT_EQ(ClockTicks(), nStart + 250);
        EXPECT_EQ(ClockUtcNow(), 132223104000000000ULL + 250 * 10000ULL);
    }
    EXPECT_GE(ClockTicks(), nBefore);
    EXPECT_LT(ClockTicks(), nBefore + 60000);
}

/***** Mouse *****/

TEST_F(TestDriverTest, ClickOnButtonSendsClickedToParent)
{
    HWND hButton = CreateControl(m_hParent, "Button", BS_PUSHBUTTON, 42);
    ASSERT_TRUE(m_driver.Click(hButton, 5, 5));

    std::vector<LoggedMessage> commands;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.hWnd == m_hParent && message.uMsg == WM_COMMAND)
            commands.push_back(message);
    }
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), 42);
    EXPECT_EQ(HIWORD(commands[0].wParam), BN_CLICKED);
    EXPECT_EQ(reinterpret_cast<HWND>(commands[0].lParam), hButton);
}

TEST_F(TestDriverTest, MouseActionsArriveAtTheClientPointsGiven)
{
    m_driver.RightClick(m_hParent, 12, 34);
    EXPECT_EQ(TakeParentMessages({ WM_RBUTTONDOWN, WM_RBUTTONUP }),
        (std::vector<std::pair<UINT, LPARAM>> {
            { WM_RBUTTONDOWN, MAKELPARAM(12, 34) }, { WM_RBUTTONUP, MAKELPARAM(12, 34) } }));

    m_driver.Drag(m_hParent, POINT { 20, 20 }, POINT { 150, 90 });
    EXPECT_EQ(TakeParentMessages({ WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP }),
        (std::vector<std::pair<UINT, LPARAM>> { { WM_MOUSEMOVE, MAKELPARAM(20, 20) },
            { WM_LBUTTONDOWN, MAKELPARAM(20, 20) }, { WM_MOUSEMOVE, MAKELPARAM(150, 90) },
            { WM_LBUTTONUP, MAKELPARAM(150, 90) } }));
}

TEST_F(TestDriverTest, DragGivesATrackingLoopTheRestOfTheGesture)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 400, 60, 100, 200);
    SCROLLINFO si { sizeof(si), SIF_ALL, 0, 99, 10, 0, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    m_driver.Pump();
    MessageLog::Instance().Take();
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    // The thumb sits at the top of the track, just below the arrow; drop it far below the window.
    POINT ptThumb { rcClient.right + GetSystemMetrics(SM_CXVSCROLL) / 2, GetSystemMetrics(SM_CYVSCROLL) + 3 };
    EXPECT_TRUE(m_driver.Drag(hWnd, ptThumb, POINT { ptThumb.x, rcClient.bottom + 100 }));
    std::vector<std::pair<WORD, WORD>> codes;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.hWnd == hWnd && message.uMsg == WM_VSCROLL)
            codes.emplace_back(LOWORD(message.wParam), HIWORD(message.wParam));
    }
    EXPECT_EQ(codes,
        (std::vector<std::pair<WORD, WORD>> { { SB_THUMBTRACK, 90 }, { SB_THUMBPOSITION, 90 }, { SB_ENDSCROLL, 0 } }));
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(hWnd);
}

TEST_F(TestDriverTest, DoubleClickIsRecognisedAndSeparateClicksAreNot)
{
    m_driver.DoubleClick(m_hParent, 40, 40);
    EXPECT_EQ(TakeParentMessages({ WM_LBUTTONDOWN, WM_LBUTTONDBLCLK }),
        (std::vector<std::pair<UINT, LPARAM>> {
            { WM_LBUTTONDOWN, MAKELPARAM(40, 40) }, { WM_LBUTTONDBLCLK, MAKELPARAM(40, 40) } }));

    m_driver.Advance(GetDoubleClickTime() + 1);
    m_driver.Click(m_hParent, 40, 40);
    m_driver.Advance(GetDoubleClickTime() + 1);
    m_driver.Click(m_hParent, 40, 40);
    EXPECT_EQ(TakeParentMessages({ WM_LBUTTONDOWN, WM_LBUTTONDBLCLK }),
        (std::vector<std::pair<UINT, LPARAM>> {
            { WM_LBUTTONDOWN, MAKELPARAM(40, 40) }, { WM_LBUTTONDOWN, MAKELPARAM(40, 40) } }));
}

TEST_F(TestDriverTest, ClickOutsideEveryWindowReportsNothingReceived)
{
    EXPECT_FALSE(m_driver.Click(m_hParent, -5000, -5000));
    EXPECT_FALSE(m_driver.Click(nullptr, 1, 1));
}

/***** Keyboard *****/

TEST_F(TestDriverTest, TypingIntoEditChangesItsText)
{
    HWND hEdit = CreateControl(m_hParent, "Edit", ES_AUTOHSCROLL, 5);
    m_driver.Click(hEdit, 5, 5);
    ASSERT_EQ(GetFocus(), hEdit);

    ASSERT_TRUE(m_driver.TypeText("Hello, World! {x_1} \"a\\b\" ~?"));
    EXPECT_EQ(m_driver.Text(hEdit), CString("Hello, World! {x_1} \"a\\b\" ~?"));

    m_driver.PressKey(VK_BACK);
    m_driver.PressKey(VK_HOME);
    m_driver.PressKey(VK_END, CTestDriver::SHIFT);
    m_driver.TypeText("Z");
    EXPECT_EQ(m_driver.Text(hEdit), CString("Z"));
    // Modifiers are released after the key.
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(TestDriverTest, TypeTextRejectsCharactersWithoutAKeyAndTypesNothing)
{
    HWND hEdit = CreateControl(m_hParent, "Edit", ES_AUTOHSCROLL, 5);
    SetFocus(hEdit);
    m_driver.Pump();

    SetLastError(0);
    EXPECT_FALSE(m_driver.TypeText("ab\x01"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(m_driver.TypeText("caf\xC3\xA9"));
    EXPECT_FALSE(m_driver.TypeText(nullptr));
    EXPECT_EQ(m_driver.Text(hEdit), CString(""));
}

/***** Looking at windows *****/

TEST_F(TestDriverTest, FindChildSearchesDescendantsAndReportsState)
{
    HWND hPanel = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, m_hParent, 1);
    HWND hHidden = CreateControl(m_hParent, "Button", BS_PUSHBUTTON, 2);
    ShowWindow(hHidden, SW_HIDE);
    HWND hNested = CreateControl(hPanel, "Button", BS_PUSHBUTTON | WS_DISABLED, 3);

    EXPECT_EQ(m_driver.FindChild(m_hParent, 1), hPanel);
    EXPECT_EQ(m_driver.FindChild(m_hParent, 3), hNested);
    EXPECT_EQ(m_driver.FindChild(m_hParent, 99), nullptr);

    EXPECT_TRUE(m_driver.IsVisible(hNested));
    EXPECT_FALSE(m_driver.IsEnabled(hNested));
    EXPECT_FALSE(m_driver.IsVisible(hHidden));
    EXPECT_TRUE(m_driver.IsEnabled(hHidden));
}

TEST_F(TestDriverTest, ScreenshotWritesAPngFile)
{
    TempFolder folder;
    std::string strHostPath = (folder / "shot.png").string();
    ASSERT_TRUE(m_driver.Screenshot(m_hParent, ProgramPathFromHostPath(strHostPath).c_str()));

    std::ifstream file(strHostPath, std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(contents.size(), 8u);
    EXPECT_EQ(contents.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
}

/***** Modal dialogs *****/

TEST_F(TestDriverTest, QueuedAnswersEndMessageBoxesInOrder)
{
    m_driver.AnswerNextMessageBox(IDNO);
    CString strShown;
    m_driver.OnNextDialog([&strShown](HWND hDlg) {
        strShown = CTestDriver::Text(GetDlgItem(hDlg, 0xFFFF));
        EndDialog(hDlg, IDCANCEL);
    });
    EXPECT_EQ(MessageBox(m_hParent, "Save the changes?", "Archivora", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBox(m_hParent, "Discard them?", "Archivora", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(strShown, "Discard them?");
    // The owner is enabled again once the boxes are gone.
    EXPECT_TRUE(IsWindowEnabled(m_hParent));
}
