#include "platform/framework/CMiniDockFrameWnd.h"

#include "platform/framework/CDockContext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, &CMiniDockFrameWnd::OnNcLButtonDblClk)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD MINI_FRAME_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MINI_FRAME_EX_STYLE = WS_EX_TOOLWINDOW;

} // namespace

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    if (!CreateEx(MINI_FRAME_EX_STYLE, lpszClass, "", MINI_FRAME_STYLE, 0, 0, 0, 0,
            pParent ? pParent->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    if (!m_wndDockBar.Create(this, (dwBarStyle & CBRS_ALIGN_ANY) | WS_CHILD | WS_VISIBLE, AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

CMiniDockFrameWnd* CMiniDockFrameWnd::FromBar(const CControlBar* pBar)
{
    return pBar && pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating
        ? dynamic_cast<CMiniDockFrameWnd*>(pBar->m_pDockBar->GetParent())
        : nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    CControlBar* pBar = GetBar();
    const bool bShow = pBar && (pBar->GetStyle() & WS_VISIBLE);
    if (pBar) {
        const CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
        RECT rc { 0, 0, size.cx, size.cy };
        ::AdjustWindowRectEx(&rc, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        m_wndDockBar.PlaceBars();
        CString strTitle;
        pBar->GetWindowText(strTitle);
        CString strOld;
        GetWindowText(strOld);
        if (strOld != strTitle)
            SetWindowText(strTitle);
    }
    // The frame shows while its bar does.
    if (bShow != static_cast<bool>(IsWindowVisible()))
        ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    // The close box hides the bar; the frame goes with it.
    CControlBar* pBar = GetBar();
    if (pBar && pBar->m_pDockSite)
        pBar->m_pDockSite->ShowControlBar(pBar, FALSE, FALSE);
    else
        ShowWindow(SW_HIDE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CControlBar* pBar = GetBar();
    if (nHitTest == HTCAPTION && pBar && pBar->m_pDockContext) {
        // The bar follows the pointer and may dock on release.
        pBar->m_pDockContext->StartDrag(point);
        return;
    }
    CFrameWnd::OnNcLButtonDown(nHitTest, point);
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDblClk(WPARAM wParam, LPARAM)
{
    CControlBar* pBar = GetBar();
    if (wParam == static_cast<WPARAM>(HTCAPTION) && pBar && pBar->m_pDockContext) {
        pBar->m_pDockContext->ToggleDocking();
        return 0;
    }
    return Default();
}
