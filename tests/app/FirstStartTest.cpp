// The first start of the program on an empty program folder, with the
// program's own prompts installed as its entry installs them: the set-up
// wizard runs for real, answered by the test driver, and the catalog the
// program then works with holds what the user chose.

#include "dialogs/CDialogPrompts.h"
#include "dialogs/groups/CGroupFolderListCtrl.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/DriveTable.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/CTreeCtrl.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FirstStartTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Drive C: is a tree of this test's own, and the only drive.
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        ASSERT_TRUE(SetDriveOverride('C', m_drive.Path().c_str(), DRIVE_FIXED));
        SetFileType(".txt", "txtfile", "Text Document", true);
        SetFileType(".odt", "odtfile", "Writer Document", true);
        m_prompts.emplace();
    }
    void TearDown() override
    {
        Stop();
        m_prompts.reset();
        EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
        ResetDriveTable();
        AppTest::TearDown();
    }

    void WriteFile(const std::string& strRelative)
    {
        fs::create_directories((m_drive.Path() / strRelative).parent_path());
        std::ofstream(m_drive.Path() / strRelative) << "text";
    }
    // The main window offers the document types the wizard left unchosen.
    void DeclineTypesOffer()
    {
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
    }
    void AnswerMessage(int nAnswer)
    {
        m_driver.OnNextDialog([this, nAnswer](HWND hBox) {
            m_messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            ::EndDialog(hBox, nAnswer);
        });
    }
    // The wizard's first pages: Text Document checked (the first type), then the mode page.
    CDialogScript& ChooseTextDocuments(CDialogScript& script)
    {
        return script.Press(ID_WIZNEXT)
            .Then([this](HWND hDlg) {
                EXPECT_TRUE(m_driver.ClickCheckListBox(CTestDriver::FindChild(hDlg, IDC_DOC_TYPES), 0));
            })
            .Press(ID_WIZNEXT);
    }
    // The usage page: the "Student" usage chosen.
    void ChooseStudentUsage(CDialogScript& script)
    {
        script.Check(IDC_SETUP_USE_USAGE).Then([this](HWND hDlg) {
            HWND hUsages = CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES);
            const std::vector<CString> usages = CTestDriver::Items(hUsages);
            for (std::size_t i = 0; i < usages.size(); ++i) {
                if (usages[i] == CString("Student"))
                    m_driver.ClickCheckListBox(hUsages, static_cast<int>(i));
            }
        });
    }
    Names Children(CNodeRec& node) const
    {
        Names names;
        for (const auto& pChild : node.GetChildren())
            names.emplace_back(pChild->GetName());
        return names;
    }
    Names TreeTexts(HTREEITEM hParent) const
    {
        Names names;
        CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
        for (const CString& str : CTestDriver::TreeChildren(tree.m_hWnd, hParent))
            names.emplace_back(str);
        return names;
    }

    TempFolder m_drive;
    TempFolder m_network; // drive N:, when a test maps it
    std::optional<CDialogPrompts> m_prompts;
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(FirstStartTest, TheWizardsOrganisationBecomesTheCatalogsSystems)
{
    CDialogScript script;
    ChooseTextDocuments(script).Press(ID_WIZNEXT);
    ChooseStudentUsage(script);
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessage(IDYES);
    DeclineTypesOffer();

    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_FALSE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    CString strBranch;
    strBranch.LoadString(IDS_USAGE_BRANCH);
    ASSERT_EQ(Children(*pRoot), Names { std::string(strBranch) });
    std::unique_ptr<CNodeRec> pBranch(pRoot->GetFirstChild());
    const Names groups { "Applications", "Assignments", "Courses", "Notes", "Research" };
    EXPECT_EQ(Children(*pBranch), groups);

    // The systems tree of the window shows them.
    ASSERT_NE(ActiveView(), nullptr);
    const Names top = TreeTexts(nullptr);
    ASSERT_FALSE(top.empty());
    EXPECT_NE(std::find(top.begin(), top.end(), std::string(strBranch)), top.end());
}

TEST_F(FirstStartTest, AKeywordAndAFolderGivenInTheWizardReachTheGroup)
{
    WriteFile("docs/a.txt");
    CDialogScript script;
    ChooseTextDocuments(script).Press(ID_WIZNEXT);
    ChooseStudentUsage(script);
    // The keywords page shows the first group, "Applications".
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Then([](HWND hDlg) {
        HWND hKeywords = CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST);
        ASSERT_NE(hKeywords, nullptr);
        LVITEM item {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(::SendMessage(hKeywords, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<LPTSTR>(" invoice ");
        ::SendMessage(hKeywords, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        // The Add button's folder popup hands its choice to the list.
        auto* pFolders = dynamic_cast<CGroupFolderListCtrl*>(
            CWnd::FromHandlePermanent(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)));
        ASSERT_NE(pFolders, nullptr);
        pFolders->AddFolder("C:\\docs");
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    DeclineTypesOffer();

    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    std::unique_ptr<CNodeRec> pBranch(pRoot->GetFirstChild());
    ASSERT_NE(pBranch, nullptr);
    const auto groups = pBranch->GetChildren();
    ASSERT_GE(groups.size(), 2u);
    const auto& pGroup = groups[0];
    EXPECT_EQ(std::string(pGroup->GetName()), "Applications");
    Names keywords;
    for (const auto& pKeyword : pGroup->GetKeywords())
        keywords.emplace_back(static_cast<LPCTSTR>(pKeyword->GetText()));
    EXPECT_EQ(keywords, Names { "invoice" });
    Names folders;
    for (const auto& pFolder : pGroup->GetNodeFolders()) {
        CString strFolder = pFolder->GetText();
        strFolder.MakeLower();
        folders.emplace_back(static_cast<LPCTSTR>(strFolder));
    }
    EXPECT_EQ(folders, Names { "c:\\docs" });
    // The other groups were left as they were.
    EXPECT_TRUE(groups[1]->GetKeywords().empty());
}

TEST_F(FirstStartTest, InFolderModeTheCheckedFoldersAreCatalogued)
{
    WriteFile("docs/letters/a.txt");
    WriteFile("docs/b.txt");
    WriteFile("music/c.odt");
    CDialogScript script;
    ChooseTextDocuments(script).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([this](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        const HTREEITEM hDrive = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        const HTREEITEM hDocs = reinterpret_cast<HTREEITEM>(
            ::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hDrive)));
        ASSERT_NE(hDocs, nullptr);
        EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hDocs));
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    DeclineTypesOffer();

    ASSERT_TRUE(Start());
    std::unique_ptr<CDocumentRec> pLetter(App().GetMainCatalog()->FindPath("C:\\docs\\letters\\a.txt"));
    EXPECT_NE(pLetter, nullptr);
    std::unique_ptr<CDocumentRec> pSong(App().GetMainCatalog()->FindPath("C:\\music\\c.odt"));
    EXPECT_EQ(pSong, nullptr);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(Children(*pRoot), Names { "docs" });
}

TEST_F(FirstStartTest, InFolderModeANetworkLocationsFoldersAreCataloguedAndTheLocationKept)
{
    ASSERT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
    fs::create_directories(m_network.Path() / "reports");
    std::ofstream(m_network.Path() / "reports" / "r.txt") << "text";
    WriteFile("docs/a.txt");
    CDialogScript script;
    ChooseTextDocuments(script).Check(IDC_SETUP_NETWORK).Then([this](HWND hDlg) {
        // A drive shows its folder's name.
        const std::string strDrive = m_network.Path().filename().string() + " (n:)";
        PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), { strDrive });
    });
    script.Press(ID_WIZNEXT).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([this](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        std::vector<CString> tops = CTestDriver::TreeChildren(hTree, nullptr);
        ASSERT_EQ(tops.size(), 2u) << "the local drive and the location";
        HTREEITEM hReports = nullptr;
        for (const CString& strTop : tops) {
            if (!hReports)
                hReports = CTestDriver::TreeItem(hTree, { strTop, "reports" });
        }
        ASSERT_NE(hReports, nullptr);
        EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hReports));
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    DeclineTypesOffer();

    ASSERT_TRUE(Start());
    CCatalog& catalog = *App().GetMainCatalog();
    EXPECT_EQ(catalog.GetPlaceChoice(), CCatalog::PLACE_BOTH);
    CStringArray places;
    catalog.GetNetworkLocations(places, nullptr);
    ASSERT_EQ(places.GetSize(), 1);
    EXPECT_EQ(std::string(places[0]), "n:\\");
    std::unique_ptr<CDocumentRec> pReport(catalog.FindPath("N:\\reports\\r.txt"));
    EXPECT_NE(pReport, nullptr);
    std::unique_ptr<CDocumentRec> pLocal(catalog.FindPath("C:\\docs\\a.txt"));
    EXPECT_EQ(pLocal, nullptr) << "its folder was not checked";
}

TEST_F(FirstStartTest, CancelLeavesTheCatalogNotSetUpSoTheNextStartAsksAgain)
{
    int nShown = 0;
    for (int nRun = 0; nRun < 2; ++nRun) {
        CDialogScript script;
        script.Then([&nShown](HWND) { ++nShown; }).Press(ID_WIZNEXT).Press(IDCANCEL);
        m_driver.AnswerNextDialog(std::move(script));
        EXPECT_FALSE(Start());
        Stop();
    }
    EXPECT_EQ(nShown, 2);
}
