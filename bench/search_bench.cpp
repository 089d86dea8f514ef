// Figures for the content search on 8 000 text files of 128 KiB (1 GB of
// words from a fixed list; one rare word planted in 1 % of them, some across
// a scan window's boundary), against `rg -c` (or `grep -rc` without ripgrep)
// on the same files in the same run, the cache warmed first; and for the
// catalog search by name over the 100 000 documents of the shared catalog
// data set, against SQLite's LIKE '%word%' on the same names. Prints
// "name: value" lines. The files live in a temporary folder, which drive T:
// stands for. With the argument "names" only the name search runs.

#include "bench/BenchCatalogData.h"
#include "bench/BenchTiming.h"
#include "catalog/CCatalogSearch.h"
#include "catalog/CTextSearch.h"
#include "catalog/CWordFinder.h"
#include "catalog/ContentScan.h"
#include "store/CCatalog.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"

#include <sqlite3.h>

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

// The word the name search looks for: in 40 of the 100 000 names.
constexpr const char* NAME_WORD = "4242";

// The names of the shared data set in an SQLite table, searched with LIKE;
// the rows read, as a program would show them.
class CSqliteNames {
public:
    explicit CSqliteNames(const fs::path& file)
    {
        if (sqlite3_open(file.c_str(), &m_pDb) != SQLITE_OK) {
            bench::Fail(sqlite3_errmsg(m_pDb));
            return;
        }
        Exec("CREATE TABLE documents(id INTEGER PRIMARY KEY, name TEXT); BEGIN;");
        sqlite3_stmt* pInsert = nullptr;
        sqlite3_prepare_v2(m_pDb, "INSERT INTO documents(name) VALUES (?)", -1, &pInsert, nullptr);
        for (int nDocument = 0; nDocument < bench::DocumentCount(); ++nDocument) {
            const std::string strName = bench::DocumentName(nDocument);
            sqlite3_bind_text(pInsert, 1, strName.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(pInsert) != SQLITE_DONE)
                bench::Fail(sqlite3_errmsg(m_pDb));
            sqlite3_reset(pInsert);
        }
        sqlite3_finalize(pInsert);
        Exec("COMMIT;");
        const std::string strSql = std::string("SELECT id, name FROM documents WHERE name LIKE '%") + NAME_WORD + "%'";
        sqlite3_prepare_v2(m_pDb, strSql.c_str(), -1, &m_pSearch, nullptr);
    }
    ~CSqliteNames()
    {
        sqlite3_finalize(m_pSearch);
        sqlite3_close(m_pDb);
    }
    CSqliteNames(const CSqliteNames&) = delete;
    CSqliteNames& operator=(const CSqliteNames&) = delete;

    int Search()
    {
        int nRows = 0;
        while (sqlite3_step(m_pSearch) == SQLITE_ROW) {
            sqlite3_column_int64(m_pSearch, 0);
            sqlite3_column_text(m_pSearch, 1);
            ++nRows;
        }
        sqlite3_reset(m_pSearch);
        return nRows;
    }

private:
    void Exec(const char* pszSql)
    {
        char* pszError = nullptr;
        if (sqlite3_exec(m_pDb, pszSql, nullptr, nullptr, &pszError) != SQLITE_OK) {
            bench::Fail(pszError ? pszError : "sqlite");
            sqlite3_free(pszError);
        }
    }

    sqlite3* m_pDb { nullptr };
    sqlite3_stmt* m_pSearch { nullptr };
};

// The catalog search by name against SQLite; FALSE when either failed.
bool NameSearchFigures(const fs::path& folder)
{
    const std::string strCatalog = ProgramPathFromHostPath((folder / "archiv.cat").string());
    const std::string strIndex = ProgramPathFromHostPath((folder / "winsch.cat").string());
    if (!CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE)) {
        bench::Fail("cannot create the catalog");
        return false;
    }
    CCatalog catalog(strCatalog.c_str(), 0);
    // The systems go under the systems root, where the program keeps them and the search looks.
    if (!bench::FillCatalog(catalog, 3))
        return false;
    CSqliteNames names(folder / "names.db");
    if (bench::HasFailed())
        return false;
    CSearchCriteria& criteria = GetGlobalSearchCriteria();
    criteria.words = { NAME_WORD };
    criteria.nField = CTextSearch::FIELD_NAME;
    criteria.nMode = 0;

    int nOurs = 0;
    int nTheirs = 0;
    const auto ours = [&] {
        CCatalogSearch search(&catalog);
        if (!search.Run(strIndex.c_str()))
            bench::Fail("the catalog search did not run to its end");
        nOurs = search.GetFoundCount();
    };
    const auto theirs = [&] { nTheirs = names.Search(); };
    // The program holds its catalog open while its window is shown, as the
    // database stays connected: the search finds the file open and cached.
    if (!catalog.Acquire()) {
        bench::Fail("cannot open the catalog");
        return false;
    }
    ours(); // warms the caches
    theirs();
    std::vector<double> oursMs;
    std::vector<double> theirsMs;
    // Each search takes milliseconds: the median of more runs steadies it on a loaded machine.
    for (int i = 0; i < 9; ++i) {
        oursMs.push_back(Milliseconds(ours));
        theirsMs.push_back(Milliseconds(theirs));
    }
    catalog.Release();
    std::printf("name_search_documents: %d\n", bench::DocumentCount());
    std::printf("name_search_found: %d\n", nOurs);
    std::printf("sqlite_like_found: %d\n", nTheirs);
    std::printf("name_search_ms: %.1f\n", Median(oursMs));
    std::printf("sqlite_like_ms: %.1f\n", Median(theirsMs));
    std::printf("name_search_vs_sqlite_like: %.2f\n", MedianRatio(oursMs, theirsMs));
    return !bench::HasFailed();
}

} // namespace

int main(int argc, char** argv)
{
    bench::BeginFailureReports("search_bench");
    ScratchFolder scratch("archivora-search-bench-");
    if (!scratch.IsValid()) {
        std::fprintf(stderr, "search_bench: no scratch folder\n");
        return 1;
    }
    setenv("ARCHIVORA_HOME", scratch.Path().c_str(), 1);
    if (!NameSearchFigures(scratch.Path()))
        return 1;
    if (argc > 1 && std::string(argv[1]) == "names")
        return 0;
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
