#include "platform/framework/CDialogBar.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The bar's dialog procedure leaves everything to the dialog manager's default handling.
INT_PTR CALLBACK DialogBarProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    return Create(pParentWnd, MAKEINTRESOURCE(static_cast<WORD>(nIDTemplate)), nStyle, nID);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (m_hWnd || !pParentWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_dwStyle = nStyle & CBRS_ALL;
    RegisterStandardControls();
    InitCommonControls();
    CWnd* pOuter = AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogParam(
        AfxFindResourceHandle(lpszTemplateName, RT_DIALOG), lpszTemplateName, pParentWnd->m_hWnd, DialogBarProc, 0);
    AfxUnhookWindowCreate(pOuter);
    if (!hWnd)
        return FALSE;
    // The template's size is the bar's; the frame's layout gives the place.
    CRect rc;
    GetWindowRect(&rc);
    m_sizeDefault = CSize(rc.Width(), rc.Height());
    SetDlgCtrlID(static_cast<int>(nID));
    ModifyStyle(0, WS_CHILD | WS_CLIPSIBLINGS);
    SetWindowPos(nullptr, 0, 0, 0, 0,
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!bStretch)
        return m_sizeDefault;
    return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

CSize CDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

INT_PTR CDialogBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (!hChild || hChild == m_hWnd)
        return -1;
    const int nID = ::GetDlgCtrlID(hChild);
    // Static texts and frames (ID -1 or 0) name no command.
    if (nID == 0 || nID == 0xFFFF || nID == -1)
        return -1;
    if (pTI) {
        ::GetWindowRect(hChild, &pTI->rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&pTI->rect), 2);
        pTI->uId = static_cast<UINT_PTR>(nID);
    }
    return nID;
}
