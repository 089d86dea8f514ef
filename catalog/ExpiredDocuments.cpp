#include "catalog/ExpiredDocuments.h"

#include "catalog/CCatalogPrompts.h"

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/DocumentOperations.h"

namespace {

// Documents (not only records) under the expiring-documents node whose date
// passed, oldest first, titled "expired documents".
constexpr LONG EXPIRED_QUERY[QUERY_WORDS] = { 1, 1, 0, 1, 1, 4071 };

} // namespace

std::unique_ptr<CDocumentSet> QueryExpiredDocuments(CCatalog* pCatalog)
{
    const CNodeRec expiring(pCatalog, CNodeRec::EXPIRING_NODE_BLOCK, 0);
    if (!expiring.IsValid())
        return nullptr;
    return std::unique_ptr<CDocumentSet>(expiring.Query(EXPIRED_QUERY, QUERY_WORDS));
}

int CheckExpiredDocuments(CCatalog* pCatalog, const CCatalogPayload& payload)
{
    int nChanged = 0;
    for (const CRecordRef& ref : payload.items) {
        if (!pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT))
            continue;
        CDocumentRec document(pCatalog, ref.nBlock, ref.nSlot);
        CDocumentInfo info {};
        if (!document.IsValid() || document.GetInfo(&info) == nullptr)
            continue;
        LONG nExpiry = info.nExpiry > 0 ? info.nExpiry : 0;
        if (GetCatalogPrompts().AskExpiryDate(document, nExpiry) != IDOK)
            continue;
        info.nExpiry = nExpiry;
        if (document.UpdateInfo(info))
            nChanged = 1;
    }
    return nChanged;
}
