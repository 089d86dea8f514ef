// The end of the X connection (the server killed, the session over) ends
// the program as the end of a session does: its windows hear WM_ENDSESSION
// and the process exits with status 0.

#include "platform/display/X11Display.h"

#include "platform/testing/TestXServer.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool ReportEndOfSession(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT*)
{
    if (uMsg == WM_ENDSESSION && wParam)
        std::fprintf(stderr, "the session ended\n");
    return false;
}

// Runs in the death test's child: a window on a server that goes away.
void RunUntilTheServerGoes()
{
    CTestXServer server;
    if (!server.IsRunning())
        std::_Exit(2);
    std::string strReason;
    std::unique_ptr<CX11Display> pDisplay = CX11Display::Open(server.Name().c_str(), &strReason);
    if (!pDisplay)
        std::_Exit(3);
    SetDisplay(pDisplay.get());
    RegisterRecordingClass();
    MessageLog::Instance().handler = ReportEndOfSession;
    HWND hWnd = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 10, 10, 200, 100);
    ShowWindow(hWnd, SW_SHOW);
    PumpUntilIdle();
    server.Kill();
    MSG msg {};
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    std::_Exit(4); // the loop ended some other way
}

}

TEST(X11ConnectionLossTest, ALostServerEndsTheProgramAsTheEndOfASession)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunUntilTheServerGoes(), ::testing::ExitedWithCode(0), "the session ended");
}
