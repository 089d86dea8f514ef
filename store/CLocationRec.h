#pragma once

// The continuation of a document's texts (table 3): what does not fit in the
// document record's name, description and secondary-text fields. A document
// has one when any of its texts is longer than its field.

#include "store/CCatalogRecord.h"

#include "platform/base/CString.h"

class CCatalogFile;

class CLocationRec : public CCatalogRecord {
public:
    /* Record layout (600 bytes): three NUL-terminated texts of 200 bytes. */
    static constexpr int RECORD_SIZE = 600;
    static constexpr int TEXT_SIZE = 200;
    static constexpr int TEXT_COUNT = 3; // name, description, secondary text

    CLocationRec(CCatalogFile* pDatabase, CRecordRef ref);

    // The continuation of text nText (0 name, 1 description, 2 secondary text).
    CString GetText(int nText) const;
    void SetText(int nText, LPCTSTR pszText);
};
