#include "platform/base/CStdioFile.h"

#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CStdioFileTest : public ::testing::Test {
protected:
    std::string PathWith(const std::string& strContents)
    {
        return ProgramPathOf(m_folder.WriteFile("text.txt", strContents));
    }

    std::vector<std::string> Lines(const std::string& strContents)
    {
        CStdioFile file(PathWith(strContents).c_str(), CFile::modeRead | CFile::typeText);
        std::vector<std::string> lines;
        CString strLine;
        while (file.ReadString(strLine))
            lines.emplace_back(strLine);
        return lines;
    }

    TempFolder m_folder;
};

using Strings = std::vector<std::string>;

}

TEST_F(CStdioFileTest, ReadsLinesEndingInNewlineOrCarriageReturnNewline)
{
    EXPECT_EQ(Lines("one\ntwo\r\nthree"), (Strings { "one", "two", "three" }));
    EXPECT_EQ(Lines("a\r\n\r\n\nb\n"), (Strings { "a", "", "", "b" }));
    EXPECT_EQ(Lines("lone\rcarriage\r"), (Strings { "lone\rcarriage\r" }));
    EXPECT_EQ(Lines(""), Strings {});
    // Lines longer than the read-ahead, and a "\r\n" split across its boundary.
    std::string strLong(4095, 'x');
    EXPECT_EQ(Lines(strLong + "\r\n" + "tail"), (Strings { strLong, "tail" }));
}

TEST_F(CStdioFileTest, BufferFormKeepsTheNewlineAndNeverSplitsACharacter)
{
    CStdioFile file(PathWith("ab\r\nçé\nend").c_str(), CFile::modeRead);
    char buffer[5];
    ASSERT_NE(file.ReadString(buffer, sizeof(buffer)), nullptr);
    EXPECT_STREQ(buffer, "ab\n");
    // "çé\n" is five bytes: four fit, but the second character only whole, so it waits.
    ASSERT_NE(file.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, "ç");
    ASSERT_NE(file.ReadString(buffer, sizeof(buffer)), nullptr);
    EXPECT_STREQ(buffer, "é\n");
    ASSERT_NE(file.ReadString(buffer, sizeof(buffer)), nullptr);
    EXPECT_STREQ(buffer, "end");
    EXPECT_EQ(file.ReadString(buffer, sizeof(buffer)), nullptr);
    EXPECT_EQ(file.ReadString(nullptr, 4), nullptr);
}

TEST_F(CStdioFileTest, PositionAndRawReadsFollowTheLinesRead)
{
    CStdioFile file(PathWith("first\nsecond\nthird\n").c_str(), CFile::modeReadWrite);
    CString strLine;
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(file.GetPosition(), 6u);
    char buffer[7] {};
    EXPECT_EQ(file.Read(buffer, 6), 6u);
    EXPECT_STREQ(buffer, "second");
    ASSERT_TRUE(file.ReadString(strLine)); // the rest of "second"'s line
    EXPECT_STREQ(strLine, "");
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_STREQ(strLine, "third");

    // Writing after reading lands where reading stopped.
    file.Seek(0, CFile::begin);
    ASSERT_TRUE(file.ReadString(strLine));
    file.WriteString("SECOND\n");
    file.Close();
    EXPECT_EQ(HostFileContents(m_folder / "text.txt"), "first\nSECOND\nthird\n");
}

TEST_F(CStdioFileTest, WriteStringWritesTextAsGiven)
{
    std::string strPath = ProgramPathOf(m_folder / "out.txt");
    {
        CStdioFile file(strPath.c_str(), CFile::modeWrite | CFile::modeCreate | CFile::typeText);
        file.WriteString("line one\n");
        file.WriteString("zwei\r\n");
        file.WriteString("");
    }
    EXPECT_EQ(HostFileContents(m_folder / "out.txt"), "line one\nzwei\r\n");
}
