#include "dialogs/setup/CDlgOrphanWarning.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgOrphanWarning, CDialog)
    ON_BN_CLICKED(IDYES, &CDlgOrphanWarning::OnYes)
    ON_BN_CLICKED(IDNO, &CDlgOrphanWarning::OnNo)
    ON_BN_CLICKED(IDC_NOTICE_DONT_ASK, &CDlgOrphanWarning::OnDontAsk)
END_MESSAGE_MAP()
// clang-format on

CDlgOrphanWarning::CDlgOrphanWarning(CWnd* pParent)
    : CDialog(IDD_ORPHAN_WARNING, pParent)
{
}

void CDlgOrphanWarning::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_ORPHAN_WARNING_TITLE, m_title);
    DDX_Control(pDX, IDC_NOTICE_PICTURE, m_picture);
    DDX_Check(pDX, IDC_NOTICE_DONT_ASK, m_bDontAsk);
}

BOOL CDlgOrphanWarning::OnInitDialog()
{
    m_bDontAsk = FALSE;
    CDialog::OnInitDialog();
    StyleNoticeTitle(m_title);
    SetNoticeIcon(m_icon);
    m_picture.SetBitmap(IDB_ORPHAN_WARNING, 0, 0);
    return TRUE;
}

void CDlgOrphanWarning::OnYes()
{
    EndDialog(IDYES);
}

void CDlgOrphanWarning::OnNo()
{
    EndDialog(IDNO);
}

void CDlgOrphanWarning::OnDontAsk()
{
    m_bDontAsk = IsDlgButtonChecked(IDC_NOTICE_DONT_ASK) == BST_CHECKED;
}
