#pragma once

// The class library's message boxes: owned by the active window (else the main
// window), with the application's name as caption.

#include "platform/window/MessageBox.h"

// nType: MB_ buttons, icon and default button. Returns the ID of the button pressed.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string resource nIDPrompt of the current resource module.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));
