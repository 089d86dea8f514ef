#include "store/ResString.h"

#include "tests/store/StringModuleFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ResStringTest : public StringModuleTest { };

TEST_F(ResStringTest, LoadsTheStringOfTheCurrentModule)
{
    std::string strLong(3000, 'x');
    LoadStrings({ { 4453, "Catalog %s is damaged." }, { 4454, strLong } });
    EXPECT_STREQ(GetResString(4453), "Catalog %s is damaged.");
    EXPECT_EQ(std::string(GetResString(4454)), strLong);
}

TEST_F(ResStringTest, MissingStringsAreEmpty)
{
    LoadStrings({ { 4453, "Catalog" } });
    EXPECT_STREQ(GetResString(4452), "");
    EXPECT_STREQ(GetResString(0), "");
}

TEST_F(ResStringTest, OneBufferServesEveryCall)
{
    LoadStrings({ { 101, "first" }, { 102, "second" } });
    LPCTSTR pszFirst = GetResString(101);
    LPCTSTR pszSecond = GetResString(102);
    EXPECT_EQ(pszFirst, pszSecond);
    EXPECT_STREQ(pszFirst, "second");
}

TEST(ResStringNoModuleTest, WithoutAModuleEveryStringIsEmpty)
{
    EXPECT_STREQ(GetResString(101), "");
}

} // namespace
