#pragma once

// Waiting on kernel objects: WaitForSingleObject, WaitForMultipleObjects and the
// machinery that every waitable object (event, mutex, semaphore, thread, and
// later ones such as change notifications) plugs into.
//
// One process-wide lock, the wait lock, guards the state of every waitable
// object. A waiting thread describes its wait in a wait block, registers the
// block with each object and sleeps on its own thread waker. When an object
// becomes signalled, the thread that signalled it grants the object to the
// registered waits in the order they started (so an auto-reset event or a
// semaphore unit goes to exactly one waiter, and a pulse reaches only threads
// that were already waiting) and wakes the threads it satisfied.
//
// Timeouts are measured in real time, not on the clock seam: a wait must end
// on schedule even while a test holds the program's clock still.
//
// Message queues (the window layer): MsgWaitForMultipleObjects is built on
// WaitForObjectsOrSource. The queue implements CWaitSource, whose IsReady says
// whether the thread has input of the kinds asked for, and keeps the owner
// thread's waker (GetCurrentThreadWaker, taken on the owner thread). Whoever
// posts to the queue releases the queue's own lock and then calls Wake() on
// that waker, which makes a waiting owner re-check its objects and its source.
// A source that must also watch file descriptors (the display connection,
// sockets) sleeps itself: the wait then blocks in the source's SleepOn, a poll
// over its descriptors and the waker's descriptor, which every wake makes
// readable.

#include "platform/base/KernelObject.h"
#include "platform/base/WinTypes.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

/* Wait results and limits. WAIT_TIMEOUT comes with the error codes. */
constexpr DWORD INFINITE = 0xFFFFFFFF; // no timeout
constexpr DWORD WAIT_OBJECT_0 = 0;     // + index of the signalled object
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_ABANDONED_0 = 0x80; // + index of a mutex whose owner ended holding it
constexpr DWORD WAIT_IO_COMPLETION = 0xC0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF; // see GetLastError
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

/* The waits. */

// Waits until the object is signalled or `dwMilliseconds` pass (0 tests and
// returns at once, INFINITE never times out). Returns WAIT_OBJECT_0,
// WAIT_ABANDONED, WAIT_TIMEOUT, or WAIT_FAILED with ERROR_INVALID_HANDLE.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Waits for any (lowest signalled index wins) or all of 1..MAXIMUM_WAIT_OBJECTS
// objects. A wait for all takes every object at once or none of them, and
// refuses the same object twice with ERROR_INVALID_PARAMETER. Returns
// WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i (for a wait for all, i is the lowest
// abandoned mutex), WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);

/* Waits that also end on message input, for callers below the window layer
   (the class library's lock classes). The window layer owns the message
   queues and installs its MsgWaitForMultipleObjects here when it is part of
   the program; without it such a wait fails with ERROR_NOT_SUPPORTED. */

using MSGWAITPROC
    = DWORD (*)(DWORD nCount, const HANDLE* pHandles, BOOL bWaitAll, DWORD dwMilliseconds, DWORD dwWakeMask);
void SetMessageWaitProc(MSGWAITPROC pfnWait);
// Waits as MsgWaitForMultipleObjects: WAIT_OBJECT_0 + nCount reports input of
// the QS_* kinds in dwWakeMask.
DWORD WaitForObjectsOrMessages(
    DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds, DWORD dwWakeMask);

/* One more wake source for a wait, for the message queue (see above). */

class CWaitSource {
public:
    virtual ~CWaitSource() = default;
    // Called on the waiting thread with the wait lock held; may take the
    // source's own lock but must not wait on anything else.
    virtual bool IsReady() = 0;

    // True for a source that watches file descriptors; the wait then sleeps in
    // SleepOn instead of on the waker's condition.
    virtual bool SleepsItself() const { return false; }
    // Called with the wait lock released: blocks until `fdWake` is readable, the
    // source's own input arrives, or nTimeoutMs pass (-1: no limit). Returning
    // early is harmless; the wait checks again and comes back. The base polls
    // fdWake alone.
    virtual void SleepOn(int fdWake, int nTimeoutMs);
};

// WaitForMultipleObjects that also ends with WAIT_OBJECT_0 + nCount when
// `pSource` is ready. Objects are checked first, as lower indexes win; with
// bWaitAll a ready source ends the wait without the set. nCount may be 0 when
// pSource is given.
DWORD WaitForObjectsOrSource(
    DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds, CWaitSource* pSource);

// The waker of one thread: the condition it sleeps on while it waits, and for
// sources that sleep themselves a descriptor that each wake makes readable.
class CThreadWaker {
public:
    CThreadWaker() = default;
    ~CThreadWaker();
    CThreadWaker(const CThreadWaker&) = delete;
    CThreadWaker& operator=(const CThreadWaker&) = delete;

    // Makes the owner thread, if it is waiting, re-check its wait. Safe from any
    // thread; call it without holding locks that a CWaitSource takes.
    void Wake();

private:
    friend class CWaitEngine;
    // Both with the wait lock held.
    void Signal();
    int Descriptor();

    std::condition_variable m_condition;
    int m_fdWake { -1 }; // eventfd, made on first use by a self-sleeping source
};

// The calling thread's waker; other threads keep the pointer to wake it.
std::shared_ptr<CThreadWaker> GetCurrentThreadWaker();

/* For implementers of waitable objects. */

struct CWaitBlock;

// Base of every object a wait can name. All virtuals are called with the wait
// lock held and must not block.
class CWaitableObject : public CKernelObject {
public:
    // Whether a wait by thread `dwThreadId` would be satisfied now. May take a
    // resource on the way (a file lock); CancelProbe gives it back.
    virtual bool IsSignalledFor(DWORD dwThreadId) = 0;
    // Takes the object for the satisfied wait of `dwThreadId` (resets an
    // auto-reset event, counts a semaphore down, gives a mutex its owner).
    // Returns true when the wait takes over an abandoned mutex.
    virtual bool Acquire(DWORD dwThreadId);
    // Undoes a successful IsSignalledFor that was not followed by Acquire, as
    // when a wait for all finds another of its objects unsignalled.
    virtual void CancelProbe(DWORD dwThreadId);
    // True when the object can become signalled by something no call in this
    // process reports (another process), so waits on it re-check periodically.
    virtual bool NeedsPolling() const { return false; }

protected:
    // Call with the wait lock held after the object became (more) signalled:
    // grants it to the waiting threads it now satisfies and wakes them.
    void WakeWaiters();

private:
    friend class CWaitEngine;
    std::vector<CWaitBlock*> m_waiters; // waits registered on this object, oldest first
};

// The lock over every waitable object's state.
std::unique_lock<std::mutex> LockWaitState();

// The waitable object behind a handle (the current-thread pseudo handle
// included), or nullptr with ERROR_INVALID_HANDLE.
std::shared_ptr<CWaitableObject> LookupWaitable(HANDLE hHandle);
