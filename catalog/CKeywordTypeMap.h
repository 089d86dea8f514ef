#pragma once

// Which systems and groups each keyword of the catalog (table 6) leads to,
// for the nodes whose search-type word has a bit of a mask: the map the
// cataloguing code places new documents with by their words. Keys are the
// keyword texts lower-cased; a value is the array of the matching nodes. A
// keyword none of whose nodes has a bit of the mask has no key.
//
// The table has 10 buckets, so a walk over it (GetStartPosition and
// GetNextAssoc) visits the keys in the order the lists that show it expect.
// Built from the catalog as it is; rebuild it after the catalog changed. The
// caller holds a reference on the catalog while the map is built.

#include "store/CNodeRec.h"

#include "platform/base/CollectionMaps.h"

class CCatalog;

class CKeywordTypeMap : public CMapStringToPtr {
public:
    // The number of buckets of the table.
    static constexpr UINT HASH_SIZE = 10;

    CKeywordTypeMap(CCatalog* pCatalog, WORD wMask);
    ~CKeywordTypeMap() override;
    CKeywordTypeMap(const CKeywordTypeMap&) = delete;
    CKeywordTypeMap& operator=(const CKeywordTypeMap&) = delete;

    WORD GetMask() const { return m_wMask; }
    // The nodes of a key, or null; the array stays the map's.
    const CNodeRecArray* LookupKeyword(LPCTSTR pszKey) const;

private:
    WORD m_wMask;
};

// The keywords of the nodes that place files: by their name, folder,
// description or content (the low four bits of the search-type word).
class CKeywordMapLowTypes : public CKeywordTypeMap {
public:
    static constexpr WORD MASK = 0x0F;
    explicit CKeywordMapLowTypes(CCatalog* pCatalog)
        : CKeywordTypeMap(pCatalog, MASK)
    {
    }
};

// The keywords of the nodes that place mail messages: by their subject,
// sender, recipients or body (the high four bits).
class CKeywordMapHighTypes : public CKeywordTypeMap {
public:
    static constexpr WORD MASK = 0xF0;
    explicit CKeywordMapHighTypes(CCatalog* pCatalog)
        : CKeywordTypeMap(pCatalog, MASK)
    {
    }
};
