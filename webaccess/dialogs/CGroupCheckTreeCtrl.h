#pragma once

// The catalog's systems and groups as a check tree, for choosing the groups
// a web access profile may reach. Each item owns a copy of its node. The
// checks go to and from a group rights map: a group checked with everything
// below it is kept as its key with value 0 (its descendants are not listed),
// a group only partly checked with value 1 (and what is checked below it
// follows). The owner calls InitImageLists, FillGroups and SetChecks when
// the control opens, GetChecks when it is left.

#include "store/CatalogTypes.h"
#include "ui/CCheckTreeCtrl.h"
#include "webaccess/profiles/CWAProfiles.h"

#include "platform/framework/CImageList.h"

#include <unordered_map>

class CCatalog;
class CNodeRec;

class CGroupCheckTreeCtrl : public CCheckTreeCtrl {
    DECLARE_MESSAGE_MAP()

public:
    // The values of the rights map.
    static constexpr WORD GROUP_WHOLE = 0; // the group and everything below it
    static constexpr WORD GROUP_PART = 1;  // some of what lies below the group

    CGroupCheckTreeCtrl() = default;
    ~CGroupCheckTreeCtrl() override;

    // The node pictures and the check states; an item cannot be excluded.
    BOOL InitImageLists();
    // Fills the tree from the catalog's root, each level in the catalog's
    // sorted order; with bSystemsRoot the fixed systems root comes last at the top.
    void FillGroups(CCatalog* pCatalog, BOOL bSystemsRoot);
    // Checks the groups the map names; keys of no node in the tree, and the
    // all-groups key, change nothing.
    void SetChecks(const CWAGroupRightsMap& map);
    // Adds the checked groups below hFrom (null: the whole tree) to the map.
    void GetChecks(CWAGroupRightsMap& map, HTREEITEM hFrom = nullptr) const;
    // The item of the node at (nBlock, nSlot) at or below hFrom (null: the whole tree), or null.
    HTREEITEM FindItem(CATBLOCK nBlock, LONG nSlot, HTREEITEM hFrom = nullptr) const;
    // Deletes every item and its node copy, children first. FALSE when an item could not be deleted.
    BOOL DeleteAllItems();

    const CNodeRec* GetItemNode(HTREEITEM hItem) const;

protected:
    void OnDestroy();

private:
    HTREEITEM InsertNode(std::unique_ptr<CNodeRec> pNode, HTREEITEM hParent);
    // The first item in tree order of the node at (nBlock, nSlot), or null.
    HTREEITEM ItemOfNode(DWORD nBlock, DWORD nSlot);
    // Makes the index of items by node again from the tree.
    void IndexItems();

    CImageList m_nodeImages;
    CImageList m_stateImages;
    // Each node's first item in tree order, kept as items are added; an
    // entry whose item went another way is found out on use.
    std::unordered_map<ULONGLONG, HTREEITEM> m_itemOfNode;
};
