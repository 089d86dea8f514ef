#include "platform/framework/CWinThread.h"

#include "FrameworkTestSupport.h"

#include "platform/base/Wait.h"
#include "platform/framework/CWinApp.h"
#include "tests/support/WaitUntil.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace {

// A thread whose OnIdle follows a script and records the counts it was given.
class CScriptedThread : public CWinThread {
public:
    CScriptedThread() { m_bAutoDelete = FALSE; }

    BOOL OnIdle(LONG lCount) override
    {
        m_counts.push_back(lCount);
        return m_script(m_counts.size());
    }

    std::vector<LONG> m_counts;
    std::function<BOOL(size_t nCall)> m_script;
};

class CWinThreadTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        AfxSetThread(&m_thread);
        m_hWnd = CreatePlainWindow();
    }

    void Post(UINT message, LPARAM lParam = 0) { PostMessage(m_hWnd, message, 0, lParam); }

    CScriptedThread m_thread;
    HWND m_hWnd { nullptr };
};

} // namespace

TEST_F(CWinThreadTest, IdleCountGrowsUntilAMessageThatCountsArrives)
{
    m_thread.m_script = [this](size_t nCall) -> BOOL {
        switch (nCall) {
        case 2:
            Post(WM_USER); // restarts the count
            break;
        case 3:
            Post(WM_MOUSEMOVE, MAKELONG(5, 5)); // a move restarts it too
            break;
        case 4:
            Post(WM_MOUSEMOVE, MAKELONG(5, 5)); // the same place again does not
            break;
        case 5:
            Post(WM_SYSTIMER); // nor does the caret's blink
            break;
        case 6:
            Post(WM_PAINT); // nor painting
            break;
        case 7:
            Post(WM_USER);
            PostQuitMessage(7);
            return FALSE;
        default:
            break;
        }
        return TRUE;
    };
    EXPECT_EQ(m_thread.Run(), 7);
    EXPECT_EQ(m_thread.m_counts, (std::vector<LONG> { 0, 1, 0, 0, 1, 2, 3 }));
}

TEST_F(CWinThreadTest, IdleStopsWhenOnIdleSaysSoUntilTheNextMessage)
{
    std::thread poster;
    m_thread.m_script = [&](size_t nCall) -> BOOL {
        if (nCall == 1) {
            HWND hWnd = m_hWnd;
            poster = std::thread([hWnd] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                PostMessage(hWnd, WM_USER, 0, 0);
            });
        } else {
            PostQuitMessage(0);
        }
        return FALSE;
    };
    EXPECT_EQ(m_thread.Run(), 0);
    poster.join();
    // No idle call ran while the loop waited.
    EXPECT_EQ(m_thread.m_counts, (std::vector<LONG> { 0, 0 }));
}

namespace {

class CUpdatedWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    int m_nUpdates { 0 };

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        ++m_nUpdates;
        return 0;
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CUpdatedWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CUpdatedWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(CWinThreadTest, BaseIdleUpdatesTheMainWindowAndItsDescendantsFirst)
{
    CWinThread thread;
    thread.m_bAutoDelete = FALSE;
    CUpdatedWnd main;
    CUpdatedWnd child;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, Rect(0, 0, 5, 5), &main, 1));
    thread.m_pMainWnd = &main;

    // A hidden main window is not updated.
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_EQ(main.m_nUpdates, 0);

    main.ShowWindow(SW_SHOW);
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_EQ(main.m_nUpdates, 1);
    EXPECT_EQ(child.m_nUpdates, 1);
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_EQ(main.m_nUpdates, 1);
}

TEST_F(CWinThreadTest, PumpedMessagesGoThroughPreTranslateFirst)
{
    class CKeyEater : public CWnd {
    public:
        BOOL PreTranslateMessage(MSG* pMsg) override { return pMsg->message == WM_KEYDOWN; }
    };
    CKeyEater main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    m_thread.m_pMainWnd = &main;
    HWND hChild = CreatePlainWindow(main.m_hWnd, 1);

    PostMessage(hChild, WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(m_thread.PumpMessage());
    // Taken by the main window: not translated into WM_CHAR, not dispatched.
    MSG msg {};
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));

    PostMessage(hChild, WM_USER + 100, 0, 0);
    ASSERT_TRUE(m_thread.PumpMessage());
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "class proc" });
    m_thread.m_pMainWnd = nullptr;
}

TEST_F(CWinThreadTest, DestroyingTheMainWindowEndsTheLoop)
{
    m_thread.m_script = [](size_t) -> BOOL { return FALSE; };
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    m_thread.m_pMainWnd = &main;
    main.PostMessage(WM_CLOSE);
    EXPECT_EQ(m_thread.Run(), 0);
    EXPECT_EQ(main.m_hWnd, nullptr);
    EXPECT_EQ(m_thread.m_pMainWnd, nullptr);
}

/***** Other threads *****/

namespace {

struct WorkerState {
    CWinThread* pSeenThread { nullptr };
    DWORD nThreadID { 0 };
};

UINT WorkerProc(LPVOID pParam)
{
    auto* pState = static_cast<WorkerState*>(pParam);
    pState->pSeenThread = AfxGetThread();
    pState->nThreadID = GetCurrentThreadId();
    return 42;
}

std::atomic<int> g_nUiExitCode { -1 };
std::atomic<bool> g_bUiThreadDeleted { false };

// A user-interface thread whose main window closes itself at once.
class CUiThread : public CWinThread {
    DECLARE_DYNCREATE(CUiThread)

public:
    ~CUiThread() override { g_bUiThreadDeleted = true; }

    BOOL InitInstance() override
    {
        if (!m_wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &m_wnd;
        m_wnd.PostMessage(WM_CLOSE);
        return TRUE;
    }
    int ExitInstance() override
    {
        g_nUiExitCode = CWinThread::ExitInstance() + 5;
        return g_nUiExitCode;
    }

private:
    CWnd m_wnd;
};

IMPLEMENT_DYNCREATE(CUiThread, CWinThread)

} // namespace

TEST(CWinThreadWorkerTest, WorkerRunsItsFunctionOnItsOwnThread)
{
    WorkerState state;
    CWinThread* pThread = AfxBeginThread(WorkerProc, &state, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 42U);
    EXPECT_EQ(state.pSeenThread, pThread);
    EXPECT_EQ(state.nThreadID, pThread->m_nThreadID);
    EXPECT_NE(state.nThreadID, GetCurrentThreadId());
    delete pThread;
}

TEST(CWinThreadWorkerTest, BadThreadDescriptionsAreRefused)
{
    EXPECT_EQ(AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr), nullptr);
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);
    EXPECT_EQ(AfxBeginThread(static_cast<const CRuntimeClass*>(nullptr)), nullptr);
}

TEST(CWinThreadWorkerTest, UserInterfaceThreadRunsItsLoopAndDeletesItself)
{
    ASSERT_NE(AfxBeginThread(RUNTIME_CLASS(CUiThread)), nullptr);
    EXPECT_TRUE(WaitUntil([] { return g_bUiThreadDeleted.load(); }));
    EXPECT_EQ(g_nUiExitCode, 5);
}
