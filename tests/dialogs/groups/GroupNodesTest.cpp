#include "dialogs/groups/GroupNodes.h"

#include "dialogs/groups/KeywordIndex.h"
#include "store/CKeywordRec.h"
#include "store/CatalogIo.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

class GroupNodesTest : public CatalogTest {
protected:
    std::set<std::string> Keywords(CRecordRef ref)
    {
        std::set<std::string> texts;
        for (const auto& pKeyword : Node(*m_pCatalog, ref)->GetKeywords())
            texts.emplace(static_cast<LPCTSTR>(pKeyword->GetText()));
        return texts;
    }
    // A catalog whose group Projects has the keywords "alpha" and "beta".
    CRecordRef NewSample()
    {
        m_pCatalog.reset();
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pProjects = AddNode(*Root(*m_pCatalog), "Projects");
        EXPECT_TRUE(StoreNodeKeywords(*pProjects, { "alpha", "beta" }));
        return pProjects->GetRef();
    }

    std::unique_ptr<CCatalog> m_pCatalog;
};

} // namespace

TEST_F(GroupNodesTest, AFailedWriteLeavesExtraKeywordsNeverLostOnes)
{
    const std::set<std::string> before { "alpha", "beta" };
    const std::set<std::string> wanted { "beta", "gamma" };
    for (int nFail = 1;; ++nFail) {
        ASSERT_LE(nFail, 40) << "the store never succeeded";
        SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
        const CRecordRef projects = NewSample();
        SetCatalogWriteFailure(nFail);
        const BOOL bStored = StoreNodeKeywords(*Node(*m_pCatalog, projects), { "beta", "gamma" });
        SetCatalogWriteFailure(0);
        m_pCatalog.reset();
        m_pCatalog = OpenCatalog();
        const std::set<std::string> after = Keywords(projects);
        if (bStored) {
            EXPECT_EQ(after, wanted);
            break;
        }
        EXPECT_TRUE(std::includes(after.begin(), after.end(), before.begin(), before.end()))
            << "every keyword the group had is still linked";
    }
}

TEST_F(GroupNodesTest, AKeywordInOtherCaseAndABlankReuseAndSkip)
{
    const CRecordRef projects = NewSample();
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, projects);
    EXPECT_TRUE(StoreNodeKeywords(*pProjects, { "ALPHA", "", "Beta" }));
    EXPECT_EQ(Keywords(projects), (std::set<std::string> { "alpha", "beta" }));
    EXPECT_EQ(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("ALPHA")), nullptr) << "no twin of alpha";

    EXPECT_TRUE(StoreNodeFolders(*pProjects, { "c:\\work", "*c:\\mail\\inbox" }));
    EXPECT_TRUE(StoreNodeFolders(*Node(*m_pCatalog, projects), { "*c:\\mail\\inbox" }));
    std::vector<std::string> folders;
    for (const auto& pFolder : Node(*m_pCatalog, projects)->GetNodeFolders())
        folders.emplace_back(static_cast<LPCTSTR>(pFolder->GetText()));
    EXPECT_EQ(folders, std::vector<std::string> { "*c:\\mail\\inbox" });
}

TEST_F(GroupNodesTest, ASaveSharingOneKeywordIndexMakesOneRecordAndPrefersExactCase)
{
    const CRecordRef projects = NewSample();
    std::unique_ptr<CNodeRec> pArchive = AddNode(*Root(*m_pCatalog), "Archive");
    ASSERT_NE(std::unique_ptr<CKeywordRec>(m_pCatalog->CreateKeyword("Invoice")), nullptr);
    ASSERT_NE(std::unique_ptr<CKeywordRec>(m_pCatalog->CreateKeyword("INVOICE")), nullptr);

    CKeywordIndex index(m_pCatalog.get());
    EXPECT_TRUE(StoreNodeKeywords(*Node(*m_pCatalog, projects), { "Delta", "INVOICE" }, index));
    EXPECT_TRUE(StoreNodeKeywords(*pArchive, { "delta", "invoice" }, index));

    std::vector<CRecordRef> refs;
    ASSERT_TRUE(m_pCatalog->ListRootChain(EntryRootBlock(TABLE_KEYWORD), &refs));
    EXPECT_EQ(refs.size(), 5U) << "alpha, beta, Invoice, INVOICE and one Delta";
    EXPECT_EQ(Keywords(projects), (std::set<std::string> { "Delta", "INVOICE" }));
    EXPECT_EQ(Keywords(pArchive->GetRef()), (std::set<std::string> { "Delta", "Invoice" }));
    for (const char* pszText : { "Delta", "delta", "INVOICE", "invoice", "Invoice", "iNVOICE", "none" }) {
        std::unique_ptr<CKeywordRec> pIndexed(index.Find(pszText));
        std::unique_ptr<CKeywordRec> pScanned(m_pCatalog->FindKeywordNoCase(pszText));
        ASSERT_EQ(pIndexed == nullptr, pScanned == nullptr) << pszText;
        if (pIndexed != nullptr) {
            EXPECT_EQ(pIndexed->GetRef(), pScanned->GetRef()) << pszText;
        }
    }
}
