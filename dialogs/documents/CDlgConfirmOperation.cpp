#include "dialogs/documents/CDlgConfirmOperation.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "resources/ResourceIds.h"

CDlgConfirmOperation::CDlgConfirmOperation(CWnd* pParent)
    : CDialog(IDD_CONFIRM_OPERATION, pParent)
{
}

void CDlgConfirmOperation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CONFIRM_LABEL, m_label);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
}

BOOL CDlgConfirmOperation::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetBackupPicture(m_picture, IDB_BACKUP_PICTURE);
    m_label.SetFontBold(TRUE);
    return TRUE;
}
