#pragma once

// The process environment, as the program reads and changes it. Names are
// matched exactly first, then case-insensitively (the first in byte order of
// the names that match), since the program spells them as Windows does
// ("Path", "TEMP"). Reads and writes through these calls are serialized.

#include "platform/base/WinTypes.h"

// The value of `lpName`: its length, or the size needed including the zero
// when the buffer is too small; 0 with ERROR_ENVVAR_NOT_FOUND when unset (an
// empty value also gives 0, with the last error cleared).
DWORD GetEnvironmentVariable(LPCTSTR lpName, LPTSTR lpBuffer, DWORD nSize);

// Sets `lpName` to `lpValue`, or removes it when `lpValue` is nullptr. FALSE
// with ERROR_INVALID_PARAMETER for an empty name or one holding "=".
BOOL SetEnvironmentVariable(LPCTSTR lpName, LPCTSTR lpValue);

// Replaces every "%NAME%" of `lpSrc` with the variable's value; unknown names
// and lone "%" stay as they are. Returns the size of the result including the
// zero, whether or not it fit in `nSize`; 0 on failure.
DWORD ExpandEnvironmentStrings(LPCTSTR lpSrc, LPTSTR lpDst, DWORD nSize);
