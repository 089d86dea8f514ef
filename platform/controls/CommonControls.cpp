#include "platform/controls/CommonControls.h"

#include "platform/controls/ControlInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

LRESULT SendNotify(HWND hWnd, UINT nCode, NMHDR* pHdr)
{
    HWND hParent = ControlParent(hWnd);
    if (!hParent)
        return 0;
    pHdr->hwndFrom = hWnd;
    pHdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hWnd));
    pHdr->code = nCode;
    return SendMessage(hParent, WM_NOTIFY, pHdr->idFrom, reinterpret_cast<LPARAM>(pHdr));
}
