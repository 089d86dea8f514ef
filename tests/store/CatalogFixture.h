#pragma once

// Builders and probes shared by the catalog file tests: a catalog in the
// test's program folder, a sample catalog with several chains, a recorder of
// fatal catalog errors, and byte-level access to the file for damaging it.

#include "store/CCatalogFile.h"
#include "store/CatalogError.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Record sizes of the tables the tests use, indexed by table type.
extern const std::vector<int> g_testRecordSizes;

// Records every fatal catalog error reported while it lives.
class CatalogErrorRecorder {
public:
    struct Report {
        std::string strFileName;
        std::string strText;
        std::string strTitle;
        UINT nStyle;
    };

    CatalogErrorRecorder();
    ~CatalogErrorRecorder();
    CatalogErrorRecorder(const CatalogErrorRecorder&) = delete;
    CatalogErrorRecorder& operator=(const CatalogErrorRecorder&) = delete;

    std::vector<Report> Reports() const;
    std::size_t Count() const { return Reports().size(); }

private:
    CatalogErrorHandler m_pfnPrevious;
};

// The references of a chain's used records, in chain order.
std::vector<CRecordRef> ChainRefs(CCatalogFile& file, CATBLOCK nFirst);

// The chains of the sample catalog (see CatalogFileTest::BuildSample).
struct SampleCatalog {
    CATBLOCK nNodes { NO_BLOCK };     // table 0, 3 records in one block
    CATBLOCK nDocuments { NO_BLOCK }; // table 2, 20 records over 3 blocks, owned by node (nNodes, 1)
    CATBLOCK nLinks { NO_BLOCK };     // table 5, 5 records, owned by node (nNodes, 2)
    CATBLOCK nEmpty { NO_BLOCK };     // table 6, no records
};

// A program folder with catalog files in it.
class CatalogFileTest : public ProgramFolderTest {
protected:
    void SetUp() override;

    // The program path and the host path of a file in the program folder.
    std::string ProgramPath(const std::string& strName) const;
    std::filesystem::path HostPath(const std::string& strName) const { return Home() / strName; }

    // A new, empty catalog file, created and opened once.
    std::unique_ptr<CCatalogFile> NewCatalog(const std::string& strName = "test.cat", LONG nKind = CATALOG_KIND_MAIN);
    // An unopened catalog object for a file of the program folder.
    std::unique_ptr<CCatalogFile> OpenObject(
        const std::string& strName = "test.cat", int nCacheChunks = CCatalogFile::CACHE_CHUNKS);
    // Fills a new catalog with the chains of SampleCatalog; each record's bytes
    // are all the record's number within its chain plus 1. The file is left open.
    SampleCatalog BuildSample(CCatalogFile& file);

    // Allocates a record of the chain and fills it with bFill.
    CRecordRef AddRecord(CCatalogFile& file, LONG nTableType, CATBLOCK nFirst, BYTE bFill, CRecordRef owner = {});
    // Every used record of a chain, in chain order, as NextRecord walks it;
    // stops at the first failure.
    std::vector<std::vector<BYTE>> ReadChain(CCatalogFile& file, CATBLOCK nFirst, LONG nTableType);
    // Every chain reachable from every first block of the file, concatenated:
    // a picture of the whole file's records for before/after comparisons.
    std::vector<std::vector<BYTE>> ReadAll(CCatalogFile& file);

    /* Raw bytes of a file in the program folder. */
    std::vector<BYTE> FileBytes(const std::string& strName = "test.cat") const;
    void WriteFileBytes(const std::vector<BYTE>& bytes, const std::string& strName = "test.cat") const;
    // Overwrites one 32-bit field or one byte at a byte offset of the file.
    void PokeLong(std::int64_t nOffset, LONG nValue, const std::string& strName = "test.cat") const;
    void PokeByte(std::int64_t nOffset, BYTE bValue, const std::string& strName = "test.cat") const;

    static std::int64_t BlockOffset(CATBLOCK nBlock) { return FILE_HEADER_SIZE + std::int64_t { nBlock } * BLOCK_SIZE; }

    CatalogErrorRecorder m_errors;
};
