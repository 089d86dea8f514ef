#pragma once

// Keeps the web access grants bound to the groups they were given for. A
// grant names its group by record reference, and a deleted group's slot may
// later hold any new group; so the moment the served catalog frees a node,
// its grants go from the stored profiles (saved at once) and from the live
// sessions. A new group is granted only by the user's own choice.

#include "store/CCatalogFile.h"

#include <atomic>

class CCatalog;
class CWAServer;

class CWAGroupWatch : public CCatalogFile::CFreeListener {
public:
    // The one watch of the program.
    static CWAGroupWatch& Get();

    // Watches the catalog web access serves; frees in any other are ignored.
    void Watch(CCatalog* pCatalog);
    // The server whose sessions lose the grants too; null when none.
    void AttachServer(CWAServer* pServer) { m_pServer = pServer; }
    void DetachServer(const CWAServer* pServer);

    void OnRecordFreed(CCatalogFile& file, CRecordRef ref, LONG nTableType) override;

private:
    CWAGroupWatch() = default;

    std::atomic<const CCatalogFile*> m_pCatalog { nullptr }; // compared on the freeing thread
    CWAServer* m_pServer { nullptr };
};
