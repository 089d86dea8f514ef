#include "webaccess/dialogs/CDlgWAProfileInvite.h"

#include "platform/controls/PropertySheet.h"
#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "tests/webaccess/dialogs/ProfileDialogTest.h"
#include "webaccess/profiles/CWASettings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using CDlgWAProfileInviteTest = ProfileDialogTest;

// The profile wizard's script for a new profile with every group.
CDialogScript NewProfileWizard(const char* pszName, const char* pszPassword)
{
    CDialogScript wizard;
    wizard.SetText(IDC_WA_PROFILE_NAME, pszName)
        .SetText(IDC_WA_PROFILE_PASSWORD, pszPassword)
        .SetText(IDC_WA_PROFILE_CONFIRM, pszPassword)
        .Press(ID_WIZNEXT)
        .Press(ID_WIZNEXT)
        .Press(ID_WIZFINISH);
    return wizard;
}

TEST_F(CDlgWAProfileInviteTest, WithoutAProfileNothingIsSentUntilTheWizardMakesOne)
{
    m_site.m_server.SetReply("<#WAIN |0| |ok| |x| |Join my catalog|#>");
    std::string strShown;
    CDialogScript script;
    script.SetText(IDC_WA_FRIEND_NAME, " Eva ").SetText(IDC_WA_FRIEND_EMAIL, "eva@example.org").Press(IDOK);
    script.Press(IDC_WA_NEW_PROFILE);
    script.Press(IDC_WA_SHOW_INVITATION);
    script.Then([this](HWND) { m_site.m_server.SetReply("<#WAIN |0| |sent|#>"); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox(); // no profile
    m_driver.AnswerNextDialog(NewProfileWizard("Guests", "g1"));
    CDialogScript message;
    message.Then([&](HWND hDlg) { strShown = CTestDriver::Text(GetDlgItem(hDlg, IDC_WA_MESSAGE_TEXT)); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(message));
    AnswerMessageBox(); // the invitation was sent

    CDlgWAProfileInvite dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_EQ(m_messages[0], Loaded(IDS_WEB_NO_USER_ID));
    EXPECT_EQ(m_messages[1], Loaded(IDS_WA_INVITATION_SENT));
    EXPECT_EQ(strShown, "Join my catalog");
    ASSERT_EQ(m_site.m_settings.m_profiles.size(), 1U);
    EXPECT_EQ(std::string(m_site.m_settings.m_profiles[0]->GetName()), "Guests");
    EXPECT_TRUE(m_site.m_settings.m_profiles[0]->IsEnabled());
    const std::vector<std::string> requests = m_site.m_server.Requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_NE(requests[0].find("Pwd=g1&Nto=Eva&Eto=eva%40example%2eorg&Snd=N"), std::string::npos) << requests[0];
    EXPECT_NE(requests[1].find("Snd=Y"), std::string::npos) << requests[1];
}

TEST_F(CDlgWAProfileInviteTest, AnInvitationWithoutTextShowsAnEmptyMessageAndRefusalsKeepTheDialog)
{
    m_site.m_settings.m_profiles.push_back(Profile("Guests", "g1"));
    m_site.m_server.SetReply("<#WAIN |0| |ok|#>");
    std::string strShown = "(not shown)";
    CDialogScript script;
    script.SetText(IDC_WA_FRIEND_NAME, "Eva").SetText(IDC_WA_FRIEND_EMAIL, "eva@example.org");
    script.Press(IDC_WA_SHOW_INVITATION);
    script.Then([this](HWND) { m_site.m_server.SetReply("<#WAIN |12| |Unknown friend|#>"); }).Press(IDOK);
    script.Then([this](HWND) { m_site.m_server.SetReply("<html>busy</html>"); }).Press(IDOK);
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    CDialogScript message;
    message.Then([&](HWND hDlg) { strShown = CTestDriver::Text(GetDlgItem(hDlg, IDC_WA_MESSAGE_TEXT)); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(message));
    AnswerMessageBox();         // the refusal
    AnswerMessageBox(IDCANCEL); // Cancel in the Retry box

    CDlgWAProfileInvite dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(strShown, "");
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_NE(m_messages[0].find("Unknown friend"), std::string::npos);
    EXPECT_NE(m_messages[1].find("busy"), std::string::npos);
    const std::vector<std::string> requests = m_site.m_server.Requests();
    ASSERT_EQ(requests.size(), 3U);
    EXPECT_NE(requests[0].find("Pwd=g1&Nto=Eva&Eto=eva%40example%2eorg&Snd=N"), std::string::npos) << requests[0];
    EXPECT_NE(requests[1].find("&Snd=Y"), std::string::npos) << requests[1];
}

TEST_F(CDlgWAProfileInviteTest, AFailedSaveOfANewProfileIsReportedAndTheProfileStaysChosen)
{
    // A folder where the settings file's next version is written makes every save fail.
    std::filesystem::create_directories(Home() / "settings" / "CurrentUser.reg.tmp");
    std::string strChosen;
    CDialogScript script;
    script.Press(IDC_WA_NEW_PROFILE);
    script.Then([&](HWND hDlg) { strChosen = CTestDriver::Text(GetDlgItem(hDlg, IDC_WA_INVITE_PROFILE)); });
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    m_driver.AnswerNextDialog(NewProfileWizard("Guests", "g1"));
    AnswerMessageBox();

    CDlgWAProfileInvite dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages, std::vector<std::string> { Loaded(IDS_SETTINGS_NOT_SAVED) });
    EXPECT_EQ(strChosen, "Guests");
    ASSERT_EQ(m_site.m_settings.m_profiles.size(), 1U);
    EXPECT_EQ(std::string(m_site.m_settings.m_profiles[0]->GetName()), "Guests");
}

} // namespace
