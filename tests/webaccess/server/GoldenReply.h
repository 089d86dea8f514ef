#pragma once

// Compares a reply with its golden file under tests/webaccess/server/data,
// byte for byte, reporting where they first differ.

#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline void ExpectGoldenReply(const std::string& strReply, const std::string& strGolden)
{
    const std::filesystem::path golden = SourceRoot() / "tests" / "webaccess" / "server" / "data" / strGolden;
    std::ifstream stream(golden, std::ios::binary);
    ASSERT_TRUE(stream) << golden;
    std::ostringstream expected;
    expected << stream.rdbuf();
    const std::string strExpected = expected.str();
    size_t nDiffer = 0;
    while (nDiffer < strReply.size() && nDiffer < strExpected.size() && strReply[nDiffer] == strExpected[nDiffer])
        ++nDiffer;
    EXPECT_EQ(strReply.size(), strExpected.size());
    EXPECT_EQ(nDiffer, strExpected.size()) << "first difference at " << nDiffer << ":\n"
                                           << strReply.substr(nDiffer > 80 ? nDiffer - 80 : 0, 240);
}
