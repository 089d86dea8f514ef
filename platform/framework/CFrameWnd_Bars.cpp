// CFrameWnd: its control bars, dock sides and floating frames.

#include "platform/framework/CFrameWnd.h"

#include "platform/framework/CControlBar.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CMiniDockFrameWnd.h"

#include <algorithm>

namespace {

struct CDockSide {
    UINT nID;
    DWORD dwAlign;
};

// The sides in the order EnableDocking makes them, which is the order they take their edges.
constexpr CDockSide DOCK_SIDES[] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT },
};

// A dock side of the frame; its object deletes itself with its window.
class CFrameDockBar : public CDockBar {
public:
    void PostNcDestroy() override { delete this; }
};

} // namespace

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    std::erase(m_listControlBars, pBar);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    for (const CDockSide& side : DOCK_SIDES) {
        if (!(dwDockStyle & side.dwAlign) || GetControlBar(side.nID))
            continue;
        // The side deletes itself with its window, also when its creation fails.
        auto* pSide = new CFrameDockBar;
        (void)pSide->Create(this, side.dwAlign | WS_CHILD | WS_VISIBLE, side.nID);
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CDockBar* pSide = nullptr;
    for (const CDockSide& side : DOCK_SIDES) {
        if (nDockBarID ? side.nID == nDockBarID : (pBar->m_dwDockStyle & side.dwAlign) != 0) {
            pSide = dynamic_cast<CDockBar*>(GetControlBar(side.nID));
            if (pSide)
                break;
        }
    }
    if (!pSide)
        return;
    CMiniDockFrameWnd* pOldFrame = CMiniDockFrameWnd::FromBar(pBar);
    const DWORD dwAlign = pSide->GetBarStyle() & CBRS_ALIGN_ANY;
    pBar->SetBarStyle((pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | dwAlign);
    pSide->DockControlBar(pBar, lpRect);
    if (pBar->m_pDockContext) {
        pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(pSide->GetDlgCtrlID());
        if (lpRect)
            pBar->m_pDockContext->m_rectMRUDockPos = *lpRect;
    }
    if (pOldFrame)
        pOldFrame->DestroyWindow();
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar);
    if (!pFrame) {
        pFrame = new CMiniDockFrameWnd; // deletes itself with its window
        if (!pFrame->Create(this, dwStyle))
            return; // a frame that failed has deleted itself
        CDockBar* pOldSide = pBar->m_pDockBar;
        if (pOldSide && pBar->m_pDockContext) {
            pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(pOldSide->GetDlgCtrlID());
            pBar->GetWindowRect(&pBar->m_pDockContext->m_rectMRUDockPos);
        }
        pBar->SetBarStyle((pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | CBRS_FLOATING | (dwStyle & CBRS_ALIGN_ANY));
        pFrame->m_wndDockBar.DockControlBar(pBar, 0, 0);
    }
    if (pBar->m_pDockContext) {
        pBar->m_pDockContext->m_ptMRUFloatPos = point;
        pBar->m_pDockContext->m_bMRUFloatSet = true;
        pBar->m_pDockContext->m_dwMRUFloatStyle = dwStyle & CBRS_ALIGN_ANY;
    }
    pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->RecalcLayout();
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
        SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar))
        pFrame->RecalcLayout();
    if (bDelay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

void CFrameWnd::DestroyFloatingFrames()
{
    std::vector<CMiniDockFrameWnd*> frames;
    for (CControlBar* pBar : m_listControlBars) {
        if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar))
            frames.push_back(pFrame);
    }
    for (CMiniDockFrameWnd* pFrame : frames)
        pFrame->DestroyWindow();
}
