#pragma once

// The catalog as one session sees it: only the groups its profile grants.
// On the first query it copies the visible part of the systems tree into a
// compact item tree: every granted group, the groups on the way from the top
// to it and, for a group granted with everything below it, its whole subtree.
// Every fixed node a grant reaches is a top of the tree of its own (the
// systems root hangs under the root, as the catalog shows it), so grants under
// different fixed nodes never meet.
// A profile granting the whole catalog skips the tree and every query goes
// straight to the catalog. The tree is built once and not refreshed, except
// when the rights lose a group (Rebuild).

#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"

#include <vector>

class CCatalog;
class CWAGroupRightsMap;

// One node of the item tree. Indexes are positions in the item array, -1 none;
// item 0 is the first top added, the other tops follow it as its siblings.
struct CWAItemRef {
    LONG nBlock;
    LONG nSlot;
    LONG nNext;
    LONG nPrevious;
    LONG nParent;
    LONG nFirstChild;
    LONG nGranted; // 1 for a granted group or a node below one, 0 on the way only
};

using CWAItemRefArray = std::vector<CWAItemRef>;

// Node cursors kept in the order of the sort parameters it holds: by name,
// ascending or not, an inserted node going after every equal name.
class CWAItemPtrArray {
public:
    explicit CWAItemPtrArray(const CSortSpec& sort)
        : m_sort(sort)
    {
    }
    void InsertSorted(std::unique_ptr<CNodeRec> pNode);
    CNodeRecArray Detach() { return std::move(m_nodes); }

private:
    CSortSpec m_sort;
    CNodeRecArray m_nodes;
};

class CWACatalogLists {
public:
    // The rights map must outlive this object (the session's profile owns it).
    CWACatalogLists(CCatalog& catalog, const CWAGroupRightsMap& rights);

    // The visible children of node, sorted by name with sort (ascending or
    // not); for the root of a whole-catalog view, the systems root last.
    CNodeRecArray CollectGroupItems(const CNodeRec& node, const CSortSpec& sort);
    // The visible children of node, in catalog order (whole catalog, with the
    // systems root after the root's children) or in tree order.
    CNodeRecArray GetChildList(const CNodeRec& node);
    // The node's documents when the node is visible with its documents, else
    // none; sorted by pSort, in link order without one.
    CDocumentRecArray GetDocumentList(const CNodeRec& node, const CSortSpec* pSort = nullptr);
    // Whether the session may see the document: the whole catalog is granted,
    // or one of the nodes it is linked to is visible with its documents.
    BOOL IsDocumentVisible(const CDocumentRec& document);
    int CountDocuments(const CNodeRec& node);
    int CountChildren(const CNodeRec& node);
    // The index of the node's item, -1 when the node is not in the tree.
    int FindItem(LONG nBlock, LONG nSlot);

    BOOL IsWholeCatalog();
    // Forgets the item tree: the next query builds it from the rights again.
    void Rebuild();

private:
    void Walk();
    // The nodes from the top of the item tree down to the node itself: its
    // ancestors, with the root above the systems root (block 3), then the node.
    std::vector<CRecordRef> PathFromTop(const CNodeRec& node) const;
    // The index of the item's node among its parent's children, or among the
    // tops for an item without parent; appended and linked last when missing.
    LONG InsertItem(const CWAItemRef& item);
    // Appends the whole subtree below the node at nIndex; the first child's index or -1.
    LONG AddSubtree(const CNodeRec& node, LONG nIndex);
    BOOL IsGranted(const CNodeRec& node);
    CNodeRecArray ItemChildren(const CNodeRec& node);

    CCatalog& m_catalog;
    const CWAGroupRightsMap& m_rights;
    CWAItemRefArray m_items;
    BOOL m_bTreeBuilt { FALSE };
    BOOL m_bWholeCatalog { FALSE };
};
