// The catalog's backups and crash recovery as the program's own start-up
// makes them: a program folder the program made itself, started again,
// backed up, crashed and restored.

#include "tests/frame/AppTestFixture.h"

#include "frame/CBackupMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogCheck.h"
#include "store/CatalogError.h"
#include "store/CatalogIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CatalogBackupStartTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_pfnPrevious = SetCatalogErrorHandler(
            [](LPCTSTR pszFileName, LPCTSTR, LPCTSTR, UINT) { s_reports.emplace_back(pszFileName); });
        s_reports.clear();
    }
    void TearDown() override
    {
        AppTest::TearDown();
        SetCatalogErrorHandler(m_pfnPrevious);
    }

    // The first start on an empty folder, ended by the user.
    void FirstRun()
    {
        ASSERT_TRUE(Start());
        ASSERT_EQ(m_prompts.CountOf("wizard"), 1);
        Command(ID_APP_EXIT_PROGRAM);
        Stop();
    }
    std::vector<std::string> TopSystems()
    {
        std::vector<std::string> names;
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        if (pRoot) {
            for (const auto& pChild : pRoot->GetChildren())
                names.emplace_back(pChild->GetName());
        }
        return names;
    }

    static std::vector<std::string> s_reports; // the files the fatal catalog error named
    CatalogErrorHandler m_pfnPrevious { nullptr };
};

std::vector<std::string> CatalogBackupStartTest::s_reports;

} // namespace

TEST_F(CatalogBackupStartTest, TheFirstStartMakesABackupThatALaterStartRestores)
{
    FirstRun();
    EXPECT_TRUE(fs::exists(Home() / "archiv1.bck"));
    EXPECT_TRUE(fs::exists(Home() / "winrec1.bck"));
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("winrec.cat"), CATALOG_KIND_RECYCLE));

    // The second start works on; then the user restores the backup.
    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    const std::vector<std::string> backedUp = TopSystems();
    AddSystem(*pRoot, "after the backup");
    pRoot.reset();
    ASSERT_NE(TopSystems(), backedUp);
    m_prompts.m_nBackupAnswer = CBackupMonitor::END_RESTORE_GENERATION;
    m_prompts.m_nBackupGeneration = 1;
    Command(ID_CATALOG_RESTORE);
    EXPECT_EQ(m_prompts.CountOf("backup list"), 1);
    EXPECT_EQ(m_prompts.m_messages, std::vector<UINT> { IDS_RESTORE_DONE });
    EXPECT_EQ(TopSystems(), backedUp) << "the catalog is the one the backup holds";
    EXPECT_TRUE(s_reports.empty()) << s_reports.front();
}

TEST_F(CatalogBackupStartTest, AfterACrashWhoseJournalReplaysTheProgramSaysNothingOfDamage)
{
    FirstRun();
    {
        // A change the journal took and whose writing in place a crash stopped.
        CCatalog catalog(ProgramPath("archiv.cat"), CCatalog::OPEN_EXISTING);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        ASSERT_NE(pRoot, nullptr);
        SetCatalogWriteFailure(2);
        AddSystem(*pRoot, "journaled");
        SetCatalogWriteFailure(0);
        ASSERT_FALSE(catalog.IsWritable());
    }
    ASSERT_TRUE(fs::exists(Home() / "archiv.cat.jnl"));
    SetProductValue("Backup", "MonitorApp", 1);

    ASSERT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("offer recovery"), 0);
    EXPECT_TRUE(s_reports.empty()) << s_reports.front();
    EXPECT_EQ(TopSystems(), std::vector<std::string> { "journaled" });
}

TEST_F(CatalogBackupStartTest, AFolderAnEarlierStartMadeWithAMainKindRecycleBinIsMended)
{
    FirstRun();
    // As the faulty start left it: the recycle bin made as a main catalog, no backup.
    for (const char* pszName : { "winrec.cat", "archiv1.bck", "winrec1.bck" })
        fs::remove(Home() / pszName);
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, ProgramPath("winrec.cat"), BLOCK_SIZE));
    SetProductValue("Backup", "MonitorApp", 1);
    SetProductValue("Backup", "LastGeneration", 0); // a backup is due

    ASSERT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("offer recovery"), 0);
    EXPECT_TRUE(s_reports.empty()) << s_reports.front();
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("winrec.cat"), CATALOG_KIND_RECYCLE));
    EXPECT_TRUE(fs::exists(Home() / "archiv1.bck"));
    EXPECT_TRUE(fs::exists(Home() / "winrec1.bck"));
}
