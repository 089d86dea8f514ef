#include "store/CatalogCheck.h"

#include "store/CNodeRec.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogCompaction.h"
#include "store/CatalogIo.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Writes stopped half-way: the process stops (here: the n-th write fails,
// which leaves the file as a kill there would) in the middle of a change.
// Whatever is left must pass the whole-file check and read as before or after
// the change; a link, for one, never as a group listing a document that does
// not list the group back.
class CatalogStoppedWriteTest : public CatalogTest {
protected:
    // Public and Secret below the root, and a document linked under Secret
    // (so that a new link goes at the end of its list), in new catalogs.
    void BuildCatalogs()
    {
        auto pCatalog = NewMainCatalog();
        auto pRoot = Root(*pCatalog);
        m_public = AddNode(*pRoot, "Public")->GetRef();
        m_secret = AddNode(*pRoot, "Secret")->GetRef();
        m_document = AddDocument(*pCatalog, Node(*pCatalog, m_secret).get(), "c:\\work\\open.txt")->GetRef();
        NewMainCatalog("winrec.cat", TRUE);
    }

    // What the public group shows, each way of asking agreeing.
    std::vector<std::string> PublicDocuments(CCatalog& catalog)
    {
        auto pPublic = Node(catalog, m_public);
        std::vector<std::string> paths = Paths(pPublic->GetDocuments());
        EXPECT_EQ(pPublic->CountDocuments(), static_cast<int>(paths.size()));
        EXPECT_EQ(pPublic->HasDocuments(nullptr), paths.empty() ? FALSE : TRUE);
        return paths;
    }

    CRecordRef m_public;
    CRecordRef m_secret;
    CRecordRef m_document;
};

} // namespace

TEST_F(CatalogStoppedWriteTest, StoppedLinkNeverShowsTheDocumentThatTakesTheSlotLater)
{
    bool bOneWayLeft = false;
    for (int nFail = 1;; ++nFail) {
        SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
        ASSERT_LT(nFail, 10);
        BuildCatalogs();
        BOOL bLinked = FALSE;
        {
            auto pCatalog = OpenCatalog();
            auto pDocument = Document(*pCatalog, m_document);
            SetCatalogWriteFailure(nFail);
            bLinked = Node(*pCatalog, m_public)->AddDocument(pDocument.get());
            SetCatalogWriteFailure(0);
        }
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        auto pCatalog = OpenCatalog();
        const std::vector<std::string> shown = PublicDocuments(*pCatalog);
        if (bLinked) {
            EXPECT_EQ(shown, std::vector<std::string> { "c:\\work\\open.txt" });
            break;
        }
        EXPECT_TRUE(shown.empty());
        if (report.nOneWayLinks == 0)
            continue;
        bOneWayLeft = true;
        // The document goes and a secret one takes its slot: the leftover link
        // record still names that slot.
        ASSERT_TRUE(Document(*pCatalog, m_document)->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
        auto pHidden = AddDocument(*pCatalog, Node(*pCatalog, m_secret).get(), "c:\\work\\hidden.txt");
        ASSERT_EQ(pHidden->GetRef(), m_document);
        EXPECT_TRUE(PublicDocuments(*pCatalog).empty());
        EXPECT_TRUE(Node(*pCatalog, m_secret)->GetDocuments().size() == 1);
        EXPECT_TRUE(pHidden->GetLinkedNodes().size() == 1);
        pCatalog.reset();
        // The rebuild drops the leftover.
        ASSERT_TRUE(RebuildCatalogFiles(ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str()));
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        EXPECT_EQ(report.nOneWayLinks, 0);
    }
    EXPECT_TRUE(bOneWayLeft);
}

TEST_F(CatalogStoppedWriteTest, StoppedAddOfADocumentWithLongTextsPassesTheCheck)
{
    for (int nFail = 1;; ++nFail) {
        SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
        ASSERT_LT(nFail, 20);
        BuildCatalogs();
        CDocumentInfo info {};
        std::strcpy(info.szName, "long.txt");
        std::memset(info.szDescription, 'd', 250);
        bool bAdded = false;
        {
            auto pCatalog = OpenCatalog();
            SetCatalogWriteFailure(nFail);
            bAdded = std::unique_ptr<CDocumentRec>(pCatalog->FindOrAddDocument("c:\\work\\", "long.txt", &info))
                != nullptr;
            SetCatalogWriteFailure(0);
        }
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
        auto pCatalog = OpenCatalog();
        std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath("c:\\work\\long.txt"));
        // Added whole or not at all.
        if (pFound) {
            CDocumentInfo found;
            pFound->GetInfo(&found);
            EXPECT_EQ(std::string(found.szDescription), std::string(250, 'd'));
        }
        if (bAdded) {
            EXPECT_TRUE(pFound);
            break;
        }
    }
}

TEST_F(CatalogStoppedWriteTest, StoppedKeywordLinkIsCountedAsOneWay)
{
    bool bOneWayLeft = false;
    for (int nFail = 1;; ++nFail) {
        SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
        ASSERT_LT(nFail, 10);
        BuildCatalogs();
        BOOL bLinked = FALSE;
        {
            auto pCatalog = OpenCatalog();
            CRecordRef ref;
            ASSERT_TRUE(CTextEntryRec::Create(pCatalog.get(), TABLE_KEYWORD, "plans", &ref));
            CKeywordRec keyword(pCatalog.get(), ref.nBlock, ref.nSlot);
            SetCatalogWriteFailure(nFail);
            bLinked = Node(*pCatalog, m_public)->LinkKeyword(&keyword);
            SetCatalogWriteFailure(0);
        }
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        bOneWayLeft |= report.nOneWayEntryLinks == 1;
        EXPECT_LE(report.nOneWayEntryLinks, bLinked ? 0 : 1);
        if (bLinked)
            break;
    }
    EXPECT_TRUE(bOneWayLeft);
}
