#pragma once

// The shell folder objects behind SHGetDesktopFolder and BindToObject: one
// object per folder item, holding its absolute items.

#include "platform/shell/NamespaceItems.h"

// A new folder object for the absolute items of a folder (the desktop, a
// virtual folder, a drive, share or folder), asked for riid.
HRESULT CreateShellFolder(CItemPath folder, REFIID riid, void** ppv);

// The absolute items of a folder object made here; false for any other object.
bool ItemsOfShellFolder(IShellFolder* psf, CItemPath& items);

// The items of a list given to a folder, checked as standing below it.
// E_INVALIDARG for a list that is not ours or not in place.
HRESULT RelativeItemsOf(const CItemPath& folder, LPCITEMIDLIST pidl, CItemPath& below);
// The same items put after the folder's.
HRESULT AbsoluteItemsOf(const CItemPath& folder, LPCITEMIDLIST pidl, CItemPath& items);

// Fills a STRRET with a name: STRRET_CSTR when it fits, else STRRET_WSTR.
HRESULT SetStrRet(const std::string& strName, STRRET* pName);
