#include "platform/base/PathMap.h"

#include "platform/base/DriveTable.h"
#include "platform/base/HostFile.h"
#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace {

std::string FullPath(const char* pszPath)
{
    char szBuffer[MAX_PATH];
    DWORD dwLength = GetFullPathName(pszPath, MAX_PATH, szBuffer, nullptr);
    return dwLength && dwLength < MAX_PATH ? std::string(szBuffer) : std::string("<failed>");
}

std::string HostPath(const std::string& strPath)
{
    std::string strHost;
    return HostPathFromProgramPath(strPath.c_str(), strHost) ? strHost : std::string("<failed>");
}

class PathMapTest : public DriveFolderTest { };

}

TEST_F(PathMapTest, FoldsDotsAndSeparators)
{
    EXPECT_EQ(FullPath("C:\\a\\.\\b\\..\\c"), "C:\\a\\c");
    EXPECT_EQ(FullPath("c:/a//b/"), "C:\\a\\b\\");
    EXPECT_EQ(FullPath("C:\\..\\..\\x"), "C:\\x");
    EXPECT_EQ(FullPath("C:\\a\\.."), "C:\\");
    EXPECT_EQ(FullPath("\\\\?\\C:\\a\\b"), "C:\\a\\b");
    EXPECT_EQ(FullPath("\\\\srv\\share\\..\\..\\x"), "\\\\srv\\share\\x");
    EXPECT_EQ(FullPath("\\\\?\\UNC\\srv\\share\\y"), "\\\\srv\\share\\y");
}

TEST(HostNamesTest, AJoinPutsExactlyOneSlashBetween)
{
    EXPECT_EQ(JoinHostPath("/srv/docs", "a.txt"), "/srv/docs/a.txt");
    EXPECT_EQ(JoinHostPath("/srv/docs/", "a.txt"), "/srv/docs/a.txt");
    EXPECT_EQ(JoinHostPath("", "a.txt"), "/a.txt");
    std::string strPath = "/";
    for (const char* pszName : { "srv", "docs", "a.txt" })
        AppendHostName(strPath, pszName);
    EXPECT_EQ(strPath, "/srv/docs/a.txt");
}

TEST_F(PathMapTest, RelativePathsCountFromTheCurrentDirectory)
{
    std::filesystem::create_directories(Folder() / "work" / "sub");
    ASSERT_TRUE(SetCurrentDirectory(OnT("work").c_str()));
    EXPECT_EQ(FullPath("sub\\f.txt"), "T:\\work\\sub\\f.txt");
    EXPECT_EQ(FullPath("..\\g.txt"), "T:\\g.txt");
    EXPECT_EQ(FullPath("\\rooted"), "T:\\rooted");
    EXPECT_EQ(FullPath("T:rel"), "T:\\work\\rel");
    EXPECT_EQ(FullPath("C:rel"), "C:\\rel"); // Another drive: from its root.
    EXPECT_EQ(HostPath("sub"), (Folder() / "work" / "sub").string());
}

TEST_F(PathMapTest, FilePartAndBufferSizes)
{
    char szBuffer[MAX_PATH];
    LPTSTR pszFilePart = nullptr;
    DWORD dwLength = GetFullPathName("C:\\dir\\name.txt", MAX_PATH, szBuffer, &pszFilePart);
    EXPECT_EQ(dwLength, 15u);
    ASSERT_NE(pszFilePart, nullptr);
    EXPECT_STREQ(pszFilePart, "name.txt");
    GetFullPathName("C:\\dir\\", MAX_PATH, szBuffer, &pszFilePart);
    EXPECT_EQ(pszFilePart, nullptr);
    // Too small: the size needed with the zero, buffer untouched.
    char szSmall[4] = "abc";
    EXPECT_EQ(GetFullPathName("C:\\dir\\name.txt", sizeof(szSmall), szSmall, nullptr), 16u);
    EXPECT_STREQ(szSmall, "abc");
}

TEST_F(PathMapTest, MalformedPathsAreRefused)
{
    std::string strHost;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(HostPathFromProgramPath("C:\\a|b", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(HostPathFromProgramPath("C:\\a\\b:c", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(HostPathFromProgramPath("", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(HostPathFromProgramPath("1:\\x", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(HostPathFromProgramPath("\\\\.\\pipe\\x", strHost));
    EXPECT_FALSE(HostPathFromProgramPath("\\\\?\\", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(HostPathFromProgramPath(nullptr, strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(HostPathFromProgramPath("\\\\server", strHost));
    EXPECT_EQ(GetLastError(), ERROR_BAD_NETPATH);
    EXPECT_FALSE(HostPathFromProgramPath("Q:\\x", strHost));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DRIVE);
    EXPECT_FALSE(HostPathFromProgramPath("\\\\nobody\\nothing\\x", strHost));
    EXPECT_EQ(GetLastError(), ERROR_BAD_NETPATH);
}

TEST_F(PathMapTest, ComponentsMissingByCaseAreFoundCaseInsensitively)
{
    Write("Letters/Ana/Report.ODT");
    EXPECT_EQ(HostPath(OnT("letters\\ana\\report.odt")), (Folder() / "Letters" / "Ana" / "Report.ODT").string());
    // Beyond the first missing component the rest is kept as given.
    EXPECT_EQ(HostPath(OnT("LETTERS\\New\\Draft.odt")), (Folder() / "Letters" / "New" / "Draft.odt").string());
}

TEST_F(PathMapTest, FoldersFoundByCaseAreFoundAgainWhenTheyAreRenamedOrGone)
{
    Write("Letters/Ana/Report.ODT");
    const std::string strReport = OnT("letters\\ana\\report.odt");
    EXPECT_EQ(HostPath(strReport), (Folder() / "Letters" / "Ana" / "Report.ODT").string());
    EXPECT_EQ(HostPath(OnT("letters\\ana\\new.odt")), (Folder() / "Letters" / "Ana" / "new.odt").string());
    std::filesystem::rename(Folder() / "Letters" / "Ana", Folder() / "Letters" / "aNA");
    EXPECT_EQ(HostPath(strReport), (Folder() / "Letters" / "aNA" / "Report.ODT").string());
    std::filesystem::remove_all(Folder() / "Letters");
    EXPECT_EQ(HostPath(strReport), (Folder() / "letters" / "ana" / "report.odt").string());
}

TEST_F(PathMapTest, TwoNamesDifferingOnlyInCase)
{
    Write("box/Notes.txt", "upper");
    Write("box/notes.TXT", "lower");
    // An exact match wins over a case variant.
    EXPECT_EQ(HostPath(OnT("box\\Notes.txt")), (Folder() / "box" / "Notes.txt").string());
    EXPECT_EQ(HostPath(OnT("box\\notes.TXT")), (Folder() / "box" / "notes.TXT").string());
    // Otherwise the first in byte order: "Notes.txt" < "notes.TXT".
    EXPECT_EQ(HostPath(OnT("box\\NOTES.TXT")), (Folder() / "box" / "Notes.txt").string());
    EXPECT_EQ(HostPath(OnT("box\\notes.txt")), (Folder() / "box" / "Notes.txt").string());
}

TEST_F(PathMapTest, APathIsAmbiguousWhenANameOnItsWayHasACaseTwin)
{
    Write("box/Notes.txt");
    Write("box/notes.TXT");
    Write("box/single.txt");
    Write("Shelf/a.txt");
    Write("shelf/b.txt");
    // Twins, in whatever case the path spells them.
    for (const char* pszPath : { "box\\notes.txt", "box\\Notes.txt", "BOX\\NOTES.TXT" })
        EXPECT_TRUE(IsPathCaseAmbiguous(OnT(pszPath).c_str())) << pszPath;
    // A file of one name, even in a folder holding twins.
    EXPECT_FALSE(IsPathCaseAmbiguous(OnT("box\\SINGLE.txt").c_str()));
    // Twin folders make every path through them ambiguous.
    EXPECT_TRUE(IsPathCaseAmbiguous(OnT("shelf\\a.txt").c_str()));
    EXPECT_TRUE(IsPathCaseAmbiguous(OnT("shelf").c_str()));
    // What does not exist names nothing.
    EXPECT_FALSE(IsPathCaseAmbiguous(OnT("box\\missing.txt").c_str()));
    EXPECT_FALSE(IsPathCaseAmbiguous("Q:\\x"));
}

// A file opened for reading is first tried as written: it must be the file
// the lookup finds, an exact name, and else the first case variant.
TEST_F(PathMapTest, AFileOpensAsTheLookupFindsIt)
{
    Write("box/Notes.txt", "upper");
    Write("box/notes.TXT", "lower");
    std::string strAsWritten;
    ASSERT_TRUE(HostPathAsWritten(OnT("box\\notes.TXT").c_str(), strAsWritten));
    EXPECT_EQ(strAsWritten, HostPath(OnT("box\\notes.TXT")));
    const auto read = [&](const char* pszRelative) {
        CHostFile file;
        std::string strText(8, '\0');
        if (!file.Open(OnT(pszRelative).c_str(), CHostFile::Access::Read))
            return std::string("<failed>");
        const std::int64_t nRead = file.ReadAt(0, std::span(reinterpret_cast<BYTE*>(strText.data()), strText.size()));
        strText.resize(nRead > 0 ? static_cast<std::size_t>(nRead) : 0);
        return strText;
    };
    EXPECT_EQ(read("box\\notes.TXT"), "lower");
    EXPECT_EQ(read("box\\Notes.txt"), "upper");
    EXPECT_EQ(read("BOX\\NOTES.TXT"), "upper");
    EXPECT_EQ(read("box\\missing.txt"), "<failed>");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(PathMapTest, CaseFoldingCoversNonAsciiLetters)
{
    Write("Ärger/Ñandú.txt");
    EXPECT_EQ(HostPath(OnT("äRGER\\ñANDÚ.TXT")), (Folder() / "Ärger" / "Ñandú.txt").string());
}

TEST_F(PathMapTest, BatchFindsEachFolderOnceAndAsWithoutIt)
{
    Write("Letters/Ana/Report.ODT");
    Write("Letters/Ana/notes.txt");
    const std::vector<std::string> paths { OnT("letters\\ana\\report.odt"), OnT("letters\\ana\\notes.txt"),
        OnT("letters\\ana\\missing.txt"), OnT("letters\\bob\\x.txt"), OnT("letters\\bob\\y.txt"), OnT("letters"),
        OnT("LETTERS\\ANA\\REPORT.ODT") };
    std::vector<std::string> unbatched;
    for (const std::string& strPath : paths)
        unbatched.push_back(HostPath(strPath));
    {
        const CPathLookupBatch batch;
        for (size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(HostPath(paths[i]), unbatched[i]) << paths[i];
        // Within the batch the folders are taken as they were first found.
        std::filesystem::rename(Folder() / "Letters" / "Ana", Folder() / "Letters" / "ANA2");
        EXPECT_EQ(HostPath(paths[1]), unbatched[1]);
    }
    // A folder asked for often is listed; names are then found in the listing.
    for (int i = 0; i < 40; ++i)
        Write("Many/File" + std::to_string(i) + ".txt");
    Write("Many/file0.TXT");
    {
        const CPathLookupBatch batch;
        for (int nRound = 0; nRound < 2; ++nRound) {
            for (int i = 0; i < 40; ++i) {
                EXPECT_EQ(HostPath(OnT("many\\file" + std::to_string(i) + ".txt")),
                    (Folder() / "Many" / ("File" + std::to_string(i) + ".txt")).string());
            }
            EXPECT_EQ(HostPath(OnT("many\\file0.TXT")), (Folder() / "Many" / "file0.TXT").string());
            EXPECT_EQ(HostPath(OnT("many\\FILE0.TXT")), (Folder() / "Many" / "File0.txt").string());
            EXPECT_EQ(HostPath(OnT("many\\none.txt")), (Folder() / "Many" / "none.txt").string());
        }
    }
    // A name missed as written lists its folder at once: the next names,
    // even a few, are found by case in that listing.
    {
        const CPathLookupBatch batch;
        EXPECT_EQ(HostPath(OnT("many\\none.txt")), (Folder() / "Many" / "none.txt").string());
        EXPECT_EQ(HostPath(OnT("many\\file7.txt")), (Folder() / "Many" / "File7.txt").string());
        Write("Many/Late.txt");
        EXPECT_EQ(HostPath(OnT("many\\late.txt")), (Folder() / "Many" / "late.txt").string());
    }
    EXPECT_EQ(HostPath(OnT("many\\late.txt")), (Folder() / "Many" / "Late.txt").string());
    // Once it ends, every lookup sees the file system again.
    EXPECT_EQ(HostPath(paths[1]), (Folder() / "Letters" / "ana" / "notes.txt").string());
}

TEST_F(PathMapTest, ProgramPathsOfHostPathsUseTheClosestDrive)
{
    std::string strFolder = Folder().Path().string();
    EXPECT_EQ(ProgramPathFromHostPath(strFolder + "/a/b.txt"), "T:\\a\\b.txt");
    EXPECT_EQ(ProgramPathFromHostPath(strFolder), "T:\\");
    EXPECT_EQ(ProgramPathFromHostPath(strFolder + "/x/../y/"), "T:\\y");
    EXPECT_EQ(ProgramPathFromHostPath("/"), "C:\\");
    EXPECT_EQ(ProgramPathFromHostPath("/usr/share"), "C:\\usr\\share");
    // A folder whose name merely starts like the drive's is not on it.
    std::string strOther = ProgramPathFromHostPath(strFolder + "-other/x");
    EXPECT_TRUE(strOther.starts_with("C:\\")) << strOther;
    EXPECT_TRUE(strOther.ends_with("-other\\x")) << strOther;
    // Two letters on one folder: the lower one.
    ASSERT_TRUE(SetDriveOverride('S', strFolder.c_str(), DRIVE_FIXED));
    EXPECT_EQ(ProgramPathFromHostPath(strFolder + "/q"), "S:\\q");
}

TEST_F(PathMapTest, WithoutARootDriveOnlyDrivesAndSharesMap)
{
    ASSERT_TRUE(SetDriveOverride('C', nullptr, 0));
    EXPECT_EQ(ProgramPathFromHostPath("/usr"), "");
    EXPECT_EQ(HostPath("C:\\usr"), "<failed>");
}

TEST_F(PathMapTest, UncNamesReachMountedShares)
{
    std::string strFolder = Folder().Path().string();
    std::filesystem::create_directories(Folder() / "nfs" / "Projects");
    std::filesystem::create_directories(Folder() / "cifs");
    std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 0:50 / "
        + strFolder + "/nfs rw - nfs4 fileserver:/export/archive rw\n3 1 0:51 / " + strFolder
        + "/cifs rw - cifs //Office-PC/Documents rw\n";
    ReloadDriveTable(strMounts.c_str());

    EXPECT_EQ(HostPath("\\\\FileServer\\ARCHIVE\\projects\\x.txt"), strFolder + "/nfs/Projects/x.txt");
    EXPECT_EQ(HostPath("//office-pc/documents"), strFolder + "/cifs");
    // The shares got letters too, closer than T:; host paths map back through them.
    std::string strNfs = ProgramPathFromHostPath(strFolder + "/nfs/Projects");
    EXPECT_EQ(strNfs.substr(1), ":\\Projects");
    EXPECT_EQ(GetDriveTable()->GetDrive(strNfs[0])->uType, DRIVE_REMOTE);
    // With no drive holding it, a host path maps to the share's UNC name.
    for (char chLetter : { strNfs[0], 'T', 'C' })
        ASSERT_TRUE(SetDriveOverride(chLetter, nullptr, 0));
    EXPECT_EQ(ProgramPathFromHostPath(strFolder + "/nfs/Projects"), "\\\\fileserver\\archive\\Projects");
}

TEST_F(PathMapTest, CurrentDirectoryMustBeAnExistingFolder)
{
    Write("file.txt");
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SetCurrentDirectory(OnT("missing").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDirectory(OnT("missing\\deeper").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDirectory(OnT("file.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    ASSERT_TRUE(SetCurrentDirectory("T:\\"));
    char szCurrent[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectory(MAX_PATH, szCurrent), 3u);
    EXPECT_STREQ(szCurrent, "T:\\");
    EXPECT_EQ(GetCurrentDirectory(2, szCurrent), 4u);
}
