#pragma once

// CStatic: the class library's object around a "Static" control.
//
// An owner-drawn static (SS_OWNERDRAW) asks its parent to draw it; the
// parent reflects WM_DRAWITEM back to this object, which calls DrawItem.
// Subclasses draw there; the default does nothing.

#include "platform/controls/StaticControl.h"
#include "platform/framework/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    CStatic() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

    /* Images (STM_SETIMAGE, STM_GETIMAGE); the caller keeps ownership. */

    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;

    /* What subclasses override. */

    // Draws an SS_OWNERDRAW static.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Takes a reflected WM_DRAWITEM to DrawItem; other notifications go to the message map.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
