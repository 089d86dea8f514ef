#include "platform/base/TextFunctions.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The texts sorted with CompareString and the flags.
std::vector<std::string> Sorted(std::vector<std::string> texts, DWORD dwFlags)
{
    std::stable_sort(texts.begin(), texts.end(), [dwFlags](const std::string& a, const std::string& b) {
        return CompareString(LOCALE_USER_DEFAULT, dwFlags, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    return texts;
}

int Compare(LPCSTR lpsz1, LPCSTR lpsz2, DWORD dwFlags = NORM_IGNORECASE)
{
    return CompareString(LOCALE_USER_DEFAULT, dwFlags, lpsz1, -1, lpsz2, -1);
}

} // namespace

TEST(WordSortTest, NumbersSortCharacterByCharacterAfterSymbolsAndBeforeLetters)
{
    EXPECT_EQ(Sorted({ "2", "11", "a", "10", "1", "0", "_x", " b", "20", "!" }, NORM_IGNORECASE),
        (std::vector<std::string> { " b", "!", "_x", "0", "1", "10", "11", "2", "20", "a" }));
    // The empty text comes before everything.
    EXPECT_EQ(Compare("", " "), CSTR_LESS_THAN);
    EXPECT_EQ(Compare("", "-"), CSTR_LESS_THAN);
}

TEST(WordSortTest, HyphensAndApostrophesAreLeftOutButStillTellTextsApart)
{
    // In code point order "co-op" would come before "con" and "o'neil" before "oak".
    EXPECT_EQ(Sorted({ "cop", "co-op", "con", "coop", "oak", "o'neil", "onion" }, NORM_IGNORECASE),
        (std::vector<std::string> { "con", "coop", "co-op", "cop", "oak", "o'neil", "onion" }));
    EXPECT_EQ(Compare("co-op", "coop"), CSTR_GREATER_THAN);
    EXPECT_EQ(Compare("co-op", "co-op"), CSTR_EQUAL);
    EXPECT_EQ(Compare("co-op", "coo-p"), CSTR_LESS_THAN);
}

TEST(WordSortTest, AccentedLettersSortWithTheirBaseLetter)
{
    // UTF-8 (octal where a letter follows): "Zoë", "Émile", "zebra", "éclair", "Ødegaard", "Straße", "strasse",
    // "Œuvre", "ozone", "naïve", "nave".
    std::vector<std::string> texts { "Zo\xC3\xAB", "\xC3\x89mile", "zebra", "\303\251clair", "\303\230degaard",
        "Stra\303\237e", "strasse", "\xC5\x92uvre", "ozone", "na\xC3\xAFve", "nave" };
    EXPECT_EQ(Sorted(texts, NORM_IGNORECASE),
        (std::vector<std::string> { "\303\251clair", "\xC3\x89mile", "na\xC3\xAFve", "nave", "\303\230degaard",
            "\xC5\x92uvre", "ozone", "strasse", "Stra\303\237e", "zebra", "Zo\xC3\xAB" }));
    // The plain letter comes first; accents decide only when the letters tie.
    EXPECT_EQ(Compare("cote", "c\xC3\xB4te"), CSTR_LESS_THAN);
    EXPECT_EQ(Compare("c\xC3\xB4te", "cotf"), CSTR_LESS_THAN);
    // Letters of other scripts come after the Latin ones.
    EXPECT_EQ(Compare("\xCE\xB1", "zzz"), CSTR_GREATER_THAN);
}

TEST(WordSortTest, CaseDecidesLastAndOnlyWithoutIgnoreCase)
{
    EXPECT_EQ(Compare("Apple", "apple"), CSTR_EQUAL);
    EXPECT_EQ(Compare("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"), CSTR_EQUAL);
    EXPECT_EQ(Compare("apple", "Apple", 0), CSTR_LESS_THAN);
    EXPECT_EQ(Compare("Apple", "apples", 0), CSTR_LESS_THAN);
    EXPECT_EQ(Compare("Apple", "apple", 0), CSTR_GREATER_THAN);
    // The Kelvin sign lower-cases to "k" as "K" does: the same at every level,
    // yet a different text, which only case-blind comparison may call equal.
    EXPECT_NE(Compare("K", "\xE2\x84\xAA", 0), CSTR_EQUAL);
    EXPECT_EQ(-Compare("K", "\xE2\x84\xAA", 0) + 4, Compare("\xE2\x84\xAA", "K", 0));
}

TEST(WordSortTest, CountsLimitTheTextsAndBadArgumentsFail)
{
    EXPECT_EQ(CompareString(LOCALE_SYSTEM_DEFAULT, 0, "abcdef", 3, "abcxyz", 3), CSTR_EQUAL);
    EXPECT_EQ(CompareString(LOCALE_SYSTEM_DEFAULT, 0, "abc", 2, "abc", -1), CSTR_LESS_THAN);

    SetLastError(0);
    EXPECT_EQ(CompareString(LOCALE_USER_DEFAULT, 0, nullptr, -1, "a", -1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CompareString(LOCALE_USER_DEFAULT, 0x80000000, "a", -1, "a", -1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST(WordSortTest, MalformedBytesCompareApartAndAfterSymbols)
{
    EXPECT_EQ(Compare("a\xFF", "a\xFE"), CSTR_GREATER_THAN);
    EXPECT_EQ(Compare("a\xFF", "a~"), CSTR_GREATER_THAN);
    EXPECT_EQ(Compare("a\xFF", "a0"), CSTR_LESS_THAN);
}
