#pragma once

// The reply of ETREE: the folder tree of the fixed drives as a flat list of
// tokens, the browser side builds its tree view from them.

#include "platform/base/CString.h"

#include <vector>

class CWAOutputFile;

// One folder of the tree; indexes are positions in the entry list, -1 none.
struct CWAExplorerEntry {
    CString strDisplayName;
    // "C:" for a drive, else the folder's name: the browser joins the parts
    // of an entry and its parents with '\' into the folder's path.
    CString strNamePart;
    int nLevel { 0 }; // 0 for a drive
    int nParent { -1 };
    int nFirstChild { -1 };
};

// "<#TRSZ |count|#>" and one "<#TRIT |level| |parent| |first child| |display name| |name part|#>" per entry.
void WriteExplorerTreeTokens(CWAOutputFile& reply, const std::vector<CWAExplorerEntry>& entries);
