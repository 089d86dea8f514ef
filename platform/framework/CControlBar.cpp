#include "platform/framework/CControlBar.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CToolTipCtrl.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXT, 0, 0xFFFF, &CControlBar::OnToolTipText)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int BORDER_WIDTH = 2;                // an etched CBRS_BORDER_* line
constexpr UINT_PTR FLYBY_CHECK_TIMER = 0xE000; // looks whether the mouse has left the bar
constexpr UINT FLYBY_CHECK_DELAY = 200;

// Whether hWnd is the bar or one of its descendants.
bool IsInBar(HWND hBar, HWND hWnd)
{
    return hWnd && (hWnd == hBar || ::IsChild(hBar, hWnd));
}

} // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    // The window goes while this object's handlers are still whole.
    DestroyWindow();
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

/***** Styles and docking *****/

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    const DWORD dwOld = std::exchange(m_dwStyle, dwStyle & CBRS_ALL);
    // The border strips live in the non-client area, which a floating bar has none of.
    if (m_hWnd && ((dwOld ^ m_dwStyle) & (CBRS_BORDER_ANY | CBRS_FLOATING)))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (!m_pDockContext)
        m_pDockContext = std::make_unique<CDockContext>(this);
}

BOOL CControlBar::IsVisible() const
{
    return (GetStyle() & WS_VISIBLE) != 0;
}

/***** Size *****/

CRect CControlBar::GetInsets() const
{
    CRect rc(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
    if (!IsFloating()) {
        rc.left += (m_dwStyle & CBRS_BORDER_LEFT) ? BORDER_WIDTH : 0;
        rc.top += (m_dwStyle & CBRS_BORDER_TOP) ? BORDER_WIDTH : 0;
        rc.right += (m_dwStyle & CBRS_BORDER_RIGHT) ? BORDER_WIDTH : 0;
        rc.bottom += (m_dwStyle & CBRS_BORDER_BOTTOM) ? BORDER_WIDTH : 0;
    }
    return rc;
}

CSize CControlBar::AddInsets(CSize sizeClient) const
{
    const CRect rc = GetInsets();
    return CSize(sizeClient.cx + rc.left + rc.right, sizeClient.cy + rc.top + rc.bottom);
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = AddInsets(CSize());
    if (bStretch) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

/***** Commands and notifications *****/

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // The bar's own entries (and its controls' reflection) first, then the owner frame.
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner && pOwner != this && pOwner->m_hWnd)
            return pOwner->SendMessage(message, wParam, lParam);
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

/***** Update UI *****/

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A hidden bar (or one on a hidden side) has nothing to show.
    if (!(GetStyle() & WS_VISIBLE) || (m_pDockBar && !(m_pDockBar->GetStyle() & WS_VISIBLE)))
        return 0;
    auto* pTarget = dynamic_cast<CFrameWnd*>(GetOwner());
    if (!pTarget)
        pTarget = GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

/***** Lifetime and layout in the frame *****/

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWnd* pParent = GetParent();
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParent)) {
        m_pDockSite = pFrame;
        pFrame->AddControlBar(this);
    }
    // Commands keep going to the frame the bar was made in, wherever it docks or floats.
    if (pParent)
        SetOwner(pParent);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockContext)
        m_pDockContext->CancelDrag();
    if (m_pDockBar)
        m_pDockBar->RemoveControlBar(this);
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite->DelayRecalcLayout();
    }
    m_pDockSite = nullptr;
    if (m_pToolTip)
        m_pToolTip->DestroyWindow();
    m_pToolTip.reset();
    CWnd::OnDestroy();
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const DWORD dwAlign = m_dwStyle & CBRS_ALIGN_ANY;
    if (!pLayout || !(GetStyle() & WS_VISIBLE) || !dwAlign || IsFloating())
        return 0;
    const BOOL bHorz = (dwAlign & CBRS_ORIENT_HORZ) != 0;
    CSize size = (m_dwStyle & CBRS_SIZE_DYNAMIC)
        ? CalcDynamicLayout(-1, LM_STRETCH | (bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK))
        : CalcFixedLayout(pLayout->bStretch, bHorz);
    RECT& rcFree = pLayout->rect;
    size.cx = std::clamp<int>(size.cx, 0, std::max<int>(rcFree.right - rcFree.left, 0));
    size.cy = std::clamp<int>(size.cy, 0, std::max<int>(rcFree.bottom - rcFree.top, 0));
    CRect rcBar(rcFree);
    if (dwAlign & CBRS_ALIGN_TOP) {
        rcBar.bottom = rcFree.top += size.cy;
    } else if (dwAlign & CBRS_ALIGN_BOTTOM) {
        rcBar.top = rcFree.bottom -= size.cy;
    } else if (dwAlign & CBRS_ALIGN_LEFT) {
        rcBar.right = rcFree.left += size.cx;
    } else {
        rcBar.left = rcFree.right -= size.cx;
    }
    SetWindowPos(nullptr, rcBar.left, rcBar.top, rcBar.Width(), rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

/***** Border strips *****/

void CControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    // What the styles leave, less the bar's own strips (rgrc[0] is the rectangle in either form).
    CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
    const CRect rcInsets = GetInsets();
    RECT& rc = lpncsp->rgrc[0];
    rc.left += rcInsets.left;
    rc.top += rcInsets.top;
    rc.right = std::max(rc.left, rc.right - rcInsets.right);
    rc.bottom = std::max(rc.top, rc.bottom - rcInsets.bottom);
}

void CControlBar::OnNcPaint()
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcClient;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    const CRect rcInsets(rcClient.left - rcWindow.left, rcClient.top - rcWindow.top, rcWindow.right - rcClient.right,
        rcWindow.bottom - rcClient.bottom);
    if (rcInsets == CRect())
        return;
    CWindowDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    const RECT rcAll { 0, 0, rcWindow.Width(), rcWindow.Height() };
    const RECT rcInside { rcInsets.left, rcInsets.top, rcAll.right - rcInsets.right, rcAll.bottom - rcInsets.bottom };
    // The strips around the client area, then the etched lines along the bordered sides.
    const RECT strips[] = {
        { 0, 0, rcAll.right, rcInside.top },
        { 0, rcInside.bottom, rcAll.right, rcAll.bottom },
        { 0, rcInside.top, rcInside.left, rcInside.bottom },
        { rcInside.right, rcInside.top, rcAll.right, rcInside.bottom },
    };
    for (const RECT& rcStrip : strips)
        ::FillRect(hdc, &rcStrip, ::GetSysColorBrush(COLOR_BTNFACE));
    if (IsFloating())
        return;
    UINT nEdges = 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_LEFT) ? BF_LEFT : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_TOP) ? BF_TOP : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_RIGHT) ? BF_RIGHT : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_BOTTOM) ? BF_BOTTOM : 0;
    RECT rcEdge = rcAll;
    if (nEdges)
        ::DrawEdge(hdc, &rcEdge, EDGE_ETCHED, nEdges);
}

LRESULT CControlBar::OnNcHitTest(CPoint)
{
    // The strips are part of the bar for the mouse: pressing there drags a docking bar.
    return HTCLIENT;
}

/***** Dragging *****/

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pDockContext && !IsFloating() && OnToolHitTest(point, nullptr) == -1) {
        CPoint pt = point;
        ClientToScreen(&pt);
        m_pDockContext->StartDrag(pt);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockContext && !IsFloating() && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

void CControlBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockContext->IsDragging()) {
        CPoint pt = point;
        ClientToScreen(&pt);
        m_pDockContext->Track(pt, FALSE);
        return;
    }
    CWnd::OnMouseMove(nFlags, point);
}

void CControlBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockContext->IsDragging()) {
        CPoint pt = point;
        ClientToScreen(&pt);
        m_pDockContext->Track(pt, TRUE);
        return;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void CControlBar::OnCaptureChanged(CWnd* pWnd)
{
    if (m_pDockContext && m_pDockContext->IsDragging() && (!pWnd || pWnd->m_hWnd != m_hWnd))
        m_pDockContext->CancelDrag();
    CWnd::OnCaptureChanged(pWnd);
}

/***** Tips and fly-by prompts *****/

INT_PTR CControlBar::OnToolHitTest(CPoint, TOOLINFO*) const
{
    return -1;
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    if ((m_dwStyle & (CBRS_TOOLTIPS | CBRS_FLYBY)) && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST
        && IsInBar(m_hWnd, pMsg->hwnd))
        FilterToolTipMessage(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CControlBar::FilterToolTipMessage(const MSG* pMsg)
{
    if (m_pDockContext && m_pDockContext->IsDragging())
        return;
    POINT pt = pMsg->pt;
    ::ScreenToClient(m_hWnd, &pt);
    TOOLINFO ti {};
    ti.cbSize = sizeof(TOOLINFO);
    const INT_PTR nHit = OnToolHitTest(CPoint(pt), &ti);

    if ((m_dwStyle & CBRS_FLYBY) && pMsg->message == WM_MOUSEMOVE && nHit != m_nFlyByHit)
        SetFlyByPrompt(nHit);

    if (!(m_dwStyle & CBRS_TOOLTIPS))
        return;
    if (!m_pToolTip) {
        m_pToolTip = std::make_unique<CToolTipCtrl>();
        if (!m_pToolTip->Create(this, TTS_ALWAYSTIP)) {
            m_pToolTip.reset();
            return;
        }
    }
    if (nHit != m_nToolHit) {
        // The tip holds one tool at a time: the item under the mouse.
        if (m_nToolHit != -1)
            m_pToolTip->DelTool(this, static_cast<UINT_PTR>(m_nToolHit));
        m_nToolHit = nHit;
        if (nHit != -1) {
            ti.hwnd = m_hWnd;
            ti.uId = static_cast<UINT_PTR>(nHit);
            ti.lpszText = LPSTR_TEXTCALLBACK;
            m_pToolTip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
    MSG msg = *pMsg;
    m_pToolTip->RelayEvent(&msg);
}

void CControlBar::SetFlyByPrompt(INT_PTR nHit)
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(GetOwner());
    if (!pFrame)
        return;
    if (CFrameWnd* pTop = pFrame->GetTopLevelFrame())
        pFrame = pTop;
    m_nFlyByHit = nHit;
    pFrame->SetMessageText(nHit != -1 ? static_cast<UINT>(nHit) : AFX_IDS_IDLEMESSAGE);
    // The idle prompt comes back once the mouse has left the bar.
    SetTimer(FLYBY_CHECK_TIMER, FLYBY_CHECK_DELAY, nullptr);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != FLYBY_CHECK_TIMER) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    POINT pt {};
    ::GetCursorPos(&pt);
    if (IsInBar(m_hWnd, ::WindowFromPoint(pt)))
        return;
    if (m_nFlyByHit != -1)
        SetFlyByPrompt(-1);
    KillTimer(FLYBY_CHECK_TIMER);
}

CString CControlBar::GetToolTipText(UINT nID) const
{
    CString strFull;
    strFull.LoadString(nID);
    const int nNewLine = strFull.Find('\n');
    return nNewLine < 0 ? CString() : strFull.Mid(nNewLine + 1);
}

BOOL CControlBar::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pInfo = reinterpret_cast<NMTTDISPINFO*>(pNMHDR);
    if (!m_pToolTip || pNMHDR->hwndFrom != m_pToolTip->m_hWnd)
        return FALSE;
    const CString strTip = GetToolTipText(static_cast<UINT>(pNMHDR->idFrom));
    lstrcpynA(pInfo->szText, strTip, sizeof(pInfo->szText));
    pInfo->lpszText = pInfo->szText;
    *pResult = 0;
    return TRUE;
}
