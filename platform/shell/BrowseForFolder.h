#pragma once

// SHBrowseForFolder: a modal dialog owned by hwndOwner in which the user picks
// a folder (or, with BIF_BROWSEINCLUDEFILES, a file) of the namespace below
// pidlRoot (NULL: the desktop). It shows the title, the current folder's path
// and a list of its items; a double click enters a folder, Up goes to the
// folder above (never above the root). OK gives the selected item, or the
// current folder when nothing is selected; Cancel gives nothing. The callback
// lpfn is not called.

#include "platform/shell/ItemIdList.h"
#include "platform/window/WindowTypes.h"

// Control IDs of the dialog, for scripts.
// clang-format off
constexpr int IDC_BROWSE_TITLE = 301; // the caller's title
constexpr int IDC_BROWSE_PATH  = 302; // the current folder's path or name
constexpr int IDC_BROWSE_LIST  = 303; // the items of the current folder
constexpr int IDC_BROWSE_UP    = 304; // to the folder above

constexpr UINT BIF_RETURNONLYFSDIRS   = 0x0001;
constexpr UINT BIF_BROWSEINCLUDEFILES = 0x4000; // files are listed too
// clang-format on

using BFFCALLBACK = int(CALLBACK*)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

struct BROWSEINFO {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot; // the top of what may be browsed; NULL: the desktop
    LPSTR pszDisplayName;   // out: the chosen item's name (MAX_PATH bytes)
    LPCSTR lpszTitle;
    UINT ulFlags;     // BIF_*
    BFFCALLBACK lpfn; // not called
    LPARAM lParam;
    int iImage; // out: the chosen item's system icon index
};
using LPBROWSEINFO = BROWSEINFO*;

// A new absolute list of the choice (the caller frees it), or NULL when the
// user cancelled or the root is no folder.
LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO lpbi);
