#pragma once

// Threads on std::thread, thread and process identity, Sleep and the tick and
// performance counters.
//
// A thread handle is a waitable object that becomes signalled when the thread
// ends; it stays valid after that, with the exit code, until it is closed.
// Closing it does not stop the thread. Thread ids are this process's own
// numbers: nonzero, never reused, assigned when a thread is created or first
// asks for its id.
//
// Suspension: a thread created with CREATE_SUSPENDED starts when ResumeThread
// brings its suspend count to 0. A running thread cannot be stopped safely at
// an arbitrary point here, so SuspendThread on a thread that has started only
// counts (and returns the previous count); the thread keeps running.
// TerminateThread is refused for the same reason.

#include "platform/base/WinTypes.h"

#include <memory>

class CWaitableObject;

/* Creating and controlling threads. */

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID lpThreadParameter);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STACK_SIZE_PARAM_IS_A_RESERVATION = 0x00010000; // accepted; the stack size is the system's
constexpr DWORD STILL_ACTIVE = 259;                             // exit code of a thread that has not ended

// Starts `lpStartAddress(lpParameter)` on a new thread; its return value is the
// exit code. The stack size is the system's (dwStackSize is ignored). Fails
// with ERROR_INVALID_PARAMETER for a null routine or unknown flags, and
// ERROR_NOT_ENOUGH_MEMORY when no thread can be made.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);

// Both return the previous suspend count, or (DWORD)-1 with the last error set.
DWORD ResumeThread(HANDLE hThread);
DWORD SuspendThread(HANDLE hThread);

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);

// Ends the calling thread with `dwExitCode`, unwinding its stack (destructors run).
[[noreturn]] void ExitThread(DWORD dwExitCode);

// Refused: FALSE with ERROR_NOT_SUPPORTED.
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);

/* Priorities. They are kept and reported; scheduling is left to the system. */

// clang-format off
constexpr int THREAD_PRIORITY_IDLE          = -15;
constexpr int THREAD_PRIORITY_LOWEST        = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL  = -1;
constexpr int THREAD_PRIORITY_NORMAL        = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL  = 1;
constexpr int THREAD_PRIORITY_HIGHEST       = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN  = 0x7FFFFFFF; // GetThreadPriority failed
// clang-format on

// Fails with ERROR_INVALID_PARAMETER for a value not listed above.
BOOL SetThreadPriority(HANDLE hThread, int nPriority);
int GetThreadPriority(HANDLE hThread);

/* Identity. */

DWORD GetCurrentThreadId();
// A pseudo handle that means "the calling thread" wherever a thread handle is
// taken; it needs no closing.
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();

// The calling thread's thread object, for the wait machinery's pseudo handle.
std::shared_ptr<CWaitableObject> CurrentThreadObject();

/* Sleeping and counting time. */

// Sleeps in real time (0 gives up the rest of the time slice; INFINITE never
// returns). There are no asynchronous procedure calls, so SleepEx returns 0.
void Sleep(DWORD dwMilliseconds);
DWORD SleepEx(DWORD dwMilliseconds, BOOL bAlertable);

// Milliseconds from the clock seam; the 32-bit count wraps after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();

// A real-time monotonic counter for measuring short intervals, at a fixed
// frequency of 10 MHz. Both fail with ERROR_INVALID_PARAMETER for a null pointer.
BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);
