#pragma once

// The shell's parsing name of a file-system item: the name by which the shell
// finds the item again and which it shows as the item's full path.

#include "platform/base/CString.h"

// The parsing name of the item at pszPath: the full path, made absolute
// through the current directory, with "." and ".." folded, no trailing
// separator (except a drive's root, "C:\"), and every existing component
// spelt as the file system spells it (its case, its long name for a short
// one). Components that do not exist are kept as given. A path that cannot
// be parsed (empty, a bad drive, characters names cannot hold) is returned
// unchanged.
CString GetShellParsingName(LPCTSTR pszPath);
