#include "platform/base/Threads.h"

#include "platform/base/Clock.h"
#include "platform/base/KernelObject.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <system_error>
#include <thread>

#include <pthread.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr UINT_PTR CURRENT_THREAD_HANDLE = static_cast<UINT_PTR>(-2);
constexpr DWORD SUSPEND_FAILED = static_cast<DWORD>(-1);
constexpr LONGLONG PERFORMANCE_FREQUENCY = 10'000'000; // 100-nanosecond counts

std::atomic<DWORD> g_nNextThreadId { 1 };

// A thread as a waitable object. Every field is guarded by the wait lock.
class CThreadObject : public CWaitableObject {
public:
    explicit CThreadObject(DWORD dwId)
        : m_dwId(dwId)
    {
    }

    bool IsSignalledFor(DWORD) override { return m_bEnded; }

    // Marks the thread ended (once): mutexes it still owns become abandoned
    // before its waiters see it end, so they find a consistent picture.
    void End(DWORD dwExitCode)
    {
        if (m_bEnded)
            return;
        AbandonMutexesOwnedBy(m_dwId);
        m_bEnded = true;
        m_dwExitCode = dwExitCode;
        WakeWaiters();
    }

    const DWORD m_dwId;
    LPTHREAD_START_ROUTINE m_pfnStart { nullptr };
    LPVOID m_pParameter { nullptr };
    DWORD m_nSuspendCount { 0 };
    bool m_bStarted { false };
    bool m_bEnded { false };
    DWORD m_dwExitCode { STILL_ACTIVE };
    int m_nPriority { THREAD_PRIORITY_NORMAL };
};

// What the platform knows about the calling thread. Its destructor runs when
// the thread ends, however it ends (return, ExitThread, or a thread the
// platform did not create), and reports the end.
struct CThreadState {
    ~CThreadState()
    {
        if (dwId == 0)
            return;
        std::shared_ptr<CThreadObject> pEnding = std::move(pObject); // released after the lock
        auto lock = LockWaitState();
        if (pEnding)
            pEnding->End(dwExitCode.value_or(0));
        else
            AbandonMutexesOwnedBy(dwId);
    }

    DWORD dwId { 0 };
    std::shared_ptr<CThreadObject> pObject; // made on demand for threads the platform did not create
    std::optional<DWORD> dwExitCode;        // set when the routine returns or ExitThread is called
};

thread_local CThreadState t_state;

std::shared_ptr<CThreadObject> CurrentThread()
{
    if (!t_state.pObject) {
        auto pObject = std::make_shared<CThreadObject>(GetCurrentThreadId());
        pObject->m_bStarted = true;
        t_state.pObject = std::move(pObject);
    }
    return t_state.pObject;
}

std::shared_ptr<CThreadObject> LookupThread(HANDLE hThread)
{
    if (hThread == GetCurrentThread())
        return CurrentThread();
    return LookupKernelHandleAs<CThreadObject>(hThread);
}

void ThreadMain(const std::shared_ptr<CThreadObject>& pObject)
{
    t_state.dwId = pObject->m_dwId;
    t_state.pObject = pObject;
    DWORD dwExitCode = pObject->m_pfnStart(pObject->m_pParameter);
    t_state.dwExitCode = dwExitCode;
}

// Starts the system thread; the caller has marked the object started.
bool StartThread(const std::shared_ptr<CThreadObject>& pObject)
{
    try {
        std::thread(ThreadMain, pObject).detach();
        return true;
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

bool IsKnownPriority(int nPriority)
{
    switch (nPriority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
        return true;
    default:
        return false;
    }
}

}

/***** Creating and controlling threads *****/

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
    DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    if (!lpStartAddress || (dwCreationFlags & ~(CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pObject = std::make_shared<CThreadObject>(g_nNextThreadId++);
    pObject->m_pfnStart = lpStartAddress;
    pObject->m_pParameter = lpParameter;
    if (dwCreationFlags & CREATE_SUSPENDED) {
        pObject->m_nSuspendCount = 1;
    } else {
        pObject->m_bStarted = true;
        if (!StartThread(pObject))
            return nullptr;
    }
    if (lpThreadId)
        *lpThreadId = pObject->m_dwId;
    return CreateKernelHandle(pObject);
}

DWORD ResumeThread(HANDLE hThread)
{
    auto pObject = LookupThread(hThread);
    if (!pObject)
        return SUSPEND_FAILED;
    DWORD nPrevious = 0;
    bool bStart = false;
    {
        auto lock = LockWaitState();
        nPrevious = pObject->m_nSuspendCount;
        if (nPrevious > 0 && --pObject->m_nSuspendCount == 0 && !pObject->m_bStarted)
            bStart = pObject->m_bStarted = true;
    }
    if (bStart && !StartThread(pObject)) {
        auto lock = LockWaitState();
        pObject->m_bStarted = false;
        pObject->m_nSuspendCount = nPrevious;
        return SUSPEND_FAILED;
    }
    return nPrevious;
}

DWORD SuspendThread(HANDLE hThread)
{
    auto pObject = LookupThread(hThread);
    if (!pObject)
        return SUSPEND_FAILED;
    auto lock = LockWaitState();
    return pObject->m_nSuspendCount++;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    auto pObject = LookupThread(hThread);
    if (!pObject)
        return FALSE;
    if (!lpExitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWaitState();
    *lpExitCode = pObject->m_dwExitCode;
    return TRUE;
}

void ExitThread(DWORD dwExitCode)
{
    // pthread_exit unwinds the stack like an exception that cannot be caught
    // for good, and the thread state's destructor then reports the end. Taking
    // the id makes sure that state exists, for a thread that never asked before.
    GetCurrentThreadId();
    t_state.dwExitCode = dwExitCode;
    pthread_exit(nullptr);
}

BOOL TerminateThread(HANDLE, DWORD)
{
    // Killing a thread at an arbitrary point would leave locks held and state
    // half-changed; the program's threads end by returning instead.
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

/***** Priorities *****/

BOOL SetThreadPriority(HANDLE hThread, int nPriority)
{
    auto pObject = LookupThread(hThread);
    if (!pObject)
        return FALSE;
    if (!IsKnownPriority(nPriority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWaitState();
    pObject->m_nPriority = nPriority;
    return TRUE;
}

int GetThreadPriority(HANDLE hThread)
{
    auto pObject = LookupThread(hThread);
    if (!pObject)
        return THREAD_PRIORITY_ERROR_RETURN;
    auto lock = LockWaitState();
    return pObject->m_nPriority;
}

/***** Identity *****/

DWORD GetCurrentThreadId()
{
    if (t_state.dwId == 0)
        t_state.dwId = g_nNextThreadId++;
    return t_state.dwId;
}

HANDLE GetCurrentThread()
{
    return reinterpret_cast<HANDLE>(CURRENT_THREAD_HANDLE);
}

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(getpid());
}

std::shared_ptr<CWaitableObject> CurrentThreadObject()
{
    return CurrentThread();
}

/***** Sleeping and counting time *****/

void Sleep(DWORD dwMilliseconds)
{
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

DWORD SleepEx(DWORD dwMilliseconds, BOOL)
{
    Sleep(dwMilliseconds);
    return 0;
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(ClockTicks());
}

ULONGLONG GetTickCount64()
{
    return ClockTicks();
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount)
{
    if (!lpPerformanceCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    lpPerformanceCount->QuadPart = static_cast<LONGLONG>(ts.tv_sec) * PERFORMANCE_FREQUENCY + ts.tv_nsec / 100;
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency)
{
    if (!lpFrequency) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpFrequency->QuadPart = PERFORMANCE_FREQUENCY;
    return TRUE;
}
