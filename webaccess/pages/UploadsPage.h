#pragma once

// The uploaded-files page (VUPL): the files of the user's upload folder in
// the explorer's file table, with the uploads tab current. Every file row
// opens the file menu, from which the browser may fetch or preview it.

#include "platform/base/CString.h"
#include "webaccess/pages/CatalogDocumentRow.h"
#include "webaccess/pages/CatalogPageFrame.h"

#include <vector>

class CWAOutputFile;

struct CWAUploadedFile {
    CString strName;      // As the row shows it (cut to the column)
    CString strPath;      // Program path, sent back by the file menu
    CWADocumentRow facts; // Only the size and date are used
};

struct CWAUploadsPage {
    CWAPageRights rights;
    CString strFolder; // The session's explorer folder
    LONG nBlock { 0 }; // The session's catalog node
    LONG nSlot { 0 };
    std::vector<CWAUploadedFile> files;
};

// The link attribute that opens the file menu of the explorer's file table
// for a program path ("MN" menu for the browser flag, "MIE" otherwise).
CString FileMenuLink(LPCTSTR pszPath, bool bNetscape);
void WriteUploadsPage(CWAOutputFile& reply, const CWAUploadsPage& page);
