// Messages per second through the window layer: SendMessage on the same
// thread and to another thread's window, and PostMessage with DispatchMessage;
// and the time to paint a dialog of 20 standard controls. A plain
// condition-variable ping-pong between two threads is the yardstick for the
// cross-thread send: the same two wakes, with nothing of the window layer.

#include "bench/TwentyControlDialog.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

LRESULT CALLBACK CountingWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_USER)
        return static_cast<LRESULT>(wParam + 1);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

HWND CreateBenchWindow()
{
    static const bool bRegistered = [] {
        WNDCLASS wc {};
        wc.lpfnWndProc = CountingWndProc;
        wc.lpszClassName = "BenchWindow";
        return RegisterClass(&wc) != 0;
    }();
    if (!bRegistered)
        return nullptr;
    return CreateWindow("BenchWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void BM_SendMessageSameThread(benchmark::State& state)
{
    HWND hWnd = CreateBenchWindow();
    WPARAM n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(n = static_cast<WPARAM>(SendMessage(hWnd, WM_USER, n, 0)));
    state.SetItemsProcessed(state.iterations());
    DestroyWindow(hWnd);
}
BENCHMARK(BM_SendMessageSameThread);

void BM_SendMessageCrossThread(benchmark::State& state)
{
    std::atomic<HWND> hWnd { nullptr };
    std::atomic<bool> bStop { false };
    std::thread owner([&] {
        hWnd = CreateBenchWindow();
        while (!bStop) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            PumpUntilIdle();
        }
        DestroyWindow(hWnd);
    });
    while (!hWnd)
        std::this_thread::yield();
    WPARAM n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(n = static_cast<WPARAM>(SendMessage(hWnd, WM_USER, n, 0)));
    state.SetItemsProcessed(state.iterations());
    bStop = true;
    owner.join();
}
BENCHMARK(BM_SendMessageCrossThread)->UseRealTime();

// One round trip: the caller hands a number over and sleeps until the other
// thread has answered it, as a cross-thread send does. Each side notifies
// after unlocking, so the woken thread does not wake into a held mutex.
void BM_ConditionVariablePingPong(benchmark::State& state)
{
    std::mutex mutex;
    std::condition_variable requested;
    std::condition_variable answered;
    bool bRequest = false;
    bool bStop = false;
    WPARAM n = 0;
    std::thread other([&] {
        std::unique_lock lock(mutex);
        for (;;) {
            requested.wait(lock, [&] { return bRequest || bStop; });
            if (bStop)
                return;
            ++n;
            bRequest = false;
            lock.unlock();
            answered.notify_one();
            lock.lock();
        }
    });
    for (auto _ : state) {
        std::unique_lock lock(mutex);
        bRequest = true;
        lock.unlock();
        requested.notify_one();
        lock.lock();
        answered.wait(lock, [&] { return !bRequest; });
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations());
    {
        std::lock_guard lock(mutex);
        bStop = true;
    }
    requested.notify_one();
    other.join();
}
BENCHMARK(BM_ConditionVariablePingPong)->UseRealTime();

void BM_PostAndDispatch(benchmark::State& state)
{
    HWND hWnd = CreateBenchWindow();
    MSG msg {};
    for (auto _ : state) {
        PostMessage(hWnd, WM_USER, 1, 0);
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        benchmark::DoNotOptimize(DispatchMessage(&msg));
    }
    state.SetItemsProcessed(state.iterations());
    DestroyWindow(hWnd);
}
BENCHMARK(BM_PostAndDispatch);

// One full repaint of the dialog, frame and every control included, drawn at once.
void BM_PaintDialogOfTwentyControls(benchmark::State& state)
{
    HWND hDlg = MakeTwentyControlDialog();
    if (!hDlg) {
        state.SkipWithError("the dialog could not be made");
        return;
    }
    PumpUntilIdle();
    for (auto _ : state)
        RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DestroyWindow(hDlg);
}
BENCHMARK(BM_PaintDialogOfTwentyControls)->Unit(benchmark::kMicrosecond);

}
