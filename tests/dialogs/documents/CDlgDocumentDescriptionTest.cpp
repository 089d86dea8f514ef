#include "dialogs/documents/CDlgDocumentDescription.h"

#include "resources/ResourceIds.h"
#include "store/ProtectedFile.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "ui/CUiHostServices.h"
#include "ui/CZoomWnd.h"

#include "platform/base/PathMap.h"
#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

// The application as far as the dialog asks it: opening records the document.
class COpeningHost : public CUiHostServices {
public:
    COpeningHost() { m_pPrevious = InstallUiHostServices(this); }
    ~COpeningHost() override { InstallUiHostServices(m_pPrevious); }
    COpeningHost(const COpeningHost&) = delete;
    COpeningHost& operator=(const COpeningHost&) = delete;

    CCatalog* GetMainCatalog() override { return nullptr; }
    BOOL OpenItem(CDocumentRec& document, LPCTSTR) override
    {
        document.GetFullPath(m_strOpened);
        return TRUE;
    }

    CString m_strOpened;

private:
    CUiHostServices* m_pPrevious;
};

class CDlgDocumentDescriptionTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        fs::create_directories(Home() / "docs");
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_pGroup = AddNode(*pRoot, "Projects");
    }

    // A catalogued document made of a file the test writes.
    std::unique_ptr<CDocumentRec> Catalogued(const char* pszName, const std::string& strContent)
    {
        std::ofstream(Home() / "docs" / pszName, std::ios::binary) << strContent;
        const std::string strPath = ProgramPathFromHostPath((Home() / "docs" / pszName).string());
        const CRecordRef ref = AddDocument(*m_pCatalog, m_pGroup.get(), strPath.c_str())->GetRef();
        return Document(*m_pCatalog, ref);
    }
    // A catalogued PNG of cx x cy; with bDamaged cut short.
    std::unique_ptr<CDocumentRec> Picture(const char* pszName, bool bDamaged)
    {
        const fs::path file = Home() / "docs" / pszName;
        HBITMAP hbm = CreateBitmap(300, 200, 1, 32, nullptr);
        EXPECT_TRUE(SaveBitmapAsPng(hbm, ProgramPathFromHostPath(file.string()).c_str()));
        DeleteObject(hbm);
        if (bDamaged)
            fs::resize_file(file, 40);
        const CRecordRef ref
            = AddDocument(*m_pCatalog, m_pGroup.get(), ProgramPathFromHostPath(file.string()).c_str())->GetRef();
        return Document(*m_pCatalog, ref);
    }
    static CString Description(const CDocumentRec& document)
    {
        CString str;
        document.GetNameWithLocation(str);
        return str;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pGroup;
};

} // namespace

TEST_F(CDlgDocumentDescriptionTest, ASelectionOfTheTextBecomesTheDescriptionWrittenOnOk)
{
    std::unique_ptr<CDocumentRec> pDocument = Catalogued("plan.txt", "Budget 2024 for the new roof");
    CDlgDocumentDescription dlg(pDocument.get());
    CString strContent;
    CString strStatus;
    std::vector<BOOL> enabled;
    const auto useEnabled = [&](HWND hDlg) {
        ::SendMessage(hDlg, WM_KICKIDLE, 0, 0);
        enabled.push_back(CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_SELECTION_TO_DESCRIPTION)));
    };
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            strContent = CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_CONTENT));
            strStatus = CTestDriver::Text(::GetDlgItem(hDlg, IDC_CONTENT_STATUS));
        })
        .Then(useEnabled)
        .Then([](HWND hDlg) { ::SendDlgItemMessage(hDlg, IDC_DOCUMENT_CONTENT, EM_SETSEL, 0, 11); })
        .Then(useEnabled)
        .Press(IDC_SELECTION_TO_DESCRIPTION)
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strContent, CString("Budget 2024 for the new roof"));
    EXPECT_EQ(strStatus, Text(IDS_WA_TIP_READY));
    EXPECT_EQ(enabled, (std::vector<BOOL> { FALSE, TRUE }));
    EXPECT_EQ(dlg.GetDescription(), CString("Budget 2024"));
    EXPECT_EQ(Description(*Document(*m_pCatalog, pDocument->GetRef())), CString("Budget 2024"));
    EXPECT_EQ(dlg.GetPicture(), nullptr);
}

TEST_F(CDlgDocumentDescriptionTest, APictureShowsOverTheContentAndADamagedOneSaysItCannotBeRead)
{
    std::unique_ptr<CDocumentRec> pPicture = Picture("roof.png", false);
    const std::vector<BYTE> before = FileBytes("archiv.cat");
    CDlgDocumentDescription dlg(pPicture.get());
    CRect rcPicture;
    CRect rcContent;
    CString strStatus;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            ASSERT_NE(dlg.GetPicture(), nullptr);
            dlg.GetPicture()->GetWindowRect(&rcPicture);
            ::GetWindowRect(::GetDlgItem(hDlg, IDC_DOCUMENT_CONTENT), &rcContent);
            strStatus = CTestDriver::Text(::GetDlgItem(hDlg, IDC_CONTENT_STATUS));
        })
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(rcPicture, rcContent);
    EXPECT_EQ(strStatus, Text(IDS_WA_TIP_READY));
    EXPECT_EQ(dlg.GetPicture(), nullptr) << "freed with the dialog's window";
    EXPECT_EQ(FileBytes("archiv.cat"), before) << "Cancel writes nothing";

    std::unique_ptr<CDocumentRec> pDamaged = Picture("torn.png", true);
    CDlgDocumentDescription damaged(pDamaged.get());
    const CZoomWnd* pShown = reinterpret_cast<const CZoomWnd*>(1);
    CDialogScript close;
    close
        .Then([&](HWND hDlg) {
            pShown = damaged.GetPicture();
            strStatus = CTestDriver::Text(::GetDlgItem(hDlg, IDC_CONTENT_STATUS));
        })
        .Press(IDCANCEL);
    Answer(close);
    damaged.DoModal();
    EXPECT_EQ(pShown, nullptr);
    EXPECT_EQ(strStatus, Text(IDS_WA_TIP_UNREADABLE));
}

TEST_F(CDlgDocumentDescriptionTest, AProtectedDocumentAsksItsPasswordAndOpenWritesTheDescription)
{
    std::unique_ptr<CDocumentRec> pDocument = Catalogued("secret.txt", "the secret plan");
    ASSERT_EQ(pDocument->ChangeProtection("key", ""), PROTECT_OK);
    COpeningHost host;

    CDlgDocumentDescription cancelled(pDocument.get());
    CDialogScript cancel;
    cancel.Press(IDCANCEL);
    Answer(cancel);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL) << "ends before it shows";

    CDlgDocumentDescription dlg(pDocument.get());
    CString strStatus;
    CString strContent;
    BOOL bOpenEnabled = FALSE;
    CDialogScript password;
    password.SetText(IDC_PASSWORD, "key").Press(IDOK);
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            strStatus = CTestDriver::Text(::GetDlgItem(hDlg, IDC_CONTENT_STATUS));
            strContent = CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_CONTENT));
            bOpenEnabled = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_OPEN_DOCUMENT));
        })
        .SetText(IDC_DESCRIPTION_TEXT, "Kept under lock")
        .Press(IDC_OPEN_DOCUMENT);
    Answer(password);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDC_OPEN_DOCUMENT);
    EXPECT_EQ(strStatus, Text(IDS_WA_TIP_PROTECTED)) << "a protected document is not decoded for showing";
    EXPECT_TRUE(strContent.IsEmpty());
    EXPECT_TRUE(bOpenEnabled);
    EXPECT_EQ(host.m_strOpened, CString("secret.txt"));
    EXPECT_EQ(Description(*Document(*m_pCatalog, pDocument->GetRef())), CString("Kept under lock"));
}

TEST_F(CDlgDocumentDescriptionTest, TheBatchStepWritesTheBeginningOfTheTextAndLeavesAnEmptyDocument)
{
    std::unique_ptr<CDocumentRec> pDocument
        = Catalogued("notes.txt", "First line\nsecond\tline " + std::string(400, 'x'));
    CDlgDocumentDescription step(pDocument.get());
    EXPECT_EQ(step.DescriptionFromContent(), CDocumentRec::DESCRIPTION_WRITTEN);
    const CString strDescription = Description(*Document(*m_pCatalog, pDocument->GetRef()));
    EXPECT_EQ(strDescription.Left(23), CString("First line second line "));
    EXPECT_EQ(strDescription.GetLength(), CDlgDocumentDescription::MAX_DESCRIPTION) << "as much as the record holds";
    EXPECT_EQ(step.DescriptionFromContent(), CDocumentRec::DESCRIPTION_UNCHANGED) << "the same text again";

    std::unique_ptr<CDocumentRec> pEmpty = Catalogued("empty.txt", "");
    const CString strBefore = Description(*pEmpty);
    CDlgDocumentDescription empty(pEmpty.get());
    EXPECT_EQ(empty.DescriptionFromContent(), CDocumentRec::DESCRIPTION_UNCHANGED);
    EXPECT_EQ(Description(*Document(*m_pCatalog, pEmpty->GetRef())), strBefore);
}
