#include "frame/CArqListCtrl.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppMessages.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CSize.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// "Letters" holds a group and three files of the test's folder; "Many" holds
// a hundred documents, more than the list shows at once.
class ArqListRefreshTest : public AppTest {
protected:
    static constexpr int MANY = 100;

    void SetUp() override
    {
        AppTest::SetUp();
        fs::create_directories(Home() / "docs");
        for (const char* pszName : { "b.txt", "c.txt", "d.txt" })
            std::ofstream(Home() / "docs" / pszName) << pszName;
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Old");
            for (const char* pszName : { "b.txt", "c.txt", "d.txt" })
                AddDocument(catalog, *pLetters, DocPath(pszName).c_str());
            auto pMany = AddSystem(root, "Many");
            for (int i = 0; i < MANY; ++i)
                AddDocument(catalog, *pMany, DocPath(("n" + std::to_string(1000 + i) + ".txt").c_str()).c_str());
        });
        ASSERT_TRUE(Start());
        ASSERT_NE(ActiveView(), nullptr);
    }
    // The tree selects the system and the list shows all of it.
    void Show(const char* pszName)
    {
        auto pSystem = System(pszName);
        ASSERT_TRUE(pSystem);
        ActiveView()->SelectNode(*pSystem);
        List().WaitForFill(TRUE);
    }
    // The catalog changed behind the views: the program-wide message every change sends.
    void CatalogChanged()
    {
        MainFrame()->SendMessage(g_nMsgRedo);
        m_driver.Pump();
    }
    CString Name(int nRow) { return List().GetItemText(nRow, List().FindColumn(COLUMN_NAME)); }
    int RowOf(const char* pszName)
    {
        for (int nRow = 0; nRow < List().GetItemCount(); ++nRow) {
            if (Name(nRow) == pszName)
                return nRow;
        }
        return -1;
    }
    std::set<std::string> SelectedNames()
    {
        std::set<std::string> names;
        for (int nRow = List().GetNextItem(-1, LVNI_SELECTED); nRow >= 0;
             nRow = List().GetNextItem(nRow, LVNI_SELECTED))
            names.insert(LPCTSTR(Name(nRow)));
        return names;
    }
    int TopRow() { return static_cast<int>(List().SendMessage(LVM_GETTOPINDEX)); }
    void ScrollToTop(int nRow)
    {
        CRect rcRow;
        CRect rcTop;
        List().GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
        List().GetItemRect(TopRow(), &rcTop, LVIR_BOUNDS);
        List().Scroll(CSize(0, rcRow.top - rcTop.top));
    }
    // Ends an edit of a name as its editor does.
    void EndNameEdit(int nRow, const char* pszText)
    {
        CString strText = pszText;
        NMLVDISPINFO info {};
        info.hdr = { List().GetSafeHwnd(), 202, LVN_ENDLABELEDIT };
        info.item.mask = LVIF_TEXT;
        info.item.iItem = nRow;
        info.item.iSubItem = List().FindColumn(COLUMN_NAME);
        info.item.pszText = strText.GetBuffer(0);
        List().GetParent()->SendMessage(WM_NOTIFY, List().GetDlgCtrlID(), reinterpret_cast<LPARAM>(&info));
        m_driver.Pump();
    }
};

} // namespace

TEST_F(ArqListRefreshTest, ACatalogChangeKeepsFocusSelectionAndTheRowsInView)
{
    Show("Many");
    ASSERT_EQ(List().GetItemCount(), MANY);
    List().SelectOnly(RowOf("n1050.txt"));
    List().SetItemState(RowOf("n1060.txt"), LVIS_SELECTED, LVIS_SELECTED);
    ScrollToTop(RowOf("n1045.txt"));
    ASSERT_EQ(Name(TopRow()), "n1045.txt");

    // One document comes before them all, one above the rows in view goes.
    {
        auto pMany = System("Many");
        std::unique_ptr<CDocumentRec> pGone(App().GetMainCatalog()->FindPath(DocPath("n1010.txt").c_str()));
        ASSERT_TRUE(pGone);
        ASSERT_TRUE(pMany->DeleteLinks(pGone.get()));
        AddDocument(*App().GetMainCatalog(), *pMany, DocPath("a.txt").c_str());
    }
    CatalogChanged();

    EXPECT_EQ(List().GetItemCount(), MANY);
    EXPECT_EQ(Name(0), "a.txt");
    EXPECT_EQ(RowOf("n1010.txt"), -1);
    EXPECT_EQ(Name(List().GetFocusedRow()), "n1050.txt");
    EXPECT_EQ(SelectedNames(), (std::set<std::string> { "n1050.txt", "n1060.txt" }));
    EXPECT_EQ(Name(TopRow()), "n1045.txt");
    // Every row holds a record of the new sets: the rows read as the catalog does.
    for (int nRow = 1; nRow < List().GetItemCount(); ++nRow)
        EXPECT_LT(Name(nRow - 1).CompareNoCase(Name(nRow)), 0) << nRow;
}

TEST_F(ArqListRefreshTest, ARenamedDocumentKeepsTheFocusAtItsNewPlace)
{
    Show("Letters");
    ASSERT_EQ(Name(0), "Old"); // groups first
    List().SelectOnly(RowOf("b.txt"));
    EndNameEdit(RowOf("b.txt"), "z.txt");
    ASSERT_TRUE(fs::exists(Home() / "docs" / "z.txt"));
    EXPECT_EQ(RowOf("b.txt"), -1);
    EXPECT_EQ(RowOf("z.txt"), List().GetItemCount() - 1);
    EXPECT_EQ(Name(List().GetFocusedRow()), "z.txt");
    EXPECT_EQ(SelectedNames(), (std::set<std::string> { "z.txt" }));
}

TEST_F(ArqListRefreshTest, WhenTheFocusedRowGoesTheRowInItsPlaceTakesFocusAndSelection)
{
    Show("Letters");
    List().SelectOnly(RowOf("c.txt"));
    {
        auto pLetters = System("Letters");
        std::unique_ptr<CDocumentRec> pGone(App().GetMainCatalog()->FindPath(DocPath("c.txt").c_str()));
        ASSERT_TRUE(pGone && pLetters->DeleteLinks(pGone.get()));
    }
    CatalogChanged();
    EXPECT_EQ(RowOf("c.txt"), -1);
    EXPECT_EQ(Name(List().GetFocusedRow()), "d.txt");
    EXPECT_EQ(SelectedNames(), (std::set<std::string> { "d.txt" }));
}
