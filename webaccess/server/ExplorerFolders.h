#pragma once

// The folders the explorer commands show: the fixed drives and the visible
// sub-folders of a folder. Names that begin with '.' are hidden and left out.

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

// The fixed drives, in letter order.
std::vector<CWAExplorerFolder> ListFixedDrives();
// The visible sub-folders of a folder, in byte order of their names; none
// when the folder cannot be read.
std::vector<CWAExplorerFolder> ListVisibleSubFolders(const CString& strFolder);
