// The systems tree as a drop target: catalog records dropped on a system are
// copied or moved there (onto empty space: to the top level), folders from
// the shell are catalogued under it.

#include "frame/CSisTreeCtrl.h"

#include "catalog/ShellItemIds.h"
#include "frame/AppMessages.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/DocumentOperations.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/ShellItemsBackup.h"

#include "platform/framework/CWaitCursor.h"
#include "platform/shell/ShellFolder.h"
#include "platform/window/Input.h"

namespace {

BOOL IsNodeRecord(const CCatalogRecord* pRecord)
{
    return dynamic_cast<const CNodeRec*>(pRecord) != nullptr;
}

// Whether any element of the payload, looked at from the last, is a system.
BOOL HoldsNode(const CKadDragObjReg& payload)
{
    for (int i = payload.GetItemCount() - 1; i >= 0; --i) {
        if (IsNodeRecord(payload.GetItem(i).pRecord))
            return TRUE;
    }
    return FALSE;
}

BOOL IsFixedTopSource(const CKadDragObjReg& payload)
{
    const auto* pSource = dynamic_cast<const CNodeRec*>(payload.GetSource());
    return pSource && IsFixedTopNode(*pSource);
}

// A single shell item that is a folder.
BOOL IsSingleFolder(const CKadDragObjPIDL& payload)
{
    if (payload.GetItemCount() != 1 || !payload.GetFolder())
        return FALSE;
    LPCITEMIDLIST pidl = payload.GetItem(0).pidl;
    SFGAOF nAttributes = SFGAO_FOLDER;
    if (FAILED(payload.GetFolder()->GetAttributesOf(1, &pidl, &nAttributes)))
        return FALSE;
    return (nAttributes & SFGAO_FOLDER) != 0;
}

} // namespace

DROPEFFECT CSisTreeCtrl::DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    if (!pPayload || !m_pCatalog)
        return DROPEFFECT_NONE;
    HTREEITEM hTarget = HitTest(CPoint(x, y), nullptr);
    DROPEFFECT effect = DROPEFFECT_NONE;
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    const auto* pShellItems = dynamic_cast<const CKadDragObjPIDL*>(pPayload);
    if (pRecords && pPayload->GetKind() == CKadDragObj::KIND_CATALOG_RECORDS) {
        if (!hTarget && HoldsNode(*pRecords))
            hTarget = TVI_ROOT;
        if (hTarget) {
            if (IsFixedTopSource(*pRecords))
                effect = DROPEFFECT_MOVE;
            else
                effect = (nKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        }
    } else if (pShellItems && pPayload->GetKind() == CKadDragObj::KIND_SHELL_ITEMS) {
        effect = IsSingleFolder(*pShellItems) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    } else {
        hTarget = nullptr;
    }

    if (hTarget != m_hDragHover) {
        EndDragOver();
        m_hDragHover = hTarget;
        if (hTarget == TVI_ROOT) {
            m_pDragTarget.reset(CNodeRec::NewRootNodeRec(m_pCatalog));
        } else if (CNodeRec* pNode = GetItemNode(hTarget)) {
            SelectDropTarget(hTarget);
            SetTimer(TIMER_DRAG_POPUP, POPUP_DELAY_MS, nullptr);
            m_pDragTarget.reset(pNode->Clone());
        }
    }
    if (!m_pDragTarget)
        return DROPEFFECT_NONE;
    if (!pRecords)
        return effect;
    if (IsFixedTopNode(*m_pDragTarget)) {
        // The fixed top nodes take documents only.
        const int nCount = pRecords->GetItemCount();
        if (nCount > 0 && IsNodeRecord(pRecords->GetItem(0).pRecord)
            && IsNodeRecord(pRecords->GetItem(nCount - 1).pRecord))
            return DROPEFFECT_NONE;
        return DROPEFFECT_MOVE;
    }
    const CCatalogRecord* pSource = pRecords->GetSource();
    if (pSource && pSource->GetRef() == m_pDragTarget->GetRef())
        return DROPEFFECT_NONE;
    return effect;
}

BOOL CSisTreeCtrl::DropTake(CKadDragObj* pPayload, DROPEFFECT effect)
{
    CWaitCursor wait;
    BOOL bDone = FALSE;
    if (m_pDragTarget && effect != DROPEFFECT_NONE) {
        if (const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload)) {
            const LONG nOperation = effect == DROPEFFECT_COPY ? PAYLOAD_COPY : PAYLOAD_MOVE;
            bDone = DropDocuments(m_pDragTarget.get(), pRecords->ToPayload(nOperation), nOperation) ? TRUE : FALSE;
        } else if (const auto* pShellItems = dynamic_cast<const CKadDragObjPIDL*>(pPayload)) {
            bDone = BackupDroppedShellItems(*m_pDragTarget, *pShellItems);
        }
    }
    EndDragOver();
    if (bDone)
        PostToParent(g_nMsgTreeCatalogChanged);
    return bDone;
}

void CSisTreeCtrl::EndDragOver()
{
    KillTimer(TIMER_DRAG_POPUP);
    if (m_hDragHover && m_hDragHover != TVI_ROOT)
        SelectDropTarget(nullptr);
    m_hDragHover = nullptr;
    m_pDragTarget.reset();
}
