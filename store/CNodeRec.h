#pragma once

// A cursor on one node of the catalog's tree of systems and groups (table 0).
// The root is (0, 0); slot 0 of blocks 1 to 4 holds the fixed nodes: 1 the
// expiring-documents node, 2 the favourites node, 3 the systems root (which
// also takes documents that belong to no system) and 4 the second special
// top-level node. The children of a node live in a chain of table-0 blocks
// owned by the node; its document links in a chain of table-5 blocks owned by
// the node.
//
// Cursors are made and owned by the caller; every function returning a new
// cursor or object returns null when the record cannot be read. A damaged
// reference (a child chain owned by another node, a link to a freed document)
// makes the call fail soft and, where the file contradicts itself, reports
// the fatal catalog error. The caller holds a reference on the catalog.

#include "store/CCatalogRecord.h"
#include "store/CKeywordRec.h"
#include "store/CNodeFolderRec.h"
#include "store/CNodeInfoRec.h"

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"

#include <functional>
#include <memory>
#include <vector>

class CCatalog;
class CDocumentRec;
class CNodeRec;
class CTextEntryRec;
struct CListFilter;

using CNodeRecArray = std::vector<std::unique_ptr<CNodeRec>>;
using CDocumentRecArray = std::vector<std::unique_ptr<CDocumentRec>>;
using CKeywordRecArray = std::vector<std::unique_ptr<CKeywordRec>>;
using CNodeFolderRecArray = std::vector<std::unique_ptr<CNodeFolderRec>>;

// The records a query found, with the title its criteria named.
struct CDocumentSet {
    CDocumentRecArray documents;
    LONG nTitleID { 0 }; // a string ID naming the set, from the criteria

    int GetCount() const { return static_cast<int>(documents.size()); }
};

// The criteria block of CNodeRec::Query, six 32-bit words:
//   [0] records: 1 documents (the only kind);
//   [1] test: 0 every document, 1 the expiry date;
//   [2] reach: 0 the node's own documents, 1 with those of its descendants;
//   [3] state: 1 the expiry date has passed, 2 the document is new (the
//       states EXPIRY_PASSED and EXPIRY_NEW of CDocumentRec::GetRecordState);
//   [4] order: 0 link order, 1 by expiry date, the oldest first;
//   [5] the string ID of the set's title.
// {1, 1, 0, 1, 1, 4071} on the expiring-documents node gives the expired documents.
constexpr int QUERY_WORDS = 6;

// How a list of records is sorted: a column, the direction and whether sizes
// count in kilobytes. Nodes sort by name whatever the column.
struct CSortSpec {
    LONG nColumn;    // a column ID (CatalogColumns.h)
    LONG bAscending; // 0 reverses the order
    LONG bSizeInKB;
};

class CNodeRec : public CCatalogRecord {
public:
    /* Record layout (64 bytes). */
    static constexpr int RECORD_SIZE = 64;
    static constexpr int OFF_NAME = 0; // char[32]
    static constexpr int NAME_SIZE = 32;
    static constexpr int OFF_KIND = 32;
    static constexpr int OFF_FLAGS = 36;
    static constexpr int OFF_CHILD_BLOCK = 40;   // first block of the child chain, NO_BLOCK when none
    static constexpr int OFF_LINK_BLOCK = 44;    // first block of the document-link chain
    static constexpr int OFF_INFO_REF = 48;      // the node-information record, none when the node has no text
    static constexpr int OFF_KEYWORD_BLOCK = 56; // first block of the keyword-link chain
    static constexpr int OFF_FOLDER_BLOCK = 60;  // first block of the folder-link chain

    // Flag bit of the root node: the catalog has not been set up yet.
    static constexpr LONG ROOT_NOT_SET_UP = 0x1;
    // The blocks of the fixed nodes (slot 0 of each).
    static constexpr CATBLOCK FIXED_NODE_LAST = 4;
    static constexpr CATBLOCK EXPIRING_NODE_BLOCK = 1;   // every document with an expiry date
    static constexpr CATBLOCK FAVOURITES_NODE_BLOCK = 2; // the user's favourites
    static constexpr CATBLOCK SYSTEMS_NODE_BLOCK = 3;    // the systems root

    // A cursor on the node at (nBlock, nSlot), loaded; IsValid tells whether it could be.
    CNodeRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
    // A cursor on the fixed node of kind nKind (0 the root, 1 to 4 the fixed nodes).
    CNodeRec(CCatalog* pCatalog, LONG nKind);

    BOOL Load() override;
    BOOL IsValid() const { return m_bValid; }
    CCatalog* GetCatalog() const { return m_pCatalog; }

    // Cursors on the root and the fixed nodes of blocks 2, 3 and 4.
    static CNodeRec* NewRootNodeRec(CCatalog* pCatalog);
    static CNodeRec* NewTopNodeRec2(CCatalog* pCatalog);
    static CNodeRec* NewTopNodeRec3(CCatalog* pCatalog);
    static CNodeRec* NewTopNodeRec4(CCatalog* pCatalog);
    CNodeRec* Clone() const;

    /* Fields. */
    CString GetName() const;
    LONG GetKind() const;
    LONG GetFlags() const;
    // The root, or a fixed node of blocks 1 to 4.
    BOOL IsFixedNode() const;
    // The same for a reference to a node, and whether it is the root itself.
    static bool IsFixedNodeRef(CRecordRef node);
    static bool IsRootRef(CRecordRef node);
    // TRUE while the node's record is still a used node record carrying the
    // name this cursor read: a stored reference still names the same node.
    BOOL GetChildrenFiltered() const;

    /* The tree. */

    // The owner of the node's block, when its child chain holds that block: null
    // for the root and the fixed nodes, and for a node outside the tree; the
    // root for a top-level system.
    CNodeRec* GetParent() const;
    // The node's ancestors, the root first, the parent last.
    CNodeRecArray GetAncestors() const;
    // The names of the ancestors below the root, then the node's own name.
    void GetPathNames(CStringArray& names) const;
    CNodeRec* GetFirstChild() const;
    CNodeRecArray GetChildren() const;
    // The children sorted by name (binary insertion) with pSpec, in catalog order without.
    CNodeRecArray GetSortedChildren(const CSortSpec* pSpec) const;
    // The child whose name equals pszName exactly, or null.
    CNodeRec* FindChildByName(LPCTSTR pszName) const;
    // The child named in info, created with the info's kind, flags and texts
    // when there is none.
    CNodeRec* FindOrAddChild(const CNodeInfo& info);
    // A new child at the end of the child chain, with the info's name, kind,
    // flags and texts, whatever children of that name there are already.
    CNodeRec* AddChild(const CNodeInfo& info);
    int CountChildren() const;
    // The node with this node's path of names in pTarget, made where missing
    // with the information of this node and its ancestors. A fixed node maps to
    // the fixed node of the same block, and so does the top of a path under one.
    CNodeRec* FindOrAddPathIn(CCatalog* pTarget) const;

    /* Documents. */

    // The documents linked to the node, counted and listed in link order. A
    // link counts only when the document lists it back: dangling links and
    // links only one side knows are skipped. With nMaxCount of 0 or more, the
    // walk stops after that many.
    int CountDocuments() const;
    CDocumentRecArray GetDocuments(int nMaxCount = -1) const;
    // The same documents one at a time, for a pass that keeps none of them:
    // visit sees each until it returns false. Those before damage in the
    // chain are seen; FALSE on damage.
    [[nodiscard]] BOOL ForEachDocument(const std::function<bool(const CDocumentRec&)>& visit) const;
    // As ForEachDocument, but only the documents wanted takes (by their
    // records) are read and seen; the others are passed over unread. wanted
    // runs under the file's lock, so it must not call the file.
    [[nodiscard]] BOOL ForEachDocument(
        const std::function<bool(CRecordRef)>& wanted, const std::function<bool(const CDocumentRec&)>& visit) const;
    // With no filter, TRUE when a document is linked; with one, TRUE when a
    // linked document passes it.
    BOOL HasDocuments(const CListFilter* pFilter) const;
    // The documents that pass the filter (all without one), sorted by the key
    // (in link order without one).
    CDocumentRecArray GetFilteredDocuments(const CSortSpec* pSpec, const CListFilter* pFilter) const;
    CDocumentRecArray GetDocumentSet(const CSortSpec* pSpec, const CListFilter* pFilter) const;
    // The documents a criteria block asks for (QUERY_WORDS words, described
    // there); null for a block this catalog does not know.
    CDocumentSet* Query(const LONG* pCriteria, int nWords) const;
    // Links the document to the node (once) and updates the document record.
    BOOL AddDocument(CDocumentRec* pDocument);
    // Removes the links between the node and the document.
    BOOL DeleteLinks(CDocumentRec* pDocument);
    // Deletes the children (recursively), the document links, the information
    // record and the node record. Only with bRecursive TRUE; refused for the
    // root and the fixed nodes.
    BOOL DeleteSubtree(BOOL bRecursive);

    /* Keywords and node folders. A node is linked to each at most once. */

    // The keywords and node folders linked to the node, in link order.
    CKeywordRecArray GetKeywords() const;
    CNodeFolderRecArray GetNodeFolders() const;
    BOOL LinkKeyword(const CKeywordRec* pKeyword);
    BOOL RemoveKeywordLink(const CKeywordRec* pKeyword);
    // Removes every keyword link of the node.
    BOOL UnlinkKeywords();
    BOOL LinkNodeFolder(const CNodeFolderRec* pFolder);
    BOOL RemoveNodeFolderLink(const CNodeFolderRec* pFolder);
    BOOL UnlinkNodeFolders();

    /* Node information. */

    // Fills *pInfo from the node record and its information record; returns pInfo.
    CNodeInfo* GetInfo(CNodeInfo* pInfo) const;
    CNodeInfo* GetInfoText(CNodeInfo* pInfo) const { return GetInfo(pInfo); }
    // Writes the name, kind and flags into the node record and the text and
    // search-type word into its information record (made when first needed).
    BOOL UpdateInfo(CNodeInfo info);
    CString GetInfoString() const;
    WORD GetInfoWord() const;

private:
    friend class CCatalog;
    friend class CDocumentRec;

    // The node record's chain of children or links, checked to belong to it:
    // NO_BLOCK when empty, the first block otherwise; FALSE on damage.
    [[nodiscard]] BOOL GetOwnedChain(int nOffset, LONG nTableType, CATBLOCK* pnFirst) const;
    // Allocates a record in the chain of nOffset, starting the chain when
    // needed; the record holds initial when given.
    [[nodiscard]] BOOL AllocateInChain(
        int nOffset, LONG nTableType, CRecordRef* pRef, std::span<const BYTE> initial = {});
    // Calls visit with each document the node's link chain names and whose own
    // list names that link back, in chain order, until visit returns false.
    // Links only one side knows are skipped. FALSE on damage. With wanted,
    // the documents it refuses are skipped unread; it must not call the file.
    [[nodiscard]] BOOL ForEachTwoWayLink(const std::function<bool(std::unique_ptr<CDocumentRec>)>& visit,
        const std::function<bool(CRecordRef)>& wanted = nullptr) const;
    // TRUE when the chain of nOffset holds the block nBlock.
    [[nodiscard]] BOOL HoldsChainBlock(int nOffset, LONG nTableType, CATBLOCK nBlock) const;
    // Every used record of the chain of nOffset; FALSE on damage.
    [[nodiscard]] BOOL ListChain(int nOffset, LONG nTableType, std::vector<CRecordRef>* pRefs) const;
    CNodeInfoRec* LoadInfoRec() const;
    // The entries of a link table the node is linked to, duplicates removed;
    // entries that are gone are skipped. FALSE on damage.
    [[nodiscard]] BOOL ListLinkedEntries(LONG nLinkTable, std::vector<CRecordRef>* pEntries) const;
    BOOL LinkEntry(LONG nLinkTable, const CTextEntryRec* pEntry);
    BOOL RemoveEntryLink(LONG nLinkTable, const CTextEntryRec* pEntry);
    BOOL UnlinkEntries(LONG nLinkTable);
    BOOL DeleteSubtreeAt(int nDepth);

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
};

// Inserts pNode into nodes already sorted by name as spec orders them (without
// regard to case, reversed when not ascending), after every node of an equal
// name, so that equal names keep the order they were inserted in.
void InsertNodeSorted(CNodeRecArray& nodes, std::unique_ptr<CNodeRec> pNode, const CSortSpec& spec);
