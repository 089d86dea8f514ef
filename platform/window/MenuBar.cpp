// Menu bars: the menu of a top-level window, shown in a row of its non-client
// area under the caption, and opened by the mouse or by Alt with a mnemonic.

#include "platform/window/Menu.h"

#include "platform/base/WinError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/MenuInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>

namespace {

constexpr int BAR_ITEM_PAD_X = 6; // left and right of each bar item's text

// Each bar item's rectangle in window coordinates, left to right.
std::vector<RECT> LayOutBar(HDC hdc, const std::vector<CMenuItem>& items, const RECT& rcBar)
{
    std::vector<RECT> rects;
    HGDIOBJ hOldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    int x = rcBar.left;
    for (const CMenuItem& item : items) {
        RECT rcText {};
        DrawText(
            hdc, item.strText.c_str(), static_cast<int>(item.strText.size()), &rcText, DT_SINGLELINE | DT_CALCRECT);
        int cx = (item.fType & MFT_SEPARATOR) ? BAR_ITEM_PAD_X : rcText.right + 2 * BAR_ITEM_PAD_X;
        rects.push_back(RECT { x, rcBar.top, x + cx, rcBar.bottom });
        x += cx;
    }
    SelectObject(hdc, hOldFont);
    // The first right-justified item and those after it move to the bar's right end.
    for (size_t i = 0; i < items.size(); ++i) {
        if (!(items[i].fType & MFT_RIGHTJUSTIFY))
            continue;
        int dx = std::max(0, static_cast<int>(rcBar.right - rects.back().right));
        for (size_t j = i; j < rects.size(); ++j)
            OffsetRect(&rects[j], dx, 0);
        break;
    }
    return rects;
}

// Opens the menu of bar item nItem below it, or posts the command of a command item.
void OpenBarItem(HWND hWnd, HMENU hBar, const std::vector<CMenuItem>& items, const std::vector<RECT>& rects,
    size_t nItem, bool bByKeyboard)
{
    const CMenuItem& item = items[nItem];
    if ((item.fType & MFT_SEPARATOR) || (item.fState & MFS_GRAYED))
        return;
    SendMessage(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hBar), 0);
    if (!item.hSubMenu) {
        PostMessage(hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(item.wID), 0), 0);
        return;
    }
    RECT rcWindow {};
    GetWindowRect(hWnd, &rcWindow);
    CTrackStart start { true, static_cast<int>(nItem), bByKeyboard };
    UINT nChosen = TrackMenu(item.hSubMenu, TPM_LEFTALIGN | TPM_TOPALIGN, rcWindow.left + rects[nItem].left,
        rcWindow.top + rects[nItem].bottom, hWnd, start);
    if (nChosen && IsWindow(hWnd))
        PostMessage(hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nChosen), 0), 0);
}

// The bar's items and their rectangles; false without a bar.
bool BarLayout(HWND hWnd, HMENU& hBar, std::vector<CMenuItem>& items, std::vector<RECT>& rects)
{
    hBar = GetMenu(hWnd);
    RECT rcBar = MenuBarRect(hWnd);
    if (!hBar || IsRectEmpty(&rcBar) || !MenuSnapshot(hBar, items))
        return false;
    HDC hdc = GetWindowDC(hWnd);
    if (!hdc)
        return false;
    rects = LayOutBar(hdc, items, rcBar);
    ReleaseDC(hWnd, hdc);
    return true;
}

} // namespace

/***** The calls *****/

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    if (hMenu && !IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (pWindow->dwStyle & WS_CHILD) {
            SetLastError(ERROR_CHILD_WINDOW_MENU);
            return FALSE;
        }
        pWindow->hMenuBar = hMenu;
    }
    // The client area changed size: let the window hear of it and repaint its frame.
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return DrawMenuBar(hWnd);
}

HMENU GetMenu(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    if (!pWindow) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return (pWindow->dwStyle & WS_CHILD) ? nullptr : pWindow->hMenuBar;
}

BOOL DrawMenuBar(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // Only the bar's row is redrawn; the client area keeps its pixels.
    RECT rcBar = MenuBarRect(hWnd);
    if (IsRectEmpty(&rcBar))
        return TRUE;
    RECT rcWindow {};
    GetWindowRect(hWnd, &rcWindow);
    POINT ptClient { 0, 0 };
    ClientToScreen(hWnd, &ptClient);
    OffsetRect(&rcBar, rcWindow.left - ptClient.x, rcWindow.top - ptClient.y);
    return RedrawWindow(hWnd, &rcBar, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

/***** The non-client area *****/

RECT MenuBarRect(HWND hWnd)
{
    if (!GetMenu(hWnd))
        return RECT {};
    RECT rcWindow {};
    GetWindowRect(hWnd, &rcWindow);
    POINT ptClient { 0, 0 };
    ClientToScreen(hWnd, &ptClient);
    auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
    auto dwExStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_EXSTYLE));
    int nBottom = ptClient.y - rcWindow.top;
    if (dwExStyle & WS_EX_CLIENTEDGE)
        nBottom -= GetSystemMetrics(SM_CYEDGE);
    else if (dwExStyle & WS_EX_STATICEDGE)
        nBottom -= GetSystemMetrics(SM_CYBORDER);
    SIZE outer = OuterFrameOf(dwStyle, dwExStyle);
    return RECT { outer.cx, nBottom - GetSystemMetrics(SM_CYMENU), rcWindow.right - rcWindow.left - outer.cx, nBottom };
}

void PaintMenuBar(HWND hWnd, HDC hdcWindow)
{
    RECT rcBar = MenuBarRect(hWnd);
    std::vector<CMenuItem> items;
    if (IsRectEmpty(&rcBar) || !MenuSnapshot(GetMenu(hWnd), items))
        return;
    FillRect(hdcWindow, &rcBar, GetSysColorBrush(COLOR_MENU));
    std::vector<RECT> rects = LayOutBar(hdcWindow, items, rcBar);
    HGDIOBJ hOldFont = SelectObject(hdcWindow, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdcWindow, TRANSPARENT);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].fType & MFT_SEPARATOR)
            continue;
        SetTextColor(hdcWindow, GetSysColor((items[i].fState & MFS_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        RECT rcText = rects[i];
        DrawText(hdcWindow, items[i].strText.c_str(), static_cast<int>(items[i].strText.size()), &rcText,
            DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    SelectObject(hdcWindow, hOldFont);
}

void ClickMenuBar(HWND hWnd, POINT ptScreen)
{
    HMENU hBar = nullptr;
    std::vector<CMenuItem> items;
    std::vector<RECT> rects;
    if (!BarLayout(hWnd, hBar, items, rects))
        return;
    RECT rcWindow {};
    GetWindowRect(hWnd, &rcWindow);
    POINT pt { ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top };
    for (size_t i = 0; i < rects.size(); ++i) {
        if (PtInRect(&rects[i], pt)) {
            OpenBarItem(hWnd, hBar, items, rects, i, false);
            return;
        }
    }
}

bool OpenMenuBarByMnemonic(HWND hWnd, char32_t ch)
{
    HMENU hBar = nullptr;
    std::vector<CMenuItem> items;
    std::vector<RECT> rects;
    if (!BarLayout(hWnd, hBar, items, rects))
        return false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!(items[i].fType & MFT_SEPARATOR) && MenuMnemonic(items[i].strText) == ch) {
            OpenBarItem(hWnd, hBar, items, rects, i, true);
            return true;
        }
    }
    return false;
}
