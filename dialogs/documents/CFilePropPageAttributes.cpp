#include "dialogs/documents/CFilePropPageAttributes.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "dialogs/documents/CDlgNewPassword.h"
#include "dialogs/documents/CDlgPassword.h"
#include "dialogs/documents/CDlgSetNumber.h"
#include "dialogs/documents/CDlgSetOption.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNCREATE(CFilePropPageAttributes, CPropertyPage)

BEGIN_MESSAGE_MAP(CFilePropPageAttributes, CPropertyPage)
    ON_BN_CLICKED(IDC_EXPIRES, &CFilePropPageAttributes::OnExpiresClicked)
    ON_EN_CHANGE(IDC_EXPIRY_DAYS, &CFilePropPageAttributes::OnDaysChange)
    ON_EN_KILLFOCUS(IDC_EXPIRY_DAYS, &CFilePropPageAttributes::OnDaysKillFocus)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_EXPIRY_PICKER, &CFilePropPageAttributes::OnDateChange)
    ON_BN_CLICKED(IDC_PASSWORD_BUTTON, &CFilePropPageAttributes::OnPassword)
    ON_BN_CLICKED(IDC_VERSION_BUTTON, &CFilePropPageAttributes::OnVersion)
    ON_BN_CLICKED(IDC_OPEN_ACTION_BUTTON, &CFilePropPageAttributes::OnOpenAction)
END_MESSAGE_MAP()

CFilePropPageAttributes::CFilePropPageAttributes()
    : CPropertyPage(IDD_FILE_ATTRIBUTES)
{
}

CFilePropPageAttributes::~CFilePropPageAttributes() = default;

void CFilePropPageAttributes::SetDocument(
    std::unique_ptr<CDocumentRec> pCopy, const CString& strFullPath, BOOL bRecycle)
{
    m_pDocument = std::move(pCopy);
    m_strFullPath = strFullPath;
    m_bRecycle = bRecycle;
    m_pDocument->GetTypeName(m_strTypeName);
    m_nExpiry = m_pDocument->GetExpiry() > 0 ? m_pDocument->GetExpiry() : 0;
    m_strPassword = m_pDocument->GetPassword();
    m_nVersion = m_pDocument->GetVersion();
    m_dwOpenAction = m_pDocument->GetOpenAction();
}

CDocumentAttributes CFilePropPageAttributes::GetAttributes() const
{
    CDocumentAttributes attributes;
    if (GetSafeHwnd() != nullptr) {
        attributes.bExpires = m_expiry.IsExpiring();
        attributes.nExpiry = m_expiry.GetExpiry();
    } else {
        attributes.bExpires = m_nExpiry > 0;
        attributes.nExpiry = m_nExpiry;
    }
    attributes.strPassword = m_strPassword;
    attributes.nVersion = m_nVersion;
    attributes.dwOpenAction = m_dwOpenAction;
    return attributes;
}

void CFilePropPageAttributes::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXPIRY_PICTURE, m_picture);
    DDX_Control(pDX, IDC_EXPIRY_SPIN, m_spin);
    DDX_Control(pDX, IDC_EXPIRY_PICKER, m_picker);
    DDX_Text(pDX, IDC_DOCUMENT_TYPE, m_strTypeName);
}

BOOL CFilePropPageAttributes::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ShowButtonTexts();
    m_expiry.Attach(*this, m_picker, m_spin, m_nExpiry);
    const int nState = m_pDocument->GetExpiryState(TRUE);
    const BOOL bUnreachable
        = nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE;
    if (m_bRecycle || bUnreachable) {
        for (int nId : { IDC_PASSWORD_BUTTON, IDC_VERSION_BUTTON, IDC_OPEN_ACTION_BUTTON })
            GetDlgItem(nId)->EnableWindow(FALSE);
    }
    if (m_bRecycle || nState == EXPIRY_MAIL_DELETED)
        m_expiry.Enable(FALSE);
    if (m_pDocument->IsMail())
        GetDlgItem(IDC_VERSION_BUTTON)->EnableWindow(FALSE);
    SetBackupPicture(m_picture, IDB_EXPIRY_PICTURE);
    return TRUE;
}

void CFilePropPageAttributes::OnDateChange(NMHDR*, LRESULT* pResult)
{
    m_expiry.OnDateChange();
    *pResult = 0;
}

void CFilePropPageAttributes::OnPassword()
{
    const BOOL bLong = !m_pDocument->IsMail();
    const HICON hIcon = GetDocumentIcon(*m_pDocument);
    if (m_strPassword.IsEmpty()) {
        CDlgNewPassword dlg(this);
        dlg.SetUp(hIcon, m_strFullPath, bLong);
        if (dlg.DoModal() == IDOK)
            m_strPassword = dlg.GetPassword();
    } else {
        CDlgPassword dlg(this);
        dlg.SetUp(hIcon, m_strFullPath, m_strPassword, CDlgPassword::CHANGE, bLong);
        if (dlg.DoModal() == IDOK)
            m_strPassword = dlg.GetPassword();
    }
    if (GetSafeHwnd() != nullptr)
        ShowButtonTexts();
}

void CFilePropPageAttributes::OnVersion()
{
    CDlgSetNumber dlg(this);
    dlg.SetUp(GetDocumentIcon(*m_pDocument), m_strFullPath, m_nVersion);
    if (dlg.DoModal() != IDOK)
        return;
    m_nVersion = dlg.GetNumber();
    if (GetSafeHwnd() != nullptr)
        ShowButtonTexts();
}

void CFilePropPageAttributes::OnOpenAction()
{
    CDlgSetOption dlg(this);
    dlg.SetUp(GetDocumentIcon(*m_pDocument), m_strFullPath, m_dwOpenAction, !m_pDocument->IsMail());
    if (dlg.DoModal() == IDOK)
        m_dwOpenAction = dlg.GetValueFromChoice();
}

void CFilePropPageAttributes::ShowButtonTexts()
{
    CString strText;
    strText.LoadString(m_strPassword.IsEmpty() ? IDS_PROTECT : IDS_UNPROTECT);
    SetDlgItemText(IDC_PASSWORD_BUTTON, strText);
    strText.LoadString(m_nVersion > 0 ? IDS_REMOVE_NUMBER : IDS_SET_NUMBER);
    SetDlgItemText(IDC_VERSION_BUTTON, strText);
}
