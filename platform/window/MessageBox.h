#pragma once

// Message boxes: modal dialogs built in code with an icon, a text wrapped to
// fit, and a row of buttons. They run like any modal dialog, so the thread's
// modal dialog hook (Dialog.h) sees them too; the text is the control with ID
// MESSAGEBOX_TEXT_ID, and the buttons carry the IDOK... IDs they return.

#include "platform/window/WindowTypes.h"

// clang-format off
/* Buttons. */
constexpr UINT MB_OK                = 0x00000000;
constexpr UINT MB_OKCANCEL          = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE  = 0x00000002;
constexpr UINT MB_YESNOCANCEL       = 0x00000003;
constexpr UINT MB_YESNO             = 0x00000004;
constexpr UINT MB_RETRYCANCEL       = 0x00000005;
constexpr UINT MB_TYPEMASK          = 0x0000000F;

/* Icons. */
constexpr UINT MB_ICONHAND          = 0x00000010;
constexpr UINT MB_ICONQUESTION      = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION   = 0x00000030;
constexpr UINT MB_ICONASTERISK      = 0x00000040;
constexpr UINT MB_ICONSTOP          = MB_ICONHAND;
constexpr UINT MB_ICONERROR         = MB_ICONHAND;
constexpr UINT MB_ICONWARNING       = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION   = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK          = 0x000000F0;

/* Default button. */
constexpr UINT MB_DEFBUTTON1        = 0x00000000;
constexpr UINT MB_DEFBUTTON2        = 0x00000100;
constexpr UINT MB_DEFBUTTON3        = 0x00000200;
constexpr UINT MB_DEFMASK           = 0x00000F00;

/* Modality; every message box is modal to its owner here. */
constexpr UINT MB_APPLMODAL         = 0x00000000;
constexpr UINT MB_SYSTEMMODAL       = 0x00001000;
constexpr UINT MB_TASKMODAL         = 0x00002000;
constexpr UINT MB_SETFOREGROUND     = 0x00010000;
constexpr UINT MB_TOPMOST           = 0x00040000;
// clang-format on

// The control holding a message box's text.
constexpr int MESSAGEBOX_TEXT_ID = 0xFFFF;

// The buttons are of the standard "Button" class, which the caller registers
// first (RegisterStandardControls); the class library's message boxes do.
// Shows the message box, owned by hWnd's top-level window (disabled while it
// runs), and returns the ID of the button pressed: Escape and the close box
// give IDCANCEL when there is a Cancel button, IDOK for a lone OK button, and
// do nothing otherwise. The caption defaults to "Error". Returns 0 when the
// box could not be made (ERROR_INVALID_PARAMETER for an unknown button set).
int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

/* Beeps. There is no sound here: each beep is counted, so that tests can
   see that the program beeped and with which type. */

// uType: 0xFFFFFFFF (the simple beep), MB_OK or an MB_ICON* value. Always TRUE.
BOOL MessageBeep(UINT uType);
// The beeps so far in this process, and the type of the last one (0 before any).
ULONG GetMessageBeepCount();
UINT GetLastMessageBeepType();
