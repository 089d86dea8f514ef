#include "platform/framework/CDockBar.h"

#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_SIZEPARENT, &CDockBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

CDockBar::CDockBar(BOOL bFloating)
    : m_bFloating(bFloating)
{
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCTSTR lpszClass = AfxRegisterWndClass(0);
    return CWnd::Create(lpszClass, nullptr,
        (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, RECT {}, pParentWnd, nID);
}

/***** The docked bars *****/

void CDockBar::DockControlBar(CControlBar* pBar, int nRow, int nOffset)
{
    if (!pBar)
        return;
    if (pBar->m_pDockBar)
        pBar->m_pDockBar->RemoveControlBar(pBar);
    int nRows = 0;
    for (const CDockedBar& docked : m_bars)
        nRows = std::max(nRows, docked.nRow + 1);
    if (nRow < 0) {
        for (CDockedBar& docked : m_bars)
            ++docked.nRow;
        nRow = 0;
    }
    nRow = std::min(nRow, nRows);
    nOffset = std::max(nOffset, 0);
    auto it = std::find_if(m_bars.begin(), m_bars.end(), [&](const CDockedBar& docked) {
        return docked.nRow > nRow || (docked.nRow == nRow && docked.nOffset > nOffset);
    });
    m_bars.insert(it, CDockedBar { pBar, nRow, nOffset });
    pBar->m_pDockBar = this;
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!lpRect) {
        DockControlBar(pBar, static_cast<int>(0x7FFF), 0);
        return;
    }
    // The rows as laid out now, in screen coordinates across the side.
    if (pBar->m_pDockBar == this)
        RemoveControlBar(pBar);
    CRect rcSide;
    GetWindowRect(&rcSide);
    const BOOL bHorz = IsHorz();
    const int nMiddle = bHorz ? (lpRect->top + lpRect->bottom) / 2 : (lpRect->left + lpRect->right) / 2;
    const int nOffset = bHorz ? lpRect->left - rcSide.left : lpRect->top - rcSide.top;
    int nBefore = 0; // rows that lie before the middle, counted from the side's start
    int nRowHit = -1;
    int nRows = 0;
    for (const CDockedBar& docked : m_bars)
        nRows = std::max(nRows, docked.nRow + 1);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (const CDockedBar& docked : m_bars) {
            if (docked.nRow != nRow || !(docked.pBar->GetStyle() & WS_VISIBLE))
                continue;
            CRect rcBar;
            docked.pBar->GetWindowRect(&rcBar);
            const int nStart = bHorz ? rcBar.top : rcBar.left;
            const int nEnd = bHorz ? rcBar.bottom : rcBar.right;
            if (nMiddle >= nStart && nMiddle < nEnd)
                nRowHit = nRow;
            else if (nMiddle >= nEnd)
                nBefore = std::max(nBefore, nRow + 1);
        }
    }
    if (nRowHit >= 0) {
        DockControlBar(pBar, nRowHit, nOffset);
        return;
    }
    // Rows are counted from the frame's edge: on the bottom and right sides that is the far end.
    const bool bFromFarEnd = (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_ALIGN_RIGHT)) != 0;
    const int nNewRow = bFromFarEnd ? nRows - nBefore : nBefore;
    if (nNewRow <= 0 && nRows > 0)
        DockControlBar(pBar, -1, nOffset);
    else if (nNewRow >= nRows)
        DockControlBar(pBar, nRows, nOffset);
    else {
        for (CDockedBar& docked : m_bars) {
            if (docked.nRow >= nNewRow)
                ++docked.nRow;
        }
        DockControlBar(pBar, nNewRow, nOffset);
    }
}

void CDockBar::RemoveControlBar(CControlBar* pBar)
{
    auto it = std::find_if(m_bars.begin(), m_bars.end(), [&](const CDockedBar& docked) { return docked.pBar == pBar; });
    if (it == m_bars.end())
        return;
    m_bars.erase(it);
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    CompactRows();
}

BOOL CDockBar::GetBarPlace(const CControlBar* pBar, int* pnRow, int* pnOffset) const
{
    for (const CDockedBar& docked : m_bars) {
        if (docked.pBar == pBar) {
            *pnRow = docked.nRow;
            *pnOffset = docked.nOffset;
            return TRUE;
        }
    }
    return FALSE;
}

int CDockBar::GetDockedVisibleCount() const
{
    return static_cast<int>(std::count_if(m_bars.begin(), m_bars.end(),
        [](const CDockedBar& docked) { return (docked.pBar->GetStyle() & WS_VISIBLE) != 0; }));
}

void CDockBar::CompactRows()
{
    int nNext = 0;
    int nLast = -1;
    for (CDockedBar& docked : m_bars) {
        if (docked.nRow != nLast) {
            nLast = docked.nRow;
            ++nNext;
        }
        docked.nRow = nNext - 1;
    }
}

/***** Layout *****/

CSize CDockBar::BarSize(CControlBar* pBar) const
{
    if (m_bFloating) {
        const BOOL bHorz = (pBar->GetBarStyle() & CBRS_ORIENT_VERT) == 0;
        if (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
            return pBar->CalcDynamicLayout(pBar->m_nMRUWidth, LM_MRUWIDTH | (bHorz ? LM_HORZ : 0));
        return pBar->CalcFixedLayout(FALSE, bHorz);
    }
    const BOOL bHorz = IsHorz();
    if (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
        return pBar->CalcDynamicLayout(-1, bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    return pBar->CalcFixedLayout(FALSE, bHorz);
}

CSize CDockBar::LayoutBars(BOOL bMove)
{
    const BOOL bHorz = m_bFloating || IsHorz();
    struct CRowLayout {
        int nThickness { 0 };
        std::vector<std::pair<CControlBar*, CRect>> places; // across from 0, along as laid
    };
    std::vector<CRowLayout> rows;
    int nLongest = 0;
    for (const CDockedBar& docked : m_bars) {
        if (!(docked.pBar->GetStyle() & WS_VISIBLE))
            continue;
        while (static_cast<int>(rows.size()) <= docked.nRow)
            rows.emplace_back();
        CRowLayout& row = rows[static_cast<size_t>(docked.nRow)];
        const CSize size = BarSize(docked.pBar);
        const int nAlong = bHorz ? size.cx : size.cy;
        const int nAcross = bHorz ? size.cy : size.cx;
        const int nEnd
            = row.places.empty() ? 0 : (bHorz ? row.places.back().second.right : row.places.back().second.bottom);
        const int nStart = m_bFloating ? 0 : std::max(docked.nOffset, nEnd);
        row.places.emplace_back(docked.pBar,
            bHorz ? CRect(nStart, 0, nStart + nAlong, nAcross) : CRect(0, nStart, nAcross, nStart + nAlong));
        row.nThickness = std::max(row.nThickness, nAcross);
        nLongest = std::max(nLongest, nStart + nAlong);
    }
    int nTotal = 0;
    for (const CRowLayout& row : rows)
        nTotal += row.nThickness;
    if (bMove) {
        CRect rcClient;
        GetClientRect(&rcClient);
        const bool bFromFarEnd = !m_bFloating && (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_ALIGN_RIGHT));
        int nAcrossAt = bFromFarEnd ? (bHorz ? rcClient.bottom : rcClient.right) : 0;
        for (const CRowLayout& row : rows) {
            if (bFromFarEnd)
                nAcrossAt -= row.nThickness;
            for (const auto& [pBar, rcPlace] : row.places) {
                CRect rc = rcPlace;
                if (bHorz) {
                    rc.top += nAcrossAt;
                    rc.bottom = rc.top + row.nThickness;
                } else {
                    rc.left += nAcrossAt;
                    rc.right = rc.left + row.nThickness;
                }
                pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (!bFromFarEnd)
                nAcrossAt += row.nThickness;
        }
    }
    return bHorz ? CSize(nLongest, nTotal) : CSize(nTotal, nLongest);
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    CSize size = LayoutBars(FALSE);
    if (bStretch && !m_bFloating) {
        if (IsHorz())
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

void CDockBar::PlaceBars()
{
    LayoutBars(TRUE);
}

LRESULT CDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pLayout || m_bFloating)
        return 0;
    // A side takes the room its visible bars need; an empty one lies along its edge with no room.
    CSize size = CalcFixedLayout(TRUE, IsHorz());
    RECT& rcFree = pLayout->rect;
    size.cx = std::clamp<int>(size.cx, 0, std::max<int>(rcFree.right - rcFree.left, 0));
    size.cy = std::clamp<int>(size.cy, 0, std::max<int>(rcFree.bottom - rcFree.top, 0));
    CRect rcSide(rcFree);
    if (m_dwStyle & CBRS_ALIGN_TOP)
        rcSide.bottom = rcFree.top += size.cy;
    else if (m_dwStyle & CBRS_ALIGN_BOTTOM)
        rcSide.top = rcFree.bottom -= size.cy;
    else if (m_dwStyle & CBRS_ALIGN_LEFT)
        rcSide.right = rcFree.left += size.cx;
    else
        rcSide.left = rcFree.right -= size.cx;
    SetWindowPos(nullptr, rcSide.left, rcSide.top, rcSide.Width(), rcSide.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutBars(TRUE);
    return 0;
}

BOOL CDockBar::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    ::FillRect(pDC->GetSafeHdc(), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

void CDockBar::OnPaint()
{
    CPaintDC dc(this);
}
