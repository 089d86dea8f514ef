#include "dialogs/groups/GroupNodes.h"

#include "store/CCatalog.h"
#include "store/CNodeRec.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The walk both stores share: find or make the record of each text and link
// it, then take away the links of the records no longer wanted.
template<class TRec> struct CLinkKind {
    std::function<TRec*(LPCTSTR)> find;
    std::function<TRec*(LPCTSTR)> create;
    std::function<BOOL(const TRec*)> link;
    std::function<std::vector<std::unique_ptr<TRec>>()> linked;
    std::function<BOOL(const TRec*)> unlink;
};

template<class TRec> BOOL StoreLinks(const CLinkKind<TRec>& kind, const std::vector<CString>& texts)
{
    std::vector<CRecordRef> wanted;
    for (const CString& strText : texts) {
        if (strText.IsEmpty())
            continue;
        std::unique_ptr<TRec> pRecord(kind.find(strText));
        if (pRecord == nullptr)
            pRecord.reset(kind.create(strText));
        if (pRecord == nullptr || !kind.link(pRecord.get()))
            return FALSE;
        wanted.push_back(pRecord->GetRef());
    }
    BOOL bResult = TRUE;
    for (const auto& pOld : kind.linked()) {
        if (std::find(wanted.begin(), wanted.end(), pOld->GetRef()) == wanted.end() && !kind.unlink(pOld.get()))
            bResult = FALSE;
    }
    return bResult;
}

} // namespace

bool IsFixedGroupNode(const CNodeRec& node)
{
    const CRecordRef ref = node.GetRef();
    return CNodeRec::IsFixedNodeRef(ref) && ref.nBlock >= CNodeRec::SYSTEMS_NODE_BLOCK;
}

BOOL StoreNodeKeywords(CNodeRec& node, const std::vector<CString>& keywords)
{
    CCatalog* pCatalog = node.GetCatalog();
    const CLinkKind<CKeywordRec> kind {
        [pCatalog](LPCTSTR psz) { return pCatalog->FindKeywordNoCase(psz); },
        [pCatalog](LPCTSTR psz) { return pCatalog->CreateKeyword(psz); },
        [&node](const CKeywordRec* pRec) { return node.LinkKeyword(pRec); },
        [&node] { return node.GetKeywords(); },
        [&node](const CKeywordRec* pRec) { return node.RemoveKeywordLink(pRec); },
    };
    return StoreLinks(kind, keywords);
}

BOOL StoreNodeFolders(CNodeRec& node, const std::vector<CString>& folders)
{
    CCatalog* pCatalog = node.GetCatalog();
    const CLinkKind<CNodeFolderRec> kind {
        [pCatalog](LPCTSTR psz) { return pCatalog->FindNodeFolder(psz); },
        [pCatalog](LPCTSTR psz) { return pCatalog->AddNodeFolder(psz); },
        [&node](const CNodeFolderRec* pRec) { return node.LinkNodeFolder(pRec); },
        [&node] { return node.GetNodeFolders(); },
        [&node](const CNodeFolderRec* pRec) { return node.RemoveNodeFolderLink(pRec); },
    };
    return StoreLinks(kind, folders);
}
