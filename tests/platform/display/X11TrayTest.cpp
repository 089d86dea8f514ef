// The program's tray icons in the desktop's tray, with the test as the tray
// manager: icons dock, show their picture over the tray's background, change
// and go; clicks reach the program; resting the pointer on an icon shows its
// tip beside it; without a tray nothing is added, and a tray that comes back
// gets the icons again.

#include "platform/display/X11Display.h"

#include "platform/controls/ToolTipControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/TrayIcon.h"
#include "tests/platform/display/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF TRAY_GREEN = RGB(0, 128, 0);
constexpr int SLOT = 24;            // the size the tray gives each icon
constexpr POINT TRAY_AT { 900, 0 }; // the tray's corner on the root window
constexpr UINT CALLBACK_MESSAGE = WM_APP + 5;
constexpr UINT ICON_ID = 7;

// A 16-pixel icon of one colour whose top-left quarter lets the background show.
HICON IconOf(COLORREF cr)
{
    HBITMAP hColor = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP hMask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hColor);
    HBRUSH hbr = CreateSolidBrush(cr);
    RECT rcAll { 0, 0, 16, 16 };
    RECT rcCorner { 0, 0, 8, 8 };
    FillRect(hdc, &rcAll, hbr);
    FillRect(hdc, &rcCorner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(hdc, hMask);
    FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(hdc, &rcCorner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hbr);
    ICONINFO info { TRUE, 0, 0, hMask, hColor };
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hColor);
    DeleteObject(hMask);
    return hIcon;
}

// The desktop's tray as the test plays it, on a connection of its own: it owns
// the tray selection with a window of its own, green, and takes in each
// window that asks to dock, side by side. It goes with its connection.
class CTrayManager {
public:
    enum class EVisual {
        Default,
        Argb, // names a 32-bit visual for its icons, as compositing panels do
    };
    enum class ESizing {
        Slot, // gives each icon a square slot
        // Sizes each icon as toolkit sockets do: a panel's height, and the
        // width the icon's hints or its own resize ask (one pixel without either).
        Panel,
    };

    explicit CTrayManager(
        const std::string& strDisplay, EVisual eVisual = EVisual::Default, ESizing eSizing = ESizing::Slot)
        : m_pDisplay(XOpenDisplay(strDisplay.c_str()))
        , m_eSizing(eSizing)
    {
        Window root = DefaultRootWindow(m_pDisplay);
        m_tray = XCreateSimpleWindow(m_pDisplay, root, TRAY_AT.x, TRAY_AT.y, SLOT * 4, SLOT, 0, 0, 0x008000);
        XSelectInput(m_pDisplay, m_tray,
            SubstructureNotifyMask | (eSizing == ESizing::Panel ? SubstructureRedirectMask : NoEventMask));
        XMapWindow(m_pDisplay, m_tray);
        XVisualInfo argb {};
        if (eVisual == EVisual::Argb && XMatchVisualInfo(m_pDisplay, DefaultScreen(m_pDisplay), 32, TrueColor, &argb)) {
            long nVisual = static_cast<long>(argb.visualid);
            XChangeProperty(m_pDisplay, m_tray, XInternAtom(m_pDisplay, "_NET_SYSTEM_TRAY_VISUAL", False), XA_VISUALID,
                32, PropModeReplace, reinterpret_cast<unsigned char*>(&nVisual), 1);
        }
        BecomeManager(m_pDisplay, "_NET_SYSTEM_TRAY_S0", m_tray);
        XSync(m_pDisplay, False);
    }
    ~CTrayManager() { XCloseDisplay(m_pDisplay); }
    CTrayManager(const CTrayManager&) = delete;
    CTrayManager& operator=(const CTrayManager&) = delete;

    // Takes in the windows that asked to dock; the icons docked now, in order.
    const std::vector<Window>& Serve()
    {
        Atom opcode = XInternAtom(m_pDisplay, "_NET_SYSTEM_TRAY_OPCODE", False);
        while (XPending(m_pDisplay) > 0) {
            XEvent event {};
            XNextEvent(m_pDisplay, &event);
            if (event.type == ClientMessage && event.xclient.message_type == opcode && event.xclient.data.l[1] == 0) {
                auto icon = static_cast<Window>(event.xclient.data.l[2]);
                XReparentWindow(m_pDisplay, icon, m_tray, SLOT * static_cast<int>(m_docked.size()), 0);
                if (m_eSizing == ESizing::Slot)
                    XResizeWindow(m_pDisplay, icon, SLOT, SLOT);
                else
                    XResizeWindow(m_pDisplay, icon, HintedWidth(icon), PANEL);
                XMapWindow(m_pDisplay, icon);
                m_docked.push_back(icon);
            } else if (event.type == ConfigureRequest) {
                const XConfigureRequestEvent& request = event.xconfigurerequest;
                const int nWidth = (request.value_mask & CWWidth) ? request.width : HintedWidth(request.window);
                XResizeWindow(m_pDisplay, request.window, static_cast<unsigned>(nWidth), PANEL);
            } else if (event.type == DestroyNotify) {
                std::erase(m_docked, event.xdestroywindow.window);
            }
        }
        XSync(m_pDisplay, False);
        return m_docked;
    }

    // The size of an icon's window now.
    SIZE IconSize(Window icon)
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes(m_pDisplay, icon, &attributes);
        return SIZE { attributes.width, attributes.height };
    }

private:
    static constexpr unsigned PANEL = SLOT - 2; // a panel's height, in Panel sizing

    unsigned HintedWidth(Window icon)
    {
        XSizeHints hints {};
        long nSupplied = 0;
        if (!XGetWMNormalHints(m_pDisplay, icon, &hints, &nSupplied) || !(hints.flags & PMinSize))
            return 1;
        return static_cast<unsigned>(std::max(hints.min_width, 1));
    }

    Display* m_pDisplay;
    ESizing m_eSizing;
    Window m_tray { 0 };
    std::vector<Window> m_docked;
};

class X11TrayTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        m_hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 10, 10, 200, 100);
        m_hRed = IconOf(RED);
        m_hBlue = IconOf(BLUE);
    }

    void TearDown() override
    {
        NOTIFYICONDATA data = Data(nullptr, "");
        Shell_NotifyIcon(NIM_DELETE, &data);
        X11Test::TearDown();
        m_pManager.reset();
        DestroyIcon(m_hRed);
        DestroyIcon(m_hBlue);
    }

    NOTIFYICONDATA Data(HICON hIcon, const char* pszTip)
    {
        NOTIFYICONDATA data {};
        data.cbSize = sizeof(data);
        data.hWnd = m_hWnd;
        data.uID = ICON_ID;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = CALLBACK_MESSAGE;
        data.hIcon = hIcon;
        std::strncpy(data.szTip, pszTip, sizeof(data.szTip) - 1);
        return data;
    }

    // Waits until the tray holds one icon, and returns its window.
    Window DockedIcon()
    {
        Window icon = 0;
        PumpUntil([&] {
            const std::vector<Window>& docked = m_pManager->Serve();
            icon = docked.size() == 1 ? docked.front() : 0;
            return icon != 0;
        });
        return icon;
    }

    COLORREF IconPixel(Window icon, int x, int y)
    {
        HBITMAP hbm = m_pInput->CaptureWindow(icon);
        if (!hbm)
            return CLR_INVALID;
        CCapturedImage image(hbm);
        return image.At(x, y);
    }

    // The tip window while it shows, as the window layer and the server see it.
    HWND ShownTip()
    {
        HWND hTip = FindWindow(TOOLTIPS_CLASS, nullptr);
        return hTip && IsWindowVisible(hTip) && Viewable(hTip) ? hTip : nullptr;
    }

    static std::string ShownText(HWND hTip)
    {
        char szText[80] {};
        TOOLINFO tool { sizeof(tool), 0, nullptr, 0, {}, nullptr, szText, 0, nullptr };
        SendMessage(hTip, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&tool));
        return szText;
    }

    std::string Tip(Window icon) { return StringProperty(m_pInput->Connection(), icon, "_NET_WM_NAME"); }

    HWND m_hWnd { nullptr };
    HICON m_hRed { nullptr };
    HICON m_hBlue { nullptr };
    std::unique_ptr<CTrayManager> m_pManager;
};

}

TEST_F(X11TrayTest, AnIconDocksShowsChangesAndGoes)
{
    m_pManager = std::make_unique<CTrayManager>(m_server.Name());
    NOTIFYICONDATA data = Data(m_hRed, "Archivora monitor");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    Window icon = DockedIcon();
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(Tip(icon), "Archivora monitor");
    // The picture, scaled to the tray's size, with the tray's background where the icon is transparent.
    EXPECT_TRUE(PumpUntil([&] { return IconPixel(icon, SLOT / 2, SLOT / 2) == RED; }));
    EXPECT_EQ(IconPixel(icon, SLOT - 2, SLOT - 2), RED);
    EXPECT_EQ(IconPixel(icon, 2, 2), TRAY_GREEN);

    data = Data(m_hBlue, "Archivora: 3 new documents");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(PumpUntil([&] { return IconPixel(icon, SLOT / 2, SLOT / 2) == BLUE; }));
    EXPECT_EQ(IconPixel(icon, 2, 2), TRAY_GREEN);
    EXPECT_EQ(Tip(icon), "Archivora: 3 new documents");

    ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    EXPECT_TRUE(PumpUntil([&] { return m_pManager->Serve().empty(); }));
}

TEST_F(X11TrayTest, ClicksOnTheIconReachItsWindowWithItsId)
{
    m_pManager = std::make_unique<CTrayManager>(m_server.Name());
    NOTIFYICONDATA data = Data(m_hRed, "tip");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_NE(DockedIcon(), 0u);
    PumpFor(std::chrono::milliseconds(100));
    MessageLog::Instance().Take();

    m_pInput->Click(POINT { TRAY_AT.x + SLOT / 2, TRAY_AT.y + SLOT / 2 }, 3);
    std::vector<LPARAM> mouse;
    ASSERT_TRUE(PumpUntil([&] {
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == CALLBACK_MESSAGE && message.hWnd == m_hWnd && message.wParam == ICON_ID
                && message.lParam != WM_MOUSEMOVE)
                mouse.push_back(message.lParam);
        }
        return mouse.size() >= 2;
    }));
    EXPECT_EQ(mouse, (std::vector<LPARAM> { WM_RBUTTONDOWN, WM_RBUTTONUP }));

    // Two quick left clicks are a double click.
    mouse.clear();
    m_pInput->Click(POINT { TRAY_AT.x + SLOT / 2, TRAY_AT.y + SLOT / 2 }, 1);
    m_pInput->Click(POINT { TRAY_AT.x + SLOT / 2, TRAY_AT.y + SLOT / 2 }, 1);
    ASSERT_TRUE(PumpUntil([&] {
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == CALLBACK_MESSAGE && message.lParam != WM_MOUSEMOVE)
                mouse.push_back(message.lParam);
        }
        return mouse.size() >= 4;
    }));
    EXPECT_EQ(mouse, (std::vector<LPARAM> { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP }));
}

TEST_F(X11TrayTest, WithoutATrayNothingIsAddedAndATrayThatComesBackGetsTheIcons)
{
    NOTIFYICONDATA data = Data(m_hRed, "tip");
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));

    m_pManager = std::make_unique<CTrayManager>(m_server.Name());
    ASSERT_TRUE(PumpUntil([&] { return Shell_NotifyIcon(NIM_ADD, &data) != FALSE; }));
    ASSERT_NE(DockedIcon(), 0u);

    // The panel quits; the icon stays the program's, and changes while no tray shows it.
    m_pManager.reset();
    PumpFor(std::chrono::milliseconds(200));
    data = Data(m_hBlue, "while away");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));

    // A new panel announces itself and gets the icon as it is now.
    m_pManager = std::make_unique<CTrayManager>(m_server.Name());
    Window icon = DockedIcon();
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(Tip(icon), "while away");
    EXPECT_TRUE(PumpUntil([&] { return IconPixel(icon, SLOT / 2, SLOT / 2) == BLUE; }));
}

TEST_F(X11TrayTest, ATrayWithAnArgbVisualGetsIconsOfThatVisual)
{
    m_pManager = std::make_unique<CTrayManager>(m_server.Name(), CTrayManager::EVisual::Argb);
    NOTIFYICONDATA data = Data(m_hRed, "tip");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    Window icon = DockedIcon();
    ASSERT_NE(icon, 0u);
    XWindowAttributes attributes {};
    ASSERT_TRUE(XGetWindowAttributes(m_pInput->Connection(), icon, &attributes));
    EXPECT_EQ(attributes.depth, 32);
    EXPECT_TRUE(PumpUntil([&] { return IconPixel(icon, SLOT / 2, SLOT / 2) == RED; }));
}

TEST_F(X11TrayTest, RestingOnTheIconShowsItsTipBesideIt)
{
    m_pManager = std::make_unique<CTrayManager>(m_server.Name());
    NOTIFYICONDATA data = Data(m_hRed, "Archivora monitor");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_NE(DockedIcon(), 0u);
    m_pInput->MoveTo(POINT { 400, 400 });
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(ShownTip(), nullptr);

    // On a tray at the top of the screen the tip stands below the icon, at its left edge.
    m_pInput->MoveTo(POINT { TRAY_AT.x + SLOT / 2, TRAY_AT.y + SLOT / 2 });
    HWND hTip = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (hTip = ShownTip()) != nullptr; }));
    EXPECT_EQ(ShownText(hTip), "Archivora monitor");
    RECT rcTip {};
    GetWindowRect(hTip, &rcTip);
    EXPECT_EQ(rcTip.left, TRAY_AT.x);
    EXPECT_GE(rcTip.top, TRAY_AT.y + SLOT);
    EXPECT_LE(rcTip.top, TRAY_AT.y + SLOT + 4);

    data = Data(m_hRed, "Archivora: 3 new documents");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(PumpUntil([&] { return ShownTip() && ShownText(hTip) == "Archivora: 3 new documents"; }));

    m_pInput->MoveTo(POINT { 400, 400 });
    EXPECT_TRUE(PumpUntil([&] { return ShownTip() == nullptr; }));
}

TEST_F(X11TrayTest, ATrayThatSizesIconsByTheirHintsGivesASquareOfItsHeight)
{
    m_pManager
        = std::make_unique<CTrayManager>(m_server.Name(), CTrayManager::EVisual::Default, CTrayManager::ESizing::Panel);
    NOTIFYICONDATA data = Data(m_hRed, "tip");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    Window icon = DockedIcon();
    ASSERT_NE(icon, 0u);
    SIZE size {};
    EXPECT_TRUE(PumpUntil([&] {
        m_pManager->Serve();
        size = m_pManager->IconSize(icon);
        return size.cx == size.cy;
    })) << size.cx
        << "x" << size.cy;
    EXPECT_EQ(size.cy, SLOT - 2);
    EXPECT_TRUE(PumpUntil([&] { return IconPixel(icon, (SLOT - 2) / 2, (SLOT - 2) / 2) == RED; }));
}
