#include "platform/framework/CTreeCtrl.h"

#include "platform/framework/CEdit.h"
#include "platform/framework/CImageList.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

LPARAM ItemParam(HTREEITEM hItem)
{
    return reinterpret_cast<LPARAM>(hItem);
}

} // namespace

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct)
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
    UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCT insert {};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item = TVITEM { nMask, nullptr, nState, nStateMask, const_cast<LPSTR>(lpszItem), 0, nImage, nSelectedImage,
        0, lParam };
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(
    LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(
        TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent, hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, ItemParam(hItem)));
}

BOOL CTreeCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

UINT CTreeCtrl::GetCount() const
{
    return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, ItemParam(hItem)));
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PREVIOUS);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return GetNextItem(nullptr, TVGN_CARET);
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const
{
    return GetNextItem(nullptr, TVGN_DROPHILITE);
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const
{
    return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const
{
    return static_cast<BOOL>(SendMessage(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CTreeCtrl::SetItem(TVITEM* pItem)
{
    return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
    UINT nStateMask, LPARAM lParam)
{
    TVITEM item { nMask, hItem, nState, nStateMask, const_cast<LPSTR>(lpszItem), 0, nImage, nSelectedImage, 0, lParam };
    return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // A text that fills the buffer may have been cut: try again with twice the room.
    CString strText;
    for (int nLen = 256;; nLen *= 2) {
        TVITEM item {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = strText.GetBuffer(nLen);
        item.cchTextMax = nLen;
        item.pszText[0] = '\0';
        const BOOL bOk = GetItem(&item);
        const auto nGot = static_cast<int>(std::strlen(item.pszText));
        strText.ReleaseBuffer(nGot);
        if (!bOk || nGot < nLen - 8 || nLen >= (1 << 24))
            return strText;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem)
{
    return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEM item {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    if (!GetItem(&item))
        return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0, 0);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    TVITEM item {};
    item.mask = TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = nStateMask;
    return GetItem(&item) ? item.state & nStateMask : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEM item {};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    return SetItem(hItem, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(dwData));
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEM item {};
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, ItemParam(hItem)));
}

BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, ItemParam(hItem)));
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    return Select(hItem, TVGN_CARET);
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem)
{
    return Select(hItem, TVGN_DROPHILITE);
}

BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM hItem)
{
    return Select(hItem, TVGN_FIRSTVISIBLE);
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, ItemParam(hItem)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info {};
    info.pt = pt;
    const HTREEITEM hItem = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return hItem;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    std::memcpy(lpRect, &hItem, sizeof(hItem)); // NOLINT(bugprone-sizeof-expression): the item travels in the rectangle
    return static_cast<BOOL>(
        SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), reinterpret_cast<LPARAM>(lpRect)));
}

UINT CTreeCtrl::GetIndent() const
{
    return static_cast<UINT>(SendMessage(TVM_GETINDENT));
}

void CTreeCtrl::SetIndent(UINT nIndent)
{
    SendMessage(TVM_SETINDENT, nIndent);
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    return CWnd::FromHandleAs<CEdit>(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, ItemParam(hItem))));
}

CEdit* CTreeCtrl::GetEditControl() const
{
    return CWnd::FromHandleAs<CEdit>(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL)));
}

BOOL CTreeCtrl::SortChildren(HTREEITEM hItem)
{
    return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, ItemParam(hItem)));
}

BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB pSort)
{
    return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(pSort)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    const LPARAM lParam = reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr);
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), lParam)));
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType))));
}
