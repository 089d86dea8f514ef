#include "frame/CSplitterFrame.h"

#include "tests/frame/AppTestFixture.h"

#include "catalog/CTextSearch.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CContentView.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/CSisTreeView.h"
#include "frame/CatalogHold.h"
#include "frame/CatalogItem.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/ListFilter.h"
#include "ui/CKadDragObjReg.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CStatusBar.h"

#include "platform/window/Input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

class SplitterFrameTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddDocument(catalog, *pLetters, "C:\\docs\\to bank.txt");
            auto pPhotos = AddSystem(root, "Photos");
            AddDocument(catalog, *pPhotos, "C:\\photos\\sea.jpg");
            AddDocument(catalog, *pPhotos, "C:\\photos\\hill.jpg");
        });
        ASSERT_TRUE(Start());
        m_pView = ActiveView();
        ASSERT_NE(m_pView, nullptr);
    }

    // The node of the tree's top-level item pszName.
    CNodeRec* TreeNode(const char* pszName) const
    {
        CTreeCtrl& tree = m_pView->GetTreeView()->GetTreeCtrl();
        HTREEITEM hItem = CTestDriver::TreeItem(tree.GetSafeHwnd(), { pszName });
        return hItem ? reinterpret_cast<CNodeRec*>(tree.GetItemData(hItem)) : nullptr;
    }
    void Announce(WPARAM nReason, CNodeRec* pNode)
    {
        m_pView->SendMessage(g_nMsgSelChanged, nReason, reinterpret_cast<LPARAM>(pNode));
    }
    // Whether the list shows the node (the frame keeps a copy of what the tree announced).
    bool Shows(const CNodeRec* pNode) const
    {
        const CNodeRec* pCurrent = m_pView->GetCurrentNode();
        return pCurrent && pNode && pCurrent->GetRef() == pNode->GetRef();
    }
    int ListRows() const { return m_pView->GetListView()->GetListCtrl().GetItemCount(); }
    int ColumnWidth(int nColumn) const
    {
        int cxCur = 0;
        int cxMin = 0;
        m_pView->GetSplitter().GetColumnInfo(nColumn, cxCur, cxMin);
        return cxCur;
    }
    int ClientWidth() const
    {
        CRect rc;
        m_pView->GetClientRect(&rc);
        return rc.Width();
    }

    CSplitterFrame* m_pView { nullptr };
};

} // namespace

TEST_F(SplitterFrameTest, WithoutKeptWidthsTheTreeTakesAThirdAndThePreviewIsHidden)
{
    EXPECT_FALSE(m_pView->IsPreviewShown());
    EXPECT_EQ(m_pView->GetSplitter().GetColumnCount(), 2);
    // A third of the width the view was made with.
    EXPECT_GT(ColumnWidth(0), 0);
    EXPECT_LT(ColumnWidth(0), ClientWidth() / 2);
}

TEST_F(SplitterFrameTest, ThePreviewTakesAThirdFromTheListAndKeepsItsWidth)
{
    const int cxThird = ClientWidth() / 3;
    const int cxTree = ColumnWidth(0);
    Command(ID_VIEW_PREVIEW);
    ASSERT_TRUE(m_pView->IsPreviewShown());
    EXPECT_EQ(ColumnWidth(0), cxTree);
    EXPECT_NEAR(ColumnWidth(2), cxThird, 8);

    const int cxPreview = ColumnWidth(2);
    Command(ID_VIEW_PREVIEW);
    EXPECT_FALSE(m_pView->IsPreviewShown());
    Command(ID_VIEW_PREVIEW);
    EXPECT_EQ(ColumnWidth(2), cxPreview);
    EXPECT_EQ(m_pView->GetContentView()->GetDlgCtrlID(), m_pView->GetSplitter().IdFromRowCol(0, 2));
}

TEST_F(SplitterFrameTest, WithANarrowListThePreviewTakesItsThirdFromTheTree)
{
    CSplitterWndEx& splitter = m_pView->GetSplitter();
    splitter.SetColumnInfo(0, ClientWidth() - 80, 0);
    splitter.RecalcLayout();
    const int cxTree = ColumnWidth(0);
    const int cxThird = ClientWidth() / 3;
    Command(ID_VIEW_PREVIEW);
    EXPECT_NEAR(ColumnWidth(0), cxTree - cxThird, 8);
    EXPECT_NEAR(ColumnWidth(2), cxThird, 8);
}

TEST_F(SplitterFrameTest, KeyboardMovesFillTheListOnceForTheLastNodeAfterAPause)
{
    CNodeRec* pLetters = TreeNode("Letters");
    CNodeRec* pPhotos = TreeNode("Photos");
    ASSERT_TRUE(pLetters && pPhotos);
    Announce(CSplitterFrame::REASON_KEYBOARD, pLetters);
    m_driver.Advance(200);
    Announce(CSplitterFrame::REASON_KEYBOARD, pPhotos);
    m_driver.Advance(299);
    EXPECT_EQ(m_pView->GetCurrentNode(), nullptr);
    EXPECT_EQ(ListRows(), 0);
    m_driver.Advance(1);
    EXPECT_TRUE(Shows(pPhotos));
    EXPECT_EQ(ListRows(), 2);
    // The title follows the announcement at once.
    CString strTitle;
    m_pView->GetWindowText(strTitle);
    EXPECT_EQ(strTitle, "Photos");
}

TEST_F(SplitterFrameTest, AProgramSelectionFillsAtOnceAndCancelsAWaitingRefresh)
{
    CNodeRec* pLetters = TreeNode("Letters");
    CNodeRec* pPhotos = TreeNode("Photos");
    Announce(CSplitterFrame::REASON_MOUSE, pPhotos);
    Announce(CSplitterFrame::REASON_PROGRAM, pLetters);
    EXPECT_TRUE(Shows(pLetters));
    EXPECT_EQ(ListRows(), 1);
    m_driver.Advance(500);
    EXPECT_TRUE(Shows(pLetters));
    // Announcing the node shown arms nothing.
    Announce(CSplitterFrame::REASON_MOUSE, pLetters);
    m_driver.Advance(500);
    EXPECT_EQ(ListRows(), 1);
}

TEST_F(SplitterFrameTest, AClickOnASystemShowsItsDocumentsAndCounts)
{
    CTreeCtrl& tree = m_pView->GetTreeView()->GetTreeCtrl();
    ASSERT_TRUE(m_driver.ClickTreeItem(tree.GetSafeHwnd(), CTestDriver::TreeItem(tree.GetSafeHwnd(), { "Photos" })));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    EXPECT_EQ(ListRows(), 2);
    App().OnIdle(0);
    CStatusBar& statusBar = MainFrame()->GetStatusBar();
    EXPECT_EQ(CTestDriver::StatusPaneText(statusBar.GetSafeHwnd(), 2), "2 of 2 items");
}

TEST_F(SplitterFrameTest, ThePreviewFollowsTheListAfterAPauseAndAnEmptyListClearsIt)
{
    Command(ID_VIEW_PREVIEW);
    CNodeRec* pLetters = TreeNode("Letters");
    Announce(CSplitterFrame::REASON_PROGRAM, pLetters);
    ASSERT_EQ(ListRows(), 1);
    std::unique_ptr<CCatalogRecord> pRow(CopyCatalogItem(m_pView->GetListView()->GetListCtrl().GetRowRecord(0)));
    ASSERT_NE(pRow, nullptr);
    m_pView->SendMessage(g_nMsgItemChanged, 0, reinterpret_cast<LPARAM>(pRow.get()));
    m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY - 1);
    CContentView* pPreview = m_pView->GetContentView();
    EXPECT_EQ(pPreview->GetShownItem(), nullptr);
    m_driver.Advance(1);
    ASSERT_NE(pPreview->GetShownItem(), nullptr);
    EXPECT_EQ(pPreview->GetShownItem()->GetRef(), pRow->GetRef());

    // A node without documents: the list is empty, and the preview is told so.
    m_pView->SendMessage(g_nMsgSelChanged, CSplitterFrame::REASON_PROGRAM, 0);
    EXPECT_EQ(ListRows(), 0);
    m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
    EXPECT_EQ(pPreview->GetShownItem(), nullptr);
}

TEST_F(SplitterFrameTest, KeptWidthsComeBackWithTheView)
{
    Command(ID_VIEW_PREVIEW);
    const int cxTree = ColumnWidth(0);
    const int cxPreview = ColumnWidth(2);
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    EXPECT_EQ(ProductValue(CString("Desktop\\") + ChildKeyName(0), "TipViewFrame"), static_cast<DWORD>(cxPreview));
    ASSERT_TRUE(Start());
    CSplitterFrame* pView = ActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsPreviewShown());
    int cxCur = 0;
    int cxMin = 0;
    pView->GetSplitter().GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, cxTree);
}

TEST_F(SplitterFrameTest, HidingTheColumnOfTheActivePaneMovesActivation)
{
    CSplitterWndEx& splitter = m_pView->GetSplitter();
    splitter.ShowColumn();
    ASSERT_EQ(splitter.GetColumnCount(), 3);
    splitter.SetActivePane(0, 2);
    splitter.HideColumn(2);
    int row = -1;
    int col = -1;
    splitter.GetActivePane(&row, &col);
    EXPECT_EQ(col, 0);
    splitter.SetActivePane(0, 1);
    splitter.HideColumn(1);
    EXPECT_EQ(splitter.GetHiddenColumn(), 2); // one column at a time: the second hide is refused
    splitter.ShowColumn();
    splitter.HideColumn(1);
    splitter.GetActivePane(&row, &col);
    EXPECT_EQ(col, 1); // the next column, the former third, now in the second place
    EXPECT_EQ(splitter.GetPane(0, 1), static_cast<CWnd*>(m_pView->GetContentView()));
    splitter.ShowColumn();
    EXPECT_EQ(splitter.GetPane(0, 1), static_cast<CWnd*>(m_pView->GetListView()));
    EXPECT_EQ(splitter.GetPane(0, 2), static_cast<CWnd*>(m_pView->GetContentView()));
}

TEST_F(SplitterFrameTest, NextFilteredSystemWalksTheTreeAndComesRound)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Letters")));
    ASSERT_EQ(m_pView->GetContextNode()->GetName(), "Letters");
    Command(ID_CATALOG_NEXT_SYSTEM);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
    // The fixed top node holds nothing here: the walk comes round to the first system.
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    Command(ID_CATALOG_NEXT_SYSTEM);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Letters");
    // From the list, the shown node is where the walk starts.
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    Command(ID_CATALOG_NEXT_SYSTEM);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
}

TEST_F(SplitterFrameTest, TheListFilterRefillsTheListWithTheAcceptedFilterOnly)
{
    CTreeCtrl& tree = m_pView->GetTreeView()->GetTreeCtrl();
    ASSERT_TRUE(m_driver.ClickTreeItem(tree.GetSafeHwnd(), CTestDriver::TreeItem(tree.GetSafeHwnd(), { "Photos" })));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    ASSERT_EQ(ListRows(), 2);
    auto nameContains = [](const char* pszText, int nAnswer) {
        return [pszText, nAnswer](CListFilter& filter) {
            CListFilterValue value;
            value.strText = pszText;
            filter.bActive = TRUE;
            SetListFilterCondition(&filter, 0, COLUMN_NAME, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, value);
            return nAnswer;
        };
    };
    m_prompts.m_fnCriteria = nameContains("sea", IDOK);
    Command(ID_CATALOG_LIST_FILTER);
    EXPECT_EQ(ListRows(), 1);
    EXPECT_TRUE(m_pView->IsListFilterActive());
    // A cancelled dialog's edits reach neither the filter nor the list.
    m_prompts.m_fnCriteria = nameContains("hill", IDCANCEL);
    Command(ID_CATALOG_LIST_FILTER);
    ASSERT_EQ(ListRows(), 1);
    EXPECT_NE(m_pView->GetListView()->GetListCtrl().GetItemText(0, 0).Find("sea"), -1);
    m_prompts.m_fnCriteria = [](CListFilter& filter) {
        filter.bActive = FALSE;
        return IDOK;
    };
    Command(ID_CATALOG_LIST_FILTER);
    EXPECT_EQ(ListRows(), 2);
    EXPECT_FALSE(m_pView->IsListFilterActive());
    EXPECT_EQ(m_prompts.CountOf("search criteria"), 3);
}

TEST_F(SplitterFrameTest, ASystemCopiedInTheTreeIsPastedUnderTheContextNode)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Photos")));
    Command(ID_EDIT_COPY);
    ASSERT_TRUE(CKadDragObjReg::HasClipboardPayload(TRUE));
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Letters")));
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    Command(ID_EDIT_PASTE);
    std::unique_ptr<CNodeRec> pCopy(TreeNode("Letters")->FindChildByName("Photos"));
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->CountDocuments(), 2);
    // The copy shows in the tree after the change went round, loaded when opened.
    HTREEITEM hLetters = CTestDriver::TreeItem(pTree->GetSafeHwnd(), { "Letters" });
    EXPECT_EQ(CTestDriver::TreeStateImage(pTree->GetSafeHwnd(), hLetters), 2u);
    pTree->ExpandItem(hLetters, TVE_EXPAND);
    EXPECT_EQ(CTestDriver::TreeChildren(pTree->GetSafeHwnd(), hLetters), std::vector<CString> { "Photos" });
}

TEST_F(SplitterFrameTest, NewGroupsAskForTheContextNodeButNotForAFixedTopNode)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Photos")));
    Command(ID_CATALOG_NEW_GROUP);
    EXPECT_EQ(m_prompts.CountOf("new group"), 1);
    Command(ID_VIEW_TOP_NODE3); // hides it
    Command(ID_VIEW_TOP_NODE3); // shows and selects it
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    // What an update pass makes of the command.
    class CEnabledState : public CCmdUI {
    public:
        void Enable(BOOL bOn) override { m_bOn = bOn; }
        BOOL m_bOn { TRUE };
    } state;
    state.m_nID = ID_CATALOG_NEW_GROUP;
    state.DoUpdate(m_pView, FALSE);
    EXPECT_FALSE(state.m_bOn);
}

TEST_F(SplitterFrameTest, SelectingAnEntrySelectsItsSystemAndThenItsRow)
{
    std::unique_ptr<CNodeRec> pPhotos(TreeNode("Photos")->Clone());
    CDocumentRecArray documents = pPhotos->GetDocuments();
    ASSERT_EQ(documents.size(), 2u);
    MainFrame()->SendMessage(
        g_nMsgSelectEntry, reinterpret_cast<WPARAM>(pPhotos.get()), reinterpret_cast<LPARAM>(documents[1].get()));
    EXPECT_TRUE(Shows(pPhotos.get()));
    CArqListCtrl& list = m_pView->GetListView()->GetListCtrl();
    const CCatalogRecord* pFocused = list.GetRowRecord(list.GetFocusedRow());
    ASSERT_NE(pFocused, nullptr);
    EXPECT_EQ(pFocused->GetRef(), documents[1]->GetRef());
}

namespace {

// A search for the phrase pszText in one field (the find bar left closed,
// adjust sets the rest) becomes the find settings' newest and the last that ran.
void Remember(CArchivoraApp& app, const char* pszText, int nField = CTextSearch::FIELD_NAME,
    const std::function<void(CFindRecord&)>& adjust = {})
{
    CFindRecord search;
    search.history.Add(pszText);
    search.nType = FIND_TYPE_PHRASE;
    search.nField = nField;
    search.bOpenFindBar = FALSE;
    if (adjust)
        adjust(search);
    app.GetFindSettings().UpdateFind(search, -1, -1, app.GetMainCatalog());
    app.GetFindSettings().UpdateLastFind(search, -1, -1, app.GetMainCatalog());
}

CString FocusedName(CArqListCtrl& list)
{
    const auto* pDocument = dynamic_cast<const CDocumentRec*>(list.GetRowRecord(list.GetFocusedRow()));
    CString strPath;
    if (pDocument)
        pDocument->GetFullPath(strPath);
    return strPath;
}

} // namespace

TEST_F(SplitterFrameTest, FindNextGoesThroughTheTreeToTheNextMatchAndComesRoundToTheFocusedRow)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    CArqListCtrl& list = m_pView->GetListView()->GetListCtrl();
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Letters")));
    Command(ID_VIEW_PREVIEW);
    SetLastFind("sea");
    MainFrame()->ShowWindow(SW_MINIMIZE);
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
    EXPECT_TRUE(FocusedName(list).Find("sea.jpg") >= 0) << FocusedName(list);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    // The main frame brings the find back: the window restored, the preview showing it without the pause.
    EXPECT_FALSE(MainFrame()->IsIconic());
    const CCatalogRecord* pShown = m_pView->GetContentView()->GetShownItem();
    ASSERT_NE(pShown, nullptr);
    EXPECT_EQ(pShown->GetRef(), list.GetRowRecord(list.GetFocusedRow())->GetRef());

    // Round the whole catalog, only the focused row matches: it stays, with a message.
    m_driver.AnswerNextMessageBox(IDOK);
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
    EXPECT_TRUE(FocusedName(list).Find("sea.jpg") >= 0);

    // The list only (scope 2): from the focused row round to the first row, never into the tree.
    SetLastFind(".jpg", 2);
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(list.GetFocusedRow(), 0);
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(list.GetFocusedRow(), 1) << "the next row after the focused one";
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
}

TEST_F(SplitterFrameTest, FindAsksForTheSearchUnlessTheContextIsTheExpiredNode)
{
    // Without a last search, Find next asks as Find does; a cancel searches nothing.
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(m_prompts.m_asked, std::vector<std::string> { "find files host" });

    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    pTree->ShowTopNode4(TRUE);
    m_pView->SetActiveView(m_pView->GetTreeView(), TRUE);
    ASSERT_TRUE(pTree->GetContextNode() && pTree->GetContextNode()->GetBlock() == CNodeRec::FIXED_NODE_LAST);
    Command(ID_CATALOG_FIND);
    EXPECT_EQ(m_prompts.m_asked.size(), 1u) << "the expired documents are not searched from the tree";
    EXPECT_EQ(m_prompts.m_messages, std::vector<UINT> { IDS_FIND_NOT_IN_EXPIRED });
}

TEST_F(SplitterFrameTest, FindNextKeepsToTheListInScopeTwoAndReachesTheRecycleBinInScopeZero)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Letters")));
    CCatalog* pBin = App().GetRecycleCatalog();
    {
        CCatalogHold hold(pBin);
        std::unique_ptr<CNodeRec> pBinRoot(CNodeRec::NewRootNodeRec(pBin));
        ASSERT_TRUE(pBinRoot);
        AddDocument(*pBin, *pBinRoot, "C:\\old\\binned sea.txt");
    }

    // The list only: the other system's match is not looked for.
    SetLastFind("sea", 2);
    std::vector<CString> boxes;
    m_driver.OnNextDialog([&](HWND hDlg) {
        boxes.push_back(CTestDriver::Text(hDlg));
        EndDialog(hDlg, IDOK);
    });
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Letters");
    EXPECT_EQ(boxes.size(), 1u) << "nothing found in Letters";

    // The whole catalog with the recycle bin: the tree's match first, then the bin's.
    SetLastFind("sea", 0, TRUE);
    Command(ID_CATALOG_FIND_NEXT);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos");
    EXPECT_FALSE(MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_RECYCLE_BIN));
    Command(ID_CATALOG_FIND_NEXT);
    ASSERT_TRUE(MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_RECYCLE_BIN));
    CArqListCtrl& binList = MainFrame()->GetDragBar().GetList().GetRecycleBinWindow()->GetList();
    EXPECT_TRUE(FocusedName(binList).Find("binned sea.txt") >= 0) << FocusedName(binList);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Photos") << "the view stays where it was";
}

TEST_F(SplitterFrameTest, StoppingTheBusyDialogOfAContentSearchEndsTheSearch)
{
    CSisTreeCtrl* pTree = m_pView->GetTreeCtrl();
    ASSERT_TRUE(pTree->SelectNode(*TreeNode("Letters")));
    Remember(App(), "anything", CTextSearch::FIELD_CONTENT);

    // The user presses Stop as the busy dialog shows its first document, and confirms.
    static int s_nShown = 0;
    s_nShown = 0;
    HHOOK hHook = SetWindowsHookEx(
        WH_CALLWNDPROC,
        [](int nCode, WPARAM wParam, LPARAM lParam) -> LRESULT {
            const auto* pCall = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (pCall->message == WM_SETTEXT && GetDlgCtrlID(pCall->hwnd) == IDC_BUSY_STATUS && s_nShown++ == 0)
                PostMessage(GetParent(pCall->hwnd), WM_COMMAND, IDCANCEL, 0);
            return CallNextHookEx(nullptr, nCode, wParam, lParam);
        },
        nullptr, 0);
    ASSERT_NE(hHook, nullptr);
    std::vector<CString> boxes;
    for (int nAnswer : { IDYES, IDOK }) {
        m_driver.OnNextDialog([&boxes, nAnswer](HWND hDlg) {
            boxes.push_back(CTestDriver::Text(hDlg));
            EndDialog(hDlg, nAnswer);
        });
    }
    Command(ID_CATALOG_FIND_NEXT);
    UnhookWindowsHookEx(hHook);
    EXPECT_EQ(s_nShown, 1) << "no document tested after the stop";
    ASSERT_EQ(boxes.size(), 1u) << "the stop question only, no 'not found'";
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Letters");
}

TEST_F(SplitterFrameTest, FindWithTheResultListSearchesTheCatalogIntoTheResultsWindow)
{
    const auto resultList = [](CFindRecord& search) { search.bResultList = TRUE; };
    Remember(App(), ".jpg", CTextSearch::FIELD_NAME, resultList);
    m_prompts.m_nFindFilesHostAnswer = IDOK;
    Command(ID_CATALOG_FIND);
    ASSERT_TRUE(MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_SEARCH_RESULTS));
    CDlgSearchResults* pResults = MainFrame()->GetDragBar().GetList().GetSearchResultsWindow();
    CArqListCtrl& list = pResults->GetList();
    list.WaitForFill(TRUE);
    std::vector<CString> names;
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        names.push_back(list.GetItemText(nRow, list.FindColumn(4101)));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<CString> { "hill.jpg", "sea.jpg" }));
    EXPECT_TRUE(CDlgSearchResults::HasResults());

    // A second search makes the window again with its own results.
    Remember(App(), "nothing like it", CTextSearch::FIELD_NAME, resultList);
    Command(ID_CATALOG_FIND);
    ASSERT_TRUE(MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_SEARCH_RESULTS));
    EXPECT_EQ(MainFrame()->GetDragBar().GetList().GetSearchResultsWindow()->GetList().GetItemCount(), 0);
    EXPECT_FALSE(CDlgSearchResults::HasResults());
}
