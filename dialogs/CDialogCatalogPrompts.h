#pragma once

// The cataloguing engine's questions answered by the program's dialogs; those
// whose dialogs do not exist yet keep the base class's declining answers.

#include "catalog/CCatalogPrompts.h"

class CDialogCatalogPrompts : public CCatalogPrompts {
public:
    // The password dialog, which refuses a wrong password itself, so IDOK
    // always hands back the stored one. nVariant 2 words it for unprotecting.
    int AskPassword(
        HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong, CString& strPassword) override;
    // The expiry date dialog; IDOK with the date chosen, 0 for none.
    int AskExpiryDate(const CDocumentRec& document, LONG& nExpiry) override;
};
