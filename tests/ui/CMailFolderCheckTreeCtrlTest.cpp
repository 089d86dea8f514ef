#include "ui/CMailFolderCheckTreeCtrl.h"

#include "mail/MailResult.h"
#include "store/CCatalog.h"
#include "store/CMailStoreRec.h"
#include "tests/ui/RecordingUiHost.h"
#include "tests/ui/UiCatalogTest.h"

namespace {

using T = CCheckTreeCtrl;

// A user's folders: Inbox, Sent, and the group Local holding Drafts and Trash.
class CMailFolderCheckTreeCtrlTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        m_host.m_pMainCatalog = m_pCatalog.get();
        ASSERT_TRUE(
            m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, RECT { 0, 0, 300, 200 }, &m_pUi->m_host, 1800));
        m_folders.push_back(Folder("Sent", "C:\\Mail\\Sent"));
        m_folders.push_back(Folder("Inbox", "C:\\Mail\\Inbox"));
        CMailFolderEntry local = Folder("Local", "");
        local.pSubfolders = std::make_unique<CMailFolderArray>();
        local.pSubfolders->push_back(Folder("Trash", "C:\\Mail\\Local.sbd\\Trash"));
        local.pSubfolders->push_back(Folder("Drafts", "C:\\Mail\\Local.sbd\\Drafts"));
        m_folders.push_back(std::move(local));
    }
    void TearDown() override
    {
        m_tree.DestroyWindow();
        UiCatalogTest::TearDown();
    }
    static CMailFolderEntry Folder(const char* pszName, const char* pszMailbox)
    {
        CMailFolderEntry entry;
        entry.strName = pszName;
        entry.strMailbox = pszMailbox;
        entry.dwStoreKind = MAIL_STORE_NETSCAPE;
        return entry;
    }
    HTREEITEM Item(const std::vector<CString>& path) { return CTestDriver::TreeItem(m_tree.m_hWnd, path); }
    // Every record's key and display path.
    std::map<std::string, std::string> Records()
    {
        std::map<std::string, std::string> records;
        for (const auto& [strKey, record] : m_tree.GetPathMap())
            records[std::string(strKey)] = std::string(record.strDisplayPath);
        return records;
    }

    CRecordingUiHost m_host;
    CMailFolderCheckTreeCtrl m_tree;
    CMailFolderArray m_folders;
};

TEST_F(CMailFolderCheckTreeCtrlTest, TheCataloguedMailboxesComeCheckedAndSorted)
{
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, "c:\\mail\\inbox")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(
        m_pCatalog->AddMailStore(LOCATION_OUTLOOK_EXPRESS5, "c:\\mail\\local.sbd\\drafts")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "c:\\docs\\")));
    m_tree.LoadCheckedPaths();
    ASSERT_EQ(m_tree.GetPathMap().size(), 3u);
    EXPECT_EQ(m_tree.GetPathMap().at("c:\\mail\\local.sbd\\drafts").dwStoreKind, DWORD(MAIL_STORE_OE5));
    EXPECT_EQ(m_tree.GetPathMap().at("c:\\docs\\").dwStoreKind, 0xFFFFFFFF);

    m_tree.InsertFolders(m_folders, TVI_ROOT);
    std::vector<std::string> roots;
    for (const CString& strName : CTestDriver::TreeChildren(m_tree.m_hWnd, nullptr))
        roots.emplace_back(strName);
    EXPECT_EQ(roots, (std::vector<std::string> { "Inbox", "Local", "Sent" }));
    EXPECT_EQ(m_tree.GetCheckState(Item({ "Inbox" })), T::STATE_CHECKED);
    EXPECT_EQ(m_tree.GetCheckState(Item({ "Sent" })), T::STATE_UNCHECKED);
    EXPECT_EQ(m_tree.GetCheckState(Item({ "Local", "Drafts" })), T::STATE_CHECKED);
    EXPECT_EQ(m_tree.GetCheckState(Item({ "Local" })), T::STATE_UNCHECKED_PARTLY);
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(m_tree.m_hWnd, Item({ "Local" })));
}

TEST_F(CMailFolderCheckTreeCtrlTest, TheUsersChangesGoBackIntoThePathMap)
{
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, "c:\\mail\\inbox")));
    m_tree.LoadCheckedPaths();
    m_tree.InsertFolders(m_folders, TVI_ROOT);
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "Inbox" }), T::ACTION_CLICK));
    EXPECT_EQ(m_tree.GetCheckState(Item({ "Inbox" })), T::STATE_UNCHECKED) << "no exclusion here";
    EXPECT_FALSE(m_tree.ApplyCheckAction(Item({ "Sent" }), T::ACTION_EXCLUDE));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item({ "Local" }), T::ACTION_CHECK));
    m_tree.CollectCheckedPaths(TVI_ROOT, "Mozilla");
    EXPECT_EQ(Records(),
        (std::map<std::string, std::string> {
            { "c:\\mail\\local.sbd\\drafts", "Mozilla\\Local\\Drafts" },
            { "c:\\mail\\local.sbd\\trash", "Mozilla\\Local\\Trash" },
        }))
        << "the unchecked inbox lost its record; the group has none";
}

} // namespace
