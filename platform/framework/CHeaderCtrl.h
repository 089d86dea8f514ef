#pragma once

// CHeaderCtrl: the class library's object around a "SysHeader32" control,
// usually the header of a report list, reached with SubclassDlgItem(0, pList).
//
// Items drawn by their owner (HDF_OWNERDRAW) come back to this object through
// the reflected WM_DRAWITEM and reach DrawItem, which subclasses override.

#include "platform/controls/HeaderControl.h"
#include "platform/framework/CWnd.h"

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)

public:
    CHeaderCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Items by index; FALSE or -1 for a bad one. */

    int GetItemCount() const;
    int InsertItem(int nPos, HDITEM* phdi);
    BOOL DeleteItem(int nPos);
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
    BOOL SetItem(int nPos, HDITEM* pHeaderItem);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;

    /* Display order: positions left to right hold item indexes. */

    int OrderToIndex(int nOrder) const;
    BOOL GetOrderArray(LPINT piArray, int iCount) const;
    BOOL SetOrderArray(int iCount, LPINT piArray);

    /* What subclasses override. */

    // Draws an HDF_OWNERDRAW item; itemState has ODS_SELECTED while it is pressed.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Takes the reflected WM_DRAWITEM to DrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
