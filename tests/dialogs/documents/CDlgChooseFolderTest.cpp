#include "dialogs/documents/CDlgChooseFolder.h"

#include "resources/ResourceIds.h"
#include "store/ProtectedFile.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/support/DriveTreeFixture.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CDlgChooseFolderTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        fs::create_directories(Home() / "docs");
        fs::create_directories(Home() / "copies");
        std::ofstream(Home() / "docs" / "plan.txt") << "the plan";
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_pGroup = AddNode(*pRoot, "Projects");
        std::unique_ptr<CDocumentRec> pDocument
            = AddDocument(*m_pCatalog, m_pGroup.get(), Program(Home() / "docs" / "plan.txt").c_str());
        m_ref = pDocument->GetRef();
        std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec2(m_pCatalog.get()))->AddDocument(pDocument.get());
    }

    static std::string Program(const fs::path& path) { return ProgramPathFromHostPath(path.string()); }
    static std::string Content(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pGroup;
    CRecordRef m_ref;
};

} // namespace

TEST_F(CDlgChooseFolderTest, AProtectedDocumentIsCopiedUnprotectedAndCataloguedUnderItsGroupsOnly)
{
    std::unique_ptr<CDocumentRec> pDocument = Document(*m_pCatalog, m_ref);
    ASSERT_EQ(pDocument->ChangeProtection("secret", ""), PROTECT_OK);
    CDlgChooseFolder dlg(IDS_CHOOSE_FOLDER, pDocument.get());
    CString strOffered;
    CDialogScript password;
    password.SetText(IDC_PASSWORD, "secret").Press(IDOK);
    CDialogScript copy;
    copy.Then([&](HWND hDlg) { strOffered = CTestDriver::Text(::GetDlgItem(hDlg, IDC_NEW_NAME)); })
        .SetText(IDC_NEW_NAME, "plan-2024")
        .SetText(IDC_TARGET_PATH, Program(Home() / "copies").c_str())
        .Press(IDOK);
    Answer(password);
    Answer(copy);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strOffered, CString("Copy of plan.txt"));
    const fs::path copied = Home() / "copies" / "plan-2024.txt";
    ASSERT_TRUE(fs::exists(copied)) << "the name takes the original's extension";
    EXPECT_FALSE(IsProtectedFile(Program(copied).c_str()));
    EXPECT_EQ(Content(copied), "the plan");
    EXPECT_TRUE(IsProtectedFile(Program(Home() / "docs" / "plan.txt").c_str())) << "the original stays protected";
    std::unique_ptr<CDocumentRec> pCopy(m_pCatalog->FindPath(Program(copied).c_str()));
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->CountNodeLinks(TRUE), 1) << "its group, not the original's favourites";
    EXPECT_FALSE(pCopy->IsProtected());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(CDlgChooseFolderTest, AnotherExtensionIsAskedAndARemovableTargetIsNotCatalogued)
{
    fs::create_directories(Home() / "stick");
    ASSERT_TRUE(SetDriveOverride('R', (Home() / "stick").string().c_str(), DRIVE_REMOVABLE));
    std::unique_ptr<CDocumentRec> pDocument = Document(*m_pCatalog, m_ref);
    CDlgChooseFolder dlg(IDS_CHOOSE_FOLDER, pDocument.get());
    CDialogScript copy;
    copy.SetText(IDC_NEW_NAME, "plan.md").SetText(IDC_TARGET_PATH, "R:\\").Press(IDOK).Press(IDOK);
    Answer(copy);
    AnswerMessage(IDYES); // the removable medium
    AnswerMessage(IDNO);  // the other extension: the dialog stays
    AnswerMessage(IDYES);
    AnswerMessage(IDYES);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ResetDriveTable();
    ASSERT_EQ(m_messages.size(), 4u);
    EXPECT_EQ(m_messages[0], Text(IDS_COPY_TO_REMOVABLE));
    EXPECT_EQ(m_messages[1], Text(IDS_COPY_OTHER_EXTENSION));
    EXPECT_TRUE(fs::exists(Home() / "stick" / "plan.md"));
    EXPECT_EQ(dlg.GetCopy(), nullptr);
    EXPECT_EQ(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath("R:\\plan.md")), nullptr);
}

TEST_F(CDlgChooseFolderTest, OkWaitsForAValidNewNameAndCancelOnThePasswordEndsBeforeShowing)
{
    std::unique_ptr<CDocumentRec> pDocument = Document(*m_pCatalog, m_ref);
    CDlgChooseFolder dlg(IDS_CHOOSE_FOLDER, pDocument.get());
    std::vector<BOOL> enabled;
    const auto okEnabled = [&](HWND hDlg) {
        ::SendMessage(hDlg, WM_KICKIDLE, 0, 0);
        enabled.push_back(CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDOK)));
    };
    CDialogScript script;
    script.SetText(IDC_NEW_NAME, "")
        .Then(okEnabled)
        .SetText(IDC_NEW_NAME, "plan.txt")
        .Then(okEnabled)
        .SetText(IDC_NEW_NAME, "..\\outside.txt")
        .Then(okEnabled)
        .SetText(IDC_NEW_NAME, "other.txt")
        .Then(okEnabled)
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(enabled, (std::vector<BOOL> { FALSE, FALSE, FALSE, TRUE }));

    ASSERT_EQ(pDocument->ChangeProtection("secret", ""), PROTECT_OK);
    CDlgChooseFolder locked(IDS_CHOOSE_FOLDER, pDocument.get());
    CDialogScript cancel;
    cancel.Press(IDCANCEL);
    Answer(cancel);
    EXPECT_EQ(locked.DoModal(), IDCANCEL);
}

TEST_F(CDlgChooseFolderTest, BrowseTakesTheFolderPickedUnderMyComputerLowerCasedWithAFinalBackslash)
{
    TempFolder drives;
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    AddTestDrive(drives.Path(), 'C', DRIVE_FIXED);
    fs::create_directories(drives.Path() / "C" / "Shared");
    std::unique_ptr<CDocumentRec> pDocument = Document(*m_pCatalog, m_ref);
    CDlgChooseFolder dlg(IDS_CHOOSE_FOLDER, pDocument.get());
    CString strTarget;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_BROWSE), { "C (c:)", "Shared" });
        })
        .Then([&](HWND hDlg) { strTarget = CTestDriver::Text(::GetDlgItem(hDlg, IDC_TARGET_PATH)); })
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ResetDriveTable();
    EXPECT_EQ(strTarget, CString("c:\\shared\\"));
}
