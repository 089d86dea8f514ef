// The first start with every page of the set-up wizard shown: drive N: is a
// network drive, and the user's home folder (on C:) holds a Mozilla-family
// mail profile whose local folders are copies of the shared real mail
// folders. Each road of the wizard is driven through every page, and the
// catalog and the main window then hold all that was chosen.

#include "tests/app/FirstStartFixture.h"

#include "dialogs/setup/CInstalacaoComputerUsage.h"
#include "dialogs/setup/COrgTreeCtrl.h"
#include "store/CDirectoryRec.h"
#include "store/CMailStoreRec.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// The shared folders of mbox files, as a Mozilla-family client could hold them.
constexpr const char* MBOX_FOLDERS[] = { "mozilla-mbox", "netscape-mbox", "plain-mbox" };
constexpr char PROFILE_MAIL[] = "home/.thunderbird/x1.default/Mail/Local Folders";
constexpr char PROFILE_MAIL_KEY[] = "c:\\home\\.thunderbird\\x1.default\\mail\\local folders\\";

class FirstStartMailTest : public FirstStartTest {
protected:
    void SetUp() override
    {
        FirstStartTest::SetUp();
        const std::optional<fs::path> source = PrepareMailUser();
        if (!source)
            GTEST_SKIP() << "the shared mail folders are absent";
        const fs::path mail = m_drive.Path() / PROFILE_MAIL;
        fs::create_directories(mail);
        for (const char* pszFolder : MBOX_FOLDERS) {
            for (const fs::directory_entry& file : fs::directory_iterator(*source / pszFolder)) {
                fs::copy_file(file.path(), mail / file.path().filename());
                // A mailbox starts with a "From " line, perhaps after a byte
                // order mark; the other files are not mail folders.
                char szStart[8] = {};
                std::ifstream(file.path(), std::ios::binary).read(szStart, sizeof szStart);
                const std::string_view start(szStart, sizeof szStart);
                if (start.starts_with("From ")
                    || start.starts_with("\xEF\xBB\xBF"
                                         "From "))
                    m_mailboxes[file.path().filename().string()] = fs::file_size(file.path());
            }
        }
        ASSERT_GE(m_mailboxes.size(), 2u);
    }

    void WriteNetworkFile(const std::string& strRelative)
    {
        fs::create_directories((m_network.Path() / strRelative).parent_path());
        std::ofstream(m_network.Path() / strRelative) << "text";
    }
    // The mail page: the users it lists and the local folders it shows are
    // kept; the mailboxes named are checked, or every one of them (the whole
    // folder) when none is named; then the organisation type page.
    CDialogScript& ChooseMailFolders(CDialogScript& script, const Names& chosen)
    {
        return script
            .Then([this, chosen](HWND hDlg) {
                for (const CString& strUser : CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_USERS)))
                    m_mailUsers.emplace_back(strUser);
                HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_FOLDERS);
                const HTREEITEM hLocal = CTestDriver::TreeItem(hTree, { "Local Folders" });
                ASSERT_NE(hLocal, nullptr);
                for (const CString& strFolder : CTestDriver::TreeChildren(hTree, hLocal))
                    m_mailShown.emplace_back(strFolder);
                if (chosen.empty()) {
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hLocal));
                }
                for (const std::string& strName : chosen) {
                    const HTREEITEM hMailbox = CTestDriver::TreeItem(hTree, { "Local Folders", strName.c_str() });
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hMailbox)) << strName;
                }
            })
            .Press(ID_WIZNEXT);
    }

    Names MailboxNames() const
    {
        Names names;
        for (const auto& [strName, nSize] : m_mailboxes)
            names.push_back(strName);
        return names;
    }
    // The catalog's mail stores (lower-cased keys), each with the size its first reading recorded.
    std::map<std::string, LONG> CatalogMailStores()
    {
        CCatalog& catalog = *App().GetMainCatalog();
        std::map<std::string, LONG> stores;
        int nIterator = catalog.GetLocationCount();
        for (CString strKey; catalog.NextLocation(&nIterator, strKey);) {
            if (catalog.GetLocationKind(strKey) == LOCATION_NETSCAPE)
                stores[std::string(strKey)] = catalog.GetLocationValue(strKey);
        }
        return stores;
    }
    // What the catalog must hold for the mailboxes named: each read to its end.
    std::map<std::string, LONG> ExpectedMailStores(const Names& names) const
    {
        std::map<std::string, LONG> stores;
        for (const std::string& strName : names) {
            CString strKey = (std::string(PROFILE_MAIL_KEY) + strName).c_str();
            strKey.MakeLower();
            stores[std::string(strKey)] = static_cast<LONG>(m_mailboxes.at(strName));
        }
        return stores;
    }
    // The catalogued mail messages: the store's key to their count.
    std::map<std::string, int> CatalogMessages()
    {
        CCatalog& catalog = *App().GetMainCatalog();
        std::map<std::string, int> messages;
        std::vector<CRecordRef> directories;
        EXPECT_TRUE(catalog.ListRootChain(ROOT_BLOCK_DIRECTORY, &directories));
        for (const CRecordRef& ref : directories) {
            CDirectoryRec directory(&catalog, ref);
            for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
                 pDocument.reset(directory.NextDocument())) {
                // A store's messages lie in a directory named "*<store key>*".
                if (pDocument->IsMail())
                    ++messages[std::string(directory.GetPath().Trim('*'))];
            }
        }
        return messages;
    }
    std::set<std::string> Extensions()
    {
        std::set<std::string> extensions;
        CCatalog& catalog = *App().GetMainCatalog();
        for (CString strExtension = catalog.FirstExtension(); !strExtension.IsEmpty();
             strExtension = catalog.NextExtension())
            extensions.emplace(strExtension);
        return extensions;
    }
    std::map<std::string, std::uintmax_t> m_mailboxes; // the copies that are mailboxes: name to size
    Names m_mailUsers;
    Names m_mailShown;
};

} // namespace

TEST_F(FirstStartMailTest, OrganisationModeKeepsTheGroupsExtensionsLocationsAndMailStores)
{
    WriteFile("docs/a.txt");
    WriteNetworkFile("reports/r.txt");
    CDialogScript script;
    ChooseNetworkLocation(ChooseTextDocuments(script)).Press(ID_WIZNEXT);
    ChooseMailFolders(script, {}).Press(ID_WIZNEXT);
    // Names of the user's own besides the usage's groups.
    ChooseStudentUsage(script);
    script.Check(IDC_SETUP_USE_OWN_NAMES).Then([](HWND hDlg) {
        auto* pPage = dynamic_cast<CInstalacaoComputerUsage*>(
            CWnd::FromHandlePermanent(::GetParent(CTestDriver::FindChild(hDlg, IDC_SETUP_OWN_NAMES))));
        ASSERT_NE(pPage, nullptr);
        pPage->SetOwnNames({ "Acme" });
    });
    FinishFromUsagePage(script, [this](HWND hDlg) {
        // "Applications" chosen in the tree gets a keyword, a folder and the description searched too.
        HWND hPage = ::GetParent(CTestDriver::FindChild(hDlg, IDC_SETUP_NODE_NAME));
        HWND hMirror = ::GetDlgItem(hPage, IDC_SETUP_TREE);
        const HTREEITEM hGroup = CTestDriver::TreeItem(hMirror, { UsageBranchName(), "Applications" });
        ASSERT_NE(hGroup, nullptr);
        EXPECT_TRUE(m_driver.ClickTreeItem(hMirror, hGroup));
        GiveKeywordAndFolder(hDlg, "invoice", "N:\\reports");
        HWND hGroupSheet = ::GetParent(::GetParent(CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST)));
        EXPECT_TRUE(m_driver.ClickTab(reinterpret_cast<HWND>(::SendMessage(hGroupSheet, PSM_GETTABCONTROL, 0, 0)), 1));
        HWND hDescription = CTestDriver::FindChild(hDlg, IDC_SEARCH_DESCRIPTION);
        ASSERT_NE(hDescription, nullptr);
        EXPECT_TRUE(m_driver.Click(hDescription, 4, 4));
    });

    ASSERT_TRUE(Start());
    EXPECT_EQ(m_mailUsers, Names { "default ( Thunderbird )" });
    EXPECT_EQ(m_mailShown, MailboxNames());

    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_FALSE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    const auto branches = pRoot->GetChildren();
    CString strOwnNames;
    strOwnNames.LoadString(IDS_OWN_NAMES_BRANCH);
    ASSERT_EQ(Children(*pRoot), (Names { std::string(strOwnNames), std::string(UsageBranchName()) }));
    // The own names' branch holds the usage file's head lines and the name given.
    const Names own = Children(*branches[0]);
    EXPECT_NE(std::find(own.begin(), own.end(), "Correspondence"), own.end());
    EXPECT_EQ(std::count_if(own.begin(), own.end(), [](const std::string& str) { return str.starts_with("Acme"); }), 1);
    ASSERT_EQ(Children(*branches[1]), StudentGroups());
    const auto groups = branches[1]->GetChildren();
    const auto& pApplications = groups[0];
    EXPECT_EQ(Keywords(*pApplications), Names { "invoice" });
    EXPECT_EQ(Folders(*pApplications), Names { "n:\\reports" });
    CNodeInfo info {};
    pApplications->GetInfo(&info);
    constexpr WORD DESCRIPTION_SEARCHED = 0x04;
    EXPECT_EQ(info.wSearchType, COrgNode::NEW_SEARCH_MASK | DESCRIPTION_SEARCHED);
    EXPECT_TRUE(groups[1]->GetKeywords().empty());
    // Each branch's systems show its picture.
    EXPECT_EQ(branches[0]->GetKind(), 6);
    EXPECT_EQ(branches[1]->GetKind(), 8);
    EXPECT_EQ(pApplications->GetKind(), 8);

    EXPECT_EQ(Extensions(), std::set<std::string> { "txt" });
    ExpectBothPlaces();
    // The first update read the places and every mail store, each with messages.
    const std::map<std::string, LONG> stores = ExpectedMailStores(MailboxNames());
    EXPECT_EQ(CatalogMailStores(), stores);
    std::set<std::string> withMessages;
    for (const auto& [strStore, nCount] : CatalogMessages())
        withMessages.insert(strStore);
    std::set<std::string> storeKeys;
    for (const auto& [strStore, nSize] : stores)
        storeKeys.insert(strStore);
    EXPECT_EQ(withMessages, storeKeys);
    EXPECT_TRUE(IsCatalogued("C:\\docs\\a.txt"));
    EXPECT_TRUE(IsCatalogued("N:\\reports\\r.txt"));

    // The systems tree of the window shows both branches and the usage's groups.
    ASSERT_NE(ActiveView(), nullptr);
    const Names top = TreeTexts(nullptr);
    EXPECT_NE(std::find(top.begin(), top.end(), std::string(strOwnNames)), top.end());
    CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
    const HTREEITEM hBranch = CTestDriver::TreeItem(tree.m_hWnd, { UsageBranchName() });
    ASSERT_NE(hBranch, nullptr);
    tree.Expand(hBranch, TVE_EXPAND);
    m_driver.Pump();
    EXPECT_EQ(TreeTexts(hBranch), StudentGroups());
}

TEST_F(FirstStartMailTest, FolderModeCataloguesTheChosenFoldersAndMailStores)
{
    WriteFile("docs/a.txt");
    WriteFile("other/b.txt");
    WriteNetworkFile("reports/r.txt");
    WriteNetworkFile("old/o.txt");
    const std::string strChosen = "spool-3-messages.mbox";
    ASSERT_TRUE(m_mailboxes.contains(strChosen));
    CDialogScript script;
    ChooseNetworkLocation(ChooseTextDocuments(script)).Press(ID_WIZNEXT);
    ChooseMailFolders(script, { strChosen }).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([this](HWND hDlg) {
        // The folder tree starts at the local drive and at the location.
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        const std::vector<CString> tops = CTestDriver::TreeChildren(hTree, nullptr);
        ASSERT_EQ(tops.size(), 2u);
        for (const CString& strTop : tops) {
            for (const char* pszFolder : { "docs", "reports" }) {
                if (const HTREEITEM hItem = CTestDriver::TreeItem(hTree, { strTop, pszFolder })) {
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hItem)) << pszFolder;
                }
            }
        }
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));

    ASSERT_TRUE(Start());
    EXPECT_EQ(m_mailShown, MailboxNames());
    EXPECT_TRUE(IsCatalogued("C:\\docs\\a.txt"));
    EXPECT_TRUE(IsCatalogued("N:\\reports\\r.txt"));
    EXPECT_FALSE(IsCatalogued("C:\\other\\b.txt"));
    EXPECT_FALSE(IsCatalogued("N:\\old\\o.txt"));
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_FALSE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    const Names systems { "docs", "reports" };
    EXPECT_EQ(Children(*pRoot), systems);

    EXPECT_EQ(Extensions(), std::set<std::string> { "txt" });
    ExpectBothPlaces();
    // Only the mailbox checked is a mail store, read to its end, its three messages catalogued.
    const std::map<std::string, LONG> stores = ExpectedMailStores({ strChosen });
    EXPECT_EQ(CatalogMailStores(), stores);
    EXPECT_EQ(CatalogMessages(), (std::map<std::string, int> { { stores.begin()->first, 3 } }));

    ASSERT_NE(ActiveView(), nullptr);
    const Names top = TreeTexts(nullptr);
    for (const std::string& strSystem : systems)
        EXPECT_NE(std::find(top.begin(), top.end(), strSystem), top.end()) << strSystem;
}
