#pragma once

// CDockBar: one side of a frame where control bars dock (made by the frame's
// EnableDocking with the side's AFX_IDW_DOCKBAR_* ID), or the inside of a
// small floating frame (AFX_IDW_DOCKBAR_FLOAT).
//
// The docked bars are its children, kept in rows: row 0 lies against the
// frame's edge, later rows further in. Along a row each bar starts at its
// offset (pixels from the side's start) or right after the bar before it,
// whichever is further. A side with no visible bar takes no room. Bars are
// not owned: a bar leaving the side (docking elsewhere, floating, destroyed)
// is removed from it.

#include "platform/framework/CControlBar.h"

#include <vector>

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
    DECLARE_MESSAGE_MAP()

public:
    explicit CDockBar(BOOL bFloating = FALSE);

    // Makes the side in pParentWnd; dwStyle: its CBRS_ALIGN_* side (with WS_* bits).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    /* The docked bars. */

    // Docks pBar (made a child of this side) on row nRow at nOffset; a row
    // past the last makes a new last row, -1 a new first one.
    void DockControlBar(CControlBar* pBar, int nRow, int nOffset);
    // Docks pBar where lpRect (screen) falls: the row under its middle, else a
    // new row before or after them, at its left (or top) edge. Without a
    // rectangle, on a new last row at offset 0.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes pBar off the side (its window is left where it is).
    void RemoveControlBar(CControlBar* pBar);
    // The bar's row and offset; FALSE when it is not docked here.
    BOOL GetBarPlace(const CControlBar* pBar, int* pnRow, int* pnOffset) const;
    int GetDockedCount() const { return static_cast<int>(m_bars.size()); }
    int GetDockedVisibleCount() const;
    // The first docked bar (the floating frame's only one), or nullptr.
    CControlBar* GetFirstBar() const { return m_bars.empty() ? nullptr : m_bars.front().pBar; }
    BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

    /* Layout. */

    // The room the visible bars need (the length of the side when bStretch), placing them.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Moves the bars to their places in the side as it is sized now.
    void PlaceBars();
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { }
    BOOL IsDockBar() const override { return TRUE; }

    BOOL m_bFloating; // the inside of a floating frame

protected:
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();

private:
    struct CDockedBar {
        CControlBar* pBar;
        int nRow;
        int nOffset;
    };
    // The size a bar takes on this side.
    CSize BarSize(CControlBar* pBar) const;
    // Numbers the rows 0, 1, ... again, in order, after one emptied or moved.
    void CompactRows();
    // Places the bars and returns the room they take (rows across, the longest row along).
    CSize LayoutBars(BOOL bMove);

    std::vector<CDockedBar> m_bars; // by row, then offset
};
