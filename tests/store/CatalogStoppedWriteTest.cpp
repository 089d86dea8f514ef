#include "store/CatalogCheck.h"

#include "store/CNodeRec.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogCompaction.h"
#include "store/CatalogIo.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// Writes stopped half-way: the process stops (here: the n-th write fails,
// which leaves the file as a kill there would) in the middle of a change.
// Whatever is left must pass the whole-file check and read as before or after
// the change; a link, for one, never as a group listing a document that does
// not list the group back.
class CatalogStoppedWriteTest : public CatalogTest {
protected:
    // Public and Secret below the root, a document linked under Secret (so
    // that a new link goes at the end of its list) and a keyword, in new catalogs.
    void BuildCatalogs()
    {
        auto pCatalog = NewMainCatalog();
        auto pRoot = Root(*pCatalog);
        m_public = AddNode(*pRoot, "Public")->GetRef();
        m_secret = AddNode(*pRoot, "Secret")->GetRef();
        m_document = AddDocument(*pCatalog, Node(*pCatalog, m_secret).get(), "c:\\work\\open.txt")->GetRef();
        ASSERT_TRUE(CTextEntryRec::Create(pCatalog.get(), TABLE_KEYWORD, "plans", &m_keyword));
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

    // Runs write on new catalogs with the n-th write failing, for n = 1, 2, ...
    // until it succeeds; check runs after each, with whether write succeeded.
    void ForEachStoppedWrite(const std::function<BOOL(CCatalog&)>& write, const std::function<void(bool)>& check)
    {
        for (int nFail = 1; nFail < 20; ++nFail) {
            SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
            BuildCatalogs();
            BOOL bDone = FALSE;
            {
                auto pCatalog = OpenCatalog();
                SetCatalogWriteFailure(nFail);
                bDone = write(*pCatalog);
                SetCatalogWriteFailure(0);
            }
            check(bDone != FALSE);
            if (bDone)
                return;
        }
        ADD_FAILURE() << "the write never succeeded";
    }

    CRecordRef m_public;
    CRecordRef m_secret;
    CRecordRef m_document;
    CRecordRef m_keyword;
};

} // namespace

TEST_F(CatalogStoppedWriteTest, StoppedLinkNeverShowsTheDocumentThatTakesTheSlotLater)
{
    bool bOneWayLeft = false;
    auto link = [&](CCatalog& catalog) {
        auto pDocument = Document(catalog, m_document);
        return Node(catalog, m_public)->AddDocument(pDocument.get());
    };
    ForEachStoppedWrite(link, [&](bool bLinked) {
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        auto pCatalog = OpenCatalog();
        const std::vector<std::string> shown = PublicDocuments(*pCatalog);
        EXPECT_EQ(shown, bLinked ? std::vector<std::string> { "c:\\work\\open.txt" } : std::vector<std::string> {});
        if (bLinked || report.nOneWayLinks == 0)
            return;
        bOneWayLeft = true;
        // The document goes and a secret one takes its slot: the leftover link
        // record still names that slot.
        ASSERT_TRUE(Document(*pCatalog, m_document)->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
        auto pHidden = AddDocument(*pCatalog, Node(*pCatalog, m_secret).get(), "c:\\work\\hidden.txt");
        ASSERT_EQ(pHidden->GetRef(), m_document);
        EXPECT_TRUE(PublicDocuments(*pCatalog).empty());
        EXPECT_EQ(Node(*pCatalog, m_secret)->GetDocuments().size(), 1U);
        EXPECT_EQ(pHidden->GetLinkedNodes().size(), 1U);
        pCatalog.reset();
        // The rebuild drops the leftover.
        ASSERT_TRUE(RebuildCatalogFiles(ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str()));
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        EXPECT_EQ(report.nOneWayLinks, 0);
    });
    EXPECT_TRUE(bOneWayLeft);
}

TEST_F(CatalogStoppedWriteTest, StoppedAddOfADocumentWithALongNamePassesTheCheck)
{
    const std::string strName = std::string(200, 'n') + ".txt";
    CDocumentInfo info {};
    std::strcpy(info.szName, strName.c_str());
    std::memset(info.szDescription, 'd', 60);
    auto add = [&](CCatalog& catalog) {
        return std::unique_ptr<CDocumentRec>(catalog.FindOrAddDocument("c:\\work\\", strName.c_str(), &info)) ? TRUE
                                                                                                              : FALSE;
    };
    ForEachStoppedWrite(add, [&](bool bAdded) {
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
        // Added whole or not at all.
        auto pCatalog = OpenCatalog();
        std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath(("c:\\work\\" + strName).c_str()));
        EXPECT_TRUE(!bAdded || pFound);
        if (pFound) {
            CDocumentInfo found;
            pFound->GetInfo(&found);
            EXPECT_EQ(std::string(found.szName), strName);
            EXPECT_EQ(std::string(found.szDescription), std::string(60, 'd'));
        }
    });
}

TEST_F(CatalogStoppedWriteTest, StoppedKeywordLinkIsCountedAsOneWay)
{
    bool bOneWayLeft = false;
    auto link = [&](CCatalog& catalog) {
        CKeywordRec keyword(&catalog, m_keyword.nBlock, m_keyword.nSlot);
        return Node(catalog, m_public)->LinkKeyword(&keyword);
    };
    ForEachStoppedWrite(link, [&](bool bLinked) {
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        EXPECT_LE(report.nOneWayEntryLinks, bLinked ? 0 : 1);
        bOneWayLeft |= report.nOneWayEntryLinks == 1;
    });
    EXPECT_TRUE(bOneWayLeft);
}
