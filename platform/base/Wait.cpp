#include "platform/base/Wait.h"

#include "platform/base/Threads.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

// One thread's wait in progress. It lives on the waiting thread's stack and is
// registered with each of its objects while the thread sleeps; a thread that
// signals one of them may satisfy the wait and fill in the result.
struct CWaitBlock {
    std::vector<std::shared_ptr<CWaitableObject>> objects;
    bool bWaitAll { false };
    DWORD dwThreadId { 0 };
    CWaitSource* pSource { nullptr };
    CThreadWaker* pWaker { nullptr };
    std::optional<DWORD> result; // set once the wait is satisfied
};

namespace {

// How often a wait re-checks objects that another process can signal.
constexpr auto POLL_INTERVAL = std::chrono::milliseconds(10);

std::mutex& WaitMutex()
{
    static auto* pMutex = new std::mutex; // never destroyed: threads may still wait during exit
    return *pMutex;
}

thread_local std::shared_ptr<CThreadWaker> t_pWaker;

}

// The wait algorithm, a friend of the objects and the wakers it works on.
class CWaitEngine {
public:
    static DWORD Run(CWaitBlock& block, DWORD dwMilliseconds);
    static bool TrySatisfy(CWaitBlock& block);
    static void WakeWaiters(CWaitableObject& object);

private:
    using Clock = std::chrono::steady_clock;

    // Sleeps until woken or `wakeAt` (none: no limit); the lock is held on entry and return.
    static void Sleep(CWaitBlock& block, std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> wakeAt);
    static void Register(CWaitBlock& block);
    static void Unregister(CWaitBlock& block);
};

DWORD CWaitEngine::Run(CWaitBlock& block, DWORD dwMilliseconds)
{
    auto lock = LockWaitState();
    if (TrySatisfy(block))
        return *block.result;
    if (dwMilliseconds == 0)
        return WAIT_TIMEOUT;

    bool bPolling = std::any_of(
        block.objects.begin(), block.objects.end(), [](const auto& pObject) { return pObject->NeedsPolling(); });
    std::optional<Clock::time_point> deadline;
    if (dwMilliseconds != INFINITE)
        deadline = Clock::now() + std::chrono::milliseconds(dwMilliseconds);

    Register(block);
    while (!TrySatisfy(block)) {
        Clock::time_point now = Clock::now();
        if (deadline && now >= *deadline)
            break;
        std::optional<Clock::time_point> wakeAt = deadline;
        if (bPolling)
            wakeAt = std::min(wakeAt.value_or(Clock::time_point::max()), now + POLL_INTERVAL);
        Sleep(block, lock, wakeAt);
    }
    Unregister(block);
    return block.result ? *block.result : WAIT_TIMEOUT;
}

void CWaitEngine::Sleep(CWaitBlock& block, std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> wakeAt)
{
    CThreadWaker& waker = *block.pWaker;
    // Without a descriptor (none left) the source's own input waits for the next wake or deadline.
    if (!block.pSource || !block.pSource->SleepsItself() || waker.Descriptor() < 0) {
        if (wakeAt)
            waker.m_condition.wait_until(lock, *wakeAt);
        else
            waker.m_condition.wait(lock);
        return;
    }
    int nTimeoutMs = -1;
    if (wakeAt) {
        auto remaining = std::chrono::ceil<std::chrono::milliseconds>(*wakeAt - Clock::now());
        nTimeoutMs = static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(remaining.count(), 0, INT32_MAX));
    }
    // A wake between the unlock and the poll leaves the descriptor readable,
    // so the poll returns at once. Draining afterwards can swallow a later
    // wake, but whatever that wake reported is checked under the lock next.
    int fdWake = waker.m_fdWake;
    lock.unlock();
    block.pSource->SleepOn(fdWake, nTimeoutMs);
    eventfd_t nCount = 0;
    [[maybe_unused]] int nRead = eventfd_read(fdWake, &nCount);
    lock.lock();
}

bool CWaitEngine::TrySatisfy(CWaitBlock& block)
{
    if (block.result)
        return true;
    auto& objects = block.objects;
    DWORD dwThreadId = block.dwThreadId;
    if (!block.bWaitAll) {
        for (size_t i = 0; i < objects.size(); ++i) {
            if (objects[i]->IsSignalledFor(dwThreadId)) {
                DWORD dwBase = objects[i]->Acquire(dwThreadId) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
                block.result = dwBase + static_cast<DWORD>(i);
                return true;
            }
        }
    } else if (!objects.empty()) {
        size_t nProbed = 0;
        while (nProbed < objects.size() && objects[nProbed]->IsSignalledFor(dwThreadId))
            ++nProbed;
        if (nProbed == objects.size()) {
            std::optional<DWORD> lowestAbandoned;
            for (size_t i = 0; i < objects.size(); ++i) {
                if (objects[i]->Acquire(dwThreadId) && !lowestAbandoned)
                    lowestAbandoned = static_cast<DWORD>(i);
            }
            block.result = lowestAbandoned ? WAIT_ABANDONED_0 + *lowestAbandoned : WAIT_OBJECT_0;
            return true;
        }
        for (size_t i = 0; i < nProbed; ++i)
            objects[i]->CancelProbe(dwThreadId);
    }
    if (block.pSource && block.pSource->IsReady()) {
        block.result = WAIT_OBJECT_0 + static_cast<DWORD>(objects.size());
        return true;
    }
    return false;
}

void CWaitEngine::WakeWaiters(CWaitableObject& object)
{
    // Satisfying a wait unregisters nothing (the waiter does that when it
    // runs), but work on a copy so that the order cannot shift underfoot.
    std::vector<CWaitBlock*> waiters = object.m_waiters;
    for (CWaitBlock* pBlock : waiters) {
        if (!pBlock->result && TrySatisfy(*pBlock))
            pBlock->pWaker->Signal();
    }
}

void CWaitEngine::Register(CWaitBlock& block)
{
    for (auto& pObject : block.objects)
        pObject->m_waiters.push_back(&block);
}

void CWaitEngine::Unregister(CWaitBlock& block)
{
    for (auto& pObject : block.objects)
        std::erase(pObject->m_waiters, &block);
}

/***** The waits *****/

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    return WaitForObjectsOrSource(1, &hHandle, FALSE, dwMilliseconds, nullptr);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    return WaitForObjectsOrSource(nCount, lpHandles, bWaitAll, dwMilliseconds, nullptr);
}

namespace {

std::atomic<MSGWAITPROC> g_pfnMessageWait { nullptr };

}

void SetMessageWaitProc(MSGWAITPROC pfnWait)
{
    g_pfnMessageWait = pfnWait;
}

DWORD WaitForObjectsOrMessages(
    DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds, DWORD dwWakeMask)
{
    MSGWAITPROC pfnWait = g_pfnMessageWait;
    if (!pfnWait) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return WAIT_FAILED;
    }
    return pfnWait(nCount, lpHandles, bWaitAll, dwMilliseconds, dwWakeMask);
}

DWORD WaitForObjectsOrSource(
    DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds, CWaitSource* pSource)
{
    if ((nCount == 0 && !pSource) || nCount > MAXIMUM_WAIT_OBJECTS || (nCount > 0 && !lpHandles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    // The block, and with it the references to the objects, goes after the
    // wait lock is released: an object's destructor may take that lock.
    CWaitBlock block;
    block.bWaitAll = bWaitAll != FALSE;
    block.pSource = pSource;
    for (DWORD i = 0; i < nCount; ++i) {
        auto pObject = LookupWaitable(lpHandles[i]);
        if (!pObject)
            return WAIT_FAILED;
        if (block.bWaitAll && std::find(block.objects.begin(), block.objects.end(), pObject) != block.objects.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        block.objects.push_back(std::move(pObject));
    }
    block.dwThreadId = GetCurrentThreadId();
    std::shared_ptr<CThreadWaker> pWaker = GetCurrentThreadWaker();
    block.pWaker = pWaker.get();
    return CWaitEngine::Run(block, dwMilliseconds);
}

/***** Wakers *****/

CThreadWaker::~CThreadWaker()
{
    if (m_fdWake >= 0)
        close(m_fdWake);
}

void CThreadWaker::Wake()
{
    // The wake comes after the lock is released, so the woken thread does not
    // run straight into the held lock. None is lost: a waiter that looked
    // before the caller's change is asleep once this lock is free, and one
    // that looks after this lock sees the change.
    int fdWake = -1;
    {
        auto lock = LockWaitState();
        fdWake = m_fdWake;
    }
    m_condition.notify_all();
    if (fdWake >= 0)
        eventfd_write(fdWake, 1);
}

void CThreadWaker::Signal()
{
    m_condition.notify_all();
    if (m_fdWake >= 0)
        eventfd_write(m_fdWake, 1);
}

int CThreadWaker::Descriptor()
{
    if (m_fdWake < 0)
        m_fdWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return m_fdWake;
}

std::shared_ptr<CThreadWaker> GetCurrentThreadWaker()
{
    if (!t_pWaker)
        t_pWaker = std::make_shared<CThreadWaker>();
    return t_pWaker;
}

/***** Wake sources *****/

void CWaitSource::SleepOn(int fdWake, int nTimeoutMs)
{
    pollfd fd { fdWake, POLLIN, 0 };
    poll(&fd, 1, nTimeoutMs);
}

/***** Waitable objects *****/

bool CWaitableObject::Acquire(DWORD)
{
    return false;
}

void CWaitableObject::CancelProbe(DWORD) { }

void CWaitableObject::WakeWaiters()
{
    CWaitEngine::WakeWaiters(*this);
}

std::unique_lock<std::mutex> LockWaitState()
{
    return std::unique_lock(WaitMutex());
}

std::shared_ptr<CWaitableObject> LookupWaitable(HANDLE hHandle)
{
    if (hHandle == GetCurrentThread())
        return CurrentThreadObject();
    return LookupKernelHandleAs<CWaitableObject>(hHandle);
}
