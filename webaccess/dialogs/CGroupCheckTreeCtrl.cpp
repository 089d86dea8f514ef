#include "webaccess/dialogs/CGroupCheckTreeCtrl.h"

#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/NodeTree.h"

#include "platform/framework/MessageMap.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

BEGIN_MESSAGE_MAP(CGroupCheckTreeCtrl, CCheckTreeCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = 0xFF00FF;

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
    if (pRoot != nullptr) {
        FillNodeChildren(*pRoot, TVI_ROOT, [this](std::unique_ptr<CNodeRec> pChild, HTREEITEM hParent) {
            return InsertNode(std::move(pChild), hParent);
        });
    }
    if (!bSystemsRoot)
        return;
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(pCatalog));
    if (pSystems != nullptr && pSystems->IsValid())
        InsertNode(std::move(pSystems), TVI_ROOT);
}

HTREEITEM CGroupCheckTreeCtrl::InsertNode(std::unique_ptr<CNodeRec> pNode, HTREEITEM hParent)
{
    const HTREEITEM hItem = InsertNodeItem(*this, *pNode, hParent);
    if (hItem == nullptr)
        return nullptr;
    SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pNode.release()));
    SetCheckState(hItem, STATE_UNCHECKED);
    return hItem;
}

void CGroupCheckTreeCtrl::SetChecks(const CWAGroupRightsMap& map)
{
    // The items by their node, found in one walk rather than one walk a key.
    std::map<std::pair<DWORD, DWORD>, HTREEITEM> items;
    std::vector<HTREEITEM> pending;
    if (const HTREEITEM hRoot = GetRootItem())
        pending.push_back(hRoot);
    while (!pending.empty()) {
        const HTREEITEM hItem = pending.back();
        pending.pop_back();
        const CRecordRef ref = GetItemNode(hItem)->GetRef();
        items.try_emplace({ static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) }, hItem);
        if (const HTREEITEM hNext = GetNextSiblingItem(hItem))
            pending.push_back(hNext);
        if (const HTREEITEM hChild = GetChildItem(hItem))
            pending.push_back(hChild);
    }
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD wValue = 0;
        map.GetNextAssoc(pos, key, wValue);
        if (key == WA_ALL_GROUPS)
            continue;
        const auto found = items.find({ key.nBlock, key.nSlot });
        if (found == items.end())
            continue;
        const HTREEITEM hItem = found->second;
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
    return FindNodeItem(*this, { nBlock, nSlot }, hFrom, [this](HTREEITEM hItem) { return GetItemNode(hItem); });
}

const CNodeRec* CGroupCheckTreeCtrl::GetItemNode(HTREEITEM hItem) const
{
    return reinterpret_cast<const CNodeRec*>(GetItemData(hItem));
}

BOOL CGroupCheckTreeCtrl::DeleteAllItems()
{
    return DeleteNodeItems(*this, [this](HTREEITEM hItem) { delete GetItemNode(hItem); });
}

void CGroupCheckTreeCtrl::OnDestroy()
{
    DeleteAllItems();
    CCheckTreeCtrl::OnDestroy();
}
