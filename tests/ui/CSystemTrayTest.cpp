#include "ui/CSystemTray.h"

#include "platform/framework/CWinThread.h"
#include "platform/testing/TestDriver.h"
#include "resources/ResourceIds.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr UINT WM_TRAY_CALLBACK = WM_APP + 7;

// The thread's main window: records the commands it is sent.
class CCommandTarget : public CWnd {
public:
    std::vector<UINT> m_commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override
    {
        m_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class CSystemTrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_module.Handle(), nullptr);
        AfxSetThread(&m_thread);
        ASSERT_TRUE(
            m_main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
        m_thread.m_pMainWnd = &m_main;
        m_hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_WEB_TRAY));
        m_hBusy = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_WEB_TRAY_BUSY));
        ASSERT_NE(m_hIcon, nullptr);
        ASSERT_NE(m_hBusy, nullptr);
    }
    void TearDown() override
    {
        m_thread.m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        AfxSetThread(nullptr);
    }

    // The recorded icon of the tray, or null when it shows none.
    static std::optional<CTrayIcon> Shown()
    {
        std::vector<CTrayIcon> icons = CTestDriver::TrayIcons();
        if (icons.empty())
            return std::nullopt;
        return icons.front();
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    CWinThread m_thread;
    CCommandTarget m_main;
    HICON m_hIcon { nullptr };
    HICON m_hBusy { nullptr };
};

} // namespace

TEST_F(CSystemTrayTest, ChangesWhileHiddenReachTheTrayWithTheNextShow)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "WebArchivora", m_hIcon, IDR_WEB_TRAY, FALSE));
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(tray.SetIcon(m_hBusy));
    EXPECT_TRUE(tray.SetTooltipText("Serving"));
    EXPECT_FALSE(Shown());
    ASSERT_TRUE(tray.ShowIcon());
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Shown()->hWnd, tray.GetSafeHwnd());
    EXPECT_EQ(Shown()->uID, static_cast<UINT>(IDR_WEB_TRAY));
    EXPECT_EQ(Shown()->uCallbackMessage, WM_TRAY_CALLBACK);
    EXPECT_EQ(Shown()->strTip, "Serving");
    EXPECT_TRUE(tray.HideIcon());
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(tray.HideIcon());
    tray.RemoveIcon();
    EXPECT_FALSE(tray.ShowIcon());
    EXPECT_EQ(tray.GetIcon(), nullptr);
}

TEST_F(CSystemTrayTest, AnIconTheTrayRefusedStaysHidden)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "tip", m_hIcon, IDR_WEB_TRAY, FALSE));
    CTestDriver::SetTrayEnabled(FALSE);
    EXPECT_FALSE(tray.ShowIcon());
    EXPECT_TRUE(tray.IsHidden());
    CTestDriver::SetTrayEnabled(TRUE);
    EXPECT_TRUE(tray.ShowIcon()); // tried again, not taken for shown
    EXPECT_TRUE(Shown());
}

TEST_F(CSystemTrayTest, AnimationStepsThroughTheListAndPutsTheIconBack)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "tip", m_hIcon, IDR_WEB_TRAY, TRUE));
    ASSERT_TRUE(tray.SetIconFromResource(IDI_WEB_TRAY, IDI_WEB_TRAY_BUSY));
    EXPECT_FALSE(tray.SetIconFromResource(IDI_WEB_TRAY_BUSY, IDI_WEB_TRAY));
    HICON hBefore = Shown()->hIcon;
    ASSERT_TRUE(tray.Animate(100, 2));
    std::vector<HICON> seen;
    for (int i = 0; i < 4; ++i) {
        m_driver.Advance(100);
        seen.push_back(Shown()->hIcon);
    }
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(seen[0], seen[2]);
    m_driver.Advance(3000); // past the duration: stopped, the icon back
    EXPECT_EQ(Shown()->hIcon, hBefore);
    HICON hAfter = Shown()->hIcon;
    m_driver.Advance(500);
    EXPECT_EQ(Shown()->hIcon, hAfter);
}

TEST_F(CSystemTrayTest, ADoubleClickSendsTheDefaultCommandAndOtherIconsAreIgnored)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "tip", m_hIcon, IDR_WEB_TRAY, TRUE));
    EXPECT_EQ(tray.OnTrayNotification(IDR_WEB_TRAY + 1, WM_LBUTTONDBLCLK), 0);
    ASSERT_TRUE(m_driver.ClickTrayIcon(tray.GetSafeHwnd(), IDR_WEB_TRAY, WM_LBUTTONDBLCLK));
    EXPECT_EQ(m_main.m_commands, std::vector<UINT> { ID_WEB_LOG }); // position 0 gives its command id
    EXPECT_TRUE(tray.SetMenuDefaultItem(ID_WEB_LOG, FALSE));
    m_main.m_commands.clear();
    m_driver.ChooseNextMenuCommand(ID_WEB_LOG);
    ASSERT_TRUE(m_driver.ClickTrayIcon(tray.GetSafeHwnd(), IDR_WEB_TRAY, WM_RBUTTONUP));
    m_driver.Pump();
    EXPECT_EQ(m_main.m_commands, std::vector<UINT> { ID_WEB_LOG });
}
