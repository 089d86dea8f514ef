#include "dialogs/documents/CDlgBackupFolder.h"

#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/FileHelpers.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CDlgBackupFolder, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, &CDlgBackupFolder::OnBrowse)
END_MESSAGE_MAP()

CDlgBackupFolder::CDlgBackupFolder(CWnd* pParent)
    : CDialog(IDD_BACKUP_FOLDER, pParent)
    , m_strTargetPath(thePreferences.m_strDefaultDirCopyRem)
{
}

void CDlgBackupFolder::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODE_BUTTON, m_nodeButton);
    DDX_Control(pDX, IDC_BROWSE, m_browse);
    DDX_Text(pDX, IDC_TARGET_PATH, m_strTargetPath);
}

BOOL CDlgBackupFolder::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nodeButton.SetNode(m_pNode);
    return TRUE;
}

void CDlgBackupFolder::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strTargetPath.TrimLeft();
    CWnd* pEdit = GetDlgItem(IDC_TARGET_PATH);
    if (m_strTargetPath.IsEmpty()) {
        AfxMessageBox(IDS_TARGET_EMPTY, MB_ICONEXCLAMATION);
        GotoDlgCtrl(pEdit);
        return;
    }
    // A missing folder carries the bits of its nearest parent, so a writable
    // parent must not pass for the folder itself: the copies need it to exist.
    const DWORD dwFolder = CheckFolder(m_strTargetPath, FOLDER_WRITABLE | FOLDER_REMOVABLE);
    if ((dwFolder & FOLDER_WRITABLE) != 0 && (dwFolder & FOLDER_MISSING) == 0) {
        EndDialog(IDOK);
        return;
    }
    AfxMessageBox(dwFolder == 0 ? IDS_DEFAULT_FOLDER_READ_ONLY : IDS_DEFAULT_FOLDER_MISSING, MB_ICONEXCLAMATION);
    GotoDlgCtrl(pEdit);
}

void CDlgBackupFolder::OnBrowse()
{
    CString strFolder;
    if (!m_picker.Pick(m_browse, strFolder))
        return;
    SetDlgItemText(IDC_TARGET_PATH, strFolder);
    GotoDlgCtrl(GetDlgItem(IDC_TARGET_PATH));
}
