#pragma once

// Case-insensitive comparing and wildcard matching of names and texts. In a
// mask "*" stands for any run of characters (none included) and "?" for
// exactly one character; every other character stands for itself, case aside.
// A null text or mask counts as an empty one.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

// TRUE when the file name matches the mask, base name and extension matched
// separately: "~*.*" matches every name starting with "~", "*.tmp" every name
// whose extension is "tmp". A mask without "." matches only names without one.
BOOL MatchFileMask(LPCTSTR pszName, LPCTSTR pszMask);

// A file name or mask split into base and extension and lower-cased once, so
// that many names meet many masks without doing that again each time.
struct CSplitFileName {
    std::string strBase;
    std::string strExtension;
};
CSplitFileName SplitLowerFileName(LPCTSTR pszNameOrMask);
// MatchFileMask of the name and the mask both split that way.
bool MatchSplitFileMask(const CSplitFileName& name, const CSplitFileName& mask);
// The same for a name given as its lower-cased base and extension.
bool MatchSplitFileMask(std::string_view strBase, std::string_view strExtension, const CSplitFileName& mask);

// TRUE when the whole lower-cased text matches the lower-cased mask.
BOOL MatchTextNoCase(LPCTSTR pszText, LPCTSTR pszMask);

// -1, 0 or 1 as the first text sorts before, with or after the second, both
// lower-cased.
int CompareNoCase(const CString& strText1, const CString& strText2);
