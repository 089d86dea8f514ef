#include "frame/CArqListView.h"

#include "frame/AppMessages.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"
#include "frame/DesktopLayout.h"
#include "store/CCatalogRecord.h"
#include "store/CMailDocumentHooks.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWinThread.h"
#include "platform/gdi/GdiObjects.h"

IMPLEMENT_DYNCREATE(CArqListView, CPaneView)

// clang-format off
BEGIN_MESSAGE_MAP(CArqListView, CPaneView)
    ON_WM_QUERYNEWPALETTE()
    ON_NOTIFY(LVN_ITEMCHANGED, CArqListView::LIST_ID, &CArqListView::OnItemChanged)
    ON_REGISTERED_MESSAGE(g_nMsgListCatalogChanged, &CArqListView::OnCatalogChanged)
    ON_REGISTERED_MESSAGE(g_nMsgListPropChanged, &CArqListView::OnPropertiesChanged)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD LIST_STYLE = 0x50000001; // a visible child in the report view

} // namespace

BOOL CArqListView::CreateControl()
{
    if (!m_list.Create(LIST_STYLE, CRect(0, 0, 0, 0), this, LIST_ID))
        return FALSE;
    // The grid draws in the list's font and a bold form of it.
    m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    return TRUE;
}

void CArqListView::OnInitialUpdate()
{
    CPaneView::OnInitialUpdate();
    m_list.Initialize();
    m_list.CreateStateImageList();
    m_list.LoadDefaultColumns();
    if (g_hRestoreKey && !g_strCurrentChildKey.IsEmpty())
        m_list.LoadSettings(g_hRestoreKey, g_strCurrentChildKey);
}

void CArqListView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CPaneView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && g_bMailboxReorganizePending.load()) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->PostMessage(g_nMsgReorganizeMailbox);
    }
}

BOOL CArqListView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_list.GetSafeHwnd() && m_list.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CPaneView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CArqListView::OnQueryNewPalette()
{
    return m_list.SelectAppPalette(FALSE) != 0;
}

void CArqListView::OnItemChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNotify);
    if (!(pChange->uChanged & LVIF_STATE))
        return;
    const bool bFocusedNow = (pChange->uNewState & LVIS_FOCUSED) != 0;
    const bool bFocusedBefore = (pChange->uOldState & LVIS_FOCUSED) != 0;
    if (bFocusedNow && !bFocusedBefore)
        SendToFrame(g_nMsgItemChanged, 0, reinterpret_cast<LPARAM>(m_list.GetRowRecord(pChange->iItem)));
    else if (bFocusedBefore && !bFocusedNow)
        SendToFrame(g_nMsgItemChanged, 0, 0);
}

LRESULT CArqListView::OnCatalogChanged(WPARAM wParam, LPARAM lParam)
{
    m_list.WaitForFill(FALSE);
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgRedo, wParam, lParam);
    return 0;
}

LRESULT CArqListView::OnPropertiesChanged(WPARAM wParam, LPARAM lParam)
{
    m_list.WaitForFill(TRUE);
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgReread, wParam, lParam);
    return 0;
}

/******************************************************************************
 * The preferences' column choices
 ******************************************************************************/

CArqListViewCtrl* CArqListView::ActiveList()
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    CSplitterFrame* pFrame = pMain ? pMain->GetActiveCatalogFrame() : nullptr;
    CArqListView* pView = pFrame ? pFrame->GetListView() : nullptr;
    return pView ? &pView->GetListCtrl() : nullptr;
}

BOOL CArqListView::GetVisibleColumns(CListColumnChoices* pChoices, BOOL* pbListExtension)
{
    CArqListViewCtrl* pList = ActiveList();
    if (!pList)
        return FALSE;
    pList->GetVisibleColumns(pChoices, pbListExtension);
    return TRUE;
}

BOOL CArqListView::ApplyColumnChoices(const CListColumnChoices& choices, BOOL bListExtension)
{
    CArqListViewCtrl* pList = ActiveList();
    if (!pList)
        return FALSE;
    pList->ApplyColumnChoices(choices, bListExtension);
    return TRUE;
}
