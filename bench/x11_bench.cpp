// The X11 display's costs on the twenty-control form, each against its
// headless reference timed in the same run, on an Xvfb of the program's own:
//  1. expose to presented: another client's window that covered the form goes,
//     and the form's pixels are back on the server (the program reads the
//     Expose, copies its retained pixels, and waits for the server with
//     XSync), against a headless repaint of the form after InvalidateRect;
//  2. input to paint: a key typed through XTEST into the form's first edit,
//     until the character is drawn and on the server, against the headless
//     injection of the same key until it is drawn.
// Each figure is the median of its runs; the program prints "name: value"
// lines, with the machine's load while it ran.

#include "bench/TwentyControlDialog.h"
#include "platform/display/X11Display.h"
#include "platform/testing/TestXServer.h"
#include "platform/testing/XTestInput.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

constexpr int RUNS = 60;
constexpr int FIRST_EDIT = 101;

using Clock = std::chrono::steady_clock;

double MedianMicroseconds(const std::function<void()>& prepare, const std::function<void()>& timed)
{
    std::vector<double> samples;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        prepare();
        auto start = Clock::now();
        timed();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::nth_element(samples.begin(), samples.begin() + RUNS / 2, samples.end());
    return samples[RUNS / 2];
}

int TextLength(HWND hWnd)
{
    return GetWindowTextLength(hWnd);
}

// Runs the program's messages, display events included, until the condition holds.
void PumpUntil(const std::function<bool()>& condition)
{
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!condition() && Clock::now() < deadline) {
        PumpUntilIdle();
        if (!condition())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string strOne;
    std::string strFive;
    file >> strOne >> strFive;
    return strOne + " " + strFive;
}

}

int main()
{
    std::printf("load_before: %s\n", LoadAverage().c_str());

    /* The headless references. */
    HWND hDlg = MakeTwentyControlDialog();
    if (!hDlg) {
        std::fprintf(stderr, "x11_bench: the form could not be made\n");
        return 1;
    }
    PumpUntilIdle();
    double fHeadlessRepaint = MedianMicroseconds([] {},
        [&] {
            InvalidateRect(hDlg, nullptr, TRUE);
            RedrawWindow(
                hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
    HWND hEdit = GetDlgItem(hDlg, FIRST_EDIT);
    SetFocus(hEdit);
    double fHeadlessKey = MedianMicroseconds([] {},
        [&] {
            int nBefore = TextLength(hEdit);
            InjectKeyEvent('A', TRUE);
            InjectKeyEvent('A', FALSE);
            PumpUntil([&] { return TextLength(hEdit) != nBefore; });
        });
    DestroyWindow(hDlg);

    /* The same on an X server. */
    CTestXServer server;
    if (!server.IsRunning()) {
        std::fprintf(stderr, "x11_bench: %s\n", server.Failure().c_str());
        return 1;
    }
    std::string strReason;
    std::unique_ptr<CX11Display> pDisplay = CX11Display::Open(server.Name().c_str(), &strReason);
    CXTestInput user(server.Name());
    if (!pDisplay || !user.IsOpen()) {
        std::fprintf(stderr, "x11_bench: %s\n", pDisplay ? "no XTEST" : strReason.c_str());
        return 1;
    }
    SetDisplay(pDisplay.get());
    hDlg = MakeTwentyControlDialog();
    hEdit = GetDlgItem(hDlg, FIRST_EDIT);
    SetFocus(hEdit);
    PumpUntilIdle();
    pDisplay->Sync();
    PumpUntilIdle();

    Display* pUser = user.Connection();
    RECT rcDialog {};
    GetWindowRect(hDlg, &rcDialog);
    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(pUser, DefaultScreen(pUser));
    Window cover = XCreateWindow(pUser, DefaultRootWindow(pUser), rcDialog.left, rcDialog.top,
        static_cast<unsigned>(rcDialog.right - rcDialog.left), static_cast<unsigned>(rcDialog.bottom - rcDialog.top), 0,
        CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    double fExpose = MedianMicroseconds(
        [&] {
            XMapRaised(pUser, cover);
            XSync(pUser, False);
            pDisplay->Sync();
            PumpUntilIdle(); // the program hears nothing of being covered
        },
        [&] {
            XUnmapWindow(pUser, cover);
            XSync(pUser, False);
            pDisplay->Sync(); // the Expose has arrived
            PumpUntilIdle();  // and is served from the retained pixels
            pDisplay->Sync(); // which are on the server
        });

    // The keyboard goes to the form, as the window manager would give it.
    user.MoveTo(POINT { (rcDialog.left + rcDialog.right) / 2, (rcDialog.top + rcDialog.bottom) / 2 });
    double fKey = MedianMicroseconds([] {},
        [&] {
            int nBefore = TextLength(hEdit);
            user.TapKey(XK_a);
            PumpUntil([&] { return TextLength(hEdit) != nBefore; });
            pDisplay->Sync(); // the character is on the server
        });
    DestroyWindow(hDlg);
    SetDisplay(nullptr);

    std::printf("headless_repaint_us: %.1f\n", fHeadlessRepaint);
    std::printf("x11_expose_to_presented_us: %.1f\n", fExpose);
    std::printf("expose_ratio: %.2f (goal <= 0.5)\n", fExpose / fHeadlessRepaint);
    std::printf("headless_key_to_paint_us: %.1f\n", fHeadlessKey);
    std::printf("x11_key_to_presented_us: %.1f\n", fKey);
    std::printf("key_ratio: %.2f (goal <= 2)\n", fKey / fHeadlessKey);
    std::printf("load_after: %s\n", LoadAverage().c_str());
    return 0;
}
