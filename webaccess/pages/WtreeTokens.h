#pragma once

// The reply of WTREE: the visible group tree as a flat list of tokens, the
// browser side builds its tree view from them.

#include "platform/base/CString.h"

#include <vector>

class CWAOutputFile;

// One visible group; indexes are positions in the item list, -1 none.
struct CWATreeItem {
    CString strName;
    LONG nBlock { 0 };
    LONG nSlot { 0 };
    int nLevel { 0 }; // 0 right below the root
    int nParent { -1 };
    int nFirstChild { -1 };
};

// "<#TRSZ |count|#>" and one "<#TRIT |level| |parent| |first child| |name| |block| |slot|#>" per item.
void WriteWtreeTokens(CWAOutputFile& reply, const std::vector<CWATreeItem>& items);
