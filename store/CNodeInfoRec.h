#pragma once

// The node information structure and the table-1 record that keeps a node's
// information text and search-type word.

#include "store/CCatalogRecord.h"

#include "platform/base/CString.h"

class CCatalog;

// A node's information as callers read and write it in one piece: the fields
// of its node record followed by those of its information record. 592 bytes.
struct CNodeInfo {
    char szName[32];  // NUL-terminated, cut at a character boundary
    LONG nKind;       // image index of a top-level node; the block number of a fixed node
    LONG nFlags;      // bit 0 of the root: the catalog is not set up yet
    char szInfo[550]; // the information text, NUL-terminated
    WORD wSearchType; // low byte: the search-type mask
};
static_assert(sizeof(CNodeInfo) == 592);

// Fills *pInfo with the defaults of a new node: empty name and text, every number 0.
void MakeDefaultNames(CNodeInfo* pInfo);

// A table-1 record: the information text and the search-type word of one node.
class CNodeInfoRec : public CCatalogRecord {
public:
    static constexpr int RECORD_SIZE = 554;
    static constexpr int OFF_TEXT = 0; // char[550]
    static constexpr int TEXT_SIZE = 550;
    static constexpr int OFF_SEARCH = 550; // u16 search-type word
    static constexpr int OFF_PLACE = 552;  // u16: the root's record keeps the catalog's place choice; else 0

    // A handle on the record at ref; nothing is read until Load.
    CNodeInfoRec(CCatalog* pCatalog, CRecordRef ref);

    CString GetText() const;
    void SetText(LPCTSTR pszText);
    WORD GetSearchType() const;
    void SetSearchType(WORD wSearchType);
    WORD GetPlaceChoice() const;
    void SetPlaceChoice(WORD wPlace);
};
