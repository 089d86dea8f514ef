#include "platform/framework/CMDIChildWnd.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Icons.h"
#include "platform/window/MdiClient.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()
// clang-format on

/***** Creating *****/

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd) {
        CWinApp* pApp = AfxGetApp();
        pParentWnd = pApp ? dynamic_cast<CMDIFrameWnd*>(pApp->m_pMainWnd) : nullptr;
    }
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    m_dwFrameStyle = dwStyle & (FWS_ADDTOTITLE | FWS_PREFIXTITLE);
    bool bDefault = rect.left == CW_USEDEFAULT && rect.right == CW_USEDEFAULT;
    // Made hidden: InitialUpdateFrame shows it once its views are ready.
    DWORD dwChildStyle = (dwStyle & ~(WS_VISIBLE | FWS_ADDTOTITLE | FWS_PREFIXTITLE)) | WS_CHILD | WS_CLIPSIBLINGS;
    return CreateEx(WS_EX_MDICHILD, lpszClassName, m_strTitle, dwChildStyle, bDefault ? CW_USEDEFAULT : rect.left,
        bDefault ? CW_USEDEFAULT : rect.top, bDefault ? CW_USEDEFAULT : rect.right - rect.left,
        bDefault ? CW_USEDEFAULT : rect.bottom - rect.top, pParentWnd->m_hWndMDIClient, nullptr, pContext);
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    LPCTSTR lpszName = MAKEINTRESOURCE(static_cast<WORD>(nIDResource));
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_GROUP_ICON);
    HICON hIcon = ::FindResource(reinterpret_cast<HMODULE>(hInst), lpszName, RT_GROUP_ICON)
        ? ::LoadIcon(hInst, lpszName)
        : nullptr;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, hIcon);
    if (pContext) {
        if (auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate)) {
            m_hMenuShared = pTemplate->m_hMenuShared;
            m_hAccelShared = pTemplate->m_hAccelTable;
        }
    }
    return Create(
        lpszClass, nullptr, dwDefaultStyle | WS_CHILD, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext);
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    // A child without a place of its own takes the next cascade step.
    if (cs.x == CW_USEDEFAULT || cs.cx == CW_USEDEFAULT) {
        RECT rc = MdiCascadeRect(cs.hwndParent);
        if (cs.x == CW_USEDEFAULT) {
            cs.x = rc.left;
            cs.y = rc.top;
        }
        if (cs.cx == CW_USEDEFAULT) {
            cs.cx = rc.right - rc.left;
            cs.cy = rc.bottom - rc.top;
        }
    }
    return CFrameWnd::PreCreateWindow(cs);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    m_dwShowState = static_cast<DWORD>(lpCreateStruct->style) & (WS_MAXIMIZE | WS_MINIMIZE);
    return CFrameWnd::OnCreate(lpCreateStruct);
}

/***** MDI *****/

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hWndClient = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(hWndClient)));
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        BOOL bMaximized = FALSE;
        CMDIFrameWnd* pFrame = GetMDIFrame();
        CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&bMaximized) : nullptr;
        if (pActive && pActive != this && bMaximized)
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (m_dwShowState & WS_MAXIMIZE)
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (m_dwShowState & WS_MINIMIZE)
            nCmdShow = SW_SHOWMINIMIZED;
        else
            nCmdShow = SW_SHOW;
        m_dwShowState = 0;
    }
    ShowWindow(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd*, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return;
    HMENU hMenu = hMenuAlt;
    if (!hMenu)
        hMenu = bActivate && m_hMenuShared ? m_hMenuShared : pFrame->m_hMenuDefault;
    if (hMenu && ::GetMenu(pFrame->m_hWnd) != hMenu) {
        ::SendMessage(pFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        ::DrawMenuBar(pFrame->m_hWnd);
    }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    // The child shows its document's title; the main frame keeps its own.
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDocument) {
        CString strOld;
        GetWindowText(strOld);
        if (strOld != pDocument->GetTitle())
            SetWindowText(pDocument->GetTitle());
    }
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    // With no child taking over, the frame's own menu comes back.
    if (bActivate || !pActivateWnd)
        OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    if (CView* pView = GetActiveView())
        pView->OnActivateView(bActivate, pView, pView);
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(TRUE);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The messages an MDI child handles unlike other windows.
    switch (message) {
    case WM_GETMINMAXINFO:
    case WM_MOUSEACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_SYSCOMMAND:
    case WM_WINDOWPOSCHANGED:
        return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
    default:
        return CFrameWnd::DefWindowProc(message, wParam, lParam);
    }
}
