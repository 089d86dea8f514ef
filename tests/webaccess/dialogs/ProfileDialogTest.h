#pragma once

// The fixture of the profile dialogs: the account dialogs' fixture (fake
// directory site, driver, resource module) with a main catalog of two groups
// that the interface kit's host hands to the groups page.

#include "tests/store/CatalogBuilder.h"
#include "tests/ui/RecordingUiHost.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

class ProfileDialogTest : public AccountDialogFixture<CatalogTest> {
protected:
    void SetUp() override
    {
        AccountDialogFixture<CatalogTest>::SetUp();
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_projects = AddNode(*pRoot, "Projects")->GetRef();
        m_archive = AddNode(*pRoot, "Archive")->GetRef();
        m_host.m_pMainCatalog = m_pCatalog.get();
    }
    void TearDown() override
    {
        m_host.m_pMainCatalog = nullptr;
        m_pCatalog.reset();
        AccountDialogFixture<CatalogTest>::TearDown();
    }

    // A profile for the settings.
    static std::unique_ptr<CWAProfiles> Profile(const char* pszName, const char* pszPassword, DWORD nEnabled = 1)
    {
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity(pszName, pszPassword, "");
        pProfile->SetPermissions(TRUE, FALSE, nEnabled);
        return pProfile;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CRecordingUiHost m_host;
    CRecordRef m_projects;
    CRecordRef m_archive;
};
