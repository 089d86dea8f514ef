// The request-folder server under the test driver: request files written into
// a real communication folder, timers fired by the manual clock, replies read
// back out of their zip archives.

#include "webaccess/server/CWAServer.h"

#include "platform/net/ConnectedState.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "tests/ui/MessageBoxAnswers.h"
#include "tests/ui/ProgramModule.h"
#include "tests/webaccess/server/CatalogSessionFixture.h"
#include "tools/testpeers/FakeDirectoryServer.h"
#include "tools/testpeers/FolderRelay.h"
#include "tools/testpeers/RelaySession.h"
#include "webaccess/directory/CWAHttpQuery.h"
#include "webaccess/server/CWAConnection.h"
#include "webaccess/server/CWAServicePrompts.h"

#include <map>
#include <regex>

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

class CQuietPrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection&) override { return FALSE; }
    BOOL RunConnectDialog(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, int, CString&) override
    {
        ++m_nConnects;
        return m_bConnects;
    }
    void ShowConnectionNotice() override { ++m_nNotices; }
    void ShowLog(std::vector<CString>&) override { }
    void AddLogLine(LPCTSTR) override { }
    int m_nNotices { 0 };
    int m_nConnects { 0 };
    BOOL m_bConnects { TRUE };
};

class CWAServerTest : public CatalogSessionTest {
protected:
    void SetUp() override
    {
        CatalogSessionTest::SetUp();
        ASSERT_NE(m_module.Handle(), nullptr);
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
        static_cast<void>(Login(AllGroups())); // installs the profile "guest" with the password "pw"
        m_settings.m_strSite = m_directory.BaseUrl().c_str();
        m_settings.m_strCatCode = "C0DE42";
        m_settings.m_strCommFolder = BuildCommFolderPath(GetProgramFolder(), "C0DE42");
        m_settings.m_nReqTime = 1000;
        m_settings.m_nPingTime = 180000;
        m_settings.m_nWarnConn = 0;
        m_settings.m_nConnType = WA_CONN_CABLE;
        thePreferences.AttachWebSettings(&m_settings);
        ASSERT_TRUE(CreateFolderPath(m_settings.m_strCommFolder));
        std::string strHost;
        ASSERT_TRUE(HostPathFromProgramPath(m_settings.m_strCommFolder, strHost));
        m_folder = strHost;
        m_pServer = std::make_unique<CWAServer>(m_settings, m_prompts);
        ASSERT_TRUE(m_pServer->Init());
    }
    void TearDown() override
    {
        m_pServer.reset();
        thePreferences.AttachWebSettings(nullptr);
        CatalogSessionTest::TearDown();
    }

    void Request(const std::string& strId, const std::string& strText)
    {
        ASSERT_TRUE(WriteFolderRequest(m_folder, strId, strText));
    }
    // Writes the request, lets the scan run and reads the reply (empty when
    // none). As a relay does, it keeps the session key a login hands out and
    // sends it with the ID's later requests.
    std::string Exchange(const std::string& strId, const std::string& strToken)
    {
        Request(strId, UserLine(strId, m_keys[strId]) + "\r\n" + strToken + "\r\n");
        m_driver.Advance(1000);
        fs::path out = m_folder / (strId + ".out");
        if (!fs::exists(out))
            return {};
        std::string strReply = ReadZipEntry(out.string());
        fs::remove(out);
        if (const std::string strKey = SessionKeyOf(strReply); !strKey.empty())
            m_keys[strId] = strKey;
        return strReply;
    }
    static std::string Error(const std::string& strReply)
    {
        std::smatch match;
        return std::regex_search(strReply, match, std::regex("<#ERR \\|([^|]*)\\|#>")) ? match[1].str() : "";
    }
    bool Logged(const std::string& strText) const
    {
        for (const CString& strLine : m_pServer->GetLogLines())
            if (std::string(strLine).find(strText) != std::string::npos)
                return true;
        return false;
    }
    std::vector<std::string> FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    CFakeDirectoryServer m_directory;
    CConnectedStateOverride m_connected { TRUE, INTERNET_CONNECTION_LAN };
    CQuietPrompts m_prompts;
    fs::path m_folder;
    std::unique_ptr<CWAServer> m_pServer;
    std::map<std::string, std::string> m_keys; // the session key of each ID
};

} // namespace

TEST_F(CWAServerTest, ALoginGivesItsPageAndTheSessionServesLaterRequests)
{
    m_pServer->StartScan();
    std::string strLogin = Exchange("u1", "<#LOGIN |u1| |ana| |pw| |x|#>");
    EXPECT_EQ(Error(strLogin), "");
    EXPECT_NE(strLogin.find("Projects"), std::string::npos);
    EXPECT_TRUE(strLogin.ends_with("\r\n<#END#>"));
    EXPECT_TRUE(Logged("UserID = u1 - Profile: guest"));
    EXPECT_EQ(m_pServer->GetSessionCount(), 1u);

    std::string strFolder = Exchange("u1", WdirToken(m_projects));
    EXPECT_EQ(Error(strFolder), "");
    EXPECT_NE(strFolder.find("Alpha"), std::string::npos);

    EXPECT_EQ(Exchange("u1", "<#LOGOUT |u1| |ana|#>"), "");
    EXPECT_TRUE(FolderNames().empty()); // no reply, no request left
    EXPECT_EQ(m_pServer->GetSessionCount(), 0u);
    EXPECT_EQ(Exchange("u1", "<#LOGOUT |u1| |ana|#>"), ""); // without a session: silent
    EXPECT_EQ(Error(Exchange("u1", WdirToken(m_projects))), Loaded(IDS_WA_ERR_NO_SESSION));
}

// While the program replaces its catalog none is served: requests wait in
// the folder, and the sessions made on the old catalog are gone.
TEST_F(CWAServerTest, RequestsWaitWhileNoCatalogIsServed)
{
    m_pServer->StartScan();
    ASSERT_EQ(Error(Exchange("u7", "<#LOGIN |u7| |ana| |pw| |x|#>")), "");
    m_pServer->EndSessions();
    SetWebCatalog(nullptr);
    Request("u7", "u7\r\n" + WdirToken(m_projects) + "\r\n");
    m_driver.Advance(3000);
    EXPECT_EQ(FolderNames(), std::vector<std::string> { "u7.in" });

    SetWebCatalog(m_pCatalog.get());
    m_driver.Advance(1000);
    EXPECT_EQ(Error(ReadZipEntry((m_folder / "u7.out").string())), Loaded(IDS_WA_ERR_NO_SESSION));
    fs::remove(m_folder / "u7.out");
    ASSERT_EQ(Error(Exchange("u7", "<#LOGIN |u7| |ana| |pw| |x|#>")), "");
    EXPECT_NE(Exchange("u7", WdirToken(m_projects)).find("Alpha"), std::string::npos);
}

TEST_F(CWAServerTest, RefusedRequestsGetTheirErrorAndLogLine)
{
    m_pServer->StartScan();
    Request("one", "one\r\n");
    m_driver.Advance(1000);
    std::string strReply = ReadZipEntry((m_folder / "one.out").string());
    EXPECT_EQ(Error(strReply), Loaded(IDS_WA_ERR_NO_COMMAND));
    EXPECT_TRUE(strReply.ends_with("\r\n<#END#>"));

    // Without a session a malformed request tells nothing more than "no session".
    EXPECT_EQ(Error(Exchange("u2", "<#WDIR |x|#>")), Loaded(IDS_WA_ERR_NO_SESSION));
    EXPECT_FALSE(Logged("UserID = u2 - ")); // a malformed request has no log text
    EXPECT_EQ(Error(Exchange("u2", "<#WTREE#>")), Loaded(IDS_WA_ERR_NO_SESSION));
    EXPECT_TRUE(Logged("UserID = u2 - ")); // a well-formed one is logged before it is refused
    EXPECT_EQ(Error(Exchange("u2", "<#ATTR |C:\\no\\such\\file|#>")), Loaded(IDS_WA_ERR_NO_SESSION));

    EXPECT_EQ(Error(Exchange("u2", "<#LOGIN |u2| |ana| |secret9| |x|#>")), Loaded(IDS_WA_ERR_NO_PROFILE));
    EXPECT_FALSE(Logged("secret9"));
    EXPECT_TRUE(Logged("********"));

    // A login for another user's ID must not take over that user's session.
    EXPECT_EQ(Error(Exchange("u2", "<#LOGIN |victim| |ana| |pw| |x|#>")), Loaded(IDS_WA_ERR_REFUSED));
    EXPECT_EQ(m_pServer->GetSessionCount(), 0u);
}

TEST_F(CWAServerTest, FileAndExplorerCommandsAnswerThroughTheFolderAndRefusalsGetTheirCodes)
{
    m_settings.m_profiles.front()->SetIdentity("guest", "pw", ProgramPath("uploads").c_str());
    m_pServer->StartScan();
    ASSERT_EQ(Error(Exchange("u6", "<#LOGIN |u6| |ana| |pw| |x|#>")), "");
    const std::string strFile = ProgramPath("one.txt");
    const std::string strHome = ProgramPath("");
    const std::string strAttr = Exchange("u6", "<#ATTR |" + strFile + "|#>");
    EXPECT_NE(strAttr.find("/one.txt| |1| |"), std::string::npos) << strAttr;
    EXPECT_NE(Exchange("u6", "<#EDIR |" + strHome + "|#>").find("one.txt"), std::string::npos);
    EXPECT_NE(Exchange("u6", "<#TIPV |" + strFile + "|#>").find("<#HTML |tipview|#>"), std::string::npos);
    EXPECT_NE(Exchange("u6", "<#VUPL#>").find("<#HTML |"), std::string::npos);

    const std::string strMissing = "<#ATTR |" + ProgramPath("gone.txt") + "|#>";
    EXPECT_EQ(Error(Exchange("u6", strMissing)), Loaded(IDS_WA_ERR_MISSING));
    CString strLog;
    strLog.Format(IDS_WA_LOG_MISSING, strMissing.c_str());
    EXPECT_TRUE(Logged(static_cast<LPCTSTR>(strLog)));

    // No upload folder to make: 11. A profile without downloads: 6.
    m_settings.m_profiles.front()->SetIdentity("guest", "pw", "");
    m_settings.m_profiles.front()->SetPermissions(FALSE, TRUE, 1);
    ASSERT_EQ(Error(Exchange("u6", "<#LOGIN |u6| |ana| |pw| |x|#>")), "");
    EXPECT_EQ(Error(Exchange("u6", "<#UPL |a.txt| |1|#>")), Loaded(IDS_WA_ERR_NO_UPLOAD_FOLDER));
    EXPECT_EQ(Error(Exchange("u6", "<#DOWN2 |" + strFile + "|#>")), Loaded(IDS_WA_ERR_NOT_ALLOWED));
    EXPECT_TRUE(FolderNames().empty());
}

TEST_F(CWAServerTest, StartingRemovesLeftoverRequestsAndShowsTheIcon)
{
    Request("old", "old\r\n<#LOGOUT |old| |ana|#>\r\n");
    fs::create_directory(m_folder / "dir.in");
    m_pServer->StartScan();
    EXPECT_EQ(FolderNames(), std::vector<std::string> { "dir.in" });
    ASSERT_EQ(CTestDriver::TrayIcons().size(), 1u);
    EXPECT_EQ(CTestDriver::TrayIcons()[0].strTip, "WebArchivora");
    EXPECT_TRUE(Logged(Loaded(IDS_WA_LOG_STARTED)));
    m_pServer->Stop();
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
    EXPECT_TRUE(Logged(Loaded(IDS_WA_LOG_STOPPED)));

    // Log lines carry the local time, two blanks before the hour, and go to the file too.
    std::regex line(R"([A-Z][a-z]{2} \d\d, \d{4}  \d\d:\d\d:\d\d - .*)");
    EXPECT_TRUE(std::regex_match(std::string(m_pServer->GetLogLines().front()), line))
        << m_pServer->GetLogLines().front();
    std::ifstream log(Home() / "program" / "WebArch.LOG");
    std::string strFirst;
    std::getline(log, strFirst);
    EXPECT_EQ(strFirst, std::string(m_pServer->GetLogLines().front()) + "\r");
}

TEST_F(CWAServerTest, TheConnectionNoticeShowsAtEachStartUntilItsBoxTurnsItOff)
{
    m_settings.m_nWarnConn = 1;
    ASSERT_TRUE(m_pServer->StartScan());
    m_pServer->Stop();
    ASSERT_TRUE(m_pServer->StartScan());
    m_pServer->Stop();
    EXPECT_EQ(m_prompts.m_nNotices, 2);
    m_settings.m_nWarnConn = 0; // what the notice's box stores
    ASSERT_TRUE(m_pServer->StartScan());
    m_pServer->Stop();
    EXPECT_EQ(m_prompts.m_nNotices, 2);
}

// The communication folder comes from the catalog code the directory server
// sent: a code that leads elsewhere, or is too short to name a folder, stops
// serving before anything is deleted there (or in the current folder).
TEST_F(CWAServerTest, AnUnsafeCatalogCodeServesNothingAndDeletesNothing)
{
    const fs::path elsewhere = Home() / "elsewhere";
    fs::create_directory(elsewhere);
    std::ofstream(elsewhere / "keep.in") << "kept";
    const std::vector<std::pair<const char*, CString>> unsafe = {
        { "..\\elsewhere", CString(ProgramPathFromHostPath(elsewhere.string()).c_str()) + "\\" },
        { "AB1", BuildCommFolderPath(GetProgramFolder(), "AB1") },
    };
    for (const auto& [pszCode, strFolder] : unsafe) {
        m_settings.m_strCatCode = pszCode;
        m_settings.m_strCommFolder = strFolder;
        std::string strShown;
        m_driver.OnNextDialog([&strShown](HWND hDlg) {
            char szText[512] = "";
            GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
            strShown = szText;
            EndDialog(hDlg, IDOK);
        });
        EXPECT_FALSE(m_pServer->StartScan()) << pszCode;
        CString strExpected;
        strExpected.Format(IDS_WA_COMM_FOLDER_FAILED, static_cast<LPCTSTR>(strFolder));
        EXPECT_EQ(strShown, static_cast<LPCTSTR>(strExpected)) << pszCode;
    }
    EXPECT_TRUE(fs::exists(elsewhere / "keep.in"));
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
    EXPECT_FALSE(Logged(Loaded(IDS_WA_LOG_STARTED)));
}

TEST_F(CWAServerTest, AFailedPingComesBackAfterAThird)
{
    m_directory.SetReply("<#WAPG |1| |unknown|#>");
    m_pServer->StartScan();
    m_driver.Advance(180000);
    EXPECT_EQ(m_directory.Requests().size(), 1u);
    m_driver.Advance(59000);
    EXPECT_EQ(m_directory.Requests().size(), 1u);
    m_directory.SetReply("<#WAPG |0| |ok|#>");
    m_driver.Advance(1000);
    EXPECT_EQ(m_directory.Requests().size(), 2u);
    m_driver.Advance(60000); // answered: the full interval again
    EXPECT_EQ(m_directory.Requests().size(), 2u);
}

TEST_F(CWAServerTest, AnAnnouncedUploadIsStoredBesideAnOlderFileOfItsName)
{
    fs::path uploads = Home() / "uploads";
    m_settings.m_profiles.front()->SetIdentity("guest", "pw", ProgramPath("uploads").c_str());
    m_pServer->StartScan();
    ASSERT_EQ(Error(Exchange("u3", "<#LOGIN |u3| |ana| |pw| |x|#>")), "");
    fs::create_directories(uploads);
    std::ofstream(uploads / "report.doc") << "first";
    std::ofstream(uploads / "report[001-0].doc") << "kept aside earlier";

    EXPECT_EQ(Exchange("u3", "<#UPL |C:/Users/ana/report.doc| |6|#>"), "\r\n<#END#>");
    std::ofstream(m_folder / "u3.upl") << "second";
    m_driver.Advance(1000);
    std::string strReply = ReadZipEntry((m_folder / "u3.out").string());
    EXPECT_EQ(strReply, "\r\n<#END#>");
    std::ifstream stored(uploads / "report.doc");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stored), {}), "second");
    std::ifstream aside(uploads / "report[002-0].doc");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), "first");
    EXPECT_FALSE(fs::exists(m_folder / "u3.upl"));

    // A new login drops the upload the same request ID announced.
    fs::remove(m_folder / "u3.out");
    Exchange("u3", "<#UPL |late.txt| |1|#>");
    Exchange("u3", "<#LOGIN |u3| |ana| |pw| |x|#>");
    EXPECT_TRUE(Logged("late.txt"));
    std::ofstream(m_folder / "u3.upl") << "x";
    m_driver.Advance(2000);
    EXPECT_FALSE(fs::exists(uploads / "late.txt"));
}

TEST(CWAServerNameTest, AnExistingTargetIsMovedAsideWithTheNextNumber)
{
    ScratchFolder folder("unique");
    auto program
        = [&folder](const char* pszName) { return ProgramPathFromHostPath((folder.Path() / pszName).string()); };
    EXPECT_TRUE(CWAServer::MakeUniqueName(0, program("new.doc").c_str()));
    std::ofstream(folder.Path() / "report") << "a";
    EXPECT_TRUE(CWAServer::MakeUniqueName(0, program("report").c_str()));
    EXPECT_TRUE(fs::exists(folder.Path() / "report[001-0]."));
    std::ofstream(folder.Path() / "report") << "b";
    EXPECT_TRUE(CWAServer::MakeUniqueName(0, program("report").c_str()));
    EXPECT_TRUE(fs::exists(folder.Path() / "report[002-0]."));
    EXPECT_FALSE(fs::exists(folder.Path() / "report"));
}

TEST_F(CWAServerTest, ALostDialUpLinkStopsServingAndItsReturnResumes)
{
    m_settings.m_nConnType = WA_CONN_MODEM;
    CWAConnection& connection = *m_pServer->GetConnection();
    ASSERT_GT(connection.CreateSocket(WA_CONN_MODEM, m_settings.m_strDirServer), 0);
    m_pServer->StartScan();
    ASSERT_EQ(Error(Exchange("u4", "<#LOGIN |u4| |ana| |pw| |x|#>")), "");
    {
        CConnectedStateOverride lost(FALSE, 0);
        m_driver.Advance(CWAServer::CONNECTION_CHECK);
        EXPECT_EQ(connection.GetState(), 0);
        EXPECT_EQ(connection.GetListenSocket(), nullptr);
        EXPECT_EQ(m_pServer->GetSessionCount(), 0u);
        EXPECT_TRUE(Logged(Loaded(IDS_WA_LOG_STOPPED)));
        ASSERT_EQ(CTestDriver::TrayIcons().size(), 1u); // the icon stays and steps through its pictures
        const HICON hBefore = CTestDriver::TrayIcons()[0].hIcon;
        m_driver.Advance(500);
        EXPECT_NE(CTestDriver::TrayIcons()[0].hIcon, hBefore);
        Request("u5", "u5\r\n<#LOGOUT |u5| |ana|#>\r\n");
        m_driver.Advance(CWAServer::CONNECTION_CHECK); // still lost: checked again, nothing served
        EXPECT_TRUE(fs::exists(m_folder / "u5.in"));
    }
    CConnectedStateOverride back(TRUE, INTERNET_CONNECTION_MODEM);
    m_driver.Advance(CWAServer::CONNECTION_CHECK);
    EXPECT_EQ(m_prompts.m_nConnects, 1);
    EXPECT_EQ(connection.GetState(), WA_CONN_MODEM);
    EXPECT_NE(connection.GetListenSocket(), nullptr);
    EXPECT_FALSE(fs::exists(m_folder / "u5.in")); // serving again starts by clearing old requests
    EXPECT_EQ(CTestDriver::TrayIcons().size(), 1u);
}
