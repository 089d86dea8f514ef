#include "platform/controls/TreeViewInternal.h"

#include "platform/base/TextFunctions.h"

namespace {

// The callback buffer the control offers for its own needs.
constexpr int TREE_CALLBACK_TEXT = 1024;

// Asks the parent for what mask names of a callback item; FALSE once the item is gone.
bool AskDispInfo(HWND hWnd, HTREEITEM hItem, UINT nMask, TVITEM* pItem, char* pszBuffer, int cchBuffer)
{
    CTreeNode* pNode = NodeSurvivor(hWnd, hItem);
    if (!pNode)
        return false;
    NMTVDISPINFO di {};
    di.item.mask = nMask;
    di.item.hItem = hItem;
    di.item.state = pNode->nState;
    di.item.lParam = pNode->lParam;
    di.item.pszText = pszBuffer;
    di.item.cchTextMax = cchBuffer;
    if (pszBuffer && cchBuffer > 0)
        pszBuffer[0] = '\0';
    SendNotify(hWnd, TVN_GETDISPINFO, &di.hdr);
    if (!(pNode = NodeSurvivor(hWnd, hItem)))
        return false;
    *pItem = di.item;
    if (di.item.mask & TVIF_DI_SETITEM) {
        if ((nMask & TVIF_TEXT) && di.item.pszText) {
            pNode->strText = di.item.pszText;
            pNode->bTextCallback = false;
        }
        if ((nMask & TVIF_CHILDREN) && pNode->cChildren == I_CHILDRENCALLBACK)
            pNode->cChildren = di.item.cChildren;
    }
    return true;
}

bool CopyText(const std::string& strText, TVITEM* pItem)
{
    if (!pItem->pszText || pItem->cchTextMax <= 0)
        return false;
    lstrcpyn(pItem->pszText, strText.c_str(), pItem->cchTextMax);
    return true;
}

} // namespace

BOOL GetTreeItem(HWND hWnd, CTreeViewState& state, TVITEM* pItem)
{
    CTreeViewState* pState = &state;
    CTreeNode* pNode = pItem ? FindNode(*pState, pItem->hItem) : nullptr;
    if (!pNode)
        return FALSE;
    const HTREEITEM hItem = pItem->hItem;
    UINT nAsk = 0;
    if ((pItem->mask & TVIF_TEXT) && pNode->bTextCallback)
        nAsk |= TVIF_TEXT;
    if ((pItem->mask & TVIF_IMAGE) && pNode->iImage == I_IMAGECALLBACK)
        nAsk |= TVIF_IMAGE;
    if ((pItem->mask & TVIF_SELECTEDIMAGE) && pNode->iSelectedImage == I_IMAGECALLBACK)
        nAsk |= TVIF_SELECTEDIMAGE;
    if ((pItem->mask & TVIF_CHILDREN) && pNode->cChildren == I_CHILDRENCALLBACK)
        nAsk |= TVIF_CHILDREN;
    TVITEM asked {};
    if (nAsk) {
        // The handler fills the caller's buffer or points at one of its own.
        if (!AskDispInfo(hWnd, hItem, nAsk, &asked, pItem->pszText, pItem->cchTextMax))
            return FALSE;
        pState = TreeViewState(hWnd);
        pNode = FindNode(*pState, hItem);
    }
    if (pItem->mask & TVIF_TEXT) {
        if (!(nAsk & TVIF_TEXT))
            CopyText(pNode->strText, pItem);
        else if (asked.pszText && asked.pszText != pItem->pszText)
            CopyText(asked.pszText, pItem);
        else if (pItem->pszText && pItem->cchTextMax > 0)
            pItem->pszText[pItem->cchTextMax - 1] = '\0';
    }
    if (pItem->mask & TVIF_IMAGE)
        pItem->iImage = (nAsk & TVIF_IMAGE) ? asked.iImage : pNode->iImage;
    if (pItem->mask & TVIF_SELECTEDIMAGE)
        pItem->iSelectedImage = (nAsk & TVIF_SELECTEDIMAGE) ? asked.iSelectedImage : pNode->iSelectedImage;
    if (pItem->mask & TVIF_CHILDREN) {
        if (nAsk & TVIF_CHILDREN)
            pItem->cChildren = asked.cChildren;
        else
            pItem->cChildren = pNode->cChildren == TREE_CHILDREN_AUTO ? !pNode->children.empty() : pNode->cChildren;
    }
    if (pItem->mask & TVIF_PARAM)
        pItem->lParam = pNode->lParam;
    if (pItem->mask & TVIF_STATE)
        pItem->state = pNode->nState & (pItem->stateMask ? pItem->stateMask : ~0U);
    return TRUE;
}

bool ItemText(HWND hWnd, HTREEITEM hItem, std::string* pText)
{
    CTreeNode* pNode = NodeSurvivor(hWnd, hItem);
    if (!pNode)
        return false;
    if (!pNode->bTextCallback) {
        *pText = pNode->strText;
        return true;
    }
    char szBuffer[TREE_CALLBACK_TEXT];
    TVITEM asked {};
    if (!AskDispInfo(hWnd, hItem, TVIF_TEXT, &asked, szBuffer, sizeof(szBuffer)))
        return false;
    *pText = asked.pszText ? asked.pszText : "";
    return true;
}

bool ItemHasChildren(HWND hWnd, HTREEITEM hItem)
{
    CTreeNode* pNode = NodeSurvivor(hWnd, hItem);
    if (!pNode)
        return false;
    if (!pNode->children.empty() || pNode->cChildren > 0)
        return true;
    if (pNode->cChildren != I_CHILDRENCALLBACK)
        return false;
    TVITEM asked {};
    return AskDispInfo(hWnd, hItem, TVIF_CHILDREN, &asked, nullptr, 0) && asked.cChildren != 0;
}

int ItemImage(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    CTreeNode* pNode = pState ? FindNode(*pState, hItem) : nullptr;
    if (!pNode)
        return -1;
    const bool bSelected = pState->hCaret == hItem;
    const int iImage = bSelected ? pNode->iSelectedImage : pNode->iImage;
    if (iImage != I_IMAGECALLBACK)
        return iImage;
    const UINT nMask = bSelected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    TVITEM asked {};
    if (!AskDispInfo(hWnd, hItem, nMask, &asked, nullptr, 0))
        return -1;
    return bSelected ? asked.iSelectedImage : asked.iImage;
}
