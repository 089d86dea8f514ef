// Dragging rows out of the document list, and the list as a drop target for
// catalog records: a drop on a group row files the records under that group,
// a drop anywhere else under the group the list shows. Records dragged out of
// one of the two fixed top nodes always move; elsewhere Ctrl copies. A group
// never takes a drop of itself.

#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "store/CNodeRec.h"
#include "store/DocumentOperations.h"
#include "ui/CDragTracker.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/DropTargets.h"
#include "ui/ShellItemsBackup.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CWaitCursor.h"

/******************************************************************************
 * The list as the drag's source
 ******************************************************************************/

void CArqListCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    CGridListCtrl::OnBeginDrag(pNMHDR, pResult);
    if (m_pTracker)
        return;
    auto pPayload = std::make_unique<CKadDragObjReg>();
    pPayload->SetSource(m_pShownNode.get());
    for (int nRow : GetSelectedRows()) {
        if (KindOf(GetRowRecord(nRow)) != RowKind::Empty)
            pPayload->AddItem(GetRowRecord(nRow), nRow);
    }
    if (pPayload->GetItemCount() == 0)
        return;
    POINT origin {};
    m_pDragImage.reset(CreateDragImage(GetFocusedRow(), &origin));
    m_pPayload = std::move(pPayload);
    POINT point = reinterpret_cast<const NMLISTVIEW*>(pNMHDR)->ptAction;
    ClientToScreen(&point);
    m_pTracker = std::make_unique<CDragTracker>();
    m_pTracker->Begin(this, m_pPayload.get(), m_pDragImage.get(), point.x, point.y);
}

BOOL CArqListCtrl::TrackDragMove(UINT nFlags, CPoint point)
{
    if (!m_pTracker || m_pTracker->GetResult() != 0)
        return FALSE;
    ClientToScreen(&point);
    m_pTracker->Move(nFlags, point.x, point.y);
    FinishDrag();
    return TRUE;
}

BOOL CArqListCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (m_pTracker && m_pTracker->GetResult() == 0) {
        const BOOL bTaken = m_pTracker->FilterMessage(pMsg);
        const BOOL bEnded = m_pTracker->GetResult() != 0;
        FinishDrag();
        if (bTaken || bEnded)
            return TRUE;
    }
    return CGridListCtrl::PreTranslateMessage(pMsg);
}

void CArqListCtrl::FinishDrag()
{
    if (!m_pTracker)
        return;
    const HRESULT hResult = m_pTracker->GetResult();
    if (hResult != DRAGDROP_S_DROP && hResult != DRAGDROP_S_CANCEL)
        return;
    // The tracker goes first: a drop may refill this very list.
    std::unique_ptr<CDragTracker> pTracker = std::move(m_pTracker);
    std::unique_ptr<CKadDragObj> pPayload = std::move(m_pPayload);
    std::unique_ptr<CImageList> pImage = std::move(m_pDragImage);
    pTracker->End();
}

/******************************************************************************
 * The list as a drop target
 ******************************************************************************/

void CArqListCtrl::SetDropRow(int nRow)
{
    if (nRow == m_nDropRow)
        return;
    if (m_nDropRow >= 0 && m_nDropRow < GetItemCount())
        SetItemState(m_nDropRow, 0, LVIS_DROPHILITED);
    m_nDropRow = nRow;
    if (m_nDropRow >= 0)
        SetItemState(m_nDropRow, LVIS_DROPHILITED, LVIS_DROPHILITED);
}

void CArqListCtrl::DropEnter()
{
    m_nDropRow = -1;
}

void CArqListCtrl::DropLeave()
{
    SetDropRow(-1);
}

DROPEFFECT CArqListCtrl::DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    if (const auto* pShellItems = dynamic_cast<const CKadDragObjPIDL*>(pPayload))
        return ShellItemsDropOver(*pShellItems, x, y);
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    if (!pRecords || pRecords->GetKind() != CKadDragObj::KIND_CATALOG_RECORDS) {
        SetDropRow(-1);
        return DROPEFFECT_NONE;
    }
    const CCatalogRecord* pSource = pRecords->GetSource();
    const bool bFromTopNode = pSource && pSource->GetSlot() == 0
        && (pSource->GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK || pSource->GetBlock() == CNodeRec::FIXED_NODE_LAST);
    DROPEFFECT effect = bFromTopNode || !(nKeyState & MK_CONTROL) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    auto isSource
        = [pSource](const CCatalogRecord* pNode) { return pSource && pNode && pSource->GetRef() == pNode->GetRef(); };
    UINT uFlags = 0;
    const int nRow = HitTest(CPoint(x, y), &uFlags);
    if (const CNodeRec* pNode = GetRowNode(nRow)) {
        if (isSource(pNode)) {
            SetDropRow(-1);
            return DROPEFFECT_NONE;
        }
        SetDropRow(nRow);
        return effect;
    }
    SetDropRow(-1);
    if (!m_pShownNode || isSource(m_pShownNode.get()))
        effect = DROPEFFECT_NONE;
    return effect;
}

DROPEFFECT CArqListCtrl::ShellItemsDropOver(const CKadDragObjPIDL& items, int x, int y)
{
    // Files and folders go into the group under the point, else the shown one.
    UINT uFlags = 0;
    const int nRow = HitTest(CPoint(x, y), &uFlags);
    SetDropRow(GetRowNode(nRow) ? nRow : -1);
    if ((!GetRowNode(nRow) && !m_pShownNode) || items.GetItemCount() == 0 || !items.GetFolder())
        return DROPEFFECT_NONE;
    // A lone item outside the file system (a printer, the network) cannot be catalogued.
    if (items.GetItemCount() == 1) {
        LPCITEMIDLIST pidl = items.GetItem(0).pidl;
        SFGAOF nAttributes = SFGAO_FILESYSTEM;
        if (FAILED(items.GetFolder()->GetAttributesOf(1, &pidl, &nAttributes)) || !(nAttributes & SFGAO_FILESYSTEM))
            return DROPEFFECT_NONE;
    }
    return DROPEFFECT_COPY;
}

BOOL CArqListCtrl::DropTake(CKadDragObj* pPayload, DROPEFFECT effect)
{
    CNodeRec* pTarget = m_nDropRow >= 0 ? GetRowNode(m_nDropRow) : m_pShownNode.get();
    SetDropRow(-1);
    if (!pTarget || effect == DROPEFFECT_NONE)
        return FALSE;
    BOOL bDone = FALSE;
    if (const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload)) {
        const LONG nOperation = effect == DROPEFFECT_COPY ? PAYLOAD_COPY : PAYLOAD_MOVE;
        bDone = DropDocuments(pTarget, pRecords->ToPayload(nOperation), static_cast<int>(nOperation));
    } else if (const auto* pShellItems = dynamic_cast<const CKadDragObjPIDL*>(pPayload)) {
        CWaitCursor wait;
        bDone = BackupDroppedShellItems(*pTarget, *pShellItems);
    }
    if (!bDone)
        return FALSE;
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(g_nMsgListCatalogChanged);
    return TRUE;
}
