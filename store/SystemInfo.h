#pragma once

// What the program asks about the operating system it runs on. The program
// knows two families, the 9x family and the NT family; this system reports
// itself as the NT family with the kernel's version numbers.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// Platform families, as the version query reports them.
// clang-format off
constexpr int OS_PLATFORM_FAILED  = -1; // The version could not be read
constexpr int OS_PLATFORM_OTHER   = -2; // Neither family
constexpr int OS_PLATFORM_WIN9X   = 1;
constexpr int OS_PLATFORM_NT      = 2;
// clang-format on

// The platform family: OS_PLATFORM_NT, or OS_PLATFORM_FAILED when the
// system cannot tell its version.
int GetOSPlatform();

// The kernel's version: "6.1.0-18-amd64" gives 6, 1, build 0 and the rest
// "-18-amd64". Numbers that are missing stay 0.
struct COSVersion {
    DWORD dwMajor { 0 };
    DWORD dwMinor { 0 };
    DWORD dwBuild { 0 };
    CString strExtra; // What follows the numbers
};

// FALSE when the system cannot tell its version.
BOOL GetOSVersion(COSVersion& version);
