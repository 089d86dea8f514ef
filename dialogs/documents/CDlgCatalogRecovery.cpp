#include "dialogs/documents/CDlgCatalogRecovery.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "resources/ResourceIds.h"

CDlgCatalogRecovery::CDlgCatalogRecovery(CWnd* pParent)
    : CDialog(IDD_CATALOG_RECOVERY, pParent)
{
}

void CDlgCatalogRecovery::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
}

BOOL CDlgCatalogRecovery::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetBackupPicture(m_picture, IDB_BACKUP_PICTURE);
    return TRUE;
}
