#include "platform/window/Menu.h"

#include "platform/base/WinError.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <deque>
#include <functional>

namespace {

constexpr UINT ID_OPEN = 1;
constexpr UINT ID_CLOSE = 2;
constexpr UINT ID_ABOUT = 3;

// A captioned window with the bar "&File" (Open, Close) and "&Help" (a command item).
class MenuBarTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        HMENU hFile = CreatePopupMenu();
        AppendMenu(hFile, MF_STRING, ID_OPEN, "&Open");
        AppendMenu(hFile, MF_STRING, ID_CLOSE, "&Close");
        m_hBar = CreateMenu();
        AppendMenu(m_hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), "&File");
        AppendMenu(m_hBar, MF_STRING, ID_ABOUT, "&Help");
        m_hWnd = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300, 200);
        SetActiveWindow(m_hWnd);
        SetFocus(m_hWnd);
        MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
            if (hWnd == m_hWnd && uMsg == WM_ENTERIDLE) {
                if (m_steps.empty()) {
                    EndMenu();
                } else {
                    auto step = std::move(m_steps.front());
                    m_steps.pop_front();
                    step();
                }
            }
            return false;
        };
        PumpUntilIdle();
    }
    void TearDown() override
    {
        DestroyWindow(m_hWnd);
        WindowTest::TearDown();
    }

    // A screen point on the bar, cxFromLeft pixels into it.
    POINT BarPoint(int cxFromLeft)
    {
        POINT pt { 0, 0 };
        ClientToScreen(m_hWnd, &pt);
        RECT rcWindow {};
        GetWindowRect(m_hWnd, &rcWindow);
        return POINT { rcWindow.left + cxFromLeft, pt.y - GetSystemMetrics(SM_CYMENU) / 2 };
    }
    static void Key(UINT nKey)
    {
        InjectKeyEvent(nKey, TRUE);
        InjectKeyEvent(nKey, FALSE);
    }
    std::vector<LoggedMessage> Logged(UINT uMsg)
    {
        std::vector<LoggedMessage> found;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd == m_hWnd && message.uMsg == uMsg)
                found.push_back(message);
        }
        return found;
    }

    HWND m_hWnd { nullptr };
    HMENU m_hBar { nullptr };
    std::deque<std::function<void()>> m_steps;
};

TEST_F(MenuBarTest, TheBarTakesARowFromTheClientArea)
{
    RECT rcBefore {};
    GetClientRect(m_hWnd, &rcBefore);
    ASSERT_TRUE(SetMenu(m_hWnd, m_hBar));
    EXPECT_EQ(GetMenu(m_hWnd), m_hBar);
    RECT rcAfter {};
    GetClientRect(m_hWnd, &rcAfter);
    EXPECT_EQ(rcBefore.bottom - rcAfter.bottom, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(SendMessage(m_hWnd, WM_NCHITTEST, 0,
                  MAKELPARAM(static_cast<WORD>(BarPoint(20).x), static_cast<WORD>(BarPoint(20).y))),
        HTMENU);

    // The bar is painted in the menu colour.
    PumpUntilIdle();
    CCapturedImage image(CaptureWindowImage(m_hWnd));
    RECT rcWindow {};
    GetWindowRect(m_hWnd, &rcWindow);
    POINT ptRight = BarPoint(280);
    EXPECT_EQ(image.At(ptRight.x - rcWindow.left, ptRight.y - rcWindow.top), GetSysColor(COLOR_MENU));

    ASSERT_TRUE(SetMenu(m_hWnd, nullptr)); // removing it keeps the menu
    GetClientRect(m_hWnd, &rcAfter);
    EXPECT_EQ(rcAfter.bottom, rcBefore.bottom);
    EXPECT_TRUE(IsMenu(m_hBar));
    DestroyMenu(m_hBar);
}

TEST_F(MenuBarTest, RedrawingTheBarRepaintsItsRowAndLeavesTheClientAlone)
{
    ASSERT_TRUE(SetMenu(m_hWnd, m_hBar));
    PumpUntilIdle();
    ModifyMenu(m_hBar, ID_ABOUT, MF_BYCOMMAND | MF_STRING, ID_ABOUT, "&Wwwwwwwwww");
    ASSERT_TRUE(DrawMenuBar(m_hWnd));
    RECT rcUpdate {};
    EXPECT_FALSE(GetUpdateRect(m_hWnd, &rcUpdate, FALSE)) << "the client area was invalidated";

    // The new text shows once the frame is painted.
    CCapturedImage before(CaptureWindowImage(m_hWnd));
    PumpUntilIdle();
    CCapturedImage after(CaptureWindowImage(m_hWnd));
    RECT rcWindow {};
    GetWindowRect(m_hWnd, &rcWindow);
    int nChanged = 0;
    for (int x = 0; x < rcWindow.right - rcWindow.left; ++x) {
        POINT pt = BarPoint(x);
        nChanged += before.At(x, pt.y - rcWindow.top) != after.At(x, pt.y - rcWindow.top);
    }
    EXPECT_GT(nChanged, 0);
    DestroyMenu(m_hBar);
}

TEST_F(MenuBarTest, ChildWindowsHaveNoBarAndWindowsDestroyTheirs)
{
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd, 5);
    EXPECT_FALSE(SetMenu(hChild, m_hBar));
    EXPECT_EQ(GetLastError(), ERROR_CHILD_WINDOW_MENU);
    EXPECT_EQ(GetMenu(hChild), nullptr);
    EXPECT_FALSE(SetMenu(m_hWnd, reinterpret_cast<HMENU>(0x1)));

    // A top-level window's menu parameter is its bar.
    HWND hOther = CreateWindowEx(
        0, RECORDING_CLASS, "", WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr, m_hBar, nullptr, nullptr);
    EXPECT_EQ(GetMenu(hOther), m_hBar);
    DestroyWindow(hOther);
    EXPECT_FALSE(IsMenu(m_hBar));
}

TEST_F(MenuBarTest, AClickOpensTheItemsMenuBelowIt)
{
    ASSERT_TRUE(SetMenu(m_hWnd, m_hBar));
    PumpUntilIdle();
    MessageLog::Instance().Take();
    POINT ptFile = BarPoint(15);
    m_steps.push_back([ptFile] {
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, ptFile, 0 });
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, ptFile, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, ptFile, 0 });
    PumpUntilIdle();
    std::vector<LoggedMessage> log = MessageLog::Instance().Take();
    std::vector<UINT> order;
    WPARAM nCommand = 0;
    for (const LoggedMessage& message : log) {
        if (message.hWnd != m_hWnd)
            continue;
        if (message.uMsg == WM_INITMENU || message.uMsg == WM_ENTERMENULOOP || message.uMsg == WM_INITMENUPOPUP
            || message.uMsg == WM_UNINITMENUPOPUP || message.uMsg == WM_EXITMENULOOP)
            order.push_back(message.uMsg);
        if (message.uMsg == WM_ENTERMENULOOP) {
            EXPECT_EQ(message.wParam, static_cast<WPARAM>(FALSE)); // not a TrackPopupMenu loop
        }
        if (message.uMsg == WM_INITMENUPOPUP) {
            EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(GetSubMenu(m_hBar, 0)));
        }
        if (message.uMsg == WM_COMMAND)
            nCommand = message.wParam;
    }
    EXPECT_EQ(order,
        (std::vector<UINT> { WM_INITMENU, WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP }));
    EXPECT_EQ(nCommand, MAKEWPARAM(ID_CLOSE, 0));
}

TEST_F(MenuBarTest, AltWithAMnemonicOpensTheMenuWithItsFirstItemSelected)
{
    ASSERT_TRUE(SetMenu(m_hWnd, m_hBar));
    PumpUntilIdle();
    MessageLog::Instance().Take();
    m_steps.push_back([] { Key(VK_RETURN); });
    InjectKeyEvent(VK_MENU, TRUE);
    Key('F');
    InjectKeyEvent(VK_MENU, FALSE);
    PumpUntilIdle();
    std::vector<LoggedMessage> commands = Logged(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(ID_OPEN, 0));

    // A command item on the bar posts its command at once.
    InjectKeyEvent(VK_MENU, TRUE);
    Key('H');
    InjectKeyEvent(VK_MENU, FALSE);
    PumpUntilIdle();
    commands = Logged(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(ID_ABOUT, 0));
}

} // namespace

TEST_F(MenuBarTest, RightJustifiedItemsSitAtTheBarsRightEnd)
{
    constexpr UINT ID_RIGHT = 0xF060;
    AppendMenu(m_hBar, MF_STRING | MF_RIGHTJUSTIFY, ID_RIGHT, "X");
    ASSERT_TRUE(SetMenu(m_hWnd, m_hBar));
    PumpUntilIdle();
    MessageLog::Instance().Take();
    // A click near the right edge, far past the items on the left, chooses the right-justified item.
    RECT rcWindow {};
    GetWindowRect(m_hWnd, &rcWindow);
    POINT ptRight = BarPoint(rcWindow.right - rcWindow.left - 6);
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, ptRight, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, ptRight, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, ptRight, 0 });
    PumpUntilIdle();
    std::vector<LoggedMessage> commands = Logged(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1U);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(ID_RIGHT, 0));
}
