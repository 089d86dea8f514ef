#include "platform/base/SyncObjects.h"

#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/ThreadTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Named objects get names of their own per test, and named mutexes keep their
// files in a temporary runtime folder.
class SyncObjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* pszOld = std::getenv("XDG_RUNTIME_DIR"))
            m_strOldRuntime = pszOld;
        setenv("XDG_RUNTIME_DIR", m_runtime.Path().c_str(), 1);
        m_strName = std::string("SyncObjectsTest.") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override
    {
        for (HANDLE hHandle : m_handles)
            CloseHandle(hHandle);
        if (m_strOldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", m_strOldRuntime.c_str(), 1);
    }

    HANDLE Keep(HANDLE hHandle)
    {
        if (hHandle)
            m_handles.push_back(hHandle);
        return hHandle;
    }

    // Starts `nThreads` threads that each wait up to `dwTimeout` on hObject;
    // returns how many waits succeeded.
    int CountWaitersReleased(HANDLE hObject, int nThreads, DWORD dwTimeout)
    {
        std::vector<HANDLE> threads;
        for (int i = 0; i < nThreads; ++i)
            threads.push_back(StartTestThread([=] { return WaitForSingleObject(hObject, dwTimeout); }));
        int nReleased = 0;
        for (HANDLE hThread : threads)
            nReleased += JoinTestThread(hThread) == WAIT_OBJECT_0;
        return nReleased;
    }

    TempFolder m_runtime;
    std::string m_strOldRuntime;
    std::string m_strName;
    std::vector<HANDLE> m_handles;
};

}

/***** Events *****/

TEST_F(SyncObjectsTest, ManualResetEventReleasesEveryWaiterUntilReset)
{
    HANDLE hEvent = Keep(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
    HANDLE hSetter = StartTestThread([=] {
        Sleep(10);
        return static_cast<DWORD>(SetEvent(hEvent));
    });
    EXPECT_EQ(CountWaitersReleased(hEvent, 3, TEST_WAIT_LIMIT), 3);
    JoinTestThread(hSetter);
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(hEvent));
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
}

TEST_F(SyncObjectsTest, AutoResetEventReleasesExactlyOneWaiterPerSet)
{
    HANDLE hEvent = Keep(CreateEvent(nullptr, FALSE, TRUE, nullptr));
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);

    HANDLE hSetter = StartTestThread([=] {
        Sleep(10);
        return static_cast<DWORD>(SetEvent(hEvent));
    });
    EXPECT_EQ(CountWaitersReleased(hEvent, 3, 300), 1);
    JoinTestThread(hSetter);
    EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
}

// A wake source that is never ready. A wait checks it once before it
// registers and again, under the same hold of the wait lock, after it has
// registered, so a second check shows that the thread is really waiting.
class CWaitingProbe : public CWaitSource {
public:
    bool IsReady() override
    {
        ++m_nChecks;
        return false;
    }
    bool IsWaiting() const { return m_nChecks >= 2; }

private:
    std::atomic<int> m_nChecks { 0 };
};

TEST_F(SyncObjectsTest, PulseReleasesOnlyThreadsAlreadyWaitingAndLeavesTheEventReset)
{
    for (BOOL bManualReset : { TRUE, FALSE }) {
        HANDLE hEvent = Keep(CreateEvent(nullptr, bManualReset, FALSE, nullptr));
        EXPECT_TRUE(PulseEvent(hEvent)); // nobody waits: nothing happens
        EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);

        CWaitingProbe probes[2];
        std::atomic<int> nReleased { 0 };
        std::vector<HANDLE> threads;
        for (CWaitingProbe& probe : probes) {
            threads.push_back(StartTestThread([&] {
                DWORD dwResult = WaitForObjectsOrSource(1, &hEvent, FALSE, TEST_WAIT_LIMIT, &probe);
                ++nReleased;
                return dwResult;
            }));
        }
        for (int n = 0; n < 1000 && !(probes[0].IsWaiting() && probes[1].IsWaiting()); ++n)
            Sleep(1);
        EXPECT_TRUE(PulseEvent(hEvent));
        int nExpected = bManualReset ? 2 : 1;
        for (int n = 0; n < 1000 && nReleased < nExpected; ++n)
            Sleep(1);
        Sleep(10);
        EXPECT_EQ(nReleased, nExpected);
        EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
        EXPECT_TRUE(PulseEvent(hEvent));
        for (HANDLE hThread : threads)
            EXPECT_EQ(JoinTestThread(hThread), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(hEvent, 0), WAIT_TIMEOUT);
    }
}

TEST_F(SyncObjectsTest, NamedEventIsSharedAndGoesWithItsLastHandle)
{
    SetLastError(ERROR_INVALID_DATA);
    HANDLE hFirst = Keep(CreateEvent(nullptr, TRUE, FALSE, m_strName.c_str()));
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    // The creation arguments of the second call are ignored.
    HANDLE hSecond = CreateEvent(nullptr, FALSE, TRUE, m_strName.c_str());
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(WaitForSingleObject(hSecond, 0), WAIT_TIMEOUT);
    HANDLE hOpened = Keep(OpenEvent(EVENT_ALL_ACCESS, FALSE, m_strName.c_str()));
    ASSERT_NE(hOpened, nullptr);
    SetEvent(hOpened);
    EXPECT_EQ(WaitForSingleObject(hSecond, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hSecond, 0), WAIT_OBJECT_0); // manual reset, as first created

    std::string strLocal = "Local\\" + m_strName;
    HANDLE hLocal = Keep(OpenEvent(SYNCHRONIZE, FALSE, strLocal.c_str()));
    EXPECT_NE(hLocal, nullptr);
    std::string strGlobal = "Global\\" + m_strName;
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, strGlobal.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    CloseHandle(hSecond);
    for (HANDLE hHandle : m_handles)
        CloseHandle(hHandle);
    m_handles.clear();
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(SyncObjectsTest, BadNamesAndKindClashesAreRefused)
{
    EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, "a\\b"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_PATHNAME);
    std::string strLong(MAX_PATH + 1, 'x');
    EXPECT_EQ(CreateMutex(nullptr, FALSE, strLong.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    ASSERT_NE(Keep(CreateEvent(nullptr, TRUE, FALSE, m_strName.c_str())), nullptr);
    EXPECT_EQ(CreateMutex(nullptr, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CreateSemaphore(nullptr, 1, 1, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // Empty names make separate unnamed objects.
    HANDLE hFirst = Keep(CreateEvent(nullptr, TRUE, FALSE, ""));
    HANDLE hSecond = Keep(CreateEvent(nullptr, TRUE, FALSE, ""));
    SetEvent(hFirst);
    EXPECT_EQ(WaitForSingleObject(hSecond, 0), WAIT_TIMEOUT);
}

TEST_F(SyncObjectsTest, CallsOnTheWrongKindOfHandleFail)
{
    HANDLE hEvent = Keep(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    HANDLE hMutex = Keep(CreateMutex(nullptr, FALSE, nullptr));
    EXPECT_FALSE(ReleaseMutex(hEvent));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(hMutex));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ReleaseSemaphore(hMutex, 1, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ResetEvent(nullptr));
    EXPECT_FALSE(PulseEvent(nullptr));
}

/***** Mutexes *****/

TEST_F(SyncObjectsTest, MutexIsOwnedRecursivelyByOneThread)
{
    HANDLE hMutex = Keep(CreateMutex(nullptr, TRUE, nullptr));
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_OBJECT_0); // second level
    auto OtherThreadCanTake = [&] {
        HANDLE hThread = StartTestThread([=] {
            DWORD dwResult = WaitForSingleObject(hMutex, 0);
            if (dwResult == WAIT_OBJECT_0)
                ReleaseMutex(hMutex);
            return dwResult;
        });
        return JoinTestThread(hThread) == WAIT_OBJECT_0;
    };
    HANDLE hThread = StartTestThread(
        [=] { return static_cast<DWORD>(!ReleaseMutex(hMutex) && GetLastError() == ERROR_NOT_OWNER); });
    EXPECT_EQ(JoinTestThread(hThread), 1u);
    EXPECT_FALSE(OtherThreadCanTake());
    EXPECT_TRUE(ReleaseMutex(hMutex));
    EXPECT_FALSE(OtherThreadCanTake());
    EXPECT_TRUE(ReleaseMutex(hMutex));
    EXPECT_TRUE(OtherThreadCanTake());
    EXPECT_FALSE(ReleaseMutex(hMutex));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
}

TEST_F(SyncObjectsTest, MutexGoesToOneWaiterAtATime)
{
    HANDLE hMutex = Keep(CreateMutex(nullptr, FALSE, nullptr));
    std::atomic<int> nInside { 0 };
    std::atomic<bool> bOverlap { false };
    std::vector<HANDLE> threads;
    for (int i = 0; i < 4; ++i) {
        threads.push_back(StartTestThread([&] {
            for (int n = 0; n < 200; ++n) {
                if (WaitForSingleObject(hMutex, TEST_WAIT_LIMIT) != WAIT_OBJECT_0)
                    return DWORD { 1 };
                if (++nInside != 1)
                    bOverlap = true;
                --nInside;
                ReleaseMutex(hMutex);
            }
            return DWORD { 0 };
        }));
    }
    for (HANDLE hThread : threads)
        EXPECT_EQ(JoinTestThread(hThread), 0u);
    EXPECT_FALSE(bOverlap);
}

/***** Semaphores *****/

TEST_F(SyncObjectsTest, SemaphoreCountsWaitsAndReleases)
{
    HANDLE hSemaphore = Keep(CreateSemaphore(nullptr, 2, 3, nullptr));
    EXPECT_EQ(WaitForSingleObject(hSemaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hSemaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hSemaphore, 0), WAIT_TIMEOUT);

    LONG nPrevious = -1;
    EXPECT_TRUE(ReleaseSemaphore(hSemaphore, 2, &nPrevious));
    EXPECT_EQ(nPrevious, 0);
    EXPECT_FALSE(ReleaseSemaphore(hSemaphore, 2, &nPrevious));
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
    EXPECT_TRUE(ReleaseSemaphore(hSemaphore, 1, &nPrevious));
    EXPECT_EQ(nPrevious, 2); // the refused release changed nothing
    EXPECT_FALSE(ReleaseSemaphore(hSemaphore, 0, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Three units are there; two more come from the other thread once the
    // waiters have taken enough for them to fit under the maximum, however
    // slowly the waiters start.
    HANDLE hReleaser = StartTestThread([=] {
        while (!ReleaseSemaphore(hSemaphore, 2, nullptr)) {
            if (GetLastError() != ERROR_TOO_MANY_POSTS)
                return DWORD { 0 };
            Sleep(1);
        }
        return DWORD { 1 };
    });
    EXPECT_EQ(CountWaitersReleased(hSemaphore, 6, 300), 5);
    EXPECT_EQ(JoinTestThread(hReleaser), 1u);
}

TEST_F(SyncObjectsTest, SemaphoreCreationChecksItsCounts)
{
    for (auto [nInitial, nMaximum] : { std::pair(0, 0), std::pair(-1, 2), std::pair(3, 2) }) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(CreateSemaphore(nullptr, nInitial, nMaximum, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
}
