// Figures for the catalog file against SQLite doing the same work: a catalog
// of documents in directories of 50, linked under 500 nodes, is built (as
// long work, committed through the journal once a second; SQLite in one
// transaction), reopened, walked node by node, searched by path and read the
// way the document list fills its first screen (the first 40 documents of a
// node with their texts, or all of them when a node has fewer). Each round runs the catalog with its default block
// cache, the catalog with another cache size, and SQLite, one after the
// other; the figures are the medians of the rounds. The reopen is also given
// in its two parts: the close and the open. Then the cost of one user
// action on the catalog (a document catalogued under a node, committed once)
// is set against writing one block into a file beside it and flushing it with
// fdatasync: medians of 101 of each, per round.
//
// Arguments: the number of documents (default 100 000), the number of rounds
// (default 3), the other cache size in chunks of two blocks (default 512) and
// a smaller number of documents (default none): given, the same rounds first
// run on that many documents, and the growth of one path lookup's cost from
// the smaller data set to the larger is printed for the catalog (with
// either cache) and for SQLite. SQLite's own page cache is 2 MiB, where the
// catalog's default block cache is 64 MiB and holds the whole smaller data
// set: SQLite's lookups are also timed a second time with a page cache of
// the catalog's default size, and the growths are set side by side at equal
// memory too (the default cache against SQLite's larger one; the other cache
// against SQLite's default, equal when it is 512 chunks). Prints "name: value" lines: the median seconds of each step
// on every side, the ratios (catalog / SQLite; below 1 the catalog is faster), the default cache's walk and lookup
// against the other cache's, the user action against the flush and, for reference, the file sizes. The files live in a
// temporary folder that is removed at the end.

#include "bench/BenchCatalogData.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogIo.h"
#include "tests/support/ScratchFolder.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace bench;

namespace {

constexpr int FIRST_ROWS = 40;
constexpr int FIRST_ROWS_FETCHES = 1000;
// User actions timed one by one, and plain flushes of one block to compare them with.
constexpr int USER_ACTIONS = 101;

// The rows a first screen shows: FIRST_ROWS, or all of a node's documents
// when it has fewer (a small data set).
int FirstRowCount()
{
    return std::min(FIRST_ROWS, DocumentCount() / NODE_COUNT);
}

// The node whose first rows fetch n reads: every node twice, in a scattered order.
int FetchedNode(int nFetch)
{
    return (nFetch * 37) % NODE_COUNT;
}

// The document path lookup n asks for, in a scattered order.
int LookedUpDocument(int nLookup)
{
    return static_cast<int>((static_cast<long long>(nLookup) * 7919) % DocumentCount());
}

struct Figures {
    double build = 0, reopen = 0, walk = 0, lookup = 0, firstRows = 0;
    double close = 0, open = 0; // the two parts of the reopen
    double lookupSameCache = 0; // SQLite's lookups with a page cache of the catalog's default size
    double action = 0;          // the median of one committed user action (the catalog only)
    double fdatasync = 0;       // the median of a block written and flushed with fdatasync (beside the catalog)
    long long nFileBytes = 0;
};

// The median of some timings.
double MedianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    std::size_t nMiddle = values.size() / 2;
    return values.size() % 2 ? values[nMiddle] : (values[nMiddle - 1] + values[nMiddle]) / 2;
}

/******************************************************************************
 * The catalog
 ******************************************************************************/

// The rows the document list shows for a node: its first documents with
// directory, name, description and secondary text. Returns the bytes read.
std::size_t ReadFirstRows(CNodeRec& node, int nRows)
{
    std::size_t nBytes = 0;
    CDocumentRecArray documents = node.GetDocuments(nRows);
    for (const auto& pDocument : documents) {
        CString strName, strDescription, strSecondary;
        pDocument->GetFullPath(strName);
        pDocument->GetNameWithLocation(strDescription);
        pDocument->GetAltNameWithLocation(strSecondary);
        nBytes += static_cast<std::size_t>(pDocument->GetDirectoryPath(FALSE).GetLength() + strName.GetLength()
            + strDescription.GetLength() + strSecondary.GetLength());
    }
    if (documents.size() != static_cast<std::size_t>(nRows))
        Fail("catalog: a node lists too few documents");
    return nBytes;
}

// The median time to write one block into a file and flush it with fdatasync.
double FlushSeconds(const std::string& strProgramPath)
{
    CCatalogIo io;
    if (!io.Open(strProgramPath.c_str(), true)) {
        Fail("cannot create the file to flush");
        return 0;
    }
    std::vector<BYTE> block(BLOCK_SIZE, 0x5A);
    std::vector<double> flushes;
    for (int nFlush = 0; nFlush < USER_ACTIONS; ++nFlush) {
        flushes.push_back(Seconds([&] {
            if (!io.WriteAt(0, block) || !io.SyncData())
                Fail("cannot flush the file");
        }));
    }
    (void)io.Close();
    (void)CCatalogIo::Remove(strProgramPath.c_str());
    return MedianOf(flushes);
}

// The nodes documents are linked under, in creation order.
std::vector<std::unique_ptr<CNodeRec>> UserNodes(CCatalog& catalog)
{
    std::vector<std::unique_ptr<CNodeRec>> nodes;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    for (auto& pSystem : pRoot->GetChildren()) {
        for (auto& pGroup : pSystem->GetChildren())
            nodes.push_back(std::move(pGroup));
    }
    return nodes;
}

Figures RunCatalog(const std::string& strProgramPath, const std::string& strHostPath, int nCacheChunks)
{
    Figures figures;
    if (!CCatalog::CreateFile(FALSE, strProgramPath.c_str(), BLOCK_SIZE)) {
        Fail("catalog: cannot create the file");
        return figures;
    }
    auto pCatalog = std::make_unique<CCatalog>(strProgramPath.c_str(), 0, nCacheChunks);

    figures.build = Seconds([&] {
        if (!FillCatalog(*pCatalog))
            Fail("catalog: cannot build the catalog");
    });

    // A clean close flushes the file and the journal and removes the journal.
    figures.close = Seconds([&] { pCatalog.reset(); });
    figures.open = Seconds([&] { pCatalog = std::make_unique<CCatalog>(strProgramPath.c_str(), 0, nCacheChunks); });
    figures.reopen = figures.close + figures.open;
    if (!pCatalog->IsOpen()) {
        Fail("catalog: cannot reopen the file");
        return figures;
    }
    std::vector<std::unique_ptr<CNodeRec>> nodes = UserNodes(*pCatalog);
    if (nodes.size() != NODE_COUNT) {
        Fail("catalog: the nodes are not all there");
        return figures;
    }

    figures.walk = Seconds([&] {
        std::size_t nDocuments = 0;
        for (auto& pNode : nodes)
            nDocuments += pNode->GetDocuments().size();
        if (nDocuments != static_cast<std::size_t>(DocumentCount()))
            Fail("catalog: the walk misses documents");
    });

    figures.lookup = Seconds([&] {
        int nFound = 0;
        for (int nLookup = 0; nLookup < DocumentCount(); ++nLookup) {
            int nDocument = LookedUpDocument(nLookup);
            std::string strPath = DirectoryPath(DirectoryOf(nDocument)) + DocumentName(nDocument);
            std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindPath(strPath.c_str()));
            nFound += pDocument ? 1 : 0;
        }
        if (nFound != DocumentCount())
            Fail("catalog: a path lookup failed");
    });

    figures.firstRows = Seconds([&] {
        for (int nFetch = 0; nFetch < FIRST_ROWS_FETCHES; ++nFetch)
            ReadFirstRows(*nodes[static_cast<std::size_t>(FetchedNode(nFetch))], FirstRowCount());
    });

    // One user action: a new document catalogued under a node, committed once.
    std::vector<double> actions;
    for (int nAction = 0; nAction < USER_ACTIONS; ++nAction) {
        const std::string strName = "action-" + std::to_string(nAction) + ".txt";
        const std::string strFolder = DirectoryPath(nAction % DirectoryCount());
        actions.push_back(Seconds([&] {
            CCatalogAction action(pCatalog.get());
            std::unique_ptr<CDocumentRec> pDocument(
                pCatalog->FindOrAddDocument(strFolder.c_str(), strName.c_str(), nullptr));
            if (!pDocument || !nodes[static_cast<std::size_t>(nAction % NODE_COUNT)]->AddDocument(pDocument.get())
                || !action.End())
                Fail("catalog: a user action failed");
        }));
    }
    figures.action = MedianOf(actions);

    nodes.clear();
    pCatalog.reset();
    figures.nFileBytes = static_cast<long long>(std::filesystem::file_size(strHostPath));
    figures.fdatasync = FlushSeconds(strProgramPath + ".flush");
    return figures;
}

/******************************************************************************
 * SQLite
 ******************************************************************************/

class CStatement {
public:
    CStatement(sqlite3* pDb, const char* pszSql)
    {
        if (sqlite3_prepare_v2(pDb, pszSql, -1, &m_pStatement, nullptr) != SQLITE_OK)
            Fail(sqlite3_errmsg(pDb));
    }
    ~CStatement() { sqlite3_finalize(m_pStatement); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    sqlite3_stmt* operator*() const { return m_pStatement; }
    // Runs a statement that returns no rows and readies it for the next run.
    void Run()
    {
        if (sqlite3_step(m_pStatement) != SQLITE_DONE)
            Fail(sqlite3_errmsg(sqlite3_db_handle(m_pStatement)));
        sqlite3_reset(m_pStatement);
    }

private:
    sqlite3_stmt* m_pStatement { nullptr };
};

void Execute(sqlite3* pDb, const char* pszSql)
{
    char* pszError = nullptr;
    if (sqlite3_exec(pDb, pszSql, nullptr, nullptr, &pszError) != SQLITE_OK) {
        Fail(pszError ? pszError : "sqlite: exec failed");
        sqlite3_free(pszError);
    }
}

sqlite3* OpenDatabase(const std::string& strHostPath)
{
    sqlite3* pDb = nullptr;
    if (sqlite3_open_v2(strHostPath.c_str(), &pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        Fail("sqlite: cannot open the database");
    return pDb;
}

// A table per record kind, with the columns of the catalog's records.
constexpr const char* SCHEMA = R"(
CREATE TABLE nodes(id INTEGER PRIMARY KEY, parent INTEGER, name TEXT, kind INTEGER, flags INTEGER);
CREATE TABLE directories(id INTEGER PRIMARY KEY, path TEXT, store_kind INTEGER, count INTEGER);
CREATE TABLE documents(id INTEGER PRIMARY KEY, directory INTEGER, type INTEGER, copy_id BLOB,
    name TEXT, description TEXT, secondary TEXT, expiry INTEGER, attributes INTEGER,
    version INTEGER, password TEXT, open_action INTEGER, catalog_time INTEGER);
CREATE TABLE links(id INTEGER PRIMARY KEY, node INTEGER, document INTEGER);
CREATE UNIQUE INDEX directories_path ON directories(path);
CREATE UNIQUE INDEX documents_path ON documents(directory, name);
CREATE INDEX links_node ON links(node);
CREATE INDEX nodes_parent ON nodes(parent);
)";

constexpr const char* FIRST_ROWS_SQL = "SELECT r.path, d.name, d.description, d.secondary FROM links l"
                                       " JOIN documents d ON d.id = l.document JOIN directories r ON r.id = d.directory"
                                       " WHERE l.node = ? ORDER BY l.id LIMIT ?";

std::size_t ReadRows(sqlite3_stmt* pStatement, int* pnRows)
{
    std::size_t nBytes = 0;
    *pnRows = 0;
    while (sqlite3_step(pStatement) == SQLITE_ROW) {
        ++*pnRows;
        for (int nColumn = 0; nColumn < sqlite3_column_count(pStatement); ++nColumn) {
            sqlite3_column_text(pStatement, nColumn);
            nBytes += static_cast<std::size_t>(sqlite3_column_bytes(pStatement, nColumn));
        }
    }
    sqlite3_reset(pStatement);
    return nBytes;
}

void BuildDatabase(sqlite3* pDb)
{
    Execute(pDb, SCHEMA);
    Execute(pDb, "BEGIN");
    {
        CStatement addNode(pDb, "INSERT INTO nodes(id, parent, name, kind, flags) VALUES(?, ?, ?, 2, 0)");
        int nId = 1;
        for (int nSystem = 0; nSystem < SYSTEM_COUNT; ++nSystem) {
            int nSystemId = nId++;
            std::string strName = "System " + std::to_string(nSystem);
            sqlite3_bind_int(*addNode, 1, nSystemId);
            sqlite3_bind_int(*addNode, 2, 0);
            sqlite3_bind_text(*addNode, 3, strName.c_str(), -1, SQLITE_TRANSIENT);
            addNode.Run();
            for (int nGroup = 0; nGroup < GROUPS_PER_SYSTEM; ++nGroup) {
                strName = "Group " + std::to_string(nGroup);
                // Groups take the ids 1000 + their index among the user nodes.
                sqlite3_bind_int(*addNode, 1, 1000 + nSystem * GROUPS_PER_SYSTEM + nGroup);
                sqlite3_bind_int(*addNode, 2, nSystemId);
                sqlite3_bind_text(*addNode, 3, strName.c_str(), -1, SQLITE_TRANSIENT);
                addNode.Run();
            }
        }

        // The same steps as the catalog: find or add the directory, find or
        // add the document, then link it.
        CStatement findDirectory(pDb, "SELECT id FROM directories WHERE path = ?");
        CStatement addDirectory(pDb, "INSERT INTO directories(path, store_kind, count) VALUES(?, 0, 0)");
        CStatement countDocument(pDb, "UPDATE directories SET count = count + 1 WHERE id = ?");
        CStatement findDocument(pDb, "SELECT id FROM documents WHERE directory = ? AND name = ?");
        CStatement addDocument(pDb,
            "INSERT INTO documents(directory, type, copy_id, name, description, secondary, expiry, attributes,"
            " version, password, open_action, catalog_time) VALUES(?, ?, ?, ?, ?, ?, 0, 0, 0, '', 0, ?)");
        CStatement addLink(pDb, "INSERT INTO links(node, document) VALUES(?, ?)");
        CDocumentInfo info;
        for (int nDocument = 0; nDocument < DocumentCount(); ++nDocument) {
            FillInfo(nDocument, &info);
            std::string strFolder = DirectoryPath(DirectoryOf(nDocument));
            sqlite3_bind_text(*findDirectory, 1, strFolder.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_int64 nDirectory = 0;
            if (sqlite3_step(*findDirectory) == SQLITE_ROW) {
                nDirectory = sqlite3_column_int64(*findDirectory, 0);
            } else {
                sqlite3_bind_text(*addDirectory, 1, strFolder.c_str(), -1, SQLITE_TRANSIENT);
                addDirectory.Run();
                nDirectory = sqlite3_last_insert_rowid(pDb);
            }
            sqlite3_reset(*findDirectory);

            sqlite3_bind_int64(*findDocument, 1, nDirectory);
            sqlite3_bind_text(*findDocument, 2, info.szName, -1, SQLITE_TRANSIENT);
            bool bFound = sqlite3_step(*findDocument) == SQLITE_ROW;
            sqlite3_reset(*findDocument);
            if (bFound) {
                Fail("sqlite: a document is there twice");
                return;
            }
            sqlite3_bind_int64(*addDocument, 1, nDirectory);
            sqlite3_bind_int(*addDocument, 2, info.wType);
            sqlite3_bind_blob(*addDocument, 3, info.id, sizeof(info.id), SQLITE_TRANSIENT);
            sqlite3_bind_text(*addDocument, 4, info.szName, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(*addDocument, 5, info.szDescription, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(*addDocument, 6, info.szSecondary, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(*addDocument, 7,
                static_cast<sqlite3_int64>(info.ftCatalogTime.dwHighDateTime) << 32 | info.ftCatalogTime.dwLowDateTime);
            addDocument.Run();
            sqlite3_int64 nDocumentId = sqlite3_last_insert_rowid(pDb);
            sqlite3_bind_int64(*countDocument, 1, nDirectory);
            countDocument.Run();
            sqlite3_bind_int(*addLink, 1, 1000 + NodeOf(nDocument));
            sqlite3_bind_int64(*addLink, 2, nDocumentId);
            addLink.Run();
        }
    }
    Execute(pDb, "COMMIT");
}

// Every document looked up by its path, in a scattered order.
void LookUpPaths(sqlite3* pDb)
{
    CStatement find(pDb,
        "SELECT d.* FROM documents d JOIN directories r ON r.id = d.directory"
        " WHERE r.path = ? AND d.name = ?");
    int nFound = 0;
    for (int nLookup = 0; nLookup < DocumentCount(); ++nLookup) {
        int nDocument = LookedUpDocument(nLookup);
        // The same split and lower-casing the catalog does.
        std::string strPath = DirectoryPath(DirectoryOf(nDocument)) + DocumentName(nDocument);
        for (char& ch : strPath)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        std::size_t nSlash = strPath.rfind('\\');
        sqlite3_bind_text(*find, 1, strPath.c_str(), static_cast<int>(nSlash + 1), SQLITE_TRANSIENT);
        sqlite3_bind_text(*find, 2, strPath.c_str() + nSlash + 1, -1, SQLITE_TRANSIENT);
        int nRows = 0;
        ReadRows(*find, &nRows);
        nFound += nRows;
    }
    if (nFound != DocumentCount())
        Fail("sqlite: a path lookup failed");
}

Figures RunSqlite(const std::string& strHostPath)
{
    Figures figures;
    sqlite3* pDb = OpenDatabase(strHostPath);
    figures.build = Seconds([&] { BuildDatabase(pDb); });

    figures.close = Seconds([&] { sqlite3_close(pDb); });
    figures.open = Seconds([&] {
        pDb = OpenDatabase(strHostPath);
        // Opening reads nothing; the first statement reads the schema.
        Execute(pDb, "SELECT count(*) FROM directories");
    });
    figures.reopen = figures.close + figures.open;

    figures.walk = Seconds([&] {
        CStatement walk(
            pDb, "SELECT d.* FROM links l JOIN documents d ON d.id = l.document WHERE l.node = ? ORDER BY l.id");
        std::size_t nDocuments = 0;
        for (int nNode = 0; nNode < NODE_COUNT; ++nNode) {
            sqlite3_bind_int(*walk, 1, 1000 + nNode);
            int nRows = 0;
            ReadRows(*walk, &nRows);
            nDocuments += static_cast<std::size_t>(nRows);
        }
        if (nDocuments != static_cast<std::size_t>(DocumentCount()))
            Fail("sqlite: the walk misses documents");
    });

    figures.lookup = Seconds([&] { LookUpPaths(pDb); });
    // The same lookups again with as much memory for pages as the catalog's
    // block cache has by default, which holds the whole smaller data set;
    // then the default again for the steps that follow.
    std::string strDefaultCache;
    {
        CStatement cacheSize(pDb, "PRAGMA cache_size");
        if (sqlite3_step(*cacheSize) == SQLITE_ROW)
            strDefaultCache = std::to_string(sqlite3_column_int64(*cacheSize, 0));
    }
    const int nCatalogKiB = CCatalogFile::CACHE_CHUNKS * 2 * BLOCK_SIZE / 1024;
    Execute(pDb, ("PRAGMA cache_size = -" + std::to_string(nCatalogKiB)).c_str());
    figures.lookupSameCache = Seconds([&] { LookUpPaths(pDb); });
    Execute(pDb, ("PRAGMA cache_size = " + strDefaultCache).c_str());

    figures.firstRows = Seconds([&] {
        CStatement rows(pDb, FIRST_ROWS_SQL);
        for (int nFetch = 0; nFetch < FIRST_ROWS_FETCHES; ++nFetch) {
            sqlite3_bind_int(*rows, 1, 1000 + FetchedNode(nFetch));
            sqlite3_bind_int(*rows, 2, FirstRowCount());
            int nRows = 0;
            ReadRows(*rows, &nRows);
            if (nRows != FirstRowCount())
                Fail("sqlite: a node lists too few documents");
        }
    });

    sqlite3_close(pDb);
    figures.nFileBytes = static_cast<long long>(std::filesystem::file_size(strHostPath));
    return figures;
}

double Ratio(double dPart, double dWhole)
{
    return dWhole > 0 ? dPart / dWhole : 0.0;
}

// The median of one figure over the rounds.
double Median(const std::vector<Figures>& rounds, double Figures::*pField)
{
    std::vector<double> values;
    for (const Figures& figures : rounds)
        values.push_back(figures.*pField);
    return MedianOf(values);
}

// One step's median seconds on the three sides and the catalog's ratios to SQLite.
void Print(const char* pszStep, double Figures::*pField, const std::vector<Figures>& catalog,
    const std::vector<Figures>& other, int nOtherChunks, const std::vector<Figures>& sqlite)
{
    double dCatalog = Median(catalog, pField);
    double dOther = Median(other, pField);
    double dSqlite = Median(sqlite, pField);
    std::printf("catalog_%s_s: %.3f\n", pszStep, dCatalog);
    std::printf("catalog_cache%d_%s_s: %.3f\n", nOtherChunks, pszStep, dOther);
    std::printf("sqlite_%s_s: %.3f\n", pszStep, dSqlite);
    std::printf("ratio_%s: %.2f\n", pszStep, Ratio(dCatalog, dSqlite));
    std::printf("ratio_cache%d_%s: %.2f\n", nOtherChunks, pszStep, Ratio(dOther, dSqlite));
}

}

int main(int argc, char** argv)
{
    const int nDocuments = argc > 1 ? std::atoi(argv[1]) : DocumentCount();
    const int nRounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const int nOtherChunks = argc > 3 ? std::atoi(argv[3]) : 512;
    const int nSmallDocuments = argc > 4 ? std::atoi(argv[4]) : 0;
    if (!SetDocumentCount(nDocuments) || nRounds < 1 || nOtherChunks < 1
        || (nSmallDocuments != 0 && !SetDocumentCount(nSmallDocuments))) {
        std::fprintf(stderr,
            "usage: catalog_bench [documents (a multiple of 500) [rounds [cache chunks [smaller documents]]]]\n");
        return 1;
    }
    const ScratchFolder scratch("catalog_bench.");
    if (!scratch.IsValid()) {
        std::perror("catalog_bench: mkdtemp");
        return 1;
    }
    const std::filesystem::path& folder = scratch.Path();
    BeginFailureReports("catalog_bench");

    const std::string strCatalogHost = (folder / "archiv.cat").string();
    const std::string strOtherHost = (folder / "other.cat").string();
    const std::string strDatabase = (folder / "archiv.db").string();
    auto runRounds = [&](std::vector<Figures>* pCatalog, std::vector<Figures>* pOther, std::vector<Figures>* pSqlite) {
        for (int nRound = 0; nRound < nRounds && !HasFailed(); ++nRound) {
            pCatalog->push_back(
                RunCatalog(ProgramPathFromHostPath(strCatalogHost), strCatalogHost, CCatalogFile::CACHE_CHUNKS));
            pOther->push_back(RunCatalog(ProgramPathFromHostPath(strOtherHost), strOtherHost, nOtherChunks));
            std::filesystem::remove(strDatabase);
            pSqlite->push_back(RunSqlite(strDatabase));
        }
    };
    std::vector<Figures> smallCatalog, smallOther, smallSqlite;
    if (nSmallDocuments != 0) {
        runRounds(&smallCatalog, &smallOther, &smallSqlite);
        SetDocumentCount(nDocuments);
    }
    std::vector<Figures> catalog, other, sqlite;
    runRounds(&catalog, &other, &sqlite);
    if (HasFailed())
        return 1;

    std::printf("documents: %d\ndirectories: %d\nnodes: %d\nrounds: %d\n", DocumentCount(), DirectoryCount(),
        NODE_COUNT, nRounds);
    std::printf("catalog_cache_chunks: %d\n", CCatalogFile::CACHE_CHUNKS);
    Print("build", &Figures::build, catalog, other, nOtherChunks, sqlite);
    Print("reopen", &Figures::reopen, catalog, other, nOtherChunks, sqlite);
    Print("close", &Figures::close, catalog, other, nOtherChunks, sqlite);
    Print("open", &Figures::open, catalog, other, nOtherChunks, sqlite);
    Print("walk", &Figures::walk, catalog, other, nOtherChunks, sqlite);
    Print("lookup", &Figures::lookup, catalog, other, nOtherChunks, sqlite);
    Print("first_rows", &Figures::firstRows, catalog, other, nOtherChunks, sqlite);
    for (auto [pszStep, pField] : { std::pair { "walk", &Figures::walk }, std::pair { "lookup", &Figures::lookup } }) {
        std::printf("ratio_default_to_cache%d_%s: %.2f\n", nOtherChunks, pszStep,
            Ratio(Median(catalog, pField), Median(other, pField)));
    }
    if (nSmallDocuments != 0) {
        // The cost of one lookup on each data set, and how much it grew: the
        // catalog with its default cache against SQLite with its default page
        // cache (2 MiB) and with one as large as the catalog's; the catalog
        // with the other cache against SQLite's default.
        auto perLookup = [](const std::vector<Figures>& rounds, double Figures::*pField, int nLookups) {
            return Median(rounds, pField) / nLookups * 1e6;
        };
        auto growth = [&](const std::vector<Figures>& small, const std::vector<Figures>& large, double Figures::*pField,
                          const std::string& strName) {
            const double dSmall = perLookup(small, pField, nSmallDocuments);
            const double dLarge = perLookup(large, pField, nDocuments);
            std::printf("%s_lookup_us_at_%d: %.2f\n", strName.c_str(), nSmallDocuments, dSmall);
            std::printf("%s_lookup_us_at_%d: %.2f\n", strName.c_str(), nDocuments, dLarge);
            std::printf("%s_lookup_growth: %.2f\n", strName.c_str(), Ratio(dLarge, dSmall));
            return Ratio(dLarge, dSmall);
        };
        const double dCatalogGrowth = growth(smallCatalog, catalog, &Figures::lookup, "catalog");
        const double dOtherGrowth
            = growth(smallOther, other, &Figures::lookup, "catalog_cache" + std::to_string(nOtherChunks));
        const double dSqliteGrowth = growth(smallSqlite, sqlite, &Figures::lookup, "sqlite");
        const double dSameCacheGrowth = growth(smallSqlite, sqlite, &Figures::lookupSameCache, "sqlite_same_cache");
        std::printf("ratio_lookup_growth: %.2f\n", Ratio(dCatalogGrowth, dSqliteGrowth));
        std::printf("ratio_same_cache_lookup_growth: %.2f\n", Ratio(dCatalogGrowth, dSameCacheGrowth));
        std::printf("ratio_cache%d_lookup_growth: %.2f\n", nOtherChunks, Ratio(dOtherGrowth, dSqliteGrowth));
    }
    const double dAction = Median(catalog, &Figures::action);
    const double dFlush = Median(catalog, &Figures::fdatasync);
    std::printf("catalog_user_action_ms: %.3f\n", dAction * 1000);
    std::printf("fdatasync_block_ms: %.3f\n", dFlush * 1000);
    std::printf("ratio_user_action_fdatasync: %.2f\n", Ratio(dAction, dFlush));
    const long long nCatalogBytes = catalog.back().nFileBytes;
    const long long nSqliteBytes = sqlite.back().nFileBytes;
    std::printf("catalog_file_bytes: %lld\n", nCatalogBytes);
    std::printf("sqlite_file_bytes: %lld\n", nSqliteBytes);
    std::printf(
        "ratio_file_bytes: %.2f\n", Ratio(static_cast<double>(nCatalogBytes), static_cast<double>(nSqliteBytes)));
    return 0;
}
