#include "dialogs/setup/CDlgOperationInProgress.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

CDlgOperationInProgress::CDlgOperationInProgress(CWnd* pParent)
    : CDialog(IDD_STOP_REORGANIZE, pParent)
{
}

void CDlgOperationInProgress::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_NOTICE_PICTURE, m_picture);
}

BOOL CDlgOperationInProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetNoticeIcon(m_icon);
    m_picture.SetBitmap(IDB_OPERATION_IN_PROGRESS, 0, 0);
    return TRUE;
}

void CDlgOperationInProgress::OnCancel()
{
    if (AfxMessageBox(IDS_STOP_OPERATION, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) == IDYES)
        CDialog::OnCancel();
}
