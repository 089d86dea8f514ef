// The socket channel against the relay on loopback: what the relay sends
// becomes the files the request-folder server reads, and the reply file the
// server writes goes back byte for byte. The server's part (turning a .in
// into a .out) is played by the test.

#include "webaccess/server/CWAListenSocket.h"

#include "platform/base/PathMap.h"
#include "platform/base/ZipReader.h"
#include "platform/base/ZipWriter.h"
#include "platform/net/AsyncSocket.h"
#include "platform/testing/TestDriver.h"
#include "store/FileHelpers.h"
#include "tools/testpeers/ChannelRelay.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAChannelPolicy.h"
#include "webaccess/server/CWAClientSocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace std::string_literals;

namespace {

constexpr char FOLDER[] = "abcdefgh"; // the communication folder abcde.fgh

std::string ReadHostFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteHostFile(const fs::path& path, const std::string& strBytes)
{
    std::ofstream file(path, std::ios::binary);
    file << strBytes;
}

// The service's word on every upload: yes, up to 64 MiB.
class CAnyUploadPolicy : public CWAChannelPolicy {
public:
    DWORD GetRequestDeadline() const override { return CWAClientSocket::DEFAULT_REQUEST_DEADLINE; }
    ULONGLONG GetUploadLimit() const override { return 64 * 1024 * 1024; }
    LPCTSTR CheckUpload(const CString&, ULONGLONG, ULONGLONG) const override { return nullptr; }
};

class SocketChannelTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_strFolder = BuildCommFolderPath(GetProgramFolder(), FOLDER);
        ASSERT_TRUE(CreateFolderPath(m_strFolder));
        std::string strHost;
        ASSERT_TRUE(HostPathFromProgramPath(m_strFolder, strHost));
        m_hostFolder = strHost;
        ASSERT_TRUE(AfxSocketInit());
        m_pListener = std::make_unique<CWAListenSocket>(m_strFolder);
        m_pListener->SetPolicy(&m_policy);
        ASSERT_TRUE(m_pListener->Create(0, SOCK_STREAM, FD_ALL_EVENTS));
        ASSERT_TRUE(m_pListener->Listen(5));
        CString strAddress;
        UINT nPort = 0;
        ASSERT_TRUE(m_pListener->GetSockName(strAddress, nPort));
        m_nPort = static_cast<int>(nPort);
    }
    void TearDown() override
    {
        m_pListener.reset();
        std::error_code ec;
        fs::remove_all(m_hostFolder, ec);
    }

    CAnyUploadPolicy m_policy;

    fs::path File(const std::string& strId, const char* pszExtension) const
    {
        return m_hostFolder / (strId + pszExtension);
    }

    // The names in the communication folder, sorted, "a.in b.upl".
    std::string FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_hostFolder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string strNames;
        for (const std::string& strName : names)
            strNames += (strNames.empty() ? "" : " ") + strName;
        return strNames;
    }

    std::future<CChannelExchange> Start(
        const std::string& strBytes, std::chrono::milliseconds nGap = 0ms, RelayEnding eEnding = RelayEnding::KeepOpen)
    {
        int nPort = m_nPort;
        return std::async(std::launch::async, [=] { return RunChannelExchange(nPort, strBytes, nGap, eEnding); });
    }

    // Pumps the program's side until the peer has its reply.
    CChannelExchange Finish(std::future<CChannelExchange>& peer)
    {
        EXPECT_TRUE(m_driver.PumpUntil([&] { return peer.wait_for(0ms) == std::future_status::ready; }));
        return peer.get();
    }

    // The server's answer as it gives one: the request or upload taken, then
    // the reply written under the ID's .out name.
    void ServerAnswers(const std::string& strId, const char* pszTaken, const std::string& strReply)
    {
        fs::remove(File(strId, pszTaken));
        WriteHostFile(File(strId, ".out"), strReply);
        m_pListener->CheckReplies();
    }

    bool PumpUntilExists(const fs::path& path)
    {
        return m_driver.PumpUntil([&] { return fs::exists(path); });
    }

    // The text of a zip reply (its one entry).
    static std::string Unzipped(const std::string& strReply)
    {
        ScratchReply file(strReply);
        CZipReader zip;
        if (!zip.OpenFirstEntry(ProgramPathFromHostPath(file.path.string()).c_str()))
            return "(not a zip reply)";
        std::string strText;
        char buffer[4096];
        int nRead;
        while ((nRead = zip.Read(buffer, sizeof buffer)) > 0)
            strText.append(buffer, static_cast<size_t>(nRead));
        return nRead == 0 ? strText : "(damaged zip reply)";
    }

    static std::string ErrorReply(const char* pszText) { return std::string("\r\n<#ERR |") + pszText + "|#>"; }

    // A zip archive of one entry holding strBytes, as the relay packs an upload.
    static std::string Zipped(const std::string& strBytes, const char* pszEntry = "upload.bin")
    {
        ScratchReply file("");
        CZipWriter zip;
        EXPECT_TRUE(zip.Create(ProgramPathFromHostPath(file.path.string()).c_str(), pszEntry, 0));
        EXPECT_TRUE(zip.Write(strBytes.data(), static_cast<UINT>(strBytes.size())));
        zip.Close();
        return ReadHostFile(file.path);
    }

    struct ScratchReply {
        explicit ScratchReply(const std::string& strBytes)
            : path(
                fs::temp_directory_path() / ("channel-" + std::to_string(::getpid()) + "-" + std::to_string(++s_nNext)))
        {
            WriteHostFile(path, strBytes);
        }
        ~ScratchReply()
        {
            std::error_code ec;
            fs::remove(path, ec);
        }
        fs::path path;
        static inline int s_nNext = 0;
    };

    CTestDriver m_driver;
    CString m_strFolder;
    fs::path m_hostFolder;
    std::unique_ptr<CWAListenSocket> m_pListener;
    int m_nPort { 0 };
};

} // namespace

TEST_F(SocketChannelTest, ARequestBecomesARequestFileAndTheReplyGoesBackUnchanged)
{
    WriteHostFile(File("u1", ".out"), "a stale reply of an earlier request");
    auto peer = Start(ChannelRequest(FOLDER, "u1", { "<#WDIR |3| |0|#>", "line two\r" }) + "ignored after the end\n");
    ASSERT_TRUE(PumpUntilExists(File("u1", ".in")));
    EXPECT_EQ(ReadHostFile(File("u1", ".in")), "u1\r\n<#WDIR |3| |0|#>\r\nline two\r\n");
    EXPECT_EQ(FolderNames(), "u1.in"); // the stale reply went before the request was written

    std::string strReply = "PK\x03\x04 reply bytes \0\r\n\xFF"s;
    strReply += std::string(200000, 'z'); // more than one block and more than the socket takes at once
    ServerAnswers("u1", ".in", strReply);
    CChannelExchange exchange = Finish(peer);
    EXPECT_EQ(exchange.strReply.size(), strReply.size());
    EXPECT_TRUE(exchange.strReply == strReply);
    EXPECT_TRUE(m_driver.PumpUntil([&] { return !fs::exists(File("u1", ".out")); }));
}

TEST_F(SocketChannelTest, ALogoutIsWrittenAndAnsweredWithTheClose)
{
    auto peer = Start(ChannelRequest(FOLDER, "u2", { "<#LOGOUT |u2|#>" }));
    CChannelExchange exchange = Finish(peer);
    EXPECT_EQ(exchange.strReply, "");
    EXPECT_EQ(ReadHostFile(File("u2", ".in")), "u2\r\n<#LOGOUT |u2|#>\r\n");
}

TEST_F(SocketChannelTest, BadFirstLinesGetTheirErrorTexts)
{
    struct Case {
        std::string strLine;
        const char* pszError;
    } cases[] = {
        { "<#WDIR |abcdefgh| |u|\n", "Invalid command!" },
        { "<#INIT|abcdefgh| |u|\n", "Invalid command!" },
        { "<#INIT |abc| |u| |x|\n", "Invalid communication folder!" },
        { "<#INIT |abcdefghijkl| |u| |x|\n", "Invalid communication folder!" },
        { "<#INIT |..\\..\\etc| |u| |x|\n", "Invalid communication folder!" },
        { "<#INIT |zzzzzzzz| |u| |x|\n", "Invalid communication folder!" }, // not this catalog's folder
        { "<#INIT |abcdefgh| |123456789| |x|\n", "Invalid communication ID!" },
        { "<#INIT |abcdefgh| || |x|\n", "Invalid communication ID!" },
        { "<#INIT |abcdefgh| |../u| |x|\n", "Invalid communication ID!" },
        { "<#INIT_UPL |abcdefgh| |u| |x| |y| |12x| |0|\n", "Invalid command!" },
        { "<#INIT_UPL |abcdefgh| |u| |x| |y| |2147483648| |0|\n", "Invalid command!" },
        { "<#INIT_UPL |abcdefgh| |u| |x| |y| |-1| |0|\n", "Invalid command!" },
        { std::string(CWAClientSocket::MAX_LINE + 10, 'a'), "Invalid command!" },
    };
    for (const Case& c : cases) {
        auto peer = Start(c.strLine);
        CChannelExchange exchange = Finish(peer);
        EXPECT_EQ(Unzipped(exchange.strReply), ErrorReply(c.pszError)) << c.strLine.substr(0, 60);
    }
    EXPECT_EQ(FolderNames(), "");
}

TEST_F(SocketChannelTest, ASecondExchangeOfOneIdIsBusyWhileTheFirstWaits)
{
    auto first = Start(ChannelRequest(FOLDER, "dup", { "<#WDIR |1|#>" }));
    ASSERT_TRUE(PumpUntilExists(File("dup", ".in")));
    auto second = Start(ChannelRequest(FOLDER, "dup", { "<#ATTR |2|#>" }));
    CChannelExchange busy = Finish(second);
    EXPECT_EQ(Unzipped(busy.strReply), ErrorReply("System is busy!"));
    EXPECT_EQ(ReadHostFile(File("dup", ".in")), "dup\r\n<#WDIR |1|#>\r\n");
    EXPECT_EQ(FolderNames(), "dup.in");

    ServerAnswers("dup", ".in", "first reply");
    EXPECT_EQ(Finish(first).strReply, "first reply");
}

TEST_F(SocketChannelTest, AnUnownedLeftoverTemporaryIsReplaced)
{
    WriteHostFile(File("left", ".$in"), "half a request of a crashed run");
    auto peer = Start(ChannelRequest(FOLDER, "left", { "<#LOGOUT |left|#>" }));
    Finish(peer);
    EXPECT_EQ(ReadHostFile(File("left", ".in")), "left\r\n<#LOGOUT |left|#>\r\n");
    EXPECT_EQ(FolderNames(), "left.in");
}

TEST_F(SocketChannelTest, APeerThatClosesBeforeTheEndLeavesNothing)
{
    auto peer = Start("<#INIT |abcdefgh| |cut| |x|\n<#WDIR |1|#>\npartial", 0ms, RelayEnding::HalfClose);
    CChannelExchange exchange = Finish(peer);
    EXPECT_EQ(exchange.strReply, "");
    EXPECT_TRUE(m_driver.PumpUntil([&] { return FolderNames().empty(); }));
}

TEST_F(SocketChannelTest, RawUploadsCountTheBytesThatCameWithTheFirstLine)
{
    std::string strData = "raw upload \r\n\0 bytes"s;
    strData += std::string(100000, 'q');
    auto peer = Start(ChannelUploadLine(FOLDER, "up", static_cast<long long>(strData.size()), 0) + strData
        + "bytes past the count are ignored");
    ASSERT_TRUE(PumpUntilExists(File("up", ".upl")));
    EXPECT_TRUE(ReadHostFile(File("up", ".upl")) == strData);
    ServerAnswers("up", ".upl", "stored");
    EXPECT_EQ(Finish(peer).strReply, "stored");
    EXPECT_EQ(FolderNames(), "");
}

TEST_F(SocketChannelTest, ZippedUploadsAreUnpackedWithinTheirAnnouncedSize)
{
    std::mt19937 random(7);
    std::string strData(300000, '\0');
    for (char& ch : strData)
        ch = static_cast<char>(random() % 7 == 0 ? random() : 'a');
    std::string strZip = Zipped(strData, "../../escape.txt");
    auto peer = Start(
        ChannelUploadLine(FOLDER, "zip", static_cast<long long>(strData.size()), static_cast<long long>(strZip.size()))
        + strZip);
    ASSERT_TRUE(PumpUntilExists(File("zip", ".upl")));
    EXPECT_TRUE(ReadHostFile(File("zip", ".upl")) == strData);
    EXPECT_EQ(FolderNames(), "zip.upl"); // the entry's name went nowhere
    ServerAnswers("zip", ".upl", "ok");
    EXPECT_EQ(Finish(peer).strReply, "ok");

    // Ten times the announced size unpacks into a failure, not a full disk.
    std::string strBomb = Zipped(std::string(1000000, '\0'));
    auto bomb = Start(ChannelUploadLine(FOLDER, "bomb", 100000, static_cast<long long>(strBomb.size())) + strBomb);
    EXPECT_EQ(Unzipped(Finish(bomb).strReply), ErrorReply("Uploaded file corrupted!"));
    std::string strDamaged = strZip;
    strDamaged[strDamaged.size() / 2] ^= 0x55;
    auto damaged
        = Start(ChannelUploadLine(FOLDER, "dmg", 300000, static_cast<long long>(strDamaged.size())) + strDamaged);
    EXPECT_EQ(Unzipped(Finish(damaged).strReply), ErrorReply("Uploaded file corrupted!"));
    EXPECT_EQ(FolderNames(), "");
}

// A relay that resets its connection while the upload is being unpacked is
// gone: the exchange ends with its temporaries instead of waiting a minute
// for a reply nobody takes.
TEST_F(SocketChannelTest, APeerResetDuringUnpackingEndsTheExchange)
{
    const std::string strData(32 * 1024 * 1024, '\0'); // several unpacking turns
    const std::string strZip = Zipped(strData);
    CPeerSocket peer = CPeerSocket::Connect(m_nPort);
    ASSERT_TRUE(peer.Send(
        ChannelUploadLine(FOLDER, "gone", static_cast<long long>(strData.size()), static_cast<long long>(strZip.size()))
        + strZip));
    peer.Reset();
    EXPECT_TRUE(m_driver.PumpUntil([&] { return m_pListener->GetConnectionCount() == 0; }, 5000));
    EXPECT_EQ(FolderNames(), "");
}

TEST_F(SocketChannelTest, AShortUploadIsCorruptedAndLeavesNoTemporary)
{
    auto peer
        = Start(ChannelUploadLine(FOLDER, "short", 5000, 0) + std::string(4000, 's'), 0ms, RelayEnding::HalfClose);
    EXPECT_EQ(Unzipped(Finish(peer).strReply), ErrorReply("Uploaded file corrupted!"));
    EXPECT_TRUE(m_driver.PumpUntil([&] { return FolderNames().empty(); }));
}

TEST_F(SocketChannelTest, NoReplyInSixtySecondsTimesOut)
{
    auto peer = Start(ChannelRequest(FOLDER, "slow", { "<#WDIR |1|#>" }));
    ASSERT_TRUE(PumpUntilExists(File("slow", ".in")));
    m_driver.Advance(CWAClientSocket::REPLY_LIMIT - 1000);
    EXPECT_NE(peer.wait_for(100ms), std::future_status::ready);
    m_driver.Advance(2000);
    EXPECT_EQ(Unzipped(Finish(peer).strReply), ErrorReply("Time Out"));
}

TEST_F(SocketChannelTest, EndingTheListenerAnswersAWaitAndEndsTheRest)
{
    auto waiting = Start(ChannelRequest(FOLDER, "w1", { "<#WDIR |1|#>" }));
    ASSERT_TRUE(PumpUntilExists(File("w1", ".in")));
    CPeerSocket receiving = CPeerSocket::Connect(m_nPort);
    ASSERT_TRUE(receiving.Send("<#INIT |abcdefgh| |w2| |x|\n<#WDIR |2|#>\n"));
    ASSERT_TRUE(PumpUntilExists(File("w2", ".$in")));
    m_pListener.reset();
    EXPECT_EQ(Unzipped(waiting.get().strReply), ErrorReply("Communication Shut Down"));
    EXPECT_EQ(receiving.ReceiveAll(5000ms), "");
    EXPECT_FALSE(fs::exists(File("w2", ".$in")));
}

TEST_F(SocketChannelTest, ASlowPeerDoesNotHoldUpAnother)
{
    auto slow = Start(ChannelRequest(FOLDER, "snail", { "<#LOGOUT |snail|#>" }), 100ms);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return fs::exists(File("snail", ".$in")); }));
    auto start = std::chrono::steady_clock::now();
    auto fast = Start(ChannelRequest(FOLDER, "hare", { "<#LOGOUT |hare|#>" }));
    Finish(fast);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_TRUE(fs::exists(File("hare", ".in")));
    EXPECT_FALSE(fs::exists(File("snail", ".in")));
    Finish(slow);
    EXPECT_TRUE(fs::exists(File("snail", ".in")));
}

TEST_F(SocketChannelTest, ConnectionsPastTheLimitAreBusy)
{
    // Connected from another thread: the program accepts only while it pumps.
    int nPort = m_nPort;
    auto connecting = std::async(std::launch::async, [nPort] {
        std::vector<CPeerSocket> sockets;
        for (size_t i = 0; i < CWAListenSocket::MAX_CONNECTIONS; ++i)
            sockets.push_back(CPeerSocket::Connect(nPort));
        return sockets;
    });
    ASSERT_TRUE(m_driver.PumpUntil([&] {
        return m_pListener->GetConnectionCount() == CWAListenSocket::MAX_CONNECTIONS
            && connecting.wait_for(0ms) == std::future_status::ready;
    })) << m_pListener->GetConnectionCount();
    std::vector<CPeerSocket> held = connecting.get();
    auto extra = Start(ChannelRequest(FOLDER, "more", { "<#WDIR |1|#>" }));
    EXPECT_EQ(Unzipped(Finish(extra).strReply), ErrorReply("System is busy!"));
    EXPECT_TRUE(held.front().IsValid());
}
