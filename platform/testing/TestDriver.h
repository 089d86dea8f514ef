#pragma once

// Drives the program's windows headless, the way a user at the keyboard and
// mouse would, for tests.
//
// A CTestDriver installs a manual clock for its lifetime (time stands still
// unless the test advances it) and works on the calling thread, which must be
// the thread of the windows it drives. Every action injects its input through
// the window layer's injection calls and then pumps the thread's queue until
// it is idle, so when a call returns, everything the input caused has run.
// The steps of one mouse gesture (move, press, move, release) go one at a
// time; when a step starts a loop that waits for input (dragging a scroll
// bar's thumb, drag detection), that loop is given the gesture's next steps
// as it waits. Points are client coordinates of the window named.

#include "platform/base/CString.h"
#include "platform/base/Clock.h"
#include "platform/window/Dialog.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowTypes.h"

#include <deque>
#include <functional>

class CTestDriver {
public:
    /* Modifier flags for PressKey. */
    static constexpr UINT SHIFT = 0x1;
    static constexpr UINT CONTROL = 0x2;
    static constexpr UINT ALT = 0x4;

    // The clock starts at 2020-01-01 00:00 UTC with a tick count well away from 0.
    CTestDriver();
    ~CTestDriver();
    CTestDriver(const CTestDriver&) = delete;
    CTestDriver& operator=(const CTestDriver&) = delete;

    /* Time. */

    // Moves the clock forward one millisecond at a time, pumping after each
    // step, so timers fire in the order they fall due and each at its time.
    void Advance(UINT nMilliseconds);
    // Runs what waits in the queue without moving the clock, as the program's
    // loop would (a dialog takes its keys: Tab, Enter, Escape); returns how
    // many messages were taken.
    int Pump();

    /* Mouse. Each returns FALSE when no window received the input. */

    BOOL Click(HWND hWnd, int x, int y);
    // Two presses with no time between them, which the window layer reports as
    // a double click to windows that ask for them.
    BOOL DoubleClick(HWND hWnd, int x, int y);
    BOOL RightClick(HWND hWnd, int x, int y);
    // Presses the left button at `from`, moves to `to` and releases it there.
    BOOL Drag(HWND hWnd, POINT from, POINT to);

    /* Keyboard. Keys go to the window with the focus. */

    // Types each character with the key (and Shift) that makes it. FALSE with
    // ERROR_INVALID_PARAMETER, before typing anything, when a character has no
    // key (letters, digits, ASCII punctuation, space, tab and newline do).
    BOOL TypeText(LPCTSTR lpszText);
    // Presses and releases a key (VK_*) with the modifiers held down around it.
    BOOL PressKey(UINT nVirtualKey, UINT nModifiers = 0);

    /* Looking at windows. */

    static CString Text(HWND hWnd);
    // Whether a check box or radio button is checked (BST_CHECKED).
    static BOOL IsChecked(HWND hWnd);
    static BOOL IsEnabled(HWND hWnd);
    static BOOL IsVisible(HWND hWnd);
    // The child with that id, direct children first, then their descendants;
    // NULL when there is none.
    static HWND FindChild(HWND hParent, int nId);
    // Writes the window's pixels, frame included, as a PNG file (a program path).
    static BOOL Screenshot(HWND hWnd, LPCTSTR lpszPath);

    /* Modal dialogs and message boxes. */

    /* Modal dialogs. Answers are queued: each modal dialog or message box
       shown on this thread takes the next one as soon as it is shown, before
       its loop waits for a user; one shown with no answer queued waits as it
       would for a user. */

    // Ends the next message box as if its button nResult (IDYES, IDOK, ...) was pressed.
    void AnswerNextMessageBox(int nResult);
    // Runs callback on the next modal dialog; the callback ends it (EndDialog,
    // or a click on one of its buttons).
    void OnNextDialog(std::function<void(HWND hDlg)> callback);

private:
    BOOL MouseButton(HWND hWnd, int x, int y, bool bRight, int nClicks);
    BOOL Key(UINT nVirtualKey, bool bDown);
    static BOOL PreTranslate(MSG* pMsg);
    // Injects each mouse event, pumping after each; TRUE when every one reached a window.
    BOOL RunMouseGesture(std::deque<CMouseInput> events);

    static void AnswerModalDialog(HWND hDlg);
    // Gives the next event of the gesture to a loop that waits for input.
    static void FeedWaitingLoop();

    CManualClock m_clock;
    CClockOverride m_override { m_clock };
    std::deque<std::function<void(HWND)>> m_modalAnswers;
    std::deque<CMouseInput> m_gesture; // events of the running gesture not yet injected
    BOOL m_bGestureReceived { TRUE };
    CTestDriver* m_pPreviousDriver;
    MODALDIALOGHOOK m_pfnPreviousHook;
    THREADWAITHOOK m_pfnPreviousWaitHook;
};
