// Sending messages: direct calls on the owner thread, a hand-over through the
// owner's queue from other threads, and the replies.

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

// Sets the result of a sent message once and wakes its sender. Lock NOT held.
void Complete(CSentMessage& sent, LRESULT lResult)
{
    std::shared_ptr<CThreadWaker> pWaker;
    {
        auto lock = LockWindows();
        if (sent.bDone)
            return;
        sent.bDone = true;
        sent.lResult = lResult;
        pWaker = sent.pSenderWaker;
    }
    if (pWaker)
        pWaker->Wake();
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

// A sender's wait: for its reply, and (unless it blocks) for messages sent to
// its own thread meanwhile, which it serves so that two threads sending to
// each other do not deadlock.
class CReplyWait : public CWaitSource {
public:
    CReplyWait(const CSentMessage& sent, const CMessageQueue& ownQueue, bool bServe)
        : m_sent(sent)
        , m_ownQueue(ownQueue)
        , m_bServe(bServe)
    {
    }

    bool IsReady() override
    {
        auto lock = LockWindows();
        return m_sent.bDone || (m_bServe && !m_ownQueue.m_incoming.empty());
    }

private:
    const CSentMessage& m_sent;
    const CMessageQueue& m_ownQueue;
    bool m_bServe;
};

enum class SendOutcome { Done, Failed, TimedOut };

// Sends and, for another thread's window, waits up to dwTimeout ms (INFINITE:
// no limit); bWait false hands the message over without waiting.
SendOutcome Send(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, DWORD dwTimeout, bool bWait, LRESULT* plResult)
{
    *plResult = 0;
    std::shared_ptr<CSentMessage> pSent;
    std::shared_ptr<CThreadWaker> pTargetWaker;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return SendOutcome::Failed;
        std::shared_ptr<CMessageQueue> pTarget = pWindow->pQueue;
        if (pTarget && pWindow->dwThreadId != GetCurrentThreadId()) {
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
                pSent->pSenderWaker = GetCurrentThreadWaker();
            pTarget->AddSent(pSent);
            pTargetWaker = pTarget->m_pWaker;
        }
    }
    if (!pSent) {
        RunCallWndProcHooks(hWnd, uMsg, wParam, lParam, true);
        *plResult = CallWindowProcedure(hWnd, uMsg, wParam, lParam);
        return SendOutcome::Done;
    }
    pTargetWaker->Wake();
    if (!bWait)
        return SendOutcome::Done;

    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline
        = dwTimeout == INFINITE ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(dwTimeout);
    std::shared_ptr<CMessageQueue> pOwnQueue = CurrentQueue();
    bool bServe = !(fuFlags & SMTO_BLOCK);
    CReplyWait wait(*pSent, *pOwnQueue, bServe);
    for (;;) {
        if (bServe)
            ServeSentMessages(*pOwnQueue);
        {
            auto lock = LockWindows();
            if (pSent->bDone) {
                *plResult = pSent->lResult;
                return SendOutcome::Done;
            }
        }
        DWORD dwSlice = INFINITE;
        if (deadline != Clock::time_point::max()) {
            auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (remaining <= 0) {
                auto lock = LockWindows();
                if (!pSent->bDone) {
                    // Given up: the message may still run, but nobody wakes this thread for it.
                    pSent->pSenderWaker.reset();
                    SetLastError(ERROR_TIMEOUT);
                    return SendOutcome::TimedOut;
                }
                continue;
            }
            dwSlice = static_cast<DWORD>(remaining);
        }
        WaitForObjectsOrSource(0, nullptr, FALSE, dwSlice, &wait);
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
        {
            auto lock = LockWindows();
            if (queue.m_incoming.empty())
                return nServed;
            pSent = std::move(queue.m_incoming.front());
            queue.m_incoming.pop_front();
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
    {
        auto lock = LockWindows();
        if (sent.bDone)
            return FALSE;
    }
    Complete(sent, lResult);
    return TRUE;
}
