#pragma once

// The standard controls as window classes: "Static", "Button", "ScrollBar",
// "Edit", "ListBox" and "ComboBox", registered as global classes
// (CS_GLOBALCLASS), so that CreateWindowEx finds them by name, in any case,
// whatever instance handle it is given.
//
// Registration is explicit and happens once per process: whoever creates
// controls by class name (the dialog manager, the class library's control
// wrappers) calls RegisterStandardControls first. The window layer does not
// call it, because it sits below the controls.
//
// Every control keeps its font (WM_SETFONT, WM_GETFONT; 0 is the DC's default
// font), asks its parent for colours before painting with the WM_CTLCOLOR*
// message of its kind (a parent answering 0 leaves the classic system colours
// in place), and reports to its parent with WM_COMMAND: the notification code
// in the high word of wParam, the control ID in the low word, the control in
// lParam.

#include "platform/window/WindowTypes.h"

// Registers every standard control class; later calls do nothing. TRUE once
// the classes exist.
BOOL RegisterStandardControls();
