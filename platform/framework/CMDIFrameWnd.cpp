#include "platform/framework/CMDIFrameWnd.h"

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/window/Accelerators.h"
#include "platform/window/MdiClient.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

/***** The MDI client *****/

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    CMenu* pMenu = nullptr;
    if (m_hMenuDefault) {
        // The window menu is the bar's second item from the right, as the menus are laid out.
        CMenu* pBar = CMenu::FromHandle(m_hMenuDefault);
        int nCount = pBar->GetMenuItemCount();
        pMenu = nCount >= 2 ? pBar->GetSubMenu(nCount - 2) : nullptr;
    }
    return CreateClient(lpcs, pMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu)
{
    if (!RegisterMdiClientClass())
        return FALSE;
    // The frame's scroll bars belong to the client.
    DWORD dwScroll = static_cast<DWORD>(lpCreateStruct->style) & (WS_HSCROLL | WS_VSCROLL);
    if (dwScroll)
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    CLIENTCREATESTRUCT ccs { pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr, AFX_IDW_PANE_FIRST + 1 };
    m_hWndMDIClient = ::CreateWindowEx(WS_EX_CLIENTEDGE, MDICLIENT_CLASS, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | dwScroll, 0, 0, 0, 0, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (!m_hWndMDIClient) {
        if (pbMaximized)
            *pbMaximized = FALSE;
        return nullptr;
    }
    auto hWnd = reinterpret_cast<HWND>(
        ::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hWnd));
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, FALSE);
}

void CMDIFrameWnd::MDIPrev()
{
    ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, TRUE);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    auto hOld = reinterpret_cast<HMENU>(::SendMessage(m_hWndMDIClient, WM_MDISETMENU,
        reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->GetSafeHmenu() : nullptr),
        reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr)));
    return CMenu::FromHandle(hOld);
}

/***** Frame behaviour *****/

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? pActive->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (CMDIChildWnd* pActive = MDIGetActive()) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (hMenu && ::GetMenu(m_hWnd) != hMenu) {
        ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        ::DrawMenuBar(m_hWnd);
    }
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CFrameWnd::OnUpdateFrameTitle(bAddToTitle);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CMDIChildWnd* pActive = MDIGetActive()) {
        if (pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // The active child's accelerators come before the frame's.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        CMDIChildWnd* pActive = MDIGetActive();
        if (pActive && pActive->m_hAccelShared && ::TranslateAccelerator(m_hWnd, pActive->m_hAccelShared, pMsg))
            return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Commands of the maximized child's menu-bar buttons go to that child as system commands.
    if (message == WM_COMMAND && LOWORD(wParam) >= 0xF000 && lParam == 0) {
        if (CMDIChildWnd* pActive = MDIGetActive()) {
            pActive->SendMessage(WM_SYSCOMMAND, LOWORD(wParam), 0);
            return 0;
        }
    }
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
}

void CMDIFrameWnd::OnDestroy()
{
    // The frame's own menu goes with the window; the templates' menus stay with the templates.
    if (::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CFrameWnd::OnDestroy();
}
