// The default handling of input, focus, painting and the non-client area
// (see DefWindowProc in Window.h), declared in WindowInternal.h.
#include "platform/window/WindowInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MenuInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cwctype>

namespace {

POINT PointFromParam(LPARAM lParam)
{
    return POINT { static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)) };
}

// The window's geometry in window coordinates, from its styles.
struct CFrameLayout {
    RECT rcWindow {}; // (0, 0, width, height)
    RECT rcClient {};
    RECT rcCaption {}; // empty without a caption
    SIZE outer {};     // the outer frame's width and height
    DWORD dwStyle { 0 };
    DWORD dwExStyle { 0 };
};

CFrameLayout LayOutFrame(HWND hWnd)
{
    CFrameLayout layout;
    RECT rcScreen {};
    GetWindowRect(hWnd, &rcScreen);
    layout.rcWindow = { 0, 0, rcScreen.right - rcScreen.left, rcScreen.bottom - rcScreen.top };
    GetClientRect(hWnd, &layout.rcClient);
    POINT pt { 0, 0 };
    ClientToScreen(hWnd, &pt);
    OffsetRect(&layout.rcClient, pt.x - rcScreen.left, pt.y - rcScreen.top);
    layout.dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    layout.dwExStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_EXSTYLE));
    layout.outer = OuterFrameOf(layout.dwStyle, layout.dwExStyle);
    if ((layout.dwStyle & WS_CAPTION) == WS_CAPTION) {
        int nCaption = GetSystemMetrics((layout.dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
        layout.rcCaption = { layout.outer.cx, layout.outer.cy, layout.rcWindow.right - layout.outer.cx,
            layout.outer.cy + nCaption - 1 }; // the last row is the line under the caption
    }
    return layout;
}

// The caption buttons from the right: close, then maximize (or restore) and
// minimize, both shown when the style has either box. Empty when not shown.
RECT CaptionButtonRect(const CFrameLayout& layout, LRESULT nHit)
{
    if (!(layout.dwStyle & WS_SYSMENU) || IsRectEmpty(&layout.rcCaption))
        return RECT {};
    int nPlace = nHit == HTCLOSE ? 0 : nHit == HTMAXBUTTON ? 1 : 2;
    if (nPlace > 0 && !(layout.dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        return RECT {};
    int cx = GetSystemMetrics(SM_CXSIZE);
    RECT rc = layout.rcCaption;
    rc.right -= nPlace * cx;
    rc.left = std::max(rc.left, rc.right - cx);
    return rc;
}

constexpr LRESULT CAPTION_BUTTONS[] = { HTCLOSE, HTMAXBUTTON, HTMINBUTTON };

LRESULT HitTest(HWND hWnd, POINT pt)
{
    RECT rcScreen {};
    GetWindowRect(hWnd, &rcScreen);
    if (!PtInRect(&rcScreen, pt))
        return HTNOWHERE;
    CFrameLayout layout = LayOutFrame(hWnd);
    POINT ptWindow { pt.x - rcScreen.left, pt.y - rcScreen.top };
    if (PtInRect(&layout.rcClient, ptWindow))
        return HTCLIENT;
    const RECT& rcClient = layout.rcClient;
    bool bVert = (layout.dwStyle & WS_VSCROLL) != 0;
    bool bHorz = (layout.dwStyle & WS_HSCROLL) != 0;
    RECT rcVert { rcClient.right, rcClient.top, rcClient.right + GetSystemMetrics(SM_CXVSCROLL), rcClient.bottom };
    RECT rcHorz { rcClient.left, rcClient.bottom, rcClient.right, rcClient.bottom + GetSystemMetrics(SM_CYHSCROLL) };
    if (bVert && PtInRect(&rcVert, ptWindow))
        return HTVSCROLL;
    if (bHorz && PtInRect(&rcHorz, ptWindow))
        return HTHSCROLL;
    if (bVert && bHorz) {
        RECT rcBox { rcVert.left, rcHorz.top, rcVert.right, rcHorz.bottom };
        if (PtInRect(&rcBox, ptWindow))
            return HTGROWBOX;
    }
    if (layout.dwStyle & WS_THICKFRAME) {
        bool bLeft = ptWindow.x < layout.outer.cx;
        bool bRight = ptWindow.x >= layout.rcWindow.right - layout.outer.cx;
        bool bTop = ptWindow.y < layout.outer.cy;
        bool bBottom = ptWindow.y >= layout.rcWindow.bottom - layout.outer.cy;
        if (bTop)
            return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBottom)
            return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft)
            return HTLEFT;
        if (bRight)
            return HTRIGHT;
    }
    RECT rcMenuBar = MenuBarRect(hWnd);
    if (PtInRect(&rcMenuBar, ptWindow))
        return HTMENU;
    if (PtInRect(&layout.rcCaption, ptWindow)) {
        for (LRESULT nButton : CAPTION_BUTTONS) {
            RECT rcButton = CaptionButtonRect(layout, nButton);
            if (PtInRect(&rcButton, ptWindow))
                return nButton;
        }
        return HTCAPTION;
    }
    return HTBORDER;
}

// The class of a window, or nullptr.
std::shared_ptr<CWindowClass> ClassOf(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    return pWindow ? pWindow->pClass : nullptr;
}

// The class's background brush: a handle, or a COLOR_* value plus one.
HBRUSH ClassBrush(HWND hWnd)
{
    std::shared_ptr<CWindowClass> pClass = ClassOf(hWnd);
    HBRUSH hbr = pClass ? pClass->hbrBackground : nullptr;
    auto nValue = reinterpret_cast<ULONG_PTR>(hbr);
    if (nValue > 0 && nValue <= COLOR_MENUBAR + 1)
        return GetSysColorBrush(static_cast<int>(nValue - 1));
    return hbr;
}

void PaintFrame(HWND hWnd)
{
    CFrameLayout layout = LayOutFrame(hWnd);
    HDC hdc = GetWindowDC(hWnd);
    if (!hdc)
        return;
    ExcludeClipRect(hdc, layout.rcClient.left, layout.rcClient.top, layout.rcClient.right, layout.rcClient.bottom);
    RECT rc = layout.rcWindow;
    bool bOuter3d = (layout.dwStyle & (WS_THICKFRAME | WS_DLGFRAME)) || (layout.dwExStyle & WS_EX_DLGMODALFRAME);
    if (bOuter3d) {
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
    } else if (layout.dwStyle & WS_BORDER) {
        FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    if (!IsRectEmpty(&layout.rcCaption)) {
        bool bActive = GetActiveWindow() == hWnd;
        RECT rcCaption = layout.rcCaption;
        FillRect(hdc, &rcCaption, GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        char szText[256] {};
        GetWindowText(hWnd, szText, sizeof(szText));
        RECT rcText = rcCaption;
        rcText.left += 3;
        for (LRESULT nButton : CAPTION_BUTTONS) {
            RECT rcButton = CaptionButtonRect(layout, nButton);
            if (IsRectEmpty(&rcButton))
                continue;
            rcText.right = rcButton.left - 2;
            InflateRect(&rcButton, -2, -2);
            UINT nGlyph = nButton == HTCLOSE ? DFCS_CAPTIONCLOSE
                : nButton == HTMINBUTTON     ? DFCS_CAPTIONMIN
                : IsZoomed(hWnd)             ? DFCS_CAPTIONRESTORE
                                             : DFCS_CAPTIONMAX;
            bool bEnabled = nButton == HTCLOSE || (nButton == HTMINBUTTON && (layout.dwStyle & WS_MINIMIZEBOX))
                || (nButton == HTMAXBUTTON && (layout.dwStyle & WS_MAXIMIZEBOX));
            DrawFrameControl(hdc, &rcButton, DFC_CAPTION, nGlyph | (bEnabled ? 0 : DFCS_INACTIVE));
        }
        HGDIOBJ hOldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawText(hdc, szText, -1, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(hdc, hOldFont);
    }
    RECT rcInside = layout.rcClient;
    if (layout.dwStyle & WS_VSCROLL)
        rcInside.right += GetSystemMetrics(SM_CXVSCROLL);
    if (layout.dwStyle & WS_HSCROLL)
        rcInside.bottom += GetSystemMetrics(SM_CYHSCROLL);
    if (layout.dwExStyle & WS_EX_CLIENTEDGE) {
        RECT rcEdge = rcInside;
        InflateRect(&rcEdge, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
        DrawEdge(hdc, &rcEdge, EDGE_SUNKEN, BF_RECT);
    } else if (layout.dwExStyle & WS_EX_STATICEDGE) {
        RECT rcEdge = rcInside;
        InflateRect(&rcEdge, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
        DrawEdge(hdc, &rcEdge, BDR_SUNKENOUTER, BF_RECT);
    }
    PaintMenuBar(hWnd, hdc);
    DrawScrollBars(hWnd, hdc);
    ReleaseDC(hWnd, hdc);
}

// The parent of a child window, which some messages ask first.
HWND ParentOfChild(HWND hWnd)
{
    return (GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) ? GetParent(hWnd) : nullptr;
}

// The system command of a caption button: the maximize box restores a maximized or minimized window.
WPARAM CaptionButtonCommand(HWND hWnd, LRESULT nButton)
{
    if (nButton == HTCLOSE)
        return SC_CLOSE;
    if (nButton == HTMINBUTTON)
        return SC_MINIMIZE;
    return IsZoomed(hWnd) || IsIconic(hWnd) ? SC_RESTORE : SC_MAXIMIZE;
}

// Follows a press on a caption button until the mouse button comes up:
// released over the same caption button, it sends the button's system command
// (WM_SYSCOMMAND SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE); anywhere
// else, nothing happens. A box the style lacks does nothing.
void TrackCaptionButton(HWND hWnd, LRESULT nButton)
{
    auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    if ((nButton == HTMINBUTTON && !(dwStyle & WS_MINIMIZEBOX))
        || (nButton == HTMAXBUTTON && !(dwStyle & WS_MAXIMIZEBOX)))
        return;
    HWND hOldCapture = SetCapture(hWnd);
    POINT ptRelease {};
    bool bReleased = false;
    MSG msg {};
    while (NextPressMessage(&msg)) {
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            ptRelease = msg.pt;
            bReleased = true;
            break;
        }
    }
    EndPressCapture(hWnd, hOldCapture);
    if (bReleased && IsWindow(hWnd) && HitTest(hWnd, ptRelease) == nButton)
        SendMessage(hWnd, WM_SYSCOMMAND, CaptionButtonCommand(hWnd, nButton),
            MAKELPARAM(static_cast<WORD>(ptRelease.x), static_cast<WORD>(ptRelease.y)));
}

void SendContextMenu(HWND hWnd, LPARAM lParamPoint)
{
    SendMessage(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), lParamPoint);
}

// The context menu's point for the keyboard.
constexpr LPARAM KEYBOARD_POINT = -1;

}

LRESULT DefWindowProcInputAndPaint(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCHITTEST:
        return HitTest(hWnd, PointFromParam(lParam));
    case WM_NCPAINT:
        PaintFrame(hWnd);
        return 0;
    case WM_NCCALCSIZE: {
        // The client area the styles leave: in rgrc[0] with wParam TRUE, else in the RECT itself.
        RECT* pRect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowLocked(hWnd); pWindow && pRect)
            *pRect = ClientRectForLocked(*pWindow, *pRect);
        return 0;
    }
    case WM_NCACTIVATE:
        // Only the caption changes colour: repaint the frame now, leaving the
        // client area's update region as it is.
        if (IsWindowVisible(hWnd))
            PaintFrame(hWnd);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(hWnd);
        return 0;
    case WM_SETCURSOR: {
        if (HWND hParent = ParentOfChild(hWnd)) {
            if (SendMessage(hParent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
        }
        std::shared_ptr<CWindowClass> pClass = ClassOf(hWnd);
        HCURSOR hClassCursor = pClass ? pClass->hCursor : nullptr;
        if (static_cast<SHORT>(LOWORD(lParam)) == HTCLIENT && hClassCursor)
            SetCursor(hClassCursor);
        else if (static_cast<SHORT>(LOWORD(lParam)) != HTCLIENT)
            SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return FALSE;
    }
    case WM_MOUSEACTIVATE:
        if (HWND hParent = ParentOfChild(hWnd)) {
            if (LRESULT nAnswer = SendMessage(hParent, WM_MOUSEACTIVATE, wParam, lParam))
                return nAnswer;
        }
        return MA_ACTIVATE;
    case WM_MOUSEWHEEL:
        if (HWND hParent = ParentOfChild(hWnd))
            return SendMessage(hParent, uMsg, wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        HBRUSH hbr = ClassBrush(hWnd);
        if (!hbr)
            return 0;
        RECT rc {};
        GetClipBox(reinterpret_cast<HDC>(wParam), &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, hbr);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps {};
        if (BeginPaint(hWnd, &ps))
            EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_SETREDRAW: {
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowLocked(hWnd))
            pWindow->bRedrawOff = !wParam;
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(DefaultControlColors(reinterpret_cast<HDC>(wParam), uMsg));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam == static_cast<WPARAM>(HTVSCROLL) || wParam == static_cast<WPARAM>(HTHSCROLL))
            ClickScrollBar(hWnd, wParam == static_cast<WPARAM>(HTVSCROLL) ? SB_VERT : SB_HORZ, PointFromParam(lParam));
        else if (wParam == static_cast<WPARAM>(HTMENU))
            ClickMenuBar(hWnd, PointFromParam(lParam));
        else if (wParam == static_cast<WPARAM>(HTCLOSE) || wParam == static_cast<WPARAM>(HTMINBUTTON)
            || wParam == static_cast<WPARAM>(HTMAXBUTTON))
            TrackCaptionButton(hWnd, static_cast<LRESULT>(wParam));
        else if (wParam == static_cast<WPARAM>(HTCAPTION) && uMsg == WM_NCLBUTTONDBLCLK) {
            // A double click on the caption maximizes, or restores.
            auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
            if (dwStyle & WS_MAXIMIZEBOX)
                SendMessage(hWnd, WM_SYSCOMMAND, IsZoomed(hWnd) || IsIconic(hWnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        } else if (wParam == static_cast<WPARAM>(HTCAPTION))
            SendMessage(hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        else if (wParam >= static_cast<WPARAM>(HTLEFT) && wParam <= static_cast<WPARAM>(HTBOTTOMRIGHT))
            SendMessage(hWnd, WM_SYSCOMMAND, SC_SIZE | (wParam - HTLEFT + 1), lParam);
        return 0;
    case WM_RBUTTONUP: {
        POINT pt = PointFromParam(lParam);
        ClientToScreen(hWnd, &pt);
        SendContextMenu(hWnd, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return 0;
    }
    case WM_NCRBUTTONUP:
        SendContextMenu(hWnd, lParam);
        return 0;
    case WM_KEYF1: {
        HELPINFO info { sizeof(HELPINFO), HELPINFO_WINDOW, GetDlgCtrlID(hWnd), hWnd, 0, {} };
        GetCursorPos(&info.MousePos);
        SendMessage(hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return 0;
    }
    case WM_HELP:
        // A child that gives no help lets its parent give it.
        if (HWND hParent = ParentOfChild(hWnd))
            return SendMessage(hParent, WM_HELP, wParam, lParam);
        return TRUE;
    case WM_CONTEXTMENU:
        // A child that does not show a menu of its own lets its parent show one.
        if (HWND hParent = ParentOfChild(hWnd))
            SendMessage(hParent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
            SendContextMenu(hWnd, KEYBOARD_POINT);
        else if (uMsg == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & (1 << 29)))
            SendMessage(GetAncestor(hWnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0); // Alt+F4
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (wParam == VK_APPS)
            SendContextMenu(hWnd, KEYBOARD_POINT);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(hWnd, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(hWnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(hWnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(hWnd, SW_RESTORE);
            break;
        case SC_MOVE:
        case SC_SIZE:
            RunSizeMoveLoop(hWnd, wParam, PointFromParam(lParam));
            break;
        default:
            break;
        }
        return 0;
    case WM_SYSCHAR:
        // Alt with a letter opens the menu of the top-level window's bar item with that mnemonic.
        OpenMenuBarByMnemonic(
            GetAncestor(hWnd, GA_ROOT), static_cast<char32_t>(std::towlower(static_cast<wint_t>(wParam))));
        return 0;
    default:
        return 0;
    }
}

bool NextPressMessage(MSG* pMsg)
{
    for (;;) {
        if (PeekMessage(pMsg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)
            || PeekMessage(pMsg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE))
            return true;
        // The release may have been routed before the capture was taken; without it the press is over.
        if (!IsButtonDown(VK_LBUTTON) && !GetInputState())
            return false;
        WaitMessage();
    }
}

void EndPressCapture(HWND hWnd, HWND hOldCapture)
{
    if (GetCapture() != hWnd)
        return;
    if (hOldCapture)
        SetCapture(hOldCapture);
    else
        ReleaseCapture();
}
