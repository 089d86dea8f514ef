#pragma once

// A tree whose items carry one of five check states in their state images
// (bits 12 to 15 of the item state; 0 means no check box):
//
//   1 excluded   cut out of a checked subtree: italic, never expanded
//   2 unchecked  and nothing checked below
//   3 checked    but not everything below fully checked
//   4 unchecked  but something checked below
//   5 checked    with everything below fully checked
//
// Checking or unchecking an item passes its state down to every descendant
// and recomputes every ancestor from its children; excluding keeps the states
// below. A click on the check box or Space on the caret item acts as a click
// (action 3): 2 and 4 become 5, 5 and 3 become 1 (2 when exclusion is not
// allowed), 1 becomes 2. The owner supplies the state image list.

#include "platform/framework/CTreeCtrl.h"

class CCheckTreeCtrl : public CTreeCtrl {
    DECLARE_DYNCREATE(CCheckTreeCtrl)
    DECLARE_MESSAGE_MAP()

public:
    /* States, as state-image indexes. */
    static constexpr int STATE_NONE = 0;
    static constexpr int STATE_EXCLUDED = 1;
    static constexpr int STATE_UNCHECKED = 2;
    static constexpr int STATE_CHECKED_PARTLY = 3;
    static constexpr int STATE_UNCHECKED_PARTLY = 4;
    static constexpr int STATE_CHECKED = 5;

    /* Actions. */
    static constexpr int ACTION_CHECK = 0;
    static constexpr int ACTION_UNCHECK = 1;
    static constexpr int ACTION_EXCLUDE = 2;
    static constexpr int ACTION_CLICK = 3;
    static constexpr int ACTION_RECOMPUTE = 4;

    CCheckTreeCtrl() = default;

    // Changes the item's state by the action and propagates it. FALSE for a
    // null item, an item without a check box, an unknown action or exclusion
    // where it is not allowed; TRUE otherwise, also when nothing changed.
    virtual BOOL ApplyCheckAction(HTREEITEM hItem, int nAction);
    // Every item ends checked (5), or unchecked (2); excluded items too.
    void CheckAll();
    void UncheckAll();

    // The state of an item (STATE_*), and writing it without propagation.
    int GetCheckState(HTREEITEM hItem) const;
    void SetCheckState(HTREEITEM hItem, int nState);

    // The first item at or after hFrom in tree order whose state is of the
    // class: 1 excluded, 2 unchecked (2, 4), 3 checked (3, 5). Subtrees that
    // cannot hold a match are skipped. nullptr when none is left.
    HTREEITEM FindNextInState(HTREEITEM hFrom, int nClass) const;
    // First child, else the next sibling of the item or of its nearest
    // ancestor that has one, else nullptr.
    HTREEITEM GetNextItemPreorder(HTREEITEM hItem) const;

    void SetExclusionAllowed(BOOL bAllowed) { m_bExclusionAllowed = bAllowed; }
    BOOL IsExclusionAllowed() const { return m_bExclusionAllowed; }

protected:
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnKeyDown(NMHDR* pNotify, LRESULT* pResult);
    void OnItemExpanding(NMHDR* pNotify, LRESULT* pResult);
    void OnCustomDraw(NMHDR* pNotify, LRESULT* pResult);

private:
    // The state an item in state nState gets from its direct children.
    int StateFromChildren(HTREEITEM hItem, int nState) const;
    // Gives every descendant state nState (not for 1, 3 and 4).
    void PropagateToChildren(HTREEITEM hItem, int nState);
    // Recomputes every ancestor up to the root.
    void PropagateToParents(HTREEITEM hItem);
    // Applies a click when the point is on an item's check box.
    void ClickStateIcon(CPoint point);

    BOOL m_bExclusionAllowed { TRUE };       // actions 2 and 3 may give state 1
    HGDIOBJ m_hFontBeforeItalic { nullptr }; // while an excluded item is drawn
    HFONT m_hItalicFont { nullptr };         // while the tree paints
};
