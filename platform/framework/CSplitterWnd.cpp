#include "platform/framework/CSplitterWnd.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int MAX_PANES = 16; // per row or column: the pane IDs leave 16 columns per row

} // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() = default;

/***** Creating *****/

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || nRows < 1 || nCols < 1 || nRows > MAX_PANES || nCols > MAX_PANES)
        return FALSE;
    m_nMaxRows = m_nRows = nRows;
    m_nMaxCols = m_nCols = nCols;
    m_rowInfo = std::make_unique<CRowColInfo[]>(static_cast<size_t>(nRows));
    m_colInfo = std::make_unique<CRowColInfo[]>(static_cast<size_t>(nCols));
    m_pRowInfo = m_rowInfo.get();
    m_pColInfo = m_colInfo.get();
    return Create(nullptr, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, RECT {}, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(
    int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext)
{
    if (row < 0 || col < 0 || row >= m_nMaxRows || col >= m_nMaxCols || GetPane(row, col) || !pViewClass)
        return FALSE;
    m_pColInfo[col].nIdealSize = sizeInit.cx;
    m_pRowInfo[row].nIdealSize = sizeInit.cy;
    CObject* pObject = pViewClass->CreateObject();
    auto* pWnd = dynamic_cast<CWnd*>(pObject);
    if (!pWnd) {
        delete pObject;
        return FALSE;
    }
    // The splitter draws the panes' borders; a view that fails deletes itself.
    DWORD dwStyle = WS_CHILD | (GetStyle() & WS_VISIBLE);
    return pWnd->Create(nullptr, nullptr, dwStyle, RECT {}, this, static_cast<UINT>(IdFromRowCol(row, col)), pContext);
}

/***** Panes *****/

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    return GetDlgItem(IdFromRowCol(row, col));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const
{
    if (!pWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd)
        return FALSE;
    int nOffset = pWnd->GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST);
    int row = nOffset / 16;
    int col = nOffset % 16;
    if (nOffset < 0 || row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow)
        *pRow = row;
    if (pCol)
        *pCol = col;
    return TRUE;
}

/***** Sizes *****/

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_pRowInfo[row].nIdealSize = cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_pColInfo[col].nIdealSize = cxIdeal;
    m_pColInfo[col].nMinSize = cxMin;
}

void CSplitterWnd::ShareSpace(CRowColInfo* pInfo, int nCount, int nSpace)
{
    int nLeft = std::max(nSpace, 0);
    for (int i = 0; i < nCount; ++i) {
        CRowColInfo& info = pInfo[i];
        if (i == nCount - 1)
            info.nCurSize = nLeft;
        else if (info.nIdealSize < info.nMinSize)
            info.nCurSize = 0;
        else
            info.nCurSize = std::clamp(info.nIdealSize, 0, nLeft);
        nLeft -= info.nCurSize;
    }
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || !m_pColInfo)
        return;
    RECT rcClient {};
    GetClientRect(&rcClient);
    ShareSpace(m_pColInfo, m_nCols, rcClient.right - 2 * m_cxBorder - (m_nCols - 1) * m_cxSplitter);
    ShareSpace(m_pRowInfo, m_nRows, rcClient.bottom - 2 * m_cyBorder - (m_nRows - 1) * m_cySplitter);
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            if (CWnd* pPane = GetPane(row, col)) {
                CRect rcPane = PaneRect(row, col);
                pPane->MoveWindow(&rcPane, FALSE);
            }
        }
    }
    // The panes were moved without painting: the splitter and every pane paint once, whole.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int CSplitterWnd::ColumnStart(int col) const
{
    int x = m_cxBorder;
    for (int i = 0; i < col; ++i)
        x += m_pColInfo[i].nCurSize + m_cxSplitter;
    return x;
}

int CSplitterWnd::RowStart(int row) const
{
    int y = m_cyBorder;
    for (int i = 0; i < row; ++i)
        y += m_pRowInfo[i].nCurSize + m_cySplitter;
    return y;
}

CRect CSplitterWnd::PaneRect(int row, int col) const
{
    int x = ColumnStart(col);
    int y = RowStart(row);
    return CRect(x, y, x + m_pColInfo[col].nCurSize, y + m_pRowInfo[row].nCurSize);
}

CRect CSplitterWnd::BarRect(bool bColumn, int nIndex) const
{
    RECT rcClient {};
    GetClientRect(&rcClient);
    if (bColumn) {
        int x = ColumnStart(nIndex) + m_pColInfo[nIndex].nCurSize;
        return CRect(x, rcClient.top, x + m_cxSplitter, rcClient.bottom);
    }
    int y = RowStart(nIndex) + m_pRowInfo[nIndex].nCurSize;
    return CRect(rcClient.left, y, rcClient.right, y + m_cySplitter);
}

bool CSplitterWnd::HitTestBar(POINT point, BarHit& hit) const
{
    for (int col = 0; col + 1 < m_nCols; ++col) {
        CRect rcBar = BarRect(true, col);
        if (::PtInRect(&rcBar, point)) {
            hit = { true, col };
            return true;
        }
    }
    for (int row = 0; row + 1 < m_nRows; ++row) {
        CRect rcBar = BarRect(false, row);
        if (::PtInRect(&rcBar, point)) {
            hit = { false, row };
            return true;
        }
    }
    return false;
}

/***** Activation *****/

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CFrameWnd* pFrame = GetParentFrame();
    CWnd* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    return IsChildPane(pView, pRow, pCol) ? pView : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
    if (!pPane)
        return;
    auto* pView = dynamic_cast<CView*>(pPane);
    CFrameWnd* pFrame = GetParentFrame();
    if (pView && pFrame)
        pFrame->SetActiveView(pView);
    else
        pPane->SetFocus();
}

/***** Painting *****/

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (!pDC) {
        InvalidateRect(&rect);
        return;
    }
    if (nType == splitBorder) {
        CRect rcOuter = rect;
        pDC->Draw3dRect(&rcOuter, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        ::InflateRect(&rcOuter, -1, -1);
        pDC->Draw3dRect(&rcOuter, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DFACE));
        return;
    }
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_3DFACE));
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT rcClient {};
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_3DFACE));
    for (int col = 0; col + 1 < m_nCols; ++col)
        OnDrawSplitter(&dc, splitBar, BarRect(true, col));
    for (int row = 0; row + 1 < m_nRows; ++row)
        OnDrawSplitter(&dc, splitBar, BarRect(false, row));
    for (int col = 0; col + 1 < m_nCols; ++col) {
        for (int row = 0; row + 1 < m_nRows; ++row) {
            CRect rcColumn = BarRect(true, col);
            CRect rcRow = BarRect(false, row);
            OnDrawSplitter(&dc, splitIntersection, CRect(rcColumn.left, rcRow.top, rcColumn.right, rcRow.bottom));
        }
    }
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            CRect rcBorder = PaneRect(row, col);
            ::InflateRect(&rcBorder, m_cxBorder, m_cyBorder);
            OnDrawSplitter(&dc, splitBorder, rcBorder);
        }
    }
}

/***** Sizing and dragging the bars *****/

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    POINT point {};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    BarHit hit {};
    if (nHitTest == HTCLIENT && pWnd == this && HitTestBar(point, hit)) {
        ::SetCursor(::LoadCursor(nullptr, hit.bColumn ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    BarHit hit {};
    if (!HitTestBar(point, hit)) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    m_tracked = hit;
    CRect rcBar = BarRect(hit.bColumn, hit.nIndex);
    m_nTrackOffset = hit.bColumn ? point.x - rcBar.left : point.y - rcBar.top;
    m_bTracking = true;
    SetCapture();
    ::SetCursor(::LoadCursor(nullptr, hit.bColumn ? IDC_SIZEWE : IDC_SIZENS));
}

void CSplitterWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking) {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    // The bar follows the mouse between the two panes it parts; both keep the sizes they get.
    CRowColInfo* pInfo = m_tracked.bColumn ? m_pColInfo : m_pRowInfo;
    int nIndex = m_tracked.nIndex;
    int nStart = m_tracked.bColumn ? ColumnStart(nIndex) : RowStart(nIndex);
    int nPos = (m_tracked.bColumn ? point.x : point.y) - m_nTrackOffset;
    int nPair = pInfo[nIndex].nCurSize + pInfo[nIndex + 1].nCurSize;
    int nFirst = std::clamp(nPos - nStart, 0, nPair);
    if (nFirst == pInfo[nIndex].nCurSize)
        return;
    pInfo[nIndex].nIdealSize = nFirst;
    pInfo[nIndex + 1].nIdealSize = nPair - nFirst;
    RecalcLayout();
}

void CSplitterWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bTracking) {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    OnMouseMove(nFlags, point);
    m_bTracking = false;
    ::ReleaseCapture();
}

void CSplitterWnd::OnCaptureChanged(CWnd* pWnd)
{
    m_bTracking = false;
    CWnd::OnCaptureChanged(pWnd);
}
