// Damaged dock states from the profile: what loads, and that nothing moves
// for what does not.

#include "platform/framework/CDockState.h"

#include "BarTestSupport.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/window/SystemMetrics.h"

#include <string>

namespace {

class CDockStateCorruptTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_app.SetRegistryKey("KD");
        m_pFrame = CBarFrame::Make(m_app);
        ASSERT_NE(m_pFrame, nullptr);
        // Each test writes its own profile name.
        m_strProfile = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
    }

    CString Summary() const { return m_strProfile + "-Summary"; }
    CString Bar(int n) const { return m_strProfile + "-Bar" + std::to_string(n).c_str(); }
    // A sound section for bar nID: visible, docked on nSide (0: floating at 40, 50).
    void WriteBar(int n, UINT nID, UINT nSide)
    {
        m_app.WriteProfileInt(Bar(n), "BarID", static_cast<int>(nID));
        m_app.WriteProfileInt(Bar(n), "Visible", 1);
        m_app.WriteProfileInt(Bar(n), "Floating", nSide ? 0 : 1);
        m_app.WriteProfileInt(Bar(n), "DockSide", static_cast<int>(nSide));
        m_app.WriteProfileInt(Bar(n), "Row", 0);
        m_app.WriteProfileInt(Bar(n), "Offset", 0);
        m_app.WriteProfileInt(Bar(n), "FloatX", 40);
        m_app.WriteProfileInt(Bar(n), "FloatY", 50);
        m_app.WriteProfileInt(Bar(n), "FloatLength", -1);
    }
    void WriteSummary(int nBars)
    {
        m_app.WriteProfileInt(Summary(), "Bars", nBars);
        m_app.WriteProfileInt(Summary(), "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
        m_app.WriteProfileInt(Summary(), "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
    }
    // Loads the test's state and applies what loaded; whether anything did.
    bool LoadAndApply()
    {
        CDockState state;
        const BOOL bLoaded = state.LoadState(m_strProfile);
        m_pFrame->SetDockState(state);
        return bLoaded;
    }
    UINT ToolBarSide() const
    {
        const CControlBar& bar = m_pFrame->m_wndToolBar;
        return bar.m_pDockBar && !bar.m_pDockBar->m_bFloating ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0;
    }

    CBarResources m_resources;
    CWinApp m_app { "Bars" };
    CBarFrame* m_pFrame { nullptr };
    CString m_strProfile;
};

} // namespace

TEST_F(CDockStateCorruptTest, AMissingSummaryLoadsNothingAndChangesNothing)
{
    WriteBar(0, AFX_IDW_TOOLBAR, 0);
    EXPECT_FALSE(LoadAndApply());
    EXPECT_EQ(ToolBarSide(), AFX_IDW_DOCKBAR_TOP);
}

TEST_F(CDockStateCorruptTest, ACountOutOfRangeIsRefusedAsAWhole)
{
    WriteBar(0, AFX_IDW_TOOLBAR, 0);
    for (int nBars : { 257, -1, 100000 }) {
        WriteSummary(nBars);
        EXPECT_FALSE(LoadAndApply()) << nBars;
        EXPECT_EQ(ToolBarSide(), AFX_IDW_DOCKBAR_TOP) << nBars;
    }
    // A count that is text, not a number, is no count.
    m_app.WriteProfileString(Summary(), "Bars", "1");
    EXPECT_FALSE(LoadAndApply());
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsFloating());
}

TEST_F(CDockStateCorruptTest, MissingUnknownAndRepeatedBarsAreSkippedAndTheRestApplies)
{
    WriteSummary(4);
    // Bar0 missing; Bar1 names no bar of the frame; Bar3 repeats Bar2's bar.
    WriteBar(1, 12345, AFX_IDW_DOCKBAR_LEFT);
    WriteBar(2, AFX_IDW_TOOLBAR, AFX_IDW_DOCKBAR_BOTTOM);
    WriteBar(3, AFX_IDW_TOOLBAR, AFX_IDW_DOCKBAR_LEFT);
    m_app.WriteProfileInt(Bar(3), "Visible", 0);
    CDockState state;
    ASSERT_TRUE(state.LoadState(m_strProfile));
    EXPECT_EQ(state.m_arrBarInfo.size(), 2U);
    m_pFrame->SetDockState(state);
    EXPECT_EQ(ToolBarSide(), AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());
}

TEST_F(CDockStateCorruptTest, ValuesOutOfRangeKeepTheBarsCurrentState)
{
    WriteSummary(2);
    WriteBar(0, AFX_IDW_TOOLBAR, AFX_IDW_DOCKBAR_LEFT);
    m_app.WriteProfileInt(Bar(0), "Visible", 7);
    m_app.WriteProfileInt(Bar(0), "Floating", -2);
    m_app.WriteProfileInt(Bar(0), "Row", -3);
    m_app.WriteProfileString(Bar(0), "Offset", "far");
    WriteBar(1, AFX_IDW_STATUS_BAR, 0);
    m_app.WriteProfileInt(Bar(1), "Floating", 0);
    m_app.WriteProfileInt(Bar(1), "Visible", 0);
    m_app.WriteProfileInt(Bar(1), "DockSide", 12345);
    ASSERT_TRUE(LoadAndApply());
    // The sound side applies; visibility and place on the side stay as they were.
    EXPECT_EQ(ToolBarSide(), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());
    // The status bar docks on no side: it only hides, and stays in the frame.
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsFloating());
    EXPECT_EQ(m_pFrame->m_wndStatusBar.GetParent(), m_pFrame);

    // A side the bar does not dock on, or that the frame lacks, keeps it where it is.
    m_pFrame->m_wndToolBar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
    WriteBar(0, AFX_IDW_TOOLBAR, AFX_IDW_DOCKBAR_RIGHT);
    ASSERT_TRUE(LoadAndApply());
    EXPECT_EQ(ToolBarSide(), AFX_IDW_DOCKBAR_LEFT);
}

TEST_F(CDockStateCorruptTest, AFloatingPlaceIsScaledToTheScreenAndPulledOntoIt)
{
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    WriteSummary(1);
    m_app.WriteProfileInt(Summary(), "ScreenCX", 2 * cxScreen);
    m_app.WriteProfileInt(Summary(), "ScreenCY", 2 * cyScreen);
    WriteBar(0, IDD_BAR_DIALOG, 0);
    m_app.WriteProfileInt(Bar(0), "FloatX", 200);
    m_app.WriteProfileInt(Bar(0), "FloatY", 2 * cyScreen - 10); // past the bottom once scaled
    ASSERT_TRUE(LoadAndApply());
    CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(&m_pFrame->m_wndDialogBar);
    ASSERT_NE(pFrame, nullptr);
    CRect rc;
    pFrame->GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.bottom, cyScreen) << "the whole frame shows";
}
