// The set-up wizard's folder tree prepared over a large disk, against "find"
// listing the same files, in the same run. A tree of 100 000 files in 10 000
// leaf folders (four levels of ten folders, ten files in each leaf) is drive
// C:, the only drive; the tree is filled as the folder page fills it before
// it opens (the fixed drives, every top item expanded, only folders that
// hold a wanted document somewhere below):
//
// - (a) with an extension no file has, so the filter walks every file (goal:
//   at most twice "find <tree> -type f", process start included);
// - (b) with a wanted file in every tenth leaf folder, printed with its ratio.
//
// Prints "name: value" lines: milliseconds (the median of five runs), the
// ratios (the median of the runs' own ratios) and the goal with whether it is
// met. Figures are meant from a Release build.

#include "bench/BenchTiming.h"
#include "dialogs/setup/CInstExplorerTreeCtrl.h"
#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "tests/support/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int RUNS = 5;
constexpr int FAN_OUT = 10;        // folders per folder, four levels deep
constexpr int FILES_PER_LEAF = 10; // 10 000 leaves, 100 000 files
constexpr int WANTED_EVERY = 10;   // (b): one leaf in ten holds a wanted file
constexpr double GOAL_RATIO = 2.0;

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "setup_bench: %s\n", pszWhat);
    std::exit(1);
}

// Writes the tree; in every WANTED_EVERY-th leaf one file is a ".txt".
void MakeTree(const fs::path& root)
{
    int nLeaf = 0;
    for (int a = 0; a < FAN_OUT; ++a)
        for (int b = 0; b < FAN_OUT; ++b)
            for (int c = 0; c < FAN_OUT; ++c)
                for (int d = 0; d < FAN_OUT; ++d, ++nLeaf) {
                    const fs::path leaf = root / ("a" + std::to_string(a)) / ("b" + std::to_string(b))
                        / ("c" + std::to_string(c)) / ("d" + std::to_string(d));
                    fs::create_directories(leaf);
                    for (int f = 0; f < FILES_PER_LEAF; ++f) {
                        const bool bWanted = f == 0 && nLeaf % WANTED_EVERY == 0;
                        std::ofstream(leaf / ("file" + std::to_string(f) + (bWanted ? ".txt" : ".dat"))) << "x";
                    }
                }
}

// Fills the tree with the extension map as the folder page does; the found-folder cache starts empty.
double TimeFill(CInstExplorerTreeCtrl& tree, CMapStringToPtr& extensions)
{
    CMapStringToPtr roots;
    return Milliseconds([&] {
        if (!tree.Fill(CInstExplorerTreeCtrl::MODE_LOCAL, &extensions, roots))
            Fail("the fill was cancelled");
    });
}

} // namespace

int main()
{
    const ScratchFolder folder("setup_bench.");
    if (!folder.IsValid())
        Fail("no scratch folder");
    const HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(SETUP_BENCH_MODULE).c_str());
    if (!hModule)
        Fail("the resource module did not load");
    AfxSetResourceHandle(hModule);
    const fs::path root = folder.Path() / "C";
    const fs::path home = folder.Path() / "home";
    fs::create_directories(home);
    setenv("ARCHIVORA_HOME", home.c_str(), 1);
    MakeTree(root);
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    if (!SetDriveOverride('C', root.c_str(), DRIVE_FIXED))
        Fail("drive C: could not be mapped");

    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr))
        Fail("no host window");
    CInstExplorerTreeCtrl tree;
    if (!tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, RECT { 0, 0, 400, 400 }, &host, 1))
        Fail("no tree");
    tree.InitImageLists();
    CMapStringToPtr none;
    none.SetAt("zzz", nullptr);
    CMapStringToPtr text;
    text.SetAt("txt", nullptr);
    const std::string strFind = "find '" + root.string() + "' -type f > /dev/null";

    std::vector<double> noMatch;
    std::vector<double> tenth;
    std::vector<double> find;
    for (int i = 0; i < RUNS; ++i) {
        noMatch.push_back(TimeFill(tree, none));
        find.push_back(Milliseconds([&] {
            if (std::system(strFind.c_str()) != 0)
                Fail("find failed");
        }));
        tenth.push_back(TimeFill(tree, text));
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    ResetDriveTable();

    const double dRatio = MedianRatio(noMatch, find);
    std::printf("files: %d\n", FAN_OUT * FAN_OUT * FAN_OUT * FAN_OUT * FILES_PER_LEAF);
    std::printf("prepare_no_match_ms: %.1f\n", Median(noMatch));
    std::printf("prepare_tenth_wanted_ms: %.1f\n", Median(tenth));
    std::printf("find_ms: %.1f\n", Median(find));
    std::printf("ratio_no_match: %.2f\n", dRatio);
    std::printf("ratio_tenth_wanted: %.2f\n", MedianRatio(tenth, find));
    std::printf("goal_no_match_at_most_2x: %s\n", dRatio <= GOAL_RATIO ? "met" : "missed");
    FreeLibrary(hModule);
    return 0;
}
