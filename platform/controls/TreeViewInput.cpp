#include "platform/controls/TreeViewInternal.h"

#include "platform/controls/LabelEditor.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace {

LRESULT NotifyPlain(HWND hWnd, UINT nCode)
{
    NMHDR nm {};
    return SendNotify(hWnd, nCode, &nm);
}

void CancelSlowClick(HWND hWnd)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (pState && pState->hSlowClickItem) {
        pState->hSlowClickItem = nullptr;
        DisarmLabelEditTimer(hWnd);
    }
}

// A press on an item's icon or label (or anywhere on its row with
// TVS_FULLROWSELECT) selects it, then the drag-detect loop tells a drag,
// which sends TVN_BEGINDRAG before this returns, from a click (NM_CLICK).
// A press on the button toggles the expansion; on the state icon it only
// clicks.
void OnLeftButtonDown(HWND hWnd, LPARAM lParam)
{
    CancelSlowClick(hWnd);
    const bool bHadFocus = GetFocus() == hWnd;
    if (!bHadFocus)
        SetFocus(hWnd);
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState)
        return;
    TVHITTESTINFO hit {};
    hit.pt = MousePointOf(lParam);
    const HTREEITEM hItem = TreeHitTest(hWnd, &hit);
    // A second click on the caret's label edits it unless a double click follows.
    const bool bSlowClick = bHadFocus && hItem && hItem == pState->hCaret && (hit.flags & TVHT_ONITEMLABEL)
        && (TreeViewStyle(hWnd) & TVS_EDITLABELS);
    if (hItem && (hit.flags & TVHT_ONITEMBUTTON)) {
        ExpandItem(hWnd, hItem, TVE_TOGGLE, true);
        return;
    }
    const bool bFullRow = (TreeViewStyle(hWnd) & TVS_FULLROWSELECT) && (hit.flags & TVHT_ONITEMRIGHT);
    const bool bOnItem = hItem && ((hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) || bFullRow);
    if (bOnItem) {
        POINT ptScreen = hit.pt;
        ClientToScreen(hWnd, &ptScreen);
        const bool bDragged = !(TreeViewStyle(hWnd) & TVS_DISABLEDRAGDROP) && DragDetect(hWnd, ptScreen);
        if (!NodeSurvivor(hWnd, hItem))
            return;
        if (bDragged) {
            NotifyTreeView(hWnd, TVN_BEGINDRAG, 0, hItem, nullptr, hit.pt);
            return;
        }
        SelectTreeItem(hWnd, hItem, TVC_BYMOUSE);
    }
    if (TreeViewSurvivor(hWnd))
        NotifyPlain(hWnd, NM_CLICK);
    if (bSlowClick && (pState = TreeViewSurvivor(hWnd)) && pState->hCaret == hItem) {
        pState->hSlowClickItem = hItem;
        ArmLabelEditTimer(hWnd);
    }
}

// The double-click time passed after a slow second click: the item's label is edited.
void OnSlowClickTimer(HWND hWnd)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    const HTREEITEM hItem = std::exchange(pState->hSlowClickItem, nullptr);
    DisarmLabelEditTimer(hWnd);
    if (hItem && FindNode(*pState, hItem) && GetFocus() == hWnd)
        EditTreeLabel(hWnd, hItem);
}

// NM_DBLCLK, then the item toggles unless the parent answered nonzero.
void OnDoubleClick(HWND hWnd, LPARAM lParam)
{
    CancelSlowClick(hWnd);
    TVHITTESTINFO hit {};
    hit.pt = MousePointOf(lParam);
    const HTREEITEM hItem = TreeHitTest(hWnd, &hit);
    if (NotifyPlain(hWnd, NM_DBLCLK) || !hItem || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)))
        return;
    ExpandItem(hWnd, hItem, TVE_TOGGLE, true);
}

void OnRightButtonDown(HWND hWnd, LPARAM lParam)
{
    if (NotifyPlain(hWnd, NM_RCLICK) || !IsWindow(hWnd))
        return;
    POINT ptScreen = MousePointOf(lParam);
    ClientToScreen(hWnd, &ptScreen);
    SendMessage(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(ptScreen.x, ptScreen.y));
}

// With TVS_TRACKSELECT the item under the mouse is hot until the mouse leaves.
void SetHot(HWND hWnd, HTREEITEM hItem)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (pState->hHot == hItem)
        return;
    InvalidateItem(hWnd, pState->hHot);
    pState->hHot = hItem;
    InvalidateItem(hWnd, hItem);
    if (hItem) {
        TRACKMOUSEEVENT tme { sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0 };
        TrackMouseEvent(&tme);
    }
}

void OnMouseMove(HWND hWnd, LPARAM lParam)
{
    if (!(TreeViewStyle(hWnd) & TVS_TRACKSELECT))
        return;
    TVHITTESTINFO hit {};
    hit.pt = MousePointOf(lParam);
    const HTREEITEM hItem = TreeHitTest(hWnd, &hit);
    SetHot(hWnd, (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) ? hItem : nullptr);
}

// The item a key moves the caret to; nullptr for keys that do something else.
HTREEITEM KeyTarget(HWND hWnd, WPARAM wParam)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    const std::vector<HTREEITEM> visible = VisibleItems(*pState);
    if (visible.empty())
        return nullptr;
    const int nLast = static_cast<int>(visible.size()) - 1;
    const int nCaret = VisibleIndex(*pState, pState->hCaret);
    const int nPage = std::max(TreeRowsPerPage(hWnd) - 1, 1);
    int nTarget = 0;
    switch (wParam) {
    case VK_UP:
        nTarget = nCaret < 0 ? 0 : nCaret - 1;
        break;
    case VK_DOWN:
        nTarget = nCaret < 0 ? 0 : nCaret + 1;
        break;
    case VK_HOME:
        nTarget = 0;
        break;
    case VK_END:
        nTarget = nLast;
        break;
    case VK_PRIOR:
        nTarget = std::max(nCaret, 0) - nPage;
        break;
    case VK_NEXT:
        nTarget = std::max(nCaret, 0) + nPage;
        break;
    default:
        return nullptr;
    }
    return visible[static_cast<size_t>(std::clamp(nTarget, 0, nLast))];
}

// Every key reaches the parent as TVN_KEYDOWN first; then Enter sends
// NM_RETURN, the arrows and page keys move the caret, Left and Right collapse, go up, expand or go
// down, + and - expand and collapse, and F2 edits the caret's label.
void OnKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CancelSlowClick(hWnd);
    NMTVKEYDOWN nm {};
    nm.wVKey = static_cast<WORD>(wParam);
    nm.flags = static_cast<UINT>(HIWORD(lParam));
    SendNotify(hWnd, TVN_KEYDOWN, &nm.hdr);
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState)
        return;
    if (wParam == VK_RETURN) {
        NMHDR nmReturn {};
        SendNotify(hWnd, NM_RETURN, &nmReturn);
        return;
    }
    const HTREEITEM hCaret = pState->hCaret;
    CTreeNode* pCaret = FindNode(*pState, hCaret);
    if (HTREEITEM hTarget = KeyTarget(hWnd, wParam)) {
        SelectTreeItem(hWnd, hTarget, TVC_BYKEYBOARD);
        return;
    }
    if (!pCaret)
        return;
    const bool bExpanded = (pCaret->nState & TVIS_EXPANDED) != 0;
    switch (wParam) {
    case VK_LEFT:
        if (bExpanded)
            ExpandItem(hWnd, hCaret, TVE_COLLAPSE, true);
        else if (pCaret->hParent)
            SelectTreeItem(hWnd, pCaret->hParent, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (!bExpanded)
            ExpandItem(hWnd, hCaret, TVE_EXPAND, true);
        else if (!pCaret->children.empty())
            SelectTreeItem(hWnd, pCaret->children.front(), TVC_BYKEYBOARD);
        break;
    case VK_ADD:
        ExpandItem(hWnd, hCaret, TVE_EXPAND, true);
        break;
    case VK_SUBTRACT:
        ExpandItem(hWnd, hCaret, TVE_COLLAPSE, true);
        break;
    case VK_F2:
        if (TreeViewStyle(hWnd) & TVS_EDITLABELS)
            EditTreeLabel(hWnd, hCaret);
        break;
    default:
        break;
    }
}

// A typed character goes to the next visible item whose label starts with
// what was typed.
void OnChar(HWND hWnd, WPARAM nChar)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    if (nChar < 0x20 || nChar > 0xFF || !pState)
        return;
    const std::vector<HTREEITEM> visible = VisibleItems(*pState);
    const int nItem = pState->typeAhead.Type(static_cast<char>(nChar), static_cast<DWORD>(GetMessageTime()),
        static_cast<int>(visible.size()), VisibleIndex(*pState, pState->hCaret), [&](int i) {
            std::string strText;
            ItemText(hWnd, visible[static_cast<size_t>(i)], &strText);
            return strText;
        });
    if (nItem >= 0 && TreeViewSurvivor(hWnd))
        SelectTreeItem(hWnd, visible[static_cast<size_t>(nItem)], TVC_BYKEYBOARD);
}

} // namespace

BOOL HandleTreeViewInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(hWnd, lParam);
        return TRUE;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(hWnd, lParam);
        return TRUE;
    case WM_RBUTTONUP:
        // The press already asked for the context menu.
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(hWnd, lParam);
        return TRUE;
    case WM_MOUSELEAVE:
        SetHot(hWnd, nullptr);
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam, lParam);
        return TRUE;
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return TRUE;
    case WM_TIMER:
        if (wParam != LABEL_EDIT_TIMER)
            return FALSE;
        OnSlowClickTimer(hWnd);
        return TRUE;
    default:
        return FALSE;
    }
}
