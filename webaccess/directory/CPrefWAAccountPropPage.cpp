#include "webaccess/directory/CPrefWAAccountPropPage.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefWAAccountPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_WA_SEND_PASSWORD, &CPrefWAAccountPropPage::OnSendPassword)
END_MESSAGE_MAP()
// clang-format on

CPrefWAAccountPropPage::CPrefWAAccountPropPage(CPrefWAAccountPageData& data)
    : CPropertyPage(IDD_PREF_WA_ACCOUNT)
    , m_data(data)
    , m_bKeepPassword(!data.strPassword.IsEmpty())
{
}

BOOL CPrefWAAccountPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    for (const auto& [nID, nLimit] : { std::pair { IDC_WA_ACCOUNT_USER_ID, MAX_FIELD_LENGTH },
             std::pair { IDC_WA_ACCOUNT_PASSWORD, MAX_FIELD_LENGTH },
             std::pair { IDC_WA_CATALOG_CURRENT, MAX_FIELD_LENGTH },
             std::pair { IDC_WA_ACCOUNT_CATALOG_CODE, MAX_CODE_LENGTH } }) {
        if (CWnd* pEdit = GetDlgItem(nID))
            pEdit->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nLimit));
    }
    return bResult;
}

void CPrefWAAccountPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_WA_ACCOUNT_USER_ID, m_data.strLogin);
    DDX_Text(pDX, IDC_WA_ACCOUNT_PASSWORD, m_data.strPassword);
    DDX_Text(pDX, IDC_WA_CATALOG_CURRENT, m_data.strCatName);
    DDX_Text(pDX, IDC_WA_ACCOUNT_CATALOG_CODE, m_data.strCatCode);
    DDX_Check(pDX, IDC_WA_ACCOUNT_KEEP, m_bKeepPassword);
}

BOOL CPrefWAAccountPropPage::OnApply()
{
    m_data.strLogin.Trim();
    m_data.strCatName.Trim();
    if (!m_bKeepPassword)
        m_data.strPassword.Empty();
    return CPropertyPage::OnApply();
}

void CPrefWAAccountPropPage::OnSendPassword()
{
    CString strLogin;
    GetDlgItemText(IDC_WA_ACCOUNT_USER_ID, strLogin);
    strLogin.Trim();
    if (strLogin.IsEmpty()) {
        AfxMessageBox(IDS_WEB_NO_USER_ID, MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* pUserId = GetDlgItem(IDC_WA_ACCOUNT_USER_ID))
            pUserId->SetFocus();
        return;
    }
    const int nResult = RunRequestLoop([&strLogin](CString& strMessage) {
        CWAPasswordRequest request;
        request.SetUserLogin(strLogin);
        const int nAttempt = request.Execute();
        strMessage = request.m_strMessage;
        return nAttempt;
    });
    if (nResult == 0)
        AfxMessageBox(IDS_WEB_PASSWORD_SENT, MB_OK | MB_ICONEXCLAMATION);
}
