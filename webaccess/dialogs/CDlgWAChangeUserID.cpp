#include "webaccess/dialogs/CDlgWAChangeUserID.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/directory/WebTitleLabel.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

namespace {

constexpr int FIELD_LIMIT = 20;

} // namespace

CDlgWAChangeUserID::CDlgWAChangeUserID(CWASettings& settings, CWnd* pParent)
    : CDialog(IDD_WA_CHANGE_USER_ID, pParent)
    , m_settings(settings)
{
}

void CDlgWAChangeUserID::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_ACCOUNT_TITLE, m_title);
    DDX_Control(pDX, IDC_WA_SETTINGS_PICTURE, m_picture);
}

BOOL CDlgWAChangeUserID::OnInitDialog()
{
    CDialog::OnInitDialog();
    StyleWebTitle(m_title, IDS_WA_CHANGE_USER_ID_TITLE);
    m_picture.SetBitmap(IDB_WA_CHANGE_USER_ID, 0, 0);
    SetDlgItemText(IDC_WA_ACCOUNT_USER_ID, m_settings.m_strLogin);
    SetDlgItemText(IDC_WA_NEW_USER_ID, m_settings.m_strLogin);
    for (int nId : { IDC_WA_ACCOUNT_PASSWORD, IDC_WA_NEW_USER_ID, IDC_WA_NEW_PASSWORD, IDC_WA_CONFIRM_PASSWORD })
        SendDlgItemMessage(nId, EM_LIMITTEXT, FIELD_LIMIT, 0);
    CheckDlgButton(IDC_WA_ACCOUNT_KEEP, m_settings.m_strPassword.IsEmpty() ? BST_UNCHECKED : BST_CHECKED);
    return TRUE;
}

void CDlgWAChangeUserID::OnOK()
{
    CString strPassword;
    CString strNewUserId;
    CString strNewPassword;
    if (!ValidateFields(strPassword, strNewUserId, strNewPassword))
        return;
    int nResult = RunRequestLoop([&](CString& strMessage) {
        CWARequest request(WA_PAGE_CHANGE_LOGIN, WA_MARK_CHANGE_LOGIN);
        request.SetUserLogin(m_settings.m_strLogin);
        request.SetUserPassword(strPassword);
        request.SetNewUserLogin(strNewUserId);
        request.SetNewUserPassword(strNewPassword);
        int nAttempt = request.Execute();
        strMessage = request.m_strMessage;
        return nAttempt;
    });
    if (nResult != 0)
        return;
    m_settings.m_strLogin = strNewUserId;
    m_settings.m_strPassword = IsDlgButtonChecked(IDC_WA_ACCOUNT_KEEP) == BST_CHECKED ? strNewPassword : CString();
    SaveWebSettingsOrWarn();
    EndDialog(IDOK);
}

BOOL CDlgWAChangeUserID::ValidateFields(CString& strPassword, CString& strNewUserId, CString& strNewPassword)
{
    CString strConfirmation;
    GetDlgItemText(IDC_WA_ACCOUNT_PASSWORD, strPassword);
    GetDlgItemText(IDC_WA_NEW_USER_ID, strNewUserId);
    strNewUserId.Trim();
    GetDlgItemText(IDC_WA_NEW_PASSWORD, strNewPassword);
    GetDlgItemText(IDC_WA_CONFIRM_PASSWORD, strConfirmation);
    if (strPassword.IsEmpty()) {
        Refuse(IDS_WEB_NO_USER_ID, IDC_WA_ACCOUNT_PASSWORD);
        return FALSE;
    }
    if (strNewUserId.IsEmpty()) {
        Refuse(IDS_WEB_NO_USER_ID, IDC_WA_NEW_USER_ID);
        return FALSE;
    }
    if (strNewPassword.IsEmpty()) {
        Refuse(IDS_WEB_NO_USER_ID, IDC_WA_NEW_PASSWORD);
        return FALSE;
    }
    if (strConfirmation != strNewPassword) {
        Refuse(IDS_WA_PASSWORDS_DIFFER, IDC_WA_CONFIRM_PASSWORD);
        return FALSE;
    }
    if (strNewUserId.CompareNoCase(m_settings.m_strLogin) == 0 && strNewPassword.CompareNoCase(strPassword) == 0) {
        Refuse(IDS_WA_NOTHING_CHANGED, IDC_WA_NEW_USER_ID);
        return FALSE;
    }
    return TRUE;
}

void CDlgWAChangeUserID::Refuse(UINT nIdMessage, int nIdField)
{
    AfxMessageBox(nIdMessage, MB_OK | MB_ICONINFORMATION);
    GetDlgItem(nIdField)->SetFocus();
}
