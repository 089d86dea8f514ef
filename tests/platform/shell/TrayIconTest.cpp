#include "platform/shell/TrayIcon.h"

#include "platform/base/WinError.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/Icons.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr UINT WM_TRAY = WM_APP + 7;

// What the tray window's procedure saw of its callback message, and where the cursor was then.
struct TrayCallback {
    WPARAM wParam;
    LPARAM lParam;
    POINT ptCursor;
};
std::vector<TrayCallback> g_callbacks;

LRESULT CALLBACK TrayWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_TRAY) {
        POINT pt {};
        GetCursorPos(&pt);
        g_callbacks.push_back({ wParam, lParam, pt });
        return 0;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_callbacks.clear();
        WNDCLASS wc {};
        wc.lpfnWndProc = TrayWndProc;
        wc.lpszClassName = "TrayIconTestWindow";
        RegisterClass(&wc);
        m_hWnd = CreateWindow(
            "TrayIconTestWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    NOTIFYICONDATA Data(UINT uID, UINT uFlags, const char* pszTip = "") const
    {
        NOTIFYICONDATA data {};
        data.cbSize = 88; // the size the 32-bit program writes
        data.hWnd = m_hWnd;
        data.uID = uID;
        data.uFlags = uFlags;
        data.uCallbackMessage = WM_TRAY;
        data.hIcon = m_hIcon;
        std::strncpy(data.szTip, pszTip, sizeof data.szTip);
        return data;
    }

    static std::optional<CTrayIcon> Shown(HWND hWnd, UINT uID)
    {
        for (const CTrayIcon& icon : CTestDriver::TrayIcons()) {
            if (icon.hWnd == hWnd && icon.uID == uID)
                return icon;
        }
        return std::nullopt;
    }

    // The tray's tip window while it shows, nullptr when none shows.
    static HWND ShownTip()
    {
        HWND hTip = FindWindow(TOOLTIPS_CLASS, nullptr);
        return hTip && IsWindowVisible(hTip) ? hTip : nullptr;
    }

    static std::string TipText(HWND hTip)
    {
        char szText[80] {};
        TOOLINFO tool { sizeof(tool), 0, nullptr, 0, {}, nullptr, szText, 0, nullptr };
        return SendMessage(hTip, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&tool)) ? szText : "<no tool>";
    }

    CTestDriver m_driver;
    HWND m_hWnd { nullptr };
    HICON m_hIcon { LoadIcon(nullptr, IDI_APPLICATION) };
};

} // namespace

TEST_F(TrayIconTest, IconsAreAddedChangedAndRemovedByKey)
{
    NOTIFYICONDATA data = Data(1, NIF_MESSAGE | NIF_ICON | NIF_TIP, "Archive monitor");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data)) << "the key is taken";
    NOTIFYICONDATA other = Data(2, NIF_ICON);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &other));

    std::optional<CTrayIcon> icon = Shown(m_hWnd, 1);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->strTip, "Archive monitor");
    EXPECT_EQ(icon->hIcon, m_hIcon);
    EXPECT_EQ(icon->uCallbackMessage, WM_TRAY);
    // Only the fields uFlags names count.
    std::optional<CTrayIcon> second = Shown(m_hWnd, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->uCallbackMessage, 0u);
    EXPECT_EQ(second->strTip, "");

    // A change of the tip alone keeps the icon and the callback.
    NOTIFYICONDATA tip = Data(1, NIF_TIP, "3 new documents");
    tip.hIcon = nullptr;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &tip));
    icon = Shown(m_hWnd, 1);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->strTip, "3 new documents");
    EXPECT_EQ(icon->hIcon, m_hIcon);

    NOTIFYICONDATA unknown = Data(9, NIF_TIP, "x");
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &unknown));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &unknown));

    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(Shown(m_hWnd, 1));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &other));
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
}

TEST_F(TrayIconTest, TipsAreCutWholeAtSixtyThreeBytes)
{
    // 62 ASCII bytes then a two-byte character: the character does not fit.
    std::string strTip(62, 'a');
    strTip += "\xC3\xA9";
    NOTIFYICONDATA data = Data(1, NIF_TIP);
    std::memcpy(data.szTip, strTip.c_str(), strTip.size());
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_EQ(Shown(m_hWnd, 1)->strTip, std::string(62, 'a'));

    // A field with no NUL at all gives its first 63 bytes.
    std::memset(data.szTip, 'b', sizeof data.szTip);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_EQ(Shown(m_hWnd, 1)->strTip, std::string(63, 'b'));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
}

TEST_F(TrayIconTest, ClicksPostTheCallbackWithTheCursorAtTheIcon)
{
    NOTIFYICONDATA data = Data(5, NIF_MESSAGE | NIF_ICON);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_TRUE(m_driver.ClickTrayIcon(m_hWnd, 5, WM_RBUTTONUP));
    ASSERT_TRUE(m_driver.ClickTrayIcon(m_hWnd, 5, WM_LBUTTONDBLCLK));
    ASSERT_EQ(g_callbacks.size(), 2u);
    EXPECT_EQ(g_callbacks[0].wParam, 5u);
    EXPECT_EQ(g_callbacks[0].lParam, static_cast<LPARAM>(WM_RBUTTONUP));
    EXPECT_EQ(g_callbacks[1].lParam, static_cast<LPARAM>(WM_LBUTTONDBLCLK));
    // The program places the icon's menu at the cursor: it must be where the icon is.
    POINT ptIcon = *GetHeadlessDisplay().Tray().IconPoint(m_hWnd, 5);
    EXPECT_EQ(g_callbacks[0].ptCursor.x, ptIcon.x);
    EXPECT_EQ(g_callbacks[0].ptCursor.y, ptIcon.y);

    EXPECT_FALSE(m_driver.ClickTrayIcon(m_hWnd, 6, WM_RBUTTONUP)) << "no such icon";
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(m_driver.ClickTrayIcon(m_hWnd, 5, WM_RBUTTONUP));
    EXPECT_EQ(g_callbacks.size(), 2u);
}

TEST_F(TrayIconTest, WithoutATrayNoIconIsAdded)
{
    NOTIFYICONDATA data = Data(1, NIF_ICON | NIF_MESSAGE);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    CTestDriver::SetTrayEnabled(FALSE);
    // The program must learn that it cannot hide to the tray.
    NOTIFYICONDATA second = Data(2, NIF_ICON | NIF_MESSAGE);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &second));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &data));
    // Its old icon can still be forgotten, and the key is free again once a tray comes.
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    CTestDriver::SetTrayEnabled(TRUE);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
}

TEST_F(TrayIconTest, UnsupportedRequestsAreRefused)
{
    NOTIFYICONDATA data = Data(1, NIF_ICON | NIF_INFO);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    data.uFlags = NIF_ICON;
    EXPECT_FALSE(Shell_NotifyIcon(NIM_SETVERSION, &data));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
    data.cbSize = 0;
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
}

TEST_F(TrayIconTest, ATipShowsByTheIconAfterTheDelayAndFollowsItsIcon)
{
    NOTIFYICONDATA data = Data(3, NIF_MESSAGE | NIF_ICON | NIF_TIP, "Archive monitor");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 3, TRUE));
    m_driver.Advance(GetDoubleClickTime() - 50);
    EXPECT_EQ(ShownTip(), nullptr) << "not before the initial delay";
    m_driver.Advance(60);
    HWND hTip = ShownTip();
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(TipText(hTip), "Archive monitor");
    // The tray lies at the screen's bottom: the tip stands above the icon, at its left edge.
    RECT rcIcon {};
    ASSERT_TRUE(GetHeadlessDisplay().Tray().GetIconRect(m_hWnd, 3, &rcIcon));
    RECT rcTip {};
    GetWindowRect(hTip, &rcTip);
    EXPECT_LE(rcTip.bottom, rcIcon.top);
    EXPECT_GE(rcTip.bottom, rcIcon.top - 4);
    EXPECT_EQ(rcTip.left, std::min<LONG>(rcIcon.left, GetSystemMetrics(SM_CXSCREEN) - (rcTip.right - rcTip.left)));

    // A new tip replaces the text on show, in a window that fits it.
    const LONG cxOld = rcTip.right - rcTip.left;
    NOTIFYICONDATA longer = Data(3, NIF_TIP, "Archive monitor: 12 new documents");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &longer));
    m_driver.Pump();
    ASSERT_EQ(ShownTip(), hTip);
    EXPECT_EQ(TipText(hTip), "Archive monitor: 12 new documents");
    GetWindowRect(hTip, &rcTip);
    EXPECT_GT(rcTip.right - rcTip.left, cxOld);
    EXPECT_LE(rcTip.bottom, rcIcon.top);

    // A tracked tip does not go by itself; leaving the icon takes it down.
    m_driver.Advance(GetDoubleClickTime() * 12);
    EXPECT_EQ(ShownTip(), hTip);
    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 3, FALSE));
    EXPECT_EQ(ShownTip(), nullptr);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
}

TEST_F(TrayIconTest, ATipGoesOnAClickOrDeletionAndAnEmptyTipNeverShows)
{
    NOTIFYICONDATA data = Data(4, NIF_MESSAGE | NIF_ICON | NIF_TIP, "tip");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    const UINT nDelay = GetDoubleClickTime() + 10;

    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 4, TRUE));
    m_driver.Advance(nDelay);
    ASSERT_NE(ShownTip(), nullptr);
    ASSERT_TRUE(m_driver.ClickTrayIcon(m_hWnd, 4, WM_LBUTTONDOWN));
    EXPECT_EQ(ShownTip(), nullptr);
    m_driver.Advance(nDelay);
    EXPECT_EQ(ShownTip(), nullptr) << "not again before the pointer comes back";

    // A click while the delay runs cancels it.
    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 4, TRUE));
    ASSERT_TRUE(m_driver.ClickTrayIcon(m_hWnd, 4, WM_RBUTTONDOWN));
    m_driver.Advance(nDelay);
    EXPECT_EQ(ShownTip(), nullptr);

    // Emptying the tip on show takes it down.
    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 4, TRUE));
    m_driver.Advance(nDelay);
    ASSERT_NE(ShownTip(), nullptr);
    NOTIFYICONDATA empty = Data(4, NIF_TIP, "");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &empty));
    m_driver.Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    m_driver.Advance(nDelay);
    EXPECT_EQ(ShownTip(), nullptr);

    // Deleting the icon takes its tip with it; the last icon's, the tooltip window too.
    NOTIFYICONDATA tip = Data(4, NIF_TIP, "back");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &tip));
    ASSERT_TRUE(m_driver.HoverTrayIcon(m_hWnd, 4, TRUE));
    m_driver.Advance(nDelay);
    HWND hTip = ShownTip();
    ASSERT_NE(hTip, nullptr);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    m_driver.Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    EXPECT_FALSE(IsWindow(hTip));
}
