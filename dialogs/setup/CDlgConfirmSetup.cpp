#include "dialogs/setup/CDlgConfirmSetup.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

CDlgConfirmSetup::CDlgConfirmSetup(CWnd* pParent)
    : CDialog(IDD_CONFIRM_SETUP, pParent)
{
}

void CDlgConfirmSetup::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_NOTICE_PICTURE, m_picture);
}

BOOL CDlgConfirmSetup::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetNoticeIcon(m_icon);
    m_picture.SetBitmap(IDB_CONFIRM_SETUP, 0, 0);
    return TRUE;
}
