#include "store/CatalogCheck.h"

#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

// Walks the root chain of every table. A chain ends with ERROR_NO_MORE_ITEMS;
// anything else is damage.
bool WalkRootChains(CCatalog& catalog)
{
    for (CATBLOCK nRoot = ROOT_BLOCK_NODE; nRoot <= ROOT_BLOCK_LOCATION; ++nRoot) {
        CRecordRef cursor { nRoot, NO_SLOT };
        while (catalog.NextRecord(&cursor)) { }
        if (GetLastError() != ERROR_NO_MORE_ITEMS)
            return false;
    }
    return true;
}

// Walks the tree below the root and the fixed nodes: each node's children,
// documents, keywords and node folders. Every node is visited once, so even a
// tree that loops ends.
void WalkNodes(CCatalog& catalog)
{
    CNodeRecArray pending;
    for (LONG nKind = 0; nKind <= CNodeRec::FIXED_NODE_LAST; ++nKind)
        pending.push_back(std::make_unique<CNodeRec>(&catalog, nKind));
    std::set<std::pair<CATBLOCK, LONG>> visited;
    while (!pending.empty() && catalog.IsWritable()) {
        std::unique_ptr<CNodeRec> pNode = std::move(pending.back());
        pending.pop_back();
        if (!pNode->IsValid()) {
            catalog.ReportDamage();
            return;
        }
        if (!visited.emplace(pNode->GetRef().nBlock, pNode->GetRef().nSlot).second)
            continue;
        pNode->GetDocuments();
        pNode->GetKeywords();
        pNode->GetNodeFolders();
        for (auto& pChild : pNode->GetChildren())
            pending.push_back(std::move(pChild));
    }
}

// Walks the documents of every directory.
void WalkDirectories(CCatalog& catalog)
{
    CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
    while (catalog.IsWritable() && catalog.NextRecord(&cursor)) {
        CDirectoryRec directory(&catalog, cursor);
        if (!directory.IsValid()) {
            catalog.ReportDamage();
            return;
        }
        for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
             pDocument.reset(directory.NextDocument())) { }
    }
}

}

BOOL CheckCatalogFile(LPCTSTR pszPath, LONG nKind)
{
    CCatalog catalog(pszPath, 0);
    if (!catalog.IsOpen() || !catalog.IsWritable() || catalog.GetKind() != nKind)
        return FALSE;
    if (!WalkRootChains(catalog))
        return FALSE;
    WalkNodes(catalog);
    WalkDirectories(catalog);
    return catalog.IsWritable();
}
