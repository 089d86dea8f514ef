#pragma once

// The program's help: one file of pages, "Archhlp.chm" in the program folder,
// each page named after the dialogs it explains. A help context is a dialog's
// resource ID plus HID_BASE_RESOURCE; a context without a page of its own gets
// the general "HELP.GIF".

#include "platform/base/WinTypes.h"

// The help file's name, in the program folder.
constexpr char HELP_FILE_NAME[] = "Archhlp.chm";

// The page of a help context; never null.
LPCTSTR HelpPageOfContext(DWORD_PTR dwContext);
