#include "platform/base/FileFind.h"

#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

class FileFindTest : public DriveFolderTest {
protected:
    // Every name a search returns, in order; empty when it finds nothing.
    static std::vector<std::string> Find(const std::string& strPattern, DWORD* pdwError = nullptr)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATA data;
        HANDLE hFind = FindFirstFile(strPattern.c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE) {
            if (pdwError)
                *pdwError = GetLastError();
            return names;
        }
        do
            names.emplace_back(data.cFileName);
        while (FindNextFile(hFind, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(hFind));
        return names;
    }

    static WIN32_FIND_DATA FindOne(const std::string& strPath)
    {
        WIN32_FIND_DATA data {};
        HANDLE hFind = FindFirstFile(strPath.c_str(), &data);
        EXPECT_NE(hFind, INVALID_HANDLE_VALUE) << strPath;
        if (hFind != INVALID_HANDLE_VALUE)
            FindClose(hFind);
        return data;
    }
};

using Names = std::vector<std::string>;

}

TEST(FilePatternTest, MatchesAsWindowsDoes)
{
    struct {
        const char* pszPattern;
        const char* pszName;
        bool bMatch;
    } cases[] = {
        { "*", "anything", true },
        { "*.*", "noextension", true },
        { "*.txt", "a.TXT", true },
        { "*.txt", "a.txt.bak", false },
        { "a*b", "ab", true },
        { "a*b", "axxbyyb", true },
        { "a*b", "axxbyy", false },
        { "?", "a", true },
        { "?", "ab", false },
        { "file??.txt", "file1.txt", true }, // "?" before a dot may match nothing.
        { "file??.txt", "file123.txt", false },
        { "a?", "a", true }, // ... as at the end.
        { "report.*", "report", true },
        { "report.*", "report.odt", true },
        { "report.*", "reports", false },
        { "*.d?c", "x.doc", true },
        { "ÉTÉ*", "été 2024", true },
        { "[ab]", "[ab]", true },
        { "[ab]", "a", false },
    };
    for (const auto& test : cases)
        EXPECT_EQ(MatchesFilePattern(test.pszPattern, test.pszName), test.bMatch)
            << test.pszPattern << " ~ " << test.pszName;
}

TEST(FilePatternTest, ManyStarsDoNotBlowUp)
{
    std::string strName(250, 'a');
    EXPECT_FALSE(MatchesFilePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", strName));
    EXPECT_TRUE(MatchesFilePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*", strName));
    EXPECT_FALSE(MatchesFilePattern(std::string(300, '?') + "b", strName));
}

TEST_F(FileFindTest, ListsDotEntriesThenNamesInCaseFoldedOrder)
{
    Write("dir/beta.txt");
    Write("dir/Alpha.txt");
    Write("dir/gamma");
    std::filesystem::create_directory(Folder() / "dir" / "Sub");
    EXPECT_EQ(Find(OnT("dir\\*")), (Names { ".", "..", "Alpha.txt", "beta.txt", "gamma", "Sub" }));
    EXPECT_EQ(Find(OnT("dir\\*.*")), (Names { ".", "..", "Alpha.txt", "beta.txt", "gamma", "Sub" }));
    EXPECT_EQ(Find(OnT("DIR\\*.TXT")), (Names { "Alpha.txt", "beta.txt" }));
    // A drive root has no "." and "..".
    EXPECT_EQ(Find("T:\\*"), (Names { "dir" }));
}

TEST_F(FileFindTest, TwoNamesDifferingOnlyInCaseAreBothListed)
{
    Write("box/Notes.txt");
    Write("box/notes.txt");
    EXPECT_EQ(Find(OnT("box\\notes.*")), (Names { "Notes.txt", "notes.txt" }));
    EXPECT_STREQ(FindOne(OnT("box\\NOTES.TXT")).cFileName, "Notes.txt");
}

TEST_F(FileFindTest, PatternsAlsoMatchShortNames)
{
    Write("site/index.html");
    Write("site/page.htm");
    EXPECT_EQ(Find(OnT("site\\*.htm")), (Names { "index.html", "page.htm" }));
    WIN32_FIND_DATA data = FindOne(OnT("site\\index.html"));
    EXPECT_STREQ(data.cAlternateFileName, "INDEX~1.HTM");
    EXPECT_STREQ(FindOne(OnT("site\\page.htm")).cAlternateFileName, "");
    EXPECT_STREQ(FindOne(OnT("site\\INDEX~1.HTM")).cFileName, "index.html");
}

TEST_F(FileFindTest, ReportsAttributesSizesAndTimes)
{
    Write("a/.hidden", "1234");
    std::string strReadOnly = Write("a/locked.txt", "1234567");
    std::filesystem::permissions(strReadOnly,
        std::filesystem::perms::owner_write | std::filesystem::perms::group_write
            | std::filesystem::perms::others_write,
        std::filesystem::perm_options::remove);
    std::filesystem::create_directory(Folder() / "a" / "folder");

    WIN32_FIND_DATA hidden = FindOne(OnT("a\\.hidden"));
    EXPECT_EQ(hidden.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(hidden.nFileSizeLow, 4u);
    WIN32_FIND_DATA locked = FindOne(OnT("a\\locked.txt"));
    EXPECT_EQ(locked.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(locked.nFileSizeLow, 7u);
    ULONGLONG nWrite
        = (ULONGLONG { locked.ftLastWriteTime.dwHighDateTime } << 32) | locked.ftLastWriteTime.dwLowDateTime;
    EXPECT_GT(nWrite, 133000000000000000ULL); // After 2022.
    EXPECT_EQ(FindOne(OnT("a\\folder")).dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    std::vector<std::string> names = Find(OnT("a\\*"));
    EXPECT_EQ(names, (Names { ".", "..", ".hidden", "folder", "locked.txt" }));
}

TEST_F(FileFindTest, MountPointsOfPseudoFileSystemsAreNotListed)
{
    std::filesystem::create_directories(Folder() / "root" / "proc");
    std::filesystem::create_directories(Folder() / "root" / "run");
    std::filesystem::create_directories(Folder() / "root" / "home");
    std::string strRoot = (Folder() / "root").string();
    std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 0:21 / "
        + strRoot + "/proc rw - proc proc rw\n3 1 0:22 / " + strRoot + "/run rw - sysfs sysfs rw\n";
    ReloadDriveTable(strMounts.c_str());
    EXPECT_EQ(Find(OnT("root\\*")), (Names { ".", "..", "home" }));
}

TEST_F(FileFindTest, FailuresSetTheLastError)
{
    Write("f.txt");
    DWORD dwError = 0;
    EXPECT_TRUE(Find(OnT("*.doc"), &dwError).empty());
    EXPECT_EQ(dwError, ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(Find(OnT("missing\\*"), &dwError).empty());
    EXPECT_EQ(dwError, ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(Find(OnT("f.txt\\*"), &dwError).empty());
    EXPECT_EQ(dwError, ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(Find(OnT(""), &dwError).empty());
    EXPECT_EQ(dwError, ERROR_FILE_NOT_FOUND);

    WIN32_FIND_DATA data;
    EXPECT_FALSE(FindNextFile(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(nullptr));
    // A handle of another kind is not a search.
    HANDLE hOther = CreateKernelHandle(std::make_shared<CKernelObject>());
    EXPECT_FALSE(FindClose(hOther));
    EXPECT_TRUE(CloseHandle(hOther));
}

TEST_F(FileFindTest, RelativePatternsUseTheCurrentDirectory)
{
    Write("w/one.txt");
    ASSERT_TRUE(SetCurrentDirectory(OnT("w").c_str()));
    EXPECT_EQ(Find("*.txt"), (Names { "one.txt" }));
    EXPECT_EQ(Find("T:*.txt"), (Names { "one.txt" }));
    EXPECT_EQ(Find("..\\w\\*.txt"), (Names { "one.txt" }));
}
