#pragma once

// CSplitterWndEx: a static splitter that can hide one column and show it
// again. The hidden column's panes stay alive, parked under IDs outside the
// grid, while the panes to their right move left; showing the column puts
// every pane back under its own (row, column) ID with the widths it had.

#include "platform/framework/CSplitterWnd.h"

class CSplitterWndEx : public CSplitterWnd {
    DECLARE_DYNAMIC(CSplitterWndEx)

public:
    CSplitterWndEx() = default;

    // Hides column nCol; the active pane, when it was there, moves to the same
    // row's next column (column 0 after the last). One column at a time.
    void HideColumn(int nCol);
    // Shows the hidden column again, as wide as it was.
    void ShowColumn();
    // The hidden column, -1 when every column shows.
    int GetHiddenColumn() const { return m_nHiddenCol; }

protected:
    int m_nHiddenCol { -1 };
    int m_nHiddenRow { -1 }; // no row is ever hidden
};
