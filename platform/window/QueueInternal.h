#pragma once

// The message queue of one thread, shared by the files of platform/window and
// not meant for callers. Every field is guarded by the window lock (see
// WindowInternal.h), except the reply event and the count of sent messages,
// which a cross-thread send reads and wakes without it.
//
// A queue holds three kinds of work, served in this order:
//   1. messages sent by other threads, which the owner runs inside its
//      GetMessage, PeekMessage, waits and its own cross-thread sends;
//   2. posted messages, first in first out, then WM_QUIT once asked for;
//   3. timers, generated as WM_TIMER only when nothing above matches.

#include "platform/window/Messages.h"
#include "platform/window/ReplyEvent.h"
#include "platform/window/WindowTypes.h"

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CThreadWaker;

// A message sent to a window of another thread. The sender waits until bDone.
// The thread that takes the message out of the target's queue (under the
// window lock) completes it, once and without the lock: the owner that runs
// it (its answer or ReplyMessage), or the thread that destroys the window or
// ends the queue (CompleteSentMessages). Only that thread writes lResult and bDone.
struct CSentMessage {
    HWND hWnd { nullptr };
    UINT uMsg { 0 };
    WPARAM wParam { 0 };
    LPARAM lParam { 0 };
    LRESULT lResult { 0 };                     // written before bDone
    std::atomic<bool> bDone { false };         // replied, answered, or given up (target gone)
    std::shared_ptr<CReplyEvent> pSenderEvent; // none for SendNotifyMessage, which waits for nothing
};

struct CTimer {
    HWND hWnd { nullptr };  // nullptr for a thread timer
    UINT uMsg { WM_TIMER }; // WM_SYSTIMER for the window layer's own timers
    UINT_PTR nId { 0 };
    UINT nElapse { 0 };   // milliseconds
    ULONGLONG nDue { 0 }; // on ClockTicks()
    TIMERPROC pfnTimerProc { nullptr };
    bool bNoted { false }; // QS_TIMER has been noted as new for the current due time
};

// A posted message. Keys from the display go, as on Windows, to the window
// that has the focus when they are retrieved (type-ahead follows a Tab that
// moves the focus), so they are addressed anew whenever the queue is looked at.
struct CPostedMessage {
    MSG msg {};
    bool bFollowsFocus { false };
    bool bSystemKey { false };       // Alt (without Control) or F10 held: WM_SYSKEY* wherever it goes
    std::optional<std::string> text; // the display's text of a key down
};

// Which messages a retrieval accepts.
struct CMessageFilter {
    HWND hWnd { nullptr }; // nullptr: any; (HWND)-1: thread messages only; else the window and its children
    UINT uMin { 0 };
    UINT uMax { 0 }; // both 0: every message

    bool Matches(HWND hMsgWnd, UINT uMsg) const; // lock held
};

class CMessageQueue {
public:
    explicit CMessageQueue(DWORD dwThreadId);

    // Lock held for all of these.
    void Post(const MSG& msg, bool bFront = false);
    // Posts a key from the display (msg.message a key down or up, not a system one).
    void PostFocusKey(CPostedMessage posted);
    // Queues a sent message; the caller then wakes the owner (WakeForSent) once the lock is released.
    void AddSent(std::shared_ptr<CSentMessage> pSent);
    // The oldest sent message, taken out of the queue; nullptr with none.
    std::shared_ptr<CSentMessage> TakeSent();
    // Takes (PM_REMOVE) or copies the first message the filter accepts; see the order above.
    bool Retrieve(MSG* pMsg, const CMessageFilter& filter, UINT wRemoveMsg);
    // Whether Retrieve would find something, without changing anything.
    bool HasMatch(const CMessageFilter& filter);
    // Milliseconds until the next timer the filter accepts is due, INFINITE with none.
    DWORD MillisecondsToNextTimer(const CMessageFilter& filter) const;
    // The QS_* kinds present now.
    UINT CurrentBits() const;
    // The QS_* kinds that arrived since the last look; timers that fell due count once.
    UINT ChangedBits();
    void ClearChangedBits(UINT nBits) { m_nChangedBits &= ~nBits; }
    // Drops everything that belongs to a window that goes; sent messages waiting
    // for it are handed back in `givenUp` to be completed with 0.
    void ForgetWindow(HWND hWnd, std::vector<std::shared_ptr<CSentMessage>>& givenUp);
    // Ends the queue with its thread: nothing more is accepted, and the sent
    // messages still waiting are handed back in `givenUp` to be completed with 0.
    void End(std::vector<std::shared_ptr<CSentMessage>>& givenUp);

    // Lock not needed for these two.
    // Whether sent messages wait. A sender adds under the lock and wakes the
    // owner afterwards, so an owner that sees none here and then sleeps is woken.
    bool HasSent() const { return m_nSent.load(std::memory_order_acquire) != 0; }
    // Wakes the owner for a sent message, wherever it waits: for messages, in a
    // wait of its own, or for the answer to its own send. Lock NOT held.
    void WakeForSent();

    const DWORD m_dwThreadId;
    std::shared_ptr<CThreadWaker> m_pWaker; // the owner's; others wake it after posting
    CReplyEvent m_replyEvent;               // the owner sleeps on it in its own cross-thread sends
    std::deque<CPostedMessage> m_posted;
    std::vector<CTimer> m_timers;
    bool m_bQuit { false };
    int m_nExitCode { 0 };
    bool m_bEnded { false };  // the owner thread has ended; nothing more is accepted
    DWORD m_dwLastTime { 0 }; // of the last message retrieved
    DWORD m_dwLastPos { 0 };

private:
    // Addresses the display's keys to the focus window of the moment.
    void AddressFocusKeys();
    // The due timer the filter accepts that fell due first, or nullptr.
    CTimer* DueTimer(const CMessageFilter& filter, ULONGLONG nNow);

    std::deque<std::shared_ptr<CSentMessage>> m_incoming;
    std::atomic<size_t> m_nSent { 0 }; // the size of m_incoming, for HasSent
    UINT m_nChangedBits { 0 };
};

// A timer of the window layer itself, for the calling thread's window hWnd:
// it comes as WM_SYSTIMER, which the program's idle processing does not count
// as input, and DispatchMessage calls lpTimerFunc for it. The program's
// SetTimer and KillTimer never touch it. Returns 0 for a bad window.
UINT_PTR SetSystemTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillSystemTimer(HWND hWnd, UINT_PTR uIDEvent);

// The calling thread's queue, made on first use; it ends with the thread,
// and so does the reference.
const std::shared_ptr<CMessageQueue>& CurrentQueue();
// The queue of a thread, or nullptr when it has none or has ended. Lock held.
std::shared_ptr<CMessageQueue> QueueOfThreadLocked(DWORD dwThreadId);

// Finishes sent messages taken from their queue with `lResult` and wakes their senders. Lock NOT held.
void CompleteSentMessages(const std::vector<std::shared_ptr<CSentMessage>>& messages, LRESULT lResult);

// Runs the messages other threads have sent to the calling thread; returns how many ran.
int ServeSentMessages(CMessageQueue& queue);

// Calls a window procedure for a message that does not come from another
// thread, with the window kept alive for the call.
LRESULT CallWindowProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
