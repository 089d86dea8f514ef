#include "platform/base/TextFunctions.h"

#include <gtest/gtest.h>

TEST(TextFunctionsTest, Basics)
{
    char sz[] = "ÄBC";
    EXPECT_STREQ(CharLower(sz), "äbc");
    EXPECT_EQ(Utf8PrefixLength("aé", 2), 1u);
    char szShort[3];
    EXPECT_STREQ(lstrcpyn(szShort, "aé", 3), "a");
}
