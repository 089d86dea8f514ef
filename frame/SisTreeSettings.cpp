#include "frame/SisTreeSettings.h"

#include "store/CRegistryKey.h"

#include <algorithm>

namespace {

constexpr char PATH_VALUE[] = "Path";

} // namespace

CSisTreeSettings ReadSisTreeSettings(CRegistryKey& key)
{
    CSisTreeSettings settings;
    DWORD dwValue = 0;
    if (key.GetDWORD("ViewStyle", dwValue, 0))
        settings.bSmallIcons = dwValue != 0;
    if (key.GetDWORD("ShowOrphan", dwValue, 1))
        settings.bShowTopNode3 = dwValue != 0;
    DWORD dwCount = 0;
    (void)key.GetDWORD("NumPath", dwCount, 0); // a damaged count reads as no path
    const int nCount = static_cast<int>(std::min<DWORD>(dwCount, MAX_PATH_NAMES));
    for (int i = 0; i < nCount; ++i) {
        CString strName;
        if (!key.GetString(CRegistryKey::IndexedName(PATH_VALUE, i), strName))
            break;
        settings.path.push_back(strName);
    }
    return settings;
}

BOOL WriteSisTreeSettings(HKEY hParent, LPCTSTR pszName, const CSisTreeSettings& settings)
{
    CRegistryKey key;
    if (!key.Create(hParent, pszName))
        return FALSE;
    const int nCount = static_cast<int>(std::min<size_t>(settings.path.size(), MAX_PATH_NAMES));
    BOOL bWritten = TRUE;
    for (int i = 0; i < nCount; ++i)
        bWritten = bWritten
            && key.SetString(CRegistryKey::IndexedName(PATH_VALUE, i), settings.path[static_cast<size_t>(i)]);
    return bWritten && key.SetDWORD("NumPath", static_cast<DWORD>(nCount))
        && key.SetDWORD("ViewStyle", settings.bSmallIcons ? 1 : 0)
        && key.SetDWORD("ShowOrphan", settings.bShowTopNode3 ? 1 : 0);
}
