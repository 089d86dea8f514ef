#include "platform/window/MessageQueue.h"

#include "platform/base/Clock.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "platform/display/Display.h"
#include "platform/window/InputInternal.h"
#include "platform/window/Messages.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/Timers.h"
#include "platform/window/WaitDescriptors.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <unordered_map>
#include <utility>

#include <poll.h>

namespace {

thread_local THREADWAITHOOK t_pfnWaitHook = nullptr;
thread_local CModalLoopFilter t_modalLoopFilter;

void RunThreadWaitHook()
{
    if (t_pfnWaitHook)
        t_pfnWaitHook();
}

// The hWnd filter (HWND)-1, which takes only thread messages.
bool IsThreadMessagesFilter(HWND hWnd)
{
    return reinterpret_cast<LONG_PTR>(hWnd) == -1;
}

std::unordered_map<DWORD, std::shared_ptr<CMessageQueue>>& QueuesByThread()
{
    static auto* pQueues = new std::unordered_map<DWORD, std::shared_ptr<CMessageQueue>>;
    return *pQueues;
}

// The calling thread's queue; its destructor runs when the thread ends and
// ends the queue: senders waiting on it get 0 and its windows go.
struct CQueueOwner {
    ~CQueueOwner()
    {
        if (!pQueue)
            return;
        std::vector<std::shared_ptr<CSentMessage>> givenUp;
        {
            auto lock = LockWindows();
            pQueue->End(givenUp);
            RemoveThreadWindowsLocked(pQueue->m_dwThreadId, givenUp);
            QueuesByThread().erase(pQueue->m_dwThreadId);
        }
        CompleteSentMessages(givenUp, 0);
    }

    std::shared_ptr<CMessageQueue> pQueue;
};

thread_local CQueueOwner t_queueOwner;

// The QS_* kinds a posted message counts as. Keyboard and mouse messages also
// count as input: input reaches the queue by being posted.
UINT KindOf(UINT uMsg)
{
    UINT nKind = QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST)
        nKind |= QS_KEY;
    else if (uMsg == WM_MOUSEFIRST)
        nKind |= QS_MOUSEMOVE;
    else if (uMsg > WM_MOUSEFIRST && uMsg <= WM_MOUSELAST)
        nKind |= QS_MOUSEBUTTON;
    return nKind;
}

// The filter for a retrieval; false (with the last error set) when its window is not valid.
bool MakeFilter(HWND hWnd, UINT uMin, UINT uMax, CMessageFilter& filter)
{
    if (hWnd && !IsThreadMessagesFilter(hWnd) && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    filter = CMessageFilter { hWnd, uMin, uMax };
    return true;
}

// The part of a thread's message wait that watches descriptors: the
// display's connection, on the thread that reads the display's events, and
// the thread's wait descriptors (sockets). It sleeps in a poll over them and
// the thread's waker, and is ready when events wait or a descriptor is ready.
class CQueueWaitSource : public CWaitSource {
public:
    CQueueWaitSource()
        : m_pDisplay(DisplayReadByThisThread())
        , m_fdDisplay(m_pDisplay ? m_pDisplay->EventDescriptor() : -1)
    {
    }

    bool SleepsItself() const override { return m_fdDisplay >= 0 || HasWaitDescriptorProviders(); }

    void SleepOn(int fdWake, int nTimeoutMs) override
    {
        std::vector<pollfd> fds { { fdWake, POLLIN, 0 } };
        if (m_fdDisplay >= 0)
            fds.push_back({ m_fdDisplay, POLLIN, 0 });
        CollectWaitDescriptors(fds);
        poll(fds.data(), fds.size(), nTimeoutMs);
    }

protected:
    bool DescriptorsReady() { return (m_pDisplay && m_pDisplay->HasPendingEvents()) || WaitDescriptorsReady(); }

private:
    CDisplay* m_pDisplay;
    int m_fdDisplay;
};

// A wait until the queue has something a retrieval with this filter takes, or
// a message sent by another thread to serve, or display events to read.
class CRetrievalWait : public CQueueWaitSource {
public:
    CRetrievalWait(CMessageQueue& queue, const CMessageFilter& filter)
        : m_queue(queue)
        , m_filter(filter)
    {
    }

    bool IsReady() override
    {
        if (m_queue.HasSent() || DescriptorsReady())
            return true;
        auto lock = LockWindows();
        return m_queue.HasMatch(m_filter);
    }

private:
    CMessageQueue& m_queue;
    const CMessageFilter& m_filter;
};

// A wait for input of the kinds in a wake mask (see MsgWaitForMultipleObjectsEx),
// or display events to read.
class CInputWait : public CQueueWaitSource {
public:
    CInputWait(CMessageQueue& queue, UINT nMask, bool bAnyInput)
        : m_queue(queue)
        , m_nMask(nMask)
        , m_bAnyInput(bAnyInput)
    {
    }

    bool IsReady() override
    {
        if (m_queue.HasSent() || DescriptorsReady())
            return true;
        auto lock = LockWindows();
        UINT nChanged = m_queue.ChangedBits(); // notes timers that fell due
        UINT nBits = m_bAnyInput ? m_queue.CurrentBits() : nChanged;
        return (nBits & m_nMask & ~QS_SENDMESSAGE) != 0;
    }

private:
    CMessageQueue& m_queue;
    UINT m_nMask;
    bool m_bAnyInput;
};

}

/***** The queue *****/

bool CMessageFilter::Matches(HWND hMsgWnd, UINT uMsg) const
{
    if ((uMin || uMax) && (uMsg < uMin || uMsg > uMax))
        return false;
    if (!hWnd)
        return true;
    if (IsThreadMessagesFilter(hWnd))
        return !hMsgWnd;
    if (hMsgWnd == hWnd)
        return true;
    CWindow* pFilter = FindWindowLocked(hWnd);
    CWindow* pWindow = FindWindowLocked(hMsgWnd);
    for (; pFilter && pWindow && (pWindow->dwStyle & WS_CHILD); pWindow = pWindow->pParent) {
        if (pWindow->pParent == pFilter)
            return true;
    }
    return false;
}

CMessageQueue::CMessageQueue(DWORD dwThreadId)
    : m_dwThreadId(dwThreadId)
{
}

void CMessageQueue::Post(const MSG& msg, bool bFront)
{
    CPostedMessage posted;
    posted.msg = msg;
    if (bFront)
        m_posted.push_front(std::move(posted));
    else
        m_posted.push_back(std::move(posted));
    m_nChangedBits |= KindOf(msg.message);
}

void CMessageQueue::PostFocusKey(CPostedMessage posted)
{
    posted.bFollowsFocus = true;
    m_nChangedBits |= KindOf(posted.msg.message);
    m_posted.push_back(std::move(posted));
}

void CMessageQueue::AddressFocusKeys()
{
    const CInputState& state = InputStateLocked();
    HWND hTarget = state.hFocus ? state.hFocus : state.hActive;
    if (!hTarget)
        return; // nowhere to go yet: they keep the window they were posted to
    for (CPostedMessage& posted : m_posted) {
        if (!posted.bFollowsFocus)
            continue;
        MSG& msg = posted.msg;
        bool bDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        // Without a focus window the active window gets system keys.
        bool bSystem = posted.bSystemKey || !state.hFocus;
        msg.hwnd = hTarget;
        msg.message = bSystem ? (bDown ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (bDown ? WM_KEYDOWN : WM_KEYUP);
        constexpr LPARAM ALT_CONTEXT = 1 << 29;
        msg.lParam = bSystem && msg.wParam != VK_F10 ? (msg.lParam | ALT_CONTEXT) : (msg.lParam & ~ALT_CONTEXT);
    }
}

void CMessageQueue::AddSent(std::shared_ptr<CSentMessage> pSent)
{
    m_incoming.push_back(std::move(pSent));
    m_nSent.store(m_incoming.size(), std::memory_order_release);
    m_nChangedBits |= QS_SENDMESSAGE;
}

std::shared_ptr<CSentMessage> CMessageQueue::TakeSent()
{
    if (m_incoming.empty())
        return nullptr;
    std::shared_ptr<CSentMessage> pSent = std::move(m_incoming.front());
    m_incoming.pop_front();
    m_nSent.store(m_incoming.size(), std::memory_order_release);
    return pSent;
}

CTimer* CMessageQueue::DueTimer(const CMessageFilter& filter, ULONGLONG nNow)
{
    CTimer* pBest = nullptr;
    for (CTimer& timer : m_timers) {
        if (timer.nDue <= nNow && filter.Matches(timer.hWnd, timer.uMsg) && (!pBest || timer.nDue < pBest->nDue))
            pBest = &timer;
    }
    return pBest;
}

bool CMessageQueue::Retrieve(MSG* pMsg, const CMessageFilter& filter, UINT wRemoveMsg)
{
    bool bRemove = (wRemoveMsg & PM_REMOVE) != 0;
    PostDueHoverLocked(m_dwThreadId);
    m_nChangedBits = 0;
    AddressFocusKeys();
    auto it = std::find_if(m_posted.begin(), m_posted.end(),
        [&filter](const CPostedMessage& posted) { return filter.Matches(posted.msg.hwnd, posted.msg.message); });
    if (it != m_posted.end()) {
        *pMsg = it->msg;
        if (bRemove) {
            std::optional<std::string> text = std::move(it->text);
            m_posted.erase(it);
            NoteInputRetrievedLocked(*pMsg, text);
        }
    } else if (m_bQuit) {
        *pMsg = MSG { nullptr, WM_QUIT, static_cast<WPARAM>(m_nExitCode), 0, static_cast<DWORD>(ClockTicks()), {} };
        if (bRemove)
            m_bQuit = false;
    } else if (HWND hPaint = WindowToPaintLocked(m_dwThreadId, filter)) {
        // WM_PAINT stays due until the window's update region is validated.
        *pMsg = MSG { hPaint, WM_PAINT, 0, 0, static_cast<DWORD>(ClockTicks()), CursorPosLocked() };
    } else {
        ULONGLONG nNow = ClockTicks();
        CTimer* pTimer = DueTimer(filter, nNow);
        if (!pTimer)
            return false;
        *pMsg = MSG { pTimer->hWnd, pTimer->uMsg, pTimer->nId, reinterpret_cast<LPARAM>(pTimer->pfnTimerProc),
            static_cast<DWORD>(nNow), CursorPosLocked() };
        if (bRemove) {
            pTimer->nDue = nNow + pTimer->nElapse;
            pTimer->bNoted = false;
        }
    }
    m_dwLastTime = pMsg->time;
    m_dwLastPos = static_cast<DWORD>(MAKELONG(static_cast<WORD>(pMsg->pt.x), static_cast<WORD>(pMsg->pt.y)));
    return true;
}

bool CMessageQueue::HasMatch(const CMessageFilter& filter)
{
    if (m_bQuit)
        return true;
    AddressFocusKeys();
    auto matches
        = [&filter](const CPostedMessage& posted) { return filter.Matches(posted.msg.hwnd, posted.msg.message); };
    return std::any_of(m_posted.begin(), m_posted.end(), matches) || WindowToPaintLocked(m_dwThreadId, filter)
        || DueTimer(filter, ClockTicks());
}

DWORD CMessageQueue::MillisecondsToNextTimer(const CMessageFilter& filter) const
{
    ULONGLONG nNow = ClockTicks();
    ULONGLONG nWait = INFINITE;
    for (const CTimer& timer : m_timers) {
        if (filter.Matches(timer.hWnd, timer.uMsg))
            nWait = std::min(nWait, timer.nDue > nNow ? timer.nDue - nNow : 0);
    }
    return static_cast<DWORD>(nWait);
}

UINT CMessageQueue::CurrentBits() const
{
    UINT nBits = m_incoming.empty() ? 0 : QS_SENDMESSAGE;
    for (const CPostedMessage& posted : m_posted)
        nBits |= KindOf(posted.msg.message);
    if (m_bQuit)
        nBits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (WindowToPaintLocked(m_dwThreadId, CMessageFilter {}))
        nBits |= QS_PAINT;
    ULONGLONG nNow = ClockTicks();
    if (std::any_of(m_timers.begin(), m_timers.end(), [nNow](const CTimer& timer) { return timer.nDue <= nNow; }))
        nBits |= QS_TIMER;
    return nBits;
}

UINT CMessageQueue::ChangedBits()
{
    ULONGLONG nNow = ClockTicks();
    for (CTimer& timer : m_timers) {
        if (timer.nDue <= nNow && !timer.bNoted) {
            timer.bNoted = true;
            m_nChangedBits |= QS_TIMER;
        }
    }
    return m_nChangedBits;
}

void CMessageQueue::ForgetWindow(HWND hWnd, std::vector<std::shared_ptr<CSentMessage>>& givenUp)
{
    std::erase_if(
        m_posted, [hWnd](const CPostedMessage& posted) { return posted.msg.hwnd == hWnd && !posted.bFollowsFocus; });
    std::erase_if(m_timers, [hWnd](const CTimer& timer) { return timer.hWnd == hWnd; });
    std::erase_if(m_incoming, [&](const std::shared_ptr<CSentMessage>& pSent) {
        if (pSent->hWnd != hWnd)
            return false;
        givenUp.push_back(pSent);
        return true;
    });
    m_nSent.store(m_incoming.size(), std::memory_order_release);
}

void CMessageQueue::End(std::vector<std::shared_ptr<CSentMessage>>& givenUp)
{
    m_bEnded = true;
    givenUp.insert(givenUp.end(), m_incoming.begin(), m_incoming.end());
    m_incoming.clear();
    m_nSent.store(0, std::memory_order_release);
    m_posted.clear();
    m_timers.clear();
}

void CMessageQueue::WakeForSent()
{
    m_pWaker->Wake();
    m_replyEvent.Set();
}

const std::shared_ptr<CMessageQueue>& CurrentQueue()
{
    if (!t_queueOwner.pQueue) {
        auto pQueue = std::make_shared<CMessageQueue>(GetCurrentThreadId());
        pQueue->m_pWaker = GetCurrentThreadWaker();
        auto lock = LockWindows();
        QueuesByThread()[pQueue->m_dwThreadId] = pQueue;
        t_queueOwner.pQueue = std::move(pQueue);
    }
    return t_queueOwner.pQueue;
}

std::shared_ptr<CMessageQueue> QueueOfThreadLocked(DWORD dwThreadId)
{
    auto it = QueuesByThread().find(dwThreadId);
    return it == QueuesByThread().end() ? nullptr : it->second;
}

/***** Posting *****/

namespace {

// Posts to a queue and wakes its owner. Fails when the queue has ended.
bool PostTo(const std::shared_ptr<CMessageQueue>& pQueue, const MSG& msg, std::unique_lock<std::mutex>& lock)
{
    if (!pQueue || pQueue->m_bEnded)
        return false;
    MSG msgAt = msg;
    msgAt.pt = CursorPosLocked();
    pQueue->Post(msgAt);
    std::shared_ptr<CThreadWaker> pWaker = pQueue->m_pWaker;
    bool bOtherThread = pQueue->m_dwThreadId != GetCurrentThreadId();
    lock.unlock();
    if (bOtherThread)
        pWaker->Wake();
    return true;
}

}

BOOL PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!hWnd)
        return PostThreadMessage(GetCurrentThreadId(), uMsg, wParam, lParam);
    MSG msg { hWnd, uMsg, wParam, lParam, static_cast<DWORD>(ClockTicks()), {} };
    if (hWnd == HWND_BROADCAST) {
        std::vector<std::pair<HWND, std::shared_ptr<CMessageQueue>>> targets;
        {
            auto lock = LockWindows();
            for (CWindow* pTop : DesktopLocked().children)
                targets.emplace_back(pTop->hWnd, pTop->pQueue);
        }
        for (auto& [hTarget, pQueue] : targets) {
            auto lock = LockWindows();
            msg.hwnd = hTarget;
            PostTo(pQueue, msg, lock);
        }
        return TRUE;
    }
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    if (!pWindow || !pWindow->pQueue) {
        SetLastError(pWindow ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!PostTo(pWindow->pQueue, msg, lock)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL PostThreadMessage(DWORD idThread, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (idThread == GetCurrentThreadId())
        CurrentQueue();
    MSG msg { nullptr, uMsg, wParam, lParam, static_cast<DWORD>(ClockTicks()), {} };
    auto lock = LockWindows();
    if (!PostTo(QueueOfThreadLocked(idThread), msg, lock)) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return TRUE;
}

void PostQuitMessage(int nExitCode)
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    pQueue->m_bQuit = true;
    pQueue->m_nExitCode = nExitCode;
}

/***** Retrieving *****/

BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    CMessageFilter filter;
    if (!lpMsg || !MakeFilter(hWnd, wMsgFilterMin, wMsgFilterMax, filter)) {
        if (!lpMsg)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    for (;;) {
        ServeSentMessages(*pQueue);
        DispatchDisplayEvents();
        DispatchWaitDescriptors();
        bool bRetrieved = false;
        {
            auto lock = LockWindows();
            bRetrieved = pQueue->Retrieve(lpMsg, filter, wRemoveMsg);
        }
        if (!bRetrieved) {
            FlushDisplay(); // an empty queue is where the program rests: show what it drew
            return FALSE;
        }
        if (!InputHooksDropMessage(*lpMsg, wRemoveMsg))
            break;
    }
    RunGetMessageHooks(lpMsg, wRemoveMsg);
    return TRUE;
}

BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    CMessageFilter filter;
    if (!lpMsg || !MakeFilter(hWnd, wMsgFilterMin, wMsgFilterMax, filter)) {
        if (!lpMsg)
            SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    for (;;) {
        ServeSentMessages(*pQueue);
        DispatchDisplayEvents();
        DispatchWaitDescriptors();
        DWORD dwTimeout = INFINITE;
        bool bRetrieved = false;
        {
            auto lock = LockWindows();
            bRetrieved = pQueue->Retrieve(lpMsg, filter, PM_REMOVE);
            dwTimeout
                = std::min(pQueue->MillisecondsToNextTimer(filter), MillisecondsToHoverLocked(pQueue->m_dwThreadId));
        }
        if (bRetrieved) {
            if (InputHooksDropMessage(*lpMsg, PM_REMOVE))
                continue;
            RunGetMessageHooks(lpMsg, PM_REMOVE);
            return lpMsg->message != WM_QUIT;
        }
        RunThreadWaitHook();
        FlushDisplay();
        CRetrievalWait wait(*pQueue, filter);
        WaitForObjectsOrSource(0, nullptr, FALSE, dwTimeout, &wait);
    }
}

BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg)
        return FALSE;
    UINT uMsg = lpMsg->message;
    if (uMsg != WM_KEYDOWN && uMsg != WM_KEYUP && uMsg != WM_SYSKEYDOWN && uMsg != WM_SYSKEYUP)
        return FALSE;
    if (uMsg == WM_KEYUP || uMsg == WM_SYSKEYUP)
        return TRUE;
    if (uMsg == WM_KEYDOWN && lpMsg->wParam == VK_F1 && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        // F1 asks for help: the window it went to hears WM_KEYF1 next.
        const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
        auto lock = LockWindows();
        MSG msgHelp = *lpMsg;
        msgHelp.message = WM_KEYF1;
        msgHelp.wParam = 0;
        msgHelp.lParam = 0;
        pQueue->Post(msgHelp, true);
        return TRUE;
    }
    // A key from the display gives the characters its input method made of
    // it (none for a dead key); others the character of the virtual key.
    std::u32string characters;
    std::optional<CKeyText>& keyText = InputStateLocked().retrievedKeyText;
    bool bDisplayText = false;
    {
        auto lock = LockWindows();
        if (keyText && keyText->hWnd == lpMsg->hwnd && keyText->uMsg == uMsg && keyText->wParam == lpMsg->wParam
            && keyText->lParam == lpMsg->lParam) {
            characters = Utf32FromUtf8(keyText->strText);
            bDisplayText = true;
            keyText.reset();
        }
    }
    if (!bDisplayText) {
        if (WPARAM ch = CharacterOfKey(lpMsg->wParam))
            characters.push_back(static_cast<char32_t>(ch));
    }
    if (characters.empty())
        return TRUE;
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    // Posted at the front, in order, so that they come before any later input.
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) {
        MSG msgChar = *lpMsg;
        msgChar.message = uMsg == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        msgChar.wParam = *it;
        pQueue->Post(msgChar, true);
    }
    return TRUE;
}

LRESULT DispatchMessage(const MSG* lpMsg)
{
    if (!lpMsg)
        return 0;
    if ((lpMsg->message == WM_TIMER || lpMsg->message == WM_SYSTIMER) && lpMsg->lParam) {
        // Only a live timer's own procedure is called, never an address from a forged message.
        const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
        TIMERPROC pfnTimerProc = nullptr;
        {
            auto lock = LockWindows();
            for (const CTimer& timer : pQueue->m_timers) {
                if (timer.hWnd == lpMsg->hwnd && timer.uMsg == lpMsg->message && timer.nId == lpMsg->wParam
                    && reinterpret_cast<LPARAM>(timer.pfnTimerProc) == lpMsg->lParam)
                    pfnTimerProc = timer.pfnTimerProc;
            }
        }
        if (pfnTimerProc)
            pfnTimerProc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, static_cast<DWORD>(ClockTicks()));
        return 0;
    }
    if (!lpMsg->hwnd)
        return 0;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(lpMsg->hwnd);
        if (!pWindow) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (pWindow->dwThreadId != GetCurrentThreadId()) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return 0;
        }
    }
    return CallWindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LONG GetMessageTime()
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    return static_cast<LONG>(pQueue->m_dwLastTime);
}

DWORD GetMessagePos()
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    return pQueue->m_dwLastPos;
}

/***** Waiting and status *****/

BOOL WaitMessage()
{
    return MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, 0) != WAIT_FAILED;
}

DWORD MsgWaitForMultipleObjectsEx(
    DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask, DWORD dwFlags)
{
    using Clock = std::chrono::steady_clock;
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    Clock::time_point deadline = dwMilliseconds == INFINITE ? Clock::time_point::max()
                                                            : Clock::now() + std::chrono::milliseconds(dwMilliseconds);
    bool bAnyInput = (dwFlags & MWMO_INPUTAVAILABLE) != 0;
    RunThreadWaitHook();
    FlushDisplay();
    CInputWait wait(*pQueue, dwWakeMask, bAnyInput);
    const CMessageFilter anyMessage;
    for (;;) {
        DWORD dwSlice = INFINITE;
        {
            auto lock = LockWindows();
            if (dwWakeMask & QS_TIMER)
                dwSlice = pQueue->MillisecondsToNextTimer(anyMessage);
        }
        if (deadline != Clock::time_point::max()) {
            auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            dwSlice = std::min<DWORD>(dwSlice, static_cast<DWORD>(std::max<decltype(remaining)>(remaining, 0)));
        }
        DWORD dwResult
            = WaitForObjectsOrSource(nCount, pHandles, (dwFlags & MWMO_WAITALL) ? TRUE : FALSE, dwSlice, &wait);
        if (dwResult == WAIT_TIMEOUT) {
            if (Clock::now() >= deadline)
                return WAIT_TIMEOUT;
            continue;
        }
        if (dwResult != WAIT_OBJECT_0 + nCount)
            return dwResult;
        bool bServed = ServeSentMessages(*pQueue) > 0;
        DispatchDisplayEvents();
        DispatchWaitDescriptors();
        auto lock = LockWindows();
        pQueue->ClearChangedBits(QS_SENDMESSAGE);
        UINT nReady = (pQueue->ChangedBits() | (bAnyInput ? pQueue->CurrentBits() : 0)) & dwWakeMask & ~QS_SENDMESSAGE;
        if (nReady || (bServed && (dwWakeMask & QS_SENDMESSAGE))) {
            pQueue->ClearChangedBits(nReady); // reported once, so a caller that leaves it does not spin
            return WAIT_OBJECT_0 + nCount;
        }
        // Only sent messages were waiting, and they have been served: wait on.
    }
}

DWORD MsgWaitForMultipleObjects(
    DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds, DWORD dwWakeMask)
{
    return MsgWaitForMultipleObjectsEx(nCount, pHandles, dwMilliseconds, dwWakeMask, fWaitAll ? MWMO_WAITALL : 0);
}

namespace {

// Lets the waits of the layers below (the lock classes) end on message input.
[[maybe_unused]] const bool g_bMessageWaitInstalled = (SetMessageWaitProc(&MsgWaitForMultipleObjects), true);

}

DWORD GetQueueStatus(UINT flags)
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    UINT nChanged = pQueue->ChangedBits() & flags;
    pQueue->ClearChangedBits(nChanged);
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pQueue->CurrentBits() & flags), static_cast<WORD>(nChanged)));
}

BOOL GetInputState()
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    auto lock = LockWindows();
    return (pQueue->CurrentBits() & QS_INPUT) != 0;
}

/***** For test drivers *****/

int PumpUntilIdle()
{
    int nDispatched = 0;
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        ++nDispatched;
    }
    return nDispatched;
}

THREADWAITHOOK SetThreadWaitHook(THREADWAITHOOK pfnHook)
{
    return std::exchange(t_pfnWaitHook, pfnHook);
}

CModalLoopFilter SetModalLoopFilter(CModalLoopFilter filter)
{
    return std::exchange(t_modalLoopFilter, filter);
}

BOOL CallModalLoopFilter(MSG* pMsg)
{
    return t_modalLoopFilter.pfnFilter && t_modalLoopFilter.pfnFilter(t_modalLoopFilter.pContext, pMsg);
}
