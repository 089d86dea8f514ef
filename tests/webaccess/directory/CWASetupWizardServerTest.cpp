#include "webaccess/directory/CWASetupWizardPropSheet.h"

#include "platform/net/ConnectedState.h"
#include "platform/net/InternetSession.h"
#include "platform/net/IpHelper.h"
#include "platform/net/Winsock.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "tests/webaccess/directory/AccountDialogTest.h"
#include "tests/webaccess/directory/SetupWizardRoad.h"
#include "tests/webaccess/server/SilentServicePrompts.h"
#include "tools/testpeers/PeerSocket.h"
#include "webaccess/directory/DirectoryReply.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/server/CWAConnection.h"
#include "webaccess/server/CWAListenSocket.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// The web access setup wizard as the server's connection runs it: its socket
// opened at Finish for real, the directory server a fake on loopback.

namespace {

namespace fs = std::filesystem;

constexpr DWORD LOOPBACK_INDEX = 1;
constexpr DWORD DIAL_UP_INDEX = 7;

// Runs the wizard as the program's prompts do.
class CWizardPrompts : public CSilentServicePrompts {
public:
    explicit CWizardPrompts(CWASettings& settings)
        : m_settings(settings)
    {
    }
    BOOL RunSetupWizard(CWASetupConnection& connection) override
    {
        CWASetupWizardPropSheet sheet(m_settings, connection);
        return sheet.DoModal() == ID_WIZFINISH;
    }

private:
    CWASettings& m_settings;
};

// A message box as the wizard showed it.
struct ShownBox {
    std::string strText;
    bool bRetry { false }; // it offered Retry and Cancel
};

// Every file under a folder with its bytes, by path.
std::map<std::string, std::string> FilesUnder(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().string()] = bytes.str();
    }
    return files;
}

MIB_IPADDRROW AddressRow(const char* pszDotted, DWORD dwIndex)
{
    MIB_IPADDRROW row {};
    row.dwAddr = inet_addr(pszDotted);
    row.dwIndex = dwIndex;
    return row;
}

template<typename... Args> std::string Formatted(UINT nId, const Args&... args)
{
    CString strText;
    strText.Format(nId, args...);
    return static_cast<LPCTSTR>(strText);
}

class CWASetupWizardServerTest : public AccountDialogTest {
protected:
    void SetUp() override
    {
        AccountDialogTest::SetUp();
        auto pOld = std::make_unique<CWAProfiles>();
        pOld->SetIdentity("Old", "oldpw", "");
        m_settings.m_profiles.push_back(std::move(pOld));
        fs::create_directories(Home() / "shared");
        fs::create_directories(Home() / "uploads");
        m_tables.interfaces = { MakeInterfaceRow(LOOPBACK_INDEX, MIB_IF_TYPE_LOOPBACK, "lo") };
        m_tables.addresses = { AddressRow("127.0.0.1", LOOPBACK_INDEX) };
    }

    // A dial-up link holding 10.64.0.7 appears.
    void AddDialUpLink()
    {
        m_tables.interfaces.push_back(MakeInterfaceRow(DIAL_UP_INDEX, MIB_IF_TYPE_PPP, "ppp0"));
        m_tables.addresses.push_back(AddressRow("10.64.0.7", DIAL_UP_INDEX));
    }

    // Answers the next message box with nAnswer, recording it in m_boxes.
    void AnswerBox(int nAnswer, const std::function<void()>& before = {})
    {
        m_driver.OnNextDialog([this, nAnswer, before](HWND hBox) {
            char szText[512] = "";
            GetDlgItemText(hBox, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
            m_boxes.push_back({ szText, GetDlgItem(hBox, IDRETRY) != nullptr });
            if (before)
                before();
            EndDialog(hBox, nAnswer);
        });
    }

    // The port the last request announced ("Cpor"), or -1.
    int AnnouncedPort() const
    {
        const std::string strQuery = m_server.LastQuery();
        const size_t nAt = strQuery.find("Cpor=");
        return nAt == std::string::npos ? -1 : std::stoi(strQuery.substr(nAt + 5));
    }
    // Whether anything listens on the port the last request announced, or
    // the connection holds a socket.
    bool AnySocketListening() const
    {
        const int nPort = AnnouncedPort();
        return m_connection.GetListenSocket() != nullptr || m_connection.GetPort() != -1
            || (nPort > 0 && CPeerSocket::Connect(nPort).IsValid());
    }

    // On page 12 with Finish refused: records the page and whether a socket listens.
    CDialogScript& FinishRefused(CDialogScript& script)
    {
        return m_wizard.Finish(script).Then([this](HWND) { m_listening.push_back(AnySocketListening()); });
    }

    // Pages 3 to 12 of an existing account on its existing catalog, typed in.
    CDialogScript& ExistingAccountToFinish(CDialogScript& script)
    {
        m_wizard.Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
        m_wizard.Next(script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana2").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw"));
        m_wizard.Next(script.Check(IDC_WA_EXISTING_CATALOG));
        script.SetText(IDC_WA_CATALOG_NAME, "Work").SetText(IDC_WA_CATALOG_CODE, "W0RK99");
        m_wizard.Next(script.SetText(IDC_WA_PROFILE_PASSWORD, "guest").SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
        return m_wizard.Next(script.SetText(IDC_WA_TARGET_FOLDER, ProgramFolderText(Home() / "uploads")));
    }

    CFakeDirectoryServer& m_server { m_site.m_server };
    CWASettings& m_settings { m_site.m_settings };
    CIpTables m_tables;
    CIpTablesOverride m_tablesOverride { m_tables };
    CWizardPrompts m_prompts { m_settings };
    CWAConnection m_connection { m_settings, m_prompts };
    CSetupWizardRoad m_wizard;
    std::vector<ShownBox> m_boxes;
    std::vector<bool> m_listening;
};

// The receive time-out of every request while it lives.
class ScopedReceiveTimeout {
public:
    explicit ScopedReceiveTimeout(DWORD dwMilliseconds) { Set(dwMilliseconds); }
    ~ScopedReceiveTimeout() { Set(0); } // back to the default
    ScopedReceiveTimeout(const ScopedReceiveTimeout&) = delete;
    ScopedReceiveTimeout& operator=(const ScopedReceiveTimeout&) = delete;

private:
    static void Set(DWORD dwMilliseconds)
    {
        InternetSetOption(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwMilliseconds, sizeof dwMilliseconds);
    }
};

TEST_F(CWASetupWizardServerTest, AModemLinkSendsItsAddressAndTheSocketServesTheNewCatalog)
{
    CDialogScript script;
    m_wizard.ToConnectionType(script, IDC_WA_CONN_MODEM);
    m_wizard.Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
    script.SetText(IDC_WA_ACCOUNT_USER_ID, " ana2 ").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw").Check(IDC_WA_ACCOUNT_KEEP);
    m_wizard.Next(script);
    m_wizard.Next(script.Check(IDC_WA_NEW_CATALOG));
    script.SetText(IDC_WA_CATALOG_NAME, "Home").SetText(IDC_WA_PROFILE_PASSWORD, "guest");
    m_wizard.Next(script.SetText(IDC_WA_CONFIRM_PASSWORD, "guest"));
    m_wizard.Next(script.SetText(IDC_WA_TARGET_FOLDER, ProgramFolderText(Home() / "uploads")));
    FinishRefused(script); // no dial-up link yet
    for (int i = 0; i < 4; ++i)
        m_wizard.Back(script);
    // The link is up: the password asked for on the login page goes with its address.
    script.Then([this](HWND) {
        AddDialUpLink();
        m_server.SetReply("<#WARP |0| |mailed|#>");
    });
    script.Press(IDC_WA_SEND_PASSWORD).Then([this](HWND) { m_server.SetReply("<#WACN |0| |ok| |x| |H0ME42|#>"); });
    for (int i = 0; i < 4; ++i)
        m_wizard.Next(script);
    script.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerBox(IDOK); // no link: the stop message
    AnswerBox(IDOK); // the password was sent

    ASSERT_TRUE(m_connection.RunSetup());
    EXPECT_EQ(m_wizard.m_pages, (std::vector<int> { 1, 2, 4, 7, 8, 9, 11, 12, 12, 11, 9, 8, 7, 8, 9, 11, 12 }));
    ASSERT_EQ(m_boxes.size(), 2U);
    EXPECT_EQ(m_boxes[0].strText, Formatted(IDS_WA_DIR_FAILED, -1, Loaded(IDS_WA_DIR_NO_LINK).c_str()));
    EXPECT_FALSE(m_boxes[0].bRetry);
    EXPECT_EQ(m_listening, std::vector<bool> { false });
    EXPECT_EQ(m_boxes[1].strText, Loaded(IDS_WEB_PASSWORD_SENT));
    const std::vector<std::string> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2U) << "nothing is sent without the link";
    EXPECT_NE(requests[0].find("/wartpwd.asp?Ulog=ana2&Cip=10%2e64%2e0%2e7 "), std::string::npos) << requests[0];
    const int nPort = m_connection.GetPort();
    EXPECT_EQ(m_server.LastQuery(),
        "Login=Y&Newuser=N&Ulog=ana2&Upas=pw&Newcat=Y&Nclog=Home&Cpor=" + std::to_string(nPort)
            + "&Cip=10%2e64%2e0%2e7");

    EXPECT_EQ(m_settings.m_nConnType, WA_CONN_MODEM);
    EXPECT_EQ(m_settings.m_strDirServer, GetProgramFolder());
    EXPECT_EQ(std::string(m_settings.m_strPassword), "pw");
    EXPECT_EQ(std::string(m_settings.m_strCatCode), "H0ME42");
    EXPECT_EQ(m_settings.m_strCommFolder, BuildCommFolderPath(GetProgramFolder(), "H0ME42"));
    EXPECT_EQ(m_connection.GetState(), WA_CONN_MODEM);
    ASSERT_NE(m_connection.GetListenSocket(), nullptr);
    EXPECT_TRUE(CPeerSocket::Connect(nPort).IsValid());
    // The socket opened before the catalog was known serves the registered one.
    EXPECT_TRUE(m_connection.GetListenSocket()->IsCommFolder(m_settings.m_strCommFolder));
}

TEST_F(CWASetupWizardServerTest, ALanLinkAnnouncesThePortOfTheSharedFolderOnceItIsThere)
{
    m_server.SetReply("<#WACN |0| |welcome back| |x| |W0RK99|#>");
    CDialogScript script;
    m_wizard.ToConnectionType(script, IDC_WA_CONN_LAN);
    m_wizard.Next(script.SetText(IDC_WA_COMM_FOLDER, ProgramFolderText(Home() / "shared")));
    ExistingAccountToFinish(script);
    FinishRefused(script); // the directory server's settings file is missing
    script.Then([this](HWND) { std::ofstream(Home() / "shared" / "WAServer.ini") << "[WAServer]\nPort=4020\n"; });
    script.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerBox(IDOK);

    ASSERT_TRUE(m_connection.RunSetup());
    EXPECT_EQ(m_wizard.m_pages, (std::vector<int> { 1, 2, 3, 4, 7, 8, 10, 11, 12, 12 }));
    ASSERT_EQ(m_boxes.size(), 1U);
    EXPECT_EQ(m_boxes[0].strText, Loaded(IDS_WA_NO_PORT));
    EXPECT_EQ(m_server.Requests().size(), 1U) << "nothing is sent without a port";
    EXPECT_EQ(m_server.LastQuery(), "Login=Y&Newuser=N&Ulog=ana2&Upas=pw&Newcat=N&Clog=Work&Cnum=W0RK99&Cpor=4020");
    const CString strShared = ProgramFolderText(Home() / "shared");
    EXPECT_EQ(m_settings.m_nConnType, WA_CONN_LAN);
    EXPECT_EQ(m_settings.m_strDirServer, strShared);
    EXPECT_EQ(m_settings.m_strCommFolder, BuildCommFolderPath(strShared, "W0RK99"));
    EXPECT_TRUE(fs::is_directory(Home() / "shared" / "W0R.K99"));
    EXPECT_EQ(m_connection.GetState(), WA_CONN_LAN);
    EXPECT_EQ(m_connection.GetPort(), 4020);
    EXPECT_EQ(m_connection.GetListenSocket(), nullptr);
}

TEST_F(CWASetupWizardServerTest, EachRefusalAtFinishKeepsTheWizardWithNoSocketAndRetryFinishes)
{
    CFakeReply serverError;
    serverError.nStatus = 500;
    serverError.strBody = "<html><body><h1>Internal Server Error</h1></body></html>";
    struct Refusal {
        CFakeReply reply;
        int nAnswer;
        std::string strShown;
    } refusals[] = {
        { { 200, "<#WACN |12| |Name taken|#>" }, IDOK, Formatted(IDS_WA_DIR_MESSAGE, "Name taken") },
        { { 200, "<#WACN |15| |Wrong password|#>" }, IDOK, Formatted(IDS_WA_DIR_MESSAGE, "Wrong password") },
        { { 200, "<#WACN |1x| |Odd|#>" }, IDOK, Formatted(IDS_WA_DIR_MESSAGE, "Odd") },
        { { 200, "<#WACN |9999999999| |Odd|#>" }, IDOK, Formatted(IDS_WA_DIR_MESSAGE, "Odd") },
        { { 200, "<#WACN |0| |ok| |x| |../x|#>" }, IDOK, Loaded(IDS_WA_BAD_CATALOG_CODE) },
        { { 200, "<#WACN |0| |ok| |x|#>" }, IDOK, Loaded(IDS_WA_BAD_CATALOG_CODE) },
        { { 200, "<#WAPG |0| |ok|#>" }, IDCANCEL,
            Formatted(IDS_WA_DIR_NOT_SERVER, static_cast<LPCTSTR>(PageToPlainText("<#WAPG |0| |ok|#>"))) },
        { serverError, IDCANCEL, Formatted(IDS_WA_DIR_NOT_SERVER, "Internal Server Error") },
    };
    CDialogScript script;
    m_wizard.ToConnectionType(script, IDC_WA_CONN_CABLE);
    ExistingAccountToFinish(script);
    for (const Refusal& refusal : refusals) {
        script.Then([this, &refusal](HWND) { m_server.SetReply(refusal.reply); });
        FinishRefused(script);
    }
    // A transport failure retried: the same socket announced again.
    script.Then([this](HWND) { m_server.SetReply("<html>busy</html>"); });
    script.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    for (const Refusal& refusal : refusals)
        AnswerBox(refusal.nAnswer);
    AnswerBox(IDRETRY, [this] { m_server.SetReply("<#WACN |0| |welcome back| |x| |W0RK99|#>"); });

    ASSERT_TRUE(m_connection.RunSetup());
    ASSERT_EQ(m_boxes.size(), std::size(refusals) + 1);
    for (size_t i = 0; i < std::size(refusals); ++i) {
        EXPECT_EQ(m_boxes[i].strText, refusals[i].strShown) << i;
        EXPECT_EQ(m_boxes[i].bRetry, refusals[i].nAnswer == IDCANCEL) << i;
        EXPECT_FALSE(m_listening.at(i)) << i;
    }
    EXPECT_TRUE(m_boxes.back().bRetry);
    std::vector<int> expected { 1, 2, 4, 7, 8, 10, 11, 12 };
    expected.insert(expected.end(), std::size(refusals), CWASetupWizardPropSheet::PAGE_FINISH);
    EXPECT_EQ(m_wizard.m_pages, expected);
    const std::vector<std::string> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), std::size(refusals) + 2);
    EXPECT_EQ(requests[requests.size() - 2], requests.back()) << "the retry announces the same port";
    EXPECT_EQ(m_server.LastQuery(),
        "Login=Y&Newuser=N&Ulog=ana2&Upas=pw&Newcat=N&Clog=Work&Cnum=W0RK99&Cpor="
            + std::to_string(m_connection.GetPort()));
    EXPECT_EQ(m_connection.GetState(), WA_CONN_CABLE);
    EXPECT_EQ(std::string(m_settings.m_strCatCode), "W0RK99");
    ASSERT_EQ(m_settings.m_profiles.size(), 1U);
    EXPECT_TRUE(fs::is_directory(Home() / "W0R.K99"));
}

TEST_F(CWASetupWizardServerTest, ATimeOutOfflineAndAServerDownRefuseFinishAndCancelLeavesTheSettings)
{
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    const std::map<std::string, std::string> before = FilesUnder(Home());
    const ScopedReceiveTimeout timeout(300);
    CFakeReply held;
    held.strBody = "<#WACN |0| |too late| |x| |L4TE00|#>";
    held.nDelay = std::chrono::minutes(5); // abandoned when the server closes
    CDialogScript script;
    m_wizard.ToConnectionType(script, IDC_WA_CONN_CABLE);
    ExistingAccountToFinish(script);
    script.Then([&](HWND) { m_server.SetReply(held); });
    FinishRefused(script);
    std::unique_ptr<CConnectedStateOverride> pOffline;
    script.Then([&](HWND) { pOffline = std::make_unique<CConnectedStateOverride>(FALSE, 0); });
    FinishRefused(script);
    script.Then([&](HWND) {
        pOffline.reset();
        m_server.Close();
    });
    FinishRefused(script);
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    for (int i = 0; i < 3; ++i)
        AnswerBox(IDCANCEL);

    EXPECT_FALSE(m_connection.RunSetup());
    ASSERT_EQ(m_boxes.size(), 3U);
    EXPECT_EQ(m_boxes[0].strText,
        Formatted(IDS_WA_DIR_FAILED, static_cast<int>(ERROR_INTERNET_TIMEOUT), "The operation timed out."));
    EXPECT_EQ(m_boxes[1].strText, Formatted(IDS_WA_DIR_FAILED, 0, Loaded(IDS_WA_DIR_OFFLINE).c_str()));
    EXPECT_NE(m_boxes[2].strText.find(std::to_string(ERROR_INTERNET_CANNOT_CONNECT)), std::string::npos);
    for (const ShownBox& box : m_boxes)
        EXPECT_TRUE(box.bRetry) << box.strText;
    EXPECT_EQ(m_listening, (std::vector<bool> { false, false, false }));
    EXPECT_EQ(m_wizard.m_pages, (std::vector<int> { 1, 2, 4, 7, 8, 10, 11, 12, 12, 12, 12 }));
    EXPECT_EQ(FilesUnder(Home()), before);
    EXPECT_EQ(std::string(m_settings.m_strLogin), "ana");
    EXPECT_TRUE(m_settings.m_strCommFolder.IsEmpty());
    ASSERT_EQ(m_settings.m_profiles.size(), 1U);
    EXPECT_EQ(std::string(m_settings.m_profiles[0]->GetName()), "Old");
}

// One page of a road: what a user fills in there before Next.
struct RoadPage {
    int nPage;
    std::function<void(CDialogScript&)> fill;
};

TEST_F(CWASetupWizardServerTest, CancelOnEveryPageLeavesTheSettingsAndNoSocket)
{
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    const std::map<std::string, std::string> before = FilesUnder(Home());
    const CString strShared = ProgramFolderText(Home() / "shared");
    const CString strUploads = ProgramFolderText(Home() / "uploads");
    auto none = [](CDialogScript&) {};
    auto password = [](CDialogScript& script) {
        script.SetText(IDC_WA_PROFILE_PASSWORD, "guest").SetText(IDC_WA_CONFIRM_PASSWORD, "guest");
    };
    const std::vector<RoadPage> start {
        { 0, none },
        { 1, none },
    };
    // A new account on a cable link, an existing one on a LAN.
    std::vector<RoadPage> newAccount = start;
    newAccount.insert(newAccount.end(),
        {
            { 2, [](CDialogScript& script) { script.Check(IDC_WA_CONN_CABLE); } },
            { 4, [](CDialogScript& script) { script.Check(IDC_WA_NEW_ACCOUNT); } },
            { 5,
                [](CDialogScript& script) {
                    script.SetText(IDC_WA_ACCOUNT_USER_ID, "bo").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw");
                    script.SetText(IDC_WA_CONFIRM_PASSWORD, "pw");
                } },
            { 6,
                [](CDialogScript& script) {
                    script.SetText(IDC_WA_PERSON_NAME, "Bo").SetText(IDC_WA_EMAIL, "bo@example.org");
                    script.Select(IDC_WA_COUNTRY, 2);
                } },
            { 9,
                [&](CDialogScript& script) {
                    script.SetText(IDC_WA_CATALOG_NAME, "Home");
                    password(script);
                } },
        });
    std::vector<RoadPage> existingAccount = start;
    existingAccount.insert(existingAccount.end(),
        {
            { 2, [](CDialogScript& script) { script.Check(IDC_WA_CONN_LAN); } },
            { 3, [&](CDialogScript& script) { script.SetText(IDC_WA_COMM_FOLDER, strShared); } },
            { 4, [](CDialogScript& script) { script.Check(IDC_WA_EXISTING_ACCOUNT); } },
            { 7,
                [](CDialogScript& script) {
                    script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana2").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw");
                } },
            { 8, [](CDialogScript& script) { script.Check(IDC_WA_EXISTING_CATALOG); } },
            { 10,
                [&](CDialogScript& script) {
                    script.SetText(IDC_WA_CATALOG_NAME, "Work").SetText(IDC_WA_CATALOG_CODE, "W0RK99");
                    password(script);
                } },
        });
    for (std::vector<RoadPage>* pRoad : { &newAccount, &existingAccount }) {
        pRoad->push_back({ 11, [&](CDialogScript& script) { script.SetText(IDC_WA_TARGET_FOLDER, strUploads); } });
        pRoad->push_back({ 12, none });
    }
    m_server.SetReply("<#WACN |12| |Name taken|#>");

    for (int nPage = 0; nPage <= CWASetupWizardPropSheet::PAGE_FINISH; ++nPage) {
        const bool bLanRoad = nPage == 3 || nPage == 7 || nPage == 8 || nPage == 10;
        CDialogScript script;
        int nShown = -1;
        for (const RoadPage& page : bLanRoad ? existingAccount : newAccount) {
            if (page.nPage == nPage)
                break;
            page.fill(script);
            script.Press(ID_WIZNEXT);
        }
        if (nPage == CWASetupWizardPropSheet::PAGE_FINISH)
            script.Press(ID_WIZFINISH);
        script.Then([&](HWND hSheet) { nShown = CSetupWizardRoad::CurrentPage(hSheet); }).Press(IDCANCEL);
        m_driver.AnswerNextDialog(std::move(script));
        if (nPage == CWASetupWizardPropSheet::PAGE_FINISH)
            AnswerBox(IDOK);

        EXPECT_FALSE(m_connection.RunSetup()) << nPage;
        EXPECT_EQ(nShown, nPage);
        EXPECT_FALSE(AnySocketListening()) << nPage;
        EXPECT_EQ(FilesUnder(Home()), before) << nPage;
        EXPECT_EQ(std::string(m_settings.m_strLogin), "ana") << nPage;
        EXPECT_EQ(m_settings.m_nConnType, WA_CONN_LAN) << nPage;
        ASSERT_EQ(m_settings.m_profiles.size(), 1U) << nPage;
        EXPECT_EQ(std::string(m_settings.m_profiles[0]->GetName()), "Old") << nPage;
        EXPECT_EQ(m_server.Requests().size(), nPage == CWASetupWizardPropSheet::PAGE_FINISH ? 1U : 0U) << nPage;
    }
    ASSERT_EQ(m_boxes.size(), 1U);
    EXPECT_EQ(m_boxes[0].strText, Formatted(IDS_WA_DIR_MESSAGE, "Name taken"));
}

} // namespace
