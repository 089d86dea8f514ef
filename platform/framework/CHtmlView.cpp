#include "platform/framework/CHtmlView.h"

#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/HtmlUrl.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"

#include <algorithm>
#include <string>

namespace {

constexpr int WHEEL_NOTCH = 120; // the distance WM_MOUSEWHEEL reports for one notch
constexpr int WHEEL_PIXELS = 48; // pixels scrolled per notch
constexpr int LINE_PIXELS = 16;  // pixels scrolled per line of the scroll bar

} // namespace

IMPLEMENT_DYNAMIC(CHtmlView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CHtmlView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CHtmlView::OnMouseLeave)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()
// clang-format on

CHtmlView::~CHtmlView()
{
    if (m_pBrowserApp)
        m_pBrowserApp->Release();
}

BOOL CHtmlView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    UINT nID, CCreateContext* pContext)
{
    return CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

/***** Navigation *****/

void CHtmlView::Navigate(LPCTSTR lpszURL, DWORD, LPCTSTR lpszTargetFrameName, LPCTSTR, LPVOID, DWORD)
{
    NavigateTo(lpszURL ? lpszURL : "", lpszTargetFrameName ? lpszTargetFrameName : "");
}

void CHtmlView::Navigate2(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
    LPVOID lpvPostData, DWORD dwPostDataLen)
{
    Navigate(lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData, dwPostDataLen);
}

BOOL CHtmlView::LoadFromResource(LPCTSTR lpszResource)
{
    if (!m_pBrowserApp)
        return FALSE;
    CString strName;
    if (IS_INTRESOURCE(lpszResource))
        strName.Format("%u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(lpszResource)));
    else
        strName = lpszResource;
    char szModule[MAX_PATH] {};
    GetModuleFileName(nullptr, szModule, MAX_PATH);
    NavigateTo(CString("res://") + szModule + "/" + strName, "");
    return TRUE;
}

BOOL CHtmlView::LoadFromResource(UINT nRes)
{
    return LoadFromResource(MAKEINTRESOURCE(nRes));
}

CString CHtmlView::GetLocationURL() const
{
    return m_pBrowserApp ? CString(m_pBrowserApp->GetUrl().c_str()) : CString();
}

void CHtmlView::OnBeforeNavigate2(LPCTSTR, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL*) { }

void CHtmlView::NavigateTo(const CString& strUrl, const CString& strTarget)
{
    if (!m_pBrowserApp)
        return;
    BOOL bCancel = FALSE;
    CByteArray baPostedData;
    const HWND hWnd = m_hWnd;
    OnBeforeNavigate2(strUrl, 0, strTarget, baPostedData, nullptr, &bCancel);
    // The handler may have closed the view: nothing of it is touched then.
    if (bCancel || (hWnd && !::IsWindow(hWnd)) || !m_pBrowserApp)
        return;
    const std::string strAddress(static_cast<LPCTSTR>(strUrl));
    const EHtmlUrlKind eKind = HtmlUrlKind(strAddress);
    const bool bNewWindow = Utf8CompareNoCase(static_cast<LPCTSTR>(strTarget), "_blank") == 0;
    if (eKind == EHtmlUrlKind::Other || (bNewWindow && eKind == EHtmlUrlKind::File)) {
        const std::string strArgument
            = eKind == EHtmlUrlKind::File ? HostArgumentOfPath(HtmlUrlFilePath(strAddress).c_str()) : strAddress;
        LaunchProgram({ "xdg-open", strArgument });
        return;
    }
    const std::optional<std::string> page = ReadHtmlUrl(strAddress);
    m_pBrowserApp->ShowPage(strAddress, page ? *page : std::string());
    m_nScrollY = 0;
    LayOutPage();
}

BOOL CHtmlView::GetLinkRect(LPCTSTR lpszText, RECT* pRect) const
{
    if (!m_pBrowserApp || !m_pBrowserApp->FindLink(lpszText ? lpszText : "", pRect))
        return FALSE;
    ::OffsetRect(pRect, 0, -m_nScrollY);
    return TRUE;
}

/***** Layout, drawing and scrolling *****/

void CHtmlView::LayOutPage()
{
    if (!m_hWnd || !m_pBrowserApp)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    m_pBrowserApp->SetViewSize(rcClient.Width(), rcClient.Height());
    const bool bScroll = m_pBrowserApp->AllowsScrolling() && m_pBrowserApp->GetPageHeight() > rcClient.Height();
    if (bScroll != ((GetStyle() & WS_VSCROLL) != 0)) {
        // Showing or hiding the bar changes the width: lay out again at the new one.
        ::ShowScrollBar(m_hWnd, SB_VERT, bScroll);
        GetClientRect(&rcClient);
        m_pBrowserApp->SetViewSize(rcClient.Width(), rcClient.Height());
    }
    if (bScroll) {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_pBrowserApp->GetPageHeight() - 1,
            static_cast<UINT>(rcClient.Height()), m_nScrollY, 0 };
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    }
    ScrollTo(m_nScrollY);
    Invalidate(TRUE);
}

void CHtmlView::ScrollTo(int nScrollY)
{
    if (!m_pBrowserApp)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const bool bScroll = (GetStyle() & WS_VSCROLL) != 0;
    const int nMax = bScroll ? std::max(0, m_pBrowserApp->GetPageHeight() - rcClient.Height()) : 0;
    nScrollY = std::clamp(nScrollY, 0, nMax);
    if (nScrollY == m_nScrollY)
        return;
    m_nScrollY = nScrollY;
    ::SetScrollPos(m_hWnd, SB_VERT, m_nScrollY, TRUE);
    Invalidate(TRUE);
}

void CHtmlView::OnDraw(CDC* pDC)
{
    if (!m_pBrowserApp)
        return;
    CRect rcClip;
    ::GetClipBox(pDC->GetSafeHdc(), &rcClip);
    m_pBrowserApp->Draw(pDC->GetSafeHdc(), rcClip, m_nScrollY);
}

/***** Handlers *****/

int CHtmlView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pBrowserApp = new CHtmlBrowser;
    return 0;
}

void CHtmlView::OnDestroy()
{
    if (m_pBrowserApp) {
        m_pBrowserApp->Release();
        m_pBrowserApp = nullptr;
    }
    CView::OnDestroy();
}

BOOL CHtmlView::OnEraseBkgnd(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    ::FillRect(pDC->GetSafeHdc(), &rcClient, ::GetSysColorBrush(COLOR_WINDOW));
    return TRUE;
}

void CHtmlView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    LayOutPage();
}

void CHtmlView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    switch (nSBCode) {
    case SB_LINEUP:
        ScrollTo(m_nScrollY - LINE_PIXELS);
        break;
    case SB_LINEDOWN:
        ScrollTo(m_nScrollY + LINE_PIXELS);
        break;
    case SB_PAGEUP:
        ScrollTo(m_nScrollY - rcClient.Height());
        break;
    case SB_PAGEDOWN:
        ScrollTo(m_nScrollY + rcClient.Height());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollTo(static_cast<int>(nPos));
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(INT_MAX);
        break;
    default:
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
        break;
    }
}

BOOL CHtmlView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    ScrollTo(m_nScrollY - zDelta / WHEEL_NOTCH * WHEEL_PIXELS);
    return TRUE;
}

void CHtmlView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pBrowserApp && m_pBrowserApp->MouseMove(POINT { point.x, point.y + m_nScrollY }))
        Invalidate(FALSE);
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT tme { sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0 };
        m_bTrackingLeave = ::TrackMouseEvent(&tme) != FALSE;
    }
    CView::OnMouseMove(nFlags, point);
}

LRESULT CHtmlView::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingLeave = false;
    if (m_pBrowserApp && m_pBrowserApp->MouseLeave())
        Invalidate(FALSE);
    return 0;
}

void CHtmlView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pBrowserApp && m_pBrowserApp->ButtonDown(POINT { point.x, point.y + m_nScrollY }))
        Invalidate(FALSE);
    CView::OnLButtonDown(nFlags, point);
}

void CHtmlView::OnLButtonUp(UINT nFlags, CPoint point)
{
    std::optional<CHtmlLink> clicked;
    if (m_pBrowserApp && m_pBrowserApp->ButtonUp(POINT { point.x, point.y + m_nScrollY }, &clicked))
        Invalidate(FALSE);
    if (clicked) {
        // The page is followed only now that the engine's own handlers are done with it.
        NavigateTo(clicked->strUrl.c_str(), clicked->strTarget.c_str());
        return;
    }
    CView::OnLButtonUp(nFlags, point);
}

BOOL CHtmlView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_pBrowserApp && m_pBrowserApp->IsOverLink()) {
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return CView::OnSetCursor(pWnd, nHitTest, message);
}
