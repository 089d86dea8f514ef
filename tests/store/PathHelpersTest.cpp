#include "store/PathHelpers.h"

#include "tests/store/StringModuleFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::pair<std::string, std::string> Split(LPCTSTR pszPath)
{
    CString strFolder;
    CString strName;
    SplitPath(pszPath, strFolder, strName);
    return { std::string(strFolder), std::string(strName) };
}

std::pair<std::string, std::string> SplitName(LPCTSTR pszName)
{
    CString strBase;
    CString strExtension;
    SplitFileName(pszName, strBase, strExtension);
    return { std::string(strBase), std::string(strExtension) };
}

TEST(PathHelpersTest, SplitPathKeepsTheFolderBackslash)
{
    EXPECT_EQ(Split("C:\\docs\\report.doc"), std::make_pair(std::string("C:\\docs\\"), std::string("report.doc")));
    EXPECT_EQ(Split("C:\\docs\\"), std::make_pair(std::string("C:\\docs\\"), std::string()));
    EXPECT_EQ(Split("\\\\srv\\share\\a.txt"), std::make_pair(std::string("\\\\srv\\share\\"), std::string("a.txt")));
    EXPECT_EQ(Split("report.doc"), std::make_pair(std::string(), std::string("report.doc")));
    EXPECT_EQ(Split(nullptr), std::make_pair(std::string(), std::string()));
}

TEST(PathHelpersTest, SplitFileNameAtTheLastDot)
{
    EXPECT_EQ(SplitName("report.doc"), std::make_pair(std::string("report"), std::string("doc")));
    EXPECT_EQ(SplitName("archive.tar.gz"), std::make_pair(std::string("archive.tar"), std::string("gz")));
    EXPECT_EQ(SplitName("README"), std::make_pair(std::string("README"), std::string()));
    EXPECT_EQ(SplitName("name."), std::make_pair(std::string("name"), std::string()));
    EXPECT_EQ(SplitName(".profile"), std::make_pair(std::string(), std::string("profile")));
}

TEST(PathHelpersTest, PathRootOfDrivesAndShares)
{
    EXPECT_EQ(std::string(GetPathRoot("C:\\docs\\a.txt")), "C:\\");
    EXPECT_EQ(std::string(GetPathRoot("d:")), "d:\\");
    EXPECT_EQ(std::string(GetPathRoot("*C:\\docs\\")), "C:\\");
    EXPECT_EQ(std::string(GetPathRoot("\\\\Server\\Share\\x\\y")), "\\\\Server\\Share\\");
    EXPECT_EQ(std::string(GetPathRoot("\\\\Server\\Share")), "\\\\Server\\Share\\");
    EXPECT_EQ(std::string(GetPathRoot("*\\\\Server\\Share\\x")), "\\\\Server\\Share\\");
    // Texts with no root.
    for (LPCTSTR pszPath : { "", "docs\\a.txt", "\\docs", "\\\\Server", "\\\\Server\\", "\\\\\\share", "1:\\x" })
        EXPECT_EQ(std::string(GetPathRoot(pszPath)), "") << pszPath;
}

TEST(PathHelpersTest, AddBackslashOnlyWhenMissing)
{
    EXPECT_EQ(std::string(AddBackslash("C:\\docs")), "C:\\docs\\");
    EXPECT_EQ(std::string(AddBackslash("C:\\docs\\")), "C:\\docs\\");
    EXPECT_EQ(std::string(AddBackslash("")), "\\");
}

TEST(PathHelpersTest, PathSyntax)
{
    for (LPCTSTR pszPath : { "C:\\", "c:\\docs\\report.doc", "C:\\docs\\", "\\docs\\a b.txt", "\\\\srv\\share\\x" })
        EXPECT_EQ(CheckPathSyntax(pszPath), PATH_SYNTAX_VALID) << pszPath;
    for (LPCTSTR pszPath : { "", "docs\\a.txt", "C:docs", "C:", "1:\\x", "/home/ana" })
        EXPECT_EQ(CheckPathSyntax(pszPath), PATH_SYNTAX_BAD_START) << pszPath;
    for (LPCTSTR pszPath : { "C:\\a\\\\b", "C:\\a|b\\c", "C:\\docs\\a:b", "\\..\\x", "C:\\a\\b/c", "\\\\srv" })
        EXPECT_EQ(CheckPathSyntax(pszPath), PATH_SYNTAX_BAD_COMPONENT) << pszPath;
}

TEST(PathHelpersTest, ValidFileNamesRejectTheElevenCharacters)
{
    for (char ch : std::string("\"\\/:|<>+=;,")) {
        std::string strName = std::string("a") + ch + "b.txt";
        EXPECT_FALSE(IsValidFileName(strName.c_str())) << strName;
    }
    EXPECT_TRUE(IsValidFileName("report 2024 (final)!.doc"));
    EXPECT_TRUE(IsValidFileName("wild*card?.txt"));
    EXPECT_TRUE(IsValidFileName("relatório.odt"));
    EXPECT_FALSE(IsValidFileName(""));
    EXPECT_FALSE(IsValidFileName(nullptr));
    EXPECT_FALSE(IsValidFileName(".hidden"));
    EXPECT_FALSE(IsValidFileName("bell\a.txt"));
    EXPECT_FALSE(IsValidFileName("del\x7F.txt"));
}

TEST(PathHelpersTest, ValidFileNamesAllowTwoHundredFiftySixCharactersEachSide)
{
    std::string strPart(256, 'x');
    EXPECT_TRUE(IsValidFileName((strPart + "." + strPart).c_str()));
    EXPECT_FALSE(IsValidFileName((strPart + "x." + strPart).c_str()));
    EXPECT_FALSE(IsValidFileName((strPart + "." + strPart + "x").c_str()));
    // Lengths count characters, not bytes.
    std::string strWide;
    for (int i = 0; i < 256; ++i)
        strWide += "é";
    EXPECT_TRUE(IsValidFileName((strWide + ".txt").c_str()));
}

TEST(PathHelpersTest, RemoveInvalidFileCharsRemovesTheNine)
{
    EXPECT_EQ(std::string(RemoveInvalidFileChars("a\"b\\c/d:e|f<g>h*i?j")), "abcdefghij");
    EXPECT_EQ(std::string(RemoveInvalidFileChars("Re: plan + budget; v1,2 = ok")), "Re plan + budget; v1,2 = ok");
    EXPECT_EQ(std::string(RemoveInvalidFileChars("?*")), "");
}

class PathHelpersModuleTest : public StringModuleTest { };

TEST_F(PathHelpersModuleTest, ServerComponentIsTheRecycleFolderName)
{
    LoadStrings({ { 4363, "Recycled" } });
    EXPECT_TRUE(MatchServerComponent("C:\\RECYCLED\\x.doc"));
    EXPECT_TRUE(MatchServerComponent("d:\\recycled"));
    EXPECT_TRUE(MatchServerComponent("\\\\recycled\\share\\x"));
    EXPECT_FALSE(MatchServerComponent("C:\\docs\\recycled\\x.doc"));
    EXPECT_FALSE(MatchServerComponent("C:\\recycled2\\x.doc"));
    EXPECT_FALSE(MatchServerComponent("\\\\server\\recycled"));
    EXPECT_FALSE(MatchServerComponent("recycled\\x"));
    EXPECT_FALSE(MatchServerComponent("C:\\"));
}

TEST_F(PathHelpersModuleTest, NoServerComponentMatchesWithoutTheString)
{
    LoadStrings({ { 4000, "Other" } });
    EXPECT_FALSE(MatchServerComponent("C:\\x"));
    EXPECT_FALSE(MatchServerComponent("C:\\\\x"));
}

} // namespace
