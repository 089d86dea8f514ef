#pragma once

// Critical sections: process-local locks that the owner thread may enter
// recursively, entered and left in pairs. A critical section must be
// initialised before use and deleted after; it must not be copied or moved
// while initialised.

#include "platform/base/WinTypes.h"

#include <pthread.h>

struct CRITICAL_SECTION {
    pthread_mutex_t Mutex; // recursive
    DWORD OwningThread;    // thread id of the owner, 0 when free; read without the mutex, atomically
    LONG RecursionCount;   // entries of the owner not yet left
    ULONG_PTR SpinCount;   // kept for callers that ask; waiting blocks at once
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// Always succeeds.
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// Blocks until the calling thread owns the section; an owner enters again at once.
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// Enters only if that needs no waiting; TRUE when entered.
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// Enters within dwMilliseconds (INFINITE: no limit); TRUE when entered. The
// platform's own helper for the class library's timed CCriticalSection::Lock.
BOOL EnterCriticalSectionTimeout(LPCRITICAL_SECTION lpCriticalSection, DWORD dwMilliseconds);
// Leaves once; the section is free when every entry is left. Leaving a section
// the calling thread does not own does nothing.
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
