#include "store/DocumentOperations.h"

#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CKeywordRec.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class DocumentOperationsTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    std::unique_ptr<CNodeRec> NodeAt(CRecordRef ref) { return Node(*m_pCatalog, ref); }
    std::vector<std::string> DocumentsOf(CRecordRef node) { return Paths(NodeAt(node)->GetDocuments()); }
    std::vector<std::string> ChildrenOf(CRecordRef node) { return Names(NodeAt(node)->GetChildren()); }

    // Answers every question with nAnswer and keeps the last one.
    ConfirmDeleteCallback Answer(int nAnswer)
    {
        return [this, nAnswer](const CDeleteQuestion& question) {
            m_question = question;
            ++m_nAsked;
            return nAnswer;
        };
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
    CDeleteQuestion m_question;
    int m_nAsked { 0 };
};

/* Payloads. */

TEST_F(DocumentOperationsTest, PayloadBytesFollowTheClipboardLayout)
{
    CCatalogPayload payload { { 12, 3 }, PAYLOAD_MOVE, { { 30, 1 }, { -1, -1 } } };
    std::vector<BYTE> bytes = BuildCatalogPayload(payload);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_THAT(std::vector<BYTE>(bytes.begin(), bytes.begin() + 20),
        ElementsAre(12, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 30, 0, 0, 0));
    CCatalogPayload parsed;
    ASSERT_TRUE(ParseCatalogPayload(bytes, &parsed));
    EXPECT_EQ(parsed.source, (CRecordRef { 12, 3 }));
    EXPECT_EQ(parsed.nOperation, PAYLOAD_MOVE);
    EXPECT_THAT(parsed.items, ElementsAre(CRecordRef { 30, 1 }, CRecordRef {}));
}

TEST_F(DocumentOperationsTest, DamagedPayloadsAreRefused)
{
    std::vector<BYTE> bytes = BuildCatalogPayload({ {}, PAYLOAD_COPY, { { 1, 1 }, { 2, 2 } } });
    CCatalogPayload parsed;
    EXPECT_FALSE(ParseCatalogPayload(std::span(bytes).first(10), &parsed));
    EXPECT_FALSE(ParseCatalogPayload(std::span(bytes).first(bytes.size() - 1), &parsed));
    bytes[12] = 0xFF; // a count of -1
    bytes[13] = 0xFF;
    bytes[14] = 0xFF;
    bytes[15] = 0xFF;
    EXPECT_FALSE(ParseCatalogPayload(bytes, &parsed));
    bytes[12] = 3; // more items than the bytes hold
    bytes[13] = bytes[14] = bytes[15] = 0;
    EXPECT_FALSE(ParseCatalogPayload(bytes, &parsed));
    EXPECT_FALSE(ParseCatalogPayload(bytes, &parsed, PayloadTail::Ignore)) << "slack is allowed, a short count not";
    bytes[12] = 1; // one item and the second as slack
    EXPECT_FALSE(ParseCatalogPayload(bytes, &parsed));
    ASSERT_TRUE(ParseCatalogPayload(bytes, &parsed, PayloadTail::Ignore));
    EXPECT_EQ(parsed.items.size(), 1u);
}

/* Dropping. */

TEST_F(DocumentOperationsTest, CopiedDocumentsStayUnderTheSource)
{
    auto pGamma = NodeAt(m_tree.gamma);
    EXPECT_EQ(
        DropDocuments(pGamma.get(), { m_tree.alpha, PAYLOAD_COPY, { m_tree.aTxt, m_tree.readme } }, PAYLOAD_COPY), 2);
    EXPECT_THAT(DocumentsOf(m_tree.gamma), ElementsAre("c:\\work\\a.txt", "c:\\docs\\readme.md"));
    EXPECT_THAT(DocumentsOf(m_tree.alpha), ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
}

TEST_F(DocumentOperationsTest, MovedDocumentsLeaveTheSource)
{
    auto pGamma = NodeAt(m_tree.gamma);
    EXPECT_EQ(DropDocuments(pGamma.get(), { m_tree.alpha, PAYLOAD_MOVE, { m_tree.aTxt } }, PAYLOAD_MOVE), 1);
    EXPECT_THAT(DocumentsOf(m_tree.gamma), ElementsAre("c:\\work\\a.txt"));
    EXPECT_THAT(DocumentsOf(m_tree.alpha), ElementsAre("c:\\work\\b.txt", "c:\\docs\\readme.md"));
}

TEST_F(DocumentOperationsTest, NodesAreCopiedWithTheirContents)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    std::unique_ptr<CKeywordRec> pKeyword(m_pCatalog->CreateKeyword("invoice"));
    ASSERT_TRUE(pAlpha->LinkKeyword(pKeyword.get()));
    AddNode(*pAlpha, "Inner", "inner text");
    auto pArchive = NodeAt(m_tree.archive);

    EXPECT_EQ(DropDocuments(pArchive.get(), { m_tree.projects, PAYLOAD_COPY, { m_tree.alpha } }, PAYLOAD_COPY), 1);
    EXPECT_THAT(ChildrenOf(m_tree.archive), ElementsAre("Alpha"));
    std::unique_ptr<CNodeRec> pCopy(pArchive->FindChildByName("Alpha"));
    ASSERT_TRUE(pCopy);
    EXPECT_THAT(Paths(pCopy->GetDocuments()), ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
    EXPECT_EQ(pCopy->GetKeywords().size(), 1u);
    std::unique_ptr<CNodeRec> pInner(pCopy->FindChildByName("Inner"));
    ASSERT_TRUE(pInner);
    EXPECT_EQ(std::string(pInner->GetInfoString()), "inner text");
    EXPECT_THAT(ChildrenOf(m_tree.projects), ElementsAre("Alpha", "beta", "Gamma"));
}

TEST_F(DocumentOperationsTest, MovedNodesLeaveTheirOldPlace)
{
    auto pArchive = NodeAt(m_tree.archive);
    EXPECT_EQ(DropDocuments(pArchive.get(), { m_tree.projects, PAYLOAD_MOVE, { m_tree.beta } }, PAYLOAD_MOVE), 1);
    EXPECT_THAT(ChildrenOf(m_tree.projects), ElementsAre("Alpha", "Gamma"));
    EXPECT_THAT(ChildrenOf(m_tree.archive), ElementsAre("beta"));
    std::unique_ptr<CNodeRec> pMoved(pArchive->FindChildByName("beta"));
    EXPECT_THAT(Paths(pMoved->GetDocuments()), ElementsAre("c:\\work\\a.txt"));
}

TEST_F(DocumentOperationsTest, ANodeIsNeverDroppedIntoItsOwnSubtree)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pProjects = NodeAt(m_tree.projects);
    EXPECT_EQ(DropDocuments(pAlpha.get(), { {}, PAYLOAD_MOVE, { m_tree.projects } }, PAYLOAD_MOVE), 0);
    EXPECT_EQ(DropDocuments(pProjects.get(), { {}, PAYLOAD_COPY, { m_tree.projects } }, PAYLOAD_COPY), 0);
    EXPECT_THAT(ChildrenOf(m_tree.projects), ElementsAre("Alpha", "beta", "Gamma"));
    EXPECT_THAT(ChildrenOf(m_tree.alpha), IsEmpty());
}

TEST_F(DocumentOperationsTest, StaleAndFixedItemsAreSkipped)
{
    auto pGamma = NodeAt(m_tree.gamma);
    CCatalogPayload payload { { 99, 0 }, PAYLOAD_MOVE,
        { { 99, 4 }, { 3, 0 }, { ROOT_BLOCK_DIRECTORY, 0 }, m_tree.oldTxt } };
    EXPECT_EQ(DropDocuments(pGamma.get(), payload, PAYLOAD_MOVE), 1);
    EXPECT_THAT(DocumentsOf(m_tree.gamma), ElementsAre("c:\\old\\old.txt"));
    EXPECT_EQ(DropDocuments(pGamma.get(), payload, 7), 0);
    EXPECT_EQ(DropDocuments(nullptr, payload, PAYLOAD_COPY), 0);
}

/* Removing. */

TEST_F(DocumentOperationsTest, NoMeansNothingIsRemoved)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    CCatalogRecord* items[] = { pDocument.get() };
    EXPECT_EQ(ConfirmDeleteItems(pAlpha.get(), items, Answer(7)), 0);
    EXPECT_EQ(m_nAsked, 1);
    EXPECT_EQ(m_question.nStyle, CONFIRM_DELETE_STYLE);
    EXPECT_THAT(m_question.paths, ElementsAre(CString("c:\\work\\b.txt")));
    EXPECT_THAT(m_question.textIds,
        ElementsAre(UINT { IDS_DELETE_DOCUMENT }, UINT { IDS_DELETE_ORPHANS }, UINT { IDS_DELETE_CONTINUE }));
    EXPECT_EQ(pAlpha->CountDocuments(), 3);
}

TEST_F(DocumentOperationsTest, YesRemovesLinksAndKeepsOrphansUnderTheThirdTopNode)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pA = Document(*m_pCatalog, m_tree.aTxt); // also under beta
    auto pB = Document(*m_pCatalog, m_tree.bTxt); // only under alpha
    CCatalogRecord* items[] = { pA.get(), pB.get() };
    EXPECT_EQ(ConfirmDeleteItems(pAlpha.get(), items, Answer(CONFIRM_DELETE_YES)), 2);
    EXPECT_THAT(m_question.textIds,
        ElementsAre(UINT { IDS_DELETE_DOCUMENTS }, UINT { IDS_DELETE_ORPHANS }, UINT { IDS_DELETE_CONTINUE }));
    EXPECT_THAT(DocumentsOf(m_tree.alpha), ElementsAre("c:\\docs\\readme.md"));
    EXPECT_THAT(DocumentsOf({ 3, 0 }), ElementsAre("c:\\work\\b.txt"));
}

TEST_F(DocumentOperationsTest, RemovingANodeTakesItsSubtree)
{
    auto pProjects = NodeAt(m_tree.projects);
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pFixed = NodeAt({ 4, 0 });
    CCatalogRecord* items[] = { pAlpha.get(), pFixed.get() };
    EXPECT_EQ(ConfirmDeleteItems(pProjects.get(), items, Answer(CONFIRM_DELETE_YES)), 1);
    EXPECT_THAT(m_question.textIds,
        ElementsAre(UINT { IDS_DELETE_NODE }, UINT { IDS_DELETE_SUBTREES }, UINT { IDS_DELETE_ORPHANS },
            UINT { IDS_DELETE_CONTINUE }));
    EXPECT_THAT(m_question.paths, ElementsAre(CString("Projects\\Alpha")));
    EXPECT_THAT(ChildrenOf(m_tree.projects), ElementsAre("beta", "Gamma"));
    // b.txt was only under alpha; a.txt stays under beta, readme.md under archive.
    EXPECT_THAT(DocumentsOf({ 3, 0 }), ElementsAre("c:\\work\\b.txt"));
}

TEST_F(DocumentOperationsTest, NothingToRemoveAsksNothing)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pRoot = Root(*m_pCatalog);
    CCatalogRecord* items[] = { pRoot.get() };
    EXPECT_EQ(ConfirmDeleteItems(pAlpha.get(), items, Answer(CONFIRM_DELETE_YES)), 0);
    EXPECT_EQ(m_nAsked, 0);
    EXPECT_EQ(ConfirmDeleteItems(pAlpha.get(), items, nullptr), 0);
}

/* Copies into another catalog. */

TEST_F(DocumentOperationsTest, CopyToCatalogRecreatesTheNodePathInTheTarget)
{
    auto pRecycle = NewMainCatalog("winrec.cat", TRUE);
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    strcpy(info.szDescription, "the first draft");
    ASSERT_TRUE(pDocument->UpdateInfo(info));

    std::unique_ptr<CDocumentRec> pCopy(pDocument->CopyToCatalog(pRecycle.get()));
    ASSERT_TRUE(pCopy);
    EXPECT_EQ(pCopy->GetCatalog(), pRecycle.get());
    EXPECT_EQ(FullPath(*pCopy), "c:\\work\\a.txt");
    CString strDescription;
    pCopy->GetNameWithLocation(strDescription);
    EXPECT_EQ(std::string(strDescription), "the first draft");
    std::vector<std::string> paths;
    for (const auto& pNode : pCopy->GetLinkedNodes()) {
        CStringArray names;
        pNode->GetPathNames(names);
        std::string strPath;
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            strPath += (i ? "/" : "") + std::string(names[i]);
        paths.push_back(strPath);
    }
    EXPECT_THAT(paths, UnorderedElementsAre("Projects/Alpha", "Projects/beta"));
    // The copy's nodes carry the source's information.
    std::unique_ptr<CNodeRec> pProjects(Root(*pRecycle)->FindChildByName("Projects"));
    ASSERT_TRUE(pProjects);
    EXPECT_EQ(std::string(pProjects->GetInfoString()), "current work");

    // A second copy reuses the document and the nodes.
    std::unique_ptr<CDocumentRec> pAgain(pDocument->CopyToCatalog(pRecycle.get()));
    ASSERT_TRUE(pAgain);
    EXPECT_EQ(pAgain->GetRef(), pCopy->GetRef());
    EXPECT_EQ(Root(*pRecycle)->CountChildren(), 1);
    EXPECT_FALSE(pDocument->CopyToCatalog(m_pCatalog.get()));
    EXPECT_FALSE(pDocument->CopyToCatalog(nullptr));
}
