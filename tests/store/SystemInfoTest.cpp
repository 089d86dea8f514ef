#include "store/SystemInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemInfoTest, TheHostReportsAnNtFamilyVersion)
{
    EXPECT_EQ(GetOSPlatform(), OS_PLATFORM_NT);
    COSVersion version;
    ASSERT_TRUE(GetOSVersion(version));
    EXPECT_GT(version.dwMajor, 0u);
}

} // namespace
