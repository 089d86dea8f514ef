#include "dialogs/setup/COrgTreeCtrl.h"

#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CEdit.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowClass.h"

UINT COrgTreeCtrl::s_nSortMessage = 0;

// clang-format off
BEGIN_MESSAGE_MAP(COrgTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT_EX(TVN_BEGINLABELEDIT, &COrgTreeCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT_EX(TVN_ENDLABELEDIT, &COrgTreeCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT_EX(TVN_DELETEITEM, &COrgTreeCtrl::OnDeleteItem)
    ON_NOTIFY_REFLECT_EX(TVN_KEYDOWN, &COrgTreeCtrl::OnKeyDown)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(s_nSortMessage, &COrgTreeCtrl::OnSortChildren)
END_MESSAGE_MAP()
// clang-format on

namespace {

HTREEITEM Level(HTREEITEM hParent)
{
    return hParent ? hParent : TVI_ROOT;
}

} // namespace

COrgTreeCtrl::COrgTreeCtrl()
{
    // Registered on first use, never during static initialisation.
    if (s_nSortMessage == 0)
        s_nSortMessage = RegisterWindowMessage("ITCM Sort");
}

/***************************** Items *****************************/

HTREEITEM COrgTreeCtrl::InsertNode(HTREEITEM hParent, LPCTSTR pszText, int nImage)
{
    HTREEITEM hItem = InsertItem(pszText, nImage, nImage + 1, Level(hParent), TVI_SORT);
    if (hItem)
        SetItemData(hItem, reinterpret_cast<DWORD_PTR>(new COrgNode));
    return hItem;
}

HTREEITEM COrgTreeCtrl::AddNewChild(HTREEITEM hParent)
{
    HTREEITEM hItem = InsertItem(GetResString(IDS_NEW_ITEM_NAME), 2, 3, Level(hParent), TVI_FIRST);
    if (!hItem)
        return nullptr;
    SetItemData(hItem, reinterpret_cast<DWORD_PTR>(new COrgNode));
    if (hParent && hParent != TVI_ROOT)
        Expand(hParent, TVE_EXPAND);
    SelectItem(hItem);
    EditLabel(hItem);
    return hItem;
}

void COrgTreeCtrl::DeleteSubtree(HTREEITEM hItem)
{
    // The control deletes the children with the item; each one's node goes on its TVN_DELETEITEM.
    DeleteItem(hItem);
}

void COrgTreeCtrl::DeleteAll()
{
    while (HTREEITEM hItem = GetRootItem())
        DeleteSubtree(hItem);
}

void COrgTreeCtrl::FreeNodes(HTREEITEM hParent)
{
    for (HTREEITEM hChild = hParent ? GetChildItem(hParent) : GetRootItem(); hChild;
         hChild = GetNextSiblingItem(hChild)) {
        FreeNodes(hChild);
        delete reinterpret_cast<COrgNode*>(GetItemData(hChild));
        SetItemData(hChild, 0);
    }
}

HTREEITEM COrgTreeCtrl::FindChild(HTREEITEM hParent, LPCTSTR pszName) const
{
    HTREEITEM hChild = hParent && hParent != TVI_ROOT ? GetChildItem(hParent) : GetRootItem();
    for (; hChild; hChild = GetNextSiblingItem(hChild)) {
        if (GetItemText(hChild).CompareNoCase(pszName) == 0)
            return hChild;
    }
    return nullptr;
}

/***************************** Nodes *****************************/

const COrgNode* COrgTreeCtrl::GetNode(HTREEITEM hItem) const
{
    return hItem ? reinterpret_cast<const COrgNode*>(GetItemData(hItem)) : nullptr;
}

COrgNode& COrgTreeCtrl::NodeOf(HTREEITEM hItem)
{
    auto* pNode = reinterpret_cast<COrgNode*>(GetItemData(hItem));
    if (!pNode) {
        pNode = new COrgNode;
        SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pNode));
    }
    return *pNode;
}

void COrgTreeCtrl::GetKeywords(HTREEITEM hItem, CStringArray& keywords) const
{
    keywords.RemoveAll();
    if (const COrgNode* pNode = GetNode(hItem))
        keywords.Copy(pNode->keywords);
}

void COrgTreeCtrl::GetFolders(HTREEITEM hItem, CStringArray& folders) const
{
    folders.RemoveAll();
    if (const COrgNode* pNode = GetNode(hItem))
        folders.Copy(pNode->folders);
}

WORD COrgTreeCtrl::GetSearchMask(HTREEITEM hItem) const
{
    const COrgNode* pNode = GetNode(hItem);
    return pNode ? pNode->wSearchMask : 0;
}

void COrgTreeCtrl::SetKeywords(HTREEITEM hItem, const CStringArray& keywords)
{
    NodeOf(hItem).keywords.Copy(keywords);
}

void COrgTreeCtrl::SetFolders(HTREEITEM hItem, const CStringArray& folders)
{
    NodeOf(hItem).folders.Copy(folders);
}

void COrgTreeCtrl::SetSearchMask(HTREEITEM hItem, WORD wMask)
{
    NodeOf(hItem).wSearchMask = wMask;
}

/***************************** Editing *****************************/

BOOL COrgTreeCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)
        && GetEditControl() != nullptr) {
        TranslateMessage(pMsg);
        DispatchMessage(pMsg);
        return TRUE;
    }
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

BOOL COrgTreeCtrl::OnBeginLabelEdit(NMHDR*, LRESULT* pResult)
{
    if (CEdit* pEdit = GetEditControl())
        pEdit->LimitText(NAME_LENGTH);
    *pResult = 0;
    return FALSE;
}

BOOL COrgTreeCtrl::SiblingHasName(HTREEITEM hItem, const CString& strName) const
{
    HTREEITEM hParent = GetParentItem(hItem);
    for (HTREEITEM hChild = hParent ? GetChildItem(hParent) : GetRootItem(); hChild;
         hChild = GetNextSiblingItem(hChild)) {
        if (hChild != hItem && GetItemText(hChild).CompareNoCase(strName) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL COrgTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    HTREEITEM hItem = pInfo->item.hItem;
    CString strProposed = pInfo->item.pszText ? pInfo->item.pszText : "";
    strProposed.Trim();
    const CString strCurrent = GetItemText(hItem);
    const CString strPlaceholder = GetResString(IDS_NEW_ITEM_NAME);
    const BOOL bNeverNamed = strCurrent.CompareNoCase(strPlaceholder) == 0;
    // An accepted name is set here, trimmed; the control is told to set nothing.
    *pResult = FALSE;
    if (strProposed.IsEmpty() || strProposed.CompareNoCase(strPlaceholder) == 0) {
        // A new item left unnamed goes; a named one keeps its name.
        if (bNeverNamed)
            DeleteSubtree(hItem);
        return TRUE;
    }
    if (strProposed.CompareNoCase(strCurrent) == 0) {
        SetItemText(hItem, strProposed);
        return FALSE;
    }
    if (SiblingHasName(hItem, strProposed)) {
        CString strMessage;
        if (bNeverNamed) {
            DeleteSubtree(hItem);
            strMessage.Format(GetResString(IDS_NEW_NAME_TAKEN), static_cast<LPCTSTR>(strProposed));
        } else {
            const CString strFormat = GetResString(IDS_SIBLING_NAME_TAKEN);
            strMessage.Format(strFormat, static_cast<LPCTSTR>(strCurrent), static_cast<LPCTSTR>(strProposed));
        }
        AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
        return TRUE;
    }
    if (m_renameCheck && !m_renameCheck(hItem, strCurrent, strProposed))
        return TRUE;
    SetItemText(hItem, strProposed);
    PostMessage(s_nSortMessage, 0, reinterpret_cast<LPARAM>(GetParentItem(hItem)));
    return FALSE;
}

BOOL COrgTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT*)
{
    const auto* pInfo = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    delete reinterpret_cast<COrgNode*>(pInfo->itemOld.lParam);
    return FALSE;
}

BOOL COrgTreeCtrl::OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pKey = reinterpret_cast<NMTVKEYDOWN*>(pNMHDR);
    HTREEITEM hSelected = GetSelectedItem();
    if (pKey->wVKey == VK_DELETE && hSelected && GetParentItem(hSelected))
        DeleteSubtree(hSelected);
    else if (pKey->wVKey == VK_F2 && hSelected)
        EditLabel(hSelected);
    *pResult = 0;
    return FALSE;
}

void COrgTreeCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    UINT nFlags = 0;
    HTREEITEM hItem = HitTest(point, &nFlags);
    AddNewChild((nFlags & TVHT_ONITEM) != 0 ? hItem : nullptr);
}

void COrgTreeCtrl::OnDestroy()
{
    // The nodes go here, whether or not the parent still passes on the deletions.
    FreeNodes(nullptr);
    DeleteAll();
    CTreeCtrl::OnDestroy();
}

LRESULT COrgTreeCtrl::OnSortChildren(WPARAM, LPARAM lParam)
{
    SortChildren(lParam ? reinterpret_cast<HTREEITEM>(lParam) : TVI_ROOT);
    return 0;
}
