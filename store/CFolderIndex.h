#pragma once

// The folder index ("winsch.cat"): the paths of the documents the last search
// found, grouped by folder, and the criteria that search used. It is a paged
// file of the catalog's format (kind CATALOG_KIND_FOLDER_INDEX) with three
// tables: folders in the root chain of block 0, each with a chain of entries
// owned by it, and one criteria record in block 1. store/FORMAT.md draws the
// records.
//
// The search writes the index anew each time and the search-results window
// walks it, so it is a scratch file: written without a journal or a flush,
// which on a machine whose disk is busy would cost the search more than its
// reading of the catalog. A file that cannot be read leaves the index closed
// (IsOpen FALSE) and every call fails soft.

#include "store/CCatalogFile.h"
#include "store/ListFilter.h"

class CFolderIndex : public CCatalogFile {
public:
    /* Tables. */
    static constexpr LONG TABLE_FOLDER = 0;
    static constexpr LONG TABLE_ENTRY = 1;
    static constexpr LONG TABLE_CRITERIA = 2;
    static constexpr CATBLOCK ROOT_BLOCK_FOLDER = 0;
    static constexpr CATBLOCK ROOT_BLOCK_CRITERIA = 1;

    /* Folder record (272 bytes). */
    static constexpr int FOLDER_SIZE = 272;
    static constexpr int OFF_FOLDER_PATH = 0; // char[264], ending with a backslash
    static constexpr int FOLDER_PATH_SIZE = 264;
    static constexpr int OFF_FOLDER_ENTRIES = 264; // block: the first block of the entry chain
    static constexpr int OFF_FOLDER_COUNT = 268;   // i32: the number of entries

    /* Entry record (268 bytes). */
    static constexpr int ENTRY_SIZE = 268;
    static constexpr int OFF_ENTRY_PATH = 0; // char[260]: the path below the folder
    static constexpr int ENTRY_PATH_SIZE = 260;
    static constexpr int OFF_ENTRY_DOCUMENT = 260; // ref: the document in the main catalog, none when not catalogued

    /* Criteria record: the 18 words of the list filter (a condition's value
       word is 1 when it has a value), then for each condition its value:
       two 64-bit numbers and a 64-byte text. */
    static constexpr int OFF_CRITERIA_VALUES = LIST_FILTER_WORDS * 4;
    static constexpr int CRITERIA_VALUE_SIZE = 8 + 8 + 64;
    static constexpr int CRITERIA_SIZE = OFF_CRITERIA_VALUES + LIST_FILTER_CONDITIONS * CRITERIA_VALUE_SIZE;

    // Opens the index at the program path pszPath and keeps one reference;
    // with nFlag 1 a new, empty index replaces whatever was there.
    CFolderIndex(LPCTSTR pszPath, int nFlag);

    BOOL IsOpen() const { return GetOpenCount() > 0; }

    /* Writing. */

    // Adds a folder (lower-cased, a backslash added) and returns its record.
    BOOL AddFolder(LPCTSTR pszFolder, CRecordRef* pFolder);
    // Adds an entry to a folder: its path below the folder and its document.
    BOOL AddEntry(CRecordRef folder, LPCTSTR pszPath, CRecordRef document);
    // Stores the criteria the search used. Texts longer than 63 bytes are cut.
    BOOL SetCriteria(const CListFilter& filter);

    /* Walking. A folder or entry cursor is its record reference; none ends. */

    CRecordRef FirstFolder();
    CRecordRef NextFolder(CRecordRef folder);
    CString GetFolderPath(CRecordRef folder);
    CRecordRef FirstEntry(CRecordRef folder);
    CRecordRef NextEntry(CRecordRef entry);
    // The folder's path followed by the entry's path; empty on damage.
    CString BuildFolderPath(CRecordRef folder, CRecordRef entry);
    CRecordRef GetEntryDocument(CRecordRef entry);
    // Reads the stored criteria into *pFilter (its old values freed); FALSE on damage.
    BOOL GetCriteria(CListFilter* pFilter);

private:
    [[nodiscard]] BOOL WriteEmptyIndex();
    // The first block of a folder's entry chain, checked to be owned by it.
    [[nodiscard]] BOOL GetEntryChain(CRecordRef folder, std::vector<BYTE>* pRecord, CATBLOCK* pnFirst);
    // The next used record after cursor in its chain, none at the end.
    CRecordRef NextInChain(CRecordRef cursor);
};
