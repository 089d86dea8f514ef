#pragma once

// What the tree view's files share: its items, looked up by handle so a
// stale handle finds nothing, the notifications every file sends, and the
// row geometry.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/controls/TypeAhead.h"

#include <string>
#include <unordered_map>
#include <vector>

// cChildren of an item that never set it: it has children when it has items below.
constexpr int TREE_CHILDREN_AUTO = -2;

struct CTreeNode {
    HTREEITEM hParent { nullptr }; // nullptr for top-level items
    std::vector<HTREEITEM> children;
    std::string strText;
    bool bTextCallback { false };
    int iImage { 0 };         // I_IMAGECALLBACK asks the parent
    int iSelectedImage { 0 }; // likewise
    int cChildren { TREE_CHILDREN_AUTO };
    LPARAM lParam { 0 };
    UINT nState { 0 };         // TVIS_*
    int nTextWidth { -1 };     // the label's width when last measured; -1: not yet
    bool bAnnounced { false }; // TVN_DELETEITEM was sent: it is on its way out
    size_t nPlace { 0 };       // where it was last found among its siblings; checked before use
};

struct CTreeViewState : CControlState {
    std::unordered_map<HTREEITEM, CTreeNode> nodes;
    std::vector<HTREEITEM> roots;
    ULONG_PTR nNextHandle { 1 }; // handles count up and are never reused
    HTREEITEM hCaret { nullptr };
    HTREEITEM hDropHilite { nullptr };
    HTREEITEM hHot { nullptr };
    HIMAGELIST imageLists[3] {}; // TVSIL_NORMAL, unused, TVSIL_STATE
    HFONT hBoldFont { nullptr }; // made from hFont for TVIS_BOLD items
    COLORREF clrBk { CLR_DEFAULT_TREE };
    COLORREF clrText { CLR_DEFAULT_TREE };
    int nIndent { 19 };
    int nRowHeight { 16 };
    int nTop { 0 };     // the first visible row shown
    int nScrollX { 0 }; // pixels scrolled to the left
    bool bFocus { false };
    bool bDestroying { false };
    bool bLayingOut { false };   // showing a bar changes the size, which lays out again
    bool bRedraw { true };       // WM_SETREDRAW: while FALSE, rows change without layout
    bool bLayoutDue { false };   // a layout was put off while redraw was off
    bool bBarsRefused { false }; // the owner took a bar away again: the control stops showing them
    HWND hEdit { nullptr };
    HTREEITEM hEditItem { nullptr };
    HTREEITEM hSlowClickItem { nullptr }; // the item a slow second click edits when LABEL_EDIT_TIMER fires
    CTypeAhead typeAhead;

    static constexpr COLORREF CLR_DEFAULT_TREE = static_cast<COLORREF>(-1);
};

// The margin left and right of a label's text.
constexpr int TREE_TEXT_MARGIN = 3;

/***** State and item lookups (TreeViewInternal.cpp) *****/

inline CTreeViewState* TreeViewState(HWND hWnd)
{
    return GetControlState<CTreeViewState>(hWnd);
}
// The state if the window still exists: notification handlers may destroy it.
CTreeViewState* TreeViewSurvivor(HWND hWnd);
DWORD TreeViewStyle(HWND hWnd);

// The item of a handle, nullptr for a stale or special handle.
CTreeNode* FindNode(CTreeViewState& state, HTREEITEM hItem);
// The item after notifications: nullptr once it or the tree is gone.
CTreeNode* NodeSurvivor(HWND hWnd, HTREEITEM hItem);
// The list of siblings an item belongs to.
std::vector<HTREEITEM>& SiblingsOf(CTreeViewState& state, HTREEITEM hParent);
// Where hItem (whose node is node) stands in siblings, its own list: at once
// when it has not moved since it was last found there, else by a search.
std::vector<HTREEITEM>::iterator PlaceAmongSiblings(std::vector<HTREEITEM>& siblings, HTREEITEM hItem, CTreeNode& node);
// TRUE when hItem lies below hAncestor.
bool IsDescendant(CTreeViewState& state, HTREEITEM hItem, HTREEITEM hAncestor);
// The depth of an item, 0 for top-level items.
int ItemLevel(CTreeViewState& state, HTREEITEM hItem);
// Whether the item is among the rows: every ancestor is expanded.
bool IsShown(CTreeViewState& state, HTREEITEM hItem);

// Sends a NMTREEVIEW notification with itemNew (and itemOld) filled from the items.
LRESULT NotifyTreeView(HWND hWnd, UINT nCode, UINT nAction, HTREEITEM hNew, HTREEITEM hOld = nullptr, POINT pt = {});

/***** Texts, images and children (TreeViewDispInfo.cpp) *****/

// Answers TVM_GETITEM: fills what pItem's mask names, asking the parent with
// TVN_GETDISPINFO for callback values. FALSE for a stale item or one that
// went away meanwhile.
BOOL GetTreeItem(HWND hWnd, CTreeViewState& state, TVITEM* pItem);
// The label text, through TVN_GETDISPINFO for callback texts; FALSE when the
// item is stale or went away meanwhile.
bool ItemText(HWND hWnd, HTREEITEM hItem, std::string* pText);
// Whether the item shows a button and may expand, asking the parent for I_CHILDRENCALLBACK.
bool ItemHasChildren(HWND hWnd, HTREEITEM hItem);
// The image drawn for an item: the selected image for the caret, asked of the parent for callbacks.
int ItemImage(HWND hWnd, HTREEITEM hItem);

/***** Items (TreeViewItems.cpp) *****/

// Deletes an item with everything below it, telling the parent about each.
BOOL DeleteTreeItem(HWND hWnd, HTREEITEM hItem);
void DeleteAllTreeItems(HWND hWnd);
// Answers the item messages with the tree's state; FALSE for other messages.
BOOL HandleTreeItemMessage(
    HWND hWnd, CTreeViewState& state, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

/***** Expansion and selection (TreeViewExpand.cpp) *****/

// Expands, collapses or toggles (TVE_*). bAlwaysNotify: by mouse or keyboard,
// which notifies even after the first expansion.
BOOL ExpandItem(HWND hWnd, HTREEITEM hItem, UINT nCode, bool bAlwaysNotify);
// Makes hItem (nullptr: none) the caret item after TVN_SELCHANGING allowed it.
BOOL SelectTreeItem(HWND hWnd, HTREEITEM hItem, UINT nAction);
void SetDropHilite(HWND hWnd, HTREEITEM hItem);
// Expands the ancestors and scrolls the item into sight.
BOOL EnsureItemVisible(HWND hWnd, HTREEITEM hItem);

/***** Layout and hit tests (TreeViewLayout.cpp) *****/

// The items shown, top to bottom, whether scrolled into sight or not.
std::vector<HTREEITEM> VisibleItems(CTreeViewState& state);
int VisibleIndex(CTreeViewState& state, HTREEITEM hItem);
// Measures the row height from the font and the images; TreeRowHeight gives it.
void MeasureTreeRows(HWND hWnd);
int TreeRowHeight(HWND hWnd);
// The font for an item's label: the bold variant for TVIS_BOLD, made on first use.
HFONT TreeItemFont(HWND hWnd, bool bBold);
// Whole rows that fit the client area (at least 1).
int TreeRowsPerPage(HWND hWnd);
// The parts of a row from left to right in client coordinates.
struct CTreeRowParts {
    RECT rcRow;
    int xButton;     // the indent column of the item's own button
    int xStateImage; // where the state image starts
    int xImage;      // where the normal image starts
    int xLabel;      // where the label starts
    int xLabelEnd;
};
// FALSE for an item that is not shown (a collapsed ancestor).
bool RowParts(HWND hWnd, HTREEITEM hItem, CTreeRowParts* pParts);
// The same for a shown item whose place among the visible items is known.
void RowPartsAt(HWND hWnd, HTREEITEM hItem, int nIndex, CTreeRowParts* pParts);
HTREEITEM TreeHitTest(HWND hWnd, TVHITTESTINFO* pInfo);
// Updates the scroll information after any change, and the bars when the
// style has them; while redraw is off, only notes that it is due.
void LayoutTreeView(HWND hWnd);
void SetTreeTop(HWND hWnd, int nTop);
void SetTreeScrollX(HWND hWnd, int nScrollX);
void InvalidateItem(HWND hWnd, HTREEITEM hItem);
// Answers geometry and scrolling messages; FALSE for other messages.
BOOL HandleTreeLayoutMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

/***** Painting (TreeViewPaint.cpp) *****/

void PaintTreeView(HWND hWnd, HDC hdc);

/***** Input (TreeViewInput.cpp) *****/

BOOL HandleTreeViewInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/***** Label editing (TreeViewLabelEdit.cpp) *****/

HWND EditTreeLabel(HWND hWnd, HTREEITEM hItem);
void EndTreeLabelEdit(HWND hWnd, bool bCommit);
