#include "frame/CSisTreeView.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "store/CNodeRec.h"

#include "platform/controls/TreeViewControl.h"
#include "platform/framework/CRect.h"

IMPLEMENT_DYNCREATE(CSisTreeView, CPaneView)

// clang-format off
BEGIN_MESSAGE_MAP(CSisTreeView, CPaneView)
    ON_NOTIFY(TVN_SELCHANGED, CSisTreeView::TREE_ID, &CSisTreeView::OnSelChanged)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD TREE_STYLE
    = WS_CHILD | WS_VISIBLE | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT | TVS_FULLROWSELECT;

constexpr int REASON_REBUILD = 3;

} // namespace

CSisTreeView::CSisTreeView() = default;
CSisTreeView::~CSisTreeView() = default;

BOOL CSisTreeView::CreateControl()
{
    return m_tree.Create(TREE_STYLE, CRect(0, 0, 0, 0), this, TREE_ID);
}

void CSisTreeView::OnInitialUpdate()
{
    CPaneView::OnInitialUpdate();
    Rebuild();
}

void CSisTreeView::Rebuild()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    std::unique_ptr<CNodeRec> pSelected;
    if (HTREEITEM hSelected = m_tree.GetSelectedItem())
        pSelected.reset(reinterpret_cast<CNodeRec*>(m_tree.GetItemData(hSelected))->Clone());

    m_bRebuilding = TRUE;
    m_tree.DeleteAllItems();
    m_nodes.clear();
    m_bRebuilding = FALSE;
    std::unique_ptr<CNodeRec> pRoot(pCatalog ? CNodeRec::NewRootNodeRec(pCatalog) : nullptr);
    if (!pRoot)
        return;
    const CSortSpec byName { 0, TRUE, FALSE };
    for (auto& pChild : pRoot->GetSortedChildren(&byName)) {
        HTREEITEM hItem = m_tree.InsertItem(pChild->GetName());
        m_tree.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pChild.get()));
        m_nodes.push_back(std::move(pChild));
    }
    if (pSelected) {
        if (HTREEITEM hItem = FindItem(*pSelected)) {
            auto* pNode = reinterpret_cast<CNodeRec*>(m_tree.GetItemData(hItem));
            m_bRebuilding = TRUE;
            m_tree.SelectItem(hItem);
            m_bRebuilding = FALSE;
            SendToFrame(g_nMsgSelChanged, REASON_REBUILD, reinterpret_cast<LPARAM>(pNode));
        }
    }
}

HTREEITEM CSisTreeView::FindItem(const CNodeRec& node) const
{
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem; hItem = m_tree.GetNextSiblingItem(hItem)) {
        const auto* pNode = reinterpret_cast<const CNodeRec*>(m_tree.GetItemData(hItem));
        if (pNode && pNode->GetRef() == node.GetRef())
            return hItem;
    }
    return nullptr;
}

BOOL CSisTreeView::SelectNode(const CNodeRec& node)
{
    HTREEITEM hItem = FindItem(node);
    return hItem ? m_tree.SelectItem(hItem) : FALSE;
}

void CSisTreeView::OnSelChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bRebuilding)
        return;
    const auto* pTreeView = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    auto* pNode = reinterpret_cast<CNodeRec*>(pTreeView->itemNew.lParam);
    if (!pNode)
        return;
    SendToFrame(g_nMsgSelChanged, pTreeView->action, reinterpret_cast<LPARAM>(pNode));
    SendToFrame(g_nMsgSelDrawn, 0, 0);
}
