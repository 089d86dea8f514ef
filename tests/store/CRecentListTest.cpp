#include "store/CRecentList.h"

#include "store/CPreferences.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

class CRecentListTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
        thePreferences.m_nMostRecents = CRecentList::MAX_ENTRIES;
    }
    void TearDown() override
    {
        thePreferences.SetDefaults();
        CatalogTest::TearDown();
    }

    std::string Entry(const CRecentList& list, int i)
    {
        std::unique_ptr<CDocumentRec> pDocument(list.CreateItemObject(i));
        return pDocument ? FullPath(*pDocument) : std::string("(none)");
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(CRecentListTest, NewestFirstWithoutDuplicates)
{
    CRecentList list(m_pCatalog.get());
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(list.CreateItemObject(0)));
    ASSERT_TRUE(list.AddEntry(*Document(*m_pCatalog, m_tree.aTxt)));
    ASSERT_TRUE(list.AddEntry(*Document(*m_pCatalog, m_tree.bTxt)));
    ASSERT_TRUE(list.AddEntry(*Document(*m_pCatalog, m_tree.aTxt)));
    CRecentList reread(m_pCatalog.get());
    ASSERT_EQ(reread.GetCount(), 2);
    EXPECT_EQ(Entry(reread, 0), "c:\\work\\a.txt");
    EXPECT_EQ(Entry(reread, 1), "c:\\work\\b.txt");
    EXPECT_EQ(Entry(reread, 2), "(none)");
    EXPECT_EQ(Entry(reread, -1), "(none)");
}

TEST_F(CRecentListTest, KeepsFiftyAndShowsAsManyAsMostRecents)
{
    CRecentList list(m_pCatalog.get());
    for (int n = 0; n < 60; ++n) {
        auto pDocument = AddDocument(*m_pCatalog, nullptr, ("c:\\many\\" + std::to_string(n) + ".txt").c_str());
        ASSERT_TRUE(list.AddEntry(*pDocument));
    }
    EXPECT_EQ(list.GetCount(), CRecentList::MAX_ENTRIES);
    EXPECT_EQ(Entry(list, 0), "c:\\many\\59.txt");
    EXPECT_EQ(Entry(list, 49), "c:\\many\\10.txt");
    EXPECT_EQ(Entry(list, 50), "(none)");

    // The preference is read at each count; the entries past it stay kept.
    thePreferences.m_nMostRecents = 5;
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.GetStoredCount(), CRecentList::MAX_ENTRIES);
    ASSERT_TRUE(list.AddEntry(*Document(*m_pCatalog, m_tree.aTxt)));
    thePreferences.m_nMostRecents = 20;
    CRecentList reread(m_pCatalog.get());
    EXPECT_EQ(reread.GetCount(), 20);
    EXPECT_EQ(Entry(reread, 0), "c:\\work\\a.txt");
    EXPECT_EQ(Entry(reread, 19), "c:\\many\\41.txt");

    // Out-of-range preferences show one entry at least and fifty at most.
    thePreferences.m_nMostRecents = 0;
    EXPECT_EQ(reread.GetCount(), 1);
    thePreferences.m_nMostRecents = 500;
    EXPECT_EQ(reread.GetCount(), CRecentList::MAX_ENTRIES);
}

TEST_F(CRecentListTest, RemovedDocumentsGiveNoObject)
{
    CRecentList list(m_pCatalog.get());
    ASSERT_TRUE(list.AddEntry(*Document(*m_pCatalog, m_tree.oldTxt)));
    ASSERT_TRUE(Document(*m_pCatalog, m_tree.oldTxt)->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Entry(list, 0), "(none)");
}

TEST_F(CRecentListTest, SeveralAddedAtOnceLeaveTheListTheyLeaveOneByOne)
{
    // Two catalogs alike: one list takes each group a document at a time, the other at once.
    auto pOther = NewMainCatalog("other.cat");
    BuildSample(*pOther);
    std::vector<CRecordRef> mine, others;
    for (int n = 0; n < 70; ++n) {
        const std::string strPath = "c:\\many\\" + std::to_string(n) + ".txt";
        mine.push_back(AddDocument(*m_pCatalog, nullptr, strPath.c_str())->GetRef());
        others.push_back(AddDocument(*pOther, nullptr, strPath.c_str())->GetRef());
    }
    const auto entries = [&](const CRecentList& list) {
        std::vector<std::string> shown;
        for (int i = 0; i < list.GetStoredCount(); ++i)
            shown.push_back(Entry(list, i));
        return shown;
    };
    // Repeats of older entries and within a group, an empty group, and one longer than the list.
    std::vector<std::vector<std::size_t>> groups = { { 0, 1, 2 }, { 3, 1, 4, 3 }, { 5 }, {}, { 2, 6, 6, 0 } };
    groups.emplace_back();
    for (std::size_t n = 10; n < 70; ++n)
        groups.back().push_back(n % 7 == 0 ? 4 : n);
    groups.push_back({ 1, 69 });

    CRecentList oneByOne(m_pCatalog.get());
    CRecentList atOnce(pOther.get());
    for (const std::vector<std::size_t>& group : groups) {
        std::vector<CRecordRef> refs;
        for (std::size_t n : group) {
            ASSERT_TRUE(oneByOne.AddEntry(CDocumentRec(m_pCatalog.get(), mine[n].nBlock, mine[n].nSlot)));
            refs.push_back(others[n]);
        }
        ASSERT_TRUE(atOnce.AddEntries(refs));
        EXPECT_EQ(entries(CRecentList(pOther.get())), entries(oneByOne));
    }
    EXPECT_EQ(oneByOne.GetStoredCount(), CRecentList::MAX_ENTRIES);
}
