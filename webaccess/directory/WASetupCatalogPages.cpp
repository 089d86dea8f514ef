#include "webaccess/directory/WASetupCatalogPages.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CDlgWACatalogList.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"
#include "webaccess/directory/UploadFolderCheck.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

namespace {

constexpr int CATALOG_NAME_LIMIT = 20;
constexpr int CATALOG_CODE_LIMIT = 9;
// A login carries at most 15 characters of a profile's password.
constexpr int PROFILE_PASSWORD_LIMIT = 15;
constexpr int FOLDER_LIMIT = 260;

} // namespace

/* Page 8: new or existing catalog. */

CWASetupCatalogChoicePropPage::CWASetupCatalogChoicePropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_CATALOG_CHOICE, IDB_WA_SETUP_CATALOG_CHOICE, BUTTONS_BACK_NEXT)
{
}

void CWASetupCatalogChoicePropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_CHOICE_LABEL1, m_newLabel);
    DDX_Control(pDX, IDC_WA_CHOICE_LABEL2, m_existingLabel);
}

BOOL CWASetupCatalogChoicePropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    m_newLabel.SetFontBold(TRUE);
    m_existingLabel.SetFontBold(TRUE);
    return TRUE;
}

BOOL CWASetupCatalogChoicePropPage::OnSetActive()
{
    CheckRadioButton(IDC_WA_NEW_CATALOG, IDC_WA_EXISTING_CATALOG,
        m_sheet.m_values.bNewCatalog ? IDC_WA_NEW_CATALOG : IDC_WA_EXISTING_CATALOG);
    return CWASetupPropPage::OnSetActive();
}

LRESULT CWASetupCatalogChoicePropPage::OnWizardNext()
{
    const BOOL bNew = IsDlgButtonChecked(IDC_WA_NEW_CATALOG) == BST_CHECKED;
    m_sheet.m_values.bNewCatalog = bNew;
    m_nNextTarget = bNew ? CWASetupWizardPropSheet::PAGE_NEW_CATALOG : CWASetupWizardPropSheet::PAGE_CATALOG;
    return CWASetupPropPage::OnWizardNext();
}

/* Page 9: the new catalog. */

CWASetupNewCatalogPropPage::CWASetupNewCatalogPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_NEW_CATALOG, IDB_WA_SETUP_NEW_CATALOG, BUTTONS_BACK_NEXT)
{
    m_nNextTarget = CWASetupWizardPropSheet::PAGE_TARGET_FOLDER;
}

void CWASetupNewCatalogPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_SMALL_PICTURE, m_picture);
}

BOOL CWASetupNewCatalogPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    ShowSmallPicture(m_picture, IDB_BACKUP_PICTURE);
    LimitText(IDC_WA_CATALOG_NAME, CATALOG_NAME_LIMIT);
    LimitText(IDC_WA_PROFILE_PASSWORD, PROFILE_PASSWORD_LIMIT);
    LimitText(IDC_WA_CONFIRM_PASSWORD, PROFILE_PASSWORD_LIMIT);
    return TRUE;
}

BOOL CWASetupNewCatalogPropPage::OnSetActive()
{
    m_nBackTarget = m_sheet.m_values.bNewUser ? CWASetupWizardPropSheet::PAGE_USER_INFO
                                              : CWASetupWizardPropSheet::PAGE_CATALOG_CHOICE;
    return CWASetupPropPage::OnSetActive();
}

LRESULT CWASetupNewCatalogPropPage::OnWizardNext()
{
    const CString strName = GetTrimmedText(IDC_WA_CATALOG_NAME);
    const CString strPassword = GetText(IDC_WA_PROFILE_PASSWORD);
    if (strName.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_CATALOG_NAME);
    if (strPassword.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_PROFILE_PASSWORD);
    if (GetText(IDC_WA_CONFIRM_PASSWORD) != strPassword)
        return Refuse(IDS_WA_PASSWORDS_DIFFER, MB_ICONINFORMATION, IDC_WA_CONFIRM_PASSWORD);
    m_sheet.m_values.strNewCatalogName = strName;
    m_sheet.m_values.strNewProfilePassword = strPassword;
    return CWASetupPropPage::OnWizardNext();
}

/* Page 10: the existing catalog. */

CWASetupCatalogPropPage::CWASetupCatalogPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_CATALOG, IDB_WA_SETUP_CATALOG, BUTTONS_BACK_NEXT)
{
    m_nBackTarget = CWASetupWizardPropSheet::PAGE_CATALOG_CHOICE;
}

void CWASetupCatalogPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_SMALL_PICTURE, m_picture);
    DDX_Control(pDX, IDC_WA_LINK_LABEL, m_link);
}

BOOL CWASetupCatalogPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    ShowSmallPicture(m_picture, IDB_BACKUP_PICTURE);
    m_link.MakeLink();
    m_link.SetClickHandler([this] { OnChooseCatalog(); });
    LimitText(IDC_WA_CATALOG_NAME, CATALOG_NAME_LIMIT);
    LimitText(IDC_WA_CATALOG_CODE, CATALOG_CODE_LIMIT);
    LimitText(IDC_WA_PROFILE_PASSWORD, PROFILE_PASSWORD_LIMIT);
    LimitText(IDC_WA_CONFIRM_PASSWORD, PROFILE_PASSWORD_LIMIT);
    return TRUE;
}

void CWASetupCatalogPropPage::OnChooseCatalog()
{
    const CWASetupValues& values = m_sheet.m_values;
    CDlgWACatalogList dlg(values.strUserId, values.strPassword, values.nConnType, this);
    if (dlg.DoModal() != IDOK || dlg.m_nSelected < 0 || dlg.m_nSelected >= static_cast<int>(dlg.m_catalogs.size()))
        return;
    const CWACatalogEntry& chosen = dlg.m_catalogs[dlg.m_nSelected];
    SetDlgItemText(IDC_WA_CATALOG_NAME, chosen.strName);
    SetDlgItemText(IDC_WA_CATALOG_CODE, chosen.strCode);
}

LRESULT CWASetupCatalogPropPage::OnWizardNext()
{
    const CString strName = GetTrimmedText(IDC_WA_CATALOG_NAME);
    const CString strCode = GetTrimmedText(IDC_WA_CATALOG_CODE);
    const CString strPassword = GetText(IDC_WA_PROFILE_PASSWORD);
    if (strName.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_CATALOG_NAME);
    if (strCode.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_CATALOG_CODE);
    if (strPassword.IsEmpty())
        return Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_PROFILE_PASSWORD);
    if (GetText(IDC_WA_CONFIRM_PASSWORD) != strPassword)
        return Refuse(IDS_WA_PASSWORDS_DIFFER, MB_ICONINFORMATION, IDC_WA_CONFIRM_PASSWORD);
    CWASetupValues& values = m_sheet.m_values;
    values.strCatalogName = strName;
    values.strCatalogCode = strCode;
    values.strProfilePassword = strPassword;
    return CWASetupPropPage::OnWizardNext();
}

/* Page 11: the upload folder. */

// clang-format off
BEGIN_MESSAGE_MAP(CWASetupTargetFolderPropPage, CWASetupPropPage)
    ON_BN_CLICKED(IDC_WA_TARGET_BROWSE, &CWASetupTargetFolderPropPage::OnBrowse)
END_MESSAGE_MAP()
// clang-format on

CWASetupTargetFolderPropPage::CWASetupTargetFolderPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_TARGET_FOLDER, IDB_WA_SETUP_TARGET_FOLDER, BUTTONS_BACK_NEXT)
{
}

void CWASetupTargetFolderPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_TARGET_BROWSE, m_browse);
    DDX_Control(pDX, IDC_WA_SMALL_PICTURE, m_picture);
}

BOOL CWASetupTargetFolderPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    ShowSmallPicture(m_picture, IDB_BACKUP_PICTURE);
    LimitText(IDC_WA_TARGET_FOLDER, FOLDER_LIMIT);
    return TRUE;
}

BOOL CWASetupTargetFolderPropPage::OnSetActive()
{
    const CWASetupValues& values = m_sheet.m_values;
    m_nBackTarget = values.bNewUser || values.bNewCatalog ? CWASetupWizardPropSheet::PAGE_NEW_CATALOG
                                                          : CWASetupWizardPropSheet::PAGE_CATALOG;
    return CWASetupPropPage::OnSetActive();
}

void CWASetupTargetFolderPropPage::OnBrowse()
{
    CString strFolder;
    if (m_picker.Pick(m_browse, strFolder))
        SetDlgItemText(IDC_WA_TARGET_FOLDER, strFolder);
}

LRESULT CWASetupTargetFolderPropPage::OnWizardNext()
{
    const CString strFolder = GetTrimmedText(IDC_WA_TARGET_FOLDER);
    if (!CheckUploadFolder(*this, IDC_WA_TARGET_FOLDER, strFolder, MB_ICONEXCLAMATION))
        return -1;
    m_sheet.m_values.strTargetFolder = strFolder;
    return CWASetupPropPage::OnWizardNext();
}
