#pragma once

// A document link (table 5). The link lies in a chain owned by the node that
// holds the document, and the links of one document form a list through their
// next references, starting at the document record.

#include "store/CCatalogRecord.h"

class CCatalogFile;

class CLinkRec : public CCatalogRecord {
public:
    /* Record layout (16 bytes). */
    static constexpr int RECORD_SIZE = 16;
    static constexpr int OFF_DOCUMENT = 0; // the linked document
    static constexpr int OFF_NEXT = 8;     // the document's next link, none at the end

    // A cursor on the link at (nBlock, nSlot), loaded.
    CLinkRec(CCatalogFile* pDatabase, CATBLOCK nBlock, LONG nSlot);

    BOOL IsValid() const { return m_bValid; }
    CRecordRef GetDocument() const;
    void SetDocument(CRecordRef document);
    CRecordRef GetNext() const;
    void SetNext(CRecordRef next);
    // The node that holds the link: the owner of its block; none when unreadable.
    CRecordRef GetNode() const;

private:
    bool m_bValid { false };
};
