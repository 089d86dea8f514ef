#include "webaccess/directory/CWASetupFinishPropPage.h"

#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/CWASetupConnection.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWaitCursor.h"

#include <memory>

namespace {

constexpr int MIN_CODE_LENGTH = 4;
constexpr int MAX_CODE_LENGTH = 11;

} // namespace

BOOL IsUsableCatalogCode(const CString& strCode)
{
    const int nLength = strCode.GetLength();
    if (nLength < MIN_CODE_LENGTH || nLength > MAX_CODE_LENGTH)
        return FALSE;
    for (int i = 0; i < nLength; ++i) {
        const char ch = strCode[i];
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return FALSE;
    }
    return TRUE;
}

CWASetupFinishPropPage::CWASetupFinishPropPage(
    CWASetupWizardPropSheet& sheet, CWASettings& settings, CWASetupConnection& connection)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_FINISH, IDB_WA_SETUP_FINISH, BUTTONS_BACK_FINISH)
    , m_settings(settings)
    , m_connection(connection)
{
}

BOOL CWASetupFinishPropPage::OnWizardFinish()
{
    const CWaitCursor wait;
    const CWASetupValues& values = m_sheet.m_values;
    const CString strFolder = values.nConnType == WA_CONN_LAN ? values.strCommFolder : GetProgramFolder();
    const int nPort = m_connection.CreateSocket(values.nConnType, strFolder);
    if (nPort < 0) {
        AfxMessageBox(IDS_WA_NO_PORT, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    CString strCatalogCode;
    if (Register(nPort, strCatalogCode) != 0) {
        m_connection.CloseSocket();
        return FALSE;
    }
    if (!IsUsableCatalogCode(strCatalogCode)) {
        m_connection.CloseSocket();
        AfxMessageBox(IDS_WA_BAD_CATALOG_CODE, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    StoreRegistration(strFolder, strCatalogCode);
    return CWASetupPropPage::OnWizardFinish();
}

int CWASetupFinishPropPage::Register(int nPort, CString& strCatalogCode)
{
    const CWASetupValues& values = m_sheet.m_values;
    return RunRequestLoop([&](CString& strMessage) {
        CWAConnectRequest request;
        request.Connect(TRUE);
        if (values.bNewUser)
            request.SetNewUserFields(values.strNewUserId, values.strNewPassword, values.strEmail, values.strName,
                values.chGender, values.strCity, values.strState, values.strCountry);
        else
            request.SetLoginFields(values.strUserId, values.strPassword);
        if (values.bNewUser || values.bNewCatalog)
            request.SetNewCatalogFields(values.strNewCatalogName);
        else
            request.SetCatalogFields(values.strCatalogName, values.strCatalogCode);
        request.SetPort(nPort);
        const int nAttempt = request.RunAndParse(values.nConnType);
        strMessage = request.m_strMessage;
        strCatalogCode = request.m_strField;
        return nAttempt;
    });
}

void CWASetupFinishPropPage::StoreRegistration(const CString& strFolder, const CString& strCatalogCode)
{
    const CWASetupValues& values = m_sheet.m_values;
    const BOOL bNewCatalog = values.bNewUser || values.bNewCatalog;
    const CString& strUserId = values.bNewUser ? values.strNewUserId : values.strUserId;
    const CString& strPassword = values.bNewUser ? values.strNewPassword : values.strPassword;
    const BOOL bKeep = values.bNewUser ? values.bNewKeepPassword : values.bKeepPassword;
    const CString& strCatalogName = bNewCatalog ? values.strNewCatalogName : values.strCatalogName;
    const CString& strProfilePassword = bNewCatalog ? values.strNewProfilePassword : values.strProfilePassword;

    m_connection.SetAccount(strUserId, strPassword, strCatalogName, strCatalogCode);
    // The wizard sets up a new connection: its default profile is the only one.
    auto pProfile = std::make_unique<CWAProfiles>();
    pProfile->InitDefault(strProfilePassword, values.strTargetFolder);
    m_settings.m_profiles.clear();
    m_settings.m_profiles.push_back(std::move(pProfile));
    m_settings.m_strLogin = strUserId;
    m_settings.m_strPassword = bKeep ? strPassword : CString();
    m_settings.m_strCatName = strCatalogName;
    m_settings.m_strCatCode = strCatalogCode;
    m_settings.m_nConnType = values.nConnType;
    m_settings.m_strDirServer = strFolder;
    m_settings.m_strCommFolder = BuildCommFolderPath(strFolder, strCatalogCode);
    SaveWebSettingsOrWarn();
}
