// Reading speed of the mbox reader over a generated 200 MB folder of 50 000
// messages: the new-mail walk (ReadNext), the walk with subject, sender and date
// extraction, and the content-search read path (Open/Seek/Read in 1024-byte
// steps). `grep -c '^From '` over the same file is the floor to compare with:
// each reading benchmark prints its time as a multiple of grep's in the same
// run ("x_grep"), when grep ran before it.

#include "mail/CNetscapeMessage.h"
#include "mail/MailResult.h"
#include "platform/base/PathMap.h"
#include "tests/support/ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int BENCH_MESSAGES = 50000;
constexpr size_t BENCH_BYTES = 200u * 1024 * 1024;

// The generated folder, made once per run in a temporary folder and removed at exit.
struct CBenchStore {
    ScratchFolder folder { "mailbench-" };
    std::filesystem::path file;
    std::string strProgramPath;
    size_t nBytes { 0 };
    std::vector<std::pair<DWORD, DWORD>> messages; // Offset and length of each

    CBenchStore()
    {
        if (!folder.IsValid())
            std::abort();
        file = folder.Path() / "Inbox";
        std::ofstream out(file, std::ios::binary);
        const size_t nBodyBytes = BENCH_BYTES / BENCH_MESSAGES - 400;
        std::string strLine = "The quick brown fox jumps over the lazy dog, again and again and again.\n";
        for (int i = 0; i < BENCH_MESSAGES; ++i) {
            std::string strMessage = "From - Mon Jan  2 15:04:05 2006\nX-Mozilla-Status: 0001\nFrom: Sender "
                + std::to_string(i) + " <s" + std::to_string(i)
                + "@example.com>\nTo: r@example.com\nSubject: =?UTF-8?Q?"
                  "Message_number_"
                + std::to_string(i)
                + "?=\nDate: Mon, 2 Jan 2006 15:04:05 +0000\n"
                  "Content-Type: text/plain; charset=utf-8\n\n";
            for (size_t nBody = 0; nBody < nBodyBytes; nBody += strLine.size())
                strMessage += strLine;
            out << strMessage;
            nBytes += strMessage.size();
        }
        out.close();
        strProgramPath = ProgramPathFromHostPath(file.string());
        CNetscapeMessage reader;
        DWORD dwPosition = 0;
        while (reader.ReadNext(strProgramPath.c_str(), dwPosition, MAIL_MAX_PATH) == MAIL_OK) {
            messages.emplace_back(reader.GetOffset(), reader.GetLength());
            dwPosition = reader.GetPosition();
        }
    }
};

CBenchStore& Store()
{
    static CBenchStore store;
    return store;
}

// Seconds per pass of `grep -c '^From '`, measured by the first benchmark.
double g_grepSeconds = 0;

// Times the passes of a benchmark's loop body.
class CPassTimer {
public:
    CPassTimer()
        : m_start(std::chrono::steady_clock::now())
    {
    }
    double SecondsPerPass(const benchmark::State& state) const
    {
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_start;
        return elapsed.count() / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

void SetGrepRatio(benchmark::State& state, const CPassTimer& timer)
{
    if (g_grepSeconds > 0)
        state.counters["x_grep"] = timer.SecondsPerPass(state) / g_grepSeconds;
}

void SetRates(benchmark::State& state, size_t nMessages, size_t nBytes)
{
    state.counters["messages_per_s"] = benchmark::Counter(static_cast<double>(nMessages), benchmark::Counter::kIsRate);
    state.counters["MB_per_s"]
        = benchmark::Counter(static_cast<double>(nBytes) / (1024 * 1024), benchmark::Counter::kIsRate);
}

void BM_ReadNext(benchmark::State& state)
{
    CBenchStore& store = Store();
    size_t nMessages = 0;
    CPassTimer timer;
    for (auto _ : state) {
        CNetscapeMessage reader;
        DWORD dwPosition = 0;
        while (reader.ReadNext(store.strProgramPath.c_str(), dwPosition, MAIL_MAX_PATH) == MAIL_OK) {
            dwPosition = reader.GetPosition();
            ++nMessages;
        }
    }
    SetGrepRatio(state, timer);
    SetRates(state, nMessages, store.nBytes * state.iterations());
}

void BM_ReadNextWithFields(benchmark::State& state)
{
    CBenchStore& store = Store();
    size_t nMessages = 0;
    CPassTimer timer;
    for (auto _ : state) {
        CNetscapeMessage reader;
        DWORD dwPosition = 0;
        char szSender[MAIL_MAX_PATH];
        while (reader.ReadNext(store.strProgramPath.c_str(), dwPosition, MAIL_MAX_PATH) == MAIL_OK) {
            benchmark::DoNotOptimize(reader.GetSubject());
            reader.GetExtraField(szSender);
            benchmark::DoNotOptimize(reader.GetDate());
            dwPosition = reader.GetPosition();
            ++nMessages;
        }
    }
    SetGrepRatio(state, timer);
    SetRates(state, nMessages, store.nBytes * state.iterations());
}

void BM_ContentSearchRead(benchmark::State& state)
{
    CBenchStore& store = Store();
    size_t nMessages = 0;
    char buffer[1024];
    CPassTimer timer;
    for (auto _ : state) {
        for (const auto& [dwOffset, dwLength] : store.messages) {
            CNetscapeMessage reader;
            if (reader.Open(store.strProgramPath.c_str()) != MAIL_OK || reader.Seek(dwOffset) != MAIL_OK)
                state.SkipWithError("cannot read the store");
            for (DWORD dwDone = 0; dwDone < dwLength;) {
                int n = reader.Read(buffer, static_cast<int>(std::min<DWORD>(sizeof(buffer), dwLength - dwDone)));
                if (n <= 0)
                    break;
                dwDone += static_cast<DWORD>(n);
            }
            reader.Close();
            ++nMessages;
        }
    }
    SetGrepRatio(state, timer);
    SetRates(state, nMessages, store.nBytes * state.iterations());
}

void BM_GrepFloor(benchmark::State& state)
{
    CBenchStore& store = Store();
    // The count goes to a file: grep stops at the first match when it writes to /dev/null.
    std::string strCommand
        = "grep -c '^From ' '" + store.file.string() + "' >'" + (store.folder.Path() / "count").string() + "'";
    CPassTimer timer;
    for (auto _ : state) {
        if (std::system(strCommand.c_str()) != 0)
            state.SkipWithError("grep failed");
    }
    g_grepSeconds = timer.SecondsPerPass(state);
    SetRates(state, store.messages.size() * state.iterations(), store.nBytes * state.iterations());
}

} // namespace

BENCHMARK(BM_GrepFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReadNext)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReadNextWithFields)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ContentSearchRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
