#include "frame/DesktopLayout.h"

#include "frame/AppGlobals.h"
#include "store/CRegistryKey.h"

#include <algorithm>
#include <climits>
#include <cstdio>

HKEY g_hRestoreKey = nullptr;
CString g_strCurrentChildKey;

namespace {

constexpr DWORD MAX_KEPT_WIDTH = 32767;

DWORD ReadDesktopValue(LPCTSTR pszName)
{
    CRegistryKey key;
    DWORD dwValue = 0;
    if (!key.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ) || !key.GetDWORD(pszName, dwValue, 0))
        return 0;
    return dwValue;
}

} // namespace

CKeptPlacement ReadKeptPlacement(CRegistryKey& key, DWORD dwDefaultStatus)
{
    CKeptPlacement kept;
    kept.bStatusKept = key.GetDWORD("Status", kept.dwStatus, dwDefaultStatus) != FALSE;
    CDWordArray position;
    if (!key.GetDWordArray("Position", position) || position.GetSize() != 4)
        return kept;
    const RECT rc { static_cast<LONG>(position[0]), static_cast<LONG>(position[1]), static_cast<LONG>(position[2]),
        static_cast<LONG>(position[3]) };
    // Differences of damaged values may overflow; they are taken wide.
    const long long cx = static_cast<long long>(rc.right) - rc.left;
    const long long cy = static_cast<long long>(rc.bottom) - rc.top;
    if (cx > 0 && cy > 0 && cx <= INT_MAX && cy <= INT_MAX) {
        kept.bRectKept = true;
        kept.rc = rc;
    }
    return kept;
}

void WriteKeptPlacement(CRegistryKey& key, const WINDOWPLACEMENT& placement, DWORD dwMinimizedAs)
{
    key.SetDWORD("Status", placement.showCmd == SW_SHOWMINIMIZED ? dwMinimizedAs : placement.showCmd);
    CDWordArray position;
    const RECT& rc = placement.rcNormalPosition;
    for (LONG nValue : { rc.left, rc.top, rc.right, rc.bottom })
        position.Add(static_cast<DWORD>(nValue));
    key.SetDWordArray("Position", position);
}

CKeptColumns ReadKeptColumns(CRegistryKey& key)
{
    auto read = [&key](LPCTSTR pszName) {
        DWORD dwValue = 0;
        if (!key.GetDWORD(pszName, dwValue))
            return -1;
        // A width beyond any screen is damage.
        return dwValue <= MAX_KEPT_WIDTH ? static_cast<int>(dwValue) : -1;
    };
    return { read("LeftFrame"), read("RightFrame"), read("TipViewFrame") };
}

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
