#pragma once

// The folders the explorer commands show: the fixed drives and the visible
// sub-folders of a folder. Names that begin with '.' are hidden and left out,
// and so is the program folder (IsOutsideExplorer).

#include "platform/base/CString.h"

#include <vector>

// One folder as the explorer shows it.
struct CWAExplorerFolder {
    CString strPath; // program path; a drive's root ends in '\'
    CString strName; // the last component; "C:" for a drive
    // FALSE for a symbolic link, another drive's root and a folder where
    // another file system is mounted: they are listed where they appear but
    // belong elsewhere.
    bool bOwnTree;
};

// TRUE for the program folder and everything in it, also when reached through
// a link: its settings hold every profile's password and the account's, so
// no listing shows it and no file command reaches into it.
bool IsOutsideExplorer(const CString& strPath);

// The fixed drives, in letter order.
std::vector<CWAExplorerFolder> ListFixedDrives();
// The visible sub-folders of a folder, in byte order of their names; none
// when the folder cannot be read.
std::vector<CWAExplorerFolder> ListVisibleSubFolders(const CString& strFolder);
