#include "webaccess/server/CWACatalogLists.h"

#include "store/CCatalog.h"
#include "webaccess/profiles/CWAProfiles.h"

#include <algorithm>
#include <memory>

void CWAItemPtrArray::InsertSorted(std::unique_ptr<CNodeRec> pNode)
{
    InsertNodeSorted(m_nodes, std::move(pNode), m_sort);
}

CWACatalogLists::CWACatalogLists(CCatalog& catalog, const CWAGroupRightsMap& rights)
    : m_catalog(catalog)
    , m_rights(rights)
{
}

BOOL CWACatalogLists::IsWholeCatalog()
{
    Walk();
    return m_bWholeCatalog;
}

void CWACatalogLists::Rebuild()
{
    m_items.clear();
    m_bTreeBuilt = FALSE;
    m_bWholeCatalog = FALSE;
}

/**************************** Building the tree ****************************/

void CWACatalogLists::Walk()
{
    if (m_bTreeBuilt)
        return;
    m_bTreeBuilt = TRUE;
    if (m_rights.IsAllGroups()) {
        m_bWholeCatalog = TRUE;
        return;
    }
    POSITION pos = m_rights.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD wValue = 0;
        m_rights.GetNextAssoc(pos, key, wValue);
        if (key == WA_ALL_GROUPS)
            continue;
        const CNodeRec node(&m_catalog, key.nBlock, static_cast<LONG>(key.nSlot));
        if (!node.IsValid())
            continue;
        const std::vector<CRecordRef> path = PathFromTop(node);
        LONG nIndex = -1;
        for (const CRecordRef& step : path)
            nIndex = InsertItem({ static_cast<LONG>(step.nBlock), step.nSlot, -1, -1, nIndex, -1, 0 });
        // A group already on the way to one granted before it is granted
        // itself now, so the outcome does not depend on the map's order.
        m_items[nIndex].nGranted = 1;
        // The whole subtree replaces the children added so far (granted
        // sub-groups reached first); those items stay unlinked in the array.
        if (wValue == WA_GROUP_WHOLE)
            m_items[nIndex].nFirstChild = AddSubtree(node, nIndex);
    }
}

std::vector<CRecordRef> CWACatalogLists::PathFromTop(const CNodeRec& node) const
{
    std::vector<CRecordRef> path;
    for (const auto& pAncestor : node.GetAncestors())
        path.push_back(pAncestor->GetRef());
    path.push_back(node.GetRef());
    if (path.front().nBlock == CNodeRec::SYSTEMS_NODE_BLOCK)
        path.insert(path.begin(), CRecordRef { ROOT_BLOCK_NODE, 0 });
    return path;
}

LONG CWACatalogLists::InsertItem(const CWAItemRef& item)
{
    LONG nLast = -1;
    LONG nSibling = item.nParent >= 0 ? m_items[item.nParent].nFirstChild : (m_items.empty() ? -1 : 0);
    for (; nSibling >= 0; nSibling = m_items[nSibling].nNext) {
        if (m_items[nSibling].nBlock == item.nBlock && m_items[nSibling].nSlot == item.nSlot)
            return nSibling;
        nLast = nSibling;
    }
    const LONG nIndex = static_cast<LONG>(m_items.size());
    m_items.push_back(item);
    m_items[nIndex].nPrevious = nLast;
    if (nLast >= 0)
        m_items[nLast].nNext = nIndex;
    else if (item.nParent >= 0)
        m_items[item.nParent].nFirstChild = nIndex;
    return nIndex;
}

LONG CWACatalogLists::AddSubtree(const CNodeRec& node, LONG nIndex)
{
    LONG nFirst = -1;
    LONG nPrevious = -1;
    for (const auto& pChild : node.GetSortedChildren(nullptr)) {
        const LONG nChild = static_cast<LONG>(m_items.size());
        m_items.push_back({ static_cast<LONG>(pChild->GetBlock()), pChild->GetSlot(), -1, nPrevious, nIndex, -1, 1 });
        if (nPrevious < 0)
            nFirst = nChild;
        else
            m_items[nPrevious].nNext = nChild;
        nPrevious = nChild;
        if (pChild->CountChildren() > 0)
            m_items[nChild].nFirstChild = AddSubtree(*pChild, nChild);
    }
    return nFirst;
}

/**************************** Queries ****************************/

int CWACatalogLists::FindItem(LONG nBlock, LONG nSlot)
{
    Walk();
    if (m_items.empty())
        return -1;
    const CNodeRec node(&m_catalog, nBlock, nSlot);
    if (!node.IsValid())
        return -1;
    LONG nCurrent = -1;
    for (const CRecordRef& step : PathFromTop(node)) {
        LONG nChild = nCurrent >= 0 ? m_items[nCurrent].nFirstChild : 0;
        while (nChild >= 0
            && (m_items[nChild].nBlock != static_cast<LONG>(step.nBlock) || m_items[nChild].nSlot != step.nSlot))
            nChild = m_items[nChild].nNext;
        if (nChild < 0)
            return -1;
        nCurrent = nChild;
    }
    return nCurrent;
}

BOOL CWACatalogLists::IsGranted(const CNodeRec& node)
{
    if (IsWholeCatalog())
        return TRUE;
    const int nIndex = FindItem(static_cast<LONG>(node.GetBlock()), node.GetSlot());
    return nIndex >= 0 && m_items[nIndex].nGranted != 0;
}

CNodeRecArray CWACatalogLists::ItemChildren(const CNodeRec& node)
{
    CNodeRecArray children;
    const int nIndex = FindItem(static_cast<LONG>(node.GetBlock()), node.GetSlot());
    if (nIndex < 0)
        return children;
    for (LONG nChild = m_items[nIndex].nFirstChild; nChild >= 0; nChild = m_items[nChild].nNext) {
        auto pChild = std::make_unique<CNodeRec>(&m_catalog, m_items[nChild].nBlock, m_items[nChild].nSlot);
        if (pChild->IsValid())
            children.push_back(std::move(pChild));
    }
    return children;
}

CNodeRecArray CWACatalogLists::CollectGroupItems(const CNodeRec& node, const CSortSpec& sort)
{
    if (IsWholeCatalog()) {
        CNodeRecArray children = node.GetSortedChildren(&sort);
        if (node.GetBlock() == ROOT_BLOCK_NODE)
            children.emplace_back(CNodeRec::NewTopNodeRec3(&m_catalog));
        return children;
    }
    CWAItemPtrArray sorted(sort);
    for (auto& pChild : ItemChildren(node))
        sorted.InsertSorted(std::move(pChild));
    return sorted.Detach();
}

CNodeRecArray CWACatalogLists::GetChildList(const CNodeRec& node)
{
    if (IsWholeCatalog()) {
        CNodeRecArray children = node.GetChildren();
        if (node.GetBlock() == ROOT_BLOCK_NODE)
            children.emplace_back(CNodeRec::NewTopNodeRec3(&m_catalog));
        return children;
    }
    return ItemChildren(node);
}

CDocumentRecArray CWACatalogLists::GetDocumentList(const CNodeRec& node, const CSortSpec* pSort)
{
    if (!IsGranted(node))
        return {};
    return node.GetDocumentSet(pSort, nullptr);
}

BOOL CWACatalogLists::IsDocumentVisible(const CDocumentRec& document)
{
    if (IsWholeCatalog())
        return TRUE;
    const CNodeRecArray nodes = document.GetLinkedNodes();
    return std::any_of(nodes.begin(), nodes.end(), [&](const auto& pNode) { return IsGranted(*pNode) != FALSE; })
        ? TRUE
        : FALSE;
}

int CWACatalogLists::CountDocuments(const CNodeRec& node)
{
    return IsGranted(node) ? node.CountDocuments() : 0;
}

int CWACatalogLists::CountChildren(const CNodeRec& node)
{
    if (IsWholeCatalog())
        return node.CountChildren();
    const int nIndex = FindItem(static_cast<LONG>(node.GetBlock()), node.GetSlot());
    int nCount = 0;
    if (nIndex >= 0) {
        for (LONG nChild = m_items[nIndex].nFirstChild; nChild >= 0; nChild = m_items[nChild].nNext)
            ++nCount;
    }
    return nCount;
}
