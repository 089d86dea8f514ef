#pragma once

// The version of the system the program believes it runs on. The program
// tells the NT family from the older one by these calls; it runs here as on
// an NT-family system, version 5.1, build 2600.

#include "platform/base/WinTypes.h"

#include <string>

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1; // the older family
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize; // sizeof(OSVERSIONINFO), set by the caller
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;     // VER_PLATFORM_*
    CHAR szCSDVersion[128]; // the service pack, "" for none
};
using LPOSVERSIONINFO = OSVERSIONINFO*;

// Major version in the low byte, minor in the next, the build in the high
// word; bit 31 clear for the NT family.
DWORD GetVersion();
// FALSE with ERROR_INSUFFICIENT_BUFFER when dwOSVersionInfoSize is not sizeof(OSVERSIONINFO).
BOOL GetVersionEx(LPOSVERSIONINFO lpVersionInformation);

// The release text of the kernel underneath ("6.1.0-18-amd64"), for the
// program's own logs; FALSE when the host does not tell it.
BOOL GetKernelRelease(std::string& strRelease);
