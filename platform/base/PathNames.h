#pragma once

// Helpers shared by the path model and the file functions: listing a host
// folder, joining host paths, and returning strings in caller buffers with the
// usual contract. Names are compared without case through Utf8CompareNoCase
// and Utf8ToLower (TextFunctions.h).

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// The names in a host folder, without "." and "..", sorted by bytes so that
// every walk over a folder sees the same order. Empty when the folder cannot be
// read; `pbOk` (optional) tells that apart from an empty folder.
std::vector<std::string> ListHostFolder(const std::string& strHostFolder, bool* pbOk = nullptr);

// A host path in normal form: no "." or "..", no doubled or trailing slash
// (except "/" itself). Kept relative when given relative.
std::string NormalHostPath(std::string_view strPath);

// Whether the normal host path `strPath` is the folder `strFolder` or lies inside it.
bool IsInHostFolder(std::string_view strPath, std::string_view strFolder);

// Joins a host folder and a name with exactly one slash between them.
std::string JoinHostPath(const std::string& strFolder, std::string_view strName);
// JoinHostPath in place: appends the name to the folder strPath.
void AppendHostName(std::string& strPath, std::string_view strName);

// Copies `str` with its terminating zero into a caller buffer of `cchBuffer`
// characters. Returns the length without the zero when it fits; else the size
// needed including the zero, leaving the buffer untouched. This is the contract
// of GetCurrentDirectory, GetFullPathName, GetEnvironmentVariable and the rest.
DWORD CopyStringToBuffer(std::string_view str, LPTSTR pszBuffer, DWORD cchBuffer);
