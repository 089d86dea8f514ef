#pragma once

// The class library's message boxes: owned by the active window (else the main
// window), with the application's name as caption.

#include "platform/window/MessageBox.h"

// The window a message box belongs to: the active one, else the main window;
// when that one is disabled under a modal window of its own (a dialog, a
// wizard), the modal window the chain ends in, whichever window the desktop
// left active. The box then holds the input of the window the user works in,
// and gives it back to that window, not to one a modal loop still holds.
HWND AfxGetMessageBoxOwner();

// nType: MB_ buttons, icon and default button. Returns the ID of the button pressed.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string resource nIDPrompt of the current resource module.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));
