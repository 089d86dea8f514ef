#pragma once

// The program-wide globals set up once at start-up and released at exit.

#include "platform/framework/CGdiObject.h"
#include "store/CRegistryKey.h"

// HKCU "SOFTWARE\KD\Archivora Plus\Default", parent of "Preferences".
extern CRegistryKey g_regKeyDefault;
// HKCU "SOFTWARE\KD\Archivora Plus\Desktop": the window layouts.
extern CRegistryKey g_regKeyDesktop;
// HKLM "Software\Classes", whose handle the file-type services use directly.
extern CRegistryKey g_regKeyClasses;
// The palette controls realise before painting; null, as the display has more
// than 256 colours and needs none.
extern CPalette* g_appPalette;

// Takes the time locale from the user's language and opens the global keys
// (creating the two user keys when missing) for the whole run.
void InitAppGlobals();
// Closes the global keys.
void FreeAppGlobals();
