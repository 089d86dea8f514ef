#include "catalog/CCatalogSearch.h"

#include "catalog/CRunProgress.h"
#include "catalog/CTextSearch.h"

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CMailDocumentHooks.h"
#include "store/CNodeRec.h"
#include "store/ListFilter.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace {

// Node trees are shallow; a deeper one is damaged.
constexpr int MAX_NODE_DEPTH = 256;
// Document records in a block: the bits of the set of documents tested, per block.
constexpr std::size_t DOCUMENT_SLOTS = SlotCount(CDocumentRec::RECORD_SIZE);

// Name candidates up to which the walk looks only under the nodes that hold
// them: finding those nodes costs a few reads per candidate, the walk of
// every node's links a read per document of the catalog.
constexpr std::size_t MAX_CANDIDATES_BY_NODE = 256;

// A document's bit in the sets kept by block and slot.
std::size_t SlotBit(CRecordRef ref)
{
    return static_cast<std::size_t>(ref.nBlock) * DOCUMENT_SLOTS + static_cast<std::size_t>(ref.nSlot);
}

std::int64_t NodeKey(CRecordRef ref)
{
    return static_cast<std::int64_t>(ref.nBlock) << 32 | static_cast<std::uint32_t>(ref.nSlot);
}

} // namespace

CCatalogSearch::CCatalogSearch(CCatalog* pCatalog, const CListFilter* pFilter)
    : m_pCatalog(pCatalog)
    , m_pFilter(pFilter)
{
}

CCatalogSearch::~CCatalogSearch() = default;

BOOL CCatalogSearch::Run(LPCTSTR pszIndexPath, HWND hOwner)
{
    m_visited.assign((static_cast<std::size_t>(m_pCatalog->GetLastBlock()) + 1) * DOCUMENT_SLOTS, false);
    m_folders.clear();
    m_search.emplace(CTextSearch::PrepareGlobalCriteria());
    m_nFound = 0;
    m_bEnded = m_bFailed = false;
    m_pIndex = std::make_unique<CFolderIndex>(pszIndexPath, 1);
    if (!m_pIndex->IsOpen() || !m_pCatalog->Acquire()) {
        m_pIndex.reset();
        return FALSE;
    }
    m_candidates.clear();
    m_candidateNodes.reset();
    if (m_search->TestsNameOnly())
        FindNameCandidates();
    // The index is written in one batch, committed once at the end of the
    // pass, stopped or not, rather than once per entry.
    CCatalogAction batch(m_pIndex.get());
    if (m_pFilter != nullptr && !m_pIndex->SetCriteria(*m_pFilter))
        m_bFailed = true;
    m_pProgress = CreateRunProgress(ERunProgressKind::Tree, hOwner);
    // Where Find next looks: the user's systems under the root, then the
    // unsorted and the archived documents.
    for (auto* pfnTop : { &CNodeRec::NewRootNodeRec, &CNodeRec::NewTopNodeRec3, &CNodeRec::NewTopNodeRec4 }) {
        std::unique_ptr<CNodeRec> pTop(pfnTop(m_pCatalog));
        if (m_bEnded || m_bFailed || !pTop || !SearchSubtree(*pTop, 0))
            break;
    }
    if (!batch.End())
        m_bFailed = true;
    m_pProgress.reset();
    m_pCatalog->Release();
    m_pIndex.reset();
    m_search.reset();
    return m_bEnded || m_bFailed ? FALSE : TRUE;
}

BOOL CCatalogSearch::SearchSubtree(const CNodeRec& node, int nDepth)
{
    if (nDepth > MAX_NODE_DEPTH || m_pProgress->SetNode(&node)) {
        m_bEnded = true;
        return FALSE;
    }
    // A damaged chain ends the node's documents, not the pass.
    const auto wanted = [&](CRecordRef ref) { return IsCandidate(ref); };
    static_cast<void>(!MayHoldCandidates(node) || node.ForEachDocument(wanted, [&](const CDocumentRec& document) {
        const CRecordRef ref = document.GetRef();
        if (!Visit(ref.nBlock, ref.nSlot))
            return true;
        const int nResult = SearchNode(document);
        if (nResult == CTextSearch::MATCH_STORE_CHANGED) {
            g_bMailboxReorganizePending = TRUE;
            m_bEnded = true;
        } else if (nResult != 0 && !AddFound(document)) {
            m_bFailed = true;
        } else if (m_pProgress->PumpAndTestCancel()) {
            m_bEnded = true;
        }
        return !m_bEnded && !m_bFailed;
    }));
    if (m_bEnded || m_bFailed)
        return FALSE;
    for (const auto& pChild : node.GetChildren()) {
        if (!SearchSubtree(*pChild, nDepth + 1))
            return FALSE;
    }
    return TRUE;
}

void CCatalogSearch::FindNameCandidates()
{
    m_nPassLastBlock = m_pCatalog->GetLastBlock();
    std::vector<bool> candidates((static_cast<std::size_t>(m_nPassLastBlock) + 1) * DOCUMENT_SLOTS, false);
    std::vector<CRecordRef> found;
    const BOOL bRead
        = m_pCatalog->ForEachTableRecord(TABLE_DOCUMENT, [&](CRecordRef ref, std::span<const BYTE> record) {
              std::string_view path;
              if (CDocumentRec::FullPathInRecord(record, &path) && m_search->MatchName(path) == 0)
                  return;
              const std::size_t nBit = SlotBit(ref);
              if (nBit >= candidates.size())
                  candidates.resize(nBit + 1);
              candidates[nBit] = true;
              if (found.size() <= MAX_CANDIDATES_BY_NODE)
                  found.push_back(ref);
          });
    // Damage on the way leaves every document to be loaded, and met as before.
    if (!bRead)
        return;
    m_candidates = std::move(candidates);
    if (found.size() <= MAX_CANDIDATES_BY_NODE)
        FindCandidateNodes(found);
}

void CCatalogSearch::FindCandidateNodes(const std::vector<CRecordRef>& candidates)
{
    std::unordered_set<std::int64_t> nodes;
    for (CRecordRef ref : candidates) {
        const CNodeRecArray linked = CDocumentRec(m_pCatalog, ref.nBlock, ref.nSlot).GetLinkedNodes();
        // A candidate linked nowhere (or whose links cannot be read) is
        // looked for as before, under every node.
        if (linked.empty())
            return;
        for (const auto& pNode : linked)
            nodes.insert(NodeKey(pNode->GetRef()));
    }
    m_candidateNodes = std::move(nodes);
}

bool CCatalogSearch::MayHoldCandidates(const CNodeRec& node) const
{
    // Blocks added since the name pass may hold links the pass did not see.
    return !m_candidateNodes || m_candidateNodes->contains(NodeKey(node.GetRef()))
        || m_pCatalog->GetLastBlock() != m_nPassLastBlock;
}

bool CCatalogSearch::IsCandidate(CRecordRef ref) const
{
    if (m_candidates.empty())
        return true;
    // A document block past the name pass came later: it is tested whole.
    const std::size_t nBit = SlotBit(ref);
    return nBit >= m_candidates.size() || m_candidates[nBit];
}

bool CCatalogSearch::Visit(LONG nBlock, LONG nSlot)
{
    // A loaded document's block is a document block, so its slot is below the count.
    const std::size_t nBit = SlotBit({ nBlock, nSlot });
    if (nBit >= m_visited.size())
        m_visited.resize(std::max(nBit + 1, m_visited.size() * 2));
    if (m_visited[nBit])
        return false;
    m_visited[nBit] = true;
    return true;
}

int CCatalogSearch::SearchNode(const CDocumentRec& document)
{
    const int nResult = m_search->Match(document);
    if (nResult != 1 || m_pFilter == nullptr || !m_pFilter->bActive)
        return nResult;
    return ListFilterMatches(m_pFilter, document) ? 1 : 0;
}

BOOL CCatalogSearch::AddFound(const CDocumentRec& document)
{
    const CString strFolder = document.GetDirectoryPath(FALSE, TRUE);
    const std::string strKey = Utf8ToLower(LPCTSTR(strFolder));
    CRecordRef folder;
    if (auto it = m_folders.find(strKey); it != m_folders.end()) {
        folder = { it->second.first, it->second.second };
    } else {
        if (!m_pIndex->AddFolder(strFolder, &folder))
            return FALSE;
        m_folders.emplace(strKey, std::make_pair(folder.nBlock, folder.nSlot));
    }
    CString strName;
    document.GetFullPath(strName, TRUE);
    if (!m_pIndex->AddEntry(folder, strName, document.GetRef()))
        return FALSE;
    m_pProgress->SetCount(++m_nFound);
    return TRUE;
}
