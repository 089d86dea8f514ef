#include "ui/CPopupWnd.h"

#include "platform/framework/CResourceException.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowClass.h"
#include "ui/CPopupCtrl.h"
#include "ui/DropTargets.h"
#include "ui/ListBoxGeometry.h"
#include "ui/PopupHitTable.h"

BEGIN_MESSAGE_MAP(CPopupWnd, CWnd)
    ON_WM_DESTROY()
    ON_WM_DRAWITEM()
    ON_REGISTERED_MESSAGE(g_nMsgPopupSelChanged, &CPopupWnd::OnSelChanged)
    ON_COMMAND(CPopupWnd::ID_SCROLL_UP, &CPopupWnd::OnScrollUp)
    ON_COMMAND(CPopupWnd::ID_SCROLL_DOWN, &CPopupWnd::OnScrollDown)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

/* Styles. */
constexpr DWORD POPUP_EX_STYLE
    = WS_EX_DLGMODALFRAME | WS_EX_NOPARENTNOTIFY | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
constexpr DWORD ARROW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;
constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS
    | LBS_OWNERDRAWVARIABLE | LBS_SORT;

constexpr int EDGES = 3; // edge widths the frame takes on each axis

} // namespace

CPopupWnd::CPopupWnd(LPCSTR pszClassName)
    : m_strClassName(pszClassName)
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASS wc {};
    if (GetClassInfo(hInstance, pszClassName, &wc))
        return;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = pszClassName;
    if (!RegisterClass(&wc))
        AfxThrowResourceException();
}

CPopupWnd::~CPopupWnd()
{
    // Destroyed while the members still are what they are, so the list and
    // the arrow buttons leave the hit table and the drop targets.
    if (GetSafeHwnd())
        DestroyWindow();
}

/* Creating. */

int CPopupWnd::Create(CWnd* pOwner)
{
    if (!CreateEx(POPUP_EX_STYLE, m_strClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        return 0;
    const RECT empty {};
    for (auto [pButton, pszCaption, nId] :
        { std::tuple { &m_btnUp, "^", ID_SCROLL_UP }, std::tuple { &m_btnDown, "v", ID_SCROLL_DOWN } }) {
        if (!pButton->Create(pszCaption, ARROW_STYLE, empty, this, nId))
            return -1;
        RegisterDropTarget(pButton, TRUE);
        RegisterPopupHitWindow(pButton, TRUE);
    }
    CPopupCtrl* pList = GetPopupCtrl();
    if (!pList->Create(LIST_STYLE, empty, this, ID_LIST))
        return 0;
    pList->AttachHost(this, pOwner);
    m_bRightClickAllowed = FALSE;
    m_pResult = nullptr;
    m_bClosed = FALSE;
    m_hPrevCapture = m_hPrevFocus = nullptr;
    // A window made again starts afresh: the first move counts wherever it is.
    m_pMouseTarget = nullptr;
    m_lastPoint = CPoint(-1, -1);
    return 1;
}

/* The modal loop. */

void* CPopupWnd::TrackPopup(const POINT* pPos, const RECT* pAvoid, const RECT* pParentItemRect)
{
    m_hPrevCapture = ::SetCapture(m_hWnd);
    m_hPrevFocus = ::GetFocus();
    m_pResult = nullptr;
    m_bClosed = FALSE;
    m_nInputMode = CPopupCtrl::MODE_MOUSE;
    FitOnScreen(pPos, pAvoid);
    GetPopupCtrl()->Open(CPopupCtrl::MODE_MOUSE, pParentItemRect);
    POINT cursor {};
    GetCursorPos(&cursor);
    SetMouseTarget(cursor);
    // Whoever pumps while the loop waits (a test acting inside it) filters as the loop does.
    const CModalLoopFilter previous = SetModalLoopFilter(CModalLoopFilter { &CPopupWnd::FilterForLoop, this });
    while (!m_bClosed) {
        MSG msg {};
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The program ends: the chain closes and the loop outside takes the quit.
            CloseChain();
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!FilterMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    SetModalLoopFilter(previous);
    // Closing gave the capture back to whoever held it before; only our own is released.
    if (!m_hPrevCapture || ::GetCapture() != m_hPrevCapture)
        ::ReleaseCapture();
    return m_pResult;
}

BOOL CPopupWnd::FilterForLoop(void* pContext, MSG* pMsg)
{
    return static_cast<CPopupWnd*>(pContext)->FilterMessage(pMsg);
}

CWnd* CPopupWnd::FindLabelEditor()
{
    HWND hFocus = ::GetFocus();
    if (!hFocus)
        return nullptr;
    for (int i = GetPopupHitCount() - 1; i >= 0; --i) {
        CWnd* pList = GetPopupHitWindow(i);
        if (GetPopupHitKind(i) == POPUP_HIT_LIST && ::IsChild(pList->GetSafeHwnd(), hFocus))
            return CWnd::FromHandle(hFocus);
    }
    return nullptr;
}

BOOL CPopupWnd::FilterEditorMessage(CWnd* pEditor, const MSG* pMsg)
{
    const BOOL bPress = pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_RBUTTONDOWN
        || pMsg->message == WM_MBUTTONDOWN || pMsg->message == WM_LBUTTONDBLCLK;
    if (!bPress || pMsg->hwnd == pEditor->GetSafeHwnd())
        return FALSE; // keys and the rest as usual: the editor has the focus
    POINT screen { static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)) };
    ::ClientToScreen(pMsg->hwnd, &screen);
    RECT editor {};
    pEditor->GetWindowRect(&editor);
    if (PtInRect(&editor, screen)) {
        POINT client = screen;
        pEditor->ScreenToClient(&client);
        pEditor->SendMessage(pMsg->message, pMsg->wParam, MAKELPARAM(client.x, client.y));
        return TRUE;
    }
    // A press elsewhere ends the edit first; the list then goes on as its end says.
    if (CWnd* pList = pEditor->GetParent())
        pList->SetFocus();
    return TRUE;
}

BOOL CPopupWnd::FilterMessage(const MSG* pMsg)
{
    if (m_bClosed)
        return FALSE;
    if (CWnd* pEditor = FindLabelEditor())
        return FilterEditorMessage(pEditor, pMsg);
    if (pMsg->message == WM_KEYDOWN) {
        if (m_nInputMode != CPopupCtrl::MODE_KEYBOARD)
            RouteMouse(CPopupCtrl::MODE_KEYBOARD, 0, CPoint());
        auto* pTarget = static_cast<CPopupCtrl*>(GetPopupHitWindow(FindKeyboardPopup()));
        if (pTarget && pMsg->wParam == VK_RETURN)
            m_pResult = pTarget->ChooseHotItem();
        else if (pTarget)
            pTarget->OnKeyDown(static_cast<UINT>(pMsg->wParam));
        return TRUE;
    }
    if (pMsg->message == WM_SYSKEYDOWN) {
        if (pMsg->wParam == VK_MENU)
            CloseChain();
        return TRUE;
    }
    return FALSE;
}

void CPopupWnd::CloseChain()
{
    m_pResult = nullptr;
    if (GetSafeHwnd())
        GetPopupCtrl()->Close(FALSE);
}

/* Mouse routing. */

CWnd* CPopupWnd::HitWindowAt(POINT screen)
{
    HWND hWnd = ::WindowFromPoint(screen);
    CWnd* pWnd = hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    return pWnd && FindPopupHitWindow(pWnd) >= 0 ? pWnd : nullptr;
}

CWnd* CPopupWnd::MouseTarget() const
{
    return m_pMouseTarget && FindPopupHitWindow(m_pMouseTarget) >= 0 ? m_pMouseTarget : nullptr;
}

void CPopupWnd::SetMouseTarget(POINT screen)
{
    m_pMouseTarget = HitWindowAt(screen);
}

void CPopupWnd::RouteMouse(int nMode, UINT nFlags, CPoint point)
{
    m_nInputMode = nMode;
    for (int i = 0; i < GetPopupHitCount(); ++i)
        if (GetPopupHitKind(i) == POPUP_HIT_LIST)
            static_cast<CPopupCtrl*>(GetPopupHitWindow(i))->SetMode(nMode);
    if (nMode != CPopupCtrl::MODE_MOUSE)
        return;
    POINT screen = point;
    ClientToScreen(&screen);
    SetMouseTarget(screen);
    MoveMouse(nFlags, point);
}

void CPopupWnd::RouteIfKeyboard(UINT nFlags, CPoint point)
{
    if (m_nInputMode == CPopupCtrl::MODE_KEYBOARD)
        RouteMouse(CPopupCtrl::MODE_MOUSE, nFlags, point);
}

void CPopupWnd::MoveMouse(UINT nFlags, CPoint point)
{
    POINT screen = point;
    ClientToScreen(&screen);
    auto* pList = dynamic_cast<CPopupCtrl*>(MouseTarget());
    if (!pList)
        return;
    pList->ScreenToClient(&screen);
    pList->OnMouseMove(nFlags, screen.x, screen.y);
}

void CPopupWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    CWnd::OnMouseMove(nFlags, point);
    if (point == m_lastPoint)
        return;
    m_lastPoint = point;
    if (m_nInputMode == CPopupCtrl::MODE_KEYBOARD) {
        RouteMouse(CPopupCtrl::MODE_MOUSE, nFlags, point);
        return;
    }
    POINT screen = point;
    ClientToScreen(&screen);
    CWnd* pOld = MouseTarget();
    CWnd* pNew = HitWindowAt(screen);
    if (pNew != pOld) {
        if (auto* pList = dynamic_cast<CPopupCtrl*>(pOld))
            pList->OnMouseLeave();
        else if (auto* pButton = dynamic_cast<CBtnSetaPopup*>(pOld))
            pButton->StopRepeat();
        // Leaving may have closed windows of the chain: look again.
        pNew = HitWindowAt(screen);
        m_pMouseTarget = pNew;
        if (auto* pList = dynamic_cast<CPopupCtrl*>(pNew))
            pList->OnMouseEnter();
        else if (auto* pButton = dynamic_cast<CBtnSetaPopup*>(pNew))
            pButton->StartRepeat();
    }
    MoveMouse(nFlags, point);
}

void CPopupWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    RouteIfKeyboard(nFlags, point);
    if (!MouseTarget())
        CloseChain();
}

void CPopupWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    RouteIfKeyboard(nFlags, point);
    if (auto* pList = dynamic_cast<CPopupCtrl*>(MouseTarget()))
        m_pResult = pList->ChooseHotItem();
    else
        CloseChain();
}

void CPopupWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    RouteIfKeyboard(nFlags, point);
    if (!m_bRightClickAllowed)
        return;
    m_pResult = nullptr;
    if (auto* pList = dynamic_cast<CPopupCtrl*>(MouseTarget()))
        m_bClosed = pList->OnRightClick();
    else
        CloseChain();
}

/* Placement. */

void CPopupWnd::FitOnScreen(const POINT* pPos, const RECT* pAvoid)
{
    CPopupCtrl* pList = GetPopupCtrl();
    const int nWidth = pList->GetPopupWidth();
    int nHeight = 0;
    for (int i = 0; i < pList->GetCount(); ++i)
        nHeight += pList->GetItemHeight(i);
    const int nRow = pList->GetCount() > 0 ? pList->GetItemHeight(0) : 0;
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);

    RECT rect { pPos->x, pPos->y, pPos->x + nWidth + EDGES * GetSystemMetrics(SM_CXEDGE),
        pPos->y + nHeight + EDGES * GetSystemMetrics(SM_CYEDGE) };
    if (pAvoid && rect.left <= pAvoid->left)
        OffsetRect(&rect, pAvoid->left - rect.right, 0);
    if (rect.left < 0)
        OffsetRect(&rect, -rect.left, 0);
    if (rect.right > cxScreen)
        OffsetRect(&rect, rect.right - cxScreen > rect.left ? -rect.left : cxScreen - rect.right, 0);
    BOOL bScrolls = FALSE;
    while (nRow > 0 && rect.bottom - rect.top > cyScreen * 3 / 4) {
        rect.bottom -= nRow;
        bScrolls = TRUE;
    }
    if (rect.bottom > cyScreen)
        OffsetRect(&rect, 0, rect.bottom - cyScreen > rect.top ? -rect.top : cyScreen - rect.bottom);
    RECT overlap {};
    if (pAvoid && IntersectRect(&overlap, &rect, pAvoid)) {
        const int cx = rect.right - rect.left;
        const int cy = rect.bottom - rect.top;
        if (pAvoid->right + cx <= cxScreen)
            OffsetRect(&rect, pAvoid->right - rect.left, 0);
        else if (pAvoid->left - cx >= 1)
            OffsetRect(&rect, pAvoid->left - rect.right, 0);
        else if (pAvoid->bottom + cy <= cyScreen)
            OffsetRect(&rect, 0, pAvoid->bottom - rect.top);
        else if (pAvoid->top - cy >= 1)
            OffsetRect(&rect, 0, pAvoid->top - rect.bottom);
    }

    SetWindowPos(
        &wndTop, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RECT client {};
    GetClientRect(&client);
    pList->MoveWindow(&client);
    // Above the list they overlap, so the cursor finds them there.
    m_btnUp.SetWindowPos(&wndTop, 0, 0, client.right, nRow, SWP_SHOWWINDOW);
    m_btnDown.SetWindowPos(&wndTop, 0, client.bottom - nRow, client.right, nRow, SWP_SHOWWINDOW);
    ShowButton(m_btnUp, FALSE);
    ShowButton(m_btnDown, bScrolls);
}

/* Scrolling. */

void CPopupWnd::ShowButton(CBtnSetaPopup& button, BOOL bShow)
{
    button.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

LRESULT CPopupWnd::OnSelChanged(WPARAM wParam, LPARAM /*lParam*/)
{
    CPopupCtrl* pList = GetPopupCtrl();
    const int nSelected = static_cast<int>(wParam);
    const int nLast = pList->GetCount() - 1;
    const int nTop = pList->GetTopIndex();
    const int nLastFull = GetListBoxLastFullItem(pList);
    if (nSelected == nTop) {
        if (nTop != 0) {
            OnScrollUp();
        } else if (nLastFull != nLast) {
            ShowButton(m_btnUp, FALSE);
            ShowButton(m_btnDown, TRUE);
        }
    } else if (nSelected == nLastFull) {
        if (nSelected != nLast) {
            OnScrollDown();
        } else if (nTop > 0) {
            ShowButton(m_btnUp, TRUE);
            ShowButton(m_btnDown, FALSE);
        }
    }
    return 0;
}

void CPopupWnd::OnScrollUp()
{
    CPopupCtrl* pList = GetPopupCtrl();
    const int nTop = pList->GetTopIndex();
    if (nTop <= 0)
        return;
    const BOOL bWasAtEnd = GetListBoxLastFullItem(pList) == pList->GetCount() - 1;
    pList->SetTopIndex(nTop - 1);
    if (bWasAtEnd)
        ShowButton(m_btnDown, TRUE);
    if (nTop - 1 == 0)
        ShowButton(m_btnUp, FALSE);
}

void CPopupWnd::OnScrollDown()
{
    CPopupCtrl* pList = GetPopupCtrl();
    const int nLast = pList->GetCount() - 1;
    if (GetListBoxLastPartialItem(pList) > nLast)
        return;
    const int nTop = pList->GetTopIndex();
    pList->SetTopIndex(nTop + 1);
    if (nTop == 0)
        ShowButton(m_btnUp, TRUE);
    if (GetListBoxLastPartialItem(pList) == nLast)
        ShowButton(m_btnDown, FALSE);
}

/* Drawing. */

void CPopupWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl == static_cast<int>(ID_SCROLL_UP))
        DrawArrowFrame(lpDrawItemStruct, DFCS_SCROLLUP);
    else if (nIDCtl == static_cast<int>(ID_SCROLL_DOWN))
        DrawArrowFrame(lpDrawItemStruct, DFCS_SCROLLDOWN);
    else
        CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

/* Destruction. */

void CPopupWnd::OnDestroy()
{
    m_bDragMode = FALSE;
    m_bClosed = TRUE;
    if (m_hPrevCapture && ::IsWindow(m_hPrevCapture))
        ::SetCapture(m_hPrevCapture);
    if (m_hPrevFocus && ::IsWindow(m_hPrevFocus) && ::GetFocus() != m_hPrevFocus)
        ::SetFocus(m_hPrevFocus);
    CWnd::OnDestroy();
}
