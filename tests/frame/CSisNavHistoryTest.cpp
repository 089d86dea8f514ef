#include "frame/CSisNavHistory.h"

#include <gtest/gtest.h>

namespace {

HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(n));
}

CSisNavHistory HistoryOf(std::initializer_list<int> items, int nCapacity = 32)
{
    CSisNavHistory history;
    EXPECT_TRUE(history.SetCapacity(nCapacity));
    for (int n : items)
        history.Push(Item(n));
    return history;
}

} // namespace

TEST(CSisNavHistoryTest, TheThirtyThirdPushDropsTheOldestAndBackStopsAfterThirtyOneSteps)
{
    CSisNavHistory history = HistoryOf({});
    for (int i = 1; i <= 33; ++i)
        history.Push(Item(i));
    EXPECT_EQ(history.GetIndex(), 31);
    EXPECT_EQ(history.GetCount(), 32);
    int nSteps = 0;
    HTREEITEM hLast = nullptr;
    while (HTREEITEM hItem = history.Back()) {
        hLast = hItem;
        ++nSteps;
    }
    EXPECT_EQ(nSteps, 31);
    EXPECT_EQ(hLast, Item(2)); // item 1 went with the 33rd push
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Forward(), Item(3));
}

TEST(CSisNavHistoryTest, APushAfterGoingBackDropsTheEntriesAhead)
{
    CSisNavHistory history = HistoryOf({ 1, 2, 3 });
    EXPECT_EQ(history.Back(), Item(2));
    history.Push(Item(4));
    EXPECT_EQ(history.GetCount(), 3);
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.Forward(), nullptr);
    EXPECT_EQ(history.Back(), Item(2));
}

TEST(CSisNavHistoryTest, RemovingAnItemNeverLeavesItToGoBackOrForwardTo)
{
    CSisNavHistory history = HistoryOf({ 1, 2, 1, 3, 4 });
    EXPECT_EQ(history.Back(), Item(3));
    history.RemoveValue(Item(1));
    // The index stays on item 3, two entries before it gone.
    EXPECT_EQ(history.GetCurrent(), Item(3));
    EXPECT_EQ(history.Back(), Item(2));
    EXPECT_EQ(history.Back(), nullptr);
    history.RemoveValue(Item(2));
    // The current entry went: the index is before the first, and forward leads on.
    EXPECT_EQ(history.GetIndex(), -1);
    EXPECT_EQ(history.Forward(), Item(3));
    EXPECT_EQ(history.Forward(), Item(4));
    EXPECT_EQ(history.Forward(), nullptr);
}

TEST(CSisNavHistoryTest, WithoutACapacityNothingIsKept)
{
    CSisNavHistory history;
    history.Push(Item(1));
    EXPECT_EQ(history.GetCount(), 0);
    EXPECT_EQ(history.GetCurrent(), nullptr);
    EXPECT_FALSE(history.SetCapacity(0));
    EXPECT_TRUE(history.SetCapacity(2));
    EXPECT_FALSE(history.SetCapacity(4));
}
