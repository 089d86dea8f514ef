// The set-up wizard leaves no trace when the user gives up: Cancel, or Esc,
// on any page of either road, with every page present (a network drive gives
// the locations page, a mail user the mail page). On Set Up Again the catalog
// files and the settings stay as they were and the catalog's views show
// again; on a first start the catalog stays not set up, so the next start
// asks again. Each page gets the choices a user makes there before giving up.

#include "catalog/CPendingDocs.h"
#include "dialogs/CDialogPrompts.h"
#include "frame/AppGlobals.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/support/ScopedVariable.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/DriveTable.h"
#include "platform/base/Registry.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/CTreeCtrl.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/Focus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum class ERoad { Organisation, Folder };
enum class EEnding { CancelButton, EscapeKey };

// The page the user gives up on, by its place on the road.
struct CCancelCase {
    ERoad eRoad;
    int nPage;
    EEnding eEnding;
};

// The organisation road's pages, then the pages the folder road has of its own.
const char* const ORGANISATION_PAGES[]
    = { "Welcome", "Documents", "Locations", "Mail", "Mode", "Usage", "Organisation", "Keywords", "Final" };
const char* const FOLDER_PAGES[] = { "Welcome", "Documents", "Locations", "Mail", "Mode", "Folders", "Final" };
// The pages before the mode page are the same on both roads.
constexpr int MODE_PAGE = 4;

// Every value below a key, "subkey\\name" -> type and bytes.
using RegistryValues = std::map<std::string, std::pair<DWORD, std::vector<BYTE>>>;

void ReadValues(HKEY hKey, const std::string& strPrefix, RegistryValues& values)
{
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[256];
        DWORD cchName = sizeof szName;
        DWORD dwType = 0;
        DWORD cbData = 0;
        if (RegEnumValue(hKey, dwIndex, szName, &cchName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(cbData);
        cchName = sizeof szName;
        RegEnumValue(hKey, dwIndex, szName, &cchName, nullptr, &dwType, data.data(), &cbData);
        values[strPrefix + szName] = { dwType, data };
    }
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[256];
        DWORD cchName = sizeof szName;
        if (RegEnumKeyEx(hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY hSubKey = nullptr;
        if (RegOpenKeyEx(hKey, szName, 0, KEY_READ, &hSubKey) == ERROR_SUCCESS) {
            ReadValues(hSubKey, strPrefix + szName + "\\", values);
            RegCloseKey(hSubKey);
        }
    }
}

RegistryValues ProductKeyValues()
{
    RegistryValues values;
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, PRODUCT_KEY_PATH, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        ReadValues(hKey, "", values);
        RegCloseKey(hKey);
    }
    return values;
}

// The values that differ between two readings: "-name" gone, "+name" new, "~name" changed.
std::vector<std::string> ChangedValues(const RegistryValues& before, const RegistryValues& after)
{
    std::vector<std::string> changed;
    for (const auto& [strName, value] : before) {
        const auto found = after.find(strName);
        if (found == after.end() || found->second != value)
            changed.push_back((found == after.end() ? "-" : "~") + strName);
    }
    for (const auto& [strName, value] : after) {
        if (!before.count(strName))
            changed.push_back("+" + strName);
    }
    return changed;
}

class SetupCancelTest
    : public AppTest
    , public ::testing::WithParamInterface<CCancelCase> {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // C: is the program folder, so its catalog files are program paths;
        // N: is a network drive (the locations page shows); no mail client
        // of the host is seen, only the Netscape user made here (the mail page shows).
        m_pUserHome = std::make_unique<ScopedVariable>("HOME", m_userHome.Path().string());
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        ASSERT_TRUE(SetDriveOverride('C', Home().c_str(), DRIVE_FIXED));
        ASSERT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
        SetFileType(".txt", "txtfile", "Text Document", true);
        WriteFile("docs/a.txt", "text");
        WriteFile("mail/ana/Mail/Inbox", "From a@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\ana", 0, nullptr,
                      0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        const char szRoot[] = "C:\\mail\\ana";
        RegSetValueEx(hKey, "DirRoot", 0, REG_SZ, reinterpret_cast<const BYTE*>(szRoot), sizeof szRoot);
        RegCloseKey(hKey);
        m_dialogPrompts.emplace();
    }
    void TearDown() override
    {
        Stop();
        m_dialogPrompts.reset();
        for (const CString& strError : m_driver.ScriptErrors())
            ADD_FAILURE() << strError;
        ResetDriveTable();
        m_pUserHome.reset();
        AppTest::TearDown();
    }

    void WriteFile(const std::string& strRelative, const std::string& strContents) const
    {
        fs::create_directories((Home() / strRelative).parent_path());
        std::ofstream(Home() / strRelative) << strContents;
    }
    std::string FileBytes(const char* pszName) const
    {
        std::ifstream file(Home() / pszName, std::ios::binary);
        return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    }
    // Both catalog files' bytes and the product key's values.
    struct CSnapshot {
        std::string strMain;
        std::string strRecycle;
        RegistryValues values;
    };
    CSnapshot Snapshot() const { return { FileBytes("archiv.cat"), FileBytes("winrec.cat"), ProductKeyValues() }; }
    void ExpectUnchanged(const CSnapshot& before) const
    {
        const CSnapshot after = Snapshot();
        EXPECT_FALSE(before.strMain.empty());
        EXPECT_TRUE(after.strMain == before.strMain) << "the catalog file changed";
        EXPECT_TRUE(after.strRecycle == before.strRecycle) << "the recycle bin's file changed";
        EXPECT_EQ(ChangedValues(before.values, after.values), std::vector<std::string> {});
    }
    // The main window declines the document types offered when it shows.
    void DeclineTypesOffer()
    {
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
    }

    /* The road to the page given up on. */

    // A choice on a page; FALSE when it could not be made.
    using Choice = std::function<bool(HWND hDlg)>;

    // The choice a user makes on page nPage of the road before leaving it;
    // empty for a page left as it shows.
    Choice ChoiceOnPage(ERoad eRoad, int nPage)
    {
        switch (nPage) {
        case 1:
            // Text Document, by name, as the desktop's own types share the list; the folder page finds them.
            return [this](HWND hDlg) {
                HWND hTypes = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
                const std::vector<CString> types = CTestDriver::Items(hTypes);
                const auto text = std::find(types.begin(), types.end(), CString("Text Document"));
                return text != types.end()
                    && m_driver.ClickCheckListBox(hTypes, static_cast<int>(text - types.begin())) != FALSE;
            };
        case 2:
            return [this](HWND hDlg) {
                HWND hNetwork = CTestDriver::FindChild(hDlg, IDC_SETUP_NETWORK);
                if (!m_driver.Click(hNetwork, 4, 4) || !CTestDriver::IsChecked(hNetwork))
                    return false;
                const std::string strDrive = m_network.Path().filename().string() + " (n:)";
                PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), { strDrive });
                return !CTestDriver::ListRows(CTestDriver::FindChild(hDlg, IDC_SETUP_LOCATION_LIST)).empty();
            };
        case 3:
            return [this](HWND hDlg) { return CheckTreeItem(hDlg, IDC_SETUP_MAIL_FOLDERS, { "Inbox" }); };
        case MODE_PAGE:
            return [this, eRoad](HWND hDlg) {
                HWND hMode = CTestDriver::FindChild(
                    hDlg, eRoad == ERoad::Folder ? IDC_SETUP_FOLDER_MODE : IDC_SETUP_ORGANISATION_MODE);
                return m_driver.Click(hMode, 4, 4) && CTestDriver::IsChecked(hMode);
            };
        default:
            return eRoad == ERoad::Folder ? FolderChoice(nPage) : OrganisationChoice(nPage);
        }
    }
    Choice OrganisationChoice(int nPage)
    {
        switch (nPage) {
        case 5:
            return [this](HWND hDlg) {
                HWND hUsage = CTestDriver::FindChild(hDlg, IDC_SETUP_USE_USAGE);
                HWND hUsages = CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES);
                const std::vector<CString> usages = CTestDriver::Items(hUsages);
                const auto student = std::find(usages.begin(), usages.end(), CString("Student"));
                return m_driver.Click(hUsage, 4, 4) && student != usages.end()
                    && m_driver.ClickCheckListBox(hUsages, static_cast<int>(student - usages.begin()));
            };
        case 6:
            return [this](HWND hDlg) {
                CString strBranch;
                strBranch.LoadString(IDS_USAGE_BRANCH);
                HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_TREE);
                const HTREEITEM hItem = CTestDriver::TreeItem(hTree, { strBranch, "Notes" });
                return hItem && m_driver.ClickTreeItem(hTree, hItem);
            };
        case 7:
            // A keyword for the group shown first; the focus in its list, as Tab takes it there.
            return [](HWND hDlg) {
                HWND hKeywords = CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST);
                LVITEM item {};
                item.mask = LVIF_TEXT;
                item.pszText = const_cast<LPTSTR>("invoice");
                ::SendMessage(hKeywords, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
                ::SetFocus(hKeywords);
                return hKeywords && CTestDriver::Focus() == hKeywords;
            };
        default:
            return {};
        }
    }
    Choice FolderChoice(int nPage)
    {
        if (nPage != 5)
            return {};
        return [this](HWND hDlg) {
            HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
            for (const CString& strTop : CTestDriver::TreeChildren(hTree, nullptr)) {
                if (CTestDriver::TreeItem(hTree, { strTop, "docs" }))
                    return CheckTreeItem(hDlg, IDC_SETUP_FOLDER_TREE, { strTop, "docs" });
            }
            return false;
        };
    }
    bool CheckTreeItem(HWND hDlg, int nId, const std::vector<CString>& path)
    {
        HWND hTree = CTestDriver::FindChild(hDlg, nId);
        const HTREEITEM hItem = CTestDriver::TreeItem(hTree, path);
        return hItem && m_driver.ClickTreeStateIcon(hTree, hItem);
    }
    // The wizard's script: the choice of each page up to the case's page,
    // Next after each but the last, then Cancel or Esc (a wizard left open
    // is a script error). onShown runs first.
    CDialogScript GiveUpScript(const std::function<void()>& onShown)
    {
        const CCancelCase& cancel = GetParam();
        CDialogScript script;
        script.Then([onShown](HWND) { onShown(); });
        for (int nPage = 0; nPage <= cancel.nPage; ++nPage) {
            // A choice that fails ends the wizard: Next would ask for it, and
            // the question would wait for a user.
            if (Choice choice = ChoiceOnPage(cancel.eRoad, nPage)) {
                script.Then([choice, nPage](HWND hDlg) {
                    if (!choice(hDlg)) {
                        ADD_FAILURE() << "no choice made on page " << nPage;
                        ::EndDialog(hDlg, IDCANCEL);
                    }
                });
            }
            if (nPage < cancel.nPage)
                script.Press(ID_WIZNEXT);
        }
        if (cancel.eEnding == EEnding::EscapeKey)
            script.Then([this](HWND) { EXPECT_TRUE(m_driver.PressKey(VK_ESCAPE)); });
        else
            script.Press(IDCANCEL);
        return script;
    }

    TempFolder m_network; // drive N:
    TempFolder m_userHome;
    std::unique_ptr<ScopedVariable> m_pUserHome;
    std::optional<CDialogPrompts> m_dialogPrompts;
};

std::vector<CCancelCase> AllCases()
{
    std::vector<CCancelCase> cases;
    for (EEnding eEnding : { EEnding::CancelButton, EEnding::EscapeKey }) {
        for (int nPage = 0; nPage < static_cast<int>(std::size(ORGANISATION_PAGES)); ++nPage)
            cases.push_back({ ERoad::Organisation, nPage, eEnding });
        for (int nPage = MODE_PAGE; nPage < static_cast<int>(std::size(FOLDER_PAGES)); ++nPage)
            cases.push_back({ ERoad::Folder, nPage, eEnding });
    }
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<CCancelCase>& info)
{
    const CCancelCase& cancel = info.param;
    const bool bFolder = cancel.eRoad == ERoad::Folder;
    std::string strName = bFolder ? "FolderRoad" : "OrganisationRoad";
    strName += bFolder ? FOLDER_PAGES[cancel.nPage] : ORGANISATION_PAGES[cancel.nPage];
    strName += cancel.eEnding == EEnding::EscapeKey ? "Esc" : "Cancel";
    return strName;
}

} // namespace

TEST_P(SetupCancelTest, SetUpAgainLeavesTheCatalogAndTheSettingsAsTheyWere)
{
    WriteCatalog([](CCatalog&, CNodeRec& root) { AddSystem(root, "Old"); });
    DeclineTypesOffer();
    ASSERT_TRUE(Start());
    // A second view of the catalog.
    Command(ID_FILE_NEW);
    ASSERT_EQ(Views().size(), 2U);
    // The window layout and the pending documents as the program keeps them:
    // Set Up Again saves them before the wizard, as closing the window does.
    MainFrame()->SaveSettings();
    App().GetPendingDocs()->SavePending();
    const CSnapshot before = Snapshot();
    BOOL bShown = FALSE;
    // The confirmation first, then the wizard, over a main window it disables.
    m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDOK); });
    m_driver.AnswerNextDialog(GiveUpScript([this, &bShown] {
        bShown = TRUE;
        EXPECT_FALSE(::IsWindowEnabled(MainFrame()->m_hWnd));
    }));
    Command(ID_CATALOG_SETUP_AGAIN);

    ASSERT_TRUE(bShown) << "the wizard did not show";
    EXPECT_TRUE(::IsWindowEnabled(MainFrame()->m_hWnd));
    ExpectUnchanged(before);
    ASSERT_EQ(Views().size(), 2U) << "the catalog shows again in both views";
    const std::vector<CString> top
        = CTestDriver::TreeChildren(ActiveView()->GetTreeView()->GetTreeCtrl().m_hWnd, nullptr);
    EXPECT_NE(std::find(top.begin(), top.end(), CString("Old")), top.end());
}

TEST_P(SetupCancelTest, AFirstStartLeavesTheCatalogNotSetUpAndTheNextStartAsksAgain)
{
    std::optional<CSnapshot> shown;
    m_driver.AnswerNextDialog(GiveUpScript([&] { shown = Snapshot(); }));
    EXPECT_FALSE(Start());
    ASSERT_TRUE(shown.has_value()) << "the wizard did not show";
    ExpectUnchanged(*shown);
    Stop();

    {
        CCatalog catalog(ProgramPath("archiv.cat"), 1);
        ASSERT_TRUE(catalog.IsOpen());
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        ASSERT_NE(pRoot, nullptr);
        EXPECT_TRUE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    }
    int nShown = 0;
    CDialogScript again;
    again.Then([&nShown](HWND) { ++nShown; }).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(again));
    EXPECT_FALSE(Start());
    EXPECT_EQ(nShown, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryPage, SetupCancelTest, ::testing::ValuesIn(AllCases()), CaseName);
