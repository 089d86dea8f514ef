#include "frame/CListWindow.h"

#include "tests/frame/AppTestFixture.h"
#include "tests/frame/CommandStates.h"

#include "catalog/CRecycleRun.h"
#include "catalog/CTextSearch.h"
#include "frame/CArqListCtrl.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgExpiredDocuments.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CSplitterFrame.h"
#include "frame/FindSettings.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "tests/catalog/RecycleBinFixture.h"
#include "tests/support/ScopedVariable.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CRect.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// Two files catalogued under "Letters" (one expired), the real Trash of the
// test's folder, and the selection question answered yes.
class ListWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_setDataHome = std::make_unique<ScopedVariable>("XDG_DATA_HOME", (Home() / "data").c_str());
        SetCatalogPrompts(&m_selection);
        fs::create_directories(Home() / "docs");
        std::ofstream(Home() / "docs" / "old.txt") << "old";
        std::ofstream(Home() / "docs" / "new.txt") << "new";
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddDocument(catalog, *pLetters, Path("old.txt").c_str());
            AddDocument(catalog, *pLetters, Path("new.txt").c_str());
            std::unique_ptr<CDocumentRec> pOld(catalog.FindPath(Path("old.txt").c_str()));
            CDocumentInfo info {};
            pOld->GetInfo(&info);
            info.nExpiry = 1000; // long past
            ASSERT_TRUE(pOld->UpdateInfo(info));
        });
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        GetGlobalSearchCriteria() = {}; // the program's find criteria outlive the test
        for (CListWindow* pWindow : { static_cast<CListWindow*>(&m_bin), static_cast<CListWindow*>(&m_expired),
                 static_cast<CListWindow*>(&m_results) }) {
            if (pWindow->GetSafeHwnd())
                pWindow->DestroyWindow();
        }
        SetCatalogPrompts(nullptr);
        AppTest::TearDown();
    }

    std::string Path(const char* pszName) const
    {
        return ProgramPathFromHostPath((Home() / "docs" / pszName).string());
    }
    std::unique_ptr<CDocumentRec> Find(const char* pszName)
    {
        return std::unique_ptr<CDocumentRec>(App().GetMainCatalog()->FindPath(Path(pszName).c_str()));
    }
    // Writes the search results' index: the files named, of the test's folder,
    // each as found for its catalogued document (a name catalogued nowhere: none).
    void WriteFound(std::initializer_list<const char*> names)
    {
        CFolderIndex index(App().GetFolderIndexPath(), 1);
        ASSERT_TRUE(index.IsOpen());
        CRecordRef folder;
        ASSERT_TRUE(index.AddFolder((Path("") + "\\").c_str(), &folder));
        for (const char* pszName : names) {
            auto pDocument = Find(pszName);
            ASSERT_TRUE(index.AddEntry(folder, pszName, pDocument ? pDocument->GetRef() : CRecordRef {}));
        }
    }
    // Moves a catalogued file to the recycle bin as the document list does.
    void Recycle(const char* pszName)
    {
        std::vector<std::unique_ptr<CCatalogRecord>> entries;
        entries.emplace_back(Find(pszName).release());
        ASSERT_TRUE(entries.front());
        ASSERT_TRUE(MoveToRecycleBin(App().GetMainCatalog(), App().GetRecycleCatalog(), entries, TRUE));
    }
    void Open(CListWindow& window)
    {
        if (!window.GetSafeHwnd()) {
            ASSERT_TRUE(window.CreateHidden(MainFrame()));
        }
        window.ShowList();
    }
    // The files the Trash of the test's folder holds.
    int TrashFiles() const
    {
        const fs::path files = Home() / "data" / "Trash" / "files";
        return fs::exists(files) ? static_cast<int>(std::distance(fs::directory_iterator(files), {})) : 0;
    }
    static CString Cell(CListWindow& window, int nRow, LONG nColumnId)
    {
        CArqListCtrl& list = window.GetList();
        return list.GetItemText(nRow, list.FindColumn(nColumnId));
    }

    CScriptedSelectionPrompts m_selection;
    CDlgDocumentList m_bin;
    CDlgExpiredDocuments m_expired;
    CDlgSearchResults m_results;

private:
    std::unique_ptr<ScopedVariable> m_setDataHome;
};

TEST_F(ListWindowTest, TheBinShowsARecycledDocumentAndRestoresItWithItsFile)
{
    Recycle("new.txt");
    ASSERT_FALSE(fs::exists(Home() / "docs" / "new.txt"));
    ASSERT_EQ(TrashFiles(), 1);
    Open(m_bin);
    ASSERT_EQ(m_bin.GetList().GetItemCount(), 1);
    EXPECT_EQ(Cell(m_bin, 0, COLUMN_NAME), "new.txt");
    EXPECT_EQ(Cell(m_bin, 0, COLUMN_BIN_STATE), ""); // its file is in the bin
    EXPECT_EQ(Cell(m_bin, 0, COLUMN_BIN_FOLDER).CompareNoCase(CString(Path("").c_str()) + "\\"), 0);
    m_bin.GetList().SelectOnly(0);
    m_bin.RestoreSelected();
    EXPECT_TRUE(fs::exists(Home() / "docs" / "new.txt"));
    EXPECT_EQ(TrashFiles(), 0);
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 0);
    auto pRestored = Find("new.txt");
    ASSERT_TRUE(pRestored);
    ASSERT_EQ(pRestored->GetLinkedNodes().size(), 1u);
    EXPECT_EQ(pRestored->GetLinkedNodes().front()->GetName(), "Letters");
}

TEST_F(ListWindowTest, ARowsMenuInTheBinRestoresIt)
{
    Recycle("old.txt");
    Open(m_bin);
    CArqListCtrl& list = m_bin.GetList();
    ASSERT_EQ(list.GetItemCount(), 1);
    list.SelectOnly(0);
    CRect rcRow;
    list.GetItemRect(0, &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_BIN_RESTORE);
    ASSERT_TRUE(m_driver.RightClick(list.GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_TRUE(fs::exists(Home() / "docs" / "old.txt"));
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListWindowTest, ARowsMenuInTheBinDeletesItForGood)
{
    Recycle("new.txt");
    Open(m_bin);
    CArqListCtrl& list = m_bin.GetList();
    ASSERT_EQ(list.GetItemCount(), 1);
    list.SelectOnly(0);
    CRect rcRow;
    list.GetItemRect(0, &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_DOC_RECYCLE);
    ASSERT_TRUE(m_driver.RightClick(list.GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_EQ(m_selection.m_nKind, CCatalogPrompts::SELECTION_REMOVABLE_ITEM);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(TrashFiles(), 0);
}

TEST_F(ListWindowTest, DeletingForGoodAsksFirstAndTakesTheFileFromTheBin)
{
    Recycle("new.txt");
    ASSERT_EQ(TrashFiles(), 1);
    Open(m_bin);
    ASSERT_EQ(m_bin.GetList().GetItemCount(), 1);
    m_bin.GetList().SelectOnly(0);
    m_selection.m_nAnswer = IDCANCEL;
    EXPECT_FALSE(m_bin.DeleteSelected());
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 1);
    EXPECT_EQ(m_selection.m_nKind, CCatalogPrompts::SELECTION_REMOVABLE_ITEM);
    m_selection.m_nAnswer = IDOK;
    // Ctrl+A selects every row, Delete deletes them for good.
    m_bin.GetList().SetFocus();
    m_bin.GetList().SetItemState(0, 0, LVIS_SELECTED);
    ASSERT_TRUE(m_driver.PressKey('A', CTestDriver::CONTROL));
    EXPECT_EQ(m_bin.GetList().GetSelectedCount(), 1u);
    ASSERT_TRUE(m_driver.PressKey(VK_DELETE));
    m_driver.Advance(0);
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 0);
    EXPECT_FALSE(m_bin.DeleteSelected()); // nothing selected: nothing asked
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 0);
    // Restoring is no longer possible: neither the entry nor its file is there.
    EXPECT_FALSE(Find("new.txt"));
    EXPECT_FALSE(fs::exists(Home() / "docs" / "new.txt"));
    EXPECT_EQ(TrashFiles(), 0);
}

TEST_F(ListWindowTest, AHiddenBinReleasesItsCatalogAndCatchesUpWhenShownAgain)
{
    Open(m_bin);
    CCatalog* pBin = App().GetRecycleCatalog();
    const int nOpen = pBin->GetOpenCount();
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 0);
    m_bin.ShowWindow(SW_HIDE);
    EXPECT_EQ(pBin->GetOpenCount(), nOpen - 1);
    Recycle("old.txt");
    m_bin.OnCatalogChanged(); // waits for the next show
    EXPECT_FALSE(m_bin.IsOpen());
    m_bin.ShowList();
    EXPECT_EQ(pBin->GetOpenCount(), nOpen);
    EXPECT_EQ(m_bin.GetList().GetItemCount(), 1);
}

TEST_F(ListWindowTest, TheExpiredWindowListsPassedDatesAndTakesANewOne)
{
    Open(m_expired);
    ASSERT_EQ(m_expired.GetList().GetItemCount(), 1);
    EXPECT_EQ(Cell(m_expired, 0, COLUMN_NAME), "old.txt");
    EXPECT_NE(Cell(m_expired, 0, COLUMN_EXPIRED_DATE), "");
    EXPECT_EQ(Cell(m_expired, 0, COLUMN_NO_TEXT), "");
    // The expired picture shows in the window's state column.
    EXPECT_EQ(Cell(m_expired, 0, COLUMN_BIN_STATE), "1");
    auto pOld = Find("old.txt");
    CDocumentInfo info {};
    pOld->GetInfo(&info);
    info.nExpiry = 0;
    ASSERT_TRUE(pOld->UpdateInfo(info));
    m_expired.OnCatalogChanged();
    EXPECT_EQ(m_expired.GetList().GetItemCount(), 0);
}

TEST_F(ListWindowTest, TheSearchResultsShowTheFoundDocumentsThatAreStillCatalogued)
{
    {
        CFolderIndex index(App().GetFolderIndexPath(), 1);
        ASSERT_TRUE(index.IsOpen());
        CRecordRef folder;
        ASSERT_TRUE(index.AddFolder((Path("") + "\\").c_str(), &folder));
        ASSERT_TRUE(index.AddEntry(folder, "new.txt", Find("new.txt")->GetRef()));
        ASSERT_TRUE(index.AddEntry(folder, "gone.txt", CRecordRef {}));
    }
    EXPECT_TRUE(CDlgSearchResults::HasResults());
    Open(m_results);
    ASSERT_EQ(m_results.GetList().GetItemCount(), 1);
    EXPECT_EQ(Cell(m_results, 0, COLUMN_NAME), "new.txt");
}

TEST_F(ListWindowTest, TheSearchResultsKeepTheirFocusedRowWhenTheCatalogChanges)
{
    WriteFound({ "new.txt", "old.txt" });
    Open(m_results);
    CArqListCtrl& list = m_results.GetList();
    ASSERT_EQ(list.GetItemCount(), 2);
    list.SelectOnly(1);
    const CString strFocused = Cell(m_results, 1, COLUMN_NAME);
    m_results.OnCatalogChanged();
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetFocusedRow(), 1);
    EXPECT_EQ(Cell(m_results, 1, COLUMN_NAME), strFocused);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
}

TEST_F(ListWindowTest, FindNextInTheBinGoesRoundItsRowsAndSaysWhenOnlyTheFocusedOneMatches)
{
    Recycle("old.txt");
    Recycle("new.txt");
    SetLastFind("new", 0, TRUE);
    Open(m_bin);
    CArqListCtrl& list = m_bin.GetList();
    ASSERT_EQ(list.GetItemCount(), 2);
    const int nNew = Cell(m_bin, 0, COLUMN_NAME) == "new.txt" ? 0 : 1;
    list.SelectOnly(1 - nNew);
    list.SetFocus();
    ASSERT_TRUE(m_driver.PressKey(VK_F3));
    EXPECT_EQ(list.GetFocusedRow(), nNew);
    // Again: the main catalog has no match left, so the search comes round to the focused row.
    m_driver.AnswerNextMessageBox(IDOK);
    EXPECT_EQ(m_bin.FindNext(), -1);
    EXPECT_EQ(list.GetFocusedRow(), nNew);
    // The focused entry is linked to its group in the bin: the groups button shows.
    EXPECT_TRUE(m_bin.GetDlgItem(CListWindow::GROUPS_ID)->IsWindowVisible());
}

TEST_F(ListWindowTest, ASearchNotForTheBinGoesOnInTheCatalogView)
{
    Recycle("old.txt");
    SetLastFind("new");
    Open(m_bin);
    m_bin.GetList().SelectOnly(0);
    EXPECT_EQ(m_bin.FindNext(), -1);
    EXPECT_FALSE(m_bin.IsWindowVisible());
}

TEST_F(ListWindowTest, TheSearchResultsShowTheirCriteriaOnlyAfterASearchWithWords)
{
    {
        CFolderIndex index(App().GetFolderIndexPath(), 1);
        ASSERT_TRUE(index.IsOpen());
        CRecordRef folder;
        ASSERT_TRUE(index.AddFolder((Path("") + "\\").c_str(), &folder));
        ASSERT_TRUE(index.AddEntry(folder, "new.txt", Find("new.txt")->GetRef()));
        CListFilter filter {};
        SetListFilterCondition(&filter, 0, COLUMN_NAME, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, { 0, 0, "new" });
        ASSERT_TRUE(index.SetCriteria(filter));
        FreeListFilter(&filter);
    }
    auto enabled = [](CListWindow& window, UINT nID) {
        CEnabledState state;
        state.m_nID = nID;
        state.DoUpdate(&window, TRUE);
        return state.m_bEnabled;
    };
    Open(m_results); // made before any search had words
    EXPECT_FALSE(enabled(m_results, ID_SEARCH_CRITERIA));
    EXPECT_FALSE(enabled(m_results, ID_SEARCH_OPTIONS));

    SetLastFind("new");
    CDlgSearchResults results;
    Open(results);
    EXPECT_TRUE(enabled(results, ID_SEARCH_CRITERIA));
    results.SendMessage(WM_COMMAND, ID_SEARCH_CRITERIA);
    EXPECT_EQ(m_prompts.CountOf("search criteria read-only"), 1);
    EXPECT_EQ(m_prompts.CountOf("search criteria"), 0);

    // A group the found document is linked to shows in the catalog view, and the window goes away.
    CArqListCtrl& list = results.GetList();
    ASSERT_EQ(list.GetItemCount(), 1);
    CRect rcRow;
    list.GetItemRect(0, &rcRow, LVIR_LABEL);
    m_driver.ChooseNextMenuCommand(ID_LINKED_SYSTEM_FIRST);
    ASSERT_TRUE(m_driver.RightClick(list.GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    EXPECT_FALSE(results.IsWindowVisible());
    ASSERT_NE(ActiveView(), nullptr);
    const CNodeRec* pShown = ActiveView()->GetListView()->GetListCtrl().GetShownNode();
    ASSERT_NE(pShown, nullptr);
    EXPECT_EQ(pShown->GetName(), "Letters");
    results.DestroyWindow();
}

} // namespace
