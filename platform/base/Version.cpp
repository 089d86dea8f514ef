#include "platform/base/Version.h"

#include "platform/base/WinError.h"

#include <sys/utsname.h>

namespace {

constexpr DWORD MAJOR_VERSION = 5;
constexpr DWORD MINOR_VERSION = 1;
constexpr DWORD BUILD_NUMBER = 2600;

}

DWORD GetVersion()
{
    return MAJOR_VERSION | (MINOR_VERSION << 8) | (BUILD_NUMBER << 16);
}

BOOL GetVersionEx(LPOSVERSIONINFO lpVersionInformation)
{
    if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *lpVersionInformation = OSVERSIONINFO { sizeof(OSVERSIONINFO), MAJOR_VERSION, MINOR_VERSION, BUILD_NUMBER,
        VER_PLATFORM_WIN32_NT, {} };
    return TRUE;
}

BOOL GetKernelRelease(std::string& strRelease)
{
    struct utsname names { };
    if (uname(&names) != 0)
        return FALSE;
    strRelease = names.release;
    return TRUE;
}
