#pragma once

// The group page (WDIR): the path of the group, the groups beside it in the
// left column, and its sub-groups and documents in the listing, written from
// the rows the server gathered.

#include "platform/base/CString.h"
#include "webaccess/pages/CatalogDocumentRow.h"
#include "webaccess/pages/CatalogPageFrame.h"

#include <vector>

class CWAOutputFile;

// A group the page names and links to.
struct CWAGroupItem {
    CString strName; // As the page shows it (a listing row's name is cut)
    CString strInfo; // The information text of a listing row, cut; empty elsewhere
    LONG nBlock { 0 };
    LONG nSlot { 0 };
};

struct CWAWdirPage {
    CWAPageRights rights;
    CString strFolder;                // The session's explorer folder
    CWAGroupItem group;               // The group shown
    std::vector<CWAGroupItem> path;   // Its ancestors below the top, the top first
    std::vector<CWAGroupItem> beside; // The groups of its parent, itself included
    int nFocus { -1 };                // The group's index in beside; -1 none
    bool bUpRow { false };            // The listing starts with ".." to the parent
    CWAGroupItem parent;              // The parent, for the up row
    std::vector<CWAGroupItem> groups; // The sub-groups
    std::vector<CWADocumentRow> documents;
    int nCount { 0 }; // Sub-groups and documents in all, for the count line
};

// The listing's columns, in pixels, to which the server cuts the row texts.
constexpr int WDIR_NAME_WIDTH = 216;
constexpr int WDIR_TEXT_WIDTH = 236;

void WriteWdirPage(CWAOutputFile& reply, const CWAWdirPage& page);
