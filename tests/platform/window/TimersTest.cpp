#include "platform/window/Timers.h"

#include "platform/base/Clock.h"
#include "platform/window/Messages.h"
#include "tests/platform/base/ThreadTestSupport.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <chrono>

namespace {

std::vector<WPARAM> g_threadTimerFirings;

void CALLBACK RecordThreadTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    g_threadTimerFirings.push_back(idEvent);
}

// A window and a manual clock installed for the test.
class TimersTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
        MessageLog::Instance().Take();
        g_threadTimerFirings.clear();
    }

    // The timer ids delivered to the window by one pump, in order.
    std::vector<WPARAM> PumpTimers()
    {
        PumpUntilIdle();
        std::vector<WPARAM> ids;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == WM_TIMER)
                ids.push_back(message.wParam);
        }
        return ids;
    }

    CManualClock m_clock { 0, 1000 };
    CClockOverride m_useClock { m_clock };
    HWND m_hWnd { nullptr };
};

}

TEST_F(TimersTest, TimersFireInDueOrderOnlyWhenTheClockReachesThem)
{
    EXPECT_EQ(SetTimer(m_hWnd, 1, 300, nullptr), 1u);
    EXPECT_EQ(SetTimer(m_hWnd, 2, 100, nullptr), 2u);
    EXPECT_TRUE(PumpTimers().empty());
    m_clock.Advance(99);
    EXPECT_TRUE(PumpTimers().empty());
    m_clock.Advance(1);
    EXPECT_EQ(PumpTimers(), (std::vector<WPARAM> { 2 }));
    m_clock.Advance(200); // timer 2 due at 200, timer 1 at 300: now 300
    EXPECT_EQ(PumpTimers(), (std::vector<WPARAM> { 2, 1 }));
}

TEST_F(TimersTest, ATimerThatFellBehindFiresOnceNotOncePerPeriod)
{
    SetTimer(m_hWnd, 7, 50, nullptr);
    m_clock.Advance(1000);
    EXPECT_EQ(PumpTimers(), (std::vector<WPARAM> { 7 }));
    EXPECT_TRUE(PumpTimers().empty());
    m_clock.Advance(50); // the next period counts from the retrieval
    EXPECT_EQ(PumpTimers(), (std::vector<WPARAM> { 7 }));
}

TEST_F(TimersTest, TimersComeOnlyWhenNoPostedMessageWaits)
{
    SetTimer(m_hWnd, 1, 10, nullptr);
    m_clock.Advance(10);
    PostMessage(m_hWnd, WM_USER, 0, 0);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)); // a peek that leaves it leaves it due
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.hwnd, m_hWnd);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE)); // outside the range
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TimersTest, KillTimerStopsItAndResettingMovesTheDueTime)
{
    SetTimer(m_hWnd, 1, 100, nullptr);
    SetTimer(m_hWnd, 2, 100, nullptr);
    EXPECT_TRUE(KillTimer(m_hWnd, 1));
    EXPECT_FALSE(KillTimer(m_hWnd, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    m_clock.Advance(50);
    SetTimer(m_hWnd, 2, 100, nullptr); // again: due 100 from now
    m_clock.Advance(50);
    EXPECT_TRUE(PumpTimers().empty());
    m_clock.Advance(50);
    EXPECT_EQ(PumpTimers(), (std::vector<WPARAM> { 2 }));

    // Destroying the window ends its timers.
    DestroyWindow(m_hWnd);
    m_clock.Advance(1000);
    MSG msg {};
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TimersTest, ThreadTimersCallTheirProcedureThroughDispatchMessage)
{
    UINT_PTR nId = SetTimer(nullptr, 0, 20, RecordThreadTimer);
    ASSERT_NE(nId, 0u);
    UINT_PTR nOther = SetTimer(nullptr, 0, 20, RecordThreadTimer);
    EXPECT_NE(nOther, nId);
    EXPECT_EQ(SetTimer(nullptr, nId, 40, RecordThreadTimer), nId); // an existing id is reset, not made anew
    KillTimer(nullptr, nOther);
    m_clock.Advance(40);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.hwnd, nullptr);
    DispatchMessage(&msg);
    EXPECT_EQ(g_threadTimerFirings, (std::vector<WPARAM> { nId }));

    // A forged WM_TIMER with a procedure address that is no live timer's is not called.
    MSG forged { nullptr, WM_TIMER, 999, reinterpret_cast<LPARAM>(RecordThreadTimer), 0, {} };
    DispatchMessage(&forged);
    EXPECT_EQ(g_threadTimerFirings.size(), 1u);
}

TEST_F(TimersTest, WindowTimerWithAProcedureCallsItInsteadOfTheWindow)
{
    SetTimer(m_hWnd, 5, 10, RecordThreadTimer);
    m_clock.Advance(10);
    EXPECT_TRUE(PumpTimers().empty());
    EXPECT_EQ(g_threadTimerFirings, (std::vector<WPARAM> { 5 }));
}

TEST_F(TimersTest, TimersOfAnotherThreadsWindowAreRefused)
{
    UINT_PTR nResult = 1;
    HANDLE hThread = StartTestThread([&] {
        nResult = SetTimer(m_hWnd, 1, 10, nullptr);
        return 0;
    });
    JoinTestThread(hThread);
    EXPECT_EQ(nResult, 0u);
}

TEST(TimersRealClockTest, ABlockedGetMessageWakesWhenATimerFallsDue)
{
    RegisterRecordingClass();
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    auto start = std::chrono::steady_clock::now();
    SetTimer(hWnd, 3, 30, nullptr);
    MSG msg {};
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_GE(elapsed, std::chrono::milliseconds(29));
    EXPECT_LT(elapsed, std::chrono::milliseconds(TEST_WAIT_LIMIT));

    // MsgWaitForMultipleObjects wakes for it too.
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, TEST_WAIT_LIMIT, QS_TIMER), WAIT_OBJECT_0);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
}
