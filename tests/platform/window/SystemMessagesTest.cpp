// The messages the window layer sends on its own: context menus, parent
// notifications, size limits and the window menu's commands.

#include "platform/window/Messages.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// The signed point a message's lParam carries.
std::pair<int, int> PointOf(LPARAM lParam)
{
    return { static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)) };
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void Click(POINT pt, EMouseButton eButton)
{
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, eButton, pt, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, eButton, pt, 0 });
    PumpUntilIdle();
}

void TypeKey(UINT nKey)
{
    InjectKeyEvent(nKey, TRUE);
    InjectKeyEvent(nKey, FALSE);
    PumpUntilIdle();
}

// The logged messages of one kind, in order.
std::vector<LoggedMessage> Only(UINT uMsg)
{
    std::vector<LoggedMessage> found;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == uMsg)
            found.push_back(message);
    }
    return found;
}

// A visible top-level window at (100, 100) with a child at (10, 20) in its client area.
class SystemMessagesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hTop = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        m_hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 20, 100, 50, m_hTop, 7);
        SetFocus(m_hChild);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        for (UINT nKey : { VK_SHIFT, VK_MENU })
            if (GetAsyncKeyState(static_cast<int>(nKey)) & 0x8000)
                InjectKeyEvent(nKey, FALSE);
        WindowTest::TearDown();
    }

    HWND m_hTop { nullptr };
    HWND m_hChild { nullptr };
};

} // namespace

/***** Context menus *****/

TEST_F(SystemMessagesTest, RightClickAsksTheChildThenItsParentAtTheScreenPoint)
{
    Click(POINT { 125, 130 }, EMouseButton::Right);
    std::vector<LoggedMessage> menus = Only(WM_CONTEXTMENU);
    ASSERT_EQ(menus.size(), 2u);
    // The child passes it on unchanged: the parent learns which window was clicked.
    EXPECT_EQ(menus[0],
        (LoggedMessage { m_hChild, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hChild), PointParam(125, 130) }));
    EXPECT_EQ(
        menus[1], (LoggedMessage { m_hTop, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hChild), PointParam(125, 130) }));
}

TEST_F(SystemMessagesTest, ChildThatShowsItsOwnMenuKeepsItFromTheParent)
{
    MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 0;
        return hWnd == m_hChild && uMsg == WM_CONTEXTMENU;
    };
    Click(POINT { 125, 130 }, EMouseButton::Right);
    std::vector<LoggedMessage> menus = Only(WM_CONTEXTMENU);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].hWnd, m_hChild);
}

TEST_F(SystemMessagesTest, KeyboardAsksForTheMenuWithoutAPoint)
{
    InjectKeyEvent(VK_SHIFT, TRUE);
    TypeKey(VK_F10);
    InjectKeyEvent(VK_SHIFT, FALSE);
    PumpUntilIdle();
    std::vector<LoggedMessage> fromShiftF10 = Only(WM_CONTEXTMENU);
    ASSERT_FALSE(fromShiftF10.empty());
    EXPECT_EQ(fromShiftF10[0].hWnd, m_hChild);
    EXPECT_EQ(PointOf(fromShiftF10[0].lParam), std::make_pair(-1, -1));

    TypeKey(VK_APPS);
    std::vector<LoggedMessage> fromAppsKey = Only(WM_CONTEXTMENU);
    ASSERT_FALSE(fromAppsKey.empty());
    EXPECT_EQ(fromAppsKey[0].hWnd, m_hChild);
    EXPECT_EQ(PointOf(fromAppsKey[0].lParam), std::make_pair(-1, -1));

    // F10 alone is not a request for a context menu.
    TypeKey(VK_F10);
    EXPECT_TRUE(Only(WM_CONTEXTMENU).empty());
}

/***** Parent notifications *****/

TEST_F(SystemMessagesTest, CreationAndDestructionOfAChildAreToldToEveryAncestor)
{
    HWND hGrandChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, m_hChild, 9);
    std::vector<LoggedMessage> created = Only(WM_PARENTNOTIFY);
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0],
        (LoggedMessage { m_hChild, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 9), reinterpret_cast<LPARAM>(hGrandChild) }));
    EXPECT_EQ(created[1],
        (LoggedMessage { m_hTop, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 9), reinterpret_cast<LPARAM>(hGrandChild) }));

    DestroyWindow(hGrandChild);
    std::vector<LoggedMessage> destroyed;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg == WM_PARENTNOTIFY || (message.uMsg == WM_DESTROY && message.hWnd == hGrandChild))
            destroyed.push_back(message);
    }
    // The ancestors hear of it before the child is destroyed.
    ASSERT_EQ(destroyed.size(), 3u);
    EXPECT_EQ(destroyed[0].wParam, MAKEWPARAM(WM_DESTROY, 9));
    EXPECT_EQ(destroyed[1].hWnd, m_hTop);
    EXPECT_EQ(destroyed[2].uMsg, static_cast<UINT>(WM_DESTROY));
}

namespace {
WNDPROC g_pfnParentProc = nullptr;

// A parent that destroys a child again when it hears the child is going.
LRESULT CALLBACK DestroyAgainProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_DESTROY)
        DestroyWindow(reinterpret_cast<HWND>(lParam));
    return CallWindowProc(g_pfnParentProc, hWnd, uMsg, wParam, lParam);
}
}

TEST_F(SystemMessagesTest, AParentDestroyingTheChildAgainWhenToldEndsOnce)
{
    HWND hGrandChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, m_hChild, 9);
    g_pfnParentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(m_hChild, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyAgainProc)));
    MessageLog::Instance().Take();

    EXPECT_TRUE(DestroyWindow(hGrandChild));
    EXPECT_FALSE(IsWindow(hGrandChild));
    int nDestroys = 0;
    for (const LoggedMessage& message : MessageLog::Instance().Take())
        nDestroys += message.uMsg == WM_DESTROY && message.hWnd == hGrandChild;
    EXPECT_EQ(nDestroys, 1);
}

TEST_F(SystemMessagesTest, NoParentNotifyStopsTheWalkAtThatWindow)
{
    HWND hQuiet = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, m_hTop, 3, WS_EX_NOPARENTNOTIFY);
    EXPECT_TRUE(Only(WM_PARENTNOTIFY).empty());

    // A window below it tells it, but the walk ends there.
    CreateRecordingWindow(WS_CHILD, 0, 0, 5, 5, hQuiet, 4);
    std::vector<LoggedMessage> notes = Only(WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].hWnd, hQuiet);
    DestroyWindow(hQuiet);
}

TEST_F(SystemMessagesTest, ButtonPressInAChildIsToldInEachAncestorsCoordinates)
{
    Click(POINT { 125, 130 }, EMouseButton::Left);
    std::vector<LoggedMessage> notes = Only(WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    // The top-level window's client area starts at (100, 100): the point is (25, 30) there.
    EXPECT_EQ(notes[0], (LoggedMessage { m_hTop, WM_PARENTNOTIFY, WM_LBUTTONDOWN, PointParam(25, 30) }));

    // A press on the parent itself tells nobody.
    Click(POINT { 350, 250 }, EMouseButton::Left);
    EXPECT_TRUE(Only(WM_PARENTNOTIFY).empty());
}

/***** Size limits *****/

TEST_F(SystemMessagesTest, SizingKeepsToTheLimitsTheWindowGives)
{
    HWND hFrame = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 0, 0, 400, 300);
    MessageLog::Instance().handler = [hFrame](HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (hWnd != hFrame || uMsg != WM_GETMINMAXINFO)
            return false;
        auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
        pInfo->ptMinTrackSize = { 200, 150 };
        pInfo->ptMaxTrackSize = { 500, 400 };
        pInfo->ptMaxPosition = { 10, 20 };
        pInfo->ptMaxSize = { 300, 250 };
        *plResult = 0;
        return true;
    };
    RECT rc {};
    SetWindowPos(hFrame, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 150);
    SetWindowPos(hFrame, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.right - rc.left, 500);
    EXPECT_EQ(rc.bottom - rc.top, 400);

    ShowWindow(hFrame, SW_MAXIMIZE);
    GetWindowRect(hFrame, &rc);
    EXPECT_TRUE(SameRect(rc, RECT { 10, 20, 310, 270 }));
    DestroyWindow(hFrame);
}

TEST_F(SystemMessagesTest, DefaultLimitsMaximizeIntoTheParentAndLeaveChildrenFree)
{
    // A child without a sizing frame takes any size.
    SetWindowPos(m_hChild, nullptr, 0, 0, 3, 2, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc {};
    GetClientRect(m_hChild, &rc);
    EXPECT_TRUE(SameRect(rc, RECT { 0, 0, 3, 2 }));
    EXPECT_TRUE(Only(WM_GETMINMAXINFO).empty());

    ShowWindow(m_hChild, SW_MAXIMIZE);
    GetClientRect(m_hChild, &rc);
    EXPECT_TRUE(SameRect(rc, RECT { 0, 0, 300, 200 }));
}

/***** The window menu's commands *****/

TEST_F(SystemMessagesTest, CloseBoxClosesOnlyWhenReleasedOverIt)
{
    HWND hFrame = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300, 200);
    PumpUntilIdle();
    RECT rc {};
    GetWindowRect(hFrame, &rc);
    POINT ptClose { rc.right - GetSystemMetrics(SM_CXFRAME) - 5,
        rc.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2 };
    ASSERT_EQ(SendMessage(hFrame, WM_NCHITTEST, 0, PointParam(ptClose.x, ptClose.y)), HTCLOSE);
    MessageLog::Instance().Take();

    // Pressed on the box, released on the caption: nothing.
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, ptClose, 0 });
    InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, POINT { rc.left + 40, ptClose.y }, 0 });
    PumpUntilIdle();
    EXPECT_TRUE(IsWindow(hFrame));
    EXPECT_TRUE(Only(WM_SYSCOMMAND).empty());
    EXPECT_EQ(GetCapture(), nullptr);

    Click(ptClose, EMouseButton::Left);
    EXPECT_FALSE(IsWindow(hFrame));
    std::vector<UINT> order;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.hWnd == hFrame && (message.uMsg == WM_SYSCOMMAND || message.uMsg == WM_CLOSE))
            order.push_back(message.uMsg);
    }
    EXPECT_EQ(order, (std::vector<UINT> { WM_SYSCOMMAND, WM_CLOSE }));
}

TEST_F(SystemMessagesTest, AltF4ClosesTheTopLevelWindowOfTheFocus)
{
    InjectKeyEvent(VK_MENU, TRUE);
    TypeKey(VK_F4);
    InjectKeyEvent(VK_MENU, FALSE);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(m_hTop));
}

TEST_F(SystemMessagesTest, WindowThatRefusesToCloseStaysOpen)
{
    MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 0;
        return hWnd == m_hTop && uMsg == WM_CLOSE;
    };
    SendMessage(m_hTop, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(m_hTop));
    SendMessage(m_hTop, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(m_hTop));
    SendMessage(m_hTop, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(m_hTop));
}

TEST_F(SystemMessagesTest, FrameHandlerThatDropsTheScrollBarsGivesTheirPlaceToTheClientArea)
{
    // As a control that scrolls by its own buttons does: the styles go in WM_NCCALCSIZE.
    MessageLog::Instance().handler = [](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_NCCALCSIZE)
            SetWindowLong(hWnd, GWL_STYLE, GetWindowLong(hWnd, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
        return false;
    };
    HWND hList = CreateRecordingWindow(WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 80, 60, m_hTop, 8);
    RECT rc {};
    GetClientRect(hList, &rc);
    EXPECT_TRUE(SameRect(rc, RECT { 0, 0, 80, 60 }));

    // Shown again later, the bar is dropped again as soon as the size changes.
    SetWindowLong(hList, GWL_STYLE, GetWindowLong(hList, GWL_STYLE) | WS_VSCROLL);
    SetWindowPos(hList, nullptr, 0, 0, 90, 60, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(hList, &rc);
    EXPECT_TRUE(SameRect(rc, RECT { 0, 0, 90, 60 }));
}
