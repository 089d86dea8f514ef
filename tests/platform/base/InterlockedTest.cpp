#include "platform/base/Interlocked.h"

#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

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
