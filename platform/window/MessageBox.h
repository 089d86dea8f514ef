#pragma once

// Message boxes: modal dialogs built in code with an icon, a text wrapped to
// fit, and a row of buttons. They run like any modal dialog, so the thread's
// modal dialog hook (Dialog.h) sees them too; the text is the control with ID
// MESSAGEBOX_TEXT_ID, and the buttons carry the IDOK... IDs they return.

#include "platform/base/MessageBoxCodes.h"
#include "platform/window/WindowTypes.h"

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
