#include "frame/CSplitterFrame.h"

#include "frame/AppMessages.h"
#include "frame/CArqListView.h"
#include "frame/CContentView.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/CSisTreeView.h"
#include "frame/CatalogItem.h"
#include "frame/DesktopLayout.h"
#include "frame/SisTreeSettings.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "store/ResString.h"
#include "ui/CMemoryDC.h"
#include "ui/NodePath.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CWinThread.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MdiClient.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CSplitterFrame, CMDIChildWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CSplitterFrame, CMDIChildWnd)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_MDIACTIVATE()
    ON_REGISTERED_MESSAGE(g_nMsgRedo, &CSplitterFrame::OnRedo)
    ON_REGISTERED_MESSAGE(g_nMsgReread, &CSplitterFrame::OnReread)
    ON_REGISTERED_MESSAGE(g_nMsgSelChanged, &CSplitterFrame::OnSelChanged)
    ON_REGISTERED_MESSAGE(g_nMsgSelDrawn, &CSplitterFrame::OnSelDrawn)
    ON_REGISTERED_MESSAGE(g_nMsgItemChanged, &CSplitterFrame::OnItemChanged)
    ON_REGISTERED_MESSAGE(g_nMsgSysDoubleClick, &CSplitterFrame::OnSysDoubleClick)
    ON_COMMAND(ID_VIEW_PREVIEW, &CSplitterFrame::OnTogglePreview)
    ON_COMMAND(ID_VIEW_TREE_LARGE, &CSplitterFrame::OnTreeLargeIcons)
    ON_COMMAND(ID_VIEW_TREE_SMALL, &CSplitterFrame::OnTreeSmallIcons)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TREE_LARGE, &CSplitterFrame::OnUpdateTreeLargeIcons)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TREE_SMALL, &CSplitterFrame::OnUpdateTreeSmallIcons)
    ON_COMMAND(ID_VIEW_TOP_NODE3, &CSplitterFrame::OnToggleTopNode3)
    ON_COMMAND(ID_VIEW_TOP_NODE3_OTHER, &CSplitterFrame::OnToggleTopNode3)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOP_NODE3, &CSplitterFrame::OnUpdateTopNode3)
    ON_COMMAND(ID_VIEW_TOP_NODE4, &CSplitterFrame::OnToggleTopNode4)
    ON_COMMAND(ID_VIEW_TOP_NODE4_OTHER, &CSplitterFrame::OnToggleTopNode4)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOP_NODE4, &CSplitterFrame::OnUpdateTopNode4)
    ON_COMMAND(ID_CATALOG_NEW_GROUP, &CSplitterFrame::OnNewGroup)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_NEW_GROUP, &CSplitterFrame::OnUpdateNewGroup)
    ON_COMMAND(ID_CATALOG_NEW_TOP_GROUP, &CSplitterFrame::OnNewTopGroup)
    ON_COMMAND(ID_CATALOG_KEYWORDS, &CSplitterFrame::OnKeywordProperties)
    ON_COMMAND_RANGE(ID_DOC_SELECT_ALL, ID_DOC_SELECT_ALL, &CSplitterFrame::OnListSelection)
    ON_COMMAND_RANGE(ID_DOC_INVERT_SELECTION, ID_DOC_INVERT_SELECTION, &CSplitterFrame::OnListSelection)
    ON_COMMAND(ID_EDIT_PASTE, &CSplitterFrame::OnPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CSplitterFrame::OnUpdatePaste)
    ON_COMMAND(ID_CATALOG_LIST_FILTER, &CSplitterFrame::OnListFilter)
    ON_COMMAND(ID_CATALOG_NEXT_SYSTEM, &CSplitterFrame::OnNextFilteredSystem)
    ON_COMMAND(ID_CATALOG_FIND, &CSplitterFrame::OnFind)
    ON_COMMAND(ID_CATALOG_FIND_NEXT, &CSplitterFrame::OnFindNext)
    ON_COMMAND(ID_VIEW_BACK, &CSplitterFrame::OnHistoryBack)
    ON_COMMAND(ID_VIEW_FORWARD, &CSplitterFrame::OnHistoryForward)
    ON_UPDATE_COMMAND_UI(ID_VIEW_BACK, &CSplitterFrame::OnUpdateHistoryBack)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FORWARD, &CSplitterFrame::OnUpdateHistoryForward)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PREVIEW, &CSplitterFrame::OnUpdateTogglePreview)
    ON_UPDATE_COMMAND_UI(ID_PANE_NODE_PATH, &CSplitterFrame::OnUpdatePaneNodePath)
    ON_UPDATE_COMMAND_UI(ID_PANE_COUNTS, &CSplitterFrame::OnUpdatePaneCounts)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD DEFAULT_SHOW_STATE = SW_SHOWMAXIMIZED;

// The frame's key while it is restored, open for reading; FALSE without one.
BOOL OpenRestoreKey(CRegistryKey& key)
{
    return g_hRestoreKey && !g_strCurrentChildKey.IsEmpty() && key.Open(g_hRestoreKey, g_strCurrentChildKey, KEY_READ);
}

} // namespace

CSplitterFrame::CSplitterFrame() = default;

CSplitterFrame::~CSplitterFrame() = default;

/***************************** Creation and layout *****************************/

BOOL CSplitterFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    CRegistryKey key;
    if (OpenRestoreKey(key)) {
        const CKeptPlacement kept = ReadKeptPlacement(key, DEFAULT_SHOW_STATE);
        m_dwShowState = kept.dwStatus;
        if (kept.bRectKept) {
            cs.x = kept.rc.left;
            cs.y = kept.rc.top;
            cs.cx = kept.rc.right - kept.rc.left;
            cs.cy = kept.rc.bottom - kept.rc.top;
            if (m_dwShowState == SW_SHOWMINIMIZED)
                cs.style |= WS_MINIMIZE;
            else if (m_dwShowState == SW_SHOWMAXIMIZED)
                cs.style |= WS_MAXIMIZE;
        } else {
            cs.style |= WS_MAXIMIZE;
        }
    }
    return CMDIChildWnd::PreCreateWindow(cs);
}

BOOL CSplitterFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    CKeptColumns kept;
    CRegistryKey key;
    if (OpenRestoreKey(key))
        kept = ReadKeptColumns(key);
    int cxLeft = kept.cxTree;
    int cxRight = kept.cxList;
    m_nSavedPreviewWidth = kept.cxPreview;
    if (!m_wndSplitter.CreateStatic(this, 1, 3, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cxClient = rcClient.Width();
    if (cxLeft < 0 || cxRight < 0) {
        m_nSavedPreviewWidth = 0;
        cxLeft = cxRight = cxClient / 3;
    }
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CSisTreeView), CSize(cxLeft, 0), pContext)
        || !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CArqListView), CSize(cxRight, 0), pContext)
        || !m_wndSplitter.CreateView(
            0, 2, RUNTIME_CLASS(CContentView), CSize(std::max(m_nSavedPreviewWidth, 0), 0), pContext))
        return FALSE;
    m_pTreeView = static_cast<CSisTreeView*>(m_wndSplitter.GetPane(0, 0));
    m_pListView = static_cast<CArqListView*>(m_wndSplitter.GetPane(0, 1));
    m_pContentView = static_cast<CContentView*>(m_wndSplitter.GetPane(0, 2));
    SetActiveView(m_pTreeView, TRUE);
    if (m_nSavedPreviewWidth == 0 || cxClient - cxRight - cxLeft <= 0)
        m_wndSplitter.HideColumn(PREVIEW_COLUMN);
    return TRUE;
}

void CSplitterFrame::SavePlacement(HKEY hParent, LPCTSTR pszName)
{
    CRegistryKey key;
    if (!key.Create(hParent, pszName))
        return;
    WINDOWPLACEMENT placement {};
    placement.length = sizeof(placement);
    GetWindowPlacement(&placement);
    WriteKeptPlacement(key, placement, SW_SHOWMINIMIZED);
    int cxCur = 0;
    int cxMin = 0;
    m_wndSplitter.GetColumnInfo(0, cxCur, cxMin);
    key.SetDWORD("LeftFrame", static_cast<DWORD>(cxCur));
    m_wndSplitter.GetColumnInfo(1, cxCur, cxMin);
    key.SetDWORD("RightFrame", static_cast<DWORD>(cxCur));
    int cxPreview = m_nSavedPreviewWidth;
    if (IsPreviewShown())
        m_wndSplitter.GetColumnInfo(PREVIEW_COLUMN, cxPreview, cxMin);
    key.SetDWORD("TipViewFrame", static_cast<DWORD>(std::max(cxPreview, 0)));
    if (m_pTreeView)
        m_pTreeView->SaveSettings(key, SIS_TREE_KEY_NAME);
    if (m_pListView)
        m_pListView->GetListCtrl().SaveSettings(hParent, pszName);
}

void CSplitterFrame::OnUpdateFrameTitle(BOOL)
{
    if (m_pPendingNode)
        SetWindowText(m_pPendingNode->GetName());
}

void CSplitterFrame::OnDestroy()
{
    KillTimer(TIMER_REFRESH_LIST);
    if (IsListFilterActive()) {
        if (auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
            pMain->AnimateToolbarButton(FALSE);
    }
    CMDIChildWnd::OnDestroy();
}

void CSplitterFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        pMain->AnimateToolbarButton(bActivate && IsListFilterActive());
}

/***************************** Selection *****************************/

BOOL CSplitterFrame::IsListShowingPending() const
{
    if (!m_pCurrentNode || !m_pPendingNode)
        return m_pCurrentNode == m_pPendingNode;
    return m_pCurrentNode->GetRef() == m_pPendingNode->GetRef();
}

void CSplitterFrame::SelectNode(const CNodeRec& node)
{
    if (m_pTreeView)
        m_pTreeView->SelectNode(node);
}

void CSplitterFrame::SelectEntry(WPARAM wParam, LPARAM lParam)
{
    const auto* pNode = reinterpret_cast<const CNodeRec*>(wParam);
    if (!pNode)
        return;
    if (const auto* pDocument = reinterpret_cast<const CCatalogRecord*>(lParam))
        SelectNodeAndDocument(*pNode, *pDocument);
    else
        SelectNode(*pNode);
}

void CSplitterFrame::RefreshDocumentList()
{
    KillTimer(TIMER_REFRESH_LIST);
    if (m_pListView) {
        m_pListView->GetListCtrl().Fill(m_pPendingNode.get());
        if (m_pListView->GetListCtrl().GetItemCount() == 0)
            SendMessage(g_nMsgItemChanged, 0, 0);
    }
    m_pCurrentNode.reset(m_pPendingNode ? m_pPendingNode->Clone() : nullptr);
}

LRESULT CSplitterFrame::OnSelChanged(WPARAM wParam, LPARAM lParam)
{
    KillTimer(TIMER_REFRESH_LIST);
    const auto* pNode = reinterpret_cast<const CNodeRec*>(lParam);
    m_pPendingNode.reset(pNode ? pNode->Clone() : nullptr);
    if (!IsListShowingPending()) {
        switch (wParam) {
        case REASON_MOUSE:
        case REASON_REBUILD:
            SetTimer(TIMER_REFRESH_LIST, CLICK_DELAY, nullptr);
            break;
        case REASON_KEYBOARD:
            SetTimer(TIMER_REFRESH_LIST, KEYBOARD_DELAY, nullptr);
            break;
        default:
            RefreshDocumentList();
            break;
        }
    }
    if (m_pPendingNode)
        SetWindowText(m_pPendingNode->GetName());
    m_nStatusTotal = -1;
    return 0;
}

LRESULT CSplitterFrame::OnSysDoubleClick(WPARAM, LPARAM lParam)
{
    const auto* pNode = reinterpret_cast<const CNodeRec*>(lParam);
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pNode || !pTree)
        return 0;
    // The list's record goes when the list shows the group: the tree gets a copy.
    const std::unique_ptr<CNodeRec> pGroup(pNode->Clone());
    if (!pTree->SelectNodeOfItem(*pGroup))
        (void)pTree->SelectNode(*pGroup); // a group gone from the tree stays unselected
    return 0;
}

LRESULT CSplitterFrame::OnSelDrawn(WPARAM, LPARAM)
{
    m_wndSplitter.InvalidateConnector();
    return 0;
}

LRESULT CSplitterFrame::OnItemChanged(WPARAM, LPARAM lParam)
{
    KillTimer(TIMER_REFRESH_PREVIEW);
    // The row's record goes with the next fill: the frame keeps a copy.
    m_pPendingItem = CopyCatalogItem(reinterpret_cast<const CCatalogRecord*>(lParam));
    if (!IsSameCatalogItem(m_pPendingItem.get(), m_pCurrentItem.get()))
        SetTimer(TIMER_REFRESH_PREVIEW, KEYBOARD_DELAY, nullptr);
    return 0;
}

void CSplitterFrame::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_REFRESH_LIST:
        RefreshDocumentList();
        break;
    case TIMER_REFRESH_PREVIEW:
        KillTimer(TIMER_REFRESH_PREVIEW);
        m_pCurrentItem = CopyCatalogItem(m_pPendingItem.get());
        if (IsPreviewShown() && m_pContentView)
            m_pContentView->ShowDocument(m_pCurrentItem.get());
        break;
    default:
        CMDIChildWnd::OnTimer(nIDEvent);
        break;
    }
}

void CSplitterFrame::ShowFocusedDocumentNow()
{
    if (!m_pListView)
        return;
    SetActiveView(m_pListView, TRUE);
    CArqListCtrl& list = m_pListView->GetListCtrl();
    OnItemChanged(0, reinterpret_cast<LPARAM>(list.GetRowRecord(list.GetFocusedRow())));
    if (KillTimer(TIMER_REFRESH_PREVIEW))
        OnTimer(TIMER_REFRESH_PREVIEW);
}

LRESULT CSplitterFrame::OnRedo(WPARAM, LPARAM)
{
    // The rebuild announces the selected node again; a list that showed it
    // reads it again at once, in place.
    m_nStatusTotal = -1;
    if (m_pTreeView)
        m_pTreeView->Rebuild();
    if (IsListShowingPending() && m_pListView) {
        KillTimer(TIMER_REFRESH_LIST);
        m_pListView->GetListCtrl().RefreshRows(m_pPendingNode.get());
    }
    if (m_pContentView)
        m_pContentView->Refresh();
    return 0;
}

LRESULT CSplitterFrame::OnReread(WPARAM, LPARAM)
{
    // The same records, read again: nothing is added or removed.
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->ReloadRecords(TVI_ROOT);
    if (m_pListView)
        m_pListView->GetListCtrl().RefreshAll();
    if (m_pContentView)
        m_pContentView->Refresh();
    return 0;
}

/***************************** The tree *****************************/

CSisTreeCtrl* CSplitterFrame::GetTreeCtrl() const
{
    return m_pTreeView ? &m_pTreeView->GetTreeCtrl() : nullptr;
}

void CSplitterFrame::OnTreeLargeIcons()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->SetIconSize(FALSE);
}

void CSplitterFrame::OnTreeSmallIcons()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->SetIconSize(TRUE);
}

void CSplitterFrame::OnUpdateTreeLargeIcons(CCmdUI* pCmdUI)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    pCmdUI->SetCheck(pTree && !pTree->IsSmallIcons() ? 1 : 0);
}

void CSplitterFrame::OnUpdateTreeSmallIcons(CCmdUI* pCmdUI)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    pCmdUI->SetCheck(pTree && pTree->IsSmallIcons() ? 1 : 0);
}

void CSplitterFrame::OnToggleTopNode3()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->ShowTopNode3(!pTree->IsTopNode3Shown());
}

void CSplitterFrame::OnToggleTopNode4()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->ShowTopNode4(!pTree->IsTopNode4Shown());
}

void CSplitterFrame::OnUpdateTopNode3(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsTopNode3Shown() ? 1 : 0);
}

void CSplitterFrame::OnUpdateTopNode4(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsTopNode4Shown() ? 1 : 0);
}

BOOL CSplitterFrame::IsTopNode3Shown() const
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    return pTree && pTree->IsTopNode3Shown();
}

BOOL CSplitterFrame::IsTopNode4Shown() const
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    return pTree && pTree->IsTopNode4Shown();
}

void CSplitterFrame::OnHistoryBack()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->GoBack();
}

void CSplitterFrame::OnHistoryForward()
{
    if (CSisTreeCtrl* pTree = GetTreeCtrl())
        pTree->GoForward();
}

void CSplitterFrame::OnUpdateHistoryBack(CCmdUI* pCmdUI)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    pCmdUI->Enable(pTree && pTree->GetHistory().CanGoBack());
}

void CSplitterFrame::OnUpdateHistoryForward(CCmdUI* pCmdUI)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    pCmdUI->Enable(pTree && pTree->GetHistory().CanGoForward());
}

/***************************** The preview column *****************************/

void CSplitterFrame::OnTogglePreview()
{
    if (IsPreviewShown()) {
        int cxMin = 0;
        m_wndSplitter.GetColumnInfo(PREVIEW_COLUMN, m_nSavedPreviewWidth, cxMin);
        m_wndSplitter.HideColumn(PREVIEW_COLUMN);
        return;
    }
    if (m_pContentView)
        m_pContentView->ShowDocument(m_pCurrentItem.get());
    int cxTree = 0;
    int cxList = 0;
    int cxMin = 0;
    m_wndSplitter.GetColumnInfo(0, cxTree, cxMin);
    m_wndSplitter.GetColumnInfo(1, cxList, cxMin);
    m_wndSplitter.ShowColumn();
    // A preview that never had a width of its own (the column was hidden from
    // the start) takes a third of the view: from the list when it is wider
    // than that, else from the tree.
    if (m_nSavedPreviewWidth > 0)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cxThird = rcClient.Width() / 3;
    if (cxList > cxThird)
        cxList -= cxThird;
    else if (cxTree > cxThird)
        cxTree -= cxThird;
    m_wndSplitter.SetColumnInfo(0, cxTree, 0);
    m_wndSplitter.SetColumnInfo(1, cxList, 0);
    m_wndSplitter.SetColumnInfo(PREVIEW_COLUMN, cxThird, 0);
    m_wndSplitter.RecalcLayout();
}

void CSplitterFrame::OnUpdateTogglePreview(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsPreviewShown() ? 1 : 0);
}

/***************************** Status panes *****************************/

BOOL CSplitterFrame::IsMainWindowIconic()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain && pMain->IsIconic();
}

void CSplitterFrame::OnUpdatePaneCounts(CCmdUI* pCmdUI)
{
    if (IsMainWindowIconic())
        return;
    const int nRows = m_pListView && IsListShowingPending() ? m_pListView->GetListCtrl().GetItemCount() : 0;
    if (m_nStatusTotal == -1)
        m_nStatusTotal = m_pPendingNode ? m_pPendingNode->CountChildren() + m_pPendingNode->CountDocuments() : 0;
    CString strText;
    strText.Format(GetResString(IDS_PANE_COUNTS_FORMAT), nRows, static_cast<int>(m_nStatusTotal));
    pCmdUI->SetText(strText);
}

void CSplitterFrame::OnUpdatePaneNodePath(CCmdUI* pCmdUI)
{
    if (IsMainWindowIconic())
        return;
    pCmdUI->SetText("");
    auto* pStatusBar = dynamic_cast<CStatusBar*>(pCmdUI->m_pOther);
    if (!pStatusBar || (pStatusBar->GetPaneStyle(static_cast<int>(pCmdUI->m_nIndex)) & SBPS_DISABLED))
        return;
    CRect rcPane;
    pStatusBar->GetItemRect(static_cast<int>(pCmdUI->m_nIndex), &rcPane);
    if (rcPane.Width() < 1)
        return;
    // Drawn off screen and shown at once: the path does not flicker as it changes.
    CClientDC dc(pStatusBar);
    CMemoryDC memory(&dc, &rcPane, GetSysColor(COLOR_BTNFACE));
    DrawNodePath(m_pPendingNode.get(), memory.GetSafeHdc(), &rcPane);
}
