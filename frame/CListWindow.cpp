#include "frame/CListWindow.h"

#include "frame/AppMessages.h"
#include "frame/CArqListCtrl.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"
#include "ui/CGroupPopupWnd.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/Input.h"

#include <algorithm>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CListWindow, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CListWindow, CDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_KICKIDLE, &CListWindow::OnKickIdle)
    ON_NOTIFY(LVN_ITEMCHANGED, CListWindow::LIST_ID, &CListWindow::OnListItemChanged)
    ON_COMMAND(ID_DOC_SELECT_ALL, &CListWindow::OnSelectAll)
    ON_COMMAND(ID_DOC_INVERT_SELECTION, &CListWindow::OnInvertSelection)
    ON_BN_CLICKED(CListWindow::GROUPS_ID, &CListWindow::OnGroupsButton)
    ON_REGISTERED_MESSAGE(g_nMsgListCatalogChanged, &CListWindow::OnListCatalogChanged)
    ON_REGISTERED_MESSAGE(g_nMsgListPropChanged, &CListWindow::OnListPropChanged)
END_MESSAGE_MAP()
// clang-format on

BOOL PreTranslateListWindowKey(CWnd* pList, MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || pMsg->hwnd != pList->GetSafeHwnd())
        return FALSE;
    // The keys the lists take themselves, which neither the dialog nor the
    // main window's accelerators may have.
    const WPARAM nKey = pMsg->wParam;
    const BOOL bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (nKey != VK_RETURN && nKey != VK_ESCAPE && nKey != VK_F3 && nKey != VK_F5
        && !(bControl && nKey >= 'A' && nKey <= 'Z'))
        return FALSE;
    TranslateMessage(pMsg);
    DispatchMessage(pMsg);
    return TRUE;
}

CListWindow::CListWindow(UINT nIDTemplate)
    : m_nIDTemplate(nIDTemplate)
{
}

BOOL CListWindow::CreateHidden(CWnd* pParent)
{
    return Create(m_nIDTemplate, pParent);
}

void CListWindow::ShowList()
{
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
}

BOOL CListWindow::OnInitDialog()
{
    CArqListCtrl& list = GetList();
    if (!list.SubclassDlgItem(LIST_ID, this))
        return FALSE;
    list.Initialize();
    list.CreateStateImageList();
    InsertColumns();
    m_nodePath.SubclassDlgItem(NODE_PATH_ID, this);
    if (GetDlgItem(GROUPS_ID))
        m_groupsButton.SubclassDlgItem(GROUPS_ID, this);
    CDialog::OnInitDialog();
    CMenu menu;
    if (menu.LoadMenu(m_nIDTemplate)) {
        SetMenu(&menu);
        menu.Detach(); // the window owns its menu bar now
    }
    if (IsWindowVisible())
        Open();
    return TRUE;
}

void CListWindow::InsertColumns()
{
    CArqListCtrl& list = GetList();
    const int cxChar = std::max(list.GetStringWidth("a"), 1);
    const std::span<const CListWindowColumn> columns = GetColumns();
    std::vector<int> order;
    for (const CListWindowColumn& column : columns) {
        list.InsertColumn(static_cast<int>(order.size()), column.nChars * cxChar, static_cast<UINT>(column.nId),
            column.bShaded, column.nType, column.nFormat);
        order.push_back(static_cast<int>(order.size()));
    }
    if (order.size() < 2)
        return;
    std::swap(order[0], order[1]); // the state column first on screen
    list.GetGridHeader().SetOrderArray(static_cast<int>(order.size()), order.data());
    list.SetHeaderStatePicture(1);
}

BOOL CListWindow::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CArqListCtrl& list = GetList();
    if (ListTakesCommands() && list.GetSafeHwnd() && list.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CListWindow::OnCancel()
{
    ShowWindow(SW_HIDE);
}

/******************************************************************************
 * Open and closed
 ******************************************************************************/

void CListWindow::Open()
{
    if (m_bOpen)
        return;
    CCatalog* pCatalog = GetCatalog();
    if (!pCatalog || !pCatalog->Acquire())
        return;
    m_bOpen = TRUE;
    m_bReloadPending = m_bRedrawPending = FALSE;
    Reload();
    GetList().SelectOnly(0);
    ShowFocused();
    GetList().SetFocus();
}

void CListWindow::Close()
{
    if (!m_bOpen)
        return;
    // The rows' records go with the catalog's hold.
    GetList().ClearRows();
    m_bOpen = FALSE;
    if (CCatalog* pCatalog = GetCatalog()) {
        pCatalog->ClearRecordCache();
        pCatalog->Release();
    }
}

void CListWindow::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    if (bShow)
        Open();
    else
        Close();
}

void CListWindow::OnDestroy()
{
    Close();
    CDialog::OnDestroy();
}

void CListWindow::OnCatalogChanged()
{
    if (!m_bOpen) {
        m_bReloadPending = TRUE;
        return;
    }
    Reload();
    ShowFocused();
}

void CListWindow::OnViewChanged()
{
    if (!m_bOpen) {
        m_bRedrawPending = TRUE;
        return;
    }
    GetList().RefreshAll();
}

LRESULT CListWindow::OnListCatalogChanged(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(g_nMsgRedo, wParam, lParam);
    return 0;
}

LRESULT CListWindow::OnListPropChanged(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(g_nMsgReread, wParam, lParam);
    return 0;
}

/******************************************************************************
 * The focused row and the controls
 ******************************************************************************/

LRESULT CListWindow::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CListWindow::ShowFocused()
{
    CArqListCtrl& list = GetList();
    if (m_nodePath.GetSafeHwnd()) {
        m_nodePath.SetNodeOfRecord(list.GetRowRecord(list.GetFocusedRow()));
        m_nodePath.Invalidate();
    }
    if (m_groupsButton.GetSafeHwnd()) {
        const CDocumentRec* pDocument = list.GetRowDocument(list.GetFocusedRow());
        m_groupsButton.ShowWindow(pDocument && pDocument->HasLinks() ? SW_SHOW : SW_HIDE);
    }
    CString strCount;
    strCount.Format(GetResString(IDS_LIST_WINDOW_COUNT), list.GetItemCount());
    SetDlgItemText(COUNT_ID, strCount);
}

void CListWindow::OnGroupsButton()
{
    CArqListCtrl& list = GetList();
    const CDocumentRec* pDocument = list.GetRowDocument(list.GetFocusedRow());
    if (m_bGroupsShowing || !pDocument)
        return;
    m_bGroupsShowing = TRUE;
    m_groupsButton.SetState(TRUE);
    CRect rcButton;
    m_groupsButton.GetWindowRect(&rcButton);
    CGroupPopupWnd popup;
    if (popup.Create(this) == 1) {
        popup.GetGroupList().FillGroups(pDocument);
        const POINT at { rcButton.left + 10, rcButton.bottom - 1 };
        (void)popup.TrackPopup(&at, nullptr, nullptr); // the list of groups chooses nothing
        popup.DestroyWindow();
    }
    if (::IsWindow(m_groupsButton.GetSafeHwnd()))
        m_groupsButton.SetState(FALSE);
    m_bGroupsShowing = FALSE;
}

void CListWindow::OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if ((pChange->uChanged & LVIF_STATE) && ((pChange->uNewState ^ pChange->uOldState) & LVIS_FOCUSED))
        ShowFocused();
}

void CListWindow::OnSelectAll()
{
    CArqListCtrl& list = GetList();
    for (int nRow = 0, nCount = list.GetItemCount(); nRow < nCount; ++nRow)
        list.SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
}

void CListWindow::OnInvertSelection()
{
    GetList().InvertSelection();
}
