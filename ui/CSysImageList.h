#pragma once

// The shell's system image lists for controls and menus. A CSysImageList is a
// reference: while one exists, GetSystemImageList hands out class-library
// objects attached to the small and the large system list; when the last
// reference goes they are detached (the lists themselves belong to the shell
// and are never destroyed). User-interface thread only.
//
// The icon index functions give the index of an item's icon in those lists.

#include "platform/base/WinTypes.h"
#include "platform/shell/ItemIdList.h"

class CImageList;

class CSysImageList {
public:
    // Takes a reference; the first makes the small list, then the large one.
    CSysImageList();
    // Gives it back; the last detaches both lists.
    virtual ~CSysImageList();
    CSysImageList(const CSysImageList&) = delete;
    CSysImageList& operator=(const CSysImageList&) = delete;
};

// The small list for any non-zero nWhich, the large one for 0; null while no
// CSysImageList exists.
CImageList* GetSystemImageList(int nWhich);

/* Icon indexes. bOpen asks for the open form (of a folder), bSmall for the
   small list's icon (the indexes of both lists are the same). */

// The icon of the type a path names; the file need not exist.
int GetFileIconIndex(LPCTSTR pszPath, BOOL bOpen, BOOL bSmall);
// The icon of the item at a path.
int GetPathIconIndex(LPCTSTR pszPath, BOOL bOpen, BOOL bSmall);
// The icon of the item of an absolute list.
int GetPIDLIconIndex(LPCITEMIDLIST pidl, BOOL bOpen, BOOL bSmall);
// The icon of the system folder: the folder icon.
int GetSystemFolderIconIndex(BOOL bOpen, BOOL bSmall);
