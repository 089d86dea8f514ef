#include "ui/ClassesRoot.h"

#include <algorithm>

void ForEachClassesRootKey(const std::function<bool(const CString& strName)>& fnKey)
{
    TCHAR szName[MAX_PATH + 1];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchName = MAX_PATH + 1;
        const LSTATUS lStatus
            = RegEnumKeyEx(HKEY_CLASSES_ROOT, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lStatus == ERROR_NO_MORE_ITEMS)
            return;
        if (lStatus != ERROR_SUCCESS)
            continue; // a name too long to read is passed over
        if (!fnKey(CString(szName)))
            return;
    }
}

CString ReadKeyDefault(HKEY hParent, LPCTSTR pszSubKey)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(hParent, pszSubKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return CString();
    TCHAR szValue[MAX_PATH] {};
    DWORD cbValue = sizeof(szValue) - 1;
    DWORD dwType = REG_NONE;
    const LSTATUS lStatus
        = RegQueryValueEx(hKey, nullptr, nullptr, &dwType, reinterpret_cast<LPBYTE>(szValue), &cbValue);
    RegCloseKey(hKey);
    if (lStatus != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString();
    szValue[std::min<DWORD>(cbValue, sizeof(szValue) - 1)] = 0;
    return CString(szValue);
}
