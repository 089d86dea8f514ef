#include "webaccess/directory/WASetupAccountPages.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"
#include "webaccess/directory/WARequestLoop.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

namespace {

constexpr int ACCOUNT_LIMIT = 20;
constexpr int NAME_LIMIT = 40;
constexpr int EMAIL_LIMIT = 80;
constexpr int PLACE_LIMIT = 60;
constexpr int COUNTRY_CODE_LENGTH = 2;

} // namespace

/* Page 4: new or existing account. */

CWASetupAccountChoicePropPage::CWASetupAccountChoicePropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_ACCOUNT_CHOICE, IDB_WA_SETUP_ACCOUNT_CHOICE, BUTTONS_BACK_NEXT)
{
}

void CWASetupAccountChoicePropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_CHOICE_PICTURE, m_picture);
    DDX_Control(pDX, IDC_WA_CHOICE_LABEL1, m_newLabel);
    DDX_Control(pDX, IDC_WA_CHOICE_LABEL2, m_existingLabel);
}

BOOL CWASetupAccountChoicePropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    ShowSmallPicture(m_picture, IDB_BACKUP_PICTURE);
    m_newLabel.SetFontBold(TRUE);
    m_existingLabel.SetFontBold(TRUE);
    return TRUE;
}

BOOL CWASetupAccountChoicePropPage::OnSetActive()
{
    m_nBackTarget = m_sheet.m_values.nConnType == WA_CONN_LAN ? CWASetupWizardPropSheet::PAGE_COMM_FOLDER
                                                              : CWASetupWizardPropSheet::PAGE_CONN_TYPE;
    CheckRadioButton(IDC_WA_NEW_ACCOUNT, IDC_WA_EXISTING_ACCOUNT,
        m_sheet.m_values.bNewUser ? IDC_WA_NEW_ACCOUNT : IDC_WA_EXISTING_ACCOUNT);
    return CWASetupPropPage::OnSetActive();
}

LRESULT CWASetupAccountChoicePropPage::OnWizardNext()
{
    const BOOL bNew = IsDlgButtonChecked(IDC_WA_NEW_ACCOUNT) == BST_CHECKED;
    m_sheet.m_values.bNewUser = bNew;
    m_nNextTarget = bNew ? CWASetupWizardPropSheet::PAGE_NEW_USER : CWASetupWizardPropSheet::PAGE_LOGIN;
    return CWASetupPropPage::OnWizardNext();
}

/* Page 5: the new account. */

CWASetupNewUserPropPage::CWASetupNewUserPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_NEW_USER, IDB_WA_SETUP_NEW_USER, BUTTONS_BACK_NEXT)
{
}

BOOL CWASetupNewUserPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    for (int nId : { IDC_WA_ACCOUNT_USER_ID, IDC_WA_ACCOUNT_PASSWORD, IDC_WA_CONFIRM_PASSWORD })
        LimitText(nId, ACCOUNT_LIMIT);
    return TRUE;
}

LRESULT CWASetupNewUserPropPage::OnWizardNext()
{
    CString strUserId;
    CString strPassword;
    if (!ReadAccountFields(strUserId, strPassword))
        return -1;
    if (GetText(IDC_WA_CONFIRM_PASSWORD) != strPassword)
        return Refuse(IDS_WA_PASSWORDS_DIFFER, MB_ICONINFORMATION, IDC_WA_CONFIRM_PASSWORD);
    CWASetupValues& values = m_sheet.m_values;
    values.strNewUserId = strUserId;
    values.strNewPassword = strPassword;
    values.bNewKeepPassword = IsDlgButtonChecked(IDC_WA_ACCOUNT_KEEP) == BST_CHECKED;
    return CWASetupPropPage::OnWizardNext();
}

/* Page 6: the account owner. */

CWASetupUserInfoPropPage::CWASetupUserInfoPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_USER_INFO, IDB_WA_SETUP_NEW_USER, BUTTONS_BACK_NEXT)
{
    m_nNextTarget = CWASetupWizardPropSheet::PAGE_NEW_CATALOG;
}

BOOL CWASetupUserInfoPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    LimitText(IDC_WA_PERSON_NAME, NAME_LIMIT);
    LimitText(IDC_WA_EMAIL, EMAIL_LIMIT);
    LimitText(IDC_WA_CITY, PLACE_LIMIT);
    LimitText(IDC_WA_STATE, PLACE_LIMIT);
    CheckRadioButton(IDC_WA_MALE, IDC_WA_FEMALE, IDC_WA_MALE);
    SendDlgItemMessage(IDC_WA_COUNTRY, CB_SETCURSEL, 0, 0);
    return TRUE;
}

LRESULT CWASetupUserInfoPropPage::OnWizardNext()
{
    const CString strName = GetTrimmedText(IDC_WA_PERSON_NAME);
    const CString strEmail = GetTrimmedText(IDC_WA_EMAIL);
    const int nCountry = static_cast<int>(SendDlgItemMessage(IDC_WA_COUNTRY, CB_GETCURSEL, 0, 0));
    if (strName.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_PERSON_NAME);
    if (strEmail.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_EMAIL);
    if (nCountry <= 0)
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_COUNTRY);
    CString strCountry;
    GetDlgItemText(IDC_WA_COUNTRY, strCountry);
    CWASetupValues& values = m_sheet.m_values;
    values.strName = strName;
    values.strEmail = strEmail;
    values.chGender = IsDlgButtonChecked(IDC_WA_MALE) == BST_CHECKED ? 'M' : 'F';
    values.strCity = GetTrimmedText(IDC_WA_CITY);
    values.strState = GetTrimmedText(IDC_WA_STATE);
    values.strCountry = strCountry.Right(COUNTRY_CODE_LENGTH);
    return CWASetupPropPage::OnWizardNext();
}

/* Page 7: the existing account. */

// clang-format off
BEGIN_MESSAGE_MAP(CWASetupLoginPropPage, CWASetupPropPage)
    ON_BN_CLICKED(IDC_WA_SEND_PASSWORD, &CWASetupLoginPropPage::OnSendPassword)
END_MESSAGE_MAP()
// clang-format on

CWASetupLoginPropPage::CWASetupLoginPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_LOGIN, IDB_WA_SETUP_LOGIN, BUTTONS_BACK_NEXT)
{
    m_nBackTarget = CWASetupWizardPropSheet::PAGE_ACCOUNT_CHOICE;
}

BOOL CWASetupLoginPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    LimitText(IDC_WA_ACCOUNT_USER_ID, ACCOUNT_LIMIT);
    LimitText(IDC_WA_ACCOUNT_PASSWORD, ACCOUNT_LIMIT);
    return TRUE;
}

LRESULT CWASetupLoginPropPage::OnWizardNext()
{
    CString strUserId;
    CString strPassword;
    if (!ReadAccountFields(strUserId, strPassword))
        return -1;
    CWASetupValues& values = m_sheet.m_values;
    values.strUserId = strUserId;
    values.strPassword = strPassword;
    values.bKeepPassword = IsDlgButtonChecked(IDC_WA_ACCOUNT_KEEP) == BST_CHECKED;
    return CWASetupPropPage::OnWizardNext();
}

void CWASetupLoginPropPage::OnSendPassword()
{
    const CString strUserId = GetTrimmedText(IDC_WA_ACCOUNT_USER_ID);
    if (strUserId.IsEmpty()) {
        Refuse(IDS_WEB_NO_USER_ID, MB_ICONEXCLAMATION, IDC_WA_ACCOUNT_USER_ID);
        return;
    }
    const int nConnType = m_sheet.m_values.nConnType;
    const int nResult = RunRequestLoop([&](CString& strMessage) {
        CWAPasswordRequest request;
        request.SetUserLogin(strUserId);
        const int nAttempt = request.Execute(nConnType);
        strMessage = request.m_strMessage;
        return nAttempt;
    });
    if (nResult == 0)
        AfxMessageBox(IDS_WEB_PASSWORD_SENT, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* pField = GetDlgItem(IDC_WA_ACCOUNT_USER_ID))
        pField->SetFocus();
}
