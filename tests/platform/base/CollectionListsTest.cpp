#include "platform/base/CollectionLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CListItem : public CObject {
    DECLARE_DYNAMIC(CListItem)

public:
    explicit CListItem(int nId)
        : m_nId(nId)
    {
    }

    int m_nId;
};

IMPLEMENT_DYNAMIC(CListItem, CObject)

namespace {

std::vector<std::string> Texts(const CStringList& list)
{
    std::vector<std::string> texts;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        texts.emplace_back(list.GetNext(pos));
    return texts;
}

}

TEST(CollectionListsTest, EachListCarriesItsOwnRunTimeClass)
{
    CPtrList ptrs;
    CObList objects(20);
    CStringList strings;
    EXPECT_STREQ(ptrs.GetRuntimeClass()->m_lpszClassName, "CPtrList");
    EXPECT_STREQ(objects.GetRuntimeClass()->m_lpszClassName, "CObList");
    EXPECT_STREQ(strings.GetRuntimeClass()->m_lpszClassName, "CStringList");
    EXPECT_EQ(CRuntimeClass::FromName("CStringList"), RUNTIME_CLASS(CStringList));
    EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(strings.IsKindOf(RUNTIME_CLASS(CObList)));
}

TEST(CollectionListsTest, StringListFindsTextsCaseSensitively)
{
    CStringList list;
    list.AddTail("beta");
    list.AddHead(CString("alpha"));
    list.AddTail("Beta");
    list.AddTail("beta");

    POSITION pos = list.Find("Beta");
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(pos, list.FindIndex(2));
    POSITION posSecond = list.Find("beta", list.Find("beta"));
    EXPECT_EQ(posSecond, list.GetTailPosition());
    EXPECT_EQ(list.Find("BETA"), nullptr);

    list.SetAt(pos, "gamma");
    list.InsertAfter(list.GetHeadPosition(), "inserted");
    EXPECT_EQ(Texts(list), (std::vector<std::string> { "alpha", "inserted", "beta", "gamma", "beta" }));
    EXPECT_EQ(list.RemoveHead(), "alpha");
    EXPECT_EQ(list.GetHead(), "inserted");
}

TEST(CollectionListsTest, TextListTakingPlainPointersComparesTexts)
{
    CList<CString, LPCTSTR> list;
    char szText[] = "name";
    list.AddTail(szText);
    list.AddTail("other");
    szText[0] = 'N';
    list.AddTail(szText);
    EXPECT_EQ(list.Find("name"), list.GetHeadPosition());
    EXPECT_EQ(list.Find(szText), list.GetTailPosition());
    EXPECT_EQ(list.Find(nullptr), nullptr);
}

TEST(CollectionListsTest, PointerListsFindByAddressNotByContent)
{
    CListItem first(1);
    CListItem twin(1);
    CObList objects;
    objects.AddTail(&first);
    EXPECT_EQ(objects.Find(&twin), nullptr);
    EXPECT_EQ(objects.Find(&first), objects.GetHeadPosition());

    CPtrList ptrs;
    int nValue = 0;
    ptrs.AddTail(&nValue);
    ptrs.AddTail(static_cast<void*>(nullptr));
    EXPECT_EQ(ptrs.Find(nullptr), ptrs.GetTailPosition());
    EXPECT_EQ(ptrs.GetHead(), &nValue);
}

TEST(CollectionListsTest, TypedPointerListHandsOutTypedPointers)
{
    CListItem first(1);
    CListItem second(2);
    CListItem third(3);
    CTypedPtrList<CObList, CListItem*> items;
    items.AddTail(&second);
    items.AddHead(&first);
    items.InsertAfter(items.GetTailPosition(), &third);

    std::vector<int> ids;
    for (POSITION pos = items.GetHeadPosition(); pos;)
        ids.push_back(items.GetNext(pos)->m_nId);
    EXPECT_EQ(ids, (std::vector<int> { 1, 2, 3 }));
    ids.clear();
    for (POSITION pos = items.GetTailPosition(); pos;)
        ids.push_back(items.GetPrev(pos)->m_nId);
    EXPECT_EQ(ids, (std::vector<int> { 3, 2, 1 }));

    // The reference forms write the stored pointer.
    items.GetHead() = &third;
    items.GetAt(items.FindIndex(1)) = &first;
    EXPECT_EQ(items.GetHead()->m_nId, 3);
    EXPECT_EQ(items.GetAt(items.FindIndex(1))->m_nId, 1);

    CTypedPtrList<CObList, CListItem*> more;
    more.AddTail(&items);
    more.AddHead(&items);
    EXPECT_EQ(more.GetCount(), 6);
    EXPECT_EQ(more.RemoveTail()->m_nId, 3);
    EXPECT_EQ(more.RemoveHead()->m_nId, 3);
    EXPECT_EQ(more.GetTail()->m_nId, 1);

    const CTypedPtrList<CObList, CListItem*>& constItems = items;
    POSITION pos = constItems.GetHeadPosition();
    CListItem* pItem = constItems.GetNext(pos);
    EXPECT_EQ(pItem, &third);
    EXPECT_EQ(constItems.GetAt(pos), &first);
    EXPECT_EQ(constItems.GetTail(), &third);
}
