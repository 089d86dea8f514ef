#pragma once

// The recently-catalogued list (table 20): one record in the root chain of
// block 13 with up to MAX_ENTRIES references to documents, the most recent
// first. CCatalog::CreateFile makes the record.

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

    // The list of pCatalog, loaded; nLimit caps what GetCount reports (the
    // user's "most recents" setting, 1 to MAX_ENTRIES).
    explicit CRecentList(CCatalog* pCatalog, int nLimit = MAX_ENTRIES);

    // The number of entries, at most the limit.
    int GetCount() const;
    // A new document object for entry i, owned by the caller; null for an
    // empty entry, one past the count, or a document that is gone.
    CDocumentRec* CreateItemObject(int i) const;
    // Puts the document first, dropping an older entry of it and the entries
    // past MAX_ENTRIES.
    BOOL AddEntry(const CDocumentRec& document);

    // Fills a new list record: no entries.
    static void InitRecord(std::span<BYTE> data);

private:
    // The list's record: the first of block 13's chain.
    static CRecordRef FindRecord(CCatalog* pCatalog);

    CCatalog* const m_pCatalog;
    const int m_nLimit;
    bool m_bValid { false };
};
