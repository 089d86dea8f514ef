#pragma once

// The catalog search pass: tests every document under the user's systems and
// the unsorted and archived nodes of a catalog against the program's find criteria (CTextSearch::
// CopyGlobalCriteria) and, when one is active, the last find's list filter,
// and writes what matched into a new folder index ("winsch.cat"), one entry
// per document grouped by folder, with the filter as its criteria. Each
// document is tested once however many nodes hold it. Runs in the
// user-interface thread behind the tree progress dialog; a stop keeps what
// was found.

#include "catalog/CTextSearch.h"

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "store/CatalogTypes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class CCatalog;
class CDocumentRec;
class CFolderIndex;
class CNodeRec;
class CRunProgress;
struct CListFilter;

class CCatalogSearch {
public:
    // pFilter: the last find's list filter, consulted while active; may be null.
    CCatalogSearch(CCatalog* pCatalog, const CListFilter* pFilter = nullptr);
    ~CCatalogSearch();
    CCatalogSearch(const CCatalogSearch&) = delete;
    CCatalogSearch& operator=(const CCatalogSearch&) = delete;

    // Searches and writes the index at the program path pszIndexPath (the
    // old one replaced). TRUE when the pass ran to its end; FALSE when it was
    // stopped, a mail store turned out reorganised (the flag for it is set),
    // or the index could not be written.
    BOOL Run(LPCTSTR pszIndexPath, HWND hOwner = nullptr);
    int GetFoundCount() const { return m_nFound; }

private:
    // Tests one document; CTextSearch's result (MATCH_STORE_CHANGED ends the pass).
    int SearchNode(const CDocumentRec& document);
    // The node's documents, then its sub-nodes; FALSE when the pass ends.
    BOOL SearchSubtree(const CNodeRec& node, int nDepth);
    BOOL AddFound(const CDocumentRec& document);
    // Marks a document tested; FALSE when it was already.
    bool Visit(LONG nBlock, LONG nSlot);
    // For a search by name: one pass over the document records' bytes marks
    // the documents whose name matches or lies partly outside the record;
    // only those are loaded and tested on the nodes' walk.
    void FindNameCandidates();
    bool IsCandidate(CRecordRef ref) const;
    // When the name pass found few candidates: the nodes they are linked
    // under, so that the walk passes the other nodes' links by.
    void FindCandidateNodes(const std::vector<CRecordRef>& candidates);
    // FALSE when the node holds no candidate and its documents need no walk.
    bool MayHoldCandidates(const CNodeRec& node) const;

    CCatalog* const m_pCatalog;
    const CListFilter* const m_pFilter;
    std::unique_ptr<CFolderIndex> m_pIndex;
    std::unique_ptr<CRunProgress> m_pProgress;
    std::optional<CTextSearch> m_search;                              // the find criteria, prepared for the pass
    std::vector<bool> m_visited;                                      // documents tested, a bit per block slot
    std::vector<bool> m_candidates;                                   // documents to test, as m_visited; empty: all
    std::optional<std::unordered_set<std::int64_t>> m_candidateNodes; // nodes holding them (NodeKey); none: all
    CATBLOCK m_nPassLastBlock { NO_BLOCK };                           // the catalog's last block when the name pass ran
    std::map<std::string, std::pair<LONG, LONG>> m_folders;           // index folders, by path
    int m_nFound { 0 };
    bool m_bEnded { false };
    bool m_bFailed { false };
};
