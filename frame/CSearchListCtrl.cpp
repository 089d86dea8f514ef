#include "frame/CSearchListCtrl.h"

#include "frame/CListWindow.h"

IMPLEMENT_DYNCREATE(CSearchListCtrl, CArqListCtrl)

BOOL CSearchListCtrl::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateListWindowKey(this, pMsg) || CArqListCtrl::PreTranslateMessage(pMsg);
}
