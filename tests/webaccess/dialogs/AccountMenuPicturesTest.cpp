// The account menu's user ID and catalog dialogs as they show, each compared
// with a reference picture checked by eye once.

#include "webaccess/dialogs/CDlgWACatalogSettings.h"
#include "webaccess/dialogs/CDlgWAChangeUserID.h"

#include "platform/testing/DialogScript.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/TestData.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

namespace {

class AccountMenuPicturesTest : public AccountDialogTest {
protected:
    // The next dialog compared with the reference picture, then cancelled.
    void CompareNextDialog(const char* pszReference)
    {
        CDialogScript script;
        script
            .Then([this, pszReference](HWND hDlg) {
                m_driver.Pump();
                if (auto mismatch
                    = ScreenshotMismatch(hDlg, SourceRoot() / "tests/webaccess/dialogs/data" / pszReference, m_folder))
                    ADD_FAILURE() << *mismatch;
            })
            .Press(IDCANCEL);
        m_driver.AnswerNextDialog(std::move(script));
    }

    TempFolder m_folder;
};

TEST_F(AccountMenuPicturesTest, TheUserIdAndCatalogDialogs)
{
    CompareNextDialog("wa_change_user_id.png");
    EXPECT_EQ(CDlgWAChangeUserID(m_site.m_settings).DoModal(), IDCANCEL);
    CompareNextDialog("wa_catalog_settings.png");
    EXPECT_EQ(CDlgWACatalogSettings(m_site.m_settings).DoModal(), IDCANCEL);
}

} // namespace
