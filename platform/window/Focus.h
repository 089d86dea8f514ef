#pragma once

// The keyboard focus and the active window.
//
// Activating a top-level window: the window losing activation gets
// WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE, the new window); when the
// program had no active window, every top-level window gets
// WM_ACTIVATEAPP(TRUE); the new window comes to the top of the z-order and
// gets WM_NCACTIVATE(TRUE) and WM_ACTIVATE(WA_ACTIVE or WA_CLICKACTIVE, the
// old window), whose default handling gives it the focus. Activating nothing
// sends WM_ACTIVATEAPP(FALSE) and takes the focus away.
//
// Moving the focus: the window losing it gets WM_KILLFOCUS with the new focus
// window, then the new one gets WM_SETFOCUS with the old. GetFocus returns the
// new window from the moment WM_KILLFOCUS returns. Focusing a window in an
// inactive top-level window activates that top-level window first.
//
// Windows coming and going (Window.h):
//   - showing a top-level window activates it: ShowWindow with SW_SHOW,
//     SW_SHOWNORMAL, SW_RESTORE, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED or
//     SW_SHOWDEFAULT (also when it was visible already), SetWindowPos without
//     SWP_NOACTIVATE, CreateWindowEx with WS_VISIBLE. SW_SHOWNA,
//     SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_MINIMIZE, SW_FORCEMINIMIZE and
//     windows with WS_EX_NOACTIVATE leave the activation alone;
//   - hiding or destroying the active window activates its owner when the
//     owner is visible, else the topmost visible, enabled top-level window of
//     the same thread that it does not own (tool windows and WS_EX_NOACTIVATE
//     windows are passed over), else none;
//   - hiding or destroying a child window that holds the focus, or contains
//     it, moves the focus to the child's parent (WM_KILLFOCUS, WM_SETFOCUS).

#include "platform/window/WindowTypes.h"

/* WM_ACTIVATE kinds. */
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2; // activated by a mouse press

// Returns the previous focus window; NULL (ERROR_INVALID_WINDOW_HANDLE) for a
// bad window. NULL takes the focus away from every window.
HWND SetFocus(HWND hWnd);
HWND GetFocus();

// Activates the top-level window of hWnd; returns the previously active window.
HWND SetActiveWindow(HWND hWnd);
HWND GetActiveWindow();
// There is one program on this display: the same as SetActiveWindow.
BOOL SetForegroundWindow(HWND hWnd);
HWND GetForegroundWindow();

// Activates as a mouse click does (WA_CLICKACTIVE); for the input routing.
void ActivateWindowByClick(HWND hTop);

// The window that holds hWnd's input: hWnd itself while it is enabled; when a
// modal window disabled it, that window (a dialog, a message box, never a
// tool window, a tip or a menu), followed down while it is disabled in turn.
// A tool window whose owner a modal window disabled goes with its owner.
// NULL when the chain ends in no such window.
HWND GetModalHolder(HWND hWnd);
