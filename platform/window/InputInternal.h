#pragma once

// The input state shared by the files of platform/window: focus, activation,
// capture, cursor, key state and hooks. Every field is guarded by the window
// lock (see WindowInternal.h).

#include "platform/window/Input.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

struct CHook {
    HHOOK hHook { nullptr };
    int idHook { 0 };
    HOOKPROC pfnProc { nullptr };
    DWORD dwThreadId { 0 };
};

// The text the key down retrieved last came with from the display, until
// TranslateMessage turns it into characters.
struct CKeyText {
    HWND hWnd { nullptr };
    UINT uMsg { 0 };
    WPARAM wParam { 0 };
    LPARAM lParam { 0 };
    std::string strText;
};

struct CInputState {
    HWND hFocus { nullptr };
    HWND hActive { nullptr };
    HWND hCapture { nullptr };
    bool bAppActive { false }; // WM_ACTIVATEAPP(TRUE) has been sent
    POINT ptCursor {};
    HCURSOR hCursor { nullptr };
    HWND hCursorTop { nullptr };              // the top-level window the last mouse event went to: it shows the cursor
    std::array<BYTE, 256> asyncKeys {};       // as injected; 0x80: down; 0x01: toggled
    std::array<BYTE, 256> keys {};            // as of the input messages retrieved so far (GetKeyState)
    std::array<bool, 256> pressedSinceAsk {}; // for GetAsyncKeyState

    // The last button press, for double clicks.
    UINT uLastPress { 0 }; // the client or non-client press message, 0 after a double click
    HWND hLastPress { nullptr };
    POINT ptLastPress {};
    ULONGLONG nLastPressTime { 0 };

    // Mouse tracking.
    HWND hTrackLeave { nullptr };
    HWND hTrackHover { nullptr };
    DWORD dwHoverTime { 0 };
    POINT ptHoverStart {};
    ULONGLONG nHoverDue { 0 };

    std::vector<CHook> hooks; // the newest last

    std::optional<CKeyText> retrievedKeyText;
};

CInputState& InputStateLocked();

// Drops every reference to a window that goes. Lock held.
void ForgetInputWindowLocked(HWND hWnd);

// Brings the key state up to date with an input message being taken from the
// queue, and keeps the display's text of a key down. Lock held.
void NoteInputRetrievedLocked(const MSG& msg, const std::optional<std::string>& text);
// A key from the display: as InjectKeyEvent, with the key's text (when the
// display gives it) kept for TranslateMessage. Lock NOT held.
BOOL InjectDisplayKey(const CKeyInput& input);
// Takes the keyboard's state as the display found it: the keys held down
// (both for the messages taken and as injected) and the toggle bits of Caps
// Lock, Num Lock and Scroll Lock. The mouse buttons stay as they are. Lock NOT held.
void SetKeyboardState(const CKeyboardState& keyboard);
// Text an input method committed without a key: WM_CHAR for each character
// to the focus window. Lock NOT held.
void PostTextToFocus(const std::string& strText);
// Runs the keyboard or mouse hooks for a message being retrieved; true when
// they drop it. Lock NOT held.
bool InputHooksDropMessage(const MSG& msg, UINT wRemoveMsg);
// Runs the WH_GETMESSAGE hooks on a message about to be returned. Lock NOT held.
void RunGetMessageHooks(MSG* pMsg, UINT wRemoveMsg);
// Runs the WH_CALLWNDPROC hooks for a message about to be sent, by this
// thread or another; false when the thread has none. Lock NOT held.
bool RunCallWndProcHooks(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bSentByThisThread);
// The character a key gives with the current Shift, Caps Lock and Ctrl
// state, or 0 for a key that gives none. Lock NOT held.
WPARAM CharacterOfKey(WPARAM nVirtualKey);
// Whether a button (VK_LBUTTON...) is down as injected, ahead of the messages
// retrieved, without touching GetAsyncKeyState's pressed bit. Lock NOT held.
bool IsButtonDown(UINT nButtonKey);
// The cursor position, which posted messages carry. Lock held.
POINT CursorPosLocked();
// Milliseconds until the hover tracked for a window of the thread falls due,
// INFINITE when none is tracked. Lock held.
DWORD MillisecondsToHoverLocked(DWORD dwThreadId);
// Posts WM_MOUSEHOVER when the hover being tracked for the calling thread is
// due. Lock held; returns true when it posted.
bool PostDueHoverLocked(DWORD dwThreadId);
