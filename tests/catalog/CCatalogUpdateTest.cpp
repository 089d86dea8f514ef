#include "catalog/CCatalogUpdate.h"

#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/CMailStoreRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"
#include "store/CatalogCheck.h"
#include "tests/catalog/CatalogDriveFixture.h"
#include "tests/catalog/ScriptedProgress.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A catalog of the local disk (the home folder and T:) with the rules of a
// new catalog: "~*.*" and "*.tmp" left out, the clean-up folder t:\temp, the
// excluded folder t:\private.
class CCatalogUpdateTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        PrepareCatalog();
        thePreferences.m_dsDir.RemoveAll();
        thePreferences.m_dsDir.Add("t:\\private");
        thePreferences.m_dwMostRecentsOption = 0;
    }

    void TearDown() override
    {
        thePreferences.m_dsDir.RemoveAll();
        thePreferences.m_fastUpdateDir.RemoveAll();
        CatalogDriveTest::TearDown();
    }

    void PrepareCatalog()
    {
        ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("~*.*")));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("*.tmp")));
        ASSERT_TRUE(std::unique_ptr<CCleanUpFolderRec>(m_pCatalog->AddCleanUpFolder("t:\\temp\\")));
    }

    BOOL Run(int nMode = CCatalogUpdate::MODE_UPDATE, int nOptions = CCatalogUpdate::OPTION_PLACES)
    {
        CCatalogUpdate update(m_pCatalog.get(), nullptr, nOptions, nullptr);
        update.BuildRootMap(m_roots);
        const BOOL bResult = update.Update(nMode);
        m_totals = update.GetTotals();
        return bResult;
    }

    // Every document the catalog holds: "path | description | nodes".
    std::set<std::string> Picture() { return CatalogPicture(*m_pCatalog); }

    // The values of the root map.
    static inline void* const WHOLE = reinterpret_cast<void*>(1);
    static constexpr void* PART = nullptr;

    CMapStringToPtr m_roots;
    CUpdateTotals m_totals;
};

TEST_F(CCatalogUpdateTest, ASecondRunAddsOnlyWhatIsNew)
{
    WriteOnT("docs/a.txt", "Hello,   world!\r\n\tAgain.");
    WriteOnT("docs/b.odt", "\x01\x02 binary");
    WriteOnT("docs/c.exe", "left out: extension");
    WriteOnT("docs/~a.txt", "left out: mask");
    WriteOnT("docs/a.tmp", "left out: mask");
    WriteOnT("temp/x.txt", "left out: clean-up folder");
    WriteOnT("private/y.txt", "left out: excluded folder");
    WriteOnT("recycled/dt1.txt", "left out: recycle folder");
    HomeFolder().WriteFile("notes/home.md", "in the home folder");

    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 3);
    EXPECT_EQ(m_totals.nRejected, 3);
    EXPECT_EQ(Picture(),
        (std::set<std::string> { "t:\\docs\\a.txt | Hello, world! Again. | (systems)", "t:\\docs\\b.odt |  | (systems)",
            ProgramPathOfHome("notes\\home.md") + " | in the home folder | (systems)" }));

    WriteOnT("docs/new/d.md", "New");
    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 1);
    EXPECT_EQ(m_totals.nFound, 3);
    EXPECT_EQ(Picture().size(), 4U);
}

TEST_F(CCatalogUpdateTest, NewDocumentsGoWhereFolderRecordsAndKeywordsPlaceThem)
{
    auto pReports = Group("Reports", 0);
    AssignFolder(*pReports, "t:\\work\\reports\\");
    auto pBudget = Group("Budget", SEARCH_FILE_NAME, "budget");
    auto pSecret = Group("Secret", SEARCH_FILE_CONTENT, "confidential");
    WriteOnT("work/reports/2024/q1.txt", "figures");
    WriteOnT("work/budget plan.txt", "numbers");
    WriteOnT("work/memo.txt", std::string(100000, 'x') + " confidential ");
    WriteOnT("work/other.txt", "nothing");
    ASSERT_TRUE(Run());
    const std::set<std::string> picture = Picture();
    EXPECT_TRUE(picture.contains("t:\\work\\reports\\2024\\q1.txt | figures | Reports")) << *picture.begin();
    EXPECT_TRUE(picture.contains("t:\\work\\budget plan.txt | numbers | Budget"));
    EXPECT_TRUE(picture.contains("t:\\work\\other.txt | nothing | (systems)"));
    bool bSecret = false;
    for (const std::string& strLine : picture)
        bSecret |= strLine.starts_with("t:\\work\\memo.txt") && strLine.ends_with("| Secret");
    EXPECT_TRUE(bSecret);
}

TEST_F(CCatalogUpdateTest, AFirstCataloguingMirrorsTheFolders)
{
    WriteOnT("Projects/top.txt", "top");
    WriteOnT("Projects/Alpha/a.txt", "a");
    WriteOnT("Projects/Alpha/Deep/b.txt", "b");
    fs::create_directories(HostOnT("Projects/Empty/Nothing"));
    WriteOnT("Other/c.txt", "not a root");
    // As the wizard gives them: 1 for a folder taken whole, 0 for one whose sub-folders decide.
    m_roots.SetAt("T:\\Projects", WHOLE);
    m_roots.SetAt("t:\\projects\\alpha\\", WHOLE); // below a root: walked with it

    ASSERT_TRUE(Run(CCatalogUpdate::MODE_FIRST));
    EXPECT_EQ(Picture(),
        (std::set<std::string> { "t:\\projects\\top.txt | top | Projects",
            "t:\\projects\\alpha\\a.txt | a | Projects\\Alpha",
            "t:\\projects\\alpha\\deep\\b.txt | b | Projects\\Alpha\\Deep" }));
    // The folder records place later documents of those folders.
    WriteOnT("Projects/Alpha/later.txt", "later");
    thePreferences.m_fastUpdateDir.Add("t:\\projects");
    ASSERT_TRUE(Run(CCatalogUpdate::MODE_UPDATE, CCatalogUpdate::OPTION_FAST_FOLDERS));
    EXPECT_EQ(m_totals.nAdded, 1);
    EXPECT_TRUE(Picture().contains("t:\\projects\\alpha\\later.txt | later | Projects\\Alpha"));
}

TEST_F(CCatalogUpdateTest, AFirstCataloguingTakesOnlyTheChosenSubfoldersOfAFolderNotTakenWhole)
{
    WriteOnT("Projects/top.txt", "top");
    WriteOnT("Projects/Alpha/a.txt", "not chosen");
    WriteOnT("Projects/Beta/b.txt", "on the way only");
    WriteOnT("Projects/Beta/Deep/d.txt", "d");
    WriteOnT("Projects/Beta/Deep/More/m.txt", "m");
    WriteOnT("Projects/Gamma/g.txt", "g");
    m_roots.SetAt("t:\\projects", PART);
    m_roots.SetAt("t:\\projects\\beta\\deep", WHOLE);
    m_roots.SetAt("t:\\projects\\gamma", PART);

    ASSERT_TRUE(Run(CCatalogUpdate::MODE_FIRST));
    EXPECT_EQ(Picture(),
        (std::set<std::string> { "t:\\projects\\top.txt | top | Projects",
            "t:\\projects\\beta\\deep\\d.txt | d | Projects\\Beta\\Deep",
            "t:\\projects\\beta\\deep\\more\\m.txt | m | Projects\\Beta\\Deep\\More",
            "t:\\projects\\gamma\\g.txt | g | Projects\\Gamma" }));
}

TEST_F(CCatalogUpdateTest, NothingIsRemovedAndAMovedFileIsCataloguedAnew)
{
    WriteOnT("docs/a.txt", "a");
    WriteOnT("docs/b.txt", "b");
    ASSERT_TRUE(Run());
    fs::remove(HostOnT("docs/a.txt"));
    fs::create_directories(HostOnT("moved"));
    fs::rename(HostOnT("docs/b.txt"), HostOnT("moved/b.txt"));
    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 1);
    EXPECT_EQ(m_totals.nGone, 2);
    EXPECT_EQ(Picture(),
        (std::set<std::string> { "t:\\docs\\a.txt | a | (systems)", "t:\\docs\\b.txt | b | (systems)",
            "t:\\moved\\b.txt | b | (systems)" }));
}

TEST_F(CCatalogUpdateTest, LinksLoopsOtherDrivesAndBadNamesAreWalkedSafely)
{
    WriteOnT("docs/a.txt", "a");
    fs::create_directory_symlink(HostOnT("docs"), HostOnT("docs/loop"));
    fs::create_directory_symlink(HostOnT("docs"), HostOnT("elsewhere"));
    WriteOnT("docs/bad\xff.txt", "a name that is no UTF-8");
    // A folder that is another drive's root is catalogued by that drive only.
    WriteOnT("data/u.txt", "u");
    ASSERT_TRUE(SetDriveOverride('U', HostOnT("data").c_str(), DRIVE_FIXED));
    ASSERT_TRUE(Run());
    EXPECT_EQ(Picture(), (std::set<std::string> { "t:\\docs\\a.txt | a | (systems)", "u:\\u.txt | u | (systems)" }));
    EXPECT_GE(m_totals.nSkipped, 1);
    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 0);
}

TEST_F(CCatalogUpdateTest, NamesThatDifferOnlyInCaseAreLeftOutAndNoneOfThemIsRead)
{
    // One lower-cased path would name all three: none is catalogued.
    WriteOnT("new/NOTES.TXT", "upper");
    WriteOnT("new/Notes.txt", "title");
    WriteOnT("new/notes.txt", "lower");
    WriteOnT("new/single.txt", "single");
    // A host name holding a backslash names no file a program path reaches: it is left alone.
    std::ofstream(fs::path(HostOnT("new")) / "a\\b.txt") << "unreachable";
    WriteOnT("known/Plan.txt", "plan");
    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 2);
    EXPECT_GE(m_totals.nSkipped, 3);
    EXPECT_EQ(Picture(),
        (std::set<std::string> {
            "t:\\known\\plan.txt | plan | (systems)", "t:\\new\\single.txt | single | (systems)" }));

    // A twin of a name catalogued before: the document stays as it was, and no other is made.
    WriteOnT("known/PLAN.TXT", "another plan");
    WriteOnT("known/more.txt", "more");
    ASSERT_TRUE(Run());
    EXPECT_EQ(m_totals.nAdded, 1);
    EXPECT_EQ(m_totals.nFound, 1);
    EXPECT_EQ(Picture(),
        (std::set<std::string> { "t:\\known\\more.txt | more | (systems)", "t:\\known\\plan.txt | plan | (systems)",
            "t:\\new\\single.txt | single | (systems)" }));
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
}

TEST_F(CCatalogUpdateTest, TheRecentListEndsWithTheLastDocumentsAddedNewestFirst)
{
    thePreferences.m_dwMostRecentsOption = CPreferences::RECENT_ADD_CATALOGUED;
    const auto name = [](int n) { return std::string(n < 10 ? "f0" : "f") + std::to_string(n) + ".txt"; };
    for (int n = 0; n < 30; ++n) {
        WriteOnT("docs/a/" + name(n), "a");
        WriteOnT("docs/b/" + name(n), "b");
    }
    ASSERT_TRUE(Run());
    ASSERT_EQ(m_totals.nAdded, 60);
    const CRecentList list(m_pCatalog.get());
    ASSERT_EQ(list.GetStoredCount(), CRecentList::MAX_ENTRIES);
    for (int i = 0; i < CRecentList::MAX_ENTRIES; ++i) {
        // The walk takes folder a, then b, each file in name order.
        const int nAdded = 59 - i;
        const std::string strExpected = std::string("t:\\docs\\") + (nAdded >= 30 ? "b\\" : "a\\") + name(nAdded % 30);
        std::unique_ptr<CDocumentRec> pDocument(list.CreateItemObject(i));
        ASSERT_TRUE(pDocument);
        EXPECT_EQ(FullPath(*pDocument), strExpected) << i;
    }
}

TEST_F(CCatalogUpdateTest, AnUnreadableFolderIsSkippedAndTheRunGoesOn)
{
    WriteOnT("locked/a.txt", "a");
    WriteOnT("open/b.txt", "b");
    fs::permissions(HostOnT("locked"), fs::perms::none);
    std::error_code ec;
    fs::directory_iterator probe(HostOnT("locked"), ec);
    if (!ec) {
        fs::permissions(HostOnT("locked"), fs::perms::owner_all);
        GTEST_SKIP() << "this user reads every folder";
    }
    ASSERT_TRUE(Run());
    fs::permissions(HostOnT("locked"), fs::perms::owner_all);
    EXPECT_EQ(m_totals.nSkipped, 1);
    EXPECT_EQ(Picture(), std::set<std::string> { "t:\\open\\b.txt | b | (systems)" });
}

TEST_F(CCatalogUpdateTest, AStopLeavesAConsistentCatalogAndNoGoesOn)
{
    for (int i = 0; i < 20; ++i)
        WriteOnT("docs/f" + std::to_string(i) + ".txt", "text");
    CTestDriver driver;
    {
        CScriptedProgressFactory progress;
        progress.Record().nStopAt = 15;
        driver.AnswerNextMessageBox(IDNO);
        ASSERT_TRUE(Run());
        EXPECT_EQ(m_totals.nAdded, 20);
    }
    for (int i = 20; i < 40; ++i)
        WriteOnT("docs/f" + std::to_string(i) + ".txt", "text");
    {
        CScriptedProgressFactory progress;
        progress.Record().nStopAt = 30;
        driver.AnswerNextMessageBox(IDYES);
        ASSERT_TRUE(Run());
        EXPECT_EQ(progress.Record().created, std::vector<ERunProgressKind> { ERunProgressKind::Update });
    }
    EXPECT_GT(m_totals.nAdded, 0);
    EXPECT_LT(m_totals.nAdded, 20);
    const std::size_t nKept = Picture().size();
    m_pCatalog.reset();
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
    m_pCatalog = OpenCatalog();
    EXPECT_EQ(Picture().size(), nKept);
}

} // namespace
