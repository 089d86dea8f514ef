#include "frame/CSisTreeView.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/DesktopLayout.h"
#include "frame/RecycleCommandWords.h"
#include "frame/SisTreeSettings.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "store/ResString.h"
#include "ui/AppPalette.h"
#include "ui/CKadDragObjReg.h"
#include "ui/DropTargets.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/FrameControls.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemMetrics.h"

IMPLEMENT_DYNCREATE(CSisTreeView, CPaneView)

// clang-format off
BEGIN_MESSAGE_MAP(CSisTreeView, CPaneView)
    ON_WM_SIZE()
    ON_WM_DRAWITEM()
    ON_WM_QUERYNEWPALETTE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CSisTreeView::OnIdleUpdateCmdUI)
    ON_COMMAND(CSisTreeView::ID_TOP_LEFT, &CSisTreeView::OnScrollLeft)
    ON_COMMAND(CSisTreeView::ID_BOTTOM_LEFT, &CSisTreeView::OnScrollLeft)
    ON_COMMAND(CSisTreeView::ID_TOP_RIGHT, &CSisTreeView::OnScrollRight)
    ON_COMMAND(CSisTreeView::ID_BOTTOM_RIGHT, &CSisTreeView::OnScrollRight)
    ON_COMMAND(CSisTreeView::ID_UP, &CSisTreeView::OnScrollUp)
    ON_COMMAND(CSisTreeView::ID_DOWN, &CSisTreeView::OnScrollDown)
    ON_COMMAND(ID_DOC_PROPERTIES, &CSisTreeView::OnGroupProperties)
    ON_COMMAND(ID_DOC_RENAME, &CSisTreeView::OnRename)
    ON_COMMAND(ID_DOC_REMOVE_FROM_GROUP, &CSisTreeView::OnDelete)
    ON_COMMAND(ID_DOC_RECYCLE, &CSisTreeView::OnRecycle)
    ON_COMMAND(ID_EDIT_COPY, &CSisTreeView::OnCopy)
    ON_COMMAND(ID_EDIT_CUT, &CSisTreeView::OnCut)
    ON_COMMAND(ID_CATALOG_PASTE_AT_TOP, &CSisTreeView::OnPasteAtTop)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_KEYWORDS, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_DOC_RENAME, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_DOC_REMOVE_FROM_GROUP, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_DOC_RECYCLE, &CSisTreeView::OnUpdateRecycle)
    ON_UPDATE_COMMAND_UI(ID_DOC_PROPERTIES, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CSisTreeView::OnUpdateContextCommand)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_PASTE_AT_TOP, &CSisTreeView::OnUpdatePasteAtTop)
    ON_UPDATE_COMMAND_UI(ID_DOC_EDIT_CELL, &CSisTreeView::OnUpdateEditCell)
    ON_REGISTERED_MESSAGE(g_nMsgTreeCatalogChanged, &CSisTreeView::OnTreeCatalogChanged)
    ON_REGISTERED_MESSAGE(g_nMsgTreePropChanged, &CSisTreeView::OnTreePropChanged)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD TREE_STYLE
    = WS_CHILD | WS_VISIBLE | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT | TVS_FULLROWSELECT;
constexpr DWORD ARROW_STYLE = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

struct CArrowButton {
    UINT nID;
    const char* pszCaption;
    UINT nArrow; // DFCS_SCROLL*
};

// clang-format off
constexpr CArrowButton ARROWS[6] = {
    { CSisTreeView::ID_TOP_LEFT,     "<", DFCS_SCROLLLEFT },
    { CSisTreeView::ID_UP,           "^", DFCS_SCROLLUP },
    { CSisTreeView::ID_TOP_RIGHT,    ">", DFCS_SCROLLRIGHT },
    { CSisTreeView::ID_BOTTOM_LEFT,  "<", DFCS_SCROLLLEFT },
    { CSisTreeView::ID_DOWN,         "v", DFCS_SCROLLDOWN },
    { CSisTreeView::ID_BOTTOM_RIGHT, ">", DFCS_SCROLLRIGHT },
};
// clang-format on

} // namespace

CSisTreeView::CSisTreeView() = default;
CSisTreeView::~CSisTreeView() = default;

/***************************** Creation and layout *****************************/

BOOL CSisTreeView::CreateControl()
{
    for (size_t i = 0; i < std::size(ARROWS); ++i) {
        if (!m_arrows[i].Create(ARROWS[i].pszCaption, ARROW_STYLE, CRect(0, 0, 0, 0), this, ARROWS[i].nID))
            return FALSE;
        RegisterDropTarget(&m_arrows[i], TRUE);
    }
    if (!m_tree.Create(TREE_STYLE, CRect(0, 0, 0, 0), this, TREE_ID))
        return FALSE;
    m_tree.SetIconSize(TRUE);
    return TRUE;
}

void CSisTreeView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (nType == SIZE_MINIMIZED || !m_tree.GetSafeHwnd())
        return;
    const int w = GetSystemMetrics(SM_CXHSCROLL);
    const int h = GetSystemMetrics(SM_CYHSCROLL);
    const int y[2] = { 0, cy - h };
    for (int nRow = 0; nRow < 2; ++nRow) {
        m_arrows[nRow * 3].MoveWindow(0, y[nRow], w, h);
        m_arrows[nRow * 3 + 1].MoveWindow(w, y[nRow], cx - 2 * w, h);
        m_arrows[nRow * 3 + 2].MoveWindow(cx - w, y[nRow], w, h);
    }
    m_tree.MoveWindow(0, h, cx, cy - 2 * h);
}

void CSisTreeView::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    for (const CArrowButton& arrow : ARROWS) {
        if (static_cast<UINT>(nIDCtl) == arrow.nID) {
            DrawArrowFrame(lpDrawItemStruct, arrow.nArrow);
            return;
        }
    }
    CPaneView::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

BOOL CSisTreeView::OnQueryNewPalette()
{
    CClientDC dc(&m_tree);
    RealizeAppPalette(&dc);
    m_tree.Invalidate();
    return TRUE;
}

/***************************** Scrolling *****************************/

BOOL CSisTreeView::CanScroll(int nBar, BOOL bForward)
{
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!m_tree.GetSafeHwnd() || !m_tree.GetScrollInfo(nBar, &info))
        return FALSE;
    if (!bForward)
        return info.nPos > info.nMin;
    return info.nPage != 0 && info.nPos + static_cast<int>(info.nPage) <= info.nMax;
}

void CSisTreeView::OnScrollLeft()
{
    if (CanScroll(SB_HORZ, FALSE))
        m_tree.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
}

void CSisTreeView::OnScrollRight()
{
    if (CanScroll(SB_HORZ, TRUE))
        m_tree.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
}

void CSisTreeView::OnScrollUp()
{
    if (CanScroll(SB_VERT, FALSE))
        m_tree.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    SendToFrame(g_nMsgSelDrawn, 0, 0);
}

void CSisTreeView::OnScrollDown()
{
    if (CanScroll(SB_VERT, TRUE))
        m_tree.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    SendToFrame(g_nMsgSelDrawn, 0, 0);
}

LRESULT CSisTreeView::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (!m_tree.GetSafeHwnd())
        return 0;
    const BOOL bLeft = CanScroll(SB_HORZ, FALSE);
    const BOOL bRight = CanScroll(SB_HORZ, TRUE);
    const BOOL bEnabled[6] = { bLeft, CanScroll(SB_VERT, FALSE), bRight, bLeft, CanScroll(SB_VERT, TRUE), bRight };
    for (size_t i = 0; i < std::size(m_arrows); ++i) {
        if (m_arrows[i].IsWindowEnabled() != bEnabled[i])
            m_arrows[i].EnableWindow(bEnabled[i]);
    }
    return 0;
}

/***************************** Commands and notices *****************************/

void CSisTreeView::OnUpdateContextCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.IsContextNodeEditable());
}

void CSisTreeView::OnUpdateRecycle(CCmdUI* pCmdUI)
{
    OnUpdateContextCommand(pCmdUI);
    ShowRecycleCommandWords(pCmdUI, 0, 1); // a group is no message
}

void CSisTreeView::OnUpdatePasteAtTop(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CKadDragObjReg::HasClipboardPayload(TRUE));
}

void CSisTreeView::OnUpdateEditCell(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(GetResString(IDS_EDIT_CELL_UNAVAILABLE));
    pCmdUI->Enable(FALSE);
}

LRESULT CSisTreeView::OnTreeCatalogChanged(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgRedo, wParam, lParam);
    return 0;
}

LRESULT CSisTreeView::OnTreePropChanged(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgReread, wParam, lParam);
    return 0;
}

/***************************** Settings *****************************/

void CSisTreeView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CArchivoraApp* pApp = GetArchivoraApp();
    m_tree.Fill(pApp ? pApp->GetMainCatalog() : nullptr);
    ApplySettings();
}

void CSisTreeView::ApplySettings()
{
    CRegistryKey child;
    CRegistryKey key;
    if (!g_hRestoreKey || g_strCurrentChildKey.IsEmpty() || !child.Open(g_hRestoreKey, g_strCurrentChildKey, KEY_READ)
        || !key.Open(child, SIS_TREE_KEY_NAME, KEY_READ))
        return;
    const CSisTreeSettings settings = ReadSisTreeSettings(key);
    m_tree.SetIconSize(settings.bSmallIcons);
    if (HTREEITEM hSelect = FindKeptItem(settings.path, FALSE))
        m_tree.SelectItem(hSelect);
    // Selecting collapsed the rest: the systems that were open open again.
    for (const CSisTreePath& path : settings.expanded) {
        if (HTREEITEM hItem = FindKeptItem(path, TRUE))
            m_tree.ExpandItem(hItem, TVE_EXPAND);
    }
    m_tree.ShowTopNode3(settings.bShowTopNode3);
}

HTREEITEM CSisTreeView::FindKeptItem(const CSisTreePath& path, BOOL bWhole)
{
    CCatalog* pCatalog = m_tree.GetCatalog();
    if (path.empty() || !pCatalog)
        return nullptr;
    std::unique_ptr<CNodeRec> pTop3(CNodeRec::NewTopNodeRec3(pCatalog));
    if (pTop3 && path[0] == GetSystemName(*pTop3))
        return path.size() == 1 || !bWhole ? m_tree.FindChildItem(TVI_ROOT, *pTop3) : nullptr;
    std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(pCatalog));
    if (!pNode || path[0] != GetSystemName(*pNode))
        return nullptr;
    // Down the kept names as far as they still lead.
    HTREEITEM hItem = TVI_ROOT;
    HTREEITEM hFound = nullptr;
    for (size_t i = 1; i < path.size(); ++i) {
        std::unique_ptr<CNodeRec> pChild(pNode->FindChildByName(path[i]));
        HTREEITEM hChild = pChild ? m_tree.FindChildItem(hItem, *pChild) : nullptr;
        if (!hChild)
            return bWhole ? nullptr : hFound;
        hItem = hFound = hChild;
        pNode = std::move(pChild);
    }
    return hFound;
}

CSisTreePath CSisTreeView::KeptPath(const CNodeRec& node)
{
    CSisTreePath path;
    for (const auto& pAncestor : node.GetAncestors())
        path.push_back(GetSystemName(*pAncestor));
    path.push_back(GetSystemName(node));
    return path;
}

void CSisTreeView::CollectExpanded(HTREEITEM hParent, std::vector<CSisTreePath>& expanded)
{
    for (HTREEITEM hItem = m_tree.GetChildItem(hParent); hItem; hItem = m_tree.GetNextSiblingItem(hItem)) {
        const CNodeRec* pNode = m_tree.GetItemNode(hItem);
        if (!pNode || !(m_tree.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED))
            continue;
        expanded.push_back(KeptPath(*pNode));
        CollectExpanded(hItem, expanded);
    }
}

void CSisTreeView::SaveSettings(HKEY hParent, LPCTSTR pszName)
{
    CSisTreeSettings settings;
    settings.bSmallIcons = m_tree.IsSmallIcons();
    settings.bShowTopNode3 = m_tree.IsTopNode3Shown();
    if (const CNodeRec* pNode = m_tree.GetContextNode())
        settings.path = KeptPath(*pNode);
    CollectExpanded(TVI_ROOT, settings.expanded);
    (void)WriteSisTreeSettings(hParent, pszName, settings); // a key that cannot be had keeps nothing, silently
}
