#pragma once

// The continuation of a document's name (table 3): the part of a name longer
// than the document record's name field. A document has one only while its
// name does not fit that field; the record names it.

#include "store/CCatalogRecord.h"

#include <string>
#include <string_view>

class CCatalogFile;

class CLocationRec : public CCatalogRecord {
public:
    /* Record layout (204 bytes, 9 to a block). */
    static constexpr int RECORD_SIZE = 204;
    static constexpr int OFF_TEXT = 0; // the rest of the name, NUL-terminated; zero after it
    static constexpr int TEXT_SIZE = RECORD_SIZE;

    CLocationRec(CCatalogFile* pDatabase, CRecordRef ref);

    // The rest of the name, up to its NUL or the record's end.
    std::string GetText() const;
    // Stores strText, which must be shorter than TEXT_SIZE, zero-padded.
    void SetText(std::string_view text);
};
