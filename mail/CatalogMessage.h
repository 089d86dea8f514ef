#pragma once

// The message a catalog record names, as a reader of the record's store kind
// built from the values the record keeps. Nothing is read until Load, which
// checks that the store still holds a message at the record's place.

#include "mail/CMailMessage.h"

#include <memory>

// A message of the store kind (MAIL_STORE_...) on the record's store
// identifier, offset, length, full path and store path; null for a kind
// without a reader.
std::unique_ptr<CMailMessage> NewCatalogMessage(
    int nStoreKind, DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);
