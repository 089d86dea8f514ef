#include "frame/CExpiredListCtrl.h"

#include "catalog/ExpiredDocuments.h"
#include "frame/CArchivoraApp.h"
#include "frame/CListWindow.h"
#include "store/CatalogColumns.h"
#include "store/DocumentOperations.h"
#include "ui/CKadDragObjReg.h"

IMPLEMENT_DYNCREATE(CExpiredListCtrl, CArqListCtrl)

CString CExpiredListCtrl::GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId)
{
    return CArqListCtrl::GetRowCellText(pRecord, nColumnId == COLUMN_BIN_STATE ? COLUMN_EXPIRY_STATE : nColumnId);
}

BOOL CExpiredListCtrl::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateListWindowKey(this, pMsg) || CArqListCtrl::PreTranslateMessage(pMsg);
}

DROPEFFECT CExpiredListCtrl::DropOver(CKadDragObj* pPayload, UINT, int, int)
{
    return dynamic_cast<const CKadDragObjReg*>(pPayload) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL CExpiredListCtrl::DropTake(CKadDragObj* pPayload, DROPEFFECT)
{
    SetDropRow(-1);
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pRecords || !pApp || !CheckExpiredDocuments(pApp->GetMainCatalog(), pRecords->ToPayload(PAYLOAD_COPY)))
        return FALSE;
    if (auto* pWindow = dynamic_cast<CListWindow*>(GetParent()))
        pWindow->OnCatalogChanged();
    return TRUE;
}
