#include "platform/base/CArray.h"

#include "tests/platform/base/TrackedElement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using CIntArray = CArray<int, int>;
using CTrackedArray = CArray<TrackedElement, const TrackedElement&>;

std::vector<int> Values(const CIntArray& array)
{
    return std::vector<int>(array.GetData(), array.GetData() + array.GetSize());
}

std::vector<int> Values(const CTrackedArray& array)
{
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(array.GetSize()));
    for (int i = 0; i < array.GetSize(); ++i)
        values.push_back(array[i].Value());
    return values;
}

// The sizes at which adding one more element moved the array to a new block,
// while adding nCount elements one by one. The new block is allocated before
// the old one is freed, so a changed data pointer always means a new block.
std::vector<int> SizesAtReallocation(CIntArray& array, int nCount)
{
    std::vector<int> sizes;
    for (int i = 0; i < nCount; ++i) {
        const int* pBefore = array.GetData();
        array.Add(i);
        if (array.GetData() != pBefore)
            sizes.push_back(array.GetSize() - 1);
    }
    return sizes;
}

}

TEST(CArrayTest, AddAppendsAndReturnsTheIndex)
{
    CIntArray array;
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetUpperBound(), -1);
    EXPECT_EQ(array.GetData(), nullptr);

    EXPECT_EQ(array.Add(10), 0);
    EXPECT_EQ(array.Add(20), 1);
    EXPECT_EQ(array.Add(30), 2);
    EXPECT_EQ(array.GetCount(), 3);
    EXPECT_EQ(array.GetUpperBound(), 2);
    EXPECT_EQ(Values(array), (std::vector<int> { 10, 20, 30 }));

    array[1] = 21;
    array.ElementAt(2) += 1;
    array.SetAt(0, 11);
    EXPECT_EQ(Values(array), (std::vector<int> { 11, 21, 31 }));
}

TEST(CArrayTest, NewElementsAreZeroEvenWhenTheBlockIsReused)
{
    CIntArray array;
    array.SetSize(6);
    EXPECT_EQ(Values(array), std::vector<int>(6, 0));

    for (int i = 0; i < 6; ++i)
        array[i] = i + 1;
    array.SetSize(2);
    array.SetSize(5);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 2, 0, 0, 0 }));

    array.SetAtGrow(7, 8);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 2, 0, 0, 0, 0, 0, 8 }));

    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST(CArrayTest, EveryElementIsDestroyedExactlyOnce)
{
    {
        CTrackedArray array;
        for (int i = 0; i < 50; ++i)
            array.Add(TrackedElement(i));
        EXPECT_EQ(TrackedElement::LiveCount(), 50);

        array.InsertAt(10, TrackedElement(-5), 3);
        array.RemoveAt(0, 5);
        array.SetSize(40);
        array.FreeExtra();
        EXPECT_EQ(TrackedElement::LiveCount(), 40);

        CTrackedArray copy;
        copy.Copy(array);
        copy.Append(array);
        array.InsertAt(1, &copy);
        EXPECT_EQ(TrackedElement::LiveCount(), 120 + 80);
        EXPECT_EQ(array[0].Value(), 5);
        EXPECT_EQ(array[1].Value(), 5);
        EXPECT_EQ(array[81].Value(), 6);
        array.AssertValid();

        copy.RemoveAll();
        EXPECT_EQ(TrackedElement::LiveCount(), 120);
    }
    EXPECT_EQ(TrackedElement::LiveCount(), 0);
}

TEST(CArrayTest, RandomOperationsMatchAVector)
{
    // Every operation, in random order and with random sizes, against the same
    // on a vector; the elements count their lives, so a slot the array's
    // bookkeeping loses or counts twice shows too.
    std::mt19937 random(4417);
    const auto Below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    {
        CTrackedArray array;
        std::vector<int> model;
        for (int nStep = 0; nStep < 4000 && !HasFailure(); ++nStep) {
            const int nSize = static_cast<int>(model.size());
            const int nValue = nStep;
            switch (Below(9)) {
            case 0:
            case 1:
                EXPECT_EQ(array.Add(TrackedElement(nValue)), nSize);
                model.push_back(nValue);
                break;
            case 2: {
                const int nNewSize = Below(nSize + 20);
                array.SetSize(nNewSize, Below(3) == 0 ? Below(8) : -1);
                model.resize(static_cast<std::size_t>(nNewSize), 0);
                break;
            }
            case 3: {
                const int nIndex = Below(nSize + 5), nCount = 1 + Below(4);
                array.InsertAt(nIndex, TrackedElement(nValue), nCount);
                model.resize(std::max(model.size(), static_cast<std::size_t>(nIndex)), 0);
                model.insert(model.begin() + nIndex, static_cast<std::size_t>(nCount), nValue);
                break;
            }
            case 4:
                if (nSize > 0) {
                    const int nIndex = Below(nSize), nCount = Below(nSize - nIndex + 1);
                    array.RemoveAt(nIndex, nCount);
                    model.erase(model.begin() + nIndex, model.begin() + nIndex + nCount);
                }
                break;
            case 5: {
                const int nIndex = Below(nSize + 10);
                array.SetAtGrow(nIndex, TrackedElement(nValue));
                model.resize(std::max(model.size(), static_cast<std::size_t>(nIndex) + 1), 0);
                model[static_cast<std::size_t>(nIndex)] = nValue;
                break;
            }
            case 6:
                array.FreeExtra();
                break;
            case 7:
                if (nSize < 500) {
                    array.Append(array);
                    model.insert(model.end(), model.begin(), model.end());
                }
                break;
            default:
                if (Below(10) == 0) {
                    array.RemoveAll();
                    model.clear();
                }
                break;
            }
            array.AssertValid();
            ASSERT_EQ(Values(array), model) << "step " << nStep;
            ASSERT_EQ(TrackedElement::LiveCount(), array.GetSize()) << "step " << nStep;
            ASSERT_EQ(array.IsEmpty(), model.empty());
            ASSERT_EQ(array.GetUpperBound(), static_cast<int>(model.size()) - 1);
        }
    }
    EXPECT_EQ(TrackedElement::LiveCount(), 0);
}

TEST(CArrayTest, FreeExtraTrimsTheBlockToTheSize)
{
    CIntArray array;
    array.SetSize(10, 50);
    array[9] = 9;
    array.FreeExtra();
    EXPECT_EQ(SizesAtReallocation(array, 1), (std::vector<int> { 10 }));
    EXPECT_EQ(array[9], 9);

    array.RemoveAt(0, array.GetSize());
    EXPECT_NE(array.GetData(), nullptr);
    array.FreeExtra();
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST(CArrayTest, InsertAtShiftsLaterElementsAndGrowsPastTheEnd)
{
    CIntArray array;
    for (int i = 1; i <= 4; ++i)
        array.Add(i);

    array.InsertAt(1, 9, 2);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 9, 9, 2, 3, 4 }));
    array.InsertAt(0, 0);
    array.InsertAt(array.GetSize(), 5);
    EXPECT_EQ(Values(array), (std::vector<int> { 0, 1, 9, 9, 2, 3, 4, 5 }));
    array.InsertAt(10, 7);
    EXPECT_EQ(Values(array), (std::vector<int> { 0, 1, 9, 9, 2, 3, 4, 5, 0, 0, 7 }));
}

TEST(CArrayTest, InsertArrayPlacesAllItsElementsInOrder)
{
    CIntArray array;
    CIntArray inserted;
    for (int i = 1; i <= 3; ++i) {
        array.Add(i);
        inserted.Add(10 * i);
    }
    array.InsertAt(1, &inserted);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 10, 20, 30, 2, 3 }));

    CIntArray self;
    self.Add(1);
    self.Add(2);
    self.InsertAt(1, &self);
    EXPECT_EQ(Values(self), (std::vector<int> { 1, 1, 2, 2 }));
}

TEST(CArrayTest, RemoveAtClosesTheGap)
{
    CTrackedArray array;
    for (int i = 0; i < 8; ++i)
        array.Add(TrackedElement(i));
    array.RemoveAt(2, 3);
    EXPECT_EQ(Values(array), (std::vector<int> { 0, 1, 5, 6, 7 }));
    array.RemoveAt(4);
    array.RemoveAt(0);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 5, 6 }));
    array.RemoveAt(3, 0);
    EXPECT_EQ(array.GetSize(), 3);
}

TEST(CArrayTest, AppendAndCopyMayUseTheArrayItself)
{
    CIntArray array;
    array.Add(1);
    array.Add(2);
    EXPECT_EQ(array.Append(array), 2);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 2, 1, 2 }));
    array.Copy(array);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 2, 1, 2 }));

    CIntArray other;
    other.Add(7);
    other.Copy(array);
    EXPECT_EQ(Values(other), Values(array));
    EXPECT_EQ(other.Append(CIntArray()), 4);
}

TEST(CArrayTest, AddsMoveTheBlockLogarithmicallyOftenUnlessAGrowByIsSet)
{
    // How often n Adds move the array to a new block.
    const auto CountMoves = [](CIntArray& array, int nAdds) {
        int nMoves = 0;
        const int* pData = array.GetData();
        for (int i = 0; i < nAdds; ++i) {
            array.Add(i);
            if (array.GetData() != pData) {
                ++nMoves;
                pData = array.GetData();
            }
        }
        return nMoves;
    };
    CIntArray geometric;
    EXPECT_LE(CountMoves(geometric, 1000000), 40);
    EXPECT_EQ(geometric[999999], 999999);
    // Numbers grow in place when the heap has room after the block, so they
    // move at most once per step; elements moved one by one always move.
    CIntArray stepped;
    stepped.SetSize(0, 5000);
    EXPECT_LE(CountMoves(stepped, 100000), 20);
    EXPECT_EQ(stepped[99999], 99999);
    CArray<std::string, const std::string&> texts;
    texts.SetSize(0, 500);
    int nTextMoves = 0;
    const std::string* pTexts = texts.GetData();
    for (int i = 0; i < 10000; ++i) {
        texts.Add(std::to_string(i));
        nTextMoves += texts.GetData() != pTexts ? 1 : 0;
        pTexts = texts.GetData();
    }
    EXPECT_EQ(nTextMoves, 20);
}

TEST(CArrayTest, NumbersKeepTheirValuesThroughGrowthShrinkingAndFreeing)
{
    // Numbers live in a block the C heap grows and shrinks in place.
    CIntArray array;
    for (int i = 0; i < 300000; ++i)
        array.Add(i * 7);
    array.SetSize(1000);
    array.FreeExtra();
    EXPECT_EQ(array.GetSize(), 1000);
    EXPECT_EQ(array[999], 999 * 7);
    array.SetSize(2000);
    EXPECT_EQ(array[1999], 0) << "new elements read 0";
    EXPECT_EQ(array[0], 0);
    array.RemoveAll();
    EXPECT_EQ(array.GetData(), nullptr);
    array.Add(5);
    EXPECT_EQ(array[0], 5);
}

TEST(CArrayTest, ElementsOfTheArrayItselfSurviveGrowth)
{
    // Each call takes an element of the array by reference while the array
    // moves to a larger block.
    CArray<std::string, const std::string&> array;
    array.Add(std::string(40, 'a'));
    for (int i = 0; i < 20; ++i)
        array.Add(array[0]);
    array.InsertAt(0, array[3], 5);
    array.SetAtGrow(100, array[1]);
    EXPECT_EQ(array.GetSize(), 101);
    EXPECT_EQ(array[100], std::string(40, 'a'));
    EXPECT_EQ(array[25], std::string(40, 'a'));
    EXPECT_EQ(array[50], "");
}

#ifdef NDEBUG

TEST(CArrayTest, BadIndexesNeverReachMemoryOutsideTheArray)
{
    CIntArray array;
    array.Add(1);
    array.Add(2);

    EXPECT_EQ(array.GetAt(2), 0);
    EXPECT_EQ(array.GetAt(-1), 0);
    array.ElementAt(5) = 99;
    array[-3] = 99;
    array.SetAt(2, 99);
    EXPECT_EQ(array[7], 0);
    array.SetAtGrow(-1, 99);
    array.InsertAt(-1, 99);
    array.InsertAt(0, 99, -2);
    array.RemoveAt(1, 2);
    array.RemoveAt(-1);
    array.SetSize(-4);
    EXPECT_EQ(Values(array), (std::vector<int> { 1, 2 }));
}

#else

TEST(CArrayDeathTest, BadIndexesStopAtAnAssertion)
{
    CIntArray array;
    array.Add(1);
    EXPECT_DEATH(array.GetAt(1), "Assertion failed");
    EXPECT_DEATH(array[-1] = 3, "Assertion failed");
    EXPECT_DEATH(array.RemoveAt(0, 2), "Assertion failed");
}

#endif
