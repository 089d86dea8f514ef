#pragma once

// Before a document dialog shows a protected document: the password dialog
// asks for its password (and refuses a wrong one), then the document is
// checked with it (a mail message is read). A failure of that check is
// reported before it is returned.

#include "platform/base/CString.h"
#include "platform/framework/CWnd.h"

class CDocumentRec;

// What UnlockDocument gives besides the PROTECT_ codes of a failed check.
constexpr int UNLOCK_OPEN = 0;        // no password, or the right one: go on
constexpr int UNLOCK_CANCELLED = 1;   // the user cancelled the password dialog
constexpr int UNLOCK_UNPROTECTED = 2; // the document turned out to be unprotected: go on

// strPassword receives the password in force (empty for none).
int UnlockDocument(CDocumentRec& document, CWnd* pParent, CString& strPassword);
