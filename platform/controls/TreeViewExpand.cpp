#include "platform/controls/TreeViewInternal.h"

#include "platform/window/Paint.h"
#include "platform/window/Window.h"

namespace {

void SetExpandedState(CTreeNode* pNode, bool bExpand)
{
    if (bExpand)
        pNode->nState |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        pNode->nState &= ~TVIS_EXPANDED;
}

// Deletes the children of a collapsed item and forgets that it was expanded.
void ResetChildren(HWND hWnd, HTREEITEM hItem)
{
    CTreeNode* pNode = NodeSurvivor(hWnd, hItem);
    if (!pNode)
        return;
    const std::vector<HTREEITEM> children = pNode->children;
    for (HTREEITEM hChild : children) {
        if (!TreeViewSurvivor(hWnd))
            return;
        DeleteTreeItem(hWnd, hChild);
    }
    if ((pNode = NodeSurvivor(hWnd, hItem)))
        pNode->nState &= ~TVIS_EXPANDEDONCE;
}

} // namespace

BOOL ExpandItem(HWND hWnd, HTREEITEM hItem, UINT nCode, bool bAlwaysNotify)
{
    CTreeNode* pNode = NodeSurvivor(hWnd, hItem);
    if (!pNode)
        return FALSE;
    const bool bReset = (nCode & TVE_COLLAPSERESET) != 0;
    UINT nAction = nCode & TVE_ACTIONMASK;
    if (bReset)
        nAction = TVE_COLLAPSE;
    if (!nAction)
        return FALSE;
    const bool bExpanded = (pNode->nState & TVIS_EXPANDED) != 0;
    const bool bExpand = nAction == TVE_TOGGLE ? !bExpanded : nAction == TVE_EXPAND;
    // Only an item without known children asks its parent, which may change the tree.
    if (bExpand && pNode->children.empty() && pNode->cChildren <= 0) {
        if (!ItemHasChildren(hWnd, hItem) || !(pNode = NodeSurvivor(hWnd, hItem)))
            return FALSE;
    }
    if (bExpand == bExpanded && !bReset)
        return TRUE;
    const UINT nNotifyAction = (bExpand ? TVE_EXPAND : TVE_COLLAPSE) | (bReset ? TVE_COLLAPSERESET : 0);
    const bool bNotify = bAlwaysNotify || !(pNode->nState & TVIS_EXPANDEDONCE);
    if (bNotify && NotifyTreeView(hWnd, TVN_ITEMEXPANDING, nNotifyAction, hItem))
        return FALSE;
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState || !(pNode = FindNode(*pState, hItem)))
        return FALSE;
    SetExpandedState(pNode, bExpand);
    LayoutTreeView(hWnd);
    if (pState->bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
    // A selection inside the collapsed branch moves to the collapsed item.
    if (!bExpand && pState->hCaret && IsDescendant(*pState, pState->hCaret, hItem))
        SelectTreeItem(hWnd, hItem, TVC_UNKNOWN);
    if (bReset)
        ResetChildren(hWnd, hItem);
    if (bNotify && NodeSurvivor(hWnd, hItem))
        NotifyTreeView(hWnd, TVN_ITEMEXPANDED, nNotifyAction, hItem);
    if (TreeViewSurvivor(hWnd))
        LayoutTreeView(hWnd);
    return TRUE;
}

BOOL SelectTreeItem(HWND hWnd, HTREEITEM hItem, UINT nAction)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (hItem && !FindNode(*pState, hItem))
        return FALSE;
    const HTREEITEM hOld = pState->hCaret;
    if (hOld == hItem) {
        if (hItem)
            EnsureItemVisible(hWnd, hItem);
        return TRUE;
    }
    if (NotifyTreeView(hWnd, TVN_SELCHANGING, nAction, hItem, hOld))
        return FALSE;
    if (!(pState = TreeViewSurvivor(hWnd)) || (hItem && !FindNode(*pState, hItem)))
        return FALSE;
    // The handler may have selected something itself; this selection still wins.
    const HTREEITEM hNowOld = pState->hCaret;
    if (CTreeNode* pOld = FindNode(*pState, hNowOld))
        pOld->nState &= ~TVIS_SELECTED;
    InvalidateItem(hWnd, hNowOld);
    pState->hCaret = hItem;
    if (CTreeNode* pNew = FindNode(*pState, hItem))
        pNew->nState |= TVIS_SELECTED;
    if (hItem)
        EnsureItemVisible(hWnd, hItem);
    if (!(pState = TreeViewSurvivor(hWnd)))
        return TRUE;
    InvalidateItem(hWnd, pState->hCaret);
    NotifyTreeView(hWnd, TVN_SELCHANGED, nAction, pState->hCaret, FindNode(*pState, hNowOld) ? hNowOld : nullptr);
    return TRUE;
}

void SetDropHilite(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (CTreeNode* pOld = FindNode(*pState, pState->hDropHilite))
        pOld->nState &= ~TVIS_DROPHILITED;
    InvalidateItem(hWnd, pState->hDropHilite);
    pState->hDropHilite = hItem;
    if (CTreeNode* pNew = FindNode(*pState, hItem))
        pNew->nState |= TVIS_DROPHILITED;
    InvalidateItem(hWnd, hItem);
}

BOOL EnsureItemVisible(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    CTreeNode* pNode = pState ? FindNode(*pState, hItem) : nullptr;
    if (!pNode)
        return FALSE;
    // Ancestors from the top down, each expanded as TVM_EXPAND would.
    std::vector<HTREEITEM> ancestors;
    for (HTREEITEM hParent = pNode->hParent; CTreeNode* pParent = FindNode(*pState, hParent);
         hParent = pParent->hParent)
        ancestors.insert(ancestors.begin(), hParent);
    for (HTREEITEM hAncestor : ancestors) {
        CTreeNode* pAncestor = NodeSurvivor(hWnd, hAncestor);
        if (pAncestor && !(pAncestor->nState & TVIS_EXPANDED))
            ExpandItem(hWnd, hAncestor, TVE_EXPAND, false);
    }
    if (!(pState = TreeViewSurvivor(hWnd)))
        return FALSE;
    const int nIndex = VisibleIndex(*pState, hItem);
    if (nIndex < 0)
        return FALSE;
    const int nPage = TreeRowsPerPage(hWnd);
    if (nIndex < pState->nTop)
        SetTreeTop(hWnd, nIndex);
    else if (nIndex >= pState->nTop + nPage)
        SetTreeTop(hWnd, nIndex - nPage + 1);
    return TRUE;
}
