#include "platform/base/CriticalSection.h"

#include "platform/base/Wait.h"

#include <cerrno>

#include <time.h>

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
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    return pthread_mutex_trylock(&lpCriticalSection->Mutex) == 0;
}

BOOL EnterCriticalSectionTimeout(LPCRITICAL_SECTION lpCriticalSection, DWORD dwMilliseconds)
{
    if (dwMilliseconds == INFINITE) {
        EnterCriticalSection(lpCriticalSection);
        return TRUE;
    }
    timespec deadline {};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += dwMilliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(dwMilliseconds % 1000) * 1000000;
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000;
    }
    int nResult;
    do
        nResult = pthread_mutex_clocklock(&lpCriticalSection->Mutex, CLOCK_MONOTONIC, &deadline);
    while (nResult == EINTR);
    return nResult == 0;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    // A recursive mutex refuses (EPERM) an unlock by a thread that does not own it.
    pthread_mutex_unlock(&lpCriticalSection->Mutex);
}
