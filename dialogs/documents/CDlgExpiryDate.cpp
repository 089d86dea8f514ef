#include "dialogs/documents/CDlgExpiryDate.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"

#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CDlgExpiryDate, CDialog)
    ON_BN_CLICKED(IDC_EXPIRES, &CDlgExpiryDate::OnExpiresClicked)
    ON_EN_CHANGE(IDC_EXPIRY_DAYS, &CDlgExpiryDate::OnDaysChange)
    ON_EN_KILLFOCUS(IDC_EXPIRY_DAYS, &CDlgExpiryDate::OnDaysKillFocus)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_EXPIRY_PICKER, &CDlgExpiryDate::OnDateChange)
END_MESSAGE_MAP()

CDlgExpiryDate::CDlgExpiryDate(CWnd* pParent)
    : CDialog(IDD_EXPIRY_DATE, pParent)
{
}

void CDlgExpiryDate::SetUp(LPCTSTR pszName, HICON hIcon, time_t nExpiry)
{
    m_strName = pszName;
    m_hIcon = hIcon;
    m_nExpiry = nExpiry;
}

void CDlgExpiryDate::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXPIRY_SPIN, m_spin);
    DDX_Control(pDX, IDC_EXPIRY_PICKER, m_picker);
    DDX_Control(pDX, IDC_EXPIRY_PICTURE, m_picture);
}

BOOL CDlgExpiryDate::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, m_hIcon, m_strName);
    m_expiry.Attach(*this, m_picker, m_spin, m_nExpiry);
    SetBackupPicture(m_picture, IDB_EXPIRY_PICTURE);
    return TRUE;
}

void CDlgExpiryDate::OnOK()
{
    m_nExpiry = m_expiry.GetExpiry();
    EndDialog(IDOK);
}

void CDlgExpiryDate::OnDateChange(NMHDR*, LRESULT* pResult)
{
    m_expiry.OnDateChange();
    *pResult = 0;
}
