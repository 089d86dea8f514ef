#pragma once

// The context menu of an item of the namespace (IShellFolder::GetUIObjectOf
// with IID_IContextMenu): for a file, "&Open" with the application the desktop
// opens its type with, then "Open with <Name>" for each other application
// that lists the type; for a folder, "&Open". A file nothing opens gets an
// empty menu. Invoking a command starts the application with the file, as
// ShellExecute would (every start through LaunchProgram).

#include "platform/base/Com.h"
#include "platform/shell/NamespaceItems.h"
#include "platform/window/WindowTypes.h"

constexpr IID IID_IContextMenu = SystemGuid(0x000214E4);

// clang-format off
constexpr UINT CMF_NORMAL      = 0x00000000;
constexpr UINT CMF_DEFAULTONLY = 0x00000001;
constexpr UINT CMF_VERBSONLY   = 0x00000002;
constexpr UINT CMF_NODEFAULT   = 0x00000020; // no item is made the default (bold)

constexpr UINT GCS_VERBA = 0x00000000;
// clang-format on

// Any non-zero cbSize is accepted.
struct CMINVOKECOMMANDINFO {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb; // MAKEINTRESOURCE(offset of the command from idCmdFirst), or "open"
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    DWORD dwHotKey;
    HANDLE hIcon;
};
using LPCMINVOKECOMMANDINFO = CMINVOKECOMMANDINFO*;

struct IContextMenu : IUnknown {
    // Inserts the commands at indexMenu with ids from idCmdFirst (at most to
    // idCmdLast); returns MAKE_HRESULT(SEVERITY_SUCCESS, 0, the count).
    virtual HRESULT QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT uFlags) = 0;
    virtual HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO pici) = 0;
    // GCS_VERBA: "open" for the first command; others E_NOTIMPL.
    virtual HRESULT GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, LPSTR pszName, UINT cchMax) = 0;

protected:
    ~IContextMenu() = default;
};
using LPCONTEXTMENU = IContextMenu*;

// The context menu of an item (absolute items), asked for riid.
HRESULT CreateItemContextMenu(HWND hwndOwner, const CItemPath& item, REFIID riid, void** ppv);
