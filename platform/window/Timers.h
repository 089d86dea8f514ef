#pragma once

// Timers. A timer belongs to the queue of the thread that sets it (the thread
// of its window). It produces no posted message: when a thread retrieves
// messages and nothing else matches, a timer that is due on the program's
// clock (ClockTicks) is returned as WM_TIMER, the one due earliest first.
// Taking it (PM_REMOVE) schedules the timer a full period after that moment,
// so a timer that fell behind is reported once, not once per missed period.
// A thread blocked in GetMessage wakes when a timer falls due. Moving a test's
// clock wakes nobody: a blocked thread looks again once the real time it had
// left to wait has passed, so a test driver pumps the queue after advancing.

#include "platform/window/WindowTypes.h"

// clang-format off
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A; // shorter periods are raised to this
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF; // longer periods are lowered to this
// clang-format on

// With a window (which must belong to the calling thread), sets or resets the
// timer nIDEvent of that window and returns nIDEvent (1 for id 0). Without a
// window, resets the calling thread's timer nIDEvent if there is one, else makes
// a new thread timer and returns its new id. lpTimerFunc, when given, is what
// DispatchMessage calls instead of the window procedure. Returns 0 on failure.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);

// Stops the timer; FALSE with ERROR_INVALID_PARAMETER when there is none.
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
