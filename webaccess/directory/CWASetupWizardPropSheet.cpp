#include "webaccess/directory/CWASetupWizardPropSheet.h"

CWASetupWizardPropSheet::CWASetupWizardPropSheet(CWASettings& settings, CWASetupConnection& connection, CWnd* pParent)
    : CKadWizardPropertySheet(pParent)
    , m_intro(*this)
    , m_notice(*this)
    , m_connType(*this)
    , m_commFolder(*this)
    , m_accountChoice(*this)
    , m_newUser(*this)
    , m_userInfo(*this)
    , m_login(*this)
    , m_catalogChoice(*this)
    , m_newCatalog(*this)
    , m_catalog(*this)
    , m_targetFolder(*this)
    , m_finish(*this, settings, connection)
{
    for (CPropertyPage* pPage : std::initializer_list<CPropertyPage*> { &m_intro, &m_notice, &m_connType, &m_commFolder,
             &m_accountChoice, &m_newUser, &m_userInfo, &m_login, &m_catalogChoice, &m_newCatalog, &m_catalog,
             &m_targetFolder, &m_finish })
        AddPage(pPage);
}
