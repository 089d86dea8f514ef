#pragma once

// The catalogs of an account as the directory server lists them after its
// marker: tokens "<#CAT |name| |code|" one after the other, ended by
// "<#END#>". The reply comes from the network, so it is read with bounds:
// a catalog token missing one of its four bars, any other token, or the end
// of the reply without "<#END#>" makes the whole list empty (the server's
// "no catalog" case); at most MAX_CATALOGS are kept; names and codes are cut
// to MAX_FIELD_BYTES at a character boundary, control characters as blanks.

#include "platform/base/CString.h"

#include <vector>

struct CWACatalogEntry {
    CString strName;
    CString strCode;
};

constexpr size_t MAX_CATALOGS = 1000;
constexpr size_t MAX_FIELD_BYTES = 259;

// The catalogs of reply (the whole reply, marker first); empty in the cases above.
std::vector<CWACatalogEntry> ParseCatalogList(const CString& strReply);
