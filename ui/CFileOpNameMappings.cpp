#include "ui/CFileOpNameMappings.h"

#include "platform/base/TextFunctions.h"
#include "store/SystemInfo.h"

#include <cstring>
#include <string>

CFileOpNameMappings::CFileOpNameMappings(LPVOID hNameMappings)
    : m_pMappings(static_cast<SHNAMEMAPPINGHEADER*>(hNameMappings))
    , m_bWide(GetOSPlatform() != OS_PLATFORM_WIN9X)
{
}

CFileOpNameMappings::~CFileOpNameMappings()
{
    SHFreeNameMappings(m_pMappings);
}

LPSHNAMEMAPPINGW CFileOpNameMappings::GetFirst()
{
    m_nIndex = 0;
    return GetNext();
}

LPSHNAMEMAPPINGW CFileOpNameMappings::GetNext()
{
    if (!m_pMappings || m_nIndex >= m_pMappings->cNumOfMappings)
        return nullptr;
    return &m_pMappings->lpNM[m_nIndex++];
}

void CFileOpNameMappings::GetOldPath(const SHNAMEMAPPINGW* pEntry, CString& strPath) const
{
    strPath = pEntry ? PathText(pEntry->pszOldPath, pEntry->cchOldPath) : CString();
}

void CFileOpNameMappings::GetNewPath(const SHNAMEMAPPINGW* pEntry, CString& strPath) const
{
    strPath = pEntry ? PathText(pEntry->pszNewPath, pEntry->cchNewPath) : CString();
}

CString CFileOpNameMappings::PathText(LPCWSTR pwszPath, int cchPath) const
{
    if (!pwszPath || cchPath <= 0)
        return CString();
    std::string strText;
    if (m_bWide)
        strText = Utf8FromUtf16(std::u16string_view(pwszPath, static_cast<size_t>(cchPath)));
    else
        strText.assign(reinterpret_cast<const char*>(pwszPath),
            strnlen(reinterpret_cast<const char*>(pwszPath), static_cast<size_t>(cchPath)));
    strText.resize(Utf8PrefixLength(strText.c_str(), MAX_PATH - 1));
    return CString(strText.c_str());
}
