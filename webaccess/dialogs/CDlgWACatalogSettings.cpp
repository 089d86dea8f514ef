#include "webaccess/dialogs/CDlgWACatalogSettings.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CDlgWAChangeCatalog.h"
#include "webaccess/directory/WebTitleLabel.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

namespace {

constexpr int CATALOG_NAME_LIMIT = 20;

} // namespace

CDlgWACatalogSettings::CDlgWACatalogSettings(CWASettings& settings, CWnd* pParent)
    : CDialog(IDD_WA_CATALOG_SETTINGS, pParent)
    , m_settings(settings)
{
}

void CDlgWACatalogSettings::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_ACCOUNT_TITLE, m_title);
    DDX_Control(pDX, IDC_WA_SETTINGS_NOTE, m_note);
    DDX_Control(pDX, IDC_WA_SETTINGS_PICTURE, m_picture);
}

BOOL CDlgWACatalogSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    StyleWebTitle(m_title, IDS_WA_CATALOG_SETTINGS_TITLE);
    m_note.SetTextColor(RGB(255, 0, 0));
    m_picture.SetBitmap(IDB_WA_CATALOG_SETTINGS, 0, 0);
    SetDlgItemText(IDC_WA_CATALOG_CURRENT, m_settings.m_strCatName);
    SetDlgItemText(IDC_WA_CATALOG_NEW_NAME, m_settings.m_strCatName);
    SendDlgItemMessage(IDC_WA_CATALOG_NEW_NAME, EM_LIMITTEXT, CATALOG_NAME_LIMIT, 0);
    return TRUE;
}

void CDlgWACatalogSettings::OnOK()
{
    CString strNewName;
    GetDlgItemText(IDC_WA_CATALOG_NEW_NAME, strNewName);
    strNewName.Trim();
    if (strNewName.IsEmpty()) {
        RefuseNewName(IDS_WEB_NO_USER_ID);
        return;
    }
    if (strNewName.CompareNoCase(m_settings.m_strCatName) == 0) {
        RefuseNewName(IDS_WA_NOTHING_CHANGED);
        return;
    }
    CDlgWAChangeCatalog changeDialog(m_settings, this);
    if (changeDialog.Run(strNewName))
        EndDialog(IDOK);
}

void CDlgWACatalogSettings::RefuseNewName(UINT nIdMessage)
{
    AfxMessageBox(nIdMessage, MB_OK | MB_ICONINFORMATION);
    GetDlgItem(IDC_WA_CATALOG_NEW_NAME)->SetFocus();
}
