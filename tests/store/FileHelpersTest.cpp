#include "store/FileHelpers.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class FileHelpersTest : public DriveFolderTest {
protected:
    void MakeFolder(const std::string& strRelative) const { fs::create_directories(Folder() / strRelative); }
    bool Exists(const std::string& strRelative) const { return fs::exists(Folder() / strRelative); }
};

TEST_F(FileHelpersTest, ExistingWritableFolderOnAFixedDriveGivesExactlyWritable)
{
    MakeFolder("docs");
    EXPECT_EQ(CheckFolder(OnT("docs").c_str(), FOLDER_WRITABLE | FOLDER_REMOVABLE), FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder(OnT("docs\\").c_str(), FOLDER_WRITABLE | FOLDER_REMOVABLE), FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder(OnT("DOCS").c_str(), 0), 0u);
    EXPECT_FALSE(Exists(std::string("docs/") + FOLDER_PROBE_FILE_NAME));
}

TEST_F(FileHelpersTest, MissingFolderAddsItsNearestExistingParent)
{
    MakeFolder("docs");
    EXPECT_EQ(CheckFolder(OnT("docs\\new").c_str(), FOLDER_WRITABLE), FOLDER_MISSING | FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder(OnT("docs\\a\\b\\c").c_str(), FOLDER_WRITABLE), FOLDER_MISSING | FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder(OnT("docs\\new").c_str(), 0), FOLDER_MISSING);
    EXPECT_FALSE(Exists("docs/new"));
    // Under the drive's root the parent's own root bit comes along.
    EXPECT_EQ(CheckFolder(OnT("new").c_str(), 0), FOLDER_MISSING | FOLDER_NO_PARENT);
}

TEST_F(FileHelpersTest, ReadOnlyFolderIsNotWritableAndKeepsNoProbe)
{
    MakeFolder("locked");
    ASSERT_TRUE(SetFileAttributes(OnT("locked").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(CheckFolder(OnT("locked").c_str(), FOLDER_WRITABLE | FOLDER_REMOVABLE), 0u);
    EXPECT_EQ(CheckFolder(OnT("locked\\sub").c_str(), FOLDER_WRITABLE), FOLDER_MISSING);
    EXPECT_FALSE(Exists(std::string("locked/") + FOLDER_PROBE_FILE_NAME));
    ASSERT_TRUE(SetFileAttributes(OnT("locked").c_str(), 0));
}

TEST_F(FileHelpersTest, FilesAndUnreachablePathsAreUnusable)
{
    Write("file.txt");
    EXPECT_EQ(CheckFolder(OnT("file.txt").c_str(), 0), FOLDER_UNUSABLE);
    EXPECT_EQ(CheckFolder(OnT("file.txt\\sub").c_str(), 0) & FOLDER_UNUSABLE, FOLDER_UNUSABLE);
    ASSERT_TRUE(SetDriveOverride('Q', nullptr, 0));
    EXPECT_EQ(CheckFolder("Q:\\docs", FOLDER_WRITABLE), FOLDER_UNUSABLE);
    EXPECT_EQ(CheckFolder("docs\\relative", 0), FOLDER_UNUSABLE);
    EXPECT_EQ(CheckFolder("", 0), FOLDER_UNUSABLE);
    EXPECT_EQ(CheckFolder(nullptr, 0), FOLDER_UNUSABLE);
}

TEST_F(FileHelpersTest, DriveRootsHaveNoParent)
{
    EXPECT_EQ(CheckFolder("T:\\", FOLDER_WRITABLE), FOLDER_NO_PARENT | FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder("T:", 0), FOLDER_NO_PARENT);
    // A drive whose folder is gone has no existing parent left.
    fs::path gone = Folder() / "gone";
    fs::create_directories(gone);
    ASSERT_TRUE(SetDriveOverride('G', gone.c_str(), DRIVE_FIXED));
    fs::remove(gone);
    EXPECT_EQ(CheckFolder("G:\\docs", 0) & FOLDER_UNUSABLE, FOLDER_UNUSABLE);
}

TEST_F(FileHelpersTest, DriveKindsAreReportedOnlyWhenAsked)
{
    MakeFolder("stick/docs");
    MakeFolder("share/docs");
    ASSERT_TRUE(SetDriveOverride('R', (Folder() / "stick").c_str(), DRIVE_REMOVABLE));
    ASSERT_TRUE(SetDriveOverride('N', (Folder() / "share").c_str(), DRIVE_REMOTE));
    EXPECT_EQ(CheckFolder("R:\\docs", FOLDER_WRITABLE | FOLDER_REMOVABLE), FOLDER_WRITABLE | FOLDER_REMOVABLE);
    EXPECT_EQ(CheckFolder("R:\\docs", FOLDER_NETWORK), 0u);
    EXPECT_EQ(CheckFolder("N:\\docs", FOLDER_NETWORK), FOLDER_NETWORK);
    EXPECT_EQ(CheckFolder("N:\\docs", FOLDER_REMOVABLE), 0u);
    // The document backup's flags: long names, network, removable, writable.
    EXPECT_EQ(CheckFolder("N:\\docs\\new", 76), FOLDER_MISSING | FOLDER_WRITABLE | FOLDER_LONG_NAMES);
    EXPECT_EQ(CheckFolder(OnT("").c_str(), FOLDER_LONG_NAMES), FOLDER_NO_PARENT | FOLDER_LONG_NAMES);
}

TEST_F(FileHelpersTest, SharesAreNetworkFolders)
{
    MakeFolder("cifs/docs");
    std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:51 / " + Folder().Path().string()
        + "/cifs rw - cifs //Office-PC/Documents rw\n";
    ReloadDriveTable(strMounts.c_str());
    EXPECT_EQ(CheckFolder("\\\\office-pc\\documents\\docs", FOLDER_NETWORK | FOLDER_WRITABLE),
        FOLDER_NETWORK | FOLDER_WRITABLE);
    EXPECT_EQ(CheckFolder("\\\\office-pc\\documents\\", FOLDER_NETWORK), FOLDER_NETWORK | FOLDER_NO_PARENT);
    EXPECT_EQ(CheckFolder("\\\\office-pc\\documents\\new\\sub", 0), FOLDER_MISSING | FOLDER_NO_PARENT);
    EXPECT_EQ(CheckFolder("\\\\nobody\\share\\docs", FOLDER_NETWORK), FOLDER_UNUSABLE);
}

TEST_F(FileHelpersTest, CreateFolderPathMakesEveryMissingLevel)
{
    MakeFolder("docs");
    EXPECT_TRUE(CreateFolderPath(OnT("docs\\2024\\q1\\reports\\").c_str()));
    EXPECT_TRUE(fs::is_directory(Folder() / "docs/2024/q1/reports"));
    EXPECT_TRUE(CreateFolderPath(OnT("docs\\2024").c_str()));
    EXPECT_TRUE(CreateFolderPath("T:\\"));
}

TEST_F(FileHelpersTest, CreateFolderPathStopsAtAnUnusableLevel)
{
    Write("docs/file.txt");
    EXPECT_FALSE(CreateFolderPath(OnT("docs\\file.txt\\sub").c_str()));
    EXPECT_FALSE(Exists("docs/file.txt/sub"));
    ASSERT_TRUE(SetDriveOverride('Q', nullptr, 0));
    EXPECT_FALSE(CreateFolderPath("Q:\\a\\b"));
    EXPECT_FALSE(CreateFolderPath("relative\\a"));
    EXPECT_FALSE(CreateFolderPath(nullptr));
}

TEST_F(FileHelpersTest, RenameFileSafeRefusesAnExistingTarget)
{
    Write("in.$in", "request");
    Write("in.in", "earlier");
    EXPECT_FALSE(RenameFileSafe(OnT("in.$in").c_str(), OnT("in.in").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(Exists("in.$in"));
    fs::remove(Folder() / "in.in");
    EXPECT_TRUE(RenameFileSafe(OnT("in.$in").c_str(), OnT("in.in").c_str()));
    EXPECT_FALSE(Exists("in.$in"));
    EXPECT_TRUE(Exists("in.in"));
    EXPECT_FALSE(RenameFileSafe(OnT("missing").c_str(), OnT("other").c_str()));
}

TEST_F(FileHelpersTest, DeleteFileForcedRemovesReadOnlyFiles)
{
    Write("picture.gif");
    ASSERT_TRUE(SetFileAttributes(OnT("picture.gif").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DeleteFileForced(OnT("picture.gif").c_str()), 1);
    EXPECT_FALSE(Exists("picture.gif"));
    EXPECT_EQ(DeleteFileForced(OnT("picture.gif").c_str()), 0);
    EXPECT_EQ(DeleteFileForced(nullptr), 0);
}

using ProgramFolderHelpersTest = ProgramFolderTest;

TEST_F(ProgramFolderHelpersTest, GetProgramFolderEndsInABackslashAndNamesTheFolder)
{
    CString strFolder = GetProgramFolder();
    ASSERT_FALSE(strFolder.IsEmpty());
    EXPECT_EQ(strFolder[strFolder.GetLength() - 1], '\\');
    HANDLE hFile
        = CreateFile(strFolder + "probe.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    CloseHandle(hFile);
    EXPECT_TRUE(fs::exists(Home() / "probe.txt"));
}

} // namespace
