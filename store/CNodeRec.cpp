#include "store/CNodeRec.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CEntryLinkRec.h"
#include "store/CLinkRec.h"
#include "store/CatalogColumns.h"
#include "store/CatalogCompare.h"
#include "store/ListFilter.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

static_assert(CNodeRec::OFF_FOLDER_BLOCK + 4 == CNodeRec::RECORD_SIZE);
static_assert(CNodeRec::NAME_SIZE == sizeof(CNodeInfo::szName));
static_assert(CNodeInfoRec::TEXT_SIZE == sizeof(CNodeInfo::szInfo));

namespace {

// The deepest tree walked: a deeper one can only be a damaged file whose
// chains own each other in a circle.
constexpr int MAX_TREE_DEPTH = 256;

// A new cursor on ref, or null when it names no node.
CNodeRec* NewNode(CCatalog* pCatalog, CRecordRef ref)
{
    if (!pCatalog)
        return nullptr;
    auto pNode = std::make_unique<CNodeRec>(pCatalog, ref.nBlock, ref.nSlot);
    return pNode->IsValid() ? pNode.release() : nullptr;
}

}

CNodeRec::CNodeRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CCatalogRecord(pCatalog, TABLE_NODE, { nBlock, nSlot })
    , m_pCatalog(pCatalog)
{
    CNodeRec::Load();
}

CNodeRec::CNodeRec(CCatalog* pCatalog, LONG nKind)
    : CNodeRec(pCatalog, nKind, 0)
{
}

BOOL CNodeRec::Load()
{
    m_bValid = CCatalogRecord::Load() != FALSE;
    return m_bValid;
}

CNodeRec* CNodeRec::NewRootNodeRec(CCatalog* pCatalog)
{
    return NewNode(pCatalog, { ROOT_BLOCK_NODE, 0 });
}

CNodeRec* CNodeRec::NewTopNodeRec2(CCatalog* pCatalog)
{
    return NewNode(pCatalog, { FAVOURITES_NODE_BLOCK, 0 });
}

CNodeRec* CNodeRec::NewTopNodeRec3(CCatalog* pCatalog)
{
    return NewNode(pCatalog, { SYSTEMS_NODE_BLOCK, 0 });
}

CNodeRec* CNodeRec::NewTopNodeRec4(CCatalog* pCatalog)
{
    return NewNode(pCatalog, { 4, 0 });
}

CNodeRec* CNodeRec::Clone() const
{
    return NewNode(m_pCatalog, GetRef());
}

CString CNodeRec::GetName() const
{
    return GetTextField(GetData(), OFF_NAME, NAME_SIZE);
}

LONG CNodeRec::GetKind() const
{
    return GetLongField(GetData(), OFF_KIND);
}

LONG CNodeRec::GetFlags() const
{
    return GetLongField(GetData(), OFF_FLAGS);
}

BOOL CNodeRec::IsFixedNode() const
{
    return IsFixedNodeRef(GetRef());
}

bool CNodeRec::IsFixedNodeRef(CRecordRef node)
{
    return node.nSlot == 0 && node.nBlock >= ROOT_BLOCK_NODE && node.nBlock <= FIXED_NODE_LAST;
}

bool CNodeRec::IsRootRef(CRecordRef node)
{
    return node == CRecordRef { ROOT_BLOCK_NODE, 0 };
}

BOOL CNodeRec::GetChildrenFiltered() const
{
    if (!m_bValid || !m_pCatalog->CheckRecord(GetBlock(), GetSlot(), TABLE_NODE))
        return FALSE;
    std::array<BYTE, RECORD_SIZE> data;
    return m_pCatalog->ReadRecord(GetRef(), TABLE_NODE, data) && GetTextField(data, OFF_NAME, NAME_SIZE) == GetName();
}

/******************************************************************************
 * Owned chains
 ******************************************************************************/

BOOL CNodeRec::GetOwnedChain(int nOffset, LONG nTableType, CATBLOCK* pnFirst) const
{
    *pnFirst = NO_BLOCK;
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The field is read from the file, as another cursor on the node may have started the chain.
    std::array<BYTE, RECORD_SIZE> data;
    if (!m_pCatalog->ReadRecord(GetRef(), TABLE_NODE, data))
        return FALSE;
    CATBLOCK nFirst = GetLongField(data, nOffset);
    if (nFirst == NO_BLOCK)
        return TRUE;
    CCatalogBlock* pBlock = m_pCatalog->GetBlock(nFirst);
    if (!pBlock || pBlock->GetTableType() != nTableType || pBlock->GetHeader().owner != GetRef()) {
        m_pCatalog->ReportDamage(); // the node names a chain that is not its own
        return FALSE;
    }
    *pnFirst = nFirst;
    return TRUE;
}

BOOL CNodeRec::AllocateInChain(int nOffset, LONG nTableType, CRecordRef* pRef, std::span<const BYTE> initial)
{
    CATBLOCK nFirst = NO_BLOCK;
    if (!GetOwnedChain(nOffset, nTableType, &nFirst)
        || !m_pCatalog->AllocateRecord(nTableType, nFirst, GetRef(), pRef, initial))
        return FALSE;
    if (nFirst != NO_BLOCK)
        return TRUE;
    // The node's other fields are taken from the file, as another cursor on it may have changed them.
    if (Load()) {
        SetLongField(GetData(), nOffset, pRef->nBlock);
        if (Save())
            return TRUE;
    }
    (void)m_pCatalog->FreeRecord(*pRef, nTableType); // the file refuses writes now; nothing more to undo
    return FALSE;
}

BOOL CNodeRec::ListChain(int nOffset, LONG nTableType, std::vector<CRecordRef>* pRefs) const
{
    pRefs->clear();
    CATBLOCK nFirst = NO_BLOCK;
    if (!GetOwnedChain(nOffset, nTableType, &nFirst))
        return FALSE;
    if (nFirst == NO_BLOCK)
        return TRUE;
    CRecordRef cursor { nFirst, NO_SLOT };
    while (m_pCatalog->NextRecord(&cursor))
        pRefs->push_back(cursor);
    return GetLastError() == ERROR_NO_MORE_ITEMS;
}

/******************************************************************************
 * The tree
 ******************************************************************************/

CNodeRec* CNodeRec::GetParent() const
{
    if (!m_bValid || IsFixedNode())
        return nullptr;
    CCatalogBlock* pBlock = m_pCatalog->GetBlock(GetBlock());
    if (!pBlock)
        return nullptr;
    CRecordRef owner = pBlock->GetHeader().owner;
    if (owner.IsNone())
        return nullptr;
    std::unique_ptr<CNodeRec> pParent(NewNode(m_pCatalog, owner));
    if (!pParent) {
        m_pCatalog->ReportDamage(); // a node chain owned by something that is no node
        return nullptr;
    }
    // Only a parent whose child chain holds the node's block: a block that a
    // stopped write never linked into the chain is outside the tree.
    return pParent->HoldsChainBlock(OFF_CHILD_BLOCK, TABLE_NODE, GetBlock()) ? pParent.release() : nullptr;
}

CNodeRecArray CNodeRec::GetAncestors() const
{
    CNodeRecArray ancestors;
    std::unique_ptr<CNodeRec> pNode(GetParent());
    for (int nDepth = 0; pNode; ++nDepth) {
        if (nDepth >= MAX_TREE_DEPTH) {
            m_pCatalog->ReportDamage();
            return {};
        }
        std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
        ancestors.push_back(std::move(pNode));
        pNode = std::move(pParent);
    }
    std::reverse(ancestors.begin(), ancestors.end());
    return ancestors;
}

void CNodeRec::GetPathNames(CStringArray& names) const
{
    names.RemoveAll();
    for (const auto& pAncestor : GetAncestors()) {
        if (!IsRootRef(pAncestor->GetRef()))
            names.Add(pAncestor->GetName());
    }
    names.Add(GetName());
}

CNodeRec* CNodeRec::GetFirstChild() const
{
    std::vector<CRecordRef> refs;
    if (!ListChain(OFF_CHILD_BLOCK, TABLE_NODE, &refs) || refs.empty())
        return nullptr;
    return NewNode(m_pCatalog, refs.front());
}

CNodeRecArray CNodeRec::GetChildren() const
{
    CNodeRecArray children;
    std::vector<CRecordRef> refs;
    if (!ListChain(OFF_CHILD_BLOCK, TABLE_NODE, &refs))
        return children;
    for (CRecordRef ref : refs) {
        if (CNodeRec* pChild = NewNode(m_pCatalog, ref))
            children.emplace_back(pChild);
    }
    return children;
}

CNodeRecArray CNodeRec::GetSortedChildren(const CSortSpec* pSpec) const
{
    CNodeRecArray children = GetChildren();
    if (!pSpec)
        return children;
    // Binary insertion after every equal name keeps equal names in catalog order.
    CNodeRecArray sorted;
    sorted.reserve(children.size());
    for (auto& pChild : children)
        InsertNodeSorted(sorted, std::move(pChild), *pSpec);
    return sorted;
}

CNodeRec* CNodeRec::FindChildByName(LPCTSTR pszName) const
{
    CString strName(pszName ? pszName : "");
    for (auto& pChild : GetChildren()) {
        if (pChild->GetName() == strName)
            return pChild.release();
    }
    return nullptr;
}

CNodeRec* CNodeRec::FindOrAddChild(const CNodeInfo& info)
{
    CCatalogAction action(m_pCatalog);
    char szName[NAME_SIZE];
    Utf8CopyToField(szName, sizeof(szName), std::string(info.szName, strnlen(info.szName, sizeof(info.szName))).c_str(),
        FieldEnd::NulTerminated);
    if (CNodeRec* pFound = FindChildByName(szName))
        return action.Finish(pFound);
    return action.Finish(AddChild(info));
}

CNodeRec* CNodeRec::AddChild(const CNodeInfo& info)
{
    CCatalogAction action(m_pCatalog);
    // The record is written whole with its slot: a process stopped right after
    // leaves a named child without chains or text, never one whose chain
    // fields are zero.
    std::array<BYTE, RECORD_SIZE> record {};
    CNodeInfo named = info;
    named.szName[sizeof(named.szName) - 1] = '\0';
    SetTextField(record, OFF_NAME, NAME_SIZE, named.szName);
    SetLongField(record, OFF_KIND, info.nKind);
    SetLongField(record, OFF_FLAGS, info.nFlags);
    SetLongField(record, OFF_CHILD_BLOCK, NO_BLOCK);
    SetLongField(record, OFF_LINK_BLOCK, NO_BLOCK);
    SetRefField(record, OFF_INFO_REF, {});
    SetLongField(record, OFF_KEYWORD_BLOCK, NO_BLOCK);
    SetLongField(record, OFF_FOLDER_BLOCK, NO_BLOCK);
    CRecordRef ref;
    if (!AllocateInChain(OFF_CHILD_BLOCK, TABLE_NODE, &ref, record))
        return nullptr;
    CNodeRec child(m_pCatalog, ref.nBlock, ref.nSlot);
    if ((info.szInfo[0] != '\0' || info.wSearchType != 0) && !child.UpdateInfo(info))
        return nullptr;
    return action.Finish(child.Clone());
}

CNodeRec* CNodeRec::FindOrAddPathIn(CCatalog* pTarget) const
{
    CCatalogAction action(pTarget);
    if (!m_bValid || !pTarget) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IsFixedNode())
        return action.Finish(NewNode(pTarget, GetRef()));
    CNodeRecArray path = GetAncestors();
    if (path.empty() || !path.front()->IsFixedNode()) {
        m_pCatalog->ReportDamage(); // every tree hangs under a fixed node
        return nullptr;
    }
    std::unique_ptr<CNodeRec> pNode(NewNode(pTarget, path.front()->GetRef()));
    path.erase(path.begin());
    path.emplace_back(Clone());
    for (const auto& pStep : path) {
        if (!pNode || !pStep)
            return nullptr;
        CNodeInfo info;
        pNode.reset(pNode->FindOrAddChild(*pStep->GetInfo(&info)));
    }
    return action.Finish(pNode.release());
}

int CNodeRec::CountChildren() const
{
    std::vector<CRecordRef> refs;
    return ListChain(OFF_CHILD_BLOCK, TABLE_NODE, &refs) ? static_cast<int>(refs.size()) : 0;
}

/******************************************************************************
 * Documents
 ******************************************************************************/

// A document link is written in two places: the link record in the node's
// chain, then the document's own list (the document record or the list's last
// link) naming it; it is taken out of the document's list before its record is
// freed. Each step is one write, so a process stopped between the two leaves a
// link record that the document does not list back. Readers take a link only
// when both sides agree: that state then reads as the one before the link was
// made (or after it was removed), and the leftover record never shows the
// document that later takes the freed document's slot.
BOOL CNodeRec::ForEachTwoWayLink(const std::function<bool(std::unique_ptr<CDocumentRec>)>& visit,
    const std::function<bool(CRecordRef)>& wanted) const
{
    CATBLOCK nFirst = NO_BLOCK;
    if (!GetOwnedChain(OFF_LINK_BLOCK, TABLE_LINK, &nFirst))
        return FALSE;
    if (nFirst == NO_BLOCK)
        return TRUE;
    CRecordRef cursor { nFirst, NO_SLOT };
    // Each link's document is taken from the link's bytes where they lie; the
    // links of unwanted documents are passed over there, unless their document
    // may lie past the file's end, which is damage, read or not. Blocks are
    // only ever appended, so a block up to the last one seen here exists.
    const CATBLOCK nLastBlock = m_pCatalog->GetLastBlock();
    CRecordRef document;
    auto readDocument = [&](std::span<const BYTE> link) {
        document = GetRefField(link, CLinkRec::OFF_DOCUMENT);
        return !wanted || wanted(document) || document.nBlock > nLastBlock;
    };
    while (m_pCatalog->FindNextRecord(&cursor, readDocument)) {
        if (wanted && !wanted(document)) {
            if (m_pCatalog->IsPastEnd(document.nBlock)) {
                m_pCatalog->ReportDamage();
                return FALSE;
            }
            continue;
        }
        auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, document.nBlock, document.nSlot);
        // A link whose document is gone, or whose document does not list it, lists nothing.
        if (!pDocument->IsValid() || !pDocument->ListsLink(cursor)) {
            if (!pDocument->IsValid() && m_pCatalog->IsPastEnd(document.nBlock)) {
                m_pCatalog->ReportDamage();
                return FALSE;
            }
            continue;
        }
        if (!visit(std::move(pDocument)))
            return TRUE;
    }
    return GetLastError() == ERROR_NO_MORE_ITEMS;
}

BOOL CNodeRec::HoldsChainBlock(int nOffset, LONG nTableType, CATBLOCK nBlock) const
{
    CATBLOCK nCurrent = NO_BLOCK;
    if (!GetOwnedChain(nOffset, nTableType, &nCurrent))
        return FALSE;
    // A chain holds no more blocks than the file.
    for (CATBLOCK nStep = 0; nCurrent != NO_BLOCK && nStep <= m_pCatalog->GetLastBlock(); ++nStep) {
        if (nCurrent == nBlock)
            return TRUE;
        CCatalogBlock* pBlock = m_pCatalog->GetBlock(nCurrent);
        if (!pBlock)
            return FALSE;
        nCurrent = pBlock->GetHeader().nNextBlock;
    }
    return FALSE;
}

int CNodeRec::CountDocuments() const
{
    int nCount = 0;
    return ForEachTwoWayLink([&](std::unique_ptr<CDocumentRec>) { return ++nCount, true; }) ? nCount : 0;
}

CDocumentRecArray CNodeRec::GetDocuments(int nMaxCount) const
{
    CDocumentRecArray documents;
    // The chain is walked only as far as the documents asked for.
    std::size_t nMax = nMaxCount < 0 ? SIZE_MAX : static_cast<std::size_t>(nMaxCount);
    if (nMax == 0)
        return documents;
    BOOL bWalked = ForEachTwoWayLink([&](std::unique_ptr<CDocumentRec> pDocument) {
        documents.push_back(std::move(pDocument));
        return documents.size() < nMax;
    });
    return bWalked ? std::move(documents) : CDocumentRecArray();
}

BOOL CNodeRec::ForEachDocument(const std::function<bool(const CDocumentRec&)>& visit) const
{
    return ForEachDocument(nullptr, visit);
}

BOOL CNodeRec::ForEachDocument(
    const std::function<bool(CRecordRef)>& wanted, const std::function<bool(const CDocumentRec&)>& visit) const
{
    return ForEachTwoWayLink([&](std::unique_ptr<CDocumentRec> pDocument) { return visit(*pDocument); }, wanted);
}

BOOL CNodeRec::HasDocuments(const CListFilter* pFilter) const
{
    BOOL bFound = FALSE;
    (void)ForEachTwoWayLink([&](std::unique_ptr<CDocumentRec> pDocument) {
        bFound = !pFilter || ListFilterMatches(pFilter, *pDocument);
        return !bFound;
    }); // damage found on the way leaves what was found before it
    return bFound;
}

CDocumentRecArray CNodeRec::GetFilteredDocuments(const CSortSpec* pSpec, const CListFilter* pFilter) const
{
    CDocumentRecArray documents = GetDocuments();
    std::erase_if(documents, [&](const auto& pDocument) { return !ListFilterMatches(pFilter, *pDocument); });
    if (pSpec)
        SortDocuments(documents, *pSpec);
    return documents;
}

CDocumentRecArray CNodeRec::GetDocumentSet(const CSortSpec* pSpec, const CListFilter* pFilter) const
{
    return GetFilteredDocuments(pSpec, pFilter);
}

CDocumentSet* CNodeRec::Query(const LONG* pCriteria, int nWords) const
{
    if (!m_bValid || !pCriteria || nWords < QUERY_WORDS || pCriteria[0] != 1 || pCriteria[1] < 0 || pCriteria[1] > 1
        || pCriteria[2] < 0 || pCriteria[2] > 1 || (pCriteria[1] == 1 && (pCriteria[3] < 1 || pCriteria[3] > 2))
        || pCriteria[4] < 0 || pCriteria[4] > 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pSet = std::make_unique<CDocumentSet>();
    pSet->nTitleID = pCriteria[5];
    CDocumentRecArray found = GetDocuments();
    if (pCriteria[2] == 1) {
        // The descendants, walked breadth first; a document linked twice is listed once.
        CNodeRecArray pending = GetChildren();
        for (std::size_t i = 0; i < pending.size(); ++i) {
            if (i >= static_cast<std::size_t>(m_pCatalog->GetLastBlock() + 1) * SlotCount(RECORD_SIZE)) {
                m_pCatalog->ReportDamage(); // more nodes than the file can hold: children in a circle
                return nullptr;
            }
            for (auto& pDocument : pending[i]->GetDocuments()) {
                if (std::none_of(
                        found.begin(), found.end(), [&](const auto& p) { return p->GetRef() == pDocument->GetRef(); }))
                    found.push_back(std::move(pDocument));
            }
            for (auto& pChild : pending[i]->GetChildren())
                pending.push_back(std::move(pChild));
        }
    }
    if (pCriteria[1] == 1) {
        int nWanted = pCriteria[3] == 1 ? EXPIRY_PASSED : EXPIRY_NEW;
        // The test reads the record only: a document whose file is gone has expired all the same.
        std::erase_if(found, [&](const auto& pDocument) { return pDocument->GetRecordState() != nWanted; });
    }
    if (pCriteria[4] == 1)
        SortDocuments(found, { COLUMN_DATE, 1, 0 });
    pSet->documents = std::move(found);
    return pSet.release();
}

BOOL CNodeRec::AddDocument(CDocumentRec* pDocument)
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid || !pDocument || !pDocument->IsValid() || pDocument->GetDatabase() != GetDatabase()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<CLinkRec> links;
    if (!pDocument->ReadLinks(&links))
        return FALSE;
    if (std::any_of(links.begin(), links.end(), [&](const CLinkRec& link) { return link.GetNode() == GetRef(); }))
        return action.Finish(TRUE);
    std::array<BYTE, CLinkRec::RECORD_SIZE> record {};
    SetRefField(record, CLinkRec::OFF_DOCUMENT, pDocument->GetRef());
    SetRefField(record, CLinkRec::OFF_NEXT, {});
    CRecordRef ref;
    if (!AllocateInChain(OFF_LINK_BLOCK, TABLE_LINK, &ref, record))
        return FALSE;
    // The new link goes at the end of the document's list, after its record is
    // in the node's chain: until then readers do not take it (ForEachTwoWayLink).
    if (links.empty()) {
        if (!pDocument->Load())
            return FALSE;
        SetRefField(pDocument->GetData(), CDocumentRec::OFF_FIRST_LINK, ref);
        return action.Finish(pDocument->Save());
    }
    links.back().SetNext(ref);
    return action.Finish(links.back().Save());
}

BOOL CNodeRec::DeleteLinks(CDocumentRec* pDocument)
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid || !pDocument || !pDocument->IsValid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return action.Finish(pDocument->RemoveLinks([&](CRecordRef node) { return node == GetRef(); }));
}

BOOL CNodeRec::DeleteSubtree(BOOL bRecursive)
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid || !bRecursive || IsFixedNode()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return action.Finish(DeleteSubtreeAt(0));
}

BOOL CNodeRec::DeleteSubtreeAt(int nDepth)
{
    if (nDepth >= MAX_TREE_DEPTH) {
        m_pCatalog->ReportDamage();
        return FALSE;
    }
    std::vector<CRecordRef> refs;
    if (!ListChain(OFF_CHILD_BLOCK, TABLE_NODE, &refs))
        return FALSE;
    for (CRecordRef ref : refs) {
        CNodeRec child(m_pCatalog, ref.nBlock, ref.nSlot);
        if (!child.IsValid() || !child.DeleteSubtreeAt(nDepth + 1))
            return FALSE;
    }
    if (!ListChain(OFF_LINK_BLOCK, TABLE_LINK, &refs))
        return FALSE;
    for (CRecordRef ref : refs) {
        CLinkRec link(m_pCatalog, ref.nBlock, ref.nSlot);
        CRecordRef document = link.GetDocument();
        if (link.IsValid() && m_pCatalog->CheckRecord(document.nBlock, document.nSlot, TABLE_DOCUMENT)) {
            CDocumentRec doc(m_pCatalog, document.nBlock, document.nSlot);
            if (!DeleteLinks(&doc))
                return FALSE;
        }
        // A link its document does not list (or whose document is gone) goes on its own.
        if (m_pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_LINK) && !link.Delete())
            return FALSE;
    }
    if (!UnlinkKeywords() || !UnlinkNodeFolders())
        return FALSE;
    std::unique_ptr<CNodeInfoRec> pInfo(LoadInfoRec());
    if (pInfo && !pInfo->Delete())
        return FALSE;
    if (!Delete())
        return FALSE;
    m_bValid = false;
    return TRUE;
}

/******************************************************************************
 * Keywords and node folders
 ******************************************************************************/

BOOL CNodeRec::ListLinkedEntries(LONG nLinkTable, std::vector<CRecordRef>* pEntries) const
{
    pEntries->clear();
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<CEntryLinkRec> links;
    if (!ListEntryLinks(m_pCatalog, EntryLinkChainOfNode(nLinkTable, GetRef()), &links))
        return FALSE;
    for (const CEntryLinkRec& link : links) {
        CRecordRef entry = link.GetTarget();
        if (m_pCatalog->CheckRecord(entry.nBlock, entry.nSlot, nLinkTable - 2)
            && std::find(pEntries->begin(), pEntries->end(), entry) == pEntries->end())
            pEntries->push_back(entry);
    }
    return TRUE;
}

CKeywordRecArray CNodeRec::GetKeywords() const
{
    CKeywordRecArray keywords;
    std::vector<CRecordRef> refs;
    if (ListLinkedEntries(TABLE_KEYWORD_LINK, &refs)) {
        for (CRecordRef ref : refs) {
            auto pKeyword = std::make_unique<CKeywordRec>(m_pCatalog, ref.nBlock, ref.nSlot);
            if (pKeyword->IsValid())
                keywords.push_back(std::move(pKeyword));
        }
    }
    return keywords;
}

CNodeFolderRecArray CNodeRec::GetNodeFolders() const
{
    CNodeFolderRecArray folders;
    std::vector<CRecordRef> refs;
    if (ListLinkedEntries(TABLE_NODE_FOLDER_LINK, &refs)) {
        for (CRecordRef ref : refs) {
            auto pFolder = std::make_unique<CNodeFolderRec>(m_pCatalog, ref.nBlock, ref.nSlot);
            if (pFolder->IsValid())
                folders.push_back(std::move(pFolder));
        }
    }
    return folders;
}

BOOL CNodeRec::LinkEntry(LONG nLinkTable, const CTextEntryRec* pEntry)
{
    if (!m_bValid || !pEntry || !pEntry->IsValid() || pEntry->GetDatabase() != GetDatabase()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<CRecordRef> entries;
    if (!ListLinkedEntries(nLinkTable, &entries))
        return FALSE;
    if (std::find(entries.begin(), entries.end(), pEntry->GetRef()) != entries.end())
        return TRUE;
    // The entry's side first: a node side without it would list an entry that does not know the node.
    CEntryLinkChain entrySide = EntryLinkChainOfEntry(nLinkTable, pEntry->GetRef());
    if (!AddEntryLink(m_pCatalog, entrySide, GetRef(), static_cast<WORD>(GetKind())))
        return FALSE;
    if (AddEntryLink(m_pCatalog, EntryLinkChainOfNode(nLinkTable, GetRef()), pEntry->GetRef(), 0))
        return TRUE;
    (void)RemoveEntryLinks(m_pCatalog, entrySide, GetRef()); // the file refuses writes now; nothing more to undo
    return FALSE;
}

BOOL CNodeRec::RemoveEntryLink(LONG nLinkTable, const CTextEntryRec* pEntry)
{
    if (!m_bValid || !pEntry || !pEntry->IsValid() || pEntry->GetDatabase() != GetDatabase()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return RemoveEntryLinks(m_pCatalog, EntryLinkChainOfNode(nLinkTable, GetRef()), pEntry->GetRef())
        && RemoveEntryLinks(m_pCatalog, EntryLinkChainOfEntry(nLinkTable, pEntry->GetRef()), GetRef());
}

BOOL CNodeRec::UnlinkEntries(LONG nLinkTable)
{
    std::vector<CRecordRef> entries;
    if (!ListLinkedEntries(nLinkTable, &entries))
        return FALSE;
    for (CRecordRef entry : entries) {
        if (!RemoveEntryLinks(m_pCatalog, EntryLinkChainOfEntry(nLinkTable, entry), GetRef()))
            return FALSE;
    }
    return RemoveEntryLinks(m_pCatalog, EntryLinkChainOfNode(nLinkTable, GetRef()), {});
}

BOOL CNodeRec::LinkKeyword(const CKeywordRec* pKeyword)
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(LinkEntry(TABLE_KEYWORD_LINK, pKeyword));
}

BOOL CNodeRec::RemoveKeywordLink(const CKeywordRec* pKeyword)
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(RemoveEntryLink(TABLE_KEYWORD_LINK, pKeyword));
}

BOOL CNodeRec::UnlinkKeywords()
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(UnlinkEntries(TABLE_KEYWORD_LINK));
}

BOOL CNodeRec::LinkNodeFolder(const CNodeFolderRec* pFolder)
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(LinkEntry(TABLE_NODE_FOLDER_LINK, pFolder));
}

BOOL CNodeRec::RemoveNodeFolderLink(const CNodeFolderRec* pFolder)
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(RemoveEntryLink(TABLE_NODE_FOLDER_LINK, pFolder));
}

BOOL CNodeRec::UnlinkNodeFolders()
{
    CCatalogAction action(m_pCatalog);
    return action.Finish(UnlinkEntries(TABLE_NODE_FOLDER_LINK));
}

/******************************************************************************
 * Node information
 ******************************************************************************/

CNodeInfoRec* CNodeRec::LoadInfoRec() const
{
    CRecordRef ref = GetRefField(GetData(), OFF_INFO_REF);
    if (!m_bValid || ref.IsNone())
        return nullptr;
    auto pInfo = std::make_unique<CNodeInfoRec>(m_pCatalog, ref);
    return pInfo->Load() ? pInfo.release() : nullptr;
}

CNodeInfo* CNodeRec::GetInfo(CNodeInfo* pInfo) const
{
    if (!pInfo)
        return nullptr;
    MakeDefaultNames(pInfo);
    Utf8CopyToField(pInfo->szName, sizeof(pInfo->szName), GetName(), FieldEnd::NulTerminated);
    pInfo->nKind = GetKind();
    pInfo->nFlags = GetFlags();
    if (std::unique_ptr<CNodeInfoRec> pRec { LoadInfoRec() }) {
        Utf8CopyToField(pInfo->szInfo, sizeof(pInfo->szInfo), pRec->GetText(), FieldEnd::NulTerminated);
        pInfo->wSearchType = pRec->GetSearchType();
    }
    return pInfo;
}

BOOL CNodeRec::UpdateInfo(CNodeInfo info)
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Only the fields of the structure change; the chains are kept as the file has them.
    if (!Load())
        return FALSE;
    info.szName[sizeof(info.szName) - 1] = '\0';
    info.szInfo[sizeof(info.szInfo) - 1] = '\0';
    std::span<BYTE> data = GetData();
    SetTextField(data, OFF_NAME, NAME_SIZE, info.szName);
    SetLongField(data, OFF_KIND, info.nKind);
    SetLongField(data, OFF_FLAGS, info.nFlags);

    std::unique_ptr<CNodeInfoRec> pRec(LoadInfoRec());
    if (!pRec && (info.szInfo[0] != '\0' || info.wSearchType != 0)) {
        CRecordRef ref;
        if (!m_pCatalog->AllocateRecord(TABLE_NODE_INFO, ROOT_BLOCK_NODE_INFO, {}, &ref))
            return FALSE;
        pRec = std::make_unique<CNodeInfoRec>(m_pCatalog, ref);
        SetRefField(data, OFF_INFO_REF, ref);
    }
    if (pRec) {
        pRec->SetText(info.szInfo);
        pRec->SetSearchType(info.wSearchType);
        if (!pRec->Save())
            return FALSE;
    }
    return action.Finish(Save());
}

CString CNodeRec::GetInfoString() const
{
    std::unique_ptr<CNodeInfoRec> pRec(LoadInfoRec());
    return pRec ? pRec->GetText() : CString();
}

WORD CNodeRec::GetInfoWord() const
{
    std::unique_ptr<CNodeInfoRec> pRec(LoadInfoRec());
    return pRec ? pRec->GetSearchType() : WORD { 0 };
}

void InsertNodeSorted(CNodeRecArray& nodes, std::unique_ptr<CNodeRec> pNode, const CSortSpec& spec)
{
    auto before = [&spec](const std::unique_ptr<CNodeRec>& pA, const std::unique_ptr<CNodeRec>& pB) {
        int nOrder = Utf8CompareNoCase(std::string_view(pA->GetName()), std::string_view(pB->GetName()));
        return spec.bAscending ? nOrder < 0 : nOrder > 0;
    };
    nodes.insert(std::upper_bound(nodes.begin(), nodes.end(), pNode, before), std::move(pNode));
}
