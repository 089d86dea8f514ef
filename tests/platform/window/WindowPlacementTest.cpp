#include "platform/window/WindowPlacement.h"

#include "WindowTestSupport.h"

#include "platform/window/SystemMetrics.h"

namespace {

class WindowPlacementTest : public WindowTest { };

WINDOWPLACEMENT PlacementOf(HWND hWnd)
{
    WINDOWPLACEMENT wp {};
    EXPECT_TRUE(GetWindowPlacement(hWnd, &wp));
    return wp;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_F(WindowPlacementTest, StatesAndRestoredPlacesRoundTripForEveryShowCommand)
{
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 50, 300, 200);
    ASSERT_NE(hWnd, nullptr);
    RECT rcWork {};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0));
    WINDOWPLACEMENT normal = PlacementOf(hWnd);
    EXPECT_EQ(normal.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(SameRect(
        normal.rcNormalPosition, RECT { 40 - rcWork.left, 50 - rcWork.top, 340 - rcWork.left, 250 - rcWork.top }));
    for (int nShow : { SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED }) {
        // The state shows, and the restored place is the one the window had.
        ShowWindow(hWnd, nShow);
        WINDOWPLACEMENT wp = PlacementOf(hWnd);
        EXPECT_EQ(wp.showCmd, static_cast<UINT>(nShow));
        EXPECT_TRUE(SameRect(wp.rcNormalPosition, normal.rcNormalPosition));
        ShowWindow(hWnd, SW_SHOWNORMAL);
    }
    // A saved placement puts another window in the same state and place.
    HWND hOther = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    for (UINT nShow : { static_cast<UINT>(SW_SHOWMAXIMIZED), static_cast<UINT>(SW_SHOWNORMAL),
             static_cast<UINT>(SW_SHOWMINIMIZED) }) {
        WINDOWPLACEMENT saved = normal;
        saved.showCmd = nShow;
        ASSERT_TRUE(SetWindowPlacement(hOther, &saved));
        WINDOWPLACEMENT back = PlacementOf(hOther);
        EXPECT_EQ(back.showCmd, nShow);
        EXPECT_TRUE(SameRect(back.rcNormalPosition, normal.rcNormalPosition)) << nShow;
    }
    ShowWindow(hOther, SW_SHOWNORMAL);
    RECT rcOther {};
    GetWindowRect(hOther, &rcOther);
    EXPECT_EQ(rcOther.left, 40);
    EXPECT_EQ(rcOther.bottom, 250);
}

TEST_F(WindowPlacementTest, AChildsPlaceIsInItsParentsClientCoordinates)
{
    HWND hParent = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
    HWND hChild = CreateRecordingWindow(WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, 10, 20, 150, 100, hParent);
    ShowWindow(hChild, SW_SHOWMAXIMIZED);
    WINDOWPLACEMENT wp = PlacementOf(hChild);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_TRUE(SameRect(wp.rcNormalPosition, RECT { 10, 20, 160, 120 }));
    WINDOWPLACEMENT bad {};
    EXPECT_FALSE(GetWindowPlacement(nullptr, &bad));
}
