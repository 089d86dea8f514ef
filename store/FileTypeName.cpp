#include "store/FileTypeName.h"

#include "platform/base/Registry.h"

#include <vector>

namespace {

// The default value of a classes-root key; empty when it has none.
CString ReadClassDefault(LPCTSTR pszKey)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return CString();
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD dwType = REG_NONE;
    DWORD cbData = MAX_PATH;
    const LSTATUS nResult
        = RegQueryValueEx(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &cbData);
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS && dwType == REG_SZ ? CString(buffer.data()) : CString();
}

} // namespace

CString FileTypeNameOfExtension(LPCTSTR pszExtension)
{
    CString strExtension(pszExtension ? pszExtension : "");
    if (strExtension.IsEmpty())
        return CString();
    if (strExtension[0] != '.')
        strExtension = "." + strExtension;
    strExtension.MakeLower();
    const CString strTypeName = ReadClassDefault(strExtension);
    if (strTypeName.IsEmpty())
        return CString();
    const CString strDescription = ReadClassDefault(strTypeName);
    return strDescription.IsEmpty() ? strTypeName : strDescription;
}
