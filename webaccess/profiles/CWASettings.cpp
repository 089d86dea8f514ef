#include "webaccess/profiles/CWASettings.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CMemFile.h"
#include "platform/base/WinError.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "store/FileHelpers.h"
#include "store/PreferenceSheets.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr char WA_SUBKEY[] = "WA"; // Below the preferences key

int ReadInt(CRegistryKey& key, LPCTSTR pszName, int nDefault)
{
    DWORD dwValue = 0;
    key.GetDWORD(pszName, dwValue, static_cast<DWORD>(nDefault));
    return static_cast<int>(dwValue);
}

} // namespace

CWASettings::CWASettings()
{
    CWASettings::SetDefaults(); // this class's defaults, before any subclass exists
}

void CWASettings::SetDefaults()
{
    m_strSite.LoadString(IDS_WA_DEFAULT_SITE);
    m_strDirServer.Empty();
    m_nConnType = 1;
    m_nSocketPort = 0;
    m_nReqTime = 1000;
    m_nPingTime = 180000;
    m_nSessionTime = DEFAULT_SESSION_TIME;
    m_nRequestDeadline = DEFAULT_REQUEST_DEADLINE;
    m_nUploadLimit = DEFAULT_UPLOAD_LIMIT;
    m_nWarnConn = 1;
    m_profiles.clear();
}

void CWASettings::Load(HKEY hPreferences)
{
    CRegistryKey key;
    if (!key.Open(hPreferences, WA_SUBKEY, KEY_READ)) {
        SetDefaults();
        return;
    }
    CString strDefaultSite;
    strDefaultSite.LoadString(IDS_WA_DEFAULT_SITE);
    key.GetString("WASite", m_strSite, strDefaultSite);
    m_nConnType = ReadInt(key, "ConnType", 1);
    m_nSocketPort = ReadInt(key, "SocketPort", 0);
    key.GetString("DirServer", m_strDirServer, "");
    // A missing or damaged list keeps the one held.
    static_cast<void>(ReadProfiles(key, "Profiles"));
    key.GetString("Login", m_strLogin, "");
    key.GetString("Pass", m_strPassword, "");
    key.GetString("CatName", m_strCatName, "");
    key.GetString("CatCode", m_strCatCode, "");
    m_nWarnConn = ReadInt(key, "WarnConn", 1);
    m_nReqTime = ReadInt(key, "ReqTime", 1000);
    m_nPingTime = ReadInt(key, "PingTime", 180000);
    m_nSessionTime = ReadInt(key, "SessionTime", DEFAULT_SESSION_TIME);
    m_nRequestDeadline = ReadInt(key, "RequestDeadline", DEFAULT_REQUEST_DEADLINE);
    m_nUploadLimit = ReadInt(key, "UploadLimitMB", DEFAULT_UPLOAD_LIMIT);
    key.Close();
    UpdateCommFolder();
}

void CWASettings::UpdateCommFolder()
{
    // Only a connection through a directory server (type 2) keeps its own
    // folder; the others exchange their files in the program folder.
    if (m_nConnType != 2)
        m_strDirServer = GetProgramFolder();
    m_strCommFolder = BuildCommFolderPath(m_strDirServer, m_strCatCode);
}

BOOL CWASettings::Save(HKEY hPreferences) const
{
    CRegistryKey key;
    if (!key.Open(hPreferences, WA_SUBKEY, KEY_WRITE) && !key.Create(hPreferences, WA_SUBKEY, KEY_WRITE))
        return FALSE;
    bool bWritten = key.SetString("WASite", m_strSite) != FALSE;
    bWritten &= key.SetDWORD("ConnType", static_cast<DWORD>(m_nConnType)) != FALSE;
    bWritten &= key.SetDWORD("SocketPort", static_cast<DWORD>(m_nSocketPort)) != FALSE;
    bWritten &= key.SetString("DirServer", m_strDirServer) != FALSE;
    bWritten &= WriteProfiles(key, "Profiles") != FALSE;
    bWritten &= key.SetString("Login", m_strLogin) != FALSE;
    bWritten &= key.SetString("Pass", m_strPassword) != FALSE;
    bWritten &= key.SetString("CatName", m_strCatName) != FALSE;
    bWritten &= key.SetString("CatCode", m_strCatCode) != FALSE;
    bWritten &= key.SetDWORD("WarnConn", static_cast<DWORD>(m_nWarnConn)) != FALSE;
    bWritten &= key.SetDWORD("ReqTime", static_cast<DWORD>(m_nReqTime)) != FALSE;
    bWritten &= key.SetDWORD("PingTime", static_cast<DWORD>(m_nPingTime)) != FALSE;
    bWritten &= key.SetDWORD("SessionTime", static_cast<DWORD>(m_nSessionTime)) != FALSE;
    bWritten &= key.SetDWORD("RequestDeadline", static_cast<DWORD>(m_nRequestDeadline)) != FALSE;
    bWritten &= key.SetDWORD("UploadLimitMB", static_cast<DWORD>(m_nUploadLimit)) != FALSE;
    return bWritten ? TRUE : FALSE;
}

void CWASettings::CopyToSheet(CPreferencesWebSheetData& sheet) const
{
    sheet.account.strLogin = m_strLogin;
    sheet.account.strPassword = m_strPassword;
    sheet.account.strCatName = m_strCatName;
    sheet.account.strCatCode = m_strCatCode;
    sheet.connection.nConnType = m_nConnType;
    sheet.connection.strDirServer = m_strDirServer;
}

void CWASettings::CopyFromSheet(const CPreferencesWebSheetData& sheet)
{
    m_strLogin = sheet.account.strLogin;
    m_strPassword = sheet.account.strPassword;
    m_strCatName = sheet.account.strCatName;
    m_strCatCode = sheet.account.strCatCode;
    m_nConnType = sheet.connection.nConnType;
    m_strDirServer = sheet.connection.strDirServer;
    UpdateCommFolder();
}

BOOL CWASettings::WriteProfiles(HKEY hKey, LPCTSTR pszValueName) const
{
    CMemFile file(512);
    try {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(m_profiles.size());
        for (const auto& pProfile : m_profiles)
            pProfile->Serialize(ar);
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }
    const auto nLength = static_cast<DWORD>(file.GetLength());
    BYTE* pData = file.Detach();
    const LSTATUS lResult = RegSetValueEx(hKey, pszValueName, 0, REG_BINARY, pData, nLength);
    std::free(pData);
    return lResult == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL CWASettings::ReadProfiles(HKEY hKey, LPCTSTR pszValueName)
{
    BYTE byProbe = 0;
    DWORD nSize = sizeof byProbe;
    LSTATUS lResult = RegQueryValueEx(hKey, pszValueName, nullptr, nullptr, &byProbe, &nSize);
    if (lResult != ERROR_MORE_DATA)
        return lResult == ERROR_SUCCESS ? TRUE : FALSE;
    std::vector<BYTE> data(nSize);
    lResult = RegQueryValueEx(hKey, pszValueName, nullptr, nullptr, data.data(), &nSize);
    if (lResult != ERROR_SUCCESS)
        return FALSE;
    std::vector<std::unique_ptr<CWAProfiles>> profiles;
    try {
        CMemFile file(data.data(), nSize);
        CArchive ar(&file, CArchive::load);
        DWORD nCount = 0;
        ar >> nCount;
        // Every record takes bytes, so a count beyond the data ends in the
        // archive's end-of-file error.
        for (DWORD i = 0; i < nCount; ++i) {
            auto pProfile = std::make_unique<CWAProfiles>();
            pProfile->Serialize(ar);
            profiles.push_back(std::move(pProfile));
        }
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }
    m_profiles = std::move(profiles);
    return TRUE;
}

std::unique_ptr<CWAProfiles> CWASettings::FindWAProfile(LPCTSTR pszPassword, CCatalog& catalog)
{
    const CString strPassword(pszPassword);
    for (auto it = m_profiles.rbegin(); it != m_profiles.rend(); ++it) {
        CWAProfiles& profile = **it;
        if (!profile.IsEnabled() || profile.GetPassword() != strPassword)
            continue;
        // A failed save leaves the vanished groups in the registry, where
        // they do no harm: the first login after the next load drops them again.
        if (profile.RemoveMissingGroups(catalog) && thePreferences.GetWebSettings() == this)
            static_cast<void>(thePreferences.SaveWebSettings());
        auto pCopy = std::make_unique<CWAProfiles>();
        pCopy->Copy(profile);
        return pCopy;
    }
    return nullptr;
}

BOOL CWASettings::ForgetGroup(const WA_GROUP_KEY& key)
{
    BOOL bForgotten = FALSE;
    for (const auto& pProfile : m_profiles)
        bForgotten = pProfile->ForgetGroup(key) || bForgotten;
    return bForgotten;
}

void CWASettings::RebuildProfileGroups(CCatalog& oldCatalog, CCatalog& newCatalog)
{
    for (auto it = m_profiles.rbegin(); it != m_profiles.rend(); ++it)
        (*it)->RebuildGroupRights(oldCatalog, newCatalog);
}

CWASettings* GetCurrentWebSettings()
{
    return dynamic_cast<CWASettings*>(thePreferences.GetWebSettings());
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
