#include "ui/CDlgAnimatedProgress.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

BEGIN_MESSAGE_MAP(CDlgAnimatedProgress, CDialog)
END_MESSAGE_MAP()

namespace {

// The clip's frames, all of them, endlessly.
constexpr UINT CLIP_FIRST_FRAME = 0;
constexpr UINT CLIP_LAST_FRAME = static_cast<UINT>(-1);
constexpr UINT CLIP_ENDLESS = static_cast<UINT>(-1);

} // namespace

CDlgAnimatedProgress::CDlgAnimatedProgress()
    : CDialog(IDD_ANIMATED_PROGRESS)
{
}

void CDlgAnimatedProgress::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_ANIMATION, m_animation);
}

BOOL CDlgAnimatedProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_animation.Open(IDR_FILING_CLIP);
    m_animation.Play(CLIP_FIRST_FRAME, CLIP_LAST_FRAME, CLIP_ENDLESS);
    return TRUE;
}

BOOL CDlgAnimatedProgress::Show()
{
    m_bCancelled = FALSE;
    if (!GetSafeHwnd() && !Create(IDD_ANIMATED_PROGRESS, nullptr))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CDlgAnimatedProgress::Close()
{
    if (GetSafeHwnd()) {
        ShowWindow(SW_HIDE);
        m_animation.Stop();
        m_animation.Close();
        DestroyWindow();
    }
    m_bCancelled = FALSE;
}

void CDlgAnimatedProgress::OnCancel()
{
    m_animation.Stop();
    if (AfxMessageBox(IDS_STOP_QUESTION, MB_YESNO | MB_ICONQUESTION) == IDYES)
        m_bCancelled = TRUE;
    else
        m_animation.Play(CLIP_FIRST_FRAME, CLIP_LAST_FRAME, CLIP_ENDLESS);
}
