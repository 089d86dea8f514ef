// Links: store
// Opens arbitrary bytes as a catalog, walks every chain from every block with
// a bound on the steps, then walks the tree of nodes from the root and the
// fixed nodes with each node's documents, the entry tables and the
// recently-catalogued list and the keyword and folder links, queries the
// expired documents, and adds and removes one document; first it runs the
// whole-file check that backups pass before a restore. The file goes to a
// temporary folder of this process.

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/CatalogCheck.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The blocks and nodes walked per input, so one input cannot run for long.
constexpr CATBLOCK MAX_BLOCKS_WALKED = 4096;
constexpr int MAX_NODES_WALKED = 2000;

void WalkBlocks(CCatalog& catalog)
{
    CATBLOCK nLast = std::min(catalog.GetLastBlock(), MAX_BLOCKS_WALKED - 1);
    const std::int64_t nBound = std::int64_t { nLast + 1 } * SlotCount(1);
    for (CATBLOCK nBlock = 0; nBlock <= nLast; ++nBlock) {
        CCatalogBlock* pBlock = catalog.GetBlock(nBlock);
        if (!pBlock)
            continue;
        LONG nType = pBlock->GetTableType();
        std::vector<BYTE> data(static_cast<std::size_t>(pBlock->GetRecordSize()));
        CRecordRef cursor { nBlock, NO_SLOT };
        for (std::int64_t nStep = 0; nStep < nBound && catalog.NextRecord(&cursor); ++nStep)
            (void)catalog.ReadRecord(cursor, nType, data); // only crashes and hangs matter here
    }
}

void WalkDocument(CDocumentRec& document)
{
    CString strText;
    document.GetFullPath(strText);
    document.GetNameWithLocation(strText);
    document.GetAltNameWithLocation(strText);
    document.GetLabel(strText);
    document.GetTypeName(strText);
    (void)document.GetDirectoryString();
    CDocumentInfo info;
    document.GetInfo(&info);
    (void)document.GetLinkedNodes();
    (void)document.CountNodeLinks(FALSE);
}

void WalkTree(CCatalog& catalog)
{
    std::vector<std::unique_ptr<CNodeRec>> pending;
    for (LONG nKind = 0; nKind <= CNodeRec::FIXED_NODE_LAST; ++nKind)
        pending.push_back(std::make_unique<CNodeRec>(&catalog, nKind));
    for (int nVisited = 0; !pending.empty() && nVisited < MAX_NODES_WALKED; ++nVisited) {
        std::unique_ptr<CNodeRec> pNode = std::move(pending.back());
        pending.pop_back();
        CNodeInfo info;
        pNode->GetInfo(&info);
        CStringArray names;
        pNode->GetPathNames(names);
        (void)pNode->GetKeywords();
        (void)pNode->GetNodeFolders();
        (void)pNode->HasDocuments(nullptr);
        for (auto& pDocument : pNode->GetDocuments())
            WalkDocument(*pDocument);
        for (auto& pChild : pNode->GetChildren())
            pending.push_back(std::move(pChild));
    }
}

void WalkEntries(CCatalog& catalog)
{
    for (CString str = catalog.FirstExtension(); !str.IsEmpty(); str = catalog.NextExtension())
        (void)catalog.LookupExtension("x." + str);
    CString strKey;
    for (int nIterator = catalog.GetLocationCount(); catalog.NextLocation(&nIterator, strKey);)
        (void)catalog.GetLocationKind(strKey);
    CRecentList recent(&catalog);
    for (int i = 0; i < recent.GetStoredCount(); ++i) {
        std::unique_ptr<CDocumentRec> pDocument(recent.CreateItemObject(i));
        if (pDocument)
            WalkDocument(*pDocument);
    }
}

void QueryExpired(CCatalog& catalog)
{
    CNodeRec expiring(&catalog, 1);
    const LONG criteria[QUERY_WORDS] = { 1, 1, 1, 1, 1, 4071 };
    std::unique_ptr<CDocumentSet> pSet(expiring.Query(criteria, QUERY_WORDS));
}

void AddAndRemove(CCatalog& catalog)
{
    std::unique_ptr<CNodeRec> pNode(CNodeRec::NewTopNodeRec3(&catalog));
    std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddPath(pNode.get(), "c:\\fuzz\\new.txt"));
    if (pDocument)
        (void)pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const ScratchFolder folder("catalog-fuzz-");
    if (!folder.IsValid())
        std::abort();
    const std::filesystem::path file = folder.Path() / "fuzz.cat";
    // A journal the last input left after a failed write belongs to no input.
    std::error_code ec;
    std::filesystem::remove(folder.Path() / "fuzz.cat.jnl", ec);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    std::string strPath = ProgramPathFromHostPath(file.string());
    (void)CheckCatalogFile(strPath.c_str(), CATALOG_KIND_MAIN); // only crashes and hangs matter here
    CCatalog catalog(strPath.c_str(), 0);
    if (catalog.IsOpen()) {
        WalkBlocks(catalog);
        WalkTree(catalog);
        WalkEntries(catalog);
        QueryExpired(catalog);
        AddAndRemove(catalog);
    }
    return 0;
}
