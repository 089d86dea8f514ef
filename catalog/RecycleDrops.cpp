#include "catalog/RecycleDrops.h"

#include "catalog/CRecycleRun.h"
#include "catalog/RecycleBin.h"

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/DocumentOperations.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/window/WindowClass.h"

#include <memory>

BOOL LixeiraDropItems(CCatalog* pMain, CCatalog* pBin, const CCatalogPayload& payload, std::vector<LONG>* pStatus)
{
    pStatus->assign(payload.items.size(), DROP_REFUSED);
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    std::vector<size_t> offered; // the item of each entry
    for (size_t i = 0; i < payload.items.size(); ++i) {
        const CRecordRef& ref = payload.items[i];
        std::unique_ptr<CCatalogRecord> pEntry;
        if (pMain->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT)) {
            auto pDocument = std::make_unique<CDocumentRec>(pMain, ref.nBlock, ref.nSlot);
            if (pDocument->IsValid() && CanRecycle(*pDocument))
                pEntry = std::move(pDocument);
        } else if (pMain->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE)) {
            auto pNode = std::make_unique<CNodeRec>(pMain, ref.nBlock, ref.nSlot);
            if (pNode->IsValid())
                pEntry = std::move(pNode);
        }
        if (!pEntry)
            continue;
        (*pStatus)[i] = DROP_MOVED;
        entries.push_back(std::move(pEntry));
        offered.push_back(i);
    }
    if (entries.empty() || !MoveToRecycleBin(pMain, pBin, entries, FALSE))
        return FALSE;
    for (size_t n = 0; n < entries.size(); ++n) {
        if (entries[n])
            (*pStatus)[offered[n]] = DROP_STAYED;
    }
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(RegisterWindowMessage("APPM Refazer"), 0, 0);
    return TRUE;
}
