#include "platform/base/FolderListing.h"

#include "platform/base/FileFind.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"
#include "tests/support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

// T: holds a file, a folder, links to both, a dangling link and a folder that
// drive U: stands for.
class FolderListingTest : public DriveFolderTest {
protected:
    void SetUp() override
    {
        DriveFolderTest::SetUp();
        Write("file.txt");
        Write("folder/inner.txt");
        Write("mounted/on-u.txt");
        fs::create_symlink(Folder() / "file.txt", Folder() / "file-link");
        fs::create_directory_symlink(Folder() / "folder", Folder() / "folder-link");
        fs::create_symlink(Folder() / "nowhere", Folder() / "dangling");
        ASSERT_TRUE(SetDriveOverride('U', (Folder() / "mounted").c_str(), DRIVE_FIXED));
    }

    // The attributes each way of listing T:\ reports, by name.
    static std::map<std::string, DWORD> Listed()
    {
        std::vector<CFolderEntry> entries;
        EXPECT_TRUE(ListFolderEntries("T:\\", entries));
        std::map<std::string, DWORD> listed;
        for (const CFolderEntry& entry : entries)
            listed[entry.strName] = entry.dwAttributes;
        return listed;
    }

    static std::map<std::string, DWORD> Found()
    {
        std::map<std::string, DWORD> found;
        WIN32_FIND_DATA data;
        HANDLE hFind = FindFirstFile("T:\\*", &data);
        EXPECT_NE(hFind, INVALID_HANDLE_VALUE);
        do {
            found[data.cFileName] = data.dwFileAttributes
                & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT);
        } while (FindNextFile(hFind, &data));
        FindClose(hFind);
        found.erase(".");
        found.erase("..");
        return found;
    }
};

TEST_F(FolderListingTest, LinksAndOtherDrivesRootsAreReparsePoints)
{
    const std::map<std::string, DWORD> expected {
        { "dangling", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT },
        { "file-link", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT },
        { "file.txt", FILE_ATTRIBUTE_ARCHIVE },
        { "folder", FILE_ATTRIBUTE_DIRECTORY },
        { "folder-link", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT },
        { "mounted", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT },
    };
    EXPECT_EQ(Listed(), expected);
    // FindFirstFile tells them apart the same way.
    EXPECT_EQ(Found(), expected);
    // A link's own attributes say so; a drive's root is no reparse point of its own drive.
    EXPECT_EQ(GetFileAttributes("T:\\folder-link") & FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(GetFileAttributes("U:\\") & FILE_ATTRIBUTE_REPARSE_POINT, 0U);
}

TEST_F(FolderListingTest, AMissingFolderIsAnError)
{
    std::vector<CFolderEntry> entries;
    EXPECT_FALSE(ListFolderEntries("T:\\missing", entries));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(ListFolderEntries("T:\\file.txt", entries));
}

TEST_F(FolderListingTest, FixedDrivesAreWalkedFromTheHomeFolderOnTheRoot)
{
    TempFolder home;
    home.WriteFile("a/x.txt", "x");
    home.WriteFile("b/y.txt", "y");
    ScopedVariable setHome("HOME", home.Path().string());
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    const std::string strHome = ProgramPathFromHostPath(home.Path().string()) + "\\";
    EXPECT_EQ(GetFixedDriveFolders(), (std::vector<std::string> { strHome, "T:\\", "U:\\" }));
    // The home folder's a and b, T:'s folder (its link and U:'s root do not count), none on U:.
    EXPECT_EQ(CountSubfolders(GetFixedDriveFolders()), 3);
}

} // namespace
