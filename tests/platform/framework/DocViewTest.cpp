#include "platform/framework/CDocTemplate.h"

#include "DocViewTestSupport.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/window/Focus.h"

namespace {

class DocViewTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_pTemplate = new CMultiDocTemplate(
            ID_TEST_TEMPLATE, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView));
        m_app.AddDocTemplate(m_pTemplate);
    }
    void TearDown() override { m_app.CloseAllDocuments(FALSE); }

    // A document of the template with one frame, made as the program does at start-up.
    CTestFrame* NewFrame(CDocument* pDoc)
    {
        auto* pFrame = static_cast<CTestFrame*>(m_pTemplate->CreateNewFrame(pDoc, nullptr));
        if (pFrame)
            m_pTemplate->InitialUpdateFrame(pFrame, pDoc, TRUE);
        return pFrame;
    }

    CWinApp m_app { "Frames" };
    CMultiDocTemplate* m_pTemplate { nullptr };
};

// A second view in a frame, with its own ID.
CTestView* AddView(CFrameWnd* pFrame, CDocument* pDoc, UINT nID)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    context.m_pCurrentDoc = pDoc;
    return static_cast<CTestView*>(pFrame->CreateView(&context, nID));
}

} // namespace

/***** Creation *****/

TEST_F(DocViewTest, FileNewMakesDocumentFrameAndViewInOrder)
{
    m_app.OnFileNew();
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> { "document made", "frame pre-create", "frame create client", "view created 59648",
            "view initial update 59648", "view activated 59648" }));
    POSITION pos = m_pTemplate->GetFirstDocPosition();
    CDocument* pDoc = m_pTemplate->GetNextDoc(pos);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pos, nullptr);
    POSITION posView = pDoc->GetFirstViewPosition();
    CView* pView = pDoc->GetNextView(posView);
    ASSERT_NE(pView, nullptr);
    CFrameWnd* pFrame = pView->GetParentFrame();
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_EQ(pFrame->GetActiveDocument(), pDoc);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    // The view fills the client area.
    RECT rcClient {};
    RECT rcView {};
    pFrame->GetClientRect(&rcClient);
    pView->GetWindowRect(&rcView);
    pFrame->ScreenToClient(&rcView);
    EXPECT_EQ(rcView.right - rcView.left, rcClient.right - rcClient.left);
    EXPECT_EQ(rcView.bottom - rcView.top, rcClient.bottom - rcClient.top);
    // Untitled documents are numbered, and the frame's title shows the name.
    CString strTitle;
    pFrame->GetWindowText(strTitle);
    EXPECT_NE(strTitle.Find(pDoc->GetTitle()), -1);
    EXPECT_EQ(pDoc->GetTitle().Right(1), "1");
}

TEST_F(DocViewTest, AFrameThatFailsLeavesNoDocumentBehind)
{
    class CFailingFrame : public CTestFrame {
    protected:
        BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override { return FALSE; }
    };
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CFailingFrame* pFrame = new CFailingFrame;
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    HandlerLog::Take();
    EXPECT_FALSE(pFrame->LoadFrame(ID_TEST_TEMPLATE, WS_OVERLAPPEDWINDOW, nullptr, &context));
    // The document stays, as the caller still holds it.
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "frame pre-create" });
    POSITION pos = m_pTemplate->GetFirstDocPosition();
    EXPECT_EQ(m_pTemplate->GetNextDoc(pos), pDoc);
}

/***** Life of documents *****/

TEST_F(DocViewTest, TheDocumentGoesWithItsLastFrame)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pFirst = NewFrame(pDoc);
    CTestFrame* pSecond = NewFrame(pDoc);
    ASSERT_TRUE(pFirst && pSecond);
    HandlerLog::Take();
    pFirst->DestroyWindow();
    EXPECT_TRUE(HandlerLog::Take().empty());
    POSITION pos = m_pTemplate->GetFirstDocPosition();
    EXPECT_EQ(m_pTemplate->GetNextDoc(pos), pDoc);
    pSecond->DestroyWindow();
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "document deleted" });
    EXPECT_EQ(m_pTemplate->GetFirstDocPosition(), nullptr);
}

TEST_F(DocViewTest, ClosingTheMainFrameClosesEveryDocument)
{
    m_app.OnFileNew();
    m_app.OnFileNew();
    CFrameWnd* pMain = new CTestFrame;
    ASSERT_TRUE(pMain->Create(nullptr, "Main"));
    m_app.m_pMainWnd = pMain;
    HandlerLog::Take();
    pMain->SendMessage(WM_CLOSE);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "document deleted", "document deleted" }));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    MSG msg {};
    EXPECT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)); // the program ends
}

/***** Activation *****/

TEST_F(DocViewTest, AModelessDialogTakesTheKeysWhileShownAndTheViewGetsThemBackAfter)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pFrame = NewFrame(pDoc);
    ASSERT_NE(pFrame, nullptr);
    HWND hView = pFrame->GetActiveView()->GetSafeHwnd();
    EXPECT_EQ(GetActiveWindow(), pFrame->GetSafeHwnd());
    EXPECT_EQ(GetFocus(), hView);

    // A find box: a text field and OK, shown as it is made.
    constexpr int ID_FIND_TEXT = 100;
    DialogTemplate findBox;
    findBox.dwStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    findBox.cx = 150;
    findBox.cy = 40;
    findBox.controls = { { ID_FIND_TEXT, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 5, 5, 100, 12, "Edit", "" },
        { IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 5, 20, 50, 14, "Button", "OK" } };
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(&findBox, pFrame));
    EXPECT_EQ(GetActiveWindow(), dlg.GetSafeHwnd());
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_FIND_TEXT);

    // OK hides it; shown again it is where it was; closed, the view has the keys again.
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(GetActiveWindow(), pFrame->GetSafeHwnd());
    EXPECT_EQ(GetFocus(), hView);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), dlg.GetSafeHwnd());
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_FIND_TEXT);
    dlg.DestroyWindow();
    EXPECT_EQ(GetActiveWindow(), pFrame->GetSafeHwnd());
    EXPECT_EQ(GetFocus(), hView);
}

/***** Routing *****/

TEST_F(DocViewTest, ACommandTwoViewsHandleGoesToTheActiveOne)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pFrame = NewFrame(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CTestView* pSecond = AddView(pFrame, pDoc, AFX_IDW_PANE_FIRST + 1);
    ASSERT_NE(pSecond, nullptr);
    HandlerLog::Take();
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    pFrame->SetActiveView(pSecond);
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    // A click on the first view makes it active again.
    CWnd* pFirst = pFrame->GetDlgItem(AFX_IDW_PANE_FIRST);
    pFirst->SendMessage(
        WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(pFrame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> { "view command 59648", "view activated 59649", "view command 59649",
            "view activated 59648", "view command 59648" }));
}

TEST_F(DocViewTest, AViewRoutesToItsDocumentNotItsFrame)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pFrame = NewFrame(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CWnd* pView = pFrame->GetActiveView();
    HandlerLog::Take();
    pView->SendMessage(WM_COMMAND, ID_DOCUMENT_COMMAND);
    pView->SendMessage(WM_COMMAND, ID_FRAME_COMMAND);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "document command" });
    // Through the frame, both arrive.
    pFrame->SendMessage(WM_COMMAND, ID_DOCUMENT_COMMAND);
    pFrame->SendMessage(WM_COMMAND, ID_FRAME_COMMAND);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "document command", "frame command" }));
}

TEST_F(DocViewTest, OpeningAMenuGraysCommandsNoTargetHandles)
{
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pFrame = NewFrame(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_VIEW_COMMAND, "View");
    popup.AppendMenu(MF_STRING, ID_DOCUMENT_COMMAND, "Document");
    popup.AppendMenu(MF_STRING, 999, "Nobody");
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), 0);
    EXPECT_EQ(popup.GetMenuState(ID_VIEW_COMMAND, MF_BYCOMMAND) & MF_GRAYED, 0U);
    EXPECT_EQ(popup.GetMenuState(ID_DOCUMENT_COMMAND, MF_BYCOMMAND) & MF_GRAYED, 0U);
    EXPECT_NE(popup.GetMenuState(999, MF_BYCOMMAND) & MF_GRAYED, 0U);
}

/***** Prompts and help *****/

TEST_F(DocViewTest, PromptsGoToTheStatusBarPane)
{
    class CPromptFrame : public CTestFrame {
    public:
        void GetMessageString(UINT nID, CString& rMessage) const override { rMessage.Format("prompt %u", nID); }
    };
    auto* pFrame = new CPromptFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "Prompts"));
    HWND hStatus = CreatePlainWindow(pFrame->m_hWnd, AFX_IDW_STATUS_BAR);
    pFrame->SetMessageText("Working");
    char szText[64] {};
    GetWindowText(hStatus, szText, sizeof(szText));
    EXPECT_STREQ(szText, "Working");
    pFrame->SendMessage(WM_SETMESSAGESTRING, 42);
    GetWindowText(hStatus, szText, sizeof(szText));
    EXPECT_STREQ(szText, "prompt 42");
    // A command chosen in an open menu shows its prompt when the menu idles, the idle prompt once it closes.
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(7, 0), 1);
    pFrame->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
    GetWindowText(hStatus, szText, sizeof(szText));
    EXPECT_STREQ(szText, "prompt 7");
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    GetWindowText(hStatus, szText, sizeof(szText));
    EXPECT_STREQ(szText, "prompt 57345");
    pFrame->DestroyWindow();
}

TEST_F(DocViewTest, HelpRequestsReachTheMainFramesWinHelp)
{
    class CMainFrame : public CTestFrame {
    public:
        void WinHelp(DWORD_PTR dwData, UINT nCmd) override
        {
            HandlerLog::Add("help " + std::to_string(dwData) + " " + std::to_string(nCmd));
        }
    };
    auto* pMain = new CMainFrame;
    ASSERT_TRUE(pMain->LoadFrame(127));
    m_app.m_pMainWnd = pMain;
    CDocument* pDoc = m_pTemplate->CreateNewDocument();
    CTestFrame* pChild = NewFrame(pDoc);
    ASSERT_NE(pChild, nullptr);
    HandlerLog::Take();
    pChild->SendMessage(WM_COMMAND, ID_HELP);
    pMain->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> { "help " + std::to_string(0x20000 + ID_TEST_TEMPLATE) + " 1", "help 0 11" }));
    m_app.m_pMainWnd = nullptr;
    pMain->DestroyWindow();
}
