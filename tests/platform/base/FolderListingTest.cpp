#include "platform/base/FolderListing.h"

#include "platform/base/FileFind.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"
#include "tests/support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

TEST_F(FolderListingTest, AFolderOfManyEntriesIsListedWholeAndSorted)
{
    // More entries than one read of the folder returns.
    constexpr int ENTRIES = 3000;
    fs::create_directory(Folder() / "many");
    for (int n = ENTRIES; n > 0; --n)
        std::ofstream(Folder() / "many" / ("entry-with-a-longer-name-" + std::to_string(n)));
    CListedFolder folder;
    ASSERT_TRUE(folder.List("T:\\many"));
    ASSERT_EQ(folder.GetEntries().size(), static_cast<std::size_t>(ENTRIES));
    EXPECT_TRUE(std::is_sorted(folder.GetEntries().begin(), folder.GetEntries().end(),
        [](const CFolderEntry& a, const CFolderEntry& b) { return a.strName < b.strName; }));
    EXPECT_EQ(folder.GetEntries().front().strName, "entry-with-a-longer-name-1");
    EXPECT_EQ(folder.GetEntries().front().dwAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FolderListingTest, AMissingFolderIsAnError)
{
    std::vector<CFolderEntry> entries;
    EXPECT_FALSE(ListFolderEntries("T:\\missing", entries));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(ListFolderEntries("T:\\file.txt", entries));
}

// What opening a file gives: its bytes, or the error.
std::string Opened(CHostFile& file, BOOL bOpened)
{
    if (!bOpened)
        return "error " + std::to_string(GetLastError());
    std::string strBytes(64, '\0');
    const std::int64_t nRead = file.ReadAt(0, { reinterpret_cast<BYTE*>(strBytes.data()), strBytes.size() });
    strBytes.resize(nRead > 0 ? static_cast<std::size_t>(nRead) : 0);
    return strBytes;
}

TEST_F(FolderListingTest, AListedFolderOpensEachNameAsItsPathOpens)
{
    Write("Mixed/Readme.txt", "readme");
    Write("Mixed/inner/deep.txt", "deep");
    Write("Mixed/a<b", "no program name");
    // The folder is asked for in another case: the listing finds it as the lookup does.
    CListedFolder folder;
    ASSERT_TRUE(folder.List("T:\\mixed"));
    std::vector<CFolderEntry> entries;
    ASSERT_TRUE(ListFolderEntries("T:\\mixed", entries));
    ASSERT_EQ(folder.GetEntries().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(folder.GetEntries()[i].strName, entries[i].strName);
    // Listed names, another case, a path below, a folder, a name no program path holds, a missing name.
    for (const char* pszName :
        { "Readme.txt", "README.TXT", "inner\\deep.txt", "inner/deep.txt", "inner", "..", "a<b", "missing.txt", "" }) {
        CHostFile byName;
        CHostFile byPath;
        const std::string strByName = Opened(byName, byName.OpenIn(folder, pszName, CHostFile::Access::Read));
        const std::string strByPath
            = Opened(byPath, byPath.Open((std::string("T:\\mixed\\") + pszName).c_str(), CHostFile::Access::Read));
        EXPECT_EQ(strByName, strByPath) << pszName;
    }
    CHostFile file;
    EXPECT_EQ(Opened(file, file.OpenIn(folder, "README.TXT", CHostFile::Access::Read)), "readme");
    folder.Close();
    CHostFile closed;
    EXPECT_FALSE(closed.OpenIn(folder, "Readme.txt", CHostFile::Access::Read));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FolderListingTest, ASubFolderListsByItsNameAsItsPathLists)
{
    Write("Mixed/inner/deep.txt", "deep");
    Write("Mixed/inner/Other.txt", "other");
    Write("Mixed/Readme.txt", "readme");
    CListedFolder parent;
    ASSERT_TRUE(parent.List("T:\\mixed\\"));
    // Its own name and another case (which only the lookup by path finds).
    for (const char* pszName : { "inner", "INNER" }) {
        CListedFolder byName;
        ASSERT_TRUE(byName.ListIn(parent, pszName)) << pszName;
        CListedFolder byPath;
        ASSERT_TRUE(byPath.List((std::string("T:\\mixed\\") + pszName).c_str()));
        ASSERT_EQ(byName.GetEntries().size(), 2U);
        for (std::size_t i = 0; i < byName.GetEntries().size(); ++i)
            EXPECT_EQ(byName.GetEntries()[i].strName, byPath.GetEntries()[i].strName);
        CHostFile file;
        EXPECT_EQ(Opened(file, file.OpenIn(byName, "deep.txt", CHostFile::Access::Read)), "deep") << pszName;
    }
    CListedFolder failed;
    EXPECT_FALSE(failed.ListIn(parent, "missing"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(failed.ListIn(parent, "Readme.txt"));
    EXPECT_FALSE(failed.IsOpen());
    parent.Close();
    EXPECT_FALSE(failed.ListIn(parent, "inner"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FolderListingTest, AFolderRenamedOrRemovedWhileListed)
{
    CListedFolder folder;
    ASSERT_TRUE(folder.List("T:\\folder\\"));
    // Renamed, its files still open in it as it was listed.
    fs::rename(Folder() / "folder", Folder() / "moved");
    CHostFile renamed;
    EXPECT_EQ(Opened(renamed, renamed.OpenIn(folder, "inner.txt", CHostFile::Access::Read)), "x");
    // Removed, a listed file is missing, as its path is.
    fs::remove_all(Folder() / "moved");
    CHostFile removed;
    EXPECT_FALSE(removed.OpenIn(folder, "inner.txt", CHostFile::Access::Read));
    EXPECT_TRUE(IsMissingFileError(GetLastError()));
    EXPECT_FALSE(folder.List("T:\\folder\\"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(folder.IsOpen());
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
