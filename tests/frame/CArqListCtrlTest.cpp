#include "frame/CArqListCtrl.h"

#include "tests/frame/AppTestFixture.h"
#include "tests/frame/CommandStates.h"
#include "tests/frame/RemovableStick.h"

#include "catalog/CCatalogUpdate.h"
#include "catalog/CPendingDocs.h"
#include "catalog/ShellItemIds.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CPendingDocs.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogColumns.h"
#include "store/DocumentOperations.h"
#include "store/ProtectedFile.h"
#include "store/ResString.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CStartMenuIndex.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Clipboard.h"
#include "platform/window/MessageBox.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Answers the password question with a fixed password.
class CPasswordAnswer : public CCatalogPrompts {
public:
    int AskPassword(HICON, LPCTSTR, LPCTSTR, int, BOOL, CString& strPassword) override
    {
        strPassword = m_strPassword;
        ++m_nAsked;
        return IDOK;
    }
    CString m_strPassword;
    int m_nAsked { 0 };
};

// A catalog whose documents are files of the test's folder: "Letters" holds
// a group, two files and a file that is gone; "Forty" holds forty files, as
// many as the list reads at once.
class ArqListTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        fs::create_directories(Home() / "docs");
        WriteFile("a.txt", std::string(5, 'a'));
        WriteFile("b.odt", std::string(2000, 'b'));
        WriteFile("run.sh", "#!/bin/sh\n");
        fs::permissions(Home() / "docs" / "run.sh", fs::perms::owner_all);
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            // An executable document: the desktop starts it itself, so its launch is known.
            auto pTools = AddSystem(root, "Tools");
            AddDocument(catalog, *pTools, DocPath("run.sh").c_str());
            AddDocument(catalog, *pTools, DocPath("lost.sh").c_str());
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Old");
            AddDocument(catalog, *pLetters, DocPath("b.odt").c_str());
            AddDocument(catalog, *pLetters, DocPath("a.txt").c_str());
            AddDocument(catalog, *pLetters, DocPath("gone.txt").c_str());
            auto pForty = AddSystem(root, "Forty");
            for (int i = 0; i < 40; ++i)
                AddDocument(catalog, *pForty, DocPath(("n" + std::to_string(1000 + i) + ".txt").c_str()).c_str());
        });
        ASSERT_TRUE(Start());
        ASSERT_NE(ActiveView(), nullptr);
    }
    void WriteFile(const char* pszName, const std::string& strText)
    {
        std::ofstream(Home() / "docs" / pszName) << strText;
    }
    // Ends an edit of a cell as its editor does: with the text (null: cancelled).
    void EndEdit(int nRow, LONG nColumnId, const char* pszText)
    {
        CString strText = pszText ? pszText : "";
        NMLVDISPINFO info {};
        info.hdr = { List().GetSafeHwnd(), 202, LVN_ENDLABELEDIT };
        info.item.mask = LVIF_TEXT;
        info.item.iItem = nRow;
        info.item.iSubItem = List().FindColumn(nColumnId);
        info.item.pszText = pszText ? strText.GetBuffer(0) : nullptr;
        List().GetParent()->SendMessage(WM_NOTIFY, List().GetDlgCtrlID(), reinterpret_cast<LPARAM>(&info));
    }
    void EndDateEdit(int nRow, LPARAM lValue)
    {
        NMLVDISPINFO info {};
        info.hdr = { List().GetSafeHwnd(), 201, LVN_ENDLABELEDIT };
        info.item.mask = LVIF_PARAM;
        info.item.iItem = nRow;
        info.item.iSubItem = List().FindColumn(COLUMN_DATE);
        info.item.lParam = lValue;
        List().GetParent()->SendMessage(WM_NOTIFY, List().GetDlgCtrlID(), reinterpret_cast<LPARAM>(&info));
    }
    // Whether the list enables a command with nRow alone selected and focused.
    BOOL Enabled(int nRow, UINT nID)
    {
        List().SelectOnly(nRow);
        CEnabledState state;
        state.m_nID = nID;
        state.DoUpdate(&List(), TRUE);
        return state.m_bEnabled;
    }
    // The menu item's words and state after an update pass with the current selection.
    std::unique_ptr<CMenuItemState> MenuItem(UINT nID)
    {
        auto pState = std::make_unique<CMenuItemState>(nID);
        pState->DoUpdate(&List(), TRUE);
        return pState;
    }
    // The tree selects the system and the list shows it.
    void Show(const char* pszName)
    {
        auto pSystem = System(pszName);
        ASSERT_TRUE(pSystem);
        ActiveView()->SelectNode(*pSystem);
        List().WaitForFill(TRUE);
    }
    // A click on the row's name: the list becomes the pane in use, with the row alone selected.
    void ClickRow(int nRow)
    {
        CRect rc;
        ASSERT_TRUE(List().GetItemRect(nRow, &rc, LVIR_LABEL));
        ASSERT_TRUE(m_driver.Click(List().GetSafeHwnd(), rc.left + 4, (rc.top + rc.bottom) / 2));
    }
    // Chooses a command of the row's menu; nAnswer, when given, answers the message box it shows.
    void RightClickRow(int nRow, UINT nChosen, int nAnswer = 0)
    {
        CRect rc;
        ASSERT_TRUE(List().GetItemRect(nRow, &rc, LVIR_LABEL));
        m_driver.Advance(GetDoubleClickTime() + 1); // a click of its own, not the second of a pair
        m_driver.ChooseNextMenuCommand(nChosen);
        if (nAnswer)
            m_driver.AnswerNextMessageBox(nAnswer);
        ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), rc.left + 4, (rc.top + rc.bottom) / 2));
    }
    // The name of the node the list shows once the tree's pause is over.
    CString ShownGroup()
    {
        m_driver.Advance(CSplitterFrame::CLICK_DELAY);
        const CNodeRec* pNode = ActiveView()->GetCurrentNode();
        return pNode ? pNode->GetName() : CString();
    }
    CString Cell(int nRow, LONG nColumnId) { return List().GetItemText(nRow, List().FindColumn(nColumnId)); }
    int RowOf(const char* pszName)
    {
        for (int nRow = 0; nRow < List().GetItemCount(); ++nRow) {
            if (Cell(nRow, COLUMN_NAME) == pszName)
                return nRow;
        }
        return -1;
    }
};

TEST_F(ArqListTest, NodeAndDocumentRowsShowTheirCellsAndStates)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    ASSERT_EQ(List().GetItemCount(), 4);
    // Ascending by name: the group first, then the documents.
    EXPECT_EQ(Cell(0, COLUMN_NAME), "Old");
    EXPECT_EQ(Cell(0, COLUMN_SIZE), "");
    EXPECT_EQ(Cell(0, COLUMN_EXPIRY_STATE), "");
    EXPECT_NE(List().GetRowNode(0), nullptr);
    EXPECT_EQ(Cell(1, COLUMN_NAME), "a.txt");
    EXPECT_EQ(Cell(2, COLUMN_NAME), "b.odt");
    EXPECT_EQ(Cell(3, COLUMN_NAME), "gone.txt");

    const int nSmall = RowOf("a.txt");
    const int nLarge = RowOf("b.odt");
    const int nGone = RowOf("gone.txt");
    EXPECT_EQ(Cell(nSmall, COLUMN_SIZE), "1KB");
    EXPECT_EQ(Cell(nLarge, COLUMN_SIZE), "2KB");
    EXPECT_EQ(Cell(nGone, COLUMN_SIZE), ""); // no size to read
    EXPECT_NE(Cell(nSmall, COLUMN_MODIFIED), "");
    EXPECT_EQ(Cell(nGone, COLUMN_MODIFIED), "");
    // A missing file shows the "not found" picture, in the state column and the item state.
    EXPECT_EQ(Cell(nGone, COLUMN_EXPIRY_STATE), "7");
    EXPECT_EQ(List().GetItemState(nGone, CArqListCtrl::STATE_IMAGE_MASK), 8u << 12);
    // The catalog keeps folders lower-cased.
    EXPECT_EQ(Cell(nSmall, COLUMN_LABEL).CompareNoCase(CString(DocPath("").c_str()) + "\\"), 0);

    List().SetSizeInKB(FALSE);
    List().SetShowExtension(FALSE);
    EXPECT_EQ(Cell(nSmall, COLUMN_SIZE), "5");
    EXPECT_EQ(Cell(nSmall, COLUMN_NAME), "a");
}

TEST_F(ArqListTest, EditRulesFollowTheRowKindAndTheDocumentsState)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    auto limit
        = [this](int nRow, LONG nColumnId) { return List().GetCellEditLimit(nRow, List().FindColumn(nColumnId)); };
    EXPECT_EQ(limit(0, COLUMN_NAME), CArqListCtrl::NODE_NAME_LIMIT);
    EXPECT_EQ(limit(0, COLUMN_LABEL), 0);
    EXPECT_EQ(limit(0, COLUMN_DESCRIPTION), CArqListCtrl::TEXT_EDIT_LIMIT);
    const int nSmall = RowOf("a.txt");
    const int nGone = RowOf("gone.txt");
    EXPECT_EQ(limit(nSmall, COLUMN_NAME), CArqListCtrl::TEXT_EDIT_LIMIT);
    EXPECT_EQ(limit(nSmall, COLUMN_SIZE), 0);
    EXPECT_EQ(limit(nSmall, COLUMN_DATE), CArqListCtrl::DATE_EDIT_LIMIT);
    // A file that is gone keeps its texts editable but not its name or folder.
    EXPECT_EQ(limit(nGone, COLUMN_NAME), 0);
    EXPECT_EQ(limit(nGone, COLUMN_LABEL), 0);
    EXPECT_EQ(limit(nGone, COLUMN_ALT_NAME), CArqListCtrl::TEXT_EDIT_LIMIT);
    EXPECT_EQ(List().GetCellEditorKind(nSmall, List().FindColumn(COLUMN_ALT_NAME)), GRID_EDITOR_TEXT);
    EXPECT_EQ(List().GetCellEditorKind(0, List().FindColumn(COLUMN_ALT_NAME)), -1);
    List().SelectOnly(0);
    EXPECT_NE(List().GetFocusedNode(), nullptr);
    List().SelectOnly(nSmall);
    EXPECT_EQ(List().GetFocusedNode(), nullptr);
    EXPECT_EQ(List().GetSelectedCount(), 1u);
}

TEST_F(ArqListTest, ARecordOfAnotherTableMakesAnEmptyRow)
{
    CCatalog* pCatalog = App().GetMainCatalog();
    auto pLetters = System("Letters");
    // A document object over a node's record, as a damaged reference would give.
    CDocumentRec wrongTable(pCatalog, pLetters->GetBlock(), pLetters->GetSlot());
    EXPECT_EQ(CArqListCtrl::KindOf(&wrongTable), CArqListCtrl::RowKind::Empty);
    for (LONG nColumnId : { COLUMN_NAME, COLUMN_DESCRIPTION, COLUMN_SIZE, COLUMN_EXPIRY_STATE, LONG { 9999 } })
        EXPECT_EQ(CArqListCtrl::CellText(&wrongTable, nColumnId, TRUE, TRUE), "");
    CDocumentRec outside(pCatalog, 1000000, 3);
    EXPECT_EQ(CArqListCtrl::KindOf(&outside), CArqListCtrl::RowKind::Empty);
    EXPECT_EQ(CArqListCtrl::CellText(nullptr, COLUMN_NAME, TRUE, TRUE), "");
}

TEST_F(ArqListTest, SortingAColumnTwiceReversesItAndListsDocumentsFirst)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nName = List().FindColumn(COLUMN_NAME);
    List().SortByColumn(nName); // the sort column again: descending
    EXPECT_EQ(Cell(0, COLUMN_NAME), "gone.txt");
    EXPECT_EQ(Cell(3, COLUMN_NAME), "Old");
    // A new fill keeps the direction.
    List().Fill(pLetters.get());
    EXPECT_EQ(Cell(0, COLUMN_NAME), "gone.txt");
    EXPECT_EQ(Cell(3, COLUMN_NAME), "Old");
    // Another column sorts ascending: by size, the group still first.
    List().SortByColumn(List().FindColumn(COLUMN_SIZE));
    EXPECT_EQ(Cell(0, COLUMN_NAME), "Old");
    EXPECT_EQ(Cell(3, COLUMN_NAME), "b.odt");
}

TEST_F(ArqListTest, IdleTimeRechecksOneRowPerCallAndNoneWhileMinimised)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nSmall = RowOf("a.txt");
    ASSERT_EQ(nSmall, 1);
    ASSERT_NE(List().GetItemState(1, CArqListCtrl::STATE_IMAGE_MASK), 8u << 12);
    fs::remove(Home() / "docs" / "a.txt");
    fs::remove(Home() / "docs" / "b.odt");
    MainFrame()->ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(List().IdleRefreshNextItem());
    MainFrame()->ShowWindow(SW_RESTORE);
    EXPECT_TRUE(List().IdleRefreshNextItem()); // the group
    EXPECT_TRUE(List().IdleRefreshNextItem()); // a.txt
    EXPECT_EQ(List().GetItemState(1, CArqListCtrl::STATE_IMAGE_MASK), 8u << 12);
    EXPECT_NE(List().GetItemState(2, CArqListCtrl::STATE_IMAGE_MASK), 8u << 12);
    EXPECT_TRUE(List().IdleRefreshNextItem());
    EXPECT_EQ(List().GetItemState(2, CArqListCtrl::STATE_IMAGE_MASK), 8u << 12);
    EXPECT_TRUE(List().IdleRefreshNextItem());
    EXPECT_FALSE(List().IdleRefreshNextItem()); // past the end
}

TEST_F(ArqListTest, EditedTextsGoIntoTheCatalog)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nSmall = RowOf("a.txt");
    EndEdit(nSmall, COLUMN_DESCRIPTION, "Bank letter");
    EndEdit(nSmall, COLUMN_ALT_NAME, "kept");
    EndEdit(0, COLUMN_DESCRIPTION, "Letters of old");
    EndEdit(nSmall, COLUMN_DESCRIPTION, nullptr); // cancelled
    m_driver.Advance(0);
    // Read back from a fresh fill.
    List().Fill(pLetters.get());
    EXPECT_EQ(Cell(RowOf("a.txt"), COLUMN_DESCRIPTION), "Bank letter");
    EXPECT_EQ(Cell(RowOf("a.txt"), COLUMN_ALT_NAME), "kept");
    EXPECT_EQ(Cell(0, COLUMN_DESCRIPTION), "Letters of old");
}

TEST_F(ArqListTest, AGroupsNewNameMustBeNonEmptyAndFreeAmongItsSiblings)
{
    auto pRoot = std::unique_ptr<CNodeRec>(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    List().Fill(pRoot.get());
    const int nLetters = RowOf("Letters");
    ASSERT_GE(nLetters, 0);
    for (const char* pszRefused : { "   ", "forty" }) {
        m_driver.AnswerNextMessageBox(IDOK);
        EndEdit(nLetters, COLUMN_NAME, pszRefused);
        EXPECT_TRUE(System("Letters")) << pszRefused;
        // A refused name comes back in the editor.
        m_driver.Advance(0);
        EXPECT_NE(List().GetEditor(), nullptr) << pszRefused;
        m_driver.PressKey(VK_ESCAPE); // the user gives up
        m_driver.Advance(0);
        EXPECT_EQ(List().GetEditor(), nullptr);
    }
    EndEdit(nLetters, COLUMN_NAME, "  Mail");
    EXPECT_FALSE(System("Letters"));
    EXPECT_TRUE(System("Mail"));
}

TEST_F(ArqListTest, RenamingADocumentRenamesItsFileAndKeepsTheHiddenExtension)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SetShowExtension(FALSE);
    EndEdit(RowOf("a"), COLUMN_NAME, "bank");
    EXPECT_TRUE(fs::exists(Home() / "docs" / "bank.txt"));
    EXPECT_FALSE(fs::exists(Home() / "docs" / "a.txt"));
    EXPECT_EQ(RowOf("a"), -1);
    EXPECT_GE(RowOf("bank"), 0);
    // A name that is taken: the user is told, nothing changes, the editor comes back.
    WriteFile("taken.txt", "x");
    CShownMessage shown;
    ReadNextMessageBox(&shown);
    EndEdit(RowOf("bank"), COLUMN_NAME, "taken");
    EXPECT_EQ(shown.strCaption, "Rename document");
    EXPECT_NE(shown.strText.Find("could not be renamed to taken.txt"), -1) << shown.strText;
    EXPECT_TRUE(fs::exists(Home() / "docs" / "bank.txt"));
    EXPECT_GE(RowOf("bank"), 0);
    m_driver.Advance(0);
    EXPECT_NE(List().GetEditor(), nullptr);
    m_driver.PressKey(VK_ESCAPE);
    m_driver.Advance(0);
}

TEST_F(ArqListTest, AnEditedFolderMovesTheFileAndADateLinksTheExpiringNode)
{
    fs::create_directories(Home() / "kept");
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    EndEdit(RowOf("b.odt"), COLUMN_LABEL, ProgramPathFromHostPath((Home() / "kept").string()).c_str());
    EXPECT_TRUE(fs::exists(Home() / "kept" / "b.odt"));
    EXPECT_FALSE(fs::exists(Home() / "docs" / "b.odt"));
    std::unique_ptr<CDocumentRec> pMoved(
        App().GetMainCatalog()->FindPath(ProgramPathFromHostPath((Home() / "kept" / "b.odt").string()).c_str()));
    ASSERT_TRUE(pMoved);
    EXPECT_EQ(pMoved->GetLinkedNodes().size(), 1u);

    const int nSmall = RowOf("a.txt");
    EndDateEdit(nSmall, 1900000000);
    EXPECT_EQ(List().GetRowDocument(nSmall)->GetExpiry(), 1900000000);
    std::unique_ptr<CNodeRec> pExpiring(new CNodeRec(App().GetMainCatalog(), CNodeRec::EXPIRING_NODE_BLOCK, 0));
    EXPECT_EQ(pExpiring->CountDocuments(), 1);
    EndDateEdit(nSmall, 0); // cleared
    EXPECT_EQ(pExpiring->CountDocuments(), 0);
}

TEST_F(ArqListTest, CommandsAreEnabledByTheRowsTheyWouldActOn)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nGroup = RowOf("Old");
    const int nFile = RowOf("a.txt");
    const int nGone = RowOf("gone.txt");
    for (UINT nID :
        { UINT { ID_DOC_OPEN }, UINT { ID_DOC_RENAME }, UINT { ID_DOC_RECYCLE }, UINT { ID_DOC_PROPERTIES } }) {
        EXPECT_TRUE(Enabled(nGroup, nID)) << nID;
        EXPECT_TRUE(Enabled(nFile, nID)) << nID;
    }
    // A document whose file is gone can only be looked at and taken out of its group.
    EXPECT_FALSE(Enabled(nGone, ID_DOC_OPEN));
    EXPECT_FALSE(Enabled(nGone, ID_DOC_RENAME));
    EXPECT_FALSE(Enabled(nGone, ID_DOC_RECYCLE));
    EXPECT_TRUE(Enabled(nGone, ID_DOC_PROPERTIES));
    EXPECT_TRUE(Enabled(nGone, ID_DOC_REMOVE_FROM_GROUP));
    // The name column cannot be edited as a cell; the description can.
    List().SelectOnly(nFile);
    List().EditCellAt(nFile, List().FindColumn(COLUMN_DESCRIPTION), nullptr);
    List().EndEdit();
    EXPECT_TRUE(Enabled(nFile, ID_DOC_EDIT_CELL));
    List().EditCellAt(nFile, List().FindColumn(COLUMN_SIZE), nullptr);
    EXPECT_FALSE(Enabled(nFile, ID_DOC_EDIT_CELL));
}

TEST_F(ArqListTest, OpeningADocumentWhoseFileHasACaseTwinLaunchesNeither)
{
    CLaunchOverride launches;
    // "RUN.sh" comes beside the catalogued "run.sh": the catalog's path names both.
    WriteFile("RUN.sh", "#!/bin/sh\n");
    fs::permissions(Home() / "docs" / "RUN.sh", fs::perms::owner_all);
    auto pTools = System("Tools");
    List().Fill(pTools.get());
    List().SelectOnly(RowOf("run.sh"));
    CShownMessage shown;
    ReadNextMessageBox(&shown);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_OPEN);
    m_driver.Pump();
    EXPECT_NE(shown.strText.Find("differs from it only in case"), -1) << shown.strText;
    EXPECT_TRUE(launches.GetLaunches().empty());
    EXPECT_EQ(App().GetPendingDocs()->GetCount(), 0);
    // Once the twin is renamed the document opens again.
    fs::rename(Home() / "docs" / "RUN.sh", Home() / "docs" / "other.sh");
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_OPEN);
    m_driver.Pump();
    ASSERT_EQ(launches.GetLaunches().size(), 1u);
    EXPECT_EQ(launches.GetLaunches()[0].front(), (Home() / "docs" / "run.sh").string());
}

TEST_F(ArqListTest, RemovingFromTheGroupAsksFirstAndKeepsTheDocumentCatalogued)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SelectOnly(RowOf("a.txt"));
    m_driver.AnswerNextMessageBox(IDNO);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_REMOVE_FROM_GROUP);
    EXPECT_EQ(System("Letters")->CountDocuments(), 3);
    m_driver.AnswerNextMessageBox(IDYES);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_REMOVE_FROM_GROUP);
    EXPECT_EQ(System("Letters")->CountDocuments(), 2);
    EXPECT_NE(std::unique_ptr<CDocumentRec>(App().GetMainCatalog()->FindPath(DocPath("a.txt").c_str())),
        nullptr); // kept under the systems root
}

TEST_F(ArqListTest, ACutMarksItsRowsAndAnotherCopyClearsTheMarks)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nFile = RowOf("a.txt");
    List().SelectOnly(nFile);
    ASSERT_TRUE(List().CopySelection(PAYLOAD_MOVE));
    EXPECT_EQ(List().GetItemState(nFile, LVIS_CUT), LVIS_CUT);
    EXPECT_TRUE(IsClipboardFormatAvailable(thePreferences.m_nClipboardFormat));
    List().SelectOnly(RowOf("b.odt"));
    ASSERT_TRUE(List().CopySelection(PAYLOAD_COPY));
    EXPECT_EQ(List().GetItemState(nFile, LVIS_CUT), 0u);
    EXPECT_EQ(List().GetItemState(RowOf("b.odt"), LVIS_CUT), 0u);
}

TEST_F(ArqListTest, ContextMenusActOnTheRowUnderThePointer)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    // The empty space's menu: select every row.
    CRect rcClient;
    List().GetClientRect(&rcClient);
    m_driver.ChooseNextMenuCommand(ID_DOC_SELECT_ALL);
    ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), 5, rcClient.bottom - 3));
    EXPECT_EQ(List().GetSelectedCount(), 4u);
    // A document's menu: removing it from the group.
    CRect rcRow;
    List().GetItemRect(RowOf("a.txt"), &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_DOC_REMOVE_FROM_GROUP);
    m_driver.AnswerNextMessageBox(IDYES);
    List().SelectOnly(RowOf("a.txt"));
    ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_EQ(System("Letters")->CountDocuments(), 2);
    // A group's menu: a new group below it through the group dialog.
    List().GetItemRect(RowOf("Old"), &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_CATALOG_NEW_GROUP);
    ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_EQ(m_prompts.CountOf("new group"), 1);
}

TEST_F(ArqListTest, AGroupChosenFromADocumentsLinkedGroupsShowsThatGroupWithTheDocument)
{
    // run.sh is in Tools and in Letters; the list shows Tools.
    auto pLetters = System("Letters");
    AddDocument(*App().GetMainCatalog(), *pLetters, DocPath("run.sh").c_str());
    List().Fill(System("Tools").get());
    const int nRow = RowOf("run.sh");
    CNodeRecArray linked = List().GetRowDocument(nRow)->GetLinkedNodes();
    const auto letters
        = std::find_if(linked.begin(), linked.end(), [](const auto& pNode) { return pNode->GetName() == "Letters"; });
    ASSERT_NE(letters, linked.end());
    CRect rcRow;
    List().GetItemRect(nRow, &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_LINKED_SYSTEM_FIRST + static_cast<UINT>(letters - linked.begin()));
    ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    m_driver.Pump();
    ASSERT_NE(List().GetShownNode(), nullptr);
    EXPECT_EQ(List().GetShownNode()->GetName(), "Letters");
    EXPECT_EQ(CTestDriver::ListSelection(List().GetSafeHwnd()), std::vector<int> { RowOf("run.sh") });
}

TEST_F(ArqListTest, SendToCopiesTheSelectedFilesToARemovableDrive)
{
    CRemovableStick stick('R');
    const UINT nStick = stick.SendToCommand();
    ASSERT_NE(nStick, 0U);
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SelectOnly(RowOf("a.txt"));
    CRect rcRow;
    List().GetItemRect(RowOf("a.txt"), &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(nStick);
    ASSERT_TRUE(m_driver.RightClick(List().GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_TRUE(fs::exists(stick.Path() / "a.txt"));
    EXPECT_TRUE(fs::exists(Home() / "docs" / "a.txt")) << "copied, not moved";
}

TEST_F(ArqListTest, RecordsDropOnAGroupRowOrTheShownGroupButNeverOnTheirSource)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    CKadDragObjReg payload;
    payload.SetSource(List().GetShownNode());
    payload.AddItem(List().GetRowDocument(RowOf("a.txt")), RowOf("a.txt"));
    CRect rcGroup;
    CRect rcDocument;
    List().GetItemRect(RowOf("Old"), &rcGroup, LVIR_LABEL);
    List().GetItemRect(RowOf("b.odt"), &rcDocument, LVIR_LABEL);
    List().DropEnter();
    EXPECT_EQ(List().DropOver(&payload, 0, rcGroup.left + 2, rcGroup.top + 2), DROPEFFECT_MOVE);
    EXPECT_EQ(List().GetItemState(RowOf("Old"), LVIS_DROPHILITED), LVIS_DROPHILITED);
    EXPECT_EQ(List().DropOver(&payload, MK_CONTROL, rcGroup.left + 2, rcGroup.top + 2), DROPEFFECT_COPY);
    // Elsewhere the target is the shown group: the records' own source.
    EXPECT_EQ(List().DropOver(&payload, 0, rcDocument.left + 2, rcDocument.top + 2), DROPEFFECT_NONE);
    EXPECT_EQ(List().GetItemState(RowOf("Old"), LVIS_DROPHILITED), 0u);
    EXPECT_EQ(List().DropOver(&payload, 0, rcGroup.left + 2, rcGroup.top + 2), DROPEFFECT_MOVE);
    ASSERT_TRUE(List().DropTake(&payload, DROPEFFECT_MOVE));
    std::unique_ptr<CNodeRec> pOld(System("Letters")->FindChildByName("Old"));
    ASSERT_TRUE(pOld);
    EXPECT_EQ(pOld->CountDocuments(), 1);
    EXPECT_EQ(System("Letters")->CountDocuments(), 2);
}

TEST_F(ArqListTest, DraggingADocumentOntoAGroupRowFilesItThere)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    CRect rcFrom;
    CRect rcTo;
    List().GetItemRect(RowOf("b.odt"), &rcFrom, LVIR_LABEL);
    List().GetItemRect(RowOf("Old"), &rcTo, LVIR_LABEL);
    const POINT from { rcFrom.left + 4, (rcFrom.top + rcFrom.bottom) / 2 };
    const POINT to { rcTo.left + 4, (rcTo.top + rcTo.bottom) / 2 };
    // The first move tells the drag, the next one finds the target.
    ASSERT_TRUE(m_driver.PressAndMove(List().GetSafeHwnd(), { from, to, POINT { to.x + 1, to.y } }));
    ASSERT_TRUE(m_driver.Release(List().GetSafeHwnd(), to.x + 1, to.y));
    m_driver.Advance(0);
    std::unique_ptr<CNodeRec> pOld(System("Letters")->FindChildByName("Old"));
    ASSERT_TRUE(pOld);
    EXPECT_EQ(pOld->CountDocuments(), 1);
}

TEST_F(ArqListTest, ADoubleClickOpensADocumentThatCanBeReachedAndAGroupInTheTree)
{
    CLaunchOverride launches;
    auto pTools = System("Tools");
    List().Fill(pTools.get());
    auto doubleClick = [this](int nRow) {
        CRect rc;
        List().GetItemRect(nRow, &rc, LVIR_LABEL);
        return m_driver.DoubleClick(List().GetSafeHwnd(), rc.left + 4, (rc.top + rc.bottom) / 2);
    };
    ASSERT_TRUE(doubleClick(RowOf("lost.sh")));
    EXPECT_TRUE(launches.GetLaunches().empty()); // its file is gone
    ASSERT_TRUE(doubleClick(RowOf("run.sh")));
    ASSERT_EQ(launches.GetLaunches().size(), 1u);
    EXPECT_EQ(launches.GetLaunches()[0].front(), (Home() / "docs" / "run.sh").string());
}

TEST_F(ArqListTest, AGroupRowOpensOnDoubleClickAndEnter)
{
    Show("Letters");
    CRect rc;
    List().GetItemRect(RowOf("Old"), &rc, LVIR_LABEL);
    ASSERT_TRUE(m_driver.DoubleClick(List().GetSafeHwnd(), rc.left + 4, (rc.top + rc.bottom) / 2));
    EXPECT_EQ(ShownGroup(), "Old");
    EXPECT_EQ(List().GetItemCount(), 0);

    Show("Letters");
    ClickRow(RowOf("Old"));
    ASSERT_TRUE(m_driver.PressKey(VK_RETURN));
    EXPECT_EQ(ShownGroup(), "Old");
}

TEST_F(ArqListTest, OpenStartsAFileWithItsOwnProgramAndFollowsAGroupOnlyAlone)
{
    CLaunchOverride launches;
    Show("Tools");
    ClickRow(RowOf("run.sh"));
    // Its open action asks for a program each time; the plain Open does not.
    m_prompts.m_dwOption = 1;
    m_prompts.m_nOptionAnswer = IDOK;
    Command(ID_DOC_OPEN_ACTION);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(m_prompts.CountOf("open with"), 0);
    ASSERT_EQ(launches.GetLaunches().size(), 1u);
    EXPECT_EQ(launches.GetLaunches()[0].front(), (Home() / "docs" / "run.sh").string());

    // A group with another row selected stays where it is; alone, the tree follows it.
    Show("Letters");
    ClickRow(RowOf("Old"));
    List().SetItemState(RowOf("gone.txt"), LVIS_SELECTED, LVIS_SELECTED);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(ShownGroup(), "Letters");
    EXPECT_EQ(launches.GetLaunches().size(), 1u); // the file that is gone stays closed
    ClickRow(RowOf("Old"));
    Command(ID_FILE_OPEN);
    EXPECT_EQ(ShownGroup(), "Old");
}

TEST_F(ArqListTest, PropertiesOnTheMenuBarOrAltEnterActOnThePaneUsedLast)
{
    Show("Letters");
    ClickRow(RowOf("a.txt"));
    ASSERT_TRUE(m_driver.PressKey(VK_RETURN, CTestDriver::ALT));
    EXPECT_EQ(m_prompts.CountOf("document properties"), 1);
    EXPECT_EQ(m_prompts.CountOf("group properties"), 0);
    // Back in the tree: its group's.
    CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
    CRect rcItem;
    ASSERT_TRUE(tree.GetItemRect(tree.GetSelectedItem(), &rcItem, TRUE));
    ASSERT_TRUE(m_driver.Click(tree.GetSafeHwnd(), rcItem.left + 2, (rcItem.top + rcItem.bottom) / 2));
    Command(ID_DOC_PROPERTIES);
    EXPECT_EQ(m_prompts.CountOf("group properties"), 1);
    EXPECT_EQ(m_prompts.CountOf("document properties"), 1);
}

TEST_F(ArqListTest, TheSelectionMovesIntoTheUnsortedDocumentsOrTheArchive)
{
    CCatalog* pCatalog = App().GetMainCatalog();
    Show("Letters");
    ClickRow(RowOf("a.txt"));
    List().SetItemState(RowOf("b.odt"), LVIS_SELECTED, LVIS_SELECTED);
    Command(ID_SEND_TO_UNSORTED);
    EXPECT_EQ(RowOf("a.txt"), -1);
    EXPECT_EQ(RowOf("b.odt"), -1);
    EXPECT_EQ(System("Letters")->CountDocuments(), 1);
    std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(pCatalog));
    EXPECT_EQ(pUnsorted->CountDocuments(), 2);

    // From the unsorted documents on, only the archive takes them.
    if (!ActiveView()->IsTopNode3Shown())
        Command(ID_VIEW_TOP_NODE3);
    ActiveView()->SelectNode(*pUnsorted);
    List().WaitForFill(TRUE);
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_FALSE(Enabled(0, ID_SEND_TO_UNSORTED));
    EXPECT_TRUE(Enabled(0, ID_SEND_TO_OTHER));
    ClickRow(0);
    Command(ID_SEND_TO_OTHER);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_EQ(std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(pCatalog))->CountDocuments(), 1);
    EXPECT_EQ(std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec4(pCatalog))->CountDocuments(), 1);
}

TEST_F(ArqListTest, AProtectedFileOpenedFromTheListIsProtectedAgainFromItsMenu)
{
    CLaunchOverride launches;
    const std::string strPath = DocPath("run.sh");
    Show("Tools");
    ClickRow(RowOf("run.sh"));
    m_prompts.m_strNewPassword = "secret";
    m_prompts.m_nNewPasswordAnswer = IDOK;
    Command(ID_DOC_PROTECT);
    ASSERT_TRUE(IsProtectedFile(strPath.c_str()));
    CPasswordAnswer answer;
    SetCatalogPrompts(&answer);
    answer.m_strPassword = "secret";
    Command(ID_FILE_OPEN);
    ASSERT_FALSE(IsProtectedFile(strPath.c_str()));
    ASSERT_EQ(launches.GetLaunches().size(), 1u);

    // What the image preview saves is the program's own change: no view re-reads for it.
    const fs::path file = Home() / "docs" / "run.sh";
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(100));
    m_prompts.m_fnImagePreview = [](CDocumentRec&) { return IDOK; };
    RightClickRow(RowOf("run.sh"), ID_DOC_IMAGE_PREVIEW);
    EXPECT_EQ(m_prompts.CountOf("image preview"), 1);
    EXPECT_FALSE(App().GetPendingDocs()->CheckPendingFile());

    // A wrong password leaves it open; the right one protects it again.
    answer.m_strPassword = "wrong";
    RightClickRow(RowOf("run.sh"), ID_DOC_PROTECT_AGAIN, IDOK);
    EXPECT_EQ(answer.m_nAsked, 2);
    EXPECT_FALSE(IsProtectedFile(strPath.c_str()));
    answer.m_strPassword = "secret";
    RightClickRow(RowOf("run.sh"), ID_DOC_PROTECT_AGAIN);
    SetCatalogPrompts(nullptr);
    EXPECT_TRUE(IsProtectedFile(strPath.c_str()));
    EXPECT_EQ(answer.m_nAsked, 3);
}

TEST_F(ArqListTest, TheOpenCommandNamesWhatItWouldOpen)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    const int nFile = RowOf("a.txt");
    List().SelectOnly(nFile);
    EXPECT_EQ(MenuItem(ID_DOC_OPEN)->m_strText, GetResString(IDS_OPEN));
    // A new open action chosen in its dialog is written and changes the words.
    m_prompts.m_dwOption = 2;
    m_prompts.m_nOptionAnswer = IDOK;
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_OPEN_ACTION);
    EXPECT_EQ(
        std::unique_ptr<CDocumentRec>(App().GetMainCatalog()->FindPath(DocPath("a.txt").c_str()))->GetOpenAction(), 2u);
    auto pItem = MenuItem(ID_DOC_OPEN);
    EXPECT_EQ(pItem->m_strText, GetResString(IDS_OPEN_VIEW));
    EXPECT_TRUE(pItem->m_bEnabled);
    List().SetItemState(RowOf("b.odt"), LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(MenuItem(ID_DOC_OPEN)->m_strText, GetResString(IDS_OPEN_FILES));
    // A document that is gone cannot be opened, whatever its action.
    List().SelectOnly(RowOf("gone.txt"));
    pItem = MenuItem(ID_DOC_OPEN);
    EXPECT_FALSE(pItem->m_bEnabled);
    EXPECT_EQ(pItem->m_strText, GetResString(IDS_OPEN));
    EXPECT_FALSE(Enabled(RowOf("gone.txt"), ID_DOC_OPEN_ASSOCIATED));
    EXPECT_TRUE(Enabled(nFile, ID_DOC_OPEN_ASSOCIATED));
    EXPECT_FALSE(Enabled(nFile, ID_DOC_MAIL_REPLY)); // a file is no message
}

TEST_F(ArqListTest, AFileOpenedWithAChosenProgramOffersTheProgramsInPlaceOfOpen)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SelectOnly(RowOf("a.txt"));
    m_prompts.m_dwOption = 1; // a program the user picks
    m_prompts.m_nOptionAnswer = IDOK;
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_OPEN_ACTION);
    auto pItem = MenuItem(ID_DOC_OPEN);
    EXPECT_EQ(pItem->m_strText, GetResString(IDS_OPEN_WITH_SUBMENU));
    EXPECT_TRUE(pItem->m_bEnabled);
    // With programs in the index, they take the open command's place.
    const int nPrograms = GetStartMenuIndex().GetCount();
    CMenu* pPrograms = pItem->m_menu.GetSubMenu(0);
    EXPECT_EQ(pPrograms != nullptr, nPrograms > 0);
    if (pPrograms) {
        EXPECT_EQ(static_cast<int>(pPrograms->GetMenuItemCount()), std::min(nPrograms, 100));
        EXPECT_EQ(pPrograms->GetMenuItemID(0), static_cast<UINT>(ID_OPEN_WITH_FIRST));
    }
}

TEST_F(ArqListTest, TheOpenActionSubmenuListsTheOtherActions)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SelectOnly(RowOf("a.txt"));
    auto pItem = MenuItem(ID_DOC_OPEN_WITH_MENU);
    CMenu* pActions = pItem->m_menu.GetSubMenu(0);
    ASSERT_NE(pActions, nullptr);
    std::vector<UINT> ids;
    for (int i = 0; i < static_cast<int>(pActions->GetMenuItemCount()); ++i)
        ids.push_back(pActions->GetMenuItemID(i));
    // Action 0 (open) is the current one.
    EXPECT_EQ(ids,
        (std::vector<UINT> { ID_DOC_OPEN_CHOSEN, ID_DOC_OPEN_ASSOCIATED, ID_DOC_OPEN_CHOOSER, ID_DOC_OPEN_ACTION }));
    List().SelectOnly(RowOf("Old"));
    EXPECT_FALSE(MenuItem(ID_DOC_OPEN_WITH_MENU)->m_bEnabled);
}

TEST_F(ArqListTest, NumberAndProtectionFollowTheDialogsAnswers)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    List().SelectOnly(RowOf("a.txt"));
    auto document
        = [this] { return std::unique_ptr<CDocumentRec>(App().GetMainCatalog()->FindPath(DocPath("a.txt").c_str())); };
    EXPECT_EQ(MenuItem(ID_DOC_VERSION)->m_strText, GetResString(IDS_SET_NUMBER));
    m_prompts.m_nNumber = 3;
    m_prompts.m_nNumberAnswer = IDOK;
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_VERSION);
    EXPECT_EQ(document()->GetVersion(), 3);
    EXPECT_EQ(MenuItem(ID_DOC_VERSION)->m_strText, GetResString(IDS_REMOVE_NUMBER));

    // The placeholder becomes the file's protect command.
    auto pItem = MenuItem(ID_DOC_PROTECT_WORDED);
    EXPECT_EQ(pItem->m_menu.GetMenuItemID(0), static_cast<UINT>(ID_DOC_PROTECT));
    EXPECT_EQ(pItem->m_strText, GetResString(IDS_PROTECT));
    m_prompts.m_strNewPassword = "secret";
    m_prompts.m_nNewPasswordAnswer = IDOK;
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_PROTECT);
    EXPECT_TRUE(document()->IsProtected());
    EXPECT_TRUE(IsProtectedFile(DocPath("a.txt").c_str()));
    EXPECT_EQ(MenuItem(ID_DOC_PROTECT)->m_strText, GetResString(IDS_UNPROTECT));

    // Unprotecting takes its password; a wrong one changes nothing.
    CPasswordAnswer answer;
    SetCatalogPrompts(&answer);
    answer.m_strPassword = "wrong";
    CShownMessage shown;
    ReadNextMessageBox(&shown);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_PROTECT);
    EXPECT_EQ(shown.strText, "The password for a.txt is not correct.");
    EXPECT_TRUE(IsProtectedFile(DocPath("a.txt").c_str()));
    answer.m_strPassword = "secret";
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_PROTECT);
    SetCatalogPrompts(nullptr);
    EXPECT_EQ(answer.m_nAsked, 2);
    EXPECT_FALSE(document()->IsProtected());
    EXPECT_FALSE(IsProtectedFile(DocPath("a.txt").c_str()));
    std::ifstream in(Home() / "docs" / "a.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(5, 'a'));
}

TEST_F(ArqListTest, SelectedDocumentsTakeTheirContentAsDescriptionAndFailuresAreReported)
{
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    auto description = [this](const char* pszName) {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(DocPath(pszName).c_str()));
        CString strText;
        pDocument->GetNameWithLocation(strText);
        return strText;
    };
    // The step reads the real file; b.odt's write fails.
    std::vector<CString> described;
    m_prompts.m_fnDescribe = [&described](CDocumentRec& document) {
        described.push_back(document.GetFilePath());
        if (document.GetFilePath().Find("b.odt") >= 0)
            return CDocumentRec::DESCRIPTION_FAILED;
        char szContent[64] {};
        document.ReadContent(szContent, sizeof(szContent));
        return document.ChangeDescription(szContent);
    };
    std::vector<CString> messages;
    auto answerMessage = [this, &messages](int nAnswer) {
        m_driver.OnNextDialog([&messages, nAnswer](HWND hBox) {
            messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            ::EndDialog(hBox, nAnswer);
        });
    };
    EXPECT_FALSE(Enabled(RowOf("gone.txt"), ID_DOC_DESCRIBE_FROM_CONTENT));
    EXPECT_FALSE(Enabled(RowOf("Old"), ID_DOC_DESCRIBE_FROM_CONTENT));
    List().SelectOnly(RowOf("a.txt"));
    List().SetItemState(RowOf("b.odt"), LVIS_SELECTED, LVIS_SELECTED);
    List().SetItemState(RowOf("gone.txt"), LVIS_SELECTED, LVIS_SELECTED);
    answerMessage(IDOK);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_DESCRIBE_FROM_CONTENT);
    EXPECT_EQ(described.size(), 2u) << "the file that is gone is skipped";
    EXPECT_EQ(description("a.txt"), "aaaaa");
    EXPECT_EQ(Cell(RowOf("a.txt"), COLUMN_DESCRIPTION), "aaaaa");
    EXPECT_EQ(description("b.odt"), "");
    EXPECT_EQ(messages, std::vector<CString> { GetResString(IDS_DESCRIBE_FAILED) });

    // A description there already is replaced only when the user agrees.
    List().SelectOnly(RowOf("a.txt"));
    described.clear();
    messages.clear();
    answerMessage(IDNO);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_DESCRIBE_FROM_CONTENT);
    EXPECT_TRUE(described.empty());
    // Agreed, the same text again gives nothing new, which is said.
    answerMessage(IDYES);
    answerMessage(IDOK);
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_DESCRIBE_FROM_CONTENT);
    EXPECT_EQ(described.size(), 1u);
    EXPECT_EQ(messages,
        (std::vector<CString> { GetResString(IDS_DESCRIBE_REPLACE_ONE), GetResString(IDS_DESCRIBE_REPLACE_ONE),
            GetResString(IDS_DESCRIBE_NO_TEXT) }));
}

TEST_F(ArqListTest, DescribingALongSelectionShowsItsProgress)
{
    for (int i = 0; i < 12; ++i)
        WriteFile(("n" + std::to_string(1000 + i) + ".txt").c_str(), "text " + std::to_string(i));
    auto pForty = System("Forty");
    List().Fill(pForty.get());
    List().SelectOnly(0);
    for (int nRow = 1; nRow < 12; ++nRow)
        List().SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    int nWithProgress = 0;
    m_prompts.m_fnDescribe = [&nWithProgress](CDocumentRec& document) {
        nWithProgress += ::FindWindow(nullptr, GetResString(IDS_DESCRIBE_PROGRESS)) != nullptr;
        char szContent[64] {};
        document.ReadContent(szContent, sizeof(szContent));
        return document.ChangeDescription(szContent);
    };
    EXPECT_EQ(List().DescribeSelectedFromContent(), 12);
    EXPECT_EQ(nWithProgress, 12);
    EXPECT_EQ(::FindWindow(nullptr, GetResString(IDS_DESCRIBE_PROGRESS)), nullptr);
    EXPECT_EQ(Cell(11, COLUMN_DESCRIPTION), "text 11");
}

TEST_F(ArqListTest, SelectedDocumentsGoToTheFavouritesAndSelectedFilesToANewMessage)
{
    // A desktop whose mail program takes the message.
    TempFolder desktop;
    desktop.WriteFile("applications/mailer.desktop",
        "[Desktop Entry]\nType=Application\nName=Mail\nExec=true %u\nMimeType=x-scheme-handler/mailto;\n");
    ScopedVariable dataHome("XDG_DATA_HOME", desktop.Path().string());
    ScopedVariable dataDirs("XDG_DATA_DIRS", desktop.Path().string());
    ScopedVariable configHome("XDG_CONFIG_HOME", desktop.Path().string());
    CLaunchOverride launches;
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    auto selectFiles = [this] {
        List().SelectOnly(RowOf("a.txt"));
        List().SetItemState(RowOf("b.odt"), LVIS_SELECTED, LVIS_SELECTED);
        List().SetItemState(RowOf("gone.txt"), LVIS_SELECTED, LVIS_SELECTED);
    };
    selectFiles();
    ActiveView()->GetListView()->SendMessage(WM_COMMAND, ID_DOC_CATALOG_AGAIN);
    std::unique_ptr<CNodeRec> pFavourites(CNodeRec::NewTopNodeRec2(App().GetMainCatalog()));
    EXPECT_EQ(pFavourites->CountDocuments(), 3);

    // The files that are there go with the message; the one that is gone does not.
    selectFiles();
    ASSERT_TRUE(List().MailSelected());
    ASSERT_EQ(launches.GetLaunches().size(), 1u);
    std::string strCommand;
    for (const auto& strArgument : launches.GetLaunches()[0])
        strCommand += strArgument + " ";
    EXPECT_NE(strCommand.find("a.txt"), std::string::npos) << strCommand;
    EXPECT_NE(strCommand.find("b.odt"), std::string::npos) << strCommand;
    EXPECT_EQ(strCommand.find("gone.txt"), std::string::npos) << strCommand;
}

TEST_F(ArqListTest, AFileDroppedFromTheDesktopIsCataloguedInTheShownGroup)
{
    WriteFile("c.txt", "c");
    auto pLetters = System("Letters");
    List().Fill(pLetters.get());
    LPITEMIDLIST pidlAbsolute = nullptr;
    ASSERT_TRUE(SUCCEEDED(PathToPIDL(DocPath("c.txt").c_str(), &pidlAbsolute, nullptr)));
    IShellFolder* pParent = nullptr;
    LPITEMIDLIST pidlItem = nullptr;
    const HRESULT hr = BindParentFolder(pidlAbsolute, IID_IShellFolder, reinterpret_cast<void**>(&pParent), &pidlItem);
    CoTaskMemFree(pidlAbsolute);
    ASSERT_TRUE(SUCCEEDED(hr));
    CKadDragObjPIDL items(pParent, "");
    pParent->Release();
    items.AddItem(pidlItem, 0);
    CRect rcClient;
    List().GetClientRect(&rcClient);
    ASSERT_EQ(List().DropOver(&items, 0, 5, rcClient.bottom - 3), DROPEFFECT_COPY);
    EXPECT_TRUE(List().DropTake(&items, DROPEFFECT_COPY));
    EXPECT_EQ(System("Letters")->CountDocuments(), 4);
}

// The three messages of a copied mbox store, catalogued.
class ArqListMailTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        const std::optional<fs::path> source
            = SharedTestData(fs::path("mail") / "mozilla-mbox" / "spool-3-messages.mbox");
        if (!source || !fs::exists(*source))
            GTEST_SKIP() << "the shared mail folders are absent";
        fs::copy_file(*source, Home() / "Inbox");
        m_strStore = ProgramPathFromHostPath((Home() / "Inbox").string());
        WriteCatalog([&](CCatalog& catalog, CNodeRec&) {
            EXPECT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETSCAPE, m_strStore.c_str())));
        });
        ASSERT_TRUE(Start());
        CCatalogUpdate update(App().GetMainCatalog(), nullptr, 0, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
    }
    CDocumentRecArray Messages()
    {
        CDocumentRecArray messages;
        std::unique_ptr<CDirectoryRec> pDirectory(
            App().GetMainCatalog()->FindDirectory(CCatalog::NormalizeFolder(("*" + m_strStore + "*").c_str())));
        for (std::unique_ptr<CDocumentRec> pDocument(pDirectory ? pDirectory->FirstDocument() : nullptr); pDocument;
             pDocument.reset(pDirectory->NextDocument()))
            messages.push_back(std::move(pDocument));
        return messages;
    }

    std::string m_strStore;
};

TEST_F(ArqListMailTest, AMessagesNoteOffersItsSenderAndRecipientsAndTheMarkedNotesTakeThem)
{
    CDocumentRecArray messages = Messages();
    ASSERT_EQ(messages.size(), 3u);
    // The first message's note asks for its sender.
    CDocumentInfo info {};
    ASSERT_TRUE(messages[0]->GetInfo(&info));
    Utf8CopyToField(
        info.szSecondary, sizeof(info.szSecondary), GetResString(IDS_MESSAGES_BOTH), FieldEnd::NulTerminated);
    ASSERT_TRUE(messages[0]->UpdateInfo(info));
    List().FillWithDocuments(Messages());
    ASSERT_EQ(List().GetItemCount(), 3);
    CStringArray choices;
    ASSERT_TRUE(CArqListCtrl::GetMessageChoices(*messages[0], choices));
    ASSERT_EQ(choices.GetSize(), 2);
    EXPECT_FALSE(choices[0].IsEmpty());
    List().GetCellChoices(0, List().FindColumn(COLUMN_ALT_NAME), choices);
    EXPECT_EQ(choices.GetSize(), 4); // the row's own two

    for (int nRow = 0; nRow < List().GetItemCount(); ++nRow)
        List().SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(List().FillMessageNotes(1), 0); // no note asks for the recipients
    EXPECT_EQ(List().FillMessageNotes(0), 1);
    CString strNote;
    Messages()[0]->GetAltNameWithLocation(strNote);
    EXPECT_EQ(strNote, choices[0]);
}

// Typing in the list goes to the row whose name starts with it; typing in the
// tree goes to the system, and the list then shows it.
TEST_F(ArqListTest, TypingTheStartOfANameSelectsItsRowOrItsSystem)
{
    Show("Letters");
    ClickRow(0);
    ASSERT_TRUE(m_driver.TypeText("b"));
    const int nSelected = List().GetNextItem(-1, LVNI_SELECTED);
    ASSERT_GE(nSelected, 0);
    EXPECT_EQ(Cell(nSelected, COLUMN_NAME), "b.odt");
    EXPECT_EQ(List().GetSelectedCount(), 1u);

    CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
    tree.SetFocus();
    m_driver.Advance(1500);
    ASSERT_TRUE(m_driver.TypeText("fo"));
    EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), "Forty");
    m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
    List().WaitForFill(TRUE);
    EXPECT_EQ(List().GetItemCount(), 40);
}

} // namespace
