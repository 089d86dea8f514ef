#pragma once

// The store's messages to the user. The fatal catalog error: a catalog file
// that cannot be opened or is found damaged; the call that finds it fails soft
// (FALSE or null). Other failures of store operations that the user started
// (protected files, document copies) are reported the same way. Every report
// goes to one process-wide handler, which the window layer sets to show a
// message box.

#include "platform/base/MessageBoxCodes.h"
#include "platform/base/WinTypes.h"

// The message box style of the report: the stop icon.
constexpr UINT CATALOG_ERROR_STYLE = MB_ICONSTOP;
// The style of the other reports: the exclamation icon.
constexpr UINT STORE_MESSAGE_WARNING_STYLE = MB_ICONEXCLAMATION;

// Receives a report: the file it is about (a catalog's name without folder, or
// a document's path), the message text, the title and the message box style.
// It may be called from any thread.
using CatalogErrorHandler = void (*)(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle);

// Installs pfnHandler and returns the one it replaces. With no handler (nullptr,
// the start state) reports are dropped; the failing call still returns its error.
CatalogErrorHandler SetCatalogErrorHandler(CatalogErrorHandler pfnHandler);

// Reports the fatal error of the catalog file pszFileName: IDS_CATALOG_FATAL_ERROR
// formatted with the name (a plain English text when the resource module is not
// loaded), under the title "Fatal Error", with CATALOG_ERROR_STYLE.
void ReportCatalogError(LPCTSTR pszFileName);

// Passes one report to the handler (dropped without one, or while this thread
// holds its reports back).
void ReportStoreMessage(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle);

// While an object lives, the reports this thread makes are dropped: for a
// caller that looks at a file of its own making (a temporary copy, say) and
// reports the outcome itself, in the user's terms. Objects nest.
class CCatalogReportsHeld {
public:
    CCatalogReportsHeld();
    ~CCatalogReportsHeld();
    CCatalogReportsHeld(const CCatalogReportsHeld&) = delete;
    CCatalogReportsHeld& operator=(const CCatalogReportsHeld&) = delete;

private:
    bool m_bWasHeld;
};
