#include "frame/CSplitterWndEx.h"

IMPLEMENT_DYNAMIC(CSplitterWndEx, CSplitterWnd)

namespace {

// Where a hidden pane of the given row waits while nCols columns show: an ID
// past every pane of the grid.
int ParkingID(int nCols, int row)
{
    return static_cast<int>(AFX_IDW_PANE_FIRST) + 16 * nCols + row;
}

} // namespace

void CSplitterWndEx::HideColumn(int nCol)
{
    if (m_nHiddenCol != -1 || nCol < 0 || nCol >= m_nCols || m_nCols < 2)
        return;
    m_nHiddenCol = nCol;
    int row = 0;
    int col = 0;
    if (GetActivePane(&row, &col) && col == nCol)
        SetActivePane(row, nCol + 1 < m_nCols ? nCol + 1 : 0);
    for (row = 0; row < m_nRows; ++row) {
        CWnd* pHidden = GetPane(row, nCol);
        if (!pHidden)
            continue;
        pHidden->ShowWindow(SW_HIDE);
        pHidden->SetDlgCtrlID(ParkingID(m_nCols, row));
        for (col = nCol + 1; col < m_nCols; ++col) {
            if (CWnd* pPane = GetPane(row, col))
                pPane->SetDlgCtrlID(IdFromRowCol(row, col - 1));
        }
    }
    --m_nCols;
    // The hidden column's width waits in the slot past the last column.
    m_pColInfo[m_nCols].nCurSize = m_pColInfo[nCol].nCurSize;
    RecalcLayout();
}

void CSplitterWndEx::ShowColumn()
{
    if (m_nHiddenCol == -1)
        return;
    const int nShow = m_nHiddenCol;
    const int cxShow = m_pColInfo[m_nCols].nCurSize;
    ++m_nCols;
    m_nHiddenCol = -1;
    for (int row = 0; row < m_nRows; ++row) {
        CWnd* pShown = GetDlgItem(ParkingID(m_nCols, row));
        if (!pShown)
            continue;
        pShown->ShowWindow(SW_SHOWNA);
        for (int col = m_nCols - 2; col >= nShow; --col) {
            if (CWnd* pPane = GetPane(row, col))
                pPane->SetDlgCtrlID(IdFromRowCol(row, col + 1));
        }
        pShown->SetDlgCtrlID(IdFromRowCol(row, nShow));
    }
    for (int col = nShow + 1; col < m_nCols; ++col)
        m_pColInfo[col].nIdealSize = m_pColInfo[col - 1].nCurSize;
    m_pColInfo[nShow].nIdealSize = cxShow;
    RecalcLayout();
}
