#include "platform/window/Input.h"

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"
#include "platform/window/Focus.h"
#include "platform/window/Messages.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

CMouseInput Press(POINT pt, EMouseButton eButton = EMouseButton::Left)
{
    return CMouseInput { EMouseAction::ButtonDown, eButton, pt, 0 };
}

CMouseInput Release(POINT pt, EMouseButton eButton = EMouseButton::Left)
{
    return CMouseInput { EMouseAction::ButtonUp, eButton, pt, 0 };
}

CMouseInput Move(POINT pt)
{
    return CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 };
}

bool IsMouseMessage(UINT uMsg)
{
    return (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) || (uMsg >= WM_NCMOUSEMOVE && uMsg <= WM_NCMBUTTONDBLCLK)
        || uMsg == WM_MOUSELEAVE || uMsg == WM_MOUSEHOVER || uMsg == WM_CAPTURECHANGED;
}

// Two visible popup windows side by side, on a manual clock.
class InputTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hLeft = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
        m_hRight = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 400, 100, 200, 100);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        ReleaseCapture();
        for (UINT nKey : { VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON })
            if (GetAsyncKeyState(static_cast<int>(nKey)) & 0x8000)
                InjectKeyEvent(nKey, FALSE);
        WindowTest::TearDown();
    }

    // The mouse messages dispatched by one pump: window, message, lParam.
    std::vector<LoggedMessage> PumpMouse()
    {
        PumpUntilIdle();
        std::vector<LoggedMessage> mouse;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (IsMouseMessage(message.uMsg))
                mouse.push_back(message);
        }
        return mouse;
    }

    void Click(POINT pt)
    {
        InjectMouseEvent(Press(pt));
        InjectMouseEvent(Release(pt));
    }

    std::vector<UINT> ClickMessages(const std::vector<LoggedMessage>& messages)
    {
        std::vector<UINT> result;
        for (const LoggedMessage& message : messages) {
            if (message.uMsg != WM_MOUSEMOVE)
                result.push_back(message.uMsg);
        }
        return result;
    }

    CManualClock m_clock { 0, 100000 };
    CClockOverride m_override { m_clock };
    HWND m_hLeft { nullptr };
    HWND m_hRight { nullptr };
};

/***** Routing and hit testing *****/

TEST_F(InputTest, MouseMessagesGoToTheWindowUnderThePointInClientCoordinates)
{
    InjectMouseEvent(Move(POINT { 450, 130 }));
    auto messages = PumpMouse();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].hWnd, m_hRight);
    EXPECT_EQ(messages[0].uMsg, WM_MOUSEMOVE);
    EXPECT_EQ(messages[0].lParam, MAKELONG(50, 30));
}

TEST_F(InputTest, HitTestAndSetCursorComeBeforeTheMouseMessage)
{
    InjectMouseEvent(Move(POINT { 150, 150 }));
    PumpUntilIdle();
    auto messages = MessageLog::Instance().TakeMessages({ WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE });
    std::vector<std::pair<HWND, UINT>> expected { { m_hLeft, WM_NCHITTEST }, { m_hLeft, WM_SETCURSOR },
        { m_hLeft, WM_MOUSEMOVE } };
    EXPECT_EQ(messages, expected);
}

TEST_F(InputTest, FramePressesBecomeNonClientMessagesWithTheHitTestCode)
{
    HWND hFramed = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 400, 300, 200);
    SetActiveWindow(hFramed);
    PumpUntilIdle();
    MessageLog::Instance().Take();
    // A press in the caption starts the move loop, which takes the release itself.
    InjectMouseEvent(Press(POINT { 200, 410 }));
    InjectMouseEvent(Release(POINT { 200, 410 }));
    auto messages = PumpMouse();
    // Then only the loop's capture ends: the release went to the loop.
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].uMsg, WM_CAPTURECHANGED);
    EXPECT_EQ(messages[0].uMsg, WM_NCLBUTTONDOWN);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(messages[0].lParam, MAKELONG(200, 410)); // screen coordinates
    LRESULT nBorder = SendMessage(hFramed, WM_NCHITTEST, 0, MAKELONG(101, 500));
    LRESULT nOutside = SendMessage(hFramed, WM_NCHITTEST, 0, MAKELONG(50, 500));
    EXPECT_EQ(nBorder, HTLEFT);
    EXPECT_EQ(nOutside, HTNOWHERE);
}

TEST_F(InputTest, TransparentAnswersPassTheInputToTheWindowsBelow)
{
    // A sibling lies under part of the transparent child, which is on top (made last).
    HWND hBelow = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 40, 40, 50, 50, m_hLeft, 2);
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_hLeft, 1);
    MessageLog::Instance().handler = [hChild](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (hWnd == hChild && uMsg == WM_NCHITTEST) {
            *plResult = HTTRANSPARENT;
            return true;
        }
        return false;
    };
    InjectMouseEvent(Move(POINT { 120, 120 }));
    auto messages = PumpMouse();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].hWnd, m_hLeft);
    EXPECT_EQ(messages[0].lParam, MAKELONG(20, 20));

    InjectMouseEvent(Move(POINT { 150, 150 })); // over both children
    messages = PumpMouse();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].hWnd, hBelow);
    EXPECT_EQ(messages[0].lParam, MAKELONG(10, 10));
}

TEST_F(InputTest, MessagesCarryTheCursorPosition)
{
    InjectMouseEvent(Move(POINT { 460, 170 }));
    PostMessage(m_hLeft, WM_USER, 0, 0);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    EXPECT_EQ(msg.pt.x, 460);
    EXPECT_EQ(msg.pt.y, 170);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(GetMessagePos(), static_cast<DWORD>(MAKELONG(460, 170)));
    POINT pt {};
    ASSERT_TRUE(GetCursorPos(&pt));
    EXPECT_EQ(pt.x, 460);
}

TEST_F(InputTest, DisabledWindowsGetNoMouseInput)
{
    EnableWindow(m_hLeft, FALSE);
    EXPECT_FALSE(InjectMouseEvent(Press(POINT { 150, 150 })));
    InjectMouseEvent(Release(POINT { 150, 150 }));
    EXPECT_TRUE(ClickMessages(PumpMouse()).empty());
    EnableWindow(m_hLeft, TRUE);
}

/***** Capture *****/

TEST_F(InputTest, CaptureSendsEveryMouseMessageToItsWindowInItsCoordinates)
{
    SetCapture(m_hLeft);
    InjectMouseEvent(Move(POINT { 450, 130 })); // over the right window
    InjectMouseEvent(Move(POINT { 20, 900 }));  // over nothing
    auto messages = PumpMouse();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].hWnd, m_hLeft);
    EXPECT_EQ(messages[0].lParam, MAKELONG(350, 30));
    EXPECT_EQ(messages[1].hWnd, m_hLeft);
    EXPECT_EQ(messages[1].lParam, MAKELONG(static_cast<WORD>(-80), 800));
}

TEST_F(InputTest, TakingTheCaptureTellsTheWindowThatLosesIt)
{
    EXPECT_EQ(SetCapture(m_hLeft), nullptr);
    EXPECT_EQ(SetCapture(m_hRight), m_hLeft);
    std::vector<LoggedMessage> changed;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_CAPTURECHANGED)
            changed.push_back(message);
    }
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].hWnd, m_hLeft);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(m_hRight));
    EXPECT_EQ(GetCapture(), m_hRight);

    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    auto messages = MessageLog::Instance().TakeMessages({ WM_CAPTURECHANGED });
    EXPECT_EQ(messages, (std::vector<std::pair<HWND, UINT>> { { m_hRight, WM_CAPTURECHANGED } }));
}

TEST_F(InputTest, ADestroyedCaptureWindowNoLongerHoldsTheCapture)
{
    SetCapture(m_hRight);
    DestroyWindow(m_hRight);
    EXPECT_EQ(GetCapture(), nullptr);
    InjectMouseEvent(Move(POINT { 150, 150 }));
    auto messages = PumpMouse();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].hWnd, m_hLeft);
}

/***** Double clicks *****/

TEST_F(InputTest, ASecondPressSoonAndNearIsADoubleClick)
{
    Click(POINT { 150, 150 });
    m_clock.Advance(GetDoubleClickTime() - 1);
    Click(POINT { 151, 151 });
    m_clock.Advance(100);
    Click(POINT { 151, 151 }); // a third press starts over
    auto messages = ClickMessages(PumpMouse());
    std::vector<UINT> expected { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN,
        WM_LBUTTONUP };
    EXPECT_EQ(messages, expected);
}

TEST_F(InputTest, PressesTooFarApartInTimeOrSpaceAreSingleClicks)
{
    Click(POINT { 150, 150 });
    m_clock.Advance(GetDoubleClickTime() + 1);
    Click(POINT { 150, 150 });
    m_clock.Advance(10);
    Click(POINT { 150 + GetSystemMetrics(SM_CXDOUBLECLK), 150 });
    auto messages = ClickMessages(PumpMouse());
    std::vector<UINT> expected { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN,
        WM_LBUTTONUP };
    EXPECT_EQ(messages, expected);
}

TEST_F(InputTest, PressesOnDifferentWindowsOrButtonsAreSingleClicks)
{
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 50, 0, 50, 50, m_hLeft, 1);
    Click(POINT { 149, 120 }); // the left window, just beside the child
    Click(POINT { 150, 120 }); // the child
    InjectMouseEvent(Press(POINT { 150, 120 }, EMouseButton::Right));
    auto messages = PumpMouse();
    std::vector<std::pair<HWND, UINT>> presses;
    for (const LoggedMessage& message : messages) {
        if (message.uMsg != WM_MOUSEMOVE && message.uMsg != WM_LBUTTONUP)
            presses.emplace_back(message.hWnd, message.uMsg);
    }
    std::vector<std::pair<HWND, UINT>> expected { { m_hLeft, WM_LBUTTONDOWN }, { hChild, WM_LBUTTONDOWN },
        { hChild, WM_RBUTTONDOWN } };
    EXPECT_EQ(presses, expected);
    InjectMouseEvent(Release(POINT { 150, 120 }, EMouseButton::Right));
}

TEST_F(InputTest, WindowsWithoutDoubleClickStyleGetTwoPresses)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = RecordingWndProc;
    wc.lpszClassName = "NoDoubleClicks";
    ASSERT_NE(RegisterClass(&wc), 0);
    HWND hPlain = CreateWindowEx(
        0, "NoDoubleClicks", "", WS_POPUP | WS_VISIBLE, 100, 300, 100, 100, nullptr, nullptr, nullptr, nullptr);
    MessageLog::Instance().Take();
    Click(POINT { 150, 350 });
    Click(POINT { 150, 350 });
    auto messages = ClickMessages(PumpMouse());
    std::vector<UINT> expected { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP };
    EXPECT_EQ(messages, expected);
    DestroyWindow(hPlain);
}

/***** Activation by click *****/

TEST_F(InputTest, PressingAnInactiveWindowAsksAndActivatesIt)
{
    SetActiveWindow(m_hLeft);
    MessageLog::Instance().Take();
    InjectMouseEvent(Press(POINT { 450, 150 }));
    PumpUntilIdle();
    EXPECT_EQ(GetActiveWindow(), m_hRight);
    auto messages = MessageLog::Instance().TakeMessages({ WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN });
    std::vector<std::pair<HWND, UINT>> expected { { m_hRight, WM_MOUSEACTIVATE }, { m_hLeft, WM_ACTIVATE },
        { m_hRight, WM_ACTIVATE }, { m_hRight, WM_LBUTTONDOWN } };
    EXPECT_EQ(messages, expected);
    InjectMouseEvent(Release(POINT { 450, 150 }));
}

TEST_F(InputTest, PressingAChildOfTheActiveWindowAsksItWithoutActivatingAgain)
{
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_hLeft);
    SetActiveWindow(m_hLeft);
    PumpUntilIdle();
    MessageLog::Instance().Take();
    InjectMouseEvent(Press(POINT { 120, 120 }));
    PumpUntilIdle();
    auto messages = MessageLog::Instance().TakeMessages({ WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN });
    std::vector<std::pair<HWND, UINT>> expected { { hChild, WM_MOUSEACTIVATE }, { m_hLeft, WM_MOUSEACTIVATE },
        { hChild, WM_LBUTTONDOWN } };
    EXPECT_EQ(messages, expected);
    InjectMouseEvent(Release(POINT { 120, 120 }));
    // The active window itself is not asked.
    InjectMouseEvent(Press(POINT { 250, 150 }));
    PumpUntilIdle();
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_MOUSEACTIVATE }).size(), 0u);
    InjectMouseEvent(Release(POINT { 250, 150 }));
}

TEST_F(InputTest, AChildOfADisabledWindowTakesNoPress)
{
    ASSERT_NE(CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_hLeft), nullptr);
    EnableWindow(m_hLeft, FALSE); // as under a modal dialog
    MessageLog::Instance().Take();
    Click(POINT { 120, 120 });
    EXPECT_TRUE(ClickMessages(PumpMouse()).empty());
    EnableWindow(m_hLeft, TRUE);
    Click(POINT { 120, 120 });
    const std::vector<UINT> expected { WM_LBUTTONDOWN, WM_LBUTTONUP };
    EXPECT_EQ(ClickMessages(PumpMouse()), expected);
}

TEST_F(InputTest, NoActivateAndEatDropsThePress)
{
    SetActiveWindow(m_hLeft);
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_MOUSEACTIVATE)
            return false;
        *plResult = MA_NOACTIVATEANDEAT;
        return true;
    };
    MessageLog::Instance().Take();
    InjectMouseEvent(Press(POINT { 450, 150 }));
    EXPECT_TRUE(ClickMessages(PumpMouse()).empty());
    EXPECT_EQ(GetActiveWindow(), m_hLeft);
    InjectMouseEvent(Release(POINT { 450, 150 }));
}

/***** Keys *****/

TEST_F(InputTest, KeyStateChangesAsTheKeyMessagesAreTaken)
{
    SetFocus(m_hLeft);
    InjectKeyEvent(VK_LSHIFT, TRUE);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0); // the message still waits
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
    PumpUntilIdle();
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    InjectKeyEvent(VK_LSHIFT, FALSE);
    PumpUntilIdle();
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);

    for (UINT nLock : { VK_CAPITAL, VK_NUMLOCK, VK_SCROLL }) {
        InjectKeyEvent(nLock, TRUE);
        InjectKeyEvent(nLock, FALSE);
        PumpUntilIdle();
        EXPECT_EQ(GetKeyState(static_cast<int>(nLock)) & 1, 1) << nLock; // toggled on
        InjectKeyEvent(nLock, TRUE);
        InjectKeyEvent(nLock, FALSE);
        PumpUntilIdle();
        EXPECT_EQ(GetKeyState(static_cast<int>(nLock)) & 1, 0) << nLock;
    }
}

TEST_F(InputTest, AsyncKeyStateReportsAPressOnceEvenAfterRelease)
{
    GetAsyncKeyState(VK_ESCAPE);
    InjectKeyEvent(VK_ESCAPE, TRUE);
    InjectKeyEvent(VK_ESCAPE, FALSE);
    SHORT nFirst = GetAsyncKeyState(VK_ESCAPE);
    SHORT nSecond = GetAsyncKeyState(VK_ESCAPE);
    EXPECT_EQ(nFirst & 0x8000, 0); // released by now
    EXPECT_EQ(nFirst & 1, 1);      // but pressed since the last call
    EXPECT_EQ(nSecond & 1, 0);

    InjectMouseEvent(Press(POINT { 150, 150 }));
    SHORT nButton = GetAsyncKeyState(VK_LBUTTON);
    EXPECT_NE(nButton & 0x8000, 0);
    EXPECT_EQ(nButton & 1, 1);
    InjectMouseEvent(Release(POINT { 150, 150 }));
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndTranslateWithShift)
{
    SetFocus(m_hRight);
    MessageLog::Instance().Take();
    InjectKeyEvent('A', TRUE);
    InjectKeyEvent('A', FALSE);
    InjectKeyEvent(VK_SHIFT, TRUE);
    InjectKeyEvent('A', TRUE);
    InjectKeyEvent('1', TRUE);
    InjectKeyEvent(VK_OEM_2, TRUE);
    InjectKeyEvent(VK_SHIFT, FALSE);
    PumpUntilIdle();
    std::string strTyped;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_CHAR) {
            EXPECT_EQ(message.hWnd, m_hRight);
            strTyped += static_cast<char>(message.wParam);
        }
    }
    EXPECT_EQ(strTyped, "aA!?");
}

TEST_F(InputTest, ControlLettersAndAltKeys)
{
    SetFocus(m_hLeft);
    MessageLog::Instance().Take();
    InjectKeyEvent(VK_CONTROL, TRUE);
    InjectKeyEvent('C', TRUE);
    InjectKeyEvent(VK_CONTROL, FALSE);
    InjectKeyEvent(VK_MENU, TRUE);
    InjectKeyEvent('F', TRUE);
    InjectKeyEvent(VK_MENU, FALSE);
    PumpUntilIdle();
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_CHAR || message.uMsg == WM_SYSKEYDOWN || message.uMsg == WM_SYSCHAR)
            seen.emplace_back(message.uMsg, message.wParam);
    }
    std::vector<std::pair<UINT, WPARAM>> expected { { WM_CHAR, 3 }, { WM_SYSKEYDOWN, VK_MENU }, { WM_SYSKEYDOWN, 'F' },
        { WM_SYSCHAR, 'f' } };
    EXPECT_EQ(seen, expected);
}

/***** Hooks *****/

std::vector<std::pair<int, UINT>>* g_pHookCalls = nullptr;
HHOOK g_hMouseHook = nullptr;

LRESULT CALLBACK RecordMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode != HC_ACTION) // a look without taking
        return CallNextHookEx(g_hMouseHook, nCode, wParam, lParam);
    g_pHookCalls->emplace_back(WH_MOUSE, static_cast<UINT>(wParam));
    auto* pInfo = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    // Presses are dropped; everything else goes on.
    if (wParam == WM_LBUTTONDOWN && pInfo->wHitTestCode == HTCLIENT)
        return 1;
    return CallNextHookEx(g_hMouseHook, nCode, wParam, lParam);
}

LRESULT CALLBACK RecordKeyboardHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
        g_pHookCalls->emplace_back(WH_KEYBOARD, static_cast<UINT>(wParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK RecordGetMessageHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    if (pMsg->message == WM_USER)
        pMsg->wParam = 42; // a hook may change the message
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(InputTest, HooksSeeInputBeforeItIsDispatchedAndMayDropIt)
{
    std::vector<std::pair<int, UINT>> calls;
    g_pHookCalls = &calls;
    g_hMouseHook = SetWindowsHookEx(WH_MOUSE, RecordMouseHook, nullptr, GetCurrentThreadId());
    HHOOK hKeyboard = SetWindowsHookEx(WH_KEYBOARD, RecordKeyboardHook, nullptr, 0);
    ASSERT_NE(g_hMouseHook, nullptr);
    ASSERT_NE(hKeyboard, nullptr);
    SetFocus(m_hLeft);
    MessageLog::Instance().handler = [&calls](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_KEYDOWN || uMsg == WM_LBUTTONUP)
            calls.emplace_back(0, uMsg); // 0: the window procedure
        return false;
    };
    Click(POINT { 150, 150 });
    InjectKeyEvent('X', TRUE);
    PumpUntilIdle();
    std::vector<std::pair<int, UINT>> expected { { WH_MOUSE, WM_LBUTTONDOWN }, { WH_MOUSE, WM_LBUTTONUP },
        { 0, WM_LBUTTONUP }, { WH_KEYBOARD, 'X' }, { 0, WM_KEYDOWN } };
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_LBUTTONDOWN }).empty());

    EXPECT_TRUE(UnhookWindowsHookEx(g_hMouseHook));
    EXPECT_TRUE(UnhookWindowsHookEx(hKeyboard));
    EXPECT_FALSE(UnhookWindowsHookEx(hKeyboard));
    calls.clear();
    InjectKeyEvent('X', FALSE);
    PumpUntilIdle();
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](auto& call) { return call.first != 0; }));
    InjectKeyEvent('X', FALSE);
}

TEST_F(InputTest, GetMessageHooksMayChangeTheMessage)
{
    HHOOK hHook = SetWindowsHookEx(WH_GETMESSAGE, RecordGetMessageHook, nullptr, 0);
    PostMessage(m_hLeft, WM_USER, 1, 0);
    MSG msg {};
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 42u);
    UnhookWindowsHookEx(hHook);
}

std::vector<char>* g_pHookOrder = nullptr;

LRESULT CALLBACK OlderHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
        g_pHookOrder->push_back('o');
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK NewerHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
        g_pHookOrder->push_back('n');
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(InputTest, HooksRunNewestFirstAndPassOnWithoutTheirHandle)
{
    std::vector<char> order;
    g_pHookOrder = &order;
    HHOOK hOlder = SetWindowsHookEx(WH_KEYBOARD, OlderHook, nullptr, 0);
    HHOOK hNewer = SetWindowsHookEx(WH_KEYBOARD, NewerHook, nullptr, 0);
    SetFocus(m_hLeft);
    InjectKeyEvent('Q', TRUE);
    InjectKeyEvent('Q', FALSE);
    PumpUntilIdle();
    EXPECT_EQ(order, (std::vector<char> { 'n', 'o', 'n', 'o' }));
    EXPECT_EQ(CallNextHookEx(hNewer, HC_ACTION, 0, 0), 0); // outside a hook
    UnhookWindowsHookEx(hNewer);
    UnhookWindowsHookEx(hOlder);
}

std::vector<UINT>* g_pSentSeen = nullptr;

LRESULT CALLBACK RecordCallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pInfo = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (pInfo->message == WM_USER + 5 && wParam)
        g_pSentSeen->push_back(pInfo->message);
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(InputTest, CallWndProcHooksSeeSentMessagesFirst)
{
    std::vector<UINT> seen;
    g_pSentSeen = &seen;
    HHOOK hHook = SetWindowsHookEx(WH_CALLWNDPROC, RecordCallWndProcHook, nullptr, 0);
    MessageLog::Instance().handler = [&seen](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_USER + 5)
            seen.push_back(0); // the window procedure
        return false;
    };
    SendMessage(m_hLeft, WM_USER + 5, 0, 0);
    EXPECT_EQ(seen, (std::vector<UINT> { WM_USER + 5, 0 }));
    UnhookWindowsHookEx(hHook);
}

TEST_F(InputTest, TheDefaultSetCursorShowsTheClassCursorOverTheClientArea)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = RecordingWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
    wc.lpszClassName = "CrossCursor";
    ASSERT_NE(RegisterClass(&wc), 0);
    CreateWindowEx(0, "CrossCursor", "", WS_POPUP | WS_VISIBLE, 100, 300, 100, 100, nullptr, nullptr, nullptr, nullptr);
    SetCursor(nullptr);
    InjectMouseEvent(Move(POINT { 150, 350 }));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(InputTest, HooksOfUnknownKindsOrOtherThreadsAreRefused)
{
    EXPECT_EQ(SetWindowsHookEx(99, RecordKeyboardHook, nullptr, 0), nullptr);
    EXPECT_EQ(SetWindowsHookEx(WH_KEYBOARD, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(SetWindowsHookEx(WH_KEYBOARD, RecordKeyboardHook, nullptr, GetCurrentThreadId() + 1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

/***** Tracking and dragging *****/

TEST_F(InputTest, LeavingATrackedWindowPostsMouseLeaveOnce)
{
    InjectMouseEvent(Move(POINT { 150, 150 }));
    TRACKMOUSEEVENT tme { sizeof(tme), TME_LEAVE, m_hLeft, 0 };
    ASSERT_TRUE(TrackMouseEvent(&tme));
    InjectMouseEvent(Move(POINT { 160, 150 }));
    InjectMouseEvent(Move(POINT { 450, 150 }));
    InjectMouseEvent(Move(POINT { 150, 150 }));
    InjectMouseEvent(Move(POINT { 450, 150 }));
    PumpUntilIdle();
    auto leaves = MessageLog::Instance().TakeMessages({ WM_MOUSELEAVE });
    EXPECT_EQ(leaves, (std::vector<std::pair<HWND, UINT>> { { m_hLeft, WM_MOUSELEAVE } }));
}

TEST_F(InputTest, RestingOverATrackedWindowPostsMouseHoverAfterTheHoverTime)
{
    InjectMouseEvent(Move(POINT { 150, 150 }));
    TRACKMOUSEEVENT tme { sizeof(tme), TME_HOVER, m_hLeft, 300 };
    ASSERT_TRUE(TrackMouseEvent(&tme));
    m_clock.Advance(299);
    PumpUntilIdle();
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_MOUSEHOVER }).empty());
    m_clock.Advance(1);
    PumpUntilIdle();
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_MOUSEHOVER }).size(), 1u);
    m_clock.Advance(1000);
    PumpUntilIdle();
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_MOUSEHOVER }).empty());
}

TEST_F(InputTest, DragDetectTellsADragFromAClick)
{
    InjectMouseEvent(Press(POINT { 150, 150 }));
    PumpUntilIdle();
    InjectMouseEvent(Move(POINT { 151, 151 }));
    InjectMouseEvent(Move(POINT { 150 + GetSystemMetrics(SM_CXDRAG) + 1, 150 }));
    EXPECT_TRUE(DragDetect(m_hLeft, POINT { 150, 150 }));
    EXPECT_EQ(GetCapture(), nullptr);
    InjectMouseEvent(Release(POINT { 160, 150 }));

    InjectMouseEvent(Press(POINT { 150, 150 }));
    PumpUntilIdle();
    InjectMouseEvent(Move(POINT { 151, 151 }));
    InjectMouseEvent(Release(POINT { 151, 151 }));
    EXPECT_FALSE(DragDetect(m_hLeft, POINT { 150, 150 }));
}

TEST_F(InputTest, StandardCursorsAreHandlesAndUnknownOnesFail)
{
    HCURSOR hArrow = LoadCursor(nullptr, IDC_ARROW);
    HCURSOR hWait = LoadCursor(nullptr, IDC_WAIT);
    EXPECT_NE(hArrow, nullptr);
    EXPECT_NE(hArrow, hWait);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), hArrow);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    SetCursor(hWait);
    EXPECT_EQ(SetCursor(hArrow), hWait);
}

TEST_F(InputTest, BadInputIsRefused)
{
    EXPECT_FALSE(InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::None, POINT { 1, 1 }, 0 }));
    EXPECT_FALSE(InjectKeyEvent(0, TRUE));
    EXPECT_FALSE(GetCursorPos(nullptr));
    TRACKMOUSEEVENT tme { 0, TME_LEAVE, m_hLeft, 0 };
    EXPECT_FALSE(TrackMouseEvent(&tme));
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(0x7777)), nullptr);
}

}
