// Download speed of DOWN2 for a generated 10 MB file: the request token runs
// through the command factory and a session, and the bytes go through the zip
// writer of the reply. `zip -q` of the same file in the same run is the floor
// to compare with. Both report bytes of the source file per second of wall
// time, as the zip program runs in a child process. Requests per second of
// WDIR on a group of 10 000 documents, the page written into the zipped reply.

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/support/ScratchFolder.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"
#include "webaccess/profiles/CWASettings.h"
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
constexpr int GROUP_DOCUMENTS = 10000;

// The generated file, the catalog and a session that may download, made
// once per run in a temporary folder (also the program folder) and removed
// at exit.
struct CBenchSetup {
    ScratchFolder folder { "webbench-" };
    std::filesystem::path file;
    std::string strToken;
    std::string strWdirToken;
    std::string strReply;
    std::unique_ptr<CCatalog> pCatalog;
    CWASettings settings;
    std::unique_ptr<CWASession> pSession;

    CBenchSetup()
    {
        if (!folder.IsValid())
            std::abort();
        ::setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
        file = folder.Path() / "data.bin";
        // Text-like bytes from a small alphabet: they compress, but not to nothing.
        std::string strData(BENCH_BYTES, '\0');
        uint32_t nSeed = 12345;
        for (char& ch : strData) {
            nSeed = nSeed * 1103515245u + 12345u;
            ch = static_cast<char>('a' + (nSeed >> 16) % 26);
        }
        std::ofstream(file, std::ios::binary) << strData;
        strToken = "<#DOWN2 |" + ProgramPathFromHostPath(file.string()) + "|#>";
        strReply = ProgramPathFromHostPath((folder.Path() / "reply.out").string());
        const std::string strCatalog = ProgramPathFromHostPath((folder.Path() / "archiv.cat").string());
        if (!CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE))
            std::abort();
        pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
        if (!pCatalog->Acquire())
            std::abort();
        SetWebCatalog(pCatalog.get());
        FillGroup();
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("bench", "pw", "");
        pProfile->SetPermissions(TRUE, FALSE, 1);
        CWAGroupRightsMap rights;
        rights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
        pProfile->SetGroupRights(rights);
        settings.m_profiles.push_back(std::move(pProfile));
        const auto pLogin = CreateWebCommand("<#LOGIN |1| |bench| |pw| |x|#>");
        pSession = std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), settings, *pCatalog);
    }
    ~CBenchSetup()
    {
        pSession.reset();
        SetWebCatalog(nullptr);
        static_cast<void>(pCatalog->Release());
        pCatalog.reset();
    }

    // One group holding GROUP_DOCUMENTS small files, each its own document.
    void FillGroup()
    {
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog.get()));
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::snprintf(info.szName, sizeof(info.szName), "%s", "Bench");
        info.nKind = 2;
        const std::unique_ptr<CNodeRec> pGroup(pRoot->FindOrAddChild(info));
        if (pGroup == nullptr)
            std::abort();
        const std::filesystem::path documents = folder.Path() / "docs";
        std::filesystem::create_directory(documents);
        for (int i = 0; i < GROUP_DOCUMENTS; ++i) {
            const std::filesystem::path path = documents / ("doc" + std::to_string(i) + ".txt");
            std::ofstream(path) << i;
            const std::unique_ptr<CDocumentRec> pDocument(
                pCatalog->FindOrAddPath(pGroup.get(), ProgramPathFromHostPath(path.string()).c_str()));
            if (pDocument == nullptr)
                std::abort();
        }
        strWdirToken = static_cast<LPCTSTR>(
            FormatWdirToken(static_cast<int>(pGroup->GetBlock()), static_cast<int>(pGroup->GetSlot())));
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
    const std::filesystem::path archive = setup.folder.Path() / "floor.zip";
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

// WDIR of the group with GROUP_DOCUMENTS documents, through the factory and
// the session into the zipped reply.
void BM_WdirLargeGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    for (auto _ : state) {
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(setup.strWdirToken.c_str());
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
