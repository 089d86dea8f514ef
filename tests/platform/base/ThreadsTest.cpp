#include "platform/base/Threads.h"

#include "platform/base/Clock.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <unistd.h>

namespace {

// Ends the thread from below the routine, so that only unwinding gets past it.
[[noreturn]] void EndFromDeepInside(DWORD dwExitCode)
{
    ExitThread(dwExitCode);
}

struct CSetOnDestruction {
    explicit CSetOnDestruction(std::atomic<bool>& bFlag)
        : m_bFlag(bFlag)
    {
    }
    ~CSetOnDestruction() { m_bFlag = true; }
    std::atomic<bool>& m_bFlag;
};

}

TEST(ThreadsTest, ThreadRunsWithItsParameterAndItsReturnIsTheExitCode)
{
    HANDLE hGo = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD dwThreadId = 0;
    std::atomic<DWORD> dwSeenId { 0 };
    HANDLE hThread = StartTestThread(
        [&] {
            dwSeenId = GetCurrentThreadId();
            WaitForSingleObject(hGo, TEST_WAIT_LIMIT);
            return DWORD { 42 };
        },
        0, &dwThreadId);
    ASSERT_NE(hThread, nullptr);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(hThread, 0), WAIT_TIMEOUT);

    SetEvent(hGo);
    ASSERT_EQ(WaitForSingleObject(hThread, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_NE(dwThreadId, 0u);
    EXPECT_NE(dwThreadId, GetCurrentThreadId());
    EXPECT_EQ(dwSeenId, dwThreadId);
    // The ended thread's handle stays valid, and signalled, until it is closed.
    EXPECT_EQ(WaitForSingleObject(hThread, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 42u);
    EXPECT_TRUE(CloseHandle(hThread));
    EXPECT_FALSE(GetExitCodeThread(hThread, &dwExitCode));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(hGo);
}

TEST(ThreadsTest, RawRoutineGetsItsParameter)
{
    static constexpr auto Routine = [](LPVOID pParameter) -> DWORD { return *static_cast<DWORD*>(pParameter) + 1; };
    DWORD dwValue = 6;
    HANDLE hThread = CreateThread(nullptr, 0, Routine, &dwValue, 0, nullptr);
    EXPECT_EQ(JoinTestThread(hThread), 7u);
}

TEST(ThreadsTest, BadArgumentsAndHandlesAreRefused)
{
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(StartTestThread([] { return DWORD { 0 }; }, 0x80000000), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    HANDLE hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(ResumeThread(hEvent), static_cast<DWORD>(-1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SuspendThread(nullptr), static_cast<DWORD>(-1));
    EXPECT_EQ(GetThreadPriority(hEvent), THREAD_PRIORITY_ERROR_RETURN);
    EXPECT_FALSE(SetThreadPriority(hEvent, THREAD_PRIORITY_NORMAL));
    EXPECT_FALSE(GetExitCodeThread(GetCurrentThread(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(hEvent);
}

TEST(ThreadsTest, SuspendedThreadStartsOnTheLastResume)
{
    std::atomic<bool> bRan { false };
    HANDLE hThread = StartTestThread(
        [&] {
            bRan = true;
            return DWORD { 5 };
        },
        CREATE_SUSPENDED);
    ASSERT_NE(hThread, nullptr);
    EXPECT_EQ(SuspendThread(hThread), 1u);
    EXPECT_EQ(ResumeThread(hThread), 2u);
    EXPECT_EQ(WaitForSingleObject(hThread, 20), WAIT_TIMEOUT);
    EXPECT_FALSE(bRan);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, STILL_ACTIVE);

    EXPECT_EQ(ResumeThread(hThread), 1u);
    EXPECT_EQ(JoinTestThread(hThread), 5u);
    EXPECT_TRUE(bRan);
}

TEST(ThreadsTest, SuspendingARunningThreadOnlyCounts)
{
    HANDLE hGo = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hThread = StartTestThread([&] { return WaitForSingleObject(hGo, TEST_WAIT_LIMIT); });
    EXPECT_EQ(SuspendThread(hThread), 0u);
    EXPECT_EQ(SuspendThread(hThread), 1u);
    SetEvent(hGo);
    EXPECT_EQ(WaitForSingleObject(hThread, TEST_WAIT_LIMIT), WAIT_OBJECT_0); // it kept running
    EXPECT_EQ(ResumeThread(hThread), 2u);
    EXPECT_EQ(ResumeThread(hThread), 1u);
    EXPECT_EQ(ResumeThread(hThread), 0u); // never below 0
    EXPECT_EQ(JoinTestThread(hThread), WAIT_OBJECT_0);
    CloseHandle(hGo);
}

TEST(ThreadsTest, ExitThreadEndsTheThreadWithItsCodeAfterUnwinding)
{
    std::atomic<bool> bUnwound { false };
    std::atomic<bool> bWentOn { false };
    HANDLE hThread = StartTestThread([&] {
        CSetOnDestruction guard(bUnwound);
        EndFromDeepInside(17);
        bWentOn = true;
        return DWORD { 0 };
    });
    EXPECT_EQ(JoinTestThread(hThread), 17u);
    EXPECT_TRUE(bUnwound);
    EXPECT_FALSE(bWentOn);
}

TEST(ThreadsTest, TerminateThreadIsRefused)
{
    HANDLE hThread = StartTestThread([] { return DWORD { 3 }; });
    EXPECT_FALSE(TerminateThread(hThread, 99));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(JoinTestThread(hThread), 3u);
}

TEST(ThreadsTest, PseudoHandleMeansTheCallingThread)
{
    HANDLE hSet = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hThread = StartTestThread([&] {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        DWORD dwExitCode = 0;
        GetExitCodeThread(GetCurrentThread(), &dwExitCode);
        SetEvent(hSet);
        return dwExitCode;
    });
    ASSERT_EQ(WaitForSingleObject(hSet, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_EQ(GetThreadPriority(hThread), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
    EXPECT_EQ(JoinTestThread(hThread), STILL_ACTIVE);

    EXPECT_FALSE(SetThreadPriority(GetCurrentThread(), 3));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(WaitForSingleObject(GetCurrentThread(), 0), WAIT_TIMEOUT); // a running thread is not signalled
    CloseHandle(hSet);
}

TEST(ThreadsTest, MutexOfAThreadNotCreatedHereIsAbandonedWhenItEnds)
{
    HANDLE hMutex = CreateMutex(nullptr, FALSE, nullptr);
    std::thread([=] { WaitForSingleObject(hMutex, 0); }).join();
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(hMutex));
    CloseHandle(hMutex);
}

TEST(ThreadsTest, IdentityIsStablePerThreadAndProcess)
{
    DWORD dwId = GetCurrentThreadId();
    EXPECT_NE(dwId, 0u);
    EXPECT_EQ(GetCurrentThreadId(), dwId);
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
    EXPECT_EQ(GetCurrentThread(), GetCurrentThread());
}

TEST(ThreadsTest, TickCountFollowsTheClockAndWraps)
{
    CManualClock clock(0, 0xFFFFFFF0ULL);
    CClockOverride useClock(clock);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount64(), 0x100000010ULL);
    EXPECT_EQ(GetTickCount() - 0xFFFFFFF0u, 0x20u); // differences survive the wrap
}

TEST(ThreadsTest, PerformanceCounterMeasuresRealTime)
{
    LARGE_INTEGER frequency {}, before {}, after {};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_GT(frequency.QuadPart, 0);
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(20);
    EXPECT_EQ(SleepEx(0, TRUE), 0u);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    LONGLONG nElapsedMs = (after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart;
    EXPECT_GE(nElapsedMs, 20);
    EXPECT_LT(nElapsedMs, TEST_WAIT_LIMIT);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}
