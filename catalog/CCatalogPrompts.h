#pragma once

// The dialogs the catalog runs ask the user through. The catalog layer sits
// below the windows, so it reaches them through this interface: the dialogs'
// layer derives from it and installs its object at start-up
// (SetCatalogPrompts); tests install scripted ones. Message boxes that only
// show a resource string are called directly (AfxMessageBox), not through here.
//
// The base class is the answer without windows: every question is declined,
// so nothing is removed, protected or catalogued on a guess.
// Used from the user-interface thread only.

#include "catalog/CNewDocNotice.h"

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDocumentRec;

class CCatalogPrompts {
public:
    virtual ~CCatalogPrompts() = default;

    /* Kinds of the selection question. */
    static constexpr int SELECTION_NODE = 0;            // one system or group
    static constexpr int SELECTION_ITEM = 1;            // one document, file or folder
    static constexpr int SELECTION_ITEMS = 2;           // several entries
    static constexpr int SELECTION_REMOVABLE_ITEM = 3;  // one item of a removable or CD drive, deleted for good
    static constexpr int SELECTION_REMOVABLE_ITEMS = 4; // several such items

    // Asks whether to go on with the action on a selection: the text names
    // it; with bWarn (network items, which no recycle bin takes) a warning is
    // confirmed first. IDOK goes on.
    virtual int ConfirmSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, HWND hParent);

    // Asks the password of a protected document: hIcon and pszPath show which,
    // pszStored is the password the catalog holds; nVariant 1 asks it to open
    // the document, 2 to unprotect it; bLong allows 15 characters instead of 10.
    // IDOK with the answer in strPassword.
    virtual int AskPassword(
        HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong, CString& strPassword);

    // Asks a document's expiry date, shown first as nExpiry (seconds since
    // 1970; 0 for none). IDOK with the answer in nExpiry.
    virtual int AskExpiryDate(const CDocumentRec& document, LONG& nExpiry);

    /* The new-document monitor's lists. */

    // Lists the new documents waiting in the queue, before the main window
    // closes or hides. IDOK catalogues them now; anything else goes on without.
    virtual int ShowNewDocsSummary(const CNewDocNoticeArray& queue, HWND hParent);
    // Tells that nCount new documents disappeared before they were catalogued.
    virtual void ShowNewDocsFound(int nCount, HWND hParent);
};

// The prompts in use; the base class's answers until SetCatalogPrompts.
CCatalogPrompts& GetCatalogPrompts();
// Installs pPrompts (not owned; null restores the base class's answers).
void SetCatalogPrompts(CCatalogPrompts* pPrompts);
