#pragma once

// The search page (WFIND and PAGE): one page of the result, numbered within
// the whole result, between two count lines, with links to the pages around it.

#include "platform/base/CString.h"
#include "webaccess/pages/CatalogDocumentRow.h"
#include "webaccess/pages/CatalogPageFrame.h"

#include <vector>

class CWAOutputFile;

struct CWAWfindPage {
    CWAPageRights rights;
    CString strFolder; // The session's explorer folder
    LONG nBlock { 0 }; // The session's group, for the link back to it
    LONG nSlot { 0 };
    CString strSearchText; // The search as the form shows it again
    int nMatchMode { 0 };
    int nSearchField { 0 };
    int nTotal { 0 }; // Documents in the whole result
    int nPage { 1 };  // This page, from 1
    int nPages { 1 };
    int nFirst { 0 };                    // The result index of the first document shown
    std::vector<CWADocumentRow> results; // The documents of this page
};

void WriteWfindPage(CWAOutputFile& reply, const CWAWfindPage& page);
