#include "webaccess/dialogs/CDlgWAChangeUserID.h"

#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

namespace {

using CDlgWAChangeUserIDTest = AccountDialogTest;

// Fills the four fields and presses OK.
CDialogScript& Fill(CDialogScript& script, const char* pszPassword, const char* pszNewId, const char* pszNewPassword,
    const char* pszConfirmation)
{
    return script.SetText(IDC_WA_ACCOUNT_PASSWORD, pszPassword)
        .SetText(IDC_WA_NEW_USER_ID, pszNewId)
        .SetText(IDC_WA_NEW_PASSWORD, pszNewPassword)
        .SetText(IDC_WA_CONFIRM_PASSWORD, pszConfirmation)
        .Press(IDOK);
}

TEST_F(CDlgWAChangeUserIDTest, FieldsAreCheckedInOrderBeforeAnyRequest)
{
    CDialogScript script;
    Fill(script, "", "bo", "pw", "pw");
    Fill(script, "secret", " ", "pw", "pw");
    Fill(script, "secret", "bo", "", "");
    Fill(script, "secret", "bo", "pw", "PW");
    Fill(script, "secret", "ANA", "SECRET", "SECRET"); // the same ID and password in other case
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    for (int i = 0; i < 5; ++i)
        AnswerMessageBox();
    CDlgWAChangeUserID dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages,
        (std::vector<std::string> { Loaded(IDS_WEB_NO_USER_ID), Loaded(IDS_WEB_NO_USER_ID), Loaded(IDS_WEB_NO_USER_ID),
            Loaded(IDS_WA_PASSWORDS_DIFFER), Loaded(IDS_WA_NOTHING_CHANGED) }));
    EXPECT_TRUE(m_site.m_server.Requests().empty());
}

TEST_F(CDlgWAChangeUserIDTest, AcceptedChangeStoresTheIdAndThePasswordOnlyWhenKept)
{
    m_site.m_server.SetReply("<#WACL |0| |changed|#>");
    CDialogScript keep;
    m_driver.AnswerNextDialog(std::move(Fill(keep, "secret", " bo ", "new", "new")));
    CDlgWAChangeUserID kept(m_site.m_settings);
    EXPECT_EQ(kept.DoModal(), IDOK);
    EXPECT_EQ(m_site.m_server.LastQuery(), "Ulog=ana&Upas=secret&Nulog=bo&Nupas=new");
    EXPECT_EQ(std::string(m_site.m_settings.m_strLogin), "bo");
    EXPECT_EQ(std::string(m_site.m_settings.m_strPassword), "new");

    CDialogScript forget;
    forget.Uncheck(IDC_WA_ACCOUNT_KEEP);
    m_driver.AnswerNextDialog(std::move(Fill(forget, "new", "bo", "newer", "newer")));
    CDlgWAChangeUserID forgotten(m_site.m_settings);
    EXPECT_EQ(forgotten.DoModal(), IDOK);
    EXPECT_TRUE(m_site.m_settings.m_strPassword.IsEmpty());
}

TEST_F(CDlgWAChangeUserIDTest, RefusalsAndCancelledRetriesKeepTheDialogAndTheSettings)
{
    m_site.m_server.SetReply("<#WACL |12| |ID taken|#>");
    CDialogScript script;
    Fill(script, "secret", "bo", "new", "new");
    script.Then([this](HWND) { m_site.m_server.SetReply("<html>busy</html>"); });
    script.Press(IDOK).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox();
    AnswerMessageBox(IDCANCEL);
    CDlgWAChangeUserID dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_NE(m_messages[0].find("ID taken"), std::string::npos);
    EXPECT_EQ(std::string(m_site.m_settings.m_strLogin), "ana");
    EXPECT_EQ(std::string(m_site.m_settings.m_strPassword), "secret");
}

} // namespace
