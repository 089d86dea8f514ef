#include "frame/CLixeiraListCtrl.h"

#include "catalog/RecycleBin.h"
#include "catalog/RecycleDrops.h"
#include "frame/CArchivoraApp.h"
#include "frame/CListWindow.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CatalogColumns.h"
#include "store/DocumentOperations.h"
#include "ui/CKadDragObjReg.h"

#include "platform/base/FileFunctions.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CMenu.h"
#include "platform/window/Input.h"

#include <vector>

IMPLEMENT_DYNCREATE(CLixeiraListCtrl, CArqListCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CLixeiraListCtrl, CArqListCtrl)
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()
// clang-format on

BOOL CLixeiraListCtrl::IsRestorable(const CDocumentRec& entry)
{
    const CString strLocation = GetRecycleBinLocation(entry);
    return !strLocation.IsEmpty() && GetFileAttributes(strLocation) != INVALID_FILE_ATTRIBUTES;
}

CString CLixeiraListCtrl::GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId)
{
    if (KindOf(pRecord) != RowKind::Document)
        return CString(); // the bin lists documents only
    const auto& entry = *static_cast<const CDocumentRec*>(pRecord);
    switch (nColumnId) {
    case COLUMN_BIN_STATE:
        return IsRestorable(entry) ? CString() : CString("2");
    case COLUMN_BIN_FOLDER:
        return entry.GetDirectoryString(TRUE);
    case COLUMN_NAME: {
        CString strName;
        entry.GetFullPath(strName);
        return strName;
    }
    default:
        return CArqListCtrl::GetRowCellText(pRecord, nColumnId);
    }
}

BOOL CLixeiraListCtrl::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateListWindowKey(this, pMsg) || CArqListCtrl::PreTranslateMessage(pMsg);
}

void CLixeiraListCtrl::OnEnterKey()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, ID_DOC_PROPERTIES);
}

void CLixeiraListCtrl::OnDeleteKey()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, ID_DOC_RECYCLE);
}

void CLixeiraListCtrl::OnContextMenu(CWnd*, CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    UINT uFlags = 0;
    CMenu menu;
    CWnd* pWindow = GetMenuWindow();
    if (!pWindow || HitTest(client, &uFlags) < 0 || !menu.LoadMenu(IDR_BIN_ROW_MENU) || !menu.GetSubMenu(0))
        return;
    // Tracked for the window, whose states the items take, as its own menu's do.
    const UINT nID = static_cast<UINT>(
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, pWindow));
    if (nID != 0 && ::IsWindow(pWindow->GetSafeHwnd()))
        pWindow->SendMessage(WM_COMMAND, nID);
}

void CLixeiraListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CGridListCtrl::OnLButtonDblClk(nFlags, point);
    UINT uFlags = 0;
    if (HitTest(point, &uFlags) >= 0 && (uFlags & LVHT_ONITEM))
        OnEnterKey();
}

void CLixeiraListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    UINT nCommand = 0;
    if (nChar == 'F' && (GetKeyState(VK_CONTROL) & 0x8000))
        nCommand = ID_CATALOG_FIND;
    else if (nChar == VK_F3)
        nCommand = ID_CATALOG_FIND_NEXT;
    CWnd* pParent = GetParent();
    if (nCommand == 0 || !pParent) {
        CArqListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    pParent->SendMessage(WM_COMMAND, nCommand);
}

DROPEFFECT CLixeiraListCtrl::DropOver(CKadDragObj* pPayload, UINT, int, int)
{
    return dynamic_cast<const CKadDragObjReg*>(pPayload) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

BOOL CLixeiraListCtrl::DropTake(CKadDragObj* pPayload, DROPEFFECT)
{
    SetDropRow(-1);
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pRecords || !pApp)
        return FALSE;
    std::vector<LONG> status;
    if (!LixeiraDropItems(
            pApp->GetMainCatalog(), pApp->GetRecycleCatalog(), pRecords->ToPayload(PAYLOAD_MOVE), &status))
        return FALSE;
    if (auto* pWindow = dynamic_cast<CListWindow*>(GetParent()))
        pWindow->OnCatalogChanged();
    return TRUE;
}
