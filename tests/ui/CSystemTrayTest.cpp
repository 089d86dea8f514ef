#include "ui/CSystemTray.h"

#include "platform/framework/CWinThread.h"
#include "platform/gdi/Icons.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

namespace {

constexpr UINT WM_TRAY_CALLBACK = WM_APP + 7;
// The main frame's menu and icon stand for an icon's own: its first submenu
// holds 57600, a separator and the exit command.
constexpr UINT ICON_ID = IDR_MAINFRAME;

class CSystemTrayTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        AfxSetThread(&m_thread);
        m_thread.m_pMainWnd = &Host();
        m_hFirst = LoadIcon(nullptr, IDI_APPLICATION);
        m_hSecond = LoadIcon(nullptr, IDI_INFORMATION);
        m_hThird = LoadIcon(nullptr, IDI_WARNING);
    }
    void TearDown() override
    {
        m_thread.m_pMainWnd = nullptr;
        AfxSetThread(nullptr);
        CTestDriver::SetTrayEnabled(TRUE);
        UiTest::TearDown();
    }
    // The icon the tray shows for the host's key, or nullopt when none.
    std::optional<CTrayIcon> Shown() const
    {
        for (const CTrayIcon& icon : CTestDriver::TrayIcons())
            if (icon.hWnd == m_pUi->m_host.GetSafeHwnd() && icon.uID == ICON_ID)
                return icon;
        return std::nullopt;
    }

    CWinThread m_thread;
    HICON m_hFirst {};
    HICON m_hSecond {};
    HICON m_hThird {};
};

TEST_F(CSystemTrayTest, IconOnADesktopWithoutATrayStaysHiddenUntilOneAppears)
{
    CTestDriver::SetTrayEnabled(FALSE);
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, FALSE));
    EXPECT_TRUE(tray.IsEnabled());
    EXPECT_FALSE(tray.ShowIcon()) << "nothing took the icon";
    EXPECT_TRUE(tray.IsHidden()) << "the owner must not hide behind an icon that is not there";

    CTestDriver::SetTrayEnabled(TRUE);
    EXPECT_TRUE(tray.ShowIcon());
    EXPECT_FALSE(tray.IsHidden());
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Shown()->strTip, "Monitor");
    EXPECT_EQ(Shown()->uCallbackMessage, WM_TRAY_CALLBACK);

    tray.RemoveIcon();
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(tray.IsEnabled());
    EXPECT_FALSE(tray.ShowIcon());
}

TEST_F(CSystemTrayTest, CreatingShownWithoutATrayLeavesTheIconDisabledAndHidden)
{
    CTestDriver::SetTrayEnabled(FALSE);
    CSystemTray tray;
    EXPECT_FALSE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, TRUE));
    EXPECT_FALSE(tray.IsEnabled());
    EXPECT_TRUE(tray.IsHidden());
}

TEST_F(CSystemTrayTest, ChangesWhileHiddenReachTheTrayWhenShownAndTipsAreCutWhole)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, TRUE));
    ASSERT_TRUE(Shown());
    EXPECT_TRUE(tray.HideIcon());
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(tray.SetIcon(m_hSecond));
    // 31 two-byte characters and one more: the last does not fit 63 bytes.
    std::string strLong;
    for (int i = 0; i < 32; ++i)
        strLong += "\xC3\xA9";
    EXPECT_TRUE(tray.SetTooltipText(strLong.c_str()));
    EXPECT_FALSE(Shown()) << "hidden changes reach nothing";

    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Shown()->hIcon, m_hSecond);
    EXPECT_EQ(Shown()->strTip, strLong.substr(0, 62));

    EXPECT_TRUE(tray.SetTooltipText("Now"));
    EXPECT_EQ(Shown()->strTip, "Now");
    EXPECT_EQ(tray.GetIcon(), m_hSecond);
}

TEST_F(CSystemTrayTest, CallbacksOfAnotherIconAreIgnored)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, FALSE));
    EXPECT_EQ(tray.SendMessage(WM_TRAY_CALLBACK, ICON_ID + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(Host().m_commands.empty());
}

TEST_F(CSystemTrayTest, DoubleClickSendsTheDefaultItemsCommandEvenWhenStoredByPosition)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, TRUE));
    // Callbacks go to the target window; the test hands them on as its frame would.
    EXPECT_EQ(tray.SendMessage(WM_TRAY_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK), 1);
    ASSERT_EQ(Host().m_commands.size(), 1u);
    EXPECT_EQ(Host().m_commands[0].first, 57600u) << "position 0, not command 0";

    EXPECT_TRUE(tray.SetMenuDefaultItem(2, TRUE));
    tray.SendMessage(WM_TRAY_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK);
    ASSERT_EQ(Host().m_commands.size(), 2u);
    EXPECT_EQ(Host().m_commands[1].first, static_cast<UINT>(ID_APP_EXIT_PROGRAM));

    EXPECT_TRUE(tray.SetMenuDefaultItem(4242, FALSE));
    tray.SendMessage(WM_TRAY_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK);
    ASSERT_EQ(Host().m_commands.size(), 3u);
    EXPECT_EQ(Host().m_commands[2].first, 4242u);

    EXPECT_EQ(tray.SendMessage(WM_TRAY_CALLBACK, ICON_ID, WM_MOUSEMOVE), 1);
    EXPECT_EQ(Host().m_commands.size(), 3u);
}

TEST_F(CSystemTrayTest, RightClickOnTheIconShowsItsMenuForTheMainWindow)
{
    CSystemTray tray;
    // Without a target the icon's input comes to the tray's own window.
    ASSERT_TRUE(tray.Create(nullptr, WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, TRUE));
    Driver().ChooseNextMenuCommand(ID_APP_EXIT_PROGRAM);
    ASSERT_TRUE(Driver().ClickTrayIcon(tray.GetSafeHwnd(), ICON_ID, WM_RBUTTONUP));
    ASSERT_EQ(Host().m_commands.size(), 1u);
    EXPECT_EQ(Host().m_commands[0].first, static_cast<UINT>(ID_APP_EXIT_PROGRAM));
}

TEST_F(CSystemTrayTest, AnimationStepsThroughTheIconsAndPutsTheFirstIconBack)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hThird, ICON_ID, TRUE));
    ASSERT_TRUE(tray.SetIconFromResource(IDR_MAINFRAME, IDR_CATALOG_TYPE));
    EXPECT_FALSE(tray.SetIconFromResource(3, 2));

    ASSERT_TRUE(tray.Animate(100, 1));
    std::vector<HICON> seen;
    for (int i = 0; i < 4; ++i) {
        Driver().Advance(100);
        seen.push_back(Shown()->hIcon);
    }
    EXPECT_NE(seen[0], m_hThird);
    EXPECT_EQ(seen[0], seen[2]) << "two icons alternate";
    EXPECT_EQ(seen[1], seen[3]);
    EXPECT_NE(seen[0], seen[1]);
    // Past the second (rounded to the nearest) the animation stops by itself.
    Driver().Advance(1600);
    EXPECT_EQ(Shown()->hIcon, m_hThird);
    const HICON hAfter = Shown()->hIcon;
    Driver().Advance(500);
    EXPECT_EQ(Shown()->hIcon, hAfter) << "the timer is gone";
}

TEST_F(CSystemTrayTest, EndlessAnimationRunsUntilStoppedAndAnEmptyListChangesNothing)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(&Host(), WM_TRAY_CALLBACK, "Monitor", m_hFirst, ICON_ID, TRUE));
    ASSERT_TRUE(tray.Animate(50, 0));
    Driver().Advance(500);
    EXPECT_EQ(Shown()->hIcon, m_hFirst) << "no icons to step through";

    ASSERT_TRUE(tray.SetIconFromResource(IDR_MAINFRAME, IDR_CATALOG_TYPE));
    ASSERT_TRUE(tray.Animate(50, -1));
    Driver().Advance(60000);
    EXPECT_NE(Shown()->hIcon, m_hFirst);
    tray.StopAnimation();
    EXPECT_EQ(Shown()->hIcon, m_hFirst);
}

} // namespace
