#include "store/CEntryLinkRec.h"

#include "store/CKeywordRec.h"
#include "store/CNodeFolderRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Links between the nodes of the sample tree and keywords or node folders.
class CEntryLinkRecTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    std::unique_ptr<CNodeRec> NodeAt(CRecordRef ref) { return Node(*m_pCatalog, ref); }
    std::unique_ptr<CKeywordRec> Keyword(const char* pszText)
    {
        std::unique_ptr<CKeywordRec> pKeyword(m_pCatalog->FindKeyword(pszText));
        if (!pKeyword)
            pKeyword.reset(m_pCatalog->CreateKeyword(pszText));
        return pKeyword;
    }

    static std::vector<std::string> Texts(const CKeywordRecArray& keywords)
    {
        std::vector<std::string> texts;
        for (const auto& pKeyword : keywords)
            texts.emplace_back(pKeyword->GetText());
        return texts;
    }
    static std::vector<std::string> Texts(const CNodeFolderRecArray& folders)
    {
        std::vector<std::string> texts;
        for (const auto& pFolder : folders)
            texts.emplace_back(pFolder->GetText());
        return texts;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

/* Keywords. */

TEST_F(CEntryLinkRecTest, BothSidesListTheirKeywordLinks)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pBeta = NodeAt(m_tree.beta);
    auto pInvoice = Keyword("invoice");
    auto pReport = Keyword("report");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pAlpha->LinkKeyword(pReport.get()));
    ASSERT_TRUE(pBeta->LinkKeyword(pInvoice.get()));

    EXPECT_THAT(Texts(pAlpha->GetKeywords()), ElementsAre("invoice", "report"));
    EXPECT_THAT(Texts(pBeta->GetKeywords()), ElementsAre("invoice"));
    EXPECT_THAT(Names(pInvoice->GetLinkedNodes()), ElementsAre("Alpha", "beta"));
    EXPECT_THAT(Names(pReport->GetLinkedNodes()), ElementsAre("Alpha"));
}

TEST_F(CEntryLinkRecTest, LinkingTwiceKeepsOneLink)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pInvoice = Keyword("invoice");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    EXPECT_EQ(pAlpha->GetKeywords().size(), 1u);
    EXPECT_EQ(pInvoice->GetLinkedNodes().size(), 1u);
}

TEST_F(CEntryLinkRecTest, TheKeywordSideKeepsTheNodeKind)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    CNodeInfo info;
    pAlpha->GetInfo(&info);
    info.nKind = 0x10;
    ASSERT_TRUE(pAlpha->UpdateInfo(info));
    auto pInvoice = Keyword("invoice");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));

    std::vector<CEntryLinkRec> links;
    ASSERT_TRUE(
        ListEntryLinks(m_pCatalog.get(), EntryLinkChainOfEntry(TABLE_KEYWORD_LINK, pInvoice->GetRef()), &links));
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].GetTarget(), m_tree.alpha);
    EXPECT_EQ(links[0].GetKind(), 0x10);

    // The table's own record class reads the same link; the other link table's refuses it.
    CKeywordLinkRec keywordLink(m_pCatalog.get(), links[0].GetRef());
    ASSERT_TRUE(keywordLink.IsValid());
    EXPECT_EQ(keywordLink.GetTarget(), m_tree.alpha);
    EXPECT_EQ(keywordLink.GetKind(), 0x10);
    EXPECT_FALSE(CNodeFolderLinkRec(m_pCatalog.get(), links[0].GetRef()).IsValid());
}

TEST_F(CEntryLinkRecTest, RemovingALinkRemovesItFromBothSides)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pBeta = NodeAt(m_tree.beta);
    auto pInvoice = Keyword("invoice");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pBeta->LinkKeyword(pInvoice.get()));

    ASSERT_TRUE(pAlpha->RemoveKeywordLink(pInvoice.get()));
    EXPECT_THAT(pAlpha->GetKeywords(), IsEmpty());
    EXPECT_THAT(Names(pInvoice->GetLinkedNodes()), ElementsAre("beta"));
}

TEST_F(CEntryLinkRecTest, UnlinkKeywordsLeavesOtherNodesLinked)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pBeta = NodeAt(m_tree.beta);
    auto pInvoice = Keyword("invoice");
    auto pReport = Keyword("report");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pAlpha->LinkKeyword(pReport.get()));
    ASSERT_TRUE(pBeta->LinkKeyword(pReport.get()));

    ASSERT_TRUE(pAlpha->UnlinkKeywords());
    EXPECT_THAT(pAlpha->GetKeywords(), IsEmpty());
    EXPECT_THAT(pInvoice->GetLinkedNodes(), IsEmpty());
    EXPECT_THAT(Names(pReport->GetLinkedNodes()), ElementsAre("beta"));
    // The keywords themselves stay.
    EXPECT_TRUE(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("invoice")));
}

TEST_F(CEntryLinkRecTest, LoadKeywordsAddsMissingKeywordsAndLinksThem)
{
    auto pGamma = NodeAt(m_tree.gamma);
    auto pExisting = Keyword("budget");
    CStringArray keywords;
    keywords.Add("budget");
    keywords.Add("plans");
    ASSERT_TRUE(m_pCatalog->LoadKeywords(pGamma.get(), keywords));
    EXPECT_THAT(Texts(pGamma->GetKeywords()), ElementsAre("budget", "plans"));
    EXPECT_EQ(pGamma->GetKeywords()[0]->GetRef(), pExisting->GetRef());
    EXPECT_FALSE(m_pCatalog->LoadKeywords(nullptr, keywords));
}

TEST_F(CEntryLinkRecTest, LinksSurviveReopening)
{
    {
        auto pAlpha = NodeAt(m_tree.alpha);
        auto pInvoice = Keyword("invoice");
        ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
        m_pCatalog.reset();
    }
    m_pCatalog = OpenCatalog();
    ASSERT_TRUE(m_pCatalog->IsOpen());
    EXPECT_THAT(Texts(NodeAt(m_tree.alpha)->GetKeywords()), ElementsAre("invoice"));
}

/* Node folders. */

TEST_F(CEntryLinkRecTest, NodeFoldersLinkLikeKeywords)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    std::unique_ptr<CNodeFolderRec> pWork(m_pCatalog->AddNodeFolder("c:\\work\\"));
    std::unique_ptr<CNodeFolderRec> pMail(m_pCatalog->AddNodeFolder("*c:\\mail\\inbox"));
    ASSERT_TRUE(pAlpha->LinkNodeFolder(pWork.get()));
    ASSERT_TRUE(pAlpha->LinkNodeFolder(pMail.get()));
    EXPECT_THAT(Texts(pAlpha->GetNodeFolders()), ElementsAre("c:\\work\\", "*c:\\mail\\inbox"));
    EXPECT_THAT(Names(pWork->GetLinkedNodes()), ElementsAre("Alpha"));
    std::vector<CEntryLinkRec> links;
    ASSERT_TRUE(ListEntryLinks(m_pCatalog.get(), EntryLinkChainOfNode(TABLE_NODE_FOLDER_LINK, m_tree.alpha), &links));
    ASSERT_EQ(links.size(), 2u);
    CNodeFolderLinkRec folderLink(m_pCatalog.get(), links[1].GetRef());
    ASSERT_TRUE(folderLink.IsValid());
    EXPECT_EQ(folderLink.GetTarget(), pMail->GetRef());
    EXPECT_FALSE(CKeywordLinkRec(m_pCatalog.get(), links[1].GetRef()).IsValid());

    ASSERT_TRUE(pAlpha->RemoveNodeFolderLink(pWork.get()));
    EXPECT_THAT(Texts(pAlpha->GetNodeFolders()), ElementsAre("*c:\\mail\\inbox"));
    ASSERT_TRUE(pAlpha->UnlinkNodeFolders());
    EXPECT_THAT(pAlpha->GetNodeFolders(), IsEmpty());
    EXPECT_THAT(pMail->GetLinkedNodes(), IsEmpty());
    // Keyword and folder links are kept apart.
    EXPECT_THAT(pAlpha->GetKeywords(), IsEmpty());
}

TEST_F(CEntryLinkRecTest, RemovingAFolderByNameUnlinksItsNodes)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pBeta = NodeAt(m_tree.beta);
    std::unique_ptr<CNodeFolderRec> pWork(m_pCatalog->AddNodeFolder("c:\\work\\"));
    std::unique_ptr<CNodeFolderRec> pOld(m_pCatalog->AddNodeFolder("c:\\old\\"));
    ASSERT_TRUE(pAlpha->LinkNodeFolder(pWork.get()));
    ASSERT_TRUE(pAlpha->LinkNodeFolder(pOld.get()));
    ASSERT_TRUE(pBeta->LinkNodeFolder(pWork.get()));

    ASSERT_TRUE(m_pCatalog->RemoveNodeFolderByName("c:\\work\\"));
    EXPECT_FALSE(m_pCatalog->CheckRecord(pWork->GetBlock(), pWork->GetSlot(), TABLE_NODE_FOLDER));
    EXPECT_THAT(Texts(pAlpha->GetNodeFolders()), ElementsAre("c:\\old\\"));
    EXPECT_THAT(pBeta->GetNodeFolders(), IsEmpty());

    // A folder added later into the freed slot is not linked to anybody.
    std::unique_ptr<CNodeFolderRec> pNew(m_pCatalog->AddNodeFolder("c:\\new\\"));
    EXPECT_THAT(pNew->GetLinkedNodes(), IsEmpty());
    EXPECT_THAT(pBeta->GetNodeFolders(), IsEmpty());
}

TEST_F(CEntryLinkRecTest, DeletingASubtreeUnlinksItsKeywordsAndFolders)
{
    auto pProjects = NodeAt(m_tree.projects);
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pArchive = NodeAt(m_tree.archive);
    auto pInvoice = Keyword("invoice");
    std::unique_ptr<CNodeFolderRec> pWork(m_pCatalog->AddNodeFolder("c:\\work\\"));
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pArchive->LinkKeyword(pInvoice.get()));
    ASSERT_TRUE(pAlpha->LinkNodeFolder(pWork.get()));

    ASSERT_TRUE(pProjects->DeleteSubtree(TRUE));
    EXPECT_THAT(Names(pInvoice->GetLinkedNodes()), ElementsAre("Archive"));
    EXPECT_THAT(pWork->GetLinkedNodes(), IsEmpty());
}

/* Damage. */

TEST_F(CEntryLinkRecTest, AForeignLinkChainFailsSoft)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pBeta = NodeAt(m_tree.beta);
    auto pInvoice = Keyword("invoice");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    // beta claims alpha's keyword chain.
    std::vector<BYTE> alpha(CNodeRec::RECORD_SIZE), beta(CNodeRec::RECORD_SIZE);
    ASSERT_TRUE(m_pCatalog->ReadRecord(m_tree.alpha, TABLE_NODE, alpha));
    ASSERT_TRUE(m_pCatalog->ReadRecord(m_tree.beta, TABLE_NODE, beta));
    SetLongField(beta, CNodeRec::OFF_KEYWORD_BLOCK, GetLongField(alpha, CNodeRec::OFF_KEYWORD_BLOCK));
    ASSERT_TRUE(m_pCatalog->WriteRecord(m_tree.beta, TABLE_NODE, beta));

    auto pBetaAgain = NodeAt(m_tree.beta);
    EXPECT_THAT(pBetaAgain->GetKeywords(), IsEmpty());
    EXPECT_FALSE(pBetaAgain->LinkKeyword(pInvoice.get()));
    EXPECT_GE(m_errors.Count(), 1u);
}

TEST_F(CEntryLinkRecTest, LinksToEntriesThatAreGoneAreSkipped)
{
    auto pAlpha = NodeAt(m_tree.alpha);
    auto pInvoice = Keyword("invoice");
    ASSERT_TRUE(pAlpha->LinkKeyword(pInvoice.get()));
    // The keyword's record goes behind the link's back.
    ASSERT_TRUE(m_pCatalog->FreeRecord(pInvoice->GetRef(), TABLE_KEYWORD));
    EXPECT_THAT(pAlpha->GetKeywords(), IsEmpty());
    EXPECT_TRUE(pAlpha->UnlinkKeywords());
}
