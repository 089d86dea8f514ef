#include "ui/DialogIdle.h"

#include "platform/framework/AfxMessages.h"

LRESULT UpdateDialogOnIdle(CWnd& wnd, WPARAM wParam, LPARAM lParam)
{
    RelayIdleToChildren(wnd, wParam, lParam);
    wnd.UpdateDialogControls(&wnd, FALSE);
    return 0;
}

LRESULT RelayIdleToChildren(CWnd& wnd, WPARAM wParam, LPARAM lParam)
{
    wnd.SendMessageToDescendants(WM_KICKIDLE, wParam, lParam, FALSE);
    return 0;
}
