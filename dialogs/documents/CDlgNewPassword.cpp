#include "dialogs/documents/CDlgNewPassword.h"

#include "dialogs/documents/CDlgPassword.h"
#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CEdit.h"

CDlgNewPassword::CDlgNewPassword(CWnd* pParent)
    : CDialog(IDD_NEW_PASSWORD, pParent)
{
}

void CDlgNewPassword::SetUp(HICON hIcon, LPCTSTR pszPath, BOOL bLong)
{
    m_hIcon = hIcon;
    m_strPath = pszPath;
    m_bLong = bLong;
}

BOOL CDlgNewPassword::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, m_hIcon, m_strPath);
    const int nMax = m_bLong ? CDlgPassword::MAX_LONG : CDlgPassword::MAX_SHORT;
    for (int nId : { IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD })
        SendDlgItemMessage(nId, EM_LIMITTEXT, static_cast<WPARAM>(nMax), 0);
    return TRUE;
}

void CDlgNewPassword::OnOK()
{
    CString strConfirm;
    GetDlgItemText(IDC_NEW_PASSWORD, m_strPassword);
    GetDlgItemText(IDC_CONFIRM_PASSWORD, strConfirm);
    if (m_strPassword != strConfirm) {
        AfxMessageBox(IDS_PASSWORD_MISMATCH, MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_NEW_PASSWORD));
        return;
    }
    EndDialog(IDOK);
}
