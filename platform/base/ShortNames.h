#pragma once

// Short (8.3) names. A name that is already a valid 8.3 name ("readme.txt",
// any case) is its own short name. Every other name of a folder gets one made
// from it: spaces and dots are dropped except the last dot, which starts the
// extension; ASCII letters are upper-cased; characters that 8.3 names cannot
// hold (+ , ; = [ ] and every non-ASCII character) become "_". The stem is cut
// so that stem + "~N" fits in eight characters, and the extension to three:
// "Annual report.html" -> "ANNUAL~1.HTM".
//
// The numbers are a function of the folder's content alone: the names that need
// a short name are taken in byte order, and each gets the lowest N whose short
// name is not yet taken in the folder, by an 8.3 name of the folder or by a
// short name given before. So a folder gives the same short names every time
// it is read, and a short name resolves back to its long name as long as the
// folder keeps its names; adding or removing a name may renumber its siblings.

#include "platform/base/WinTypes.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// Whether a name is a valid 8.3 name in any case.
bool IsShortName(std::string_view strName);

// The generated short names of a folder's names, for those names that are not
// 8.3 names themselves (long name -> short name).
std::map<std::string, std::string> ShortNamesForFolder(const std::vector<std::string>& names);

// The short name of `strName` among the names of its folder: the name itself
// when it is an 8.3 name, else the generated one.
std::string ShortNameInFolder(const std::vector<std::string>& names, const std::string& strName);

// The path with every component in its short form. The path must exist (else 0
// with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND); the result is absolute.
// Returns the length, or the size needed including the zero when the buffer is
// too small. The buffers may be the same.
DWORD GetShortPathName(LPCTSTR lpszLongPath, LPTSTR lpszShortPath, DWORD cchBuffer);

// The path with every component in its long form, as the host spells it; the
// reverse of GetShortPathName, with the same contract.
DWORD GetLongPathName(LPCTSTR lpszShortPath, LPTSTR lpszLongPath, DWORD cchBuffer);
