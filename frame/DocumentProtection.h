#pragma once

// Protecting a catalogued document from the views: an unprotected document is
// protected with a new password the user types; a protected one is
// unprotected once the user gives its password. The dialogs come through the
// frame's and the catalog's prompts; a failure is reported for the
// document's file. The caller keeps the document's catalog held.

#include "platform/base/WinTypes.h"

class CDocumentRec;
class CWnd;

// TRUE when the document's protection changed (its record was written).
// Nothing changes when the user cancels, or when pWindow (the asking window)
// is gone once the dialog ends.
BOOL ToggleDocumentProtection(CDocumentRec& document, CWnd* pWindow);
