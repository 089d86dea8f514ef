#include "ui/CShellFolderListCtrl.h"

#include "catalog/ShellItemIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/UiTestSupport.h"

#include <filesystem>
#include <fstream>

namespace {

enum Column { NAME, SIZE, TYPE, MODIFIED };

// A folder list over drive C:, a temporary tree, with the four columns.
class CShellFolderListCtrlTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        m_pUi = std::make_unique<CUiHarness>();
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT { 0, 0, 380, 280 }, &m_pUi->m_host, 1600));
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
        ASSERT_TRUE(m_list.Initialize());
        EXPECT_TRUE(m_list.GetStyle() & LVS_SHAREIMAGELISTS);
        m_list.InsertColumn(NAME, 120, IDS_SHELL_LIST_NAME, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        m_list.InsertColumn(SIZE, 80, IDS_SHELL_LIST_SIZE, FALSE, GRID_COLUMN_TEXT, LVCFMT_RIGHT);
        m_list.InsertColumn(TYPE, 80, IDS_SHELL_LIST_TYPE, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        m_list.InsertColumn(MODIFIED, 100, IDS_SHELL_LIST_MODIFIED, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        MakeFolder("Alpha");
        MakeFolder("b folder");
        WriteFile("a.txt", "x");
        WriteFile("EMPTY.TXT", "");
        WriteFile("zeta.doc", "some words");
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
        m_pUi.reset();
        DriveTreeTest::TearDown();
    }
    void Fill(const char* pszMask)
    {
        LPITEMIDLIST pidl = nullptr;
        ASSERT_EQ(PathToPIDL("C:\\", &pidl, nullptr), S_OK);
        m_list.Fill(pidl, pszMask, TRUE);
        CoTaskMemFree(pidl);
    }
    std::vector<std::string> Column(int nColumn) const
    {
        std::vector<std::string> texts;
        for (int nItem = 0; nItem < m_list.GetItemCount(); ++nItem)
            texts.emplace_back(m_list.GetItemText(nItem, nColumn));
        return texts;
    }

    std::unique_ptr<CUiHarness> m_pUi;
    CShellFolderListCtrl m_list;
};

TEST_F(CShellFolderListCtrlTest, FoldersComeFirstAndFilesFollowTheMask)
{
    Fill("*.txt");
    EXPECT_EQ(Column(NAME), (std::vector<std::string> { "Alpha", "B folder", "A.txt", "Empty.txt" }));
    Fill("*");
    EXPECT_EQ(Column(NAME), (std::vector<std::string> { "Alpha", "B folder", "A.txt", "Empty.txt", "Zeta.doc" }));
    EXPECT_EQ(m_list.GetMask(), "*");
    Fill("*.pdf");
    EXPECT_EQ(Column(NAME), (std::vector<std::string> { "Alpha", "B folder" })) << "folders whatever the mask";
}

TEST_F(CShellFolderListCtrlTest, SizesAreWholeKilobytesRoundedUpAndFoldersHaveNone)
{
    Fill("*");
    EXPECT_EQ(Column(SIZE), (std::vector<std::string> { "", "", "1KB", "0KB", "1KB" }));
    EXPECT_FALSE(Column(TYPE)[2].empty());
    EXPECT_FALSE(Column(MODIFIED)[2].empty());
    EXPECT_EQ(CShellFolderListCtrl::SizeText(1024), "1KB");
    EXPECT_EQ(CShellFolderListCtrl::SizeText(1025), "2KB");
}

TEST_F(CShellFolderListCtrlTest, FilesOfFourGigabytesAndMoreShowTheirWholeSize)
{
    {
        std::ofstream sparse(Root() / "big.bin", std::ios::binary);
        sparse.seekp((5LL << 30) - 1);
        sparse.put('\0');
    }
    Fill("*.bin");
    ASSERT_EQ(Column(NAME).back(), "Big.bin");
    EXPECT_EQ(Column(SIZE).back(), "5242880KB");
}

TEST_F(CShellFolderListCtrlTest, RowsOwnTheirItemsUntilCleared)
{
    Fill("*");
    ASSERT_EQ(m_list.GetItemCount(), 5);
    const CInfoPIDL* pItem = m_list.GetShellItem(0);
    ASSERT_NE(pItem, nullptr);
    EXPECT_NE(pItem->m_pFolder, nullptr);
    EXPECT_NE(pItem->m_pidlAbsolute, nullptr);
    EXPECT_EQ(m_list.GetShellItem(5), nullptr);
    m_list.ClearItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    Fill("*");
    EXPECT_EQ(m_list.GetItemCount(), 5) << "a second fill replaces the rows";
}

TEST_F(CShellFolderListCtrlTest, RowsInsertedByPathShowTheirOwnFolders)
{
    WriteFile("Alpha/deep.txt", "d");
    const int nFolderColumn = m_list.InsertColumn(4, 100, IDS_SHELL_LIST_FOLDER, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
    EXPECT_EQ(m_list.InsertPath(0, "C:\\Alpha\\deep.txt"), 0);
    EXPECT_EQ(m_list.InsertPath(1, "C:\\zeta.doc"), 1);
    EXPECT_EQ(m_list.InsertPath(2, "C:\\missing.txt"), -1);
    EXPECT_EQ(Column(NAME), (std::vector<std::string> { "Deep.txt", "Zeta.doc" }));
    EXPECT_EQ(Column(nFolderColumn), (std::vector<std::string> { "C:\\Alpha", "C:\\" }));
    EXPECT_EQ(Column(SIZE), (std::vector<std::string> { "1KB", "1KB" }));
}

} // namespace
