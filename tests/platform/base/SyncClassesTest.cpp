#include "platform/base/SyncClasses.h"

#include "platform/base/WinError.h"
#include "tests/platform/base/ThreadTestSupport.h"

#include <gtest/gtest.h>

// Whether another thread can take the object right now (and gives it back).
static bool OtherThreadCanLock(CSyncObject& object)
{
    HANDLE hThread = StartTestThread([&object]() -> DWORD {
        CSingleLock lock(&object);
        return lock.Lock(0);
    });
    return JoinTestThread(hThread) != 0;
}

TEST(SyncClassesTest, SingleLockHoldsAMutexUntilUnlockedOrDestroyed)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_TRUE(lock.Lock()); // already held: no second level
        EXPECT_FALSE(OtherThreadCanLock(mutex));
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadCanLock(mutex));
        EXPECT_TRUE(lock.Lock(0));
    }
    EXPECT_TRUE(OtherThreadCanLock(mutex));
}

TEST(SyncClassesTest, CriticalSectionLocksWithAndWithoutATimeout)
{
    CCriticalSection section;
    CSingleLock lock(&section);
    EXPECT_TRUE(lock.Lock(10));
    EXPECT_FALSE(OtherThreadCanLock(section));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_TRUE(OtherThreadCanLock(section));
    EXPECT_TRUE(section.Lock());
    EXPECT_TRUE(EnterCriticalSectionTimeout(section, 0)); // the owner enters again
    LeaveCriticalSection(section);
    EXPECT_TRUE(section.Unlock());
    EXPECT_EQ(section.m_hObject, nullptr);
}

TEST(SyncClassesTest, EventAndSemaphoreWrapTheirObjects)
{
    CEvent event(FALSE, TRUE);
    CSingleLock eventLock(&event);
    EXPECT_FALSE(eventLock.Lock(0));
    EXPECT_TRUE(event.SetEvent());
    EXPECT_TRUE(eventLock.Lock(0));
    EXPECT_TRUE(eventLock.Unlock()); // nothing to give back
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(event.ResetEvent());
    EXPECT_TRUE(event.PulseEvent());
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

    CSemaphore semaphore(1, 3);
    CSingleLock first(&semaphore), second(&semaphore);
    EXPECT_TRUE(first.Lock(0));
    EXPECT_FALSE(second.Lock(0));
    LONG nPrevious = -1;
    EXPECT_TRUE(first.Unlock(2, &nPrevious));
    EXPECT_EQ(nPrevious, 0);
    EXPECT_TRUE(second.Lock(0));
    EXPECT_TRUE(second.Unlock());
    EXPECT_FALSE(semaphore.Unlock(2)); // past the maximum
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
}

TEST(SyncClassesTest, NamedObjectsMeetUnderTheirName)
{
    CEvent first(FALSE, TRUE, "SyncClassesTest.Event");
    CEvent second(FALSE, FALSE, "SyncClassesTest.Event");
    first.SetEvent();
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(second.IsKindOf(RUNTIME_CLASS(CSyncObject)));
    EXPECT_FALSE(second.IsKindOf(RUNTIME_CLASS(CMutex)));

    CMutex clash(FALSE, "SyncClassesTest.Event"); // an event holds the name
    EXPECT_EQ(static_cast<HANDLE>(clash), nullptr);
    EXPECT_FALSE(clash.Lock(0));
}

TEST(SyncClassesTest, MultiLockMarksWhatItTookAndGivesItBack)
{
    CEvent event(FALSE, TRUE);
    CMutex mutex;
    CSemaphore semaphore(0, 2);
    CSyncObject* objects[] = { &event, &mutex, &semaphore };
    {
        CMultiLock lock(objects, 3);
        EXPECT_EQ(lock.Lock(0, FALSE), WAIT_OBJECT_0 + 1);
        EXPECT_FALSE(lock.IsLocked(0));
        EXPECT_TRUE(lock.IsLocked(1));
        EXPECT_FALSE(lock.IsLocked(7));
        EXPECT_FALSE(OtherThreadCanLock(mutex));
        EXPECT_EQ(lock.Lock(0, TRUE), WAIT_TIMEOUT); // the event is reset, the semaphore empty
        EXPECT_FALSE(lock.Unlock(1));                // no semaphore held
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked(1));
        EXPECT_TRUE(OtherThreadCanLock(mutex));

        event.SetEvent();
        EXPECT_EQ(lock.Lock(0, TRUE), WAIT_TIMEOUT);
        ReleaseSemaphore(semaphore, 1, nullptr);
        EXPECT_EQ(lock.Lock(0, TRUE), WAIT_OBJECT_0);
        for (DWORD i = 0; i < 3; ++i)
            EXPECT_TRUE(lock.IsLocked(i));
        LONG nPrevious = -1;
        EXPECT_TRUE(lock.Unlock(1, &nPrevious));
        EXPECT_EQ(nPrevious, 0);
        EXPECT_FALSE(lock.IsLocked(2));
        EXPECT_FALSE(OtherThreadCanLock(mutex)); // still held until the lock goes
    }
    EXPECT_TRUE(OtherThreadCanLock(mutex));
}

TEST(SyncClassesTest, MultiLockRefusesWhatItCannotWaitFor)
{
    CCriticalSection section;
    CEvent event;
    CSyncObject* withSection[] = { &event, &section };
    CMultiLock sectionLock(withSection, 2);
    EXPECT_EQ(sectionLock.Lock(0, FALSE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    CMultiLock emptyLock(nullptr, 3);
    EXPECT_EQ(emptyLock.Lock(0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
