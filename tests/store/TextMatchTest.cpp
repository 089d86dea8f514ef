#include "store/TextMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextMatchTest, FileMasksMatchBaseAndExtensionSeparately)
{
    EXPECT_TRUE(MatchFileMask("~$report.docx", "~*.*"));
    EXPECT_TRUE(MatchFileMask("~tmp", "~*.*"));
    EXPECT_FALSE(MatchFileMask("report~.docx", "~*.*"));
    EXPECT_TRUE(MatchFileMask("scratch.tmp", "*.tmp"));
    EXPECT_TRUE(MatchFileMask("a.b.tmp", "*.tmp"));
    EXPECT_FALSE(MatchFileMask("scratch.tmp.bak", "*.tmp"));
    EXPECT_FALSE(MatchFileMask("scratch.tmpx", "*.tmp"));
    EXPECT_FALSE(MatchFileMask("tmp", "*.tmp"));
    // The base part of the mask stops at the mask's own last dot.
    EXPECT_TRUE(MatchFileMask("data1.csv", "data?.csv"));
    EXPECT_FALSE(MatchFileMask("data12.csv", "data?.csv"));
    EXPECT_FALSE(MatchFileMask("report.doc", "*"));
    EXPECT_TRUE(MatchFileMask("Makefile", "*"));
}

TEST(TextMatchTest, FileMasksIgnoreCase)
{
    EXPECT_TRUE(MatchFileMask("Scratch.TMP", "*.tmp"));
    EXPECT_TRUE(MatchFileMask("~WRL0001.TMP", "~*.*"));
    EXPECT_TRUE(MatchFileMask("scratch.tmp", "*.TMP"));
    EXPECT_TRUE(MatchFileMask("ÉTÉ.txt", "été.*"));
}

TEST(TextMatchTest, WildcardsOnWholeTexts)
{
    EXPECT_TRUE(MatchTextNoCase("Annual Report 2024", "*report*"));
    EXPECT_TRUE(MatchTextNoCase("abc", "a?c"));
    EXPECT_TRUE(MatchTextNoCase("aéc", "a?c")); // "?" takes a whole character
    EXPECT_FALSE(MatchTextNoCase("abbc", "a?c"));
    EXPECT_TRUE(MatchTextNoCase("", "*"));
    EXPECT_TRUE(MatchTextNoCase("", ""));
    EXPECT_FALSE(MatchTextNoCase("x", ""));
    EXPECT_FALSE(MatchTextNoCase("", "?"));
    EXPECT_TRUE(MatchTextNoCase("mississippi", "*sis*ip?i"));
    EXPECT_FALSE(MatchTextNoCase("mississippi", "*sis*ipx*"));
    EXPECT_TRUE(MatchTextNoCase(nullptr, nullptr));
}

TEST(TextMatchTest, ManyStarsDoNotTakeLong)
{
    std::string strText(4000, 'a');
    std::string strMask;
    for (int i = 0; i < 200; ++i)
        strMask += "*a";
    EXPECT_FALSE(MatchTextNoCase(strText.c_str(), (strMask + "b").c_str()));
    EXPECT_TRUE(MatchTextNoCase(strText.c_str(), strMask.c_str()));
}

TEST(TextMatchTest, CompareNoCaseGivesTheSignOnly)
{
    EXPECT_EQ(CompareNoCase("Report", "rEPORT"), 0);
    EXPECT_EQ(CompareNoCase("apple", "Banana"), -1);
    EXPECT_EQ(CompareNoCase("Zebra", "apple"), 1);
    EXPECT_EQ(CompareNoCase("abc", "abcd"), -1);
    EXPECT_EQ(CompareNoCase("ÁRVORE", "árvore"), 0);
    EXPECT_EQ(CompareNoCase("", ""), 0);
}

} // namespace

TEST(TextMatchTest, SplitMasksMatchAsTheMasksDo)
{
    const char* const names[]
        = { "~lock.TXT", "report.tmp", "Report.TMP.bak", "noext", ".hidden", "café.Ö", "a.b.c", "", "x.", "ÉTÉ.doc" };
    const char* const masks[] = { "~*.*", "*.tmp", "*", "*.", "????.*", "*é.ö", "a.*.c", "x.", "*.*", "été.DOC" };
    for (const char* pszName : names) {
        const CSplitFileName name = SplitLowerFileName(pszName);
        for (const char* pszMask : masks)
            EXPECT_EQ(MatchSplitFileMask(name, SplitLowerFileName(pszMask)), MatchFileMask(pszName, pszMask) != FALSE)
                << pszName << " / " << pszMask;
    }
}
