#pragma once

// Files and folders dropped from the shell on the recycle bin: after the user
// confirms it, files go to the system's bin and into the recycle-bin catalog
// (a catalogued one takes its entry along); a folder gives up the files below
// it and stays itself. Files of a removable or CD drive, which no bin keeps,
// are deleted for good and not entered.

#include "platform/base/WinTypes.h"

class CCatalog;
struct CDroppedShellItems;

// pszNameMask chooses the files taken from dropped folders ("*" for all).
// 0 always; the program's windows are told the catalog changed.
int LixeiraProcessSelection(
    CCatalog* pMain, CCatalog* pBin, const CDroppedShellItems& items, LPCTSTR pszNameMask = "*");
