// Figures for the catalog update on a generated tree of 100 000 files (2 000
// folders in three levels, 50 files each; names of 8 to 40 characters, some
// not ASCII; 70 % of catalogued types, 20 % of others, 10 % that the
// catalog's masks leave out), against `find DIR -type f -printf` on the same
// tree in the same run, the cache warmed by a walk first: a first cataloguing
// and an update of the unchanged tree. Prints "name: value" lines. Everything
// lives in a temporary folder, which drive T: stands for.

#include "bench/BenchTiming.h"
#include "catalog/CCatalogUpdate.h"
#include "store/CCatalog.h"
#include "store/CLibFolderRec.h"
#include "store/CPreferences.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int TOP_FOLDERS = 20;
constexpr int MIDDLE_FOLDERS = 10;
constexpr int LEAF_FOLDERS = 10;
constexpr int FILES_PER_FOLDER = 50;

// A file name of 8 to 40 characters with its extension, some with accented letters.
std::string FileName(std::mt19937& random, int nFile)
{
    static const char* const letters = "abcdefghijklmnopqrstuvwxyz";
    const int nLength = 8 + static_cast<int>(random() % 33);
    std::string strName = std::to_string(nFile) + "-";
    while (static_cast<int>(strName.size()) < nLength)
        strName += (random() % 20 == 0) ? std::string("\xc3\xa9") : std::string(1, letters[random() % 26]);
    const int nKind = static_cast<int>(random() % 10);
    if (nKind < 7)
        return strName + (nKind < 4 ? ".txt" : nKind < 6 ? ".md" : ".odt");
    if (nKind < 9)
        return strName + ".bin";
    return nFile % 2 == 0 ? "~" + strName + ".txt" : strName + ".tmp";
}

int MakeTree(const fs::path& root)
{
    std::mt19937 random(20);
    int nFiles = 0;
    for (int a = 0; a < TOP_FOLDERS; ++a) {
        for (int b = 0; b < MIDDLE_FOLDERS; ++b) {
            for (int c = 0; c < LEAF_FOLDERS; ++c) {
                const fs::path folder
                    = root / ("top" + std::to_string(a)) / ("mid" + std::to_string(b)) / ("leaf" + std::to_string(c));
                fs::create_directories(folder);
                for (int f = 0; f < FILES_PER_FOLDER; ++f, ++nFiles)
                    std::ofstream(folder / FileName(random, nFiles)) << "notes of file " << nFiles << "\n";
            }
        }
    }
    return nFiles;
}

double FindMs(const fs::path& root)
{
    const std::string strCommand = "find '" + root.string() + "' -type f -printf '%s %T@ %p\\n' > /dev/null";
    return Milliseconds([&] { static_cast<void>(std::system(strCommand.c_str())); });
}

} // namespace

int main()
{
    ScratchFolder scratch("archivora-update-bench-");
    if (!scratch.IsValid()) {
        std::fprintf(stderr, "update_bench: no scratch folder\n");
        return 1;
    }
    const fs::path& root = scratch.Path();
    fs::create_directories(root / "home");
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("ARCHIVORA_HOME", (root / "home").c_str(), 1);
    const fs::path tree = root / "tree";
    const int nFiles = MakeTree(tree);
    SetDriveOverride('T', tree.c_str(), DRIVE_FIXED);

    const CString strCatalog = ProgramPathFromHostPath((root / "archiv.cat").string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, 2048)) {
        std::fprintf(stderr, "update_bench: cannot create the catalog\n");
        return 1;
    }
    CCatalog catalog(strCatalog, 0);
    for (const char* pszExtension : { "txt", "md", "odt" })
        catalog.LoadExtensions(pszExtension);
    const std::unique_ptr<CLibFolderRec> pTemporary(catalog.AddLibFolder("~*.*"));
    const std::unique_ptr<CLibFolderRec> pTmp(catalog.AddLibFolder("*.tmp"));
    thePreferences.m_fastUpdateDir.RemoveAll();
    thePreferences.m_fastUpdateDir.Add("t:\\");
    const auto update = [&] {
        CCatalogUpdate run(&catalog, nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        if (!run.Update(CCatalogUpdate::MODE_UPDATE))
            std::fprintf(stderr, "update_bench: the update failed\n");
        return run.GetTotals();
    };

    FindMs(tree); // warms the cache
    const double dFindBefore = FindMs(tree);
    CUpdateTotals totals;
    const double dFirst = Milliseconds([&] { totals = update(); });
    const double dFindBetween = FindMs(tree);
    CUpdateTotals again;
    const double dAgain = Milliseconds([&] { again = update(); });
    const double dFindAfter = FindMs(tree);

    std::printf("files: %d\n", nFiles);
    std::printf("catalogued: %d\n", totals.nAdded);
    std::printf("rejected: %d\n", totals.nRejected);
    std::printf("found_again: %d\n", again.nFound);
    std::printf("added_again: %d\n", again.nAdded);
    std::printf("find_ms: %.1f\n", Median({ dFindBefore, dFindBetween, dFindAfter }));
    std::printf("first_update_ms: %.1f\n", dFirst);
    std::printf("first_update_files_per_s: %.0f\n", nFiles / (dFirst / 1000.0));
    std::printf("first_update_vs_find: %.2f\n", dFirst / ((dFindBefore + dFindBetween) / 2));
    std::printf("unchanged_update_ms: %.1f\n", dAgain);
    std::printf("unchanged_update_files_per_s: %.0f\n", nFiles / (dAgain / 1000.0));
    std::printf("unchanged_update_vs_find: %.2f\n", dAgain / ((dFindBetween + dFindAfter) / 2));
    return 0;
}
