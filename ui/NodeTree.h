#pragma once

// The catalog's systems and groups in a tree control, as the group trees of
// the dialogs show them: each level sorted by name; a top-level system with
// its kind's picture (kind + 1 when selected), a group below with pictures 2
// and 3 of the node strip. The tree's owner attaches its own data to each
// item and says how to find an item's node in it.

#include "store/CatalogTypes.h"

#include "platform/framework/CTreeCtrl.h"

#include <functional>
#include <memory>

class CNodeRec;

// Inserts an item for node as the last child of hParent (TVI_ROOT: the top
// level) holding data, with state image nStateImage (0: none), in one call;
// null when it could not be made.
HTREEITEM InsertNodeItem(CTreeCtrl& tree, const CNodeRec& node, HTREEITEM hParent, DWORD_PTR data, int nStateImage = 0);

// Calls attach for each child of node, each level sorted by name, then for
// the children of the child whose item it returned. attach takes the child's
// copy, makes its item under hParent and returns it, keeping the copy as long
// as the item lives (null: the child and what lies below it are skipped).
using NodeItemAttach = std::function<HTREEITEM(std::unique_ptr<CNodeRec> pChild, HTREEITEM hParent)>;
void FillNodeChildren(const CNodeRec& node, HTREEITEM hParent, const NodeItemAttach& attach);

// The item at or below the children of hFrom (null: the whole tree), depth
// first, whose node nodeOf gives has ref's block and slot; null when none.
using NodeOfItem = std::function<const CNodeRec*(HTREEITEM hItem)>;
HTREEITEM FindNodeItem(const CTreeCtrl& tree, CRecordRef ref, HTREEITEM hFrom, const NodeOfItem& nodeOf);

// Deletes every item, children before their parent, calling release with
// each item first so the owner frees its data. FALSE when an item could not
// be deleted.
BOOL DeleteNodeItems(CTreeCtrl& tree, const std::function<void(HTREEITEM hItem)>& release);
