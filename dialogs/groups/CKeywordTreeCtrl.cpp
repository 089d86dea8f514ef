#include "dialogs/groups/CKeywordTreeCtrl.h"

#include "dialogs/groups/GroupNodes.h"
#include "dialogs/groups/KeywordIndex.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "ui/NodeTree.h"

#include "platform/framework/MessageMap.h"

#include <vector>

BEGIN_MESSAGE_MAP(CKeywordTreeCtrl, CTreeCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

} // namespace

CKeywordTreeCtrl::~CKeywordTreeCtrl() = default;

BOOL CKeywordTreeCtrl::InitImageList()
{
    if (!m_images.Create(IDB_NODE_TREE, IMAGE_WIDTH, 1, IMAGE_MASK))
        return FALSE;
    SetImageList(&m_images, TVSIL_NORMAL);
    return TRUE;
}

void CKeywordTreeCtrl::FillFromRoot(CCatalog* pCatalog)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    if (pRoot == nullptr)
        return;
    FillNodeChildren(*pRoot, TVI_ROOT, [this](std::unique_ptr<CNodeRec> pChild, HTREEITEM hParent) {
        return InsertSystem(std::move(pChild), hParent);
    });
}

HTREEITEM CKeywordTreeCtrl::InsertSystem(std::unique_ptr<CNodeRec> pNode, HTREEITEM hParent)
{
    auto pRecord = std::make_unique<CKeywordTreeItem>();
    for (const auto& pKeyword : pNode->GetKeywords()) {
        if (pRecord->pKeywords == nullptr)
            pRecord->pKeywords = std::make_unique<CStringArray>();
        pRecord->pKeywords->Add(pKeyword->GetText());
    }
    pRecord->pNode = std::move(pNode);
    const HTREEITEM hItem = InsertNodeItem(*this, *pRecord->pNode, hParent, reinterpret_cast<DWORD_PTR>(pRecord.get()));
    if (hItem != nullptr)
        static_cast<void>(pRecord.release()); // the item owns it now
    return hItem;
}

HTREEITEM CKeywordTreeCtrl::FindItemByNode(CRecordRef ref, HTREEITEM hFrom) const
{
    return FindNodeItem(*this, ref, hFrom, [this](HTREEITEM hItem) -> const CNodeRec* {
        const CKeywordTreeItem* pRecord = GetItemRecord(hItem);
        return pRecord != nullptr ? pRecord->pNode.get() : nullptr;
    });
}

CKeywordTreeItem* CKeywordTreeCtrl::GetItemRecord(HTREEITEM hItem) const
{
    return reinterpret_cast<CKeywordTreeItem*>(GetItemData(hItem));
}

void CKeywordTreeCtrl::RemoveKeywordFromSystem(const CNodeRec& system, LPCTSTR pszKeyword)
{
    const HTREEITEM hItem = FindItemByNode(system.GetRef());
    CKeywordTreeItem* pRecord = hItem != nullptr ? GetItemRecord(hItem) : nullptr;
    if (pRecord == nullptr || pRecord->pKeywords == nullptr)
        return;
    CStringArray& keywords = *pRecord->pKeywords;
    for (INT_PTR i = keywords.GetSize() - 1; i >= 0; --i) {
        if (keywords[i].CompareNoCase(pszKeyword) == 0) {
            keywords.RemoveAt(i);
            pRecord->bModified = TRUE;
            return;
        }
    }
}

void CKeywordTreeCtrl::AddKeywordToSystem(const CNodeRec& system, LPCTSTR pszKeyword)
{
    const HTREEITEM hItem = FindItemByNode(system.GetRef());
    CKeywordTreeItem* pRecord = hItem != nullptr ? GetItemRecord(hItem) : nullptr;
    if (pRecord == nullptr)
        return;
    if (pRecord->pKeywords == nullptr)
        pRecord->pKeywords = std::make_unique<CStringArray>();
    pRecord->pKeywords->Add(pszKeyword);
    pRecord->bModified = TRUE;
}

BOOL CKeywordTreeCtrl::SaveModified()
{
    const HTREEITEM hRoot = GetRootItem();
    const CKeywordTreeItem* pRoot = hRoot != nullptr ? GetItemRecord(hRoot) : nullptr;
    if (pRoot == nullptr)
        return TRUE;
    // Every item is a node of one catalog.
    CCatalog* pCatalog = pRoot->pNode->GetCatalog();
    CCatalogAction action(pCatalog);
    CKeywordIndex index(pCatalog);
    const BOOL bSaved = SaveModifiedBelow(nullptr, index);
    return action.Finish(bSaved);
}

BOOL CKeywordTreeCtrl::SaveModifiedBelow(HTREEITEM hFrom, CKeywordIndex& index)
{
    BOOL bResult = TRUE;
    for (HTREEITEM hItem = hFrom != nullptr ? GetChildItem(hFrom) : GetRootItem(); hItem != nullptr;
         hItem = GetNextSiblingItem(hItem)) {
        CKeywordTreeItem* pRecord = GetItemRecord(hItem);
        if (pRecord != nullptr && pRecord->bModified) {
            std::vector<CString> keywords;
            if (pRecord->pKeywords != nullptr) {
                for (INT_PTR i = pRecord->pKeywords->GetSize() - 1; i >= 0; --i) {
                    CString strText = pRecord->pKeywords->GetAt(i);
                    keywords.push_back(strText.Trim());
                }
            }
            if (StoreNodeKeywords(*pRecord->pNode, keywords, index))
                pRecord->bModified = FALSE;
            else
                bResult = FALSE;
        }
        if (!SaveModifiedBelow(hItem, index))
            bResult = FALSE;
    }
    return bResult;
}

void CKeywordTreeCtrl::OnDestroy()
{
    DeleteNodeItems(*this, [this](HTREEITEM hItem) {
        delete GetItemRecord(hItem);
        SetItemData(hItem, 0);
    });
    CTreeCtrl::OnDestroy();
}
