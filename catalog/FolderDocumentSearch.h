#pragma once

// Finds the catalogued files that lie in a folder on disk or below it and
// whose name (or, on request, content) holds every word of a text: what the
// Find Files window lists. The folder is compared without regard to case, as
// the catalog's paths are; mail messages are never found (they are no files).
// An empty text finds every file in the folder. A damaged record is passed
// over; the catalog is only read.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "store/CatalogTypes.h"

#include <vector>

class CCatalog;

struct CFolderSearchQuery {
    CString strFolder;        // program path of the folder to look in; "" looks everywhere
    CString strWords;         // words separated by blanks, all of which must be found
    BOOL bContents { FALSE }; // the words are looked for in the file's bytes, not its name
};

// The documents found, in the catalog's block order.
std::vector<CRecordRef> FindDocumentsInFolder(CCatalog& catalog, const CFolderSearchQuery& query);
