#pragma once

// ShellExecute and ShellExecuteEx: opening a document, folder, URL or program
// as the desktop opens it. Only the verbs "open" and NULL exist. What starts:
//
//   a URL (a scheme of two or more letters)      xdg-open <url>
//   a folder                                     xdg-open <host folder>
//   a launcher (a name ending ".desktop")        its Exec line, the parameters as its files or URLs
//   the program's own file (GetModuleFileName)   this executable
//   an executable file                           that program
//   another file                                 xdg-open <host path>, when the desktop has an
//                                                application for its type; else SE_ERR_NOASSOC
//   nothing there                                SE_ERR_FNF
//
// Parameters are split by the Windows rules, and each that is an absolute
// program path on an existing drive or share is passed as its host path.
// lpDirectory (a program path) becomes the working folder. Every start goes
// through LaunchProgram (ProgramLaunch.h).

#include "platform/base/Registry.h"
#include "platform/base/WinTypes.h"

// clang-format off
constexpr int SE_ERR_FNF      = 2;  // the file is not there
constexpr int SE_ERR_PNF      = 3;  // the folder is not there
constexpr int SE_ERR_NOASSOC  = 31; // nothing opens it (or an unknown verb)

constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040; // hProcess is never filled: NULL
constexpr ULONG SEE_MASK_FLAG_NO_UI     = 0x00000400;
// clang-format on

struct SHELLEXECUTEINFO {
    DWORD cbSize; // any non-zero size
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp; // out: as ShellExecute returns
    LPVOID lpIDList;
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess; // out: NULL
};
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

// A value above 32 when the start succeeded, else SE_ERR_* (as a handle), with
// the last error set (ERROR_FILE_NOT_FOUND, ERROR_NO_ASSOCIATION, ...).
HINSTANCE ShellExecute(
    HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory, INT nShowCmd);
// TRUE when the start succeeded; hInstApp as ShellExecute returns.
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo);
