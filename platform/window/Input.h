#pragma once

// Mouse and keyboard input: where it goes, the key state, the mouse capture,
// the cursor, thread hooks, mouse tracking and drag detection.
//
// Input enters through InjectMouseEvent and InjectKeyEvent, which the display
// backend and the test driver call with screen coordinates. An injected event
// updates the key state and the cursor position at once, then is routed:
//   - mouse: to the capture window if there is one (always as client
//     messages), else to the window under the point, which WM_NCHITTEST
//     places in its client or non-client area. A button press on a window
//     whose top-level window is not active first sends WM_MOUSEACTIVATE; every
//     message to a window without capture is preceded by WM_SETCURSOR. These
//     are sent during the injection; the mouse message itself is posted.
//     A disabled window gets no mouse messages unless it holds the capture.
//   - keys: to the focus window, or as WM_SYSKEY* to the active window when
//     nothing has the focus. With Alt down, or for F10, keys are WM_SYSKEY*.
// A second press of the same button on the same window within
// GetDoubleClickTime (on ClockTicks) and within SM_CXDOUBLECLK by
// SM_CYDOUBLECLK of the first becomes a double click: for the client area
// only when the window's class has CS_DBLCLKS, for the non-client area always.
// A third press starts over.
//
// The focus, the active window, the capture, the cursor and the key state are
// one for the program (it has one user-interface thread).

#include "platform/base/ResourceModule.h"
#include "platform/display/Display.h"
#include "platform/display/VirtualKeys.h"
#include "platform/window/WindowTypes.h"

ARCHIVORA_DECLARE_HANDLE(HHOOK);

// clang-format off
/* Mouse message wParam flags. */
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT   = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

/* WM_NCHITTEST answers. */
constexpr LRESULT HTERROR       = -2; // nowhere; a press beeps
constexpr LRESULT HTTRANSPARENT = -1; // the window below is asked instead
constexpr LRESULT HTNOWHERE     = 0;
constexpr LRESULT HTCLIENT      = 1;
constexpr LRESULT HTCAPTION     = 2;
constexpr LRESULT HTSYSMENU     = 3;
constexpr LRESULT HTGROWBOX     = 4;
constexpr LRESULT HTMENU        = 5;
constexpr LRESULT HTHSCROLL     = 6;
constexpr LRESULT HTVSCROLL     = 7;
constexpr LRESULT HTMINBUTTON   = 8;
constexpr LRESULT HTMAXBUTTON   = 9;
constexpr LRESULT HTLEFT        = 10;
constexpr LRESULT HTRIGHT       = 11;
constexpr LRESULT HTTOP         = 12;
constexpr LRESULT HTTOPLEFT     = 13;
constexpr LRESULT HTTOPRIGHT    = 14;
constexpr LRESULT HTBOTTOM      = 15;
constexpr LRESULT HTBOTTOMLEFT  = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;
constexpr LRESULT HTBORDER      = 18;
constexpr LRESULT HTCLOSE       = 20;
constexpr LRESULT HTSIZE        = HTGROWBOX;

/* WM_MOUSEACTIVATE answers. */
constexpr LRESULT MA_ACTIVATE         = 1;
constexpr LRESULT MA_ACTIVATEANDEAT   = 2; // activate and drop the press
constexpr LRESULT MA_NOACTIVATE       = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

/* Hooks. */
constexpr int WH_KEYBOARD    = 2; // wParam: virtual key; lParam: key flags; nonzero drops the message
constexpr int WH_GETMESSAGE  = 3; // wParam: PM_REMOVE or PM_NOREMOVE; lParam: MSG*, may be changed
constexpr int WH_CALLWNDPROC = 4; // wParam: nonzero when sent by this thread; lParam: CWPSTRUCT*
constexpr int WH_MOUSE       = 7; // wParam: mouse message; lParam: MOUSEHOOKSTRUCT*; nonzero drops it
constexpr int HC_ACTION      = 0;
constexpr int HC_NOREMOVE    = 3; // the message is looked at, not taken

/* TrackMouseEvent. */
constexpr DWORD TME_HOVER     = 0x00000001;
constexpr DWORD TME_LEAVE     = 0x00000002;
constexpr DWORD TME_QUERY     = 0x40000000;
constexpr DWORD TME_CANCEL    = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF; // SPI_GETMOUSEHOVERTIME
// clang-format on

// clang-format off
/* Standard cursors, for LoadCursor(NULL, ...). */
#define IDC_ARROW       MAKEINTRESOURCE(32512)
#define IDC_IBEAM       MAKEINTRESOURCE(32513)
#define IDC_WAIT        MAKEINTRESOURCE(32514)
#define IDC_CROSS       MAKEINTRESOURCE(32515)
#define IDC_UPARROW     MAKEINTRESOURCE(32516)
#define IDC_SIZENWSE    MAKEINTRESOURCE(32642)
#define IDC_SIZENESW    MAKEINTRESOURCE(32643)
#define IDC_SIZEWE      MAKEINTRESOURCE(32644)
#define IDC_SIZENS      MAKEINTRESOURCE(32645)
#define IDC_SIZEALL     MAKEINTRESOURCE(32646)
#define IDC_NO          MAKEINTRESOURCE(32648)
#define IDC_HAND        MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP        MAKEINTRESOURCE(32651)
// clang-format on

using HOOKPROC = LRESULT(CALLBACK*)(int nCode, WPARAM wParam, LPARAM lParam);

struct MOUSEHOOKSTRUCT {
    POINT pt; // screen coordinates
    HWND hwnd;
    UINT wHitTestCode;
    ULONG_PTR dwExtraInfo;
};

struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize; // sizeof(TRACKMOUSEEVENT)
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime; // milliseconds, or HOVER_DEFAULT
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

/* Injecting input. Both return FALSE when nothing received the event. */

BOOL InjectMouseEvent(const CMouseInput& input);
BOOL InjectKeyEvent(UINT nVirtualKey, BOOL bDown);

/* Key state. */

// The state as of the input messages the program has taken from its queue,
// so that a key message is read with the state it came with. Bit 0x8000: the
// key is down; bit 1: toggled (Caps Lock on, or an odd number of presses of
// any key). Either Shift key counts as VK_SHIFT (likewise Ctrl and Alt).
SHORT GetKeyState(int nVirtKey);
// The state as injected, whatever the queue holds. Bit 0x8000: the key is
// down; bit 1: pressed since the last call that asked about this key (the
// call clears it).
SHORT GetAsyncKeyState(int vKey);

/* Mouse capture. While a window has it, every mouse message goes to it. */

// Returns the previous capture window. The window losing the capture gets
// WM_CAPTURECHANGED with the new one in lParam.
HWND SetCapture(HWND hWnd);
// Ends the capture (WM_CAPTURECHANGED with NULL to its window).
BOOL ReleaseCapture();
HWND GetCapture();

/* The cursor. Cursors are names here: the display decides how they look. */

BOOL GetCursorPos(LPPOINT lpPoint);
// Moves the cursor as a mouse move to that point would.
BOOL SetCursorPos(int X, int Y);
// Returns the previous cursor.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
// A standard cursor (hInstance NULL, lpCursorName an IDC_* value), or one of
// the module's cursor resources as a shared cursor object (Icons.h: its hot
// spot at the top-left pixel); NULL with ERROR_RESOURCE_NAME_NOT_FOUND for an
// unknown standard cursor, or the resource error.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName);

/* Hooks of the calling thread, called newest first. A hook passes the call on
   with CallNextHookEx; keyboard and mouse hooks run when their message is
   retrieved, before it is returned (and so before it is dispatched). */

// hMod is ignored; dwThreadId must be the calling thread's (or 0 for it).
// NULL with ERROR_INVALID_HOOK_FILTER for a kind not listed above, with
// ERROR_INVALID_PARAMETER for another thread or no procedure.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId);
BOOL UnhookWindowsHookEx(HHOOK hhk);
// Called from a hook procedure: calls the next hook of the chain being run
// (hhk is not needed to find it) and returns its answer; 0 at the end of the
// chain or outside a hook.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);

/* Mouse tracking and dragging. */

// TME_LEAVE posts WM_MOUSELEAVE once the cursor leaves the window; TME_HOVER
// posts WM_MOUSEHOVER once it rests within the hover rectangle for the hover
// time (on the program's clock, checked as the thread retrieves messages).
// Each posts once, then tracking of that kind ends. TME_QUERY fills the
// structure with what is tracked now.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);

// Called while the left button is down at `pt` (screen): takes the mouse
// messages that follow and returns TRUE once the cursor leaves the
// SM_CXDRAG by SM_CYDRAG rectangle around `pt`, FALSE when the button is
// released or Escape is pressed first, or when the button is no longer down
// and no input waits.
BOOL DragDetect(HWND hwnd, POINT pt);

// Milliseconds between the presses of a double click.
UINT GetDoubleClickTime();
