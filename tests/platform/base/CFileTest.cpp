#include "platform/base/CFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& strName) const { return ProgramPathOf(m_folder / strName); }

    TempFolder m_folder;
};

}

TEST_F(CFileTest, CreatesTruncatesOrKeepsAsTheFlagsSay)
{
    m_folder.WriteFile("a.txt", "old contents");
    {
        CFile file(PathOf("a.txt").c_str(), CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate);
        EXPECT_EQ(file.GetLength(), 12u);
        file.SeekToEnd();
        file.Write("!", 1);
    }
    EXPECT_EQ(HostFileContents(m_folder / "a.txt"), "old contents!");
    {
        CFile file(PathOf("a.txt").c_str(), CFile::modeReadWrite | CFile::modeCreate);
        EXPECT_EQ(file.GetLength(), 0u);
        file.Write("new", 3);
    }
    EXPECT_EQ(HostFileContents(m_folder / "a.txt"), "new");
    CFile fresh;
    ASSERT_TRUE(fresh.Open(PathOf("b.txt").c_str(), CFile::modeWrite | CFile::modeCreate));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "b.txt"));
}

TEST_F(CFileTest, ReadsWritesSeeksAndSetsLength)
{
    CFile file(PathOf("a.bin").c_str(), CFile::modeReadWrite | CFile::modeCreate);
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
    char buffer[16] {};
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 3u);
    EXPECT_STREQ(buffer, "789");
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 0u); // at the end
    file.SeekToBegin();
    EXPECT_EQ(file.Seek(2, CFile::current), 2u);
    EXPECT_EQ(file.Seek(100, CFile::begin), 100u); // past the end is allowed

    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(6);
    file.Flush();
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(HostFileContents(m_folder / "a.bin"), std::string("0123\0\0", 6));
}

TEST_F(CFileTest, NamesComeFromThePathGivenAtOpen)
{
    m_folder.WriteFile("report.final.txt", "x");
    std::string strPath = PathOf("report.final.txt");
    CFile file(strPath.c_str(), CFile::modeRead);
    EXPECT_STREQ(file.GetFilePath(), strPath.c_str());
    EXPECT_STREQ(file.GetFileName(), "report.final.txt");
    EXPECT_STREQ(file.GetFileTitle(), "report.final");
    file.SetFilePath("C:\\other\\.profile");
    EXPECT_STREQ(file.GetFileTitle(), ".profile");
    file.Close();
    EXPECT_STREQ(file.GetFilePath(), "");
}

TEST_F(CFileTest, ClosesWhatItOpenedButNotAnAttachedHandle)
{
    m_folder.WriteFile("a.txt", "abc");
    std::string strPath = PathOf("a.txt");
    {
        CFile exclusive(strPath.c_str(), CFile::modeRead | CFile::shareExclusive);
        CFile second;
        EXPECT_FALSE(second.Open(strPath.c_str(), CFile::modeRead | CFile::shareDenyNone));
    }
    // The destructor closed it, so an exclusive open works again.
    CFile reopened;
    ASSERT_TRUE(reopened.Open(strPath.c_str(), CFile::modeRead | CFile::shareExclusive));
    reopened.Close();

    HANDLE hFile = CreateFile(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    {
        CFile attached(hFile);
        char ch = 0;
        EXPECT_EQ(attached.Read(&ch, 1), 1u);
        EXPECT_EQ(ch, 'a');
    }
    EXPECT_TRUE(CloseHandle(hFile)); // still open after the CFile went
}

TEST_F(CFileTest, ShareModesOfOpenFlagsApply)
{
    m_folder.WriteFile("a.txt", "abc");
    std::string strPath = PathOf("a.txt");
    CFile reader(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    CFile secondReader;
    EXPECT_TRUE(secondReader.Open(strPath.c_str(), CFile::modeRead | CFile::shareDenyNone));
    CFileException error;
    CFile writer;
    EXPECT_FALSE(writer.Open(strPath.c_str(), CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(writer.m_hFile, CFile::hFileNull);
}

TEST_F(CFileTest, StatusReportsSizeTimesAndAttributes)
{
    m_folder.WriteFile("a.txt", "12345");
    std::string strPath = PathOf("a.txt");
    CFileStatus status {};
    status.m_mtime = CTime(static_cast<time_t>(1000000000));
    CFile::SetStatus(strPath.c_str(), status);

    CFileStatus got {};
    ASSERT_TRUE(CFile::GetStatus(strPath.c_str(), got));
    EXPECT_EQ(got.m_size, 5u);
    EXPECT_EQ(got.m_mtime.GetTime(), 1000000000);
    EXPECT_EQ(got.m_atime.GetTime(), 1000000000); // a zero access time took the write time
    EXPECT_EQ(got.m_attribute & (CFile::readOnly | CFile::directory | CFile::hidden), 0);
    EXPECT_STREQ(got.m_szFullName, strPath.c_str());
    {
        CFile file(strPath.c_str(), CFile::modeRead);
        CFileStatus fromHandle {};
        ASSERT_TRUE(file.GetStatus(fromHandle));
        EXPECT_EQ(fromHandle.m_size, 5u);
        EXPECT_EQ(fromHandle.m_mtime.GetTime(), 1000000000);
        EXPECT_EQ(fromHandle.m_attribute, got.m_attribute);
        EXPECT_STREQ(fromHandle.m_szFullName, strPath.c_str());
    }

    got.m_attribute = CFile::readOnly;
    got.m_mtime = CTime();
    CFile::SetStatus(strPath.c_str(), got);
    ASSERT_TRUE(CFile::GetStatus(strPath.c_str(), got));
    EXPECT_TRUE(got.m_attribute & CFile::readOnly);
    EXPECT_EQ(got.m_mtime.GetTime(), 1000000000); // a zero write time left it alone

    // A read-only file gets new times and loses the attribute in one call.
    got.m_attribute = CFile::normal;
    got.m_mtime = CTime(static_cast<time_t>(1100000000));
    got.m_atime = CTime(static_cast<time_t>(1200000000));
    CFile::SetStatus(strPath.c_str(), got);
    ASSERT_TRUE(CFile::GetStatus(strPath.c_str(), got));
    EXPECT_FALSE(got.m_attribute & CFile::readOnly);
    EXPECT_EQ(got.m_mtime.GetTime(), 1100000000);
    EXPECT_EQ(got.m_atime.GetTime(), 1200000000);

    std::filesystem::create_directory(m_folder / ".hidden");
    ASSERT_TRUE(CFile::GetStatus(PathOf(".hidden").c_str(), got));
    EXPECT_EQ(got.m_attribute & (CFile::directory | CFile::hidden), CFile::directory | CFile::hidden);
    EXPECT_FALSE(CFile::GetStatus(PathOf("missing").c_str(), got));
    EXPECT_FALSE(CFile::GetStatus(nullptr, got));
}

TEST_F(CFileTest, RenameMovesAndRemoveDeletes)
{
    m_folder.WriteFile("a.txt", "abc");
    CFile::Rename(PathOf("a.txt").c_str(), PathOf("b.txt").c_str());
    EXPECT_FALSE(std::filesystem::exists(m_folder / "a.txt"));
    EXPECT_EQ(HostFileContents(m_folder / "b.txt"), "abc");
    CFile::Remove(PathOf("b.txt").c_str());
    EXPECT_FALSE(std::filesystem::exists(m_folder / "b.txt"));
}
