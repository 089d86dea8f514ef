#include "platform/display/XSettings.h"

#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// A stored input of the xsettings fuzz target: the test and the fuzzer share them.
std::vector<uint8_t> Stored(const char* pszName)
{
    std::ifstream file(SourceRoot() / "fuzz/xsettings" / pszName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}

TEST(XSettingsTest, IntegersAreReadInEitherByteOrderPastOtherKinds)
{
    auto lsb = DecodeXSettingsIntegers(Stored("double_click_lsb"));
    EXPECT_EQ(lsb.size(), 1u); // the theme name is a string, passed over
    EXPECT_EQ(lsb["Net/DoubleClickTime"], 250);
    EXPECT_EQ(DecodeXSettingsIntegers(Stored("double_click_msb"))["Net/DoubleClickTime"], 400);
}

TEST(XSettingsTest, LyingCountsAndTruncatedValuesKeepWhatWasReadBefore)
{
    EXPECT_EQ(DecodeXSettingsIntegers(Stored("count_lies"))["Net/DoubleClickTime"], 250);
    EXPECT_TRUE(DecodeXSettingsIntegers(Stored("truncated")).empty());
    const std::vector<uint8_t> badOrder { 7, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0 };
    EXPECT_TRUE(DecodeXSettingsIntegers(badOrder).empty());
    EXPECT_TRUE(DecodeXSettingsIntegers({}).empty());
}
