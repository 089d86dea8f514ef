#pragma once

// Item identifier lists (PIDLs) as the program handles them: measuring,
// copying, joining and cutting them, turning a path into one, binding the
// folder that holds an item, and reading an item's names.
//
// Every list handed out here comes from the shell allocator (SHGetMalloc) and
// is freed by the receiver through IMalloc::Free (or CoTaskMemFree); every
// interface handed out carries one reference the receiver releases. Nothing
// here shows a message: failures come back as HRESULTs, null or empty text.

#include "platform/base/CString.h"
#include "platform/shell/ShellFolder.h"

/* Lists. */

// Bytes of the list with its terminator; 0 for null, 2 for the empty list.
UINT GetPIDLSize(LPCITEMIDLIST pidl);
// A zero-filled block of nSize bytes from the shell allocator; null when none.
LPITEMIDLIST AllocPIDL(UINT nSize);
// A copy of the list; null for null or when out of memory. pMalloc may be
// null (the shell allocator is taken).
LPITEMIDLIST CopyPIDL(IMalloc* pMalloc, LPCITEMIDLIST pidl);
// The items of pidlFirst followed by pidlSecond; a null first list gives a
// copy of the second. Null when out of memory.
LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond);
// Every item but the last (the parent's list); null for null, the empty list
// or a single item.
LPITEMIDLIST CopyParentPIDL(LPCITEMIDLIST pidl);

/* Parsing and binding. */

// Parses a program path in pFolder (the desktop when null) into *ppidl. A bare
// drive ("C:") is taken as its root. Returns ParseDisplayName's HRESULT.
HRESULT PathToPIDL(LPCTSTR pszPath, LPITEMIDLIST* ppidl, IShellFolder* pFolder);
// Binds the folder that holds the item of an absolute list (riid of a folder)
// into *ppv and, when ppidlRelative is given, copies the item's last level
// into it. A single-level item gives the desktop and a copy of the whole list.
HRESULT BindParentFolder(LPCITEMIDLIST pidlAbsolute, REFIID riid, void** ppv, LPITEMIDLIST* ppidlRelative);

/* Names. */

// The SHGDN_* name of an item of pFolder into strName (empty on failure),
// at most MAX_PATH - 1 bytes, cut at a character boundary.
HRESULT GetDisplayNameOfPIDL(IShellFolder* pFolder, LPCITEMIDLIST pidl, SHGDNF uFlags, CString& strName);
