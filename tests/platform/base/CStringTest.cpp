#include "platform/base/CString.h"

#include "platform/base/ResourceModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The bytes of a CString, NULs included, for exact comparisons.
std::string Bytes(const CString& str)
{
    return std::string(static_cast<LPCTSTR>(str), str.GetLength());
}

class CDerivedString : public CString {
public:
    using CString::CString;
};

} // namespace

/*********************************** Construction and assignment ***********************************/

TEST(CStringTest, ConstructorsTakeNullAndOutOfRangeCountsAsEmpty)
{
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr), 5).IsEmpty());
    EXPECT_TRUE(CString("abc", -1).IsEmpty());
    EXPECT_TRUE(CString('x', -3).IsEmpty());
    EXPECT_EQ(Bytes(CString('x', 3)), "xxx");
    EXPECT_EQ(Bytes(CString('x')), "x");
    EXPECT_STREQ(CString(), "");
}

TEST(CStringTest, AStringIdWithoutAStringGivesAnEmptyString)
{
    // The program itself holds no resources; the ID must not be read as a pointer.
    EXPECT_TRUE(CString(MAKEINTRESOURCE(1)).IsEmpty());
    EXPECT_TRUE(CString(MAKEINTRESOURCE(0xFFFF)).IsEmpty());
}

TEST(CStringTest, LengthConstructorKeepsEmbeddedNuls)
{
    CString str("a\0b", 3);
    EXPECT_EQ(str.GetLength(), 3);
    EXPECT_EQ(Bytes(str), std::string("a\0b", 3));
    // The LPCTSTR view and the comparisons stop at the first NUL.
    EXPECT_STREQ(str, "a");
    EXPECT_TRUE(str == "a");
    EXPECT_TRUE(str == CString("a"));
}

TEST(CStringTest, CopiesAreIndependentAndMovesEmptyTheSource)
{
    CString strOriginal("text");
    CString strCopy(strOriginal);
    strCopy.SetAt(0, 'n');
    EXPECT_EQ(strOriginal, "text");
    EXPECT_EQ(strCopy, "next");

    CString strMoved(std::move(strCopy));
    EXPECT_EQ(strMoved, "next");
    EXPECT_TRUE(strCopy.IsEmpty()); // NOLINT(bugprone-use-after-move): the class promises this.

    CString strTarget("old");
    strTarget = std::move(strMoved);
    EXPECT_EQ(strTarget, "next");
    EXPECT_TRUE(strMoved.IsEmpty()); // NOLINT(bugprone-use-after-move)
}

TEST(CStringTest, AssignmentAcceptsItsOwnText)
{
    CString str("abcdef");
    str = static_cast<LPCTSTR>(str) + 2;
    EXPECT_EQ(str, "cdef");
    str = static_cast<LPCTSTR>(str);
    EXPECT_EQ(str, "cdef");
    str = 'z';
    EXPECT_EQ(str, "z");
    str = static_cast<LPCTSTR>(nullptr);
    EXPECT_TRUE(str.IsEmpty());
}

/*********************************** Characters ***********************************/

TEST(CStringTest, CharacterAccessOutsideTheStringIsHarmless)
{
    CString str("ab");
    EXPECT_EQ(str.GetAt(1), 'b');
    EXPECT_EQ(str[0], 'a');
    EXPECT_EQ(str.GetAt(2), '\0');
    EXPECT_EQ(str.GetAt(-1), '\0');
    EXPECT_EQ(str[100], '\0');
    str.SetAt(2, 'x');
    str.SetAt(-1, 'x');
    EXPECT_EQ(Bytes(str), "ab");
    str.SetAt(1, 'c');
    EXPECT_EQ(str, "ac");
}

TEST(CStringTest, EmptyReleasesTheText)
{
    CString str('q', 1000);
    str.Empty();
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_EQ(str.GetLength(), 0);
    EXPECT_STREQ(str, "");
}

/*********************************** Concatenation ***********************************/

TEST(CStringTest, ConcatenationWorksWithEveryOperandKind)
{
    CString str("b");
    EXPECT_EQ(str + CString("c"), "bc");
    EXPECT_EQ(str + "c", "bc");
    EXPECT_EQ("a" + str, "ab");
    EXPECT_EQ(str + 'c', "bc");
    EXPECT_EQ('a' + str, "ab");
    EXPECT_EQ("a" + str + 'c' + CString("d") + "e", "abcde");
    EXPECT_EQ(str + static_cast<LPCTSTR>(nullptr), "b");
    EXPECT_EQ(str, "b");
}

TEST(CStringTest, AppendingItselfDoublesTheText)
{
    CString str("ab");
    str += str;
    EXPECT_EQ(str, "abab");
    str += static_cast<LPCTSTR>(str) + 3;
    EXPECT_EQ(str, "ababb");
    str += '!';
    str += static_cast<LPCTSTR>(nullptr);
    EXPECT_EQ(str, "ababb!");
}

/*********************************** Comparison ***********************************/

TEST(CStringTest, ComparisonOperatorsAgreeOnBothSides)
{
    CString strA("apple");
    CString strB("banana");
    LPCTSTR pszA = "apple";
    LPCTSTR pszB = "banana";

    EXPECT_TRUE(strA == pszA && pszA == strA && strA == CString(pszA));
    EXPECT_TRUE(strA != pszB && pszB != strA && strA != strB);
    EXPECT_TRUE(strA < pszB && pszA < strB && strA < strB);
    EXPECT_TRUE(strB > pszA && pszB > strA && strB > strA);
    EXPECT_TRUE(strA <= pszA && pszA <= strB && strA <= strB);
    EXPECT_TRUE(strB >= pszB && pszB >= strA && strB >= strA);
    EXPECT_FALSE(strA == pszB || pszB == strA || strA == strB);
    EXPECT_FALSE(strA > pszB || pszA > strB || strA > strB);
}

TEST(CStringTest, CompareOrdersByCodePoint)
{
    EXPECT_EQ(CString("abc").Compare("abd"), -1);
    EXPECT_EQ(CString("abd").Compare("abc"), 1);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_EQ(CString("ab").Compare("abc"), -1);
    EXPECT_EQ(CString("Z").Compare("a"), -1);
    // U+00E9 comes after every ASCII letter, U+4E2D after U+00E9.
    EXPECT_EQ(CString("\xC3\xA9").Compare("z"), 1);
    EXPECT_EQ(CString("\xE4\xB8\xAD").Compare("\xC3\xA9"), 1);
    EXPECT_EQ(CString("").Compare(nullptr), 0);
    EXPECT_EQ(CString("a").Compare(nullptr), 1);
    EXPECT_EQ(CString("b").Collate("a"), 1);
}

TEST(CStringTest, CompareNoCaseFoldsCharactersNotBytes)
{
    EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
    EXPECT_EQ(CString("\xC3\x84rger").CompareNoCase("\xC3\xA4RGER"), 0);                         // Ärger / äRGER
    EXPECT_EQ(CString("\xCE\xA3\xCE\x9F\xCE\xA6").CompareNoCase("\xCF\x83\xCE\xBF\xCF\x86"), 0); // ΣΟΦ / σοφ
    EXPECT_EQ(CString("\xD0\x9C\xD0\x98\xD0\xA0").CompareNoCase("\xD0\xBC\xD0\xB8\xD1\x80"), 0); // МИР / мир
    EXPECT_EQ(CString("apple").CompareNoCase("Banana"), -1);
    EXPECT_EQ(CString("Banana").CompareNoCase("apple"), 1);
    EXPECT_EQ(CString("abc").CompareNoCase("ABCD"), -1);
    EXPECT_EQ(CString("a").CompareNoCase(nullptr), 1);
    EXPECT_EQ(CString("\xC3\x89T\xC3\x89").CollateNoCase("\xC3\xA9t\xC3\xA9"), 0); // ÉTÉ / été
}

TEST(CStringTest, CompareNoCaseTakesMalformedBytesAsTheyAre)
{
    // A lead byte without its continuation is not a character: it neither
    // folds nor matches the character it would have started.
    EXPECT_EQ(CString("A\xC3").CompareNoCase("a\xC3"), 0);
    EXPECT_NE(CString("\xC3").CompareNoCase("\xC3\xA4"), 0);
    EXPECT_EQ(CString("\xFE").CompareNoCase("\xFF"), -1);
    EXPECT_EQ(CString("\xFF").CompareNoCase("z"), 1);
    EXPECT_EQ(CString("\xC0\x80").CompareNoCase("\xC0\x80"), 0);
}

TEST(CStringTest, CompareNoCaseIsAConsistentOrder)
{
    const std::vector<CString> texts { "", "a", "A", "ab", "aB", "b", "\xC3\xA9", "\xC3\x89", "\xC3\xA9t\xC3\xA9", "z",
        "\xFF", "\xC3", "\xE4\xB8\xAD", "\xCE\xA3", "\xCF\x83" };
    for (const CString& str1 : texts) {
        for (const CString& str2 : texts) {
            int nForward = str1.CompareNoCase(str2);
            EXPECT_EQ(nForward, -str2.CompareNoCase(str1)) << Bytes(str1) << " / " << Bytes(str2);
            EXPECT_EQ(nForward == 0, CString(str1).MakeLower() == CString(str2).MakeLower())
                << Bytes(str1) << " / " << Bytes(str2);
            for (const CString& str3 : texts) {
                if (nForward <= 0 && str2.CompareNoCase(str3) <= 0) {
                    EXPECT_LE(str1.CompareNoCase(str3), 0);
                }
            }
        }
    }
}

/*********************************** Extraction ***********************************/

TEST(CStringTest, MidLeftAndRightClampTheirCounts)
{
    CString str("abcdef");
    EXPECT_EQ(str.Mid(2), "cdef");
    EXPECT_EQ(str.Mid(2, 3), "cde");
    EXPECT_EQ(str.Mid(2, 100), "cdef");
    EXPECT_EQ(str.Mid(-5, 2), "ab");
    EXPECT_EQ(str.Mid(6), "");
    EXPECT_EQ(str.Mid(7, 1), "");
    EXPECT_EQ(str.Mid(1, -1), "");
    EXPECT_EQ(str.Mid(1, 0x7FFFFFFF), "bcdef");
    EXPECT_EQ(str.Mid(0x7FFFFFFF, 0x7FFFFFFF), "");
    EXPECT_EQ(str.Left(2), "ab");
    EXPECT_EQ(str.Left(-1), "");
    EXPECT_EQ(str.Left(100), "abcdef");
    EXPECT_EQ(str.Right(2), "ef");
    EXPECT_EQ(str.Right(-1), "");
    EXPECT_EQ(str.Right(100), "abcdef");
    EXPECT_EQ(CString().Right(1), "");
}

TEST(CStringTest, SpansMatchWholeCharacters)
{
    CString str("\xC3\xA9\xC3\xA8x"); // éèx
    // "é" and "è" share their first byte; only é is in the set.
    EXPECT_EQ(Bytes(str.SpanIncluding("\xC3\xA9")), "\xC3\xA9");
    EXPECT_EQ(Bytes(str.SpanExcluding("\xC3\xA8")), "\xC3\xA9");
    EXPECT_EQ(CString("123abc").SpanIncluding("0123456789"), "123");
    EXPECT_EQ(CString("name=value").SpanExcluding("=;"), "name");
    EXPECT_EQ(CString("abc").SpanExcluding("xyz"), "abc");
    EXPECT_EQ(CString("abc").SpanIncluding(nullptr), "");
    EXPECT_EQ(CString("abc").SpanExcluding(nullptr), "abc");
}

/*********************************** Changing the text ***********************************/

TEST(CStringTest, CaseMappingCoversUnicodeAndMayChangeTheLength)
{
    EXPECT_EQ(CString("Hello, World 1").MakeUpper(), "HELLO, WORLD 1");
    EXPECT_EQ(CString("Hello, World 1").MakeLower(), "hello, world 1");
    EXPECT_EQ(CString("\xC3\x89t\xC3\xA9 \xD0\x9C\xD0\xB8\xD1\x80").MakeUpper(),
        "\xC3\x89T\xC3\x89 \xD0\x9C\xD0\x98\xD0\xA0"); // Été Мир -> ÉTÉ МИР
    // U+0130 (2 bytes) lowers to "i" (1 byte); U+023A (2 bytes) to U+2C65 (3 bytes).
    EXPECT_EQ(CString("\xC4\xB0").MakeLower(), "i");
    EXPECT_EQ(Bytes(CString("\xC8\xBA").MakeLower()), "\xE2\xB1\xA5");
    // Malformed bytes, a surrogate and an overlong form stay as they are.
    CString strMalformed("a\xFF\xC3 \xED\xA0\x80\xC0\xC1Z");
    EXPECT_EQ(Bytes(CString(strMalformed).MakeLower()), "a\xFF\xC3 \xED\xA0\x80\xC0\xC1z");
    EXPECT_EQ(Bytes(CString(strMalformed).MakeUpper()), "A\xFF\xC3 \xED\xA0\x80\xC0\xC1Z");
}

TEST(CStringTest, MakeReverseKeepsCharactersIntact)
{
    EXPECT_EQ(CString("abc").MakeReverse(), "cba");
    EXPECT_EQ(Bytes(CString("a\xC3\xA9"
                            "b\xF0\x9F\x98\x80")
                        .MakeReverse()),
        "\xF0\x9F\x98\x80"
        "b\xC3\xA9"
        "a");
    EXPECT_EQ(Bytes(CString("\xC3x\xA9").MakeReverse()), "\xA9x\xC3");
    CString strMixed("x\xE4\xB8\xAD\xFF\xC3\xA9 \xC3");
    CString strTwice(strMixed);
    strTwice.MakeReverse().MakeReverse();
    EXPECT_EQ(Bytes(strTwice), Bytes(strMixed));
    EXPECT_EQ(CString().MakeReverse(), "");
}

TEST(CStringTest, ReplaceCountsNonOverlappingOccurrences)
{
    CString str("a,b,,c");
    EXPECT_EQ(str.Replace(',', ';'), 3);
    EXPECT_EQ(str, "a;b;;c");
    EXPECT_EQ(str.Replace('x', 'y'), 0);

    CString strRuns("aaaaa");
    EXPECT_EQ(strRuns.Replace("aa", "b"), 2);
    EXPECT_EQ(strRuns, "bba");

    CString strPath("C:\\docs\\file");
    EXPECT_EQ(strPath.Replace("\\", "\\\\"), 2);
    EXPECT_EQ(strPath, "C:\\\\docs\\\\file");

    CString strRemove("one two one");
    EXPECT_EQ(strRemove.Replace("one", nullptr), 2);
    EXPECT_EQ(strRemove, " two ");
    EXPECT_EQ(strRemove.Replace("", "x"), 0);
    EXPECT_EQ(strRemove.Replace(nullptr, "x"), 0);
    EXPECT_EQ(strRemove, " two ");
}

TEST(CStringTest, ReplaceAcceptsItsOwnText)
{
    CString str("ab");
    EXPECT_EQ(str.Replace("b", str), 1);
    EXPECT_EQ(str, "aab");
}

TEST(CStringTest, RemoveCountsRemovedBytes)
{
    CString str("a b  c ");
    EXPECT_EQ(str.Remove(' '), 4);
    EXPECT_EQ(str, "abc");
    EXPECT_EQ(str.Remove('x'), 0);
}

TEST(CStringTest, InsertClampsTheIndexAndReturnsTheLength)
{
    CString str("ace");
    EXPECT_EQ(str.Insert(1, 'b'), 4);
    EXPECT_EQ(str.Insert(3, "d"), 5);
    EXPECT_EQ(str, "abcde");
    EXPECT_EQ(str.Insert(-10, "<"), 6);
    EXPECT_EQ(str.Insert(100, '>'), 7);
    EXPECT_EQ(str, "<abcde>");
    EXPECT_EQ(str.Insert(1, nullptr), 7);
    EXPECT_EQ(str.Insert(1, str), 14);
    EXPECT_EQ(str, "<<abcde>abcde>");
}

TEST(CStringTest, DeleteClampsAndReturnsTheLength)
{
    CString str("abcdef");
    EXPECT_EQ(str.Delete(1), 5);
    EXPECT_EQ(str, "acdef");
    EXPECT_EQ(str.Delete(1, 2), 3);
    EXPECT_EQ(str, "aef");
    EXPECT_EQ(str.Delete(-5, 1), 2);
    EXPECT_EQ(str, "ef");
    EXPECT_EQ(str.Delete(1, 100), 1);
    EXPECT_EQ(str.Delete(5, 1), 1);
    EXPECT_EQ(str.Delete(0, -1), 1);
    EXPECT_EQ(str.Delete(0, 0x7FFFFFFF), 0);
}

TEST(CStringTest, FormatPassesCStringArgumentsAsText)
{
    CString str;
    CString strName("report");
    CDerivedString strExtension("odt");
    str.Format("%s.%s: %d bytes, %5.2f%%, %c %lu", strName, strExtension, 1234, 12.5, 'x', 7UL);
    EXPECT_EQ(str, "report.odt: 1234 bytes, 12.50%, x 7");
    str.Format("%s", "literal");
    EXPECT_EQ(str, "literal");
    str.Format("plain");
    EXPECT_EQ(str, "plain");
    str.Format("");
    EXPECT_TRUE(str.IsEmpty());
    str.Format(static_cast<LPCTSTR>(nullptr));
    EXPECT_TRUE(str.IsEmpty());
}

TEST(CStringTest, FormatMayReadItsOwnText)
{
    CString str("abc");
    str.Format("[%s|%s]", str, static_cast<LPCTSTR>(str) + 1);
    EXPECT_EQ(str, "[abc|bc]");
}

TEST(CStringTest, FormatProducesLongText)
{
    CString strPart('x', 5000);
    CString str;
    str.Format("%s-%s", strPart, strPart);
    EXPECT_EQ(str.GetLength(), 10001);
    EXPECT_EQ(str.Find('-'), 5000);
}

TEST(CStringTest, TrimRemovesWhiteSpaceOneByteOrACharacterSet)
{
    EXPECT_EQ(CString(" \t\r\n\v\fab c \n").Trim(), "ab c");
    EXPECT_EQ(CString("  ab  ").TrimLeft(), "ab  ");
    EXPECT_EQ(CString("  ab  ").TrimRight(), "  ab");
    EXPECT_EQ(CString("   ").Trim(), "");
    EXPECT_EQ(CString("xxabxx").Trim('x'), "ab");
    EXPECT_EQ(CString("xxabxx").TrimLeft('x'), "abxx");
    EXPECT_EQ(CString("xxabxx").TrimRight('x'), "xxab");
    EXPECT_EQ(CString("xxx").TrimRight('x'), "");
    EXPECT_EQ(CString("-+ab+-").Trim("+-"), "ab");
    EXPECT_EQ(CString("-+ab+-").TrimLeft("+-"), "ab+-");
    EXPECT_EQ(CString("-+ab+-").TrimRight("+-"), "-+ab");
    EXPECT_EQ(CString("ab").Trim(nullptr), "ab");
}

TEST(CStringTest, TrimWithASetMatchesWholeCharacters)
{
    // "é" ends in A9, "©" ends in A9 too; trimming © must not cut é.
    EXPECT_EQ(Bytes(CString("\xC3\xA9\xC2\xA9\xC2\xA9").TrimRight("\xC2\xA9")), "\xC3\xA9");
    EXPECT_EQ(Bytes(CString("\xC2\xA9\xC3\xA9").TrimLeft("\xC2\xA9")), "\xC3\xA9");
    EXPECT_EQ(Bytes(CString("\xE2\x80\x94x\xE2\x80\x94").Trim("\xE2\x80\x94")), "x");
}

/*********************************** Searching ***********************************/

TEST(CStringTest, FindHonoursTheStartAndItsBounds)
{
    CString str("abcabc");
    EXPECT_EQ(str.Find('b'), 1);
    EXPECT_EQ(str.Find('b', 2), 4);
    EXPECT_EQ(str.Find('z'), -1);
    EXPECT_EQ(str.Find('a', 6), -1);
    EXPECT_EQ(str.Find('a', -1), -1);
    EXPECT_EQ(str.Find("bc"), 1);
    EXPECT_EQ(str.Find("bc", 2), 4);
    EXPECT_EQ(str.Find("bc", 5), -1);
    EXPECT_EQ(str.Find("", 6), 6);
    EXPECT_EQ(str.Find("", 7), -1);
    EXPECT_EQ(str.Find("a", -1), -1);
    EXPECT_EQ(str.Find(static_cast<LPCTSTR>(nullptr)), -1);
    EXPECT_EQ(str.ReverseFind('a'), 3);
    EXPECT_EQ(str.ReverseFind('z'), -1);
    EXPECT_EQ(CString("C:\\dir\\file.txt").ReverseFind('\\'), 6);
}

TEST(CStringTest, FindOneOfMatchesWholeCharacters)
{
    EXPECT_EQ(CString("name=value;x").FindOneOf(";="), 4);
    EXPECT_EQ(CString("abc").FindOneOf("xyz"), -1);
    EXPECT_EQ(CString("abc").FindOneOf(nullptr), -1);
    // "é" shares its lead byte with "è"; only è at byte 2 matches.
    EXPECT_EQ(CString("\xC3\xA9\xC3\xA8").FindOneOf("\xC3\xA8"), 2);
}

/*********************************** Buffer access ***********************************/

TEST(CStringTest, ReleasedBuffersSetTheLength)
{
    CString str;
    std::memcpy(str.GetBuffer(MAX_PATH), "C:\\Users", 9);
    str.ReleaseBuffer(); // up to the NUL
    EXPECT_EQ(str, "C:\\Users");
    EXPECT_EQ(str.GetLength(), 8);

    str = "abcdef";
    LPTSTR pBuffer = str.GetBuffer(0);
    EXPECT_STREQ(pBuffer, "abcdef");
    pBuffer[0] = 'A';
    str.ReleaseBuffer(3); // that many
    EXPECT_EQ(str, "Abc");
    str.GetBuffer(2);
    str.ReleaseBuffer(100); // more than there is: up to the NUL
    EXPECT_EQ(str, "Abc");

    pBuffer = str.GetBufferSetLength(5);
    pBuffer[3] = 'd';
    pBuffer[4] = 'e';
    EXPECT_EQ(str.GetLength(), 5);
    str.ReleaseBuffer(5);
    EXPECT_EQ(str, "Abcde");
    str.GetBufferSetLength(-1);
    EXPECT_TRUE(str.IsEmpty());

    str = "abc";
    str.LockBuffer()[1] = 'X';
    str.UnlockBuffer();
    EXPECT_EQ(str, "aXc");
}
