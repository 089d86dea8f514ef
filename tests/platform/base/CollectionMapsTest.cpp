#include "platform/base/CollectionMaps.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class CMapItem : public CObject {
    DECLARE_DYNAMIC(CMapItem)

public:
    explicit CMapItem(int nId)
        : m_nId(nId)
    {
    }

    int m_nId;
};

IMPLEMENT_DYNAMIC(CMapItem, CObject)

namespace {

template<class MAP> std::vector<std::string> WalkTextKeys(const MAP& map)
{
    std::vector<std::string> keys;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString strKey;
        typename MAP::BASE_VALUE value {};
        map.GetNextAssoc(pos, strKey, value);
        keys.emplace_back(strKey);
    }
    return keys;
}

template<class MAP> std::vector<UINT_PTR> WalkNumberKeys(const MAP& map)
{
    std::vector<UINT_PTR> keys;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        typename MAP::BASE_KEY key {};
        typename MAP::BASE_VALUE value {};
        map.GetNextAssoc(pos, key, value);
        if constexpr (std::is_pointer_v<decltype(key)>)
            keys.push_back(reinterpret_cast<UINT_PTR>(key));
        else
            keys.push_back(key);
    }
    return keys;
}

// A pointer key that is never followed.
void* FakePointer(UINT_PTR nAddress)
{
    return reinterpret_cast<void*>(nAddress); // NOLINT(performance-no-int-to-ptr)
}

}

TEST(CollectionMapsTest, EachMapCarriesItsOwnRunTimeClass)
{
    CMapStringToPtr stringToPtr;
    CMapStringToString stringToString;
    CMapStringToOb stringToOb;
    CMapWordToPtr wordToPtr;
    CMapPtrToPtr ptrToPtr;
    CMapPtrToWord ptrToWord;
    CMapWordToOb wordToOb;
    const CObject* maps[]
        = { &stringToPtr, &stringToString, &stringToOb, &wordToPtr, &ptrToPtr, &ptrToWord, &wordToOb };
    const char* names[] = { "CMapStringToPtr", "CMapStringToString", "CMapStringToOb", "CMapWordToPtr", "CMapPtrToPtr",
        "CMapPtrToWord", "CMapWordToOb" };
    for (std::size_t i = 0; i < std::size(maps); ++i) {
        EXPECT_STREQ(maps[i]->GetRuntimeClass()->m_lpszClassName, names[i]);
        EXPECT_EQ(CRuntimeClass::FromName(names[i]), maps[i]->GetRuntimeClass());
        EXPECT_TRUE(maps[i]->IsKindOf(RUNTIME_CLASS(CObject)));
    }
}

TEST(CollectionMapsTest, StringMapWalksBucketsOfTheTextHash)
{
    // Text hash % 17: tau 0, beta 1, gamma 1, alpha 9, theta 9, sigma 16.
    CMapStringToPtr map;
    int nValue = 0;
    for (LPCTSTR key : { "alpha", "beta", "gamma", "tau", "sigma", "theta" })
        map.SetAt(key, &nValue);
    EXPECT_EQ(WalkTextKeys(map), (std::vector<std::string> { "tau", "gamma", "beta", "theta", "alpha", "sigma" }));

    // The same keys in a table of 10: alpha 0, beta 0, pi 1, tau 2, delta 4, gamma 7.
    CMapStringToPtr small(10);
    small.InitHashTable(10);
    for (LPCTSTR key : { "alpha", "beta", "gamma", "delta", "pi", "tau" })
        small[key] = nullptr;
    EXPECT_EQ(WalkTextKeys(small), (std::vector<std::string> { "beta", "alpha", "pi", "tau", "delta", "gamma" }));
}

TEST(CollectionMapsTest, TemplateMapWithTextKeysWalksLikeTheStringMap)
{
    // Keys passed as CString hash like keys passed as LPCTSTR.
    CMap<CString, const CString&, int, int> byString;
    CMap<CString, LPCTSTR, int, int> byPointer;
    CMapStringToPtr reference;
    for (LPCTSTR key : { "alpha", "beta", "gamma", "tau", "sigma", "theta", "r\xC3\xA9sum\xC3\xA9" }) {
        byString[CString(key)] = 1;
        byPointer[key] = 1;
        reference[key] = nullptr;
    }
    std::vector<std::string> expected = WalkTextKeys(reference);
    EXPECT_EQ(WalkTextKeys(byString), expected);
    EXPECT_EQ(WalkTextKeys(byPointer), expected);
    int nValue = 0;
    EXPECT_TRUE(byString.Lookup(CString("tau"), nValue));
    EXPECT_TRUE(byString.RemoveKey(CString("tau")));
    EXPECT_FALSE(byString.Lookup(CString("tau"), nValue));
}

TEST(CollectionMapsTest, StringKeysMatchExactlyByteForByte)
{
    CMapStringToString map;
    map.SetAt("Key", "upper");
    map["key"] = "lower";
    map[CString("r\xC3\xA9sum\xC3\xA9")] = "accented";
    EXPECT_EQ(map.GetCount(), 3);

    CString strValue;
    EXPECT_TRUE(map.Lookup("Key", strValue));
    EXPECT_EQ(strValue, "upper");
    EXPECT_TRUE(map.Lookup("key", strValue));
    EXPECT_EQ(strValue, "lower");
    EXPECT_TRUE(map.Lookup("r\xC3\xA9sum\xC3\xA9", strValue));
    EXPECT_EQ(strValue, "accented");
    EXPECT_FALSE(map.Lookup("KEY", strValue));
    EXPECT_FALSE(map.Lookup("r\xC3\x89sum\xC3\xA9", strValue));

    // A missing key reads as an empty text; a null key is the empty text.
    EXPECT_TRUE(map["new"].IsEmpty());
    EXPECT_FALSE(map.Lookup(nullptr, strValue));
    map[""] = "empty";
    EXPECT_TRUE(map.Lookup(nullptr, strValue));
    EXPECT_EQ(strValue, "empty");
    EXPECT_TRUE(map.RemoveKey(nullptr));
}

TEST(CollectionMapsTest, WordAndPointerMapsWalkBucketsOfTheShiftedKey)
{
    // Key >> 4, % 17: 0x10 -> 1, 0x120 -> 18 -> 1, 0x20 -> 2, 0x05 -> 0.
    CMapWordToPtr words;
    CMapWordToOb wordObjects;
    CMapPtrToPtr ptrs;
    CMapPtrToWord ptrWords;
    for (UINT_PTR key : { 0x10, 0x20, 0x120, 0x05 }) {
        words[static_cast<WORD>(key)] = nullptr;
        wordObjects[static_cast<WORD>(key)] = nullptr;
        ptrs[FakePointer(key)] = nullptr;
        ptrWords[FakePointer(key)] = static_cast<WORD>(key);
    }
    const std::vector<UINT_PTR> expected { 0x05, 0x120, 0x10, 0x20 };
    EXPECT_EQ(WalkNumberKeys(words), expected);
    EXPECT_EQ(WalkNumberKeys(wordObjects), expected);
    EXPECT_EQ(WalkNumberKeys(ptrs), expected);
    EXPECT_EQ(WalkNumberKeys(ptrWords), expected);

    WORD wValue = 0;
    EXPECT_TRUE(ptrWords.Lookup(FakePointer(0x120), wValue));
    EXPECT_EQ(wValue, 0x120);
}

TEST(CollectionMapsTest, TypedPointerMapHandsOutTypedValues)
{
    CMapItem first(1);
    CMapItem second(2);
    CTypedPtrMap<CMapStringToOb, CString, CMapItem*> items;
    items.SetAt("one", &first);
    items["two"] = &second;

    CMapItem* pItem = nullptr;
    EXPECT_TRUE(items.Lookup("two", pItem));
    EXPECT_EQ(pItem->m_nId, 2);
    EXPECT_FALSE(items.Lookup("three", pItem));
    EXPECT_EQ(pItem, &second);

    // operator[] writes the stored pointer.
    items["one"] = &second;
    EXPECT_TRUE(items.Lookup("one", pItem));
    EXPECT_EQ(pItem, &second);

    std::vector<std::pair<std::string, int>> entries;
    for (POSITION pos = items.GetStartPosition(); pos;) {
        CString strKey;
        items.GetNextAssoc(pos, strKey, pItem);
        entries.emplace_back(strKey, pItem->m_nId);
    }
    // "one" hashes to bucket 0 and "two" to bucket 6.
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, int>> { { "one", 2 }, { "two", 2 } }));
    EXPECT_TRUE(items.RemoveKey("one"));
    EXPECT_EQ(items.GetCount(), 1);
}
