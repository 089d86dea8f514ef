#pragma once

// The program folder: where the catalogs, logs and settings live. It is the
// folder named by the environment variable ARCHIVORA_HOME, else
// ~/.local/share/archivora; it is created on first use.
//
// The program sees itself as "archivora.exe" in that folder, and the folder
// also serves as its Windows and system directory, so that files the program
// keeps "in the Windows directory" (.ini files) stay with its other settings.

#include "platform/base/WinTypes.h"

#include <string>

// The host path of the program folder, without a trailing slash.
std::string GetProgramFolderHostPath();

// TRUE when the program path names the program folder or something in it,
// with links resolved as far as they exist: a link to the folder, or a path
// through one, lies in it too.
BOOL IsInProgramFolder(LPCTSTR pszPath);

// The program path of the program's file, "<program folder>\archivora.exe".
// Every module handle (nullptr included) names the program, which is one
// module. Copies at most nSize characters with the zero; when that cuts the
// path, returns nSize with ERROR_INSUFFICIENT_BUFFER, else the length.
DWORD GetModuleFileName(HMODULE hModule, LPTSTR lpFilename, DWORD nSize);

// The program folder as a program path; the length, or the size needed
// including the zero when the buffer is too small.
UINT GetWindowsDirectory(LPTSTR lpBuffer, UINT uSize);
UINT GetSystemDirectory(LPTSTR lpBuffer, UINT uSize);
