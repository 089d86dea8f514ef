#include "frame/CBackupMonitor.h"

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "store/CatalogError.h"
#include "store/CatalogIo.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr ULONGLONG DAY_MS = 86400ULL * 1000;

// Answers the monitor's dialogs from a script and records what it was asked.
class CScriptedPrompts : public CBackupPrompts {
public:
    int OfferRecovery() override
    {
        ++m_nOffers;
        return m_nOfferAnswer;
    }
    int ChooseBackup(const CCatalogFiles&, BOOL bOldCopies, int* pnGeneration) override
    {
        m_listOldCopies.push_back(bOldCopies != FALSE);
        if (m_choices.empty())
            return IDCANCEL;
        auto [nEnd, nGeneration] = m_choices.front();
        m_choices.pop_front();
        *pnGeneration = nGeneration;
        return nEnd;
    }
    void ShowMessage(UINT nStringID, UINT nStyle) override { m_messages.emplace_back(nStringID, nStyle); }

    int m_nOfferAnswer { IDOK };
    std::deque<std::pair<int, int>> m_choices; // backup list ends with their generations
    int m_nOffers { 0 };
    std::vector<bool> m_listOldCopies;
    std::vector<std::pair<UINT, UINT>> m_messages;
};

class BackupMonitorTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_preferences.m_nNumBackups = 3;
        m_preferences.m_nNumDayBackup = 7;
        m_clock.SetUtcNow((1780000000ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
        WritePair("current");
    }

    std::string ProgramPath(const std::string& strName) const
    {
        return ProgramPathFromHostPath((Home() / strName).string());
    }

    // Both catalog files, their headers marked.
    void WritePair(const std::string& strMarker)
    {
        for (BOOL bRecycle : { FALSE, TRUE }) {
            std::string strPath = ProgramPath(bRecycle ? "winrec.cat" : "archiv.cat");
            ASSERT_TRUE(CCatalog::CreateFile(bRecycle, strPath.c_str(), BLOCK_SIZE));
            CCatalog catalog(strPath.c_str(), 0);
            ASSERT_TRUE(catalog.SetHeaderStrings(strMarker.c_str(), ""));
        }
    }

    // Makes a catalog file fail the whole-file check, its header left as it is:
    // its first block names a table no catalog has.
    void Damage(const std::string& strName) const
    {
        std::fstream file(Home() / strName, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(FILE_HEADER_SIZE);
        const char bad[4] = { 99, 0, 0, 0 };
        file.write(bad, sizeof(bad));
    }

    std::string Marker(const std::string& strName) const
    {
        std::ifstream in(Home() / strName, std::ios::binary);
        char szHeader[FILE_HEADER_SIZE] {};
        in.read(szHeader, sizeof(szHeader));
        return std::string(szHeader + 20, strnlen(szHeader + 20, HEADER_TEXT_SIZE));
    }

    CBackupMonitor Monitor()
    {
        return CBackupMonitor(
            ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str(), m_preferences, m_prompts);
    }

    int Generations() { return Monitor().GetCatalogFiles().DeleteGenerations(); }

    CPreferences m_preferences;
    CScriptedPrompts m_prompts;
    CManualClock m_clock;
    CClockOverride m_useClock { m_clock };
};

}

/******************************************************************************
 * The unclean-exit flag
 ******************************************************************************/

TEST_F(BackupMonitorTest, FlagIsSetAtStartClearedAtExitAndADamagedCatalogIsOfferedARestoreAfterACrash)
{
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 0);
    EXPECT_TRUE(Monitor().IsMonitorFlagSet());
    ASSERT_TRUE(Monitor().ClearMonitorFlag());
    EXPECT_FALSE(Monitor().IsMonitorFlagSet());

    // A clean exit: no offer at the next start.
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 0);
    ASSERT_TRUE(Monitor().ClearMonitorFlag());

    // A run that starts and dies: the flag it set is still there for the next process.
    pid_t pid = fork();
    if (pid == 0) {
        CScriptedPrompts prompts;
        CBackupMonitor monitor(
            ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str(), m_preferences, prompts);
        _exit(monitor.CheckCatalogAtStartup() ? 0 : 1);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);

    // Both catalogs pass their check: nothing to offer.
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 0);
    EXPECT_TRUE(Monitor().IsMonitorFlagSet());

    // A catalog the crash damaged is offered a restore.
    Damage("winrec.cat");
    m_prompts.m_nOfferAnswer = IDCANCEL;
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 1);
    EXPECT_TRUE(m_prompts.m_listOldCopies.empty()); // declined: no list, no restore
    EXPECT_EQ(Marker("archiv.cat"), "current");
    EXPECT_TRUE(Monitor().IsMonitorFlagSet());
}

TEST_F(BackupMonitorTest, StartUpAfterACrashReplaysTheJournalBeforeTheCheck)
{
    {
        // The change reaches the journal; its writing in place fails, as a power cut there would leave it.
        CCatalog catalog(ProgramPath("archiv.cat").c_str(), 0);
        SetCatalogWriteFailure(2);
        EXPECT_TRUE(catalog.SetHeaderStrings("journaled", ""));
        SetCatalogWriteFailure(0);
        EXPECT_FALSE(catalog.IsWritable());
    }
    ASSERT_EQ(Marker("archiv.cat"), "current");
    ASSERT_TRUE(fs::exists(Home() / "archiv.cat.jnl"));
    ASSERT_TRUE(Monitor().SetMonitorFlag());

    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 0);
    EXPECT_EQ(Marker("archiv.cat"), "journaled");
    EXPECT_FALSE(fs::exists(Home() / "archiv.cat.jnl"));
}

/******************************************************************************
 * Restores
 ******************************************************************************/

TEST_F(BackupMonitorTest, AcceptedOfferRestoresTheChosenGenerationAndReports)
{
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    WritePair("newer");
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    WritePair("crashed");
    Damage("archiv.cat");
    ASSERT_TRUE(Monitor().SetMonitorFlag());

    m_prompts.m_choices = { { CBackupMonitor::END_RESTORE_GENERATION, 2 } };
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(m_prompts.m_nOffers, 1);
    ASSERT_EQ(m_prompts.m_listOldCopies.size(), 1U);
    EXPECT_FALSE(m_prompts.m_listOldCopies[0]);
    ASSERT_EQ(m_prompts.m_messages.size(), 1U);
    EXPECT_EQ(m_prompts.m_messages[0], std::make_pair(UINT { IDS_RESTORE_DONE }, UINT { MB_ICONINFORMATION }));
    EXPECT_EQ(Marker("archiv.cat"), "current");
    EXPECT_EQ(Marker("winrec.cat"), "current");

    // The previous copies are offered now; being the damaged ones, they are refused.
    m_prompts.m_choices = { { CBackupMonitor::END_RESTORE_OLD, 0 } };
    EXPECT_FALSE(Monitor().RestoreCatalogFromBackup());
    EXPECT_TRUE(m_prompts.m_listOldCopies[1]);
    EXPECT_EQ(m_prompts.m_messages[1], std::make_pair(UINT { IDS_RESTORE_OLD_FAILED }, UINT { MB_ICONHAND }));
    EXPECT_EQ(Marker("archiv.cat"), "current");

    // Cancelling the list does nothing and says nothing.
    EXPECT_FALSE(Monitor().RestoreCatalogFromBackup());
    EXPECT_EQ(m_prompts.m_messages.size(), 2U);
}

TEST_F(BackupMonitorTest, FailedRestoresReportAndLeaveTheCatalogAlone)
{
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    WritePair("current state");
    // A truncated generation, and previous copies that are no catalogs at all.
    fs::resize_file(Home() / "archiv1.bck", FILE_HEADER_SIZE + BLOCK_SIZE);
    for (const char* pszName : { "archiv.old", "winrec.old" })
        std::ofstream(Home() / pszName) << "not a catalog";
    auto fnRead = [&](const char* pszName) {
        std::ifstream in(Home() / pszName, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    std::string strMain = fnRead("archiv.cat");
    std::string strRecycle = fnRead("winrec.cat");

    m_prompts.m_choices = { { CBackupMonitor::END_RESTORE_GENERATION, 1 }, { CBackupMonitor::END_RESTORE_OLD, 0 } };
    EXPECT_FALSE(Monitor().RestoreCatalogFromBackup());
    EXPECT_FALSE(Monitor().RestoreCatalogFromBackup());
    ASSERT_EQ(m_prompts.m_messages.size(), 2U);
    EXPECT_EQ(m_prompts.m_messages[0], std::make_pair(UINT { IDS_RESTORE_FAILED }, UINT { MB_ICONHAND }));
    EXPECT_EQ(m_prompts.m_messages[1], std::make_pair(UINT { IDS_RESTORE_OLD_FAILED }, UINT { MB_ICONHAND }));
    EXPECT_EQ(fnRead("archiv.cat"), strMain);
    EXPECT_EQ(fnRead("winrec.cat"), strRecycle);
    EXPECT_EQ(fnRead("archiv.old"), "not a catalog");
}

TEST_F(BackupMonitorTest, StartUpFinishesAnInterruptedRestoreBeforeAnythingElse)
{
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    WritePair("current");
    // A restore stopped after it was decided: both prepared copies are there.
    fs::copy_file(Home() / "archiv1.bck", Home() / "archiv.rst");
    fs::copy_file(Home() / "winrec1.bck", Home() / "winrec.rst");
    WritePair("before the restore");
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(Marker("archiv.cat"), "current");
    EXPECT_EQ(Marker("winrec.cat"), "current");
    EXPECT_EQ(Marker("archiv.old"), "before the restore");
    EXPECT_EQ(m_prompts.m_nOffers, 0);
}

TEST_F(BackupMonitorTest, StartUpQuitsWhenAnInterruptedRestoreCannotBeFinished)
{
    static std::vector<std::string> s_reports;
    s_reports.clear();
    CatalogErrorHandler pfnPrevious = SetCatalogErrorHandler(
        [](LPCTSTR pszFileName, LPCTSTR, LPCTSTR, UINT) { s_reports.emplace_back(pszFileName); });
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    fs::copy_file(Home() / "archiv1.bck", Home() / "archiv.rst");
    fs::copy_file(Home() / "winrec1.bck", Home() / "winrec.rst");
    fs::create_directory(Home() / "archiv.old"); // the current file cannot be kept under that name
    ASSERT_TRUE(Monitor().SetMonitorFlag());

    EXPECT_FALSE(Monitor().CheckCatalogAtStartup());
    SetCatalogErrorHandler(pfnPrevious);
    EXPECT_EQ(s_reports, std::vector<std::string> { "archiv.cat" });
    EXPECT_EQ(m_prompts.m_nOffers, 0);
    EXPECT_TRUE(fs::exists(Home() / "winrec.rst")); // kept for the next start to finish
}

/******************************************************************************
 * Automatic backups
 ******************************************************************************/

TEST_F(BackupMonitorTest, NoAutomaticBackupWhenTheIntervalIsZero)
{
    m_preferences.m_nNumDayBackup = 0;
    for (int nDay = 0; nDay < 3; ++nDay) {
        EXPECT_FALSE(Monitor().IsBackupDue());
        ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
        m_clock.Advance(400 * DAY_MS);
    }
    EXPECT_EQ(Generations(), 0);
    EXPECT_EQ(Monitor().GetLastGeneration(), 0);
}

TEST_F(BackupMonitorTest, BackupIsDueAfterTheIntervalHasPassed)
{
    // None yet: due at once.
    EXPECT_TRUE(Monitor().IsBackupDue());
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(Generations(), 1);
    time_t tFirst = Monitor().GetLastGeneration();
    EXPECT_NE(tFirst, 0);

    m_clock.Advance(6 * DAY_MS);
    EXPECT_FALSE(Monitor().IsBackupDue());
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(Generations(), 1);
    EXPECT_EQ(Monitor().GetLastGeneration(), tFirst);

    m_clock.Advance(DAY_MS);
    EXPECT_TRUE(Monitor().IsBackupDue());
    ASSERT_TRUE(Monitor().CheckCatalogAtStartup());
    EXPECT_EQ(Generations(), 2);
    EXPECT_EQ(Monitor().GetLastGeneration(), tFirst + 7 * 86400);
}

TEST_F(BackupMonitorTest, OutOfRangeGenerationCountKeepsThree)
{
    for (int nKeep : { 0, 12 }) {
        m_preferences.m_nNumBackups = nKeep;
        for (int n = 0; n < 5; ++n)
            ASSERT_TRUE(Monitor().MakeCatalogBackup());
        EXPECT_EQ(Generations(), CBackupMonitor::DEFAULT_KEPT_GENERATIONS) << nKeep;
    }
    m_preferences.m_nNumBackups = 1;
    ASSERT_TRUE(Monitor().MakeCatalogBackup());
    EXPECT_EQ(Generations(), 1);
}
