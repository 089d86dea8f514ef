// Requests per second of the web access server by way of each transport, on
// the real clock, each against its reference in the same run, with one peer
// and with 32:
//
// - in process: the token through CreateWebCommand and a session's RunCommand
//   into a zip reply file, read back (no transport at all);
// - request folder: peers write <ID>.in through a temporary name and poll
//   <ID>.out every millisecond, as a relay on the LAN does;
// - socket channel: one connection per request, as the relay sends it.
//
// The server runs on the main thread's message loop with a 10 ms scan, each
// peer in a thread of its own with its own ID and session. Figures:
// WDIR of a 10 000-document group with one peer (goal: the channel at least
// 0.8 of the in-process rate) and ATTR of a 1 KB file with 32 peers (goal:
// the channel at least 0.8 of the request folder's rate; in process printed
// as the floor). A 50 MB zip upload (mixed text and random bytes) through the
// channel, from the first byte sent until the server's reply after storing
// it, against `unzip -q -o` of the same zip into a scratch folder with the
// process start (goal: at most 1.5 times).
//
// With the scan at its default interval (1000 ms): the ATTR requests a second
// of one relay through the request folder (goal: at least 50, as the folder
// watch answers a request when it comes). A 100 MB DOWN2 as a plain file
// through the channel: its MB/s beside `cat` of the same file into a loopback
// socket, and the longest the message loop was held while serving it (goal:
// under 50 ms).
//
// Prints "name: value" lines: rates are the median of the runs, ratios the
// median of the runs' own ratios, each goal with whether it is met.

#include "bench/BenchTiming.h"
#include "bench/WebBenchCatalog.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/ZipReader.h"
#include "platform/base/ZipWriter.h"
#include "platform/net/AsyncSocket.h"
#include "platform/window/MessageQueue.h"
#include "store/CPreferences.h"
#include "store/FileHelpers.h"
#include "tests/support/ThreadTime.h"
#include "tests/webaccess/server/SilentServicePrompts.h"
#include "tools/testpeers/ChannelRelay.h"
#include "tools/testpeers/FolderRelay.h"
#include "tools/testpeers/PeerSocket.h"
#include "tools/testpeers/RelaySession.h"
#include "webaccess/directory/CWAHttpQuery.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/server/CWAConnection.h"
#include "webaccess/server/CWAServer.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char CATALOG_CODE[] = "BENCH1"; // the communication folder BEN.CH1
constexpr int RUNS = 3;
constexpr int MANY_PEERS = 32;
constexpr size_t UPLOAD_BYTES = 50u * 1024 * 1024;
constexpr size_t DOWN2_BYTES = 100u * 1024 * 1024;

void Print(const char* pszName, double value)
{
    std::printf("%s: %.1f\n", pszName, value);
    std::fflush(stdout);
}

void PrintGoal(const char* pszName, double value, const char* pszRelation, double dGoal)
{
    const bool bMet = pszRelation[0] == '>' ? value >= dGoal : value <= dGoal;
    std::printf("%s: %.3f (goal %s %.1f: %s)\n", pszName, value, pszRelation, dGoal, bMet ? "met" : "missed");
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& strWhat)
{
    std::fprintf(stderr, "web_server_bench: %s\n", strWhat.c_str());
    std::exit(1);
}

// Runs the thread's messages until done() holds.
void RunLoopUntil(const std::function<bool()>& done)
{
    while (!done()) {
        PumpUntilIdle();
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// The longest one message (or a look at the queue) held the loop, in ms:
// on the wall clock, and in the thread's own processor time, which other
// programs on a busy machine do not lengthen.
struct CStall {
    double dWallMs { 0 };
    double dThreadMs { 0 };
};

// Runs the thread's messages one at a time until done() holds.
CStall RunLoopTimedUntil(const std::function<bool()>& done)
{
    CStall longest;
    while (!done()) {
        const auto start = std::chrono::steady_clock::now();
        const double dThreadStart = ThreadMilliseconds();
        MSG msg;
        const BOOL bTaken = PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        if (bTaken) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        longest.dWallMs = std::max(longest.dWallMs,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        longest.dThreadMs = std::max(longest.dThreadMs, ThreadMilliseconds() - dThreadStart);
        if (!bTaken)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return longest;
}

// Runs exchange() in a peer thread while the server runs on this one.
template<typename F> auto BesidePeer(F&& exchange)
{
    std::atomic<bool> bDone { false };
    decltype(exchange()) result {};
    std::thread peer([&] {
        result = exchange();
        bDone = true;
    });
    RunLoopUntil([&] { return bDone.load(); });
    peer.join();
    return result;
}

// Milliseconds for `cat` to copy the file into a loopback socket that a
// thread reads to its end.
double CatIntoSocketMilliseconds(const fs::path& file)
{
    CPeerListener listener;
    const int nPort = listener.Port();
    std::atomic<size_t> nReceived { 0 };
    double dMs = Milliseconds([&] {
        std::thread reader([&] {
            CPeerSocket connection = listener.Accept(120s);
            nReceived = connection.ReceiveAll(120s).size();
        });
        // The shell's /dev/tcp is bash's; the sending end is cat's own stdout.
        const std::string strCommand
            = "bash -c 'cat \"" + file.string() + "\" > /dev/tcp/127.0.0.1/" + std::to_string(nPort) + "'";
        if (std::system(strCommand.c_str()) != 0)
            Fail("cat into a socket failed");
        reader.join();
    });
    if (nReceived != fs::file_size(file))
        Fail("cat sent less than the file");
    return dMs;
}

std::string PeerId(int nPeer)
{
    return "p" + std::to_string(nPeer);
}

// A zip reply as both transports send it.
bool IsReply(const std::string& strReply)
{
    return strReply.size() > 4 && strReply.compare(0, 2, "PK") == 0;
}

class CServerBench {
public:
    CServerBench()
    {
        CWASettings& settings = m_data.Settings();
        settings.m_strCatCode = CATALOG_CODE;
        settings.m_strCommFolder = BuildCommFolderPath(GetProgramFolder(), CATALOG_CODE);
        settings.m_nReqTime = 10;
        settings.m_nPingTime = 24 * 3600 * 1000; // no ping while the bench runs
        settings.m_nWarnConn = 0;
        settings.m_nConnType = WA_CONN_CABLE;
        thePreferences.AttachWebSettings(&settings);
        if (!CreateFolderPath(settings.m_strCommFolder))
            Fail("no communication folder");
        std::string strHost;
        if (!HostPathFromProgramPath(settings.m_strCommFolder, strHost))
            Fail("no communication folder");
        m_commFolder = strHost;

        m_smallFile = m_data.Folder() / "small.txt";
        std::ofstream(m_smallFile, std::ios::binary) << std::string(1024, 'a');
        m_strAttrToken = "<#ATTR |" + ProgramPathFromHostPath(m_smallFile.string()) + "|#>";

        if (!AfxSocketInit())
            Fail("no socket window");
        m_pServer = std::make_unique<CWAServer>(settings, m_prompts);
        if (!m_pServer->Init())
            Fail("the server's window cannot be made");
        m_nPort = m_pServer->GetConnection()->CreateSocket(WA_CONN_CABLE, "");
        if (m_nPort <= 0)
            Fail("no listening socket");
        m_pServer->StartScan();

        const auto pLogin = CreateWebCommand("<#LOGIN |0| |bench| |pw| |x|#>");
        m_pSession = std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), settings, m_data.Catalog());
        m_replyFile = m_data.Folder() / "inprocess.out";
        m_strReplyPath = ProgramPathFromHostPath(m_replyFile.string());
        for (int nPeer = 1; nPeer <= MANY_PEERS; ++nPeer)
            LogIn(PeerId(nPeer));
    }
    ~CServerBench()
    {
        m_pSession.reset();
        m_pServer->StopScan();
        m_pServer.reset();
        thePreferences.AttachWebSettings(nullptr);
    }

    const std::string& WdirToken() const { return m_data.WdirToken(); }
    const std::string& AttrToken() const { return m_strAttrToken; }

    // Requests per second in process, nCount requests one after another.
    double InProcessRate(const std::string& strToken, int nCount)
    {
        const double dMs = Milliseconds([&] {
            for (int i = 0; i < nCount; ++i) {
                std::unique_ptr<CWACommand> pCommand = CreateWebCommand(strToken.c_str());
                CWAOutputFile reply;
                if (!reply.Open(m_strReplyPath.c_str(), TRUE) || !m_pSession->RunCommand(pCommand, reply))
                    Fail("in process: the command failed");
                reply.Close();
                std::ifstream file(m_replyFile, std::ios::binary);
                const std::string strReply((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
                if (!IsReply(strReply))
                    Fail("in process: no reply");
                // Taken away as a relay takes its reply: a file cut short and
                // written again is flushed to the disk on its close.
                file.close();
                std::filesystem::remove(m_replyFile);
            }
        });
        return nCount * 1000.0 / dMs;
    }

    // Requests per second through the request folder, nPeers peers each
    // sending nEach requests.
    double FolderRate(const std::string& strToken, int nPeers, int nEach)
    {
        return PeerRate(nPeers, nEach, [&](const std::string& strId) {
            const std::optional<std::string> reply = RunFolderExchange(m_commFolder, strId, strToken, m_keys.at(strId));
            return reply && IsReply(*reply);
        });
    }

    // The same through the socket channel, one connection per request.
    double ChannelRate(const std::string& strToken, int nPeers, int nEach)
    {
        return PeerRate(nPeers, nEach, [&](const std::string& strId) {
            const CChannelExchange exchange
                = RunChannelExchange(m_nPort, ChannelRequest(CATALOG_CODE, strId, { strToken }, m_keys.at(strId)));
            return exchange.bSent && IsReply(exchange.strReply);
        });
    }

    // A 100 MB DOWN2 as a plain file through the channel: the ms from the
    // request's first byte until the reply's last, and the longest the
    // message loop was held meanwhile.
    std::pair<double, CStall> Down2Milliseconds(const fs::path& file)
    {
        const std::string strId = PeerId(1);
        const std::string strToken = "<#DOWN2 |" + ProgramPathFromHostPath(file.string()) + "| |0| |0|#>";
        std::atomic<bool> bDone { false };
        CChannelExchange exchange;
        CStall longest;
        const double dMs = Milliseconds([&] {
            std::thread peer([&] {
                exchange
                    = RunChannelExchange(m_nPort, ChannelRequest(CATALOG_CODE, strId, { strToken }, m_keys.at(strId)),
                        0ms, RelayEnding::KeepOpen, 120s);
                bDone = true;
            });
            longest = RunLoopTimedUntil([&] { return bDone.load(); });
            peer.join();
        });
        if (exchange.strReply.size() < fs::file_size(file))
            Fail("the download came short");
        return { dMs, longest };
    }

    // Requests a second of one relay through the request folder while the
    // scan runs at its default interval.
    double OneRelayDefaultIntervalRate(const std::string& strToken, int nCount)
    {
        CWASettings& settings = m_data.Settings();
        const int nReqTime = settings.m_nReqTime;
        settings.m_nReqTime = 1000;
        const double dRate = FolderRate(strToken, 1, nCount);
        settings.m_nReqTime = nReqTime;
        return dRate;
    }

    // Milliseconds from the first byte of the upload until the server's reply
    // after storing it: an UPL request announces it, the zip follows through
    // the channel.
    double UploadMilliseconds(const fs::path& zip, uintmax_t nRawSize)
    {
        const std::string strId = PeerId(1);
        const std::string strName = "upload.bin";
        std::error_code ec;
        fs::remove(m_data.UploadFolder() / strName, ec);
        const std::optional<std::string> announced = BesidePeer([&] {
            return RunFolderExchange(
                m_commFolder, strId, "<#UPL |" + strName + "| |" + std::to_string(nRawSize) + "|#>", m_keys.at(strId));
        });
        if (!announced || !IsReply(*announced))
            Fail("the upload was not announced");
        std::ifstream file(zip, std::ios::binary);
        const std::string strZip((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::string strBytes = ChannelUploadLine(CATALOG_CODE, strId, static_cast<long long>(nRawSize),
                                         static_cast<long long>(strZip.size()))
            + strZip;
        CChannelExchange exchange;
        const double dMs = Milliseconds([&] {
            BesidePeer([&] {
                exchange = RunChannelExchange(m_nPort, strBytes, 0ms, RelayEnding::KeepOpen, 120s);
                return true;
            });
        });
        if (!IsReply(exchange.strReply) || fs::file_size(m_data.UploadFolder() / strName, ec) != nRawSize)
            Fail("the upload was not stored");
        return dMs;
    }

private:
    void LogIn(const std::string& strId)
    {
        const std::optional<std::string> reply = BesidePeer(
            [&] { return RunFolderExchange(m_commFolder, strId, "<#LOGIN |" + strId + "| |bench| |pw| |x|#>"); });
        if (!reply || !IsReply(*reply))
            Fail("no login for " + strId);
        // The relay's part: the key the login hands out goes with each later request.
        const fs::path scratch = m_data.Folder() / "login.zip";
        std::ofstream(scratch, std::ios::binary) << *reply;
        CZipReader zip;
        std::string strText;
        char buffer[4096];
        int nRead = 0;
        if (zip.OpenFirstEntry(ProgramPathFromHostPath(scratch.string()).c_str()))
            while ((nRead = zip.Read(buffer, sizeof buffer)) > 0)
                strText.append(buffer, static_cast<size_t>(nRead));
        fs::remove(scratch);
        m_keys[strId] = SessionKeyOf(strText);
        if (m_keys[strId].empty())
            Fail("no session key for " + strId);
    }

    double PeerRate(int nPeers, int nEach, const std::function<bool(const std::string&)>& exchange)
    {
        std::atomic<int> nFinished { 0 };
        std::atomic<bool> bFailed { false };
        std::vector<std::thread> peers;
        const double dMs = Milliseconds([&] {
            for (int nPeer = 1; nPeer <= nPeers; ++nPeer) {
                peers.emplace_back([&, strId = PeerId(nPeer)] {
                    for (int i = 0; i < nEach && !bFailed; ++i)
                        if (!exchange(strId))
                            bFailed = true;
                    ++nFinished;
                });
            }
            RunLoopUntil([&] { return nFinished == nPeers; });
        });
        for (std::thread& peer : peers)
            peer.join();
        if (bFailed)
            Fail("a peer got no reply");
        return nPeers * nEach * 1000.0 / dMs;
    }

    CWebBenchCatalog m_data;
    CSilentServicePrompts m_prompts;
    fs::path m_commFolder;
    fs::path m_smallFile;
    std::string m_strAttrToken;
    std::unique_ptr<CWAServer> m_pServer;
    int m_nPort { -1 };
    std::unique_ptr<CWASession> m_pSession;
    std::map<std::string, std::string> m_keys; // each peer's session key, written before the peers start
    fs::path m_replyFile;
    std::string m_strReplyPath;
};

// 50 MB of text lines and random runs in turn, zipped at the default level.
fs::path MakeUploadZip(const fs::path& folder)
{
    std::string strData;
    strData.reserve(UPLOAD_BYTES);
    std::mt19937 random(42);
    const std::string strLine = "The quick brown fox jumps over the lazy dog while the archive grows.\n";
    while (strData.size() < UPLOAD_BYTES) {
        for (int i = 0; i < 64 && strData.size() < UPLOAD_BYTES; ++i)
            strData += strLine;
        for (int i = 0; i < 4096 && strData.size() < UPLOAD_BYTES; ++i)
            strData += static_cast<char>(random() & 0xFF);
    }
    strData.resize(UPLOAD_BYTES);
    fs::path zip = folder / "upload.zip";
    CZipWriter writer;
    if (!writer.Create(ProgramPathFromHostPath(zip.string()).c_str(), "upload.bin", 0)
        || !writer.Write(strData.data(), static_cast<UINT>(strData.size())))
        Fail("the upload cannot be zipped");
    writer.Close();
    return zip;
}

double UnzipMilliseconds(const fs::path& zip, const fs::path& target)
{
    std::error_code ec;
    fs::remove_all(target, ec);
    fs::create_directory(target);
    const std::string strCommand = "unzip -q -o '" + zip.string() + "' -d '" + target.string() + "'";
    double dMs = Milliseconds([&] {
        if (std::system(strCommand.c_str()) != 0)
            Fail("unzip failed (is the unzip package installed?)");
    });
    fs::remove_all(target, ec);
    return dMs;
}

// The three rates of one token for nPeers peers, each peer sending nEach
// requests (in process: all of them one after another), and the ratio of a
// goal: the channel against in process (bAgainstFolder false) or against the
// request folder.
struct CRates {
    double dInProcess, dFolder, dChannel, dRatio;
};
CRates MeasureRates(CServerBench& bench, const std::string& strToken, int nPeers, int nEach, bool bAgainstFolder)
{
    std::vector<double> inProcess, channel, folder;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        inProcess.push_back(bench.InProcessRate(strToken, nPeers * nEach));
        folder.push_back(bench.FolderRate(strToken, nPeers, nEach));
        channel.push_back(bench.ChannelRate(strToken, nPeers, nEach));
    }
    return { Median(inProcess), Median(folder), Median(channel),
        MedianRatio(channel, bAgainstFolder ? folder : inProcess) };
}

void PrintRates(const std::string& strName, const CRates& rates)
{
    Print((strName + "_in_process_per_s").c_str(), rates.dInProcess);
    Print((strName + "_request_folder_per_s").c_str(), rates.dFolder);
    Print((strName + "_channel_per_s").c_str(), rates.dChannel);
}

void MeasureWdir(CServerBench& bench)
{
    const CRates one = MeasureRates(bench, bench.WdirToken(), 1, 20, false);
    PrintRates("wdir_1_peer", one);
    PrintGoal("wdir_1_peer_channel_to_in_process", one.dRatio, ">=", 0.8);
    PrintRates("wdir_32_peers", MeasureRates(bench, bench.WdirToken(), MANY_PEERS, 1, true));
}

void MeasureAttr(CServerBench& bench)
{
    PrintRates("attr_1_peer", MeasureRates(bench, bench.AttrToken(), 1, 200, true));
    const CRates many = MeasureRates(bench, bench.AttrToken(), MANY_PEERS, 20, true);
    PrintRates("attr_32_peers", many);
    PrintGoal("attr_32_peers_channel_to_request_folder", many.dRatio, ">=", 0.8);
}

void MeasureDefaultInterval(CServerBench& bench)
{
    std::vector<double> rates;
    for (int nRun = 0; nRun < RUNS; ++nRun)
        rates.push_back(bench.OneRelayDefaultIntervalRate(bench.AttrToken(), 100));
    PrintGoal("attr_1_relay_default_interval_per_s", Median(rates), ">=", 50);
}

void MeasureDown2(CServerBench& bench, const fs::path& folder)
{
    const fs::path file = folder / "down2.bin";
    {
        std::ofstream out(file, std::ios::binary);
        std::mt19937 random(7);
        std::string strBlock(1024 * 1024, '\0');
        for (size_t n = 0; n < DOWN2_BYTES; n += strBlock.size()) {
            for (char& ch : strBlock)
                ch = static_cast<char>(random() & 0xFF);
            out << strBlock;
        }
    }
    std::vector<double> down2, cat, wallStalls, threadStalls;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        const auto [dMs, longest] = bench.Down2Milliseconds(file);
        down2.push_back(dMs);
        wallStalls.push_back(longest.dWallMs);
        threadStalls.push_back(longest.dThreadMs);
        cat.push_back(CatIntoSocketMilliseconds(file));
    }
    const double dMb = DOWN2_BYTES / 1048576.0;
    Print("down2_100mb_channel_mb_per_s", dMb * 1000.0 / Median(down2));
    Print("down2_100mb_cat_into_socket_mb_per_s", dMb * 1000.0 / Median(cat));
    Print("down2_100mb_channel_ms_to_cat_ms", MedianRatio(down2, cat));
    PrintGoal("down2_100mb_longest_ui_stall_ms", *std::max_element(wallStalls.begin(), wallStalls.end()), "<=", 50);
    PrintGoal("down2_100mb_longest_ui_stall_thread_ms", *std::max_element(threadStalls.begin(), threadStalls.end()),
        "<=", 50);
}

void MeasureUpload(CServerBench& bench, const fs::path& folder)
{
    const fs::path zip = MakeUploadZip(folder);
    std::vector<double> channel, unzip;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        channel.push_back(bench.UploadMilliseconds(zip, UPLOAD_BYTES));
        unzip.push_back(UnzipMilliseconds(zip, folder / "unzipped"));
    }
    Print("upload_50mb_channel_ms", Median(channel));
    Print("upload_50mb_unzip_ms", Median(unzip));
    Print("upload_50mb_channel_mb_per_s", UPLOAD_BYTES / 1048576.0 * 1000.0 / Median(channel));
    PrintGoal("upload_50mb_channel_to_unzip", MedianRatio(channel, unzip), "<=", 1.5);
}

} // namespace

int main(int argc, char** argv)
{
    const HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(WEB_SERVER_BENCH_MODULE).c_str());
    if (!hModule)
        Fail("no resource module at " WEB_SERVER_BENCH_MODULE);
    AfxSetResourceHandle(hModule);
    const std::string strOnly = argc > 1 ? argv[1] : "";
    {
        CServerBench bench;
        if (strOnly.empty() || strOnly == "wdir")
            MeasureWdir(bench);
        if (strOnly.empty() || strOnly == "attr")
            MeasureAttr(bench);
        if (strOnly.empty() || strOnly == "relay")
            MeasureDefaultInterval(bench);
        if (strOnly.empty() || strOnly == "down2") {
            ScratchFolder folder("webdown2-");
            MeasureDown2(bench, folder.Path());
        }
        if (strOnly.empty() || strOnly == "upload") {
            ScratchFolder folder("webupload-");
            MeasureUpload(bench, folder.Path());
        }
    }
    FreeLibrary(hModule);
    return 0;
}
