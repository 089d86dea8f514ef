// CFrameWnd: its control bars, dock sides and floating frames.

#include "platform/framework/CFrameWnd.h"

#include "platform/framework/CControlBar.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CMiniDockFrameWnd.h"

#include "platform/framework/CDockState.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <functional>
#include <tuple>

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
    DockOnSide(pBar, pSide, [&] { pSide->DockControlBar(pBar, lpRect); });
    if (lpRect && pBar->m_pDockContext)
        pBar->m_pDockContext->m_rectMRUDockPos = *lpRect;
    RecalcLayout();
}

void CFrameWnd::DockOnSide(CControlBar* pBar, CDockBar* pSide, const std::function<void()>& fnInsert)
{
    CMiniDockFrameWnd* pOldFrame = CMiniDockFrameWnd::FromBar(pBar);
    const DWORD dwAlign = pSide->GetBarStyle() & CBRS_ALIGN_ANY;
    pBar->SetBarStyle((pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | dwAlign);
    fnInsert();
    if (pBar->m_pDockContext)
        pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(pSide->GetDlgCtrlID());
    if (pOldFrame)
        pOldFrame->DestroyWindow();
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

/***** Dock state *****/

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    state.m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    for (CControlBar* pBar : m_listControlBars) {
        const auto nID = static_cast<UINT>(pBar->m_hWnd ? pBar->GetDlgCtrlID() : 0);
        if (pBar->IsDockBar() || nID == 0 || nID > 0xFFFF)
            continue;
        CControlBarInfo info;
        info.m_nBarID = nID;
        info.m_bVisible = (pBar->GetStyle() & WS_VISIBLE) != 0;
        info.m_bFloating = pBar->IsFloating();
        int nRow = 0;
        int nOffset = 0;
        UINT uSide = 0;
        if (pBar->m_pDockBar && !pBar->m_pDockBar->m_bFloating && pBar->m_pDockBar->GetBarPlace(pBar, &nRow, &nOffset))
            uSide = static_cast<UINT>(pBar->m_pDockBar->GetDlgCtrlID());
        info.m_uDockSide = uSide;
        info.m_nRow = nRow;
        info.m_nOffset = nOffset;
        CPoint ptFloat;
        if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar)) {
            CRect rc;
            pFrame->GetWindowRect(&rc);
            ptFloat = CPoint(rc.left, rc.top);
        } else if (pBar->m_pDockContext && pBar->m_pDockContext->m_bMRUFloatSet) {
            ptFloat = pBar->m_pDockContext->m_ptMRUFloatPos;
        }
        info.m_ptFloat = ptFloat;
        info.m_nFloatLength = pBar->m_nMRUWidth;
        state.m_arrBarInfo.push_back(info);
    }
}

namespace {

// What SetDockState does to one bar, settled before anything moves.
struct CBarPlan {
    CControlBar* pBar;
    bool bVisible;
    bool bFloating;
    CDockBar* pSide; // where it docks; nullptr: it stays where it sits
    int nRow;
    int nOffset;
    CPoint ptFloat;
    int nFloatLength;
};

// A saved floating position on today's screen: scaled by the screens' ratio.
CPoint ScaledToScreen(CPoint pt, CSize sizeSaved)
{
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    if (sizeSaved.cx > 0 && sizeSaved.cy > 0) {
        pt.x = static_cast<int>(static_cast<long long>(pt.x) * cxScreen / sizeSaved.cx);
        pt.y = static_cast<int>(static_cast<long long>(pt.y) * cyScreen / sizeSaved.cy);
    }
    return pt;
}

// Moves a floating frame so that the whole of it shows on the primary screen.
void PullOntoScreen(CWnd* pFrame)
{
    CRect rc;
    pFrame->GetWindowRect(&rc);
    const int x = std::max(0, std::min<int>(rc.left, ::GetSystemMetrics(SM_CXSCREEN) - rc.Width()));
    const int y = std::max(0, std::min<int>(rc.top, ::GetSystemMetrics(SM_CYSCREEN) - rc.Height()));
    if (x != rc.left || y != rc.top)
        pFrame->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void CFrameWnd::SetDockState(const CDockState& state)
{
    // Every bar's fate is settled first; nothing moves while the state is checked.
    std::vector<CBarPlan> plans;
    for (const CControlBarInfo& info : state.m_arrBarInfo) {
        CControlBar* pBar = GetControlBar(info.m_nBarID);
        if (!pBar || pBar->IsDockBar()
            || std::any_of(plans.begin(), plans.end(), [&](const CBarPlan& plan) { return plan.pBar == pBar; }))
            continue;
        CDockBar* pCurrentSide = pBar->m_pDockBar && !pBar->m_pDockBar->m_bFloating ? pBar->m_pDockBar : nullptr;
        CDockBar* pSavedSide = nullptr;
        if (info.m_uDockSide && *info.m_uDockSide) {
            pSavedSide = dynamic_cast<CDockBar*>(GetControlBar(*info.m_uDockSide));
            if (pSavedSide && !(pBar->m_dwDockStyle & pSavedSide->GetBarStyle() & CBRS_ALIGN_ANY))
                pSavedSide = nullptr; // a side the bar does not dock on
        }
        CDockBar* pSide = pSavedSide ? pSavedSide : pCurrentSide;
        int nRow = 0;
        int nOffset = 0;
        if (pSide == pCurrentSide && pCurrentSide)
            pCurrentSide->GetBarPlace(pBar, &nRow, &nOffset);
        CPoint ptFloat;
        if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar)) {
            CRect rc;
            pFrame->GetWindowRect(&rc);
            ptFloat = CPoint(rc.left, rc.top);
        } else if (pBar->m_pDockContext && pBar->m_pDockContext->m_bMRUFloatSet) {
            ptFloat = pBar->m_pDockContext->m_ptMRUFloatPos;
        }
        bool bFloating = info.m_bFloating.value_or(pBar->IsFloating()) != FALSE;
        // A bar told to dock with no side to dock on stays as it is.
        if (!bFloating && !pSide)
            bFloating = pBar->IsFloating();
        plans.push_back(CBarPlan { pBar, info.m_bVisible.value_or((pBar->GetStyle() & WS_VISIBLE) != 0) != FALSE,
            bFloating, bFloating ? nullptr : pSide, info.m_nRow.value_or(nRow), info.m_nOffset.value_or(nOffset),
            info.m_ptFloat ? ScaledToScreen(*info.m_ptFloat, state.m_sizeScreen) : ptFloat,
            info.m_nFloatLength.value_or(pBar->m_nMRUWidth) });
    }

    // Then every bar moves, with one layout of the frame at the end.
    m_bInRecalcLayout = TRUE;
    for (const CBarPlan& plan : plans) {
        // Rows are rebuilt in the saved order; a floating bar leaves its frame when it docks.
        CDockBar* pDockBar = plan.pBar->m_pDockBar;
        if (plan.pSide && pDockBar && !pDockBar->m_bFloating)
            pDockBar->RemoveControlBar(plan.pBar);
    }
    std::stable_sort(plans.begin(), plans.end(),
        [](const CBarPlan& a, const CBarPlan& b) { return std::tie(a.nRow, a.nOffset) < std::tie(b.nRow, b.nOffset); });
    for (const CBarPlan& plan : plans) {
        CControlBar* pBar = plan.pBar;
        pBar->m_nMRUWidth = plan.nFloatLength < 0 ? 32767 : plan.nFloatLength;
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
            SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE
                | (plan.bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        if (plan.bFloating) {
            const DWORD dwAlign = pBar->m_pDockContext && pBar->m_pDockContext->m_dwMRUFloatStyle
                ? pBar->m_pDockContext->m_dwMRUFloatStyle
                : CBRS_ALIGN_TOP;
            FloatControlBar(pBar, plan.ptFloat, dwAlign);
            if (CMiniDockFrameWnd* pFrame = CMiniDockFrameWnd::FromBar(pBar))
                PullOntoScreen(pFrame);
        } else if (plan.pSide) {
            DockOnSide(pBar, plan.pSide, [&] { plan.pSide->DockControlBar(pBar, plan.nRow, plan.nOffset); });
        }
    }
    m_bInRecalcLayout = FALSE;
    RecalcLayout();
}
