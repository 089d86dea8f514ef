#pragma once

// The recently-catalogued list (table 20): one record in the root chain of
// block 13 with up to MAX_ENTRIES references to documents, the most recent
// first. CCatalog::CreateFile makes the record. The list shows as many
// entries as the preference "MostRecents" asks, read at each count, and
// keeps MAX_ENTRIES, so that raising the preference brings older ones back.

#include "store/CCatalogRecord.h"

#include <span>

class CCatalog;
class CDocumentRec;

class CRecentList : public CCatalogRecord {
public:
    /* Record layout (404 bytes). */
    static constexpr int MAX_ENTRIES = 50;
    static constexpr int OFF_COUNT = 0;
    static constexpr int OFF_ENTRIES = 4; // MAX_ENTRIES refs
    static constexpr int RECORD_SIZE = OFF_ENTRIES + MAX_ENTRIES * 8;

    // The list of pCatalog, loaded.
    explicit CRecentList(CCatalog* pCatalog);

    // The number of entries shown: those kept, at most "MostRecents".
    int GetCount() const;
    // The number of entries kept, whatever "MostRecents" says; for copying the list whole.
    int GetStoredCount() const;
    // A new document object for entry i (counted from 0 below
    // GetStoredCount), owned by the caller; null for an empty entry, an index
    // out of range, or a document that is gone.
    CDocumentRec* CreateItemObject(int i) const;
    // Puts the document first, dropping an older entry of it and the entries
    // past MAX_ENTRIES.
    BOOL AddEntry(const CDocumentRec& document);
    // Puts the documents of refs first, the last one given first: the list
    // AddEntry would leave for each in turn, written once.
    BOOL AddEntries(std::span<const CRecordRef> refs);

    // Fills a new list record: no entries.
    static void InitRecord(std::span<BYTE> data);

private:
    // The list's record: the first of block 13's chain.
    static CRecordRef FindRecord(CCatalog* pCatalog);

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
};
