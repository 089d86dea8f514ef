#pragma once

// The link between the windows and the display backend. The headless display
// is used until a backend is installed; the window layer tells the installed
// display about its top-level windows and takes its input.

#include "platform/display/Display.h"

// Installs a display (nullptr: the headless one again) and returns the
// previous one; the caller keeps ownership and installs before creating windows.
CDisplay* SetDisplay(CDisplay* pDisplay);
