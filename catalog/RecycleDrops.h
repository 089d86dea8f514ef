#pragma once

// Catalog records dropped on the recycle bin: the nodes, and the documents
// that may go to the bin, are moved there after the user confirms it.

#include "platform/base/WinTypes.h"

#include <vector>

class CCatalog;
struct CCatalogPayload;

/* A dropped item's status after the drop. */
constexpr LONG DROP_MOVED = 0;    // moved to the recycle bin (or offered in a run that moved nothing)
constexpr LONG DROP_STAYED = 4;   // offered, but it stayed in the catalog
constexpr LONG DROP_REFUSED = -1; // never offered: a document that may not go to the bin (CanRecycle), or no record

// Offers the payload's items to MoveToRecycleBin (confirmed) and gives each
// item's status in *pStatus (one per item). TRUE when anything moved; the
// program's windows are then told the catalog changed.
BOOL LixeiraDropItems(CCatalog* pMain, CCatalog* pBin, const CCatalogPayload& payload, std::vector<LONG>* pStatus);
