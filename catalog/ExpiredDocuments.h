#pragma once

// Expired documents: those linked under the expiring-documents node whose
// expiry date has passed, oldest first. The expired-documents window, the
// daily notice and the maintenance run all read this one set.

#include "platform/base/WinTypes.h"

#include <memory>

class CCatalog;
struct CCatalogPayload;
struct CDocumentSet;

// The expired documents of the catalog, titled by string 4071; null when the
// catalog has no expiring-documents node.
std::unique_ptr<CDocumentSet> QueryExpiredDocuments(CCatalog* pCatalog);

// Asks the expiry date of every document of the payload (nodes are passed
// over), shown first as the one it has; an answer goes into the document,
// which is linked under the expiring-documents node while it has a date.
// Non-zero when a document changed.
int CheckExpiredDocuments(CCatalog* pCatalog, const CCatalogPayload& payload);
