#include "frame/CExpiredListCtrl.h"

#include "frame/CListWindow.h"
#include "store/CatalogColumns.h"

IMPLEMENT_DYNCREATE(CExpiredListCtrl, CArqListCtrl)

CString CExpiredListCtrl::GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId)
{
    return CArqListCtrl::GetRowCellText(pRecord, nColumnId == COLUMN_BIN_STATE ? COLUMN_EXPIRY_STATE : nColumnId);
}

BOOL CExpiredListCtrl::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateListWindowKey(this, pMsg) || CArqListCtrl::PreTranslateMessage(pMsg);
}
