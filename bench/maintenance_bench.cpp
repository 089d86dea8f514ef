// Figures for the catalog's maintenance on the catalog of the store benchmark
// (100 000 documents in 2 000 directories under 500 groups, and an empty
// recycle-bin catalog): the time to make a backup generation (copies of both
// files, flushed and checked), to restore it, and to rebuild both catalogs
// into fresh files that replace them. Prints "name: value" lines.
// The files live in a temporary folder that is removed at the end.

#include "bench/BenchCatalogData.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CCatalogFiles.h"
#include "store/CatalogCompaction.h"
#include "tests/support/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using namespace bench;

namespace {

long long FileBytes(const std::string& strHostPath)
{
    std::error_code ec;
    auto nBytes = std::filesystem::file_size(strHostPath, ec);
    return ec ? -1 : static_cast<long long>(nBytes);
}

// Builds the catalog in folder, then times each step, stopping at the first
// that fails.
void Run(const std::filesystem::path& folder)
{
    const std::string strCatalogHost = (folder / "archiv.cat").string();
    const CString strCatalog = ProgramPathFromHostPath(strCatalogHost).c_str();
    const CString strRecycle = ProgramPathFromHostPath((folder / "winrec.cat").string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE) || !CCatalog::CreateFile(TRUE, strRecycle, BLOCK_SIZE)) {
        Fail("cannot create the catalog files");
        return;
    }
    if (!FillCatalog(*std::make_unique<CCatalog>(strCatalog, 0)))
        return;
    std::printf("documents: %d\n", DocumentCount());
    std::printf("catalog_file_bytes: %lld\n", FileBytes(strCatalogHost));

    CCatalogFiles files(strCatalog, strRecycle);
    struct Step {
        const char* pszName;
        std::function<BOOL()> work;
    };
    const Step steps[] = {
        { "backup", [&] { return files.MakeGeneration(3); } },
        { "restore", [&] { return files.RotateOld(1); } },
        { "rebuild", [&] { return RebuildCatalogFiles(strCatalog, strRecycle); } },
    };
    for (const Step& step : steps) {
        BOOL bDone = FALSE;
        double dSeconds = Seconds([&] { bDone = step.work(); });
        if (!bDone) {
            Fail((std::string("cannot run the step ") + step.pszName).c_str());
            return;
        }
        std::printf("%s_s: %.3f\n", step.pszName, dSeconds);
    }
    std::printf("rebuilt_file_bytes: %lld\n", FileBytes(strCatalogHost));
}

}

int main()
{
    const ScratchFolder folder("maintenance_bench.");
    if (!folder.IsValid()) {
        std::perror("maintenance_bench: mkdtemp");
        return 1;
    }
    BeginFailureReports("maintenance_bench");
    Run(folder.Path());
    return HasFailed() ? 1 : 0;
}
