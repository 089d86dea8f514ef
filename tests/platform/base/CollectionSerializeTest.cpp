#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionLists.h"
#include "platform/base/CollectionMaps.h"

#include "platform/base/CArchiveException.h"
#include "tests/platform/base/ArchiveTestClasses.h"
#include "tests/platform/base/ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

TEST(CollectionSerializeTest, StringArrayUsesCountThenStrings)
{
    CStringArray strings;
    strings.Add("ab");
    strings.Add("");
    std::string strBytes = StoredBytes([&](CArchive& ar) { strings.Serialize(ar); });
    EXPECT_EQ(strBytes,
        Le16(2)
            + std::string("\x02"
                          "ab",
                3)
            + std::string("\x00", 1));

    CLoadingArchive loading(strBytes);
    CStringArray loaded;
    loaded.Add("stale");
    loaded.Serialize(loading.Ar());
    ASSERT_EQ(loaded.GetSize(), 2);
    EXPECT_EQ(loaded[0], "ab");
    EXPECT_EQ(loaded[1], "");
}

TEST(CollectionSerializeTest, LargeCountsTakeTheEscapedForm)
{
    CByteArray bytes;
    bytes.SetSize(0x10000);
    bytes[0xFFFF] = 7;
    std::string strBytes = StoredBytes([&](CArchive& ar) { bytes.Serialize(ar); });
    EXPECT_EQ(strBytes.substr(0, 6), Le16(0xFFFF) + Le32(0x10000));

    CLoadingArchive loading(strBytes);
    CByteArray loaded;
    loaded.Serialize(loading.Ar());
    ASSERT_EQ(loaded.GetSize(), 0x10000);
    EXPECT_EQ(loaded[0xFFFF], 7);
}

TEST(CollectionSerializeTest, ValuesListsAndMapsRoundTrip)
{
    CDWordArray dwords;
    dwords.Add(0xDEADBEEF);
    dwords.Add(1);
    CStringList list;
    list.AddTail("first");
    list.AddTail("second");
    CMapStringToString map;
    map.SetAt("key", "value");
    map.SetAt("other", "thing");
    std::string strBytes = StoredBytes([&](CArchive& ar) {
        dwords.Serialize(ar);
        list.Serialize(ar);
        map.Serialize(ar);
    });

    CLoadingArchive loading(strBytes);
    CDWordArray loadedDwords;
    CStringList loadedList;
    CMapStringToString loadedMap;
    loadedDwords.Serialize(loading.Ar());
    loadedList.Serialize(loading.Ar());
    loadedMap.Serialize(loading.Ar());
    ASSERT_EQ(loadedDwords.GetSize(), 2);
    EXPECT_EQ(loadedDwords[0], 0xDEADBEEFu);
    ASSERT_EQ(loadedList.GetCount(), 2);
    EXPECT_EQ(loadedList.GetHead(), "first");
    EXPECT_EQ(loadedList.GetTail(), "second");
    CString strValue;
    ASSERT_TRUE(loadedMap.Lookup("other", strValue));
    EXPECT_EQ(strValue, "thing");
    EXPECT_EQ(loadedMap.GetCount(), 2);
}

TEST(CollectionSerializeTest, ObjectArraysStoreEachObjectOnce)
{
    auto pNode = std::make_unique<CTestNode>();
    CObArray objects;
    objects.Add(pNode.get());
    objects.Add(pNode.get());
    objects.Add(nullptr);
    std::string strBytes = StoredBytes([&](CArchive& ar) { objects.Serialize(ar); });

    CLoadingArchive loading(strBytes);
    CObArray loaded;
    loaded.Serialize(loading.Ar());
    ASSERT_EQ(loaded.GetSize(), 3);
    std::unique_ptr<CObject> pLoaded(loaded[0]);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_TRUE(pLoaded->IsKindOf(RUNTIME_CLASS(CTestNode)));
    EXPECT_EQ(loaded[1], loaded[0]);
    EXPECT_EQ(loaded[2], nullptr);
}

TEST(CollectionSerializeTest, ADamagedCountEndsWithAnArchiveErrorNotAHugeAllocation)
{
    CLoadingArchive loading(Le16(0xFFFF) + Le32(0xFFFFFFF0) + "\x01\x02\x03");
    CDWordArray loaded;
    try {
        loaded.Serialize(loading.Ar());
        FAIL() << "a short archive must not load";
    } catch (CArchiveException* pError) {
        EXPECT_EQ(pError->m_cause, CArchiveException::endOfFile);
        pError->Delete();
    }
    EXPECT_LT(loaded.GetSize(), 4);
}
