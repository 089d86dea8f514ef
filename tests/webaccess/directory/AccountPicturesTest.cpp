// The account dialogs as they show (the password dialog under each of its
// three callers, the catalog list, the message), each compared with a
// reference picture checked by eye once.

#include "webaccess/directory/CDlgWACatalogList.h"
#include "webaccess/directory/CDlgWAChangeCatalog.h"
#include "webaccess/directory/CDlgWAConnect.h"
#include "webaccess/directory/CDlgWAInvite.h"
#include "webaccess/directory/CDlgWAMessage.h"

#include "platform/testing/DialogScript.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/TestData.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

#include <string>

namespace {

class AccountPicturesTest : public AccountDialogTest {
protected:
    void SetUp() override
    {
        AccountDialogTest::SetUp();
        m_site.m_settings.m_strPassword.Empty(); // every operation asks for the password
    }

    // The next dialog compared with the reference picture, then closed with nEnd.
    void CompareNextDialog(const char* pszReference, int nEnd = IDCANCEL)
    {
        CDialogScript script;
        script
            .Then([this, pszReference](HWND hDlg) {
                m_driver.Pump();
                if (auto mismatch = ScreenshotMismatch(
                        hDlg, SourceRoot() / "tests/webaccess/directory/data" / pszReference, m_folder))
                    ADD_FAILURE() << *mismatch;
            })
            .Press(nEnd);
        m_driver.AnswerNextDialog(std::move(script));
    }

    TempFolder m_folder;
};

TEST_F(AccountPicturesTest, ThePasswordDialogUnderEachCaller)
{
    CompareNextDialog("wa_password_rename.png");
    EXPECT_FALSE(CDlgWAChangeCatalog(m_site.m_settings).Run("Papers"));
    CompareNextDialog("wa_password_invite.png");
    EXPECT_FALSE(CDlgWAInvite(m_site.m_settings).Run("Rui", "rui@x.pt", "guest", "", TRUE));
    CompareNextDialog("wa_password_connect.png");
    EXPECT_FALSE(CDlgWAConnect(m_site.m_settings).Run("ana", "", "Docs", "C0DE42", 4020));
}

TEST_F(AccountPicturesTest, TheCatalogListAndTheMessage)
{
    m_site.m_server.SetReply("<#WARC |0| |ok| <#CAT |Docs| |C0DE42| <#CAT |Mail| |M4IL00| <#END#>");
    CompareNextDialog("wa_catalog_list.png");
    CDlgWACatalogList list("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(list.DoModal(), IDCANCEL);

    CompareNextDialog("wa_message.png", IDOK);
    CDlgWAMessage message("Join me at the catalog \"Docs\".\r\nUser ID: ana\r\nPassword: guest");
    EXPECT_EQ(message.DoModal(), IDOK);
}

} // namespace
