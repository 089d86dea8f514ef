#include "platform/base/Version.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

TEST(VersionTest, ReportsAnNtFamilySystemOfVersionFourOrLater)
{
    DWORD dwVersion = GetVersion();
    EXPECT_GE(LOBYTE(LOWORD(dwVersion)), 4);
    EXPECT_EQ(dwVersion & 0x80000000u, 0u); // bit 31 clear: the NT family

    OSVERSIONINFO info {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, LOBYTE(LOWORD(dwVersion)));
    EXPECT_EQ(info.dwMinorVersion, HIBYTE(LOWORD(dwVersion)));
    EXPECT_EQ(info.dwBuildNumber, HIWORD(dwVersion));
}

TEST(VersionTest, UnsetStructureSizeIsRefused)
{
    OSVERSIONINFO info {};
    info.dwMajorVersion = 77;
    EXPECT_FALSE(GetVersionEx(&info));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(info.dwMajorVersion, 77u); // left as it was
    EXPECT_FALSE(GetVersionEx(nullptr));
}
