#include "platform/framework/CFrameWnd.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Icons.h"
#include "platform/window/Accelerators.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_CLOSE()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_ENTERIDLE()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
    ON_COMMAND(ID_HELP, &CFrameWnd::OnHelp)
    ON_COMMAND(ID_HELP_FINDER, &CFrameWnd::OnHelpFinder)
    ON_COMMAND(ID_DEFAULT_HELP, &CFrameWnd::OnHelpFinder)
END_MESSAGE_MAP()
// clang-format on

const RECT CFrameWnd::rectDefault = { CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT };

namespace {

constexpr DWORD FWS_STYLES = FWS_ADDTOTITLE | FWS_PREFIXTITLE;
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

// The resource's module when some module has it, else nullptr.
HINSTANCE ModuleWith(UINT nIDResource, LPCTSTR lpszType)
{
    LPCTSTR lpszName = MAKEINTRESOURCE(static_cast<WORD>(nIDResource));
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, lpszType);
    return ::FindResource(reinterpret_cast<HMODULE>(hInst), lpszName, lpszType) ? hInst : nullptr;
}

// Sends WM_INITIALUPDATE to the permanent objects below hWnd in the order the
// windows were made (new windows go on top, so from the bottom up), parents first.
void SendInitialUpdate(HWND hWnd)
{
    for (HWND hChild = ::GetWindow(::GetWindow(hWnd, GW_CHILD), GW_HWNDLAST); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDPREV)) {
        if (CWnd* pChild = CWnd::FromHandlePermanent(hChild))
            AfxCallWndProc(pChild, hChild, WM_INITIALUPDATE, 0, 0);
        SendInitialUpdate(hChild);
    }
}

} // namespace

CFrameWnd::~CFrameWnd()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

/***** Creating *****/

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    strFull.LoadString(nIDResource);
    int nEnd = strFull.Find('\n');
    m_strTitle = nEnd < 0 ? strFull : strFull.Left(nEnd);

    HICON hIcon = nullptr;
    if (HINSTANCE hInst = ModuleWith(nIDResource, RT_GROUP_ICON))
        hIcon = ::LoadIcon(hInst, MAKEINTRESOURCE(static_cast<WORD>(nIDResource)));
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, hIcon);
    LPCTSTR lpszMenu = ModuleWith(nIDResource, RT_MENU) ? MAKEINTRESOURCE(static_cast<WORD>(nIDResource)) : nullptr;
    if (!Create(lpszClass, m_strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0, pContext))
        return FALSE; // the frame deleted itself
    if (HINSTANCE hInst = ModuleWith(nIDResource, RT_ACCELERATOR))
        m_hAccelTable = ::LoadAccelerators(hInst, MAKEINTRESOURCE(static_cast<WORD>(nIDResource)));
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    m_dwFrameStyle = dwStyle & FWS_STYLES;
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = ::LoadMenu(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (!hMenu) {
            PostNcDestroy();
            return FALSE;
        }
        m_hMenuDefault = hMenu;
    }
    bool bDefault = rect.left == CW_USEDEFAULT && rect.right == CW_USEDEFAULT;
    int x = bDefault ? CW_USEDEFAULT : rect.left;
    int y = bDefault ? CW_USEDEFAULT : rect.top;
    int cx = bDefault ? CW_USEDEFAULT : rect.right - rect.left;
    int cy = bDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    return CreateEx(dwExStyle, lpszClassName, m_strTitle, dwStyle & ~FWS_STYLES, x, y, cx, cy,
        pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~FWS_STYLES;
    return CWnd::PreCreateWindow(cs);
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    auto* pView = dynamic_cast<CWnd*>(pObject);
    if (!pView) {
        delete pObject;
        return nullptr;
    }
    // A view that fails deletes itself in PostNcDestroy.
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT {}, this, nID, pContext))
        return nullptr;
    return pView;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    CView* pView = GetActiveView();
    if (!pView) {
        if (CWnd* pPane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE)) {
            if ((pView = dynamic_cast<CView*>(pPane)))
                SetActiveView(pView, FALSE);
        }
    }
    SendInitialUpdate(m_hWnd);
    if (bMakeVisible) {
        ActivateFrame();
        if ((pView = GetActiveView()))
            pView->OnActivateView(TRUE, pView, pView);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    ShowWindow(nCmdShow);
}

/***** Layout *****/

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    m_bLayoutDelayed = false;
    AFX_SIZEPARENTPARAMS layout {};
    GetClientRect(&layout.rect);
    layout.bStretch = TRUE;
    // Bars take their edges in the order they were made: new windows go on top, so from the bottom up.
    HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    for (HWND hChild = ::GetWindow(::GetWindow(m_hWnd, GW_CHILD), GW_HWNDLAST); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDPREV)) {
        if (hChild != hPane)
            ::SendMessage(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
    if (hPane)
        ::MoveWindow(hPane, layout.rect.left, layout.rect.top, layout.rect.right - layout.rect.left,
            layout.rect.bottom - layout.rect.top, TRUE);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL)
{
    m_bLayoutDelayed = true;
}

/***** Views and documents *****/

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr; // no routing to a view while it changes
    if (pViewOld && bNotify)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

/***** Title, prompts and help *****/

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CString strText = m_strTitle;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc) {
        if (m_dwFrameStyle & FWS_PREFIXTITLE)
            strText = pDoc->GetTitle() + " - " + m_strTitle;
        else
            strText = m_strTitle + " - " + pDoc->GetTitle();
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText)
        SetWindowText(strText);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull;
    strFull.LoadString(nID);
    int nEnd = strFull.Find('\n');
    rMessage = nEnd < 0 ? strFull : strFull.Left(nEnd);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID, 0);
}

void CFrameWnd::WinHelp(DWORD_PTR, UINT) { }

DWORD_PTR CFrameWnd::GetHelpContext()
{
    return m_nIDHelp ? HID_BASE_RESOURCE + m_nIDHelp : 0;
}

// Help goes to the main frame's WinHelp, where the program shows it.
static CFrameWnd* HelpFrame(CFrameWnd* pFrame)
{
    CWinApp* pApp = AfxGetApp();
    auto* pMain = pApp ? dynamic_cast<CFrameWnd*>(pApp->m_pMainWnd) : nullptr;
    return pMain ? pMain : pFrame;
}

void CFrameWnd::OnHelp()
{
    // The active dialog's context, else the frame's.
    DWORD_PTR dwContext = GetHelpContext();
    auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
    if (pDialog && pDialog->m_nIDHelp)
        dwContext = HID_BASE_RESOURCE + pDialog->m_nIDHelp;
    HelpFrame(this)->WinHelp(dwContext, HELP_CONTEXT);
}

void CFrameWnd::OnHelpFinder()
{
    HelpFrame(this)->WinHelp(0, HELP_FINDER);
}

/***** Routing *****/

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view (then its document and template), the frame, the application.
    if (CView* pView = GetActiveView()) {
        if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable
        && ::TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

/***** Handlers *****/

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, pContext))
        return -1;
    RecalcLayout();
    // The status bar, once made, starts with the idle prompt.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    return 0;
}

void CFrameWnd::OnDestroy()
{
    DestroyFloatingFrames();
    m_pViewActive = nullptr;
    // The menu LoadFrame loaded goes with the frame, unless another menu took its place.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (CView* pView = GetActiveView())
        pView->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (CView* pView = GetActiveView())
        pView->OnActivateFrame(nState, this);
}

void CFrameWnd::OnClose()
{
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this))
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        // The main frame takes every document with it.
        pApp->CloseAllDocuments(FALSE);
        if (!::IsWindow(m_hWnd))
            return;
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnQueryEndSession()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        return pApp->SaveAllModified();
    return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
    if (!bEnding)
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        pApp->CloseAllDocuments(TRUE);
        pApp->ExitInstance();
    }
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (!bSysMenu)
        CCmdUI::UpdateMenuItems(pPopupMenu, this, m_bAutoMenuEnable);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    // Closing the menu shows the idle prompt again; a command item shows its prompt once the menu idles.
    if (nFlags == 0xFFFF && !hSysMenu)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    else if (nItemID != 0 && !(nFlags & (MF_POPUP | MF_SEPARATOR)))
        m_nIDTracking = nItemID;
    else
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    if (nFlags == 0xFFFF)
        SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    CWnd::OnEnterIdle(nWhy, pWho);
    if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    CString strText;
    if (lParam)
        strText = reinterpret_cast<LPCTSTR>(lParam);
    else if (wParam)
        GetMessageString(static_cast<UINT>(wParam), strText);
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_nIDTracking = m_nIDLastMessage;
    if (CWnd* pStatusBar = GetDescendantWindow(AFX_IDW_STATUS_BAR))
        pStatusBar->SetWindowText(strText);
    return nIDLast;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_bLayoutDelayed)
        RecalcLayout();
    // A prompt chosen while a menu was tracked shows now.
    if (m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
    return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int nVirtualKey = VK_CAPITAL;
    if (pCmdUI->m_nID == ID_INDICATOR_NUM)
        nVirtualKey = VK_NUMLOCK;
    else if (pCmdUI->m_nID == ID_INDICATOR_SCRL)
        nVirtualKey = VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(nVirtualKey) & 1) != 0);
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
