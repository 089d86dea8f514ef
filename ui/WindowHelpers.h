#pragma once

// Window chores of long operations and dialogs: letting a progress dialog
// paint and take its clicks while the work runs, and placing a window over
// another.

class CWnd;

// Removes and dispatches every pending message of pWnd and its child windows
// (of the whole thread with null), without translating keys, then updates the
// thread's main window. A WM_QUIT met on the way is posted again for the
// message loop and ends the pumping; so does a window that keeps posting to
// itself, after a few thousand messages.
void PumpMessages(CWnd* pWnd);

// Moves pWnd, keeping its size, so that its centre lies over the centre of
// pReference, or of the desktop when pReference is null or has no window.
void CenterWindowOn(CWnd* pWnd, CWnd* pReference);
