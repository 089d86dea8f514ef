// The program's entry: registers the program's messages, makes the
// application object, runs it and destroys it before returning, so that its
// teardown runs while every service still lives. SIGINT, SIGTERM and SIGHUP
// end the program as the end of the user's session does.

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"

#include "platform/base/TerminationSignals.h"
#include "platform/base/Threads.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/window/MessageQueue.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    RegisterAppMessages();
    // The thread's queue exists before the signals are watched, so a signal always finds it.
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    const DWORD dwMainThread = GetCurrentThreadId();
    const CTerminationSignals signals([dwMainThread](int nSignal) {
        if (!PostThreadMessage(dwMainThread, g_nMsgSessionEnd, 0, 0))
            std::_Exit(128 + nSignal);
    });

    // FIXME: the X display named by $DISPLAY is opened here once the platform has it.
    std::fprintf(stderr, "Archivora: running without a display: this build shows no windows yet.\n");

    int nExitCode = 0;
    {
        CArchivoraApp app;
        // FIXME: the dialogs' windows (set-up wizard, sheets, questions) are
        // installed here with InstallFramePrompts once they exist; until then
        // the frame's defaults answer.
        nExitCode = AfxWinMain(argc, argv);
    }
    return nExitCode;
}
