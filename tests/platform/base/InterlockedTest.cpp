#include "platform/base/Interlocked.h"

#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(InterlockedTest, IncrementAndDecrementReturnTheNewValueTheOthersTheOld)
{
    volatile LONG nValue = 5;
    EXPECT_EQ(InterlockedIncrement(&nValue), 6);
    EXPECT_EQ(InterlockedDecrement(&nValue), 5);
    EXPECT_EQ(InterlockedExchange(&nValue, 9), 5);
    EXPECT_EQ(InterlockedExchangeAdd(&nValue, -4), 9);
    EXPECT_EQ(nValue, 5);

    EXPECT_EQ(InterlockedCompareExchange(&nValue, 7, 4), 5); // no match: unchanged
    EXPECT_EQ(nValue, 5);
    EXPECT_EQ(InterlockedCompareExchange(&nValue, 7, 5), 5);
    EXPECT_EQ(nValue, 7);
}

TEST(InterlockedTest, PointerVariantsSwapOnlyOnMatch)
{
    int a = 0, b = 0, c = 0;
    PVOID volatile pTarget = &a;
    EXPECT_EQ(InterlockedExchangePointer(&pTarget, &b), &a);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pTarget, &c, &a), &b);
    EXPECT_EQ(pTarget, &b);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pTarget, &c, &b), &b);
    EXPECT_EQ(pTarget, &c);
}

TEST(InterlockedTest, ConcurrentUpdatesAreNeverLost)
{
    constexpr int THREADS = 4;
    constexpr int ROUNDS = 20000;
    volatile LONG nCounter = 0;
    volatile LONG nSpinLock = 0;
    long nGuarded = 0; // changed only under the compare-exchange lock
    std::vector<HANDLE> threads;
    for (int i = 0; i < THREADS; ++i) {
        threads.push_back(StartTestThread([&] {
            for (int n = 0; n < ROUNDS; ++n) {
                InterlockedIncrement(&nCounter);
                InterlockedExchangeAdd(&nCounter, 2);
                InterlockedDecrement(&nCounter);
                while (InterlockedCompareExchange(&nSpinLock, 1, 0) != 0) { }
                ++nGuarded;
                InterlockedExchange(&nSpinLock, 0);
            }
            return DWORD { 0 };
        }));
    }
    for (HANDLE hThread : threads)
        JoinTestThread(hThread);
    EXPECT_EQ(nCounter, THREADS * ROUNDS * 2);
    EXPECT_EQ(nGuarded, THREADS * ROUNDS);
}
