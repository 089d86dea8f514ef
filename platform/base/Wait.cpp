#include "platform/base/Wait.h"

#include "platform/base/Threads.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <chrono>
#include <optional>

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
    static void Register(CWaitBlock& block);
    static void Unregister(CWaitBlock& block);
};

DWORD CWaitEngine::Run(CWaitBlock& block, DWORD dwMilliseconds)
{
    using Clock = std::chrono::steady_clock;
    auto lock = LockWaitState();
    if (TrySatisfy(block))
        return *block.result;
    if (dwMilliseconds == 0)
        return WAIT_TIMEOUT;

    bool bPolling = std::any_of(block.objects.begin(), block.objects.end(),
        [](const auto& pObject) { return pObject->NeedsPolling(); });
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
        if (wakeAt)
            block.pWaker->m_condition.wait_until(lock, *wakeAt);
        else
            block.pWaker->m_condition.wait(lock);
    }
    Unregister(block);
    return block.result ? *block.result : WAIT_TIMEOUT;
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
            pBlock->pWaker->m_condition.notify_all();
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

DWORD WaitForObjectsOrSource(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds,
    CWaitSource* pSource)
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

void CThreadWaker::Wake()
{
    auto lock = LockWaitState();
    m_condition.notify_all();
}

std::shared_ptr<CThreadWaker> GetCurrentThreadWaker()
{
    if (!t_pWaker)
        t_pWaker = std::make_shared<CThreadWaker>();
    return t_pWaker;
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
