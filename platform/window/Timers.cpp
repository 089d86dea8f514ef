#include "platform/window/Timers.h"

#include "platform/base/Clock.h"
#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <atomic>

namespace {

// Thread timer ids come from one process-wide count, so no two threads share one.
std::atomic<UINT_PTR> g_nNextThreadTimerId { 0x7FFE0000 };

}

namespace {

UINT_PTR StartTimer(HWND hWnd, UINT uMsg, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    UINT nElapse = std::clamp(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    auto lock = LockWindows();
    if (hWnd) {
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return 0;
        if (pWindow->dwThreadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    auto& timers = pQueue->m_timers;
    auto it = std::find_if(timers.begin(), timers.end(),
        [&](const CTimer& timer) { return timer.hWnd == hWnd && timer.uMsg == uMsg && timer.nId == nIDEvent; });
    if (it == timers.end()) {
        CTimer timer;
        timer.hWnd = hWnd;
        timer.uMsg = uMsg;
        timer.nId = hWnd ? nIDEvent : g_nNextThreadTimerId++;
        it = timers.insert(timers.end(), timer);
    }
    it->nElapse = nElapse;
    it->nDue = ClockTicks() + nElapse;
    it->pfnTimerProc = lpTimerFunc;
    it->bNoted = false;
    return it->nId ? it->nId : 1;
}

BOOL StopTimer(HWND hWnd, UINT uMsg, UINT_PTR uIDEvent)
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    size_t nRemoved = std::erase_if(pQueue->m_timers,
        [&](const CTimer& timer) { return timer.hWnd == hWnd && timer.uMsg == uMsg && timer.nId == uIDEvent; });
    if (nRemoved == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    return StartTimer(hWnd, WM_TIMER, nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return StopTimer(hWnd, WM_TIMER, uIDEvent);
}

UINT_PTR SetSystemTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (!hWnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return StartTimer(hWnd, WM_SYSTIMER, nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillSystemTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return StopTimer(hWnd, WM_SYSTIMER, uIDEvent);
}
