#pragma once

// The profile wizard: a profile's name and password, the catalog groups its
// visitors see, and its transfer permissions with the upload folder. It is
// loaded from a profile (or starts empty for a new one) and, after Finish,
// writes its values into a profile. The other profiles of the list are given
// so that no two share a name or a password (compared case-sensitively).
// The default profile (named as string 4533) keeps its name, sees every group
// and keeps its permissions: only its password and upload folder change.

#include "webaccess/dialogs/WAProfilesWizardPages.h"

#include "ui/CKadWizardPropertySheet.h"

#include <vector>

class CWAProfiles;

class CWAProfilesWizardPropSheet : public CKadWizardPropertySheet {
public:
    explicit CWAProfilesWizardPropSheet(std::vector<const CWAProfiles*> others, CWnd* pParent = nullptr);

    // Fills the pages from the profile before the wizard runs.
    void LoadProfile(const CWAProfiles& profile);
    // Gives the profile the wizard's values, enabled; after Finish.
    void StoreProfile(CWAProfiles& profile) const;

    const std::vector<const CWAProfiles*>& GetOtherProfiles() const { return m_others; }

    BOOL OnInitDialog() override;

private:
    CWAProfilesWizardNamePropPage m_name;
    CWAProfilesWizardGroupsPropPage m_groups;
    CWAProfilesWizardDocTransfersPropPage m_transfers;
    std::vector<const CWAProfiles*> m_others;
};
