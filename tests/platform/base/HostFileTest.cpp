#include "platform/base/HostFile.h"

#include "platform/base/CString.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace {

namespace fs = std::filesystem;

class HostFileTest : public ::testing::Test {
protected:
    fs::path Host(const char* pszName) const { return m_folder.Path() / pszName; }
    std::string Program(const char* pszName) const { return ProgramPathOf(Host(pszName)); }
    void Write(const char* pszName, const std::string& strText) const
    {
        std::ofstream(Host(pszName), std::ios::binary) << strText;
    }

    TempFolder m_folder;
};

std::span<const BYTE> Bytes(const std::string& strText)
{
    return { reinterpret_cast<const BYTE*>(strText.data()), strText.size() };
}

}

TEST_F(HostFileTest, ExclusiveAndUniqueCreationNeverTakeAnExistingFile)
{
    Write("taken", "keep");
    CHostFile file;
    EXPECT_FALSE(file.Open(Program("taken").c_str(), CHostFile::Access::ReadWrite, CHostFile::Creation::CreateNew));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(HostFileContents(Host("taken")), "keep");

    CString strFirst, strSecond;
    CHostFile first, second;
    ASSERT_TRUE(first.CreateUnique(Program("taken").c_str(), ".tmp-", strFirst));
    ASSERT_TRUE(second.CreateUnique(Program("taken").c_str(), ".tmp-", strSecond));
    EXPECT_NE(strFirst, strSecond);
    EXPECT_EQ(std::string(strFirst).rfind(Program("taken.tmp-"), 0), 0U) << strFirst;
}

TEST_F(HostFileTest, ReadsPastTheEndAndFoldersFailAsTheirCallersExpect)
{
    CHostFile file;
    ASSERT_TRUE(file.Open(Program("f").c_str(), CHostFile::Access::ReadWrite, CHostFile::Creation::CreateAlways));
    ASSERT_TRUE(file.WriteAt(4, Bytes("ab")));
    EXPECT_EQ(file.GetLength(), 6);
    BYTE buffer[8] {};
    EXPECT_EQ(file.ReadAt(0, buffer), 6);
    EXPECT_FALSE(file.ReadExactAt(2, buffer));
    EXPECT_EQ(GetLastError(), ERROR_HANDLE_EOF);

    CHostFile missing, folder;
    EXPECT_FALSE(missing.Open(Program("none").c_str(), CHostFile::Access::Read));
    EXPECT_TRUE(IsMissingFileError(GetLastError()));
    fs::create_directory(Host("dir"));
    EXPECT_FALSE(folder.Open(Program("dir").c_str(), CHostFile::Access::Read));
    EXPECT_FALSE(IsMissingFileError(GetLastError()));
}

TEST_F(HostFileTest, DurableReplacementKeepsTheTargetsPermissionsOrLeavesBothFiles)
{
    Write("target", "old");
    fs::permissions(Host("target"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Write("new", "new");
    ASSERT_TRUE(ReplaceFileDurably(Program("new").c_str(), Program("target").c_str()));
    EXPECT_EQ(HostFileContents(Host("target")), "new");
    EXPECT_FALSE(fs::exists(Host("new")));
    EXPECT_EQ(fs::status(Host("target")).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A target whose folder is gone: nothing moves.
    Write("next", "next");
    EXPECT_FALSE(ReplaceFileDurably(Program("next").c_str(), Program("gone\\target").c_str()));
    EXPECT_EQ(HostFileContents(Host("next")), "next");
    EXPECT_EQ(HostFileContents(Host("target")), "new");
}

TEST_F(HostFileTest, StatusTellsAnUnmappablePathFromAMissingFile)
{
    HostFileStatus status;
    EXPECT_FALSE(GetHostFileStatus("\\\\", status));
    ASSERT_TRUE(GetHostFileStatus(Program("none").c_str(), status));
    EXPECT_FALSE(status.bExists);
    Write("five", "12345");
    ASSERT_TRUE(GetHostFileStatus(Program("five").c_str(), status));
    EXPECT_TRUE(status.bExists);
    EXPECT_EQ(status.nSize, 5);
}
