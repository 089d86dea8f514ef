#include "webaccess/server/CWACmdWdir.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "webaccess/pages/WdirPage.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/CatalogPageData.h"
#include "webaccess/server/TextWidth.h"
#include "webaccess/server/TokenFields.h"

#include <string_view>

namespace {

// The node's ancestors below the top-level node, top side first.
CNodeRecArray PathAncestors(const CNodeRec& node)
{
    CNodeRecArray ancestors;
    if (node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK)
        return ancestors;
    ancestors = node.GetAncestors();
    if (!ancestors.empty())
        ancestors.erase(ancestors.begin());
    return ancestors;
}

CWAGroupItem GroupItem(const CNodeRec& node, const CString& strName)
{
    return { strName, CString(), static_cast<LONG>(node.GetBlock()), node.GetSlot() };
}

} // namespace

CWACmdWdir::CWACmdWdir()
    : CWACommand(WA_CMD_WDIR)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWACmdWdir::~CWACmdWdir()
{
    ReleaseWebCatalog(m_pCatalog);
}

void CWACmdWdir::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view block;
    std::string_view slot;
    if (!reader.ReadField(block) || !reader.ReadField(slot))
        return;
    LONG nBlock = 0;
    LONG nSlot = 0;
    if (!ParseNumberField(block.data(), static_cast<int>(block.size()), &nBlock)
        || !ParseNumberField(slot.data(), static_cast<int>(slot.size()), &nSlot)) {
        reader.Fail();
        return;
    }
    if (!reader.AtEnd()) {
        std::string_view order;
        if (!reader.ReadField(order))
            return;
        if (order.empty() || order == "A")
            m_nAscending = 1;
        else if (order == "A-")
            m_nAscending = 0;
        else {
            reader.Fail();
            return;
        }
    }
    if (!reader.Finish())
        return;
    m_nBlock = nBlock;
    m_nSlot = nSlot;
    if (CNodeRec::IsRootRef({ nBlock, nSlot }))
        return;
    if (m_pCatalog == nullptr || !m_pCatalog->CheckRecord(nBlock, nSlot, TABLE_NODE))
        m_nStatus = WA_STATUS_NOT_A_NODE;
}

std::unique_ptr<CNodeRec> CWACmdWdir::FindNode(CWASession& session)
{
    if (m_pCatalog == nullptr)
        return nullptr;
    CWACatalogLists& lists = session.GetCatalogLists();
    if (CNodeRec::IsRootRef({ m_nBlock, m_nSlot })) {
        const CNodeRec root(m_pCatalog, ROOT_BLOCK_NODE, 0);
        CNodeRecArray top = lists.CollectGroupItems(root, { COLUMN_NAME, m_nAscending, 1 });
        if (top.empty() || top.front() == nullptr)
            return nullptr;
        m_nBlock = static_cast<LONG>(top.front()->GetBlock());
        m_nSlot = top.front()->GetSlot();
        return std::move(top.front());
    }
    auto pNode = std::make_unique<CNodeRec>(m_pCatalog, m_nBlock, m_nSlot);
    // A group the profile does not show is not found: its page would
    // reveal its name and its place in the tree.
    if (!pNode->IsValid() || (!lists.IsWholeCatalog() && lists.FindItem(m_nBlock, m_nSlot) < 0))
        return nullptr;
    return pNode;
}

void CWACmdWdir::Gather(CWASession& session, const CNodeRec& node, CWAWdirPage& page) const
{
    CWACatalogLists& lists = session.GetCatalogLists();
    const CSortSpec sort { COLUMN_NAME, m_nAscending, 1 };
    const CTextCutter cutter;
    // The documents of a group mostly share their folders: each is found once.
    const CPathLookupBatch lookups;

    page.rights = ReadPageRights(session);
    page.strFolder = session.GetPlace().m_strFolder;
    page.group = GroupItem(node, node.GetName());
    for (const auto& pAncestor : PathAncestors(node))
        page.path.push_back(GroupItem(*pAncestor, pAncestor->GetName()));

    const std::unique_ptr<CNodeRec> pParent(
        node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK ? CNodeRec::NewRootNodeRec(m_pCatalog) : node.GetParent());
    if (pParent != nullptr) {
        for (const auto& pBeside : lists.CollectGroupItems(*pParent, sort)) {
            if (pBeside->GetRef() == node.GetRef())
                page.nFocus = static_cast<int>(page.beside.size());
            page.beside.push_back(GroupItem(*pBeside, pBeside->GetName()));
        }
        const std::unique_ptr<CNodeRec> pGrandparent(pParent->GetParent());
        page.bUpRow = pGrandparent != nullptr;
        page.parent = GroupItem(*pParent, pParent->GetName());
    }

    for (const auto& pGroup : lists.CollectGroupItems(node, sort)) {
        CWAGroupItem item = GroupItem(*pGroup, cutter.Cut(pGroup->GetName(), WDIR_NAME_WIDTH));
        item.strInfo = cutter.Cut(pGroup->GetInfoString(), WDIR_TEXT_WIDTH);
        page.groups.push_back(std::move(item));
    }
    for (const auto& pDocument : lists.GetDocumentList(node, &sort)) {
        CWADocumentRow row = ReadDocumentRow(*pDocument);
        row.strName = cutter.Cut(row.strName, WDIR_NAME_WIDTH);
        row.strText = cutter.Cut(row.strText, WDIR_TEXT_WIDTH);
        page.documents.push_back(std::move(row));
    }
    page.nCount = lists.CountChildren(node) + lists.CountDocuments(node);
}

BOOL CWACmdWdir::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    const std::unique_ptr<CNodeRec> pNode = FindNode(session);
    if (pNode == nullptr) {
        m_nStatus = WA_STATUS_NO_GROUP;
        return FALSE;
    }
    CWAWdirPage page;
    Gather(session, *pNode, page);
    WriteWdirPage(reply, page);
    return CheckReplyWritten(reply);
}

void CWACmdWdir::SetContext(CWASessionPlace& place)
{
    place.m_nBlock = m_nBlock;
    place.m_nSlot = m_nSlot;
}

CString CWACmdWdir::GetLogText() const
{
    CString strText = "Get Archivora DIR - ";
    if (m_pCatalog == nullptr)
        return strText;
    const CNodeRec node(m_pCatalog, m_nBlock, m_nSlot);
    if (!node.IsValid() || (node.GetBlock() == ROOT_BLOCK_NODE && node.GetSlot() == 0))
        return strText;
    for (const auto& pAncestor : PathAncestors(node))
        strText += pAncestor->GetName() + " > ";
    return strText + node.GetName();
}
