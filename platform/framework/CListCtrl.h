#pragma once

// CListCtrl: the class library's object around a "SysListView32" control.
//
// Owner-drawn rows (LVS_OWNERDRAWFIXED) come back to this object through the
// reflected WM_DRAWITEM and reach DrawItem, which subclasses override; the
// row height question (WM_MEASUREITEM) and the list's notifications reach
// the message map as reflected entries. The header is the child with ID 0
// (GetDlgItem(0)); extended styles are set by message.

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CWnd.h"

class CEdit;
class CImageList;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    CListCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Rows. Numbered from 0; -1 or FALSE for a bad one. */

    int GetItemCount() const;
    // Makes room for nItems rows; adds none.
    void SetItemCount(int nItems);
    int GetSelectedCount() const;
    // The next row after nItem (-1: from the start) with the LVNI_* flags.
    int GetNextItem(int nItem, int nFlags) const;
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL SetItem(
        int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask, LPARAM lParam);
    int InsertItem(const LVITEM* pItem);
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();

    /* Texts, values and states. Callback texts are asked of the parent. */

    // Returns the length copied into lpszText (at most nLen - 1 bytes).
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    // The whole text, however long.
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, LVITEM* pItem);
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);

    /* Geometry. */

    // nCode: LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const;
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo);
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    int InsertColumn(
        int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
    // cx: pixels, LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int nCol, int cx);
    int GetColumnWidth(int nCol) const;
    int GetStringWidth(LPCTSTR lpsz) const;

    /* Label editing. */

    // The editor (a temporary object), or nullptr when refused.
    CEdit* EditLabel(int nItem);
    // The open editor (a temporary object), else nullptr.
    CEdit* GetEditControl() const;

    /* Scrolling and painting. */

    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    // Pixels across; rows down in report view (cy in pixels, rounded to rows).
    BOOL Scroll(SIZE size);
    BOOL RedrawItems(int nFirst, int nLast);
    BOOL Update(int nItem);

    /* Sort and find. */

    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;

    /* Image lists: LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE. */

    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    // A new image list of the row's icon and label, which the caller deletes;
    // *lpPoint gets its upper-left corner in client coordinates. nullptr for a bad row.
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);
    CImageList* GetImageList(int nImageList) const;

    /* What subclasses override. */

    // Draws a row of an owner-drawn report list (ODT_LISTVIEW).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Takes the reflected WM_DRAWITEM to DrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
