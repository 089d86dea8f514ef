#pragma once

// Case-insensitive comparing and wildcard matching of names and texts. In a
// mask "*" stands for any run of characters (none included) and "?" for
// exactly one character; every other character stands for itself, case aside.
// A null text or mask counts as an empty one.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// TRUE when the file name matches the mask, base name and extension matched
// separately: "~*.*" matches every name starting with "~", "*.tmp" every name
// whose extension is "tmp". A mask without "." matches only names without one.
BOOL MatchFileMask(LPCTSTR pszName, LPCTSTR pszMask);

// TRUE when the whole lower-cased text matches the lower-cased mask.
BOOL MatchTextNoCase(LPCTSTR pszText, LPCTSTR pszMask);

// -1, 0 or 1 as the first text sorts before, with or after the second, both
// lower-cased.
int CompareNoCase(const CString& strText1, const CString& strText2);
