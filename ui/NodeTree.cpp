#include "ui/NodeTree.h"

#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"

#include "platform/controls/ListViewControl.h"

namespace {

// A group below the top level: closed and open.
constexpr int GROUP_IMAGE = 2;
constexpr int GROUP_SELECTED_IMAGE = 3;
// The catalog's order of a level: by name, ascending.
constexpr CSortSpec CHILD_ORDER { COLUMN_NAME, 1, 1 };

BOOL DeleteSubtree(CTreeCtrl& tree, HTREEITEM hItem, const std::function<void(HTREEITEM)>& release)
{
    while (const HTREEITEM hChild = tree.GetChildItem(hItem)) {
        if (!DeleteSubtree(tree, hChild, release))
            return FALSE;
    }
    release(hItem);
    return tree.DeleteItem(hItem);
}

} // namespace

HTREEITEM InsertNodeItem(CTreeCtrl& tree, const CNodeRec& node, HTREEITEM hParent, DWORD_PTR data, int nStateImage)
{
    const BOOL bTop = hParent == TVI_ROOT;
    const int nImage = bTop ? static_cast<int>(node.GetKind()) : GROUP_IMAGE;
    const int nSelected = bTop ? nImage + 1 : GROUP_SELECTED_IMAGE;
    UINT nMask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    if (nStateImage != 0)
        nMask |= TVIF_STATE;
    const UINT nState = INDEXTOSTATEIMAGEMASK(nStateImage);
    return tree.InsertItem(nMask, node.GetName(), nImage, nSelected, nState, TVIS_STATEIMAGEMASK,
        static_cast<LPARAM>(data), hParent, TVI_LAST);
}

void FillNodeChildren(const CNodeRec& node, HTREEITEM hParent, const NodeItemAttach& attach)
{
    for (auto& pChild : node.GetSortedChildren(&CHILD_ORDER)) {
        // The item keeps the copy it was given, so the view stays good below it.
        const CNodeRec* pView = pChild.get();
        if (const HTREEITEM hItem = attach(std::move(pChild), hParent))
            FillNodeChildren(*pView, hItem, attach);
    }
}

HTREEITEM FindNodeItem(const CTreeCtrl& tree, CRecordRef ref, HTREEITEM hFrom, const NodeOfItem& nodeOf)
{
    for (HTREEITEM hItem = hFrom != nullptr ? tree.GetChildItem(hFrom) : tree.GetRootItem(); hItem != nullptr;
         hItem = tree.GetNextSiblingItem(hItem)) {
        const CNodeRec* pNode = nodeOf(hItem);
        if (pNode != nullptr && pNode->GetRef() == ref)
            return hItem;
        if (const HTREEITEM hFound = FindNodeItem(tree, ref, hItem, nodeOf))
            return hFound;
    }
    return nullptr;
}

BOOL DeleteNodeItems(CTreeCtrl& tree, const std::function<void(HTREEITEM)>& release)
{
    while (const HTREEITEM hItem = tree.GetRootItem()) {
        if (!DeleteSubtree(tree, hItem, release))
            return FALSE;
    }
    return TRUE;
}
