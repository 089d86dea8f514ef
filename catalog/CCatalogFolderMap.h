#pragma once

// Which systems and groups each folder of the catalog's folder records (table
// 9) is assigned to, by folder path: the map the cataloguing code places new
// documents with. Keys are the records' texts without a leading "*" (the mark
// of a mail store's record) and without a trailing backslash, so "*c:\docs\"
// and "c:\docs" give one key. A folder's node list is read from its record on
// first use and kept.
//
// Built from the catalog as it is; rebuild it after the catalog changed. The
// caller holds a reference on the catalog while the map is used.

#include "store/CNodeRec.h"

#include "platform/base/CollectionMaps.h"

#include <vector>

class CCatalog;

class CCatalogFolderMap : public CMapStringToPtr {
public:
    explicit CCatalogFolderMap(CCatalog* pCatalog);
    ~CCatalogFolderMap() override;
    CCatalogFolderMap(const CCatalogFolderMap&) = delete;
    CCatalogFolderMap& operator=(const CCatalogFolderMap&) = delete;

    // The nodes assigned to the folder (a path in any case, with or without a
    // trailing backslash; on a network drive letter it is looked up in its
    // share form), or null when no record names it. The list stays the map's.
    const CNodeRecArray* LookupFolder(LPCTSTR pszFolder);

    // Enters a folder record made after the map was built.
    void AddRecord(LPCTSTR pszText, CRecordRef record);
    // How many records were entered since the map was built: a lookup's
    // outcome holds while the count stays the same.
    unsigned GetRecordCount() const { return m_nRecords; }

    // The key of a record's text or of a folder path.
    static CString MakeKey(LPCTSTR pszText);

private:
    // The folder records of one key.
    struct CEntry {
        std::vector<CRecordRef> records;
        CNodeRecArray* pNodes { nullptr }; // read on first use
    };

    CCatalog* const m_pCatalog;
    unsigned m_nRecords { 0 };
};
