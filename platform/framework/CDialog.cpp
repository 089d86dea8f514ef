#include "platform/framework/CDialog.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWinThread.h"

#include <string>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_WM_HELPINFO()
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate)
    , m_lpszTemplateName(MAKEINTRESOURCE(static_cast<WORD>(nIDTemplate)))
    , m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName)
    , m_pParentWnd(pParentWnd)
{
}

/***** Creating *****/

INT_PTR CALLBACK AfxDlgProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
    return pDialog ? pDialog->OnInitDialog() : TRUE;
}

bool CDialog::LoadTemplate(LPCTSTR lpszTemplateName, DialogTemplate& dialog) const
{
    return ::LoadDialogResource(AfxGetResourceHandle(), lpszTemplateName, dialog) != FALSE;
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& dialog, HWND hWndParent)
{
    if (m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RegisterStandardControls();
    InitCommonControls();
    CWnd* pOuter = AfxHookWindowCreate(this);
    HWND hDlg = ::CreateDialogIndirectParam(AfxGetResourceHandle(), &dialog, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate(pOuter);
    return hDlg != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCE(static_cast<WORD>(nIDTemplate)), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    DialogTemplate dialog;
    if (!LoadTemplate(lpszTemplateName, dialog))
        return FALSE;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(dialog, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (!lpDialogTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(*lpDialogTemplate, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr);
}

/***** Modal *****/

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

BOOL CDialog::CreateModal(HWND hWndOwner)
{
    DialogTemplate loaded;
    const DialogTemplate* pTemplate = m_lpDialogTemplate;
    if (!pTemplate) {
        if (!m_lpszTemplateName || !LoadTemplate(m_lpszTemplateName, loaded))
            return FALSE;
        pTemplate = &loaded;
    }
    DialogTemplate hidden = *pTemplate;
    hidden.dwStyle &= ~WS_VISIBLE; // shown by the loop, after WM_INITDIALOG
    return CreateFromTemplate(hidden, hWndOwner);
}

BOOL CDialog::ContinueModal()
{
    // EndDialog called on the window itself (as a test script does) ends the loop as well.
    if (INT_PTR nResult = 0; m_bContinueModal && m_hWnd && ::GetDialogResult(m_hWnd, &nResult)) {
        m_nModalResult = static_cast<int>(nResult);
        m_bContinueModal = false;
    }
    return m_bContinueModal;
}

INT_PTR CDialog::DoModal()
{
    // The owner is the parent given, else the main window; its top-level window is disabled.
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND hWndOwner = pParent ? ::GetAncestor(pParent->GetSafeHwnd(), GA_ROOT) : nullptr;
    bool bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = true;
    if (CreateModal(hWndOwner)) {
        HWND hDlg = m_hWnd;
        if (ContinueModal())
            RunModalLoop();
        if (::IsWindow(hDlg))
            ::SetWindowPos(
                hDlg, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    HWND hDlg = m_hWnd;
    ::ShowWindow(hDlg, SW_SHOWNORMAL); // activation puts the focus on the control WM_INITDIALOG chose
    CallModalDialogHook(hDlg);
    CWinThread* pThread = AfxGetThread();
    bool bSendEnterIdle = !(GetStyle() & DS_NOIDLEMSG);
    bool bIdle = true;
    LONG lIdleCount = 0;
    MSG msg {};
    while (ContinueModal() && ::IsWindow(hDlg)) {
        while (bIdle && ContinueModal() && !::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            HWND hWndOwner = ::GetWindow(hDlg, GW_OWNER);
            if (bSendEnterIdle && hWndOwner && lIdleCount == 0)
                ::SendMessage(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hDlg));
            if (!::IsWindow(hDlg) || !::SendMessage(hDlg, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = false;
        }
        if (!ContinueModal() || !::IsWindow(hDlg))
            break;
        // One message, through the thread's PreTranslateMessage when there is a thread object.
        if (pThread) {
            if (!pThread->PumpMessage()) {
                ::PostQuitMessage(static_cast<int>(pThread->m_msgCur.wParam));
                break;
            }
            msg = pThread->m_msgCur;
        } else {
            if (!::GetMessage(&msg, nullptr, 0, 0)) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!CWnd::WalkPreTranslateTree(hDlg, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
        if (!pThread || pThread->IsIdleMessage(&msg)) {
            bIdle = true;
            lIdleCount = 0;
        }
    }
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal) {
        m_nModalResult = nResult;
        m_bContinueModal = false;
        // Wakes the loop should it wait for a message.
        PostMessage(WM_NULL);
    }
    ::EndDialog(m_hWnd, nResult);
}

/***** Focus and default button *****/

void CDialog::NextDlgCtrl() const
{
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl)
        ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), TRUE);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0));
}

/***** Overridables *****/

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnHelpInfo(HELPINFO*)
{
    // Help goes through the main frame, which asks the active dialog for its context.
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = pApp ? pApp->m_pMainWnd : nullptr;
    if (!pMain || !pMain->IsFrameWnd() || !pMain->m_hWnd)
        return FALSE;
    pMain->SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    bool bNested = (GetStyle() & WS_CHILD) && (GetExStyle() & WS_EX_CONTROLPARENT);
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd && !bNested)
        return ::IsDialogMessage(m_hWnd, pMsg);
    return FALSE;
}
