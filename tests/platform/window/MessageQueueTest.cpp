#include "platform/window/MessageQueue.h"

#include "platform/base/Clock.h"
#include "platform/base/SyncClasses.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "tests/platform/base/ThreadTestSupport.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <array>
#include <atomic>
#include <chrono>
#include <latch>
#include <map>

namespace {

using Messages = std::vector<std::pair<HWND, UINT>>;

constexpr UINT WM_POSTED = WM_USER + 1;
constexpr UINT WM_SENT = WM_USER + 2;

// Waits (bounded) until a message sent by another thread waits in the calling
// thread's queue, without serving it.
void WaitForIncomingSend()
{
    auto start = std::chrono::steady_clock::now();
    while (!(GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE)) {
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(TEST_WAIT_LIMIT));
        Sleep(1);
    }
}

class MessageQueueTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
        ASSERT_NE(m_hWnd, nullptr);
        MessageLog::Instance().Take();
    }

    HWND m_hWnd { nullptr };
};

}

/***** Order *****/

TEST_F(MessageQueueTest, WithinAThreadSendRunsAtOncePostedWaitsInOrder)
{
    PostMessage(m_hWnd, WM_POSTED, 1, 0);
    PostMessage(m_hWnd, WM_POSTED, 2, 0);
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 99;
        return uMsg == WM_SENT;
    };
    EXPECT_EQ(SendMessage(m_hWnd, WM_SENT, 0, 0), 99);
    EXPECT_EQ(PumpUntilIdle(), 2);
    auto log = MessageLog::Instance().Take();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].uMsg, WM_SENT);
    EXPECT_EQ(log[1].wParam, 1u);
    EXPECT_EQ(log[2].wParam, 2u);
}

TEST_F(MessageQueueTest, AMessageSentFromAnotherThreadOvertakesPostedOnes)
{
    LRESULT lResult = 0;
    HWND hWnd = m_hWnd;
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 5;
        return uMsg == WM_SENT;
    };
    HANDLE hThread = StartTestThread([&] {
        PostMessage(hWnd, WM_POSTED, 0, 0);
        lResult = SendMessage(hWnd, WM_SENT, 0, 0);
        return 0;
    });
    WaitForIncomingSend();
    PumpUntilIdle();
    JoinTestThread(hThread);
    EXPECT_EQ(lResult, 5);
    EXPECT_EQ(MessageLog::Instance().TakeMessages(), (Messages { { hWnd, WM_SENT }, { hWnd, WM_POSTED } }));
}

TEST_F(MessageQueueTest, QuitComesAfterThePostedMessagesWithItsExitCode)
{
    PostQuitMessage(3);
    PostMessage(m_hWnd, WM_POSTED, 0, 0);
    MSG msg {};
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_POSTED);
    ASSERT_EQ(GetMessage(&msg, m_hWnd, WM_USER, WM_USER), FALSE); // taken whatever the filters
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, BroadcastPostsToEveryTopLevelWindow)
{
    HWND hOther = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hChild = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, hOther, 1);
    ASSERT_TRUE(hChild);
    MessageLog::Instance().Take();
    EXPECT_TRUE(PostMessage(HWND_BROADCAST, WM_POSTED, 0, 0));
    PumpUntilIdle();
    auto received = MessageLog::Instance().TakeMessages({ WM_POSTED });
    std::sort(received.begin(), received.end());
    Messages expected { { m_hWnd, WM_POSTED }, { hOther, WM_POSTED } };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(received, expected);
}

/***** Filters *****/

TEST_F(MessageQueueTest, FiltersSelectByWindowChildrenThreadAndRange)
{
    HWND hChild = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, m_hWnd, 1);
    HWND hOther = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(hOther, WM_POSTED, 0, 0);
    PostMessage(hChild, WM_POSTED, 0, 0);
    PostThreadMessage(GetCurrentThreadId(), WM_APP, 0, 0);
    PostMessage(m_hWnd, WM_KEYDOWN, 'A', 0);

    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, m_hWnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, hChild); // a child's messages pass its parent's filter
    ASSERT_TRUE(PeekMessage(&msg, m_hWnd, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessage(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessage(&msg), 0); // thread messages have no procedure
    EXPECT_FALSE(PeekMessage(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hOther); // order of posting, the earlier peek left it
    EXPECT_EQ(GetMessage(&msg, reinterpret_cast<HWND>(0x2), 0, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(MessageQueueTest, TranslateMessagePostsTheCharacterToBeReadNext)
{
    PostMessage(m_hWnd, WM_POSTED, 0, 0);
    MSG keyDown { m_hWnd, WM_KEYDOWN, 'Q', 0x10001, 0, {} };
    EXPECT_TRUE(TranslateMessage(&keyDown));
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_CHAR);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('q'));
    EXPECT_EQ(msg.lParam, 0x10001);
    MSG other { m_hWnd, WM_POSTED, 0, 0, 0, {} };
    EXPECT_FALSE(TranslateMessage(&other));
    MSG f2 { m_hWnd, WM_KEYDOWN, 0x71, 0, 0, {} }; // a function key gives no character
    EXPECT_TRUE(TranslateMessage(&f2));
    // F1 asks for help instead.
    MSG f1 { m_hWnd, WM_KEYDOWN, 0x70, 0, 0, {} };
    EXPECT_TRUE(TranslateMessage(&f1));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYF1);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_POSTED);
}

TEST_F(MessageQueueTest, MessagesCarryTheTimeOfPosting)
{
    CManualClock clock(0, 5000);
    CClockOverride useClock(clock);
    PostMessage(m_hWnd, WM_POSTED, 0, 0);
    clock.Advance(300);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.time, 5000u);
    EXPECT_EQ(GetMessageTime(), 5000);
}

/***** Across threads *****/

TEST_F(MessageQueueTest, WorkerSendsAreServedWhileTheOwnerPumpsWithPeekMessage)
{
    constexpr int SENDS = 200;
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT* plResult) {
        *plResult = static_cast<LRESULT>(wParam * 2);
        return uMsg == WM_SENT;
    };
    std::atomic<bool> bRunning { true };
    std::atomic<int> nWrong { 0 };
    HWND hWnd = m_hWnd;
    HANDLE hThread = StartTestThread([&] {
        for (int i = 0; i < SENDS; ++i) {
            if (SendMessage(hWnd, WM_SENT, static_cast<WPARAM>(i), 0) != static_cast<LRESULT>(i) * 2)
                ++nWrong;
        }
        bRunning = false;
        return 0;
    });
    auto start = std::chrono::steady_clock::now();
    MSG msg {};
    while (bRunning && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(TEST_WAIT_LIMIT)) {
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
    }
    JoinTestThread(hThread);
    EXPECT_EQ(nWrong, 0);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_SENT }).size(), static_cast<size_t>(SENDS));
}

TEST_F(MessageQueueTest, ASenderIsReleasedWithZeroWhenTheTargetThreadEnds)
{
    HWND hWorkerWnd = nullptr;
    HANDLE hReady = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hThread = StartTestThread([&] {
        hWorkerWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
        SetEvent(hReady);
        WaitForIncomingSend(); // then end without serving it
        return 0;
    });
    ASSERT_EQ(WaitForSingleObject(hReady, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    MessageLog::Instance().handler = [](HWND, UINT, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 1;
        return true;
    };
    EXPECT_EQ(SendMessage(hWorkerWnd, WM_SENT, 0, 0), 0);
    JoinTestThread(hThread);
    EXPECT_FALSE(IsWindow(hWorkerWnd));
    EXPECT_EQ(SendMessage(hWorkerWnd, WM_SENT, 0, 0), 0);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_SENT }).empty());
    CloseHandle(hReady);
}

TEST_F(MessageQueueTest, ASenderIsReleasedWhenTheHandlerEndsItsThread)
{
    HWND hWorkerWnd = nullptr;
    HANDLE hReady = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_SENT)
            ExitThread(4);
        return false;
    };
    HANDLE hThread = StartTestThread([&] {
        hWorkerWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
        SetEvent(hReady);
        MSG msg {};
        while (GetMessage(&msg, nullptr, 0, 0) > 0)
            DispatchMessage(&msg);
        return 0;
    });
    ASSERT_EQ(WaitForSingleObject(hReady, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_EQ(SendMessage(hWorkerWnd, WM_SENT, 0, 0), 0);
    EXPECT_EQ(JoinTestThread(hThread), 4u);
    EXPECT_FALSE(IsWindow(hWorkerWnd));
    CloseHandle(hReady);
}

TEST_F(MessageQueueTest, ASenderIsReleasedWithZeroWhenTheTargetIsDestroyed)
{
    LRESULT lResult = -1;
    HWND hWnd = m_hWnd;
    HANDLE hThread = StartTestThread([&] {
        lResult = SendMessage(hWnd, WM_SENT, 0, 0);
        return 0;
    });
    WaitForIncomingSend();
    DestroyWindow(m_hWnd); // without serving the waiting message
    JoinTestThread(hThread);
    EXPECT_EQ(lResult, 0);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_SENT }).empty());
}

TEST_F(MessageQueueTest, PostsFromManyThreadsAllArriveInEachThreadsOrder)
{
    constexpr int THREADS = 8;
    constexpr int POSTS = 2000;
    HWND hWnd = m_hWnd;
    std::vector<HANDLE> threads;
    threads.reserve(THREADS);
    for (int t = 0; t < THREADS; ++t) {
        threads.push_back(StartTestThread([hWnd, t] {
            for (int i = 0; i < POSTS; ++i)
                PostMessage(hWnd, WM_POSTED, static_cast<WPARAM>(t), i);
            return 0;
        }));
    }
    std::map<WPARAM, LPARAM> next;
    int nReceived = 0;
    int nOutOfOrder = 0;
    MSG msg {};
    while (nReceived < THREADS * POSTS && GetMessage(&msg, nullptr, 0, 0) > 0) {
        if (msg.lParam != next[msg.wParam])
            ++nOutOfOrder;
        next[msg.wParam] = msg.lParam + 1;
        ++nReceived;
    }
    for (HANDLE hThread : threads)
        JoinTestThread(hThread);
    EXPECT_EQ(nReceived, THREADS * POSTS);
    EXPECT_EQ(nOutOfOrder, 0);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageQueueTest, ThreadsSendingToEachOtherDoNotDeadlock)
{
    HWND hMain = m_hWnd;
    HWND hWorkerWnd = nullptr;
    HANDLE hReady = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> bDone { false };
    // The worker's window answers by asking the main thread's window, which is waiting in its own send.
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_SENT)
            return false;
        *plResult = hWnd == hMain ? static_cast<LRESULT>(wParam + 1) : SendMessage(hMain, WM_SENT, wParam * 10, 0);
        return true;
    };
    HANDLE hThread = StartTestThread([&] {
        hWorkerWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
        SetEvent(hReady);
        while (!bDone) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0)
                PumpUntilIdle();
        }
        return 0;
    });
    ASSERT_EQ(WaitForSingleObject(hReady, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_EQ(SendMessage(hWorkerWnd, WM_SENT, 4, 0), 41);
    bDone = true;
    JoinTestThread(hThread);
    CloseHandle(hReady);
}

// Threads send to each other's windows, nested and with early replies and
// timeouts, while each destroys and re-creates its window and one thread ends
// halfway: every send must come back, with its answer or with 0.
TEST_F(MessageQueueTest, SendsBothWaysEndWhileWindowsAndThreadsGoAway)
{
    constexpr int THREADS = 4;
    constexpr int SENDS = 400;
    std::array<std::atomic<HWND>, THREADS> windows {};
    std::atomic<int> nWrong { 0 };
    std::atomic<int> nAnswered { 0 };
    auto check = [&](LRESULT lResult, WPARAM wParam) {
        if (lResult != 0 && lResult != static_cast<LRESULT>(wParam + 1))
            ++nWrong;
    };
    // A message is answered wParam + 1, some early; with depth left in lParam it first goes on to another window.
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) {
        if (uMsg != WM_SENT)
            return false;
        if (wParam % 5 == 0)
            ReplyMessage(static_cast<LRESULT>(wParam + 1));
        if (lParam > 0)
            check(SendMessage(windows[(wParam + 1) % THREADS], WM_SENT, wParam, lParam - 1), wParam);
        *plResult = static_cast<LRESULT>(wParam + 1);
        return true;
    };
    std::latch allHaveWindows(THREADS);
    std::vector<HANDLE> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.push_back(StartTestThread([&, t] {
            windows[t] = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
            allHaveWindows.arrive_and_wait();
            int nSends = t == 0 ? SENDS / 2 : SENDS; // the first thread ends while the others still send to it
            for (int i = 0; i < nSends; ++i) {
                if (i % 50 == 49)
                    DestroyWindow(windows[t].exchange(CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10)));
                HWND hPeer = windows[(t + 1 + i % (THREADS - 1)) % THREADS];
                auto wParam = static_cast<WPARAM>(t * SENDS + i);
                LRESULT lResult = 0;
                DWORD_PTR nResult = 0;
                if (i % 7 == 0)
                    lResult = SendMessageTimeout(hPeer, WM_SENT, wParam, 1, SMTO_NORMAL, 1, &nResult) ? nResult : 0;
                else
                    lResult = SendMessage(hPeer, WM_SENT, wParam, i % 3);
                check(lResult, wParam);
                nAnswered += lResult != 0;
            }
            return 0;
        }));
    }
    for (HANDLE hThread : threads)
        JoinTestThread(hThread);
    EXPECT_EQ(nWrong, 0);
    EXPECT_GT(nAnswered, 0);
}

TEST_F(MessageQueueTest, SendMessageTimeoutGivesUpAndALateResultIsDropped)
{
    HWND hWnd = m_hWnd;
    LRESULT lOk = 1;
    DWORD dwError = 0;
    DWORD_PTR nResult = 123;
    HANDLE hThread = StartTestThread([&] {
        lOk = SendMessageTimeout(hWnd, WM_SENT, 0, 0, SMTO_NORMAL, 30, &nResult);
        dwError = GetLastError();
        return 0;
    });
    JoinTestThread(hThread); // nobody serves the message meanwhile
    EXPECT_EQ(lOk, 0);
    EXPECT_EQ(dwError, ERROR_TIMEOUT);
    EXPECT_EQ(nResult, 123u);
    PumpUntilIdle(); // the message still runs; its result goes nowhere
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_SENT }).size(), 1u);

    DWORD_PTR nSameThread = 0;
    MessageLog::Instance().handler = [](HWND, UINT, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 8;
        return true;
    };
    EXPECT_TRUE(SendMessageTimeout(hWnd, WM_SENT, 0, 0, SMTO_BLOCK, 0, &nSameThread));
    EXPECT_EQ(nSameThread, 8u);
}

TEST_F(MessageQueueTest, ReplyMessageReleasesTheSenderBeforeTheHandlerReturns)
{
    HWND hWnd = m_hWnd;
    HANDLE hReplied = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    BOOL bInSendFromOther = FALSE;
    BOOL bInSendSameThread = TRUE;
    DWORD dwWaitInHandler = 0;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_SENT)
            return false;
        if (wParam == 0) {
            bInSendSameThread = InSendMessage();
            return true;
        }
        bInSendFromOther = InSendMessage();
        EXPECT_TRUE(ReplyMessage(7));
        EXPECT_FALSE(ReplyMessage(8));                                    // answered already
        dwWaitInHandler = WaitForSingleObject(hReplied, TEST_WAIT_LIMIT); // the sender goes on meanwhile
        *plResult = 9;
        return true;
    };
    LRESULT lResult = 0;
    HANDLE hThread = StartTestThread([&] {
        lResult = SendMessage(hWnd, WM_SENT, 1, 0);
        SetEvent(hReplied);
        return 0;
    });
    WaitForIncomingSend();
    PumpUntilIdle();
    JoinTestThread(hThread);
    EXPECT_EQ(lResult, 7);
    EXPECT_EQ(dwWaitInHandler, WAIT_OBJECT_0);
    EXPECT_TRUE(bInSendFromOther);
    SendMessage(hWnd, WM_SENT, 0, 0);
    EXPECT_FALSE(bInSendSameThread);
    EXPECT_FALSE(InSendMessage());
    EXPECT_FALSE(ReplyMessage(1));
    CloseHandle(hReplied);
}

TEST_F(MessageQueueTest, SendNotifyMessageDoesNotWaitForAnotherThread)
{
    HWND hWnd = m_hWnd;
    BOOL bSent = FALSE;
    HANDLE hThread = StartTestThread([&] {
        bSent = SendNotifyMessage(hWnd, WM_SENT, 0, 0);
        return 0;
    });
    JoinTestThread(hThread); // returned without anyone serving it
    EXPECT_TRUE(bSent);
    PostMessage(hWnd, WM_POSTED, 0, 0);
    PumpUntilIdle();
    EXPECT_EQ(MessageLog::Instance().TakeMessages(), (Messages { { hWnd, WM_SENT }, { hWnd, WM_POSTED } }));
}

TEST_F(MessageQueueTest, ThreadMessagesNeedAQueue)
{
    DWORD dwNoQueue = 0;
    HANDLE hMayEnd = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE hThread = StartTestThread([&] { return WaitForSingleObject(hMayEnd, TEST_WAIT_LIMIT); }, 0, &dwNoQueue);
    EXPECT_FALSE(PostThreadMessage(dwNoQueue, WM_APP, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    SetEvent(hMayEnd);
    JoinTestThread(hThread);

    std::atomic<DWORD> dwReceived { 0 };
    HANDLE hHasQueue = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD dwWithQueue = 0;
    hThread = StartTestThread(
        [&] {
            MSG msg {};
            PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE); // makes the queue
            SetEvent(hHasQueue);
            if (GetMessage(&msg, nullptr, 0, 0) > 0)
                dwReceived = static_cast<DWORD>(msg.wParam);
            return 0;
        },
        0, &dwWithQueue);
    ASSERT_EQ(WaitForSingleObject(hHasQueue, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_TRUE(PostThreadMessage(dwWithQueue, WM_APP, 77, 0)); // also wakes the blocked GetMessage
    JoinTestThread(hThread);
    EXPECT_EQ(dwReceived, 77u);
    EXPECT_FALSE(PostThreadMessage(dwWithQueue, WM_APP, 0, 0)); // the thread and its queue are gone
    CloseHandle(hMayEnd);
    CloseHandle(hHasQueue);
}

/***** Waiting *****/

TEST_F(MessageQueueTest, MsgWaitReportsObjectsNewInputAndTimeouts)
{
    HANDLE hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &hEvent, FALSE, 10, QS_ALLINPUT), WAIT_TIMEOUT);
    SetEvent(hEvent);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &hEvent, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
    ResetEvent(hEvent);

    HWND hWnd = m_hWnd;
    HANDLE hThread = StartTestThread([hWnd] {
        Sleep(20);
        PostMessage(hWnd, WM_POSTED, 0, 0);
        return 0;
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &hEvent, FALSE, TEST_WAIT_LIMIT, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    JoinTestThread(hThread);

    // The message has been reported: it is no longer new, unless any input is asked for.
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &hEvent, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &hEvent, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &hEvent, 0, QS_KEY, MWMO_INPUTAVAILABLE), WAIT_TIMEOUT);
    EXPECT_EQ(LOWORD(GetQueueStatus(QS_ALLINPUT)), QS_POSTMESSAGE);
    EXPECT_EQ(PumpUntilIdle(), 1);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &hEvent, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    CloseHandle(hEvent);
}

TEST_F(MessageQueueTest, WaitMessageServesSentMessagesAndReturnsForPosted)
{
    HWND hWnd = m_hWnd;
    LRESULT lResult = 0;
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        *plResult = 3;
        return uMsg == WM_SENT;
    };
    HANDLE hThread = StartTestThread([&] {
        lResult = SendMessage(hWnd, WM_SENT, 0, 0);
        return 0;
    });
    EXPECT_TRUE(WaitMessage()); // the send arrives and is served inside the wait
    JoinTestThread(hThread);
    EXPECT_EQ(lResult, 3);
    EXPECT_EQ(MessageLog::Instance().TakeMessages(), (Messages { { hWnd, WM_SENT } }));
}

TEST_F(MessageQueueTest, MultiLockWaitsForMessageInputAsWell)
{
    CMutex mutex;
    CEvent event;
    CSyncObject* objects[] = { &mutex, &event };
    CMultiLock lock(objects, 2);

    // A message posted by another thread ends a wait for an event that never comes.
    HWND hWnd = m_hWnd;
    HANDLE hThread = StartTestThread([hWnd] {
        Sleep(20);
        PostMessage(hWnd, WM_POSTED, 0, 0);
        return 0;
    });
    EXPECT_EQ(lock.Lock(TEST_WAIT_LIMIT, TRUE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 2);
    JoinTestThread(hThread);
    EXPECT_FALSE(lock.IsLocked(0));
    EXPECT_FALSE(lock.IsLocked(1));

    // Objects that are ready come first, and are taken.
    event.SetEvent();
    PostMessage(m_hWnd, WM_POSTED, 0, 0);
    EXPECT_EQ(lock.Lock(0, TRUE, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_TRUE(lock.IsLocked(0));
    EXPECT_TRUE(lock.IsLocked(1));
    lock.Unlock();
    EXPECT_EQ(lock.Lock(0, TRUE, QS_KEY), WAIT_TIMEOUT) << "the event was taken";
}
