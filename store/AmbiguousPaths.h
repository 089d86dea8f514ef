#pragma once

// Catalog paths are kept in lower case, while a host folder may hold names
// that differ only in case ("Report.txt" and "report.txt"). Such a path names
// more than one file, and the catalog cannot tell which one it catalogued, so
// an action on it reads, changes or deletes nothing: it refuses and says so.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The message about pszPath.
CString FormatAmbiguousPath(LPCTSTR pszPath);
// TRUE when pszPath names at most one file or folder; else reports the
// message through the store's handler, under pszTitle, and returns FALSE.
BOOL CheckPathUnambiguous(LPCTSTR pszPath, LPCTSTR pszTitle);
