#pragma once

// HtmlHelp: the program's help pages, kept as a folder of HTML pages named
// like the help file without its extension ("Archhlp.chm" -> "Archhlp"), beside
// the help file's path or where the read-only program files are
// (ResourceModule.h). HH_DISPLAY_TOPIC with "<help file>::/<page>" opens the
// page with xdg-open (through LaunchProgram); when the page or xdg-open is not
// there, a message box owned by hwndCaller says "Help is not installed
// (<page>)." The help files themselves are not read.

#include "platform/window/WindowTypes.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;

// Always NULL (no help window of ours); the last error is ERROR_SUCCESS when
// the page was opened, ERROR_FILE_NOT_FOUND when it was not, and
// ERROR_NOT_SUPPORTED for other commands.
HWND HtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);
