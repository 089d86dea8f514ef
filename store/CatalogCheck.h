#pragma once

// The whole-file check of a catalog that is about to replace the one in use:
// a backup copy before it is restored. The file must open as a catalog of the
// expected kind, and every table's root chain, the tree of nodes with their
// links and every directory's documents must walk without damage.

#include "platform/base/WinTypes.h"

// TRUE when the catalog at the program path pszPath is of kind nKind
// (CATALOG_KIND_MAIN or CATALOG_KIND_RECYCLE) and walks without damage. The
// file is only read. A damaged file is also reported as the fatal catalog
// error, as every damaged catalog is.
BOOL CheckCatalogFile(LPCTSTR pszPath, LONG nKind);
