#pragma once

// Shortcuts as the program reads them: CoCreateInstance(CLSID_ShellLink, ...,
// IID_IShellLinkA), then IID_IPersistFile to Load a file. ".lnk" files are read
// with our reader of the public format (LnkFile.h); ".desktop" launchers with
// the desktop's key-file reader. Nothing here writes a shortcut: the setters,
// Save and the other writers answer E_NOTIMPL.
//
// GetPath of a ".lnk": the local base path with the common path suffix, else
// the share name, "\" and the suffix, else (SLGP_RAWPATH) the environment
// block's target as written, else the relative path from the link's folder; a
// link that only holds an item id list has no target we can read (E_FAIL).
// The find data come from the link's header. GetPath of a ".desktop": a Link
// launcher's file URL as a program path (other URLs as text), an Application
// launcher itself.

#include "platform/base/Com.h"
#include "platform/base/FileFind.h"
#include "platform/shell/ItemIdList.h"

constexpr CLSID CLSID_ShellLink = SystemGuid(0x00021401);
constexpr IID IID_IShellLinkA = SystemGuid(0x000214EE);
constexpr IID IID_IPersist = SystemGuid(0x0000010C);
constexpr IID IID_IPersistFile = SystemGuid(0x0000010B);

// clang-format off
constexpr DWORD SLGP_SHORTPATH   = 0x1;
constexpr DWORD SLGP_UNCPRIORITY = 0x2;
constexpr DWORD SLGP_RAWPATH     = 0x4; // environment strings as written

constexpr DWORD SLR_NO_UI = 0x1; // never shows a window here; the time-out in the high word is not needed

constexpr DWORD STGM_READ             = 0x00000000;
constexpr DWORD STGM_SHARE_DENY_WRITE = 0x00000020;
// clang-format on

struct IShellLinkA : IUnknown {
    virtual HRESULT GetPath(LPSTR pszFile, int cch, WIN32_FIND_DATA* pfd, DWORD fFlags) = 0;
    virtual HRESULT GetIDList(LPITEMIDLIST* ppidl) = 0;
    virtual HRESULT SetIDList(LPCITEMIDLIST pidl) = 0;
    virtual HRESULT GetDescription(LPSTR pszName, int cch) = 0;
    virtual HRESULT SetDescription(LPCSTR pszName) = 0;
    virtual HRESULT GetWorkingDirectory(LPSTR pszDir, int cch) = 0;
    virtual HRESULT SetWorkingDirectory(LPCSTR pszDir) = 0;
    virtual HRESULT GetArguments(LPSTR pszArgs, int cch) = 0;
    virtual HRESULT SetArguments(LPCSTR pszArgs) = 0;
    virtual HRESULT GetHotkey(WORD* pwHotkey) = 0;
    virtual HRESULT SetHotkey(WORD wHotkey) = 0;
    virtual HRESULT GetShowCmd(int* piShowCmd) = 0;
    virtual HRESULT SetShowCmd(int iShowCmd) = 0;
    virtual HRESULT GetIconLocation(LPSTR pszIconPath, int cch, int* piIcon) = 0;
    virtual HRESULT SetIconLocation(LPCSTR pszIconPath, int iIcon) = 0;
    virtual HRESULT SetRelativePath(LPCSTR pszPathRel, DWORD dwReserved) = 0;
    // S_OK when the target exists, else HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); no search, no window.
    virtual HRESULT Resolve(HWND hwnd, DWORD fFlags) = 0;
    virtual HRESULT SetPath(LPCSTR pszFile) = 0;

protected:
    ~IShellLinkA() = default;
};

struct IPersist : IUnknown {
    virtual HRESULT GetClassID(CLSID* pClassID) = 0;

protected:
    ~IPersist() = default;
};

struct IPersistFile : IPersist {
    virtual HRESULT IsDirty() = 0;
    // Reads a ".lnk" or ".desktop" file (a UTF-16 program path); E_FAIL for
    // other names, HRESULT_FROM_WIN32(ERROR_BAD_FORMAT) for a damaged file,
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing one.
    virtual HRESULT Load(const WCHAR* pszFileName, DWORD dwMode) = 0;
    virtual HRESULT Save(const WCHAR* pszFileName, BOOL fRemember) = 0;
    virtual HRESULT SaveCompleted(const WCHAR* pszFileName) = 0;
    virtual HRESULT GetCurFile(WCHAR** ppszFileName) = 0;

protected:
    ~IPersistFile() = default;
};

// Makes a new shortcut object (the creator CoCreateInstance calls for CLSID_ShellLink).
HRESULT CreateShellLink(REFIID riid, void** ppv);
