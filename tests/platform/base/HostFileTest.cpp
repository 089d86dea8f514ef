#include "platform/base/HostFile.h"

#include "platform/base/CString.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

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

    EXPECT_EQ(file.GetLengthAtOpen(), 0);
    file.Close();
    EXPECT_EQ(file.GetLengthAtOpen(), -1);
    ASSERT_TRUE(file.Open(Program("f").c_str(), CHostFile::Access::Read));
    EXPECT_EQ(file.GetLengthAtOpen(), 6);
    EXPECT_EQ(file.ReadAt(0, buffer), 6);

    CHostFile missing, folder;
    EXPECT_FALSE(missing.Open(Program("none").c_str(), CHostFile::Access::Read));
    EXPECT_TRUE(IsMissingFileError(GetLastError()));
    fs::create_directory(Host("dir"));
    EXPECT_FALSE(folder.Open(Program("dir").c_str(), CHostFile::Access::Read));
    EXPECT_FALSE(IsMissingFileError(GetLastError()));
}

TEST_F(HostFileTest, SpecialFilesAreRefusedWithoutWaitingForAPeer)
{
    const std::vector<std::string> names = MakeSpecialFiles(m_folder.Path());
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        const std::string strPath = Program(strName.c_str());
        for (const auto eAccess : { CHostFile::Access::Read, CHostFile::Access::ReadWrite }) {
            const int nResult = RunInChildWithin(10, [&] {
                CHostFile file;
                return !file.Open(strPath.c_str(), eAccess) && GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1;
            });
            EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the open waiting" : "");
        }
    }
}

TEST_F(HostFileTest, LinksThatLeadNowhereAreNeitherFilesNorMissing)
{
    Write("target", "x");
    fs::create_symlink(Host("target"), Host("link"));
    fs::create_symlink(Host("gone"), Host("dangling"));
    fs::create_symlink(Host("loop-b"), Host("loop-a"));
    fs::create_symlink(Host("loop-a"), Host("loop-b"));
    HostFileStatus status;
    for (const char* pszName : { "dangling", "loop-a" }) {
        ASSERT_TRUE(GetHostFileStatus(Program(pszName).c_str(), status)) << pszName;
        EXPECT_FALSE(status.bExists) << pszName;
        EXPECT_TRUE(status.bUnreadable) << pszName;
        EXPECT_EQ(GetLastError(), ERROR_CANT_RESOLVE_FILENAME) << pszName;
        CString strFinal;
        EXPECT_FALSE(ResolveFileLink(Program(pszName).c_str(), strFinal)) << pszName;
    }
    for (const char* pszName : { "missing", "missing/below", "target/below" }) {
        ASSERT_TRUE(GetHostFileStatus(Program(pszName).c_str(), status)) << pszName;
        EXPECT_FALSE(status.bExists || status.bUnreadable) << pszName;
    }
    ASSERT_TRUE(GetHostFileStatus(Program("link").c_str(), status));
    EXPECT_TRUE(status.bExists && !status.bUnreadable);
    EXPECT_EQ(status.nSize, 1);

    // A link resolves to the file it names; anything else stays as given.
    CString strFinal;
    ASSERT_TRUE(ResolveFileLink(Program("link").c_str(), strFinal));
    EXPECT_EQ(std::string(strFinal), ProgramPathOf(fs::canonical(Host("target"))));
    for (const char* pszName : { "target", "missing" }) {
        ASSERT_TRUE(ResolveFileLink(Program(pszName).c_str(), strFinal));
        EXPECT_EQ(std::string(strFinal), Program(pszName));
    }
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

TEST_F(HostFileTest, ModifiedTimeIsTheOneSetWhateverTheHostClockSays)
{
    Write("stamped", "x");
    CHostFile file;
    ASSERT_TRUE(file.Open(Program("stamped").c_str(), CHostFile::Access::ReadWrite));
    // 2001-09-09 01:46:40 UTC and a quarter second, in 100-nanosecond units since 1601.
    const ULONGLONG nUnits = (1000000000ULL + 11644473600ULL) * 10000000ULL + 2500000ULL;
    const FILETIME ftSet { static_cast<DWORD>(nUnits & 0xFFFFFFFF), static_cast<DWORD>(nUnits >> 32) };
    ASSERT_TRUE(file.SetModifiedTime(ftSet));
    file.Close();
    HostFileStatus status;
    ASSERT_TRUE(GetHostFileStatus(Program("stamped").c_str(), status));
    EXPECT_EQ(status.tModified, 1000000000);

    EXPECT_FALSE(file.SetModifiedTime(ftSet)); // closed
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
