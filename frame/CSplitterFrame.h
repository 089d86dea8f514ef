#pragma once

// CSplitterFrame: a catalog view, the MDI child frame of the catalog document
// template: the systems tree, the document list and the preview side by side
// in a splitter whose preview column can be hidden.
//
// The frame is the hub between its panes. The tree announces selections with
// "STM SelChanged"; the frame debounces them (timer 20817: 100 ms for a click
// or a rebuild, 300 ms for the keyboard, at once for the program) and then has
// the list show the node. The list announces its focused row with "ALM
// ItemChanged", which the preview follows 300 ms later (timer 20818).
//
// Its place and column widths live under the key the main frame names while
// the view is restored (DesktopLayout.h), and are written by SavePlacement.

#include "frame/CConnectorSplitterWnd.h"

#include "platform/framework/CMDIChildWnd.h"

#include <memory>
#include <vector>

class CArqListView;
class CCatalogRecord;
class CContentView;
class CDocumentRec;
class CNodeRec;
class CSisTreeCtrl;
class CSisTreeView;

class CSplitterFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSplitterFrame)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_REFRESH_LIST = 20817;
    static constexpr UINT_PTR TIMER_REFRESH_PREVIEW = 20818;
    static constexpr UINT CLICK_DELAY = 100;    // after a click or a rebuild
    static constexpr UINT KEYBOARD_DELAY = 300; // after a key, and for the preview
    static constexpr int PREVIEW_COLUMN = 2;

    /* Reasons of "STM SelChanged". */
    static constexpr WPARAM REASON_PROGRAM = 0;
    static constexpr WPARAM REASON_MOUSE = 1;
    static constexpr WPARAM REASON_KEYBOARD = 2;
    static constexpr WPARAM REASON_REBUILD = 3;

    CSplitterFrame();
    ~CSplitterFrame() override;

    /* Layout. */

    // Writes the frame's place and column widths under hParent\pszName
    // (created when missing); gives up silently when the key cannot be had.
    void SavePlacement(HKEY hParent, LPCTSTR pszName);
    BOOL IsPreviewShown() const { return m_wndSplitter.GetHiddenColumn() != PREVIEW_COLUMN; }
    CConnectorSplitterWnd& GetSplitter() { return m_wndSplitter; }

    /* Selection. */

    // Selects the node in the tree, which announces it.
    void SelectNode(const CNodeRec& node);
    // "APPM Selecionar SisArq": selects the node of wParam (a CNodeRec) and,
    // when lParam names one (a CCatalogRecord), that document's row.
    void SelectEntry(WPARAM wParam, LPARAM lParam);
    // The list shows the pending node now.
    void RefreshDocumentList();
    // The node last announced, and the one the list shows; null for none.
    const CNodeRec* GetPendingNode() const { return m_pPendingNode.get(); }
    const CNodeRec* GetCurrentNode() const { return m_pCurrentNode.get(); }
    // Whether the list's filter is on, for the main frame's blinking button.
    BOOL IsListFilterActive() const;
    // The node the commands act on: the tree's context node while the tree
    // is active, the list's shown node while the list is; else none.
    CNodeRec* GetContextNode() const;
    // Selects the node (a hidden fixed top node is shown first), then the document's row.
    void SelectNodeAndDocument(const CNodeRec& node, const CCatalogRecord& document);
    // The list takes the focus and the preview shows its focused row now, without the pause.
    void ShowFocusedDocumentNow();

    // Whether the tree shows the fixed top nodes of blocks 3 and 4.
    BOOL IsTopNode3Shown() const;
    BOOL IsTopNode4Shown() const;

    CSisTreeView* GetTreeView() const { return m_pTreeView; }
    CSisTreeCtrl* GetTreeCtrl() const;
    CArqListView* GetListView() const { return m_pListView; }
    CContentView* GetContentView() const { return m_pContentView; }

    /* What the frame overrides. */

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    LRESULT OnRedo(WPARAM wParam, LPARAM lParam);
    LRESULT OnReread(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelDrawn(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemChanged(WPARAM wParam, LPARAM lParam);
    // "ALM SisDblClk": the tree selects the group the list opened (lParam, a CNodeRec).
    LRESULT OnSysDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnTogglePreview();
    void OnUpdateTogglePreview(CCmdUI* pCmdUI);
    void OnUpdatePaneNodePath(CCmdUI* pCmdUI);
    void OnTreeLargeIcons();
    void OnTreeSmallIcons();
    void OnUpdateTreeLargeIcons(CCmdUI* pCmdUI);
    void OnUpdateTreeSmallIcons(CCmdUI* pCmdUI);
    void OnToggleTopNode3();
    void OnToggleTopNode4();
    void OnUpdateTopNode3(CCmdUI* pCmdUI);
    void OnUpdateTopNode4(CCmdUI* pCmdUI);
    void OnNewGroup();
    void OnUpdateNewGroup(CCmdUI* pCmdUI);
    void OnNewTopGroup();
    void OnKeywordProperties();
    void OnListSelection(UINT nID);
    void OnPaste();
    void OnUpdatePaste(CCmdUI* pCmdUI);
    void OnListFilter();
    void OnNextFilteredSystem();
    void OnFind();
    void OnFindNext();
    void OnHistoryBack();
    void OnHistoryForward();
    void OnUpdateHistoryBack(CCmdUI* pCmdUI);
    void OnUpdateHistoryForward(CCmdUI* pCmdUI);
    void OnUpdatePaneCounts(CCmdUI* pCmdUI);

private:
    // The systems in the tree's order (each before its subsystems, siblings
    // by name): pTop and its subsystems; null: every system, then the fixed
    // top nodes the tree shows.
    std::vector<std::unique_ptr<CNodeRec>> TreeOrder(const CNodeRec* pTop) const;
    /* Where Find next found its document. */
    enum class EFound { Nothing, InView, InRecycleBin };
    // Looks for the next document that matches the last search, from the
    // focused row on through the tree (and, when the search includes it, the
    // recycle bin, whose window then shows it), and selects it. With
    // bFindBar the main frame's find bar shows afterwards.
    EFound FindNext(BOOL bFindBar);
    // The recycle bin's window shows, with the document's row selected.
    void SelectInRecycleBin(const CDocumentRec& document);
    // The main frame brings what Find next found before the user.
    void PresentFound(EFound eFound);
    // The content search over the catalog into the search results window.
    void SearchCatalog();
    // Whether the list shows the node last announced (both may be none).
    BOOL IsListShowingPending() const;
    // Whether the main window is minimised, when the status panes do nothing.
    static BOOL IsMainWindowIconic();

    CConnectorSplitterWnd m_wndSplitter;
    CSisTreeView* m_pTreeView { nullptr }; // panes (0,0), (0,1), (0,2), owned by the splitter
    CArqListView* m_pListView { nullptr };
    CContentView* m_pContentView { nullptr };
    DWORD m_dwShowState { SW_SHOWMAXIMIZED }; // "Status" of the frame's key
    std::unique_ptr<CNodeRec> m_pCurrentNode; // copies of the tree's, which the tree may delete
    std::unique_ptr<CNodeRec> m_pPendingNode;
    std::unique_ptr<CCatalogRecord> m_pCurrentItem; // copies of the list's record the preview shows,
    std::unique_ptr<CCatalogRecord> m_pPendingItem; // and of the one last announced
    LONG m_nStatusTotal { -1 };                     // children and documents of the pending node; -1 to count again
    int m_nSavedPreviewWidth { -1 };                // column 2's width while it is hidden
};
