#pragma once

// The systems popup list: the systems (catalog nodes) below one node as
// cascading rows, each with its icon; a row with child systems opens the
// next level, and choosing a row hands back a copy of its node. Opened for a
// drag it files dropped documents or shell items into the system under the
// cursor. With right clicks allowed, a row's menu renames the system in
// place, removes or recycles it, opens its property dialogs through the host
// and copies, cuts and pastes systems through the clipboard.
//
// Renaming: BeginEditLabel lays an editor over the row; while it has the
// focus the popup chain hands it the keys (CPopupWnd::FilterMessage). Its end
// comes back reflected through the popup window: a name a sibling already
// has (ignoring case) is refused with message IDS_NAME_TAKEN and
// edited again; a new name is written and the main window told; an empty or
// unchanged name only closes the chain, as a rename does. A change of case
// alone counts as a new name.
//
// The row menu is the systems tree's (the same commands), and the child
// arrow the one the other popups draw: the tree's state images took the
// arrows' resource number.
//
// Rows carry their position in the list's array of nodes, which it owns
// until its window goes.

#include "store/CNodeRec.h"
#include "ui/CPopupCtrl.h"
#include "ui/PopupRowLook.h"

#include <memory>

class CGridEdit;
class CImageList;
class CKadDragObjPIDL;
class CKadDragObjReg;

class CSisPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CSisPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT ID_EDITOR = 201;
    static constexpr int EDITOR_LIMIT = 30;
    static constexpr int ARROW_IMAGE = 0;
    static constexpr UINT WM_EDIT_AGAIN = WM_APP + 1;

    CSisPopupCtrl();
    ~CSisPopupCtrl() override;

    // The children of pNode sorted by name, pNode itself first without a
    // child when bAddSelf, then the main catalog's top nodes of blocks 3
    // and 4 when asked. A null pNode lists the recycle bin: its root first,
    // the root's children, and its top nodes 3 and 4 that hold documents.
    void FillItems(const CNodeRec* pNode, BOOL bAddTop3, BOOL bAddTop4, BOOL bAddSelf);
    // The node of a row; null for a bad index.
    CNodeRec* GetNode(int nIndex) const;

    // Puts the node on the clipboard as a catalog payload (nOperation
    // PAYLOAD_COPY or PAYLOAD_MOVE), its parent as the source.
    static BOOL CopyItem(UINT nOperation, const CNodeRec* pNode);
    // Drops the clipboard's payload into the node; after a cut the clipboard is emptied.
    static BOOL PasteItems(CNodeRec* pNode);

    // Opens the editor over a row with pszText (null: the row's text).
    void BeginEditLabel(int nIndex, LPCTSTR pszText);
    CGridEdit* GetEditor() const { return m_pEditor.get(); }

    int GetPopupWidth() override { return m_nWidest; }
    // A copy of the row's node, owned by the caller.
    void* GetItemResult(int nIndex) override;
    CPopupWnd* CreateChildPopup(int nIndex) override;
    BOOL OnRightClick() override;
    int OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    int EndDragMode(CKadDragObj* pPayload, int nEffect) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    // wParam the row whose name is edited again with the refused text.
    LRESULT OnEditAgain(WPARAM wParam, LPARAM lParam);

private:
    void AddNode(std::unique_ptr<CNodeRec> pNode, BOOL bAllowChild);
    // The chain's root popup window.
    CWnd* RootHost();
    // Runs a row menu command other than rename on a copy of the node.
    static void RunCommand(UINT nCommand, CNodeRec& node);
    // Where a drop would go: the selected enabled row's node, else null.
    CNodeRec* DropTargetNode() const;
    BOOL DropCatalogEntries(CNodeRec& target, const CKadDragObjReg& payload, int nEffect);

    CImageList* m_pImages; // shared, null when the bitmap is missing
    CImageList* m_pArrows; // shared, null when the bitmap is missing
    CPopupRowLook m_look;
    int m_nWidest { 0 };
    int m_nTallestText { 0 };
    CNodeRecArray m_nodes;
    std::vector<BOOL> m_allowChild; // by position in m_nodes
    std::unique_ptr<CGridEdit> m_pEditor;
    int m_nEditItem { -1 };
    CString m_strEditAgain;
};
