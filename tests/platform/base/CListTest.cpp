#include "platform/base/CList.h"

#include "tests/platform/base/TrackedElement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using CIntList = CList<int, int>;

std::vector<int> Forward(const CIntList& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        values.push_back(list.GetNext(pos));
    return values;
}

std::vector<int> Backward(const CIntList& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetTailPosition(); pos;)
        values.push_back(list.GetPrev(pos));
    return values;
}

// The list 1, 2, ..., nCount.
void Fill(CIntList& list, int nCount)
{
    for (int i = 1; i <= nCount; ++i)
        list.AddTail(i);
}

}

TEST(CListTest, HeadAndTailAddsKeepBothWalkDirectionsConsistent)
{
    CIntList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);

    list.AddTail(2);
    list.AddHead(1);
    list.AddTail(3);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetHead(), 1);
    EXPECT_EQ(list.GetTail(), 3);
    EXPECT_EQ(Forward(list), (std::vector<int> { 1, 2, 3 }));
    EXPECT_EQ(Backward(list), (std::vector<int> { 3, 2, 1 }));

    list.GetHead() = 10;
    list.GetTail() = 30;
    EXPECT_EQ(Forward(list), (std::vector<int> { 10, 2, 30 }));
}

TEST(CListTest, InsertBeforeAndAfterANullPositionUseTheEnds)
{
    CIntList list;
    list.InsertAfter(nullptr, 2);
    list.InsertBefore(nullptr, 1);
    list.InsertAfter(nullptr, 4);
    POSITION pos = list.Find(4);
    POSITION posThree = list.InsertBefore(pos, 3);
    list.InsertAfter(pos, 5);
    list.InsertBefore(list.GetHeadPosition(), 0);
    EXPECT_EQ(Forward(list), (std::vector<int> { 0, 1, 2, 3, 4, 5 }));
    EXPECT_EQ(Backward(list), (std::vector<int> { 5, 4, 3, 2, 1, 0 }));
    EXPECT_EQ(list.GetAt(posThree), 3);
}

TEST(CListTest, WalkMayRemoveTheElementItJustReturned)
{
    CIntList list;
    Fill(list, 10);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION posCurrent = pos;
        if (list.GetNext(pos) % 2 == 0)
            list.RemoveAt(posCurrent);
    }
    EXPECT_EQ(Forward(list), (std::vector<int> { 1, 3, 5, 7, 9 }));
    EXPECT_EQ(Backward(list), (std::vector<int> { 9, 7, 5, 3, 1 }));

    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ(Forward(list), (std::vector<int> { 3, 5, 7 }));
    EXPECT_EQ(list.GetCount(), 3);
    list.AssertValid();
}

TEST(CListTest, FindContinuesAfterTheGivenPosition)
{
    CIntList list;
    for (int value : { 7, 1, 7, 2, 7 })
        list.AddTail(value);

    std::vector<POSITION> found;
    for (POSITION pos = list.Find(7); pos; pos = list.Find(7, pos))
        found.push_back(pos);
    ASSERT_EQ(found.size(), 3U);
    EXPECT_EQ(found[0], list.GetHeadPosition());
    EXPECT_EQ(found[1], list.FindIndex(2));
    EXPECT_EQ(found[2], list.GetTailPosition());
    EXPECT_EQ(list.Find(3), nullptr);
}

TEST(CListTest, FindIndexCountsFromTheHead)
{
    CIntList list;
    Fill(list, 4);
    EXPECT_EQ(list.GetAt(list.FindIndex(0)), 1);
    EXPECT_EQ(list.GetAt(list.FindIndex(3)), 4);
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.SetAt(list.FindIndex(1), 20);
    EXPECT_EQ(Forward(list), (std::vector<int> { 1, 20, 3, 4 }));
}

TEST(CListTest, AddingAListKeepsItsOrderAtEitherEnd)
{
    CIntList list;
    CIntList other;
    Fill(list, 2);
    other.AddTail(8);
    other.AddTail(9);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Forward(list), (std::vector<int> { 8, 9, 1, 2, 8, 9 }));
    EXPECT_EQ(other.GetCount(), 2);

    CIntList self;
    Fill(self, 3);
    self.AddTail(&self);
    EXPECT_EQ(Forward(self), (std::vector<int> { 1, 2, 3, 1, 2, 3 }));
    self.RemoveAll();
    Fill(self, 2);
    self.AddHead(&self);
    EXPECT_EQ(Forward(self), (std::vector<int> { 1, 2, 1, 2 }));
    EXPECT_EQ(Backward(self), (std::vector<int> { 2, 1, 2, 1 }));
    self.AssertValid();
}

TEST(CListTest, RemoveHeadAndTailHandBackTheElements)
{
    {
        CList<TrackedElement, const TrackedElement&> list;
        for (int i = 1; i <= 5; ++i)
            list.AddTail(TrackedElement(i));
        EXPECT_EQ(TrackedElement::LiveCount(), 5);

        EXPECT_EQ(list.RemoveHead().Value(), 1);
        EXPECT_EQ(list.RemoveTail().Value(), 5);
        EXPECT_EQ(list.GetCount(), 3);
        EXPECT_EQ(TrackedElement::LiveCount(), 3);
        EXPECT_EQ(list.GetHead().Value(), 2);
        EXPECT_EQ(list.GetTail().Value(), 4);

        list.RemoveAll();
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(TrackedElement::LiveCount(), 0);
        list.AddHead(TrackedElement(6));
        EXPECT_EQ(list.GetHead().Value(), 6);
    }
    EXPECT_EQ(TrackedElement::LiveCount(), 0);
}

#ifdef NDEBUG

TEST(CListTest, EmptyListAndNullPositionsGiveScratchElements)
{
    CIntList list;
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 0);
    list.GetHead() = 5;
    EXPECT_EQ(list.GetTail(), 0);
    EXPECT_TRUE(list.IsEmpty());

    list.AddTail(1);
    POSITION pos = nullptr;
    EXPECT_EQ(list.GetNext(pos), 0);
    EXPECT_EQ(pos, nullptr);
    list.SetAt(nullptr, 9);
    list.RemoveAt(nullptr);
    EXPECT_EQ(Forward(list), (std::vector<int> { 1 }));
}

#else

TEST(CListDeathTest, EmptyListAndNullPositionsStopAtAnAssertion)
{
    CIntList list;
    EXPECT_DEATH(list.RemoveHead(), "Assertion failed");
    POSITION pos = nullptr;
    EXPECT_DEATH(list.GetNext(pos), "Assertion failed");
}

#endif
