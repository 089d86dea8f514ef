#pragma once

// SHFileOperation: copying, moving and deleting files and folders as the
// desktop does it, with confirmations, a progress window, the recycle bin
// (RecycleBin.h) and name mappings. Runs on the calling thread, which must be
// the thread of hwnd when one is given; messages are pumped between items and
// during long copies, so the program's windows keep painting.
//
// pFrom holds names separated by a NUL and ended by two; a last component
// with "*" or "?" names the matching items of its folder, dot-names included
// ("*.*" is every name). pTo holds one name: an existing folder receives the
// items; else, with one source, it is the new name; missing folders are made.
//
// Guarantees: a copy never leaves a partial target (it is made under a
// temporary name and renamed into place once complete), a move across file
// systems removes its source only after the copy is complete, and a failure
// stops the operation: later names are not tried.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr UINT FO_MOVE   = 0x0001;
constexpr UINT FO_COPY   = 0x0002;
constexpr UINT FO_DELETE = 0x0003;
constexpr UINT FO_RENAME = 0x0004; // refused

using FILEOP_FLAGS = WORD;
constexpr FILEOP_FLAGS FOF_MULTIDESTFILES     = 0x0001; // refused
constexpr FILEOP_FLAGS FOF_CONFIRMMOUSE       = 0x0002; // refused
constexpr FILEOP_FLAGS FOF_SILENT             = 0x0004; // no progress window
constexpr FILEOP_FLAGS FOF_RENAMEONCOLLISION  = 0x0008; // refused
constexpr FILEOP_FLAGS FOF_NOCONFIRMATION     = 0x0010; // replace and delete without asking
constexpr FILEOP_FLAGS FOF_WANTMAPPINGHANDLE  = 0x0020; // fill hNameMappings when something was renamed
constexpr FILEOP_FLAGS FOF_ALLOWUNDO          = 0x0040; // deleting: into the recycle bin
constexpr FILEOP_FLAGS FOF_FILESONLY          = 0x0080; // wildcards match files only
constexpr FILEOP_FLAGS FOF_SIMPLEPROGRESS     = 0x0100; // accepted
constexpr FILEOP_FLAGS FOF_NOCONFIRMMKDIR     = 0x0200; // accepted: folders are made without asking
constexpr FILEOP_FLAGS FOF_NOERRORUI          = 0x0400; // no message box for a failure
// clang-format on

struct SHFILEOPSTRUCT {
    HWND hwnd;                  // owner of message boxes and the progress window
    UINT wFunc;                 // FO_*
    LPCSTR pFrom;               // names, each ended by a NUL, the list by two
    LPCSTR pTo;                 // one name (FO_COPY, FO_MOVE)
    FILEOP_FLAGS fFlags;        // FOF_*
    BOOL fAnyOperationsAborted; // out: the user stopped it (Cancel, No to a deletion)
    LPVOID hNameMappings;       // out: see SHNAMEMAPPINGHEADER
    LPCSTR lpszProgressTitle;   // the progress window's caption; NULL for "Copying" etc.
};
using LPSHFILEOPSTRUCT = SHFILEOPSTRUCT*;

// A renaming the operation made: a copy onto its own source became "Copy of
// <name>". Paths are UTF-16 program paths; lengths in characters.
struct SHNAMEMAPPINGW {
    LPWSTR pszOldPath;
    LPWSTR pszNewPath;
    int cchOldPath;
    int cchNewPath;
};
using LPSHNAMEMAPPINGW = SHNAMEMAPPINGW*;

// What hNameMappings points at: NULL unless FOF_WANTMAPPINGHANDLE was given
// and something was renamed, so a non-NULL handle always has an entry.
// Callers index the typed array (an entry is 24 bytes on this build).
struct SHNAMEMAPPINGHEADER {
    UINT cNumOfMappings;
    LPSHNAMEMAPPINGW lpNM;
};

// 0 on success, else the Win32 error of the first failure: ERROR_INVALID_PARAMETER
// for a refused function or flag or no names, ERROR_CANCELLED when the user
// stopped it, ERROR_PATH_NOT_FOUND for a wildcard whose folder is missing
// (without a message box). A wildcard that matches nothing succeeds. Without
// FOF_NOERRORUI a failure is also shown in a message box owned by hwnd.
int SHFileOperation(LPSHFILEOPSTRUCT lpFileOp);

// Frees hNameMappings; NULL is accepted.
void SHFreeNameMappings(HANDLE hNameMappings);

// How long an operation runs before its progress window shows (real time;
// one second unless a test sets another). Returns the previous delay.
DWORD SetFileOperationProgressDelay(DWORD dwMilliseconds);
