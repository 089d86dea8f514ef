#include "platform/controls/StaticControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <string>

namespace {

struct CStaticState : CControlState {
    UINT nImageType { IMAGE_BITMAP };
    HANDLE hImage { nullptr }; // STM_SETIMAGE; the caller keeps ownership
};

DWORD StaticStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

UINT TextFormat(DWORD dwStyle)
{
    UINT uFormat = 0;
    switch (dwStyle & SS_TYPEMASK) {
    case SS_CENTER:
        uFormat = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
        break;
    case SS_RIGHT:
        uFormat = DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS;
        break;
    case SS_SIMPLE:
        uFormat = DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        uFormat = DT_EXPANDTABS;
        break;
    default:
        uFormat = DT_WORDBREAK | DT_EXPANDTABS;
        break;
    }
    if (dwStyle & SS_NOPREFIX)
        uFormat |= DT_NOPREFIX;
    if ((dwStyle & SS_CENTERIMAGE) && (dwStyle & SS_TYPEMASK) <= SS_RIGHT)
        uFormat |= DT_SINGLELINE | DT_VCENTER;
    switch (dwStyle & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
        uFormat |= DT_END_ELLIPSIS;
        break;
    case SS_PATHELLIPSIS:
        uFormat |= DT_PATH_ELLIPSIS;
        break;
    case SS_WORDELLIPSIS:
        uFormat |= DT_WORD_ELLIPSIS;
        break;
    default:
        break;
    }
    return uFormat;
}

// The system colour of the filled and framed kinds.
int ShapeColor(DWORD dwType)
{
    switch (dwType) {
    case SS_BLACKRECT:
    case SS_BLACKFRAME:
        return COLOR_3DDKSHADOW;
    case SS_GRAYRECT:
    case SS_GRAYFRAME:
        return COLOR_3DSHADOW;
    default:
        return COLOR_3DHILIGHT;
    }
}

void PaintStatic(HWND hWnd, HDC hdc)
{
    const DWORD dwStyle = StaticStyle(hWnd);
    const DWORD dwType = dwStyle & SS_TYPEMASK;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    switch (dwType) {
    case SS_OWNERDRAW:
        SendDrawItem(hWnd, hdc, ODT_STATIC, ODA_DRAWENTIRE, IsWindowEnabled(hWnd) ? 0 : ODS_DISABLED);
        return;
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
        FillRect(hdc, &rc, GetSysColorBrush(ShapeColor(dwType)));
        return;
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        FrameRect(hdc, &rc, GetSysColorBrush(ShapeColor(dwType)));
        return;
    case SS_ETCHEDHORZ:
        DrawEdge(hdc, &rc, EDGE_ETCHED, BF_TOP);
        return;
    case SS_ETCHEDVERT:
        DrawEdge(hdc, &rc, EDGE_ETCHED, BF_LEFT);
        return;
    case SS_ETCHEDFRAME:
        DrawEdge(hdc, &rc, EDGE_ETCHED, BF_RECT);
        return;
    default:
        break;
    }

    HBRUSH hBrush = PrepareControlDC(hWnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &rc, hBrush);
    if (dwType == SS_BITMAP || dwType == SS_ICON) {
        const CStaticState* pState = GetControlState<CStaticState>(hWnd);
        DrawControlImage(hdc, pState->nImageType, pState->hImage, rc, (dwStyle & SS_CENTERIMAGE) != 0);
    } else if (dwType <= SS_RIGHT || dwType == SS_SIMPLE || dwType == SS_LEFTNOWORDWRAP) {
        if (!IsWindowEnabled(hWnd))
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(hdc, TRANSPARENT);
        std::string text = ControlText(hWnd);
        DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rc, TextFormat(dwStyle));
    }
    if (dwStyle & SS_SUNKEN)
        DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT);
}

LRESULT SetImage(HWND hWnd, UINT nImageType, HANDLE hImage)
{
    CStaticState* pState = GetControlState<CStaticState>(hWnd);
    HANDLE hPrevious = pState->hImage;
    pState->nImageType = nImageType;
    pState->hImage = hImage;
    const DWORD dwStyle = StaticStyle(hWnd);
    SIZE size = GetControlImageSize(nImageType, hImage);
    if (!(dwStyle & SS_CENTERIMAGE) && size.cx > 0)
        SetWindowPos(hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hWnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(hPrevious);
}

// An icon control made from a template names its icon in its text.
void OnCreate(HWND hWnd, const CREATESTRUCT* pcs)
{
    if ((StaticStyle(hWnd) & SS_TYPEMASK) != SS_ICON)
        return;
    std::string text = ControlText(hWnd);
    if (HICON hIcon = text.empty() ? nullptr : LoadIcon(pcs->hInstance, text.c_str()))
        SetImage(hWnd, IMAGE_ICON, hIcon);
}

LRESULT GetImage(HWND hWnd, UINT nWanted)
{
    const CStaticState* pState = GetControlState<CStaticState>(hWnd);
    return pState->nImageType == nWanted ? reinterpret_cast<LRESULT>(pState->hImage) : 0;
}

} // namespace

LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CStaticState>, PaintStatic, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    const bool bNotify = (StaticStyle(hWnd) & SS_NOTIFY) != 0;
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hWnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
        return 0;
    case WM_NCHITTEST:
        return bNotify ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETTEXT:
        lResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return lResult;
    case WM_ENABLE:
        InvalidateRect(hWnd, nullptr, TRUE);
        if (bNotify)
            NotifyParent(hWnd, wParam ? STN_ENABLE : STN_DISABLE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (bNotify)
            NotifyParent(hWnd, uMsg == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
        return 0;
    case STM_SETIMAGE:
        if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON)
            return 0;
        return SetImage(hWnd, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam));
    case STM_SETICON:
        return SetImage(hWnd, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
    case STM_GETIMAGE:
        return GetImage(hWnd, static_cast<UINT>(wParam));
    case STM_GETICON:
        return GetImage(hWnd, IMAGE_ICON);
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
