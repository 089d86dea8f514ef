#include "ui/GridEditEnd.h"

#include "platform/framework/CWnd.h"

void SendGridEditEnd(CWnd* pEditor, int nItem, int nColumn, NMLVDISPINFO& info)
{
    CWnd* pList = pEditor->GetParent();
    CWnd* pListParent = pList ? pList->GetParent() : nullptr;
    if (!pListParent)
        return;
    info.hdr.hwndFrom = pList->GetSafeHwnd();
    info.hdr.idFrom = static_cast<UINT_PTR>(pEditor->GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDIT;
    info.item.iItem = nItem;
    info.item.iSubItem = nColumn;
    pListParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(pList->GetDlgCtrlID()), reinterpret_cast<LPARAM>(&info));
}
