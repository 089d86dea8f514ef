#pragma once

// The cataloguing engine's questions answered by the program's dialogs. A
// question without a parent window is owned by the main window.

#include "catalog/CCatalogPrompts.h"

class CDialogCatalogPrompts : public CCatalogPrompts {
public:
    // The password dialog, which refuses a wrong password itself, so IDOK
    // always hands back the stored one. nVariant 2 words it for unprotecting.
    int AskPassword(
        HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong, CString& strPassword) override;
    // The expiry date dialog; IDOK with the date chosen, 0 for none.
    int AskExpiryDate(const CDocumentRec& document, LONG& nExpiry) override;
    // The question before a selection goes to the recycle bin or is deleted for good.
    int ConfirmSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, HWND hParent) override;
    int ShowNewDocsSummary(const CNewDocNoticeArray& queue, HWND hParent) override;
    void ShowNewDocsFound(int nCount, HWND hParent) override;
};
