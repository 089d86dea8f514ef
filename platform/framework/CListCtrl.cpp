#include "platform/framework/CListCtrl.h"

#include "platform/framework/CEdit.h"
#include "platform/framework/CImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

void CListCtrl::SetItemCount(int nItems)
{
    SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems));
}

int CListCtrl::GetSelectedCount() const
{
    return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), nFlags));
}

BOOL CListCtrl::GetItem(LVITEM* pItem) const
{
    return static_cast<BOOL>(SendMessage(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::SetItem(const LVITEM* pItem)
{
    return static_cast<BOOL>(SendMessage(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::SetItem(
    int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask, LPARAM lParam)
{
    LVITEM item { nMask, nItem, nSubItem, nState, nStateMask, const_cast<LPSTR>(lpszItem), 0, nImage, lParam, 0 };
    return SetItem(&item);
}

int CListCtrl::InsertItem(const LVITEM* pItem)
{
    return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(pItem)));
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(
    UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam)
{
    LVITEM item { nMask, nItem, 0, nState, nStateMask, const_cast<LPSTR>(lpszItem), 0, nImage, lParam, 0 };
    return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem)));
}

BOOL CListCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
    LVITEM item {};
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // A text that fills the buffer may have been cut: try again with twice the room.
    CString strText;
    for (int nLen = 256;; nLen *= 2) {
        const int nGot = GetItemText(nItem, nSubItem, strText.GetBuffer(nLen), nLen);
        strText.ReleaseBuffer(nGot);
        if (nGot < nLen - 8 || nLen >= (1 << 24))
            return strText;
    }
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEM item {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEM item {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMask)));
}

BOOL CListCtrl::SetItemState(int nItem, LVITEM* pItem)
{
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEM item {};
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    if (!lpRect)
        return FALSE;
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

int CListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo) const
{
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info {};
    info.pt = pt;
    const int nItem = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return nItem;
}

int CListCtrl::SubItemHitTest(LPLVHITTESTINFO pInfo)
{
    return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn)
{
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMN column {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const
{
    return static_cast<BOOL>(SendMessage(LVM_GETCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx)
{
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol)));
}

int CListCtrl::GetStringWidth(LPCTSTR lpsz) const
{
    return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(lpsz)));
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK)
{
    return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
}

BOOL CListCtrl::Scroll(SIZE size)
{
    return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy));
}

BOOL CListCtrl::RedrawItems(int nFirst, int nLast)
{
    return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst), nLast));
}

BOOL CListCtrl::Update(int nItem)
{
    return static_cast<BOOL>(SendMessage(LVM_UPDATE, static_cast<WPARAM>(nItem)));
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
{
    return static_cast<BOOL>(
        SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(dwData), reinterpret_cast<LPARAM>(pfnCompare)));
}

int CListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart) const
{
    return static_cast<int>(
        SendMessage(LVM_FINDITEM, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
}

CEdit* CListCtrl::EditLabel(int nItem)
{
    return CWnd::FromHandleAs<CEdit>(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABEL, static_cast<WPARAM>(nItem))));
}

CEdit* CListCtrl::GetEditControl() const
{
    return CWnd::FromHandleAs<CEdit>(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL)));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    const LPARAM lParam = reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr);
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), lParam)));
}

CImageList* CListCtrl::GetImageList(int nImageList) const
{
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) { }

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint)
{
    auto himl = reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpPoint)));
    if (!himl)
        return nullptr;
    auto* pImageList = new CImageList;
    pImageList->Attach(himl);
    return pImageList;
}
