// Figures for the content search on 8 000 text files of 128 KiB (1 GB of
// words from a fixed list; one rare word planted in 1 % of them, some across
// a scan window's boundary), against `rg -c` (or `grep -rc` without ripgrep)
// on the same files in the same run, the cache warmed first. Prints
// "name: value" lines. The files live in a temporary folder, which drive T:
// stands for.

#include "bench/BenchTiming.h"
#include "catalog/CWordFinder.h"
#include "catalog/ContentScan.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/DriveTable.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int FILE_COUNT = 8000;
constexpr size_t FILE_BYTES = 128 * 1024;
constexpr const char* RARE_WORD = "quetzalcoatl";

int MakeCorpus(const fs::path& root)
{
    static const char* const words[] = { "archive", "folder", "letter", "report", "budget", "meeting", "draft",
        "invoice", "summary", "project", "the", "of", "and", "catalog", "document", "notes" };
    std::mt19937 random(21);
    int nPlanted = 0;
    std::string text;
    for (int i = 0; i < FILE_COUNT; ++i) {
        text.clear();
        while (text.size() < FILE_BYTES)
            text += std::string(words[random() % 16]) + ' ';
        text.resize(FILE_BYTES);
        if (i % 100 == 0) {
            // Every other one across the boundary of the first two windows.
            const size_t nAt = i % 200 == 0 ? CONTENT_WINDOW - 5 : FILE_BYTES / 2;
            text.replace(nAt, std::string(RARE_WORD).size(), RARE_WORD);
            ++nPlanted;
        }
        const fs::path folder = root / ("f" + std::to_string(i / 100));
        fs::create_directories(folder);
        std::ofstream(folder / ("doc" + std::to_string(i) + ".txt"), std::ios::binary) << text;
    }
    return nPlanted;
}

} // namespace

int main()
{
    ScratchFolder scratch("archivora-search-bench-");
    if (!scratch.IsValid()) {
        std::fprintf(stderr, "search_bench: no scratch folder\n");
        return 1;
    }
    const fs::path corpus = scratch.Path() / "corpus";
    const int nPlanted = MakeCorpus(corpus);
    SetDriveOverride('T', corpus.c_str(), DRIVE_FIXED);
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file()) {
            const fs::path relative = fs::relative(entry.path(), corpus);
            std::string strPath = "t:\\" + relative.string();
            for (char& ch : strPath)
                ch = ch == '/' ? '\\' : ch;
            paths.push_back(strPath);
        }
    }
    const bool bRipgrep = std::system("command -v rg > /dev/null 2>&1") == 0;
    const std::string strReference = bRipgrep
        ? "rg -c " + std::string(RARE_WORD) + " '" + corpus.string() + "' > /dev/null"
        : "grep -rc " + std::string(RARE_WORD) + " '" + corpus.string() + "' > /dev/null";
    const std::vector<CWordFinder> words { CWordFinder(RARE_WORD, FALSE, FALSE) };
    int nFound = 0;
    const auto search = [&] {
        nFound = 0;
        std::vector<bool> found;
        for (const std::string& strPath : paths) {
            if (ScanFileContent(strPath.c_str(), words, true, found) && found[0])
                ++nFound;
        }
    };
    const auto reference = [&] { static_cast<void>(std::system(strReference.c_str())); };

    search(); // warms the cache
    reference();
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int i = 0; i < 3; ++i) {
        ours.push_back(Milliseconds(search));
        theirs.push_back(Milliseconds(reference));
    }
    const double dMegabytes = static_cast<double>(FILE_COUNT) * FILE_BYTES / (1024.0 * 1024.0);
    std::printf("files: %d\n", FILE_COUNT);
    std::printf("planted: %d\n", nPlanted);
    std::printf("found: %d\n", nFound);
    std::printf("reference: %s\n", bRipgrep ? "rg -c" : "grep -rc");
    std::printf("content_search_ms: %.1f\n", Median(ours));
    std::printf("content_search_mb_per_s: %.0f\n", dMegabytes / (Median(ours) / 1000.0));
    std::printf("reference_ms: %.1f\n", Median(theirs));
    std::printf("content_search_vs_reference: %.2f\n", MedianRatio(ours, theirs));
    return 0;
}
