#pragma once

// Sending and posting messages, and the per-thread message queue.
//
// Each thread that uses windows or messages has a queue, made on its first
// call here (PeekMessage with PM_NOREMOVE is the usual way to make one before
// other threads post to it). The queue ends with its thread: messages sent to
// it then return 0 to their senders, and the thread's windows are removed.
//
// Order of retrieval: messages sent by other threads are run first, inside the
// retrieving call; then posted messages in the order they were posted; then
// WM_QUIT, once PostQuitMessage has been called and no posted message is left;
// then WM_PAINT for a window with something to paint (see Paint.h); then
// WM_TIMER for a timer that is due (see Timers.h). Keyboard and mouse hooks
// see input messages as they are retrieved, WH_GETMESSAGE hooks every message
// retrieved (see Input.h). Posted messages carry the cursor position in MSG.pt.
//
// A thread serves messages sent to it by other threads while it is inside
// GetMessage, PeekMessage, WaitMessage, MsgWaitForMultipleObjects(Ex), or
// waiting in its own SendMessage to another thread.

#include "platform/window/WindowTypes.h"

// clang-format off
/* PeekMessage. */
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE   = 0x0001;
constexpr UINT PM_NOYIELD  = 0x0002; // accepted; there is nothing to yield to

/* Queue status kinds (GetQueueStatus, MsgWaitForMultipleObjects). */
constexpr UINT QS_KEY            = 0x0001;
constexpr UINT QS_MOUSEMOVE      = 0x0002;
constexpr UINT QS_MOUSEBUTTON    = 0x0004;
constexpr UINT QS_POSTMESSAGE    = 0x0008;
constexpr UINT QS_TIMER          = 0x0010;
constexpr UINT QS_PAINT          = 0x0020;
constexpr UINT QS_SENDMESSAGE    = 0x0040;
constexpr UINT QS_HOTKEY         = 0x0080;
constexpr UINT QS_ALLPOSTMESSAGE = 0x0100;
constexpr UINT QS_MOUSE          = QS_MOUSEMOVE | QS_MOUSEBUTTON;
constexpr UINT QS_INPUT          = QS_MOUSE | QS_KEY;
constexpr UINT QS_ALLEVENTS      = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY;
constexpr UINT QS_ALLINPUT       = QS_ALLEVENTS | QS_SENDMESSAGE;

/* MsgWaitForMultipleObjectsEx. */
constexpr DWORD MWMO_WAITALL        = 0x0001;
constexpr DWORD MWMO_ALERTABLE      = 0x0002; // accepted; there are no asynchronous calls
constexpr DWORD MWMO_INPUTAVAILABLE = 0x0004;

/* SendMessageTimeout. */
constexpr UINT SMTO_NORMAL             = 0x0000;
constexpr UINT SMTO_BLOCK              = 0x0001; // serve nothing while waiting
constexpr UINT SMTO_ABORTIFHUNG        = 0x0002; // accepted
constexpr UINT SMTO_NOTIMEOUTIFNOTHUNG = 0x0008; // accepted
// clang-format on

/* Sending. */

// Runs the target's window procedure and returns its result: directly when the
// window belongs to the calling thread, else through the owner's queue while
// the caller waits (serving messages sent to it meanwhile). Returns 0 when the
// window is not valid (ERROR_INVALID_WINDOW_HANDLE), or is destroyed, or its
// thread ends before the message runs.
LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// SendMessage that gives up after uTimeout milliseconds of real time (to
// another thread; a call on the same thread runs to its end). Returns nonzero
// with *lpdwResult set on success; 0 on failure, with ERROR_TIMEOUT when the
// time ran out. The message may still run later; its result is then dropped.
LRESULT SendMessageTimeout(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout, PDWORD_PTR lpdwResult);

// Sends without waiting for the result when the window belongs to another
// thread (the message still runs ahead of posted ones); on the same thread, as
// SendMessage.
BOOL SendNotifyMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// TRUE while the calling thread runs a message sent by another thread.
BOOL InSendMessage();
// Answers the message sent by another thread that is running now, so that the
// sender goes on; the procedure's later return value is then dropped. FALSE
// when no such message is running or it was answered already.
BOOL ReplyMessage(LRESULT lResult);

/* Posting. Safe from any thread. */

// Queues the message for the window's thread. NULL posts a thread message to
// the caller; HWND_BROADCAST posts to every top-level window. Fails with
// ERROR_INVALID_WINDOW_HANDLE.
BOOL PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Queues a message with no window. Fails with ERROR_INVALID_THREAD_ID when the
// thread has no queue.
BOOL PostThreadMessage(DWORD idThread, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Makes the queue return WM_QUIT (wParam = nExitCode) once no posted message is left.
void PostQuitMessage(int nExitCode);

/* Retrieving. hWnd filters: NULL takes every message of the thread; (HWND)-1
   only thread messages; a window its own messages and those of its children.
   wMsgFilterMin/Max give a range; both 0 take every message. WM_QUIT is taken
   whatever the filters. */

// Waits for a message. Returns FALSE for WM_QUIT, -1 for a bad window filter,
// else TRUE.
BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// Returns at once: TRUE with a message, FALSE without one.
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);

// WM_KEYDOWN and WM_SYSKEYDOWN post WM_CHAR and WM_SYSCHAR, read next, for
// keys that give a character on a US keyboard with the current Shift, Caps
// Lock and Ctrl state (Ctrl with a letter gives 1 to 26). Returns TRUE for
// every key message.
BOOL TranslateMessage(const MSG* lpMsg);
// Runs the window procedure for a retrieved message (or, for WM_TIMER with a
// TIMERPROC in lParam, the timer procedure of a live timer) and returns its
// result. Thread messages are not dispatched.
LRESULT DispatchMessage(const MSG* lpMsg);

// The time and cursor position (x in the low word, y in the high) of the last message retrieved.
LONG GetMessageTime();
DWORD GetMessagePos();

/* Waiting and status. */

// Waits until a message arrives that the thread has not yet looked at.
BOOL WaitMessage();

// Waits for the objects as WaitForMultipleObjects, or for input of the kinds in
// dwWakeMask: WAIT_OBJECT_0 + nCount reports input. Input counts when it
// arrived since the thread last looked (GetMessage, PeekMessage,
// GetQueueStatus or this wait); with MWMO_INPUTAVAILABLE any input counts.
// With MWMO_WAITALL input also ends the wait before all objects are signalled.
DWORD MsgWaitForMultipleObjectsEx(
    DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask, DWORD dwFlags);
DWORD MsgWaitForMultipleObjects(
    DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds, DWORD dwWakeMask);

// Low word: the kinds (of `flags`) in the queue now; high word: the kinds that
// arrived since the last look, which this call clears.
DWORD GetQueueStatus(UINT flags);
// TRUE when keyboard or mouse messages wait in the queue. Such messages count
// both as posted messages and as input (QS_KEY, QS_MOUSE*) everywhere above.
BOOL GetInputState();

/* For test drivers. */

// Called on the thread each time it is about to wait for messages (in
// GetMessage when nothing is left to retrieve, WaitMessage,
// MsgWaitForMultipleObjects(Ex)), before it waits: a test driver gives here
// the input that a modal loop started by earlier input waits for (the rest of
// a drag, for a tracking loop). One per thread; returns the previous one
// (nullptr removes it).
using THREADWAITHOOK = void (*)();
THREADWAITHOOK SetThreadWaitHook(THREADWAITHOOK pfnHook);

// A modal loop that takes some messages itself before dispatching the rest
// (a popup chain takes the keys) names its filter for as long as it runs;
// whoever else pumps the thread's queue meanwhile (a test driver acting while
// the loop waits) hands each message to the innermost filter first and leaves
// it alone when the filter returns TRUE. One per thread: a nested loop puts
// back the filter it replaced, which this returns.
struct CModalLoopFilter {
    BOOL (*pfnFilter)(void* pContext, MSG* pMsg) { nullptr };
    void* pContext { nullptr };
};
CModalLoopFilter SetModalLoopFilter(CModalLoopFilter filter);
// Passes the message to the running loop's filter; FALSE without one.
BOOL CallModalLoopFilter(MSG* pMsg);

// Translates and dispatches the calling thread's messages (timers that are due
// included) until none is left; returns how many were dispatched. WM_QUIT is
// left in the queue. Meant for a clock that tests hold still: on the real
// clock a timer shorter than the work it causes would keep the pump going.
int PumpUntilIdle();
