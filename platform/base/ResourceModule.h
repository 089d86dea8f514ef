#pragma once

// Resource modules: the files of compiled resources (strings, dialogs, menus,
// accelerators, images, raw data) that the program opens with LoadLibrary and
// addresses by type and numeric ID. Only resource modules can be loaded; there
// is no code in them.
//
// A module's bytes stay in memory, unchanged, from LoadLibrary until its last
// FreeLibrary, so pointers from LockResource and LoadString stay valid as long.

#include "platform/base/ResourceFormat.h"
#include "platform/base/WinTypes.h"

#include <string>

/* Resource names and types. A name or type is a string, or a number from 1 to
   0xFFFF carried in the pointer value itself. */

inline LPTSTR MAKEINTRESOURCE(WORD nId)
{
    return reinterpret_cast<LPTSTR>(static_cast<ULONG_PTR>(nId));
}
inline bool IS_INTRESOURCE(LPCTSTR psz)
{
    return (reinterpret_cast<ULONG_PTR>(psz) >> 16) == 0;
}

// clang-format off
#define RT_CURSOR       MAKEINTRESOURCE(RESOURCE_TYPE_CURSOR)
#define RT_BITMAP       MAKEINTRESOURCE(RESOURCE_TYPE_BITMAP)
#define RT_ICON         MAKEINTRESOURCE(RESOURCE_TYPE_ICON)
#define RT_MENU         MAKEINTRESOURCE(RESOURCE_TYPE_MENU)
#define RT_DIALOG       MAKEINTRESOURCE(RESOURCE_TYPE_DIALOG)
#define RT_STRING       MAKEINTRESOURCE(RESOURCE_TYPE_STRING)
#define RT_ACCELERATOR  MAKEINTRESOURCE(RESOURCE_TYPE_ACCELERATOR)
#define RT_RCDATA       MAKEINTRESOURCE(RESOURCE_TYPE_RCDATA)
#define RT_DLGINIT      MAKEINTRESOURCE(RESOURCE_TYPE_DLGINIT)
#define RT_TOOLBAR      MAKEINTRESOURCE(RESOURCE_TYPE_TOOLBAR)
#define RT_HTML         MAKEINTRESOURCE(RESOURCE_TYPE_HTML)
// clang-format on

// The type of an icon group (the icon in all its sizes). A module keeps each
// icon as one image under RT_ICON, so FindResource finds that image for either type.
constexpr WORD RESOURCE_TYPE_GROUP_ICON = 14;
#define RT_GROUP_ICON MAKEINTRESOURCE(RESOURCE_TYPE_GROUP_ICON)

/* Loading modules. */

// Loads the resource module `lpLibFileName` and returns its instance handle. A
// bare file name is looked for beside the running executable, then in each
// folder of ARCHIVORA_MODULE_PATH (host folders separated by ':'), then in the
// share/archivora folder of the installation the executable belongs to
// (<prefix>/bin/.. /share/archivora). A name with a folder is a program path.
// Loading a module that is already loaded returns the same handle and counts
// one more reference. NULL with ERROR_MOD_NOT_FOUND when no file is found, and
// ERROR_BAD_FORMAT when the file is not a well-formed resource module.
HMODULE LoadLibrary(LPCTSTR lpLibFileName);

// The host path of a read-only program file or folder (a sound, the help
// pages) found as a bare module name is found: beside the executable, in
// ARCHIVORA_MODULE_PATH, then in the installation's share/archivora; the name
// matched exactly or else without regard to case. Empty when none is found.
std::string FindProgramDataFile(const std::string& strName);

// Drops one reference; the module is unloaded with its last one.
BOOL FreeLibrary(HMODULE hLibModule);

// The handle of a loaded module, by file name (case-insensitive) or full path;
// NULL names the program itself, which holds no resources of its own.
HMODULE GetModuleHandle(LPCTSTR lpModuleName);

/* Finding and reading resources. A NULL module means the program itself. */

// NULL with ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND when
// the module has no such resource. Names compare without regard to case;
// "#123" names number 123.
HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
// The first byte of the resource's data; it is read-only.
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
// Resources are freed with their module; this does nothing and returns FALSE.
BOOL FreeResource(HGLOBAL hResData);

// Copies string `uID` into `lpBuffer` and NUL-terminates it, cutting it at a
// character boundary to fit `cchBufferMax` bytes with the NUL. Returns the
// number of bytes copied, without the NUL; 0 when the string is missing. With
// `cchBufferMax` 0, stores a read-only pointer to the string itself (not
// NUL-terminated) in *(LPCTSTR*)lpBuffer and returns its full length.
int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int cchBufferMax);

/* The current resource module: where the class library looks for resources.
   Until one is set it is the program itself. */

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
