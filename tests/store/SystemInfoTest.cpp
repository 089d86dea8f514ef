#include "store/SystemInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/utsname.h>

namespace {

TEST(SystemInfoTest, ThePlatformIsTheNTFamily)
{
    EXPECT_EQ(GetOSPlatform(), OS_PLATFORM_NT);
}

TEST(SystemInfoTest, VersionNumbersComeFromTheKernelRelease)
{
    COSVersion version;
    ASSERT_TRUE(GetOSVersion(version));
    struct utsname names { };
    ASSERT_EQ(uname(&names), 0);
    std::string strRebuilt = std::to_string(version.dwMajor) + "." + std::to_string(version.dwMinor);
    std::string strRelease = names.release;
    if (strRelease.rfind(strRebuilt + ".", 0) == 0)
        strRebuilt += "." + std::to_string(version.dwBuild);
    EXPECT_EQ(strRebuilt + std::string(version.strExtra), strRelease);
    EXPECT_GT(version.dwMajor, 0u);
}

} // namespace
