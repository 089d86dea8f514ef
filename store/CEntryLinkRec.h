#pragma once

// A link between a node and a keyword (table 8) or a node folder (table 11).
// Each link is kept twice, so that both sides can list theirs: once in a
// chain owned by the entry, naming the node and the node's kind, and once in
// a chain owned by the node, naming the entry. The first block of each chain
// lies in a block field of its owner's record (-1 while it has none).

#include "store/CCatalogRecord.h"

#include <vector>

class CCatalog;

class CEntryLinkRec : public CCatalogRecord {
public:
    /* Record layout (16 bytes). */
    static constexpr int RECORD_SIZE = 16;
    static constexpr int OFF_TARGET = 0; // ref: the node (entry side) or the entry (node side)
    static constexpr int OFF_KIND = 8;   // u16: the node's kind on the entry side, 0 on the node side

    // A cursor on the link of nLinkTable at ref, loaded.
    CEntryLinkRec(CCatalog* pCatalog, LONG nLinkTable, CRecordRef ref);

    BOOL IsValid() const { return m_bValid; }
    CRecordRef GetTarget() const;
    WORD GetKind() const;

private:
    bool m_bValid { false };
};

// One side's chain of links: the record whose block field starts it.
struct CEntryLinkChain {
    CRecordRef owner; // a node, a keyword or a node folder
    LONG nOwnerTable; // TABLE_NODE, TABLE_KEYWORD or TABLE_NODE_FOLDER
    int nOffset;      // the owner's field holding the chain's first block
    LONG nLinkTable;  // TABLE_KEYWORD_LINK or TABLE_NODE_FOLDER_LINK
};

// The used links of a chain in chain order; FALSE on damage (a chain that is
// not the owner's, an unreadable link).
[[nodiscard]] BOOL ListEntryLinks(CCatalog* pCatalog, const CEntryLinkChain& chain, std::vector<CEntryLinkRec>* pLinks);
// Adds a link naming target to the chain, starting the chain when needed.
[[nodiscard]] BOOL AddEntryLink(CCatalog* pCatalog, const CEntryLinkChain& chain, CRecordRef target, WORD wKind);
// Frees the links of the chain that name target, or all of them when target is none.
[[nodiscard]] BOOL RemoveEntryLinks(CCatalog* pCatalog, const CEntryLinkChain& chain, CRecordRef target);

// The entry-side chain of a keyword or node folder, and the node-side chain of
// a node, for the links of nLinkTable.
CEntryLinkChain EntryLinkChainOfEntry(LONG nLinkTable, CRecordRef entry);
CEntryLinkChain EntryLinkChainOfNode(LONG nLinkTable, CRecordRef node);

// Removes every link of the keyword or node folder entry from both sides;
// the caller then deletes the entry.
[[nodiscard]] BOOL UnlinkEntryFromNodes(CCatalog* pCatalog, LONG nEntryTable, CRecordRef entry);
