#pragma once

// Compacts the mail stores the main catalog holds messages of: each store
// drops the messages its client deleted, and the catalog's records follow,
// a removed message marked gone ("x"), a moved one given its new place.
//
// The records change only once a store was rewritten whole: a run stopped
// or failed in a store leaves that store byte-identical and its records as
// they were, so the catalog never names places of a store that did not change.
// Stores whose messages all went already, and store kinds without a folder
// reader, are passed over.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "store/CatalogTypes.h"

#include <functional>
#include <vector>

class CCatalog;

class CMailboxReorganizer {
public:
    // Told after each message of a run, with its name and length; FALSE stops the run.
    using CProgress = std::function<BOOL(LPCTSTR pszMessage, DWORD dwLength)>;

    // Finds the stores and their sizes in pCatalog, which the caller holds open for the run.
    explicit CMailboxReorganizer(CCatalog* pCatalog);

    // The stores' data sizes added up: the total the progress steps towards.
    ULONGLONG GetTotalSize() const { return m_nTotalSize; }
    int GetStoreCount() const { return static_cast<int>(m_stores.size()); }

    // Reorganises every store in catalog order: MAIL_STOPPED when the progress
    // stopped it, else MAIL_OK (a store that failed keeps its state and is logged).
    int Run(const CProgress& progress);

private:
    struct CStore {
        CRecordRef directory;
        CString strPath; // the store file's program path
        int nKind { -1 };
    };

    // One store; MAIL_OK, MAIL_STOPPED or the reader's failure.
    int Reorganize(const CStore& store, const CProgress& progress);

    CCatalog* const m_pCatalog;
    std::vector<CStore> m_stores;
    ULONGLONG m_nTotalSize { 0 };
};
