#pragma once

// One document as the catalog pages show it (a row of the group page, an item
// of the search page): plain facts that the server gathers from the catalog,
// and the cells the pages make of them.

#include "platform/base/CString.h"

#include <ctime>

// The document's expiry state as the page marks it.
enum class WADocumentState {
    None,        // nothing to mark; a protected document still shows its lock
    New,         // catalogued lately
    Passed,      // the expiry date has passed
    MailDeleted, // the message was deleted from its store
    NotFound,    // the file or mail store is not there
    Unreachable, // on a network place that cannot be reached
    Other,       // a state no icon shows
};

struct CWADocumentRow {
    LONG nBlock { 0 };
    LONG nSlot { 0 };
    CString strName; // The full path, as the page shows it
    CString strText; // The name with its location, as the page shows it
    WADocumentState eState { WADocumentState::None };
    bool bProtected { false };
    bool bMail { false };
    long long nSize { -1 }; // Below 0 unknown
    bool bHasDate { false };
    std::time_t tDate { 0 }; // The modification time (a message's date)
};

// The state icon of the row; null for none.
LPCTSTR DocumentStateIcon(const CWADocumentRow& row);
// The file or mail icon.
LPCTSTR DocumentIcon(const CWADocumentRow& row);
// "n KB" (with a thousands comma from 1,000 KB), empty for an unknown size,
// "?" for a document out of reach.
CString FormatDocumentSize(const CWADocumentRow& row);
// The local modification time, empty when there is none, "?" for a document
// out of reach or a time that cannot be shown.
CString FormatDocumentDate(const CWADocumentRow& row);
// The link attribute that opens the document's menu ("MN" menu for the
// browser flag, "MIE" otherwise); empty for a document that is gone.
CString DocumentMenuLink(const CWADocumentRow& row, bool bNetscape);
