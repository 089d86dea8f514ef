#include "platform/base/CriticalSection.h"

#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"
#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

class CriticalSectionTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeCriticalSection(&m_section); }
    void TearDown() override { DeleteCriticalSection(&m_section); }

    // Whether another thread could enter the section right now.
    bool FreeForOtherThreads()
    {
        HANDLE hThread = StartTestThread([this]() -> DWORD {
            if (!TryEnterCriticalSection(&m_section))
                return 0;
            LeaveCriticalSection(&m_section);
            return 1;
        });
        return JoinTestThread(hThread) == 1;
    }

    CRITICAL_SECTION m_section;
};

}

TEST_F(CriticalSectionTest, OwnerEntersRecursivelyAndFreesAfterTheLastLeave)
{
    EnterCriticalSection(&m_section);
    EXPECT_TRUE(TryEnterCriticalSection(&m_section));
    EnterCriticalSection(&m_section);
    EXPECT_FALSE(FreeForOtherThreads());
    LeaveCriticalSection(&m_section);
    LeaveCriticalSection(&m_section);
    EXPECT_FALSE(FreeForOtherThreads());
    LeaveCriticalSection(&m_section);
    EXPECT_TRUE(FreeForOtherThreads());
}

TEST_F(CriticalSectionTest, LeavingWithoutOwningDoesNotFreeTheOwnersEntry)
{
    EnterCriticalSection(&m_section);
    HANDLE hThread = StartTestThread([this] {
        LeaveCriticalSection(&m_section);
        return DWORD { 0 };
    });
    JoinTestThread(hThread);
    EXPECT_FALSE(FreeForOtherThreads());
    LeaveCriticalSection(&m_section);
    EXPECT_TRUE(FreeForOtherThreads());
}

TEST_F(CriticalSectionTest, ExcludesOtherThreadsUnderContention)
{
    constexpr int THREADS = 4;
    constexpr int ROUNDS = 20000;
    long nCounter = 0;
    std::vector<HANDLE> threads;
    for (int i = 0; i < THREADS; ++i) {
        threads.push_back(StartTestThread([&] {
            for (int n = 0; n < ROUNDS; ++n) {
                EnterCriticalSection(&m_section);
                long nRead = nCounter;
                nCounter = nRead + 1;
                LeaveCriticalSection(&m_section);
            }
            return DWORD { 0 };
        }));
    }
    for (HANDLE hThread : threads)
        JoinTestThread(hThread);
    EXPECT_EQ(nCounter, THREADS * ROUNDS);
}

TEST_F(CriticalSectionTest, TimedEntryGivesUpWhileAnotherThreadOwnsIt)
{
    HANDLE hEntered = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hRelease = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hOwner = StartTestThread([&] {
        EnterCriticalSection(&m_section);
        SetEvent(hEntered);
        WaitForSingleObject(hRelease, TEST_WAIT_LIMIT);
        LeaveCriticalSection(&m_section);
        return DWORD { 0 };
    });
    ASSERT_EQ(WaitForSingleObject(hEntered, TEST_WAIT_LIMIT), WAIT_OBJECT_0);

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(EnterCriticalSectionTimeout(&m_section, 30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_FALSE(TryEnterCriticalSection(&m_section));

    SetEvent(hRelease);
    EXPECT_TRUE(EnterCriticalSectionTimeout(&m_section, TEST_WAIT_LIMIT));
    LeaveCriticalSection(&m_section);
    JoinTestThread(hOwner);
    CloseHandle(hEntered);
    CloseHandle(hRelease);
}
