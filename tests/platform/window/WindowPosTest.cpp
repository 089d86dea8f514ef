#include "platform/window/Window.h"

#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

class WindowPosTest : public WindowTest { };

using Messages = std::vector<std::pair<HWND, UINT>>;

RECT WindowRect(HWND hWnd)
{
    RECT rc {};
    EXPECT_TRUE(GetWindowRect(hWnd, &rc));
    return rc;
}

RECT ClientRect(HWND hWnd)
{
    RECT rc {};
    EXPECT_TRUE(GetClientRect(hWnd, &rc));
    return rc;
}

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<HWND> TopLevelOrder()
{
    std::vector<HWND> order;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        order.push_back(h);
    return order;
}

}

/***** Frames and coordinates *****/

TEST_F(WindowPosTest, ClientAreaIsTheWindowLessTheFrameTheStylesGive)
{
    int cxFrame = GetSystemMetrics(SM_CXFRAME);
    int cyFrame = GetSystemMetrics(SM_CYFRAME);
    int cyCaption = GetSystemMetrics(SM_CYCAPTION);
    HWND hFrame
        = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VSCROLL, 100, 50, 400, 300, nullptr, 0, WS_EX_CLIENTEDGE);
    int cxEdge = GetSystemMetrics(SM_CXEDGE);
    int cyEdge = GetSystemMetrics(SM_CYEDGE);
    RECT rcClient = ClientRect(hFrame);
    EXPECT_EQ(rcClient.right, 400 - 2 * cxFrame - 2 * cxEdge - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(rcClient.bottom, 300 - 2 * cyFrame - cyCaption - 2 * cyEdge);

    // AdjustWindowRectEx is the inverse for the same styles (scroll bars aside).
    RECT rc { 0, 0, 200, 100 };
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE);
    HWND hAdjusted = CreateRecordingWindow(
        WS_OVERLAPPEDWINDOW, 0, 0, rc.right - rc.left, rc.bottom - rc.top, nullptr, 0, WS_EX_CLIENTEDGE);
    EXPECT_TRUE(ClientRect(hAdjusted) == (RECT { 0, 0, 200, 100 }));

    // A frame bigger than the window leaves an empty client area, never a negative one.
    // (A popup: an overlapped window keeps to its smallest tracking size.)
    HWND hTiny = CreateRecordingWindow(WS_POPUP | WS_CAPTION, 0, 0, 4, 4);
    EXPECT_TRUE(ClientRect(hTiny) == (RECT { 0, 0, 0, 0 }));
}

TEST_F(WindowPosTest, ChildCoordinatesFollowTheParentsClientArea)
{
    HWND hParent = CreateRecordingWindow(WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 400, 300);
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 100, 80, hParent, 7);
    int cx = GetSystemMetrics(SM_CXBORDER);
    int cy = GetSystemMetrics(SM_CYBORDER);
    EXPECT_TRUE(WindowRect(hChild) == (RECT { 100 + cx + 10, 50 + cy + 20, 100 + cx + 110, 50 + cy + 100 }));

    POINT pt { 0, 0 };
    ASSERT_TRUE(ClientToScreen(hChild, &pt));
    EXPECT_EQ(pt.x, 100 + cx + 10 + cx);
    EXPECT_EQ(pt.y, 50 + cy + 20 + cy);
    ASSERT_TRUE(ScreenToClient(hChild, &pt));
    EXPECT_EQ(pt.x, 0);
    EXPECT_EQ(pt.y, 0);

    POINT pts[2] = { { 0, 0 }, { 5, 5 } };
    SetLastError(0);
    int nShift = MapWindowPoints(hChild, hParent, pts, 2);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(nShift)), 10 + cx);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(nShift)), 20 + cy);
    EXPECT_EQ(pts[1].x, 5 + 10 + cx);
    EXPECT_EQ(GetLastError(), 0u);

    // Moving the parent moves the child on screen, not in the parent's coordinates.
    MoveWindow(hParent, 0, 0, 400, 300, TRUE);
    EXPECT_EQ(WindowRect(hChild).left, cx + 10);
    EXPECT_FALSE(ClientToScreen(reinterpret_cast<HWND>(0x4), &pt));
}

TEST_F(WindowPosTest, PointsFindTheDeepestVisibleWindow)
{
    HWND hBack = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 500);
    HWND hFront = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 100, 100, 200, 200);
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, hFront, 1);
    HWND hHidden = CreateRecordingWindow(WS_CHILD, 100, 100, 50, 50, hFront, 2);
    HWND hDisabled = CreateRecordingWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 100, 50, 50, hFront, 3);

    EXPECT_EQ(WindowFromPoint({ 120, 120 }), hChild);
    EXPECT_EQ(WindowFromPoint({ 250, 250 }), hFront); // the hidden child is skipped
    EXPECT_EQ(WindowFromPoint({ 120, 220 }), hFront); // so is the disabled child
    EXPECT_EQ(WindowFromPoint({ 400, 400 }), hBack);
    EXPECT_EQ(WindowFromPoint({ 900, 900 }), nullptr);

    // ChildWindowFromPoint takes client coordinates and sees hidden and disabled children too.
    EXPECT_EQ(ChildWindowFromPoint(hFront, { 120, 120 }), hHidden);
    EXPECT_EQ(ChildWindowFromPointEx(hFront, { 120, 120 }, CWP_SKIPINVISIBLE), hFront);
    EXPECT_EQ(ChildWindowFromPoint(hFront, { 20, 110 }), hDisabled);
    EXPECT_EQ(ChildWindowFromPointEx(hFront, { 20, 110 }, CWP_SKIPDISABLED), hFront);
    EXPECT_EQ(ChildWindowFromPoint(hFront, { 500, 5 }), nullptr);

    // Bringing the back window forward changes what the point hits.
    SetWindowPos(hBack, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint({ 120, 120 }), hBack);
}

/***** SetWindowPos, MoveWindow and z-order *****/

TEST_F(WindowPosTest, SetWindowPosSendsChangingThenNcCalcSizeThenChangedThenMoveAndSize)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP | WS_BORDER, 0, 0, 100, 100);
    NCCALCSIZE_PARAMS asked {};
    NCCALCSIZE_PARAMS answered {};
    UINT uPosFlags = 0;
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) {
        if (uMsg == WM_WINDOWPOSCHANGING)
            reinterpret_cast<WINDOWPOS*>(lParam)->cx = 150; // the window insists on its width
        if (uMsg != WM_NCCALCSIZE || !wParam)
            return false;
        auto* pParams = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        asked = *pParams;
        uPosFlags = pParams->lppos->flags;
        *plResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
        answered = *pParams;
        return true;
    };
    MessageLog::Instance().Take();
    ASSERT_TRUE(SetWindowPos(hWnd, nullptr, 30, 40, 200, 60, SWP_NOZORDER | SWP_NOACTIVATE));
    auto log = MessageLog::Instance().Take();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].uMsg, WM_WINDOWPOSCHANGING);
    EXPECT_EQ(log[1].uMsg, WM_NCCALCSIZE);
    EXPECT_EQ(log[1].wParam, static_cast<WPARAM>(TRUE));
    // The rectangle the window insisted on, the one before and the client area before.
    EXPECT_TRUE(asked.rgrc[0] == (RECT { 30, 40, 180, 100 }));
    EXPECT_TRUE(asked.rgrc[1] == (RECT { 0, 0, 100, 100 }));
    EXPECT_TRUE(asked.rgrc[2] == (RECT { 1, 1, 99, 99 }));
    EXPECT_EQ(uPosFlags & SWP_NOZORDER, SWP_NOZORDER);
    EXPECT_TRUE(answered.rgrc[0] == (RECT { 31, 41, 179, 99 })) << "the default leaves the border out";
    EXPECT_EQ(log[2].uMsg, WM_WINDOWPOSCHANGED);
    EXPECT_EQ(log[3].uMsg, WM_MOVE);
    EXPECT_EQ(log[3].lParam, MAKELONG(31, 41)); // the client area's origin
    EXPECT_EQ(log[4].uMsg, WM_SIZE);
    EXPECT_EQ(log[4].lParam, MAKELONG(148, 58));
    EXPECT_TRUE(WindowRect(hWnd) == (RECT { 30, 40, 180, 100 }));

    // Moving only sends no WM_SIZE; nothing changing sends neither.
    MoveWindow(hWnd, 31, 40, 150, 60, TRUE);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_MOVE, WM_SIZE }), (Messages { { hWnd, WM_MOVE } }));
    SetWindowPos(hWnd, nullptr, 31, 40, 150, 60, SWP_NOZORDER | SWP_NOSENDCHANGING);
    EXPECT_EQ(MessageLog::Instance().TakeMessages(), (Messages { { hWnd, WM_WINDOWPOSCHANGED } }));
}

TEST_F(WindowPosTest, ZOrderKeepsTopmostWindowsAboveTheOthers)
{
    HWND hA = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hB = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hTop = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, nullptr, 0, WS_EX_TOPMOST);
    HWND hC = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10); // new windows go on top, but below topmost ones
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hTop, hC, hB, hA }));

    SetWindowPos(hA, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hTop, hA, hC, hB }));
    SetWindowPos(hA, hB, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // below hB
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hTop, hC, hB, hA }));
    SetWindowPos(hB, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hB, hTop, hC, hA }));
    EXPECT_TRUE(GetWindowLong(hB, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(hC, hTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // cannot join the topmost band this way
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hB, hTop, hC, hA }));
    SetWindowPos(hTop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // the bottom ends topmost
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hB, hC, hA, hTop }));
    EXPECT_FALSE(GetWindowLong(hTop, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(hB, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hB, hC, hA, hTop }));
    EXPECT_EQ(GetWindow(hC, GW_HWNDPREV), hB);
    EXPECT_EQ(GetWindow(hC, GW_HWNDLAST), hTop);
}

TEST_F(WindowPosTest, OwnedWindowsStayAboveTheirOwner)
{
    HWND hOwner = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hOwned = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, hOwner);
    HWND hOwnedByOwned = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, hOwned);
    HWND hOther = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    // The owner coming up brings what it owns above it, in their order.
    SetWindowPos(hOwner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hOwnedByOwned, hOwned, hOwner, hOther }));
    SetWindowPos(hOther, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hOwned, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND> { hOwnedByOwned, hOwned, hOther, hOwner }));
}

/***** ShowWindow and EnableWindow *****/

TEST_F(WindowPosTest, ShowWindowSendsShowWindowOnlyWhenVisibilityChanges)
{
    HWND hParent = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hParent, 1);
    EXPECT_FALSE(IsWindowVisible(hChild)); // its parent is hidden
    MessageLog::Instance().Take();

    EXPECT_FALSE(ShowWindow(hParent, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(hChild));
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_SHOWWINDOW }), (Messages { { hParent, WM_SHOWWINDOW } }));
    EXPECT_TRUE(ShowWindow(hParent, SW_SHOWNA));
    EXPECT_TRUE(MessageLog::Instance().Take().empty());
    EXPECT_TRUE(ShowWindow(hParent, SW_HIDE));
    auto log = MessageLog::Instance().Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].uMsg, WM_SHOWWINDOW);
    EXPECT_EQ(log[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_FALSE(IsWindowVisible(hParent));
}

TEST_F(WindowPosTest, MaximizeFillsTheWorkAreaWithTheFrameOutsideAndRestoreReturns)
{
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    MessageLog::Instance().Take();
    ShowWindow(hWnd, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(hWnd));
    const int cxFrame = GetSystemMetrics(SM_CXFRAME);
    const int cyFrame = GetSystemMetrics(SM_CYFRAME);
    EXPECT_TRUE(WindowRect(hWnd)
        == (RECT {
            -cxFrame, -cyFrame, GetSystemMetrics(SM_CXSCREEN) + cxFrame, GetSystemMetrics(SM_CYSCREEN) + cyFrame }));
    auto sizes = MessageLog::Instance().Take();
    auto it = std::find_if(sizes.begin(), sizes.end(), [](const LoggedMessage& m) { return m.uMsg == WM_SIZE; });
    ASSERT_NE(it, sizes.end());
    EXPECT_EQ(it->wParam, SIZE_MAXIMIZED);

    ShowWindow(hWnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(hWnd));
    EXPECT_FALSE(IsZoomed(hWnd));
    ShowWindow(hWnd, SW_RESTORE);
    EXPECT_FALSE(IsIconic(hWnd));
    EXPECT_TRUE(WindowRect(hWnd) == (RECT { 10, 20, 310, 220 }));

    // Created maximized, a window restores to the rectangle it was created with.
    HWND hBorn = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, 5, 5, 150, 100);
    EXPECT_TRUE(IsZoomed(hBorn));
    EXPECT_EQ(WindowRect(hBorn).right, GetSystemMetrics(SM_CXSCREEN) + cxFrame);
    ShowWindow(hBorn, SW_SHOWNORMAL);
    EXPECT_TRUE(WindowRect(hBorn) == (RECT { 5, 5, 155, 105 }));
}

TEST_F(WindowPosTest, EnableWindowReportsThePreviousStateAndSendsEnableOnChange)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    MessageLog::Instance().Take();
    EXPECT_FALSE(EnableWindow(hWnd, FALSE)); // was enabled
    EXPECT_FALSE(IsWindowEnabled(hWnd));
    EXPECT_TRUE(EnableWindow(hWnd, FALSE)); // was disabled; no message
    EXPECT_TRUE(EnableWindow(hWnd, TRUE));
    auto log = MessageLog::Instance().Take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].uMsg, WM_ENABLE);
    EXPECT_EQ(log[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(log[1].wParam, static_cast<WPARAM>(TRUE));
}
