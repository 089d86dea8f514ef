// The web access preference pages in a sheet of their own, as the web
// preference sheet holds them, against the fake directory server.

#include "webaccess/directory/CPrefWAAccountPropPage.h"
#include "webaccess/directory/CPrefWAConnectionPropPage.h"

#include "platform/base/PathMap.h"
#include "platform/framework/CPropertySheet.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "tests/support/TempFolder.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

class CPrefWAPagesTest : public AccountDialogTest {
protected:
    // Runs the two pages over m_data, showing page nPage; step runs on the
    // shown page, then OK is pressed. When bRefused, OK is expected to show a
    // message box: it is noted with the focus's control ID after it, and the
    // sheet cancelled.
    int RunSheet(int nPage, const std::function<void(HWND hPage)>& step, bool bRefused = false)
    {
        CPrefWAAccountPropPage account(m_data.account);
        CPrefWAConnectionPropPage connection(m_data.connection);
        CPropertySheet sheet(IDS_WEB_PREFERENCES, nullptr, static_cast<UINT>(nPage));
        sheet.AddPage(&account);
        sheet.AddPage(&connection);
        m_driver.OnNextDialog([&](HWND hSheet) {
            step(sheet.GetActivePage()->GetSafeHwnd());
            if (bRefused)
                AnswerMessageBox();
            ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
            if (bRefused) {
                m_nFocusAfterRefusal = ::GetDlgCtrlID(CTestDriver::Focus());
                ::SendMessage(hSheet, WM_COMMAND, IDCANCEL, 0);
            }
        });
        return static_cast<int>(sheet.DoModal());
    }

    void Click(HWND hPage, int nID)
    {
        HWND hButton = ::GetDlgItem(hPage, nID);
        RECT rect {};
        ::GetClientRect(hButton, &rect);
        m_driver.Click(hButton, rect.right / 2, rect.bottom / 2);
    }
    static void SetText(HWND hPage, int nID, const char* pszText) { ::SetDlgItemText(hPage, nID, pszText); }

    CPreferencesWebSheetData m_data;
    int m_nFocusAfterRefusal { 0 };
};

TEST_F(CPrefWAPagesTest, AccountOkTrimsNamesAndDropsAPasswordNotToBeKept)
{
    m_data.account = { "ana", "secret", "Docs", "C0DE42" };
    BOOL bKeptShown = FALSE;
    EXPECT_EQ(RunSheet(0,
                  [&](HWND hPage) {
                      bKeptShown = CTestDriver::IsChecked(::GetDlgItem(hPage, IDC_WA_ACCOUNT_KEEP));
                      SetText(hPage, IDC_WA_ACCOUNT_USER_ID, "  bob ");
                      SetText(hPage, IDC_WA_ACCOUNT_PASSWORD, " new ");
                      SetText(hPage, IDC_WA_CATALOG_CURRENT, " Papers  ");
                      SetText(hPage, IDC_WA_ACCOUNT_CATALOG_CODE, " X1 ");
                      Click(hPage, IDC_WA_ACCOUNT_KEEP);
                  }),
        IDOK);
    EXPECT_TRUE(bKeptShown);
    EXPECT_EQ(std::string(m_data.account.strLogin), "bob");
    EXPECT_TRUE(m_data.account.strPassword.IsEmpty());
    EXPECT_EQ(std::string(m_data.account.strCatName), "Papers");
    EXPECT_EQ(std::string(m_data.account.strCatCode), " X1 ");

    // Kept, the password is taken as typed; without one stored the box starts clear.
    m_data.account.strPassword.Empty();
    EXPECT_EQ(RunSheet(0,
                  [&](HWND hPage) {
                      bKeptShown = CTestDriver::IsChecked(::GetDlgItem(hPage, IDC_WA_ACCOUNT_KEEP));
                      SetText(hPage, IDC_WA_ACCOUNT_PASSWORD, " pw ");
                      Click(hPage, IDC_WA_ACCOUNT_KEEP);
                  }),
        IDOK);
    EXPECT_FALSE(bKeptShown);
    EXPECT_EQ(std::string(m_data.account.strPassword), " pw ");
}

TEST_F(CPrefWAPagesTest, SendPasswordAsksTheServerAndChangesNothing)
{
    m_data.account = { "ana", "secret", "Docs", "C0DE42" };
    m_site.m_settings.m_nConnType = WA_CONN_LAN;
    EXPECT_EQ(RunSheet(0,
                  [&](HWND hPage) {
                      // Blanks only: refused before any request, the focus on the user ID.
                      SetText(hPage, IDC_WA_ACCOUNT_USER_ID, "   ");
                      AnswerMessageBox();
                      Click(hPage, IDC_WA_SEND_PASSWORD);
                      EXPECT_EQ(::GetDlgCtrlID(CTestDriver::Focus()), IDC_WA_ACCOUNT_USER_ID);
                      EXPECT_TRUE(m_site.m_server.Requests().empty());

                      SetText(hPage, IDC_WA_ACCOUNT_USER_ID, " bob ");
                      m_site.m_server.SetReply("<#WARP |0| |sent|#>");
                      AnswerMessageBox();
                      Click(hPage, IDC_WA_SEND_PASSWORD);

                      m_site.m_server.SetReply("<#WARP |12| |Unknown user|#>");
                      AnswerMessageBox();
                      Click(hPage, IDC_WA_SEND_PASSWORD);

                      // A refused connection offers Retry, which sends again.
                      m_site.m_server.Close();
                      AnswerMessageBox(IDRETRY);
                      AnswerMessageBox(IDCANCEL);
                      Click(hPage, IDC_WA_SEND_PASSWORD);
                      SetText(hPage, IDC_WA_ACCOUNT_USER_ID, "ana");
                  }),
        IDOK);
    ASSERT_EQ(m_messages.size(), 5U);
    EXPECT_EQ(m_messages[0], Loaded(IDS_WEB_NO_USER_ID));
    EXPECT_EQ(m_messages[1], Loaded(IDS_WEB_PASSWORD_SENT));
    EXPECT_NE(m_messages[2].find("Unknown user"), std::string::npos) << m_messages[2];
    EXPECT_EQ(m_messages[3], m_messages[4]);
    const std::vector<std::string> requests = m_site.m_server.Requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[0].rfind("GET /wartpwd.asp?Ulog=bob ", 0), 0U) << requests[0];
    EXPECT_EQ(std::string(m_data.account.strPassword), "secret");
    EXPECT_EQ(std::string(m_site.m_settings.m_strLogin), "ana");
}

TEST_F(CPrefWAPagesTest, ModemAndCableShowNoFolderAndHandBackTheProgramFolder)
{
    for (const int nKind : { CPrefWAConnectionPropPage::CONN_MODEM, CPrefWAConnectionPropPage::CONN_CABLE }) {
        m_data.connection = { nKind, "C:\\shared" };
        std::string strShown;
        BOOL bFolderEnabled = TRUE;
        EXPECT_EQ(RunSheet(1,
                      [&](HWND hPage) {
                          strShown = CTestDriver::Text(::GetDlgItem(hPage, IDC_WA_FOLDER));
                          bFolderEnabled = CTestDriver::IsEnabled(::GetDlgItem(hPage, IDC_WA_FOLDER));
                      }),
            IDOK);
        EXPECT_TRUE(strShown.empty());
        EXPECT_FALSE(bFolderEnabled);
        EXPECT_EQ(m_data.connection.nConnType, nKind);
        EXPECT_EQ(std::string(m_data.connection.strDirServer), std::string(GetProgramFolder()));
    }
}

TEST_F(CPrefWAPagesTest, LanFolderMustExistAndBeWritable)
{
    TempFolder folder;
    const CString strFolder = ProgramPathFromHostPath(folder.Path().string()).c_str();
    // Kinds out of range open as LAN, with the folder controls enabled.
    m_data.connection = { 4, "" };
    BOOL bLanShown = FALSE;
    EXPECT_EQ(RunSheet(
                  1,
                  [&](HWND hPage) {
                      bLanShown = CTestDriver::IsChecked(::GetDlgItem(hPage, IDC_WA_CONN_LAN))
                          && CTestDriver::IsEnabled(::GetDlgItem(hPage, IDC_WA_FOLDER_CAPTION));
                      SetText(hPage, IDC_WA_FOLDER, strFolder + "\\missing");
                  },
                  true),
        IDCANCEL);
    EXPECT_TRUE(bLanShown);
    CString strMissing;
    strMissing.Format(IDS_WEB_FOLDER_MISSING, static_cast<LPCTSTR>(strFolder + "\\missing"));
    ASSERT_EQ(m_messages.size(), 1U);
    EXPECT_EQ(m_messages[0], std::string(strMissing));
    EXPECT_EQ(m_nFocusAfterRefusal, IDC_WA_FOLDER);

    // A folder without write permission, by its mode, so that it holds for root too.
    const std::string strLocked = (folder / "locked").string();
    ASSERT_EQ(::mkdir(strLocked.c_str(), 0555), 0);
    m_data.connection = { 2, strFolder + "\\locked" };
    EXPECT_EQ(RunSheet(
                  1, [](HWND) {}, true),
        IDCANCEL);
    CString strReadOnly;
    strReadOnly.Format(IDS_WEB_FOLDER_READ_ONLY, static_cast<LPCTSTR>(strFolder + "\\locked"));
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_EQ(m_messages[1], std::string(strReadOnly));

    // A usable folder is taken trimmed; choosing the modem afterwards disables it.
    m_data.connection = { 2, CString(" ") + strFolder + " " };
    EXPECT_EQ(RunSheet(1, [](HWND) {}), IDOK);
    EXPECT_EQ(m_data.connection.nConnType, CPrefWAConnectionPropPage::CONN_LAN);
    EXPECT_EQ(std::string(m_data.connection.strDirServer), std::string(strFolder));
    BOOL bEnabledAfterModem = TRUE;
    EXPECT_EQ(RunSheet(1,
                  [&](HWND hPage) {
                      Click(hPage, IDC_WA_CONN_MODEM);
                      bEnabledAfterModem = CTestDriver::IsEnabled(::GetDlgItem(hPage, IDC_WA_FOLDER_PICK));
                  }),
        IDOK);
    EXPECT_FALSE(bEnabledAfterModem);
    EXPECT_EQ(m_data.connection.nConnType, CPrefWAConnectionPropPage::CONN_MODEM);
}

} // namespace
