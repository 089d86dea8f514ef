#include "store/SystemInfo.h"

#include "platform/base/Version.h"

#include <cstdlib>
#include <string>

int GetOSPlatform()
{
    COSVersion version;
    return GetOSVersion(version) ? OS_PLATFORM_NT : OS_PLATFORM_FAILED;
}

BOOL GetOSVersion(COSVersion& version)
{
    std::string strRelease;
    if (!GetKernelRelease(strRelease))
        return FALSE;
    version = COSVersion();
    const char* pszRest = strRelease.c_str();
    DWORD* numbers[] = { &version.dwMajor, &version.dwMinor, &version.dwBuild };
    for (size_t i = 0; i < 3 && *pszRest >= '0' && *pszRest <= '9'; ++i) {
        char* pszEnd = nullptr;
        *numbers[i] = static_cast<DWORD>(std::strtoul(pszRest, &pszEnd, 10));
        pszRest = pszEnd;
        if (i < 2 && *pszRest == '.' && pszRest[1] >= '0' && pszRest[1] <= '9')
            ++pszRest;
        else
            break;
    }
    version.strExtra = pszRest;
    return TRUE;
}
