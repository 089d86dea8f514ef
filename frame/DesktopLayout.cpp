#include "frame/DesktopLayout.h"

#include "frame/AppGlobals.h"
#include "store/CRegistryKey.h"

#include <algorithm>
#include <cstdio>

HKEY g_hRestoreKey = nullptr;
CString g_strCurrentChildKey;

namespace {

DWORD ReadDesktopValue(LPCTSTR pszName)
{
    CRegistryKey key;
    DWORD dwValue = 0;
    if (!key.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ) || !key.GetDWORD(pszName, dwValue, 0))
        return 0;
    return dwValue;
}

} // namespace

LPCTSTR ChildKeyName(int nIndex)
{
    static char szName[16];
    std::snprintf(szName, sizeof(szName), "Child%03d", (nIndex + 1000) % 1000);
    return szName;
}

int ReadFrameCount()
{
    // A DWORD read as a signed count: a damaged value above the limit or
    // "negative" gives no frames rather than thousands.
    const auto nCount = static_cast<LONG>(ReadDesktopValue("Windows"));
    return nCount < 0 ? 0 : std::min<LONG>(nCount, MAX_CHILD_FRAMES);
}

int ReadActiveFrame()
{
    return static_cast<int>(static_cast<LONG>(ReadDesktopValue("ActiveFrame")));
}
