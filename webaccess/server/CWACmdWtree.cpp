#include "webaccess/server/CWACmdWtree.h"

#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"

namespace {

constexpr CSortSpec BY_NAME { COLUMN_NAME, 1, 1 };

} // namespace

CWACmdWtree::CWACmdWtree()
    : CWABasicCommand(WA_CMD_WTREE)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWACmdWtree::~CWACmdWtree()
{
    ReleaseWebCatalog(m_pCatalog);
}

BOOL CWACmdWtree::Prepare(CWASession& session)
{
    m_items.clear();
    if (m_pCatalog == nullptr)
        return TRUE;
    const CNodeRec root(m_pCatalog, 0, 0);
    Fill(session, 0, -1, session.GetCatalogLists().CollectGroupItems(root, BY_NAME));
    return TRUE;
}

void CWACmdWtree::Fill(CWASession& session, int nLevel, int nParent, const CNodeRecArray& children)
{
    const int nBase = static_cast<int>(m_items.size());
    m_items.resize(m_items.size() + children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const CNodeRec& child = *children[i];
        const int nIndex = nBase + static_cast<int>(i);
        const CNodeRecArray grandchildren = session.GetCatalogLists().CollectGroupItems(child, BY_NAME);
        int nFirstChild = -1;
        if (!grandchildren.empty()) {
            nFirstChild = static_cast<int>(m_items.size());
            Fill(session, nLevel + 1, nIndex, grandchildren);
        }
        m_items[nIndex]
            = { child.GetName(), static_cast<LONG>(child.GetBlock()), child.GetSlot(), nLevel, nParent, nFirstChild };
    }
}

BOOL CWACmdWtree::Execute(CWAOutputFile& reply, CWASession&, int)
{
    WriteWtreeTokens(reply, m_items);
    return CheckReplyWritten(reply);
}

CString CWACmdWtree::GetLogText() const
{
    return "Get Archivora TREE";
}
