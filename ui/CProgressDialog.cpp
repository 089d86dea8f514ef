#include "ui/CProgressDialog.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "ui/PathAbbreviation.h"
#include "ui/WindowHelpers.h"

BEGIN_MESSAGE_MAP(CProgressDialog, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The clip's frames, all of them, endlessly.
constexpr UINT CLIP_FIRST_FRAME = 0;
constexpr UINT CLIP_LAST_FRAME = static_cast<UINT>(-1);
constexpr UINT CLIP_ENDLESS = static_cast<UINT>(-1);

} // namespace

CProgressDialog::CProgressDialog(UINT nIDTemplate, int nStatusId)
    : CDialog(nIDTemplate)
    , m_nStatusId(nStatusId)
{
}

BOOL CProgressDialog::CreateAndShow(CWnd* pOwner)
{
    if (!Create(m_nIDHelp, pOwner))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

BOOL CProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOn(this, AfxGetMainWnd());
    if (GetDlgItem(IDC_PROGRESS_BAR))
        m_bar.SubclassDlgItem(IDC_PROGRESS_BAR, this);
    if (GetDlgItem(IDC_PROGRESS_ANIMATION)) {
        m_bHasAnimation = m_animation.SubclassDlgItem(IDC_PROGRESS_ANIMATION, this);
        if (m_bHasAnimation && m_animation.Open(IDR_FILING_CLIP))
            m_bPlaying = m_animation.Play(CLIP_FIRST_FRAME, CLIP_LAST_FRAME, CLIP_ENDLESS);
    }
    return TRUE;
}

void CProgressDialog::OnCancel()
{
    m_bStop = TRUE;
    StopAnimation();
}

void CProgressDialog::OnDestroy()
{
    if (m_bHasAnimation) {
        StopAnimation();
        m_animation.Close();
    }
    CDialog::OnDestroy();
}

void CProgressDialog::ShowStatus(LPCTSTR pszText)
{
    CWnd* pStatus = m_nStatusId ? GetDlgItem(m_nStatusId) : nullptr;
    if (!pStatus)
        return;
    RECT rect {};
    pStatus->GetWindowRect(&rect);
    CClientDC dc(pStatus);
    CFont* pOldFont = dc.SelectObject(pStatus->GetFont());
    const CString strShown = AbbreviatePath(pszText ? pszText : "", dc.GetSafeHdc(), &rect);
    dc.SelectObject(pOldFont);
    pStatus->SetWindowText(strShown);
}

void CProgressDialog::Pump()
{
    PumpMessages(this);
}

BOOL CProgressDialog::TakeStopRequest()
{
    const BOOL bStop = m_bStop;
    m_bStop = FALSE;
    return bStop;
}

BOOL CProgressDialog::PumpAndReport()
{
    Pump();
    if (TakeStopRequest())
        return TRUE;
    StartAnimation();
    return FALSE;
}

BOOL CProgressDialog::ShowStatusAndReport(LPCTSTR pszText)
{
    ShowStatus(pszText);
    return PumpAndReport();
}

BOOL CProgressDialog::PumpAndTestCancel()
{
    Pump();
    return TakeStopRequest();
}

void CProgressDialog::StartAnimation()
{
    if (m_bHasAnimation && !m_bPlaying)
        m_bPlaying = m_animation.Play(CLIP_FIRST_FRAME, CLIP_LAST_FRAME, CLIP_ENDLESS);
}

void CProgressDialog::StopAnimation()
{
    if (m_bHasAnimation && m_bPlaying)
        m_bPlaying = !m_animation.Stop();
}

void CProgressDialog::ConfirmStop()
{
    if (AfxMessageBox(IDS_STOP_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_bCancelled = TRUE;
    CDialog::OnCancel();
}
