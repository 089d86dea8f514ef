// The catalog view's commands on its panes: new groups and keywords of the
// context node, the list's selection, paste, the list filter and the next
// system whose documents pass it.

#include "frame/CSplitterFrame.h"

#include "frame/AppMessages.h"
#include "frame/CArqListView.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/CSisTreeView.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/DocumentOperations.h"
#include "store/ResString.h"
#include "ui/CKadDragObjReg.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/Clipboard.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

// The deepest the walk of the systems goes; a damaged catalog's loop ends there.
constexpr int MAX_TREE_DEPTH = 256;

void SendToMainWindow(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(nMessage, wParam, lParam);
}

void PostToMainWindow(UINT nMessage)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(nMessage, 0, 0);
}

// The subsystems of node in the tree's order: each system before its
// subsystems, siblings by name.
void CollectTreeOrder(const CNodeRec& node, CNodeRecArray& order, int nDepth)
{
    static const CSortSpec byName { COLUMN_NAME, TRUE, TRUE };
    if (nDepth > MAX_TREE_DEPTH)
        return;
    for (auto& pChild : node.GetSortedChildren(&byName)) {
        CNodeRec& child = *pChild;
        order.push_back(std::move(pChild));
        CollectTreeOrder(child, order, nDepth + 1);
    }
}

} // namespace

/***************************** Context node *****************************/

CNodeRecArray CSplitterFrame::TreeOrder(const CNodeRec* pTop) const
{
    CNodeRecArray order;
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pTree || !pTree->GetCatalog())
        return order;
    if (pTop) {
        order.emplace_back(pTop->Clone());
        CollectTreeOrder(*pTop, order, 1);
        return order;
    }
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pTree->GetCatalog()));
    if (pRoot)
        CollectTreeOrder(*pRoot, order, 0);
    if (pTree->IsTopNode3Shown())
        order.emplace_back(CNodeRec::NewTopNodeRec3(pTree->GetCatalog()));
    if (pTree->IsTopNode4Shown())
        order.emplace_back(CNodeRec::NewTopNodeRec4(pTree->GetCatalog()));
    std::erase(order, nullptr);
    return order;
}

CNodeRec* CSplitterFrame::GetContextNode() const
{
    CWnd* pActive = GetActiveView();
    if (m_pTreeView && pActive == m_pTreeView)
        return m_pTreeView->GetTreeCtrl().GetContextNode();
    if (m_pListView && pActive == m_pListView)
        return m_pListView->GetListCtrl().GetShownNode();
    return nullptr;
}

void CSplitterFrame::SelectNodeAndDocument(const CNodeRec& node, const CCatalogRecord& document)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pTree)
        return;
    if (node.GetSlot() == 0 && node.GetBlock() == CNodeRec::FIXED_NODE_LAST && !pTree->IsTopNode4Shown())
        pTree->ShowTopNode4(TRUE);
    else if (node.GetSlot() == 0 && node.GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK && !pTree->IsTopNode3Shown())
        pTree->ShowTopNode3(TRUE);
    pTree->SelectNode(node);
    if (m_pListView) {
        CArqListCtrl& list = m_pListView->GetListCtrl();
        // The row may lie beyond those the fill put in at once.
        list.WaitForFill(TRUE);
        const int nRow = list.FindRecordRow(document);
        if (nRow >= 0)
            list.SelectOnly(nRow);
    }
}

/***************************** Groups and keywords *****************************/

void CSplitterFrame::OnNewGroup()
{
    CNodeRec* pNode = GetContextNode();
    if (pNode && !IsFixedTopNode(*pNode) && GetFramePrompts().NewGroup(*pNode) == 1)
        PostToMainWindow(g_nMsgRedo);
}

void CSplitterFrame::OnUpdateNewGroup(CCmdUI* pCmdUI)
{
    const CNodeRec* pNode = GetContextNode();
    pCmdUI->Enable(pNode && !IsFixedTopNode(*pNode));
}

void CSplitterFrame::OnNewTopGroup()
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pTree || !pTree->GetCatalog())
        return;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pTree->GetCatalog()));
    if (pRoot && GetFramePrompts().NewGroup(*pRoot) == 1)
        PostToMainWindow(g_nMsgRedo);
}

void CSplitterFrame::OnKeywordProperties()
{
    CNodeRec* pNode = GetContextNode();
    if (pNode && GetFramePrompts().KeywordProperties(*pNode) == 1)
        SendToMainWindow(g_nMsgReread);
}

/***************************** The list's selection *****************************/

void CSplitterFrame::OnListSelection(UINT nID)
{
    if (!m_pListView)
        return;
    SetActiveView(m_pListView, TRUE);
    m_pListView->GetListCtrl().SendMessage(WM_COMMAND, nID, 0);
}

/***************************** Paste *****************************/

void CSplitterFrame::OnPaste()
{
    CWaitCursor wait;
    CKadDragObjReg payload;
    const int nOperation = payload.PasteFromClipboard();
    if (nOperation == 0)
        return;
    CNodeRec* pTarget = GetContextNode();
    if (!pTarget && GetTreeCtrl())
        pTarget = GetTreeCtrl()->GetContextNode();
    if (!pTarget || !DropDocuments(pTarget, payload.ToPayload(nOperation), nOperation))
        return;
    SendToMainWindow(g_nMsgRedo);
    if (nOperation == PAYLOAD_MOVE && ::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

void CSplitterFrame::OnUpdatePaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CKadDragObjReg::HasClipboardPayload(FALSE));
}

/***************************** The list filter *****************************/

BOOL CSplitterFrame::IsListFilterActive() const
{
    return m_pListView && m_pListView->GetListCtrl().GetListFilter().bActive;
}

void CSplitterFrame::OnListFilter()
{
    if (!m_pListView)
        return;
    CListFilter& filter = m_pListView->GetListCtrl().GetListFilter();
    CListFilter edited;
    CopyListFilter(&edited, filter);
    const int nResult = GetFramePrompts().SearchCriteria(edited, FALSE);
    if (nResult != IDOK || !::IsWindow(GetSafeHwnd())) {
        FreeListFilter(&edited);
        return;
    }
    FreeListFilter(&filter);
    CopyListFilter(&filter, edited);
    FreeListFilter(&edited);
    if (auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        pMain->AnimateToolbarButton(filter.bActive);
    m_pListView->GetListCtrl().Fill(m_pPendingNode.get());
    if (m_pListView->GetListCtrl().GetItemCount() == 0)
        SendMessage(g_nMsgItemChanged, 0, 0);
}

void CSplitterFrame::OnNextFilteredSystem()
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pTree || !pTree->GetCatalog() || !m_pListView)
        return;
    SetActiveView(m_pListView, TRUE);
    const CString strStatus = GetResString(IDS_NEXT_SYSTEM_SEARCHING);
    SendToMainWindow(g_nMsgStatusSetText, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strStatus)));
    CWaitCursor wait;
    CNodeRecArray order = TreeOrder(nullptr);
    // From the node after the context node round to it.
    const CNodeRec* pContext = GetContextNode();
    if (!pContext)
        pContext = pTree->GetContextNode();
    size_t nStart = 0;
    for (size_t i = 0; pContext && i < order.size(); ++i) {
        if (order[i]->GetRef() == pContext->GetRef()) {
            nStart = i + 1;
            break;
        }
    }
    const CListFilter& filter = m_pListView->GetListCtrl().GetListFilter();
    const CNodeRec* pFound = nullptr;
    for (size_t n = 0; n < order.size() && !pFound; ++n) {
        const CNodeRec& node = *order[(nStart + n) % order.size()];
        if (pContext && node.GetRef() == pContext->GetRef())
            break;
        if (node.HasDocuments(&filter))
            pFound = &node;
    }
    if (pFound)
        pTree->SelectNode(*pFound);
    else
        AfxMessageBox(m_pListView->GetListCtrl().GetItemCount() > 0 ? IDS_NEXT_SYSTEM_NONE : IDS_NEXT_SYSTEM_EMPTY,
            MB_ICONINFORMATION);
    SendToMainWindow(g_nMsgStatusResetText);
}
