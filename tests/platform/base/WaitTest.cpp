#include "platform/base/Wait.h"

#include "platform/base/SyncObjects.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Closes the handles it was given when the test ends.
class WaitTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (HANDLE hHandle : m_handles)
            CloseHandle(hHandle);
    }

    HANDLE Keep(HANDLE hHandle)
    {
        EXPECT_NE(hHandle, nullptr);
        m_handles.push_back(hHandle);
        return hHandle;
    }
    HANDLE Event(bool bManualReset, bool bSignalled)
    {
        return Keep(CreateEvent(nullptr, bManualReset, bSignalled, nullptr));
    }

private:
    std::vector<HANDLE> m_handles;
};

class CNotAWaitable : public CKernelObject { };

class CFlagSource : public CWaitSource {
public:
    bool IsReady() override { return m_bReady; }
    std::atomic<bool> m_bReady { false };
};

// A source with a descriptor of its own (a pipe), as the display connection
// is for the message queue; it sleeps in a poll over that and the wake descriptor.
class CPipeSource : public CWaitSource {
public:
    CPipeSource() { EXPECT_EQ(pipe2(m_fds, O_CLOEXEC), 0); }
    ~CPipeSource() override
    {
        close(m_fds[0]);
        close(m_fds[1]);
    }

    bool IsReady() override
    {
        ++m_nChecks;
        pollfd fd { m_fds[0], POLLIN, 0 };
        return poll(&fd, 1, 0) == 1;
    }
    bool SleepsItself() const override { return true; }
    void SleepOn(int fdWake, int nTimeoutMs) override
    {
        ++m_nSleeps;
        pollfd fds[] = { { fdWake, POLLIN, 0 }, { m_fds[0], POLLIN, 0 } };
        poll(fds, 2, nTimeoutMs);
    }

    // A wait checks the source before and again after it registers, under one hold of the wait lock.
    bool IsWaiting() const { return m_nChecks >= 2; }
    void Feed() { EXPECT_EQ(write(m_fds[1], "x", 1), 1); }

    std::atomic<int> m_nChecks { 0 };
    std::atomic<int> m_nSleeps { 0 };

private:
    int m_fds[2] { -1, -1 };
};

}

TEST_F(WaitTest, BadHandlesAndArgumentsFail)
{
    HANDLE hClosed = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    CloseHandle(hClosed);
    HANDLE hOther = Keep(CreateKernelHandle(std::make_shared<CNotAWaitable>()));
    for (HANDLE hBad : { HANDLE(nullptr), INVALID_HANDLE_VALUE, hClosed, hOther, GetCurrentProcess() }) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(WaitForSingleObject(hBad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }

    HANDLE hGood = Event(true, true);
    HANDLE mixed[] = { hGood, hClosed };
    EXPECT_EQ(WaitForMultipleObjects(2, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS + 1, hGood);
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(tooMany.size()), tooMany.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(0, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(1, nullptr, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    HANDLE twice[] = { hGood, hGood };
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0); // fine for a wait for any
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(WaitTest, TimesOutAfterTheGivenTimeAndNotBefore)
{
    HANDLE hEvent = Event(true, false);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(hEvent, 40), WAIT_TIMEOUT);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(40));
    EXPECT_LT(elapsed, std::chrono::milliseconds(TEST_WAIT_LIMIT));
}

TEST_F(WaitTest, LowestSignalledIndexWinsAndOnlyItIsTaken)
{
    HANDLE events[] = { Event(false, false), Event(false, true), Event(false, true) };
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);

    std::vector<HANDLE> many;
    for (DWORD i = 0; i < MAXIMUM_WAIT_OBJECTS; ++i)
        many.push_back(Event(true, i == MAXIMUM_WAIT_OBJECTS - 1));
    EXPECT_EQ(
        WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0), WAIT_OBJECT_0 + MAXIMUM_WAIT_OBJECTS - 1);
}

TEST_F(WaitTest, WaitForAllTakesEveryObjectOrNone)
{
    HANDLE hEvent = Event(false, true);
    HANDLE hSemaphore = Keep(CreateSemaphore(nullptr, 1, 1, nullptr));
    HANDLE hMissing = Event(false, false);
    HANDLE some[] = { hEvent, hSemaphore, hMissing };
    EXPECT_EQ(WaitForMultipleObjects(3, some, TRUE, 20), WAIT_TIMEOUT);
    // Nothing was consumed by the failed wait.
    HANDLE first[] = { hEvent, hSemaphore };
    EXPECT_EQ(WaitForMultipleObjects(2, first, TRUE, 0), WAIT_OBJECT_0);
    // Now both were.
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(hSemaphore, 0), WAIT_TIMEOUT);
}

TEST_F(WaitTest, WaitForAllEndsWhenTheLastObjectIsSignalledByAnotherThread)
{
    HANDLE events[] = { Event(false, false), Event(true, false) };
    HANDLE hWaiter = StartTestThread([&] { return WaitForMultipleObjects(2, events, TRUE, TEST_WAIT_LIMIT); });
    SetEvent(events[0]);
    EXPECT_EQ(WaitForSingleObject(hWaiter, 20), WAIT_TIMEOUT);
    SetEvent(events[1]);
    EXPECT_EQ(JoinTestThread(hWaiter), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_TIMEOUT); // the auto-reset event went to the waiter
    EXPECT_EQ(WaitForSingleObject(events[1], 0), WAIT_OBJECT_0);
}

TEST_F(WaitTest, AbandonedMutexIsReportedAtItsIndex)
{
    HANDLE hMutex = Keep(CreateMutex(nullptr, FALSE, nullptr));
    HANDLE hThread = StartTestThread([&] { return WaitForSingleObject(hMutex, 0); });
    EXPECT_EQ(JoinTestThread(hThread), WAIT_OBJECT_0); // it ended owning the mutex

    HANDLE hEvent = Event(true, false);
    HANDLE handles[] = { hEvent, hMutex };
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_ABANDONED_0 + 1);
    EXPECT_TRUE(ReleaseMutex(hMutex));
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_OBJECT_0 + 1); // reported once
    EXPECT_TRUE(ReleaseMutex(hMutex));
}

TEST_F(WaitTest, AWaitingThreadGetsTheMutexItsOwnerAbandons)
{
    HANDLE hMutex = Keep(CreateMutex(nullptr, FALSE, nullptr));
    HANDLE hOwned = Event(true, false);
    HANDLE hEnd = Event(true, false);
    HANDLE hOwner = StartTestThread([&] {
        WaitForSingleObject(hMutex, 0);
        SetEvent(hOwned);
        WaitForSingleObject(hEnd, TEST_WAIT_LIMIT);
        return DWORD { 0 };
    });
    ASSERT_EQ(WaitForSingleObject(hOwned, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    HANDLE hWaiter = StartTestThread([&] {
        DWORD dwResult = WaitForSingleObject(hMutex, TEST_WAIT_LIMIT);
        ReleaseMutex(hMutex);
        return dwResult;
    });
    EXPECT_EQ(WaitForSingleObject(hWaiter, 20), WAIT_TIMEOUT);
    SetEvent(hEnd);
    EXPECT_EQ(JoinTestThread(hWaiter), WAIT_ABANDONED);
    JoinTestThread(hOwner);
}

TEST_F(WaitTest, WaitContinuesWhenItsHandleIsClosedMeanwhile)
{
    HANDLE hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hSecond = nullptr;
    ASSERT_TRUE(
        DuplicateHandle(GetCurrentProcess(), hEvent, GetCurrentProcess(), &hSecond, 0, FALSE, DUPLICATE_SAME_ACCESS));
    Keep(hSecond);
    HANDLE hStarted = Event(true, false);
    HANDLE hWaiter = StartTestThread([&] {
        SetEvent(hStarted);
        return WaitForSingleObject(hEvent, TEST_WAIT_LIMIT);
    });
    ASSERT_EQ(WaitForSingleObject(hStarted, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    Sleep(10);
    CloseHandle(hEvent);
    SetEvent(hSecond);
    // Either the wait began before the close (and sees the event set) or after it (and fails).
    DWORD dwResult = JoinTestThread(hWaiter);
    EXPECT_TRUE(dwResult == WAIT_OBJECT_0 || dwResult == WAIT_FAILED) << dwResult;
}

TEST_F(WaitTest, AnotherThreadWakesAWaitThroughItsSource)
{
    HANDLE hEvent = Event(true, false);
    CFlagSource source;
    std::shared_ptr<CThreadWaker> pWaker;
    HANDLE hReady = Event(true, false);
    HANDLE hWaiter = StartTestThread([&] {
        pWaker = GetCurrentThreadWaker();
        SetEvent(hReady);
        return WaitForObjectsOrSource(1, &hEvent, FALSE, TEST_WAIT_LIMIT, &source);
    });
    ASSERT_EQ(WaitForSingleObject(hReady, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hWaiter, 20), WAIT_TIMEOUT);
    source.m_bReady = true;
    pWaker->Wake();
    EXPECT_EQ(JoinTestThread(hWaiter), WAIT_OBJECT_0 + 1);
}

TEST_F(WaitTest, ObjectsComeBeforeTheSourceAndTheSourceMayStandAlone)
{
    HANDLE hEvent = Event(true, true);
    CFlagSource source;
    source.m_bReady = true;
    EXPECT_EQ(WaitForObjectsOrSource(1, &hEvent, FALSE, 0, &source), WAIT_OBJECT_0);
    ResetEvent(hEvent);
    EXPECT_EQ(WaitForObjectsOrSource(1, &hEvent, FALSE, 0, &source), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForObjectsOrSource(0, nullptr, FALSE, 0, &source), WAIT_OBJECT_0);
    source.m_bReady = false;
    EXPECT_EQ(WaitForObjectsOrSource(0, nullptr, FALSE, 10, &source), WAIT_TIMEOUT);
}

TEST_F(WaitTest, SelfSleepingSourceWakesForObjectsAndForItsOwnInput)
{
    using namespace std::chrono;
    HANDLE hEvent = Event(false, false);
    for (bool bByObject : { true, false }) {
        CPipeSource source;
        auto start = steady_clock::now();
        HANDLE hWaiter = StartTestThread([&] { return WaitForObjectsOrSource(1, &hEvent, FALSE, 3000, &source); });
        for (int n = 0; n < 1000 && !source.IsWaiting(); ++n)
            Sleep(1);
        if (bByObject)
            SetEvent(hEvent);
        else
            source.Feed();
        EXPECT_EQ(JoinTestThread(hWaiter), bByObject ? WAIT_OBJECT_0 : WAIT_OBJECT_0 + 1);
        EXPECT_LT(steady_clock::now() - start, milliseconds(1000)); // woken, not timed out
        EXPECT_GE(source.m_nSleeps, 1);
    }

    CPipeSource idle;
    auto start = steady_clock::now();
    EXPECT_EQ(WaitForObjectsOrSource(1, &hEvent, FALSE, 30, &idle), WAIT_TIMEOUT);
    EXPECT_GE(steady_clock::now() - start, milliseconds(30));
}
