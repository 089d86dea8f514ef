#include "platform/base/CFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CFileFaultTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& strName) const { return ProgramPathOf(m_folder / strName); }

    TempFolder m_folder;
};

}

TEST_F(CFileFaultTest, ConstructorThrowsWhatOpenReports)
{
    std::string strMissing = PathOf("missing.txt");
    try {
        CFile file(strMissing.c_str(), CFile::modeRead);
        FAIL() << "nothing thrown";
    } catch (CFileException* pException) {
        EXPECT_EQ(pException->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(pException->m_lOsError, static_cast<LONG>(ERROR_FILE_NOT_FOUND));
        EXPECT_STREQ(pException->m_strFileName, strMissing.c_str());
        pException->Delete();
    }

    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(PathOf("no\\such\\folder.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open("Q:\\x.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(
        file.Open(PathOf("x.txt").c_str(), CFile::modeWrite | CFile::modeReadWrite | CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::genericException);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "x.txt"));
    // Without an exception object a failed Open just says FALSE.
    EXPECT_FALSE(file.Open(strMissing.c_str(), CFile::modeRead));
}

TEST_F(CFileFaultTest, SecondOpenOfAnOpenObjectIsRefused)
{
    m_folder.WriteFile("a.txt", "abc");
    m_folder.WriteFile("b.txt", "def");
    CFile file(PathOf("a.txt").c_str(), CFile::modeRead);
    CFileException error;
    EXPECT_FALSE(file.Open(PathOf("b.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::genericException);
    char ch = 0;
    file.Read(&ch, 1);
    EXPECT_EQ(ch, 'a'); // still the first file
}

TEST_F(CFileFaultTest, OperationsOutsideTheAccessOrPositionThrow)
{
    m_folder.WriteFile("a.txt", "abc");
    CFile reader(PathOf("a.txt").c_str(), CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(ThrownCause<CFileException>([&] { reader.Write("x", 1); }), CFileException::accessDenied);
    EXPECT_EQ(ThrownCause<CFileException>([&] { reader.SetLength(0); }), CFileException::accessDenied);
    EXPECT_EQ(ThrownCause<CFileException>([&] { reader.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(reader.GetPosition(), 0u);
    EXPECT_EQ(HostFileContents(m_folder / "a.txt"), "abc");

    CFile writer(PathOf("a.txt").c_str(), CFile::modeWrite | CFile::shareDenyNone);
    char buffer[4];
    EXPECT_EQ(ThrownCause<CFileException>([&] { writer.Read(buffer, 4); }), CFileException::accessDenied);
}

TEST_F(CFileFaultTest, ClosedFilesThrowInvalidFile)
{
    CFile file;
    char buffer[4];
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Read(buffer, 4); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.GetLength(); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Seek(0, CFile::begin); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.LockRange(0, 1); }), CFileException::invalidFile);
    // Closing or aborting what is not open is harmless.
    EXPECT_NO_THROW(file.Close());
    EXPECT_NO_THROW(file.Abort());
    EXPECT_NO_THROW(file.Flush());
}

TEST_F(CFileFaultTest, AFullDiskFailsTheWrite)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile file;
    ASSERT_TRUE(file.Open(ProgramPathOf("/dev/full").c_str(), CFile::modeWrite | CFile::shareDenyNone));
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Write("data", 4); }), CFileException::diskFull);
}

TEST_F(CFileFaultTest, LockedRangesRefuseOtherFiles)
{
    m_folder.WriteFile("a.txt", "0123456789");
    std::string strPath = PathOf("a.txt");
    CFile first(strPath.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
    CFile second(strPath.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
    first.LockRange(0, 5);
    EXPECT_EQ(ThrownCause<CFileException>([&] { second.LockRange(4, 2); }), CFileException::lockViolation);
    char buffer[4];
    EXPECT_EQ(ThrownCause<CFileException>([&] { second.Read(buffer, 4); }), CFileException::lockViolation);
    EXPECT_EQ(ThrownCause<CFileException>([&] { first.UnlockRange(0, 4); }), CFileException::genericException);
    first.UnlockRange(0, 5);
    EXPECT_EQ(second.Read(buffer, 4), 4u);
}

TEST_F(CFileFaultTest, RenameAndRemoveReportWhatStoppedThem)
{
    m_folder.WriteFile("a.txt", "a");
    m_folder.WriteFile("b.txt", "b");
    EXPECT_EQ(ThrownCause<CFileException>([&] { CFile::Rename(PathOf("a.txt").c_str(), PathOf("b.txt").c_str()); }),
        CFileException::accessDenied);
    EXPECT_EQ(HostFileContents(m_folder / "b.txt"), "b"); // not replaced
    EXPECT_EQ(ThrownCause<CFileException>([&] { CFile::Rename(PathOf("c.txt").c_str(), PathOf("d.txt").c_str()); }),
        CFileException::fileNotFound);
    EXPECT_EQ(
        ThrownCause<CFileException>([&] { CFile::Remove(PathOf("c.txt").c_str()); }), CFileException::fileNotFound);
    EXPECT_EQ(ThrownCause<CFileException>([&] { CFile::Remove("Q:\\c.txt"); }), CFileException::badPath);

    std::filesystem::create_directory(m_folder / "folder");
    EXPECT_EQ(
        ThrownCause<CFileException>([&] { CFile::Remove(PathOf("folder").c_str()); }), CFileException::accessDenied);
    std::filesystem::permissions(m_folder / "a.txt", std::filesystem::perms::owner_read);
    EXPECT_EQ(
        ThrownCause<CFileException>([&] { CFile::Remove(PathOf("a.txt").c_str()); }), CFileException::accessDenied);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "a.txt"));
    EXPECT_EQ(ThrownCause<CFileException>([&] { CFile::SetStatus(PathOf("c.txt").c_str(), CFileStatus {}); }),
        CFileException::fileNotFound);
}
