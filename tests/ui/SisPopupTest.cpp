#include "ui/CSisPopupWnd.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/window/Clipboard.h"
#include "platform/window/MessageQueue.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "tests/ui/PopupTestSupport.h"
#include "ui/CGridEdit.h"
#include "ui/CKadDragObjReg.h"
#include "ui/MainWindowMessages.h"
#include "ui/PopupHitTable.h"

#include <memory>

namespace {

class SisPopupTest : public PopupCatalogTest {
protected:
    void SetUp() override
    {
        PopupCatalogTest::SetUp();
        ASSERT_EQ(m_popup.Create(&m_pUi->m_host), 1);
    }
    void TearDown() override
    {
        if (m_popup.GetSafeHwnd())
            m_popup.DestroyWindow();
        EXPECT_EQ(GetPopupHitCount(), 0);
        PopupCatalogTest::TearDown();
    }
    CSisPopupCtrl& List() { return m_popup.GetSisList(); }
    std::vector<CString> Rows(HWND hPopup) { return CTestDriver::Items(CTestDriver::PopupList(hPopup)); }
    int RowOf(HWND hPopup, const char* pszText)
    {
        const std::vector<CString> rows = Rows(hPopup);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == pszText)
                return static_cast<int>(i);
        return -1;
    }
    // Tracks the popup of the root's children; the steps run inside its loop.
    std::unique_ptr<CNodeRec> Track()
    {
        const POINT pos { 100, 60 };
        const RECT button { 40, 40, 100, 60 };
        return std::unique_ptr<CNodeRec>(static_cast<CNodeRec*>(m_popup.TrackPopup(&pos, &button, &button)));
    }
    void FillRoot(BOOL bSelf = FALSE)
    {
        auto pRoot = Root(*m_pCatalog);
        List().FillItems(pRoot.get(), FALSE, FALSE, bSelf);
    }

    CSisPopupWnd m_popup;
};

TEST_F(SisPopupTest, FillsSortedChildrenWithTheirArrowsAndHandsBackACopy)
{
    auto pProjects = Node(*m_pCatalog, m_tree.projects);
    List().FillItems(pProjects.get(), FALSE, FALSE, TRUE);
    EXPECT_EQ(Rows(m_popup.GetSafeHwnd()), (std::vector<CString> { "Alpha", "beta", "Gamma", "Projects" }))
        << "the list sorts the node itself among its children";
    const int nSelf = 3;
    EXPECT_FALSE(List().ItemHasChild(nSelf)) << "the node itself opens nothing";
    EXPECT_FALSE(List().ItemHasChild(0));

    FillRoot();
    const int nProjects = RowOf(m_popup.GetSafeHwnd(), "Projects");
    ASSERT_GE(nProjects, 0);
    EXPECT_TRUE(List().ItemHasChild(nProjects));
    EXPECT_FALSE(List().ItemHasChild(RowOf(m_popup.GetSafeHwnd(), "Archive")));
    std::unique_ptr<CNodeRec> pResult(static_cast<CNodeRec*>(List().GetItemResult(nProjects)));
    ASSERT_NE(pResult, nullptr);
    EXPECT_EQ(pResult->GetRef(), m_tree.projects);
    EXPECT_NE(pResult.get(), List().GetNode(nProjects)) << "a copy the caller owns";

    const int nPlain = List().GetCount();
    List().FillItems(Root(*m_pCatalog).get(), TRUE, TRUE, FALSE);
    EXPECT_EQ(List().GetCount(), nPlain + 2) << "the top nodes of blocks 3 and 4 appended";

    List().FillItems(nullptr, FALSE, FALSE, FALSE);
    EXPECT_EQ(List().GetCount(), 1) << "an empty recycle bin: its root alone";
    EXPECT_FALSE(List().ItemHasChild(0));
}

TEST_F(SisPopupTest, TheHoverTimerCascadesAndTheKeyboardWalksBackAndChooses)
{
    FillRoot();
    std::vector<CString> childRows;
    Driver().OnNextWait([&] {
        const std::vector<HWND> popups = CTestDriver::PopupWindows();
        ASSERT_EQ(popups.size(), 1u);
        ASSERT_TRUE(Driver().HoverPopupRow(popups[0], RowOf(popups[0], "Projects")));
        Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), 2u) << "the child opened on the hover timer";
        childRows = Rows(CTestDriver::PopupWindows()[1]);
        Driver().PressKey(VK_DOWN);
        Driver().PressKey(VK_DOWN);
        EXPECT_EQ(CTestDriver::Selection(CTestDriver::PopupList(CTestDriver::PopupWindows()[1])), 1);
        Driver().PressKey(VK_LEFT);
        EXPECT_EQ(CTestDriver::PopupWindows().size(), 1u) << "left closes the child";
        Driver().PressKey(VK_RIGHT);
        Driver().Advance(CPopupCtrl::SOON_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), 2u);
        Driver().PressKey(VK_DOWN);
        Driver().PressKey(VK_RETURN);
    });
    std::unique_ptr<CNodeRec> pChosen = Track();
    EXPECT_EQ(childRows, (std::vector<CString> { "Alpha", "beta", "Gamma" }));
    ASSERT_NE(pChosen, nullptr);
    EXPECT_EQ(pChosen->GetRef(), m_tree.alpha);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SisPopupTest, AQuitWhileOpenClosesTheChainAndStaysForTheOuterLoop)
{
    FillRoot();
    Driver().OnNextWait([] { PostQuitMessage(3); });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_FALSE(IsWindow(m_popup.GetSafeHwnd()));
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(SisPopupTest, RenameTypedInsideTheLoopRefusesASiblingsNameAndKeepsEditing)
{
    FillRoot();
    m_popup.SetRightClickAllowed(TRUE);
    BOOL bEditorAfterRefusal = FALSE;
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_DOC_RENAME);
        ASSERT_TRUE(Driver().ClickPopupRow(hPopup, RowOf(hPopup, "Projects"), TRUE));
        ASSERT_NE(List().GetEditor(), nullptr);
        EXPECT_EQ(CTestDriver::Focus(), List().GetEditor()->GetSafeHwnd());
        Driver().AnswerNextMessageBox(IDOK);
        Driver().TypeText("ARCHIVE\n");
        bEditorAfterRefusal = List().GetEditor() != nullptr;
        ASSERT_NE(List().GetEditor(), nullptr);
        EXPECT_EQ(CTestDriver::Text(List().GetEditor()->GetSafeHwnd()), "ARCHIVE");
        List().GetEditor()->SetWindowText("");
        Driver().TypeText("Current\n");
    });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_TRUE(bEditorAfterRefusal) << "message 4007, then the editor again";
    EXPECT_EQ(Node(*m_pCatalog, m_tree.projects)->GetName(), "Current");
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
}

TEST_F(SisPopupTest, AClickOutsideTheEditorEndsTheEditAndAnEmptyNameChangesNothing)
{
    FillRoot();
    m_popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_DOC_RENAME);
        ASSERT_TRUE(Driver().ClickPopupRow(hPopup, RowOf(hPopup, "Archive"), TRUE));
        ASSERT_NE(List().GetEditor(), nullptr);
        Driver().PressKey(VK_DELETE);
        ASSERT_TRUE(Driver().Click(m_pUi->m_host.GetSafeHwnd(), 5, 5));
    });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_EQ(Node(*m_pCatalog, m_tree.archive)->GetName(), "Archive");
    EXPECT_EQ(m_main.Count(MSG_REDO), 0);
}

TEST_F(SisPopupTest, RowCommandsGoToTheHostAndTellTheMainWindow)
{
    FillRoot();
    m_popup.SetRightClickAllowed(TRUE);
    m_pHost->m_nAnswer = 1;
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_DOC_PROPERTIES);
        Driver().ClickPopupRow(hPopup, RowOf(hPopup, "Archive"), TRUE);
    });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_EQ(m_pHost->m_calls, (std::vector<std::string> { "RunGroupProperties Archive" }));
    EXPECT_EQ(m_main.Count(MSG_REREAD), 1);

    ASSERT_EQ(m_popup.Create(&m_pUi->m_host), 1);
    FillRoot();
    m_popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_DOC_REMOVE_FROM_GROUP);
        Driver().AnswerNextMessageBox(IDYES);
        Driver().ClickPopupRow(hPopup, RowOf(hPopup, "Archive"), TRUE);
    });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_EQ(Names(Root(*m_pCatalog)->GetChildren()), (std::vector<std::string> { "Projects" }));
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);
}

TEST_F(SisPopupTest, CopyAndPasteFromTheRowMenuWithPasteGrayedWithoutAPayload)
{
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    FillRoot();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TREE_NODE_MENU));
    List().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.GetSubMenu(0)->GetSafeHmenu()), 0);
    EXPECT_TRUE(menu.GetSubMenu(0)->GetMenuState(ID_EDIT_PASTE, MF_BYCOMMAND) & MF_GRAYED);

    ASSERT_TRUE(CSisPopupCtrl::CopyItem(PAYLOAD_COPY, Node(*m_pCatalog, m_tree.archive).get()));
    List().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.GetSubMenu(0)->GetSafeHmenu()), 0);
    EXPECT_FALSE(menu.GetSubMenu(0)->GetMenuState(ID_EDIT_PASTE, MF_BYCOMMAND) & MF_GRAYED);

    auto pProjects = Node(*m_pCatalog, m_tree.projects);
    List().FillItems(pProjects.get(), FALSE, FALSE, FALSE);
    m_popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_EDIT_PASTE);
        Driver().ClickPopupRow(hPopup, RowOf(hPopup, "Gamma"), TRUE);
    });
    EXPECT_EQ(Track(), nullptr);
    EXPECT_EQ(Names(Node(*m_pCatalog, m_tree.gamma)->GetChildren()), (std::vector<std::string> { "Archive" }));
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);
}

TEST_F(SisPopupTest, DragRulesRefuseASystemsOwnEntriesAndADropLinksTheDocuments)
{
    auto pProjects = Node(*m_pCatalog, m_tree.projects);
    List().FillItems(pProjects.get(), FALSE, FALSE, FALSE);
    const POINT pos { 100, 60 };
    m_popup.FitOnScreen(&pos, nullptr);
    List().OpenForDrag(nullptr);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    auto pDocument = Document(*m_pCatalog, m_tree.oldTxt);
    CKadDragObjReg payload;
    payload.SetSource(pAlpha.get());
    payload.AddItem(pDocument.get(), 0);
    RECT row {};
    List().GetItemRect(0, &row); // Alpha
    EXPECT_EQ(List().OnDragOver(&payload, 0, row.left + 5, row.top + 2), DROPEFFECT_NONE) << "its own entries";
    List().GetItemRect(2, &row); // Gamma
    EXPECT_EQ(List().OnDragOver(&payload, 0, row.left + 5, row.top + 2), DROPEFFECT_MOVE);
    List().SetItemEnabled(2, FALSE);
    EXPECT_EQ(List().OnDragOver(&payload, 0, row.left + 5, row.top + 2), DROPEFFECT_NONE) << "a disabled row";
    List().SetItemEnabled(2, TRUE);
    EXPECT_EQ(List().OnDragOver(&payload, 0, row.left + 5, row.top + 2), DROPEFFECT_MOVE);

    EXPECT_TRUE(List().EndDragMode(&payload, DROPEFFECT_COPY));
    EXPECT_FALSE(IsWindow(m_popup.GetSafeHwnd())) << "the drop closed the popup";
    EXPECT_EQ(
        Paths(Node(*m_pCatalog, m_tree.gamma)->GetDocuments()), (std::vector<std::string> { "c:\\old\\old.txt" }));
    Driver().Pump();
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);
}

} // namespace
