#include "webaccess/directory/CDlgWAAccount.h"

#include "platform/testing/DialogScript.h"
#include "platform/testing/TestDriver.h"
#include "resources/ResourceIds.h"
#include "tests/webaccess/directory/AccountDialogTest.h"
#include "webaccess/directory/CDlgWAChangeCatalog.h"
#include "webaccess/directory/CDlgWAConnect.h"
#include "webaccess/directory/CDlgWAInvite.h"
#include "webaccess/directory/CDlgWAMessage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr const char* HTML_PAGE = "<html><body>Service unavailable</body></html>";

// The account operations against the fake directory server.
class CDlgWAAccountTest : public AccountDialogTest {
protected:
    // Answers the password dialog: types strPassword, sets the keep box, presses OK.
    void TypePassword(const char* pszPassword, BOOL bKeep, std::string* pUserIdShown = nullptr)
    {
        m_driver.AnswerNextDialog(std::move(CDialogScript()
                                                .Then([pUserIdShown](HWND hDlg) {
                                                    if (pUserIdShown)
                                                        *pUserIdShown = static_cast<LPCTSTR>(CTestDriver::Text(
                                                            GetDlgItem(hDlg, IDC_WA_ACCOUNT_USER_ID)));
                                                })
                                                .SetText(IDC_WA_ACCOUNT_PASSWORD, pszPassword)
                                                .Check(IDC_WA_ACCOUNT_KEEP, bKeep ? BST_CHECKED : BST_UNCHECKED)
                                                .Press(IDOK)));
    }

    // Answers the password dialog: types pszPassword and presses OK, which
    // the server refuses; then the server answers pszReply and OK is pressed again.
    void TypePasswordAndPressOkTwice(const char* pszPassword, const std::string& strReply)
    {
        m_driver.AnswerNextDialog(std::move(CDialogScript()
                                                .SetText(IDC_WA_ACCOUNT_PASSWORD, pszPassword)
                                                .Press(IDOK)
                                                .Then([this, strReply](HWND) { m_server.SetReply(strReply); })
                                                .Press(IDOK)));
    }

    size_t RequestCount() const { return m_server.Requests().size(); }

    CFakeDirectoryServer& m_server { m_site.m_server };
    CWASettings& m_settings { m_site.m_settings };
};

TEST_F(CDlgWAAccountTest, StoredPasswordRenamesWithoutAskingAndStoresTheName)
{
    m_server.SetReply("<#WACC |0| |renamed|#>");
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog dlg(m_settings);
    EXPECT_TRUE(dlg.Run("Papers"));
    EXPECT_EQ(m_server.LastQuery(), "Ulog=ana&Upas=secret&Clog=Docs&Cnum=C0DE42&Nclog=Papers");
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Papers");
    EXPECT_EQ(m_messages, std::vector<std::string> { Loaded(IDS_WA_CATALOG_RENAMED) });
}

TEST_F(CDlgWAAccountTest, KeepBoxDecidesWhetherTheTypedPasswordIsStored)
{
    m_settings.m_strPassword.Empty();
    m_server.SetReply("<#WACC |0| |renamed|#>");
    std::string strUserIdShown;
    TypePassword("typed", FALSE, &strUserIdShown);
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog first(m_settings);
    EXPECT_TRUE(first.Run("Papers"));
    EXPECT_EQ(strUserIdShown, "ana");
    EXPECT_EQ(m_server.LastQuery(), "Ulog=ana&Upas=typed&Clog=Docs&Cnum=C0DE42&Nclog=Papers");
    EXPECT_TRUE(m_settings.m_strPassword.IsEmpty());

    // Nothing was kept, so the next operation asks again; this time it is kept.
    TypePassword("typed2", TRUE);
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog second(m_settings);
    EXPECT_TRUE(second.Run("Letters"));
    EXPECT_EQ(std::string(m_settings.m_strPassword), "typed2");
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Letters");
    EXPECT_EQ(RequestCount(), 2U);
}

TEST_F(CDlgWAAccountTest, AnEmptyPasswordIsRefusedBeforeAnyRequest)
{
    m_settings.m_strPassword.Empty();
    m_driver.AnswerNextDialog(std::move(CDialogScript().Press(IDOK).Press(IDCANCEL)));
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog dlg(m_settings);
    EXPECT_FALSE(dlg.Run("Papers"));
    EXPECT_EQ(m_messages, std::vector<std::string> { Loaded(IDS_WEB_NO_USER_ID) });
    EXPECT_EQ(RequestCount(), 0U);
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Docs");
}

TEST_F(CDlgWAAccountTest, ResultFifteenShowsItsMessageThenAsksForThePassword)
{
    m_server.SetReply("<#WACC |15| |Wrong password|#>");
    AnswerMessageBox(IDOK);
    m_driver.AnswerNextDialog(std::move(CDialogScript()
                                            .Then([this](HWND) { m_server.SetReply("<#WACC |0| |renamed|#>"); })
                                            .SetText(IDC_WA_ACCOUNT_PASSWORD, "right")
                                            .Check(IDC_WA_ACCOUNT_KEEP)
                                            .Press(IDOK)));
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog dlg(m_settings);
    EXPECT_TRUE(dlg.Run("Papers"));
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_NE(m_messages[0].find("Wrong password"), std::string::npos);
    EXPECT_EQ(std::string(m_settings.m_strPassword), "right");

    // Any other refusal ends the operation after its message, settings untouched.
    m_server.SetReply("<#WACC |12| |Unknown catalog|#>");
    AnswerMessageBox(IDOK);
    CDlgWAChangeCatalog refused(m_settings);
    EXPECT_FALSE(refused.Run("Other"));
    EXPECT_NE(m_messages.back().find("Unknown catalog"), std::string::npos);
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Papers");
}

TEST_F(CDlgWAAccountTest, RetrySendsAgainAndCancelEndsRenameButKeepsConnectOpen)
{
    m_server.SetReply(HTML_PAGE);
    AnswerMessageBox(IDRETRY);
    AnswerMessageBox(IDCANCEL);
    CDlgWAChangeCatalog rename(m_settings);
    EXPECT_FALSE(rename.Run("Papers"));
    EXPECT_EQ(RequestCount(), 2U);

    // From the dialog: Cancel in the Retry box ends the rename dialog with Cancel.
    m_settings.m_strPassword.Empty();
    TypePassword("pw", TRUE);
    AnswerMessageBox(IDCANCEL);
    CDlgWAChangeCatalog typed(m_settings);
    EXPECT_FALSE(typed.Run("Papers"));
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Docs");
    EXPECT_TRUE(m_settings.m_strPassword.IsEmpty());

    // The connect dialog stays open after Cancel, and a second OK connects.
    TypePasswordAndPressOkTwice("pw", "<#WACN |0| |ok| |x| |C0DE42|#>");
    AnswerMessageBox(IDCANCEL);
    CDlgWAConnect connect(m_settings);
    EXPECT_TRUE(connect.Run("ana", "", "Docs", "C0DE42", 4020));
    EXPECT_EQ(m_server.LastQuery(), "Login=Y&Newuser=N&Ulog=ana&Upas=pw&Newcat=N&Clog=Docs&Cnum=C0DE42&Cpor=4020");
    EXPECT_EQ(std::string(connect.GetPassword()), "pw");
}

TEST_F(CDlgWAAccountTest, InvitationIsMailedOrReturnedAsText)
{
    m_server.SetReply("<#WAIN |0| |ok|#>");
    CDlgWAInvite shown(m_settings);
    EXPECT_TRUE(shown.Run("Rui", "rui@x.pt", "guest", "", FALSE));
    EXPECT_TRUE(shown.GetInvitationText().IsEmpty());
    EXPECT_TRUE(m_messages.empty());

    m_server.SetReply("<#WAIN |0| |ok| |x| |Join me at ...|#>");
    CDlgWAInvite text(m_settings);
    EXPECT_TRUE(text.Run("Rui", "rui@x.pt", "guest", "", FALSE));
    EXPECT_EQ(std::string(text.GetInvitationText()), "Join me at ...");

    m_server.SetReply("<#WAIN |0| |ok|#>");
    AnswerMessageBox(IDOK);
    CDlgWAInvite mailed(m_settings);
    EXPECT_TRUE(mailed.Run("Rui", "rui@x.pt", "guest", "Hi", TRUE));
    EXPECT_EQ(m_server.LastQuery(),
        "Ulog=ana&Upas=secret&Clog=Docs&Cnum=C0DE42&Pwd=guest&Nto=Rui&Eto=rui%40x%2ept&Txt=Hi&Snd=Y");
    EXPECT_EQ(m_messages, std::vector<std::string> { Loaded(IDS_WA_INVITATION_SENT) });
}

TEST_F(CDlgWAAccountTest, EveryOperationWithTheStoredPasswordEndsOnARefusalWithItsMessage)
{
    struct Operation {
        const char* pszMarker;
        std::function<BOOL()> run;
    };
    const Operation operations[] = {
        { "<#WACC ", [this] { return CDlgWAChangeCatalog(m_settings).Run("Papers"); } },
        { "<#WAIN ", [this] { return CDlgWAInvite(m_settings).Run("Rui", "rui@x.pt", "guest", "", TRUE); } },
        { "<#WACN ", [this] { return CDlgWAConnect(m_settings).Run("ana", "secret", "Docs", "C0DE42", 4020); } },
    };
    for (const Operation& operation : operations) {
        for (const char* pszReply : { "|12| |Refused here|#>", "|1x| |Refused here|#>" }) {
            m_server.SetReply(std::string(operation.pszMarker) + pszReply);
            m_messages.clear();
            AnswerMessageBox(IDOK);
            EXPECT_FALSE(operation.run()) << operation.pszMarker << pszReply;
            ASSERT_EQ(m_messages.size(), 1U) << operation.pszMarker << pszReply;
            EXPECT_NE(m_messages[0].find("Refused here"), std::string::npos);
        }
    }
    EXPECT_EQ(RequestCount(), 6U);
    EXPECT_EQ(std::string(m_settings.m_strCatName), "Docs");
    EXPECT_EQ(std::string(m_settings.m_strPassword), "secret");
}

TEST_F(CDlgWAAccountTest, ARefusalKeepsTheDialogOpenAndTheKeepBoxDecidesForInviteAndConnect)
{
    m_settings.m_strPassword.Empty();
    m_server.SetReply("<#WAIN |12| |Unknown friend|#>");
    TypePasswordAndPressOkTwice("typed", "<#WAIN |0| |ok| |x| |Join|#>");
    AnswerMessageBox(IDOK);
    CDlgWAInvite invite(m_settings);
    EXPECT_TRUE(invite.Run("Rui", "rui@x.pt", "guest", "", FALSE));
    EXPECT_EQ(std::string(invite.GetInvitationText()), "Join");
    ASSERT_EQ(m_messages.size(), 1U) << "the refusal, and no sent message without the send flag";
    EXPECT_NE(m_messages[0].find("Unknown friend"), std::string::npos);
    EXPECT_TRUE(m_settings.m_strPassword.IsEmpty());

    m_server.SetReply("<#WACN |15| |Wrong password|#>");
    AnswerMessageBox(IDOK);
    m_driver.AnswerNextDialog(std::move(CDialogScript()
                                            .Then([this](HWND) { m_server.SetReply("<#WACN |0| |ok| |x| |C0DE42|#>"); })
                                            .SetText(IDC_WA_ACCOUNT_PASSWORD, "right")
                                            .Check(IDC_WA_ACCOUNT_KEEP)
                                            .Press(IDOK)));
    CDlgWAConnect connect(m_settings);
    EXPECT_TRUE(connect.Run("ana", "stale", "Docs", "C0DE42", 4020));
    EXPECT_EQ(std::string(connect.GetPassword()), "right");
    EXPECT_EQ(std::string(m_settings.m_strPassword), "right");
    EXPECT_EQ(m_server.LastQuery(), "Login=Y&Newuser=N&Ulog=ana&Upas=right&Newcat=N&Clog=Docs&Cnum=C0DE42&Cpor=4020");
}

TEST_F(CDlgWAAccountTest, MessageDialogShowsTheTextReadOnly)
{
    std::string strShown;
    bool bReadOnly = false;
    m_driver.OnNextDialog([&](HWND hDlg) {
        HWND hText = GetDlgItem(hDlg, IDC_WA_MESSAGE_TEXT);
        strShown = static_cast<LPCTSTR>(CTestDriver::Text(hText));
        bReadOnly = (GetWindowLong(hText, GWL_STYLE) & ES_READONLY) != 0;
        EndDialog(hDlg, IDOK);
    });
    CDlgWAMessage dlg("Join me\r\nat the catalog");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strShown, "Join me\r\nat the catalog");
    EXPECT_TRUE(bReadOnly);
}

} // namespace
