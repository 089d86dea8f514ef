#include "platform/framework/CMDIFrameWnd.h"

#include "DocViewTestSupport.h"

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CSplitterWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Rects.h"
#include "platform/window/MdiClient.h"

namespace {

constexpr UINT ID_CHILD_PANE = 45000; // a status pane the document frames fill

// The key the program sets before it makes each child, read while the child is made.
std::string g_strCurrentChildKey;

// A document frame as the program makes them: a 1 x 3 splitter of views, logging what it hears.
class CTestChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTestChild)
    DECLARE_MESSAGE_MAP()

public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        HandlerLog::Add("child pre-create " + g_strCurrentChildKey);
        return CMDIChildWnd::PreCreateWindow(cs);
    }
    std::string Name() const { return m_strName; }

    std::string m_strName;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        HandlerLog::Add("child create client " + g_strCurrentChildKey);
        if (!m_splitter.CreateStatic(this, 1, 3))
            return FALSE;
        for (int col = 0; col < 3; ++col) {
            if (!m_splitter.CreateView(0, col, pContext->m_pNewViewClass, CSize(100, 0), pContext))
                return FALSE;
        }
        SetActiveView(static_cast<CView*>(m_splitter.GetPane(0, 0)));
        return TRUE;
    }
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
    {
        CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
        HandlerLog::Add(Name() + (bActivate ? " activated" : " deactivated"));
    }
    void OnUpdatePane(CCmdUI* pCmdUI) { pCmdUI->SetText(("pane of " + Name()).c_str()); }
    void OnSize(UINT nType, int cx, int cy)
    {
        CMDIChildWnd::OnSize(nType, cx, cy);
        if (nType == SIZE_MAXIMIZED)
            HandlerLog::Add(Name() + " maximized");
    }

    CSplitterWnd m_splitter;
};

IMPLEMENT_DYNCREATE(CTestChild, CMDIChildWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CTestChild, CMDIChildWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
    ON_UPDATE_COMMAND_UI(ID_CHILD_PANE, &CTestChild::OnUpdatePane)
END_MESSAGE_MAP()
// clang-format on

class CMDIFrameWndTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_pMain = new CMDIFrameWnd;
        ASSERT_TRUE(m_pMain->Create(
            nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, Rect(0, 0, 800, 600)));
        m_pMain->m_hMenuDefault = CreateMenu();
        SetMenu(m_pMain->m_hWnd, m_pMain->m_hMenuDefault);
        m_app.m_pMainWnd = m_pMain;
        SetActiveWindow(m_pMain->m_hWnd);
        m_pTemplate = new CMultiDocTemplate(
            ID_TEST_TEMPLATE, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestChild), RUNTIME_CLASS(CTestView));
        m_app.AddDocTemplate(m_pTemplate);
        m_pTemplate->m_hMenuShared = CreateMenu();
        HandlerLog::Take();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd)
            m_pMain->SendMessage(WM_CLOSE);
        HandlerLog::Take();
    }

    // A child of pDoc named strName, made as the program makes them.
    CTestChild* NewChild(CDocument* pDoc, const std::string& strName)
    {
        g_strCurrentChildKey = strName;
        auto* pChild = static_cast<CTestChild*>(m_pTemplate->CreateNewFrame(pDoc, nullptr));
        if (pChild) {
            pChild->m_strName = strName;
            m_pTemplate->InitialUpdateFrame(pChild, pDoc, TRUE);
        }
        g_strCurrentChildKey.clear();
        return pChild;
    }
    HWND Client() const { return m_pMain->m_hWndMDIClient; }
    void SendToClient(UINT uMsg, CWnd* pChild) const
    {
        SendMessage(Client(), uMsg, reinterpret_cast<WPARAM>(pChild->m_hWnd), 0);
    }

    CWinApp m_app { "MDI" };
    CMDIFrameWnd* m_pMain { nullptr };
    CMultiDocTemplate* m_pTemplate { nullptr };
};

} // namespace

/***** Creation *****/

TEST_F(CMDIFrameWndTest, AChildIsMadeInTheOrderTheProgramRelies)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    pDoc->SetTitle("Archiv1");
    HandlerLog::Take();
    CTestChild* pChild = NewChild(pDoc, "Child000");
    ASSERT_NE(pChild, nullptr);
    std::vector<std::string> log = HandlerLog::Take();
    std::vector<std::string> expected { "child pre-create Child000", "child create client Child000",
        "view created 59648", "view created 59649", "view created 59650", "view activated 59648",
        "view initial update 59648", "view initial update 59649", "view initial update 59650" };
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_TRUE(pChild->IsWindowVisible());
    EXPECT_EQ(m_pMain->MDIGetActive(), pChild);
    EXPECT_EQ(pChild->GetParentFrame(), m_pMain);
    EXPECT_EQ(pChild->GetTopLevelFrame(), m_pMain);
    // The first pane of the splitter is the active view.
    CView* pActiveView = pChild->GetActiveView();
    ASSERT_NE(pActiveView, nullptr);
    EXPECT_EQ(pActiveView->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_NE(pActiveView->GetParent(), pChild);
    EXPECT_EQ(m_pMain->GetActiveDocument(), pDoc);
    // The active child's template menu is on the frame.
    EXPECT_EQ(GetMenu(m_pMain->m_hWnd), m_pTemplate->m_hMenuShared);
}

TEST_F(CMDIFrameWndTest, AChildMadeWhileAnotherIsMaximizedComesUpMaximized)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pFirst = NewChild(pDoc, "first");
    m_pMain->MDIMaximize(pFirst);
    ASSERT_TRUE(pFirst->IsZoomed());
    CTestChild* pSecond = NewChild(pDoc, "second");
    EXPECT_TRUE(pSecond->IsZoomed());
    EXPECT_FALSE(pFirst->IsZoomed());
    BOOL bMaximized = FALSE;
    EXPECT_EQ(m_pMain->MDIGetActive(&bMaximized), pSecond);
    EXPECT_TRUE(bMaximized);
    EXPECT_EQ(GetWindow(Client(), GW_CHILD), pSecond->m_hWnd);
}

/***** Activation and maximizing *****/

TEST_F(CMDIFrameWndTest, ActivationNotifiesTheOldChildThenTheNewAndReordersTheWindows)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pFirst = NewChild(pDoc, "first");
    CTestChild* pSecond = NewChild(pDoc, "second");
    EXPECT_EQ(GetWindow(Client(), GW_CHILD), pSecond->m_hWnd);
    HandlerLog::Take();
    SendToClient(WM_MDIACTIVATE, pFirst);
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> { "second deactivated", "view activated 59648", "first activated" }));
    EXPECT_EQ(GetWindow(Client(), GW_CHILD), pFirst->m_hWnd);
    EXPECT_EQ(GetWindow(pFirst->m_hWnd, GW_HWNDNEXT), pSecond->m_hWnd);
    // Activating the active child again tells nobody.
    SendToClient(WM_MDIACTIVATE, pFirst);
    EXPECT_TRUE(HandlerLog::Take().empty());
    // A click on the other child's view activates it.
    CWnd* pView = pSecond->GetActiveView();
    pView->SendMessage(
        WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_pMain->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_pMain->MDIGetActive(), pSecond);
}

TEST_F(CMDIFrameWndTest, AMaximizedChildsClientAreaFillsTheMdiClient)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pChild = NewChild(pDoc, "only");
    HandlerLog::Take();
    SendToClient(WM_MDIMAXIMIZE, pChild);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "only maximized" });
    RECT rcClient {};
    GetClientRect(Client(), &rcClient);
    RECT rcChildClient {};
    pChild->GetClientRect(&rcChildClient);
    pChild->MapWindowPoints(CWnd::FromHandle(Client()), &rcChildClient);
    EXPECT_TRUE(EqualRect(&rcClient, &rcChildClient));
    // It follows the frame's size.
    m_pMain->MoveWindow(0, 0, 700, 500);
    GetClientRect(Client(), &rcClient);
    pChild->GetClientRect(&rcChildClient);
    EXPECT_EQ(rcChildClient.right, rcClient.right);
    SendToClient(WM_MDIRESTORE, pChild);
    EXPECT_FALSE(pChild->IsZoomed());
}

/***** End of children and documents *****/

TEST_F(CMDIFrameWndTest, DestroyingEveryChildDeletesTheDocumentAndBringsTheFramesMenuBack)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pFirst = NewChild(pDoc, "first");
    CTestChild* pSecond = NewChild(pDoc, "second");
    HandlerLog::Take();
    pSecond->MDIDestroy();
    // The next child in window order takes over.
    EXPECT_EQ(m_pMain->MDIGetActive(), pFirst);
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> { "second deactivated", "view activated 59648", "first activated" }));
    EXPECT_EQ(GetMenu(m_pMain->m_hWnd), m_pTemplate->m_hMenuShared);
    pFirst->SendMessage(WM_CLOSE);
    std::vector<std::string> log = HandlerLog::Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "document deleted"), log.end());
    EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
    EXPECT_EQ(GetMenu(m_pMain->m_hWnd), m_pMain->m_hMenuDefault);
    EXPECT_EQ(m_pTemplate->GetFirstDocPosition(), nullptr);
}

/***** Routing *****/

TEST_F(CMDIFrameWndTest, TheMainFrameRoutesToTheActiveChildsActiveView)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pFirst = NewChild(pDoc, "first");
    CTestChild* pSecond = NewChild(pDoc, "second");
    pSecond->SetActiveView(static_cast<CView*>(pSecond->GetDescendantWindow(AFX_IDW_PANE_FIRST + 2)));
    HandlerLog::Take();
    m_pMain->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    m_pMain->MDIActivate(pFirst);
    HandlerLog::Take();
    m_pMain->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    m_pMain->SendMessage(WM_COMMAND, ID_DOCUMENT_COMMAND);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "view command 59648", "document command" }));
}

/***** Scroll bars *****/

TEST_F(CMDIFrameWndTest, TheClientShowsScrollBarsOnlyWhileAChildLiesOutside)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pChild = NewChild(pDoc, "only");
    pChild->MoveWindow(10, 10, 200, 150);
    EXPECT_EQ(GetWindowLong(Client(), GWL_STYLE) & static_cast<LONG>(WS_HSCROLL | WS_VSCROLL), 0);
    RECT rcClient {};
    GetClientRect(Client(), &rcClient);
    pChild->MoveWindow(rcClient.right - 50, 10, 200, 150);
    EXPECT_NE(GetWindowLong(Client(), GWL_STYLE) & static_cast<LONG>(WS_HSCROLL), 0);
    EXPECT_EQ(GetWindowLong(Client(), GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    // Scrolling to the end moves the child fully into view.
    SendMessage(Client(), WM_HSCROLL, SB_BOTTOM, 0);
    RECT rcChild {};
    pChild->GetWindowRect(&rcChild);
    MapWindowPoints(nullptr, Client(), reinterpret_cast<LPPOINT>(&rcChild), 2);
    GetClientRect(Client(), &rcClient);
    EXPECT_LE(rcChild.right, rcClient.right);
    EXPECT_EQ(GetWindowLong(Client(), GWL_STYLE) & static_cast<LONG>(WS_HSCROLL), 0);
}

/***** The maximized child's buttons *****/

TEST_F(CMDIFrameWndTest, AMaximizedChildsButtonsSitInTheMenuBarAndLeaveWithIt)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pChild = NewChild(pDoc, "only");
    HMENU hShared = m_pTemplate->m_hMenuShared;
    ASSERT_EQ(GetMenuItemCount(hShared), 0);
    pChild->MDIMaximize();
    ASSERT_EQ(GetMenuItemCount(hShared), 3);
    EXPECT_EQ(GetMenuItemID(hShared, 0), static_cast<UINT>(SC_MINIMIZE));
    EXPECT_EQ(GetMenuItemID(hShared, 1), static_cast<UINT>(SC_RESTORE));
    EXPECT_EQ(GetMenuItemID(hShared, 2), static_cast<UINT>(SC_CLOSE));
    // The restore button's command reaches the child.
    m_pMain->SendMessage(WM_COMMAND, SC_RESTORE);
    EXPECT_FALSE(pChild->IsZoomed());
    EXPECT_EQ(GetMenuItemCount(hShared), 0);
    // Maximized again, then closed by its button: neither menu keeps the buttons.
    pChild->MDIMaximize();
    EXPECT_EQ(GetMenuItemCount(hShared), 3);
    m_pMain->SendMessage(WM_COMMAND, SC_CLOSE);
    EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
    EXPECT_EQ(GetMenuItemCount(hShared), 0);
    EXPECT_EQ(GetMenuItemCount(m_pMain->m_hMenuDefault), 0);
}

TEST_F(CMDIFrameWndTest, TheMainFramesStatusPanesFollowTheActiveChildsHandlers)
{
    CStatusBar status;
    static constexpr UINT PANES[] = { ID_SEPARATOR, ID_SEPARATOR };
    ASSERT_TRUE(status.Create(m_pMain));
    ASSERT_TRUE(status.SetIndicators(PANES, 2));
    status.SetPaneInfo(1, ID_CHILD_PANE, SBPS_NORMAL, 80);
    status.SetPaneText(1, "as made");
    m_app.OnIdle(0);
    EXPECT_EQ(status.GetPaneText(1), "as made") << "no handler: the pane is left as it is";

    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestChild* pFirst = NewChild(pDoc, "first");
    NewChild(pDoc, "second");
    m_app.OnIdle(0);
    EXPECT_EQ(status.GetPaneText(1), "pane of second");
    m_pMain->MDIActivate(pFirst);
    m_app.OnIdle(0);
    EXPECT_EQ(status.GetPaneText(1), "pane of first");
    status.DestroyWindow();
}
