#include "webaccess/directory/CDlgWAAccount.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/directory/WebTitleLabel.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

namespace {

constexpr int PASSWORD_LIMIT = 20;
constexpr int SERVER_ASKS_PASSWORD = 15;

} // namespace

CDlgWAAccount::CDlgWAAccount(
    CWASettings& settings, UINT nIdCaption, UINT nIdTitle, ECancelInRetry eCancel, CWnd* pParent)
    : CDialog(IDD_WA_ACCOUNT, pParent)
    , m_settings(settings)
    , m_nIdCaption(nIdCaption)
    , m_nIdTitle(nIdTitle)
    , m_eCancel(eCancel)
{
}

BOOL CDlgWAAccount::RunWithStoredValues()
{
    if (m_strPassword.IsEmpty())
        return DoModal() == IDOK;
    int nResult = SendRequest();
    if (nResult == 0)
        return TRUE;
    if (nResult == SERVER_ASKS_PASSWORD)
        return DoModal() == IDOK;
    return FALSE;
}

BOOL CDlgWAAccount::ValidatePassword()
{
    GetDlgItemText(IDC_WA_ACCOUNT_PASSWORD, m_strPassword);
    if (!m_strPassword.IsEmpty())
        return TRUE;
    AfxMessageBox(IDS_WEB_NO_USER_ID, MB_OK | MB_ICONINFORMATION);
    GetDlgItem(IDC_WA_ACCOUNT_PASSWORD)->SetFocus();
    return FALSE;
}

void CDlgWAAccount::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_ACCOUNT_TITLE, m_title);
    DDX_Text(pDX, IDC_WA_ACCOUNT_PASSWORD, m_strPassword);
    DDX_Check(pDX, IDC_WA_ACCOUNT_KEEP, m_nKeepPassword);
    DDX_Control(pDX, IDC_WA_ACCOUNT_PICTURE, m_picture);
}

BOOL CDlgWAAccount::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString strText;
    strText.LoadString(m_nIdCaption);
    SetWindowText(strText);
    StyleWebTitle(m_title, m_nIdTitle);
    SendDlgItemMessage(IDC_WA_ACCOUNT_PASSWORD, EM_LIMITTEXT, PASSWORD_LIMIT, 0);
    SetDlgItemText(IDC_WA_ACCOUNT_USER_ID, m_strUserId);
    m_picture.SetBitmap(IDB_WA_ACCOUNT, 0, 0);
    return TRUE;
}

void CDlgWAAccount::OnOK()
{
    if (!ValidatePassword())
        return;
    int nResult = SendRequest();
    if (nResult == 0)
        StorePasswordAndClose();
    else if (nResult == -3 && m_eCancel == ECancelInRetry::CloseDialog)
        EndDialog(IDCANCEL);
}

void CDlgWAAccount::StorePasswordAndClose()
{
    m_nKeepPassword = IsDlgButtonChecked(IDC_WA_ACCOUNT_KEEP) == BST_CHECKED;
    m_settings.m_strPassword = m_nKeepPassword ? m_strPassword : CString();
    SaveWebSettingsOrWarn();
    EndDialog(IDOK);
}
