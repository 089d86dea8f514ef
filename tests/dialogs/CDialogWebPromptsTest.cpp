#include "dialogs/CDialogPrompts.h"

#include "frame/FramePrompts.h"
#include "frame/WebAccessServices.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "webaccess/directory/CWASetupConnection.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAServicePrompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CDialogWebPromptsTest : public DialogTest {
protected:
    // Ends the next dialog with nButton, keeping its caption in m_captions.
    void CancelNextDialog(int nButton = IDCANCEL)
    {
        CDialogScript script;
        script.Then([this](HWND hDlg) { m_captions.push_back(CTestDriver::Text(hDlg)); }).Press(nButton);
        Answer(script);
    }

    std::vector<CString> m_captions;
};

TEST_F(CDialogWebPromptsTest, TheWebMenuCommandsOpenTheirDialogs)
{
    const CDialogPrompts prompts;
    CFramePrompts& frame = GetFramePrompts();
    EXPECT_TRUE(frame.HasWindow(CFramePrompts::EWindow::WebDialogs));
    for (UINT nIdd : { IDD_WA_CHANGE_USER_ID, IDD_WA_CATALOG_SETTINGS, IDD_WA_EDIT_PROFILE, IDD_WA_PROFILE_INVITE }) {
        CancelNextDialog();
        EXPECT_EQ(frame.WebDialog(nIdd), IDCANCEL);
    }
    EXPECT_EQ(m_captions,
        (std::vector<CString> { "Change User ID", "Web Catalog Settings", "Access Profiles", "Invite a Friend" }));
}

// A connection that only counts its socket openings.
class CCountingConnection : public CWASetupConnection {
public:
    int CreateSocket(int, LPCTSTR) override { return ++m_nOpened; }
    void CloseSocket() override { }
    void SetAccount(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR) override { }
    int m_nOpened { 0 };
};

TEST_F(CDialogWebPromptsTest, TheSetupWizardCancelledRegistersNothing)
{
    const CDialogPrompts prompts;
    CCountingConnection connection;
    CancelNextDialog();
    EXPECT_FALSE(GetWebAccessPrompts().RunSetupWizard(connection));
    ASSERT_EQ(m_captions.size(), 1U);
    EXPECT_EQ(m_captions[0], Text(IDS_WIZARD_CAPTION));
    EXPECT_EQ(connection.m_nOpened, 0);
}

TEST_F(CDialogWebPromptsTest, TheServiceAsksForThePasswordAndShowsItsNotice)
{
    const CDialogPrompts prompts;
    CWAServicePrompts& web = GetWebAccessPrompts();
    CancelNextDialog();
    CString strPassword = "untouched";
    EXPECT_FALSE(web.RunConnectDialog("ana", "", "Docs", "C0DE42", 4000, strPassword));
    EXPECT_EQ(strPassword, CString("untouched"));

    GetWebAccessSettings().m_nWarnConn = 1;
    CancelNextDialog(IDOK);
    web.ShowConnectionNotice();
    ASSERT_EQ(m_captions.size(), 2U);
    CString strConnect;
    strConnect.LoadString(IDS_WA_CONNECT_CAPTION);
    EXPECT_EQ(m_captions[0], strConnect);
    EXPECT_EQ(m_captions[1], CString("Web Access"));
    EXPECT_EQ(GetWebAccessSettings().m_nWarnConn, 1) << "the notice read without its box keeps warning";
}

} // namespace
