#include "platform/controls/ControlInternal.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <limits>

void AttachControlState(HWND hWnd, std::unique_ptr<CControlState> pState)
{
    SetWindowLongPtr(hWnd, CONTROL_STATE_OFFSET, reinterpret_cast<LONG_PTR>(pState.release()));
}

CControlState* GetControlStateBase(HWND hWnd)
{
    return reinterpret_cast<CControlState*>(GetWindowLongPtr(hWnd, CONTROL_STATE_OFFSET));
}

void DestroyControlState(HWND hWnd)
{
    delete GetControlStateBase(hWnd);
    SetWindowLongPtr(hWnd, CONTROL_STATE_OFFSET, 0);
}

std::string ControlText(HWND hWnd)
{
    std::string strText(static_cast<size_t>(GetWindowTextLength(hWnd)) + 1, '\0');
    strText.resize(static_cast<size_t>(GetWindowText(hWnd, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

HWND ControlParent(HWND hWnd)
{
    if (CControlState* pState = GetControlStateBase(hWnd); pState && pState->hControlParent)
        return pState->hControlParent;
    return GetParent(hWnd);
}

void SetControlParent(HWND hWnd, HWND hParent)
{
    if (CControlState* pState = GetControlStateBase(hWnd))
        pState->hControlParent = hParent;
}

void NotifyParent(HWND hWnd, WORD nCode)
{
    HWND hParent = ControlParent(hWnd);
    if (!hParent)
        return;
    WPARAM wParam = static_cast<DWORD>(MAKELONG(static_cast<WORD>(GetDlgCtrlID(hWnd)), nCode));
    SendMessage(hParent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(hWnd));
}

HBRUSH PrepareControlDC(HWND hWnd, HDC hdc, UINT uCtlColorMsg)
{
    if (CControlState* pState = GetControlStateBase(hWnd); pState && pState->hFont)
        SelectObject(hdc, pState->hFont);
    HBRUSH hDefault = DefaultControlColors(hdc, uCtlColorMsg);
    HBRUSH hBrush = nullptr;
    if (HWND hParent = ControlParent(hWnd))
        hBrush = reinterpret_cast<HBRUSH>(
            SendMessage(hParent, uCtlColorMsg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd)));
    return hBrush ? hBrush : hDefault;
}

CControlMeasureDC::CControlMeasureDC(HWND hWnd, HFONT hFont)
    : m_hdc(CreateCompatibleDC(nullptr))
{
    if (!hFont) {
        if (CControlState* pState = GetControlStateBase(hWnd))
            hFont = pState->hFont;
    }
    if (hFont)
        SelectObject(m_hdc, hFont);
}

CControlMeasureDC::~CControlMeasureDC()
{
    DeleteDC(m_hdc);
}

int CControlMeasureDC::TextWidth(std::string_view text) const
{
    SIZE size {};
    GetTextExtentPoint32(m_hdc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

SIZE CControlMeasureDC::DrawnSize(std::string_view text, UINT nFormat, int nWidth) const
{
    RECT rc { 0, 0, nWidth, 0 };
    DrawText(m_hdc, text.data(), static_cast<int>(text.size()), &rc, nFormat | DT_CALCRECT);
    return SIZE { rc.right - rc.left, rc.bottom - rc.top };
}

TEXTMETRIC CControlMeasureDC::Metrics() const
{
    TEXTMETRIC tm {};
    GetTextMetrics(m_hdc, &tm);
    return tm;
}

int ControlFontHeight(HWND hWnd)
{
    return CControlMeasureDC(hWnd).Metrics().tmHeight;
}

BOOL HandleFontMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CControlState* pState = GetControlStateBase(hWnd);
    if (!pState || (uMsg != WM_SETFONT && uMsg != WM_GETFONT))
        return FALSE;
    if (uMsg == WM_GETFONT) {
        *plResult = reinterpret_cast<LRESULT>(pState->hFont);
        return TRUE;
    }
    pState->hFont = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam))
        InvalidateRect(hWnd, nullptr, TRUE);
    *plResult = 0;
    return TRUE;
}

void SendDrawItem(HWND hWnd, HDC hdc, UINT nCtlType, UINT nItemAction, UINT nItemState)
{
    HWND hParent = ControlParent(hWnd);
    if (!hParent)
        return;
    DRAWITEMSTRUCT dis {};
    dis.CtlType = nCtlType;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hWnd));
    dis.itemAction = nItemAction;
    dis.itemState = nItemState;
    dis.hwndItem = hWnd;
    dis.hDC = hdc;
    GetClientRect(hWnd, &dis.rcItem);
    // The owner draws in the control's own font, as the control would.
    const auto hFont = reinterpret_cast<HGDIOBJ>(SendMessage(hWnd, WM_GETFONT, 0, 0));
    const HGDIOBJ hOldFont = hFont ? SelectObject(hdc, hFont) : nullptr;
    SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    if (hOldFont)
        SelectObject(hdc, hOldFont);
}

SIZE GetControlImageSize(UINT nImageType, HANDLE hImage)
{
    if (!hImage)
        return SIZE { 0, 0 };
    BITMAP bm {};
    if (nImageType == IMAGE_BITMAP)
        return GetObject(hImage, sizeof(bm), &bm) ? SIZE { bm.bmWidth, bm.bmHeight } : SIZE { 0, 0 };
    if (nImageType != IMAGE_ICON)
        return SIZE { 0, 0 };
    ICONINFO info {};
    if (!GetIconInfo(static_cast<HICON>(hImage), &info))
        return SIZE { 0, 0 };
    SIZE size { 0, 0 };
    // A monochrome icon's mask holds the AND and the XOR halves one above the other.
    if (GetObject(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm))
        size = SIZE { bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2 };
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return size;
}

void DrawControlImage(HDC hdc, UINT nImageType, HANDLE hImage, const RECT& rc, BOOL bCenter)
{
    SIZE size = GetControlImageSize(nImageType, hImage);
    if (size.cx == 0 || size.cy == 0)
        return;
    int x = rc.left;
    int y = rc.top;
    if (bCenter) {
        x += (rc.right - rc.left - size.cx) / 2;
        y += (rc.bottom - rc.top - size.cy) / 2;
    }
    if (nImageType == IMAGE_ICON) {
        DrawIconEx(hdc, x, y, static_cast<HICON>(hImage), size.cx, size.cy, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC hMemDC = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hMemDC, hImage);
    BitBlt(hdc, x, y, size.cx, size.cy, hMemDC, 0, 0, SRCCOPY);
    SelectObject(hMemDC, hOld);
    DeleteDC(hMemDC);
}

void PaintControl(HWND hWnd, void (*fnPaint)(HWND hWnd, HDC hdc))
{
    PAINTSTRUCT ps {};
    if (HDC hdc = BeginPaint(hWnd, &ps))
        fnPaint(hWnd, hdc);
    EndPaint(hWnd, &ps);
}

BOOL HandleControlLifecycle(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, const CControlLifecycle& lifecycle, LRESULT* plResult)
{
    if (lifecycle.bFontMessages && HandleFontMessage(hWnd, uMsg, wParam, lParam, plResult))
        return TRUE;
    if (uMsg == WM_NCCREATE) {
        AttachControlState(hWnd, lifecycle.fnNewState(hWnd, reinterpret_cast<const CREATESTRUCT*>(lParam)));
    } else if (uMsg == WM_NCDESTROY) {
        DestroyControlState(hWnd);
    } else if (GetControlStateBase(hWnd)) {
        if (!lifecycle.fnPaint || (uMsg != WM_ERASEBKGND && uMsg != WM_PAINT))
            return FALSE;
        if (uMsg == WM_PAINT)
            PaintControl(hWnd, lifecycle.fnPaint);
        *plResult = uMsg == WM_ERASEBKGND ? TRUE : 0; // WM_PAINT paints every pixel.
        return TRUE;
    }
    *plResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
    return TRUE;
}

int ScrollTarget(WORD nCode, int nPos, int nLine, int nPage, int nTrack)
{
    switch (nCode) {
    case SB_LINEUP:
        return nPos - nLine;
    case SB_LINEDOWN:
        return nPos + nLine;
    case SB_PAGEUP:
        return nPos - nPage;
    case SB_PAGEDOWN:
        return nPos + nPage;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return nTrack;
    case SB_TOP:
        return std::numeric_limits<int>::min();
    case SB_BOTTOM:
        return std::numeric_limits<int>::max();
    default:
        return nPos;
    }
}

void MatchScrollBar(HWND hWnd, int nBar, bool bNeeded, bool* pbRefused)
{
    const DWORD dwBit = nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    auto shows = [&] { return (static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE)) & dwBit) != 0; };
    if (*pbRefused || shows() == bNeeded)
        return;
    ShowScrollBar(hWnd, nBar, bNeeded);
    if (IsWindow(hWnd) && shows() != bNeeded)
        *pbRefused = true;
}
