#include "dialogs/setup/CInstalacaoPropertySheet.h"

#include "frame/SetupResults.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/dialogs/setup/SetupWizardTest.h"
#include "ui/CCheckTreeCtrl.h"

#include "platform/controls/PropertySheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class CInstalacaoPropertySheetTest : public SetupWizardTest {
protected:
    // The wizard's first two pages: Text Document checked.
    void ChooseTextDocuments(CDialogScript& script)
    {
        script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
    }

    static std::set<std::string> Keys(const CMapStringToPtr& map)
    {
        std::set<std::string> keys;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            CString strKey;
            void* pValue = nullptr;
            map.GetNextAssoc(pos, strKey, pValue);
            keys.emplace(strKey);
        }
        return keys;
    }
    // Picks the location at rows from the locations page's add button.
    std::function<void(HWND)> PickLocation(const std::vector<std::string>& rows)
    {
        return
            [this, rows](HWND hDlg) { PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), rows); };
    }
    static Texts Names(const COrgItem& item)
    {
        Texts names;
        for (const auto& pChild : item.children)
            names.emplace_back(pChild->strName);
        return names;
    }
};

} // namespace

TEST_F(CInstalacaoPropertySheetTest, TheOrganisationRoadBuildsBothBranchesAndBackKeepsTheChoices)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    Texts usageBranch;
    Texts ownBranch;
    CDialogScript script;
    ChooseTextDocuments(script);
    // The mode page: organisation mode is the default. The usage page refuses
    // Next without a choice, then takes the usage "Home" and an own name.
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_USE_USAGE).Press(ID_WIZNEXT);
    script.Then([&](HWND hDlg) {
        const std::vector<CString> usages = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES));
        ASSERT_FALSE(usages.empty());
        EXPECT_EQ(usages.back(), Text(IDS_GENERAL_USAGE));
        for (std::size_t i = 0; i < usages.size(); ++i) {
            if (usages[i] == CString("Home"))
                ClickCheckLine(IDC_SETUP_USAGES, static_cast<int>(i))(hDlg);
        }
        sheet.GetUsagePage().SetOwnNames({ "Acme" });
    });
    script.Check(IDC_SETUP_USE_OWN_NAMES).Press(ID_WIZNEXT);
    script.Then([&](HWND hDlg) {
        usageBranch = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_USAGE_BRANCH) });
        ownBranch = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
    });
    // Back to the usage page and forth again keeps both branches; the
    // keywords page asks before going on without keywords or folders.
    script.Press(ID_WIZBACK).Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZNEXT);
    script.Press(ID_WIZBACK).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);
    AnswerMessage(IDOK);
    AnswerMessage(IDOK);
    AnswerMessage(IDYES);
    AnswerMessage(IDYES);

    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(m_messages,
        (std::vector<CString> {
            Text(IDS_CHOOSE_USAGE_KIND), Text(IDS_NO_USAGE), Text(IDS_NO_CRITERIA), Text(IDS_NO_CRITERIA) }));
    const Texts homeGroups { "Bank and insurance", "Family", "Health", "House and car", "Taxes", "Travel" };
    EXPECT_EQ(usageBranch, homeGroups);
    EXPECT_EQ(ownBranch, (Texts { "Acme documents", "Correspondence", "Finance", "Personal", "Projects" }));

    EXPECT_FALSE(results.bFolderMode);
    ASSERT_TRUE(results.pUsageBranch && results.pCustomBranch);
    EXPECT_EQ(std::string(results.pUsageBranch->strName), std::string(Text(IDS_USAGE_BRANCH)));
    EXPECT_EQ(Names(*results.pUsageBranch), homeGroups);
    EXPECT_EQ(Names(*results.pCustomBranch), ownBranch);
    EXPECT_EQ(results.pCustomBranch->children[0]->wSearchMask, COrgNode::NEW_SEARCH_MASK);
    EXPECT_TRUE(results.checkedFolders.IsEmpty() && results.partlyCheckedFolders.IsEmpty());
    std::set<std::string> extensions;
    for (int i = 0; i < results.extensions.GetSize(); ++i)
        extensions.emplace(results.extensions[i]);
    EXPECT_EQ(extensions, (std::set<std::string> { ".text", ".txt" }));
    EXPECT_EQ(results.nPlaceChoice, 1);
    EXPECT_EQ(results.networkPlaces.GetSize(), 0);
    EXPECT_TRUE(results.mailFolders.empty());
    EXPECT_FALSE(results.bLocationPagePresent);
}

TEST_F(CInstalacaoPropertySheetTest, TheFolderRoadListsFoldersWithChosenDocumentsAndReturnsToTheFolderPage)
{
    WriteFile("docs/letters/a.txt");
    WriteFile("docs/b.odt");
    WriteFile("pictures/c.odt");
    WriteFile("temp/~d.txt");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    Texts folders;
    CDialogScript script;
    ChooseTextDocuments(script);
    script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([&](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        const HTREEITEM hDrive = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        folders = TreeTexts(hDlg, IDC_SETUP_FOLDER_TREE, { ItemText(hTree, hDrive) });
    });
    // Next needs a checked folder.
    script.Press(ID_WIZNEXT).Then(CheckFolder({ "docs" })).Press(ID_WIZNEXT);
    script.Press(ID_WIZBACK).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);
    AnswerMessage(IDOK);

    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(folders, Texts { "docs" }) << "only folders holding text documents, temporary files left out";
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_NO_FOLDER_CHECKED) });
    EXPECT_TRUE(results.bFolderMode);
    EXPECT_EQ(Keys(results.checkedFolders), std::set<std::string> { "c:\\docs" });
    EXPECT_TRUE(results.partlyCheckedFolders.IsEmpty());
    EXPECT_FALSE(results.pCustomBranch || results.pUsageBranch);
    EXPECT_EQ(results.extensions.GetSize(), 2);
    EXPECT_EQ(results.nPlaceChoice, 1);
    EXPECT_EQ(results.networkPlaces.GetSize(), 0);
    EXPECT_TRUE(results.mailFolders.empty());
    EXPECT_FALSE(results.bLocationPagePresent);
}

TEST_F(CInstalacaoPropertySheetTest, GroupsChosenAfterComingBackFromTheFolderRoadTakeTheGroupRoad)
{
    WriteFile("docs/a.txt");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    CDialogScript script;
    ChooseTextDocuments(script);
    script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT).Press(ID_WIZBACK);
    // The two modes are one group of radios: choosing one clears the other.
    script.Check(IDC_SETUP_ORGANISATION_MODE).Then([](HWND hDlg) {
        EXPECT_FALSE(CTestDriver::IsChecked(CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_MODE)));
    });
    script.Press(ID_WIZNEXT).Then([&sheet](HWND) { EXPECT_EQ(sheet.GetActivePage(), &sheet.GetUsagePage()); });
    script.Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(CInstalacaoPropertySheetTest, CancelOnAnyPageEndsWithoutResults)
{
    for (int nPages = 0; nPages < 4; ++nPages) {
        CSetupResults results;
        CInstalacaoPropertySheet sheet(results);
        CDialogScript script;
        if (nPages >= 1)
            script.Press(ID_WIZNEXT);
        if (nPages >= 2)
            script.Then(ClickCheckLine(IDC_DOC_TYPES, 1)).Press(ID_WIZNEXT);
        if (nPages >= 3)
            script.Press(ID_WIZNEXT);
        script.Press(IDCANCEL);
        Answer(script);
        EXPECT_EQ(sheet.DoModal(), IDCANCEL) << nPages;
        EXPECT_EQ(results.extensions.GetSize(), 0) << nPages;
    }
}

TEST_F(CInstalacaoPropertySheetTest, NetworkLocationsReachTheFolderTreeAndTheResults)
{
    AddDrive('N', DRIVE_REMOTE);
    std::filesystem::create_directories(Root().parent_path() / "N" / "docs");
    std::ofstream(Root().parent_path() / "N" / "docs" / "a.txt") << "x";
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    ASSERT_TRUE(sheet.HasLocationPage());
    Texts listed;
    Texts topItems;
    CDialogScript script;
    ChooseTextDocuments(script);
    // Neither kind, then network locations without a location, are refused;
    // a location picked twice is listed once.
    script.Then([&](HWND hDlg) { EXPECT_FALSE(::IsWindowVisible(CTestDriver::FindChild(hDlg, IDC_SETUP_ADD))); });
    script.Uncheck(IDC_SETUP_LOCAL_DRIVES).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_NETWORK).Press(ID_WIZNEXT);
    script.Then(PickLocation({ "N (n:)" })).Then(PickLocation({ "N (n:)" }));
    // A location picked and removed again is gone.
    script.Then(PickLocation({ "N (n:)", "docs" })).SelectListRow(IDC_SETUP_LOCATION_LIST, "n:\\docs");
    script.Press(IDC_SETUP_REMOVE);
    script.Then([&](HWND hDlg) {
        for (const std::vector<CString>& row :
            CTestDriver::ListRows(CTestDriver::FindChild(hDlg, IDC_SETUP_LOCATION_LIST)))
            listed.emplace_back(row.at(0));
    });
    script.Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([&](HWND hDlg) {
        topItems = TreeTexts(hDlg, IDC_SETUP_FOLDER_TREE, {});
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        const HTREEITEM hTop = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        const HTREEITEM hDocs = CTestDriver::TreeItem(hTree, { ItemText(hTree, hTop), "docs" });
        ASSERT_NE(hDocs, nullptr) << ItemText(hTree, hTop);
        EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hDocs));
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);
    AnswerMessage(IDOK);
    AnswerMessage(IDOK);

    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(m_messages, (std::vector<CString> { Text(IDS_NO_LOCATION_KIND), Text(IDS_NO_NETWORK_LOCATION) }));
    EXPECT_EQ(listed, Texts { "n:\\" });
    EXPECT_EQ(topItems.size(), 1u) << "only the location, no local drive: " << (topItems.empty() ? "" : topItems[0]);
    EXPECT_EQ(results.nPlaceChoice, CInstalacaoLocation::MODE_NETWORK);
    EXPECT_TRUE(results.bLocationPagePresent);
    ASSERT_EQ(results.networkPlaces.GetSize(), 1);
    EXPECT_EQ(std::string(results.networkPlaces[0]), "n:\\");
    EXPECT_EQ(Keys(results.checkedFolders).size(), 1u);
}

TEST_F(CInstalacaoPropertySheetTest, TheMailFoldersCheckedReachTheResults)
{
    WriteFile("docs/a.txt");
    WriteFile("mail/ana/Mail/Inbox", "From a@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
    WriteFile("mail/ana/Mail/Sent", "From a@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
    AddNetscapeUser("ana", "C:\\mail\\ana");
    WriteFile("mail/bo/Mail/Inbox", "From b@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
    AddNetscapeUser("bo", "C:\\mail\\bo");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    ASSERT_TRUE(sheet.HasMailPage());
    EXPECT_FALSE(sheet.HasLocationPage());
    std::vector<CString> users;
    Texts folders;
    CDialogScript script;
    ChooseTextDocuments(script);
    const auto checkInbox = [this](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_FOLDERS);
        const HTREEITEM hInbox = CTestDriver::TreeItem(hTree, { "Inbox" });
        ASSERT_NE(hInbox, nullptr);
        EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hInbox));
    };
    script.Then([&](HWND hDlg) {
        users = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_USERS));
        folders = TreeTexts(hDlg, IDC_SETUP_MAIL_FOLDERS, {});
    });
    // A check given to the first user is kept while the second one's folders show.
    script.Then(checkInbox).Select(IDC_SETUP_MAIL_USERS, 1).Then(checkInbox);
    script.Select(IDC_SETUP_MAIL_USERS, 0).Then([&](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_FOLDERS);
        EXPECT_EQ(CTestDriver::TreeStateImage(hTree, CTestDriver::TreeItem(hTree, { "Inbox" })),
            static_cast<UINT>(CCheckTreeCtrl::STATE_CHECKED));
    });
    script.Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT).Then(CheckFolder({ "docs" }));
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);

    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].Left(6), CString("ana ( "));
    EXPECT_EQ(folders, (Texts { "Inbox", "Sent" }));
    std::set<std::string> paths;
    for (const auto& folder : results.mailFolders) {
        paths.emplace(folder.strPath);
        EXPECT_EQ(folder.nStoreKind, MAIL_STORE_NETSCAPE);
    }
    EXPECT_EQ(paths, (std::set<std::string> { "c:\\mail\\ana\\mail\\inbox", "c:\\mail\\bo\\mail\\inbox" }));
    EXPECT_EQ(results.nPlaceChoice, CInstalacaoLocation::MODE_LOCAL);
    EXPECT_FALSE(results.bLocationPagePresent);
}
