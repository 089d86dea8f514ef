#include "ui/KickIdle.h"

#include "platform/framework/AfxMessages.h"

LRESULT RelayKickIdle(CWnd* pWnd, WPARAM wParam, LPARAM lParam)
{
    for (HWND hChild = ::GetWindow(pWnd->GetSafeHwnd(), GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessage(hChild, WM_KICKIDLE, wParam, lParam);
    pWnd->UpdateDialogControls(pWnd, FALSE);
    return 0;
}
