#include "ui/CCheckExplorerTreeCtrl.h"

#include "platform/controls/ListViewControl.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/UiTestSupport.h"

#include <map>

namespace {

using T = CCheckTreeCtrl;

// An explorer tree over drive C:, a temporary tree:
//
//   docs/a.txt, docs/letters/b.doc, docs/empty/
//   music/song.mp3
//   tmp/~draft.txt, tmp/old.tmp
class CCheckExplorerTreeCtrlTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        // The host's files (the program's resources, the pictures) stay
        // reachable through a drive that is no tree root.
        ASSERT_TRUE(SetDriveOverride('Z', "/", DRIVE_CDROM));
        m_pUi = std::make_unique<CUiHarness>();
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
            RECT { 0, 0, 300, 280 }, &m_pUi->m_host, 1700));
        m_tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
        m_tree.InitImageLists();
        WriteFile("docs/a.txt");
        WriteFile("docs/letters/b.doc");
        MakeFolder("docs/empty");
        WriteFile("music/song.mp3");
        WriteFile("tmp/~draft.txt");
        WriteFile("tmp/old.tmp");
        m_extensions.SetAt("txt", nullptr);
        m_extensions.SetAt("doc", nullptr);
    }
    void TearDown() override
    {
        m_tree.DestroyWindow();
        m_pUi.reset();
        DriveTreeTest::TearDown();
    }
    // The item at a path of texts below the drive root ("docs", "letters").
    HTREEITEM Item(std::vector<CString> path)
    {
        HTREEITEM hRoot = m_tree.GetRootItem();
        if (path.empty())
            return hRoot;
        path.insert(path.begin(), m_tree.GetItemText(hRoot));
        return CTestDriver::TreeItem(m_tree.m_hWnd, path);
    }
    std::vector<std::string> Children(HTREEITEM hItem)
    {
        std::vector<std::string> names;
        for (const CString& strName : CTestDriver::TreeChildren(m_tree.m_hWnd, hItem))
            names.emplace_back(strName);
        return names;
    }
    void Expand(HTREEITEM hItem) { m_tree.Expand(hItem, TVE_EXPAND); }
    static std::map<std::string, INT_PTR> Entries(CMapStringToPtr& map)
    {
        std::map<std::string, INT_PTR> entries;
        for (POSITION position = map.GetStartPosition(); position;) {
            CString strKey;
            void* pValue = nullptr;
            map.GetNextAssoc(position, strKey, pValue);
            entries[std::string(strKey)] = reinterpret_cast<INT_PTR>(pValue);
        }
        return entries;
    }

    std::unique_ptr<CUiHarness> m_pUi;
    CCheckExplorerTreeCtrl m_tree;
    CMapStringToPtr m_extensions;
};

TEST_F(CCheckExplorerTreeCtrlTest, OnlyFixedDrivesAreRootsAndFoldersFillOnFirstExpansion)
{
    AddDrive('E', DRIVE_REMOVABLE);
    AddDrive('N', DRIVE_REMOTE);
    m_tree.FillDrives();
    HTREEITEM hRoot = m_tree.GetRootItem();
    ASSERT_NE(hRoot, nullptr);
    EXPECT_EQ(m_tree.GetNextSiblingItem(hRoot), nullptr) << "only C: is fixed";
    EXPECT_EQ(std::string(m_tree.GetItemPath(hRoot)), "c:\\");
    EXPECT_EQ(m_tree.GetCheckState(hRoot), T::STATE_NONE);
    EXPECT_EQ(Children(hRoot), std::vector<std::string> { CCheckExplorerTreeCtrl::DUMMY_TEXT });
    Expand(hRoot);
    EXPECT_EQ(Children(hRoot), (std::vector<std::string> { "docs", "music", "tmp" }));
    EXPECT_EQ(Children(Item({ "docs" })), std::vector<std::string> { CCheckExplorerTreeCtrl::DUMMY_TEXT })
        << "a button before it is opened";
    EXPECT_TRUE(Children(Item({ "music" })).empty()) << "no sub-folders, no button";
    EXPECT_EQ(std::string(m_tree.GetItemPath(Item({ "docs" }))), "c:\\docs");

    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "docs" }), T::ACTION_CHECK));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "tmp" }), T::ACTION_CHECK));
    Expand(Item({ "docs" }));
    EXPECT_EQ(Children(Item({ "docs" })), (std::vector<std::string> { "empty", "letters" }));
    EXPECT_EQ(m_tree.GetCheckState(Item({ "docs", "letters" })), T::STATE_CHECKED) << "under a checked folder";
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "docs", "empty" }), T::ACTION_UNCHECK));
    ASSERT_EQ(m_tree.GetCheckState(Item({ "docs" })), T::STATE_CHECKED_PARTLY);
    Expand(Item({ "docs", "letters" }));
    EXPECT_TRUE(Children(Item({ "docs", "letters" })).empty());
}

TEST_F(CCheckExplorerTreeCtrlTest, TheFilterListsFoldersHoldingWantedDocumentsAndMasksLeaveFilesOut)
{
    m_tree.SetExtensionMap(&m_extensions);
    m_tree.GetFileMasks().Add("~*.*");
    m_tree.GetFileMasks().Add("*.tmp");
    m_tree.FillDrives();
    Expand(m_tree.GetRootItem());
    EXPECT_EQ(Children(m_tree.GetRootItem()), std::vector<std::string> { "docs" })
        << "music holds no wanted type, tmp only temporary files";
    Expand(Item({ "docs" }));
    EXPECT_EQ(Children(Item({ "docs" })), std::vector<std::string> { "letters" });

    CCheckExplorerTreeCtrl other;
    ASSERT_TRUE(other.Create(WS_CHILD | TVS_HASBUTTONS, RECT { 0, 0, 100, 100 }, &m_pUi->m_host, 1701));
    other.SetExtensionMap(&m_extensions);
    other.GetLeaveOutMap().SetAt("c:\\docs\\letters", nullptr);
    other.FillDrives();
    other.Expand(other.GetRootItem(), TVE_EXPAND);
    HTREEITEM hDocs = CTestDriver::TreeItem(other.m_hWnd, { other.GetItemText(other.GetRootItem()), "docs" });
    ASSERT_NE(hDocs, nullptr) << "a.txt, and tmp/~draft.txt without masks";
    other.Expand(hDocs, TVE_EXPAND);
    EXPECT_EQ(other.GetChildItem(hDocs), nullptr) << "the left-out folder";
    EXPECT_NE(CTestDriver::TreeItem(other.m_hWnd, { other.GetItemText(other.GetRootItem()), "tmp" }), nullptr);
    other.DestroyWindow();
}

TEST_F(CCheckExplorerTreeCtrlTest, TheFilterJudgesAFileByItsOwnNameWhereverItLies)
{
    // The file's whole path is longer than a path may be, its name short.
    const std::string strLong(90, 'n');
    WriteFile("deep/" + strLong + "/" + strLong + "/" + strLong + "/report.txt");
    m_tree.SetExtensionMap(&m_extensions);
    m_tree.FillDrives();
    Expand(m_tree.GetRootItem());
    EXPECT_EQ(Children(m_tree.GetRootItem()), (std::vector<std::string> { "deep", "docs", "tmp" }));
}

TEST_F(CCheckExplorerTreeCtrlTest, CheckedAndExcludedFoldersAreCollectedAndRestored)
{
    m_tree.FillDrives();
    Expand(m_tree.GetRootItem());
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "docs" }), T::ACTION_CHECK));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "music" }), T::ACTION_CHECK));
    Expand(Item({ "docs" }));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "docs", "letters" }), T::ACTION_EXCLUDE));
    CMapStringToPtr checked;
    CMapStringToPtr excluded;
    m_tree.CollectState3Paths(checked);
    m_tree.CollectState1Paths(excluded);
    EXPECT_EQ(Entries(checked),
        (std::map<std::string, INT_PTR> { { "c:\\docs", 0 }, { "c:\\docs\\empty", 1 }, { "c:\\music", 1 } }))
        << "an opened, partly checked folder lets its sub-folders decide";
    EXPECT_EQ(Entries(excluded), (std::map<std::string, INT_PTR> { { "c:\\docs\\letters", 0 } }));

    CCheckExplorerTreeCtrl restored;
    ASSERT_TRUE(restored.Create(WS_CHILD | TVS_HASBUTTONS, RECT { 0, 0, 100, 100 }, &m_pUi->m_host, 1702));
    CMapStringToPtr paths;
    paths.SetAt("C:\\DOCS\\Letters", nullptr);
    paths.SetAt("c:\\gone\\away", nullptr);
    restored.RestoreCheckedPaths(paths);
    HTREEITEM hRoot = restored.GetRootItem();
    ASSERT_NE(hRoot, nullptr);
    const CString strDrive = restored.GetItemText(hRoot);
    HTREEITEM hLetters = CTestDriver::TreeItem(restored.m_hWnd, { strDrive, "docs", "letters" });
    ASSERT_NE(hLetters, nullptr);
    EXPECT_EQ(std::string(restored.GetItemPath(hLetters)), "c:\\docs\\letters");
    EXPECT_NE(CTestDriver::TreeItem(restored.m_hWnd, { strDrive, "music" }), nullptr)
        << "the folders opened on the way list all their folders";
    EXPECT_NE(CTestDriver::TreeItem(restored.m_hWnd, { strDrive, "docs", "empty" }), nullptr);
    EXPECT_EQ(CTestDriver::TreeItem(restored.m_hWnd, { strDrive, "gone" }), nullptr);
    EXPECT_TRUE(
        CTestDriver::IsTreeExpanded(restored.m_hWnd, CTestDriver::TreeItem(restored.m_hWnd, { strDrive, "docs" })))
        << "made visible";
    restored.DestroyWindow();
}

TEST_F(CCheckExplorerTreeCtrlTest, ANetworkDriveListsEveryFolderAndExcludesNothing)
{
    AddDrive('N', DRIVE_REMOTE);
    const std::filesystem::path share = Root().parent_path() / "N";
    std::filesystem::create_directories(share / "plain");
    std::filesystem::create_directories(share / "other");
    m_tree.SetExtensionMap(&m_extensions);
    CMapStringToPtr paths;
    paths.SetAt("n:\\plain", nullptr);
    m_tree.RestoreCheckedPaths(paths);
    HTREEITEM hRoot = m_tree.GetRootItem();
    ASSERT_NE(hRoot, nullptr);
    EXPECT_EQ(std::string(m_tree.GetItemPath(hRoot)), "n:\\");
    EXPECT_EQ(Children(hRoot), (std::vector<std::string> { "other", "plain" })) << "despite the filter";
    HTREEITEM hPlain = m_tree.GetChildItem(hRoot);
    ASSERT_TRUE(m_tree.ApplyCheckAction(hPlain, T::ACTION_CHECK));
    EXPECT_FALSE(m_tree.ApplyCheckAction(hPlain, T::ACTION_EXCLUDE));
    ASSERT_TRUE(m_tree.ApplyCheckAction(hPlain, T::ACTION_CLICK));
    EXPECT_EQ(m_tree.GetCheckState(hPlain), T::STATE_UNCHECKED) << "a click unchecks instead of excluding";
    EXPECT_TRUE(m_tree.IsExclusionAllowed()) << "for the fixed drives";
}

TEST_F(CCheckExplorerTreeCtrlTest, ACancelledFillStopsWithTheFolderPartlyFilled)
{
    m_tree.FillDrives();
    CDlgAnimatedProgress& progress = m_tree.GetProgressDialog();
    ASSERT_TRUE(progress.Show());
    progress.PostMessage(WM_COMMAND, IDCANCEL);
    m_pUi->m_driver.AnswerNextMessageBox(IDYES);
    Expand(m_tree.GetRootItem());
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_LT(Children(m_tree.GetRootItem()).size(), 3u);
    EXPECT_NE(m_tree.GetItemState(m_tree.GetRootItem(), TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE, 0u)
        << "not filled again";
    progress.Close();
}

TEST_F(CCheckExplorerTreeCtrlTest, LooksInEveryCheckState)
{
    for (const char* pszName : { "excluded", "unchecked", "partly checked", "partly unchecked", "checked" })
        MakeFolder(std::string("states/") + pszName);
    m_tree.FillDrives();
    Expand(m_tree.GetRootItem());
    HTREEITEM hStates = Item({ "states" });
    Expand(hStates);
    const std::map<std::string, int> states { { "excluded", T::STATE_EXCLUDED }, { "unchecked", T::STATE_UNCHECKED },
        { "partly checked", T::STATE_CHECKED_PARTLY }, { "partly unchecked", T::STATE_UNCHECKED_PARTLY },
        { "checked", T::STATE_CHECKED } };
    for (const auto& [strName, nState] : states)
        m_tree.SetCheckState(Item({ "states", strName.c_str() }), nState);
    m_tree.SetCheckState(hStates, T::STATE_UNCHECKED_PARTLY);
    for (const char* pszName : { "docs", "music", "tmp" })
        m_tree.DeleteItem(Item({ pszName }));
    m_tree.SetWindowPos(nullptr, 0, 0, 220, 150, SWP_NOZORDER | SWP_NOMOVE);
    m_tree.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_pUi->m_driver.Pump();
    m_pUi->ExpectWindowMatches(m_tree.GetSafeHwnd(), "check_tree_states.png");
}

} // namespace
