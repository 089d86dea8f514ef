// Update UI of the bars at idle, tips and fly-by prompts from the command
// strings, and the key indicators.

#include "platform/framework/CControlBar.h"

#include "BarTestSupport.h"

#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/testing/TestDriver.h"

#include <string>

namespace {

class BarUpdateUITest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_pFrame = CBarFrame::Make(m_app);
        ASSERT_NE(m_pFrame, nullptr);
        ::SetActiveWindow(m_pFrame->m_hWnd);
        m_driver.Pump();
    }
    void TearDown() override
    {
        // Not as the main window, whose end would post a quit to the next test.
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
    }

    HWND ToolBar() const { return m_pFrame->m_wndToolBar.m_hWnd; }
    HWND StatusBar() const { return m_pFrame->m_wndStatusBar.m_hWnd; }
    HWND DialogControl(UINT nID) const { return ::GetDlgItem(m_pFrame->m_wndDialogBar.m_hWnd, static_cast<int>(nID)); }
    bool ButtonHas(UINT nCommand, BYTE nState) const
    {
        return (CTestDriver::ToolbarButtonState(ToolBar(), nCommand) & nState) != 0;
    }
    CString Prompt() const { return CTestDriver::StatusPaneText(StatusBar(), 0); }
    // The text of the tip that shows on this thread, or "" when none does.
    static std::string ShownTip() { return std::string(CTestDriver::ShownTipText()); }
    POINT MiddleOfButton(UINT nCommand) const
    {
        RECT rc {};
        m_pFrame->m_wndToolBar.GetItemRect(m_pFrame->m_wndToolBar.CommandToIndex(nCommand), &rc);
        return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }

    CTestDriver m_driver;
    CBarResources m_resources;
    CWinApp m_app { "Bars" };
    CBarFrame* m_pFrame { nullptr };
};

} // namespace

TEST_F(BarUpdateUITest, ButtonsPanesAndDialogControlsFollowTheFramesHandlersAtIdle)
{
    m_pFrame->m_bOpenEnabled = FALSE;
    m_pFrame->m_nSaveCheck = 1;
    m_app.OnIdle(0);
    EXPECT_FALSE(ButtonHas(ID_BAR_OPEN, TBSTATE_ENABLED));
    EXPECT_TRUE(ButtonHas(ID_BAR_SAVE, TBSTATE_CHECKED));
    EXPECT_FALSE(ButtonHas(ID_BAR_PRINT, TBSTATE_ENABLED)) << "no handler anywhere";
    EXPECT_TRUE(ButtonHas(ID_BAR_FIND, TBSTATE_ENABLED)) << "a command handler without an update handler";
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 1), "Catalog");

    m_pFrame->m_bOpenEnabled = TRUE;
    m_pFrame->m_nSaveCheck = 2;
    m_pFrame->m_strCatalogPane = "Letters";
    m_app.OnIdle(0);
    EXPECT_TRUE(ButtonHas(ID_BAR_OPEN, TBSTATE_ENABLED));
    EXPECT_FALSE(ButtonHas(ID_BAR_SAVE, TBSTATE_CHECKED));
    EXPECT_TRUE(ButtonHas(ID_BAR_SAVE, TBSTATE_INDETERMINATE));
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 1), "Letters");

    // A push button nobody handles is disabled; a check box is not; the bar's own entry wins over the frame's.
    EXPECT_FALSE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_UNHANDLED)));
    EXPECT_TRUE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_CHECK)));
    EXPECT_TRUE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_HANDLED)));
    EXPECT_TRUE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_OWN)));

    // A clicked button's command reaches the frame.
    const POINT ptOpen = MiddleOfButton(ID_BAR_OPEN);
    m_driver.Click(ToolBar(), ptOpen.x, ptOpen.y);
    EXPECT_EQ(m_pFrame->m_commands, std::vector<UINT> { ID_BAR_OPEN });
}

TEST_F(BarUpdateUITest, TheIdlePassReachesAFloatingBar)
{
    m_pFrame->FloatControlBar(&m_pFrame->m_wndDialogBar, CPoint(400, 300));
    ASSERT_NE(CMiniDockFrameWnd::FromBar(&m_pFrame->m_wndDialogBar), nullptr);
    ::EnableWindow(DialogControl(IDC_BAR_UNHANDLED), TRUE);
    ::EnableWindow(DialogControl(IDC_BAR_OWN), FALSE);
    m_app.OnIdle(0);
    EXPECT_FALSE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_UNHANDLED)));
    EXPECT_TRUE(CTestDriver::IsEnabled(DialogControl(IDC_BAR_OWN)));
}

TEST_F(BarUpdateUITest, RestingOnAButtonShowsItsPromptAndTipUntilTheMouseLeaves)
{
    m_app.OnIdle(0);
    EXPECT_EQ(Prompt(), "Ready");
    const POINT ptOpen = MiddleOfButton(ID_BAR_OPEN);
    m_driver.Hover(ToolBar(), ptOpen.x, ptOpen.y);
    EXPECT_EQ(Prompt(), "Open a file");
    m_driver.Advance(1000);
    EXPECT_EQ(ShownTip(), "Open");

    // Another button, then a control of the dialog bar: each shows its own.
    const POINT ptFind = MiddleOfButton(ID_BAR_FIND);
    m_driver.Hover(ToolBar(), ptFind.x, ptFind.y);
    EXPECT_EQ(Prompt(), "Find a file");
    m_driver.Hover(DialogControl(IDC_BAR_HANDLED), 5, 5);
    EXPECT_EQ(Prompt(), "Run the handled command");
    m_driver.Advance(1000);
    EXPECT_EQ(ShownTip(), "Handled");

    // Leaving the bars brings the idle prompt back.
    m_driver.Hover(m_pFrame->m_wndPane.m_hWnd, 50, 50);
    m_driver.Advance(300);
    EXPECT_EQ(Prompt(), "Ready");
}

TEST_F(BarUpdateUITest, KeyIndicatorsShowWhileTheirLockIsOn)
{
    const bool bCapsOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    m_app.OnIdle(0);
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 2), bCapsOn ? "CAP" : "");
    m_driver.PressKey(VK_CAPITAL);
    m_app.OnIdle(0);
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 2), bCapsOn ? "" : "CAP");
    m_driver.PressKey(VK_CAPITAL);
    m_app.OnIdle(0);
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 2), bCapsOn ? "CAP" : "");
    EXPECT_EQ(CTestDriver::StatusPaneText(StatusBar(), 3), (::GetKeyState(VK_NUMLOCK) & 1) ? "NUM" : "");
}

TEST_F(BarUpdateUITest, F1InADialogAsksTheMainFrameForTheDialogsHelp)
{
    CDialog dlg(IDD_HELP_DIALOG);
    m_driver.OnNextDialog([&](HWND hDlg) {
        m_driver.PressKey(VK_F1);
        ::EndDialog(hDlg, IDOK);
    });
    dlg.DoModal();
    const std::vector<std::pair<DWORD_PTR, UINT>> expected { { HID_BASE_RESOURCE + IDD_HELP_DIALOG, HELP_CONTEXT } };
    EXPECT_EQ(m_pFrame->m_helpRequests, expected);

    // Without a dialog, the frame's own context; the help index asks for the finder.
    m_pFrame->m_nIDHelp = 128;
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP);
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    EXPECT_EQ(m_pFrame->m_helpRequests[1], std::make_pair(HID_BASE_RESOURCE + 128, HELP_CONTEXT));
    EXPECT_EQ(m_pFrame->m_helpRequests[2], std::make_pair(DWORD_PTR { 0 }, HELP_FINDER));
}
