#include "store/CCatalogFiles.h"

#include "platform/base/CTime.h"
#include "platform/base/Clock.h"
#include "platform/base/TimeFunctions.h"
#include "platform/base/WinError.h"
#include "tests/store/CatalogFilesFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The list box of the backup list, as lines.
class CLineList : public CBackupInfoList {
public:
    int AddString(LPCTSTR pszText) override
    {
        m_lines.emplace_back(pszText);
        return static_cast<int>(m_lines.size()) - 1;
    }
    std::vector<std::string> m_lines;
};

// The generation number a line carries, read as the backup list reads it.
int GenerationOfLine(const std::string& strLine)
{
    return std::atoi(strLine.c_str() + strLine.find('#') + 1);
}

}

/******************************************************************************
 * Generations
 ******************************************************************************/

TEST_F(CatalogFilesTest, NewGenerationsPushOlderOnesUpAndTheOldestDrops)
{
    for (const char* pszMarker : { "first", "second", "third", "fourth" })
        MakeGeneration(pszMarker, 3);
    ExpectGeneration(1, "fourth");
    ExpectGeneration(2, "third");
    ExpectGeneration(3, "second");
    EXPECT_FALSE(fs::exists(HostPath("archiv4.bck")));
    EXPECT_FALSE(fs::exists(HostPath("winrec4.bck")));
    EXPECT_EQ(Files().DeleteGenerations(), 3);

    // Keeping fewer generations drops the ones beyond the new count.
    MakeGeneration("fifth", 2);
    EXPECT_EQ(Files().DeleteGenerations(), 2);
    ExpectGeneration(2, "fourth");
    EXPECT_FALSE(fs::exists(HostPath("archiv3.bck")));

    // No temporary file is left behind.
    for (const auto& entry : fs::directory_iterator(Home()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(CatalogFilesTest, GenerationsStayAsTheyWereWhenTheCatalogChanges)
{
    MakeGeneration("kept");
    MakeGeneration("newer");
    std::vector<BYTE> generation1 = FileBytes("archiv1.bck");
    std::vector<BYTE> generation2 = FileBytes("archiv2.bck");
    {
        auto pMain = OpenCatalog("archiv.cat");
        AddNode(*Root(*pMain), "added later");
        ASSERT_TRUE(pMain->SetHeaderStrings("changed", ""));
    }
    EXPECT_EQ(FileBytes("archiv1.bck"), generation1);
    EXPECT_EQ(FileBytes("archiv2.bck"), generation2);
}

TEST_F(CatalogFilesTest, MakingAGenerationFailsCleanlyWithoutACatalogFile)
{
    MakeGeneration("only");
    fs::remove(HostPath("winrec.cat"));
    EXPECT_FALSE(Files().MakeGeneration(3));
    ExpectGeneration(1, "only");
    EXPECT_FALSE(fs::exists(HostPath("archiv2.bck")));
    EXPECT_FALSE(fs::exists(HostPath("archiv.bck.tmp")));

    WritePair("again");
    EXPECT_FALSE(Files().MakeGeneration(0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Files().MakeGeneration(CCatalogFiles::MAX_GENERATIONS + 1));
    EXPECT_EQ(Files().DeleteGenerations(), 1);
}

TEST_F(CatalogFilesTest, DeleteGenerationsRemovesLonePartnersAndCountsPairs)
{
    MakeGeneration("a");
    MakeGeneration("b");
    MakeGeneration("c");
    fs::remove(HostPath("winrec2.bck"));
    fs::copy_file(HostPath("archiv.cat"), HostPath("archiv7.bck"));
    fs::copy_file(HostPath("winrec.cat"), HostPath("winrec9.bck"));

    EXPECT_EQ(Files().DeleteGenerations(), 2);
    EXPECT_FALSE(fs::exists(HostPath("archiv2.bck")));
    EXPECT_FALSE(fs::exists(HostPath("archiv7.bck")));
    EXPECT_FALSE(fs::exists(HostPath("winrec9.bck")));
    EXPECT_TRUE(Files().HasGeneration(1));
    EXPECT_TRUE(Files().HasGeneration(3));
    EXPECT_FALSE(Files().HasGeneration(2));
}

TEST_F(CatalogFilesTest, BackupInfoListsCompleteGenerationsNewestFirst)
{
    CManualClock clock;
    CClockOverride useClock(clock);
    // 2026-03-01 09:30 UTC, then one day later each time.
    const ULONGLONG nStart = (1772357400ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND;
    clock.SetUtcNow(nStart);
    MakeGeneration("a");
    clock.Advance(86400 * 1000ULL);
    MakeGeneration("b");
    clock.Advance(86400 * 1000ULL);
    MakeGeneration("c");
    fs::remove(HostPath("winrec2.bck")); // generation 2 is incomplete now

    CLineList list;
    EXPECT_EQ(Files().FormatBackupInfo(list), 2);
    ASSERT_EQ(list.m_lines.size(), 2U);
    EXPECT_EQ(GenerationOfLine(list.m_lines[0]), 1);
    EXPECT_EQ(GenerationOfLine(list.m_lines[1]), 3);
    // Each line starts with the local time at which its copy was made.
    std::string strNewest(CTime(FileTimeFromUInt64(nStart + 2 * 86400 * FILETIME_UNITS_PER_SECOND)).Format("%c"));
    std::string strOldest(CTime(FileTimeFromUInt64(nStart)).Format("%c"));
    EXPECT_EQ(list.m_lines[0], strNewest + "  #1");
    EXPECT_EQ(list.m_lines[1], strOldest + "  #3");
}

/******************************************************************************
 * Restores
 ******************************************************************************/

TEST_F(CatalogFilesTest, RotateOldThenRestoreOldGenerationGivesTheOriginalBytesBack)
{
    MakeGeneration("backed up");
    WritePair("current");
    std::vector<BYTE> currentMain = FileBytes("archiv.cat");
    std::vector<BYTE> currentRecycle = FileBytes("winrec.cat");
    std::vector<BYTE> backupMain = FileBytes("archiv1.bck");
    EXPECT_FALSE(Files().HasOldGeneration());

    ASSERT_TRUE(Files().RotateOld(1));
    EXPECT_EQ(FileBytes("archiv.cat"), backupMain);
    EXPECT_EQ(Marker("winrec.cat"), "backed up");
    EXPECT_TRUE(HoldsSystem("backed up"));
    EXPECT_EQ(FileBytes("archiv.old"), currentMain);
    EXPECT_EQ(FileBytes("winrec.old"), currentRecycle);
    EXPECT_TRUE(Files().HasGeneration(1)); // the generation itself stays

    ASSERT_TRUE(Files().RestoreOldGeneration());
    EXPECT_EQ(FileBytes("archiv.cat"), currentMain);
    EXPECT_EQ(FileBytes("winrec.cat"), currentRecycle);
    EXPECT_TRUE(HoldsSystem("current"));
    // The swap can be undone in its turn.
    EXPECT_EQ(FileBytes("archiv.old"), backupMain);
    ASSERT_TRUE(Files().RestoreOldGeneration());
    EXPECT_EQ(FileBytes("archiv.cat"), backupMain);
    EXPECT_EQ(FileBytes("archiv.old"), currentMain);
}

TEST_F(CatalogFilesTest, RestoredCatalogIsNotSharedWithItsPreviousCopy)
{
    MakeGeneration("backed up");
    WritePair("current");
    ASSERT_TRUE(Files().RotateOld(1));
    std::vector<BYTE> previous = FileBytes("archiv.old");
    std::vector<BYTE> generation = FileBytes("archiv1.bck");
    {
        auto pMain = OpenCatalog("archiv.cat");
        AddNode(*Root(*pMain), "after the restore");
    }
    EXPECT_EQ(FileBytes("archiv.old"), previous);
    EXPECT_EQ(FileBytes("archiv1.bck"), generation);
}

TEST_F(CatalogFilesTest, RestoresOfMissingSourcesChangeNothing)
{
    MakeGeneration("one");
    fs::remove(HostPath("winrec1.bck"));
    WritePair("current");
    Snapshot before = TakeSnapshot();
    EXPECT_FALSE(Files().RotateOld(1));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Files().RotateOld(0));
    EXPECT_FALSE(Files().RotateOld(CCatalogFiles::MAX_GENERATIONS + 1));
    EXPECT_FALSE(Files().RestoreOldGeneration());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(TakeSnapshot(), before);
}
