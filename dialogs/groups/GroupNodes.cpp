#include "dialogs/groups/GroupNodes.h"

#include "dialogs/groups/KeywordIndex.h"

#include "store/CCatalog.h"
#include "store/CNodeRec.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The walk both stores share: keep the links whose record has a wanted text,
// find or make the record of each other text and link it, then take away the
// links of the records no longer wanted. Texts already linked cost no search
// of the catalog, so storing a few changes of a long list stays cheap.
template<class TRec> struct CLinkKind {
    std::function<TRec*(LPCTSTR)> find;
    std::function<TRec*(LPCTSTR)> create;
    std::function<BOOL(const TRec*)> link;
    std::function<std::vector<std::unique_ptr<TRec>>()> linked;
    std::function<BOOL(const TRec*)> unlink;
    bool bNoCase; // a linked record equal without regard to case is the text's
};

// The linked record whose text is strText: equal exactly, else (bNoCase) without regard to case.
template<class TRec>
const TRec* FindLinked(const std::vector<std::unique_ptr<TRec>>& linked, const std::vector<CString>& linkedTexts,
    const CString& strText, bool bNoCase)
{
    for (size_t i = 0; i < linked.size(); ++i) {
        if (linkedTexts[i] == strText)
            return linked[i].get();
    }
    for (size_t i = 0; bNoCase && i < linked.size(); ++i) {
        if (linkedTexts[i].CompareNoCase(strText) == 0)
            return linked[i].get();
    }
    return nullptr;
}

template<class TRec> BOOL StoreLinks(const CLinkKind<TRec>& kind, const std::vector<CString>& texts)
{
    const std::vector<std::unique_ptr<TRec>> linked = kind.linked();
    std::vector<CString> linkedTexts;
    for (const auto& pRecord : linked)
        linkedTexts.push_back(pRecord->GetText());
    std::vector<CRecordRef> wanted;
    for (const CString& strText : texts) {
        if (strText.IsEmpty())
            continue;
        if (const TRec* pHeld = FindLinked(linked, linkedTexts, strText, kind.bNoCase)) {
            wanted.push_back(pHeld->GetRef());
            continue;
        }
        std::unique_ptr<TRec> pRecord(kind.find(strText));
        if (pRecord == nullptr)
            pRecord.reset(kind.create(strText));
        if (pRecord == nullptr || !kind.link(pRecord.get()))
            return FALSE;
        wanted.push_back(pRecord->GetRef());
    }
    BOOL bResult = TRUE;
    for (const auto& pOld : linked) {
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
    CKeywordIndex index(node.GetCatalog());
    return StoreNodeKeywords(node, keywords, index);
}

BOOL StoreNodeKeywords(CNodeRec& node, const std::vector<CString>& keywords, CKeywordIndex& index)
{
    const CLinkKind<CKeywordRec> kind {
        [&index](LPCTSTR psz) { return index.Find(psz); },
        [&index](LPCTSTR psz) { return index.Create(psz); },
        [&node](const CKeywordRec* pRec) { return node.LinkKeyword(pRec); },
        [&node] { return node.GetKeywords(); },
        [&node](const CKeywordRec* pRec) { return node.RemoveKeywordLink(pRec); },
        true,
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
        false,
    };
    return StoreLinks(kind, folders);
}
