// The systems tree's mouse, keys, label editing, context menus and the
// commands on the context node.

#include "frame/CSisTreeCtrl.h"

#include "catalog/CRecycleRun.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/DocumentOperations.h"
#include "ui/CKadDragObjReg.h"
#include "ui/ConfirmDelete.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"

#include <memory>
#include <vector>

/***************************** Mouse and keys *****************************/

void CSisTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    KillTimer(TIMER_HOVER_POPUP);
    UINT nHit = 0;
    HTREEITEM hItem = HitTest(point, &nHit);
    if (hItem && (nHit & TVHT_ONITEMSTATEICON) && ItemHasChildren(hItem)) {
        // The state image is the item's button: it toggles without selecting.
        HTREEITEM hOld = GetSelectedItem();
        ExpandItem(hItem, TVE_TOGGLE);
        HTREEITEM hNew = GetSelectedItem();
        if (hNew != hOld) {
            if (hOld)
                SetItemState(hOld, 0, TVIS_BOLD);
            if (hNew) {
                SetItemState(hNew, TVIS_BOLD, TVIS_BOLD);
                NotifySelection(hNew, REASON_MOUSE);
            }
        }
        return;
    }
    if (hItem && (nHit & TVHT_ONITEMLABEL) && hItem == GetSelectedItem()) {
        EditLabel(hItem);
        return;
    }
    CTreeCtrl::OnLButtonDown(nFlags, point);
}

void CSisTreeCtrl::OnRButtonDown(UINT, CPoint point)
{
    KillTimer(TIMER_HOVER_POPUP);
    SetFocus();
    HTREEITEM hItem = HitTest(point, nullptr);
    UINT nMenu = IDR_TREE_EMPTY_MENU;
    if (hItem) {
        SelectDropTarget(hItem);
        const CNodeRec* pNode = GetItemNode(hItem);
        if (pNode && IsFixedTopNode(*pNode))
            nMenu = pNode->GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK ? IDR_TOP_NODE3_MENU : IDR_TOP_NODE4_MENU;
        else
            nMenu = IDR_TREE_NODE_MENU;
    }
    CWnd* pOwner = GetCommandWindow();
    CMenu menu;
    CMenu* pPopup = menu.LoadMenu(nMenu) ? menu.GetSubMenu(0) : nullptr;
    if (pPopup && pOwner) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        const UINT nCommand = static_cast<UINT>(
            pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y, pOwner));
        if (nCommand != 0 && ::IsWindow(GetSafeHwnd()))
            pOwner->SendMessage(WM_COMMAND, nCommand, 0);
    }
    if (::IsWindow(GetSafeHwnd()))
        SelectDropTarget(nullptr);
}

void CSisTreeCtrl::OnKeyDown(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pKey = reinterpret_cast<const NMTVKEYDOWN*>(pNotify);
    if (pKey->wVKey == VK_DELETE)
        RecycleContextNode();
    else if (pKey->wVKey == VK_F2 && GetSelectedItem())
        EditLabel(GetSelectedItem());
}

/***************************** Renaming *****************************/

void CSisTreeCtrl::OnBeginLabelEdit(NMHDR* pNotify, LRESULT* pResult)
{
    const auto* pInfo = reinterpret_cast<const NMTVDISPINFO*>(pNotify);
    const CNodeRec* pNode = GetItemNode(pInfo->item.hItem);
    if (!pNode || IsFixedTopNode(*pNode)) {
        *pResult = TRUE;
        return;
    }
    if (CEdit* pEdit = GetEditControl())
        pEdit->LimitText(LABEL_LIMIT);
    *pResult = FALSE;
}

void CSisTreeCtrl::OnEndLabelEdit(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = FALSE;
    const auto* pInfo = reinterpret_cast<const NMTVDISPINFO*>(pNotify);
    HTREEITEM hItem = pInfo->item.hItem;
    CNodeRec* pNode = GetItemNode(hItem);
    if (!pNode || !pInfo->item.pszText)
        return;
    CString strName(pInfo->item.pszText);
    strName.Trim();
    if (strName.IsEmpty() || strName.CompareNoCase(pNode->GetName()) == 0)
        return;
    std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
    if (!pParent)
        return;
    if (std::unique_ptr<CNodeRec>(pParent->FindChildByName(strName))) {
        GetFramePrompts().ShowMessage(IDS_NAME_TAKEN, MB_ICONEXCLAMATION);
        PostMessage(TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hItem));
        return;
    }
    CNodeInfo info {};
    pNode->GetInfoText(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), strName, FieldEnd::NulTerminated);
    if (!pNode->UpdateInfo(info))
        return;
    // The item shows what the record now holds (a long name is cut to the field).
    SetItemText(hItem, pNode->GetName());
    PostToParent(g_nMsgTreeCatalogChanged);
}

/***************************** Commands *****************************/

void CSisTreeCtrl::EditGroupProperties()
{
    CNodeRec* pNode = GetContextNode();
    if (pNode && GetFramePrompts().GroupProperties(*pNode) == 1)
        PostToParent(g_nMsgTreePropChanged);
}

void CSisTreeCtrl::EditContextLabel()
{
    if (HTREEITEM hItem = GetContextItem())
        EditLabel(hItem);
}

void CSisTreeCtrl::DeleteContextNode()
{
    CNodeRec* pNode = GetContextNode();
    if (!pNode || IsFixedTopNode(*pNode))
        return;
    std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
    CCatalogRecord* const items[] = { pNode };
    if (ConfirmDeleteItems(pParent.get(), items, &AskConfirmDelete))
        PostToParent(g_nMsgTreeCatalogChanged);
}

void CSisTreeCtrl::RecycleContextNode()
{
    CNodeRec* pNode = GetContextNode();
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pNode || IsFixedTopNode(*pNode) || !pApp)
        return;
    CWaitCursor wait;
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    entries.emplace_back(pNode->Clone());
    if (MoveToRecycleBin(pApp->GetMainCatalog(), pApp->GetRecycleCatalog(), entries, FALSE))
        PostToParent(g_nMsgTreeCatalogChanged);
}

void CSisTreeCtrl::CopyToClipboard(int nOperation)
{
    CNodeRec* pNode = GetContextNode();
    if (!pNode || IsFixedTopNode(*pNode))
        return;
    std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
    CKadDragObjReg payload;
    payload.SetSource(pParent.get());
    payload.AddItem(pNode, 0);
    (void)payload.CopyToClipboard(nOperation); // a busy clipboard keeps what it held
}

void CSisTreeCtrl::PasteAtTop()
{
    if (!m_pCatalog)
        return;
    CWaitCursor wait;
    CKadDragObjReg payload;
    const int nOperation = payload.PasteFromClipboard();
    if (nOperation == 0)
        return;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
    if (!pRoot)
        return;
    if (DropDocuments(pRoot.get(), payload.ToPayload(nOperation), nOperation) && nOperation == PAYLOAD_MOVE) {
        if (OpenClipboard()) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
    }
    PostToParent(g_nMsgTreeCatalogChanged);
}
