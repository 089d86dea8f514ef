#pragma once

// CSisTreeView: the left pane of a catalog view, the systems tree (ID 101)
// between two rows of arrow buttons that scroll it (the tree has no scroll
// bars): left, up and right on top (102, 103, 104), left, down and right
// below (105, 106, 107). An arrow is enabled while the tree can scroll that
// way; a drag held over an arrow scrolls too.
//
// The view passes the tree's "STM SelChanged" and "STM SelDrawn" on to its
// frame and turns "STM AlterouCatalogo" and "STM AlterouProp" into the
// program-wide "APPM Refazer" and "APPM Reler". It routes the commands on the
// selected system to the tree and keeps the tree's settings (SisTreeSettings.h).

#include "frame/CPaneView.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/SisTreeSettings.h"
#include "ui/CBtnSeta.h"

class CNodeRec;

class CSisTreeView : public CPaneView {
    DECLARE_DYNCREATE(CSisTreeView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT TREE_ID = 101;
    /* The arrow buttons. */
    static constexpr UINT ID_TOP_LEFT = 102;
    static constexpr UINT ID_UP = 103;
    static constexpr UINT ID_TOP_RIGHT = 104;
    static constexpr UINT ID_BOTTOM_LEFT = 105;
    static constexpr UINT ID_DOWN = 106;
    static constexpr UINT ID_BOTTOM_RIGHT = 107;

    CSisTreeView();
    ~CSisTreeView() override;

    CSisTreeCtrl& GetTreeCtrl() { return m_tree; }
    // Reads the systems again, keeping what is expanded and selected (announced with reason 3).
    void Rebuild() { m_tree.Rebuild(); }
    // Selects the node's item, announced with reason 0; FALSE when the tree does not hold it.
    BOOL SelectNode(const CNodeRec& node) { return m_tree.SelectNode(node); }

    // Fills the tree, then applies the settings kept under the restored view's key.
    void OnInitialUpdate() override;
    // Writes the tree's settings under hParent\pszName.
    void SaveSettings(HKEY hParent, LPCTSTR pszName);

protected:
    BOOL CreateControl() override;
    CWnd* GetControl() override { return &m_tree; }

    void OnSize(UINT nType, int cx, int cy);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    BOOL OnQueryNewPalette();
    void OnScrollLeft();
    void OnScrollRight();
    void OnScrollUp();
    void OnScrollDown();
    LRESULT OnTreeCatalogChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreePropChanged(WPARAM wParam, LPARAM lParam);

    void OnGroupProperties() { m_tree.EditGroupProperties(); }
    void OnRename() { m_tree.EditContextLabel(); }
    void OnDelete() { m_tree.DeleteContextNode(); }
    void OnRecycle() { m_tree.RecycleContextNode(); }
    void OnCopy() { m_tree.CopyToClipboard(1); }
    void OnCut() { m_tree.CopyToClipboard(2); }
    void OnPasteAtTop() { m_tree.PasteAtTop(); }
    void OnUpdateContextCommand(CCmdUI* pCmdUI);
    // Enabled as the other context commands; the words are those of groups.
    void OnUpdateRecycle(CCmdUI* pCmdUI);
    void OnUpdatePasteAtTop(CCmdUI* pCmdUI);
    void OnUpdateEditCell(CCmdUI* pCmdUI);

private:
    // Applies kept settings: icon size, the selected system's path, the
    // systems shown expanded, the block-3 top node.
    void ApplySettings();
    // The item a kept path leads to: with bWhole only when every name still
    // leads somewhere, else the deepest item found; null for none.
    HTREEITEM FindKeptItem(const CSisTreePath& path, BOOL bWhole);
    // The kept form of a node's place: its ancestors' names and its own.
    static CSisTreePath KeptPath(const CNodeRec& node);
    // The kept paths of the expanded items below hParent whose parents are expanded too.
    void CollectExpanded(HTREEITEM hParent, std::vector<CSisTreePath>& expanded);
    // Whether the tree can scroll one line that way.
    BOOL CanScroll(int nBar, BOOL bForward);

    CSisTreeCtrl m_tree;
    CBtnSeta m_arrows[6]; // 102 to 107 in order
};
