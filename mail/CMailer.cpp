#include "mail/CMailer.h"

#include "platform/base/Environment.h"
#include "platform/base/FileFind.h"
#include "platform/base/Registry.h"

#include <algorithm>
#include <string>

namespace {

// The mailbox path without the '*' a catalogued mail folder starts with.
LPCTSTR WithoutFolderMarker(LPCTSTR pszStorePath)
{
    return pszStorePath && *pszStorePath == '*' ? pszStorePath + 1 : pszStorePath;
}

// Whether a mailbox is in the folders or below them; its folder names, each
// after a backslash, into strPath.
bool FindInFolders(const CMailFolderArray& folders, LPCTSTR pszMailbox, CString& strPath)
{
    for (const CMailFolderEntry& entry : folders) {
        CString strEntryPath = strPath + "\\" + entry.strName;
        if (!entry.strMailbox.IsEmpty() && entry.strMailbox.CompareNoCase(pszMailbox) == 0) {
            strPath = strEntryPath;
            return true;
        }
        if (entry.pSubfolders && FindInFolders(*entry.pSubfolders, pszMailbox, strEntryPath)) {
            strPath = strEntryPath;
            return true;
        }
    }
    return false;
}

} // namespace

CMailer::~CMailer() = default;

BOOL CMailer::Scan()
{
    m_users.clear();
    FindUsers(m_users);
    std::stable_sort(m_users.begin(), m_users.end(),
        [](const CMailerUserEntry& a, const CMailerUserEntry& b) { return a.strName.CompareNoCase(b.strName) < 0; });
    for (CMailerUserEntry& entry : m_users)
        SortMailFolders(entry.pUser->folders);
    m_bScanned = TRUE;
    m_bFound = m_users.empty() ? FALSE : TRUE;
    return m_bFound;
}

BOOL CMailer::ScanOnce()
{
    return m_bScanned ? m_bFound : Scan();
}

CString CMailer::GetStoreUserName(LPCTSTR pszStorePath)
{
    CString strFolderPath;
    const CMailerUserEntry* pOwner = FindOwner(pszStorePath, strFolderPath);
    return pOwner ? pOwner->strName : CString();
}

CString CMailer::GetMailboxDisplayPath(LPCTSTR pszStorePath)
{
    CString strFolderPath;
    const CMailerUserEntry* pOwner = FindOwner(pszStorePath, strFolderPath);
    return pOwner ? pOwner->strName + strFolderPath : CString();
}

CString CMailer::GetClientName(const CMailerUserEntry& user) const
{
    return user.pUser && !user.pUser->strClient.IsEmpty() ? user.pUser->strClient : GetName();
}

CString CMailer::GetStoreClientName(LPCTSTR pszStorePath)
{
    CString strFolderPath;
    const CMailerUserEntry* pOwner = FindOwner(pszStorePath, strFolderPath);
    return pOwner ? GetClientName(*pOwner) : GetName();
}

void CMailer::ClearStores()
{
    m_users.clear();
    m_bScanned = FALSE;
    m_bFound = FALSE;
}

const CMailerUserEntry* CMailer::FindOwner(LPCTSTR pszStorePath, CString& strFolderPath)
{
    LPCTSTR pszMailbox = WithoutFolderMarker(pszStorePath);
    if (!pszMailbox || !*pszMailbox || !ScanOnce())
        return nullptr;
    for (const CMailerUserEntry& user : m_users) {
        strFolderPath.Empty();
        if (FindInFolders(user.pUser->folders, pszMailbox, strFolderPath))
            return &user;
    }
    return nullptr;
}

void SortMailFolders(CMailFolderArray& folders)
{
    std::stable_sort(folders.begin(), folders.end(),
        [](const CMailFolderEntry& a, const CMailFolderEntry& b) { return a.strName.CompareNoCase(b.strName) < 0; });
    for (CMailFolderEntry& entry : folders) {
        if (entry.pSubfolders)
            SortMailFolders(*entry.pSubfolders);
    }
}

BOOL ReadMailerRegistryString(HKEY hKey, LPCTSTR pszValue, CString& strValue)
{
    DWORD dwType = 0;
    DWORD cbData = 0;
    if (RegQueryValueEx(hKey, pszValue, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS
        || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return FALSE;
    std::string strData(cbData, '\0');
    if (RegQueryValueEx(hKey, pszValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(strData.data()), &cbData)
        != ERROR_SUCCESS)
        return FALSE;
    if (dwType == REG_EXPAND_SZ) {
        DWORD nSize = ExpandEnvironmentStrings(strData.c_str(), nullptr, 0);
        if (nSize == 0)
            return FALSE;
        std::string strExpanded(nSize, '\0');
        if (ExpandEnvironmentStrings(strData.c_str(), strExpanded.data(), nSize) != nSize)
            return FALSE;
        strData = strExpanded.c_str();
    }
    strValue = strData.c_str();
    return TRUE;
}

std::vector<CMailerFileName> ListMailerFolder(const CString& strFolder)
{
    std::vector<CMailerFileName> names;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strFolder + "\\*", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string_view strName(data.cFileName);
        if (strName == "." || strName == "..")
            continue;
        CMailerFileName name;
        name.strName = data.cFileName;
        name.bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
        name.nSize = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        names.push_back(std::move(name));
    } while (names.size() < MAILER_MAX_FOLDER_NAMES && FindNextFile(hFind, &data));
    FindClose(hFind);
    return names;
}

BOOL IsMailerFolder(const CString& strPath)
{
    DWORD dwAttributes = GetFileAttributes(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
}
