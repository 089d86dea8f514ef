// The document list's commands on its rows: opening, renaming and editing a
// cell, properties, removing from the group, the recycle bin, copy and cut,
// and the selection. Each command's
// update handler enables it by the rows it would act on; a blocked document
// (its file or message is gone or out of reach) is never acted on.

#include "frame/CArqListCtrl.h"

#include "catalog/CPendingDocs.h"
#include "catalog/CRecycleRun.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/FramePrompts.h"
#include "frame/RecycleCommandWords.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/DocumentOperations.h"
#include "store/ResString.h"
#include "ui/CDocContextMenu.h"
#include "ui/CKadDragObjReg.h"
#include "ui/ConfirmDelete.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWinThread.h"

#include <memory>
#include <vector>

/******************************************************************************
 * The rows commands act on
 ******************************************************************************/

BOOL CArqListCtrl::IsBlocked(const CDocumentRec& document, int bCheck)
{
    const int nState = document.GetExpiryState(bCheck);
    return nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE;
}

std::vector<int> CArqListCtrl::GetSelectedRows() const
{
    std::vector<int> rows;
    for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = GetNextItem(nRow, LVNI_SELECTED))
        rows.push_back(nRow);
    return rows;
}

BOOL CArqListCtrl::CanOpenRow(int nRow) const
{
    if (GetRowNode(nRow))
        return TRUE;
    const CDocumentRec* pDocument = GetRowDocument(nRow);
    return pDocument && !pDocument->IsMail() && !IsBlocked(*pDocument, 1);
}

BOOL CArqListCtrl::CanRecycleRow(int nRow) const
{
    if (GetRowNode(nRow))
        return !GetRowNode(nRow)->IsFixedNode();
    const CDocumentRec* pDocument = GetRowDocument(nRow);
    // Messages of the database kind cannot be taken out of their store.
    return pDocument && !IsBlocked(*pDocument, 1)
        && !(pDocument->IsMail() && pDocument->GetMailRef().nStoreKind == MAIL_STORE_OE5);
}

/******************************************************************************
 * Opening
 ******************************************************************************/

void CArqListCtrl::FollowGroup(CNodeRec& node)
{
    // Sent, not posted: the row's record lives only until the next refresh.
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(g_nMsgSysDoubleClick, 0, reinterpret_cast<LPARAM>(&node));
}

std::vector<int> CArqListCtrl::GetRowsToOpen() const
{
    std::vector<int> rows = GetSelectedRows();
    if (rows.empty() && GetFocusedRow() >= 0)
        rows.push_back(GetFocusedRow());
    return rows;
}

void CArqListCtrl::OpenSelected()
{
    const BOOL bSelection = GetSelectedCount() > 0;
    const std::vector<int> rows = GetRowsToOpen();
    CArchivoraApp* pApp = GetArchivoraApp();
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    BOOL bOpened = FALSE;
    CNodeRec* pGroup = nullptr;
    for (int nRow : rows) {
        if (CNodeRec* pNode = GetRowNode(nRow)) {
            // A group is followed into the tree only when it is all there is to open.
            if (rows.size() == 1)
                pGroup = pNode;
            continue;
        }
        CDocumentRec* pDocument = GetRowDocument(nRow);
        if (pPending && pDocument && !pDocument->IsMail() && !(bSelection && IsBlocked(*pDocument, 1)))
            bOpened = pPending->OpenDocument(*pDocument, m_hWnd, nullptr) != 0 || bOpened;
    }
    if (bOpened)
        pApp->MinimizeAfterOpen();
    if (pGroup)
        FollowGroup(*pGroup);
}

void CArqListCtrl::OpenSelectedItems()
{
    const std::vector<int> rows = GetRowsToOpen();
    CArchivoraApp* pApp = GetArchivoraApp();
    BOOL bOpened = FALSE;
    CNodeRec* pGroup = nullptr;
    for (int nRow : rows) {
        if (CNodeRec* pNode = GetRowNode(nRow)) {
            if (rows.size() == 1)
                pGroup = pNode;
            continue;
        }
        CDocumentRec* pDocument = GetRowDocument(nRow);
        if (pApp && pDocument && !IsBlocked(*pDocument, 1))
            bOpened = pApp->OpenItem(*pDocument, this) || bOpened;
    }
    if (bOpened)
        pApp->MinimizeAfterOpen();
    if (pGroup)
        FollowGroup(*pGroup);
}

void CArqListCtrl::OnOpenSelected()
{
    OpenSelected();
}

void CArqListCtrl::OnOpenItems()
{
    OpenSelectedItems();
}

void CArqListCtrl::OnUpdateOpenSelected(CCmdUI* pCmdUI)
{
    BOOL bEnable = FALSE;
    for (int nRow : GetRowsToOpen())
        bEnable = bEnable || CanOpenRow(nRow);
    pCmdUI->Enable(bEnable);
}

/******************************************************************************
 * Renaming, editing and properties
 ******************************************************************************/

void CArqListCtrl::OnRename()
{
    RenameFocused();
}

void CArqListCtrl::OnUpdateRename(CCmdUI* pCmdUI)
{
    const int nRow = GetFocusedRow();
    const int nName = FindColumn(COLUMN_NAME);
    BOOL bEnable = nRow >= 0 && nName >= 0 && GetColumnWidth(nName) > 0;
    if (bEnable) {
        const CNodeRec* pNode = GetRowNode(nRow);
        const CDocumentRec* pDocument = GetRowDocument(nRow);
        bEnable = (pNode && !pNode->IsFixedNode()) || (pDocument && !pDocument->IsMail() && !IsBlocked(*pDocument, 0));
    }
    pCmdUI->Enable(bEnable);
}

void CArqListCtrl::OnEditCell()
{
    EditFocusedCell();
}

void CArqListCtrl::OnUpdateEditCell(CCmdUI* pCmdUI)
{
    const int nRow = GetFocusedRow();
    const int nPosition = GetCurrentColumn();
    int nColumn = -1;
    if (nPosition >= 0 && GetGridHeader().GetSafeHwnd())
        nColumn = static_cast<int>(GetGridHeader().SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nPosition)));
    const BOOL bEditable = nRow >= 0 && nColumn >= 0 && GetColumnId(nColumn) != COLUMN_NAME
        && GetColumnWidth(nColumn) > 0 && GetCellEditLimit(nRow, nColumn) > 0;
    // The menu names the column an edit would change.
    if (pCmdUI->m_pMenu) {
        CString strText = GetResString(IDS_EDIT_CELL_UNAVAILABLE);
        if (bEditable) {
            // One string at a time: the loader's buffer holds only the last.
            const CString strColumn = GetResString(static_cast<UINT>(GetColumnId(nColumn)));
            strText.Format(GetResString(IDS_EDIT_CELL_NAMED), static_cast<LPCTSTR>(strColumn));
        }
        pCmdUI->SetText(strText);
    }
    pCmdUI->Enable(bEditable);
}

void CArqListCtrl::OnProperties()
{
    const int nRow = GetFocusedRow();
    CWnd* pParent = GetParent();
    int nResult = IDCANCEL;
    if (CNodeRec* pNode = GetRowNode(nRow)) {
        nResult = GetFramePrompts().GroupProperties(*pNode);
    } else if (CDocumentRec* pDocument = GetRowDocument(nRow)) {
        // A moved document or a new expiry changes the lists; they are read again.
        std::unique_ptr<CDocumentRec> pMoved;
        const int nChange = GetFramePrompts().DocumentProperties(*pDocument, FALSE, &pMoved);
        if (nChange == CFramePrompts::CATALOG_CHANGED) {
            if (pParent)
                pParent->PostMessage(g_nMsgListCatalogChanged);
            return;
        }
        nResult = nChange == CFramePrompts::PROPERTIES_CHANGED ? IDOK : IDCANCEL;
    }
    if (nResult == IDOK && pParent)
        pParent->PostMessage(g_nMsgListPropChanged);
}

void CArqListCtrl::OnUpdateProperties(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetRowRecord(GetFocusedRow()) != nullptr);
}

/******************************************************************************
 * Removing and recycling
 ******************************************************************************/

void CArqListCtrl::OnRemoveFromGroup()
{
    std::vector<CCatalogRecord*> items;
    for (int nRow : GetSelectedRows()) {
        if (KindOf(GetRowRecord(nRow)) != RowKind::Empty)
            items.push_back(GetRowRecord(nRow));
    }
    if (items.empty() || !m_pShownNode)
        return;
    if (ConfirmDeleteItems(m_pShownNode.get(), items, &AskConfirmDelete)) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(g_nMsgListCatalogChanged);
    }
}

void CArqListCtrl::OnUpdateRemoveFromGroup(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pShownNode && GetSelectedCount() > 0);
}

void CArqListCtrl::RecycleSelected()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    for (int nRow : GetSelectedRows()) {
        if (!CanRecycleRow(nRow))
            continue;
        if (CNodeRec* pNode = GetRowNode(nRow))
            entries.emplace_back(pNode->Clone());
        else if (CDocumentRec* pDocument = GetRowDocument(nRow))
            entries.emplace_back(pDocument->Clone());
    }
    if (entries.empty())
        return;
    if (MoveToRecycleBin(pApp->GetMainCatalog(), pApp->GetRecycleCatalog(), entries, FALSE)) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(g_nMsgListCatalogChanged);
    }
}

void CArqListCtrl::OnRecycle()
{
    RecycleSelected();
}

void CArqListCtrl::OnUpdateRecycle(CCmdUI* pCmdUI)
{
    int nMessages = 0;
    int nOthers = 0;
    for (int nRow : GetSelectedRows()) {
        if (!CanRecycleRow(nRow))
            continue;
        const CDocumentRec* pDocument = GetRowDocument(nRow);
        ++(pDocument && pDocument->IsMail() ? nMessages : nOthers);
    }
    pCmdUI->Enable(nMessages + nOthers > 0);
    ShowRecycleCommandWords(pCmdUI, nMessages, nOthers);
}

/******************************************************************************
 * Copy and cut
 ******************************************************************************/

BOOL CArqListCtrl::IsShownNodeFixedTop() const
{
    return m_pShownNode && m_pShownNode->GetSlot() == 0
        && (m_pShownNode->GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK
            || m_pShownNode->GetBlock() == CNodeRec::FIXED_NODE_LAST);
}

BOOL CArqListCtrl::CopySelection(LONG nOperation)
{
    // A cut marks its rows; a new copy or cut clears the marks first.
    for (int nRow = 0, nCount = GetItemCount(); nRow < nCount; ++nRow) {
        if (GetItemState(nRow, LVIS_CUT))
            SetItemState(nRow, 0, LVIS_CUT);
    }
    CKadDragObjReg payload;
    payload.SetSource(m_pShownNode.get());
    const std::vector<int> rows = GetSelectedRows();
    for (int nRow : rows) {
        if (KindOf(GetRowRecord(nRow)) != RowKind::Empty)
            payload.AddItem(GetRowRecord(nRow), nRow);
    }
    if (payload.GetItemCount() == 0 || !payload.CopyToClipboard(static_cast<int>(nOperation)))
        return FALSE;
    if (nOperation == PAYLOAD_MOVE) {
        for (int nRow : rows)
            SetItemState(nRow, LVIS_CUT, LVIS_CUT);
    }
    return TRUE;
}

void CArqListCtrl::OnCopy()
{
    (void)CopySelection(PAYLOAD_COPY); // a clipboard that refuses keeps what it had
}

void CArqListCtrl::OnCut()
{
    (void)CopySelection(PAYLOAD_MOVE);
}

void CArqListCtrl::OnUpdateCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectedCount() > 0 && !IsShownNodeFixedTop());
}

void CArqListCtrl::OnUpdateCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectedCount() > 0);
}

/******************************************************************************
 * Context menus
 ******************************************************************************/

UINT CArqListCtrl::TrackMenu(CMenu& popup, CPoint point)
{
    return static_cast<UINT>(
        popup.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, point.x, point.y, this));
}

CWnd* CArqListCtrl::GetMenuWindow() const
{
    CWnd* pWindow = GetParent();
    while (pWindow && (pWindow->GetStyle() & WS_CHILD))
        pWindow = pWindow->GetParent();
    return pWindow;
}

void CArqListCtrl::RunMenuCommand(UINT nID)
{
    if (nID == 0)
        return;
    // The list's own commands first, the rest to the window that has the menus.
    if (OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr))
        return;
    if (CWnd* pTarget = GetMenuWindow())
        pTarget->SendMessage(WM_COMMAND, nID);
}

BOOL CArqListCtrl::ShowLinkedSystem(const CDocumentRec& document, UINT nID)
{
    if (nID < ID_LINKED_SYSTEM_FIRST || nID > ID_LINKED_SYSTEM_LAST)
        return FALSE;
    CNodeRecArray nodes = document.GetLinkedNodes();
    const size_t nIndex = nID - ID_LINKED_SYSTEM_FIRST;
    // A copy: showing the group fills this list again, and the row's record goes.
    const std::unique_ptr<CDocumentRec> pCopy(document.Clone());
    if (CWnd* pMain = AfxGetMainWnd(); pMain && pCopy && nIndex < nodes.size())
        pMain->SendMessage(
            g_nMsgSelectEntry, reinterpret_cast<WPARAM>(nodes[nIndex].get()), reinterpret_cast<LPARAM>(pCopy.get()));
    return TRUE;
}

void CArqListCtrl::OnContextMenu(CWnd*, CPoint point)
{
    m_tip.Hide();
    int nRow = -1;
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the focused row.
        nRow = GetFocusedRow();
        CRect rcRow;
        if (nRow >= 0 && GetItemRect(nRow, &rcRow, LVIR_LABEL))
            point = CPoint(rcRow.left, rcRow.bottom);
        ClientToScreen(&point);
    } else {
        CPoint client = point;
        ScreenToClient(&client);
        UINT uFlags = 0;
        nRow = HitTest(client, &uFlags);
    }
    if (CDocumentRec* pDocument = GetRowDocument(nRow)) {
        UINT nID = 0;
        {
            // The menu gives the send-to menu back before a command may take the list away.
            CDocContextMenu menu(*pDocument, &BuildSendToMenu());
            if (!menu.Build(IDR_LIST_FILE_MENU, IDR_LIST_MAIL_MENU) || !menu.GetPopup())
                return;
            nID = TrackMenu(*menu.GetPopup(), point);
            if (nID >= CDocContextMenu::SHELL_COMMAND_FIRST && nID <= CDocContextMenu::SHELL_COMMAND_LAST) {
                (void)menu.InvokeShellCommand(nID); // the shell reports its own failures
                return;
            }
        }
        if (!ShowLinkedSystem(*pDocument, nID))
            RunMenuCommand(nID);
        return;
    }
    CNodeRec* pNode = GetRowNode(nRow);
    CMenu menu;
    if (!menu.LoadMenu(pNode ? IDR_LIST_NODE_MENU : IDR_LIST_EMPTY_MENU) || !menu.GetSubMenu(0))
        return;
    const UINT nID = TrackMenu(*menu.GetSubMenu(0), point);
    if (pNode && nID == ID_CATALOG_NEW_GROUP)
        NewGroupUnderNode(*pNode);
    else
        RunMenuCommand(nID);
}

void CArqListCtrl::NewGroupUnderNode(CNodeRec& node)
{
    if (GetFramePrompts().NewGroup(node) != IDOK)
        return;
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(g_nMsgListCatalogChanged);
}

/******************************************************************************
 * The selection
 ******************************************************************************/

void CArqListCtrl::OnSelectAll()
{
    for (int nRow = 0, nCount = GetItemCount(); nRow < nCount; ++nRow)
        SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
}

void CArqListCtrl::OnInvertSelection()
{
    InvertSelection();
}
