#pragma once

// Shortcut files (".lnk"): telling them by name and reading their target as
// written, without resolving it (no search for a moved target).

#include "platform/base/FileFind.h"

// TRUE when the text after the last "." is "lnk", whatever its case.
BOOL IsShortcutFile(LPCTSTR pszPath);

// Reads the target of the shortcut pszPath (pwszPath the same path in UTF-16)
// into pszTarget (MAX_PATH bytes) and its find data into pFindData. On failure
// FALSE with the last error: ERROR_INVALID_PARAMETER for a missing argument,
// ERROR_INVALID_NAME for a path that is no shortcut, ERROR_INVALID_DATA when
// the file cannot be read as one. On success the last error is cleared.
BOOL ReadShortcutTarget(LPCTSTR pszPath, LPCWSTR pwszPath, LPTSTR pszTarget, WIN32_FIND_DATA* pFindData);

// The target of the shortcut pszPath in pszTarget (MAX_PATH bytes); returns
// pszTarget, or null on failure.
LPTSTR ResolveShortcut(LPTSTR pszTarget, LPCTSTR pszPath);
