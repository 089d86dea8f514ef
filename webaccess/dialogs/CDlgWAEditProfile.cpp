#include "webaccess/dialogs/CDlgWAEditProfile.h"

#include "resources/ResourceIds.h"
#include "webaccess/dialogs/CWAProfilesWizardPropSheet.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgWAEditProfile, CDialog)
    ON_BN_CLICKED(IDC_WA_NEW_PROFILE, &CDlgWAEditProfile::OnNewProfile)
    ON_BN_CLICKED(IDC_WA_CHANGE_PROFILE, &CDlgWAEditProfile::OnChangeProfile)
    ON_BN_CLICKED(IDC_WA_DELETE_PROFILE, &CDlgWAEditProfile::OnDeleteProfile)
    ON_LBN_SELCHANGE(IDC_WA_PROFILE_LIST, &CDlgWAEditProfile::OnSelectionChange)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int IMAGE_WIDTH = 16;
// The check-state pictures (the kit's strip starts with the excluded state,
// so a state's picture is its number less one).
constexpr int IMAGE_CHECKED = 2;
constexpr int IMAGE_UNCHECKED = 1;

} // namespace

CDlgWAEditProfile::CDlgWAEditProfile(CWASettings& settings, CWnd* pParent)
    : CDialog(IDD_WA_EDIT_PROFILE, pParent)
    , m_settings(settings)
{
}

void CDlgWAEditProfile::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_PROFILE_LIST, m_list);
    DDX_Control(pDX, IDC_WA_PROFILE_LABEL, m_label);
    DDX_Control(pDX, IDC_WA_LEGEND_WHOLE, m_legendChecked);
    DDX_Control(pDX, IDC_WA_LEGEND_PART, m_legendUnchecked);
}

BOOL CDlgWAEditProfile::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_label.SetFontBold(TRUE);
    m_images.Create(IDB_CHECK_STATES, IMAGE_WIDTH, 1, RGB(255, 0, 255));
    m_legendChecked.SetImages(&m_images, IMAGE_CHECKED, GetSysColor(COLOR_BTNFACE));
    m_legendUnchecked.SetImages(&m_images, IMAGE_UNCHECKED, GetSysColor(COLOR_BTNFACE));
    m_list.MakeCheckList();
    for (const auto& pProfile : m_settings.m_profiles) {
        auto pCopy = std::make_unique<CWAProfiles>();
        pCopy->Copy(*pProfile);
        const BOOL bChecked = pCopy->GetEnabled() != 0;
        m_list.AddProfile(std::move(pCopy), bChecked);
    }
    UpdateButtons();
    return TRUE;
}

std::vector<const CWAProfiles*> CDlgWAEditProfile::OtherProfiles(int nExcept) const
{
    std::vector<const CWAProfiles*> others;
    for (int i = 0; i < m_list.GetCount(); ++i) {
        if (i != nExcept)
            others.push_back(m_list.GetProfile(i));
    }
    return others;
}

void CDlgWAEditProfile::OnNewProfile()
{
    CWAProfilesWizardPropSheet wizard(OtherProfiles(-1), this);
    if (wizard.DoModal() != ID_WIZFINISH)
        return;
    auto pProfile = std::make_unique<CWAProfiles>();
    wizard.StoreProfile(*pProfile);
    m_list.SetCurSel(m_list.AddProfile(std::move(pProfile), TRUE));
    UpdateButtons();
}

void CDlgWAEditProfile::OnChangeProfile()
{
    const int nRow = m_list.GetCurSel();
    CWAProfiles* pProfile = m_list.GetProfile(nRow);
    if (!pProfile)
        return;
    CWAProfilesWizardPropSheet wizard(OtherProfiles(nRow), this);
    pProfile->SetPermissions(pProfile->MayDownload(), pProfile->MayUpload(), m_list.GetCheck(nRow) == BST_CHECKED);
    wizard.LoadProfile(*pProfile);
    std::unique_ptr<CWAProfiles> pTaken = m_list.TakeProfile(nRow);
    if (wizard.DoModal() == ID_WIZFINISH)
        wizard.StoreProfile(*pTaken);
    const BOOL bChecked = pTaken->GetEnabled() != 0;
    m_list.SetCurSel(m_list.AddProfile(std::move(pTaken), bChecked));
    UpdateButtons();
}

void CDlgWAEditProfile::OnDeleteProfile()
{
    const int nRow = m_list.GetCurSel();
    const CWAProfiles* pProfile = m_list.GetProfile(nRow);
    if (!pProfile || pProfile->IsDefault())
        return;
    m_list.TakeProfile(nRow);
    UpdateButtons();
}

void CDlgWAEditProfile::OnSelectionChange()
{
    UpdateButtons();
}

void CDlgWAEditProfile::UpdateButtons()
{
    const CWAProfiles* pSelected = m_list.GetProfile(m_list.GetCurSel());
    GetDlgItem(IDC_WA_CHANGE_PROFILE)->EnableWindow(pSelected != nullptr);
    GetDlgItem(IDC_WA_DELETE_PROFILE)->EnableWindow(pSelected != nullptr && !pSelected->IsDefault());
}

void CDlgWAEditProfile::OnOK()
{
    BOOL bAnyChecked = FALSE;
    for (int i = 0; i < m_list.GetCount(); ++i)
        bAnyChecked = bAnyChecked || m_list.GetCheck(i) == BST_CHECKED;
    if (!bAnyChecked) {
        AfxMessageBox(IDS_WEB_PROFILE_NONE_ENABLED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_settings.m_profiles.clear();
    for (int i = 0; i < m_list.GetCount(); ++i) {
        CWAProfiles* pRow = m_list.GetProfile(i);
        pRow->SetPermissions(pRow->MayDownload(), pRow->MayUpload(), m_list.GetCheck(i) == BST_CHECKED ? 1 : 0);
        auto pCopy = std::make_unique<CWAProfiles>();
        pCopy->Copy(*pRow);
        m_settings.m_profiles.push_back(std::move(pCopy));
    }
    SaveWebSettingsOrWarn();
    EndDialog(IDOK);
}
