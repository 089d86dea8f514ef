#include "platform/base/CodePages.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePagesTest, Utf8AndUtf16RoundTrip)
{
    // "a", "é", "€" and a character outside the basic plane (a surrogate pair).
    const char* pszText = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    int cchNeeded = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszText, -1, nullptr, 0);
    EXPECT_EQ(cchNeeded, 6) << "five units and the NUL";
    WCHAR wsz[8] {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszText, -1, wsz, 8), 6);
    EXPECT_EQ(std::u16string(wsz), u"a\u00E9\u20AC\U0001F600");

    char sz[16] {};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wsz, -1, nullptr, 0, nullptr, nullptr), 11);
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wsz, -1, sz, sizeof sz, nullptr, nullptr), 11);
    EXPECT_STREQ(sz, pszText);

    // An explicit count converts exactly those units, without a NUL.
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wsz, 1, sz, 1, nullptr, nullptr), 1);
}

TEST(CodePagesTest, BadArgumentsAndShortBuffersFailCleanly)
{
    WCHAR wsz[2] { u'x', u'x' };
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wsz, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(437, 0, "abc", -1, wsz, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wsz, 2), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a", -1, nullptr, 0, "?", nullptr), 0)
        << "UTF-8 takes no default character";
    // A malformed byte becomes the replacement character, not an error.
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xFF", 1, wsz, 2), 1);
    EXPECT_EQ(wsz[0], u'\uFFFD');
}

TEST(CodePagesTest, Windows1252ReadsAndWritesItsOwnCharacters)
{
    EXPECT_EQ(Utf8FromWindows1252("caf\xE9 \x80 \x93x\x94 \x81"),
        "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xEF\xBF\xBD");
    char sz[8] {};
    BOOL bUsedDefault = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_1252, 0, u"\u20AC\u00E9\u4E00", 3, sz, sizeof sz, nullptr, &bUsedDefault), 3);
    EXPECT_EQ(std::string(sz, 3), "\x80\xE9?");
    EXPECT_TRUE(bUsedDefault);
}
