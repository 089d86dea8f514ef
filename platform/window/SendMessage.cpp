// Sending messages: direct calls on the owner thread, a hand-over through the
// owner's queue from other threads, and the replies.
//
// A send to another thread's window takes the window lock once, to queue the
// message, then wakes the owner wherever it waits and sleeps on its own reply
// event. The owner takes the message under the lock, runs it, and answers
// without the lock: the result, the done flag, a set of the sender's event.

#include "platform/window/MessageQueue.h"

#include "platform/base/Threads.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "platform/window/InputInternal.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <chrono>

namespace {

// The messages the calling thread is running now, innermost last: a sent
// message from another thread, or nullptr for anything else (a message sent
// on this thread or dispatched from the queue). InSendMessage and
// ReplyMessage look at the innermost.
thread_local std::vector<CSentMessage*> t_running;

class CRunningScope {
public:
    explicit CRunningScope(CSentMessage* pSent) { t_running.push_back(pSent); }
    ~CRunningScope() { t_running.pop_back(); }
    CRunningScope(const CRunningScope&) = delete;
    CRunningScope& operator=(const CRunningScope&) = delete;
};

// Sets the result of a sent message once and wakes its sender; only the
// thread that took the message from its queue calls it. Lock NOT held.
void Complete(CSentMessage& sent, LRESULT lResult)
{
    if (sent.bDone.load(std::memory_order_relaxed))
        return;
    sent.lResult = lResult;
    sent.bDone.store(true, std::memory_order_release);
    if (sent.pSenderEvent)
        sent.pSenderEvent->Set();
}

// Completes a sent message when it goes out of scope.
struct CAnswerOnExit {
    explicit CAnswerOnExit(CSentMessage& sent)
        : m_sent(sent)
    {
    }
    ~CAnswerOnExit() { Complete(m_sent, m_lResult); }
    CAnswerOnExit(const CAnswerOnExit&) = delete;
    CAnswerOnExit& operator=(const CAnswerOnExit&) = delete;

    CSentMessage& m_sent;
    LRESULT m_lResult { 0 };
};

enum class SendOutcome { Done, Failed, TimedOut };

// Sends and, for another thread's window, waits up to dwTimeout ms (INFINITE:
// no limit); bWait false hands the message over without waiting.
SendOutcome Send(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, DWORD dwTimeout, bool bWait, LRESULT* plResult)
{
    *plResult = 0;
    std::shared_ptr<CSentMessage> pSent;
    std::shared_ptr<CMessageQueue> pTarget;
    static const std::shared_ptr<CMessageQueue> s_pNoQueue;
    const std::shared_ptr<CMessageQueue>& pOwnQueue = bWait ? CurrentQueue() : s_pNoQueue;
    std::shared_ptr<CWindow> pKeep; // a window of this thread, called directly
    WNDPROC pfnWndProc = nullptr;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return SendOutcome::Failed;
        if (!pWindow->pQueue || pWindow->dwThreadId == GetCurrentThreadId()) {
            pKeep = SharedWindowLocked(*pWindow);
            pfnWndProc = pWindow->pfnWndProc;
        } else {
            pTarget = pWindow->pQueue;
            if (pTarget->m_bEnded) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return SendOutcome::Failed;
            }
            pSent = std::make_shared<CSentMessage>();
            pSent->hWnd = hWnd;
            pSent->uMsg = uMsg;
            pSent->wParam = wParam;
            pSent->lParam = lParam;
            if (bWait)
                pSent->pSenderEvent = std::shared_ptr<CReplyEvent>(pOwnQueue, &pOwnQueue->m_replyEvent);
            pTarget->AddSent(pSent);
        }
    }
    if (!pSent) {
        // A hook may have changed or destroyed the window: it is looked up again.
        if (RunCallWndProcHooks(hWnd, uMsg, wParam, lParam, true)) {
            *plResult = CallWindowProcedure(hWnd, uMsg, wParam, lParam);
        } else {
            CRunningScope scope(nullptr);
            *plResult = CallWindowProc(pfnWndProc, hWnd, uMsg, wParam, lParam);
        }
        return SendOutcome::Done;
    }
    pTarget->WakeForSent();
    if (!bWait)
        return SendOutcome::Done;

    using Clock = CReplyEvent::Clock;
    Clock::time_point deadline
        = dwTimeout == INFINITE ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(dwTimeout);
    bool bServe = !(fuFlags & SMTO_BLOCK);
    CReplyEvent& replyEvent = pOwnQueue->m_replyEvent;
    for (;;) {
        // Read first: a set after this, for the answer or a message to serve, ends the wait below at once.
        uint32_t nSeen = replyEvent.Sets();
        if (bServe)
            ServeSentMessages(*pOwnQueue);
        if (pSent->bDone.load(std::memory_order_acquire)) {
            *plResult = pSent->lResult;
            return SendOutcome::Done;
        }
        if (deadline != Clock::time_point::max() && Clock::now() >= deadline) {
            // Given up: the message may still run; its answer then sets the event for nothing.
            SetLastError(ERROR_TIMEOUT);
            return SendOutcome::TimedOut;
        }
        replyEvent.Wait(nSeen, deadline);
    }
}

}

/***** Serving *****/

LRESULT CallWindowProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<CWindow> pKeep; // the window object outlives the call even if the procedure destroys it
    WNDPROC pfnWndProc = nullptr;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return 0;
        pKeep = SharedWindowLocked(*pWindow);
        pfnWndProc = pWindow->pfnWndProc;
    }
    CRunningScope scope(nullptr);
    return CallWindowProc(pfnWndProc, hWnd, uMsg, wParam, lParam);
}

int ServeSentMessages(CMessageQueue& queue)
{
    int nServed = 0;
    for (;;) {
        std::shared_ptr<CSentMessage> pSent;
        std::shared_ptr<CWindow> pKeep;
        WNDPROC pfnWndProc = nullptr;
        if (!queue.HasSent())
            return nServed;
        {
            auto lock = LockWindows();
            pSent = queue.TakeSent();
            if (!pSent)
                return nServed;
            if (CWindow* pWindow = FindWindowLocked(pSent->hWnd)) {
                pKeep = SharedWindowLocked(*pWindow);
                pfnWndProc = pWindow->pfnWndProc;
            }
        }
        // Answered however the procedure ends: a handler that ends its thread
        // (ExitThread unwinds) still releases the sender, with 0.
        CAnswerOnExit answer(*pSent);
        if (pKeep) {
            RunCallWndProcHooks(pSent->hWnd, pSent->uMsg, pSent->wParam, pSent->lParam, false);
            CRunningScope scope(pSent.get());
            answer.m_lResult = CallWindowProc(pfnWndProc, pSent->hWnd, pSent->uMsg, pSent->wParam, pSent->lParam);
        }
        ++nServed;
    }
}

void CompleteSentMessages(const std::vector<std::shared_ptr<CSentMessage>>& messages, LRESULT lResult)
{
    for (const auto& pSent : messages)
        Complete(*pSent, lResult);
}

/***** Sending *****/

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    Send(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, INFINITE, true, &lResult);
    return lResult;
}

LRESULT SendMessageTimeout(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout, PDWORD_PTR lpdwResult)
{
    LRESULT lResult = 0;
    DWORD dwTimeout = uTimeout == INFINITE ? INFINITE - 1 : uTimeout; // a timeout always ends
    if (Send(hWnd, uMsg, wParam, lParam, fuFlags, dwTimeout, true, &lResult) != SendOutcome::Done)
        return 0;
    if (lpdwResult)
        *lpdwResult = static_cast<DWORD_PTR>(lResult);
    return TRUE;
}

BOOL SendNotifyMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    return Send(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, INFINITE, false, &lResult) == SendOutcome::Done;
}

BOOL InSendMessage()
{
    return !t_running.empty() && t_running.back() != nullptr;
}

BOOL ReplyMessage(LRESULT lResult)
{
    if (t_running.empty() || !t_running.back())
        return FALSE;
    CSentMessage& sent = *t_running.back();
    if (sent.bDone.load(std::memory_order_relaxed))
        return FALSE;
    Complete(sent, lResult);
    return TRUE;
}
