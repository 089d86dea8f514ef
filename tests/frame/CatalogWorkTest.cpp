// The application's long catalog runs: the update and the maintenance asked
// for by their commands, and the first cataloguing of a set-up in folder mode.

#include "tests/frame/AppTestFixture.h"

#include "tests/catalog/ScriptedProgress.h"

#include "catalog/CCatalogUpdate.h"
#include "frame/CArqListView.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/SetupResults.h"
#include "monitor/CNewDocMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeFolderRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogColumns.h"

#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CatalogWorkTest : public AppTest {
protected:
    void TearDown() override
    {
        thePreferences.m_fastUpdateDir.RemoveAll();
        AppTest::TearDown();
    }

    // Writes a file below the home folder; its program path.
    std::string Write(const std::string& strRelative, const std::string& strText = "words")
    {
        const fs::path path = Home() / strRelative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << strText;
        return ProgramPathFromHostPath(path.string());
    }
    BOOL IsCatalogued(const std::string& strPath)
    {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(strPath.c_str()));
        return pDocument ? TRUE : FALSE;
    }
    std::unique_ptr<CNodeRec> FirstSystem()
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        return std::unique_ptr<CNodeRec>(pRoot ? pRoot->GetFirstChild() : nullptr);
    }
};

TEST_F(CatalogWorkTest, TheUpdateCataloguesTheChosenFoldersOnlyWhenAskedTo)
{
    const std::string strLetter = Write("letters/a.txt");
    WriteCatalog([](CCatalog& catalog, CNodeRec&) {
        EXPECT_TRUE(catalog.LoadExtensions("txt"));
        EXPECT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        std::unique_ptr<CMailStoreRec> pLocal(catalog.AddMailStore(LOCATION_LOCAL_DISK, "Local Disk"));
    });
    ASSERT_TRUE(Start());
    thePreferences.m_nUpdateOption = CCatalogUpdate::OPTION_FAST_FOLDERS;
    thePreferences.m_fastUpdateDir.Add(ProgramPathFromHostPath((Home() / "letters").string()).c_str());

    Command(ID_CATALOG_UPDATE);
    EXPECT_EQ(m_prompts.CountOf("update options"), 1);
    EXPECT_FALSE(IsCatalogued(strLetter));

    m_prompts.m_nUpdateAnswer = IDOK;
    Command(ID_CATALOG_UPDATE);
    EXPECT_TRUE(IsCatalogued(strLetter));
    // The views were told: the catalog is still held by the shown window alone.
    EXPECT_EQ(App().GetMainCatalog()->GetOpenCount(), 1);
}

// A new user's update dialog offers the catalog's places.
TEST_F(CatalogWorkTest, ANewUsersUpdateOffersTheCatalogsPlaces)
{
    WriteCatalog([](CCatalog& catalog, CNodeRec&) {
        EXPECT_TRUE(catalog.LoadExtensions("txt"));
        EXPECT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
    });
    ASSERT_TRUE(Start());
    Command(ID_CATALOG_UPDATE);
    ASSERT_EQ(m_prompts.CountOf("update options"), 1);
    EXPECT_TRUE(m_prompts.m_lastUpdateChoices.bFirst) << "the catalog's places";
    EXPECT_FALSE(m_prompts.m_lastUpdateChoices.bSecond) << "the fast-update folders";
}

TEST_F(CatalogWorkTest, TheUpdateDescribesEveryNewFileOfATreeOfManyFolders)
{
    // Folders of one file and of many, files and sub-folders mixed: the
    // files are read ahead of the walk, which must not change what it keeps.
    std::vector<std::pair<std::string, std::string>> written;
    for (int nFolder = 0; nFolder < 30; ++nFolder) {
        const std::string strFolder = "tree/f" + std::to_string(nFolder) + "/";
        for (int nFile = 0; nFile < (nFolder % 5 == 0 ? 40 : 1); ++nFile) {
            const std::string strText = "text\tof  " + std::to_string(nFolder) + "." + std::to_string(nFile);
            written.emplace_back(Write(strFolder + "n" + std::to_string(nFile) + ".txt", strText),
                "text of " + std::to_string(nFolder) + "." + std::to_string(nFile));
            if (nFile == 3)
                written.emplace_back(Write(strFolder + "n3/inner.txt", "inner"), "inner");
        }
    }
    WriteCatalog([](CCatalog& catalog, CNodeRec&) {
        EXPECT_TRUE(catalog.LoadExtensions("txt"));
        EXPECT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
    });
    ASSERT_TRUE(Start());
    thePreferences.m_nUpdateOption = CCatalogUpdate::OPTION_FAST_FOLDERS;
    thePreferences.m_fastUpdateDir.Add(ProgramPathFromHostPath((Home() / "tree").string()).c_str());
    m_prompts.m_nUpdateAnswer = IDOK;

    Command(ID_CATALOG_UPDATE);
    for (const auto& [strPath, strDescription] : written) {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(strPath.c_str()));
        ASSERT_TRUE(pDocument) << strPath;
        CString strStored;
        pDocument->GetNameWithLocation(strStored);
        EXPECT_EQ(std::string(strStored), strDescription) << strPath;
    }
}

TEST_F(CatalogWorkTest, TheUpdateRunsWithTheMonitorOffAndOutOfTheTray)
{
    Write("letters/a.txt");
    WriteCatalog([](CCatalog& catalog, CNodeRec&) {
        EXPECT_TRUE(catalog.LoadExtensions("txt"));
        EXPECT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
    });
    ASSERT_TRUE(Start());
    thePreferences.m_nUpdateOption = CCatalogUpdate::OPTION_FAST_FOLDERS;
    thePreferences.m_fastUpdateDir.Add(ProgramPathFromHostPath((Home() / "letters").string()).c_str());
    CNewDocMonitor& monitor = MainFrame()->GetMonitor();
    ASSERT_TRUE(monitor.IsMonitorEnabled());
    ASSERT_TRUE(monitor.IsIconShown());

    // The update's progress dialog is made while the run is under way.
    std::vector<std::pair<BOOL, BOOL>> during;
    CScriptedProgressFactory progress;
    SetRunProgressFactory([&](ERunProgressKind, HWND, const CRunProgressSetup&) {
        during.emplace_back(monitor.IsMonitorEnabled(), monitor.IsIconShown());
        return std::make_unique<CScriptedProgress>(progress.Record());
    });
    m_prompts.m_nUpdateAnswer = IDOK;
    Command(ID_CATALOG_UPDATE);
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.front(), std::make_pair(FALSE, FALSE));
    EXPECT_TRUE(monitor.IsMonitorEnabled());
    EXPECT_TRUE(monitor.IsIconShown()) << "restored as it was";

    // An icon the user took away stays away.
    Command(ID_TOOLS_MONITOR_ICON);
    ASSERT_FALSE(monitor.IsIconShown());
    Command(ID_CATALOG_UPDATE);
    EXPECT_FALSE(monitor.IsIconShown());
    EXPECT_TRUE(monitor.IsMonitorEnabled());
}

TEST_F(CatalogWorkTest, TheUpdateListsAMessageWithoutSubjectUnderTheNoSubjectText)
{
    // A mailbox whose second message has no Subject line, in a folder the system "Mail" holds.
    Write("mail/Inbox",
        "From - Mon Jan  2 15:04:05 2006\nFrom: ana@example.com\nSubject: Agenda\n\nFirst.\n\n"
        "From - Mon Jan  2 16:04:05 2006\nFrom: bo@example.com\nTo: ana@example.com\n\nNo subject here.\n");
    const std::string strFolder = ProgramPathFromHostPath((Home() / "mail").string());
    WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
        EXPECT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        EXPECT_TRUE(
            std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETSCAPE, (strFolder + "\\Inbox").c_str())));
        std::unique_ptr<CNodeRec> pMail = AddSystem(root, "Mail");
        CString strLowerFolder(strFolder.c_str());
        strLowerFolder.MakeLower();
        std::unique_ptr<CNodeFolderRec> pRecord(catalog.AddNodeFolder(strLowerFolder + "\\"));
        ASSERT_NE(pRecord, nullptr);
        EXPECT_TRUE(pMail->LinkNodeFolder(pRecord.get()));
    });
    ASSERT_TRUE(Start());
    thePreferences.m_nUpdateOption = CCatalogUpdate::OPTION_FAST_FOLDERS;
    thePreferences.m_fastUpdateDir.Add(strFolder.c_str());
    m_prompts.m_nUpdateAnswer = IDOK;
    Command(ID_CATALOG_UPDATE);

    CTreeCtrl& tree = *ActiveView()->GetTreeCtrl();
    ASSERT_TRUE(m_driver.ClickTreeItem(tree.GetSafeHwnd(), CTestDriver::TreeItem(tree.GetSafeHwnd(), { "Mail" })));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
    std::vector<std::string> names;
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        names.emplace_back(list.GetItemText(nRow, list.FindColumn(COLUMN_NAME)));
    std::sort(names.begin(), names.end());
    CString strNoSubject;
    ASSERT_TRUE(strNoSubject.LoadString(IDS_NOTICE_NO_SUBJECT));
    EXPECT_EQ(names, (std::vector<std::string> { std::string(strNoSubject), "Agenda" }));
}

TEST_F(CatalogWorkTest, WithoutAPlaceOrAMailboxTheUpdateIsNotOffered)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    m_driver.AnswerNextMessageBox(IDOK);
    Command(ID_CATALOG_UPDATE);
    EXPECT_EQ(m_prompts.CountOf("update options"), 0);
}

TEST_F(CatalogWorkTest, AFirstSetUpInFolderModeCataloguesTheCheckedFoldersAsTheyLie)
{
    const std::string strPlan = Write("Projects/Alpha/plan.txt");
    const std::string strOther = Write("Other/note.txt");
    m_prompts.m_fnWizard = [&](CSetupResults& results) {
        results.bFolderMode = TRUE;
        results.extensions.Add(".txt");
        // The folder with everything below it.
        results.checkedFolders.SetAt(
            ProgramPathFromHostPath((Home() / "Projects").string()).c_str(), reinterpret_cast<void*>(1));
        return CFramePrompts::WIZARD_FINISHED;
    };
    ASSERT_TRUE(Start());

    EXPECT_TRUE(IsCatalogued(strPlan));
    EXPECT_FALSE(IsCatalogued(strOther));
    std::unique_ptr<CNodeRec> pSystem = FirstSystem();
    ASSERT_NE(pSystem, nullptr);
    EXPECT_STREQ(pSystem->GetName(), "Projects");
    // The chosen folders are not among those never offered.
    EXPECT_EQ(thePreferences.m_dsDir.GetSize(), 0);
    // The catalog counts as set up: the next start asks nothing.
    Stop();
    m_prompts.m_asked.clear();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("wizard"), 0);
}

TEST_F(CatalogWorkTest, SystemNamesOfTheWizardKeepThirtyCharactersAndLongerOnesAreCutAtACharacterBoundary)
{
    const std::string strThirty(COrgItem::NAME_LENGTH, 'x');
    std::string strAccented;
    for (int i = 0; i < 20; ++i)
        strAccented += "\xC3\xA9"; // 40 bytes, more than the catalog's field holds
    m_prompts.m_fnWizard = [&](CSetupResults& results) {
        results.pCustomBranch = std::make_unique<COrgItem>();
        results.pCustomBranch->strName = strThirty.c_str();
        auto pChild = std::make_unique<COrgItem>();
        pChild->strName = strAccented.c_str();
        results.pCustomBranch->children.push_back(std::move(pChild));
        return CFramePrompts::WIZARD_FINISHED;
    };
    ASSERT_TRUE(Start());
    std::unique_ptr<CNodeRec> pSystem = FirstSystem();
    ASSERT_NE(pSystem, nullptr);
    EXPECT_EQ(std::string(pSystem->GetName()), strThirty);
    std::unique_ptr<CNodeRec> pChild(pSystem->GetFirstChild());
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(std::string(pChild->GetName()), strAccented.substr(0, 30));
}

TEST_F(CatalogWorkTest, MaintenanceEmptiesTheCleanUpFoldersItIsAskedTo)
{
    const fs::path leftOver = Home() / "downloads" / "part.bin";
    Write("downloads/part.bin");
    WriteCatalog([&](CCatalog& catalog, CNodeRec&) {
        const std::string strFolder = ProgramPathFromHostPath((Home() / "downloads").string()) + "\\";
        std::unique_ptr<CCleanUpFolderRec> pFolder(catalog.AddCleanUpFolder(strFolder.c_str()));
        EXPECT_NE(pFolder, nullptr);
    });
    ASSERT_TRUE(Start());
    thePreferences.m_bCleanUpTempFolders = TRUE;
    thePreferences.m_bCleanUpTempFiles = FALSE;
    thePreferences.m_bCleanUpExpired = FALSE;
    thePreferences.m_bCleanUpRecycle = FALSE;

    Command(ID_CATALOG_MAINTENANCE);
    EXPECT_TRUE(fs::exists(leftOver));
    m_prompts.m_nMaintenanceAnswer = IDOK;
    Command(ID_CATALOG_MAINTENANCE);
    EXPECT_FALSE(fs::exists(leftOver));
    thePreferences.m_bCleanUpTempFolders = FALSE;
}

} // namespace
