#include "webaccess/profiles/CWASettings.h"

namespace {

constexpr UINT IDS_WA_DEFAULT_SITE = 4536; // Address of the directory server's site

} // namespace

CWASettings::CWASettings()
{
    SetDefaults();
}

void CWASettings::SetDefaults()
{
    m_strSite.LoadString(IDS_WA_DEFAULT_SITE);
    m_strDirServer.Empty();
    m_nConnType = 1;
    m_nSocketPort = 0;
    m_nReqTime = 1000;
    m_nPingTime = 180000;
    m_nWarnConn = 1;
    m_profiles.clear();
}

std::unique_ptr<CWAProfiles> CWASettings::FindWAProfile(LPCTSTR pszPassword, CCatalog& catalog, BOOL* pbChanged)
{
    const CString strPassword(pszPassword);
    for (auto it = m_profiles.rbegin(); it != m_profiles.rend(); ++it) {
        CWAProfiles& profile = **it;
        if (!profile.IsEnabled() || profile.GetPassword() != strPassword)
            continue;
        const BOOL bChanged = profile.RemoveMissingGroups(catalog);
        if (pbChanged != nullptr)
            *pbChanged = bChanged;
        auto pCopy = std::make_unique<CWAProfiles>();
        pCopy->Copy(profile);
        return pCopy;
    }
    if (pbChanged != nullptr)
        *pbChanged = FALSE;
    return nullptr;
}

CString BuildCommFolderPath(LPCTSTR pszBase, LPCTSTR pszName)
{
    const CString strBase(pszBase);
    const CString strName(pszName);
    if (strBase.IsEmpty() || strName.GetLength() < 4)
        return CString();
    CString strFolder = strBase;
    if (strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += "\\";
    strFolder += strName.Left(strName.GetLength() - 3) + "." + strName.Mid(strName.GetLength() - 3) + "\\";
    return strFolder;
}
