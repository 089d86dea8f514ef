#pragma once

// CSisTreeView in its first form: the catalog's top-level systems, sorted by
// name, in a tree control (ID 101). Selecting one announces it to the catalog
// view's frame with "STM SelChanged" (the reason is how it was selected: 0 by
// the program, 1 the mouse, 2 the keyboard, 3 after a rebuild), then "STM
// SelDrawn". The tree owns the node cursors it announces; they stay valid
// until the next Rebuild.

#include "frame/CPaneView.h"

#include "platform/framework/CTreeCtrl.h"

#include <memory>
#include <vector>

class CNodeRec;

class CSisTreeView : public CPaneView {
    DECLARE_DYNCREATE(CSisTreeView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT TREE_ID = 101;

    CSisTreeView();
    ~CSisTreeView() override;

    CTreeCtrl& GetTreeCtrl() { return m_tree; }
    // Reads the systems again, keeping the selected one selected (announced with reason 3).
    void Rebuild();
    // Selects the node's item, announced with reason 0; FALSE when the tree does not show it.
    BOOL SelectNode(const CNodeRec& node);

    void OnInitialUpdate() override;

protected:
    BOOL CreateControl() override;
    CWnd* GetControl() override { return &m_tree; }

    void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);

private:
    // The item showing the node at ref, or NULL.
    HTREEITEM FindItem(const CNodeRec& node) const;

    CTreeCtrl m_tree;
    std::vector<std::unique_ptr<CNodeRec>> m_nodes; // the items' nodes
    BOOL m_bRebuilding { FALSE };
};
