#include "platform/base/CMap.h"

#include "tests/platform/base/TrackedElement.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using CIntMap = CMap<int, int, int, int>;

// The keys in walk order.
template<class MAP, class KEY, class VALUE> std::vector<KEY> WalkKeys(const MAP& map)
{
    std::vector<KEY> keys;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        KEY key {};
        VALUE value {};
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

std::vector<int> WalkKeys(const CIntMap& map)
{
    return WalkKeys<CIntMap, int, int>(map);
}

// A key type of the program's own kind: its hash comes from a specialisation.
struct CellKey {
    int nRow;
    int nColumn;
    bool operator==(const CellKey& other) const { return nRow == other.nRow && nColumn == other.nColumn; }
};

}

template<> UINT HashKey<CellKey>(CellKey key)
{
    return static_cast<UINT>(key.nRow * 100 + key.nColumn);
}

TEST(CMapTest, DefaultHashShiftsTheKeyRightByFourBits)
{
    EXPECT_EQ(HashKey(0x1234), 0x123U);
    EXPECT_EQ(HashKey(15), 0U);
    EXPECT_EQ(HashKey(static_cast<WORD>(0xFFFF)), 0xFFFU);
    // Integral keys are taken as 32 bits, as the program was built for.
    EXPECT_EQ(HashKey(-1), 0x0FFFFFFFU);
    EXPECT_EQ(HashKey(reinterpret_cast<void*>(0x5670)), 0x567U);
}

TEST(CMapTest, TextHashAddsEachUnsignedByteToThirtyThreeTimesTheHash)
{
    EXPECT_EQ(HashKey<LPCTSTR>(""), 0U);
    EXPECT_EQ(HashKey<LPCTSTR>(nullptr), 0U);
    EXPECT_EQ(HashKey<LPCTSTR>("a"), 97U);
    EXPECT_EQ(HashKey<LPCTSTR>("ab"), 97U * 33 + 98);
    // Bytes above 0x7F count as unsigned: "é" is C3 A9.
    EXPECT_EQ(HashKey<LPCTSTR>("\xC3\xA9"), 0xC3U * 33 + 0xA9);
    // Long texts wrap around in 32 bits.
    EXPECT_EQ(HashKey<LPCTSTR>("documents"), 3469096626U);
    EXPECT_EQ(HashKey<LPCTSTR>("abcdefghijklmnop"), 977873800U);
}

TEST(CMapTest, WalkGoesThroughBucketsInOrderAndEachChainFromItsHead)
{
    // Buckets of 17: 16 -> 1, 1 -> 0, 272 -> 17 % 17 = 0, 32 -> 2, 288 -> 18 % 17 = 1,
    // 5 -> 0. Within a bucket the key added last comes first.
    CIntMap map;
    for (int key : { 16, 1, 272, 32, 288, 5 })
        map[key] = key * 10;
    EXPECT_EQ(map.GetHashTableSize(), 17U);
    EXPECT_EQ(WalkKeys(map), (std::vector<int> { 5, 272, 1, 288, 16, 32 }));

    // Changing a value keeps the entry where it is; a removed and re-added key
    // goes back to the head of its chain.
    map[1] = 11;
    map.SetAt(272, 0);
    EXPECT_EQ(WalkKeys(map), (std::vector<int> { 5, 272, 1, 288, 16, 32 }));
    EXPECT_TRUE(map.RemoveKey(1));
    map[1] = 1;
    EXPECT_EQ(WalkKeys(map), (std::vector<int> { 1, 5, 272, 288, 16, 32 }));
}

TEST(CMapTest, TableSizeSetByInitHashTablePicksTheBuckets)
{
    // Buckets of 5: 0 -> 0, 16 -> 1, 80 -> 5 % 5 = 0, 48 -> 3, 96 -> 6 % 5 = 1.
    CIntMap map;
    map.InitHashTable(5);
    for (int key : { 0, 16, 80, 48, 96 })
        map.SetAt(key, 1);
    EXPECT_EQ(map.GetHashTableSize(), 5U);
    EXPECT_EQ(WalkKeys(map), (std::vector<int> { 80, 0, 96, 16, 48 }));

    // The size stays fixed however many entries come.
    for (int key = 1000; key < 2000; ++key)
        map[key] = key;
    EXPECT_EQ(map.GetHashTableSize(), 5U);
    EXPECT_EQ(map.GetCount(), 1005);

    // RemoveAll keeps the size; a deferred table works the same.
    map.RemoveAll();
    EXPECT_EQ(map.GetHashTableSize(), 5U);
    map.InitHashTable(7, FALSE);
    EXPECT_EQ(map.GetHashTableSize(), 7U);
    map[112] = 1; // 7 % 7 = 0
    map[16] = 1;  // 1
    map[0] = 1;   // 0
    EXPECT_EQ(WalkKeys(map), (std::vector<int> { 0, 112, 16 }));
}

TEST(CMapTest, LookupReportsMissingKeysAndLeavesTheOutputAlone)
{
    CIntMap map;
    int nValue = -7;
    EXPECT_FALSE(map.Lookup(4, nValue));
    EXPECT_FALSE(map.RemoveKey(4));
    EXPECT_EQ(nValue, -7);

    // operator[] adds a missing key with a zero value.
    EXPECT_EQ(map[4], 0);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_TRUE(map.Lookup(4, nValue));
    EXPECT_EQ(nValue, 0);

    // Keys sharing a bucket stay apart.
    map[4 + 17 * 16] = 2;
    map[4 + 34 * 16] = 3;
    EXPECT_TRUE(map.Lookup(4 + 17 * 16, nValue));
    EXPECT_EQ(nValue, 2);
    EXPECT_TRUE(map.RemoveKey(4 + 17 * 16));
    EXPECT_FALSE(map.Lookup(4 + 17 * 16, nValue));
    EXPECT_TRUE(map.Lookup(4 + 34 * 16, nValue));
    EXPECT_EQ(nValue, 3);
    EXPECT_TRUE(map.Lookup(4, nValue));
    EXPECT_EQ(map.GetSize(), 2);
}

TEST(CMapTest, WalkMayRemoveTheEntryItWasJustGiven)
{
    CIntMap map;
    for (int key = 0; key < 400; key += 4)
        map[key] = key;
    POSITION pos = map.GetStartPosition();
    int nVisited = 0;
    while (pos) {
        int nKey = 0;
        int nValue = 0;
        map.GetNextAssoc(pos, nKey, nValue);
        EXPECT_EQ(nKey, nValue);
        ++nVisited;
        if (nKey % 8 == 0) {
            EXPECT_TRUE(map.RemoveKey(nKey));
        }
    }
    EXPECT_EQ(nVisited, 100);
    EXPECT_EQ(map.GetCount(), 50);
    map.AssertValid();
    for (int key : WalkKeys(map))
        EXPECT_EQ(key % 8, 4);
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMapTest, SpecialisedHashKeyDecidesTheBucket)
{
    // Buckets of 17: {0, 5} -> 5, {0, 22} -> 22 % 17 = 5, {1, 0} -> 100 % 17 = 15,
    // {0, 1} -> 1.
    CMap<CellKey, const CellKey&, std::string, const std::string&> map;
    map[CellKey { 0, 5 }] = "a";
    map[CellKey { 0, 22 }] = "b";
    map[CellKey { 1, 0 }] = "c";
    map[CellKey { 0, 1 }] = "d";
    std::vector<std::pair<int, int>> keys;
    for (const CellKey& key : WalkKeys<decltype(map), CellKey, std::string>(map))
        keys.emplace_back(key.nRow, key.nColumn);
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>> { { 0, 1 }, { 0, 22 }, { 0, 5 }, { 1, 0 } }));

    std::string strValue;
    EXPECT_TRUE(map.Lookup(CellKey { 0, 22 }, strValue));
    EXPECT_EQ(strValue, "b");
}

TEST(CMapTest, ValuesAreDestroyedWithTheirEntries)
{
    {
        CMap<int, int, TrackedElement, const TrackedElement&> map;
        for (int key = 0; key < 30; ++key)
            map.SetAt(key, TrackedElement(key));
        EXPECT_EQ(TrackedElement::LiveCount(), 30);
        map.RemoveKey(3);
        EXPECT_EQ(TrackedElement::LiveCount(), 29);
        map.RemoveAll();
        EXPECT_EQ(TrackedElement::LiveCount(), 0);
        map[7] = TrackedElement(7);
        TrackedElement value;
        EXPECT_TRUE(map.Lookup(7, value));
        EXPECT_EQ(value.Value(), 7);
    }
    EXPECT_EQ(TrackedElement::LiveCount(), 0);
}

#ifdef NDEBUG

TEST(CMapTest, InitHashTableLeavesAFilledMapAlone)
{
    CIntMap map;
    map[3] = 30;
    map.InitHashTable(101);
    EXPECT_EQ(map.GetHashTableSize(), 17U);
    int nValue = 0;
    EXPECT_TRUE(map.Lookup(3, nValue));
    EXPECT_EQ(nValue, 30);
}

#else

TEST(CMapDeathTest, InitHashTableOnAFilledMapStopsAtAnAssertion)
{
    CIntMap map;
    map[3] = 30;
    EXPECT_DEATH(map.InitHashTable(101), "Assertion failed");
}

TEST(CMapDeathTest, WalkingPastTheEndStopsAtAnAssertion)
{
    CIntMap map;
    map[1] = 1;
    POSITION pos = nullptr;
    int nKey = 0;
    int nValue = 0;
    EXPECT_DEATH(map.GetNextAssoc(pos, nKey, nValue), "Assertion failed");
}

#endif
