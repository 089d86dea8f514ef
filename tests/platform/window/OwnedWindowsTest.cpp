#include "WindowTestSupport.h"

namespace {

class OwnedWindowsTest : public WindowTest { };

} // namespace

TEST_F(OwnedWindowsTest, OwnedWindowsHideWhileTheirOwnerIsMinimized)
{
    HWND hOwner = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
    HWND hShown = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, hOwner);
    HWND hHidden = CreateRecordingWindow(WS_POPUP, 20, 20, 100, 80, hOwner);
    HWND hStranger = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 30, 30, 100, 80);
    ASSERT_TRUE(hOwner && hShown && hHidden && hStranger);

    ShowWindow(hOwner, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(hShown));
    EXPECT_FALSE(IsWindowVisible(hHidden));
    EXPECT_TRUE(IsWindowVisible(hStranger));
    // Maximizing from the minimized state brings back only what minimizing hid.
    ShowWindow(hOwner, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsWindowVisible(hShown));
    EXPECT_FALSE(IsWindowVisible(hHidden));
    // Going between maximized and normal leaves them alone.
    ShowWindow(hShown, SW_HIDE);
    ShowWindow(hOwner, SW_RESTORE);
    EXPECT_FALSE(IsWindowVisible(hShown));
    ShowWindow(hShown, SW_SHOW);
    ShowWindow(hOwner, SW_MINIMIZE);
    ShowWindow(hOwner, SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(hShown));
}
