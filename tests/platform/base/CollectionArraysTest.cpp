#include "platform/base/CollectionArrays.h"

#include <gtest/gtest.h>

#include <string>

// An object that counts its destructions, to show which arrays own nothing.
class CArrayItem : public CObject {
    DECLARE_DYNAMIC(CArrayItem)

public:
    explicit CArrayItem(int nId)
        : m_nId(nId)
    {
    }
    ~CArrayItem() override { ++s_nDestroyed; }

    int m_nId;
    static inline int s_nDestroyed = 0;
};

IMPLEMENT_DYNAMIC(CArrayItem, CObject)

TEST(CollectionArraysTest, EachArrayCarriesItsOwnRunTimeClass)
{
    CPtrArray ptrs;
    CDWordArray dwords;
    CWordArray words;
    CUIntArray uints;
    CByteArray bytes;
    CObArray objects;
    CStringArray strings;
    const CObject* arrays[] = { &ptrs, &dwords, &words, &uints, &bytes, &objects, &strings };
    const char* names[]
        = { "CPtrArray", "CDWordArray", "CWordArray", "CUIntArray", "CByteArray", "CObArray", "CStringArray" };
    // Pointer and UINT arrays have no stored form; the others do.
    const bool serializable[] = { false, true, true, false, true, true, true };
    for (std::size_t i = 0; i < std::size(arrays); ++i) {
        const CRuntimeClass* pClass = arrays[i]->GetRuntimeClass();
        EXPECT_STREQ(pClass->m_lpszClassName, names[i]);
        EXPECT_EQ(CRuntimeClass::FromName(names[i]), pClass);
        EXPECT_TRUE(arrays[i]->IsKindOf(RUNTIME_CLASS(CObject)));
        EXPECT_EQ(arrays[i]->IsSerializable(), serializable[i] ? TRUE : FALSE);
    }
    EXPECT_FALSE(strings.IsKindOf(RUNTIME_CLASS(CObArray)));
}

TEST(CollectionArraysTest, StringArrayKeepsEachTextThroughGrowthAndShifts)
{
    CStringArray strings;
    const std::string strLong(100, 'x');
    for (int i = 0; i < 40; ++i)
        strings.Add((strLong + std::to_string(i)).c_str());
    strings.InsertAt(0, CString("first"), 2);
    strings.RemoveAt(10, 5);
    strings.SetAtGrow(50, "last");
    strings.Append(strings);

    EXPECT_EQ(strings.GetSize(), 102);
    EXPECT_EQ(strings[0], "first");
    EXPECT_EQ(strings[1], "first");
    EXPECT_EQ(strings[9], (strLong + "7").c_str());
    EXPECT_EQ(strings[10], (strLong + "13").c_str());
    EXPECT_TRUE(strings[49].IsEmpty());
    EXPECT_EQ(strings.GetAt(50), "last");
    EXPECT_EQ(strings[51 + 10], (strLong + "13").c_str());

    strings.SetSize(1);
    strings.SetSize(3);
    EXPECT_EQ(strings[0], "first");
    EXPECT_TRUE(strings[2].IsEmpty());
}

TEST(CollectionArraysTest, TextArrayTakingPlainPointersStoresCopies)
{
    CArray<CString, LPCTSTR> strings;
    char szText[] = "first";
    strings.Add(szText);
    szText[0] = 'F';
    strings.InsertAt(0, szText, 2);
    strings.SetAtGrow(4, strings[0]);
    strings.SetAt(3, nullptr);
    EXPECT_EQ(strings[0], "First");
    EXPECT_EQ(strings[2], "first");
    EXPECT_TRUE(strings[3].IsEmpty());
    EXPECT_EQ(strings[4], "First");
}

TEST(CollectionArraysTest, ObjectArrayHoldsPointersWithoutOwningThem)
{
    CArrayItem::s_nDestroyed = 0;
    CArrayItem first(1);
    CArrayItem second(2);
    {
        CObArray objects;
        objects.Add(&first);
        objects.Add(&second);
        objects.SetSize(3);
        EXPECT_EQ(objects[2], nullptr);
        objects.RemoveAll();
    }
    EXPECT_EQ(CArrayItem::s_nDestroyed, 0);
}

TEST(CollectionArraysTest, TypedPointerArrayHandsOutTypedPointers)
{
    CArrayItem first(1);
    CArrayItem second(2);
    CArrayItem third(3);
    CTypedPtrArray<CObArray, CArrayItem*> items;
    EXPECT_EQ(items.Add(&first), 0);
    items.Add(&third);
    items.InsertAt(1, &second);
    EXPECT_EQ(items.GetAt(1)->m_nId, 2);
    EXPECT_EQ(items[2]->m_nId, 3);

    // The reference forms write the stored pointer.
    items[0] = &third;
    items.ElementAt(2) = &first;
    CArrayItem* pItem = items[0];
    EXPECT_EQ(pItem, &third);
    EXPECT_EQ(items.GetAt(2), &first);

    CTypedPtrArray<CObArray, CArrayItem*> copy;
    copy.Copy(items);
    copy.Append(items);
    copy.InsertAt(0, &items);
    EXPECT_EQ(copy.GetSize(), 9);
    EXPECT_EQ(copy[3]->m_nId, 3);

    CTypedPtrArray<CPtrArray, int*> numbers;
    int nValue = 4;
    numbers.SetAtGrow(1, &nValue);
    EXPECT_EQ(numbers[0], nullptr);
    EXPECT_EQ(*numbers[1], 4);
}
