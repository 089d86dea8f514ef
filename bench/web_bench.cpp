// Download speed of DOWN2 for a generated 10 MB file: the request token runs
// through the command factory and a session, and the bytes go through the zip
// writer of the reply. `zip -q` of the same file in the same run is the floor
// to compare with. Both report bytes of the source file per second of wall
// time, as the zip program runs in a child process.

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr size_t BENCH_BYTES = 10u * 1024 * 1024;

// The generated file, the catalog and a session that may download, made
// once per run in a temporary folder (also the program folder) and removed
// at exit.
struct CBenchSetup {
    std::filesystem::path folder;
    std::filesystem::path file;
    std::string strToken;
    std::string strReply;
    std::unique_ptr<CCatalog> pCatalog;
    CWASettings settings;
    std::unique_ptr<CWASession> pSession;

    CBenchSetup()
    {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "webbench-XXXXXX").string();
        if (::mkdtemp(strTemplate.data()) == nullptr)
            std::abort();
        folder = strTemplate;
        ::setenv("ARCHIVORA_HOME", folder.c_str(), 1);
        file = folder / "data.bin";
        // Text-like bytes from a small alphabet: they compress, but not to nothing.
        std::string strData(BENCH_BYTES, '\0');
        uint32_t nSeed = 12345;
        for (char& ch : strData) {
            nSeed = nSeed * 1103515245u + 12345u;
            ch = static_cast<char>('a' + (nSeed >> 16) % 26);
        }
        std::ofstream(file, std::ios::binary) << strData;
        strToken = "<#DOWN2 |" + ProgramPathFromHostPath(file.string()) + "|#>";
        strReply = ProgramPathFromHostPath((folder / "reply.out").string());
        pCatalog = std::make_unique<CCatalog>(ProgramPathFromHostPath((folder / "archiv.cat").string()).c_str(), 1);
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("bench", "pw", "");
        pProfile->SetPermissions(TRUE, FALSE, 1);
        settings.m_profiles.push_back(std::move(pProfile));
        const auto pLogin = CreateWebCommand("<#LOGIN |1| |bench| |pw| |x|#>");
        pSession = std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), settings, *pCatalog);
    }
    ~CBenchSetup()
    {
        pSession.reset();
        pCatalog.reset();
        std::error_code error;
        std::filesystem::remove_all(folder, error);
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
    const std::filesystem::path archive = setup.folder / "floor.zip";
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

} // namespace
