// Download speed of DOWN2 for a generated 10 MB file: the request token runs
// through the command factory and a session, and the bytes go through the zip
// writer of the reply. `zip -q` of the same file in the same run is the floor
// to compare with. Both report bytes of the source file per second of wall
// time, as the zip program runs in a child process. Requests per second of
// WDIR on a group of 10 000 documents, the page written into the zipped reply.

#include "bench/WebBenchCatalog.h"
#include "platform/base/PathMap.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr size_t BENCH_BYTES = 10u * 1024 * 1024;

// The catalog, the generated file and a session that may download, made once
// per run and removed at exit.
struct CBenchSetup {
    CWebBenchCatalog data;
    std::filesystem::path file;
    std::string strToken;
    std::string strReply;
    std::unique_ptr<CWASession> pSession;

    CBenchSetup()
    {
        file = data.Folder() / "data.bin";
        // Text-like bytes from a small alphabet: they compress, but not to nothing.
        std::string strData(BENCH_BYTES, '\0');
        uint32_t nSeed = 12345;
        for (char& ch : strData) {
            nSeed = nSeed * 1103515245u + 12345u;
            ch = static_cast<char>('a' + (nSeed >> 16) % 26);
        }
        std::ofstream(file, std::ios::binary) << strData;
        strToken = "<#DOWN2 |" + ProgramPathFromHostPath(file.string()) + "|#>";
        strReply = ProgramPathFromHostPath((data.Folder() / "reply.out").string());
        const auto pLogin = CreateWebCommand("<#LOGIN |1| |bench| |pw| |x|#>");
        pSession = std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), data.Settings(), data.Catalog());
    }
};

CBenchSetup& Setup()
{
    static CBenchSetup setup;
    return setup;
}

void BM_Down2ThroughZip(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    for (auto _ : state) {
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(setup.strToken.c_str());
        CWAOutputFile reply;
        if (!reply.Open(setup.strReply.c_str(), TRUE) || !setup.pSession->RunCommand(pCommand, reply)) {
            state.SkipWithError("DOWN2 failed");
            break;
        }
        reply.Close();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(BENCH_BYTES));
}
BENCHMARK(BM_Down2ThroughZip)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the zip program compressing the same file at its default level.
void BM_ZipProgramFloor(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    const std::filesystem::path archive = setup.data.Folder() / "floor.zip";
    const std::string strCommand = "zip -q -j '" + archive.string() + "' '" + setup.file.string() + "'";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(archive);
        state.ResumeTiming();
        if (std::system(strCommand.c_str()) != 0) {
            state.SkipWithError("zip failed (is the zip package installed?)");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(BENCH_BYTES));
}
BENCHMARK(BM_ZipProgramFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// WDIR of the group of 10 000 documents, through the factory and
// the session into the zipped reply.
void BM_WdirLargeGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    for (auto _ : state) {
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(setup.data.WdirToken().c_str());
        CWAOutputFile reply;
        if (!reply.Open(setup.strReply.c_str(), TRUE) || !setup.pSession->RunCommand(pCommand, reply)) {
            state.SkipWithError("WDIR failed");
            break;
        }
        reply.Close();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_WdirLargeGroup)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
