#include "dialogs/documents/CDlgBackupInfo.h"

#include "resources/ResourceIds.h"

#include "platform/gdi/SysColors.h"

namespace {

constexpr int PICTURE_WIDTH = 16;
constexpr COLORREF PICTURE_MASK = 0xFF00FF;

} // namespace

CDlgBackupInfo::CDlgBackupInfo(LPCTSTR pszLine, CWnd* pParent)
    : CDialog(IDD_BACKUP_INFO, pParent)
{
    m_strMessage.Format(IDS_BACKUP_CONFIRM, pszLine);
}

void CDlgBackupInfo::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
    DDX_Control(pDX, IDC_PICTURE_SECOND, m_secondPicture);
}

BOOL CDlgBackupInfo::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_BACKUP_MESSAGE, m_strMessage);
    SetBackupPicture(m_picture, IDB_BACKUP_PICTURE);
    SetBackupPicture(m_secondPicture, IDB_BACKUP_INFO_PICTURE);
    return TRUE;
}

void SetBackupPicture(CImageButton& button, UINT nBitmapID)
{
    button.CreateImageList(nBitmapID, PICTURE_WIDTH, 1, PICTURE_MASK, GetSysColor(COLOR_BTNFACE));
}
