// Messages per second through the window layer: SendMessage on the same
// thread and to another thread's window, and PostMessage with DispatchMessage;
// and the time to paint a dialog of 20 standard controls. A plain
// condition-variable ping-pong between two threads is the yardstick for the
// cross-thread send: the same two wakes, with nothing of the window layer.

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/StaticControl.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cassert>
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

INT_PTR CALLBACK BenchDlgProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

// A form of 20 controls: five labels with edits, a group of three radio
// buttons with its box, two check boxes, a list box, a drop-down list, OK and Cancel.
DialogTemplate TwentyControlTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE;
    dialog.cx = 260;
    dialog.cy = 200;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = "Twenty controls";
    auto add = [&](const char* pszClass, DWORD dwStyle, const char* pszText, SHORT x, SHORT y, SHORT cx, SHORT cy) {
        auto nId = static_cast<DWORD>(100 + dialog.controls.size());
        dialog.controls.push_back({ nId, dwStyle | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, pszClass, pszText });
    };
    for (SHORT nRow = 0; nRow < 5; ++nRow) {
        add("Static", SS_LEFT, "&Field:", 7, static_cast<SHORT>(9 + 16 * nRow), 40, 8);
        add("Edit", WS_BORDER | WS_TABSTOP, "Some text in the field", 50, static_cast<SHORT>(7 + 16 * nRow), 100, 12);
    }
    add("Button", BS_GROUPBOX, "Kind", 160, 7, 90, 50);
    add("Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Letter", 166, 18, 70, 10);
    add("Button", BS_AUTORADIOBUTTON, "&Invoice", 166, 30, 70, 10);
    add("Button", BS_AUTORADIOBUTTON, "&Other", 166, 42, 70, 10);
    add("Button", BS_AUTOCHECKBOX | WS_TABSTOP, "&Read only", 160, 62, 90, 10);
    add("Button", BS_AUTOCHECKBOX | WS_TABSTOP, "&Hidden", 160, 76, 90, 10);
    add("ListBox", WS_BORDER | WS_VSCROLL | WS_TABSTOP, "", 7, 110, 143, 60);
    add("ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "", 160, 110, 90, 60);
    add("Button", BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 146, 178, 50, 14);
    add("Button", BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 200, 178, 50, 14);
    assert(dialog.controls.size() == 20);
    return dialog;
}

// One full repaint of the dialog, frame and every control included, drawn at once.
void BM_PaintDialogOfTwentyControls(benchmark::State& state)
{
    if (!RegisterStandardControls()) {
        state.SkipWithError("the standard controls could not be registered");
        return;
    }
    DialogTemplate dialog = TwentyControlTemplate();
    HWND hDlg = CreateDialogIndirectParam(nullptr, &dialog, nullptr, BenchDlgProc, 0);
    if (!hDlg) {
        state.SkipWithError("the dialog could not be made");
        return;
    }
    HWND hList = GetDlgItem(hDlg, 116);
    HWND hCombo = GetDlgItem(hDlg, 117);
    for (const char* pszItem : { "Draft", "Final", "Archived", "Deleted", "Pending", "Shared", "Private" }) {
        SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
        SendMessage(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    }
    SendMessage(hList, LB_SETCURSEL, 1, 0);
    SendMessage(hCombo, CB_SETCURSEL, 0, 0);
    PumpUntilIdle();
    for (auto _ : state)
        RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DestroyWindow(hDlg);
}
BENCHMARK(BM_PaintDialogOfTwentyControls)->Unit(benchmark::kMicrosecond);

}
