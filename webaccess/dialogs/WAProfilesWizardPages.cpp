#include "webaccess/dialogs/WAProfilesWizardPages.h"

#include "resources/ResourceIds.h"
#include "ui/CUiHostServices.h"
#include "webaccess/dialogs/CWAProfilesWizardPropSheet.h"
#include "webaccess/directory/UploadFolderCheck.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"

namespace {

constexpr int TITLE_SIZE = 14;
constexpr COLORREF TITLE_COLOR = RGB(0, 0, 126);
constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
// A login carries at most 15 characters of a profile's password.
constexpr int PASSWORD_LIMIT = 15;
constexpr int FOLDER_LIMIT = 260;
// The check-state pictures of the legends (the kit's strip starts with the
// excluded state, so a state's picture is its number less one).
constexpr int IMAGE_WHOLE = 2;
constexpr int IMAGE_PART = 3;
constexpr int IMAGE_NONE = 1;

void ShowControls(CWnd& page, std::initializer_list<int> ids, BOOL bShow)
{
    for (int nId : ids) {
        if (CWnd* pControl = page.GetDlgItem(nId))
            pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    }
}

} // namespace

/* The base page. */

CWAProfilesWizardPropPage::CWAProfilesWizardPropPage(
    CWAProfilesWizardPropSheet& sheet, UINT nIDTemplate, UINT nIDBitmap, DWORD dwButtons)
    : CPropertyPage(nIDTemplate)
    , m_sheet(sheet)
    , m_nIDBitmap(nIDBitmap)
    , m_dwButtons(dwButtons)
{
}

void CWAProfilesWizardPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_ACCOUNT_TITLE, m_title);
    DDX_Control(pDX, IDC_WA_SETTINGS_PICTURE, m_picture);
    if (!pDX->m_bSaveAndValidate)
        m_picture.SetBitmap(m_nIDBitmap, 0, 0);
}

BOOL CWAProfilesWizardPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_title.SetFontBold(TRUE).SetFontSize(TITLE_SIZE).SetTextColor(TITLE_COLOR);
    return TRUE;
}

BOOL CWAProfilesWizardPropPage::OnSetActive()
{
    m_sheet.PostMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(m_dwButtons));
    return CPropertyPage::OnSetActive();
}

void CWAProfilesWizardPropPage::Refuse(UINT nIdMessage, int nIdField)
{
    AfxMessageBox(nIdMessage, MB_OK | MB_ICONSTOP);
    if (CWnd* pField = nIdField != 0 ? GetDlgItem(nIdField) : nullptr)
        pField->SetFocus();
}

void CWAProfilesWizardPropPage::ShowLegend(std::initializer_list<std::pair<CImageButton*, int>> legend)
{
    if (!m_legendImages.GetSafeHandle())
        m_legendImages.Create(IDB_CHECK_STATES, IMAGE_WIDTH, 1, IMAGE_MASK);
    for (const auto& [pButton, nImage] : legend)
        pButton->SetImages(&m_legendImages, nImage, GetSysColor(COLOR_BTNFACE));
}

/* The name page. */

CWAProfilesWizardNamePropPage::CWAProfilesWizardNamePropPage(CWAProfilesWizardPropSheet& sheet)
    : CWAProfilesWizardPropPage(sheet, IDD_WA_PROFILE_NAME, IDB_WA_PROFILE_NAME, PSWIZB_NEXT)
{
}

void CWAProfilesWizardNamePropPage::DoDataExchange(CDataExchange* pDX)
{
    CWAProfilesWizardPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_CHOICE_PICTURE, m_picture);
}

BOOL CWAProfilesWizardNamePropPage::OnInitDialog()
{
    CWAProfilesWizardPropPage::OnInitDialog();
    m_picture.CreateImageList(IDB_BACKUP_PICTURE, IMAGE_WIDTH, 1, IMAGE_MASK, GetSysColor(COLOR_BTNFACE));
    SendDlgItemMessage(IDC_WA_PROFILE_PASSWORD, EM_LIMITTEXT, PASSWORD_LIMIT, 0);
    SendDlgItemMessage(IDC_WA_PROFILE_CONFIRM, EM_LIMITTEXT, PASSWORD_LIMIT, 0);
    SetDlgItemText(IDC_WA_PROFILE_NAME, m_strName);
    if (!m_strPassword.IsEmpty()) {
        SetDlgItemText(IDC_WA_PROFILE_PASSWORD, m_strPassword);
        SetDlgItemText(IDC_WA_PROFILE_CONFIRM, m_strPassword);
    }
    if (m_bDefaultProfile)
        GetDlgItem(IDC_WA_PROFILE_NAME)->EnableWindow(FALSE);
    return TRUE;
}

LRESULT CWAProfilesWizardNamePropPage::OnWizardNext()
{
    CString strName;
    CString strPassword;
    CString strConfirmation;
    GetDlgItemText(IDC_WA_PROFILE_NAME, strName);
    GetDlgItemText(IDC_WA_PROFILE_PASSWORD, strPassword);
    GetDlgItemText(IDC_WA_PROFILE_CONFIRM, strConfirmation);
    const auto& others = m_sheet.GetOtherProfiles();
    const auto anyOther = [&others](auto matches) { return std::any_of(others.begin(), others.end(), matches); };
    if (strName.IsEmpty()) {
        Refuse(IDS_WEB_PROFILE_NO_NAME);
        return -1;
    }
    if (anyOther([&](const CWAProfiles* pOther) { return pOther->GetName() == strName; })) {
        Refuse(IDS_WEB_PROFILE_NAME_TAKEN, IDC_WA_PROFILE_NAME);
        return -1;
    }
    if (strPassword.IsEmpty()) {
        Refuse(IDS_WEB_PROFILE_NO_PASSWORD);
        return -1;
    }
    if (anyOther([&](const CWAProfiles* pOther) { return pOther->GetPassword() == strPassword; })) {
        Refuse(IDS_WEB_PROFILE_PASSWORD_TAKEN, IDC_WA_PROFILE_PASSWORD);
        return -1;
    }
    if (strConfirmation != strPassword) {
        Refuse(IDS_WA_PASSWORDS_DIFFER);
        return -1;
    }
    m_strName = strName;
    m_strPassword = strPassword;
    return CWAProfilesWizardPropPage::OnWizardNext();
}

/* The groups page. */

// clang-format off
BEGIN_MESSAGE_MAP(CWAProfilesWizardGroupsPropPage, CWAProfilesWizardPropPage)
    ON_BN_CLICKED(IDC_WA_CHECK_ALL, &CWAProfilesWizardGroupsPropPage::OnCheckAll)
    ON_BN_CLICKED(IDC_WA_UNCHECK_ALL, &CWAProfilesWizardGroupsPropPage::OnUncheckAll)
    ON_BN_CLICKED(IDC_WA_ALL_GROUPS, &CWAProfilesWizardGroupsPropPage::OnChoice)
    ON_BN_CLICKED(IDC_WA_CHOSEN_GROUPS, &CWAProfilesWizardGroupsPropPage::OnChoice)
END_MESSAGE_MAP()
// clang-format on

CWAProfilesWizardGroupsPropPage::CWAProfilesWizardGroupsPropPage(CWAProfilesWizardPropSheet& sheet)
    : CWAProfilesWizardPropPage(sheet, IDD_WA_PROFILE_GROUPS, IDB_WA_PROFILE_GROUPS, PSWIZB_BACK | PSWIZB_NEXT)
{
}

void CWAProfilesWizardGroupsPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWAProfilesWizardPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_GROUP_TREE, m_tree);
    DDX_Control(pDX, IDC_WA_PROFILE_LABEL, m_label);
    DDX_Control(pDX, IDC_WA_LEGEND_WHOLE, m_legendWhole);
    DDX_Control(pDX, IDC_WA_LEGEND_PART, m_legendPart);
    DDX_Control(pDX, IDC_WA_LEGEND_NONE, m_legendNone);
}

BOOL CWAProfilesWizardGroupsPropPage::OnInitDialog()
{
    CWAProfilesWizardPropPage::OnInitDialog();
    m_label.SetFontBold(TRUE);
    ShowLegend({ { &m_legendWhole, IMAGE_WHOLE }, { &m_legendPart, IMAGE_PART }, { &m_legendNone, IMAGE_NONE } });
    m_tree.InitImageLists();
    CCatalog* pCatalog = GetHostMainCatalog();
    m_tree.FillGroups(pCatalog, TRUE);
    if (m_rights.IsEmpty() || m_rights.IsAllGroups()) {
        CheckRadioButton(IDC_WA_ALL_GROUPS, IDC_WA_CHOSEN_GROUPS, IDC_WA_ALL_GROUPS);
    } else {
        CheckRadioButton(IDC_WA_ALL_GROUPS, IDC_WA_CHOSEN_GROUPS, IDC_WA_CHOSEN_GROUPS);
        // Groups deleted from the catalog since the profile was made are dropped.
        if (pCatalog) {
            CWAProfiles check;
            check.SetGroupRights(m_rights);
            check.RemoveMissingGroups(*pCatalog);
            m_rights.CopyFrom(check.GetGroupRights());
        }
        m_tree.SetChecks(m_rights);
    }
    if (m_bDefaultProfile) {
        GetDlgItem(IDC_WA_ALL_GROUPS)->EnableWindow(FALSE);
        GetDlgItem(IDC_WA_CHOSEN_GROUPS)->EnableWindow(FALSE);
    }
    ShowTree();
    return TRUE;
}

void CWAProfilesWizardGroupsPropPage::OnCheckAll()
{
    m_tree.CheckAll();
}

void CWAProfilesWizardGroupsPropPage::OnUncheckAll()
{
    m_tree.UncheckAll();
}

void CWAProfilesWizardGroupsPropPage::OnChoice()
{
    ShowTree();
}

void CWAProfilesWizardGroupsPropPage::ShowTree()
{
    ShowControls(*this,
        { IDC_WA_GROUP_TREE, IDC_WA_PROFILE_LABEL, IDC_WA_LEGEND_WHOLE, IDC_WA_LEGEND_PART, IDC_WA_LEGEND_NONE,
            IDC_WA_GROUP_NOTE1, IDC_WA_GROUP_NOTE2, IDC_WA_GROUP_NOTE3, IDC_WA_GROUP_NOTE4, IDC_WA_UNCHECK_ALL,
            IDC_WA_CHECK_ALL },
        IsDlgButtonChecked(IDC_WA_CHOSEN_GROUPS) == BST_CHECKED);
}

LRESULT CWAProfilesWizardGroupsPropPage::OnWizardNext()
{
    // The map is collected afresh, so an unchecked group no longer counts.
    m_rights.RemoveAll();
    if (IsDlgButtonChecked(IDC_WA_CHOSEN_GROUPS) == BST_CHECKED) {
        m_tree.GetChecks(m_rights);
        if (m_rights.IsEmpty()) {
            Refuse(IDS_WEB_PROFILE_NO_GROUP);
            return -1;
        }
    } else {
        m_rights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
    }
    return CWAProfilesWizardPropPage::OnWizardNext();
}

/* The transfers page. */

// clang-format off
BEGIN_MESSAGE_MAP(CWAProfilesWizardDocTransfersPropPage, CWAProfilesWizardPropPage)
    ON_BN_CLICKED(IDC_WA_MAY_UPLOAD, &CWAProfilesWizardDocTransfersPropPage::OnUpload)
    ON_BN_CLICKED(IDC_WA_TARGET_BROWSE, &CWAProfilesWizardDocTransfersPropPage::OnBrowse)
END_MESSAGE_MAP()
// clang-format on

CWAProfilesWizardDocTransfersPropPage::CWAProfilesWizardDocTransfersPropPage(CWAProfilesWizardPropSheet& sheet)
    : CWAProfilesWizardPropPage(sheet, IDD_WA_PROFILE_TRANSFERS, IDB_WA_PROFILE_TRANSFERS, PSWIZB_BACK | PSWIZB_FINISH)
{
}

void CWAProfilesWizardDocTransfersPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWAProfilesWizardPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_TARGET_BROWSE, m_browse);
}

BOOL CWAProfilesWizardDocTransfersPropPage::OnInitDialog()
{
    CWAProfilesWizardPropPage::OnInitDialog();
    SendDlgItemMessage(IDC_WA_TARGET_FOLDER, EM_LIMITTEXT, FOLDER_LIMIT, 0);
    CheckDlgButton(IDC_WA_MAY_DOWNLOAD, m_bMayDownload ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_WA_MAY_UPLOAD, m_bMayUpload ? BST_CHECKED : BST_UNCHECKED);
    if (!m_strFolder.IsEmpty())
        SetDlgItemText(IDC_WA_TARGET_FOLDER, m_strFolder);
    if (m_bDefaultProfile) {
        GetDlgItem(IDC_WA_MAY_DOWNLOAD)->EnableWindow(FALSE);
        GetDlgItem(IDC_WA_MAY_UPLOAD)->EnableWindow(FALSE);
    }
    ShowFolder();
    return TRUE;
}

void CWAProfilesWizardDocTransfersPropPage::OnUpload()
{
    ShowFolder();
}

void CWAProfilesWizardDocTransfersPropPage::OnBrowse()
{
    CString strFolder;
    if (m_picker.Pick(m_browse, strFolder))
        SetDlgItemText(IDC_WA_TARGET_FOLDER, strFolder);
}

void CWAProfilesWizardDocTransfersPropPage::ShowFolder()
{
    ShowControls(*this, { IDC_WA_PROFILE_LABEL, IDC_WA_TARGET_FOLDER, IDC_WA_TARGET_BROWSE },
        IsDlgButtonChecked(IDC_WA_MAY_UPLOAD) == BST_CHECKED);
}

BOOL CWAProfilesWizardDocTransfersPropPage::OnWizardFinish()
{
    const BOOL bMayDownload = IsDlgButtonChecked(IDC_WA_MAY_DOWNLOAD) == BST_CHECKED;
    const BOOL bMayUpload = IsDlgButtonChecked(IDC_WA_MAY_UPLOAD) == BST_CHECKED;
    if (bMayUpload) {
        CString strFolder;
        GetDlgItemText(IDC_WA_TARGET_FOLDER, strFolder);
        strFolder.Trim();
        if (!CheckUploadFolder(*this, IDC_WA_TARGET_FOLDER, strFolder, MB_ICONSTOP))
            return FALSE;
        m_strFolder = strFolder;
    }
    m_bMayDownload = bMayDownload;
    m_bMayUpload = bMayUpload;
    return CWAProfilesWizardPropPage::OnWizardFinish();
}
