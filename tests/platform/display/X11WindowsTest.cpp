// Top-level windows on a real X server: where they show, what the server
// shows of them, and what the desktop learns about them.

#include "platform/display/X11Display.h"

#include "platform/gdi/Icons.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/display/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

// Paints every recording window's client area in the colour its user data holds.
bool PaintUserColour(HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult)
{
    if (uMsg == WM_ERASEBKGND) {
        *plResult = 1;
        return true;
    }
    if (uMsg != WM_PAINT)
        return false;
    PAINTSTRUCT ps {};
    HDC hdc = BeginPaint(hWnd, &ps);
    HBRUSH hbr = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(hWnd, GWLP_USERDATA)));
    RECT rc {};
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, hbr);
    DeleteObject(hbr);
    EndPaint(hWnd, &ps);
    *plResult = 0;
    return true;
}

class X11WindowsTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        MessageLog::Instance().handler = PaintUserColour;
    }

    HWND ShowColouredWindow(COLORREF cr, int x, int y, int cx, int cy)
    {
        HWND hWnd = CreateRecordingWindow(WS_POPUP, x, y, cx, cy);
        SetWindowLongPtr(hWnd, GWLP_USERDATA, static_cast<LONG_PTR>(cr));
        ShowWindow(hWnd, SW_SHOW);
        return hWnd;
    }
};

}

TEST_F(X11WindowsTest, AShownWindowShowsItsPaintedPixelsWhereItStands)
{
    HWND hWnd = ShowColouredWindow(RED, 40, 30, 120, 80);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 60, 40) == RED; }));

    Window child = None;
    int x = 0;
    int y = 0;
    XTranslateCoordinates(
        m_pInput->Connection(), XWindowOf(hWnd), DefaultRootWindow(m_pInput->Connection()), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 30);

    // Hidden, the X window is unmapped; shown again it comes back with its pixels.
    ShowWindow(hWnd, SW_HIDE);
    ASSERT_TRUE(PumpUntil([&] { return !Viewable(hWnd); }));
    ShowWindow(hWnd, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 5, 5) == RED; }));

    // Moved and repainted in another colour, the server follows.
    SetWindowLongPtr(hWnd, GWLP_USERDATA, static_cast<LONG_PTR>(BLUE));
    SetWindowPos(hWnd, nullptr, 200, 100, 60, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 50, 30) == BLUE; }));
    XTranslateCoordinates(
        m_pInput->Connection(), XWindowOf(hWnd), DefaultRootWindow(m_pInput->Connection()), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 100);

    unsigned long nWindow = XWindowOf(hWnd);
    DestroyWindow(hWnd);
    PumpUntilIdle();
    m_pDisplay->Sync();
    XWindowAttributes attributes {};
    EXPECT_EQ(XWindowOf(hWnd), 0u);
    // The X window is gone too: asking for it fails.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    EXPECT_FALSE(XGetWindowAttributes(m_pInput->Connection(), nWindow, &attributes));
}

TEST_F(X11WindowsTest, UncoveringIsServedFromTheRetainedPixelsWithoutPainting)
{
    HWND hWnd = ShowColouredWindow(RED, 0, 0, 100, 100);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 50, 50) == RED; }));
    MessageLog::Instance().Take();

    // Another client's window covers it and goes.
    Display* pOther = m_pInput->Connection();
    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(pOther, DefaultScreen(pOther));
    Window cover = XCreateWindow(pOther, DefaultRootWindow(pOther), 0, 0, 100, 100, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(pOther, cover);
    XSync(pOther, False);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 50, 50) == RGB(0, 0, 0); }));
    XDestroyWindow(pOther, cover);
    XSync(pOther, False);

    EXPECT_TRUE(PumpUntil([&] { return ServerPixel(hWnd, 50, 50) == RED; }));
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_PAINT }).empty());
}

TEST_F(X11WindowsTest, AWindowShownOverAnotherShowsItsPaintedPixelsThereNotBlack)
{
    // As a floating tool window first shows over the main window.
    HWND hUnder = ShowColouredWindow(RED, 0, 0, 100, 100);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hUnder, 50, 50) == RED; }));
    HWND hOver = ShowColouredWindow(BLUE, 50, 50, 100, 100);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixel(hOver, 10, 10) == BLUE; }));
    EXPECT_EQ(ServerPixel(hUnder, 75, 75), BLUE);
    EXPECT_EQ(ServerPixel(hUnder, 25, 25), RED);
    DestroyWindow(hOver);
    EXPECT_TRUE(PumpUntil([&] { return ServerPixel(hUnder, 75, 75) == RED; }));
    DestroyWindow(hUnder);
}

TEST_F(X11WindowsTest, AResizeFromOutsideGivesWmSizeAndARepaint)
{
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 10, 10, 200, 150);
    SetWindowLongPtr(hWnd, GWLP_USERDATA, static_cast<LONG_PTR>(RED));
    ShowWindow(hWnd, SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
    MessageLog::Instance().Take();

    XResizeWindow(m_pInput->Connection(), XWindowOf(hWnd), 300, 220);
    XSync(m_pInput->Connection(), False);
    ASSERT_TRUE(PumpUntil([&] {
        RECT rc {};
        GetWindowRect(hWnd, &rc);
        return rc.right - rc.left == 300 && rc.bottom - rc.top == 220;
    }));
    std::vector<std::pair<HWND, UINT>> messages = MessageLog::Instance().TakeMessages({ WM_SIZE, WM_PAINT });
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().second, static_cast<UINT>(WM_SIZE));
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    // The new area shows the client's paint, not what the server had.
    EXPECT_TRUE(PumpUntil([&] {
        POINT pt { rcClient.right - 2, rcClient.bottom - 2 };
        MapWindowPoints(hWnd, nullptr, &pt, 1);
        RECT rcWindow {};
        GetWindowRect(hWnd, &rcWindow);
        return ServerPixel(hWnd, pt.x - rcWindow.left, pt.y - rcWindow.top) == RED;
    }));
}

// A window manager places a new window, then puts it in a frame of its own
// that stands at the corner until it is moved there: the place the window
// was given before the frame holds, though the frame was elsewhere when the
// program read of it, and clicks reach the window where it shows.
TEST_F(X11WindowsTest, AWindowPlacedAndThenFramedKeepsItsPlace)
{
    Display* pManager = m_pInput->Connection();
    Window root = DefaultRootWindow(pManager);
    XSelectInput(pManager, root, SubstructureRedirectMask);
    XSync(pManager, False);
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 40, 30, 200, 150);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    XEvent request {};
    ASSERT_TRUE(PumpUntil([&] {
        return XCheckTypedEvent(pManager, MapRequest, &request) && request.xmaprequest.window == XWindowOf(hWnd);
    }));
    Window client = request.xmaprequest.window;
    XMoveWindow(pManager, client, 300, 200);
    Window frame = XCreateSimpleWindow(pManager, root, 0, 0, 200, 150, 0, 0, 0);
    XReparentWindow(pManager, client, frame, 0, 0);
    XMapWindow(pManager, client);
    XMapWindow(pManager, frame);
    XSync(pManager, False);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
    PumpUntilIdle();
    XMoveWindow(pManager, frame, 300, 200);
    XSync(pManager, False);
    PumpFor(std::chrono::milliseconds(100));

    RECT rc {};
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 200);
    EXPECT_EQ(WindowFromPoint(POINT { 350, 250 }), hWnd);
    XDestroyWindow(pManager, frame);
    XSync(pManager, False);
}

TEST_F(X11WindowsTest, TheDesktopLearnsEachWindowsKindOwnerAndTitle)
{
    Display* pOther = m_pInput->Connection();
    HWND hMain = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, 0, 0, "Main");
    HWND hDialog = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 40, 150, 100, hMain, 0, 0, "Dialog");
    HWND hTool = CreateRecordingWindow(WS_POPUP | WS_CAPTION, 40, 40, 150, 100, hMain, 0, WS_EX_TOOLWINDOW, "Tool");
    HWND hPopup = CreateRecordingWindow(WS_POPUP | WS_BORDER, 60, 60, 50, 50, hMain);
    for (HWND hWnd : { hMain, hDialog, hTool, hPopup })
        ShowWindow(hWnd, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hMain) && Viewable(hPopup); }));

    EXPECT_EQ(AtomProperty(pOther, XWindowOf(hMain), "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_NORMAL");
    EXPECT_EQ(AtomProperty(pOther, XWindowOf(hDialog), "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_EQ(AtomProperty(pOther, XWindowOf(hTool), "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_UTILITY");
    EXPECT_EQ(AtomProperty(pOther, XWindowOf(hPopup), "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_POPUP_MENU");

    // A popup without caption or frame is the program's alone; the others are the window manager's.
    XWindowAttributes attributes {};
    XGetWindowAttributes(pOther, XWindowOf(hPopup), &attributes);
    EXPECT_TRUE(attributes.override_redirect);
    XGetWindowAttributes(pOther, XWindowOf(hDialog), &attributes);
    EXPECT_FALSE(attributes.override_redirect);

    Window owner = None;
    ASSERT_TRUE(XGetTransientForHint(pOther, XWindowOf(hDialog), &owner));
    EXPECT_EQ(owner, XWindowOf(hMain));
    XClassHint classHint {};
    ASSERT_TRUE(XGetClassHint(pOther, XWindowOf(hMain), &classHint));
    EXPECT_STREQ(classHint.res_name, "archivora");
    EXPECT_STREQ(classHint.res_class, "Archivora");
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    EXPECT_EQ(StringProperty(pOther, XWindowOf(hMain), "_NET_WM_NAME"), "Main");
    SetWindowText(hMain, "Rapport \xC3\xA9t\xC3\xA9");
    PumpUntilIdle();
    EXPECT_TRUE(PumpUntil(
        [&] { return StringProperty(pOther, XWindowOf(hMain), "_NET_WM_NAME") == "Rapport \xC3\xA9t\xC3\xA9"; }));
}

namespace {

// A frame that keeps between 300 x 200 and 800 x 600 pixels.
LRESULT CALLBACK LimitedWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_GETMINMAXINFO) {
        auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
        pInfo->ptMinTrackSize = { 300, 200 };
        pInfo->ptMaxTrackSize = { 800, 600 };
        return 0;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

}

TEST_F(X11WindowsTest, TheWindowManagerLearnsTheSizeLimits)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = LimitedWndProc;
    wc.lpszClassName = "LimitedFrame";
    ASSERT_NE(RegisterClass(&wc), 0);
    HWND hLimited = CreateWindow(
        "LimitedFrame", "Limited", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND hFree = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 20, 20, 400, 300);
    HWND hFixed = CreateRecordingWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, 30, 30, 250, 150);
    for (HWND hWnd : { hLimited, hFree, hFixed })
        ShowWindow(hWnd, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hLimited) && Viewable(hFree) && Viewable(hFixed); }));

    auto hints = [&](HWND hWnd) {
        XSizeHints sizeHints {};
        long nSupplied = 0;
        XGetWMNormalHints(m_pInput->Connection(), XWindowOf(hWnd), &sizeHints, &nSupplied);
        return sizeHints;
    };
    XSizeHints limited = hints(hLimited);
    ASSERT_TRUE((limited.flags & PMinSize) && (limited.flags & PMaxSize));
    EXPECT_EQ(limited.min_width, 300);
    EXPECT_EQ(limited.min_height, 200);
    EXPECT_EQ(limited.max_width, 800);
    EXPECT_EQ(limited.max_height, 600);

    XSizeHints free = hints(hFree);
    EXPECT_EQ(free.min_width, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_FALSE(free.flags & PMaxSize) << "no limit of its own";

    // Without a sizing frame its size is the only one.
    XSizeHints fixed = hints(hFixed);
    ASSERT_TRUE((fixed.flags & PMinSize) && (fixed.flags & PMaxSize));
    EXPECT_EQ(fixed.min_width, 250);
    EXPECT_EQ(fixed.max_width, 250);
    EXPECT_EQ(fixed.max_height, 150);
    DestroyWindow(hLimited);
    UnregisterClass("LimitedFrame", nullptr);
}

TEST_F(X11WindowsTest, TheClassIconGoesToTheDesktopAtTwoSizes)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = DefWindowProc;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = "IconWindow";
    ASSERT_NE(RegisterClass(&wc), 0);
    HWND hWnd
        = CreateWindow("IconWindow", "Icon", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(hWnd); }));
    CReadProperty icon = ReadProperty(m_pInput->Connection(), XWindowOf(hWnd), "_NET_WM_ICON");
    ASSERT_EQ(icon.nFormat, 32);
    std::vector<long> longs(icon.bytes.size() / sizeof(long));
    std::memcpy(longs.data(), icon.bytes.data(), longs.size() * sizeof(long));
    ASSERT_EQ(longs.size(), static_cast<size_t>(2 + 16 * 16 + 2 + 32 * 32));
    EXPECT_EQ(longs[0], 16);
    EXPECT_EQ(longs[2 + 16 * 16], 32);
    // Opaque pixels and transparent ones, as the icon's mask says.
    auto opaque = std::count_if(longs.begin() + 2, longs.begin() + 2 + 16 * 16,
        [](long nPixel) { return (static_cast<uint32_t>(nPixel) >> 24) == 0xFF; });
    EXPECT_GT(opaque, 0);
    EXPECT_LT(opaque, 16 * 16);
    DestroyWindow(hWnd);
}
