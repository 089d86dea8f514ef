#include "webaccess/dialogs/CWAProfilesWizardPropSheet.h"

#include "resources/ResourceIds.h"
#include "webaccess/profiles/CWAProfiles.h"

CWAProfilesWizardPropSheet::CWAProfilesWizardPropSheet(std::vector<const CWAProfiles*> others, CWnd* pParent)
    : CKadWizardPropertySheet(pParent)
    , m_name(*this)
    , m_groups(*this)
    , m_transfers(*this)
    , m_others(std::move(others))
{
    AddPage(&m_name);
    AddPage(&m_groups);
    AddPage(&m_transfers);
}

void CWAProfilesWizardPropSheet::LoadProfile(const CWAProfiles& profile)
{
    m_name.m_strName = profile.GetName();
    m_name.m_strPassword = profile.GetPassword();
    m_groups.m_rights.CopyFrom(profile.GetGroupRights());
    m_transfers.m_bMayDownload = profile.MayDownload();
    m_transfers.m_bMayUpload = profile.MayUpload();
    m_transfers.m_strFolder = profile.GetUploadFolder();
}

void CWAProfilesWizardPropSheet::StoreProfile(CWAProfiles& profile) const
{
    profile.SetIdentity(m_name.m_strName, m_name.m_strPassword, m_transfers.m_strFolder);
    profile.SetPermissions(m_transfers.m_bMayDownload, m_transfers.m_bMayUpload, 1);
    profile.SetGroupRights(m_groups.m_rights);
}

BOOL CWAProfilesWizardPropSheet::OnInitDialog()
{
    CString strDefault;
    strDefault.LoadString(IDS_WA_DEFAULT_PROFILE);
    const BOOL bDefault = m_name.m_strName == strDefault;
    for (CWAProfilesWizardPropPage* pPage :
        std::initializer_list<CWAProfilesWizardPropPage*> { &m_name, &m_groups, &m_transfers })
        pPage->m_bDefaultProfile = bDefault;
    return CKadWizardPropertySheet::OnInitDialog();
}
