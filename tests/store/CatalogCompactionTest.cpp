#include "store/CatalogCompaction.h"

#include "store/CDirectoryRec.h"
#include "store/CFolderIndex.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"
#include "store/CatalogCheck.h"
#include "store/RecordFields.h"
#include "tests/store/CompactionFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace {

class CatalogCompactionTest : public CompactionTest {
protected:
    BOOL Rebuild() { return RebuildCatalogFiles(MainPath().c_str(), RecyclePath().c_str()); }

    // The node at a path of names below the root, or null.
    static std::unique_ptr<CNodeRec> FindNode(CCatalog& catalog, std::initializer_list<const char*> names)
    {
        std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(&catalog));
        for (const char* pszName : names) {
            if (!pNode)
                break;
            pNode.reset(pNode->FindChildByName(pszName));
        }
        return pNode;
    }
};

// A web settings block that records how the rebuild calls it.
class RecordingWebSettings : public CPreferenceBlock {
public:
    void SetDefaults() override { }
    void Load(HKEY) override { }
    BOOL Save(HKEY) const override
    {
        m_calls.push_back("save");
        return TRUE;
    }
    void CopyToSheet(CPreferencesWebSheetData&) const override { }
    void CopyFromSheet(const CPreferencesWebSheetData&) override { }
    void RemapCatalogReferences(CCatalog& oldCatalog, CCatalog& newCatalog) override
    {
        m_calls.push_back("remap " + std::string(oldCatalog.GetPath()) + " -> " + std::string(newCatalog.GetPath()));
        // The old catalog still holds the group where it was; the new one holds
        // it under the same names.
        CNodeRec oldNode(&oldCatalog, m_watched.nBlock, m_watched.nSlot);
        m_strOldPath = oldNode.IsValid() ? CompactionTest::NodePath(oldNode) : "(none)";
        std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(&newCatalog));
        CStringArray names;
        oldNode.GetPathNames(names);
        for (int n = 0; pNode && n < names.GetSize(); ++n)
            pNode.reset(pNode->FindChildByName(names[n]));
        m_newRef = pNode ? pNode->GetRef() : CRecordRef {};
    }

    CRecordRef m_watched;
    std::string m_strOldPath;
    CRecordRef m_newRef;
    mutable std::vector<std::string> m_calls;
};

} // namespace

TEST_F(CatalogCompactionTest, KeepsEverythingBothCatalogsHeld)
{
    BuildCatalogs();
    {
        CFolderIndex index(ProgramPath("winsch.cat").c_str(), 1);
    }
    std::string strBefore = SnapshotBoth();

    ASSERT_TRUE(Rebuild());
    EXPECT_EQ(SnapshotBoth(), strBefore);
    EXPECT_FALSE(Exists("ArchTemp.cat"));
    EXPECT_FALSE(Exists("ArchTemp.rec"));
    // The folder index named records by their old references.
    EXPECT_FALSE(Exists("winsch.cat"));
    EXPECT_EQ(m_errors.Count(), 0U);

    // The document no node links is still found by its path, with its password.
    auto pCatalog = OpenCatalog(MAIN_NAME);
    std::unique_ptr<CDocumentRec> pSecret(pCatalog->FindPath("c:\\protected\\secret.txt"));
    ASSERT_TRUE(pSecret);
    CDocumentInfo info;
    EXPECT_STREQ(pSecret->GetInfo(&info)->szPassword, "pw123");
    EXPECT_FALSE(pSecret->HasLinks());
    // Two sibling groups of one name stay two.
    auto pProjects = FindNode(*pCatalog, { "Projects" });
    ASSERT_TRUE(pProjects);
    EXPECT_EQ(Names(pProjects->GetChildren()), (std::vector<std::string> { "Alpha", "beta", "Gamma", "Gamma" }));
}

// A process stopped between the writes of one change could leave a directory
// miscounted and an expiry date without its link under the expiring-documents
// node, or the link without the date. The check counts both; the rebuild
// writes them right.
TEST_F(CatalogCompactionTest, RebuildWritesCountsAndExpiryLinksRight)
{
    BuildCatalogs();
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        std::unique_ptr<CDirectoryRec> pWork(pCatalog->FindDirectory("c:\\work\\"));
        ASSERT_TRUE(pWork);
        pWork->SetDocumentCount(pWork->GetDocumentCount() + 1);
        ASSERT_TRUE(pWork->Save());
        // a.txt gets a date without the link; readme.md keeps its link without its date.
        auto pokeExpiry = [&](const char* pszPath, LONG nExpiry) {
            std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindPath(pszPath));
            ASSERT_TRUE(pDocument);
            SetLongField(pDocument->GetData(), CDocumentRec::OFF_EXPIRY, nExpiry);
            ASSERT_TRUE(pDocument->Save());
        };
        pokeExpiry("c:\\work\\a.txt", 1900000000);
        pokeExpiry("c:\\docs\\readme.md", 0);
    }
    CCatalogCheckReport report;
    ASSERT_TRUE(CheckCatalogFile(MainPath().c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nMiscountedDirectories, 1);
    EXPECT_EQ(report.nExpiryMismatches, 2);

    ASSERT_TRUE(Rebuild());
    ASSERT_TRUE(CheckCatalogFile(MainPath().c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nMiscountedDirectories, 0);
    EXPECT_EQ(report.nExpiryMismatches, 0);
    auto pCatalog = OpenCatalog(MAIN_NAME);
    std::unique_ptr<CDirectoryRec> pWork(pCatalog->FindDirectory("c:\\work\\"));
    ASSERT_TRUE(pWork);
    EXPECT_EQ(pWork->GetDocumentCount(), 2);
    CNodeRec expiring(pCatalog.get(), CNodeRec::EXPIRING_NODE_BLOCK, 0);
    EXPECT_THAT(Paths(expiring.GetDocuments()), ::testing::ElementsAre("c:\\work\\a.txt"));
    EXPECT_EQ(m_errors.Count(), 0U);
}

TEST_F(CatalogCompactionTest, KeepsRecentEntriesPastTheShownCount)
{
    BuildCatalogs();
    thePreferences.m_nMostRecents = 1;
    std::string strBefore = SnapshotBoth();
    ASSERT_TRUE(Rebuild());
    EXPECT_EQ(SnapshotBoth(), strBefore);
    auto pCatalog = OpenCatalog(MAIN_NAME);
    CRecentList recent(pCatalog.get());
    EXPECT_EQ(recent.GetStoredCount(), 4);
    EXPECT_EQ(recent.GetCount(), 1);
    thePreferences.SetDefaults();
}

TEST_F(CatalogCompactionTest, ShrinksCatalogWithManyDeletedRecordsAndStaysCompact)
{
    BuildCatalogs(400);
    std::string strBefore = SnapshotBoth();
    std::uintmax_t nMainBefore = FileSize(MAIN_NAME);
    std::uintmax_t nRecycleBefore = FileSize(RECYCLE_NAME);

    ASSERT_TRUE(Rebuild());
    EXPECT_EQ(SnapshotBoth(), strBefore);
    std::uintmax_t nMainAfter = FileSize(MAIN_NAME);
    EXPECT_LT(nMainAfter * 4, nMainBefore);
    EXPECT_LT(FileSize(RECYCLE_NAME) * 4, nRecycleBefore);

    // A compact catalog rebuilds to the same size.
    ASSERT_TRUE(Rebuild());
    EXPECT_EQ(FileSize(MAIN_NAME), nMainAfter);
    EXPECT_EQ(SnapshotBoth(), strBefore);
}

TEST_F(CatalogCompactionTest, CatalogsThatAreLinksStayLinksToTheRebuiltFiles)
{
    namespace fs = std::filesystem;
    BuildCatalogs(50);
    const std::string strBefore = SnapshotBoth();
    // Each catalog lives in a folder of its own, named by a link in the program folder.
    for (const char* pszName : { MAIN_NAME, RECYCLE_NAME }) {
        fs::create_directory(Home() / (std::string(pszName) + ".d"));
        fs::rename(Home() / pszName, Home() / (std::string(pszName) + ".d") / pszName);
        fs::create_symlink(Home() / (std::string(pszName) + ".d") / pszName, Home() / pszName);
    }
    const std::uintmax_t nMainBefore = fs::file_size(Home() / "archiv.cat.d" / MAIN_NAME);

    ASSERT_TRUE(Rebuild());
    for (const char* pszName : { MAIN_NAME, RECYCLE_NAME }) {
        EXPECT_TRUE(fs::is_symlink(Home() / pszName)) << pszName;
        const fs::path folder = Home() / (std::string(pszName) + ".d");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
            << "a copy left beside " << pszName;
    }
    EXPECT_LT(fs::file_size(Home() / "archiv.cat.d" / MAIN_NAME), nMainBefore);
    EXPECT_EQ(SnapshotBoth(), strBefore);
    EXPECT_FALSE(Exists("ArchTemp.cat") || Exists("ArchTemp.rec"));
}

TEST_F(CatalogCompactionTest, ACatalogLinkThatLeadsNowhereIsReportedAndLeftAsItIs)
{
    namespace fs = std::filesystem;
    BuildCatalogs();
    fs::rename(Home() / MAIN_NAME, Home() / "kept.cat");
    fs::create_symlink(Home() / "loop-b", Home() / "loop-a");
    fs::create_symlink(Home() / "loop-a", Home() / "loop-b");
    for (const char* pszTarget : { "moved/archiv.cat", "loop-a" }) {
        fs::remove(Home() / MAIN_NAME);
        fs::create_symlink(Home() / pszTarget, Home() / MAIN_NAME);
        CatalogErrorRecorder errors;
        EXPECT_FALSE(Rebuild()) << pszTarget;
        ASSERT_EQ(errors.Count(), 1u) << pszTarget;
        EXPECT_EQ(errors.Reports()[0].strFileName, MAIN_NAME);
        EXPECT_EQ(fs::read_symlink(Home() / MAIN_NAME), Home() / pszTarget);
        EXPECT_FALSE(Exists("moved") || Exists("ArchTemp.cat") || Exists("ArchTemp.rec")) << pszTarget;
    }
}

TEST_F(CatalogCompactionTest, KeepsLongNamesWholeAndDropsLocationRecordsNoDocumentNames)
{
    BuildCatalogs();
    auto countLocations = [&] {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        int nCount = 0;
        for (CRecordRef cursor { ROOT_BLOCK_LOCATION, NO_SLOT }; pCatalog->NextRecord(&cursor);)
            ++nCount;
        return nCount;
    };
    const int nNamed = countLocations();
    ASSERT_GT(nNamed, 0);
    {
        // What an add killed between its location record and its document record leaves.
        auto pCatalog = OpenCatalog(MAIN_NAME);
        CRecordRef orphan;
        ASSERT_TRUE(pCatalog->AllocateRecord(TABLE_LOCATION, ROOT_BLOCK_LOCATION, {}, &orphan));
    }
    std::string strBefore = SnapshotBoth();
    ASSERT_TRUE(Rebuild());
    EXPECT_EQ(SnapshotBoth(), strBefore);
    EXPECT_EQ(countLocations(), nNamed);
}

TEST_F(CatalogCompactionTest, StateMapsOldReferencesToTheSameRecords)
{
    BuildCatalogs(30);
    std::vector<std::pair<CRecordRef, std::string>> nodes, documents;
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        auto pAlpha = FindNode(*pCatalog, { "Projects", "Alpha" });
        auto pDeep = FindNode(*pCatalog, { "Archive", "level 0", "level 1" });
        ASSERT_TRUE(pAlpha && pDeep);
        for (const CNodeRec* pNode : { pAlpha.get(), pDeep.get() })
            nodes.emplace_back(pNode->GetRef(), NodePath(*pNode));
        for (const auto& pDocument : pAlpha->GetDocuments())
            documents.emplace_back(pDocument->GetRef(), DocumentPath(*pDocument));
        std::unique_ptr<CDocumentRec> pSecret(pCatalog->FindPath("c:\\protected\\secret.txt"));
        documents.emplace_back(pSecret->GetRef(), DocumentPath(*pSecret));
    }
    ASSERT_TRUE(Rebuild());

    auto pCatalog = OpenCatalog(MAIN_NAME);
    const CCompactState& state = GetCompactState();
    for (const auto& [oldRef, strPath] : nodes) {
        CRecordRef newRef = state.nodes.Lookup(oldRef);
        CNodeRec node(pCatalog.get(), newRef.nBlock, newRef.nSlot);
        ASSERT_TRUE(node.IsValid()) << strPath;
        EXPECT_EQ(NodePath(node), strPath);
    }
    for (const auto& [oldRef, strPath] : documents) {
        CRecordRef newRef = state.documents.Lookup(oldRef);
        CDocumentRec document(pCatalog.get(), newRef.nBlock, newRef.nSlot);
        ASSERT_TRUE(document.IsValid()) << strPath;
        EXPECT_EQ(DocumentPath(document), strPath);
    }
    EXPECT_TRUE(state.nodes.Lookup({ 9999, 3 }).IsNone());

    ResetCompactState();
    EXPECT_EQ(GetCompactState().nodes.GetCount(), 0U);
    EXPECT_EQ(GetCompactState().documents.GetCount(), 0U);
}

TEST_F(CatalogCompactionTest, WebSettingsFollowTheMainCatalogOnlyAndAreSaved)
{
    BuildCatalogs(30);
    RecordingWebSettings web;
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        web.m_watched = FindNode(*pCatalog, { "Projects", "Alpha" })->GetRef();
    }
    thePreferences.AttachWebSettings(&web);
    BOOL bRebuilt = Rebuild();
    thePreferences.AttachWebSettings(nullptr);
    ASSERT_TRUE(bRebuilt);

    // Saved twice: staged beside the settings in force, then put in force once the copy is in place.
    ASSERT_EQ(web.m_calls.size(), 3U);
    EXPECT_EQ(web.m_calls[0], "remap " + MainPath() + " -> " + TempMainPath());
    EXPECT_EQ(web.m_calls[1], "save");
    EXPECT_EQ(web.m_calls[2], "save");
    EXPECT_FALSE(thePreferences.HasStagedWebSettings());
    EXPECT_EQ(web.m_strOldPath, "#0/Projects/Alpha");
    EXPECT_FALSE(web.m_newRef.IsNone());
    EXPECT_EQ(web.m_newRef, GetCompactState().nodes.Lookup(web.m_watched));
    EXPECT_NE(web.m_newRef, web.m_watched); // the churn moved the group
}

TEST_F(CatalogCompactionTest, CompactCatalogLeavesTheOpenCatalogsAlone)
{
    BuildCatalogs(10);
    std::vector<BYTE> main = FileBytes(MAIN_NAME);
    std::vector<BYTE> recycle = FileBytes(RECYCLE_NAME);
    {
        auto pMain = OpenCatalog(MAIN_NAME);
        auto pRecycle = OpenCatalog(RECYCLE_NAME);
        ASSERT_TRUE(CompactCatalog(*pMain, *pRecycle, TempMainPath().c_str(), TempRecyclePath().c_str()));
        EXPECT_TRUE(pMain->IsWritable());
    }
    EXPECT_EQ(FileBytes(MAIN_NAME), main);
    EXPECT_EQ(FileBytes(RECYCLE_NAME), recycle);
    EXPECT_EQ(Snapshot("ArchTemp.cat"), Snapshot(MAIN_NAME).replace(0, 10, "ArchTemp.cat"));
    EXPECT_EQ(Snapshot("ArchTemp.rec"), Snapshot(RECYCLE_NAME).replace(0, 10, "ArchTemp.rec"));
}
