#pragma once

// A read-only copy of an organisation tree (COrgTreeCtrl) for the set-up
// wizard's keywords page: the same texts, images and shape, every item
// expanded; each item's data is the source tree's item it copies. It holds
// no nodes: it reads them through the source, and is rebuilt whole by Mirror.

#include "dialogs/setup/COrgTreeCtrl.h"

#include "platform/framework/CTreeCtrl.h"

class COrgMirrorTreeCtrl : public CTreeCtrl {
public:
    COrgMirrorTreeCtrl() = default;

    // Empties the tree and copies source; later calls read nodes through it.
    void Mirror(COrgTreeCtrl& source);
    // The source item an item copies; null for null.
    HTREEITEM GetSourceItem(HTREEITEM hItem) const;
    // The item that copies hSource; null when none does.
    HTREEITEM FindMirrorOf(HTREEITEM hSource) const;
    // Whether any source node from hLevel down (null: the whole tree) has a keyword or a folder.
    BOOL AnyNodeHasCriteria(HTREEITEM hLevel = nullptr) const;

private:
    void CopyChildren(HTREEITEM hSourceParent, HTREEITEM hParent);
    HTREEITEM FindMirrorBelow(HTREEITEM hParent, HTREEITEM hSource) const;

    COrgTreeCtrl* m_pSource { nullptr };
};
