#include "catalog/CCatalogMaintenance.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CDocumentPlacement.h"
#include "catalog/CRecycleRun.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CDocumentRec.h"
#include "store/CLibFolderRec.h"
#include "store/CMailStoreRec.h"
#include "tests/catalog/RecycleBinFixture.h"
#include "tests/catalog/ScriptedProgress.h"

#include "platform/base/FileFunctions.h"
#include "platform/shell/RecycleBin.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The local disk (the home folder and T:) with the clean-up folder t:\temp,
// the masks "~*.*" and "*.tmp", and a recycle-bin catalog.
class CCatalogMaintenanceTest : public RecycleBinDriveTest {
protected:
    void SetUp() override
    {
        RecycleBinDriveTest::SetUp();
        ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("~*.*")));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("*.tmp")));
    }
    void AddCleanUpFolder(const std::string& strFolder)
    {
        ASSERT_TRUE(std::unique_ptr<CCleanUpFolderRec>(m_pCatalog->AddCleanUpFolder(strFolder.c_str())));
    }
    BOOL Run(BOOL bFolders, BOOL bFiles, BOOL bDocuments, BOOL bTidy)
    {
        CCatalogMaintenance maintenance(m_pCatalog.get(), m_pBin.get());
        const BOOL bResult = maintenance.RunCatalogMaintenance(bFolders, bFiles, bDocuments, bTidy);
        m_bCancelled = maintenance.IsCancelled();
        return bResult;
    }

    CScriptedProgressFactory m_progress;
    BOOL m_bCancelled { FALSE };
};

TEST_F(CCatalogMaintenanceTest, NoPassRunsWithoutItsFlag)
{
    WriteOnT("temp/old.txt", "x");
    WriteOnT("a/~draft.txt", "x");
    AddCleanUpFolder("t:\\temp\\");
    EXPECT_TRUE(Run(FALSE, FALSE, FALSE, FALSE));
    EXPECT_TRUE(m_progress.Record().created.empty());
    EXPECT_TRUE(fs::exists(HostOnT("temp/old.txt")));
    EXPECT_TRUE(fs::exists(HostOnT("a/~draft.txt")));
}

TEST_F(CCatalogMaintenanceTest, CleanUpFoldersAreEmptiedButNeverARootOrTheProgramsFolder)
{
    WriteOnT("temp/old.txt", "x");
    WriteOnT("temp/sub/older.txt", "x");
    WriteOnT("keep.txt", "x");
    AddCleanUpFolder("t:\\missing\\");
    AddCleanUpFolder("t:\\temp\\");
    AddCleanUpFolder("t:\\");
    AddCleanUpFolder(ProgramPath("").c_str());
    EXPECT_TRUE(Run(TRUE, FALSE, FALSE, FALSE));
    EXPECT_TRUE(fs::exists(HostOnT("temp")));
    EXPECT_TRUE(fs::is_empty(HostOnT("temp")));
    EXPECT_TRUE(fs::exists(HostOnT("keep.txt")));
    EXPECT_NE(GetFileAttributes(ProgramPath("archiv.cat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(CCatalogMaintenance::IsSafeCleanUpFolder("t:\\"));
    EXPECT_FALSE(CCatalogMaintenance::IsSafeCleanUpFolder(ProgramPath("").c_str()));
    EXPECT_TRUE(CCatalogMaintenance::IsSafeCleanUpFolder("t:\\temp"));
}

TEST_F(CCatalogMaintenanceTest, FilesMatchingTheMasksGoUnlessCatalogued)
{
    WriteOnT("a/~draft.txt", "x");
    WriteOnT("a/deep/BACKUP.TMP", "x");
    WriteOnT("a/plan.txt", "x");
    WriteOnT("a/kept.tmp", "x");
    std::unique_ptr<CNodeRec> pGroup = Group("Work", SEARCH_FILE_NAME);
    ASSERT_TRUE(AddDocument(*m_pCatalog, pGroup.get(), OnT("a/kept.tmp").c_str()));
    WriteOnT("home-file.tmp", "x");
    CCatalogMaintenance maintenance(m_pCatalog.get(), m_pBin.get());
    EXPECT_TRUE(maintenance.RunCatalogMaintenance(FALSE, TRUE, FALSE, FALSE));
    EXPECT_FALSE(fs::exists(HostOnT("a/~draft.txt")));
    EXPECT_FALSE(fs::exists(HostOnT("a/deep/BACKUP.TMP")));
    EXPECT_TRUE(fs::exists(HostOnT("a/plan.txt")));
    EXPECT_TRUE(fs::exists(HostOnT("a/kept.tmp")));
    EXPECT_EQ(maintenance.GetDeletedFiles(), 3);
}

TEST_F(CCatalogMaintenanceTest, NoToTheStopQuestionGoesOnAndYesStops)
{
    for (int i = 0; i < 3; ++i)
        WriteOnT("f" + std::to_string(i) + "/x.tmp", "x");
    CTestDriver driver;
    m_progress.Record().nStopAt = 1;
    driver.AnswerNextMessageBox(IDNO);
    EXPECT_TRUE(Run(FALSE, TRUE, FALSE, FALSE));
    EXPECT_FALSE(m_bCancelled);
    EXPECT_FALSE(fs::exists(HostOnT("f2/x.tmp")));

    for (int i = 0; i < 3; ++i)
        WriteOnT("f" + std::to_string(i) + "/x.tmp", "x");
    m_progress.Record().nPumps = 0;
    m_progress.Record().bCancelled = false;
    driver.AnswerNextMessageBox(IDYES);
    EXPECT_TRUE(Run(TRUE, TRUE, TRUE, TRUE));
    EXPECT_TRUE(m_bCancelled);
    EXPECT_TRUE(fs::exists(HostOnT("f2/x.tmp")));
}

TEST_F(CCatalogMaintenanceTest, ExpiredDocumentsGoToTheBinAndTheBinIsEmptied)
{
    WriteOnT("p/old.txt", "old");
    WriteOnT("p/fresh.txt", "fresh");
    std::unique_ptr<CNodeRec> pGroup = Group("Papers", SEARCH_FILE_NAME);
    // Long past and far ahead, whatever the clock says.
    for (const auto& [pszName, nExpiry] : { std::pair { "old.txt", 86400 }, std::pair { "fresh.txt", 0x7FFF0000 } }) {
        std::unique_ptr<CDocumentRec> pDocument
            = AddDocument(*m_pCatalog, pGroup.get(), OnT(std::string("p/") + pszName).c_str());
        CDocumentInfo info {};
        pDocument->GetInfo(&info);
        info.nExpiry = nExpiry;
        ASSERT_TRUE(pDocument->UpdateInfo(info));
    }
    CTestDriver driver;
    // Mode 0 asks first; declined, nothing moves, the run ends and says expired documents remain.
    m_prompts.m_nAnswer = IDCANCEL;
    driver.AnswerNextMessageBox(IDOK);
    EXPECT_TRUE(Run(FALSE, FALSE, TRUE, FALSE));
    EXPECT_TRUE(m_bCancelled);
    EXPECT_TRUE(fs::exists(HostOnT("p/old.txt")));

    m_prompts.m_nAnswer = IDOK;
    EXPECT_TRUE(Run(FALSE, FALSE, TRUE, TRUE));
    EXPECT_FALSE(fs::exists(HostOnT("p/old.txt")));
    EXPECT_TRUE(fs::exists(HostOnT("p/fresh.txt")));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(OnT("p/old.txt").c_str())));
    // The catalog pass took the bin's entry, and its file in the Trash, for good.
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pBin->FindPath(OnT("p/old.txt").c_str())));
    EXPECT_TRUE(ListRecycleBin().empty());
}

} // namespace
