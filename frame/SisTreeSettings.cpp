#include "frame/SisTreeSettings.h"

#include "store/CRegistryKey.h"

#include <algorithm>

namespace {

constexpr char PATH_VALUE[] = "Path";
constexpr char EXPANDED_VALUE[] = "Expanded";
constexpr char EXPANDED_COUNT_VALUE[] = "NumExpanded";

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
    DWORD dwExpanded = 0;
    (void)key.GetDWORD(EXPANDED_COUNT_VALUE, dwExpanded, 0); // a damaged count reads as none expanded
    const int nExpanded = static_cast<int>(std::min<DWORD>(dwExpanded, MAX_EXPANDED));
    for (int i = 0; i < nExpanded; ++i) {
        CStringArray names;
        if (!key.GetStringArray(CRegistryKey::IndexedName(EXPANDED_VALUE, i), names))
            continue; // one damaged path costs only its own expansion
        CSisTreePath path;
        for (int n = 0; n < std::min<int>(static_cast<int>(names.GetSize()), MAX_PATH_NAMES); ++n)
            path.push_back(names[n]);
        if (!path.empty())
            settings.expanded.push_back(std::move(path));
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
    const int nExpanded = static_cast<int>(std::min<size_t>(settings.expanded.size(), MAX_EXPANDED));
    for (int i = 0; i < nExpanded; ++i) {
        const CSisTreePath& path = settings.expanded[static_cast<size_t>(i)];
        CStringArray names;
        for (size_t n = 0; n < std::min<size_t>(path.size(), MAX_PATH_NAMES); ++n)
            names.Add(path[n]);
        bWritten = bWritten && key.SetStringArray(CRegistryKey::IndexedName(EXPANDED_VALUE, i), names);
    }
    return bWritten && key.SetDWORD(EXPANDED_COUNT_VALUE, static_cast<DWORD>(nExpanded))
        && key.SetDWORD("NumPath", static_cast<DWORD>(nCount))
        && key.SetDWORD("ViewStyle", settings.bSmallIcons ? 1 : 0)
        && key.SetDWORD("ShowOrphan", settings.bShowTopNode3 ? 1 : 0);
}
