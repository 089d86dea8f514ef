#include "store/CatalogCheck.h"

#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CEntryLinkRec.h"
#include "store/CLinkRec.h"
#include "store/CNodeRec.h"
#include "store/RecordFields.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr CRecordRef EXPIRING_NODE { CNodeRec::EXPIRING_NODE_BLOCK, 0 };

std::uint64_t RefKey(CRecordRef ref)
{
    return static_cast<std::uint64_t>(static_cast<DWORD>(ref.nBlock)) << 32 | static_cast<DWORD>(ref.nSlot);
}

// One walk of a catalog: the documents first, then the nodes, each side's
// links matched against the other's.
class CCatalogWalk {
public:
    CCatalogWalk(CCatalog& catalog, CCatalogCheckReport& report)
        : m_catalog(catalog)
        , m_report(report)
    {
    }

    // FALSE when damage was found (and reported).
    [[nodiscard]] BOOL Run()
    {
        return WalkRootChains() && WalkDirectories() && WalkNodes() && MatchLinks() && CountStrayPieces()
            && MatchEntryLinks(TABLE_KEYWORD_LINK, ROOT_BLOCK_KEYWORD)
            && MatchEntryLinks(TABLE_NODE_FOLDER_LINK, ROOT_BLOCK_NODE_FOLDER);
    }

private:
    // Marks the file damaged; FALSE for the caller to return.
    BOOL Damaged()
    {
        m_catalog.ReportDamage();
        return FALSE;
    }

    // Walks the root chain of every table. A chain ends with ERROR_NO_MORE_ITEMS;
    // anything else is damage.
    [[nodiscard]] BOOL WalkRootChains()
    {
        for (CATBLOCK nRoot = ROOT_BLOCK_NODE; nRoot <= ROOT_BLOCK_LOCATION; ++nRoot) {
            CRecordRef cursor { nRoot, NO_SLOT };
            while (m_catalog.NextRecord(&cursor)) { }
            if (GetLastError() != ERROR_NO_MORE_ITEMS)
                return Damaged();
        }
        return TRUE;
    }

    // Every document of every directory: its texts, the rest of its name (each
    // named once in the file) and its list of links.
    [[nodiscard]] BOOL WalkDirectories()
    {
        CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
        while (m_catalog.IsWritable() && m_catalog.NextRecord(&cursor)) {
            CDirectoryRec directory(&m_catalog, cursor);
            if (!directory.IsValid())
                return Damaged();
            LONG nDocuments = 0;
            for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
                 pDocument.reset(directory.NextDocument())) {
                if (!CheckDocument(*pDocument))
                    return FALSE;
                ++nDocuments;
            }
            m_report.nMiscountedDirectories += nDocuments != directory.GetDocumentCount() ? 1 : 0;
        }
        return m_catalog.IsWritable();
    }

    [[nodiscard]] BOOL CheckDocument(const CDocumentRec& document)
    {
        m_documents.insert(RefKey(document.GetRef()));
        CRecordRef location;
        if (!document.CheckTexts(&location))
            return Damaged();
        if (!location.IsNone() && !m_pieces.insert(RefKey(location)).second)
            return Damaged(); // two documents share the rest of a name
        std::vector<CRecordRef> refs;
        if (!document.ListLinkRefs(&refs))
            return FALSE;
        bool bListedAsExpiring = false;
        for (CRecordRef link : refs) {
            if (!m_listed.emplace(RefKey(link), document.GetRef()).second)
                return Damaged(); // a link in two lists
            // The link's block names its node; MatchLinks checks that the node's walk finds it.
            CCatalogBlock* pBlock = m_catalog.GetBlock(link.nBlock);
            bListedAsExpiring |= pBlock && pBlock->GetHeader().owner == EXPIRING_NODE;
        }
        m_report.nExpiryMismatches += bListedAsExpiring != (document.GetExpiry() >= 1) ? 1 : 0;
        return TRUE;
    }

    // Walks the tree below the root and the fixed nodes: each node's own
    // references, its document links, keywords and node folders, and its
    // children. Every node is visited once, so even a tree that loops ends.
    [[nodiscard]] BOOL WalkNodes()
    {
        CNodeRecArray pending;
        for (LONG nKind = 0; nKind <= CNodeRec::FIXED_NODE_LAST; ++nKind)
            pending.push_back(std::make_unique<CNodeRec>(&m_catalog, nKind));
        std::unordered_set<std::uint64_t> visited;
        while (!pending.empty() && m_catalog.IsWritable()) {
            std::unique_ptr<CNodeRec> pNode = std::move(pending.back());
            pending.pop_back();
            if (!pNode->IsValid())
                return Damaged();
            if (!visited.insert(RefKey(pNode->GetRef())).second)
                continue;
            if (!CheckNodeInfo(*pNode) || !WalkNodeLinks(*pNode)
                || !ListNodeEntryLinks(pNode->GetRef(), TABLE_KEYWORD_LINK)
                || !ListNodeEntryLinks(pNode->GetRef(), TABLE_NODE_FOLDER_LINK))
                return FALSE;
            for (auto& pChild : pNode->GetChildren())
                pending.push_back(std::move(pChild));
        }
        return m_catalog.IsWritable();
    }

    [[nodiscard]] BOOL CheckNodeInfo(const CNodeRec& node)
    {
        std::array<BYTE, CNodeRec::RECORD_SIZE> data;
        if (!m_catalog.ReadRecord(node.GetRef(), TABLE_NODE, data))
            return Damaged();
        CRecordRef info = GetRefField(data, CNodeRec::OFF_INFO_REF);
        if (!info.IsNone() && !m_catalog.CheckRecord(info.nBlock, info.nSlot, TABLE_NODE_INFO))
            return Damaged();
        return TRUE;
    }

    // The links of the node's chain: each one its document lists is matched;
    // one it does not list is a leftover of an interrupted write.
    [[nodiscard]] BOOL WalkNodeLinks(const CNodeRec& node)
    {
        std::array<BYTE, CNodeRec::RECORD_SIZE> data;
        if (!m_catalog.ReadRecord(node.GetRef(), TABLE_NODE, data))
            return Damaged();
        CATBLOCK nFirst = GetLongField(data, CNodeRec::OFF_LINK_BLOCK);
        if (nFirst == NO_BLOCK)
            return TRUE;
        CCatalogBlock* pBlock = m_catalog.GetBlock(nFirst);
        if (!pBlock || pBlock->GetTableType() != TABLE_LINK || pBlock->GetHeader().owner != node.GetRef())
            return Damaged();
        CRecordRef cursor { nFirst, NO_SLOT };
        while (m_catalog.NextRecord(&cursor)) {
            CLinkRec link(&m_catalog, cursor.nBlock, cursor.nSlot);
            if (!link.IsValid())
                return Damaged();
            CRecordRef document = link.GetDocument();
            if (m_catalog.IsPastEnd(document.nBlock))
                return Damaged();
            // A used document record that no directory's walk reached lies outside every chain.
            if (!m_documents.contains(RefKey(document))
                && m_catalog.CheckRecord(document.nBlock, document.nSlot, TABLE_DOCUMENT))
                return Damaged();
            auto it = m_listed.find(RefKey(cursor));
            if (it == m_listed.end() || it->second != document)
                ++m_report.nOneWayLinks;
            else
                m_matched.insert(it->first);
        }
        return GetLastError() == ERROR_NO_MORE_ITEMS ? TRUE : Damaged();
    }

    // Every link of a document's list was found in its node's chain.
    [[nodiscard]] BOOL MatchLinks()
    {
        for (const auto& [nLink, document] : m_listed) {
            if (!m_matched.contains(nLink))
                return Damaged();
        }
        return TRUE;
    }

    // The node's side of its keyword or node folder links.
    [[nodiscard]] BOOL ListNodeEntryLinks(CRecordRef node, LONG nLinkTable)
    {
        std::vector<CEntryLinkRec> links;
        if (!ListEntryLinks(&m_catalog, EntryLinkChainOfNode(nLinkTable, node), &links))
            return FALSE;
        for (const CEntryLinkRec& link : links)
            m_nodeSide.emplace(nLinkTable, RefKey(node), RefKey(link.GetTarget()));
        return TRUE;
    }

    // Each entry's side of its links against the nodes' sides: a link only one
    // side holds is a leftover of an interrupted write.
    [[nodiscard]] BOOL MatchEntryLinks(LONG nLinkTable, CATBLOCK nEntryRoot)
    {
        std::set<std::tuple<LONG, std::uint64_t, std::uint64_t>> entrySide;
        CRecordRef entry { nEntryRoot, NO_SLOT };
        while (m_catalog.NextRecord(&entry)) {
            std::vector<CEntryLinkRec> links;
            if (!ListEntryLinks(&m_catalog, EntryLinkChainOfEntry(nLinkTable, entry), &links))
                return FALSE;
            for (const CEntryLinkRec& link : links)
                entrySide.emplace(nLinkTable, RefKey(link.GetTarget()), RefKey(entry));
        }
        if (GetLastError() != ERROR_NO_MORE_ITEMS)
            return Damaged();
        for (const auto& link : entrySide)
            m_report.nOneWayEntryLinks += m_nodeSide.contains(link) ? 0 : 1;
        for (const auto& link : m_nodeSide)
            m_report.nOneWayEntryLinks += std::get<0>(link) == nLinkTable && !entrySide.contains(link) ? 1 : 0;
        return TRUE;
    }

    [[nodiscard]] BOOL CountStrayPieces()
    {
        CRecordRef cursor { ROOT_BLOCK_LOCATION, NO_SLOT };
        while (m_catalog.NextRecord(&cursor)) {
            if (!m_pieces.contains(RefKey(cursor)))
                ++m_report.nStrayPieces;
        }
        return GetLastError() == ERROR_NO_MORE_ITEMS ? TRUE : Damaged();
    }

    CCatalog& m_catalog;
    CCatalogCheckReport& m_report;
    std::unordered_set<std::uint64_t> m_documents;          // the documents of the directories
    std::unordered_set<std::uint64_t> m_pieces;             // the pieces the documents name
    std::unordered_map<std::uint64_t, CRecordRef> m_listed; // link -> the document whose list holds it
    std::unordered_set<std::uint64_t> m_matched;            // listed links their node's walk found
    std::set<std::tuple<LONG, std::uint64_t, std::uint64_t>>
        m_nodeSide; // (link table, node, entry) of the nodes' chains
};

}

const char* CCatalogCheckReport::DescribeRefusal() const
{
    switch (eRefusal) {
    case Refusal::None:
        return "it passed";
    case Refusal::Unreadable:
        return "it cannot be read as a catalog";
    case Refusal::WrongKind:
        return nKind == CATALOG_KIND_MAIN   ? "it is a main catalog"
            : nKind == CATALOG_KIND_RECYCLE ? "it is a recycle-bin catalog"
                                            : "it is a folder index";
    case Refusal::Damaged:
        return "it is damaged";
    }
    return "";
}

BOOL CheckCatalogFile(LPCTSTR pszPath, LONG nKind, CCatalogCheckReport* pReport)
{
    CCatalogCheckReport report;
    DWORD dwError = ERROR_SUCCESS;
    {
        CCatalog catalog(pszPath, CCatalog::OPEN_EXISTING);
        dwError = GetLastError();
        if (!catalog.IsOpen()) {
            report.eRefusal = CCatalogCheckReport::Refusal::Unreadable;
        } else if ((report.nKind = catalog.GetKind()) != nKind) {
            report.eRefusal = CCatalogCheckReport::Refusal::WrongKind;
            dwError = ERROR_BAD_FORMAT;
        } else if (!catalog.IsWritable() || !CCatalogWalk(catalog, report).Run() || !catalog.IsWritable()) {
            report.eRefusal = CCatalogCheckReport::Refusal::Damaged;
            dwError = ERROR_INVALID_DATA;
        }
    } // closing the file changes nothing the check found
    if (pReport)
        *pReport = report;
    if (report.eRefusal == CCatalogCheckReport::Refusal::None)
        return TRUE;
    SetLastError(dwError);
    return FALSE;
}
