#pragma once

// Walking the items of shell folders through a callback, the drives of My
// Computer by kind, and counting folders. Enumerated lists are single items
// relative to their folder; each is freed here after the callback returns,
// unless the callback stops the walk and an out item is asked for. Nothing
// here shows a message.

#include "platform/shell/ShellFolder.h"

// Called for each item: (folder, relative item, user data). Nonzero goes on,
// 0 stops the walk.
using ShellItemCallback = int (*)(IShellFolder* pFolder, LPCITEMIDLIST pidlItem, void* pUser);

// Enumerates the folder pidl names within pParent (SHCONTF_* flags). Returns
// the number of items passed (those the callback went on with, every item
// without a callback), -1 when the bind or the enumeration fails. When the
// callback stops at an item, that item goes to *ppidlStopped when given
// (the caller frees it), else it is freed.
int EnumFolderItems(IShellFolder* pParent, LPCITEMIDLIST pidl, SHCONTF grfFlags, ShellItemCallback pfnCallback,
    void* pUser, LPITEMIDLIST* ppidlStopped);
// The same for the folder a program path names; -1 when it does not parse.
int EnumFolderItemsOfPath(
    LPCTSTR pszPath, SHCONTF grfFlags, ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped);
// The same for a special folder (CSIDL_*); -1 when it has no location.
int EnumSpecialFolderItems(
    int nFolder, SHCONTF grfFlags, ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped);

/* Drives of My Computer. The callback, when given, gets (My Computer's folder,
   the drive's item, user data) for each match and decides whether the walk
   goes on. Each returns the number of matches seen. */

// File-system drive roots ("C:\", a parsing name of 3 characters) that are not
// removable, not links and of type DRIVE_FIXED.
int EnumFixedDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped);
// The same of type DRIVE_REMOTE.
int EnumNetworkDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped);
// File-system items that are removable and not links.
int EnumRemovableDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped);

/* Counting. */

// The file-system items among the direct folders of a folder.
int CountFoldersOfFolder(IShellFolder* pParent, LPCITEMIDLIST pidl);
// The same for a program path; -1 when it does not parse.
int CountFoldersOfPath(LPCTSTR pszPath);
// Over the fixed drives, each drive's folders plus one for the drive.
int CountFixedDriveFolders();
