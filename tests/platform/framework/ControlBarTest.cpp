#include "platform/framework/CControlBar.h"

#include "BarTestSupport.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Rects.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/SystemMetrics.h"

namespace {

class ControlBarTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_pFrame = CBarFrame::Make(m_app);
        ASSERT_NE(m_pFrame, nullptr);
    }
    void TearDown() override
    {
        // Not as the main window, whose end would post a quit to the next test.
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
    }

    RECT Client() const
    {
        RECT rc {};
        m_pFrame->GetClientRect(&rc);
        return rc;
    }
    RECT Pane() const { return PlaceOf(m_pFrame->m_wndPane.m_hWnd); }
    CDockBar* Side(UINT nID) const { return dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(nID)); }
    static RECT ClientOf(HWND hWnd)
    {
        RECT rc {};
        GetClientRect(hWnd, &rc);
        return rc;
    }

    CBarResources m_resources;
    CWinApp m_app { "Bars" };
    CBarFrame* m_pFrame { nullptr };
};

// A dialog bar whose floating width is its own, as a bar with a stored width has.
class CWideDialogBar : public CDialogBar {
public:
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        CSize size = CDialogBar::CalcDynamicLayout(nLength, dwMode);
        if (!(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
            size.cx = 250;
        return size;
    }
};

} // namespace

/***** Layout *****/

TEST_F(ControlBarTest, TheBarsTakeTheirEdgesAndThePaneTheRest)
{
    const RECT rcClient = Client();
    ASSERT_EQ(m_pFrame->m_wndToolBar.m_pDockBar, Side(AFX_IDW_DOCKBAR_TOP));
    const RECT rcTop = PlaceOf(Side(AFX_IDW_DOCKBAR_TOP)->m_hWnd);
    const RECT rcStatus = PlaceOf(m_pFrame->m_wndStatusBar.m_hWnd);
    const RECT rcDialog = PlaceOf(m_pFrame->m_wndDialogBar.m_hWnd);
    const RECT rcPane = Pane();

    // The top side holds the toolbar across the whole width; the status bar lies along the bottom.
    EXPECT_EQ(CRect(rcTop), (CRect { 0, 0, rcClient.right, rcTop.bottom }));
    EXPECT_GT(rcTop.bottom, 15);
    EXPECT_EQ(PlaceOf(m_pFrame->m_wndToolBar.m_hWnd).bottom, rcTop.bottom - rcTop.top);
    EXPECT_EQ(rcStatus.bottom, rcClient.bottom);
    EXPECT_EQ(rcStatus.left, 0);
    EXPECT_EQ(rcStatus.right, rcClient.right);
    // The right-aligned dialog bar keeps its template's width between them; the pane has the rest.
    EXPECT_EQ(CRect(rcDialog),
        (CRect {
            rcClient.right - m_pFrame->m_wndDialogBar.m_sizeDefault.cx, rcTop.bottom, rcClient.right, rcStatus.top }));
    EXPECT_EQ(CRect(rcPane), (CRect { 0, rcTop.bottom, rcDialog.left, rcStatus.top }));

    // The layout follows the frame's size.
    m_pFrame->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(PlaceOf(m_pFrame->m_wndStatusBar.m_hWnd).bottom, Client().bottom);
    EXPECT_EQ(Pane().right, Client().right - m_pFrame->m_wndDialogBar.m_sizeDefault.cx);
}

TEST_F(ControlBarTest, HidingABarGivesItsEdgeToThePaneAndShowingTakesItBack)
{
    const RECT rcBefore = Pane();
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, FALSE, FALSE);
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, FALSE, FALSE);
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(Pane().top, 0);
    EXPECT_EQ(Pane().bottom, Client().bottom);

    // With a delay the layout waits for the idle pass.
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, TRUE, TRUE);
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, TRUE, TRUE);
    EXPECT_EQ(Pane().top, 0);
    m_app.OnIdle(0);
    EXPECT_EQ(CRect(Pane()), CRect(rcBefore));
}

/***** Floating *****/

TEST_F(ControlBarTest, AFloatingBarLivesInASmallFrameThatShowsWhileTheBarDoes)
{
    CDialogBar& bar = m_pFrame->m_wndDialogBar;
    m_pFrame->FloatControlBar(&bar, CPoint(300, 200));
    CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&bar);
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(pMini->IsWindowVisible());
    RECT rcMini {};
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(rcMini.left, 300);
    EXPECT_EQ(rcMini.top, 200);
    EXPECT_EQ(::GetWindow(pMini->m_hWnd, GW_OWNER), m_pFrame->m_hWnd);
    // The frame fits the bar, and the main frame's pane takes the bar's old edge.
    const RECT rcInside = ClientOf(pMini->m_hWnd);
    EXPECT_EQ(rcInside.right, bar.m_sizeDefault.cx);
    EXPECT_EQ(rcInside.bottom, bar.m_sizeDefault.cy);
    EXPECT_EQ(Pane().right, Client().right);

    // Hiding the only bar hides its frame; its commands still reach the owner frame.
    m_pFrame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_FALSE(pMini->IsWindowVisible());
    m_pFrame->ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_TRUE(pMini->IsWindowVisible());
    CTestDriver driver;
    HWND hButton = ::GetDlgItem(bar.m_hWnd, IDC_BAR_HANDLED);
    driver.Click(hButton, 5, 5);
    EXPECT_EQ(m_pFrame->m_commands, std::vector<UINT> { IDC_BAR_HANDLED });

    // The close box hides the bar.
    pMini->SendMessage(WM_CLOSE);
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_FALSE(pMini->IsWindowVisible());
}

TEST_F(ControlBarTest, ABarThatChoosesItsFloatingWidthGetsIt)
{
    CWideDialogBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, IDD_BAR_DIALOG, CBRS_TOP | CBRS_SIZE_DYNAMIC, 401));
    m_pFrame->FloatControlBar(&bar, CPoint(50, 60), CBRS_ALIGN_TOP);
    CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&bar);
    ASSERT_NE(pMini, nullptr);
    EXPECT_EQ(ClientOf(pMini->m_hWnd).right, 250);
    bar.DestroyWindow();
}

TEST_F(ControlBarTest, AToggleHidesAFloatingBarWithItsFrameAndItsMenuItemFollows)
{
    CDialogBar& bar = m_pFrame->m_wndDialogBar;
    m_pFrame->FloatControlBar(&bar, CPoint(300, 200));
    CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&bar);
    ASSERT_NE(pMini, nullptr);
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenu(hMenu, MF_STRING, ID_VIEW_DIALOGBAR, "Dialog bar");
    auto isChecked = [&] {
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
        return (::GetMenuState(hMenu, ID_VIEW_DIALOGBAR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(isChecked());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_DIALOGBAR);
    EXPECT_FALSE(pMini->IsWindowVisible());
    EXPECT_FALSE(isChecked());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_DIALOGBAR);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_TRUE(isChecked());
    ::DestroyMenu(hMenu);
}

/***** Dragging *****/

TEST_F(ControlBarTest, DraggingADockedBarOffFloatsItAndDraggingItBackDocksIt)
{
    CToolBar& toolbar = m_pFrame->m_wndToolBar;
    CTestDriver driver;
    // The strip left of the buttons is free to grab.
    POINT ptMiddle { 250, 250 };
    ::MapWindowPoints(m_pFrame->m_hWnd, toolbar.m_hWnd, &ptMiddle, 1);
    ASSERT_TRUE(driver.Drag(toolbar.m_hWnd, POINT { -2, 5 }, ptMiddle));
    ASSERT_TRUE(toolbar.IsFloating());
    CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&toolbar);
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_EQ(Pane().top, 0); // the top side is empty now
    RECT rcMini {};
    pMini->GetWindowRect(&rcMini);
    POINT ptPointer { 250, 250 };
    m_pFrame->ClientToScreen(&ptPointer);
    EXPECT_TRUE(::PtInRect(&rcMini, ptPointer)) << "the bar floats under the pointer";

    // Its caption takes it back to the frame's top edge.
    const int nCaption = ::GetSystemMetrics(SM_CYSMCAPTION);
    POINT ptTop { 200, 5 };
    ::MapWindowPoints(m_pFrame->m_hWnd, pMini->m_hWnd, &ptTop, 1);
    HWND hMini = pMini->m_hWnd;
    ASSERT_TRUE(driver.Drag(hMini, POINT { 10, -nCaption / 2 }, ptTop));
    EXPECT_FALSE(toolbar.IsFloating());
    EXPECT_EQ(toolbar.m_pDockBar, Side(AFX_IDW_DOCKBAR_TOP));
    EXPECT_FALSE(::IsWindow(hMini)) << "the empty floating frame is gone";
    EXPECT_GT(Pane().top, 15);

    // A double click on a docked bar floats it where it floated last; on the caption it docks again.
    driver.DoubleClick(toolbar.m_hWnd, -2, 5);
    ASSERT_TRUE(toolbar.IsFloating());
    pMini = CMiniDockFrameWnd::FromBar(&toolbar);
    RECT rcAgain {};
    pMini->GetWindowRect(&rcAgain);
    EXPECT_EQ(rcAgain.left, rcMini.left);
    EXPECT_EQ(rcAgain.top, rcMini.top);
    driver.DoubleClick(pMini->m_hWnd, 10, -nCaption / 2);
    EXPECT_EQ(toolbar.m_pDockBar, Side(AFX_IDW_DOCKBAR_TOP));
}

TEST_F(ControlBarTest, ABarDockedAtAPointJoinsTheRowThereOrStartsANewOne)
{
    CToolBar second;
    ASSERT_TRUE(second.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 402));
    ASSERT_TRUE(second.LoadToolBar(IDR_BAR_TOOLBAR));
    second.EnableDocking(CBRS_ALIGN_ANY);
    CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    RECT rcFirst {};
    m_pFrame->m_wndToolBar.GetWindowRect(&rcFirst);
    // On the first bar's row, to its right.
    const RECT rcBeside { rcFirst.right + 40, rcFirst.top + 2, rcFirst.right + 41, rcFirst.top + 3 };
    m_pFrame->DockControlBar(&second, AFX_IDW_DOCKBAR_TOP, &rcBeside);
    int nRow = -1;
    int nOffset = -1;
    ASSERT_TRUE(pTop->GetBarPlace(&second, &nRow, &nOffset));
    EXPECT_EQ(nRow, 0);
    RECT rcSecond {};
    second.GetWindowRect(&rcSecond);
    EXPECT_EQ(rcSecond.top, rcFirst.top);
    EXPECT_EQ(rcSecond.left, rcFirst.right + 40);

    // Without a place it starts a row of its own, and the side grows by it.
    const int nHeightOneRow = PlaceOf(pTop->m_hWnd).bottom;
    m_pFrame->DockControlBar(&second, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(pTop->GetBarPlace(&second, &nRow, &nOffset));
    EXPECT_EQ(nRow, 1);
    EXPECT_EQ(PlaceOf(pTop->m_hWnd).bottom, 2 * nHeightOneRow);
    second.DestroyWindow();
    m_app.OnIdle(0);
    EXPECT_EQ(PlaceOf(pTop->m_hWnd).bottom, nHeightOneRow);
}

TEST_F(ControlBarTest, LoadToolBarFailsWithoutItsResourcesAndKeepsTheButtons)
{
    CToolBar& toolbar = m_pFrame->m_wndToolBar;
    EXPECT_FALSE(toolbar.LoadToolBar(IDR_NO_BITMAP));
    EXPECT_FALSE(toolbar.LoadToolBar(999));
    EXPECT_EQ(toolbar.GetCount(), 5);
    EXPECT_EQ(toolbar.GetItemID(2), ID_SEPARATOR);
    // The images go to the buttons in order, past the separator.
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = -1;
    toolbar.GetButtonInfo(3, nID, nStyle, iImage);
    EXPECT_EQ(nID, ID_BAR_PRINT);
    EXPECT_EQ(iImage, 2);
    RECT rcPrint {};
    toolbar.GetItemRect(3, &rcPrint);
    ::UpdateWindow(toolbar.m_hWnd);
    HDC hdc = ::GetDC(toolbar.m_hWnd);
    EXPECT_EQ(::GetPixel(hdc, (rcPrint.left + rcPrint.right) / 2, (rcPrint.top + rcPrint.bottom) / 2),
        CBarResources::ImageColour(2));
    ::ReleaseDC(toolbar.m_hWnd, hdc);
}
