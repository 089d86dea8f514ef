#include "platform/controls/TreeViewInternal.h"

#include "platform/window/Window.h"

#include <algorithm>

CTreeViewState* TreeViewSurvivor(HWND hWnd)
{
    return IsWindow(hWnd) ? TreeViewState(hWnd) : nullptr;
}

DWORD TreeViewStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

CTreeNode* FindNode(CTreeViewState& state, HTREEITEM hItem)
{
    auto it = state.nodes.find(hItem);
    return it == state.nodes.end() ? nullptr : &it->second;
}

CTreeNode* NodeSurvivor(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    return pState ? FindNode(*pState, hItem) : nullptr;
}

std::vector<HTREEITEM>& SiblingsOf(CTreeViewState& state, HTREEITEM hParent)
{
    CTreeNode* pParent = FindNode(state, hParent);
    return pParent ? pParent->children : state.roots;
}

std::vector<HTREEITEM>::iterator PlaceAmongSiblings(std::vector<HTREEITEM>& siblings, HTREEITEM hItem, CTreeNode& node)
{
    if (node.nPlace < siblings.size() && siblings[node.nPlace] == hItem)
        return siblings.begin() + static_cast<std::ptrdiff_t>(node.nPlace);
    const auto it = std::find(siblings.begin(), siblings.end(), hItem);
    node.nPlace = static_cast<size_t>(it - siblings.begin());
    return it;
}

bool IsDescendant(CTreeViewState& state, HTREEITEM hItem, HTREEITEM hAncestor)
{
    for (CTreeNode* pNode = FindNode(state, hItem); pNode; pNode = FindNode(state, pNode->hParent)) {
        if (pNode->hParent == hAncestor && hAncestor)
            return true;
    }
    return false;
}

bool IsShown(CTreeViewState& state, HTREEITEM hItem)
{
    CTreeNode* pNode = FindNode(state, hItem);
    if (!pNode)
        return false;
    for (CTreeNode* pParent = FindNode(state, pNode->hParent); pParent; pParent = FindNode(state, pParent->hParent)) {
        if (!(pParent->nState & TVIS_EXPANDED))
            return false;
    }
    return true;
}

int ItemLevel(CTreeViewState& state, HTREEITEM hItem)
{
    int nLevel = -1;
    for (CTreeNode* pNode = FindNode(state, hItem); pNode; pNode = FindNode(state, pNode->hParent))
        ++nLevel;
    return nLevel;
}

LRESULT NotifyTreeView(HWND hWnd, UINT nCode, UINT nAction, HTREEITEM hNew, HTREEITEM hOld, POINT pt)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    NMTREEVIEW nm {};
    nm.action = nAction;
    nm.ptDrag = pt;
    // Expansion notifications carry the images too.
    const bool bImages = nCode == TVN_ITEMEXPANDING || nCode == TVN_ITEMEXPANDED;
    auto fill = [pState, bImages](TVITEM* pItem, HTREEITEM hItem) {
        if (CTreeNode* pNode = FindNode(*pState, hItem)) {
            pItem->mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
            pItem->hItem = hItem;
            pItem->state = pNode->nState;
            pItem->stateMask = 0xFFFF;
            pItem->lParam = pNode->lParam;
            if (bImages) {
                pItem->mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
                pItem->iImage = pNode->iImage;
                pItem->iSelectedImage = pNode->iSelectedImage;
            }
        }
    };
    fill(&nm.itemNew, hNew);
    fill(&nm.itemOld, hOld);
    return SendNotify(hWnd, nCode, &nm.hdr);
}
