#include "store/CEntryLinkRec.h"

#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CTextEntryRec.h"
#include "store/RecordFields.h"

CEntryLinkRec::CEntryLinkRec(CCatalog* pCatalog, LONG nLinkTable, CRecordRef ref)
    : CCatalogRecord(pCatalog, nLinkTable, ref)
{
    m_bValid = Load() != FALSE;
}

CRecordRef CEntryLinkRec::GetTarget() const
{
    return GetRefField(GetData(), OFF_TARGET);
}

WORD CEntryLinkRec::GetKind() const
{
    return GetWordField(GetData(), OFF_KIND);
}

/******************************************************************************
 * Chains
 ******************************************************************************/

namespace {

// The owner's record and the first block of its chain, checked to be a chain
// of the link table owned by it; FALSE on damage.
[[nodiscard]] BOOL ReadChainHead(
    CCatalog* pCatalog, const CEntryLinkChain& chain, std::vector<BYTE>* pOwner, CATBLOCK* pnFirst)
{
    *pnFirst = NO_BLOCK;
    LONG nSize = pCatalog->GetRecordSize(chain.nOwnerTable);
    if (nSize <= chain.nOffset) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pOwner->assign(static_cast<std::size_t>(nSize), 0);
    if (!pCatalog->ReadRecord(chain.owner, chain.nOwnerTable, *pOwner))
        return FALSE;
    CATBLOCK nFirst = GetLongField(*pOwner, chain.nOffset);
    if (nFirst == NO_BLOCK)
        return TRUE;
    CCatalogBlock* pBlock = pCatalog->GetBlock(nFirst);
    if (!pBlock || pBlock->GetTableType() != chain.nLinkTable || pBlock->GetHeader().owner != chain.owner) {
        pCatalog->ReportDamage(); // the record names a chain that is not its own
        return FALSE;
    }
    *pnFirst = nFirst;
    return TRUE;
}

}

BOOL ListEntryLinks(CCatalog* pCatalog, const CEntryLinkChain& chain, std::vector<CEntryLinkRec>* pLinks)
{
    pLinks->clear();
    std::vector<BYTE> owner;
    CATBLOCK nFirst = NO_BLOCK;
    if (!ReadChainHead(pCatalog, chain, &owner, &nFirst))
        return FALSE;
    if (nFirst == NO_BLOCK)
        return TRUE;
    CRecordRef cursor { nFirst, NO_SLOT };
    while (pCatalog->NextRecord(&cursor)) {
        pLinks->emplace_back(pCatalog, chain.nLinkTable, cursor);
        if (!pLinks->back().IsValid())
            return FALSE;
    }
    return GetLastError() == ERROR_NO_MORE_ITEMS;
}

BOOL AddEntryLink(CCatalog* pCatalog, const CEntryLinkChain& chain, CRecordRef target, WORD wKind)
{
    std::vector<BYTE> owner;
    CATBLOCK nFirst = NO_BLOCK;
    CRecordRef ref;
    if (!ReadChainHead(pCatalog, chain, &owner, &nFirst)
        || !pCatalog->AllocateRecord(chain.nLinkTable, nFirst, chain.owner, &ref))
        return FALSE;
    std::vector<BYTE> link(CEntryLinkRec::RECORD_SIZE, 0);
    SetRefField(link, CEntryLinkRec::OFF_TARGET, target);
    SetWordField(link, CEntryLinkRec::OFF_KIND, wKind);
    BOOL bDone = pCatalog->WriteRecord(ref, chain.nLinkTable, link);
    if (bDone && nFirst == NO_BLOCK) {
        SetLongField(owner, chain.nOffset, ref.nBlock);
        bDone = pCatalog->WriteRecord(chain.owner, chain.nOwnerTable, owner);
    }
    if (!bDone)
        (void)pCatalog->FreeRecord(ref, chain.nLinkTable); // the file refuses writes now; nothing more to undo
    return bDone;
}

BOOL RemoveEntryLinks(CCatalog* pCatalog, const CEntryLinkChain& chain, CRecordRef target)
{
    std::vector<CEntryLinkRec> links;
    if (!ListEntryLinks(pCatalog, chain, &links))
        return FALSE;
    for (const CEntryLinkRec& link : links) {
        if ((target.IsNone() || link.GetTarget() == target) && !pCatalog->FreeRecord(link.GetRef(), chain.nLinkTable))
            return FALSE;
    }
    return TRUE;
}

CEntryLinkChain EntryLinkChainOfEntry(LONG nLinkTable, CRecordRef entry)
{
    return { entry, nLinkTable - 2, CTextEntryRec::OFF_WORD, nLinkTable };
}

CEntryLinkChain EntryLinkChainOfNode(LONG nLinkTable, CRecordRef node)
{
    int nOffset = nLinkTable == TABLE_KEYWORD_LINK ? CNodeRec::OFF_KEYWORD_BLOCK : CNodeRec::OFF_FOLDER_BLOCK;
    return { node, TABLE_NODE, nOffset, nLinkTable };
}

BOOL UnlinkEntryFromNodes(CCatalog* pCatalog, LONG nEntryTable, CRecordRef entry)
{
    LONG nLinkTable = nEntryTable + 2;
    CEntryLinkChain entrySide = EntryLinkChainOfEntry(nLinkTable, entry);
    std::vector<CEntryLinkRec> links;
    if (!ListEntryLinks(pCatalog, entrySide, &links))
        return FALSE;
    for (const CEntryLinkRec& link : links) {
        CRecordRef node = link.GetTarget();
        // A node that is gone took its own side with it.
        if (pCatalog->CheckRecord(node.nBlock, node.nSlot, TABLE_NODE)
            && !RemoveEntryLinks(pCatalog, EntryLinkChainOfNode(nLinkTable, node), entry))
            return FALSE;
    }
    return RemoveEntryLinks(pCatalog, entrySide, {});
}
