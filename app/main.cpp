// The program's entry: registers the program's messages, shows the windows on
// the X display named by $DISPLAY (or runs without one, headless, when there
// is none or it refuses, saying so in one line), makes the application object,
// runs it and destroys it before returning, so that its teardown runs while
// every service still lives. A start that finds the program running hands its
// switches over and says so in one line. SIGINT, SIGTERM and SIGHUP end the program as the
// end of the user's session does.

#include "dialogs/CDialogPrompts.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"

#include "platform/base/TerminationSignals.h"
#include "platform/base/Threads.h"
#include "platform/display/X11Display.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/MessageQueue.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    RegisterAppMessages();
    // The thread's queue exists before the signals are watched, so a signal
    // always finds it; and they are watched before any other thread starts.
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    const DWORD dwMainThread = GetCurrentThreadId();
    const CTerminationSignals signals([dwMainThread](int nSignal) {
        if (!PostThreadMessage(dwMainThread, g_nMsgSessionEnd, 0, 0))
            std::_Exit(128 + nSignal);
    });

    std::string strReason;
    std::unique_ptr<CX11Display> pDisplay = CX11Display::Open(nullptr, &strReason);
    if (pDisplay)
        SetDisplay(pDisplay.get());
    else
        std::fprintf(stderr, "Archivora: running without a display: %s.\n", strReason.c_str());

    int nExitCode = 0;
    {
        // The dialogs answer the lower layers' prompts for the whole run.
        const CDialogPrompts prompts;
        CArchivoraApp app;
        nExitCode = AfxWinMain(argc, argv);
        if (app.WasHandedOver())
            std::fprintf(stderr, "Archivora: already running; this start was handed over to it.\n");
    }
    SetDisplay(nullptr);
    return nExitCode;
}
