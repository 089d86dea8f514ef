#include "webaccess/directory/CWARequest.h"

#include "platform/net/ConnectedState.h"
#include "platform/net/InternetSession.h"
#include "platform/net/IpHelper.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/ui/ProgramModule.h"
#include "tools/testpeers/FakeDirectoryServer.h"
#include "webaccess/directory/DirectoryReply.h"
#include "webaccess/profiles/CWASettings.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstdlib>
#include <string>

namespace {

constexpr DWORD LOOPBACK_INDEX = 1;
constexpr DWORD DIAL_UP_INDEX = 7;

std::string Loaded(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return static_cast<LPCTSTR>(strText);
}

template<typename... Args> std::string Formatted(UINT nId, const Args&... args)
{
    CString strText;
    strText.Format(nId, args...);
    return static_cast<LPCTSTR>(strText);
}

MIB_IPADDRROW AddressRow(const char* pszDotted, DWORD dwIndex)
{
    MIB_IPADDRROW row {};
    row.dwAddr = inet_addr(pszDotted);
    row.dwIndex = dwIndex;
    return row;
}

// Requests against the fake directory server, with the site setting pointing
// at it and a LAN connection unless a test says otherwise.
class CWARequestTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
        ASSERT_NE(m_module.Handle(), nullptr);
        m_settings.SetDefaults();
        m_settings.m_strSite = m_server.BaseUrl().c_str();
        m_settings.m_nConnType = WA_CONN_LAN;
        thePreferences.AttachWebSettings(&m_settings);
        m_tables.interfaces = { MakeInterfaceRow(LOOPBACK_INDEX, MIB_IF_TYPE_LOOPBACK, "lo") };
        m_tables.addresses = { AddressRow("127.0.0.1", LOOPBACK_INDEX) };
    }
    void TearDown() override { thePreferences.AttachWebSettings(nullptr); }

    // Adds a dial-up link holding 10.64.0.7.
    void AddDialUpLink()
    {
        m_tables.interfaces.push_back(MakeInterfaceRow(DIAL_UP_INDEX, MIB_IF_TYPE_PPP, "ppp0"));
        m_tables.addresses.push_back(AddressRow("10.64.0.7", DIAL_UP_INDEX));
    }

    // The text of the next message box, which is answered with OK.
    void ReadNextMessageBox(std::string& strText)
    {
        m_driver.OnNextDialog([&strText](HWND hDlg) {
            char szText[512] = "";
            GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
            strText = szText;
            EndDialog(hDlg, IDOK);
        });
    }

    // The request line the server saw last, without "GET " and " HTTP/1.1".
    std::string LastTarget() const
    {
        std::vector<std::string> requests = m_server.Requests();
        if (requests.empty())
            return {};
        const std::string& strLine = requests.back();
        return strLine.substr(4, strLine.rfind(' ') - 4);
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    CFakeDirectoryServer m_server;
    CWASettings m_settings;
    CIpTables m_tables;
    CIpTablesOverride m_tablesOverride { m_tables };
    CConnectedStateOverride m_connected { TRUE, INTERNET_CONNECTION_LAN };
};

} // namespace

TEST(UrlEncodeTest, EveryByteButLettersAndDigitsIsEscapedInLowerCase)
{
    EXPECT_EQ(std::string(UrlEncode("abcXYZ019")), "abcXYZ019");
    EXPECT_EQ(std::string(UrlEncode("a b&c=d/e")), "a%20b%26c%3dd%2fe");
    EXPECT_EQ(std::string(UrlEncode("caf\xC3\xA9_-.~")), "caf%c3%a9%5f%2d%2e%7e");
    EXPECT_EQ(std::string(UrlEncode("")), "");
    EXPECT_EQ(std::string(UrlEncode(nullptr)), "");
}

TEST(ServerPageTest, TitlesFollowThePagesAndOtherPathsHaveNone)
{
    EXPECT_EQ(std::string(GetServerPageTitle("/waping.asp")), "Ping");
    EXPECT_EQ(std::string(GetServerPageTrace("/waconn.asp")), "WA Connecting or disconnecting");
    EXPECT_EQ(std::string(GetServerPageTitle("/wachlog.asp")), "Change user ID");
    EXPECT_EQ(std::string(GetServerPageTitle("/WAPING.ASP")), "");
    EXPECT_EQ(std::string(GetServerPageTrace("")), "");
}

TEST_F(CWARequestTest, EachPageSendsItsFieldsInOrder)
{
    m_server.SetReply("<#WACN |0| |ok| |x| |C0DE42|#>");
    CWAConnectRequest connect;
    connect.Connect(TRUE);
    connect.SetLoginFields("ana", "p w&d");
    connect.SetCatalogFields("My Docs", "C0DE42");
    connect.SetPort(4020);
    EXPECT_EQ(connect.RunAndParse(WA_CONN_DEFAULT), 0);
    EXPECT_EQ(std::string(connect.m_strField), "C0DE42");
    EXPECT_EQ(LastTarget(),
        "/waconn.asp?Login=Y&Newuser=N&Ulog=ana&Upas=p%20w%26d&Newcat=N&Clog=My%20Docs&Cnum=C0DE42&Cpor=4020");

    CWAConnectRequest create;
    create.Connect(TRUE);
    create.SetNewUserFields("bo", "pw", "bo@x.org", "Bo B", 'F', "Porto", "", "PT");
    create.SetNewCatalogFields("Papers");
    create.SetPort(0);
    create.Execute();
    EXPECT_EQ(LastTarget(),
        "/waconn.asp?Login=Y&Newuser=Y&Nulog=bo&Nupas=pw&Nuema=bo%40x%2eorg&Nunam=Bo%20B&Nugen=F&Nucit=Porto"
        "&Nusta=&Nccod=PT&Newcat=Y&Nclog=Papers&Cpor=0");

    m_server.SetReply("<#WAIN |0| |sent| |x| |Join me|#>");
    CWAInviteRequest invite;
    EXPECT_EQ(invite.SetInviteFields("ana", "pw", "Docs", "C1", "guest", "Rui", "rui@x.pt", "", FALSE), 0);
    EXPECT_EQ(std::string(invite.m_strInvitation), "Join me");
    EXPECT_EQ(
        LastTarget(), "/wainvite.asp?Ulog=ana&Upas=pw&Clog=Docs&Cnum=C1&Pwd=guest&Nto=Rui&Eto=rui%40x%2ept&Snd=N");
    CWAInviteRequest sent;
    EXPECT_EQ(sent.SetInviteFields("ana", "pw", "Docs", "C1", "guest", "Rui", "r", "Hi!", TRUE), 0);
    EXPECT_EQ(std::string(sent.m_strInvitation), "");
    EXPECT_EQ(LastTarget(), "/wainvite.asp?Ulog=ana&Upas=pw&Clog=Docs&Cnum=C1&Pwd=guest&Nto=Rui&Eto=r&Txt=Hi%21&Snd=Y");

    m_server.SetReply("<#WACC |0| |renamed|#>");
    CWAChangeCatalogRequest rename;
    EXPECT_EQ(rename.ChangeCatalogName("ana", "pw", "Docs", "C1", "New"), 0);
    EXPECT_EQ(LastTarget(), "/wachcat.asp?Ulog=ana&Upas=pw&Clog=Docs&Cnum=C1&Nclog=New");

    CWAPingRequest ping;
    ping.SetCatalogNumber("C1");
    ping.SetPort(4020);
    ping.Execute(WA_CONN_CABLE);
    EXPECT_EQ(LastTarget(), "/waping.asp?Cnum=C1&Cpor=4020");
}

TEST_F(CWARequestTest, OnlyADialUpLinkCarriesTheLocalAddressLast)
{
    AddDialUpLink();
    CConnectedStateOverride modem(TRUE, INTERNET_CONNECTION_MODEM);
    m_server.SetReply("<#WARP |0| |mailed|#>");
    CWAPasswordRequest password;
    password.SetUserLogin("ana");
    EXPECT_EQ(password.Execute(WA_CONN_MODEM), 0);
    EXPECT_EQ(LastTarget(), "/wartpwd.asp?Ulog=ana&Cip=10%2e64%2e0%2e7");

    for (int nType : { WA_CONN_LAN, WA_CONN_CABLE }) {
        CConnectedStateOverride lan(TRUE, INTERNET_CONNECTION_LAN);
        CWAPasswordRequest other;
        other.SetUserLogin("ana");
        EXPECT_EQ(other.Execute(nType), 0);
        EXPECT_EQ(LastTarget(), "/wartpwd.asp?Ulog=ana");
    }
}

TEST_F(CWARequestTest, RepliesGiveTheirCodeAndMessage)
{
    struct Case {
        const char* pszReply;
        int nResult;
    } cases[] = {
        { "<#WAPG |0| |Alive|#>", 0 },
        { "<#WAPG |12| |Unknown catalog|#>", 12 },
        { "<#WAPG |1x| |Odd|#>", -1 },
        { "<#WAPG |9999999999| |Odd|#>", -1 },
        { "<#WAPG || |Empty|#>", 0 },
    };
    for (const Case& c : cases) {
        m_server.SetReply(c.pszReply);
        CWAPingRequest ping;
        EXPECT_EQ(ping.Execute(), c.nResult) << c.pszReply;
        EXPECT_EQ(ping.m_nResult, c.nResult);
        EXPECT_EQ(std::string(ping.m_strMessage), Formatted(IDS_WA_DIR_MESSAGE, GetReplyField(c.pszReply, 2)));
    }
    // A server text is an argument of the message, never its format.
    m_server.SetReply("<#WAPG |3| |100%s %n done|#>");
    CWAPingRequest percent;
    EXPECT_EQ(percent.Execute(), 3);
    EXPECT_NE(std::string(percent.m_strMessage).find("100%s %n done"), std::string::npos);
}

TEST_F(CWARequestTest, RepliesWithoutTheMarkerAreShownAsPlainText)
{
    for (const char* pszReply : { "<#WACN |0| |connected|#>", "<#WAP", "", "<html><b>Proxy</b> says no</html>" }) {
        m_server.SetReply(pszReply);
        CWAPingRequest ping;
        EXPECT_EQ(ping.Execute(), -3) << pszReply;
        EXPECT_EQ(std::string(ping.m_strMessage), Formatted(IDS_WA_DIR_NOT_SERVER, PageToPlainText(pszReply)));
    }
    CFakeReply error;
    error.nStatus = 500;
    error.strBody = "<html><body><h1>Internal Server Error</h1></body></html>";
    m_server.SetReply(error);
    CWARequest catalogs(WA_PAGE_CATALOGS, WA_MARK_CATALOGS);
    EXPECT_EQ(catalogs.Execute(), -3);
    EXPECT_EQ(std::string(catalogs.m_strMessage), Formatted(IDS_WA_DIR_NOT_SERVER, "Internal Server Error"));
}

TEST_F(CWARequestTest, TransportFailuresAreReportedWithTheirNumber)
{
    DWORD dwTimeout = 300;
    ASSERT_TRUE(InternetSetOption(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwTimeout, sizeof dwTimeout));
    CFakeReply slow;
    slow.nDelay = std::chrono::milliseconds(4000);
    m_server.SetReply(slow);
    CWAPingRequest late;
    EXPECT_EQ(late.Execute(), -3);
    EXPECT_EQ(late.m_nErrorCode, static_cast<LONG>(ERROR_INTERNET_TIMEOUT));
    EXPECT_EQ(std::string(late.m_strMessage),
        Formatted(IDS_WA_DIR_FAILED, static_cast<int>(ERROR_INTERNET_TIMEOUT), "The operation timed out."));
    dwTimeout = 0;
    InternetSetOption(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwTimeout, sizeof dwTimeout);

    m_server.Close();
    CWAPingRequest refused;
    EXPECT_EQ(refused.Execute(), -3);
    EXPECT_EQ(refused.m_nError, 1);
    EXPECT_EQ(refused.m_nErrorCode, static_cast<LONG>(ERROR_INTERNET_CANNOT_CONNECT));
}

TEST_F(CWARequestTest, OfflineOrAMissingLinkSendsNothing)
{
    {
        CConnectedStateOverride offline(FALSE, 0);
        CWAPingRequest ping;
        EXPECT_EQ(ping.Execute(), -3);
        EXPECT_EQ(ping.m_nErrorCode, 0);
        EXPECT_EQ(std::string(ping.m_strMessage), Formatted(IDS_WA_DIR_FAILED, 0, Loaded(IDS_WA_DIR_OFFLINE).c_str()));
    }
    {
        // A dial-up type on a LAN, with no dial-up interface to take an address from.
        CWAPingRequest ping;
        EXPECT_EQ(ping.Execute(WA_CONN_MODEM), -1);
        EXPECT_EQ(ping.m_nErrorCode, -1);
        EXPECT_EQ(std::string(ping.m_strMessage), Formatted(IDS_WA_DIR_FAILED, -1, Loaded(IDS_WA_DIR_NO_LINK).c_str()));
    }
    {
        // A LAN type over a modem link only.
        CConnectedStateOverride modem(TRUE, INTERNET_CONNECTION_MODEM);
        CWAPingRequest ping;
        EXPECT_EQ(ping.Execute(WA_CONN_LAN), -1);
    }
    EXPECT_TRUE(m_server.Requests().empty());

    // A dial-up type with a known address passes even when the flags say LAN.
    AddDialUpLink();
    m_server.SetReply("<#WAPG |0| |ok|#>");
    CWAPingRequest ping;
    EXPECT_EQ(ping.Execute(WA_CONN_MODEM), 0);
}

TEST_F(CWARequestTest, TheSiteIsTakenWhenARequestIsBuilt)
{
    m_server.SetReply("<#WAPG |0| |ok|#>");
    CWAPingRequest before;
    m_settings.m_strSite = "http://127.0.0.1:1/elsewhere";
    EXPECT_EQ(before.Execute(), 0);
    CWAPingRequest after;
    EXPECT_EQ(std::string(after.m_strUrl), "http://127.0.0.1:1/elsewhere/waping.asp");
}

TEST_F(CWARequestTest, TracesNeverShowPasswords)
{
    CWAConnectRequest request;
    request.Connect(FALSE);
    request.SetLoginFields("ana", "secret");
    request.SetNewUserPassword("new secret");
    request.SetProfilePassword("guest");
    request.SetCatalogFields("Docs", "C1");
    EXPECT_EQ(std::string(request.GetTraceQuery()),
        "?Login=N&Newuser=N&Ulog=ana&Upas=*****&Nupas=*****&Pwd=*****&Newcat=N&Clog=Docs&Cnum=C1");
}
