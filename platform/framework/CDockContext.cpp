#include "platform/framework/CDockContext.h"

#include "platform/framework/CControlBar.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/gdi/Rects.h"
#include "platform/window/SystemMetrics.h"

#include <cstdlib>

namespace {

// How far into the frame a side reaches for a dragged bar, beyond what its bars take.
constexpr int DOCK_ZONE = 24;

struct CSideOfFrame {
    UINT nID;
    DWORD dwAlign;
};

// The order in which sides are tried.
constexpr CSideOfFrame SIDES[] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT },
};

} // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar)
{
}

void CDockContext::StartDrag(CPoint pt)
{
    m_bDragging = true;
    m_bMoved = false;
    m_ptStart = pt;
    CRect rc;
    if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(m_pBar))
        pFrame->GetWindowRect(&rc);
    else
        m_pBar->GetWindowRect(&rc);
    m_ptGrab = CPoint(pt.x - rc.left, pt.y - rc.top);
    m_pBar->SetCapture();
}

void CDockContext::Track(CPoint pt, BOOL bRelease)
{
    if (!m_bDragging)
        return;
    if (!m_bMoved) {
        m_bMoved = std::abs(pt.x - m_ptStart.x) > ::GetSystemMetrics(SM_CXDRAG) / 2
            || std::abs(pt.y - m_ptStart.y) > ::GetSystemMetrics(SM_CYDRAG) / 2;
    }
    CFrameWnd* pDockSite = m_pBar->m_pDockSite;
    if (m_bMoved && pDockSite) {
        const CPoint ptFrame(pt.x - m_ptGrab.x, pt.y - m_ptGrab.y);
        if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(m_pBar))
            pFrame->SetWindowPos(nullptr, ptFrame.x, ptFrame.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            pDockSite->FloatControlBar(m_pBar, ptFrame, m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
        // The mouse stays with the bar, wherever its window went.
        m_bDragging = true;
        if (::GetCapture() != m_pBar->m_hWnd)
            m_pBar->SetCapture();
    }
    if (!bRelease)
        return;
    m_bDragging = false;
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (!m_bMoved || !pDockSite)
        return;
    if (const UINT nSide = DockSideAt(pt)) {
        // The row under the pointer, the bar starting where its frame started.
        const bool bHorz = nSide == AFX_IDW_DOCKBAR_TOP || nSide == AFX_IDW_DOCKBAR_BOTTOM;
        const CPoint ptStart(bHorz ? pt.x - m_ptGrab.x : pt.x, bHorz ? pt.y : pt.y - m_ptGrab.y);
        const CRect rcAt(ptStart.x, ptStart.y, ptStart.x + 1, ptStart.y + 1);
        pDockSite->DockControlBar(m_pBar, nSide, &rcAt);
    } else if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(m_pBar)) {
        CRect rc;
        pFrame->GetWindowRect(&rc);
        m_ptMRUFloatPos = CPoint(rc.left, rc.top);
        m_bMRUFloatSet = true;
    }
}

UINT CDockContext::DockSideAt(CPoint pt) const
{
    CFrameWnd* pDockSite = m_pBar->m_pDockSite;
    if (!pDockSite)
        return 0;
    for (const CSideOfFrame& side : SIDES) {
        auto* pSide = dynamic_cast<CDockBar*>(pDockSite->GetControlBar(side.nID));
        if (!pSide || !(m_pBar->m_dwDockStyle & side.dwAlign))
            continue;
        CRect rc;
        pSide->GetWindowRect(&rc);
        // An empty side still catches the bar along its edge of the frame.
        if (side.dwAlign == CBRS_ALIGN_TOP)
            rc.bottom = std::max<LONG>(rc.bottom, rc.top + DOCK_ZONE);
        else if (side.dwAlign == CBRS_ALIGN_BOTTOM)
            rc.top = std::min<LONG>(rc.top, rc.bottom - DOCK_ZONE);
        else if (side.dwAlign == CBRS_ALIGN_LEFT)
            rc.right = std::max<LONG>(rc.right, rc.left + DOCK_ZONE);
        else
            rc.left = std::min<LONG>(rc.left, rc.right - DOCK_ZONE);
        if (::PtInRect(&rc, pt))
            return side.nID;
    }
    return 0;
}

void CDockContext::ToggleDocking()
{
    CFrameWnd* pDockSite = m_pBar->m_pDockSite;
    if (!pDockSite)
        return;
    if (m_pBar->IsFloating()) {
        UINT nSide = m_uMRUDockID;
        for (const CSideOfFrame& side : SIDES) {
            if (!nSide && (m_pBar->m_dwDockStyle & side.dwAlign) && pDockSite->GetControlBar(side.nID))
                nSide = side.nID;
        }
        if (nSide)
            pDockSite->DockControlBar(m_pBar, nSide, m_rectMRUDockPos.Width() > 0 ? &m_rectMRUDockPos : nullptr);
        return;
    }
    CPoint pt = m_ptMRUFloatPos;
    if (!m_bMRUFloatSet) {
        // Never floated: a little below and right of where it is docked.
        CRect rc;
        m_pBar->GetWindowRect(&rc);
        pt = CPoint(rc.left + DOCK_ZONE, rc.top + DOCK_ZONE);
    }
    pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
}
