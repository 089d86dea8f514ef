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

namespace {

// Node trees are shallow; a deeper one is damaged.
constexpr int MAX_NODE_DEPTH = 256;
// Room for the documents of a large catalog, so the set of those tested grows without rehashing.
constexpr size_t VISITED_RESERVE = 1 << 17;

} // namespace

CCatalogSearch::CCatalogSearch(CCatalog* pCatalog, const CListFilter* pFilter)
    : m_pCatalog(pCatalog)
    , m_pFilter(pFilter)
{
}

CCatalogSearch::~CCatalogSearch() = default;

BOOL CCatalogSearch::Run(LPCTSTR pszIndexPath, HWND hOwner)
{
    m_visited.clear();
    m_visited.reserve(VISITED_RESERVE);
    m_folders.clear();
    m_search.emplace(CTextSearch::PrepareGlobalCriteria());
    m_nFound = 0;
    m_bEnded = m_bFailed = false;
    m_pIndex = std::make_unique<CFolderIndex>(pszIndexPath, 1);
    if (!m_pIndex->IsOpen() || !m_pCatalog->Acquire()) {
        m_pIndex.reset();
        return FALSE;
    }
    if (m_pFilter != nullptr && !m_pIndex->SetCriteria(*m_pFilter))
        m_bFailed = true;
    m_pProgress = CreateRunProgress(ERunProgressKind::Tree, hOwner);
    for (auto* pfnTop : { &CNodeRec::NewTopNodeRec3, &CNodeRec::NewTopNodeRec4 }) {
        std::unique_ptr<CNodeRec> pTop(pfnTop(m_pCatalog));
        if (m_bEnded || m_bFailed || !pTop || !SearchSubtree(*pTop, 0))
            break;
    }
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
    for (const auto& pDocument : node.GetDocuments()) {
        const CRecordRef ref = pDocument->GetRef();
        if (!Visit(ref.nBlock, ref.nSlot))
            continue;
        const int nResult = SearchNode(*pDocument);
        if (nResult == CTextSearch::MATCH_STORE_CHANGED) {
            g_bMailboxReorganizePending = TRUE;
            m_bEnded = true;
            return FALSE;
        }
        if (nResult != 0 && !AddFound(*pDocument)) {
            m_bFailed = true;
            return FALSE;
        }
        if (m_pProgress->PumpAndTestCancel()) {
            m_bEnded = true;
            return FALSE;
        }
    }
    for (const auto& pChild : node.GetChildren()) {
        if (!SearchSubtree(*pChild, nDepth + 1))
            return FALSE;
    }
    return TRUE;
}

bool CCatalogSearch::Visit(LONG nBlock, LONG nSlot)
{
    return m_visited.insert(std::uint64_t { static_cast<DWORD>(nBlock) } << 32 | static_cast<DWORD>(nSlot)).second;
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
