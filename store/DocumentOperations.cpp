#include "store/DocumentOperations.h"

#include "platform/base/WinError.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <memory>

namespace {

// The deepest subtree copied: a deeper one can only be damage.
constexpr int MAX_COPY_DEPTH = 256;

// Copies source (a node of the same catalog) with its subtree under pParent,
// merging into a child of the same name. FALSE on failure.
BOOL CopySubtree(const CNodeRec& source, CNodeRec& parent, int nDepth)
{
    if (nDepth >= MAX_COPY_DEPTH) {
        parent.GetCatalog()->ReportDamage();
        return FALSE;
    }
    CNodeInfo info;
    std::unique_ptr<CNodeRec> pCopy(parent.FindOrAddChild(*source.GetInfo(&info)));
    if (!pCopy)
        return FALSE;
    for (const auto& pKeyword : source.GetKeywords()) {
        if (!pCopy->LinkKeyword(pKeyword.get()))
            return FALSE;
    }
    for (const auto& pFolder : source.GetNodeFolders()) {
        if (!pCopy->LinkNodeFolder(pFolder.get()))
            return FALSE;
    }
    for (const auto& pDocument : source.GetDocuments()) {
        if (!pCopy->AddDocument(pDocument.get()))
            return FALSE;
    }
    for (const auto& pChild : source.GetChildren()) {
        if (!CopySubtree(*pChild, *pCopy, nDepth + 1))
            return FALSE;
    }
    return TRUE;
}

// TRUE when pNode is pTarget or one of its ancestors.
bool IsInSubtreeOf(const CNodeRec& target, const CNodeRec& node)
{
    if (target.GetRef() == node.GetRef())
        return true;
    CNodeRecArray ancestors = target.GetAncestors();
    return std::any_of(ancestors.begin(), ancestors.end(), [&](const auto& p) { return p->GetRef() == node.GetRef(); });
}

// The documents linked anywhere in a node's subtree.
void CollectDocuments(const CNodeRec& node, std::vector<CRecordRef>* pDocuments, int nDepth)
{
    if (nDepth >= MAX_COPY_DEPTH)
        return;
    for (const auto& pDocument : node.GetDocuments())
        pDocuments->push_back(pDocument->GetRef());
    for (const auto& pChild : node.GetChildren())
        CollectDocuments(*pChild, pDocuments, nDepth + 1);
}

// Links a document that no user node holds any more under the systems root.
BOOL KeepOrphan(CCatalog* pCatalog, CRecordRef ref)
{
    if (!pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT))
        return TRUE;
    CDocumentRec document(pCatalog, ref.nBlock, ref.nSlot);
    if (!document.IsValid() || document.CountNodeLinks(FALSE) > 0)
        return document.IsValid();
    CNodeRec orphans(pCatalog, CNodeRec::SYSTEMS_NODE_BLOCK);
    return orphans.IsValid() && orphans.AddDocument(&document);
}

// The item's path for the question: a document's full path, a node's names.
CString ItemPath(const CCatalogRecord& item)
{
    if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(&item)) {
        CString strName;
        pDocument->GetFullPath(strName);
        return pDocument->GetDirectoryString(TRUE) + (pDocument->IsMail() ? CString("\\") : CString()) + strName;
    }
    CString strPath;
    if (const auto* pNode = dynamic_cast<const CNodeRec*>(&item)) {
        CStringArray names;
        pNode->GetPathNames(names);
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            strPath += (i ? CString("\\") : CString()) + names[i];
    }
    return strPath;
}

}

/******************************************************************************
 * Payloads
 ******************************************************************************/

std::vector<BYTE> BuildCatalogPayload(const CCatalogPayload& payload)
{
    std::vector<BYTE> bytes(16 + 8 * payload.items.size());
    SetRefField(bytes, 0, payload.source);
    SetLongField(bytes, 8, payload.nOperation);
    SetLongField(bytes, 12, static_cast<LONG>(payload.items.size()));
    for (std::size_t i = 0; i < payload.items.size(); ++i)
        SetRefField(bytes, static_cast<int>(16 + 8 * i), payload.items[i]);
    return bytes;
}

BOOL ParseCatalogPayload(std::span<const BYTE> bytes, CCatalogPayload* pPayload, PayloadTail eTail)
{
    if (!pPayload || bytes.size() < 16) {
        SetLastError(ERROR_HANDLE_EOF);
        return FALSE;
    }
    LONG nCount = GetLongField(bytes, 12);
    const std::size_t nRoom = (bytes.size() - 16) / 8;
    const bool bExact = nRoom == static_cast<std::size_t>(nCount) && (bytes.size() - 16) % 8 == 0;
    if (nCount < 0 || static_cast<std::size_t>(nCount) > nRoom || (eTail == PayloadTail::Refuse && !bExact)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pPayload->source = GetRefField(bytes, 0);
    pPayload->nOperation = GetLongField(bytes, 8);
    pPayload->items.clear();
    for (LONG i = 0; i < nCount; ++i)
        pPayload->items.push_back(GetRefField(bytes, 16 + 8 * i));
    return TRUE;
}

/******************************************************************************
 * Dropping
 ******************************************************************************/

int DropDocuments(CNodeRec* pTarget, const CCatalogPayload& payload, int nOperation)
{
    if (!pTarget || !pTarget->IsValid() || (nOperation != PAYLOAD_COPY && nOperation != PAYLOAD_MOVE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    CCatalog* pCatalog = pTarget->GetCatalog();
    CCatalogAction action(pCatalog); // one drop, one commit
    std::unique_ptr<CNodeRec> pSource;
    if (pCatalog->CheckRecord(payload.source.nBlock, payload.source.nSlot, TABLE_NODE))
        pSource = std::make_unique<CNodeRec>(pCatalog, payload.source.nBlock, payload.source.nSlot);
    int nChanged = 0;
    for (CRecordRef item : payload.items) {
        if (pCatalog->CheckRecord(item.nBlock, item.nSlot, TABLE_DOCUMENT)) {
            CDocumentRec document(pCatalog, item.nBlock, item.nSlot);
            if (!document.IsValid() || !pTarget->AddDocument(&document))
                continue;
            ++nChanged;
            if (nOperation == PAYLOAD_MOVE && pSource && pSource->IsValid() && pSource->GetRef() != pTarget->GetRef())
                (void)pSource->DeleteLinks(&document); // the copy stands; a failed unlink was reported by the file
        } else if (pCatalog->CheckRecord(item.nBlock, item.nSlot, TABLE_NODE)) {
            CNodeRec node(pCatalog, item.nBlock, item.nSlot);
            if (!node.IsValid() || node.IsFixedNode() || IsInSubtreeOf(*pTarget, node))
                continue;
            // A node moved under its own parent stays where it is.
            std::unique_ptr<CNodeRec> pParent(node.GetParent());
            if (nOperation == PAYLOAD_MOVE && pParent && pParent->GetRef() == pTarget->GetRef())
                continue;
            if (!CopySubtree(node, *pTarget, 0))
                break;
            ++nChanged;
            if (nOperation == PAYLOAD_MOVE && !node.DeleteSubtree(TRUE))
                break;
        }
    }
    return action.Finish(nChanged);
}

/******************************************************************************
 * Removing
 ******************************************************************************/

int ConfirmDeleteItems(CNodeRec* pParent, std::span<CCatalogRecord* const> items, const ConfirmDeleteCallback& pfnAsk)
{
    if (!pParent || !pParent->IsValid() || !pfnAsk) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<CDocumentRec*> documents;
    std::vector<CNodeRec*> nodes;
    for (CCatalogRecord* pItem : items) {
        if (auto* pDocument = dynamic_cast<CDocumentRec*>(pItem); pDocument && pDocument->IsValid())
            documents.push_back(pDocument);
        else if (auto* pNode = dynamic_cast<CNodeRec*>(pItem); pNode && pNode->IsValid() && !pNode->IsFixedNode())
            nodes.push_back(pNode);
    }
    if (documents.empty() && nodes.empty())
        return 0;

    CDeleteQuestion question;
    if (!documents.empty())
        question.textIds.push_back(documents.size() == 1 ? IDS_DELETE_DOCUMENT : IDS_DELETE_DOCUMENTS);
    if (!documents.empty() && !nodes.empty())
        question.textIds.push_back(IDS_DELETE_DOCUMENTS_NODES);
    if (!nodes.empty()) {
        question.textIds.push_back(nodes.size() == 1 ? IDS_DELETE_NODE : IDS_DELETE_NODES);
        question.textIds.push_back(IDS_DELETE_SUBTREES);
    }
    bool bOrphans = std::any_of(
        documents.begin(), documents.end(), [](CDocumentRec* p) { return p->CountNodeLinks(FALSE) <= 1; });
    if (bOrphans || !nodes.empty())
        question.textIds.push_back(IDS_DELETE_ORPHANS);
    question.textIds.push_back(IDS_DELETE_CONTINUE);
    for (CDocumentRec* pDocument : documents)
        question.paths.push_back(ItemPath(*pDocument));
    for (CNodeRec* pNode : nodes)
        question.paths.push_back(ItemPath(*pNode));
    if (pfnAsk(question) != CONFIRM_DELETE_YES)
        return 0;

    CCatalog* pCatalog = pParent->GetCatalog();
    CCatalogAction action(pCatalog); // the answered question, one commit
    std::vector<CRecordRef> touched;
    int nRemoved = 0;
    for (CDocumentRec* pDocument : documents) {
        if (pParent->DeleteLinks(pDocument)) {
            touched.push_back(pDocument->GetRef());
            ++nRemoved;
        }
    }
    for (CNodeRec* pNode : nodes) {
        std::vector<CRecordRef> subtreeDocuments;
        CollectDocuments(*pNode, &subtreeDocuments, 0);
        if (pNode->DeleteSubtree(TRUE)) {
            touched.insert(touched.end(), subtreeDocuments.begin(), subtreeDocuments.end());
            ++nRemoved;
        }
    }
    for (CRecordRef ref : touched) {
        if (!KeepOrphan(pCatalog, ref))
            break; // the file refuses writes now; it reported why
    }
    return action.Finish(nRemoved);
}
