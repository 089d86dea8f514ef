#include "dialogs/documents/CDlgDocumentProperties.h"

#include "resources/ResourceIds.h"
#include "store/CatalogTypes.h"
#include "store/ProtectedFile.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/CTime.h"
#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

// The tab control of a property sheet, made by the sheet itself.
constexpr int SHEET_TABS_ID = 0x3020;

class CDlgDocumentPropertiesTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        fs::create_directories(Home() / "docs");
        std::ofstream(Home() / "docs" / "plan.txt") << "the plan";
        m_strFile = ProgramPathFromHostPath((Home() / "docs" / "plan.txt").string());
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_pGroup = AddNode(*pRoot, "Projects");
        m_ref = AddDocument(*m_pCatalog, m_pGroup.get(), m_strFile.c_str())->GetRef();
    }

    std::unique_ptr<CDocumentRec> Doc() { return Document(*m_pCatalog, m_ref); }

    // The links of the document to the expiring-documents node.
    int ExpiringLinks()
    {
        int nLinks = 0;
        for (const auto& pNode : Doc()->GetLinkedNodes())
            nLinks += pNode->GetRef().nBlock == CNodeRec::EXPIRING_NODE_BLOCK;
        return nLinks;
    }

    std::string Bytes(const char* pszName) const
    {
        std::ifstream in(Home() / pszName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Shows page nPage of the dialog's sheet.
    void ShowPage(HWND hDlg, int nPage) { m_driver.ClickTab(CTestDriver::FindChild(hDlg, SHEET_TABS_ID), nPage); }

    std::string m_strFile;
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pGroup;
    CRecordRef m_ref;
};

} // namespace

TEST_F(CDlgDocumentPropertiesTest, OkWritesTheTextsTheExpiryAndTheFavouriteOnce)
{
    {
        std::unique_ptr<CDocumentRec> pDocument = Doc();
        CDlgDocumentProperties dlg(pDocument.get(), FALSE);
        BOOL bNodeShown = FALSE, bGroupsShown = TRUE;
        CDialogScript script;
        script
            .Then([&](HWND hDlg) {
                bNodeShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_NODE_PATH));
                bGroupsShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_GROUPS_BUTTON));
            })
            .SetText(IDC_DESCRIPTION, "The plan for next year")
            .SetText(IDC_SECONDARY, "draft")
            .Check(IDC_FAVORITE)
            .Then([&](HWND hDlg) { ShowPage(hDlg, 1); })
            .Check(IDC_EXPIRES)
            .SetText(IDC_EXPIRY_DAYS, "30")
            .Press(IDOK);
        Answer(script);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(bNodeShown) << "one group: its path";
        EXPECT_FALSE(bGroupsShown);
        EXPECT_TRUE(dlg.IsCatalogChanged()) << "the expiry changed";
    }
    m_pCatalog = OpenCatalog();
    std::unique_ptr<CDocumentRec> pDocument = Doc();
    CString strText;
    pDocument->GetNameWithLocation(strText);
    EXPECT_EQ(strText, CString("The plan for next year"));
    pDocument->GetAltNameWithLocation(strText);
    EXPECT_EQ(strText, CString("draft"));
    EXPECT_TRUE(pDocument->IsUnderTopNode2());
    EXPECT_EQ(CTime(pDocument->GetExpiry()).GetDay(), CTime(CTime::GetCurrentTime().GetTime() + 30 * 86400).GetDay());
    EXPECT_EQ(ExpiringLinks(), 1);

    // Another date keeps the one link; none takes it away; the favourite stays single.
    for (LPCTSTR pszDays : { static_cast<LPCTSTR>("10"), static_cast<LPCTSTR>(nullptr) }) {
        std::unique_ptr<CDocumentRec> pShown = Doc();
        CDlgDocumentProperties dlg(pShown.get(), FALSE);
        CDialogScript script;
        script.Then([&](HWND hDlg) { ShowPage(hDlg, 1); });
        if (pszDays != nullptr)
            script.SetText(IDC_EXPIRY_DAYS, pszDays);
        else
            script.Uncheck(IDC_EXPIRES);
        script.Press(IDOK);
        Answer(script);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(ExpiringLinks(), pszDays != nullptr ? 1 : 0);
    }
    EXPECT_EQ(Doc()->GetExpiry(), 0);
    EXPECT_EQ(Doc()->CountNodeLinks(TRUE), 2) << "its group and the favourites, each once";
}

TEST_F(CDlgDocumentPropertiesTest, CancelAndTheRecycleBinLeaveBothCatalogFilesAsTheyWere)
{
    const std::string strBefore = Bytes("archiv.cat");
    for (BOOL bRecycle : { FALSE, TRUE }) {
        std::unique_ptr<CDocumentRec> pDocument = Doc();
        CDlgDocumentProperties dlg(pDocument.get(), bRecycle);
        CDialogScript script;
        script.SetText(IDC_DESCRIPTION, "changed").Press(bRecycle ? IDOK : IDCANCEL);
        Answer(script);
        dlg.DoModal();
        EXPECT_EQ(Bytes("archiv.cat"), strBefore) << "recycle bin " << bRecycle;
    }
}

TEST_F(CDlgDocumentPropertiesTest, VersionAndOpenActionComeFromTheirDialogsAndAreWrittenOnOk)
{
    {
        std::unique_ptr<CDocumentRec> pDocument = Doc();
        CDlgDocumentProperties dlg(pDocument.get(), FALSE);
        CDialogScript page;
        page.Then([&](HWND hDlg) { ShowPage(hDlg, 1); })
            .Press(IDC_VERSION_BUTTON)
            .Press(IDC_OPEN_ACTION_BUTTON)
            .Press(IDOK);
        CDialogScript number;
        number.Check(IDC_VERSION_SET).SetText(IDC_VERSION_NUMBER, "3").Press(IDOK);
        CDialogScript action;
        action.Check(IDC_OPEN_ACTION_4).Press(IDOK);
        Answer(page);
        Answer(number);
        Answer(action);
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    m_pCatalog = OpenCatalog();
    EXPECT_EQ(Doc()->GetVersion(), 3);
    EXPECT_EQ(Doc()->GetOpenAction(), 3u) << "copy to a folder, then open";
}

TEST_F(CDlgDocumentPropertiesTest, ProtectingChangingAndRemovingThePasswordKeepFileAndRecordAgreeing)
{
    struct Step {
        const char* pszTyped; // the old password, when one is asked
        const char* pszNew;
        bool bRemove;
        const char* pszExpected;
    };
    for (const Step& step : { Step { nullptr, "alpha", false, "alpha" }, Step { "alpha", "beta", false, "beta" },
             Step { "beta", "", true, "" } }) {
        {
            std::unique_ptr<CDocumentRec> pDocument = Doc();
            CDlgDocumentProperties dlg(pDocument.get(), FALSE);
            CDialogScript page;
            page.Then([&](HWND hDlg) { ShowPage(hDlg, 1); }).Press(IDC_PASSWORD_BUTTON).Press(IDOK);
            CDialogScript password;
            if (step.pszTyped == nullptr) {
                password.SetText(IDC_NEW_PASSWORD, step.pszNew).SetText(IDC_CONFIRM_PASSWORD, step.pszNew);
            } else {
                password.SetText(IDC_PASSWORD, step.pszTyped);
                if (step.bRemove)
                    password.Check(IDC_REMOVE_PROTECTION);
                else
                    password.SetText(IDC_NEW_PASSWORD, step.pszNew).SetText(IDC_CONFIRM_PASSWORD, step.pszNew);
            }
            password.Press(IDOK);
            Answer(page);
            Answer(password);
            EXPECT_EQ(dlg.DoModal(), IDOK);
        }
        m_pCatalog = OpenCatalog();
        EXPECT_EQ(Doc()->GetPassword(), CString(step.pszExpected));
        if (*step.pszExpected == 0) {
            EXPECT_FALSE(IsProtectedFile(m_strFile.c_str()));
        } else {
            CString strHeader;
            ReadProtectedFileHeader(m_strFile.c_str(), strHeader);
            EXPECT_EQ(strHeader, CString(step.pszExpected));
        }
    }
    std::ifstream in(Home() / "docs" / "plan.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the plan") << "the content survives";
}

TEST_F(CDlgDocumentPropertiesTest, AHeaderWithAnotherPasswordCorrectsTheRecordWhenTheDialogIsMade)
{
    ASSERT_EQ(Doc()->ChangeProtection("first", ""), PROTECT_OK);
    ASSERT_EQ(ProtectFile(m_strFile.c_str(), "second", "first"), PROTECT_OK);
    {
        std::unique_ptr<CDocumentRec> pDocument = Doc();
        CDlgDocumentProperties dlg(pDocument.get(), FALSE);
    }
    EXPECT_EQ(Doc()->GetPassword(), CString("second")) << "corrected before anything shows, kept without OK";

    // A file whose header cannot be read leaves the record alone.
    fs::remove(Home() / "docs" / "plan.txt");
    std::unique_ptr<CDocumentRec> pDocument = Doc();
    CDlgDocumentProperties dlg(pDocument.get(), FALSE);
    EXPECT_EQ(Doc()->GetPassword(), CString("second"));
}

TEST_F(CDlgDocumentPropertiesTest, TwoGroupsShowTheGroupsButtonInsteadOfAPath)
{
    std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
    std::unique_ptr<CNodeRec> pOther = AddNode(*pRoot, "Archive");
    std::unique_ptr<CDocumentRec> pDocument = Doc();
    ASSERT_TRUE(pOther->AddDocument(pDocument.get()));
    CDlgDocumentProperties dlg(pDocument.get(), FALSE);
    BOOL bNodeShown = TRUE, bGroupsShown = FALSE;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            bNodeShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_NODE_PATH));
            bGroupsShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_GROUPS_BUTTON));
        })
        .Press(IDCANCEL);
    Answer(script);
    dlg.DoModal();
    EXPECT_FALSE(bNodeShown);
    EXPECT_TRUE(bGroupsShown);
}

TEST_F(CDlgDocumentPropertiesTest, ANewFolderMovesTheDocumentAndTheSameOneInOtherCaseDoesNot)
{
    fs::create_directories(Home() / "moved");
    const std::string strFolder = ProgramPathFromHostPath((Home() / "docs").string());
    {
        std::unique_ptr<CDocumentRec> pDocument = Doc();
        CDlgDocumentProperties dlg(pDocument.get(), FALSE);
        CString strUpper(strFolder.c_str());
        strUpper.MakeUpper();
        CDialogScript script;
        script.SetText(IDC_LOCATION, strUpper).Press(IDOK);
        Answer(script);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_FALSE(dlg.IsCatalogChanged()) << "the same folder, without its backslash and in capitals";
        EXPECT_EQ(dlg.DetachMovedDocument(), nullptr);
    }
    const std::string strTarget = ProgramPathFromHostPath((Home() / "moved").string());
    std::unique_ptr<CDocumentRec> pDocument = Doc();
    CDlgDocumentProperties dlg(pDocument.get(), FALSE);
    CDialogScript script;
    script.SetText(IDC_LOCATION, strTarget.c_str()).Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.IsCatalogChanged());
    std::unique_ptr<CDocumentRec> pMoved = dlg.DetachMovedDocument();
    ASSERT_NE(pMoved, nullptr);
    EXPECT_TRUE(fs::exists(Home() / "moved" / "plan.txt"));
    EXPECT_FALSE(fs::exists(Home() / "docs" / "plan.txt"));
    std::unique_ptr<CDocumentRec> pFound(m_pCatalog->FindPath((strTarget + "\\plan.txt").c_str()));
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(pFound->CountNodeLinks(FALSE), 1) << "still in its group";
}
