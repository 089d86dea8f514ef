#include "ui/CFileTypeMap.h"

#include "platform/base/TextFunctions.h"
#include "ui/ClassesRoot.h"

#include <utility>
#include <vector>

namespace {

// Value names of a ShellNew key that make a new document.
bool IsCreatorValue(LPCTSTR pszName)
{
    for (LPCTSTR pszCreator : { "Nullfile", "Data", "FileName", "Command" })
        if (lstrcmpiA(pszName, pszCreator) == 0)
            return true;
    return false;
}

bool HasCreatorValue(HKEY hShellNew)
{
    TCHAR szName[MAX_PATH + 1];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchName = MAX_PATH + 1;
        const LSTATUS lStatus = RegEnumValue(hShellNew, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lStatus == ERROR_NO_MORE_ITEMS)
            return false;
        if (lStatus == ERROR_SUCCESS && IsCreatorValue(szName))
            return true;
    }
}

} // namespace

CFileTypeMap::CFileTypeMap()
{
    m_types.InitHashTable(10);
}

CFileTypeMap::~CFileTypeMap()
{
    RemoveAll();
}

void CFileTypeMap::Build()
{
    RemoveAll();
    // One pass over the classes root, each extension with its type's description;
    // the types are counted first so that every extension finds its list.
    std::vector<std::pair<CString, CString>> extensions;
    ForEachClassesRootKey([&extensions](const CString& strName) {
        if (strName.Left(1) == ".")
            extensions.emplace_back(strName, DescriptionOf(strName));
        return true;
    });
    for (const auto& [strExtension, strDescription] : extensions)
        AddType(strExtension, strDescription);
    for (const auto& [strExtension, strDescription] : extensions)
        AddExtension(strExtension, strDescription);
}

CStringArray* CFileTypeMap::GetFirst(CString& strDescription)
{
    m_position = m_types.GetStartPosition();
    m_bEnd = m_position == nullptr;
    return GetNext(strDescription);
}

CStringArray* CFileTypeMap::GetNext(CString& strDescription)
{
    if (m_bEnd)
        return nullptr;
    void* pList = nullptr;
    m_types.GetNextAssoc(m_position, strDescription, pList);
    m_bEnd = m_position == nullptr;
    return static_cast<CStringArray*>(pList);
}

void CFileTypeMap::AddType(const CString& strExtension, const CString& strDescription)
{
    void* pList = nullptr;
    if (strDescription.IsEmpty() || lstrcmpiA(strExtension, ".lnk") == 0 || m_types.Lookup(strDescription, pList))
        return;
    if (lstrcmpiA(strExtension, ".rtf") != 0) {
        HKEY hExtension = nullptr;
        if (RegOpenKeyEx(HKEY_CLASSES_ROOT, strExtension, 0, KEY_READ, &hExtension) != ERROR_SUCCESS)
            return;
        m_bFound = FALSE;
        m_nKeysSearched = 0;
        FindShellNew(hExtension, 0);
        RegCloseKey(hExtension);
        if (!m_bFound)
            return;
    }
    m_types.SetAt(strDescription, new CStringArray);
}

void CFileTypeMap::AddExtension(const CString& strExtension, const CString& strDescription)
{
    void* pList = nullptr;
    if (!strDescription.IsEmpty() && m_types.Lookup(strDescription, pList))
        static_cast<CStringArray*>(pList)->Add(strExtension);
}

void CFileTypeMap::FindShellNew(HKEY hKey, int nDepth)
{
    if (nDepth >= MAX_SEARCH_DEPTH)
        return;
    TCHAR szName[MAX_PATH + 1];
    for (DWORD dwIndex = 0; !m_bFound; ++dwIndex) {
        DWORD cchName = MAX_PATH + 1;
        const LSTATUS lStatus = RegEnumKeyEx(hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lStatus == ERROR_NO_MORE_ITEMS)
            return;
        if (lStatus != ERROR_SUCCESS)
            continue;
        if (++m_nKeysSearched > MAX_SEARCH_KEYS)
            return;
        HKEY hSubKey = nullptr;
        if (RegOpenKeyEx(hKey, szName, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
            continue;
        if (lstrcmpiA(szName, "shellnew") == 0) {
            if (HasCreatorValue(hSubKey))
                m_bFound = TRUE;
        } else {
            FindShellNew(hSubKey, nDepth + 1);
        }
        RegCloseKey(hSubKey);
    }
}

CString CFileTypeMap::DescriptionOf(const CString& strExtension)
{
    const CString strTypeName = ReadKeyDefault(HKEY_CLASSES_ROOT, strExtension);
    return strTypeName.IsEmpty() ? CString() : ReadKeyDefault(HKEY_CLASSES_ROOT, strTypeName);
}

void CFileTypeMap::RemoveAll()
{
    POSITION position = m_types.GetStartPosition();
    while (position) {
        CString strDescription;
        void* pList = nullptr;
        m_types.GetNextAssoc(position, strDescription, pList);
        delete static_cast<CStringArray*>(pList);
    }
    m_types.RemoveAll();
    m_position = nullptr;
    m_bEnd = TRUE;
}
