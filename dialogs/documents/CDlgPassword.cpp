#include "dialogs/documents/CDlgPassword.h"

#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CButton.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/CRect.h"

#include <array>

namespace {

// The controls that only the CHANGE variant shows.
constexpr std::array<int, 5> CHANGE_ROWS { IDC_NEW_PASSWORD_LABEL, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD_LABEL,
    IDC_CONFIRM_PASSWORD, IDC_REMOVE_PROTECTION };

} // namespace

CDlgPassword::CDlgPassword(CWnd* pParent)
    : CDialog(IDD_PASSWORD, pParent)
{
}

void CDlgPassword::SetUp(HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong)
{
    m_hIcon = hIcon;
    m_strPath = pszPath;
    m_strStored = pszStored;
    m_nVariant = nVariant;
    m_bLong = bLong;
}

BOOL CDlgPassword::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, m_hIcon, m_strPath);
    CString strPrompt;
    strPrompt.LoadString(m_nVariant == CHANGE ? IDS_PASSWORD_PROMPT_CHANGE
            : m_nVariant == UNPROTECT         ? IDS_PASSWORD_PROMPT_UNPROTECT
                                              : IDS_PASSWORD_PROMPT_OPEN);
    SetDlgItemText(IDC_PASSWORD_PROMPT, strPrompt);
    const int nMax = m_bLong ? MAX_LONG : MAX_SHORT;
    for (int nId : { IDC_PASSWORD, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD })
        SendDlgItemMessage(nId, EM_LIMITTEXT, static_cast<WPARAM>(nMax), 0);
    if (m_nVariant != CHANGE)
        HideChangeRows();
    return TRUE;
}

void CDlgPassword::OnOK()
{
    CString strTyped;
    GetDlgItemText(IDC_PASSWORD, strTyped);
    if (strTyped != m_strStored) {
        AfxMessageBox(IDS_WRONG_PASSWORD, MB_ICONEXCLAMATION);
        CWnd* pEdit = GetDlgItem(IDC_PASSWORD);
        GotoDlgCtrl(pEdit);
        SendDlgItemMessage(IDC_PASSWORD, EM_SETSEL, 0, -1);
        return;
    }
    m_strResult = m_strStored;
    if (m_nVariant == CHANGE) {
        if (IsDlgButtonChecked(IDC_REMOVE_PROTECTION) == BST_CHECKED) {
            m_strResult.Empty();
        } else {
            CString strNew, strConfirm;
            GetDlgItemText(IDC_NEW_PASSWORD, strNew);
            GetDlgItemText(IDC_CONFIRM_PASSWORD, strConfirm);
            if (strNew != strConfirm) {
                AfxMessageBox(IDS_PASSWORD_MISMATCH, MB_ICONEXCLAMATION);
                GotoDlgCtrl(GetDlgItem(IDC_NEW_PASSWORD));
                return;
            }
            if (!strNew.IsEmpty())
                m_strResult = strNew;
        }
    }
    EndDialog(IDOK);
}

void CDlgPassword::HideChangeRows()
{
    CRect rcPassword, rcLast;
    GetDlgItem(IDC_PASSWORD)->GetWindowRect(&rcPassword);
    GetDlgItem(IDC_REMOVE_PROTECTION)->GetWindowRect(&rcLast);
    const int nRemoved = rcLast.bottom - rcPassword.bottom;
    for (int nId : CHANGE_ROWS)
        GetDlgItem(nId)->ShowWindow(SW_HIDE);
    for (int nId : { IDOK, IDCANCEL }) {
        CWnd* pButton = GetDlgItem(nId);
        CRect rcButton;
        pButton->GetWindowRect(&rcButton);
        ScreenToClient(&rcButton);
        pButton->SetWindowPos(nullptr, rcButton.left, rcButton.top - nRemoved, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height() - nRemoved, SWP_NOMOVE | SWP_NOZORDER);
}
