#pragma once

// CListBox: the class library's object around a "ListBox" control.
//
// The owner-draw and keyboard questions the list box sends its parent
// (WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_VKEYTOITEM,
// WM_CHARTOITEM) come back to this object through reflection and reach the
// virtual hooks below, which subclasses override. The defaults draw and
// measure nothing, compare equal, and leave keys to the list (-1).

#include "platform/controls/ListBoxControl.h"
#include "platform/framework/CWnd.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)

public:
    CListBox() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Items. Indexes from 0; LB_ERR for a bad one. */

    int GetCount() const;
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    // Returns the count left.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    // The item's value as a pointer; (void*)-1 for a bad index.
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    // Adds the names a path pattern and DDL_* flags select (LB_DIR); returns the last index added.
    int Dir(UINT attr, LPCTSTR lpszWildCard);
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);

    /* Selection. */

    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetSel(int nIndex) const;
    // nIndex -1 changes every item (multiple-selection lists).
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int GetCaretIndex() const;
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);

    /* Geometry. */

    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    int GetItemHeight(int nIndex) const;
    // The width the items can be scrolled across (lists with WS_HSCROLL).
    int GetHorizontalExtent() const;
    void SetHorizontalExtent(int cxExtent);
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    // The item nearest the point; bOutside tells whether the point is beyond the items.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;

    /* What subclasses override. */

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // Negative, 0 or positive as the first item sorts before, with or after the second.
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    // -2: handled; -1: the list's default; an item: move the caret there.
    virtual int VKeyToItem(UINT nKey, UINT nIndex);
    virtual int CharToItem(UINT nKey, UINT nIndex);
    // Takes the reflected owner-draw and keyboard questions to the hooks above.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
