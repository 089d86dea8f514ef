#include "dialogs/documents/CDlgCatalogNewDocument.h"

#include "monitor/CCatalogDialog.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "tests/monitor/MonitorFixture.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/TestData.h"
#include "tests/ui/ProgramModule.h"

#include "platform/testing/DialogScript.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class CDlgCatalogNewDocumentTest : public MonitorTest {
protected:
    void SetUp() override
    {
        MonitorTest::SetUp();
        SetCatalogDialogFactory(&MakeCatalogNewDocumentDialog);
        for (const char* pszName : { "alpha.txt", "beta.txt" })
            Post(NOTICE_CREATED, WriteOnT(std::string("docs/") + pszName, std::string("text of ") + pszName));
        Drain();
    }
    void TearDown() override
    {
        SetCatalogDialogFactory(nullptr);
        MonitorTest::TearDown();
    }
    void OpenDialog(CDialogScript& script)
    {
        m_driver.AnswerNextDialog(std::move(script));
        SendMessage(m_pMonitor->GetSafeHwnd(), GetCatalogNewDocMessage(), 0, 0);
        m_driver.Pump();
        EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
    }
    std::unique_ptr<CDocumentRec> Catalogued(const char* pszPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(pszPath));
    }

    // Compares the dialog's picture with the reference, checked by eye once.
    void ExpectLooksLikeItsReference(HWND hDlg)
    {
        m_driver.Pump();
        if (std::optional<std::string> mismatch = ScreenshotMismatch(
                hDlg, SourceRoot() / "tests/dialogs/documents/data/catalog_new_document.png", m_pictures))
            ADD_FAILURE() << *mismatch;
    }

    ProgramModule m_module;
    TempFolder m_pictures;
};

} // namespace

TEST_F(CDlgCatalogNewDocumentTest, CatalogueEntersTheEditedValuesAndSkipDropsTheNextWithoutEntering)
{
    ASSERT_EQ(Queued().size(), 2u);
    std::vector<CString> shown;
    std::vector<int> listed;
    const auto look = [&](HWND hDlg) {
        shown.push_back(CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_PATH)));
        listed.push_back(static_cast<int>(CTestDriver::Items(::GetDlgItem(hDlg, IDC_NEW_DOCS_LIST)).size()));
    };
    CDialogScript script;
    script.Then(look).SetText(IDC_DESCRIPTION_TEXT, "Edited by hand").Press(IDOK).Then(look).Press(IDC_SKIP_DOCUMENT);
    OpenDialog(script);
    EXPECT_EQ(shown, (std::vector<CString> { "t:\\docs\\alpha.txt", "t:\\docs\\beta.txt" }));
    EXPECT_EQ(listed, (std::vector<int> { 2, 1 }));
    EXPECT_TRUE(Queued().empty());
    std::unique_ptr<CDocumentRec> pAlpha = Catalogued("t:\\docs\\alpha.txt");
    ASSERT_NE(pAlpha, nullptr);
    CString strDescription;
    pAlpha->GetNameWithLocation(strDescription);
    EXPECT_EQ(strDescription, CString("Edited by hand"));
    EXPECT_EQ(Catalogued("t:\\docs\\beta.txt"), nullptr);
}

TEST_F(CDlgCatalogNewDocumentTest, ItShowsTheFrontNoticeAndCloseKeepsTheNoticesQueued)
{
    CDialogScript script;
    script.Then([this](HWND hDlg) { ExpectLooksLikeItsReference(hDlg); }).Press(IDCANCEL);
    OpenDialog(script);
    EXPECT_EQ(Queued().size(), 2u);
    EXPECT_EQ(Catalogued("t:\\docs\\alpha.txt"), nullptr);
}
