#include "store/OwnedCollections.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// A stand-in for a record object: it counts the live objects and the loads.
class CTestRecord {
public:
    CTestRecord(LONG nBlock, LONG nSlot, int nKey = 0)
        : m_nBlock(nBlock)
        , m_nSlot(nSlot)
        , m_nKey(nKey)
    {
        ++s_nAlive;
    }
    virtual ~CTestRecord() { --s_nAlive; }

    LONG GetBlock() const { return m_nBlock; }
    LONG GetSlot() const { return m_nSlot; }
    int GetKey() const { return m_nKey; }
    BOOL Load()
    {
        ++m_nLoads;
        return m_bLoadable ? TRUE : FALSE;
    }

    static inline int s_nAlive = 0;
    int m_nLoads { 0 };
    bool m_bLoadable { true };

private:
    LONG m_nBlock;
    LONG m_nSlot;
    int m_nKey;
};

// A derived record, deleted through the base class's destructor.
class CTestDerivedRecord : public CTestRecord {
public:
    using CTestRecord::CTestRecord;
    ~CTestDerivedRecord() override { ++s_nDerivedDeleted; }
    static inline int s_nDerivedDeleted = 0;
};

int CompareKeys(const CTestRecord* pFirst, const CTestRecord* pSecond)
{
    return pFirst->GetKey() < pSecond->GetKey() ? -1 : pFirst->GetKey() > pSecond->GetKey() ? 1 : 0;
}

class OwnedCollectionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CTestRecord::s_nAlive = 0;
        CTestDerivedRecord::s_nDerivedDeleted = 0;
    }
    void TearDown() override { EXPECT_EQ(CTestRecord::s_nAlive, 0) << "records leaked or deleted twice"; }
};

TEST_F(OwnedCollectionsTest, ArraysDeleteWhatLeavesThem)
{
    {
        COwnedPtrArray<CTestRecord> records;
        for (int i = 0; i < 10; ++i)
            records.Add(new CTestRecord(1, i));
        records.RemoveAt(2, 3);
        EXPECT_EQ(CTestRecord::s_nAlive, 7);
        EXPECT_EQ(records.GetAt(2)->GetSlot(), 5);
        records.SetAt(0, new CTestRecord(9, 9));
        records.SetAt(0, records.GetAt(0)); // The same element stays alive.
        EXPECT_EQ(CTestRecord::s_nAlive, 7);
        records.RemoveAt(6, 2); // Past the end: nothing happens.
        records.RemoveAt(-1);
        EXPECT_EQ(records.GetSize(), 7);
        records.RemoveAll();
        EXPECT_EQ(CTestRecord::s_nAlive, 0);
        records.Add(new CTestDerivedRecord(1, 1));
    }
    EXPECT_EQ(CTestDerivedRecord::s_nDerivedDeleted, 1);
}

TEST_F(OwnedCollectionsTest, DetachGivesTheElementAway)
{
    COwnedPtrArray<CTestRecord> records;
    records.Add(new CTestRecord(1, 0));
    records.Add(new CTestRecord(1, 1));
    CTestRecord* pRecord = records.Detach(0);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(records.GetSize(), 1);
    EXPECT_EQ(records.Detach(5), nullptr);
    records.RemoveAll();
    EXPECT_EQ(CTestRecord::s_nAlive, 1);
    delete pRecord;
}

TEST_F(OwnedCollectionsTest, RecordArrayFindsAndRemovesByIds)
{
    COwnedPtrArray2<CTestRecord> records;
    for (int i = 0; i < 5; ++i)
        records.Add(new CTestRecord(10 + i, i));
    ASSERT_NE(records.FindByIds(12, 2), nullptr);
    EXPECT_EQ(records.FindByIds(12, 2)->GetBlock(), 12);
    EXPECT_EQ(records.FindByIds(12, 3), nullptr);
    EXPECT_EQ(records.FindIndexByIds(14, 4), 4);
    EXPECT_TRUE(records.RemoveByIds(12, 2));
    EXPECT_FALSE(records.RemoveByIds(12, 2));
    EXPECT_EQ(CTestRecord::s_nAlive, 4);
    EXPECT_EQ(records.FindIndexByIds(14, 4), 3);
}

TEST_F(OwnedCollectionsTest, ReadPositionWalksUntilNull)
{
    COwnedPtrArray2<CTestRecord> records;
    EXPECT_EQ(records.GetNext(), nullptr);
    for (int i = 0; i < 4; ++i)
        records.Add(new CTestRecord(1, i));
    EXPECT_EQ(records.GetNext()->GetSlot(), 0);
    EXPECT_EQ(records.GetNext()->GetSlot(), 1);
    // Removing a record already read keeps the walk where it was.
    EXPECT_TRUE(records.RemoveByIds(1, 0));
    EXPECT_EQ(records.GetNext()->GetSlot(), 2);
    EXPECT_TRUE(records.RemoveByIds(1, 3));
    EXPECT_EQ(records.GetNext(), nullptr);
    EXPECT_EQ(records.GetNext(), nullptr);
    records.SetPosition(0);
    EXPECT_EQ(records.GetNext()->GetSlot(), 1);
    records.SetPosition(-3);
    EXPECT_EQ(records.GetNext(), nullptr);
}

TEST_F(OwnedCollectionsTest, InsertPositionKeepsTheArraySortedAndStable)
{
    COwnedPtrArray2<CTestRecord> records;
    const int keys[] = { 5, 3, 9, 3, 1, 5, 7, 3, 0, 9 };
    for (int i = 0; i < 10; ++i) {
        auto* pRecord = new CTestRecord(1, i, keys[i]);
        records.InsertAt(records.GetInsertPosition(pRecord, CompareKeys), pRecord);
    }
    for (int i = 1; i < records.GetSize(); ++i) {
        const CTestRecord* pBefore = records.GetAt(i - 1);
        const CTestRecord* pAfter = records.GetAt(i);
        ASSERT_LE(pBefore->GetKey(), pAfter->GetKey());
        if (pBefore->GetKey() == pAfter->GetKey()) {
            EXPECT_LT(pBefore->GetSlot(), pAfter->GetSlot()) << "equal keys keep their insertion order";
        }
    }
    // Descending order through the comparator's sign.
    COwnedPtrArray2<CTestRecord> descending;
    for (int i = 0; i < 10; ++i) {
        auto* pRecord = new CTestRecord(1, i, keys[i]);
        auto compare = [](const CTestRecord* a, const CTestRecord* b) { return -CompareKeys(a, b); };
        descending.InsertAt(descending.GetInsertPosition(pRecord, compare), pRecord);
    }
    EXPECT_EQ(descending.GetAt(0)->GetKey(), 9);
    EXPECT_EQ(descending.GetAt(9)->GetKey(), 0);
}

TEST_F(OwnedCollectionsTest, ListsDeleteButHandOutTheirEnds)
{
    COwnedPtrList<CTestRecord> list;
    for (int i = 0; i < 5; ++i)
        list.AddTail(new CTestRecord(0, i));
    CTestRecord* pHead = list.RemoveHead();
    EXPECT_EQ(pHead->GetSlot(), 0);
    POSITION position = list.GetHeadPosition();
    list.GetNext(position);
    list.RemoveAt(position); // Slot 2
    list.RemoveAt(nullptr);
    EXPECT_EQ(CTestRecord::s_nAlive, 4);
    std::vector<LONG> slots;
    for (POSITION walk = list.GetHeadPosition(); walk;)
        slots.push_back(list.GetNext(walk)->GetSlot());
    EXPECT_EQ(slots, (std::vector<LONG> { 1, 3, 4 }));
    list.RemoveAll();
    EXPECT_EQ(CTestRecord::s_nAlive, 1);
    list.AddHead(new CTestRecord(0, 9));
    delete pHead;
}

TEST_F(OwnedCollectionsTest, PointerMapsOwnTheirValues)
{
    {
        COwnerPtrMap<DWORD, CTestRecord> cache;
        for (DWORD i = 0; i < 40; ++i)
            cache.SetAt(i, new CTestRecord(static_cast<LONG>(i), 0));
        cache.SetAt(3, new CTestRecord(3, 1)); // Replaces and deletes the first one.
        EXPECT_EQ(CTestRecord::s_nAlive, 40);
        CTestRecord* pValue = nullptr;
        ASSERT_TRUE(cache.Lookup(3, pValue));
        cache.SetAt(3, pValue);
        EXPECT_EQ(pValue->GetSlot(), 1);
        EXPECT_TRUE(cache.RemoveKey(7));
        EXPECT_FALSE(cache.RemoveKey(7));
        EXPECT_EQ(CTestRecord::s_nAlive, 39);
        cache.RemoveAll();
        EXPECT_EQ(CTestRecord::s_nAlive, 0);
        cache.SetAt(1, new CTestRecord(1, 1));
    }
    EXPECT_EQ(CTestRecord::s_nAlive, 0);
}

TEST_F(OwnedCollectionsTest, ReloadRecordReadsTheCachedCopiesAgain)
{
    COwnerPtrMap<DWORD, CTestRecord> cache;
    auto* pNode = new CTestRecord(4, 2);
    auto* pOther = new CTestRecord(4, 3);
    auto* pGone = new CTestRecord(5, 0);
    pGone->m_bLoadable = false;
    cache.SetAt(1, pNode);
    cache.SetAt(2, pOther);
    cache.SetAt(3, pGone);
    EXPECT_TRUE(cache.ReloadRecord(4, 2));
    EXPECT_EQ(pNode->m_nLoads, 1);
    EXPECT_EQ(pOther->m_nLoads, 0);
    EXPECT_FALSE(cache.ReloadRecord(5, 0));
    EXPECT_EQ(pGone->m_nLoads, 1);
    EXPECT_FALSE(cache.ReloadRecord(6, 0));
}

TEST_F(OwnedCollectionsTest, StringMapsOwnTheirValues)
{
    COwnerStringMap<CTestRecord> extensions;
    extensions.SetAt("doc", new CTestRecord(1, 0));
    extensions.SetAt("odt", new CTestRecord(1, 1));
    extensions.SetAt("doc", new CTestRecord(1, 2));
    EXPECT_EQ(CTestRecord::s_nAlive, 2);
    CTestRecord* pValue = nullptr;
    ASSERT_TRUE(extensions.Lookup("doc", pValue));
    EXPECT_EQ(pValue->GetSlot(), 2);
    EXPECT_FALSE(extensions.Lookup("DOC", pValue));
    EXPECT_TRUE(extensions.RemoveKey("odt"));
    EXPECT_FALSE(extensions.RemoveKey("odt"));
    EXPECT_EQ(CTestRecord::s_nAlive, 1);
    std::set<CString> keys;
    for (POSITION position = extensions.GetStartPosition(); position;) {
        CString strKey;
        extensions.GetNextAssoc(position, strKey, pValue);
        keys.insert(strKey);
    }
    EXPECT_EQ(keys, (std::set<CString> { "doc" }));
}

} // namespace
