#include "webaccess/server/CWAConnection.h"

#include "platform/base/PathMap.h"
#include "platform/net/ConnectedState.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/FileHelpers.h"
#include "tests/ui/ProgramModule.h"
#include "tools/testpeers/FakeDirectoryServer.h"
#include "tools/testpeers/PeerSocket.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAListenSocket.h"
#include "webaccess/server/CWAServicePrompts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Answers the dialogs as the program's do: the connect dialog sends the real
// connect request, with the port it was given.
class CScriptedPrompts : public CWAServicePrompts {
public:
    // Opens the socket as the wizard's last page does, then finishes or not.
    BOOL RunSetupWizard(CWASetupConnection& connection) override
    {
        ++m_nWizards;
        m_nWizardPort = connection.CreateSocket(WA_CONN_CABLE, "");
        return m_bWizardFinishes;
    }
    BOOL RunConnectDialog(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode,
        int nPort, CString& strNewPassword) override
    {
        m_nDialogPort = nPort;
        CWAConnectRequest request;
        request.Connect(TRUE);
        request.SetLoginFields(pszLogin, pszPassword);
        request.SetCatalogFields(pszCatalogName, pszCatalogCode);
        request.SetPort(nPort);
        strNewPassword = "typed";
        return request.RunAndParse(WA_CONN_DEFAULT) == 0;
    }
    void ShowConnectionNotice() override { }
    void ShowLog(std::vector<CString>&) override { }
    void AddLogLine(LPCTSTR) override { }

    int m_nWizards { 0 };
    bool m_bWizardFinishes { true };
    int m_nWizardPort { -2 };
    int m_nDialogPort { -2 };
};

class CWAConnectionTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
        ASSERT_NE(m_module.Handle(), nullptr);
        m_settings.SetDefaults();
        m_settings.m_strSite = m_server.BaseUrl().c_str();
        m_settings.m_strLogin = "ana";
        m_settings.m_strPassword = "secret";
        m_settings.m_strCatName = "Docs";
        m_settings.m_strCatCode = "C0DE42";
        m_settings.m_nConnType = WA_CONN_CABLE;
        m_settings.m_strDirServer = GetProgramFolder();
        m_settings.m_strCommFolder = BuildCommFolderPath(GetProgramFolder(), m_settings.m_strCatCode);
        thePreferences.AttachWebSettings(&m_settings);
    }
    void TearDown() override { thePreferences.AttachWebSettings(nullptr); }

    // Reads the text of the next message box into Shown(n) and answers it with OK.
    void ExpectMessageBox()
    {
        auto pText = std::make_shared<std::string>();
        m_driver.OnNextDialog([pText](HWND hDlg) {
            char szText[512] = "";
            GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
            *pText = szText;
            EndDialog(hDlg, IDOK);
        });
        m_shown.push_back(pText);
    }
    std::string Shown(size_t nIndex) const { return nIndex < m_shown.size() ? *m_shown[nIndex] : "(none)"; }

    template<typename... Args> static std::string Formatted(UINT nId, const Args&... args)
    {
        CString strText;
        strText.Format(nId, args...);
        return static_cast<LPCTSTR>(strText);
    }

    static fs::path HostOf(const CString& strPath)
    {
        std::string strHost;
        EXPECT_TRUE(HostPathFromProgramPath(strPath, strHost));
        return strHost;
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    CFakeDirectoryServer m_server;
    CWASettings m_settings;
    CScriptedPrompts m_prompts;
    CConnectedStateOverride m_connected { TRUE, INTERNET_CONNECTION_LAN };
    std::vector<std::shared_ptr<std::string>> m_shown;
};

} // namespace

TEST_F(CWAConnectionTest, ACableLinkAnnouncesThePortTheSystemChose)
{
    m_server.SetReply("<#WACN |0| |Connected| |x| |C0DE42|#>");
    CWAConnection connection(m_settings, m_prompts);
    ASSERT_TRUE(connection.RunSetup());
    EXPECT_EQ(connection.GetState(), WA_CONN_CABLE);
    ASSERT_NE(connection.GetListenSocket(), nullptr);
    EXPECT_GT(connection.GetPort(), 0);
    EXPECT_EQ(m_prompts.m_nDialogPort, connection.GetPort());
    EXPECT_EQ(m_server.LastQuery(),
        "Login=Y&Newuser=N&Ulog=ana&Upas=secret&Newcat=N&Clog=Docs&Cnum=C0DE42&Cpor="
            + std::to_string(connection.GetPort()));
    EXPECT_TRUE(fs::is_directory(HostOf(m_settings.m_strCommFolder)));

    m_server.SetReply("<#WAPG |0| |ok|#>");
    EXPECT_TRUE(connection.Ping());
    EXPECT_EQ(m_server.LastQuery(), "Cnum=C0DE42&Cpor=" + std::to_string(connection.GetPort()));
    m_server.SetReply("<#WACN |0| |not a ping reply|#>");
    EXPECT_FALSE(connection.Ping());

    m_server.SetReply("<#WACN |12| |Unknown account|#>");
    EXPECT_FALSE(connection.Disconnect());
    EXPECT_EQ(m_server.LastQuery(), "Login=N&Newuser=N&Ulog=ana&Upas=typed&Newcat=N&Clog=Docs&Cnum=C0DE42");
    EXPECT_EQ(std::string(connection.GetLastMessage()), Formatted(IDS_WA_DIR_MESSAGE, "Unknown account"));
    EXPECT_EQ(connection.GetState(), 0);
    EXPECT_EQ(connection.GetListenSocket(), nullptr);
}

// Relays that connect while the program is busy wait in the listener's
// queue: as many as the channel serves at once are taken in without the
// second-long retry of a refused handshake.
TEST_F(CWAConnectionTest, TheListenerQueuesAsManyRelaysAsItServes)
{
    CWAConnection connection(m_settings, m_prompts);
    const int nPort = connection.CreateSocket(WA_CONN_CABLE, m_settings.m_strDirServer);
    ASSERT_GT(nPort, 0);
    std::vector<std::future<bool>> relays;
    for (size_t i = 0; i < CWAListenSocket::MAX_CONNECTIONS; ++i)
        relays.push_back(std::async(std::launch::async, [nPort] { return CPeerSocket::Connect(nPort).IsValid(); }));
    // Nothing is pumped: the connections only queue. One the listener's queue
    // could not hold would wait on the peer's SYN retries for minutes, so a
    // deadline generous enough for a loaded machine still tells the two apart.
    for (auto& relay : relays)
        ASSERT_EQ(relay.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    for (auto& relay : relays)
        EXPECT_TRUE(relay.get());
}

TEST_F(CWAConnectionTest, ALanLinkTakesItsPortFromTheServersSettingsFile)
{
    m_settings.m_nConnType = WA_CONN_LAN;
    CWAConnection connection(m_settings, m_prompts);
    ExpectMessageBox();
    EXPECT_FALSE(connection.RunSetup());
    EXPECT_EQ(Shown(0), Formatted(IDS_WA_NO_PORT));
    EXPECT_EQ(connection.GetState(), 0);
    EXPECT_EQ(connection.GetPort(), -1);

    std::ofstream(HostOf(m_settings.m_strDirServer) / "WAServer.ini") << "[WAServer]\nPort=4020\n";
    m_server.SetReply("<#WACN |0| |Connected| |x| |C0DE42|#>");
    ASSERT_TRUE(connection.Connect());
    EXPECT_EQ(connection.GetState(), WA_CONN_LAN);
    EXPECT_EQ(connection.GetPort(), 4020);
    EXPECT_EQ(connection.GetListenSocket(), nullptr);
    EXPECT_NE(m_server.LastQuery().find("&Cpor=4020"), std::string::npos);
}

TEST_F(CWAConnectionTest, ADroppedDialUpLinkIsLeftWithoutARequest)
{
    m_settings.m_nConnType = WA_CONN_MODEM;
    CWAConnection connection(m_settings, m_prompts);
    int nPort = connection.CreateSocket(WA_CONN_MODEM, m_settings.m_strDirServer);
    ASSERT_GT(nPort, 0);
    ASSERT_EQ(connection.GetPort(), nPort);
    ASSERT_EQ(connection.GetState(), WA_CONN_MODEM);
    CConnectedStateOverride dropped(FALSE, 0);
    EXPECT_TRUE(connection.Disconnect());
    EXPECT_TRUE(m_server.Requests().empty());
    EXPECT_EQ(connection.GetState(), 0);
}

TEST_F(CWAConnectionTest, ARefusedConnectClosesTheSocketAndAnUnsafeCodeMakesNoFolder)
{
    m_server.SetReply("<#WACN |7| |Wrong password|#>");
    CWAConnection connection(m_settings, m_prompts);
    EXPECT_FALSE(connection.RunSetup());
    EXPECT_EQ(connection.GetState(), 0);
    EXPECT_EQ(connection.GetListenSocket(), nullptr);

    m_settings.m_strCatCode = "..";
    m_settings.m_strCommFolder = GetProgramFolder() + "\\x\\..\\..\\escape\\";
    ExpectMessageBox();
    EXPECT_FALSE(connection.EnsureTargetFolder());
    EXPECT_EQ(Shown(0), Formatted(IDS_WA_COMM_FOLDER_FAILED, static_cast<LPCTSTR>(m_settings.m_strCommFolder)));
    EXPECT_FALSE(fs::exists(HostOf(GetProgramFolder()).parent_path() / "escape"));

    m_settings.m_strLogin.Empty(); // no account: the wizard
    m_prompts.m_bWizardFinishes = false;
    EXPECT_FALSE(connection.RunSetup());
    EXPECT_EQ(m_prompts.m_nWizards, 1);
    // A wizard cancelled after it opened the socket leaves nothing listening.
    EXPECT_GT(m_prompts.m_nWizardPort, 0);
    EXPECT_EQ(connection.GetListenSocket(), nullptr);
    EXPECT_EQ(connection.GetState(), 0);
}
