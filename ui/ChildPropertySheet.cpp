#include "ui/ChildPropertySheet.h"

#include "platform/framework/CPropertySheet.h"
#include "platform/framework/CRect.h"
#include "platform/window/Window.h"

BOOL CreateChildPropertySheet(CDialog* pDialog, CPropertySheet* pSheet, DWORD dwStyle, DWORD dwExStyle)
{
    if (!pDialog || !pSheet || !pSheet->Create(pDialog, dwStyle, dwExStyle | WS_EX_CONTROLPARENT))
        return FALSE;
    pDialog->ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    return TRUE;
}

BOOL PlaceChildPropertySheet(CDialog* pDialog, CPropertySheet* pSheet, UINT nPlaceholderID)
{
    CWnd* pPlaceholder = pDialog && pSheet ? pDialog->GetDlgItem(static_cast<int>(nPlaceholderID)) : nullptr;
    if (!pPlaceholder || !pSheet->GetSafeHwnd())
        return FALSE;
    CRect rcPlaceholder;
    pPlaceholder->GetWindowRect(&rcPlaceholder);
    pDialog->ScreenToClient(&rcPlaceholder);
    return pSheet->SetWindowPos(pPlaceholder, rcPlaceholder.left, rcPlaceholder.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}
