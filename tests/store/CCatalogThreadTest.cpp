#include "store/CCatalog.h"

#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The list's fill worker reads a catalog while the user-interface thread adds
// to it: path lookups and tree walks run beside document additions.
TEST_F(CatalogTest, ReadersWalkWhileAWriterAddsDocuments)
{
    auto pCatalog = NewMainCatalog();
    SampleTree tree = BuildSample(*pCatalog);
    std::atomic<bool> bDone { false };
    std::atomic<int> nBadReads { 0 };
    auto reader = [&] {
        while (!bDone) {
            std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath("c:\\work\\a.txt"));
            if (!pFound || pFound->GetRef() != tree.aTxt)
                ++nBadReads;
            CNodeRec alpha(pCatalog.get(), tree.alpha.nBlock, tree.alpha.nSlot);
            if (alpha.GetDocuments().size() < 3)
                ++nBadReads;
        }
    };
    std::thread reader1(reader), reader2(reader);
    auto pGamma = Node(*pCatalog, tree.gamma);
    for (int n = 0; n < 200; ++n)
        AddDocument(
            *pCatalog, pGamma.get(), ("c:\\new" + std::to_string(n % 7) + "\\" + std::to_string(n) + ".txt").c_str());
    bDone = true;
    reader1.join();
    reader2.join();
    EXPECT_EQ(nBadReads, 0);
    EXPECT_EQ(pGamma->CountDocuments(), 200);
    std::unique_ptr<CDocumentRec> pLast(pCatalog->FindPath("c:\\new3\\199.txt"));
    EXPECT_TRUE(pLast);
    EXPECT_EQ(m_errors.Count(), 0u);
}

// A worker filters and links while the user-interface thread clears the
// record cache and links keywords: maps are built again under their lock.
TEST_F(CatalogTest, ClearingTheRecordCacheBesideReadersLosesNothing)
{
    auto pCatalog = NewMainCatalog();
    SampleTree tree = BuildSample(*pCatalog);
    std::atomic<bool> bDone { false };
    std::atomic<int> nBadReads { 0 };
    std::thread reader([&] {
        while (!bDone) {
            std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath("c:\\old\\old.txt"));
            if (!pFound || pFound->GetRef() != tree.oldTxt)
                ++nBadReads;
            CNodeRec archive(pCatalog.get(), tree.archive.nBlock, tree.archive.nSlot);
            if (archive.GetFilteredDocuments(nullptr, nullptr).size() != 2)
                ++nBadReads;
            (void)archive.GetKeywords();
        }
    });
    auto pAlpha = Node(*pCatalog, tree.alpha);
    for (int n = 0; n < 50; ++n) {
        pCatalog->ClearRecordCache();
        std::unique_ptr<CKeywordRec> pKeyword(pCatalog->CreateKeyword(("k" + std::to_string(n)).c_str()));
        ASSERT_TRUE(pKeyword);
        ASSERT_TRUE(pAlpha->LinkKeyword(pKeyword.get()));
    }
    bDone = true;
    reader.join();
    EXPECT_EQ(nBadReads, 0);
    EXPECT_EQ(pAlpha->GetKeywords().size(), 50u);
    EXPECT_EQ(m_errors.Count(), 0u);
}
