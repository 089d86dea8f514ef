#include "dialogs/preferences/CDlgNewFolder.h"

#include "platform/base/FileFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "store/PathHelpers.h"

CDlgNewFolder::CDlgNewFolder(CWnd* pParent)
    : CDialog(IDD_NEW_FOLDER, pParent)
{
}

void CDlgNewFolder::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NEW_FOLDER_NAME, m_strName);
    DDX_Text(pDX, IDC_NEW_FOLDER_PARENT, m_strParent);
}

void CDlgNewFolder::Refuse(UINT nIDPrompt, LPCTSTR pszPath)
{
    CString strMessage;
    if (pszPath)
        strMessage.Format(nIDPrompt, pszPath);
    else
        strMessage.LoadString(nIDPrompt);
    AfxMessageBox(strMessage, MB_OK);
    if (CWnd* pName = GetDlgItem(IDC_NEW_FOLDER_NAME))
        pName->SetFocus();
}

void CDlgNewFolder::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strName.Trim();
    if (m_strName.IsEmpty()) {
        Refuse(IDS_NEW_FOLDER_NO_NAME);
        return;
    }
    const CString strFolder = AddBackslash(m_strParent) + m_strName;
    if (CheckPathSyntax(AddBackslash(strFolder)) != PATH_SYNTAX_VALID) {
        Refuse(IDS_FOLDER_NAME_INVALID, strFolder);
        return;
    }
    const DWORD dwParent = CheckFolder(m_strParent, FOLDER_WRITABLE);
    if (dwParent & FOLDER_MISSING) {
        Refuse(IDS_FOLDER_MISSING, m_strParent);
        return;
    }
    if (!(dwParent & FOLDER_WRITABLE)) {
        Refuse(IDS_FOLDER_NOT_WRITABLE, m_strParent);
        return;
    }
    // The parent exists, so one call makes the folder, and fails when a
    // folder or file of that name is already there.
    if (!CreateDirectory(strFolder, nullptr)) {
        Refuse(IDS_FOLDER_NOT_CREATED, strFolder);
        return;
    }
    m_bCreated = TRUE;
    EndDialog(IDOK);
}
