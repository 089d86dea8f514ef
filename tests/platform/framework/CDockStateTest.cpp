#include "platform/framework/CDockState.h"

#include "BarTestSupport.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CMiniDockFrameWnd.h"

namespace {

// A frame whose bars' places go to the profile and come back.
class CDockStateTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_app.SetRegistryKey("KD");
        m_pFrame = CBarFrame::Make(m_app);
        ASSERT_NE(m_pFrame, nullptr);
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
    }

    UINT SideOf(CControlBar& bar) const
    {
        return bar.m_pDockBar && !bar.m_pDockBar->m_bFloating ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0;
    }
    CPoint FloatingAt(CControlBar& bar) const
    {
        CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(&bar);
        CRect rc;
        if (pFrame)
            pFrame->GetWindowRect(&rc);
        return CPoint(rc.left, rc.top);
    }

    CBarResources m_resources;
    CWinApp m_app { "Bars" };
    CBarFrame* m_pFrame { nullptr };
};

} // namespace

TEST_F(CDockStateTest, TheBarsComeBackWhereTheyWereSaved)
{
    CToolBar& toolbar = m_pFrame->m_wndToolBar;
    m_pFrame->FloatControlBar(&m_pFrame->m_wndDialogBar, CPoint(300, 200));
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, FALSE, FALSE);
    toolbar.m_nMRUWidth = 180;
    CDockState saved;
    m_pFrame->GetDockState(saved);
    ASSERT_TRUE(saved.SaveState("RoundTrip"));

    m_pFrame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->FloatControlBar(&m_pFrame->m_wndDialogBar, CPoint(500, 400));
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, TRUE, FALSE);
    toolbar.m_nMRUWidth = 32767;

    CDockState loaded;
    ASSERT_TRUE(loaded.LoadState("RoundTrip"));
    EXPECT_EQ(loaded.m_arrBarInfo.size(), saved.m_arrBarInfo.size());
    m_pFrame->SetDockState(loaded);
    EXPECT_EQ(SideOf(toolbar), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(toolbar.m_nMRUWidth, 180);
    EXPECT_EQ(FloatingAt(m_pFrame->m_wndDialogBar), CPoint(300, 200));
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    RECT rcClient {};
    m_pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(PlaceOf(m_pFrame->m_wndPane.m_hWnd).bottom, rcClient.bottom) << "the status bar's edge is free";
}

TEST_F(CDockStateTest, ASmallerStateRemovesTheSectionsOfALargerOne)
{
    CDockState state;
    m_pFrame->GetDockState(state);
    ASSERT_GE(state.m_arrBarInfo.size(), 3U);
    ASSERT_TRUE(state.SaveState("Shrink"));
    state.m_arrBarInfo.resize(1);
    ASSERT_TRUE(state.SaveState("Shrink"));
    EXPECT_NE(static_cast<int>(m_app.GetProfileInt("Shrink-Bar0", "BarID", -1)), -1);
    EXPECT_EQ(static_cast<int>(m_app.GetProfileInt("Shrink-Bar1", "BarID", -1)), -1);
    EXPECT_EQ(static_cast<int>(m_app.GetProfileInt("Shrink-Bar2", "BarID", -1)), -1);
    CDockState loaded;
    ASSERT_TRUE(loaded.LoadState("Shrink"));
    EXPECT_EQ(loaded.m_arrBarInfo.size(), 1U);
}

TEST_F(CDockStateTest, ARowAndOffsetOnASideComeBack)
{
    CToolBar second;
    ASSERT_TRUE(second.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 402));
    ASSERT_TRUE(second.LoadToolBar(IDR_BAR_TOOLBAR));
    second.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&second, AFX_IDW_DOCKBAR_BOTTOM);
    CDockBar* pBottom = dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    pBottom->DockControlBar(&m_pFrame->m_wndToolBar, 0, 200); // beside it, 200 pixels in
    m_pFrame->RecalcLayout();
    CDockState state;
    m_pFrame->GetDockState(state);
    ASSERT_TRUE(state.SaveState("Rows"));

    m_pFrame->DockControlBar(&m_pFrame->m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(state.LoadState("Rows"));
    m_pFrame->SetDockState(state);
    int nRow = -1;
    int nOffset = -1;
    ASSERT_TRUE(pBottom->GetBarPlace(&m_pFrame->m_wndToolBar, &nRow, &nOffset));
    EXPECT_EQ(nRow, 0);
    EXPECT_EQ(nOffset, 200);
    ASSERT_TRUE(pBottom->GetBarPlace(&second, &nRow, &nOffset));
    EXPECT_EQ(nRow, 0);
    second.DestroyWindow();
}

TEST_F(CDockStateTest, AFloatingBarDockedByTheStateLeavesNoEmptyFrame)
{
    CDockState docked;
    m_pFrame->GetDockState(docked);
    m_pFrame->FloatControlBar(&m_pFrame->m_wndToolBar, CPoint(200, 200));
    CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&m_pFrame->m_wndToolBar);
    ASSERT_NE(pMini, nullptr);
    const HWND hMini = pMini->m_hWnd;
    m_pFrame->SetDockState(docked);
    EXPECT_EQ(SideOf(m_pFrame->m_wndToolBar), AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(::IsWindow(hMini));
}
