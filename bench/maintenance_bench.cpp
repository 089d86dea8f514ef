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

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace bench;

int main()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "maintenance_bench.XXXXXX").string();
    if (!mkdtemp(strTemplate.data())) {
        std::perror("maintenance_bench: mkdtemp");
        return 1;
    }
    const std::filesystem::path folder(strTemplate);
    BeginFailureReports("maintenance_bench");
    const std::string strCatalogHost = (folder / "archiv.cat").string();
    const CString strCatalog = ProgramPathFromHostPath(strCatalogHost).c_str();
    const CString strRecycle = ProgramPathFromHostPath((folder / "winrec.cat").string()).c_str();

    if (!CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE) || !CCatalog::CreateFile(TRUE, strRecycle, BLOCK_SIZE)) {
        Fail("cannot create the catalog files");
    } else {
        auto pCatalog = std::make_unique<CCatalog>(strCatalog, 0);
        if (!FillCatalog(*pCatalog))
            Fail("cannot build the catalog");
    }
    std::printf("documents: %d\n", DOCUMENT_COUNT);
    std::printf("catalog_file_bytes: %lld\n", static_cast<long long>(std::filesystem::file_size(strCatalogHost)));

    CCatalogFiles files(strCatalog, strRecycle);
    std::printf("backup_s: %.3f\n", Seconds([&] {
        if (!files.MakeGeneration(3))
            Fail("cannot make a backup generation");
    }));
    std::printf("restore_s: %.3f\n", Seconds([&] {
        if (!files.RotateOld(1))
            Fail("cannot restore the backup generation");
    }));

    std::printf("rebuild_s: %.3f\n", Seconds([&] {
        if (!RebuildCatalogFiles(strCatalog, strRecycle))
            Fail("cannot rebuild the catalogs");
    }));
    std::printf("rebuilt_file_bytes: %lld\n", static_cast<long long>(std::filesystem::file_size(strCatalogHost)));

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return HasFailed() ? 1 : 0;
}
