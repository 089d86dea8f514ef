#include "store/CNodeRec.h"

#include "store/CLinkRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CNodeRecTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    std::unique_ptr<CNodeRec> NodeAt(CRecordRef ref) { return Node(*m_pCatalog, ref); }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

/* Finding and adding children. */

TEST_F(CNodeRecTest, FindOrAddChildCreatesOnce)
{
    auto pProjects = NodeAt(m_tree.projects);
    auto pAgain = AddNode(*pProjects, "Alpha");
    EXPECT_EQ(pAgain->GetRef(), m_tree.alpha);
    EXPECT_EQ(pProjects->CountChildren(), 3);
}

TEST_F(CNodeRecTest, FindChildByNameIsCaseSensitive)
{
    auto pProjects = NodeAt(m_tree.projects);
    std::unique_ptr<CNodeRec> pBeta(pProjects->FindChildByName("beta"));
    ASSERT_TRUE(pBeta);
    EXPECT_EQ(pBeta->GetRef(), m_tree.beta);
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(pProjects->FindChildByName("Beta")));
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(pProjects->FindChildByName("")));
}

TEST_F(CNodeRecTest, ManyChildrenSpanSeveralBlocksOfTheirChain)
{
    auto pGamma = NodeAt(m_tree.gamma);
    const int nCount = 3 * SlotCount(CNodeRec::RECORD_SIZE);
    for (int n = 0; n < nCount; ++n)
        AddNode(*pGamma, ("child " + std::to_string(n)).c_str());
    EXPECT_EQ(pGamma->CountChildren(), nCount);
    std::unique_ptr<CNodeRec> pLast(pGamma->FindChildByName(("child " + std::to_string(nCount - 1)).c_str()));
    ASSERT_TRUE(pLast);
    std::unique_ptr<CNodeRec> pParent(pLast->GetParent());
    ASSERT_TRUE(pParent);
    EXPECT_EQ(pParent->GetRef(), m_tree.gamma);
}

TEST_F(CNodeRecTest, LongNamesAreCutAtACharacterBoundary)
{
    auto pGamma = NodeAt(m_tree.gamma);
    std::string strName;
    for (int n = 0; n < 20; ++n)
        strName += "\xC3\xA9"; // "é", two bytes
    auto pNode = AddNode(*pGamma, strName.c_str());
    EXPECT_EQ(std::string(pNode->GetName()), strName.substr(0, 30));
}

/* Order and ancestry. */

TEST_F(CNodeRecTest, SortedChildrenByNameOrInCatalogOrder)
{
    auto pProjects = NodeAt(m_tree.projects);
    AddNode(*pProjects, "alpha"); // equal to "Alpha" but for case: stays after it
    CSortSpec byName { 4101, 1, 1 };
    EXPECT_THAT(Names(pProjects->GetSortedChildren(&byName)), ElementsAre("Alpha", "alpha", "beta", "Gamma"));
    CSortSpec descending { 4101, 0, 1 };
    EXPECT_THAT(Names(pProjects->GetSortedChildren(&descending)), ElementsAre("Gamma", "beta", "Alpha", "alpha"));
    EXPECT_THAT(Names(pProjects->GetSortedChildren(nullptr)), ElementsAre("Alpha", "beta", "Gamma", "alpha"));
    EXPECT_THAT(NodeAt(m_tree.alpha)->GetSortedChildren(&byName), IsEmpty());
}

TEST_F(CNodeRecTest, FirstChildIsTheFirstInCatalogOrder)
{
    std::unique_ptr<CNodeRec> pFirst(NodeAt(m_tree.projects)->GetFirstChild());
    ASSERT_TRUE(pFirst);
    EXPECT_EQ(pFirst->GetRef(), m_tree.alpha);
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(NodeAt(m_tree.alpha)->GetFirstChild()));
}

TEST_F(CNodeRecTest, AncestorsStartAtTheRoot)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto ancestors = pAlpha->GetAncestors();
    ASSERT_EQ(ancestors.size(), 2u);
    EXPECT_EQ(ancestors[0]->GetRef(), (CRecordRef { 0, 0 }));
    EXPECT_EQ(ancestors[1]->GetRef(), m_tree.projects);

    CStringArray names;
    pAlpha->GetPathNames(names);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_EQ(names[0], "Projects");
    EXPECT_EQ(names[1], "Alpha");
}

TEST_F(CNodeRecTest, ParentIsNullForFixedNodesAndTheRootForTopLevelSystems)
{
    for (LONG nKind = 0; nKind <= 4; ++nKind)
        EXPECT_FALSE(std::unique_ptr<CNodeRec>(CNodeRec(m_pCatalog.get(), nKind).GetParent())) << nKind;
    std::unique_ptr<CNodeRec> pParent(NodeAt(m_tree.projects)->GetParent());
    ASSERT_TRUE(pParent);
    EXPECT_EQ(pParent->GetRef(), (CRecordRef { 0, 0 }));
    EXPECT_THAT(NodeAt(m_tree.projects)->GetAncestors().size(), 1u);
}

TEST_F(CNodeRecTest, FixedNodeCursorsNameTheirBlocks)
{
    std::unique_ptr<CNodeRec> pNodes[] = { std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec2(m_pCatalog.get())),
        std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(m_pCatalog.get())),
        std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec4(m_pCatalog.get())) };
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(pNodes[n]);
        EXPECT_EQ(pNodes[n]->GetRef(), (CRecordRef { n + 2, 0 }));
        std::unique_ptr<CNodeRec> pClone(pNodes[n]->Clone());
        EXPECT_EQ(pClone->GetRef(), pNodes[n]->GetRef());
    }
}

/* Information. */

TEST_F(CNodeRecTest, InfoRoundTripsThroughNodeAndInformationRecords)
{
    auto pBeta = NodeAt(m_tree.beta);
    CNodeInfo info;
    pBeta->GetInfo(&info);
    EXPECT_STREQ(info.szName, "beta");
    EXPECT_STREQ(info.szInfo, "");
    std::strcpy(info.szName, "Beta 2");
    std::string strText(549, 'x');
    std::strcpy(info.szInfo, strText.c_str());
    info.wSearchType = 0x00A5;
    info.nFlags = 0x5;
    ASSERT_TRUE(pBeta->UpdateInfo(info));

    auto pReread = NodeAt(m_tree.beta);
    EXPECT_EQ(pReread->GetName(), "Beta 2");
    EXPECT_EQ(pReread->GetFlags(), 0x5);
    EXPECT_EQ(std::string(pReread->GetInfoString()), strText);
    EXPECT_EQ(pReread->GetInfoWord(), 0x00A5);
}

TEST_F(CNodeRecTest, DefaultNamesAreEmpty)
{
    CNodeInfo info;
    std::memset(&info, 'z', sizeof(info));
    MakeDefaultNames(&info);
    EXPECT_STREQ(info.szName, "");
    EXPECT_STREQ(info.szInfo, "");
    EXPECT_EQ(info.wSearchType, 0);
}

/* Documents and deleting. */

TEST_F(CNodeRecTest, DocumentsAreListedInLinkOrder)
{
    EXPECT_THAT(Paths(NodeAt(m_tree.alpha)->GetDocuments()),
        ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
    EXPECT_EQ(NodeAt(m_tree.alpha)->CountDocuments(), 3);
    EXPECT_EQ(NodeAt(m_tree.gamma)->CountDocuments(), 0);
}

TEST_F(CNodeRecTest, AddDocumentLinksOnce)
{
    auto pGamma = NodeAt(m_tree.gamma);
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    ASSERT_TRUE(pGamma->AddDocument(pDocument.get()));
    ASSERT_TRUE(pGamma->AddDocument(pDocument.get()));
    EXPECT_EQ(pGamma->CountDocuments(), 1);
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 2);
}

TEST_F(CNodeRecTest, TwoCursorsOnOneNodeShareItsChains)
{
    auto pFirst = NodeAt(m_tree.gamma);
    auto pSecond = NodeAt(m_tree.gamma);
    auto pDocument = Document(*m_pCatalog, m_tree.oldTxt);
    ASSERT_TRUE(pFirst->AddDocument(pDocument.get()));
    AddNode(*pFirst, "one");
    ASSERT_TRUE(pSecond->AddDocument(Document(*m_pCatalog, m_tree.bTxt).get()));
    AddNode(*pSecond, "two");
    CNodeInfo info;
    pFirst->GetInfo(&info);
    ASSERT_TRUE(pFirst->UpdateInfo(info)); // a stale cursor writes back no stale chains
    EXPECT_EQ(NodeAt(m_tree.gamma)->CountDocuments(), 2);
    EXPECT_THAT(Names(NodeAt(m_tree.gamma)->GetChildren()), ElementsAre("one", "two"));
}

TEST_F(CNodeRecTest, DeleteLinksLeavesOtherNodesLinks)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    ASSERT_TRUE(pAlpha->DeleteLinks(pDocument.get()));
    EXPECT_THAT(Paths(pAlpha->GetDocuments()), ElementsAre("c:\\work\\b.txt", "c:\\docs\\readme.md"));
    EXPECT_THAT(Names(pDocument->GetLinkedNodes()), ElementsAre("beta"));
}

TEST_F(CNodeRecTest, DeleteSubtreeRemovesDescendantsAndTheirLinks)
{
    auto pGamma = NodeAt(m_tree.gamma);
    auto pDeep = AddNode(*pGamma, "deep", "some text");
    auto pDeeper = AddNode(*pDeep, "deeper");
    AddDocument(*m_pCatalog, pDeeper.get(), "c:\\old\\old.txt");
    CRecordRef deep = pDeep->GetRef(), deeper = pDeeper->GetRef();
    CRecordRef info = GetRefField(pDeep->GetData(), CNodeRec::OFF_INFO_REF);
    ASSERT_FALSE(info.IsNone());

    auto pProjects = NodeAt(m_tree.projects);
    ASSERT_TRUE(pProjects->DeleteSubtree(TRUE));
    for (CRecordRef ref : { m_tree.projects, m_tree.alpha, m_tree.gamma, deep, deeper })
        EXPECT_FALSE(m_pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE));
    EXPECT_FALSE(m_pCatalog->CheckRecord(info.nBlock, info.nSlot, TABLE_NODE_INFO));
    EXPECT_THAT(Names(Root(*m_pCatalog)->GetChildren()), ElementsAre("Archive"));
    // The documents stay catalogued; only the links to deleted nodes are gone.
    auto pOld = Document(*m_pCatalog, m_tree.oldTxt);
    EXPECT_THAT(Names(pOld->GetLinkedNodes()), ElementsAre("Archive"));
    EXPECT_FALSE(Document(*m_pCatalog, m_tree.aTxt)->HasLinks());
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CNodeRecTest, DeleteSubtreeRefusesFixedNodesAndANonRecursiveCall)
{
    EXPECT_FALSE(Root(*m_pCatalog)->DeleteSubtree(TRUE));
    EXPECT_FALSE(CNodeRec(m_pCatalog.get(), 3).DeleteSubtree(TRUE));
    EXPECT_FALSE(NodeAt(m_tree.gamma)->DeleteSubtree(FALSE));
    EXPECT_TRUE(m_pCatalog->CheckRecord(m_tree.gamma.nBlock, m_tree.gamma.nSlot, TABLE_NODE));
}

/* Stored node references. */

TEST_F(CNodeRecTest, StoredNodePassesOnlyWhileItKeepsItsNameAndRecord)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    EXPECT_TRUE(pAlpha->GetChildrenFiltered());

    auto pRenamed = NodeAt(m_tree.alpha);
    CNodeInfo info;
    pRenamed->GetInfo(&info);
    strcpy(info.szName, "Alpha 2");
    ASSERT_TRUE(pRenamed->UpdateInfo(info));
    EXPECT_FALSE(pAlpha->GetChildrenFiltered());
    EXPECT_TRUE(pRenamed->GetChildrenFiltered());

    auto pGamma = NodeAt(m_tree.gamma);
    auto pDeleted = NodeAt(m_tree.gamma);
    ASSERT_TRUE(pDeleted->DeleteSubtree(TRUE));
    EXPECT_FALSE(pGamma->GetChildrenFiltered());
}
