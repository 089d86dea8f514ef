#include "platform/base/TextFunctions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

namespace {

// Mixed text: ASCII, 2-, 3- and 4-byte characters and malformed bytes.
constexpr std::string_view MIXED_TEXT = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xFF"
                                        "b\xC3"
                                        "c\xA9\xE4\xB8";

// Where the characters of strText start, as Utf8CharLength walks them, plus the end.
std::vector<std::size_t> CharBoundaries(std::string_view strText)
{
    std::vector<std::size_t> boundaries { 0 };
    for (std::size_t nPos = 0; nPos < strText.size();) {
        nPos += Utf8CharLength(strText, nPos);
        boundaries.push_back(nPos);
    }
    return boundaries;
}

// A character code passed where CharLower takes a pointer.
LPSTR CharCode(UINT_PTR nCode)
{
    return reinterpret_cast<LPSTR>(nCode); // NOLINT(performance-no-int-to-ptr)
}
UINT_PTR CodeOf(LPSTR lpsz)
{
    return reinterpret_cast<UINT_PTR>(lpsz);
}

} // namespace

/*********************************** Characters and byte limits ***********************************/

TEST(TextFunctionsTest, CharLengthAcceptsOnlyWellFormedSequences)
{
    EXPECT_EQ(Utf8CharLength("a", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xC3\xA9", 0), 2u);
    EXPECT_EQ(Utf8CharLength("\xE4\xB8\xAD", 0), 3u);
    EXPECT_EQ(Utf8CharLength("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(Utf8CharLength("\xF4\x8F\xBF\xBF", 0), 4u); // U+10FFFF
    EXPECT_EQ(Utf8CharLength("\xEF\xBF\xBF", 0), 3u);     // U+FFFF

    const std::string_view malformed[] = {
        "\xC0\x80",         // overlong NUL
        "\xC1\xBF",         // overlong
        "\xE0\x80\x80",     // overlong 3-byte
        "\xF0\x80\x80\x80", // overlong 4-byte
        "\xED\xA0\x80",     // surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xF5\x80\x80\x80", // never a lead byte
        "\xA9",             // lone continuation
        "\xC3",             // cut at the end
        "\xE4\xB8",         // cut at the end
        "\xE4x\xAD",        // interrupted
    };
    for (std::string_view strText : malformed)
        EXPECT_EQ(Utf8CharLength(strText, 0), 1u) << testing::PrintToString(std::string(strText));
}

TEST(TextFunctionsTest, PrefixLengthIsTheLongestWholePrefix)
{
    std::string strText(MIXED_TEXT);
    std::vector<std::size_t> boundaries = CharBoundaries(strText);
    for (std::size_t nMax = 0; nMax <= strText.size() + 1; ++nMax) {
        std::size_t nExpected = 0;
        for (std::size_t nBoundary : boundaries) {
            if (nBoundary <= nMax)
                nExpected = nBoundary;
        }
        EXPECT_EQ(Utf8PrefixLength(strText.c_str(), nMax), nExpected) << "limit " << nMax;
    }
    EXPECT_EQ(Utf8PrefixLength(nullptr, 5), 0u);
}

TEST(TextFunctionsTest, CopyToFieldCutsOnABoundaryAndClearsTheRest)
{
    // A 6-byte field between guard bytes.
    char buffer[8];
    char* pField = buffer + 1;
    auto reset = [&] { std::memset(buffer, '#', sizeof buffer); };

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, "abc\xE4\xB8\xAD", FieldEnd::NulTerminated), 3u);
    EXPECT_EQ(std::string(buffer, 8), std::string("#abc\0\0\0#", 8));

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, "abc\xE4\xB8\xAD", FieldEnd::NulPadded), 6u);
    EXPECT_EQ(std::string(buffer, 8), "#abc\xE4\xB8\xAD#");

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, "ab\xF0\x9F\x98\x80", FieldEnd::NulPadded), 6u);
    EXPECT_EQ(Utf8CopyToField(pField, 6, "abc\xF0\x9F\x98\x80", FieldEnd::NulPadded), 3u);
    EXPECT_EQ(std::string(buffer, 8), std::string("#abc\0\0\0#", 8));

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, "abcdef", FieldEnd::NulPadded), 6u);
    EXPECT_EQ(std::string(buffer, 8), "#abcdef#");

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, "abcdef", FieldEnd::NulTerminated), 5u);
    EXPECT_EQ(std::string(buffer, 8), std::string("#abcde\0#", 8));

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 6, nullptr, FieldEnd::NulTerminated), 0u);
    EXPECT_EQ(std::string(buffer, 8), std::string("#\0\0\0\0\0\0#", 8));

    reset();
    EXPECT_EQ(Utf8CopyToField(pField, 0, "abc", FieldEnd::NulTerminated), 0u);
    EXPECT_EQ(Utf8CopyToField(pField, 1, "abc", FieldEnd::NulTerminated), 0u);
    EXPECT_EQ(std::string(buffer, 8), std::string("#\0######", 8));
}

/*********************************** UTF-16 ***********************************/

TEST(TextFunctionsTest, Utf16ConvertsEveryEncodedLength)
{
    EXPECT_EQ(Utf8FromUtf16(u""), "");
    EXPECT_EQ(Utf8FromUtf16(u"\x0041\x007F\x0080\x07FF"), "A\x7F\xC2\x80\xDF\xBF");
    EXPECT_EQ(Utf8FromUtf16(u"\x0800\x4E2D\xFFFF"), "\xE0\xA0\x80\xE4\xB8\xAD\xEF\xBF\xBF");
    // Surrogate pairs: the lowest, an emoji and the highest character.
    std::u16string strPairs = { 0xD800, 0xDC00, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF };
    EXPECT_EQ(Utf8FromUtf16(strPairs), "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
}

TEST(TextFunctionsTest, Utf16UnpairedSurrogatesBecomeReplacementCharacters)
{
    const std::string strReplacement = "\xEF\xBF\xBD";
    auto convert = [](std::initializer_list<char16_t> units) { return Utf8FromUtf16(std::u16string(units)); };
    // A high half at the end, before a plain character and before another high half that pairs.
    EXPECT_EQ(convert({ 'a', 0xD83D }), "a" + strReplacement);
    EXPECT_EQ(convert({ 0xD83D, 'b' }), strReplacement + "b");
    EXPECT_EQ(convert({ 0xD83D, 0xD83D, 0xDE00 }), strReplacement + "\xF0\x9F\x98\x80");
    // A low half on its own, and a pair in the wrong order.
    EXPECT_EQ(convert({ 0xDE00 }), strReplacement);
    EXPECT_EQ(convert({ 0xDE00, 0xD83D }), strReplacement + strReplacement);
}

TEST(TextFunctionsTest, Utf16KeepsEmbeddedNuls)
{
    std::u16string strUnits = { 'a', 0, 0xE9, 0 };
    EXPECT_EQ(Utf8FromUtf16(strUnits), std::string("a\0\xC3\xA9\0", 5));
}

/*********************************** Unicode case ***********************************/

TEST(TextFunctionsTest, CaseMappingCoversScriptsAndKeepsMalformedBytes)
{
    EXPECT_EQ(Utf8ToUpper("stra\xC3\x9F"
                          "e \xC3\xA9t\xC3\xA9 \xCF\x83\xCE\xBF\xCF\x86 \xD0\xBC\xD0\xB8\xD1\x80"),
        "STRA\xC3\x9F"
        "E \xC3\x89T\xC3\x89 \xCE\xA3\xCE\x9F\xCE\xA6 \xD0\x9C\xD0\x98\xD0\xA0");
    EXPECT_EQ(Utf8ToLower("\xC3\x84\xC3\x96\xC3\x9C \xE4\xB8\xAD ABC"), "\xC3\xA4\xC3\xB6\xC3\xBC \xE4\xB8\xAD abc");
    EXPECT_EQ(Utf8ToLower("\xFF"
                          "A\xC3"
                          "B\xED\xA0\x80"),
        "\xFF"
        "a\xC3"
        "b\xED\xA0\x80");
    EXPECT_EQ(Utf8ToLower(""), "");
}

TEST(TextFunctionsTest, CompareNoCaseOrdersFoldedText)
{
    EXPECT_EQ(Utf8CompareNoCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"), 0);
    EXPECT_LT(Utf8CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(Utf8CompareNoCase("ABD", "abc"), 0);
    EXPECT_LT(Utf8CompareNoCase("ab", "AB\xC3\xA9"), 0);
    EXPECT_GT(Utf8CompareNoCase("\xC3\x89", "Z"), 0);
    EXPECT_EQ(Utf8CompareNoCase("", ""), 0);
}

/*********************************** Character case ***********************************/

TEST(TextFunctionsTest, CharLowerAndUpperConvertStringsInPlace)
{
    char sz[] = "Hello \xC3\x89T\xC3\x89 \xD0\x9C\xD0\xB8\xD1\x80";
    EXPECT_EQ(CharLower(sz), sz);
    EXPECT_STREQ(sz, "hello \xC3\xA9t\xC3\xA9 \xD0\xBC\xD0\xB8\xD1\x80");
    EXPECT_EQ(CharUpper(sz), sz);
    EXPECT_STREQ(sz, "HELLO \xC3\x89T\xC3\x89 \xD0\x9C\xD0\x98\xD0\xA0");
}

TEST(TextFunctionsTest, InPlaceCaseNeverGrowsTheText)
{
    // U+023A lowers to U+2C65 and U+0250 uppers to U+2C6F: both take 3 bytes
    // instead of 2, so they stay. The neighbours still convert.
    char szLonger[] = "A\xC8\xBA"
                      "B";
    EXPECT_STREQ(CharLowerA(szLonger),
        "a\xC8\xBA"
        "b");
    char szLongerUpper[] = "a\xC9\x90"
                           "b";
    EXPECT_STREQ(CharUpperA(szLongerUpper),
        "A\xC9\x90"
        "B");

    // U+0130 lowers to "i" and the Kelvin sign U+212A to "k": the text closes up.
    char szShorter[] = "\xC4\xB0x\xE2\x84\xAAZ";
    EXPECT_STREQ(CharLowerA(szShorter), "ixkz");
    char szDotless[] = "\xC4\xB1n";
    EXPECT_STREQ(CharUpperA(szDotless), "IN");
}

TEST(TextFunctionsTest, InPlaceCaseLeavesMalformedBytes)
{
    char sz[] = "\xFF"
                "A\xC3"
                "B\xA9";
    EXPECT_STREQ(CharLowerA(sz),
        "\xFF"
        "a\xC3"
        "b\xA9");
}

TEST(TextFunctionsTest, CharLowerConvertsACharacterCodeInTheLowWord)
{
    EXPECT_EQ(CodeOf(CharLowerA(CharCode('A'))), UINT_PTR('a'));
    EXPECT_EQ(CodeOf(CharUpperA(CharCode('a'))), UINT_PTR('A'));
    EXPECT_EQ(CodeOf(CharLowerA(CharCode('1'))), UINT_PTR('1'));
    EXPECT_EQ(CodeOf(CharLowerA(CharCode(0x100))), UINT_PTR(0x101)); // Ā -> ā
    EXPECT_EQ(CodeOf(CharUpperA(CharCode(0x3C3))), UINT_PTR(0x3A3)); // σ -> Σ
    // Bytes of multi-byte characters, also sign-extended from a char, stay.
    EXPECT_EQ(CodeOf(CharLowerA(CharCode(0xC4))), UINT_PTR(0xC4));
    EXPECT_EQ(CodeOf(CharUpperA(CharCode(0xE4))), UINT_PTR(0xE4));
    LPSTR pNegative = CharCode(static_cast<UINT_PTR>(static_cast<INT_PTR>(static_cast<signed char>(0xC3))));
    EXPECT_EQ(CharUpperA(pNegative), pNegative);
    EXPECT_EQ(CharLowerA(nullptr), nullptr);
}

TEST(TextFunctionsTest, CharLowerBuffConvertsOnlyTheRange)
{
    char sz[] = "ABCD";
    EXPECT_EQ(CharLowerBuff(sz, 2), 2u);
    EXPECT_STREQ(sz, "abCD");
    EXPECT_EQ(CharLowerBuff(sz, 0), 0u);
    EXPECT_EQ(CharLowerBuff(nullptr, 5), 0u);

    // A character cut by the end of the range is not a character within it.
    char szCut[] = "\xC3\x89\xC3\x89";
    EXPECT_EQ(CharLowerBuffA(szCut, 3), 3u);
    EXPECT_STREQ(szCut, "\xC3\xA9\xC3\x89");

    char szUpper[] = "\xC3\xA9x";
    EXPECT_EQ(CharUpperBuff(szUpper, 3), 3u);
    EXPECT_STREQ(szUpper, "\xC3\x89X");
}

TEST(TextFunctionsTest, CharLowerBuffClearsBytesFreedByShorterCharacters)
{
    char sz[] = "\xC4\xB0"
                "A|rest";
    EXPECT_EQ(CharLowerBuffA(sz, 3), 3u);
    EXPECT_EQ(std::string(sz, sizeof sz - 1), std::string("ia\0|rest", 8));
}

TEST(TextFunctionsTest, CharClassesCoverAsciiOnly)
{
    EXPECT_TRUE(IsCharAlpha('a'));
    EXPECT_TRUE(IsCharAlpha('Z'));
    EXPECT_FALSE(IsCharAlpha('1'));
    EXPECT_FALSE(IsCharAlpha('\xC3'));
    EXPECT_TRUE(IsCharAlphaNumeric('7'));
    EXPECT_TRUE(IsCharAlphaNumeric('q'));
    EXPECT_FALSE(IsCharAlphaNumeric('_'));
    EXPECT_FALSE(IsCharAlphaNumeric('\xE4'));
    EXPECT_TRUE(IsCharLower('m'));
    EXPECT_FALSE(IsCharLower('M'));
    EXPECT_FALSE(IsCharLower('\xA9'));
    EXPECT_TRUE(IsCharUpper('M'));
    EXPECT_FALSE(IsCharUpper('m'));
    EXPECT_FALSE(IsCharUpper('@'));
}

/*********************************** String calls ***********************************/

TEST(TextFunctionsTest, StringComparisonsTakeNullAsEmpty)
{
    EXPECT_LT(lstrcmp("abc", "abd"), 0);
    EXPECT_GT(lstrcmp("b", "a"), 0);
    EXPECT_EQ(lstrcmp("same", "same"), 0);
    EXPECT_LT(lstrcmp("B", "a"), 0);
    EXPECT_GT(lstrcmp("\xC3\xA9", "z"), 0);
    EXPECT_EQ(lstrcmp(nullptr, ""), 0);
    EXPECT_LT(lstrcmp(nullptr, "a"), 0);
    EXPECT_EQ(lstrcmpi("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"), 0);
    EXPECT_LT(lstrcmpi("apple", "BANANA"), 0);
    EXPECT_GT(lstrcmpi("a", nullptr), 0);
    EXPECT_EQ(lstrlen("\xC3\xA9t\xC3\xA9"), 5);
    EXPECT_EQ(lstrlen(nullptr), 0);
}

TEST(TextFunctionsTest, CopyAndConcatenate)
{
    char sz[16];
    EXPECT_EQ(lstrcpy(sz, "abc"), sz);
    EXPECT_EQ(lstrcat(sz, "def"), sz);
    EXPECT_STREQ(sz, "abcdef");
    EXPECT_STREQ(lstrcat(sz, nullptr), "abcdef");
    EXPECT_STREQ(lstrcpy(sz, nullptr), "");
    EXPECT_EQ(lstrcpy(nullptr, "x"), nullptr);
    EXPECT_EQ(lstrcat(nullptr, "x"), nullptr);
}

TEST(TextFunctionsTest, CopyNNeverCutsACharacter)
{
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(lstrcpyn(buffer, "ab\xE4\xB8\xAD", 5), buffer);
    EXPECT_EQ(std::string(buffer, 8), std::string("ab\0#####", 8));

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_STREQ(lstrcpyn(buffer, "ab\xE4\xB8\xAD", 6), "ab\xE4\xB8\xAD");
    EXPECT_STREQ(lstrcpyn(buffer, "abcdefgh", 4), "abc");
    EXPECT_STREQ(lstrcpyn(buffer, "abc", 1), "");

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(lstrcpyn(buffer, "abc", 0), buffer);
    EXPECT_EQ(lstrcpyn(buffer, "abc", -4), buffer);
    EXPECT_EQ(std::string(buffer, 8), "########");

    EXPECT_STREQ(lstrcpyn(buffer, nullptr, 8), "");
    EXPECT_EQ(lstrcpyn(nullptr, "abc", 8), nullptr);
}

TEST(TextFunctionsTest, CodePointsReplaceEveryBrokenSequenceByOneReplacementCharacter)
{
    EXPECT_EQ(Utf32FromUtf8("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), U"a\u00E9\u4E2D\U0001F600");
    // A stray continuation, a truncated sequence, an overlong form, an encoded surrogate.
    EXPECT_EQ(Utf32FromUtf8("\x80x"), U"\uFFFDx");
    EXPECT_EQ(Utf32FromUtf8("\xE4\xB8"), U"\uFFFD\uFFFD");
    EXPECT_EQ(Utf32FromUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(Utf32FromUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf32FromUtf8(std::string_view("a\0b", 3)), std::u32string(U"a\0b", 3));
}
