#pragma once

// Folder searches: FindFirstFile, FindNextFile and FindClose.
//
// A search lists the folder once, when it starts, in a fixed order: "." and
// ".." first (every folder but a drive or share root has them), then the names
// by case-folded order, byte order breaking ties. Names are matched against the
// pattern case-insensitively, by their long and their short name. Mount points
// of pseudo file systems (see DriveTable.h) are left out. Symbolic links and
// folders that are another drive's root carry FILE_ATTRIBUTE_REPARSE_POINT, so
// a walk over a tree neither loops nor visits a file twice. A pattern without
// wildcards looks one name up as the path map does (case, short names).

#include "platform/base/FileFunctions.h"
#include "platform/base/WinTypes.h"

#include <string_view>

// One entry of a search.
struct WIN32_FIND_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    TCHAR cFileName[MAX_PATH];    // The host's name (a host name is at most 255 bytes)
    TCHAR cAlternateFileName[14]; // The short name; empty when the name is a short name itself
};
using LPWIN32_FIND_DATA = WIN32_FIND_DATA*;

// Starts a search for `lpFileName` ("C:\x\*.txt"). Returns a handle for
// FindNextFile and FindClose and fills in the first entry; INVALID_HANDLE_VALUE
// with ERROR_FILE_NOT_FOUND when nothing matches, ERROR_PATH_NOT_FOUND when the
// folder does not exist.
HANDLE FindFirstFile(LPCTSTR lpFileName, LPWIN32_FIND_DATA lpFindFileData);
// The next entry; FALSE with ERROR_NO_MORE_FILES at the end.
BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATA lpFindFileData);
// Ends a search; ERROR_INVALID_HANDLE for anything but a live search handle.
BOOL FindClose(HANDLE hFindFile);

// Whether `strName` matches a file pattern as Windows matches them: "*" is any
// run of characters, "?" one character, or none at the end of the name or
// before a dot; "*.*" matches every name, names without a dot too, and a
// pattern ending in ".*" also matches the names without that extension. Case is
// ignored, for all of Unicode.
bool MatchesFilePattern(std::string_view strPattern, std::string_view strName);
