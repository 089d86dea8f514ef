#include "platform/base/ShortNames.h"

#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace {

class ShortNamesTest : public DriveFolderTest { };

std::string ShortOf(const std::vector<std::string>& names, const std::string& strName)
{
    return ShortNameInFolder(names, strName);
}

}

TEST(ShortNameRulesTest, RecognisesValidShortNames)
{
    for (const char* pszName : { "README.TXT", "readme.txt", "A", "12345678.123", "X~1.Y", "a-b_c.{}" })
        EXPECT_TRUE(IsShortName(pszName)) << pszName;
    for (const char* pszName : { "123456789", "a.html", "a.b.c", ".bashrc", "a b.txt", "a+b", "a.", "", "é.txt" })
        EXPECT_FALSE(IsShortName(pszName)) << pszName;
}

TEST(ShortNameRulesTest, BuildsNamesFromTheLongName)
{
    std::vector<std::string> names
        = { "Annual report.html", ".bashrc", "a+b=c;d.txt", "Bücher.text", "archive.tar.gz", "......", "x.y z" };
    EXPECT_EQ(ShortOf(names, "Annual report.html"), "ANNUAL~1.HTM");
    EXPECT_EQ(ShortOf(names, ".bashrc"), "BASHRC~1");
    EXPECT_EQ(ShortOf(names, "a+b=c;d.txt"), "A_B_C_~1.TXT");
    EXPECT_EQ(ShortOf(names, "Bücher.text"), "B_CHER~1.TEX");
    EXPECT_EQ(ShortOf(names, "archive.tar.gz"), "ARCHIV~1.GZ");
    EXPECT_EQ(ShortOf(names, "......"), "_~1");
    EXPECT_EQ(ShortOf(names, "x.y z"), "X~1.YZ");
    EXPECT_EQ(ShortOf(names, "readme.txt"), "readme.txt");
}

TEST(ShortNameRulesTest, NumbersSkipNamesTakenInTheFolder)
{
    std::vector<std::string> names = { "Document two.txt", "Document one.txt", "DOCUME~1.TXT" };
    std::map<std::string, std::string> shortNames = ShortNamesForFolder(names);
    // Byte order: "Document one" before "Document two"; ~1 is a real file.
    EXPECT_EQ(shortNames["Document one.txt"], "DOCUME~2.TXT");
    EXPECT_EQ(shortNames["Document two.txt"], "DOCUME~3.TXT");
    EXPECT_EQ(shortNames.count("DOCUME~1.TXT"), 0u);
}

TEST(ShortNameRulesTest, ManySimilarNamesStayUniqueAndShrinkTheStem)
{
    std::vector<std::string> names;
    for (int i = 0; i < 120; ++i)
        names.push_back("Photograph " + std::to_string(i) + ".jpeg");
    std::map<std::string, std::string> shortNames = ShortNamesForFolder(names);
    std::set<std::string> distinct;
    for (const auto& [strLong, strShort] : shortNames) {
        EXPECT_TRUE(IsShortName(strShort)) << strShort;
        distinct.insert(strShort);
    }
    EXPECT_EQ(distinct.size(), names.size());
    EXPECT_TRUE(distinct.contains("PHOTOG~9.JPE"));
    EXPECT_TRUE(distinct.contains("PHOTO~10.JPE"));
    EXPECT_TRUE(distinct.contains("PHOT~100.JPE"));
}

TEST(ShortNameRulesTest, NumberingDependsOnlyOnTheFolderContent)
{
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back("Long name " + std::to_string(i * 7 % 30) + ".document");
    names.push_back("LONGNA~3.DOC");
    std::map<std::string, std::string> first = ShortNamesForFolder(names);
    std::mt19937 random(42);
    for (int nRound = 0; nRound < 5; ++nRound) {
        std::shuffle(names.begin(), names.end(), random);
        EXPECT_EQ(ShortNamesForFolder(names), first);
    }
}

TEST_F(ShortNamesTest, ShortPathsRoundTrip)
{
    Write("My Documents/Annual Report 2024.html");
    Write("My Documents/Annual Report 2023.html");
    Write("My Documents/plain.txt");
    char szShort[MAX_PATH];
    std::string strLong = OnT("My Documents\\Annual Report 2024.html");
    ASSERT_NE(GetShortPathName(strLong.c_str(), szShort, MAX_PATH), 0u);
    EXPECT_STREQ(szShort, "T:\\MYDOCU~1\\ANNUAL~2.HTM");

    char szLong[MAX_PATH];
    ASSERT_NE(GetLongPathName(szShort, szLong, MAX_PATH), 0u);
    EXPECT_EQ(std::string(szLong), strLong);
    // The short path reaches the file on the host too.
    std::string strHost;
    ASSERT_TRUE(HostPathFromProgramPath(szShort, strHost));
    EXPECT_EQ(strHost, (Folder() / "My Documents" / "Annual Report 2024.html").string());
    // Case of short names does not matter; 8.3 names stay as they are.
    ASSERT_NE(GetLongPathName(OnT("mydocu~1\\annual~1.htm").c_str(), szLong, MAX_PATH), 0u);
    EXPECT_EQ(std::string(szLong), OnT("My Documents\\Annual Report 2023.html"));
    ASSERT_NE(GetShortPathName(OnT("my documents\\PLAIN.TXT").c_str(), szShort, MAX_PATH), 0u);
    EXPECT_STREQ(szShort, "T:\\MYDOCU~1\\plain.txt");
}

TEST_F(ShortNamesTest, ConversionsNeedAnExistingPathAndABigEnoughBuffer)
{
    Write("Some Folder/file name.txt");
    SetLastError(ERROR_SUCCESS);
    char szBuffer[MAX_PATH] = "";
    EXPECT_EQ(GetShortPathName(OnT("Some Folder\\missing.txt").c_str(), szBuffer, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLongPathName(OnT("NOFOLD~1\\x.txt").c_str(), szBuffer, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    std::string strPath = OnT("Some Folder\\file name.txt");
    DWORD dwNeeded = GetShortPathName(strPath.c_str(), szBuffer, 5);
    EXPECT_EQ(dwNeeded, std::string("T:\\SOMEFO~1\\FILENA~1.TXT").size() + 1);
    // The same buffer may hold the input and the result.
    std::strcpy(szBuffer, strPath.c_str());
    EXPECT_EQ(GetShortPathName(szBuffer, szBuffer, MAX_PATH), dwNeeded - 1);
    EXPECT_STREQ(szBuffer, "T:\\SOMEFO~1\\FILENA~1.TXT");
}
