#include "platform/framework/CToolTipCtrl.h"

#include "platform/base/ResourceModule.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, 0, 0, 0, 0,
        pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::FillToolInfo(TOOLINFO* pInfo, CWnd* pWnd, UINT_PTR nIDTool)
{
    *pInfo = TOOLINFO {};
    pInfo->cbSize = sizeof(TOOLINFO);
    if (nIDTool == 0) {
        CWnd* pParent = pWnd->GetParent();
        pInfo->uFlags = TTF_IDISHWND;
        pInfo->hwnd = pParent ? pParent->GetSafeHwnd() : pWnd->GetSafeHwnd();
        pInfo->uId = reinterpret_cast<UINT_PTR>(pWnd->GetSafeHwnd());
    } else {
        pInfo->hwnd = pWnd->GetSafeHwnd();
        pInfo->uId = nIDTool;
    }
}

BOOL CToolTipCtrl::GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    if (!pWnd)
        return FALSE;
    FillToolInfo(&ToolInfo, pWnd, nIDTool);
    ToolInfo.szText[0] = '\0';
    ToolInfo.lpszText = ToolInfo.szText;
    return static_cast<BOOL>(
        SendMessage(TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(static_cast<TOOLINFO*>(&ToolInfo))));
}

void CToolTipCtrl::SetToolInfo(LPTOOLINFO lpToolInfo)
{
    SendMessage(TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(lpToolInfo));
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, POINT pt, LPTOOLINFO lpToolInfo) const
{
    if (!pWnd || !lpToolInfo)
        return FALSE;
    TTHITTESTINFO hit {};
    hit.hwnd = pWnd->GetSafeHwnd();
    hit.pt = pt;
    hit.ti.lpszText = lpToolInfo->lpszText;
    if (!SendMessage(TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))
        return FALSE;
    *lpToolInfo = hit.ti;
    return TRUE;
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    return AddTool(pWnd, MAKEINTRESOURCE(static_cast<WORD>(nIDText)), lpRectTool, nIDTool);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd)
        return FALSE;
    TOOLINFO info {};
    FillToolInfo(&info, pWnd, lpRectTool ? 1 : nIDTool);
    if (!(info.uFlags & TTF_IDISHWND)) {
        info.uId = nIDTool;
        if (lpRectTool)
            info.rect = *lpRectTool;
        else
            pWnd->GetClientRect(&info.rect);
    }
    info.uFlags |= TTF_SUBCLASS;
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    if (!pWnd)
        return;
    TOOLINFO info {};
    FillToolInfo(&info, pWnd, nIDTool);
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    if (!pWnd)
        return;
    TOOLINFO info {};
    FillToolInfo(&info, pWnd, nIDTool);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    UpdateTipText(MAKEINTRESOURCE(static_cast<WORD>(nIDText)), pWnd, nIDTool);
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}

void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}
