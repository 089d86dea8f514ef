#include "platform/base/FileFunctions.h"

#include "platform/base/Clock.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileFunctionsTest : public DriveFolderTest {
protected:
    std::string Read(const fs::path& path) const
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    void MakeReadOnly(const std::string& strRelative) const
    {
        ASSERT_TRUE(SetFileAttributes(OnT(strRelative).c_str(), FILE_ATTRIBUTE_READONLY));
    }
};

}

/******************************************************************************
 * Attributes
 ******************************************************************************/

TEST_F(FileFunctionsTest, ReadOnlyAttributeMapsToTheWriteBits)
{
    std::string strHost = Write("doc.txt");
    EXPECT_EQ(GetFileAttributes(OnT("DOC.TXT").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    MakeReadOnly("doc.txt");
    EXPECT_EQ(
        fs::status(strHost).permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
        fs::perms::none);
    EXPECT_EQ(GetFileAttributes(OnT("doc.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributes(OnT("doc.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes(OnT("doc.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_NE(fs::status(strHost).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(FileFunctionsTest, AttributeDataHoldsSizeAndTimes)
{
    std::string strHost = Write("data.bin", std::string(5000, 'z'));
    struct timespec times[2] = { { 1000000000, 0 }, { 1500000000, 500 } };
    ASSERT_EQ(utimensat(AT_FDCWD, strHost.c_str(), times, 0), 0);
    WIN32_FILE_ATTRIBUTE_DATA data {};
    ASSERT_TRUE(GetFileAttributesEx(OnT("data.bin").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 5000u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    ULONGLONG nWrite = (ULONGLONG { data.ftLastWriteTime.dwHighDateTime } << 32) | data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(nWrite, (1500000000ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND + 5);
    ULONGLONG nAccess
        = (ULONGLONG { data.ftLastAccessTime.dwHighDateTime } << 32) | data.ftLastAccessTime.dwLowDateTime;
    EXPECT_EQ(nAccess, (1000000000ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
    EXPECT_FALSE(GetFileAttributesEx(OnT("data.bin").c_str(), GetFileExMaxInfoLevel, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(FileFunctionsTest, AttributesComeFromTheEntryTheLookupFinds)
{
    // An exact name wins over one differing in case; another case finds the
    // host entry, whose own name decides the hidden attribute.
    Write("Case.txt");
    fs::create_directory(Folder().Path() / "case.txt");
    EXPECT_EQ(GetFileAttributes(OnT("Case.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributes(OnT("case.txt").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    Write(".Profile");
    EXPECT_EQ(GetFileAttributes(OnT(".PROFILE").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    WIN32_FILE_ATTRIBUTE_DATA data {};
    ASSERT_TRUE(GetFileAttributesEx(OnT(".profile").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);

    // A link is a reparse point showing its target's kind; a dangling one a file's.
    fs::create_directory_symlink(Folder().Path() / "case.txt", Folder().Path() / "to-folder");
    fs::create_symlink(Folder().Path() / "gone.txt", Folder().Path() / "dangling");
    EXPECT_EQ(GetFileAttributes(OnT("TO-FOLDER").c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(GetFileAttributes(OnT("dangling").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(FileFunctionsTest, MissingPathsReportFileOrPathNotFound)
{
    EXPECT_EQ(GetFileAttributes(OnT("nothing.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributes(OnT("no\\thing.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetFileAttributes(OnT("nothing.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributes("T:\\"), FILE_ATTRIBUTE_DIRECTORY);
}

/******************************************************************************
 * Files and folders of the user alone
 ******************************************************************************/

TEST_F(FileFunctionsTest, OwnerOnlySecurityMakesNewFilesAndFoldersTheUsersAlone)
{
    const mode_t nOldMask = umask(022);
    HANDLE hFile = CreateFile(
        OnT("private.txt").c_str(), GENERIC_WRITE, 0, OwnerOnlySecurity(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    CloseHandle(hFile);
    ASSERT_TRUE(CreateDirectory(OnT("private").c_str(), OwnerOnlySecurity()));
    ASSERT_TRUE(CreateDirectory(OnT("shared").c_str(), nullptr));
    umask(nOldMask);
    EXPECT_EQ(fs::status(Folder() / "private.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(Folder() / "private").permissions(), fs::perms::owner_all);
    EXPECT_NE(fs::status(Folder() / "shared").permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(FileFunctionsTest, RestrictToOwnerTightensAFileOrFolderButNeverFollowsALink)
{
    const std::string strFile = Write("open.txt");
    const std::string strTarget = Write("target.txt");
    fs::permissions(strFile, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    fs::permissions(strTarget, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    fs::create_directory(Folder() / "folder");
    fs::create_symlink(strTarget, Folder() / "link.txt");
    ASSERT_TRUE(RestrictToOwner(OnT("open.txt").c_str()));
    ASSERT_TRUE(RestrictToOwner(OnT("folder").c_str()));
    EXPECT_EQ(fs::status(strFile).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(Folder() / "folder").permissions(), fs::perms::owner_all);
    EXPECT_FALSE(RestrictToOwner(OnT("link.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_CANT_ACCESS_FILE);
    EXPECT_NE(fs::status(strTarget).permissions() & fs::perms::others_read, fs::perms::none);
}

/******************************************************************************
 * Folders and deleting
 ******************************************************************************/

TEST_F(FileFunctionsTest, CreateAndRemoveDirectories)
{
    ASSERT_TRUE(CreateDirectory(OnT("new").c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(Folder() / "new"));
    EXPECT_FALSE(CreateDirectory(OnT("NEW").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectory(OnT("a\\b").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    Write("new/inside.txt");
    EXPECT_FALSE(RemoveDirectory(OnT("new").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(RemoveDirectory(OnT("new\\inside.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(RemoveDirectory(OnT("gone").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(DeleteFile(OnT("new\\inside.txt").c_str()));
    EXPECT_TRUE(RemoveDirectory(OnT("New").c_str()));
    EXPECT_FALSE(fs::exists(Folder() / "new"));
}

TEST_F(FileFunctionsTest, DeleteFileRefusesReadOnlyFilesAndFolders)
{
    std::string strHost = Write("keep.txt");
    MakeReadOnly("keep.txt");
    EXPECT_FALSE(DeleteFile(OnT("keep.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::exists(strHost));
    fs::create_directory(Folder() / "dir");
    EXPECT_FALSE(DeleteFile(OnT("dir").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFile(OnT("absent").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

/******************************************************************************
 * Moving and copying
 ******************************************************************************/

TEST_F(FileFunctionsTest, MoveRefusesToReplaceUnlessAsked)
{
    Write("a.txt", "A");
    Write("b.txt", "B");
    EXPECT_FALSE(MoveFile(OnT("a.txt").c_str(), OnT("b.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Read(Folder() / "b.txt"), "B");
    ASSERT_TRUE(MoveFileEx(OnT("a.txt").c_str(), OnT("B.TXT").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Read(Folder() / "b.txt"), "A");
    EXPECT_FALSE(fs::exists(Folder() / "a.txt"));
    EXPECT_FALSE(fs::exists(Folder() / "B.TXT"));
}

TEST_F(FileFunctionsTest, MoveFoldersAndChangeOnlyTheCase)
{
    Write("old/inner.txt", "in");
    fs::create_directory(Folder() / "target");
    ASSERT_TRUE(MoveFile(OnT("old").c_str(), OnT("target\\moved").c_str()));
    EXPECT_EQ(Read(Folder() / "target" / "moved" / "inner.txt"), "in");
    ASSERT_TRUE(MoveFile(OnT("target\\moved\\inner.txt").c_str(), OnT("target\\moved\\INNER.txt").c_str()));
    EXPECT_TRUE(fs::exists(Folder() / "target" / "moved" / "INNER.txt"));
    EXPECT_FALSE(fs::exists(Folder() / "target" / "moved" / "inner.txt"));
}

TEST_F(FileFunctionsTest, MoveOntoAHardLinkOfTheSourceIsRefused)
{
    std::string strHost = Write("linked.txt");
    fs::create_hard_link(strHost, Folder() / "other.txt");
    EXPECT_FALSE(MoveFile(OnT("linked.txt").c_str(), OnT("other.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(fs::exists(strHost));
}

TEST_F(FileFunctionsTest, MoveRefusesFoldersAsReplacementsAndBadFlags)
{
    Write("f.txt");
    Write("ro.txt");
    MakeReadOnly("ro.txt");
    fs::create_directory(Folder() / "d");
    EXPECT_FALSE(MoveFileEx(OnT("f.txt").c_str(), OnT("d").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileEx(OnT("f.txt").c_str(), OnT("ro.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileEx(OnT("f.txt").c_str(), OnT("g.txt").c_str(), 0x4));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(MoveFileEx(OnT("f.txt").c_str(), nullptr, 0));
    EXPECT_FALSE(MoveFile(OnT("f.txt").c_str(), OnT("no\\g.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(MoveFile(OnT("none.txt").c_str(), OnT("g.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // A read-only file itself may be moved.
    EXPECT_TRUE(MoveFileEx(OnT("ro.txt").c_str(), OnT("ro2.txt").c_str(), MOVEFILE_WRITE_THROUGH));
}

TEST_F(FileFunctionsTest, MovesAcrossDevicesOnlyCopyWhenAllowed)
{
    // A second file system: /dev/shm is a tmpfs on most systems.
    char szTemplate[] = "/dev/shm/archivora-test-XXXXXX";
    struct stat shm {
    }, temp {};
    if (stat("/dev/shm", &shm) != 0 || stat(Folder().Path().c_str(), &temp) != 0 || shm.st_dev == temp.st_dev
        || !mkdtemp(szTemplate))
        GTEST_SKIP() << "no second file system to move to";
    struct CRemoveAfter {
        const char* pszFolder;
        ~CRemoveAfter() { fs::remove_all(pszFolder); }
    } removeAfter { szTemplate };
    ASSERT_TRUE(SetDriveOverride('U', szTemplate, DRIVE_RAMDISK));
    Write("far.txt", "payload");
    fs::create_directory(Folder() / "farfolder");
    EXPECT_FALSE(MoveFileEx(OnT("far.txt").c_str(), "U:\\far.txt", 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
    EXPECT_FALSE(MoveFile(OnT("farfolder").c_str(), "U:\\farfolder"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
    EXPECT_TRUE(MoveFileEx(OnT("far.txt").c_str(), "U:\\far.txt", MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH));
    EXPECT_FALSE(fs::exists(Folder() / "far.txt"));
    EXPECT_EQ(Read(fs::path(szTemplate) / "far.txt"), "payload");
}

TEST_F(FileFunctionsTest, CopyKeepsTimesAndReadOnlyState)
{
    std::string strHost = Write("src.txt", "contents");
    struct timespec times[2] = { { 1200000000, 0 }, { 1300000000, 0 } };
    ASSERT_EQ(utimensat(AT_FDCWD, strHost.c_str(), times, 0), 0);
    MakeReadOnly("src.txt");
    ASSERT_TRUE(CopyFile(OnT("src.txt").c_str(), OnT("copy.txt").c_str(), TRUE));
    EXPECT_EQ(Read(Folder() / "copy.txt"), "contents");
    WIN32_FILE_ATTRIBUTE_DATA source {}, copy {};
    ASSERT_TRUE(GetFileAttributesEx(OnT("src.txt").c_str(), GetFileExInfoStandard, &source));
    ASSERT_TRUE(GetFileAttributesEx(OnT("copy.txt").c_str(), GetFileExInfoStandard, &copy));
    EXPECT_EQ(copy.dwFileAttributes, source.dwFileAttributes);
    EXPECT_EQ(copy.ftLastWriteTime.dwLowDateTime, source.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(copy.ftLastWriteTime.dwHighDateTime, source.ftLastWriteTime.dwHighDateTime);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder().Path()), fs::directory_iterator()), 2);
}

TEST_F(FileFunctionsTest, CopyOntoExistingTargets)
{
    Write("one.txt", "one");
    Write("two.txt", "two");
    EXPECT_FALSE(CopyFile(OnT("one.txt").c_str(), OnT("two.txt").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    ASSERT_TRUE(CopyFile(OnT("one.txt").c_str(), OnT("TWO.txt").c_str(), FALSE));
    EXPECT_EQ(Read(Folder() / "two.txt"), "one");
    MakeReadOnly("two.txt");
    EXPECT_FALSE(CopyFile(OnT("one.txt").c_str(), OnT("two.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    fs::create_directory(Folder() / "dir");
    EXPECT_FALSE(CopyFile(OnT("dir").c_str(), OnT("dir2").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(fs::exists(Folder() / "dir2"));
    EXPECT_FALSE(CopyFile(OnT("one.txt").c_str(), OnT("one.txt").c_str(), FALSE));
}

TEST_F(FileFunctionsTest, HardLinksShareTheDataAndNeverReplace)
{
    Write("first.txt", "shared");
    Write("taken.txt", "taken");
    ASSERT_TRUE(CreateHardLink(OnT("second.txt").c_str(), OnT("FIRST.txt").c_str(), nullptr));
    ASSERT_TRUE(DeleteFile(OnT("first.txt").c_str()));
    EXPECT_EQ(Read(Folder() / "second.txt"), "shared");
    EXPECT_FALSE(CreateHardLink(OnT("taken.txt").c_str(), OnT("second.txt").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Read(Folder() / "taken.txt"), "taken");
    EXPECT_FALSE(CreateHardLink(OnT("new.txt").c_str(), OnT("missing.txt").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CreateHardLink(OnT("no\\where.txt").c_str(), OnT("second.txt").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    fs::create_directory(Folder() / "dir");
    EXPECT_FALSE(CreateHardLink(OnT("dir2").c_str(), OnT("dir").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(fs::exists(Folder() / "dir2"));
}

/******************************************************************************
 * The C run-time's calls
 ******************************************************************************/

TEST_F(FileFunctionsTest, AccessAndUnlinkFollowTheReadOnlyState)
{
    Write("w.txt");
    Write("r.txt");
    MakeReadOnly("r.txt");
    EXPECT_EQ(_access(OnT("W.TXT").c_str(), 0), 0);
    EXPECT_EQ(_access(OnT("w.txt").c_str(), 6), 0);
    EXPECT_EQ(_access(OnT("r.txt").c_str(), 4), 0);
    errno = 0;
    EXPECT_EQ(_access(OnT("r.txt").c_str(), 2), -1);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(_access(OnT("none.txt").c_str(), 0), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_access(OnT("w.txt").c_str(), 1), -1);
    EXPECT_EQ(errno, EINVAL);

    EXPECT_EQ(_unlink(OnT("r.txt").c_str()), -1);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(_unlink(OnT("w.txt").c_str()), 0);
    EXPECT_FALSE(fs::exists(Folder() / "w.txt"));
    EXPECT_EQ(_unlink(OnT("w.txt").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(FileFunctionsTest, StatFillsTheRunTimeFields)
{
    std::string strHost = Write("s.txt", "12345");
    struct timespec times[2] = { { 1100000000, 0 }, { 1400000000, 0 } };
    ASSERT_EQ(utimensat(AT_FDCWD, strHost.c_str(), times, 0), 0);
    struct _stat info { };
    ASSERT_EQ(_stat(OnT("s.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 5);
    EXPECT_EQ(info.st_mode & _S_IFMT, _S_IFREG);
    EXPECT_TRUE(info.st_mode & _S_IWRITE);
    EXPECT_EQ(info.st_mtime, 1400000000);
    EXPECT_EQ(info.st_atime, 1100000000);
    EXPECT_EQ(info.st_dev, static_cast<_dev_t>('T' - 'A'));
    MakeReadOnly("s.txt");
    ASSERT_EQ(_stat(OnT("s.txt").c_str(), &info), 0);
    EXPECT_FALSE(info.st_mode & _S_IWRITE);
    ASSERT_EQ(_stat("T:\\", &info), 0);
    EXPECT_EQ(info.st_mode & _S_IFMT, _S_IFDIR);
    EXPECT_EQ(_stat(OnT("s.txt\\").c_str(), &info), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_stat(OnT("none").c_str(), &info), -1);
    EXPECT_EQ(errno, ENOENT);
}

/******************************************************************************
 * Temporary files and searches
 ******************************************************************************/

TEST_F(FileFunctionsTest, TempPathIsTheHostTemporaryFolder)
{
    std::string strOld = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", Folder().Path().c_str(), 1);
    char szPath[MAX_PATH];
    DWORD dwLength = GetTempPath(MAX_PATH, szPath);
    if (strOld.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", strOld.c_str(), 1);
    EXPECT_EQ(dwLength, 3u);
    EXPECT_STREQ(szPath, "T:\\");
}

TEST_F(FileFunctionsTest, TempFileNamesFollowTheDocumentedForm)
{
    char szName[MAX_PATH];
    EXPECT_EQ(GetTempFileName("T:\\", "abcdef", 0x1A2B, szName), 0x1A2Bu);
    EXPECT_STREQ(szName, "T:\\abc1A2B.tmp");
    EXPECT_FALSE(fs::exists(Folder() / "abc1A2B.tmp")); // A given number creates nothing.
    EXPECT_EQ(GetTempFileName("T:", "x", 0x12345, szName), 0x2345u);
    EXPECT_STREQ(szName, "T:\\x2345.tmp");

    CManualClock clock(0, 0x42);
    CClockOverride useClock(clock);
    Write("arc42.tmp");
    EXPECT_EQ(GetTempFileName("T:\\", "arc", 0, szName), 0x43u); // 0x42 exists.
    EXPECT_STREQ(szName, "T:\\arc43.tmp");
    EXPECT_TRUE(fs::exists(Folder() / "arc43.tmp"));
    EXPECT_EQ(GetTempFileName(OnT("missing").c_str(), "arc", 0, szName), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_EQ(GetTempFileName(("T:\\" + std::string(MAX_PATH, 'a')).c_str(), "arc", 0, szName), 0u);
    EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
}

TEST_F(FileFunctionsTest, SearchPathLooksInTheGivenFoldersInOrder)
{
    Write("first/tool.cfg");
    Write("second/tool.cfg");
    Write("second/other.ini");
    std::string strFolders = OnT("none") + ";" + OnT("second") + ";" + OnT("first");
    char szFound[MAX_PATH];
    LPTSTR pszFilePart = nullptr;
    ASSERT_NE(SearchPath(strFolders.c_str(), "tool.cfg", nullptr, MAX_PATH, szFound, &pszFilePart), 0u);
    EXPECT_STREQ(szFound, "T:\\second\\tool.cfg");
    EXPECT_STREQ(pszFilePart, "tool.cfg");
    ASSERT_NE(SearchPath(strFolders.c_str(), "other", ".ini", MAX_PATH, szFound, nullptr), 0u);
    EXPECT_STREQ(szFound, "T:\\second\\other.ini");
    EXPECT_EQ(SearchPath(strFolders.c_str(), "absent.cfg", nullptr, MAX_PATH, szFound, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // A name with a folder is only checked where it points.
    ASSERT_TRUE(SetCurrentDirectory(OnT("first").c_str()));
    EXPECT_NE(SearchPath(nullptr, "tool.cfg", nullptr, MAX_PATH, szFound, nullptr), 0u);
    EXPECT_STREQ(szFound, "T:\\first\\tool.cfg");
    EXPECT_EQ(SearchPath(nullptr, "..\\second\\other.ini", nullptr, MAX_PATH, szFound, nullptr), 19u);
}
