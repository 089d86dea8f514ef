#include "platform/base/Environment.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Variables of these tests carry a prefix of their own and are removed after.
class EnvironmentTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const char* pszName :
            { "ARCTEST_VALUE", "ArcTest_Mixed", "ARCTEST_MIXED", "ARCTEST_GONE", "ARCTEST_EMPTY" })
            unsetenv(pszName);
    }

    static std::string Get(const char* pszName)
    {
        char szValue[256];
        DWORD dwLength = GetEnvironmentVariable(pszName, szValue, sizeof(szValue));
        return dwLength ? std::string(szValue, dwLength) : std::string("<unset>");
    }

    static std::string Expand(const char* pszSource)
    {
        char szResult[256];
        DWORD dwSize = ExpandEnvironmentStrings(pszSource, szResult, sizeof(szResult));
        EXPECT_EQ(dwSize, std::string(szResult).size() + 1);
        return szResult;
    }
};

}

TEST_F(EnvironmentTest, SetGetAndRemove)
{
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_VALUE", "hello"));
    EXPECT_EQ(Get("ARCTEST_VALUE"), "hello");
    EXPECT_STREQ(std::getenv("ARCTEST_VALUE"), "hello");
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_VALUE", nullptr));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(Get("ARCTEST_VALUE"), "<unset>");
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
    EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetEnvironmentVariable("", "x"));
}

TEST_F(EnvironmentTest, NamesMatchCaseInsensitivelyWhenNotExactly)
{
    ASSERT_TRUE(SetEnvironmentVariable("ArcTest_Mixed", "mixed"));
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_MIXED", "upper"));
    EXPECT_EQ(Get("ArcTest_Mixed"), "mixed");
    EXPECT_EQ(Get("ARCTEST_MIXED"), "upper");
    // Neither matches exactly: the first name in byte order, "ARCTEST_MIXED".
    EXPECT_EQ(Get("arctest_mixed"), "upper");
}

TEST_F(EnvironmentTest, SmallBuffersGetTheSizeNeeded)
{
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_VALUE", "0123456789"));
    char szValue[4] = "abc";
    EXPECT_EQ(GetEnvironmentVariable("ARCTEST_VALUE", szValue, sizeof(szValue)), 11u);
    EXPECT_STREQ(szValue, "abc");
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_EMPTY", ""));
    EXPECT_EQ(GetEnvironmentVariable("ARCTEST_EMPTY", szValue, sizeof(szValue)), 0u);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(ExpandEnvironmentStrings("%ARCTEST_VALUE%", szValue, sizeof(szValue)), 11u);
}

TEST_F(EnvironmentTest, ExpandsKnownNamesAndKeepsTheRest)
{
    ASSERT_TRUE(SetEnvironmentVariable("ARCTEST_VALUE", "v"));
    EXPECT_EQ(Expand("a%ARCTEST_VALUE%b"), "avb");
    EXPECT_EQ(Expand("%arctest_value%%ARCTEST_VALUE%"), "vv");
    EXPECT_EQ(Expand("%ARCTEST_GONE%"), "%ARCTEST_GONE%");
    EXPECT_EQ(Expand("50% off"), "50% off");
    EXPECT_EQ(Expand("%%"), "%%");
    EXPECT_EQ(Expand("x%ARCTEST_GONE%ARCTEST_VALUE%y"), "x%ARCTEST_GONEvy");
    EXPECT_EQ(Expand("%ARCTEST_VALUE"), "%ARCTEST_VALUE");
    EXPECT_EQ(ExpandEnvironmentStrings(nullptr, nullptr, 0), 0u);
}
