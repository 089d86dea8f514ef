#include "store/CRegistryKey.h"

#include "platform/base/WinError.h"
#include "store/CLogFile.h"

#include <cstring>
#include <mutex>
#include <string>

CString CRegistryKey::IndexedName(LPCTSTR pszName, int nIndex)
{
    CString strName;
    strName.Format("%s%03d", pszName ? pszName : "", nIndex);
    return strName;
}

namespace {

// Writes the settings-file problems that the registry met since the last
// call into the trace log, each once: a damaged file was set aside and its
// root started empty, which the log should tell whoever reads it later.
void LogNewRegistryProblems()
{
    static std::mutex s_mutex;
    static size_t s_nLogged = 0;
    std::vector<std::string> problems = GetRegistryProblems();
    std::lock_guard lock(s_mutex);
    for (; s_nLogged < problems.size(); ++s_nLogged)
        g_log.Printf("Registry: %s\n", problems[s_nLogged].c_str());
}

} // namespace

BOOL CRegistryKey::Check(LSTATUS lResult)
{
    m_lLastError = lResult;
    return lResult == ERROR_SUCCESS ? TRUE : FALSE;
}

/*************************************************************************
 * The held key
 *************************************************************************/

BOOL CRegistryKey::Open(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired)
{
    Close();
    HKEY hKey = nullptr;
    BOOL bOpened = Check(RegOpenKeyEx(hParent, pszSubKey, 0, samDesired, &hKey));
    LogNewRegistryProblems();
    if (!bOpened)
        return FALSE;
    m_hKey = hKey;
    m_strPath = pszSubKey;
    return TRUE;
}

BOOL CRegistryKey::Create(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired)
{
    Close();
    HKEY hKey = nullptr;
    BOOL bCreated = Check(
        RegCreateKeyEx(hParent, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &hKey, nullptr));
    LogNewRegistryProblems();
    if (!bCreated)
        return FALSE;
    m_hKey = hKey;
    m_strPath = pszSubKey;
    return TRUE;
}

void CRegistryKey::Close()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
    m_strPath.Empty();
}

/*************************************************************************
 * Existence and deletion
 *************************************************************************/

BOOL CRegistryKey::KeyExists(LPCTSTR pszSubKey)
{
    HKEY hKey = nullptr;
    if (!Check(RegOpenKeyEx(m_hKey, pszSubKey, 0, KEY_READ, &hKey)))
        return FALSE;
    RegCloseKey(hKey);
    return TRUE;
}

BOOL CRegistryKey::ValueExists(LPCTSTR pszName)
{
    DWORD dwType = REG_NONE;
    DWORD cbData = 0;
    return Check(RegQueryValueEx(m_hKey, pszName, nullptr, &dwType, nullptr, &cbData));
}

BOOL CRegistryKey::DeleteValue(LPCTSTR pszName)
{
    return Check(RegDeleteValue(m_hKey, pszName));
}

BOOL CRegistryKey::DeleteTree(LPCTSTR pszSubKey, LPCTSTR pszValueName, HKEY hParent)
{
    HKEY hBase = hParent ? hParent : m_hKey;
    if (!pszValueName)
        return Check(RegDeleteTree(hBase, pszSubKey));
    HKEY hKey = nullptr;
    if (!Check(RegOpenKeyEx(hBase, pszSubKey, 0, KEY_READ_WRITE, &hKey)))
        return FALSE;
    BOOL bDeleted = Check(RegDeleteValue(hKey, pszValueName));
    RegCloseKey(hKey);
    return bDeleted;
}

/*************************************************************************
 * Typed values
 *************************************************************************/

BOOL CRegistryKey::QueryBytes(LPCTSTR pszName, std::vector<BYTE>& data)
{
    m_dwValueType = REG_NONE;
    m_dwValueSize = 0;
    DWORD dwType = REG_NONE;
    DWORD cbData = 0;
    if (!Check(RegQueryValueEx(m_hKey, pszName, nullptr, &dwType, nullptr, &cbData)))
        return FALSE;
    data.resize(cbData);
    // The value may change between the two calls; the second one tells.
    if (!Check(RegQueryValueEx(m_hKey, pszName, nullptr, &dwType, data.data(), &cbData)))
        return FALSE;
    data.resize(cbData);
    m_dwValueType = dwType;
    m_dwValueSize = cbData;
    return TRUE;
}

BOOL CRegistryKey::GetDWORD(LPCTSTR pszName, DWORD& dwValue, DWORD dwDefault)
{
    dwValue = dwDefault;
    std::vector<BYTE> data;
    if (!QueryBytes(pszName, data))
        return FALSE;
    if (m_dwValueType != REG_DWORD || data.size() != sizeof(DWORD)) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    std::memcpy(&dwValue, data.data(), sizeof(DWORD));
    return TRUE;
}

BOOL CRegistryKey::SetDWORD(LPCTSTR pszName, DWORD dwValue)
{
    return Check(
        RegSetValueEx(m_hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue)));
}

BOOL CRegistryKey::GetString(LPCTSTR pszName, CString& strValue, LPCTSTR pszDefault)
{
    strValue = pszDefault;
    m_dwValueType = REG_NONE;
    m_dwValueSize = 0;
    char buffer[MAX_STRING_BYTES];
    DWORD dwType = REG_NONE;
    DWORD cbData = sizeof(buffer);
    if (!Check(RegQueryValueEx(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer), &cbData)))
        return FALSE;
    m_dwValueType = dwType;
    m_dwValueSize = cbData;
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    // The text ends at its first NUL, or with the data when it has none.
    strValue = CString(buffer, static_cast<int>(strnlen(buffer, cbData)));
    return TRUE;
}

BOOL CRegistryKey::SetString(LPCTSTR pszName, LPCTSTR pszValue)
{
    LPCTSTR pszText = pszValue ? pszValue : "";
    return Check(RegSetValueEx(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
        static_cast<DWORD>(std::strlen(pszText) + 1)));
}
