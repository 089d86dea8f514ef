#pragma once

// The explorer page (EDIR): one folder of the computer with the path bar of
// its levels, the column of the folders beside it (the fixed drives beside a
// drive's root), and the table of its folders and files. Every link sends a
// further request: a folder's an EDIR, a file's opens the file menu.

#include "platform/base/CString.h"
#include "webaccess/pages/CatalogDocumentRow.h"
#include "webaccess/pages/CatalogPageFrame.h"

#include <vector>

class CWAOutputFile;

// A level of the path bar or a folder of the side column.
struct CWAExplorerPlace {
    CString strLabel; // As shown (a column entry's is cut to the column)
    CString strPath;  // Program path, sent back by the link
};

struct CWAExplorerItem {
    CString strName; // As shown, cut to the column
    CString strPath; // Program path
    bool bFolder { false };
    CWADocumentRow facts; // A file's size and date; unknown ones stay empty
};

struct CWAExplorerPage {
    CWAPageRights rights;
    CString strFolder; // As requested
    LONG nBlock { 0 }; // The session's catalog node, for the catalog tab
    LONG nSlot { 0 };
    std::vector<CWAExplorerPlace> levels; // The root first, the folder itself last
    std::vector<CWAExplorerPlace> siblings;
    int nCurrent { -1 }; // The folder's index among the siblings; -1 none
    CString strParent;   // Empty for a drive's root: no ".." row
    std::vector<CWAExplorerItem> items;
};

void WriteExplorerPage(CWAOutputFile& reply, const CWAExplorerPage& page);
