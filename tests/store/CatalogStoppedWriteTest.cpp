#include "store/CatalogCheck.h"

#include "store/CEntryLinkRec.h"
#include "store/CLinkRec.h"
#include "store/CNodeRec.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogCompaction.h"
#include "store/CatalogIo.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

namespace {

// Writes stopped half-way: the process stops (here: the n-th write fails,
// which leaves the file as a kill there would) in the middle of a change.
// Whatever is left must pass the whole-file check and read as before or after
// the change, with nothing left over: a change reaches the file whole. A file
// written before changes were whole may hold the leftover of a link stopped
// between its two writes; readers never take it for a link, and the rebuild
// drops it.
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

TEST_F(CatalogStoppedWriteTest, StoppedLinkIsMadeWholeOrNotAtAll)
{
    auto link = [&](CCatalog& catalog) {
        auto pDocument = Document(catalog, m_document);
        return Node(catalog, m_public)->AddDocument(pDocument.get());
    };
    ForEachStoppedWrite(link, [&](bool bLinked) {
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        EXPECT_EQ(report.nOneWayLinks, 0);
        auto pCatalog = OpenCatalog();
        const std::vector<std::string> shown = PublicDocuments(*pCatalog);
        EXPECT_EQ(shown, bLinked ? std::vector<std::string> { "c:\\work\\open.txt" } : std::vector<std::string> {});
    });
}

TEST_F(CatalogStoppedWriteTest, LeftoverLinkNeverShowsTheDocumentThatTakesTheSlotLater)
{
    BuildCatalogs();
    auto pCatalog = OpenCatalog();
    {
        // The first of a link's two writes alone: its record in the group's chain.
        std::array<BYTE, CLinkRec::RECORD_SIZE> record {};
        SetRefField(record, CLinkRec::OFF_DOCUMENT, m_document);
        SetRefField(record, CLinkRec::OFF_NEXT, {});
        CRecordRef link;
        ASSERT_TRUE(pCatalog->AllocateRecord(TABLE_LINK, NO_BLOCK, m_public, &link, record));
        auto pPublic = Node(*pCatalog, m_public);
        SetLongField(pPublic->GetData(), CNodeRec::OFF_LINK_BLOCK, link.nBlock);
        ASSERT_TRUE(pPublic->Save());
    }
    CCatalogCheckReport report;
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nOneWayLinks, 1);
    EXPECT_TRUE(PublicDocuments(*pCatalog).empty());
    // The document goes and a secret one takes its slot: the leftover link
    // record still names that slot.
    ASSERT_TRUE(Document(*pCatalog, m_document)->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    auto pHidden = AddDocument(*pCatalog, Node(*pCatalog, m_secret).get(), "c:\\work\\hidden.txt");
    ASSERT_EQ(pHidden->GetRef(), m_document);
    EXPECT_TRUE(PublicDocuments(*pCatalog).empty());
    EXPECT_EQ(Node(*pCatalog, m_secret)->GetDocuments().size(), 1U);
    EXPECT_EQ(pHidden->GetLinkedNodes().size(), 1U);
    pHidden.reset();
    pCatalog.reset();
    // The rebuild drops the leftover.
    ASSERT_TRUE(RebuildCatalogFiles(ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str()));
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nOneWayLinks, 0);
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

TEST_F(CatalogStoppedWriteTest, StoppedKeywordLinkLeavesNoOneWayLinkAndALeftoverIsCounted)
{
    auto link = [&](CCatalog& catalog) {
        CKeywordRec keyword(&catalog, m_keyword.nBlock, m_keyword.nSlot);
        return Node(catalog, m_public)->LinkKeyword(&keyword);
    };
    ForEachStoppedWrite(link, [&](bool bLinked) {
        CCatalogCheckReport report;
        EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
        EXPECT_EQ(report.nOneWayEntryLinks, 0);
        auto pCatalog = OpenCatalog();
        EXPECT_EQ(Node(*pCatalog, m_public)->GetKeywords().size(), bLinked ? 1U : 0U);
    });
    // The entry's side alone, as a link stopped between its two writes left it in a file written before.
    BuildCatalogs();
    {
        auto pCatalog = OpenCatalog();
        ASSERT_TRUE(AddEntryLink(pCatalog.get(), EntryLinkChainOfEntry(TABLE_KEYWORD_LINK, m_keyword), m_public, 0));
    }
    CCatalogCheckReport report;
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nOneWayEntryLinks, 1);
}
