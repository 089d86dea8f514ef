// The first start of the program on an empty program folder, with the
// program's own prompts installed as its entry installs them: the set-up
// wizard runs for real, answered by the test driver, and the catalog the
// program then works with holds what the user chose.

#include "tests/app/FirstStartFixture.h"

#include "store/FileTypeName.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

TEST_F(FirstStartTest, TheWizardsOrganisationBecomesTheCatalogsSystems)
{
    AnswerTheWizardAsAStudent();

    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pBranch = UsageBranch();
    ASSERT_NE(pBranch, nullptr);
    EXPECT_EQ(Children(*pBranch), StudentGroups());
    EXPECT_EQ(pBranch->GetKind(), 8) << "the usage branch's picture";

    // The systems tree of the window shows them.
    ASSERT_NE(ActiveView(), nullptr);
    const Names top = TreeTexts(nullptr);
    ASSERT_FALSE(top.empty());
    EXPECT_NE(std::find(top.begin(), top.end(), std::string(UsageBranchName())), top.end());
}

TEST_F(FirstStartTest, AKeywordAndAFolderGivenInTheWizardReachTheGroup)
{
    WriteFile("docs/a.txt");
    CDialogScript script;
    AnswerStudentOrganisation(ChooseTextDocuments(script), " invoice ", "C:\\docs");

    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    std::unique_ptr<CNodeRec> pBranch(pRoot->GetFirstChild());
    ASSERT_NE(pBranch, nullptr);
    const auto groups = pBranch->GetChildren();
    ASSERT_GE(groups.size(), 2u);
    const auto& pGroup = groups[0];
    EXPECT_EQ(std::string(pGroup->GetName()), "Applications");
    EXPECT_EQ(Keywords(*pGroup), Names { "invoice" });
    EXPECT_EQ(Folders(*pGroup), Names { "c:\\docs" });
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
    TickFirstFolder(script);
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));

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
    ChooseNetworkLocation(ChooseTextDocuments(script)).Press(ID_WIZNEXT).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
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

    ASSERT_TRUE(Start());
    ExpectBothPlaces();
    EXPECT_TRUE(IsCatalogued("N:\\reports\\r.txt"));
    EXPECT_FALSE(IsCatalogued("C:\\docs\\a.txt")) << "its folder was not checked";
}

TEST_F(FirstStartTest, InFolderModeASubfolderExcludedOrUncheckedInACheckedFolderIsLeftOut)
{
    ASSERT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
    for (const char* pszFile : { "reports/r.txt", "reports/old/o.txt", "reports/old/2020/y.txt" }) {
        fs::create_directories((m_network.Path() / pszFile).parent_path());
        std::ofstream(m_network.Path() / pszFile) << "text";
    }
    WriteFile("docs/a.txt");
    WriteFile("docs/letters/l.txt");
    WriteFile("docs/private/p.txt");
    CDialogScript script;
    ChooseNetworkLocation(ChooseTextDocuments(script)).Press(ID_WIZNEXT).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then([this](HWND hDlg) {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        const auto click = [this, hTree](std::vector<CString> path) {
            for (const CString& strTop : CTestDriver::TreeChildren(hTree, nullptr)) {
                path.insert(path.begin(), strTop);
                if (const HTREEITEM hItem = CTestDriver::TreeItem(hTree, path)) {
                    ::SendMessage(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hItem)) << path.back();
                    return;
                }
                path.erase(path.begin());
            }
            ADD_FAILURE() << "no folder " << path.back();
        };
        // On the local drive a second click excludes; on a network drive it unchecks.
        click({ "docs" });
        click({ "docs", "private" });
        click({ "reports" });
        click({ "reports", "old" });
        // A folder checked below an unchecked one is taken, its parent's files are not.
        click({ "reports", "old", "2020" });
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));

    ASSERT_TRUE(Start());
    for (const char* pszPath :
        { "C:\\docs\\a.txt", "C:\\docs\\letters\\l.txt", "N:\\reports\\r.txt", "N:\\reports\\old\\2020\\y.txt" })
        EXPECT_TRUE(IsCatalogued(pszPath)) << pszPath;
    EXPECT_FALSE(IsCatalogued("C:\\docs\\private\\p.txt"));
    EXPECT_FALSE(IsCatalogued("N:\\reports\\old\\o.txt"));
    // The excluded folder's files are never offered later either.
    ASSERT_EQ(thePreferences.m_dsDir.GetSize(), 1);
    EXPECT_EQ(std::string(thePreferences.m_dsDir[0]), "c:\\docs\\private");
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

TEST_F(FirstStartTest, TheWizardOffersWhatTheDesktopCreatesAndNoneOfItIsNewAfterFinish)
{
    AnswerTheWizardAsAStudent();
    // Any further dialog would be the offer of new document types.
    std::vector<CString> unexpected;
    auto recordDialog = [&unexpected](HWND hDlg) {
        unexpected.push_back(CTestDriver::Text(hDlg));
        ::EndDialog(hDlg, IDCANCEL);
    };
    m_driver.OnNextDialog(recordDialog);

    ASSERT_TRUE(Start());
    // The desktop's types: the ones made by hand, and RTF, always creatable;
    // a PDF is named by its type but cannot be made new.
    const CString strRtf = FileTypeNameOfExtension(".rtf");
    const CString strPdf = FileTypeNameOfExtension(".pdf");
    ASSERT_FALSE(strRtf.IsEmpty());
    ASSERT_FALSE(strPdf.IsEmpty());
    EXPECT_NE(std::find(m_offeredTypes.begin(), m_offeredTypes.end(), strRtf), m_offeredTypes.end());
    EXPECT_NE(
        std::find(m_offeredTypes.begin(), m_offeredTypes.end(), CString("Writer Document")), m_offeredTypes.end());
    EXPECT_EQ(std::find(m_offeredTypes.begin(), m_offeredTypes.end(), strPdf), m_offeredTypes.end());
    EXPECT_TRUE(unexpected.empty()) << unexpected.front();

    Stop();

    // A later start offers nothing either.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(unexpected.empty()) << unexpected.front();
}
