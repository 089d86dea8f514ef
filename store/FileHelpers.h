#pragma once

// File-system helpers on program paths: examining a folder before the program
// writes into it, creating a folder with its missing parents, and renaming and
// deleting files without exceptions.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// Checks and result bits of CheckFolder. The first two are always made.
// clang-format off
constexpr DWORD FOLDER_UNUSABLE   = 0x01; // Cannot be reached, is no folder, or no existing parent is left
constexpr DWORD FOLDER_MISSING    = 0x02; // Does not exist; the nearest existing parent's bits are added
constexpr DWORD FOLDER_WRITABLE   = 0x04; // A probe file could be created in it and removed
constexpr DWORD FOLDER_REMOVABLE  = 0x08; // On a removable medium
constexpr DWORD FOLDER_NETWORK    = 0x10; // On a network drive or share
constexpr DWORD FOLDER_NO_PARENT  = 0x20; // A root: the folder has no parent
constexpr DWORD FOLDER_LONG_NAMES = 0x40; // The volume allows names longer than 12 characters
// clang-format on

// The name of the probe file that the writable check creates and removes.
constexpr const char* FOLDER_PROBE_FILE_NAME = "wcheckwr.war";

// Examines a folder. `dwFlags` asks for the optional checks (FOLDER_WRITABLE,
// FOLDER_REMOVABLE, FOLDER_NETWORK, FOLDER_LONG_NAMES) and is always ORed with
// 3; the result holds the bits that apply. With flags 12 a result of exactly
// FOLDER_WRITABLE means an existing, writable folder on a fixed medium. A
// folder marked read-only counts as not writable without a probe. A missing
// folder gives FOLDER_MISSING and the bits of its nearest existing parent, so
// that callers can tell whether it can be created there.
DWORD CheckFolder(LPCTSTR pszPath, DWORD dwFlags);

// Creates every missing folder of the path from its root down, checking each
// level with CheckFolder. TRUE when the whole path exists as a folder
// afterwards; FALSE when a level is unusable or cannot be created.
BOOL CreateFolderPath(LPCTSTR pszPath);

// Renames a file or folder. FALSE when the new name exists already or the
// rename fails; the last error tells why.
BOOL RenameFileSafe(LPCTSTR pszOldPath, LPCTSTR pszNewPath);

// Deletes a file after clearing its read-only attribute. 0 when the file does
// not exist, 1 otherwise, also when the delete itself failed.
int DeleteFileForced(LPCTSTR pszPath);

// A copy of the program folder's path (where the catalogs, the trace log and
// the settings live) as a program path ending in "\". The folder is created
// when it is missing.
CString GetProgramFolder();
