// The screen as the X server describes it: two monitors set by the test
// (the primary not at the root's corner) and a work area set by the test, as
// a panel would. The program's metrics, work area and maximized windows follow.

#include "platform/display/X11Display.h"

#include "platform/window/Menu.h"
#include "platform/window/Monitors.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/display/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

namespace {

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class X11ScreenTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        Display* pOther = m_pInput->Connection();
        Window root = DefaultRootWindow(pOther);
        // The left half a secondary monitor, the right half the primary, which
        // takes the server's one output (and so replaces its whole-screen monitor).
        XRRScreenResources* pResources = XRRGetScreenResources(pOther, root);
        ASSERT_TRUE(pResources && pResources->noutput > 0);
        AddMonitor("LEFT", 0, 0, 640, 1024, 0);
        AddMonitor("RIGHT", 640, 0, 640, 1024, pResources->outputs[0]);
        XRRFreeScreenResources(pResources);
        // A panel along the top, 30 pixels high.
        long workArea[4] = { 0, 30, 1280, 994 };
        XChangeProperty(pOther, root, XInternAtom(pOther, "_NET_WORKAREA", False), XA_CARDINAL, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(workArea), 4);
        XSync(pOther, False);
        ASSERT_TRUE(
            PumpUntil([] { return GetSystemMetrics(SM_CMONITORS) == 2 && GetSystemMetrics(SM_CYFULLSCREEN) < 994; }));
    }

    // A monitor; with an output, the primary one.
    void AddMonitor(const char* pszName, int x, int y, int cx, int cy, RROutput output)
    {
        Display* pOther = m_pInput->Connection();
        XRRMonitorInfo* pInfo = XRRAllocateMonitor(pOther, output ? 1 : 0);
        pInfo->name = XInternAtom(pOther, pszName, False);
        pInfo->primary = output ? True : False;
        if (output)
            pInfo->outputs[0] = output;
        pInfo->x = x;
        pInfo->y = y;
        pInfo->width = cx;
        pInfo->height = cy;
        pInfo->mwidth = cx / 4;
        pInfo->mheight = cy / 4;
        XRRSetMonitor(pOther, DefaultRootWindow(pOther), pInfo);
        XRRFreeMonitors(pInfo);
    }
};

}

TEST_F(X11ScreenTest, MetricsAndWorkAreaComeFromThePrimaryMonitor)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -640);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
    RECT rcWork {};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0));
    EXPECT_TRUE(Same(rcWork, RECT { 0, 30, 640, 1024 }));

    MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint(POINT { -10, 500 }, MONITOR_DEFAULTTONULL), &info));
    EXPECT_TRUE(Same(info.rcMonitor, RECT { -640, 0, 0, 1024 }));
    EXPECT_TRUE(Same(info.rcWork, RECT { -640, 30, 0, 1024 }));
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(MonitorFromPoint(POINT { 5000, 5000 }, MONITOR_DEFAULTTONULL), nullptr);
}

TEST_F(X11ScreenTest, AMaximizedWindowFillsItsMonitorsWorkAreaWithItsFrameOutside)
{
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, -600, 100, 300, 200);
    ShowWindow(hWnd, SW_SHOWMAXIMIZED);
    RECT rc {};
    GetWindowRect(hWnd, &rc);
    EXPECT_TRUE(Same(rc, RECT { -644, 26, 4, 1028 }));
    // The server shows it there: screen coordinates are the root's less the primary's corner.
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
    PumpFor(std::chrono::milliseconds(100));
    GetWindowRect(hWnd, &rc);
    EXPECT_TRUE(Same(rc, RECT { -644, 26, 4, 1028 })) << "it stays maximized";
    Window child = None;
    int x = 0;
    int y = 0;
    XTranslateCoordinates(
        m_pInput->Connection(), XWindowOf(hWnd), DefaultRootWindow(m_pInput->Connection()), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, -644 + 640);
    EXPECT_EQ(y, 26);
}

TEST_F(X11ScreenTest, AMenuOpenedNearAnEdgeStaysOnItsMonitor)
{
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, -600, 100, 300, 200);
    ShowWindow(hWnd, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_STRING, 100, "&Open the selected documents");
    AppendMenu(hMenu, MF_STRING, 101, "&Close");
    // Where the menu stands once it shows; the test's user then closes it.
    auto openedAt = [&](POINT pt) {
        RECT rcMenu {};
        std::thread user([&] {
            CXTestInput input(m_server.Name());
            GetWindowRect(WaitForMenuWindow(), &rcMenu);
            input.TapKey(XK_Escape);
        });
        TrackPopupMenu(hMenu, TPM_RETURNCMD, pt.x, pt.y, 0, hWnd, nullptr);
        user.join();
        return rcMenu;
    };
    // At the right edge of the left monitor: it opens leftwards, not onto the primary.
    RECT rc = openedAt(POINT { -20, 500 });
    EXPECT_LE(rc.right, 0);
    EXPECT_GE(rc.left, -640);
    EXPECT_GT(rc.right - rc.left, 20);
    // At the primary's bottom right corner: it stays inside it.
    rc = openedAt(POINT { 630, 1015 });
    EXPECT_LE(rc.right, 640);
    EXPECT_LE(rc.bottom, 1024);
    EXPECT_GT(rc.bottom - rc.top, 20);
    DestroyMenu(hMenu);
}
