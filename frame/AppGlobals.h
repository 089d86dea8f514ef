#pragma once

// The program-wide globals set up once at start-up and released at exit.

#include "platform/framework/CGdiObject.h"
#include "store/CRegistryKey.h"
#include "ui/AppPalette.h"

// The key of the program's user settings below HKEY_CURRENT_USER.
constexpr char PRODUCT_KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus";
// Its subkeys of the program-wide keys below.
constexpr char DEFAULT_KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Default";
constexpr char DESKTOP_KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Desktop";

// HKCU "SOFTWARE\KD\Archivora Plus\Default", parent of "Preferences".
extern CRegistryKey g_regKeyDefault;
// HKCU "SOFTWARE\KD\Archivora Plus\Desktop": the window layouts.
extern CRegistryKey g_regKeyDesktop;
// HKLM "Software\Classes", whose handle the file-type services use directly.
extern CRegistryKey g_regKeyClasses;
// The menu font of the non-client metrics at weight 400 and at weight 700
// (the popup lists' normal and selected rows, and their measuring).
extern CFont g_fontMenu;
extern CFont g_fontMenuBold;

// Takes the time locale from the user's language, opens the global keys
// (creating the two user keys when missing) for the whole run and makes the
// shared fonts. It also ties the preferences object to the window layer:
// registers its clipboard format and has the general sheet's colour changes
// sent to the main window as "APPM TrocarCores" (wParam 0, lParam 0).
void InitAppGlobals();
// Closes the global keys and deletes the shared fonts.
void FreeAppGlobals();

// Empties the program's user settings: closes the two user keys, deletes the
// product key with everything below it and creates both keys again. FALSE when
// the old settings could not be deleted or a key could not be made again (the
// keys are open again whenever they can be).
BOOL ResetAppRegistryKeys();
