#include "platform/base/TrashFolders.h"

#include "platform/base/FileFind.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "tests/platform/base/DriveFolderFixture.h"
#include "tests/support/ScopedVariable.h"

#include <filesystem>
#include <vector>

#include <unistd.h>

namespace {

// T: is the fixture's folder; D: a fixed drive of its own, a mount at <folder>/d
// whose top-directory trash holds one item; the home trash lies in <folder>/data.
class TrashFoldersTest : public DriveFolderTest {
protected:
    void SetUp() override
    {
        DriveFolderTest::SetUp();
        m_strRoot = Folder().Path().string();
        std::string strMounts
            = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 8:2 / " + m_strRoot + "/d rw - ext4 /dev/sdb1 rw\n";
        ReloadDriveTable(strMounts.c_str());
        ASSERT_TRUE(SetDriveOverride('D', (m_strRoot + "/d").c_str(), DRIVE_FIXED));
        m_pDataHome = std::make_unique<ScopedVariable>("XDG_DATA_HOME", m_strRoot + "/data");
        m_strUid = std::to_string(getuid());
        Write("data/Trash/files/dc1.txt");
        Write("data/Trash/files/dd2.txt");
        Write("data/Trash/files/report.odt");
        Write("d/.Trash-" + m_strUid + "/files/dd1.doc");
        Write("d/RECYCLED/hidden.txt");
    }

    static std::vector<std::string> Find(const std::string& strPattern)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATA data;
        HANDLE hFind = FindFirstFile(strPattern.c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
            names.emplace_back(data.cFileName);
        while (FindNextFile(hFind, &data));
        FindClose(hFind);
        return names;
    }

    std::string m_strRoot;
    std::string m_strUid;
    std::unique_ptr<ScopedVariable> m_pDataHome;
};

} // namespace

TEST(RecycledNameTest, OnlyTheBinsOwnFormCounts)
{
    TCHAR chLetter = 0;
    unsigned long long nNumber = 0;
    EXPECT_TRUE(ParseRecycledName("dc13.txt", &chLetter, &nNumber));
    EXPECT_EQ(chLetter, 'C');
    EXPECT_EQ(nNumber, 13u);
    EXPECT_TRUE(ParseRecycledName("DE7", &chLetter, &nNumber));
    EXPECT_EQ(chLetter, 'E');
    EXPECT_TRUE(ParseRecycledName("dc99999999999999999999999.x", nullptr, &nNumber));
    EXPECT_EQ(nNumber, ~0ULL) << "a number too large saturates";
    for (const char* pszForeign : { "dc.txt", "report.odt", "dc13x.txt", "dc13.tar.gz", "d113", "dc", "x13" })
        EXPECT_FALSE(ParseRecycledName(pszForeign, nullptr, nullptr)) << pszForeign;
}

TEST_F(TrashFoldersTest, DrivesSeeTheirOwnTrashesThenTheHomeTrash)
{
    std::vector<CTrashFolder> trashes = TrashesOfDrive('d');
    ASSERT_EQ(trashes.size(), 2u);
    EXPECT_EQ(trashes[0].strPath, m_strRoot + "/d/.Trash-" + m_strUid);
    EXPECT_EQ(trashes[0].strTopDir, m_strRoot + "/d");
    EXPECT_EQ(trashes[0].chLetter, 'D');
    EXPECT_TRUE(trashes[1].IsHomeTrash());
    EXPECT_EQ(TrashesOfDrive('C').size(), 1u) << "only the home trash";

    // Home trash items go under the letter their name gives, others under the
    // drive holding the home trash (T:, the fixture's folder).
    EXPECT_EQ(RecycledItemLetter(trashes[1], "dd2.txt"), 'D');
    EXPECT_EQ(RecycledItemLetter(trashes[1], "report.odt"), 'T');
    EXPECT_EQ(RecycledItemLetter(trashes[1], "dq5.txt"), 'T') << "Q: is no drive";
}

TEST_F(TrashFoldersTest, RecycleFolderMapsBothWays)
{
    std::string strHost;
    ASSERT_TRUE(HostPathFromProgramPath("D:\\Recycled\\DD1.DOC", strHost));
    EXPECT_EQ(strHost, m_strRoot + "/d/.Trash-" + m_strUid + "/files/dd1.doc") << "the drive's own trash first";
    ASSERT_TRUE(HostPathFromProgramPath("D:\\RECYCLED\\dd2.txt", strHost));
    EXPECT_EQ(strHost, m_strRoot + "/data/Trash/files/dd2.txt");
    EXPECT_EQ(ProgramPathFromHostPath(m_strRoot + "/data/Trash/files/dd2.txt"), "D:\\RECYCLED\\dd2.txt");
    EXPECT_EQ(ProgramPathFromHostPath(m_strRoot + "/data/Trash/files/report.odt"), "T:\\RECYCLED\\report.odt");
    EXPECT_EQ(ProgramPathFromHostPath(m_strRoot + "/d/.Trash-" + m_strUid + "/files/dd1.doc"), "D:\\RECYCLED\\dd1.doc");
    // The trash folders themselves are ordinary paths.
    EXPECT_EQ(
        ProgramPathFromHostPath(m_strRoot + "/d/.Trash-" + m_strUid + "/info"), "D:\\.Trash-" + m_strUid + "\\info");

    EXPECT_NE(GetFileAttributes("D:\\RECYCLED\\dd1.doc"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributes("D:\\RECYCLED\\hidden.txt"), INVALID_FILE_ATTRIBUTES)
        << "a host folder of that name is hidden by the recycle folder";
}

TEST_F(TrashFoldersTest, SearchesListEveryTrashOfTheDrive)
{
    EXPECT_EQ(Find("D:\\RECYCLED\\*"), (std::vector<std::string> { "dc1.txt", "dd1.doc", "dd2.txt", "report.odt" }));
    EXPECT_EQ(Find("C:\\recycled\\d*.txt"), (std::vector<std::string> { "dc1.txt", "dd2.txt" }));
    std::vector<std::string> root = Find("D:\\*");
    EXPECT_EQ(std::count(root.begin(), root.end(), "RECYCLED"), 0) << "the host folder stays hidden";
}

TEST_F(TrashFoldersTest, ListingsPassTrashesOverButNotFoldersOfTheirNamesElsewhere)
{
    Write("data/other/Trash/kept.txt");
    Write("d/sub/.Trash-" + m_strUid + "/kept.txt");
    auto listed = [](const char* pszFolder) {
        std::vector<std::string> names;
        std::vector<CFolderEntry> entries;
        EXPECT_TRUE(ListFolderEntries(pszFolder, entries)) << pszFolder;
        for (const CFolderEntry& entry : entries)
            names.push_back(entry.strName);
        return names;
    };
    EXPECT_EQ(Find("T:\\data\\*"), (std::vector<std::string> { ".", "..", "other" }));
    EXPECT_EQ(listed("T:\\data"), (std::vector<std::string> { "other" }));
    EXPECT_EQ(listed("D:\\"), (std::vector<std::string> { "RECYCLED", "sub" }));
    EXPECT_EQ(Find("T:\\data\\other\\*"), (std::vector<std::string> { ".", "..", "Trash" })) << "not the home trash";
    EXPECT_EQ(listed("D:\\sub"), (std::vector<std::string> { ".Trash-" + m_strUid })) << "not a top directory";
}
