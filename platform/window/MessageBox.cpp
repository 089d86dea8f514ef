#include "platform/window/MessageBox.h"

#include "platform/base/WinError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

constexpr const char* TEXT_CLASS = "ArchivoraMessageText";
constexpr DWORD BS_PUSHBUTTON = 0x0000;

// Layout, in dialog units unless named pixels.
constexpr SHORT MARGIN = 7;
constexpr SHORT BUTTON_CX = 50;
constexpr SHORT BUTTON_CY = 14;
constexpr SHORT BUTTON_GAP = 4;
constexpr int ICON_PIXELS = 32;
constexpr int TEXT_MAX_PIXELS = 360; // the width at which text wraps

struct MessageBoxParams {
    UINT uType { 0 };
    bool bHasCancel { false };
    bool bLoneOk { false };
    std::vector<int> buttons;
};

std::vector<int> ButtonsFor(UINT uType)
{
    switch (uType & MB_TYPEMASK) {
    case MB_OK:
        return { IDOK };
    case MB_OKCANCEL:
        return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE:
        return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL:
        return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO:
        return { IDYES, IDNO };
    case MB_RETRYCANCEL:
        return { IDRETRY, IDCANCEL };
    default:
        return {};
    }
}

const char* ButtonText(int nId)
{
    switch (nId) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "&Abort";
    case IDRETRY:
        return "&Retry";
    case IDIGNORE:
        return "&Ignore";
    case IDYES:
        return "&Yes";
    default:
        return "&No";
    }
}

// The message text: a control that paints its text wrapped at its width.
LRESULT CALLBACK MessageTextProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFONT:
        ::SetWindowLongPtr(hWnd, 0, static_cast<LONG_PTR>(wParam));
        return 0;
    case WM_GETFONT:
        return ::GetWindowLongPtr(hWnd, 0);
    case WM_PAINT: {
        PAINTSTRUCT ps {};
        HDC hdc = ::BeginPaint(hWnd, &ps);
        HGDIOBJ hOldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::GetWindowLongPtr(hWnd, 0)));
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
        std::string strText(static_cast<size_t>(::GetWindowTextLength(hWnd)) + 1, '\0');
        int nLength = ::GetWindowText(hWnd, strText.data(), static_cast<int>(strText.size()));
        RECT rc {};
        ::GetClientRect(hWnd, &rc);
        ::DrawText(hdc, strText.c_str(), nLength, &rc, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        ::SelectObject(hdc, hOldFont);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    default:
        return ::DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

bool RegisterTextClass()
{
    WNDCLASS wc {};
    if (::GetClassInfo(nullptr, TEXT_CLASS, &wc))
        return true;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = MessageTextProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = TEXT_CLASS;
    return ::RegisterClass(&wc) != 0;
}

// Draws the icon in a 32-pixel square: a red disc with a cross, a blue disc
// with '?' or 'i', or a yellow triangle with '!'.
void DrawIcon(HDC hdc, UINT uIcon, int x, int y)
{
    COLORREF crFill = RGB(0, 80, 200);
    const char* pszMark = uIcon == MB_ICONQUESTION ? "?" : "i";
    if (uIcon == MB_ICONSTOP) {
        crFill = RGB(200, 0, 0);
        pszMark = "x";
    } else if (uIcon == MB_ICONEXCLAMATION) {
        crFill = RGB(240, 200, 0);
        pszMark = "!";
    }
    HBRUSH hBrush = ::CreateSolidBrush(crFill);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ hOldBrush = ::SelectObject(hdc, hBrush);
    HGDIOBJ hOldPen = ::SelectObject(hdc, hPen);
    if (uIcon == MB_ICONEXCLAMATION) {
        POINT triangle[]
            = { { x + ICON_PIXELS / 2, y }, { x + ICON_PIXELS - 1, y + ICON_PIXELS - 1 }, { x, y + ICON_PIXELS - 1 } };
        ::Polygon(hdc, triangle, 3);
    } else {
        ::Ellipse(hdc, x, y, x + ICON_PIXELS, y + ICON_PIXELS);
    }
    LOGFONT lf {};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    HFONT hFont = ::CreateFontIndirect(&lf);
    HGDIOBJ hOldFont = ::SelectObject(hdc, hFont);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, uIcon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
    RECT rc { x, y + (uIcon == MB_ICONEXCLAMATION ? 6 : 0), x + ICON_PIXELS, y + ICON_PIXELS };
    ::DrawText(hdc, pszMark, 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(hdc, hOldFont);
    ::SelectObject(hdc, hOldPen);
    ::SelectObject(hdc, hOldBrush);
    ::DeleteObject(hFont);
    ::DeleteObject(hPen);
    ::DeleteObject(hBrush);
}

// Sizes the box to its text and lays out the icon, text and buttons.
void LayOut(HWND hDlg, const MessageBoxParams& params)
{
    HWND hText = ::GetDlgItem(hDlg, MESSAGEBOX_TEXT_ID);
    RECT rcButton { 0, 0, BUTTON_CX, BUTTON_CY };
    ::MapDialogRect(hDlg, &rcButton);
    RECT rcSpace { 0, 0, MARGIN, MARGIN };
    ::MapDialogRect(hDlg, &rcSpace);
    RECT rcGap { 0, 0, BUTTON_GAP, 0 };
    ::MapDialogRect(hDlg, &rcGap);
    int cxMargin = rcSpace.right;
    int cyMargin = rcSpace.bottom;

    std::string strText(static_cast<size_t>(::GetWindowTextLength(hText)) + 1, '\0');
    int nLength = ::GetWindowText(hText, strText.data(), static_cast<int>(strText.size()));
    HDC hdc = ::GetDC(hDlg);
    HGDIOBJ hOldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessage(hDlg, WM_GETFONT, 0, 0)));
    RECT rcText { 0, 0, TEXT_MAX_PIXELS, 0 };
    ::DrawText(hdc, strText.c_str(), nLength, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(hdc, hOldFont);
    ::ReleaseDC(hDlg, hdc);

    bool bIcon = (params.uType & MB_ICONMASK) != 0;
    int xText = cxMargin + (bIcon ? ICON_PIXELS + cxMargin : 0);
    int cyTop = std::max(static_cast<int>(rcText.bottom), bIcon ? ICON_PIXELS : 0);
    int cxButtons = static_cast<int>(params.buttons.size()) * (rcButton.right + rcGap.right) - rcGap.right;
    int cxClient = std::max(xText + static_cast<int>(rcText.right), cxButtons) + cxMargin;
    int cyClient = cyMargin + cyTop + cyMargin + rcButton.bottom + cyMargin;
    int yText = cyMargin + (cyTop - rcText.bottom) / 2;
    ::MoveWindow(hText, xText, yText, rcText.right, rcText.bottom, FALSE);
    int xButton = (cxClient - cxButtons) / 2;
    for (int nId : params.buttons) {
        ::MoveWindow(::GetDlgItem(hDlg, nId), xButton, cyClient - cyMargin - rcButton.bottom, rcButton.right,
            rcButton.bottom, FALSE);
        xButton += rcButton.right + rcGap.right;
    }

    RECT rcWindow { 0, 0, cxClient, cyClient };
    ::AdjustWindowRectEx(&rcWindow, static_cast<DWORD>(::GetWindowLongPtr(hDlg, GWL_STYLE)), FALSE,
        static_cast<DWORD>(::GetWindowLongPtr(hDlg, GWL_EXSTYLE)));
    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    RECT rcArea { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    if (HWND hOwner = ::GetWindow(hDlg, GW_OWNER); hOwner && ::IsWindowVisible(hOwner))
        ::GetWindowRect(hOwner, &rcArea);
    ::SetWindowPos(hDlg, nullptr, (rcArea.left + rcArea.right - cx) / 2, (rcArea.top + rcArea.bottom - cy) / 2, cx, cy,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK MessageBoxProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pParams = reinterpret_cast<MessageBoxParams*>(::GetWindowLongPtr(hDlg, DWLP_USER));
    switch (uMsg) {
    case WM_INITDIALOG: {
        pParams = reinterpret_cast<MessageBoxParams*>(lParam);
        ::SetWindowLongPtr(hDlg, DWLP_USER, lParam);
        LayOut(hDlg, *pParams);
        size_t nDefault = std::min<size_t>((pParams->uType & MB_DEFMASK) >> 8, pParams->buttons.size() - 1);
        ::SendMessage(hDlg, DM_SETDEFID, static_cast<WPARAM>(pParams->buttons[nDefault]), 0);
        ::SendMessage(
            hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, pParams->buttons[nDefault])), TRUE);
        return FALSE; // the focus is set
    }
    case WM_PAINT: {
        if (!(pParams->uType & MB_ICONMASK))
            return FALSE;
        PAINTSTRUCT ps {};
        HDC hdc = ::BeginPaint(hDlg, &ps);
        RECT rcSpace { 0, 0, MARGIN, MARGIN };
        ::MapDialogRect(hDlg, &rcSpace);
        DrawIcon(hdc, pParams->uType & MB_ICONMASK, rcSpace.right, rcSpace.bottom);
        ::EndPaint(hDlg, &ps);
        return TRUE;
    }
    case WM_COMMAND: {
        int nId = LOWORD(wParam);
        if (nId == IDCANCEL && !pParams->bHasCancel) {
            if (pParams->bLoneOk)
                ::EndDialog(hDlg, IDOK);
            return TRUE;
        }
        if (std::find(pParams->buttons.begin(), pParams->buttons.end(), nId) != pParams->buttons.end())
            ::EndDialog(hDlg, nId);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    MessageBoxParams params;
    params.uType = uType;
    params.buttons = ButtonsFor(uType);
    if (params.buttons.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!RegisterTextClass())
        return 0;
    params.bHasCancel = std::find(params.buttons.begin(), params.buttons.end(), IDCANCEL) != params.buttons.end();
    params.bLoneOk = params.buttons.size() == 1;

    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_NOIDLEMSG;
    dialog.cx = 100;
    dialog.cy = 50;
    dialog.nPointSize = 8;
    dialog.nWeight = FW_NORMAL;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = lpCaption ? lpCaption : "Error";
    dialog.controls.push_back({ static_cast<DWORD>(MESSAGEBOX_TEXT_ID), WS_CHILD | WS_VISIBLE | WS_GROUP, 0, 0, 0, 1, 1,
        TEXT_CLASS, lpText ? lpText : "" });
    for (size_t i = 0; i < params.buttons.size(); ++i) {
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) | BS_PUSHBUTTON;
        dialog.controls.push_back({ static_cast<DWORD>(params.buttons[i]), dwStyle, 0, 0, 0, BUTTON_CX, BUTTON_CY,
            "Button", ButtonText(params.buttons[i]) });
    }
    HWND hOwner = hWnd ? ::GetAncestor(hWnd, GA_ROOT) : nullptr;
    INT_PTR nResult
        = ::DialogBoxIndirectParam(nullptr, &dialog, hOwner, MessageBoxProc, reinterpret_cast<LPARAM>(&params));
    return nResult > 0 ? static_cast<int>(nResult) : 0;
}

/***** Beeps *****/

namespace {
std::atomic<ULONG> s_nBeeps { 0 };
std::atomic<UINT> s_uLastBeep { 0 };
}

BOOL MessageBeep(UINT uType)
{
    s_uLastBeep = uType;
    ++s_nBeeps;
    return TRUE;
}

ULONG GetMessageBeepCount()
{
    return s_nBeeps;
}

UINT GetLastMessageBeepType()
{
    return s_uLastBeep;
}
