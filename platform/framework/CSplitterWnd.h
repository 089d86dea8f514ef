#pragma once

// CSplitterWnd: a static splitter, a grid of panes made once, with bars
// between them that the user drags to share the space.
//
// Panes are children with the IDs AFX_IDW_PANE_FIRST + 16 * row + col.
// Layout (RecalcLayout): pane (r, c) starts at the client's left + m_cxBorder
// + the sum over earlier columns of (current size + m_cxSplitter); the bar
// after a column is the m_cxSplitter wide strip from that pane's right edge.
// Each column but the last gets its ideal size (0 when the ideal is below the
// minimum, and never more than is left); the last takes what remains. Rows
// likewise. Only the panes found by their (row, col) ID below the current
// counts are laid out, so a subclass may park a pane under another ID and
// shrink m_nCols to hide a column.
//
// Painting calls OnDrawSplitter for each bar (splitBar), each crossing of bars
// (splitIntersection) and each pane's border (splitBorder); a null DC asks for
// that rectangle to be invalidated.

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CSize.h"
#include "platform/framework/CWnd.h"

#include <memory>

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
    DECLARE_MESSAGE_MAP()

public:
    enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };

    CSplitterWnd();
    ~CSplitterWnd() override;

    /* Creating. */

    // Makes the splitter window with nRows by nCols panes to come (at most 16 each). FALSE on failure.
    virtual BOOL CreateStatic(
        CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
    // Makes pane (row, col) as a view of the class; sizeInit gives the column's and row's ideal size.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    /* Panes. */

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    // nullptr when no child has the pane's ID.
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return static_cast<int>(AFX_IDW_PANE_FIRST) + 16 * row + col; }
    // TRUE when pWnd is a pane within the current counts, with its place.
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;

    /* Sizes. */

    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    virtual void RecalcLayout();

    /* Activation: the parent frame's active view. */

    // The frame's active view when it is one of the panes, else nullptr.
    virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    // Makes the pane (or pWnd) the frame's active view; a pane that is no view gets the focus.
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

    // Draws one part; with pDC null, invalidates its rectangle instead.
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);

protected:
    struct CRowColInfo {
        int nMinSize;   // below this the column or row is not shown
        int nIdealSize; // what the user or the program asked for
        int nCurSize;   // what the last layout gave
    };

    /* Handlers. */

    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);

    // Kept with the names and meanings subclasses rely on.
    int m_nMaxRows { 0 }; // as created
    int m_nMaxCols { 0 };
    int m_nRows { 0 }; // as shown now
    int m_nCols { 0 };
    CRowColInfo* m_pRowInfo { nullptr }; // m_nMaxRows records
    CRowColInfo* m_pColInfo { nullptr }; // m_nMaxCols records
    int m_cxSplitter { 7 };              // a bar's width: a border, the gap, a border
    int m_cySplitter { 7 };
    int m_cxBorderShare { 0 }; // how far a pane's border reaches into the bar
    int m_cyBorderShare { 0 };
    int m_cxSplitterGap { 7 };
    int m_cySplitterGap { 7 };
    int m_cxBorder { 2 }; // the sunken border around each pane
    int m_cyBorder { 2 };

private:
    // A bar under a client point: bColumn for one between columns, nIndex the column or row before it.
    struct BarHit {
        bool bColumn;
        int nIndex;
    };
    [[nodiscard]] bool HitTestBar(POINT point, BarHit& hit) const;
    // Gives each of nCount columns (or rows) its current size out of nSpace.
    static void ShareSpace(CRowColInfo* pInfo, int nCount, int nSpace);
    // The pane's rectangle, and the bar after a column or row, in client coordinates.
    CRect PaneRect(int row, int col) const;
    CRect BarRect(bool bColumn, int nIndex) const;
    // The left (or top) edge of a column (or row).
    int ColumnStart(int col) const;
    int RowStart(int row) const;

    std::unique_ptr<CRowColInfo[]> m_rowInfo;
    std::unique_ptr<CRowColInfo[]> m_colInfo;
    bool m_bTracking { false };
    BarHit m_tracked { true, 0 };
    int m_nTrackOffset { 0 }; // where in the bar the mouse took it
};
