#pragma once

// The class library's synchronisation classes: objects that wrap an event,
// mutex, semaphore or critical section, and the lock guards that take them.
//
// FIXME: the constructors should throw CResourceException when the object
// cannot be made; until the class library's exceptions exist, m_hObject stays
// null and every Lock fails.

#include "platform/base/CObject.h"
#include "platform/base/CriticalSection.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"

#include <vector>

// Base of the synchronisation objects; owns the handle and closes it.
class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)

public:
    // The name is the object's name for the classes that pass one on.
    explicit CSyncObject(LPCTSTR pstrName);
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }

    // Waits for the object; TRUE when it was obtained (taking over an abandoned
    // mutex counts), FALSE on timeout or failure.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    // Releases a count of a semaphore; the other objects do nothing and succeed.
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    HANDLE m_hObject { nullptr };
};

class CSemaphore : public CSyncObject {
    DECLARE_DYNAMIC(CSemaphore)

public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCTSTR pstrName = nullptr,
        LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);

    BOOL Unlock() override; // releases one count
    BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr) override;
};

class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)

public:
    explicit CMutex(
        BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

    using CSyncObject::Unlock;
    BOOL Unlock() override; // ReleaseMutex
};

class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)

public:
    // bInitiallyOwn: the event starts signalled.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = nullptr,
        LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    using CSyncObject::Unlock;
    BOOL Unlock() override; // an event has nothing to release: TRUE
};

// A critical section; it has no handle, so it works with CSingleLock but not CMultiLock.
class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)

public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }

    BOOL Lock();
    BOOL Lock(DWORD dwTimeout) override;
    using CSyncObject::Unlock;
    BOOL Unlock() override;

    CRITICAL_SECTION m_sect;
};

// Takes one synchronisation object, and gives it back at the latest when the
// lock goes. The object must outlive the lock.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    // TRUE when the object is held (at once if this lock already holds it).
    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // TRUE when the object is no longer held by this lock.
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired { FALSE };
};

// Waits on up to MAXIMUM_WAIT_OBJECTS synchronisation objects at once, and
// gives back those it holds when it goes. The objects must outlive the lock.
class CMultiLock {
public:
    CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
    ~CMultiLock();
    CMultiLock(const CMultiLock&) = delete;
    CMultiLock& operator=(const CMultiLock&) = delete;

    // Returns what WaitForMultipleObjects returns, and marks the objects that
    // wait took as locked. With a wake mask (QS_*) the wait also ends on such
    // message input, returning WAIT_OBJECT_0 + the object count and taking
    // nothing (see WaitForObjectsOrMessages).
    DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
    // Gives back every object held; TRUE.
    BOOL Unlock();
    // Releases a count of every semaphore held; TRUE when there was one.
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked(DWORD dwItem) const;

private:
    std::vector<CSyncObject*> m_objects;
    std::vector<HANDLE> m_handles;
    std::vector<bool> m_locked;
};
