#pragma once

// The link between the windows and the display backend. The headless display
// is used until a backend is installed; the window layer tells the installed
// display about its top-level windows and takes its input.

#include "platform/display/Display.h"

class CHeadlessDisplay;
class CTrayHost;

// Installs a display (nullptr: the headless one again) and returns the
// previous one (nullptr for the headless one); the caller keeps ownership and
// installs it before creating windows. The display's input goes to
// InjectMouseEvent and InjectKeyEvent.
CDisplay* SetDisplay(CDisplay* pDisplay);

// The installed display's tray (CDisplay::GetTrayHost); nullptr for none.
CTrayHost* GetDisplayTrayHost();
// The headless display, installed or not, for the test driver.
CHeadlessDisplay& GetHeadlessDisplay();
