// The document list and the recycle bin window against their reference
// pictures (tests/frame/data/list_*.png), checked by eye once: a group's rows
// in the details style and in large icons, the bin's window with one entry,
// and the search results window with the documents a search found. The columns of file times and folders are hidden, as
// they change with every run.

#include "tests/frame/AppTestFixture.h"

#include "catalog/CRecycleRun.h"
#include "frame/CArqListView.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgSearchResults.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "tests/catalog/RecycleBinFixture.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ListPictureTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_setDataHome = std::make_unique<ScopedVariable>("XDG_DATA_HOME", (Home() / "data").c_str());
        SetCatalogPrompts(&m_selection);
        fs::create_directories(Home() / "docs");
        for (const char* pszName : { "budget.txt", "letter.txt", "minutes.txt" })
            std::ofstream(Home() / "docs" / pszName) << pszName;
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Archive");
            for (const char* pszName : { "budget.txt", "letter.txt", "minutes.txt", "missing.txt" })
                AddDocument(catalog, *pLetters, Path(pszName).c_str());
        });
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        if (m_bin.GetSafeHwnd())
            m_bin.DestroyWindow();
        if (m_results.GetSafeHwnd())
            m_results.DestroyWindow();
        SetCatalogPrompts(nullptr);
        AppTest::TearDown();
    }

    std::string Path(const char* pszName) const
    {
        return ProgramPathFromHostPath((Home() / "docs" / pszName).string());
    }
    CArqListViewCtrl& List() { return ActiveView()->GetListView()->GetListCtrl(); }
    void HideTimes(CArqListViewCtrl& list)
    {
        for (LONG nColumnId : { COLUMN_MODIFIED, COLUMN_CREATED, COLUMN_ACCESSED, COLUMN_LABEL })
            list.SetColumnVisible(nColumnId, FALSE);
    }
    void ExpectPicture(HWND hWnd, const char* pszReference)
    {
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_driver.Pump();
        TempFolder folder;
        const std::string strShot = ProgramPathFromHostPath((folder.Path() / "shot.png").string());
        ASSERT_TRUE(CTestDriver::Screenshot(hWnd, strShot.c_str()));
        HBITMAP hbm = LoadPictureFile(strShot.c_str());
        ASSERT_NE(hbm, nullptr);
        if (auto mismatch = PictureMismatch(hbm, SourceRoot() / "tests/frame/data" / pszReference, folder))
            ADD_FAILURE() << *mismatch;
    }

    CScriptedSelectionPrompts m_selection;
    CDlgDocumentList m_bin;
    CDlgSearchResults m_results;

private:
    std::unique_ptr<ScopedVariable> m_setDataHome;
};

TEST_F(ListPictureTest, AGroupsRowsInTheDetailsAndLargeIconStyles)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    std::unique_ptr<CNodeRec> pLetters(pRoot->FindChildByName("Letters"));
    HideTimes(List());
    List().Fill(pLetters.get());
    List().MoveWindow(0, 0, 520, 200);
    ExpectPicture(List().GetSafeHwnd(), "list_details.png");
    List().SetViewStyle(CArqListViewCtrl::STYLE_ICONS);
    ExpectPicture(List().GetSafeHwnd(), "list_icons.png");
}

TEST_F(ListPictureTest, TheRecycleBinWindowWithAnEntry)
{
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    entries.emplace_back(App().GetMainCatalog()->FindPath(Path("letter.txt").c_str()));
    ASSERT_TRUE(MoveToRecycleBin(App().GetMainCatalog(), App().GetRecycleCatalog(), entries, TRUE));
    ASSERT_TRUE(m_bin.CreateHidden(MainFrame()));
    m_bin.ShowList();
    CArqListCtrl& list = m_bin.GetList();
    list.SetColumnWidth(list.FindColumn(COLUMN_BIN_FOLDER), 0);
    ExpectPicture(m_bin.GetSafeHwnd(), "list_recycle_bin.png");
}

TEST_F(ListPictureTest, TheSearchResultsWindowWithTheFoundDocuments)
{
    {
        CFolderIndex index(App().GetFolderIndexPath(), 1);
        ASSERT_TRUE(index.IsOpen());
        CRecordRef folder;
        ASSERT_TRUE(index.AddFolder((Path("") + "\\").c_str(), &folder));
        for (const char* pszName : { "budget.txt", "minutes.txt", "missing.txt" }) {
            std::unique_ptr<CDocumentRec> pFound(App().GetMainCatalog()->FindPath(Path(pszName).c_str()));
            ASSERT_NE(pFound, nullptr);
            ASSERT_TRUE(index.AddEntry(folder, pszName, pFound->GetRef()));
        }
    }
    ASSERT_TRUE(m_results.CreateHidden(MainFrame()));
    m_results.ShowList();
    CArqListCtrl& list = m_results.GetList();
    ASSERT_EQ(list.GetItemCount(), 3);
    for (LONG nColumnId : { COLUMN_LABEL, COLUMN_CREATED, COLUMN_ACCESSED })
        list.SetColumnWidth(list.FindColumn(nColumnId), 0);
    ExpectPicture(m_results.GetSafeHwnd(), "list_search_results.png");
}

} // namespace
