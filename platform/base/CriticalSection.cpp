#include "platform/base/CriticalSection.h"

#include "platform/base/Threads.h"
#include "platform/base/Wait.h"

#include <cerrno>

#include <time.h>

namespace {

// Records the calling thread's new entry; it holds the mutex.
void NoteEntry(LPCRITICAL_SECTION lpCriticalSection)
{
    __atomic_store_n(&lpCriticalSection->OwningThread, GetCurrentThreadId(), __ATOMIC_RELAXED);
    ++lpCriticalSection->RecursionCount;
}

}

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount)
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&lpCriticalSection->Mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    lpCriticalSection->OwningThread = 0;
    lpCriticalSection->RecursionCount = 0;
    lpCriticalSection->SpinCount = dwSpinCount;
    return TRUE;
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    pthread_mutex_destroy(&lpCriticalSection->Mutex);
}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    pthread_mutex_lock(&lpCriticalSection->Mutex);
    NoteEntry(lpCriticalSection);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    if (pthread_mutex_trylock(&lpCriticalSection->Mutex) != 0)
        return FALSE;
    NoteEntry(lpCriticalSection);
    return TRUE;
}

BOOL EnterCriticalSectionTimeout(LPCRITICAL_SECTION lpCriticalSection, DWORD dwMilliseconds)
{
    if (dwMilliseconds == INFINITE) {
        EnterCriticalSection(lpCriticalSection);
        return TRUE;
    }
    // pthread_mutex_timedlock takes a wall-clock deadline. It is used rather
    // than a monotonic variant because race checkers understand it; a clock
    // step only lengthens or shortens this one wait.
    timespec deadline {};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += dwMilliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(dwMilliseconds % 1000) * 1000000;
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000;
    }
    int nResult;
    do
        nResult = pthread_mutex_timedlock(&lpCriticalSection->Mutex, &deadline);
    while (nResult == EINTR);
    if (nResult != 0)
        return FALSE;
    NoteEntry(lpCriticalSection);
    return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    // Only the owner's entries can be left; another thread's call changes nothing.
    if (__atomic_load_n(&lpCriticalSection->OwningThread, __ATOMIC_RELAXED) != GetCurrentThreadId())
        return;
    if (--lpCriticalSection->RecursionCount == 0)
        __atomic_store_n(&lpCriticalSection->OwningThread, 0, __ATOMIC_RELAXED);
    pthread_mutex_unlock(&lpCriticalSection->Mutex);
}
