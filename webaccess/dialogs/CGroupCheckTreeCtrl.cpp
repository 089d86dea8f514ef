#include "webaccess/dialogs/CGroupCheckTreeCtrl.h"

#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/NodeTree.h"

#include "platform/framework/MessageMap.h"

#include <memory>
#include <utility>
#include <vector>

BEGIN_MESSAGE_MAP(CGroupCheckTreeCtrl, CCheckTreeCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = 0xFF00FF;

// Keeps the tree from laying out and drawing while items are added or
// changed in bulk: once at the end instead of once an item.
class CRedrawPause {
public:
    explicit CRedrawPause(CWnd& wnd)
        : m_wnd(wnd)
    {
        m_wnd.SetRedraw(FALSE);
    }
    ~CRedrawPause() { m_wnd.SetRedraw(TRUE); }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    CWnd& m_wnd;
};

ULONGLONG NodeKey(DWORD nBlock, DWORD nSlot)
{
    return (static_cast<ULONGLONG>(nBlock) << 32) | nSlot;
}

ULONGLONG NodeKey(CRecordRef ref)
{
    return NodeKey(static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot));
}

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
    const CRedrawPause pause(*this);
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
    const HTREEITEM hItem
        = InsertNodeItem(*this, *pNode, hParent, reinterpret_cast<DWORD_PTR>(pNode.get()), STATE_UNCHECKED);
    if (hItem == nullptr)
        return nullptr;
    m_itemOfNode.try_emplace(NodeKey(pNode->GetRef()), hItem);
    static_cast<void>(pNode.release()); // the item owns it now
    return hItem;
}

HTREEITEM CGroupCheckTreeCtrl::ItemOfNode(DWORD nBlock, DWORD nSlot)
{
    const ULONGLONG nKey = NodeKey(nBlock, nSlot);
    for (int nTry = 0; nTry < 2; ++nTry) {
        const auto found = m_itemOfNode.find(nKey);
        if (found == m_itemOfNode.end())
            return nullptr;
        const CNodeRec* pNode = GetItemNode(found->second);
        if (pNode != nullptr && NodeKey(pNode->GetRef()) == nKey)
            return found->second;
        IndexItems();
    }
    return nullptr;
}

void CGroupCheckTreeCtrl::IndexItems()
{
    m_itemOfNode.clear();
    std::vector<HTREEITEM> pending;
    if (const HTREEITEM hRoot = GetRootItem())
        pending.push_back(hRoot);
    while (!pending.empty()) {
        const HTREEITEM hItem = pending.back();
        pending.pop_back();
        m_itemOfNode.try_emplace(NodeKey(GetItemNode(hItem)->GetRef()), hItem);
        if (const HTREEITEM hNext = GetNextSiblingItem(hItem))
            pending.push_back(hNext);
        if (const HTREEITEM hChild = GetChildItem(hItem))
            pending.push_back(hChild);
    }
}

void CGroupCheckTreeCtrl::SetChecks(const CWAGroupRightsMap& map)
{
    const CRedrawPause pause(*this);
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD wValue = 0;
        map.GetNextAssoc(pos, key, wValue);
        if (key == WA_ALL_GROUPS)
            continue;
        const HTREEITEM hItem = ItemOfNode(key.nBlock, key.nSlot);
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
    return FindNodeItem(*this, { nBlock, nSlot }, hFrom, [this](HTREEITEM hItem) { return GetItemNode(hItem); });
}

const CNodeRec* CGroupCheckTreeCtrl::GetItemNode(HTREEITEM hItem) const
{
    return reinterpret_cast<const CNodeRec*>(GetItemData(hItem));
}

BOOL CGroupCheckTreeCtrl::DeleteAllItems()
{
    const BOOL bDeleted = DeleteNodeItems(*this, [this](HTREEITEM hItem) { delete GetItemNode(hItem); });
    if (bDeleted)
        m_itemOfNode.clear();
    else
        IndexItems();
    return bDeleted;
}

void CGroupCheckTreeCtrl::OnDestroy()
{
    DeleteAllItems();
    CCheckTreeCtrl::OnDestroy();
}
