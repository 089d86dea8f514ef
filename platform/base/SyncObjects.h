#pragma once

// Events, mutexes and semaphores behind HANDLEs. Wait on them with
// WaitForSingleObject and WaitForMultipleObjects (Wait.h); close them with
// CloseHandle.
//
// Names: events, mutexes and semaphores share one namespace. Creating an
// object under a name that is already in use returns a new handle to the
// existing object with the last error ERROR_ALREADY_EXISTS (the creation
// arguments are then ignored), or fails with ERROR_INVALID_HANDLE when the
// existing object is of another kind. A successful creation of a new object
// sets the last error to ERROR_SUCCESS. A name may start with "Local\" (the
// same as no prefix) or "Global\" and may not otherwise contain a backslash
// (ERROR_BAD_PATHNAME); names are case-sensitive and at most MAX_PATH long.
// A null or empty name makes an unnamed object.
//
// Named events and semaphores are shared within this process. A named mutex is
// shared with every process of the user (NamedMutex.h): it exists while any
// process has a handle to it, and owning it excludes owners in other processes.

#include "platform/base/WinTypes.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

/* Access rights, accepted by the Open calls (all access is granted). */
// clang-format off
constexpr DWORD SYNCHRONIZE            = 0x00100000;
constexpr DWORD EVENT_MODIFY_STATE     = 0x00000002;
constexpr DWORD EVENT_ALL_ACCESS       = 0x001F0003;
constexpr DWORD MUTEX_MODIFY_STATE     = 0x00000001;
constexpr DWORD MUTEX_ALL_ACCESS       = 0x001F0001;
constexpr DWORD SEMAPHORE_MODIFY_STATE = 0x00000002;
constexpr DWORD SEMAPHORE_ALL_ACCESS   = 0x001F0003;
// clang-format on

/* Events. A manual-reset event stays signalled, releasing every waiter, until
   ResetEvent; an auto-reset event releases one waiter and resets itself. */

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCTSTR lpName);
// A new handle to an existing named event; ERROR_FILE_NOT_FOUND when there is none.
HANDLE OpenEvent(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCTSTR lpName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
// Releases the threads waiting right now (all of them for a manual-reset
// event, one for an auto-reset event) and leaves the event reset.
BOOL PulseEvent(HANDLE hEvent);

/* Mutexes. A thread owns a mutex once a wait on it succeeds and may wait again
   (each wait counts); it releases it with one ReleaseMutex per wait. When the
   owner thread ends holding it, the next wait gets WAIT_ABANDONED. */

// bInitialOwner gives ownership to the calling thread only if this call creates the mutex.
HANDLE CreateMutex(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCTSTR lpName);
// A new handle to an existing named mutex (of this or another process);
// ERROR_FILE_NOT_FOUND when there is none.
HANDLE OpenMutex(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCTSTR lpName);
// Fails with ERROR_NOT_OWNER when the calling thread does not own the mutex.
BOOL ReleaseMutex(HANDLE hMutex);

/* Semaphores. Signalled while the count is above 0; each satisfied wait counts
   it down by one. */

// Fails with ERROR_INVALID_PARAMETER unless 0 <= lInitialCount <= lMaximumCount and lMaximumCount > 0.
HANDLE CreateSemaphore(
    LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount, LONG lMaximumCount, LPCTSTR lpName);
// Adds lReleaseCount (> 0) to the count; fails with ERROR_TOO_MANY_POSTS, the
// count unchanged, when that would pass the maximum. *lpPreviousCount (optional)
// receives the count before.
BOOL ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount);

/* For the thread layer. */

// Abandons every mutex the thread still owns; called with the wait lock held
// when the thread ends.
void AbandonMutexesOwnedBy(DWORD dwThreadId);
