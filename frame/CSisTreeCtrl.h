#pragma once

// CSisTreeCtrl: the catalog's tree of systems in the left pane of a catalog
// view. Each item owns a cursor on its node (a CNodeRec, identified by block
// and slot); an item whose children are not loaded yet holds one placeholder
// child ("DUMMY", data PLACEHOLDER_DATA), replaced by the real children at
// the first expansion or search. Below the systems the tree may show the two
// fixed top nodes of blocks 3 and 4, always in that order; they cannot be
// renamed, deleted, recycled, copied or cut.
//
// Selections are announced to the parent with "STM SelChanged" (wParam the
// reason, lParam the item's node, valid while the item exists): reasons 0 (the
// program) and 3 (a rebuild) are sent, 1 (the mouse, or the control itself)
// and 2 (the keyboard) posted. "STM SelDrawn" follows every selection and
// expansion so that the connector beside the tree follows; "STM
// AlterouCatalogo" and "STM AlterouProp" tell that the catalog or a node's
// properties changed. Only the selected path stays expanded.
//
// The selected items form a back and forward history of 32 entries.
//
// Resting the mouse half a second on a system with subsystems opens them as
// a cascading popup below its label; the system picked there is selected in
// the tree. A drag resting on such a system opens the same popup for the
// drag, so that a drop can go several levels deep.

#include "frame/CSisNavHistory.h"

#include "store/CatalogTypes.h"

#include "platform/framework/CImageList.h"
#include "platform/framework/CTreeCtrl.h"
#include "ui/CKadDropTarget.h"

#include <memory>

class CCatalog;
class CKadDragObjReg;
class CNodeRec;
class CSisPopupWnd;

// The name a node shows in the tree and wherever its place is written or
// saved: the two fixed top nodes have no name of their own in the catalog and
// show fixed texts; every other node its record's name.
CString GetSystemName(const CNodeRec& node);
// Whether the node is one of the fixed top nodes of blocks 3 and 4.
BOOL IsFixedTopNode(const CNodeRec& node);

class CSisTreeCtrl
    : public CTreeCtrl
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CSisTreeCtrl)
    DECLARE_MESSAGE_MAP()

public:
    /* Reasons of "STM SelChanged". */
    static constexpr int REASON_PROGRAM = 0;
    static constexpr int REASON_MOUSE = 1;
    static constexpr int REASON_KEYBOARD = 2;
    static constexpr int REASON_REBUILD = 3;

    static constexpr DWORD_PTR PLACEHOLDER_DATA = static_cast<DWORD_PTR>(-1);
    static constexpr int HISTORY_CAPACITY = 32;
    static constexpr int LABEL_LIMIT = 30; // characters of a system's name

    /* Timers: the mouse or a drag resting on an item opens its subsystems. */
    static constexpr UINT_PTR TIMER_HOVER_POPUP = 100;
    static constexpr UINT_PTR TIMER_DRAG_POPUP = 101;
    static constexpr UINT POPUP_DELAY_MS = 500;

    /* State images: the button in front of an item. */
    static constexpr int STATE_COLLAPSED = 2;
    static constexpr int STATE_EXPANDED = 3;
    static constexpr int STATE_NO_CHILDREN = 4;

    /* Colours, palette-relative. */
    enum EColour {
        COLOUR_TEXT,
        COLOUR_SELECTED_TEXT,
        COLOUR_HOT_TEXT,
        COLOUR_BACKGROUND,
        COLOUR_ITEM,
        COLOUR_SELECTED_ITEM,
        COLOUR_WHITE,
        COLOUR_SHADE,
        COLOUR_DARK_SHADE,
        COLOUR_COUNT
    };

    CSisTreeCtrl();
    ~CSisTreeCtrl() override;

    /* Filling and keeping in line with the catalog. */

    // Shows the catalog's systems, then the fixed top nodes the flags ask
    // for, and registers the tree as a drop target. The catalog stays the
    // caller's and must outlive the items.
    void Fill(CCatalog* pCatalog);
    CCatalog* GetCatalog() const { return m_pCatalog; }
    // Brings the loaded items in line with the catalog, keeping what is
    // expanded, then announces the selected item (or the first) with reason 3.
    void Rebuild();
    // Reads again the record of every loaded node below hItem (TVI_ROOT: all).
    void ReloadRecords(HTREEITEM hItem);

    /* Looks. */

    // Small (TRUE) or large images; invalidates and announces "STM SelDrawn".
    void SetIconSize(BOOL bSmall);
    BOOL IsSmallIcons() const { return m_bSmallIcons; }
    void ShowTopNode3(BOOL bShow);
    void ShowTopNode4(BOOL bShow);
    BOOL IsTopNode3Shown() const { return m_bShowTopNode3; }
    BOOL IsTopNode4Shown() const { return m_bShowTopNode4; }

    /* Items and selection. */

    // The node of an item; null for none, TVI_ROOT and the placeholder.
    CNodeRec* GetItemNode(HTREEITEM hItem) const;
    // Loads the children of hItem when they are not loaded yet.
    void PopulateChildren(HTREEITEM hItem);
    // The child of hParent (loaded first; TVI_ROOT for the top level) showing
    // the node of the same block and slot; null when there is none.
    HTREEITEM FindChildItem(HTREEITEM hParent, const CNodeRec& node);
    // Selects the node's item, loading the items on its path; announced with
    // reason 0. FALSE when the tree does not hold the node.
    BOOL SelectNode(const CNodeRec& node);
    // Selects the node among the children of the selected item.
    BOOL SelectNodeOfItem(const CNodeRec& node);
    // The item right-clicked (drop-highlighted), else the selected one; and its node.
    HTREEITEM GetContextItem() const;
    CNodeRec* GetContextNode() const;
    // Expands, collapses or toggles hItem (TVE_*) and sets its state image.
    BOOL ExpandItem(HTREEITEM hItem, UINT nCode);
    // Deletes hItem with its children, their nodes and their history entries.
    void DeleteItemDeep(HTREEITEM hItem);

    /* History. */

    CSisNavHistory& GetHistory() { return m_history; }
    // Selects the previous or next item of the history; FALSE when there is none.
    BOOL GoBack();
    BOOL GoForward();

    /* Commands on the context node. */

    void EditGroupProperties();
    void EditContextLabel();
    void DeleteContextNode();
    void RecycleContextNode();
    // Puts the context node on the clipboard, to copy (1) or to move (2).
    void CopyToClipboard(int nOperation);
    // Pastes the clipboard's records at the top level.
    void PasteAtTop();
    // Whether the commands on the context node apply: not on a fixed top node.
    BOOL IsContextNodeEditable() const;

    /* As a drop target. */

    void DropEnter() override { }
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    void DropLeave() override { EndDragOver(); }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;
    // Ends the drag feedback: no highlight, no target.
    void EndDragOver();

protected:
    void OnDestroy();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnKillFocus(CWnd* pNewWnd);
    void OnTimer(UINT_PTR nIDEvent);
    void OnCustomDraw(NMHDR* pNotify, LRESULT* pResult);
    void OnSelChanging(NMHDR* pNotify, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);
    void OnItemExpanding(NMHDR* pNotify, LRESULT* pResult);
    void OnBeginLabelEdit(NMHDR* pNotify, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNotify, LRESULT* pResult);
    void OnKeyDown(NMHDR* pNotify, LRESULT* pResult);

private:
    // Inserts the node (taken over) as the last child of hParent, with a
    // placeholder child when the node has children.
    HTREEITEM InsertNode(HTREEITEM hParent, std::unique_ptr<CNodeRec> pNode);
    void InsertPlaceholder(HTREEITEM hItem);
    BOOL IsPlaceholder(HTREEITEM hItem) const;
    void SetStateImage(HTREEITEM hItem, int nState);
    // Brings hParent's loaded children in line with the node's children.
    void SyncChildren(HTREEITEM hParent, const CNodeRec& node);
    void SortChildrenByName(HTREEITEM hParent);
    // The top-level item of the fixed top node of nBlock; null when hidden.
    HTREEITEM FindTopNodeItem(CATBLOCK nBlock) const;
    void ShowTopNode(CATBLOCK nBlock, BOOL bShow);
    // Announces hItem's node to the parent, records it in the history and
    // has the connector repainted.
    void NotifySelection(HTREEITEM hItem, int nReason);
    void SelectAndAnnounce(HTREEITEM hItem);
    // Collapses every branch off the path to hItem, and hItem itself.
    void CollapseAllBut(HTREEITEM hItem);
    void PostToParent(UINT nMessage);
    // The first ancestor window that is not a child: where menus and their commands go.
    CWnd* GetCommandWindow() const;
    // Where hItem's subsystems popup opens (one pixel right of the label's
    // left edge, 3 above its bottom) and the label's rectangle it keeps
    // clear of, in screen coordinates; FALSE when the item is not shown.
    BOOL ChildrenPopupPlace(HTREEITEM hItem, POINT* pPoint, RECT* pItemRect) const;
    // A created popup of hItem's subsystems; null when it has none.
    std::unique_ptr<CSisPopupWnd> CreateChildrenPopup(HTREEITEM hItem);
    // Timer 100: the subsystems of the item under the resting cursor, tracked
    // modally; the system picked there is selected.
    void OnHoverPopup(HTREEITEM hItem);
    // Timer 101: the drag hover item's subsystems, opened for the drag.
    void OpenDragPopup();
    // Selects the picked node's item, loading the items on its path.
    void SelectPicked(const CNodeRec& picked);
    // Draws an item's tab after the control drew its text.
    void DrawItemTab(NMTVCUSTOMDRAW& draw);

    COLORREF m_colours[COLOUR_COUNT];
    CCatalog* m_pCatalog { nullptr };
    BOOL m_bSuppress { FALSE }; // while the control is destroyed: nothing is announced
    BOOL m_bSmallIcons { TRUE };
    BOOL m_bShowTopNode3 { TRUE };
    BOOL m_bShowTopNode4 { FALSE };
    BOOL m_bRegistered { FALSE }; // as a drop target
    CImageList m_images;
    CImageList m_stateImages;
    CSisNavHistory m_history;
    HTREEITEM m_hDragHover { nullptr }; // the item under a drag, TVI_ROOT for empty space
    std::unique_ptr<CNodeRec> m_pDragTarget;
    CPoint m_ptLastMouse { -1, -1 };
    std::unique_ptr<CSisPopupWnd> m_pDragPopup; // open for a drag
};
