// Figures for the catalog update against `find DIR -type f -printf` on the
// same tree, each run timing find, a first cataloguing into a new catalog
// (new files read ahead of the walk by the default number of workers),
// find again and an update of the unchanged tree; the figures are medians of
// the runs, the cache warmed by a walk first. The tree is either generated:
// 100 000 files (2 000 folders in three levels, 50 files each; names of 8 to
// 40 characters, some not ASCII; 70 % of catalogued types, 20 % of others,
// 10 % that the catalog's masks leave out), or a real folder given as the
// argument, catalogued for the common document types or for every type. Prints "name: value"
// lines. The catalogs live in a temporary folder; drive T: stands for the tree.

#include "bench/BenchTiming.h"
#include "catalog/CCatalogUpdate.h"
#include "catalog/DescriptionReadAhead.h"
#include "store/CCatalog.h"
#include "store/CLibFolderRec.h"
#include "store/CPreferences.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

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

// The document types a real tree is catalogued for.
const std::vector<std::string> DOCUMENT_EXTENSIONS
    = { "txt", "md", "rst", "html", "htm", "xml", "json", "csv", "pdf", "odt", "doc", "docx", "rtf" };

// Every extension of the files of a real tree, lower-cased: the whole tree is
// catalogued but the files without one.
std::vector<std::string> TreeExtensions(const fs::path& tree)
{
    std::set<std::string> extensions;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(tree, fs::directory_options::skip_permission_denied, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (error || !it->is_regular_file(error))
            continue;
        const std::string strName = it->path().filename().string();
        const size_t nDot = strName.rfind('.');
        if (nDot == std::string::npos || nDot + 1 == strName.size())
            continue;
        std::string strExtension = strName.substr(nDot + 1);
        std::transform(strExtension.begin(), strExtension.end(), strExtension.begin(),
            [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        extensions.insert(strExtension);
    }
    return { extensions.begin(), extensions.end() };
}
// The types of the generated tree.
const std::vector<std::string> TREE_EXTENSIONS = { "txt", "md", "odt" };

double FindMs(const fs::path& root)
{
    const std::string strCommand = "find '" + root.string() + "' -type f -printf '%p %s %T@\\n' > /dev/null";
    return Milliseconds([&] { static_cast<void>(std::system(strCommand.c_str())); });
}

// The times of one run: find, a first cataloguing into a new catalog, find
// again, and an update of the unchanged tree.
struct CRunTimes {
    double dFindBefore { 0 };
    double dFirst { 0 };
    double dFindBetween { 0 };
    double dAgain { 0 };
    CUpdateTotals first;
    CUpdateTotals again;
};

// Catalogues drive T: into a new catalog at hostPath, with the masks a set-up
// catalog has, then updates it unchanged.
bool TimeRun(const fs::path& hostPath, const fs::path& tree, const std::vector<std::string>& extensions, int nWorkers,
    CRunTimes& times)
{
    const CString strCatalog = ProgramPathFromHostPath(hostPath.string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, 2048)) {
        std::fprintf(stderr, "update_bench: cannot create the catalog\n");
        return false;
    }
    CCatalog catalog(strCatalog, 0);
    {
        // The types are set up in one commit, as the preferences save them.
        CCatalogAction action(&catalog);
        for (const std::string& strExtension : extensions)
            catalog.LoadExtensions(strExtension.c_str());
    }
    const std::unique_ptr<CLibFolderRec> pTemporary(catalog.AddLibFolder("~*.*"));
    const std::unique_ptr<CLibFolderRec> pTmp(catalog.AddLibFolder("*.tmp"));
    const auto update = [&] {
        CCatalogUpdate run(&catalog, nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        run.SetReadAheadWorkers(nWorkers);
        if (!run.Update(CCatalogUpdate::MODE_UPDATE))
            std::fprintf(stderr, "update_bench: the update failed\n");
        return run.GetTotals();
    };
    times.dFindBefore = FindMs(tree);
    times.dFirst = Milliseconds([&] { times.first = update(); });
    times.dFindBetween = FindMs(tree);
    times.dAgain = Milliseconds([&] { times.again = update(); });
    return true;
}

} // namespace

// Arguments: none or "-" for the generated tree, or a folder, catalogued as it is;
// then the number of runs (3); then "all" to catalogue a folder's every file
// type instead of the common document types; then the number of threads that
// read new files ahead (by default, as many as the program uses).
int main(int argc, char** argv)
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
    const bool bRealTree = argc > 1 && std::string(argv[1]) != "-";
    const fs::path tree = bRealTree ? fs::absolute(argv[1]) : root / "tree";
    const int nRuns = std::max(argc > 2 ? std::atoi(argv[2]) : 3, 1);
    if (bRealTree && !fs::is_directory(tree)) {
        std::fprintf(stderr, "update_bench: %s is no folder\n", tree.c_str());
        return 1;
    }
    const int nGenerated = bRealTree ? 0 : MakeTree(tree);
    SetDriveOverride('T', tree.c_str(), DRIVE_FIXED);
    thePreferences.m_fastUpdateDir.RemoveAll();
    thePreferences.m_fastUpdateDir.Add("t:\\");

    const bool bAllTypes = argc > 3 && std::string(argv[3]) == "all";
    const int nWorkers = argc > 4 ? std::max(std::atoi(argv[4]), 0) : CDescriptionReadAhead::DefaultWorkers();
    const std::vector<std::string> extensions = !bRealTree ? TREE_EXTENSIONS
        : bAllTypes                                        ? TreeExtensions(tree)
                                                           : DOCUMENT_EXTENSIONS;
    FindMs(tree); // warms the cache
    std::vector<CRunTimes> runs(nRuns);
    for (int n = 0; n < nRuns; ++n) {
        const fs::path catalogPath = root / ("archiv" + std::to_string(n) + ".cat");
        if (!TimeRun(catalogPath, tree, extensions, nWorkers, runs[n]))
            return 1;
    }
    std::vector<double> finds;
    std::vector<double> firsts;
    std::vector<double> agains;
    for (const CRunTimes& run : runs) {
        finds.push_back(run.dFindBefore);
        finds.push_back(run.dFindBetween);
        firsts.push_back(run.dFirst);
        agains.push_back(run.dAgain);
    }
    const CUpdateTotals& totals = runs.front().first;
    const CUpdateTotals& again = runs.front().again;
    // The files the walk met: those it catalogued, left out or skipped.
    const int nFiles = bRealTree ? totals.nAdded + totals.nRejected + totals.nSkipped : nGenerated;
    const double dFind = Median(finds);
    const double dFirst = Median(firsts);
    const double dAgain = Median(agains);

    std::printf("tree: %s\n", bRealTree ? tree.c_str() : "generated");
    std::printf("types: %s\n", !bRealTree ? "generated" : bAllTypes ? "all" : "documents");
    std::printf("runs: %d\n", nRuns);
    std::printf("read_ahead_workers: %d\n", nWorkers);
    std::printf("files: %d\n", nFiles);
    std::printf("catalogued: %d\n", totals.nAdded);
    std::printf("rejected: %d\n", totals.nRejected);
    std::printf("skipped: %d\n", totals.nSkipped);
    std::printf("found_again: %d\n", again.nFound);
    std::printf("added_again: %d\n", again.nAdded);
    std::printf("find_ms: %.1f\n", dFind);
    std::printf("first_update_ms: %.1f\n", dFirst);
    std::printf("first_update_files_per_s: %.0f\n", nFiles / (dFirst / 1000.0));
    std::printf("first_update_vs_find: %.2f\n", dFirst / dFind);
    std::printf("unchanged_update_ms: %.1f\n", dAgain);
    std::printf("unchanged_update_files_per_s: %.0f\n", nFiles / (dAgain / 1000.0));
    std::printf("unchanged_update_vs_find: %.2f\n", dAgain / dFind);
    return 0;
}
