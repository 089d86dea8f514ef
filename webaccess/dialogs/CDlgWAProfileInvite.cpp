#include "webaccess/dialogs/CDlgWAProfileInvite.h"

#include "resources/ResourceIds.h"
#include "webaccess/dialogs/CWAProfilesWizardPropSheet.h"
#include "webaccess/directory/CDlgWAInvite.h"
#include "webaccess/directory/CDlgWAMessage.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

#include <memory>

// clang-format off
BEGIN_MESSAGE_MAP(CDlgWAProfileInvite, CDialog)
    ON_BN_CLICKED(IDC_WA_NEW_PROFILE, &CDlgWAProfileInvite::OnNewProfile)
    ON_BN_CLICKED(IDC_WA_SHOW_INVITATION, &CDlgWAProfileInvite::OnShowInvitation)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int NAME_LIMIT = 80;
constexpr int EMAIL_LIMIT = 128;
constexpr int TEXT_LIMIT = 512;

} // namespace

CDlgWAProfileInvite::CDlgWAProfileInvite(CWASettings& settings, CWnd* pParent)
    : CDialog(IDD_WA_PROFILE_INVITE, pParent)
    , m_settings(settings)
{
}

void CDlgWAProfileInvite::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_SETTINGS_PICTURE, m_picture);
    DDX_Control(pDX, IDC_WA_INVITE_PROFILE, m_profiles);
}

BOOL CDlgWAProfileInvite::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_WA_FRIEND_NAME, EM_LIMITTEXT, NAME_LIMIT, 0);
    SendDlgItemMessage(IDC_WA_FRIEND_EMAIL, EM_LIMITTEXT, EMAIL_LIMIT, 0);
    SendDlgItemMessage(IDC_WA_INVITE_TEXT, EM_LIMITTEXT, TEXT_LIMIT, 0);
    for (size_t i = 0; i < m_settings.m_profiles.size(); ++i)
        AddProfileLine(static_cast<int>(i));
    m_profiles.SetCurSel(0);
    m_picture.SetBitmap(IDB_WA_SETUP_NOTICE, 0, 0);
    return TRUE;
}

void CDlgWAProfileInvite::AddProfileLine(int nProfile)
{
    const int nLine = m_profiles.AddString(m_settings.m_profiles[static_cast<size_t>(nProfile)]->GetName());
    m_profiles.SetItemData(nLine, static_cast<DWORD_PTR>(nProfile));
}

void CDlgWAProfileInvite::OnOK()
{
    SendInvitation(TRUE);
}

void CDlgWAProfileInvite::OnShowInvitation()
{
    SendInvitation(FALSE);
}

void CDlgWAProfileInvite::OnNewProfile()
{
    std::vector<const CWAProfiles*> others;
    for (const auto& pProfile : m_settings.m_profiles)
        others.push_back(pProfile.get());
    CWAProfilesWizardPropSheet wizard(std::move(others), this);
    if (wizard.DoModal() != ID_WIZFINISH)
        return;
    auto pProfile = std::make_unique<CWAProfiles>();
    wizard.StoreProfile(*pProfile);
    m_settings.m_profiles.push_back(std::move(pProfile));
    AddProfileLine(static_cast<int>(m_settings.m_profiles.size() - 1));
    m_profiles.SetCurSel(m_profiles.GetCount() - 1);
    SaveWebSettingsOrWarn();
}

void CDlgWAProfileInvite::SendInvitation(BOOL bSend)
{
    CString strName;
    CString strEmail;
    CString strText;
    GetDlgItemText(IDC_WA_FRIEND_NAME, strName);
    GetDlgItemText(IDC_WA_FRIEND_EMAIL, strEmail);
    GetDlgItemText(IDC_WA_INVITE_TEXT, strText);
    strName.Trim();
    strEmail.Trim();
    strText.Trim();
    const int nLine = m_profiles.GetCurSel();
    const int nField = strName.IsEmpty() ? IDC_WA_FRIEND_NAME
        : strEmail.IsEmpty()             ? IDC_WA_FRIEND_EMAIL
        : nLine < 0                      ? IDC_WA_INVITE_PROFILE
                                         : 0;
    if (nField != 0) {
        AfxMessageBox(IDS_WEB_NO_USER_ID, MB_OK | MB_ICONINFORMATION);
        GetDlgItem(nField)->SetFocus();
        return;
    }
    const size_t nProfile = m_profiles.GetItemData(nLine);
    if (nProfile >= m_settings.m_profiles.size())
        return;
    const CString strProfilePassword = m_settings.m_profiles[nProfile]->GetPassword();
    CDlgWAInvite invite(m_settings, this);
    if (!invite.Run(strName, strEmail, strProfilePassword, strText, bSend))
        return;
    if (bSend) {
        EndDialog(IDOK);
        return;
    }
    CDlgWAMessage message(invite.GetInvitationText(), this);
    message.DoModal();
}
