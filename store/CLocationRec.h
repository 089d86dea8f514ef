#pragma once

// A piece of the continuation of a document's texts (table 3). A document
// keeps its texts packed into one run of bytes; what does not fit in the
// document record continues in a list of these pieces, linked through their
// next references from the document record's location reference.

#include "store/CCatalogRecord.h"

#include <span>

class CCatalogFile;

class CLocationRec : public CCatalogRecord {
public:
    /* Record layout (125 bytes, 16 to a block). */
    static constexpr int RECORD_SIZE = 125;
    static constexpr int OFF_NEXT = 0;  // ref: the next piece, none for the last
    static constexpr int OFF_BYTES = 8; // the next bytes of the packed texts; zero after their end
    static constexpr int BYTES_SIZE = RECORD_SIZE - OFF_BYTES;

    CLocationRec(CCatalogFile* pDatabase, CRecordRef ref);

    CRecordRef GetNext() const;
    void SetNext(CRecordRef next);
    std::span<const BYTE> GetBytes() const { return GetData().subspan(OFF_BYTES); }
    std::span<BYTE> GetBytes() { return GetData().subspan(OFF_BYTES); }
};
