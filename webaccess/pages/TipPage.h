#pragma once

// The tip page (TIPV): a small window that previews one file or catalog
// document — its path, its type, for a document its description with its
// location, and either the beginning of its text or a picture. A picture
// follows the page in the same reply; the page shows it through the
// placeholder "<#imgsrc#>", which the browser side replaces with it.

#include "platform/base/CString.h"

class CWAOutputFile;

struct CWATipPage {
    CString strPath;          // Plain text; escaped by the writer
    CString strType;          // Plain text; escaped by the writer
    CString strLocation;      // A document's description with its location; plain text
    bool bDocument { false }; // Shows strLocation
    CString strText;          // The beginning of the text; plain text
    UINT nStatusId { 0 };     // The string of the status line
    bool bPicture { false };  // A picture follows: the page shows it instead of the text
};

// Writes the page as the HTML block "tipimage" (with a picture) or "tipview".
void WriteTipPage(CWAOutputFile& reply, const CWATipPage& page);
