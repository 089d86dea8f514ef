#pragma once

// CButton: the class library's object around a "Button" control.
//
// An owner-drawn button (BS_OWNERDRAW) asks its parent to draw it; the parent
// reflects WM_DRAWITEM back to this object, which calls DrawItem. Subclasses
// that draw themselves override DrawItem; the default does nothing.

#include "platform/controls/ButtonControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/framework/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    CButton() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* State. */

    // The check state with BST_PUSHED and BST_FOCUS.
    UINT GetState() const;
    // TRUE pushes the button, FALSE releases it.
    void SetState(BOOL bHighlight);
    int GetCheck() const;
    void SetCheck(int nCheck);
    // The style bits below 0x10000 (the kind and BS_* flags).
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    /* Images (BM_SETIMAGE, BM_GETIMAGE); the caller keeps ownership. */

    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;

    /* What subclasses override. */

    // Draws a BS_OWNERDRAW button.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Takes a reflected WM_DRAWITEM to DrawItem; other notifications go to the message map.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
