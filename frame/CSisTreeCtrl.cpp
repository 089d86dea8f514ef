#include "frame/CSisTreeCtrl.h"

#include "frame/AppMessages.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/CatalogCompare.h"
#include "store/ResString.h"
#include "ui/AppPalette.h"
#include "ui/CSisPopupWnd.h"
#include "ui/DropTargets.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/GdiObjects.h"

#include <vector>

IMPLEMENT_DYNAMIC(CSisTreeCtrl, CTreeCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CSisTreeCtrl, CTreeCtrl)
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_TIMER()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CSisTreeCtrl::OnCustomDraw)
    ON_NOTIFY_REFLECT(TVN_SELCHANGING, &CSisTreeCtrl::OnSelChanging)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, &CSisTreeCtrl::OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CSisTreeCtrl::OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CSisTreeCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CSisTreeCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(TVN_KEYDOWN, &CSisTreeCtrl::OnKeyDown)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr COLORREF PALETTE_RELATIVE = 0x02000000;
constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);
constexpr int INDENT = 10;
constexpr int NESTED_IMAGE = 2; // and + 1 when selected
constexpr char PLACEHOLDER_TEXT[] = "DUMMY";

// Children of a node in the tree's order: by name, ascending.
const CSortSpec& ByName()
{
    static const CSortSpec spec { COLUMN_NAME, TRUE, TRUE };
    return spec;
}

constexpr COLORREF PaletteRgb(int r, int g, int b)
{
    return PALETTE_RELATIVE | RGB(r, g, b);
}

BOOL HasChildNodes(const CNodeRec& node)
{
    return std::unique_ptr<CNodeRec>(node.GetFirstChild()) != nullptr;
}

BOOL IsSameNode(const CNodeRec& node1, const CNodeRec& node2)
{
    return node1.GetRef() == node2.GetRef();
}

// The fixed top nodes' place among their siblings: after the systems, block 3 first.
int TopNodeRank(const CNodeRec& node)
{
    if (!IsFixedTopNode(node))
        return 0;
    return node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK ? 1 : 2;
}

// The order of sibling items: systems by the catalog's order, then the fixed top nodes.
int CALLBACK CompareTreeItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* pNode1 = reinterpret_cast<const CNodeRec*>(lParam1);
    const auto* pNode2 = reinterpret_cast<const CNodeRec*>(lParam2);
    const int nRank1 = TopNodeRank(*pNode1);
    const int nRank2 = TopNodeRank(*pNode2);
    if (nRank1 != nRank2)
        return nRank1 - nRank2;
    return CompareCatalogRecords(lParam1, lParam2, lParamSort);
}

} // namespace

CString GetSystemName(const CNodeRec& node)
{
    if (node.GetSlot() == 0 && node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK)
        return GetResString(IDS_TOP_NODE3_NAME);
    if (node.GetSlot() == 0 && node.GetBlock() == CNodeRec::FIXED_NODE_LAST)
        return GetResString(IDS_TOP_NODE4_NAME);
    return node.GetName();
}

BOOL IsFixedTopNode(const CNodeRec& node)
{
    return node.GetSlot() == 0
        && (node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK || node.GetBlock() == CNodeRec::FIXED_NODE_LAST);
}

CSisTreeCtrl::CSisTreeCtrl()
    : m_colours {
        PaletteRgb(0, 0, 0),
        PaletteRgb(0, 0, 0),
        PaletteRgb(0, 0, 255),
        PaletteRgb(240, 240, 240),
        PaletteRgb(212, 212, 212),
        PaletteRgb(224, 224, 224),
        PaletteRgb(255, 255, 255),
        PaletteRgb(128, 128, 128),
        PaletteRgb(112, 112, 112),
    }
{
    (void)m_history.SetCapacity(HISTORY_CAPACITY); // a fresh history always takes its capacity
}

CSisTreeCtrl::~CSisTreeCtrl() = default;

/***************************** Filling *****************************/

void CSisTreeCtrl::Fill(CCatalog* pCatalog)
{
    m_pCatalog = pCatalog;
    CClientDC dc(this);
    RealizeAppPalette(&dc);
    SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(m_colours[COLOUR_BACKGROUND]));
    SendMessage(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(m_colours[COLOUR_TEXT]));
    if (m_pCatalog) {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
        if (pRoot) {
            for (auto& pChild : pRoot->GetSortedChildren(&ByName()))
                InsertNode(TVI_ROOT, std::move(pChild));
        }
        if (m_bShowTopNode3)
            InsertNode(TVI_ROOT, std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(m_pCatalog)));
        if (m_bShowTopNode4)
            InsertNode(TVI_ROOT, std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec4(m_pCatalog)));
    }
    if (!m_bRegistered)
        m_bRegistered = RegisterDropTarget(this, TRUE);
}

HTREEITEM CSisTreeCtrl::InsertNode(HTREEITEM hParent, std::unique_ptr<CNodeRec> pNode)
{
    if (!pNode)
        return nullptr;
    const BOOL bHasChildren = HasChildNodes(*pNode);
    int nImage = NESTED_IMAGE;
    if (hParent == TVI_ROOT)
        nImage = static_cast<int>(pNode->GetKind());
    const CString strName = GetSystemName(*pNode);
    TVINSERTSTRUCT insert {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(static_cast<LPCTSTR>(strName));
    insert.item.iImage = nImage;
    insert.item.iSelectedImage = nImage + 1;
    insert.item.state = INDEXTOSTATEIMAGEMASK(bHasChildren ? STATE_COLLAPSED : STATE_NO_CHILDREN);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.lParam = reinterpret_cast<LPARAM>(pNode.get());
    HTREEITEM hItem = InsertItem(&insert);
    if (!hItem)
        return nullptr;
    (void)pNode.release(); // the item owns it now
    if (bHasChildren)
        InsertPlaceholder(hItem);
    return hItem;
}

void CSisTreeCtrl::InsertPlaceholder(HTREEITEM hItem)
{
    HTREEITEM hDummy = InsertItem(PLACEHOLDER_TEXT, NESTED_IMAGE, NESTED_IMAGE + 1, hItem);
    if (hDummy)
        SetItemData(hDummy, PLACEHOLDER_DATA);
}

BOOL CSisTreeCtrl::IsPlaceholder(HTREEITEM hItem) const
{
    return hItem && GetItemData(hItem) == PLACEHOLDER_DATA;
}

CNodeRec* CSisTreeCtrl::GetItemNode(HTREEITEM hItem) const
{
    if (!hItem || hItem == TVI_ROOT || IsPlaceholder(hItem))
        return nullptr;
    return reinterpret_cast<CNodeRec*>(GetItemData(hItem));
}

void CSisTreeCtrl::SetStateImage(HTREEITEM hItem, int nState)
{
    SetItemState(hItem, INDEXTOSTATEIMAGEMASK(static_cast<UINT>(nState)), TVIS_STATEIMAGEMASK);
}

void CSisTreeCtrl::PopulateChildren(HTREEITEM hItem)
{
    HTREEITEM hFirst = GetChildItem(hItem);
    CNodeRec* pNode = GetItemNode(hItem);
    if (!IsPlaceholder(hFirst) || !pNode)
        return;
    DeleteItem(hFirst);
    for (auto& pChild : pNode->GetSortedChildren(&ByName()))
        InsertNode(hItem, std::move(pChild));
}

HTREEITEM CSisTreeCtrl::FindChildItem(HTREEITEM hParent, const CNodeRec& node)
{
    if (hParent != TVI_ROOT)
        PopulateChildren(hParent);
    for (HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent); hChild;
         hChild = GetNextSiblingItem(hChild)) {
        const CNodeRec* pChild = GetItemNode(hChild);
        if (pChild && IsSameNode(*pChild, node))
            return hChild;
    }
    return nullptr;
}

/***************************** Keeping in line *****************************/

void CSisTreeCtrl::Rebuild()
{
    if (!m_pCatalog)
        return;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
    if (!pRoot)
        return;
    SyncChildren(TVI_ROOT, *pRoot);
    HTREEITEM hItem = GetSelectedItem();
    if (!hItem)
        hItem = GetRootItem();
    if (!hItem)
        return;
    NotifySelection(hItem, REASON_REBUILD);
    SelectItem(hItem);
}

void CSisTreeCtrl::SyncChildren(HTREEITEM hParent, const CNodeRec& node)
{
    CNodeRecArray children = node.GetSortedChildren(&ByName());
    BOOL bResort = FALSE;
    HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    while (hChild) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        CNodeRec* pNode = GetItemNode(hChild);
        if (!pNode) {
            hChild = hNext;
            continue;
        }
        auto found = std::find_if(children.begin(), children.end(),
            [&](const std::unique_ptr<CNodeRec>& pChild) { return IsSameNode(*pChild, *pNode); });
        if (found == children.end()) {
            if (IsFixedTopNode(*pNode))
                (void)pNode->Load(); // a fixed node that cannot be read shows its last record
            else
                DeleteItemDeep(hChild);
            hChild = hNext;
            continue;
        }
        if (found != children.begin())
            bResort = TRUE;
        children.erase(found);
        (void)pNode->Load(); // the record was just listed: it reads
        const CString strName = GetSystemName(*pNode);
        if (GetItemText(hChild) != strName) {
            SetItemText(hChild, strName);
            bResort = TRUE;
        }
        HTREEITEM hFirst = GetChildItem(hChild);
        if (HasChildNodes(*pNode)) {
            if (!hFirst) {
                InsertPlaceholder(hChild);
                SetStateImage(hChild, STATE_COLLAPSED);
            } else if (!IsPlaceholder(hFirst)) {
                SyncChildren(hChild, *pNode);
            }
        } else if (hFirst) {
            Expand(hChild, TVE_COLLAPSE);
            SetItemState(hChild, 0, TVIS_EXPANDEDONCE);
            while (HTREEITEM hGone = GetChildItem(hChild))
                DeleteItemDeep(hGone);
            SetStateImage(hChild, STATE_NO_CHILDREN);
        }
        hChild = hNext;
    }
    for (auto& pNew : children)
        InsertNode(hParent, std::move(pNew));
    if (!children.empty() && hParent == TVI_ROOT && (m_bShowTopNode3 || m_bShowTopNode4))
        bResort = TRUE;
    if (bResort)
        SortChildrenByName(hParent);
}

void CSisTreeCtrl::SortChildrenByName(HTREEITEM hParent)
{
    TVSORTCB sort { hParent, &CompareTreeItems, reinterpret_cast<LPARAM>(&ByName()) };
    SortChildrenCB(&sort);
}

void CSisTreeCtrl::ReloadRecords(HTREEITEM hItem)
{
    for (HTREEITEM hChild = hItem == TVI_ROOT ? GetRootItem() : GetChildItem(hItem); hChild;
         hChild = GetNextSiblingItem(hChild)) {
        CNodeRec* pNode = GetItemNode(hChild);
        if (!pNode)
            continue;
        (void)pNode->Load(); // a record that no longer reads keeps what was shown
        if (ItemHasChildren(hChild))
            ReloadRecords(hChild);
    }
}

void CSisTreeCtrl::DeleteItemDeep(HTREEITEM hItem)
{
    while (HTREEITEM hChild = GetChildItem(hItem))
        DeleteItemDeep(hChild);
    m_history.RemoveValue(hItem);
    if (hItem == m_hDragHover)
        m_hDragHover = nullptr;
    CNodeRec* pNode = GetItemNode(hItem);
    DeleteItem(hItem);
    delete pNode;
}

/***************************** Looks *****************************/

void CSisTreeCtrl::SetIconSize(BOOL bSmall)
{
    // The pictures are decoded again only for the other size (a start sets the kept size over the first).
    if (bSmall != m_bSmallIcons || !m_images.GetSafeHandle()) {
        m_bSmallIcons = bSmall;
        SetImageList(nullptr, TVSIL_NORMAL);
        SetImageList(nullptr, TVSIL_STATE);
        m_images.DeleteImageList();
        m_stateImages.DeleteImageList();
        if (bSmall) {
            (void)m_images.Create(IDB_SYSTEM_IMAGES, 18, 1, MASK_COLOUR);
            (void)m_stateImages.Create(IDB_TREE_SMALL_STATE, 16, 1, MASK_COLOUR);
        } else {
            (void)m_images.Create(IDB_TREE_LARGE, 32, 1, MASK_COLOUR);
            (void)m_stateImages.Create(IDB_TREE_LARGE_STATE, 20, 1, MASK_COLOUR);
        }
        // The control draws state n with image n - 1, and the pictures keep
        // image n for state n: their first image (no state) goes.
        if (m_stateImages.GetSafeHandle())
            (void)m_stateImages.Remove(0);
        // A missing picture leaves the tree without images: it still works.
        if (m_images.GetSafeHandle())
            SetImageList(&m_images, TVSIL_NORMAL);
        if (m_stateImages.GetSafeHandle())
            SetImageList(&m_stateImages, TVSIL_STATE);
    }
    SetIndent(INDENT);
    Invalidate();
    PostToParent(g_nMsgSelDrawn);
}

HTREEITEM CSisTreeCtrl::FindTopNodeItem(CATBLOCK nBlock) const
{
    for (HTREEITEM hItem = GetRootItem(); hItem; hItem = GetNextSiblingItem(hItem)) {
        const CNodeRec* pNode = GetItemNode(hItem);
        if (pNode && pNode->GetSlot() == 0 && pNode->GetBlock() == nBlock)
            return hItem;
    }
    return nullptr;
}

void CSisTreeCtrl::ShowTopNode3(BOOL bShow)
{
    ShowTopNode(CNodeRec::SYSTEMS_NODE_BLOCK, bShow);
}

void CSisTreeCtrl::ShowTopNode4(BOOL bShow)
{
    ShowTopNode(CNodeRec::FIXED_NODE_LAST, bShow);
}

void CSisTreeCtrl::ShowTopNode(CATBLOCK nBlock, BOOL bShow)
{
    BOOL& bFlag = nBlock == CNodeRec::SYSTEMS_NODE_BLOCK ? m_bShowTopNode3 : m_bShowTopNode4;
    bShow = bShow ? TRUE : FALSE;
    if (bFlag == bShow)
        return;
    bFlag = bShow;
    if (!bShow) {
        if (HTREEITEM hItem = FindTopNodeItem(nBlock))
            DeleteItemDeep(hItem);
        return;
    }
    if (!m_pCatalog)
        return;
    // Block 3 always comes before block 4: the block-4 item goes and comes back after it.
    const BOOL bMoveTop4 = nBlock == CNodeRec::SYSTEMS_NODE_BLOCK && m_bShowTopNode4;
    if (bMoveTop4) {
        if (HTREEITEM hTop4 = FindTopNodeItem(CNodeRec::FIXED_NODE_LAST))
            DeleteItemDeep(hTop4);
    }
    HTREEITEM hItem = InsertNode(TVI_ROOT,
        std::unique_ptr<CNodeRec>(nBlock == CNodeRec::SYSTEMS_NODE_BLOCK ? CNodeRec::NewTopNodeRec3(m_pCatalog)
                                                                         : CNodeRec::NewTopNodeRec4(m_pCatalog)));
    if (bMoveTop4)
        InsertNode(TVI_ROOT, std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec4(m_pCatalog)));
    if (hItem)
        SelectAndAnnounce(hItem);
}

/***************************** Selection *****************************/

void CSisTreeCtrl::SelectAndAnnounce(HTREEITEM hItem)
{
    NotifySelection(hItem, REASON_MOUSE);
    SelectItem(hItem);
}

void CSisTreeCtrl::NotifySelection(HTREEITEM hItem, int nReason)
{
    if (m_bSuppress)
        return;
    CWnd* pParent = GetParent();
    const LPARAM lNode = reinterpret_cast<LPARAM>(GetItemNode(hItem));
    if (pParent) {
        if (nReason == REASON_PROGRAM || nReason == REASON_REBUILD)
            pParent->SendMessage(g_nMsgSelChanged, static_cast<WPARAM>(nReason), lNode);
        else
            pParent->PostMessage(g_nMsgSelChanged, static_cast<WPARAM>(nReason), lNode);
    }
    if (m_history.GetCurrent() != hItem)
        m_history.Push(hItem);
    Invalidate();
    PostToParent(g_nMsgSelDrawn);
}

BOOL CSisTreeCtrl::SelectNode(const CNodeRec& node)
{
    HTREEITEM hParent = TVI_ROOT;
    if (!IsFixedTopNode(node)) {
        CNodeRecArray ancestors = node.GetAncestors();
        // The root comes first and has no item: the walk starts below it.
        for (size_t i = 1; i < ancestors.size(); ++i) {
            hParent = FindChildItem(hParent, *ancestors[i]);
            if (!hParent)
                return FALSE;
        }
    }
    HTREEITEM hItem = FindChildItem(hParent, node);
    if (!hItem)
        return FALSE;
    NotifySelection(hItem, REASON_PROGRAM);
    SelectItem(hItem);
    return TRUE;
}

BOOL CSisTreeCtrl::SelectNodeOfItem(const CNodeRec& node)
{
    HTREEITEM hSelected = GetSelectedItem();
    HTREEITEM hItem = hSelected ? FindChildItem(hSelected, node) : nullptr;
    return hItem ? SelectItem(hItem) : FALSE;
}

HTREEITEM CSisTreeCtrl::GetContextItem() const
{
    if (HTREEITEM hDrop = GetDropHilightItem())
        return hDrop;
    return GetSelectedItem();
}

CNodeRec* CSisTreeCtrl::GetContextNode() const
{
    return GetItemNode(GetContextItem());
}

BOOL CSisTreeCtrl::IsContextNodeEditable() const
{
    const CNodeRec* pNode = GetContextNode();
    return pNode && !IsFixedTopNode(*pNode);
}

BOOL CSisTreeCtrl::ExpandItem(HTREEITEM hItem, UINT nCode)
{
    if (!Expand(hItem, nCode))
        return FALSE;
    switch (nCode & ~TVE_COLLAPSERESET) {
    case TVE_COLLAPSE:
        SetStateImage(hItem, (nCode & TVE_COLLAPSERESET) ? STATE_NO_CHILDREN : STATE_COLLAPSED);
        break;
    case TVE_EXPAND:
        SetStateImage(hItem, STATE_EXPANDED);
        break;
    case TVE_TOGGLE:
        SetStateImage(hItem, GetItemState(hItem, TVIS_EXPANDED) ? STATE_EXPANDED : STATE_COLLAPSED);
        break;
    default:
        if (nCode & TVE_COLLAPSERESET)
            SetStateImage(hItem, STATE_NO_CHILDREN);
        break;
    }
    Invalidate();
    PostToParent(g_nMsgSelDrawn);
    return TRUE;
}

void CSisTreeCtrl::CollapseAllBut(HTREEITEM hItem)
{
    auto collapse = [this](HTREEITEM h) {
        if (GetItemState(h, TVIS_EXPANDED))
            ExpandItem(h, TVE_COLLAPSE);
    };
    if (ItemHasChildren(hItem))
        collapse(hItem);
    for (HTREEITEM hPath = hItem; hPath; hPath = GetParentItem(hPath)) {
        HTREEITEM hParent = GetParentItem(hPath);
        for (HTREEITEM hSibling = hParent ? GetChildItem(hParent) : GetRootItem(); hSibling;
             hSibling = GetNextSiblingItem(hSibling)) {
            if (hSibling != hPath && ItemHasChildren(hSibling))
                collapse(hSibling);
        }
    }
}

BOOL CSisTreeCtrl::GoBack()
{
    HTREEITEM hItem = m_history.Back();
    return hItem ? SelectItem(hItem) : FALSE;
}

BOOL CSisTreeCtrl::GoForward()
{
    HTREEITEM hItem = m_history.Forward();
    return hItem ? SelectItem(hItem) : FALSE;
}

void CSisTreeCtrl::OnSelChanging(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pTreeView = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    if (pTreeView->itemOld.hItem)
        SetItemState(pTreeView->itemOld.hItem, 0, TVIS_BOLD);
    if (HTREEITEM hNew = pTreeView->itemNew.hItem) {
        SetItemState(hNew, TVIS_BOLD, TVIS_BOLD);
        CollapseAllBut(hNew);
    }
}

void CSisTreeCtrl::OnSelChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pTreeView = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    if (pTreeView->itemNew.hItem)
        NotifySelection(pTreeView->itemNew.hItem, pTreeView->action == TVC_BYKEYBOARD ? REASON_KEYBOARD : REASON_MOUSE);
}

void CSisTreeCtrl::OnItemExpanding(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pTreeView = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    HTREEITEM hItem = pTreeView->itemNew.hItem;
    if (!hItem || !ItemHasChildren(hItem))
        return;
    if (pTreeView->action & TVE_EXPAND) {
        PopulateChildren(hItem);
        SetStateImage(hItem, STATE_EXPANDED);
    } else {
        SetStateImage(hItem, STATE_COLLAPSED);
    }
    Invalidate();
    PostToParent(g_nMsgSelDrawn);
}

/***************************** Helpers *****************************/

void CSisTreeCtrl::PostToParent(UINT nMessage)
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(nMessage, 0, 0);
}

CWnd* CSisTreeCtrl::GetCommandWindow() const
{
    CWnd* pWnd = GetParent();
    while (pWnd && (pWnd->GetStyle() & WS_CHILD))
        pWnd = pWnd->GetParent();
    return pWnd;
}

void CSisTreeCtrl::OnDestroy()
{
    m_bSuppress = TRUE;
    KillTimer(TIMER_HOVER_POPUP);
    KillTimer(TIMER_DRAG_POPUP);
    m_pDragPopup.reset();
    while (HTREEITEM hItem = GetRootItem())
        DeleteItemDeep(hItem);
    m_pDragTarget.reset();
    SetImageList(nullptr, TVSIL_NORMAL);
    SetImageList(nullptr, TVSIL_STATE);
    m_images.DeleteImageList();
    m_stateImages.DeleteImageList();
    if (m_bRegistered)
        RegisterDropTarget(this, FALSE);
    m_bRegistered = FALSE;
    CTreeCtrl::OnDestroy();
}

void CSisTreeCtrl::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    // The view's arrow buttons scroll the tree: it never shows scroll bars.
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0);
    CTreeCtrl::OnNcCalcSize(bCalcValidRects, lpncsp);
}

BOOL CSisTreeCtrl::OnEraseBkgnd(CDC* pDC)
{
    RealizeAppPalette(pDC);
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    pDC->FillSolidRect(&rcClip, m_colours[COLOUR_BACKGROUND]);
    return TRUE;
}
