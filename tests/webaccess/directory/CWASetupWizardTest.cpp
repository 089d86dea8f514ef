#include "webaccess/directory/CWASetupWizardPropSheet.h"

#include "platform/controls/PropertySheet.h"
#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"
#include "tests/webaccess/directory/AccountDialogTest.h"
#include "tests/webaccess/directory/SetupWizardRoad.h"
#include "webaccess/directory/CWASetupConnection.h"
#include "webaccess/profiles/CWAProfiles.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The server's connection as the wizard sees it: what it was asked to do.
class CRecordingConnection : public CWASetupConnection {
public:
    int CreateSocket(int nConnType, LPCTSTR pszDirServer) override
    {
        m_calls.push_back("open " + std::to_string(nConnType) + " " + pszDirServer);
        return m_nPort;
    }
    void CloseSocket() override { m_calls.emplace_back("close"); }
    void SetAccount(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode) override
    {
        m_calls.push_back(
            std::string("account ") + pszLogin + " " + pszPassword + " " + pszCatalogName + " " + pszCatalogCode);
    }

    int m_nPort { 4321 };
    std::vector<std::string> m_calls;
};

class CWASetupWizardTest : public AccountDialogTest {
protected:
    void SetUp() override
    {
        AccountDialogTest::SetUp();
        auto pOld = std::make_unique<CWAProfiles>();
        pOld->SetIdentity("Old", "oldpw", "");
        m_site.m_settings.m_profiles.push_back(std::move(pOld));
        fs::create_directories(Home() / "uploads");
    }

    CDialogScript& Record(CDialogScript& script) { return m_wizard.Record(script); }
    CDialogScript& Next(CDialogScript& script) { return m_wizard.Next(script); }
    CDialogScript& Back(CDialogScript& script) { return m_wizard.Back(script); }
    CDialogScript& ToConnectionType(CDialogScript& script, int nConnButton)
    {
        return m_wizard.ToConnectionType(script, nConnButton);
    }

    // Program path of a folder under the test's home.
    CString Folder(const char* pszName) const { return ProgramFolderText(Home() / pszName); }

    CRecordingConnection m_connection;
    CWASetupWizardPropSheet m_sheet { m_site.m_settings, m_connection };
    CSetupWizardRoad m_wizard;
    std::vector<int>& m_road { m_wizard.m_pages };
};

TEST_F(CWASetupWizardTest, ANewAccountOnCableRegistersANewCatalogAndKeepsOnlyTheDefaultProfile)
{
    m_site.m_server.SetReply("<#WACN |0| |welcome| |x| |NEW1234|#>");
    CDialogScript script;
    std::string strAgreeCaption;
    std::string strNextCaption;
    LRESULT nNoticeTop = -1;
    bool bNoticeFocused = false;
    Next(script).Then([&](HWND hSheet) {
        strAgreeCaption = CTestDriver::Text(GetDlgItem(hSheet, ID_WIZNEXT));
        HWND hNotice = CTestDriver::FindChild(hSheet, IDC_WA_NOTICE_TEXT);
        bNoticeFocused = hNotice && CTestDriver::Focus() == hNotice;
        nNoticeTop = SendMessage(hNotice, EM_GETFIRSTVISIBLELINE, 0, 0);
    });
    Next(script).Then([&](HWND hSheet) { strNextCaption = CTestDriver::Text(GetDlgItem(hSheet, ID_WIZNEXT)); });
    Next(script.Check(IDC_WA_CONN_CABLE));
    Next(script.Check(IDC_WA_NEW_ACCOUNT));
    script.SetText(IDC_WA_ACCOUNT_USER_ID, " bo ").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw1");
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "pw1"));
    script.SetText(IDC_WA_PERSON_NAME, "Bo Lind").SetText(IDC_WA_EMAIL, "bo@example.org").Check(IDC_WA_FEMALE);
    script.SetText(IDC_WA_CITY, "Lima").SetText(IDC_WA_STATE, "LI").Select(IDC_WA_COUNTRY, "Peru PE");
    Next(script);
    script.SetText(IDC_WA_CATALOG_NAME, "Home").SetText(IDC_WA_PROFILE_PASSWORD, "guest");
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
    Back(script);
    Next(script);
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("uploads")));
    script.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));

    EXPECT_EQ(m_sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(m_road, (std::vector<int> { 1, 2, 4, 5, 6, 9, 11, 9, 11, 12 }));
    CString strAgree;
    strAgree.LoadString(IDS_WEB_NOTICE_NEXT);
    EXPECT_EQ(strAgreeCaption, static_cast<LPCTSTR>(strAgree));
    EXPECT_TRUE(bNoticeFocused);
    EXPECT_EQ(nNoticeTop, 0) << "the notice shows its start";
    EXPECT_EQ(strNextCaption, "&Next >");
    EXPECT_EQ(m_site.m_server.LastQuery(),
        "Login=Y&Newuser=Y&Nulog=bo&Nupas=pw1&Nuema=bo%40example%2eorg&Nunam=Bo%20Lind&Nugen=F&Nucit=Lima&Nusta=LI"
        "&Nccod=PE&Newcat=Y&Nclog=Home&Cpor=4321");
    const CString strProgramFolder = GetProgramFolder();
    EXPECT_EQ(m_connection.m_calls,
        (std::vector<std::string> { "open 3 " + std::string(strProgramFolder), "account bo pw1 Home NEW1234" }));
    const CWASettings& settings = m_site.m_settings;
    EXPECT_EQ(std::string(settings.m_strLogin), "bo");
    EXPECT_TRUE(settings.m_strPassword.IsEmpty()) << "typed with the keep box off: sent, not stored";
    EXPECT_EQ(std::string(settings.m_strCatName), "Home");
    EXPECT_EQ(std::string(settings.m_strCatCode), "NEW1234");
    EXPECT_EQ(settings.m_nConnType, WA_CONN_CABLE);
    EXPECT_EQ(settings.m_strDirServer, strProgramFolder);
    EXPECT_EQ(settings.m_strCommFolder, BuildCommFolderPath(strProgramFolder, "NEW1234"));
    ASSERT_EQ(settings.m_profiles.size(), 1U);
    CString strDefault;
    strDefault.LoadString(IDS_WA_DEFAULT_PROFILE);
    EXPECT_EQ(settings.m_profiles[0]->GetName(), strDefault);
    EXPECT_EQ(std::string(settings.m_profiles[0]->GetPassword()), "guest");
    EXPECT_EQ(settings.m_profiles[0]->GetUploadFolder(), Folder("uploads"));
}

TEST_F(CWASetupWizardTest, AnExistingAccountOnALanTakesACatalogFromItsList)
{
    fs::create_directories(Home() / "shared");
    m_site.m_server.SetReply("<#WARC |0| |ok| <#CAT |Docs| |C0DE42| <#CAT |Work| |W0RK99| <#END#>");
    CDialogScript script;
    ToConnectionType(script, IDC_WA_CONN_LAN);
    Next(script.SetText(IDC_WA_COMM_FOLDER, Folder("missing")));
    Next(script.SetText(IDC_WA_COMM_FOLDER, Folder("shared")));
    Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
    script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana2").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw").Check(IDC_WA_ACCOUNT_KEEP);
    Next(script);
    Next(script.Check(IDC_WA_EXISTING_CATALOG));
    script.Then([this](HWND) {
        HWND hPage = m_sheet.GetActivePage()->GetSafeHwnd();
        SendMessage(GetDlgItem(hPage, IDC_WA_LINK_LABEL), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        m_site.m_server.SetReply("<#WACN |0| |welcome back| |x| |W0RK99|#>");
    });
    script.SetText(IDC_WA_PROFILE_PASSWORD, "guest");
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
    Back(script);
    Next(script);
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("uploads/new")));
    script.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox(); // the missing LAN folder
    CDialogScript list;
    list.Select(IDC_WA_CATALOG_LINES, 1).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(list));
    AnswerMessageBox(IDYES); // create the upload folder

    EXPECT_EQ(m_sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(m_road, (std::vector<int> { 1, 2, 3, 3, 4, 7, 8, 10, 11, 10, 11, 12 }));
    ASSERT_FALSE(m_messages.empty());
    EXPECT_EQ(m_messages[0], Loaded(IDS_DEFAULT_FOLDER_MISSING));
    EXPECT_EQ(
        m_site.m_server.LastQuery(), "Login=Y&Newuser=N&Ulog=ana2&Upas=pw&Newcat=N&Clog=Work&Cnum=W0RK99&Cpor=4321");
    EXPECT_TRUE(fs::is_directory(Home() / "uploads/new"));
    const CWASettings& settings = m_site.m_settings;
    EXPECT_EQ(std::string(settings.m_strPassword), "pw");
    EXPECT_EQ(settings.m_strDirServer, Folder("shared"));
    EXPECT_EQ(settings.m_nConnType, WA_CONN_LAN);
    ASSERT_FALSE(m_connection.m_calls.empty());
    EXPECT_EQ(m_connection.m_calls.front(), "open 2 " + std::string(Folder("shared")));
}

TEST_F(CWASetupWizardTest, PagesRefuseMissingFieldsAndARefusedFinishStoresNothing)
{
    const CString strLoginBefore = m_site.m_settings.m_strLogin;
    m_site.m_server.SetReply("<#WACN |12| |name taken|#>");
    CDialogScript script;
    ToConnectionType(script, IDC_WA_CONN_CABLE);
    Next(script.Check(IDC_WA_NEW_ACCOUNT));
    Next(script.SetText(IDC_WA_ACCOUNT_USER_ID, "bo")); // no password
    Next(script.SetText(IDC_WA_ACCOUNT_PASSWORD, "pw").SetText(IDC_WA_CONFIRM_PASSWORD, "PW"));
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "pw"));
    Next(script.SetText(IDC_WA_PERSON_NAME, "Bo").SetText(IDC_WA_EMAIL, "bo@example.org")); // no country
    Next(script.Select(IDC_WA_COUNTRY, 2));
    script.SetText(IDC_WA_CATALOG_NAME, "Home").SetText(IDC_WA_PROFILE_PASSWORD, "guest");
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("uploads")));
    Record(script.Press(ID_WIZFINISH));
    script.Then([this](HWND) { m_site.m_server.SetReply("<#WACN |0| |ok|#>"); }); // no catalog code
    Record(script.Press(ID_WIZFINISH));
    script.Then([this](HWND) { m_connection.m_nPort = -1; });
    Record(script.Press(ID_WIZFINISH));
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    for (int i = 0; i < 6; ++i)
        AnswerMessageBox();

    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_road, (std::vector<int> { 1, 2, 4, 5, 5, 5, 6, 6, 9, 11, 12, 12, 12, 12 }));
    ASSERT_EQ(m_messages.size(), 6U);
    EXPECT_EQ(m_messages[0], Loaded(IDS_WEB_NO_USER_ID));
    EXPECT_EQ(m_messages[1], Loaded(IDS_WA_PASSWORDS_DIFFER));
    EXPECT_EQ(m_messages[2], Loaded(IDS_WEB_NO_USER_ID));
    EXPECT_NE(m_messages[3].find("name taken"), std::string::npos);
    EXPECT_EQ(m_messages[4], Loaded(IDS_WA_BAD_CATALOG_CODE));
    EXPECT_EQ(m_messages[5], Loaded(IDS_WA_NO_PORT));
    // Each refusal after the socket was opened closed it again.
    EXPECT_EQ(m_connection.m_calls.size(), 5U);
    EXPECT_EQ(m_connection.m_calls[1], "close");
    EXPECT_EQ(m_connection.m_calls[3], "close");
    EXPECT_EQ(m_site.m_settings.m_strLogin, strLoginBefore);
    EXPECT_EQ(m_site.m_settings.m_profiles.size(), 1U);
    EXPECT_EQ(std::string(m_site.m_settings.m_profiles[0]->GetName()), "Old");
}

TEST_F(CWASetupWizardTest, ATransportFailureIsRetriedOnTheSameSocketAndCancelKeepsTheWizard)
{
    m_site.m_server.SetReply("<html>busy</html>");
    CDialogScript script;
    ToConnectionType(script, IDC_WA_CONN_CABLE);
    Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
    Next(script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana2").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw"));
    Next(script.Check(IDC_WA_NEW_CATALOG));
    script.SetText(IDC_WA_CATALOG_NAME, "Home").SetText(IDC_WA_PROFILE_PASSWORD, "guest");
    Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("uploads")));
    Record(script.Press(ID_WIZFINISH)); // Cancel in the Retry box
    script.Press(ID_WIZFINISH);         // Retry, then the server answers
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox(IDCANCEL);
    m_driver.OnNextDialog([this](HWND hBox) {
        m_site.m_server.SetReply("<#WACN |0| |ok| |x| |H0ME42|#>");
        EndDialog(hBox, IDRETRY);
    });

    EXPECT_EQ(m_sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(m_road, (std::vector<int> { 1, 2, 4, 7, 8, 9, 11, 12, 12 }));
    EXPECT_EQ(m_connection.m_calls,
        (std::vector<std::string> { "open 3 " + std::string(GetProgramFolder()), "close",
            "open 3 " + std::string(GetProgramFolder()), "account ana2 pw Home H0ME42" }));
    EXPECT_EQ(m_site.m_server.Requests().size(), 3U) << "one request, then one more for the Retry";
    EXPECT_EQ(std::string(m_site.m_settings.m_strCatCode), "H0ME42");
}

TEST_F(CWASetupWizardTest,
    ANewCatalogOfAnExistingAccountTakesAProfilePasswordALoginCanCarryAndAnUploadFolderOnlyWhenUsable)
{
    std::ofstream(Home() / "a-file") << "not a folder";
    std::string strTypedPassword;
    std::string strTypedConfirmation;
    CDialogScript script;
    ToConnectionType(script, IDC_WA_CONN_CABLE);
    Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
    Next(script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana2").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw"));
    Next(script.Check(IDC_WA_NEW_CATALOG));
    // A profile password is typed with 20 characters; a login carries 15.
    script.SetText(IDC_WA_CATALOG_NAME, "Home").Then([&](HWND hSheet) {
        for (auto [nId, pText] : { std::pair { IDC_WA_PROFILE_PASSWORD, &strTypedPassword },
                 std::pair { IDC_WA_CONFIRM_PASSWORD, &strTypedConfirmation } }) {
            HWND hEdit = CTestDriver::FindChild(hSheet, nId);
            ::SetFocus(hEdit);
            EXPECT_TRUE(m_driver.TypeText("abcdefghijklmnopqrst"));
            *pText = static_cast<LPCTSTR>(CTestDriver::Text(hEdit));
        }
    });
    Next(script);
    Back(script);
    Next(script);
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("a-file")));
    Next(script.SetText(IDC_WA_TARGET_FOLDER, Folder("new/uploads")));
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox();     // a file is no folder
    AnswerMessageBox(IDNO); // do not make the missing one

    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_road, (std::vector<int> { 1, 2, 4, 7, 8, 9, 11, 9, 11, 11, 11 }));
    EXPECT_EQ(strTypedPassword, "abcdefghijklmno");
    EXPECT_EQ(strTypedConfirmation, "abcdefghijklmno");
    ASSERT_EQ(m_messages.size(), 2U);
    EXPECT_EQ(m_messages[0], Loaded(IDS_WA_FOLDER_UNUSABLE));
    CString strCreate;
    strCreate.Format(IDS_WA_FOLDER_CREATE, static_cast<LPCTSTR>(Folder("new/uploads")));
    EXPECT_EQ(m_messages[1], std::string(strCreate));
    EXPECT_FALSE(fs::exists(Home() / "new")) << "No makes nothing";
    EXPECT_TRUE(m_site.m_server.Requests().empty());
}

TEST_F(CWASetupWizardTest, TheNoticeIsReadWithinItsBoundWithLineBreaksTheEditShows)
{
    const ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").string());
    const CString strInstalled = CWASetupNoticePropPage::ReadNotice();
    EXPECT_EQ(strInstalled.Find("What web access does"), 0) << "the installed notice, or 5068 without it";

    CString strName;
    strName.LoadString(IDS_WA_NOTICE_FILE);
    {
        std::ofstream out(Home() / static_cast<LPCTSTR>(strName), std::ios::binary);
        out << "one\ntwo\r\n";
        out << std::string(CWASetupNoticePropPage::MAX_NOTICE_BYTES, 'x');
    }
    const CString strNotice = CWASetupNoticePropPage::ReadNotice();
    EXPECT_EQ(strNotice.Left(10), CString("one\r\ntwo\r\n"));
    EXPECT_EQ(strNotice.GetLength(), static_cast<int>(CWASetupNoticePropPage::MAX_NOTICE_BYTES) + 1);
}

} // namespace
