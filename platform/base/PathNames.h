#pragma once

// Helpers shared by the path model and the file functions: comparing names the
// way the program expects (case-insensitively, for all of Unicode), listing a
// host folder, and returning strings in caller buffers with the usual contract.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// The characters of a UTF-8 name with their case folded (lower case), one code
// point per element. Bytes that are not valid UTF-8 become U+DC80..U+DCFF, so
// two different names never fold to the same string unless they differ in case.
std::u32string FoldPathName(std::string_view strName);

// Whether two names are equal when case is ignored.
bool PathNamesEqualNoCase(std::string_view strFirst, std::string_view strSecond);

// The names in a host folder, without "." and "..", sorted by bytes so that
// every walk over a folder sees the same order. Empty when the folder cannot be
// read; `pbOk` (optional) tells that apart from an empty folder.
std::vector<std::string> ListHostFolder(const std::string& strHostFolder, bool* pbOk = nullptr);

// Joins a host folder and a name with exactly one slash between them.
std::string JoinHostPath(const std::string& strFolder, std::string_view strName);

// Copies `str` with its terminating zero into a caller buffer of `cchBuffer`
// characters. Returns the length without the zero when it fits; else the size
// needed including the zero, leaving the buffer untouched. This is the contract
// of GetCurrentDirectory, GetFullPathName, GetEnvironmentVariable and the rest.
DWORD CopyStringToBuffer(std::string_view str, LPTSTR pszBuffer, DWORD cchBuffer);
