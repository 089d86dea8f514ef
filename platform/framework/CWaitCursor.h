#pragma once

// The hourglass shown while the program works. Waits nest: the cursor is
// IDC_WAIT from the first begin until the matching last end, which puts back
// the cursor from before the first. While a wait is on, the program's windows
// answer WM_SETCURSOR with the hourglass, so moving the mouse keeps it.
// CCmdTarget::BeginWaitCursor, EndWaitCursor and RestoreWaitCursor do the same.

#include "platform/base/WinTypes.h"

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the hourglass again after something (a message box) changed the cursor.
    void Restore();
};

// 1 begins a wait, -1 ends one (an end without a begin does nothing), 0
// shows the hourglass again while a wait is on.
void AfxDoWaitCursor(int nCode);
// The waits begun and not yet ended.
int AfxGetWaitCursorCount();
