// The web access service against peers that are not who they claim to be:
// a group deleted and its record slot taken by a new one, a peer naming
// another user's ID with or without a login of its own, password guessing,
// socket exchanges that try to take someone else's reply, peers that
// trickle their bytes, uploads nobody announced or too large for the disk,
// and loads that must not hold the user-interface thread; and against what
// others may read or reach: passwords in the log, files readable by other
// local users, documents replaced by links, the program folder under the
// explorer right and password-protected documents. The server is real and
// its timers run on the manual clock; requests come through the request
// folder and the socket channel as the relays send them.

#include "webaccess/server/CWAServer.h"

#include "platform/base/PathMap.h"
#include "platform/base/ZipReader.h"
#include "platform/base/ZipWriter.h"
#include "platform/testing/TestDriver.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "store/ProtectedFile.h"
#include "tests/support/ThreadTime.h"
#include "tests/ui/ProgramModule.h"
#include "tests/webaccess/server/CatalogSessionFixture.h"
#include "tests/webaccess/server/SilentServicePrompts.h"
#include "tools/testpeers/ChannelRelay.h"
#include "tools/testpeers/FolderRelay.h"
#include "tools/testpeers/RelaySession.h"
#include "webaccess/server/CWAClientSocket.h"
#include "webaccess/server/CWAListenSocket.h"
#include "webaccess/server/CWALoginThrottle.h"

#include <chrono>
#include <fstream>
#include <future>
#include <regex>

#include <sys/stat.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#    define HOSTILE_SANITIZED 1
#elif defined(__has_feature)
#    if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#        define HOSTILE_SANITIZED 1
#    endif
#endif

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr char CODE[] = "H0STILE";

constexpr fs::perms USER_FILE = fs::perms::owner_read | fs::perms::owner_write;

fs::perms ModeOf(const fs::path& path)
{
    return fs::symlink_status(path).permissions() & fs::perms::all;
}

std::string ReadHostFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The usual file creation mask while it lives, so that what the program does
// not restrict itself shows as readable by others.
class CUsualUmask {
public:
    CUsualUmask()
        : m_old(umask(022))
    {
    }
    ~CUsualUmask() { umask(m_old); }
    CUsualUmask(const CUsualUmask&) = delete;
    CUsualUmask& operator=(const CUsualUmask&) = delete;

private:
    mode_t m_old;
};

#ifdef HOSTILE_SANITIZED
constexpr double LONGEST_STALL_MS = 250; // sanitizers slow every step several times over
#else
constexpr double LONGEST_STALL_MS = 50;
#endif

// The server with the free space of its disk as a test sets it.
class CSpaceServer : public CWAServer {
public:
    using CWAServer::CWAServer;
    ULONGLONG m_nFreeSpace { 0 }; // 0: the disk's own

protected:
    ULONGLONG GetFreeSpace(LPCTSTR pszFolder) const override
    {
        return m_nFreeSpace != 0 ? m_nFreeSpace : CWAServer::GetFreeSpace(pszFolder);
    }
};

class WebAccessHostileTest : public CatalogSessionTest {
protected:
    void SetUp() override
    {
        CatalogSessionTest::SetUp();
        ASSERT_NE(m_module.Handle(), nullptr);
        m_settings.m_strCatCode = CODE;
        m_settings.m_strCommFolder = BuildCommFolderPath(GetProgramFolder(), CODE);
        m_settings.m_nWarnConn = 0;
        thePreferences.AttachWebSettings(&m_settings);
        ASSERT_TRUE(CreateFolderPath(m_settings.m_strCommFolder));
        std::string strHost;
        ASSERT_TRUE(HostPathFromProgramPath(m_settings.m_strCommFolder, strHost));
        m_folder = strHost;
        m_pServer = std::make_unique<CSpaceServer>(m_settings, m_prompts);
        ASSERT_TRUE(m_pServer->Init());
    }
    void TearDown() override
    {
        m_pListener.reset();
        m_pServer.reset();
        thePreferences.AttachWebSettings(nullptr);
        CatalogSessionTest::TearDown();
    }

    // A stored profile: its password, whether it may download, its grants,
    // and the folder of its uploads (none: it may not upload).
    void AddProfile(const char* pszPassword, BOOL bMayDownload, const Grants& grants, const char* pszUploads = nullptr)
    {
        CWAGroupRightsMap rights;
        for (const auto& [key, wValue] : grants)
            rights.SetAt(key, wValue);
        auto pProfile = std::make_unique<CWAProfiles>();
        const std::string strUploads = pszUploads ? ProgramPath(pszUploads) : std::string();
        pProfile->SetIdentity(pszPassword, pszPassword, strUploads.c_str());
        pProfile->SetPermissions(bMayDownload, pszUploads ? TRUE : FALSE, 1);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.push_back(std::move(pProfile));
    }
    void Serve() { ASSERT_TRUE(m_pServer->StartScan()); }

    // One request file with the user line as given, the scan let run; the
    // reply's text, empty when none came.
    std::string Send(const std::string& strId, const std::string& strUserLine, const std::string& strToken)
    {
        EXPECT_TRUE(WriteFolderRequest(m_folder, strId, strUserLine + "\r\n" + strToken + "\r\n"));
        m_driver.Advance(1000);
        const fs::path out = m_folder / (strId + ".out");
        // A download's reply is written off this thread and may come a
        // moment later; a logout gets none.
        if (strToken.rfind("<#LOGOUT ", 0) != 0) {
            EXPECT_TRUE(m_driver.PumpUntil([&] { return fs::exists(out); }));
        }
        if (!fs::exists(out))
            return {};
        std::string strReply = ReadZipEntry(out.string());
        fs::remove(out);
        return strReply;
    }
    // A login as the relay sends it; the key it hands out, empty when refused.
    std::string LogIn(const std::string& strId, const std::string& strPassword)
    {
        return SessionKeyOf(Send(strId, strId, "<#LOGIN |" + strId + "| |ana| |" + strPassword + "| |x|#>"));
    }
    static std::string Error(const std::string& strReply)
    {
        std::smatch match;
        return std::regex_search(strReply, match, std::regex("<#ERR \\|([^|]*)\\|#>")) ? match[1].str() : "";
    }
    static std::string Loaded(UINT nId)
    {
        CString str;
        str.LoadString(nId);
        return static_cast<LPCTSTR>(str);
    }
    std::string DownloadToken(const char* pszName) const { return "<#DOWN2 |" + ProgramPath(pszName) + "|#>"; }
    static std::string DocumentToken(const char* pszWord, CRecordRef document)
    {
        return std::string("<#") + pszWord + " |*" + std::to_string(document.nBlock) + ","
            + std::to_string(document.nSlot) + "|#>";
    }
    static std::string HostPathToken(const char* pszWord, const fs::path& path)
    {
        return std::string("<#") + pszWord + " |" + ProgramPathFromHostPath(path.string()) + "|#>";
    }
    // The program folder, apart from the documents in Home().
    fs::path Program() const { return Home() / "program"; }

    /* Groups. */

    // Deletes a group with everything below it, as the recycle run does.
    void DeleteGroup(CRecordRef ref)
    {
        CNodeRec node(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        ASSERT_TRUE(node.DeleteSubtree(TRUE));
    }
    // A new group under Projects holding the document secret.txt; it takes
    // the first free slot of Projects' children.
    CRecordRef AddSecretGroup()
    {
        CNodeRec projects(m_pCatalog.get(), m_projects.nBlock, m_projects.nSlot);
        auto pSecret = AddNode(projects, "Secret");
        AddFile(*pSecret, "secret.txt", 6);
        return pSecret->GetRef();
    }
    bool StoredGrants(const WA_GROUP_KEY& key) const
    {
        WORD wValue = 0;
        return m_settings.m_profiles.front()->GetGroupRights().Lookup(key, wValue) != FALSE;
    }
    static WA_GROUP_KEY KeyOf(CRecordRef ref)
    {
        return { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) };
    }

    /* The socket channel, on the server's communication folder. */

    void Listen()
    {
        m_pListener = std::make_unique<CWAListenSocket>(m_settings.m_strCommFolder);
        m_pListener->SetPolicy(m_pServer.get());
        ASSERT_TRUE(m_pListener->Create(0, SOCK_STREAM, FD_ALL_EVENTS));
        ASSERT_TRUE(m_pListener->Listen(static_cast<int>(CWAListenSocket::MAX_CONNECTIONS)));
        CString strAddress;
        UINT nPort = 0;
        ASSERT_TRUE(m_pListener->GetSockName(strAddress, nPort));
        m_nPort = static_cast<int>(nPort);
    }
    std::future<CChannelExchange> StartExchange(const std::string& strBytes)
    {
        const int nPort = m_nPort;
        return std::async(std::launch::async, [=] { return RunChannelExchange(nPort, strBytes); });
    }
    // Runs the program's side until the peer has what came back; its text.
    std::string Finish(std::future<CChannelExchange>& peer)
    {
        EXPECT_TRUE(m_driver.PumpUntil([&] {
            m_pListener->CheckReplies();
            return peer.wait_for(0ms) == std::future_status::ready;
        }));
        std::string strBytes = peer.get().strReply;
        const fs::path scratch = Home() / "reply.zip";
        std::ofstream(scratch, std::ios::binary) << strBytes;
        CZipReader zip;
        std::string strText;
        if (zip.OpenFirstEntry(ProgramPath("reply.zip").c_str())) {
            char buffer[4096];
            int nRead;
            while ((nRead = zip.Read(buffer, sizeof buffer)) > 0)
                strText.append(buffer, static_cast<size_t>(nRead));
        } else {
            strText = std::move(strBytes);
        }
        zip.Close();
        fs::remove(scratch);
        return strText;
    }
    bool PumpUntilExists(const fs::path& path)
    {
        return m_driver.PumpUntil([&] { return fs::exists(path); });
    }
    // Runs the thread's messages, the clock standing, until condition() holds
    // or nLimitMs of real time have passed; m_dLongestMs is the most time
    // this thread spent on any one message (or look at the queue). Its own
    // processor time is counted, not the wall clock: other programs on a
    // busy machine would otherwise count as the service's.
    bool PumpTimed(const std::function<bool()>& condition, int nLimitMs = 60000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nLimitMs);
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            // This listener is the test's, not the server's: it looks for its replies here.
            if (m_pListener)
                m_pListener->CheckReplies();
            const double dStart = ThreadMilliseconds();
            MSG msg;
            const BOOL bTaken = PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
            if (bTaken) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            m_dLongestMs = std::max(m_dLongestMs, ThreadMilliseconds() - dStart);
            if (!bTaken)
                std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    // A request file answered as soon as it comes, the clock standing; its reply's text.
    std::string SendNow(const std::string& strId, const std::string& strUserLine, const std::string& strToken)
    {
        EXPECT_TRUE(WriteFolderRequest(m_folder, strId, strUserLine + "\r\n" + strToken + "\r\n"));
        const fs::path out = m_folder / (strId + ".out");
        if (!PumpTimed([&] { return fs::exists(out); }, 20000))
            return {};
        std::string strReply = ReadZipEntry(out.string());
        fs::remove(out);
        return strReply;
    }
    // The names in the communication folder beside requests and replies.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        return names;
    }
    // A zip archive of one entry holding strBytes, as the relay packs an upload.
    std::string Zipped(const std::string& strBytes)
    {
        CZipWriter zip;
        EXPECT_TRUE(zip.Create(ProgramPath("packed.zip").c_str(), "upload.bin", 0));
        EXPECT_TRUE(zip.Write(strBytes.data(), static_cast<UINT>(strBytes.size())));
        zip.Close();
        std::ifstream file(Home() / "packed.zip", std::ios::binary);
        std::string strZip((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        fs::remove(Home() / "packed.zip");
        return strZip;
    }
    static long ResidentKiB()
    {
        std::ifstream status("/proc/self/status");
        std::string strLine;
        while (std::getline(status, strLine))
            if (strLine.rfind("VmRSS:", 0) == 0)
                return std::stol(strLine.substr(6));
        return 0;
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    CSilentServicePrompts m_prompts;
    fs::path m_folder;
    std::unique_ptr<CSpaceServer> m_pServer;
    std::unique_ptr<CWAListenSocket> m_pListener;
    int m_nPort { 0 };
    double m_dLongestMs { 0 };
};

} // namespace

/*** Rights follow groups ***/

TEST_F(WebAccessHostileTest, ADeletedGroupsGrantGoesAtOnceAndPassesToNoGroupInItsSlot)
{
    Serve();
    AddProfile("pw", TRUE, Rights({ { m_alpha, WA_GROUP_WHOLE }, { m_archive, WA_GROUP_WHOLE } }));
    DeleteGroup(m_alpha);
    EXPECT_FALSE(StoredGrants(KeyOf(m_alpha)));
    EXPECT_TRUE(StoredGrants(KeyOf(m_archive)));
    const CRecordRef secret = AddSecretGroup();
    ASSERT_EQ(secret, m_alpha) << "the new group must reuse the deleted one's slot";

    const std::string strKey = LogIn("u1", "pw");
    ASSERT_NE(strKey, "");
    const std::string strLine = UserLine("u1", strKey);
    EXPECT_EQ(Send("u1", strLine, WdirToken(secret)).find("secret.txt"), std::string::npos);
    EXPECT_EQ(Send("u1", strLine, "<#WTREE#>").find("Secret"), std::string::npos);
    EXPECT_EQ(Send("u1", strLine, "<#WFIND |secret| |1W| |NAM|#>").find("secret.txt"), std::string::npos);
    const CRecordRef document = DocumentRef(secret, "secret.txt");
    const std::string strDown2
        = "<#DOWN2 |*" + std::to_string(document.nBlock) + "," + std::to_string(document.nSlot) + "|#>";
    EXPECT_EQ(Send("u1", strLine, strDown2).find("secret.txt"), std::string::npos);
    // Its own grant remains the only way to it.
    EXPECT_NE(Send("u1", strLine, WdirToken(m_archive)).find("old.txt"), std::string::npos);
}

TEST_F(WebAccessHostileTest, ALoggedInSessionLosesTheGrantOfAGroupDeletedUnderIt)
{
    Serve();
    AddProfile("pw", TRUE, Rights({ { m_alpha, WA_GROUP_WHOLE }, { m_archive, WA_GROUP_WHOLE } }));
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    ASSERT_NE(Send("u1", strLine, WdirToken(m_alpha)).find("one.txt"), std::string::npos);

    DeleteGroup(m_alpha);
    const CRecordRef secret = AddSecretGroup();
    ASSERT_EQ(secret, m_alpha);
    EXPECT_EQ(Send("u1", strLine, WdirToken(secret)).find("secret.txt"), std::string::npos);
    EXPECT_EQ(Send("u1", strLine, "<#WTREE#>").find("Secret"), std::string::npos);
    // The other grant stays.
    EXPECT_NE(Send("u1", strLine, WdirToken(m_archive)).find("old.txt"), std::string::npos);
    EXPECT_TRUE(StoredGrants(KeyOf(m_archive)));
}

/*** A session belongs to whoever logged in ***/

TEST_F(WebAccessHostileTest, NamingAnotherUsersIdWithoutItsKeyReachesNoSession)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strKey = LogIn("u1", "pw");
    ASSERT_EQ(strKey.size(), 32u);
    EXPECT_NE(LogIn("u2", "pw"), strKey) << "each login makes its own key";

    const std::string strNoSession = Loaded(IDS_WA_ERR_NO_SESSION);
    EXPECT_EQ(Error(Send("x", "u1", WdirToken(m_projects))), strNoSession);
    EXPECT_EQ(Error(Send("x", "u1|", WdirToken(m_projects))), strNoSession);
    EXPECT_EQ(Error(Send("x", "u1|" + std::string(32, '0'), WdirToken(m_projects))), strNoSession);
    EXPECT_EQ(Error(Send("x", "u2|" + strKey, WdirToken(m_projects))), strNoSession) << "a key is its user's only";
    // Nor can anyone end the session without its key.
    EXPECT_EQ(Send("x", "u1", "<#LOGOUT |u1| |ana|#>"), "");
    EXPECT_NE(Send("u1", UserLine("u1", strKey), WdirToken(m_projects)).find("Alpha"), std::string::npos);
}

TEST_F(WebAccessHostileTest, ALoginUnderTheOwnersIdLeavesTheOwnersSessionAndProfileAlone)
{
    Serve();
    AddProfile("owner", TRUE, AllGroups());
    AddProfile("other", FALSE, Rights({ { m_archive, WA_GROUP_WHOLE } }));
    const std::string strOwner = UserLine("u1", LogIn("u1", "owner"));
    const size_t nSessions = m_pServer->GetSessionCount();

    // A wrong password names the ID: nothing of the owner's session changes.
    EXPECT_EQ(LogIn("u1", "guess"), "");
    EXPECT_EQ(m_pServer->GetSessionCount(), nSessions);
    // Another profile's password gives a session of its own, not the owner's.
    const std::string strOther = UserLine("u1", LogIn("u1", "other"));
    ASSERT_NE(strOther, "u1");
    EXPECT_EQ(Error(Send("u1", strOther, DownloadToken("one.txt"))), Loaded(IDS_WA_ERR_NOT_ALLOWED));
    EXPECT_EQ(Error(Send("u1", strOwner, DownloadToken("one.txt"))), "");
    EXPECT_NE(Send("u1", strOwner, WdirToken(m_alpha)).find("one.txt"), std::string::npos);
    EXPECT_EQ(Send("u1", strOther, WdirToken(m_alpha)).find("one.txt"), std::string::npos);

    // The owner logging in again with the key replaces only the owner's session.
    const std::string strAgain = UserLine("u1", SessionKeyOf(Send("u1", strOwner, "<#LOGIN |u1| |ana| |owner| |x|#>")));
    EXPECT_EQ(Error(Send("u1", strOwner, WdirToken(m_alpha))), Loaded(IDS_WA_ERR_NO_SESSION));
    EXPECT_EQ(Error(Send("u1", strAgain, WdirToken(m_alpha))), "");
    EXPECT_EQ(Error(Send("u1", strOther, "<#WTREE#>")), "");
}

TEST_F(WebAccessHostileTest, SessionsEndAfterTheIdleTimeOfTheSettings)
{
    Serve();
    m_settings.m_nSessionTime = 10 * 60 * 1000;
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    m_driver.Advance(9 * 60 * 1000);
    ASSERT_EQ(Error(Send("u1", strLine, "<#WTREE#>")), "") << "a request keeps the session";
    m_driver.Advance(9 * 60 * 1000);
    ASSERT_EQ(Error(Send("u1", strLine, "<#WTREE#>")), "");
    m_driver.Advance(10 * 60 * 1000);
    EXPECT_EQ(Error(Send("u1", strLine, "<#WTREE#>")), Loaded(IDS_WA_ERR_NO_SESSION));
    EXPECT_EQ(m_pServer->GetSessionCount(), 0u);
}

TEST_F(WebAccessHostileTest, RepeatedWrongPasswordsHoldTheIdWithoutHoldingTheServer)
{
    Serve();
    AddProfile("right", TRUE, AllGroups());
    // A guess a second for fifty seconds: every one is answered at once,
    // as a wrong password, but only the first few are tried.
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Error(Send("g", "g", "<#LOGIN |g| |ana| |guess" + std::to_string(i) + "| |x|#>")),
            Loaded(IDS_WA_ERR_NO_PROFILE));
    const auto& lines = m_pServer->GetLogLines();
    const auto nHeld = std::count_if(lines.begin(), lines.end(), [](const CString& strLine) {
        return std::string(strLine).find("UserID = g - Login held") != std::string::npos;
    });
    EXPECT_GE(nHeld, 40);
    // Even the right password waits out the hold.
    EXPECT_EQ(LogIn("g", "right"), "");
    // Other IDs are not held.
    EXPECT_NE(LogIn("h", "right"), "");
    // Once the hold is over, the right password logs in and clears the count.
    m_driver.Advance(CWALoginThrottle::LONGEST_HOLD);
    EXPECT_NE(LogIn("g", "right"), "");
    EXPECT_EQ(LogIn("g", "wrong"), "");
    EXPECT_NE(LogIn("g", "right"), "");
}

/*** A reply goes to the exchange that asked for it ***/

TEST_F(WebAccessHostileTest, AnEmptyUploadUnderAnotherIdNeverReceivesItsReply)
{
    Serve();
    Listen();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strKey = LogIn("u1", "pw");

    // An upload nobody announced is refused before it lands, and leaves
    // nothing for the owner's next upload.
    auto thief = StartExchange(ChannelUploadLine(CODE, "u1", 0, 0));
    EXPECT_EQ(Error(Finish(thief)), "Upload not allowed!");
    EXPECT_FALSE(fs::exists(m_folder / "u1.upl"));

    // The owner waits first (no catalog served meanwhile, so the request
    // stays): the peer is refused before it touches a file.
    SetWebCatalog(nullptr);
    auto asking = StartExchange(ChannelRequest(CODE, "u1", { WdirToken(m_projects) }, strKey));
    ASSERT_TRUE(PumpUntilExists(m_folder / "u1.in"));
    auto late = StartExchange(ChannelUploadLine(CODE, "u1", 0, 0));
    EXPECT_EQ(Error(Finish(late)), "System is busy!");
    SetWebCatalog(m_pCatalog.get());
    m_driver.Advance(1000);
    EXPECT_NE(Finish(asking).find("Alpha"), std::string::npos);
}

TEST_F(WebAccessHostileTest, ARequestLeftUnansweredIsNotAnsweredToTheNextExchangeOfItsId)
{
    Serve();
    Listen();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strKey = LogIn("u1", "pw");

    // No catalog while the owner waits: the exchange times out, and its
    // request goes with it rather than being answered later to whoever
    // comes next under the ID.
    SetWebCatalog(nullptr);
    auto owner = StartExchange(ChannelRequest(CODE, "u1", { WdirToken(m_projects) }, strKey));
    ASSERT_TRUE(PumpUntilExists(m_folder / "u1.in"));
    m_driver.Advance(CWAClientSocket::REPLY_LIMIT + 1000);
    EXPECT_EQ(Error(Finish(owner)), "Time Out");
    EXPECT_FALSE(fs::exists(m_folder / "u1.in"));

    SetWebCatalog(m_pCatalog.get());
    auto thief = StartExchange(ChannelUploadLine(CODE, "u1", 0, 0));
    EXPECT_EQ(Error(Finish(thief)), "Upload not allowed!");
}

/*** Peers cannot hold the channel or fill the disk ***/

TEST_F(WebAccessHostileTest, PeersThatTrickleTheirRequestsAreCutAtTheDeadline)
{
    Serve();
    Listen();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strKey = LogIn("u1", "pw");
    // Every place of the channel is taken by a peer that keeps sending a
    // byte now and then, never long enough apart for the idle limit.
    std::vector<std::future<CChannelExchange>> slow;
    for (size_t i = 0; i < CWAListenSocket::MAX_CONNECTIONS; ++i) {
        const std::string strBytes = ChannelRequest(CODE, "s" + std::to_string(i), { std::string(2000, 'x') });
        slow.push_back(std::async(std::launch::async, [strBytes, nPort = m_nPort] {
            return RunChannelExchange(nPort, strBytes, 5ms, RelayEnding::KeepOpen, 1000ms);
        }));
    }
    ASSERT_TRUE(
        m_driver.PumpUntil([&] { return m_pListener->GetConnectionCount() == CWAListenSocket::MAX_CONNECTIONS; }));

    // Ten seconds at a time, each peer sending in between, past the deadline.
    for (int nStep = 0; nStep < 4; ++nStep) {
        m_driver.Advance(10000);
        static_cast<void>(m_driver.PumpUntil([] { return false; }, 30)); // the peers' next bytes
    }
    EXPECT_TRUE(m_driver.PumpUntil([&] { return m_pListener->GetConnectionCount() == 0; }));
    auto relay = StartExchange(ChannelRequest(CODE, "u1", { WdirToken(m_projects) }, strKey));
    EXPECT_NE(Finish(relay).find("Alpha"), std::string::npos);
    for (auto& peer : slow)
        peer.wait();
    EXPECT_EQ(Leftovers(), std::vector<std::string> {}) << "no request of theirs is left";
}

TEST_F(WebAccessHostileTest, UploadsNeedTheirSessionsWordAndFitTheLimitAndTheDisk)
{
    Serve();
    Listen();
    m_settings.m_nUploadLimit = 1; // MiB
    AddProfile("up", TRUE, AllGroups(), "uploads");
    AddProfile("pw", TRUE, AllGroups());
    const std::string strUp = UserLine("u1", LogIn("u1", "up"));
    const std::string strNo = UserLine("u2", LogIn("u2", "pw"));

    // Without a session, 2 GiB announced: refused before a byte lands.
    auto flood = StartExchange(ChannelUploadLine(CODE, "zz", 2147483647, 0) + std::string(65536, 'x'));
    EXPECT_EQ(Error(Finish(flood)), "Upload not allowed!");
    // A profile without the right to upload announces nothing.
    EXPECT_EQ(Error(Send("u2", strNo, "<#UPL |a.txt| |10|#>")), Loaded(IDS_WA_ERR_NOT_ALLOWED));
    auto unannounced = StartExchange(ChannelUploadLine(CODE, "u2", 10, 0) + "0123456789");
    EXPECT_EQ(Error(Finish(unannounced)), "Upload not allowed!");

    // Announced, but larger than the settings allow, raw or packed.
    ASSERT_EQ(Error(Send("u1", strUp, "<#UPL |big.bin| |2000000|#>")), "");
    auto big = StartExchange(ChannelUploadLine(CODE, "u1", 2 * 1024 * 1024, 0));
    EXPECT_EQ(Error(Finish(big)), "Uploaded file too large!");
    // A packed upload that tells no size unpacks up to the limit, no further.
    const std::string strBomb = Zipped(std::string(3 * 1024 * 1024, 'b'));
    auto bomb = StartExchange(ChannelUploadLine(CODE, "u1", 0, static_cast<long long>(strBomb.size())) + strBomb);
    EXPECT_EQ(Error(Finish(bomb)), "Uploaded file corrupted!");
    // No room on the disk for it.
    m_pServer->m_nFreeSpace = 1024 * 1024;
    auto full = StartExchange(ChannelUploadLine(CODE, "u1", 1000, 0) + std::string(1000, 'f'));
    EXPECT_EQ(Error(Finish(full)), "Not enough disk space!");
    m_pServer->m_nFreeSpace = 0;
    EXPECT_EQ(Leftovers(), std::vector<std::string> {}) << "every refusal leaves nothing behind";

    // Within every bound it is stored.
    auto fine = StartExchange(ChannelUploadLine(CODE, "u1", 1000, 0) + std::string(1000, 'f'));
    EXPECT_EQ(Error(Finish(fine)), "");
    EXPECT_EQ(fs::file_size(Home() / "uploads" / "big.bin"), 1000u);

    // Through the folder: an upload past the limit is answered and deleted,
    // and one nobody announced is deleted at the next scan.
    ASSERT_EQ(Error(Send("u1", strUp, "<#UPL |lan.bin| |5|#>")), "");
    std::ofstream(m_folder / "u1.upl", std::ios::binary) << std::string(2 * 1024 * 1024, 'l');
    m_driver.Advance(1000);
    ASSERT_TRUE(fs::exists(m_folder / "u1.out"));
    EXPECT_EQ(Error(ReadZipEntry((m_folder / "u1.out").string())), Loaded(IDS_WA_UPLOAD_TOO_LARGE));
    fs::remove(m_folder / "u1.out");
    std::ofstream(m_folder / "zz.upl") << "x";
    m_driver.Advance(1000);
    EXPECT_EQ(Leftovers(), std::vector<std::string> {});
    EXPECT_FALSE(fs::exists(Home() / "uploads" / "lan.bin"));
}

/*** The user interface never waits on the web ***/

TEST_F(WebAccessHostileTest, ARequestIsAnsweredWhenItArrivesNotAtTheNextScan)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    // The clock stands, so no scan timer fires: the folder watch answers.
    for (int i = 0; i < 20; ++i)
        ASSERT_NE(SendNow("u1", strLine, "<#WTREE#>").find("Alpha"), std::string::npos) << i;
}

TEST_F(WebAccessHostileTest, ALargeDownloadIsWrittenWithoutHoldingTheUserInterface)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    constexpr size_t SIZE = 100 * 1024 * 1024;
    {
        std::ofstream file(Home() / "large.bin", std::ios::binary);
        std::string strBlock(1024 * 1024, '\0');
        for (size_t i = 0; i < strBlock.size(); ++i)
            strBlock[i] = static_cast<char>((i * 7919) >> 3);
        for (size_t n = 0; n < SIZE; n += strBlock.size())
            file << strBlock;
    }
    m_dLongestMs = 0;
    const std::string strReply = SendNow("u1", strLine, DownloadToken("large.bin"));
    EXPECT_LT(m_dLongestMs, LONGEST_STALL_MS);
    const size_t nToken = strReply.find("#>\r\n");
    ASSERT_NE(nToken, std::string::npos);
    EXPECT_EQ(strReply.size(), nToken + 4 + SIZE + 9);
    EXPECT_EQ(strReply.substr(strReply.size() - 9), "\r\n<#END#>");
    // The next request of the ID is answered after it, as usual.
    EXPECT_NE(SendNow("u1", strLine, "<#WTREE#>").find("Alpha"), std::string::npos);
}

TEST_F(WebAccessHostileTest, AQueueOfRequestsIsServedInBatches)
{
    Serve();
    SetWebCatalog(nullptr); // the requests gather while no catalog is served
#ifdef HOSTILE_SANITIZED
    constexpr int COUNT = 500;
#else
    constexpr int COUNT = 2000;
#endif
    for (int i = 0; i < COUNT; ++i)
        ASSERT_TRUE(WriteFolderRequest(m_folder, "q" + std::to_string(i), "q\r\n<#WTREE#>\r\n"));
    SetWebCatalog(m_pCatalog.get());
    m_dLongestMs = 0;
    // One more arrives, and the scan it starts finds them all.
    ASSERT_TRUE(WriteFolderRequest(m_folder, "last", "q\r\n<#WTREE#>\r\n"));
    EXPECT_TRUE(PumpTimed([&] {
        return std::count_if(fs::directory_iterator(m_folder), fs::directory_iterator(),
                   [](const fs::directory_entry& entry) { return entry.path().extension() == ".out"; })
            == COUNT + 1;
    }));
    EXPECT_LT(m_dLongestMs, LONGEST_STALL_MS);
}

TEST_F(WebAccessHostileTest, ALoadOfRequestsAndPeersKeepsMemoryAndTheUserInterfaceFree)
{
#ifdef HOSTILE_SANITIZED
    constexpr int COUNT = 1000;
#else
    constexpr int COUNT = 10000;
#endif
    Serve();
    Listen();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    ASSERT_NE(SendNow("u1", strLine, "<#WTREE#>").find("Alpha"), std::string::npos);
    [[maybe_unused]] const long nResidentBefore = ResidentKiB(); // compared where no sanitizer grows it
    m_dLongestMs = 0;
    for (int i = 0; i < COUNT; ++i)
        ASSERT_NE(SendNow("u1", strLine, "<#WTREE#>").find("Alpha"), std::string::npos) << i;

    // Two hundred peers at once: each gets an answer, a page or a refusal.
    std::vector<std::future<CChannelExchange>> peers;
    for (int i = 0; i < 200; ++i)
        peers.push_back(StartExchange(ChannelRequest(CODE, "p" + std::to_string(i), { "<#WTREE#>" })));
    EXPECT_TRUE(PumpTimed([&] {
        return std::all_of(peers.begin(), peers.end(),
            [](const std::future<CChannelExchange>& peer) { return peer.wait_for(0ms) == std::future_status::ready; });
    }));
    for (auto& peer : peers)
        EXPECT_NE(peer.get().strReply, "");
    EXPECT_LT(m_dLongestMs, LONGEST_STALL_MS);
    EXPECT_TRUE(PumpTimed([&] { return m_pListener->GetConnectionCount() == 0; }, 10000));
    EXPECT_EQ(m_pServer->GetSessionCount(), 1u);
    EXPECT_LE(m_pServer->GetLogLines().size(), CWAServer::MAX_LOG_LINES);
#ifndef HOSTILE_SANITIZED
    EXPECT_LT(ResidentKiB() - nResidentBefore, 64 * 1024) << "KiB grown";
#endif
}

/*** Nothing others may read or reach ***/

TEST_F(WebAccessHostileTest, NoPasswordOfARefusedLoginReachesTheLog)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    // Under another ID than its request's; longer than any profile's
    // password; with blanks and in small letters, unclosed.
    EXPECT_NE(Error(Send("u1", "u1", "<#LOGIN |u2| |ana| |Sesame-9| |x|#>")), "");
    EXPECT_NE(Error(Send("u1", "u1", "<#LOGIN |u1| |ana| |ThePasswordIsTooLong| |x|#>")), "");
    EXPECT_NE(Error(Send("u1", "u1", "<# login |u1| |ana| |Unclosed-Secret")), "");
    const std::string strFile = ReadHostFile(Program() / "WebArch.LOG");
    for (const char* pszPassword : { "Sesame-9", "ThePasswordIsTooLong", "Unclosed-Secret" }) {
        EXPECT_EQ(strFile.find(pszPassword), std::string::npos) << strFile;
        for (const CString& strLine : m_pServer->GetLogLines())
            EXPECT_EQ(std::string(strLine).find(pszPassword), std::string::npos) << strLine;
    }
    // The lines still tell which logins were refused.
    EXPECT_NE(strFile.find("<#LOGIN |u2| ********"), std::string::npos) << strFile;
    EXPECT_NE(strFile.find("<# login |u1| ********"), std::string::npos) << strFile;
}

TEST_F(WebAccessHostileTest, TheFilesOfTheServiceAreTheUsersAlone)
{
    const CUsualUmask umask;
    fs::permissions(m_folder,
        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
            | fs::perms::others_exec);
    // A log an earlier run left readable by everyone.
    std::ofstream(Program() / "WebArch.LOG") << "old line\r\n";
    fs::permissions(Program() / "WebArch.LOG", USER_FILE | fs::perms::group_read | fs::perms::others_read);
    Serve();
    Listen();
    AddProfile("pw", TRUE, AllGroups());
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    const std::string strKey = LogIn("u1", "pw");
    ASSERT_NE(strKey, "");

    EXPECT_EQ(ModeOf(m_folder), fs::perms::owner_all);
    EXPECT_EQ(ModeOf(Program() / "WebArch.LOG"), USER_FILE);
    EXPECT_EQ(ModeOf(Program() / "settings"), fs::perms::owner_all);
    EXPECT_EQ(ModeOf(Program() / "settings" / "CurrentUser.reg"), USER_FILE);
    // A reply holding a downloaded document, zipped or plain.
    for (const char* pszFlag : { "1", "0" }) {
        ASSERT_TRUE(WriteFolderRequest(m_folder, "u1",
            UserLine("u1", strKey) + "\r\n<#DOWN2 |" + ProgramPath("one.txt") + "| |0| |" + pszFlag + "|#>\r\n"));
        m_driver.Advance(1000);
        ASSERT_TRUE(PumpUntilExists(m_folder / "u1.out")) << pszFlag; // written off this thread
        EXPECT_EQ(ModeOf(m_folder / "u1.out"), USER_FILE) << pszFlag;
        fs::remove(m_folder / "u1.out");
    }
    // A request the socket channel writes down for the scan, kept waiting.
    SetWebCatalog(nullptr);
    auto exchange = StartExchange(ChannelRequest(CODE, "u1", { "<#LOGIN |u1| |ana| |pw| |x|#>" }, strKey));
    ASSERT_TRUE(PumpUntilExists(m_folder / "u1.in"));
    EXPECT_EQ(ModeOf(m_folder / "u1.in"), USER_FILE);
    m_driver.Advance(CWAClientSocket::REPLY_LIMIT + 1000);
    Finish(exchange);
    SetWebCatalog(m_pCatalog.get());
}

TEST_F(WebAccessHostileTest, TheLogIsSetAsideOnceItReachesItsBound)
{
    const CUsualUmask umask;
    const std::string strOld(CWALogFile::MAX_SIZE - 10, 'x');
    std::ofstream(Program() / "WebArch.LOG", std::ios::binary) << strOld;
    m_pServer->Log("the line past the bound");
    EXPECT_EQ(ReadHostFile(Program() / "WebArch.OLD"), strOld);
    const std::string strNew = ReadHostFile(Program() / "WebArch.LOG");
    EXPECT_NE(strNew.find("the line past the bound\r\n"), std::string::npos);
    EXPECT_LT(strNew.size(), 100u);
    EXPECT_EQ(ModeOf(Program() / "WebArch.LOG"), USER_FILE);
    EXPECT_EQ(ModeOf(Program() / "WebArch.OLD"), USER_FILE);
    // The next rotation replaces the older lines: two files at most.
    for (int i = 0; fs::file_size(Program() / "WebArch.LOG") < CWALogFile::MAX_SIZE - 100; ++i)
        m_pServer->Log(CString(std::string(1000, 'y').c_str()));
    m_pServer->Log(CString(std::string(1000, 'z').c_str()));
    EXPECT_EQ(ReadHostFile(Program() / "WebArch.OLD").find('x'), std::string::npos);
    EXPECT_LE(fs::file_size(Program() / "WebArch.OLD"), CWALogFile::MAX_SIZE);
}

TEST_F(WebAccessHostileTest, ADocumentReplacedByALinkIsNotServed)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    const CRecordRef document = DocumentRef(m_alpha, "one.txt");
    std::ofstream(Home() / "id_key") << "PRIVATE-KEY-BYTES";
    fs::remove(Home() / "one.txt");
    fs::create_symlink(Home() / "id_key", Home() / "one.txt");

    const std::string strDownload = Send("u1", strLine, DocumentToken("DOWN2", document));
    EXPECT_EQ(strDownload.find("PRIVATE-KEY-BYTES"), std::string::npos);
    EXPECT_EQ(Error(strDownload), Loaded(IDS_WA_ERR_UNAVAILABLE));
    EXPECT_EQ(Send("u1", strLine, DocumentToken("TIPV", document)).find("PRIVATE-KEY-BYTES"), std::string::npos);
    // Not even its size tells of the file it points to.
    EXPECT_EQ(Error(Send("u1", strLine, DocumentToken("ATTR", document))), Loaded(IDS_WA_ERR_UNAVAILABLE));
}

TEST_F(WebAccessHostileTest, TheExplorerRightReachesNothingOfTheProgramFolder)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    fs::create_directory(Home() / "docs");
    fs::create_directory_symlink(Program(), Home() / "shortcut");
    const std::string strMissing = Loaded(IDS_WA_ERR_MISSING);

    // Listings leave it out, also behind a link.
    const std::string strListing = Send("u1", strLine, HostPathToken("EDIR", Home()));
    EXPECT_NE(strListing.find("one.txt"), std::string::npos);
    EXPECT_EQ(strListing.find("program"), std::string::npos);
    EXPECT_EQ(strListing.find("shortcut"), std::string::npos);
    const std::string strSiblings = Send("u1", strLine, HostPathToken("EDIR", Home() / "docs"));
    EXPECT_EQ(Error(strSiblings), "");
    EXPECT_EQ(strSiblings.find("program"), std::string::npos);
    EXPECT_EQ(strSiblings.find("shortcut"), std::string::npos);
    // Nothing in it is listed or fetched, by its own path or through the link.
    for (const fs::path& folder : { Program(), Home() / "shortcut" }) {
        EXPECT_EQ(Error(Send("u1", strLine, HostPathToken("EDIR", folder))), strMissing);
        EXPECT_EQ(Error(Send("u1", strLine, HostPathToken("EDIR", folder / "settings"))), strMissing);
        for (const char* pszWord : { "DOWN2", "ATTR", "TIPV" }) {
            const std::string strReply
                = Send("u1", strLine, HostPathToken(pszWord, folder / "settings" / "CurrentUser.reg"));
            EXPECT_EQ(Error(strReply), strMissing) << pszWord;
            EXPECT_EQ(strReply.find("WASite"), std::string::npos) << pszWord;
        }
        EXPECT_EQ(Error(Send("u1", strLine, HostPathToken("DOWN2", folder / "WebArch.LOG"))), strMissing);
    }
}

TEST_F(WebAccessHostileTest, APasswordProtectedDocumentIsRefusedAsTheTipViewRefusesIt)
{
    Serve();
    AddProfile("pw", TRUE, AllGroups());
    const std::string strLine = UserLine("u1", LogIn("u1", "pw"));
    std::ofstream(Home() / "one.txt") << "plain words";
    const CRecordRef document = DocumentRef(m_alpha, "one.txt");
    {
        CDocumentRec record(m_pCatalog.get(), document.nBlock, document.nSlot);
        ASSERT_EQ(record.ChangeProtection("secret", nullptr), PROTECT_OK);
    }
    ASSERT_TRUE(IsProtectedFile(ProgramPath("one.txt").c_str()));

    const std::string strTip = Send("u1", strLine, DocumentToken("TIPV", document));
    EXPECT_EQ(strTip.find("plain words"), std::string::npos);
    const std::string strRefused = Loaded(IDS_WA_ERR_NOT_ALLOWED);
    // Neither as the catalogued document nor by its path under the explorer right.
    for (const std::string& strToken : { DocumentToken("DOWN2", document), DownloadToken("one.txt") }) {
        const std::string strReply = Send("u1", strLine, strToken);
        EXPECT_EQ(Error(strReply), strRefused) << strToken;
        EXPECT_EQ(strReply.find("Archivora protected file"), std::string::npos) << strToken;
        EXPECT_EQ(strReply.find("<#DOWN2 |"), std::string::npos) << strToken;
    }
}
