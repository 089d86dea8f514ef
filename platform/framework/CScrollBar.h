#pragma once

// CScrollBar: the class library's object around a "ScrollBar" control. It
// adds no data to CWnd, so that the window object of a scroll bar that sends
// WM_HSCROLL or WM_VSCROLL can stand for it (AfxScrollBarFromHandle).

#include "platform/controls/ScrollBarControl.h"
#include "platform/framework/CWnd.h"

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)

public:
    CScrollBar() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added); SBS_HORZ or SBS_VERT in dwStyle.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Values (SBM_*). Positions stay within the range less the page. */

    int GetScrollPos() const;
    // Returns the previous position.
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    // Fills what nMask names (SIF_*).
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    // The highest position the bar can take: the maximum less the page.
    int GetScrollLimit() const;

    /* State. */

    void ShowScrollBar(BOOL bShow = TRUE);
    // Disables the arrows nArrowFlags names (ESB_*); FALSE when nothing changed.
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
};
