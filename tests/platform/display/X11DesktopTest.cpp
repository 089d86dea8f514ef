// The program's windows under a window manager (openbox): activation follows
// the desktop, a modal dialog keeps it from its disabled owner, the desktop's
// close, minimize and restore reach the window as system commands, and a
// caption drag handed to the window manager moves the window.

#include "platform/display/X11Display.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/display/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

class X11DesktopTest : public X11WindowManagerTest {
protected:
    HWND ShowMainWindow(const char* pszTitle, int x, int y)
    {
        HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, x, y, 300, 200, nullptr, 0, 0, pszTitle);
        ShowWindow(hWnd, SW_SHOWNORMAL);
        EXPECT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
        return hWnd;
    }

    // A request to the window manager, as a pager or a taskbar sends it.
    void AskWindowManager(HWND hWnd, const char* pszMessage, std::initializer_list<long> data)
    {
        Display* pOther = m_pInput->Connection();
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = XWindowOf(hWnd);
        event.xclient.message_type = XInternAtom(pOther, pszMessage, False);
        event.xclient.format = 32;
        int i = 0;
        for (long nValue : data)
            event.xclient.data.l[i++] = nValue;
        XSendEvent(pOther, DefaultRootWindow(pOther), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(pOther);
    }

    // How the desktop's pager asks for a window to be activated.
    void ActivateFromPager(HWND hWnd) { AskWindowManager(hWnd, "_NET_ACTIVE_WINDOW", { 2, CurrentTime, 0 }); }

    // Where the server shows the window's corner, in root coordinates.
    POINT ServerCorner(HWND hWnd)
    {
        Window child = None;
        POINT pt {};
        int x = 0;
        int y = 0;
        XTranslateCoordinates(
            m_pInput->Connection(), XWindowOf(hWnd), DefaultRootWindow(m_pInput->Connection()), 0, 0, &x, &y, &child);
        pt = { x, y };
        return pt;
    }

    // Whether the window stands where the program thinks it does.
    bool Settled(HWND hWnd)
    {
        RECT rc {};
        GetWindowRect(hWnd, &rc);
        POINT pt = ServerCorner(hWnd);
        return pt.x == rc.left && pt.y == rc.top;
    }

    // The window manager's stacking of the managed windows, the bottom first.
    std::vector<unsigned long> Stacking()
    {
        Display* pOther = m_pInput->Connection();
        CReadProperty value = ReadProperty(pOther, DefaultRootWindow(pOther), "_NET_CLIENT_LIST_STACKING");
        std::vector<unsigned long> windows(value.bytes.size() / sizeof(long));
        std::memcpy(windows.data(), value.bytes.data(), windows.size() * sizeof(long));
        return windows;
    }
    // Whether the window manager stacks hUpper above hLower.
    bool StackedAbove(HWND hUpper, HWND hLower)
    {
        const std::vector<unsigned long> stacking = Stacking();
        auto upper = std::find(stacking.begin(), stacking.end(), XWindowOf(hUpper));
        auto lower = std::find(stacking.begin(), stacking.end(), XWindowOf(hLower));
        return upper != stacking.end() && lower != stacking.end() && upper > lower;
    }

    bool SawCommand(WPARAM nCommand)
    {
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == nCommand)
                return true;
        }
        return false;
    }
};

}

TEST_F(X11DesktopTest, ActivationFollowsTheWindowManager)
{
    HWND hFirst = ShowMainWindow("First", 10, 10);
    HWND hSecond = ShowMainWindow("Second", 400, 10);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == hSecond && XFocus() == XWindowOf(hSecond); }));

    MessageLog::Instance().Take();
    ActivateFromPager(hFirst);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == hFirst; }));
    std::vector<std::pair<HWND, UINT>> messages = MessageLog::Instance().TakeMessages({ WM_ACTIVATE });
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], std::make_pair(hSecond, static_cast<UINT>(WM_ACTIVATE)));
    EXPECT_EQ(messages[1], std::make_pair(hFirst, static_cast<UINT>(WM_ACTIVATE)));

    // The program's own activation moves the desktop's focus too.
    SetActiveWindow(hSecond);
    EXPECT_TRUE(PumpUntil([&] { return XFocus() == XWindowOf(hSecond); }));
}

TEST_F(X11DesktopTest, AModalDialogKeepsTheActivationFromItsDisabledOwner)
{
    HWND hOwner = ShowMainWindow("Owner", 10, 10);
    HWND hDialog
        = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 200, 120, hOwner, 0, 0, "Dialog");
    EnableWindow(hOwner, FALSE);
    ShowWindow(hDialog, SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hDialog) && XFocus() == XWindowOf(hDialog); }));

    // The window manager knows it modal, and left out of the taskbar as an owned window.
    auto hasState = [&](const char* pszState) {
        std::vector<std::string> states = AtomsProperty(m_pInput->Connection(), XWindowOf(hDialog), "_NET_WM_STATE");
        return std::find(states.begin(), states.end(), pszState) != states.end();
    };
    EXPECT_TRUE(PumpUntil([&] { return hasState("_NET_WM_STATE_MODAL"); }));
    EXPECT_TRUE(hasState("_NET_WM_STATE_SKIP_TASKBAR"));

    ActivateFromPager(hOwner);
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == hDialog && XFocus() == XWindowOf(hDialog); }));

    // The owner enabled again: the dialog is modal no more.
    EnableWindow(hOwner, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return !hasState("_NET_WM_STATE_MODAL"); }));
    EXPECT_TRUE(hasState("_NET_WM_STATE_SKIP_TASKBAR"));
}

TEST_F(X11DesktopTest, AModalChainKeepsTheActivationAtItsEndWhateverToolWindowsShow)
{
    // A main window with a floating bar, a wizard modal over it with a tip
    // shown, and a question modal over the wizard, its button focused.
    HWND hMain = ShowMainWindow("Main", 10, 10);
    HWND hBar = CreateRecordingWindow(WS_POPUP | WS_CAPTION, 400, 10, 150, 80, hMain, 0, WS_EX_TOOLWINDOW, "Bar");
    ShowWindow(hBar, SW_SHOWNA);
    HWND hWizard = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, 60, 60, 300, 200, hMain, 0, 0, "Wizard");
    EnableWindow(hMain, FALSE);
    ShowWindow(hWizard, SW_SHOWNORMAL);
    HWND hTip = CreateRecordingWindow(WS_POPUP, 80, 240, 60, 20, hWizard, 0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ShowWindow(hTip, SW_SHOWNA);
    HWND hQuestion
        = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 200, 100, hWizard, 0, 0, "Question");
    HWND hButton = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, hQuestion, 1);
    EnableWindow(hWizard, FALSE);
    ShowWindow(hQuestion, SW_SHOWNORMAL);
    SetFocus(hButton);
    ASSERT_TRUE(PumpUntil(
        [&] { return Viewable(hBar) && Viewable(hTip) && Viewable(hQuestion) && XFocus() == XWindowOf(hQuestion); }));

    // The taskbar asks for the main window, then for the wizard: the question keeps the keyboard.
    for (HWND hAsked : { hMain, hWizard }) {
        ActivateFromPager(hAsked);
        PumpFor(std::chrono::milliseconds(300));
        EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == hQuestion && GetFocus() == hButton; }))
            << "activation went to "
            << (GetActiveWindow() == hBar          ? "the bar"
                       : GetActiveWindow() == hTip ? "the tip"
                                                   : "another window");
    }
    // The tip goes: the keyboard stays with the question, not the disabled wizard beneath it.
    ShowWindow(hTip, SW_HIDE);
    DestroyWindow(hTip);
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(GetActiveWindow(), hQuestion);
    EXPECT_EQ(GetFocus(), hButton);
    MessageLog::Instance().Take();
    m_pInput->TapKey(XK_Return);
    m_pInput->Sync();
    EXPECT_TRUE(PumpUntil([&] {
        std::vector<std::pair<HWND, UINT>> keys = MessageLog::Instance().TakeMessages({ WM_KEYDOWN });
        return std::find(keys.begin(), keys.end(), std::make_pair(hButton, static_cast<UINT>(WM_KEYDOWN)))
            != keys.end();
    })) << "Enter reaches the question's button";
}

TEST_F(X11DesktopTest, TheDesktopsCloseMinimizeAndRestoreAreSystemCommands)
{
    HWND hWnd = ShowMainWindow("Main", 10, 10);
    MessageLog::Instance().Take();

    // Iconified by the desktop, as its taskbar or a key would.
    AskWindowManager(hWnd, "WM_CHANGE_STATE", { IconicState });
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(hWnd) != FALSE; }));
    EXPECT_TRUE(SawCommand(SC_MINIMIZE));

    // Brought back from the taskbar.
    ActivateFromPager(hWnd);
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(hWnd) && Viewable(hWnd); }));
    EXPECT_TRUE(SawCommand(SC_RESTORE));

    // The close button of a task switcher.
    AskWindowManager(hWnd, "_NET_CLOSE_WINDOW", { CurrentTime, 2 });
    std::vector<UINT> closing;
    ASSERT_TRUE(PumpUntil([&] {
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == WM_CLOSE || (message.uMsg == WM_SYSCOMMAND && message.wParam == SC_CLOSE))
                closing.push_back(message.uMsg);
        }
        return closing.size() == 2;
    }));
    EXPECT_EQ(closing, (std::vector<UINT> { WM_SYSCOMMAND, WM_CLOSE }));
}

TEST_F(X11DesktopTest, ACaptionDragMovesTheWindowThroughTheWindowManager)
{
    HWND hWnd = ShowMainWindow("Dragged", 100, 100);
    ASSERT_TRUE(PumpUntil([&] { return Settled(hWnd) && GetActiveWindow() == hWnd; }));
    PumpFor(std::chrono::milliseconds(100));
    RECT rcBefore {};
    GetWindowRect(hWnd, &rcBefore);
    POINT ptCaption { rcBefore.left + 60, rcBefore.top + GetSystemMetrics(SM_CYFRAME) + 8 };
    m_pInput->MoveTo(ptCaption);
    MessageLog::Instance().Take();
    m_pInput->Button(1, true);
    // The window manager takes the pointer once the program has handed it the drag.
    ASSERT_TRUE(PumpUntil([&] { return SawCommand(SC_MOVE); }));
    PumpFor(std::chrono::milliseconds(150));
    for (int nStep = 1; nStep <= 10; ++nStep) {
        m_pInput->MoveTo(POINT { ptCaption.x + nStep * 15, ptCaption.y + nStep * 10 });
        PumpFor(std::chrono::milliseconds(20));
    }
    m_pInput->Button(1, false);
    ASSERT_TRUE(PumpUntil([&] {
        RECT rc {};
        GetWindowRect(hWnd, &rc);
        return rc.left == rcBefore.left + 150 && rc.top == rcBefore.top + 100;
    }));
    // What the window layer says is where the server shows it.
    EXPECT_TRUE(Settled(hWnd));
}

TEST_F(X11DesktopTest, AToolWindowShownBeforeItsOwnerStaysAboveIt)
{
    HWND hMain = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, 0, 0, "Main");
    HWND hTool = CreateRecordingWindow(WS_POPUP | WS_CAPTION, 100, 100, 150, 80, hMain, 0, WS_EX_TOOLWINDOW, "Tool");
    ShowWindow(hTool, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hTool); }));
    ShowWindow(hMain, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hMain); }));

    EXPECT_TRUE(PumpUntil([&] { return StackedAbove(hTool, hMain); }));
    // Raised by the desktop, the owner keeps its tool window above it.
    ActivateFromPager(hMain);
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(StackedAbove(hTool, hMain));
}
