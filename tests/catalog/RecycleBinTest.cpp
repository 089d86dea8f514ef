#include "catalog/RecycleBin.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CCatalogUpdate.h"
#include "catalog/CRecycleRun.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "tests/catalog/RecycleBinFixture.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/RecycleBin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// The files of t:\docs catalogued in the main catalog, a recycle-bin catalog
// beside it, and the real trash of the test's own home folder.
class RecycleBinTest : public RecycleBinDriveTest {
protected:
    void TearDown() override
    {
        thePreferences.m_fastUpdateDir.RemoveAll();
        RecycleBinDriveTest::TearDown();
    }
    void Catalogue()
    {
        thePreferences.m_fastUpdateDir.RemoveAll();
        thePreferences.m_fastUpdateDir.Add("t:\\docs");
        CCatalogUpdate update(m_pCatalog.get(), nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
    }
    std::unique_ptr<CDocumentRec> Find(CCatalog& catalog, const std::string& strPath)
    {
        return std::unique_ptr<CDocumentRec>(catalog.FindPath(strPath.c_str()));
    }
    static std::string RecycledName(const CDocumentRec& entry)
    {
        CDocumentInfo info {};
        entry.GetInfo(&info);
        return std::string(
            reinterpret_cast<const char*>(info.id), ::strnlen(reinterpret_cast<const char*>(info.id), 16));
    }
    // Sends a file straight to the trash, as another program would.
    static void Trash(const std::string& strPath) { ASSERT_EQ(ShellDeleteToBin(strPath.c_str()), 0); }
    // The trash's file names.
    static std::set<std::string> TrashNames()
    {
        std::set<std::string> names;
        for (const CRecycledEntry& entry : ListRecycleBin())
            names.insert(entry.strName);
        return names;
    }
};

TEST_F(RecycleBinTest, PredictedNamesAreTheTrashsOwn)
{
    WriteOnT("a/plan.txt", "1");
    WriteOnT("a/letter.doc", "2");
    WriteOnT("my.dir/readme", "3");
    WriteOnT("a/b.verylongextension", "4");
    CRecycledNameMap names;
    EXPECT_EQ(CountRecycleBinItems(), 0);
    Trash(OnT("a/plan.txt"));
    EXPECT_EQ(std::string(MakeRecycledName(names, OnT("a/plan.txt").c_str())), "dt1.txt");
    Trash(OnT("a/letter.doc"));
    EXPECT_EQ(std::string(MakeRecycledName(names, OnT("a/letter.doc").c_str())), "dt2.doc");
    // The extension is the file name's, not a folder's.
    Trash(OnT("my.dir/readme"));
    EXPECT_EQ(std::string(MakeRecycledName(names, OnT("my.dir/readme").c_str())), "dt3");
    // A name the entry cannot hold whole is recorded empty, never cut.
    Trash(OnT("a/b.verylongextension"));
    EXPECT_EQ(std::string(MakeRecycledName(names, OnT("a/b.verylongextension").c_str())), "");
    EXPECT_EQ(TrashNames(), (std::set<std::string> { "dt1.txt", "dt2.doc", "dt3", "dt4.verylongextension" }));
    EXPECT_EQ(CountRecycleBinItems(), 4);
}

TEST_F(RecycleBinTest, ANewRunReadsTheHighestNumberAndSkipsOddNames)
{
    for (const char* pszName : { "x3.txt", "x4.txt", "y.txt" })
        WriteOnT(std::string("a/") + pszName, "x");
    Trash(OnT("a/x3.txt"));
    Trash(OnT("a/x4.txt"));
    // Another program's item with a number no counter holds.
    const fs::path files = HomeFolder().Path() / "data" / "Trash" / "files";
    std::ofstream(files / "dt99999999999999999999.txt") << "odd";
    Trash(OnT("a/y.txt"));
    CRecycledNameMap names;
    EXPECT_EQ(std::string(MakeRecycledName(names, OnT("a/y.txt").c_str())), "dt3.txt");
}

TEST_F(RecycleBinTest, ADocumentGoesToTheBinCatalogAndItsFileComesBack)
{
    WriteOnT("docs/plan.txt", "the plan");
    Catalogue();
    std::unique_ptr<CDocumentRec> pDocument = Find(*m_pCatalog, OnT("docs/plan.txt"));
    ASSERT_TRUE(pDocument);
    {
        CRecycleRun run(m_pCatalog.get(), m_pBin.get());
        EXPECT_EQ(run.RecycleDocument(*pDocument), 0);
    }
    EXPECT_FALSE(Find(*m_pCatalog, OnT("docs/plan.txt")));
    std::unique_ptr<CDocumentRec> pEntry = Find(*m_pBin, OnT("docs/plan.txt"));
    ASSERT_TRUE(pEntry);
    EXPECT_EQ(RecycledName(*pEntry), "dt1.txt");
    EXPECT_FALSE(fs::exists(HostOnT("docs/plan.txt")));
    EXPECT_EQ(std::string(GetRecycleBinLocation(*pEntry)), "t:\\RECYCLED\\dt1.txt");

    // A file made at the old place since is never replaced by a restore.
    WriteOnT("docs/plan.txt", "a new plan");
    EXPECT_EQ(LixeiraProcessEntry(*pEntry, RECYCLE_RESTORE), static_cast<int>(ERROR_ALREADY_EXISTS));
    fs::remove(HostOnT("docs/plan.txt"));
    EXPECT_EQ(LixeiraProcessEntry(*pEntry, RECYCLE_RESTORE), 0);
    std::ifstream in(HostOnT("docs/plan.txt"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the plan");
    EXPECT_TRUE(TrashNames().empty());
    // Restored, the bin has nothing to act on.
    EXPECT_EQ(LixeiraProcessEntry(*pEntry, RECYCLE_RESTORE), 0);
}

TEST_F(RecycleBinTest, ADocumentWhoseFileHasACaseTwinStaysWithBothFiles)
{
    WriteOnT("docs/plan.txt", "the plan");
    Catalogue();
    WriteOnT("docs/Plan.txt", "another plan");
    std::unique_ptr<CDocumentRec> pDocument = Find(*m_pCatalog, OnT("docs/plan.txt"));
    ASSERT_TRUE(pDocument);
    {
        CRecycleRun run(m_pCatalog.get(), m_pBin.get());
        EXPECT_EQ(run.RecycleDocument(*pDocument), 1);
    }
    EXPECT_TRUE(Find(*m_pCatalog, OnT("docs/plan.txt")));
    EXPECT_FALSE(Find(*m_pBin, OnT("docs/plan.txt")));
    EXPECT_TRUE(fs::exists(HostOnT("docs/plan.txt")));
    EXPECT_TRUE(fs::exists(HostOnT("docs/Plan.txt")));
    EXPECT_TRUE(TrashNames().empty());
    ASSERT_EQ(m_errors.Count(), 1u);
    EXPECT_NE(m_errors.Reports()[0].strText.find("only in case"), std::string::npos);
}

TEST_F(RecycleBinTest, DeletingTheBinCopyRemovesItForGood)
{
    WriteOnT("docs/old.txt", "old");
    Catalogue();
    std::unique_ptr<CDocumentRec> pDocument = Find(*m_pCatalog, OnT("docs/old.txt"));
    ASSERT_TRUE(pDocument);
    CRecycleRun(m_pCatalog.get(), m_pBin.get()).RecycleDocument(*pDocument);
    std::unique_ptr<CDocumentRec> pEntry = Find(*m_pBin, OnT("docs/old.txt"));
    ASSERT_TRUE(pEntry);
    EXPECT_EQ(LixeiraProcessEntry(*pEntry, RECYCLE_DELETE), 0);
    EXPECT_TRUE(TrashNames().empty());
    EXPECT_FALSE(fs::exists(HostOnT("docs/old.txt")));
}

TEST_F(RecycleBinTest, AMissingFileStaysAndAConfirmedRunSaysSo)
{
    WriteOnT("docs/here.txt", "here");
    WriteOnT("docs/gone.txt", "gone");
    Catalogue();
    fs::remove(HostOnT("docs/gone.txt"));
    UpdateRecycleBinState(m_pBin.get());
    EXPECT_EQ(GetRecycleBinImage(), 3);
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    entries.emplace_back(Find(*m_pCatalog, OnT("docs/here.txt")));
    entries.emplace_back(Find(*m_pCatalog, OnT("docs/gone.txt")));

    m_prompts.m_nAnswer = IDCANCEL;
    EXPECT_FALSE(MoveToRecycleBin(m_pCatalog.get(), m_pBin.get(), entries, FALSE));
    EXPECT_EQ(m_prompts.m_nKind, CCatalogPrompts::SELECTION_ITEMS);
    EXPECT_TRUE(Find(*m_pCatalog, OnT("docs/here.txt")));

    m_prompts.m_nAnswer = IDOK;
    EXPECT_TRUE(MoveToRecycleBin(m_pCatalog.get(), m_pBin.get(), entries, TRUE));
    EXPECT_EQ(entries[0], nullptr);
    EXPECT_NE(entries[1], nullptr);
    EXPECT_FALSE(Find(*m_pCatalog, OnT("docs/here.txt")));
    EXPECT_TRUE(Find(*m_pCatalog, OnT("docs/gone.txt")));
    EXPECT_FALSE(Find(*m_pBin, OnT("docs/gone.txt")));
    UpdateRecycleBinState(m_pBin.get());
    EXPECT_EQ(GetRecycleBinImage(), 2);
}

TEST_F(RecycleBinTest, ANodeLeavesOnlyWhenAllItHoldsLeft)
{
    WriteOnT("docs/keep.txt", "k");
    WriteOnT("docs/lost.txt", "l");
    std::unique_ptr<CNodeRec> pGroup = Group("Projects", SEARCH_FILE_NAME);
    AssignFolder(*pGroup, "t:\\docs");
    Catalogue();
    fs::remove(HostOnT("docs/lost.txt"));
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    entries.emplace_back(pGroup->Clone());
    EXPECT_TRUE(MoveToRecycleBin(m_pCatalog.get(), m_pBin.get(), entries, TRUE) == FALSE);
    // The group keeps the document whose file is missing, and so stays.
    EXPECT_NE(entries[0], nullptr);
    EXPECT_TRUE(Find(*m_pCatalog, OnT("docs/lost.txt")));
    EXPECT_TRUE(Find(*m_pBin, OnT("docs/keep.txt")));
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    EXPECT_TRUE(std::unique_ptr<CNodeRec>(pSystems->FindChildByName("Projects")));
}

TEST_F(RecycleBinTest, ADroppedFileThatWasNotCataloguedGetsABinEntry)
{
    WriteOnT("other/note.txt", "n");
    {
        CRecycleRun run(m_pCatalog.get(), m_pBin.get());
        EXPECT_EQ(run.RecycleShellFile(OnT("other/note.txt").c_str(), FALSE), 0);
    }
    std::unique_ptr<CDocumentRec> pEntry = Find(*m_pBin, OnT("other/note.txt"));
    ASSERT_TRUE(pEntry);
    EXPECT_EQ(RecycledName(*pEntry), "dt1.txt");
    EXPECT_EQ(LixeiraProcessEntry(*pEntry, RECYCLE_RESTORE), 0);
    EXPECT_TRUE(fs::exists(HostOnT("other/note.txt")));
}

} // namespace
