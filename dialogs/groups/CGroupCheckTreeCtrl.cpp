#include "dialogs/groups/CGroupCheckTreeCtrl.h"

#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"

#include "platform/framework/MessageMap.h"

#include <memory>

BEGIN_MESSAGE_MAP(CGroupCheckTreeCtrl, CCheckTreeCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = 0xFF00FF;
// A group below the top level: closed and open.
constexpr int GROUP_IMAGE = 2;
constexpr int GROUP_SELECTED_IMAGE = 3;
// The catalog's order of a level: by name, ascending.
constexpr CSortSpec CHILD_ORDER { COLUMN_NAME, 1, 1 };

} // namespace

CGroupCheckTreeCtrl::~CGroupCheckTreeCtrl() = default;

BOOL CGroupCheckTreeCtrl::InitImageLists()
{
    SetExclusionAllowed(FALSE);
    if (!m_nodeImages.Create(IDB_NODE_TREE, IMAGE_WIDTH, 1, IMAGE_MASK)
        || !m_stateImages.Create(IDB_CHECK_STATES, IMAGE_WIDTH, 1, IMAGE_MASK))
        return FALSE;
    SetImageList(&m_stateImages, TVSIL_STATE);
    SetImageList(&m_nodeImages, TVSIL_NORMAL);
    return TRUE;
}

void CGroupCheckTreeCtrl::FillGroups(CCatalog* pCatalog, BOOL bSystemsRoot)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    if (pRoot != nullptr)
        AddChildren(*pRoot, TVI_ROOT);
    if (!bSystemsRoot)
        return;
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(pCatalog));
    if (pSystems != nullptr && pSystems->IsValid())
        InsertNode(std::move(pSystems), TVI_ROOT);
}

void CGroupCheckTreeCtrl::AddChildren(const CNodeRec& node, HTREEITEM hParent)
{
    std::unique_ptr<CNodeRec> pFirst(node.GetFirstChild());
    if (pFirst == nullptr)
        return;
    for (auto& pChild : node.GetSortedChildren(&CHILD_ORDER)) {
        const HTREEITEM hItem = InsertNode(std::move(pChild), hParent);
        if (hItem != nullptr)
            AddChildren(*GetItemNode(hItem), hItem);
    }
}

HTREEITEM CGroupCheckTreeCtrl::InsertNode(std::unique_ptr<CNodeRec> pNode, HTREEITEM hParent)
{
    const BOOL bTop = hParent == TVI_ROOT;
    const int nImage = bTop ? static_cast<int>(pNode->GetKind()) : GROUP_IMAGE;
    const int nSelected = bTop ? nImage + 1 : GROUP_SELECTED_IMAGE;
    const HTREEITEM hItem = InsertItem(pNode->GetName(), nImage, nSelected, hParent, TVI_LAST);
    if (hItem == nullptr)
        return nullptr;
    SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pNode.release()));
    SetCheckState(hItem, STATE_UNCHECKED);
    return hItem;
}

void CGroupCheckTreeCtrl::SetChecks(const CWAGroupRightsMap& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD wValue = 0;
        map.GetNextAssoc(pos, key, wValue);
        if (key == WA_ALL_GROUPS)
            continue;
        const HTREEITEM hItem = FindItem(static_cast<CATBLOCK>(key.nBlock), static_cast<LONG>(key.nSlot));
        if (hItem == nullptr)
            continue;
        const HTREEITEM hParent = GetParentItem(hItem);
        if (wValue == GROUP_WHOLE) {
            ApplyCheckAction(hItem, ACTION_CHECK);
        } else if (wValue == GROUP_PART) {
            SetCheckState(hItem, STATE_CHECKED_PARTLY);
        } else {
            SetCheckState(hItem, STATE_UNCHECKED);
            continue;
        }
        if (hParent != nullptr)
            Expand(hParent, TVE_EXPAND);
    }
}

void CGroupCheckTreeCtrl::GetChecks(CWAGroupRightsMap& map, HTREEITEM hFrom) const
{
    for (HTREEITEM hItem = hFrom != nullptr ? GetChildItem(hFrom) : GetRootItem(); hItem != nullptr;
         hItem = GetNextSiblingItem(hItem)) {
        const CRecordRef ref = GetItemNode(hItem)->GetRef();
        const WA_GROUP_KEY key { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) };
        const int nState = GetCheckState(hItem);
        if (nState == STATE_CHECKED) {
            map.SetAt(key, GROUP_WHOLE);
            continue;
        }
        if (nState == STATE_CHECKED_PARTLY)
            map.SetAt(key, GROUP_PART);
        GetChecks(map, hItem);
    }
}

HTREEITEM CGroupCheckTreeCtrl::FindItem(CATBLOCK nBlock, LONG nSlot, HTREEITEM hFrom) const
{
    for (HTREEITEM hItem = hFrom != nullptr ? GetChildItem(hFrom) : GetRootItem(); hItem != nullptr;
         hItem = GetNextSiblingItem(hItem)) {
        const CRecordRef ref = GetItemNode(hItem)->GetRef();
        if (ref.nBlock == nBlock && ref.nSlot == nSlot)
            return hItem;
        if (const HTREEITEM hFound = FindItem(nBlock, nSlot, hItem))
            return hFound;
    }
    return nullptr;
}

const CNodeRec* CGroupCheckTreeCtrl::GetItemNode(HTREEITEM hItem) const
{
    return reinterpret_cast<const CNodeRec*>(GetItemData(hItem));
}

BOOL CGroupCheckTreeCtrl::DeleteAllItems()
{
    BOOL bDeleted = TRUE;
    while (const HTREEITEM hItem = GetRootItem()) {
        if (!DeleteSubtree(hItem)) {
            bDeleted = FALSE;
            break;
        }
    }
    return bDeleted;
}

BOOL CGroupCheckTreeCtrl::DeleteSubtree(HTREEITEM hItem)
{
    while (const HTREEITEM hChild = GetChildItem(hItem)) {
        if (!DeleteSubtree(hChild))
            return FALSE;
    }
    std::unique_ptr<const CNodeRec> pNode(GetItemNode(hItem));
    return DeleteItem(hItem);
}

void CGroupCheckTreeCtrl::OnDestroy()
{
    DeleteAllItems();
    CCheckTreeCtrl::OnDestroy();
}
