#pragma once

// The end of the session while the program waits in a prompt. A termination
// signal posts the session's end to the application's thread as a thread
// message, and whatever loop runs takes it from the queue: the main loop hands
// it to the application, but a modal dialog's, a message box's or a menu's
// loop would drop it or run the end beneath itself. This hook sees it first in
// every loop: while a modal window or a menu is up, each is ended with its
// cancel answer (a question then changes nothing) and the end is posted again,
// to reach the application once the loops have unwound.

#include "platform/window/Input.h"

class CSessionEndHook {
public:
    // Hooks the calling thread's message retrieval for nMsgSessionEnd.
    explicit CSessionEndHook(UINT nMsgSessionEnd);
    ~CSessionEndHook();
    CSessionEndHook(const CSessionEndHook&) = delete;
    CSessionEndHook& operator=(const CSessionEndHook&) = delete;

    // Ends the thread's modal windows and its menu with their cancel answer;
    // whether there was any.
    static bool EndModalWindows();

private:
    HHOOK m_hHook { nullptr };
};
