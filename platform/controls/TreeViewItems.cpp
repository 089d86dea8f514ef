#include "platform/controls/TreeViewInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace {

HTREEITEM ParentOfInsert(HTREEITEM hParent)
{
    return hParent == TVI_ROOT ? nullptr : hParent;
}

// Inserts hItem's handle into its siblings at the place hInsertAfter names.
bool PlaceItem(
    CTreeViewState& state, HTREEITEM hItem, CTreeNode& node, std::vector<HTREEITEM>& siblings, HTREEITEM hInsertAfter)
{
    auto itPlace = siblings.end();
    if (hInsertAfter == TVI_FIRST) {
        itPlace = siblings.begin();
    } else if (hInsertAfter == TVI_SORT) {
        if (!node.bTextCallback) {
            // After the equal texts; callback siblings count as empty.
            itPlace = std::upper_bound(siblings.begin(), siblings.end(), hItem, [&](HTREEITEM hNew, HTREEITEM hOld) {
                const CTreeNode& old = state.nodes[hOld];
                const std::string& strOld = old.bTextCallback ? std::string() : old.strText;
                return CompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, state.nodes[hNew].strText.c_str(), -1,
                           strOld.c_str(), -1)
                    == CSTR_LESS_THAN;
            });
        }
    } else if (hInsertAfter && hInsertAfter != TVI_LAST && hInsertAfter != TVI_ROOT) {
        CTreeNode* pAfter = FindNode(state, hInsertAfter);
        auto itAfter = pAfter ? PlaceAmongSiblings(siblings, hInsertAfter, *pAfter) : siblings.end();
        if (itAfter == siblings.end())
            return false;
        itPlace = itAfter + 1;
    }
    node.nPlace = static_cast<size_t>(siblings.insert(itPlace, hItem) - siblings.begin());
    return true;
}

HTREEITEM InsertItem(HWND hWnd, CTreeViewState& state, const TVINSERTSTRUCT* pInsert)
{
    if (!pInsert)
        return nullptr;
    const HTREEITEM hParent = ParentOfInsert(pInsert->hParent);
    CTreeNode* pParent = hParent ? FindNode(state, hParent) : nullptr;
    if (hParent && !pParent)
        return nullptr;
    const TVITEM& item = pInsert->item;
    CTreeNode node;
    node.hParent = hParent;
    if (item.mask & TVIF_TEXT) {
        node.bTextCallback = item.pszText == LPSTR_TEXTCALLBACK;
        if (!node.bTextCallback && item.pszText)
            node.strText = item.pszText;
    }
    if (item.mask & TVIF_IMAGE)
        node.iImage = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE)
        node.iSelectedImage = item.iSelectedImage;
    if (item.mask & TVIF_PARAM)
        node.lParam = item.lParam;
    if (item.mask & TVIF_STATE)
        node.nState = item.state & item.stateMask & ~(TVIS_SELECTED | TVIS_DROPHILITED);
    if (item.mask & TVIF_CHILDREN)
        node.cChildren = item.cChildren;
    auto hItem = reinterpret_cast<HTREEITEM>(state.nNextHandle++);
    CTreeNode& placed = state.nodes.emplace(hItem, std::move(node)).first->second;
    std::vector<HTREEITEM>& siblings = pParent ? pParent->children : state.roots;
    if (!PlaceItem(state, hItem, placed, siblings, pInsert->hInsertAfter)) {
        state.nodes.erase(hItem);
        return nullptr;
    }
    const bool bParentShown = !pParent || IsShown(state, hParent);
    if (pParent && !(bParentShown && (pParent->nState & TVIS_EXPANDED))) {
        // Under a collapsed item the rows stay as they are; a first child gives a shown parent its button.
        if (siblings.size() == 1 && bParentShown)
            InvalidateItem(hWnd, hParent);
        return hItem;
    }
    LayoutTreeView(hWnd);
    if (state.bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
    return hItem;
}

// Collects an item and everything below it, children first.
void CollectSubtree(CTreeViewState& state, HTREEITEM hItem, std::vector<HTREEITEM>* pItems)
{
    if (CTreeNode* pNode = FindNode(state, hItem)) {
        const std::vector<HTREEITEM> children = pNode->children;
        for (HTREEITEM hChild : children)
            CollectSubtree(state, hChild, pItems);
        pItems->push_back(hItem);
    }
}

void EraseSubtree(CTreeViewState& state, HTREEITEM hItem)
{
    std::vector<HTREEITEM> items;
    CollectSubtree(state, hItem, &items);
    if (CTreeNode* pNode = FindNode(state, hItem)) {
        std::vector<HTREEITEM>& siblings = SiblingsOf(state, pNode->hParent);
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hItem), siblings.end());
    }
    for (HTREEITEM h : items) {
        state.nodes.erase(h);
        if (state.hDropHilite == h)
            state.hDropHilite = nullptr;
        if (state.hHot == h)
            state.hHot = nullptr;
        if (state.hEditItem == h)
            state.hEditItem = nullptr;
    }
}

// The item that takes the selection when hItem goes: a sibling, else the parent.
HTREEITEM Successor(CTreeViewState& state, HTREEITEM hItem)
{
    CTreeNode* pNode = FindNode(state, hItem);
    std::vector<HTREEITEM>& siblings = SiblingsOf(state, pNode->hParent);
    const auto it = PlaceAmongSiblings(siblings, hItem, *pNode);
    if (it + 1 != siblings.end())
        return *(it + 1);
    if (it != siblings.begin())
        return *(it - 1);
    return pNode->hParent;
}

BOOL SetItem(HWND hWnd, CTreeViewState& state, const TVITEM* pItem)
{
    CTreeNode* pNode = pItem ? FindNode(state, pItem->hItem) : nullptr;
    if (!pNode)
        return FALSE;
    bool bGeometry = false;
    if (pItem->mask & TVIF_TEXT) {
        bGeometry = true;
        pNode->bTextCallback = pItem->pszText == LPSTR_TEXTCALLBACK;
        pNode->strText = pNode->bTextCallback || !pItem->pszText ? std::string() : std::string(pItem->pszText);
        pNode->nTextWidth = -1;
    }
    if (pItem->mask & TVIF_IMAGE)
        pNode->iImage = pItem->iImage;
    if (pItem->mask & TVIF_SELECTEDIMAGE)
        pNode->iSelectedImage = pItem->iSelectedImage;
    if (pItem->mask & TVIF_PARAM)
        pNode->lParam = pItem->lParam;
    if (pItem->mask & TVIF_CHILDREN)
        pNode->cChildren = pItem->cChildren;
    if (pItem->mask & TVIF_STATE) {
        const UINT nBefore = pNode->nState;
        pNode->nState = (nBefore & ~pItem->stateMask) | (pItem->state & pItem->stateMask);
        if (pItem->stateMask & TVIS_BOLD)
            pNode->nTextWidth = -1;
        bGeometry = bGeometry || (pItem->stateMask & TVIS_BOLD) || ((nBefore ^ pNode->nState) & TVIS_EXPANDED)
            || ((nBefore & TVIS_STATEIMAGEMASK) == 0) != ((pNode->nState & TVIS_STATEIMAGEMASK) == 0);
    }
    // A hidden item changes no row; a shown one lays the rows out again only
    // when its label's width, its place or the rows below it may have changed.
    if (!IsShown(state, pItem->hItem))
        return TRUE;
    if (bGeometry)
        LayoutTreeView(hWnd);
    if (state.bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

HTREEITEM NextVisible(CTreeViewState& state, HTREEITEM hItem, int nStep)
{
    const std::vector<HTREEITEM> visible = VisibleItems(state);
    auto it = std::find(visible.begin(), visible.end(), hItem);
    if (it == visible.end())
        return nullptr;
    const auto nIndex = (it - visible.begin()) + nStep;
    return nIndex >= 0 && nIndex < static_cast<long>(visible.size()) ? visible[static_cast<size_t>(nIndex)] : nullptr;
}

HTREEITEM GetNextItem(CTreeViewState& state, UINT nCode, HTREEITEM hItem)
{
    switch (nCode) {
    case TVGN_ROOT:
        return state.roots.empty() ? nullptr : state.roots.front();
    case TVGN_CARET:
        return state.hCaret;
    case TVGN_DROPHILITE:
        return state.hDropHilite;
    case TVGN_FIRSTVISIBLE: {
        const std::vector<HTREEITEM> visible = VisibleItems(state);
        return state.nTop < static_cast<int>(visible.size()) ? visible[static_cast<size_t>(state.nTop)] : nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const std::vector<HTREEITEM> visible = VisibleItems(state);
        return visible.empty() ? nullptr : visible.back();
    }
    case TVGN_CHILD:
        if (!hItem || hItem == TVI_ROOT)
            return state.roots.empty() ? nullptr : state.roots.front();
        break;
    default:
        break;
    }
    CTreeNode* pNode = FindNode(state, hItem);
    if (!pNode)
        return nullptr;
    std::vector<HTREEITEM>& siblings = SiblingsOf(state, pNode->hParent);
    const auto it = PlaceAmongSiblings(siblings, hItem, *pNode);
    switch (nCode) {
    case TVGN_NEXT:
        return it + 1 < siblings.end() ? *(it + 1) : nullptr;
    case TVGN_PREVIOUS:
        return it != siblings.begin() ? *(it - 1) : nullptr;
    case TVGN_PARENT:
        return pNode->hParent;
    case TVGN_CHILD:
        return pNode->children.empty() ? nullptr : pNode->children.front();
    case TVGN_NEXTVISIBLE:
        return NextVisible(state, hItem, 1);
    case TVGN_PREVIOUSVISIBLE:
        return NextVisible(state, hItem, -1);
    default:
        return nullptr;
    }
}

// Sorts one list of children on a snapshot, applied only if the comparison left them alone.
template<typename TLess> void SortSiblings(HWND hWnd, HTREEITEM hParent, bool bRecurse, TLess less)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState || (hParent && !FindNode(*pState, hParent)))
        return;
    const std::vector<HTREEITEM> before = SiblingsOf(*pState, hParent);
    std::vector<HTREEITEM> sorted = before;
    std::stable_sort(sorted.begin(), sorted.end(), less);
    if (!(pState = TreeViewSurvivor(hWnd)) || (hParent && !FindNode(*pState, hParent)))
        return;
    std::vector<HTREEITEM>& siblings = SiblingsOf(*pState, hParent);
    if (siblings == before)
        siblings = sorted;
    if (!bRecurse)
        return;
    for (HTREEITEM hChild : sorted)
        SortSiblings(hWnd, hChild, true, less);
}

BOOL SortChildren(HWND hWnd, HTREEITEM hParent, bool bRecurse)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    hParent = ParentOfInsert(hParent);
    if (hParent && !FindNode(*pState, hParent))
        return FALSE;
    // Texts are asked once, so callbacks do not run inside the comparison.
    std::unordered_map<HTREEITEM, std::string> texts;
    std::vector<HTREEITEM> items;
    for (HTREEITEM hChild : SiblingsOf(*pState, hParent)) {
        if (bRecurse)
            CollectSubtree(*pState, hChild, &items);
        else
            items.push_back(hChild);
    }
    for (HTREEITEM hItem : items)
        ItemText(hWnd, hItem, &texts[hItem]);
    SortSiblings(hWnd, hParent, bRecurse, [&texts](HTREEITEM h1, HTREEITEM h2) {
        return CompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, texts[h1].c_str(), -1, texts[h2].c_str(), -1)
            == CSTR_LESS_THAN;
    });
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL SortChildrenCB(HWND hWnd, const TVSORTCB* pSort, bool bRecurse)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (!pSort || !pSort->lpfnCompare)
        return FALSE;
    const HTREEITEM hParent = ParentOfInsert(pSort->hParent);
    if (hParent && !FindNode(*pState, hParent))
        return FALSE;
    std::unordered_map<HTREEITEM, LPARAM> values;
    for (const auto& [hItem, node] : pState->nodes)
        values[hItem] = node.lParam;
    const TVSORTCB sort = *pSort;
    SortSiblings(hWnd, hParent, bRecurse, [&values, sort](HTREEITEM h1, HTREEITEM h2) {
        return sort.lpfnCompare(values[h1], values[h2], sort.lParam) < 0;
    });
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

} // namespace

BOOL DeleteTreeItem(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (!hItem || hItem == TVI_ROOT) {
        DeleteAllTreeItems(hWnd);
        return TRUE;
    }
    if (!FindNode(*pState, hItem))
        return FALSE;
    if (pState->hEditItem && (pState->hEditItem == hItem || IsDescendant(*pState, pState->hEditItem, hItem)))
        EndTreeLabelEdit(hWnd, false);
    if (!(pState = TreeViewSurvivor(hWnd)) || !FindNode(*pState, hItem))
        return FALSE;
    std::vector<HTREEITEM> items;
    CollectSubtree(*pState, hItem, &items);
    for (HTREEITEM h : items) {
        // The item still exists while the parent hears of it; the handler may change the tree.
        if (!(pState = TreeViewSurvivor(hWnd)))
            return TRUE;
        CTreeNode* pNode = FindNode(*pState, h);
        if (pNode && !std::exchange(pNode->bAnnounced, true))
            NotifyTreeView(hWnd, TVN_DELETEITEM, 0, nullptr, h);
    }
    if (!(pState = TreeViewSurvivor(hWnd)) || !FindNode(*pState, hItem))
        return TRUE;
    const bool bCaretGoes = pState->hCaret && (pState->hCaret == hItem || IsDescendant(*pState, pState->hCaret, hItem));
    const HTREEITEM hNext = bCaretGoes && !pState->bDestroying ? Successor(*pState, hItem) : nullptr;
    EraseSubtree(*pState, hItem);
    if (bCaretGoes)
        pState->hCaret = nullptr;
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    if (hNext)
        SelectTreeItem(hWnd, hNext, TVC_UNKNOWN);
    return TRUE;
}

void DeleteAllTreeItems(HWND hWnd)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    const std::vector<HTREEITEM> roots = pState->roots;
    for (HTREEITEM hRoot : roots) {
        if (!(pState = TreeViewSurvivor(hWnd)))
            return;
        DeleteTreeItem(hWnd, hRoot);
    }
    if ((pState = TreeViewSurvivor(hWnd))) {
        pState->nTop = 0;
        pState->nScrollX = 0;
    }
}

BOOL HandleTreeItemMessage(HWND hWnd, CTreeViewState& state, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    switch (uMsg) {
    case TVM_INSERTITEM:
        *plResult = reinterpret_cast<LRESULT>(InsertItem(hWnd, state, reinterpret_cast<const TVINSERTSTRUCT*>(lParam)));
        return TRUE;
    case TVM_DELETEITEM:
        *plResult = DeleteTreeItem(hWnd, reinterpret_cast<HTREEITEM>(lParam));
        return TRUE;
    case TVM_GETITEM:
        *plResult = GetTreeItem(hWnd, state, reinterpret_cast<TVITEM*>(lParam));
        return TRUE;
    case TVM_SETITEM:
        *plResult = SetItem(hWnd, state, reinterpret_cast<const TVITEM*>(lParam));
        return TRUE;
    case TVM_GETNEXTITEM:
        *plResult = reinterpret_cast<LRESULT>(
            GetNextItem(state, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
        return TRUE;
    case TVM_GETCOUNT:
        *plResult = static_cast<LRESULT>(state.nodes.size());
        return TRUE;
    case TVM_SORTCHILDREN:
        *plResult = SortChildren(hWnd, reinterpret_cast<HTREEITEM>(lParam), wParam != 0);
        return TRUE;
    case TVM_SORTCHILDRENCB:
        *plResult = SortChildrenCB(hWnd, reinterpret_cast<const TVSORTCB*>(lParam), wParam != 0);
        return TRUE;
    default:
        return FALSE;
    }
}
