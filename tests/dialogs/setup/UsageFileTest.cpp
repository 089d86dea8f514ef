#include "dialogs/setup/UsageFile.h"

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const std::vector<CString>& strings)
{
    return { strings.begin(), strings.end() };
}

CUsageProfiles Parse(const std::string& text)
{
    CUsageProfiles profiles;
    ParseUsageText(text, profiles);
    return profiles;
}

using Lines = std::vector<std::string>;

TEST(UsageFileTest, HeadLinesEndAtTheFirstLevelOneLineAndEntriesTakeTheirLevelThreeLines)
{
    const CUsageProfiles profiles = Parse("0 comment\n0 Letters\n2 Projects\n1 -\n2 Home\n3 Bank\n3-Health\n3 \n"
                                          "2 Empty\n0 Zero-level name\n3 x\n");
    EXPECT_EQ(Texts(profiles.heads), (Lines { "Letters", "Projects" }));
    ASSERT_EQ(profiles.entries.size(), 3u);
    EXPECT_EQ(Texts(profiles.entries.at("Home")), (Lines { "Bank", "Health", "" }));
    EXPECT_TRUE(profiles.entries.at("Empty").empty());
    EXPECT_EQ(Texts(profiles.entries.at("Zero-level name")), Lines { "x" });
}

TEST(UsageFileTest, ShapesWithoutHeadsOrEntries)
{
    // Level 1 on line 2: no head lines; the next line names the first entry whatever its level.
    CUsageProfiles profiles = Parse("0 c\n1\n3 Odd\n3 a\n");
    EXPECT_TRUE(profiles.heads.empty());
    EXPECT_EQ(Texts(profiles.entries.at("Odd")), Lines { "a" });

    // No level-1 line: everything after line 1 is a head line, and no entry.
    profiles = Parse("0 c\n2 a\n3 b\nx\n");
    EXPECT_EQ(Texts(profiles.heads), (Lines { "a", "b", "" }));
    EXPECT_TRUE(profiles.entries.empty());

    profiles = Parse("");
    EXPECT_TRUE(profiles.heads.empty() && profiles.entries.empty());
    profiles = Parse("0 c\n0 h\n1 -\n");
    EXPECT_EQ(Texts(profiles.heads), Lines { "h" });
    EXPECT_TRUE(profiles.entries.empty());
}

TEST(UsageFileTest, LineEndsOfEitherKindAndAMissingLastOneGiveTheSameProfiles)
{
    const CUsageProfiles unix = Parse("0 c\n0 h\n1 -\n2 Home\n3 Bank\n");
    const CUsageProfiles dos = Parse("0 c\r\n0 h\r\n1 -\r\n2 Home\r\n3 Bank");
    EXPECT_EQ(Texts(dos.heads), Texts(unix.heads));
    EXPECT_EQ(Texts(dos.entries.at("Home")), Texts(unix.entries.at("Home")));
}

TEST(UsageFileTest, ALaterEntryOfTheSameNameReplacesTheEarlier)
{
    const CUsageProfiles profiles = Parse("0 c\n1\n2 Home\n3 a\n3 b\n2 Work\n2 Home\n3 c\n");
    EXPECT_EQ(Texts(profiles.entries.at("Home")), Lines { "c" });
    EXPECT_EQ(profiles.entries.size(), 2u);
}

TEST(UsageFileTest, BoundsKeepWhatWasReadBeforeThem)
{
    std::string text = "0 c\n1\n";
    for (std::size_t i = 0; i < CUsageProfiles::MAX_ENTRIES + 5; ++i)
        text += "2 e" + std::to_string(i) + "\n";
    text += "2 big\n";
    for (std::size_t i = 0; i < CUsageProfiles::MAX_ITEMS + 5; ++i)
        text += "3 i\n";
    CUsageProfiles profiles = Parse(text);
    EXPECT_EQ(profiles.entries.size(), CUsageProfiles::MAX_ENTRIES);
    EXPECT_FALSE(profiles.entries.contains("big"));

    profiles = Parse("0 c\n1\n2 big\n" + text.substr(text.find("3 i\n")));
    EXPECT_EQ(profiles.entries.at("big").size(), CUsageProfiles::MAX_ITEMS);

    // A long line is cut at a character boundary: "é" is two bytes.
    std::string strLong;
    while (strLong.size() < CUsageProfiles::MAX_LINE_BYTES + 10)
        strLong += "\xC3\xA9";
    profiles = Parse("0 c\n0 x" + strLong + "\n");
    ASSERT_EQ(profiles.heads.size(), 1u);
    const std::string strHead(profiles.heads[0]);
    EXPECT_LE(strHead.size(), CUsageProfiles::MAX_LINE_BYTES - 2);
    EXPECT_EQ(strHead.back(), '\xA9');

    // A file past the bound is read to the last line end before it.
    std::string strHuge = "0 c\n";
    while (strHuge.size() < CUsageProfiles::MAX_FILE_BYTES + 100)
        strHuge += "0 head\n";
    profiles = Parse(strHuge);
    EXPECT_EQ(profiles.heads.size(), (CUsageProfiles::MAX_FILE_BYTES - 4) / 7);
}

class UsageFileLookupTest : public ProgramFolderTest { };

TEST_F(UsageFileLookupTest, TheProgramFoldersFileComesFirstElseTheInstalledOne)
{
    CUsageProfiles profiles;
    {
        const ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", Home().string());
        EXPECT_FALSE(LoadUsageFile(profiles)) << "none beside the test, none in the folder given";
    }
    const ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").string());
    ASSERT_TRUE(LoadUsageFile(profiles));
    EXPECT_GE(profiles.heads.size(), 4u);
    EXPECT_GE(profiles.entries.size(), 6u);
    for (const auto& [strName, items] : profiles.entries)
        EXPECT_FALSE(items.empty()) << std::string(strName);
    EXPECT_TRUE(profiles.entries.contains(CUsageProfiles::GENERAL_ENTRY));

    std::ofstream(Home() / "Usage.txt") << "0 mine\n0 Own\n";
    ASSERT_TRUE(LoadUsageFile(profiles));
    EXPECT_EQ(Texts(profiles.heads), Lines { "Own" });
    EXPECT_TRUE(profiles.entries.empty());
}

} // namespace
