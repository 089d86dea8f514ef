// The web access setup wizard's pages as they show inside their sheet, each
// compared with a reference picture checked by eye once.

#include "webaccess/directory/CWASetupWizardPropSheet.h"

#include "platform/testing/DialogScript.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"
#include "tests/webaccess/directory/AccountDialogTest.h"
#include "webaccess/directory/CWASetupConnection.h"

#include <optional>
#include <string>

namespace {

class CIdleConnection : public CWASetupConnection {
public:
    int CreateSocket(int, LPCTSTR) override { return -1; }
    void CloseSocket() override { }
    void SetAccount(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR) override { }
};

using WASetupPicturesTest = AccountDialogTest;

TEST_F(WASetupPicturesTest, EveryPageInItsSheet)
{
    // The notice installed with the program shows on its page.
    const ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").string());
    CIdleConnection connection;
    CWASetupWizardPropSheet sheet(m_site.m_settings, connection);
    TempFolder folder;
    CDialogScript script;
    for (int nPage = 0; nPage < sheet.GetPageCount(); ++nPage) {
        script.SelectPage(nPage).Then([this, nPage, &folder](HWND hSheet) {
            m_driver.Pump();
            const std::string strName = "wa_setup_page" + std::to_string(nPage) + ".png";
            if (auto mismatch
                = ScreenshotMismatch(hSheet, SourceRoot() / "tests/webaccess/directory/data" / strName, folder))
                ADD_FAILURE() << *mismatch;
        });
    }
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

} // namespace
