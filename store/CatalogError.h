#pragma once

// The fatal catalog error: a catalog file that cannot be opened or is found
// damaged. The call that finds it fails soft (FALSE or null); the report goes
// to one process-wide handler, which the window layer sets to show a message box.

#include "platform/base/WinTypes.h"

// The message box style of the report: the stop icon (MB_ICONSTOP).
constexpr UINT CATALOG_ERROR_STYLE = 0x00000010;

// Receives a report: the catalog's file name (without folder), the message
// text, the title and the message box style. It may be called from any thread.
using CatalogErrorHandler = void (*)(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle);

// Installs pfnHandler and returns the one it replaces. With no handler (nullptr,
// the start state) reports are dropped; the failing call still returns its error.
CatalogErrorHandler SetCatalogErrorHandler(CatalogErrorHandler pfnHandler);

// Reports the fatal error of the catalog file pszFileName: resource string 4453
// formatted with the name (a plain English text when the resource module is not
// loaded), under the title "Fatal Error", with CATALOG_ERROR_STYLE.
void ReportCatalogError(LPCTSTR pszFileName);
