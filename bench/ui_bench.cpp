// Messages per second through the window layer: SendMessage on the same
// thread and to another thread's window, and PostMessage with DispatchMessage.

#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <benchmark/benchmark.h>

#include <atomic>
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

}
