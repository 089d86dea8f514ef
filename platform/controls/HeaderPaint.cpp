#include "platform/controls/HeaderInternal.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/DragImages.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

// Items with HDF_OWNERDRAW are drawn by the parent, everything else here.
void DrawItem(HWND hWnd, HDC hdc, const CHeaderState& state, int nIndex, bool bPressed)
{
    RECT rc = HeaderItemRect(hWnd, state, nIndex);
    if (rc.right <= rc.left)
        return;
    const CHeaderItem& item = state.items[static_cast<size_t>(nIndex)];
    if (item.fmt & HDF_OWNERDRAW) {
        DRAWITEMSTRUCT dis {};
        dis.CtlType = ODT_HEADER;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hWnd));
        dis.itemID = static_cast<UINT>(nIndex);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = bPressed ? ODS_SELECTED : 0;
        dis.hwndItem = hWnd;
        dis.hDC = hdc;
        dis.rcItem = rc;
        dis.itemData = static_cast<ULONG_PTR>(item.lParam);
        if (HWND hParent = ControlParent(hWnd))
            SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rc, bPressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_ADJUST);
    RECT rcText { rc.left + 6, rc.top, rc.right - 6, rc.bottom };
    if (bPressed)
        OffsetRect(&rcText, 1, 1);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
        nFormat |= DT_RIGHT;
    else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        nFormat |= DT_CENTER;
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawText(hdc, item.strText.c_str(), static_cast<int>(item.strText.size()), &rcText, nFormat);
}

// The line where a dragged item would land, or the divider being tracked.
void DrawMarker(HWND hWnd, HDC hdc, const CHeaderState& state)
{
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    int x = -1;
    if (state.eMode == EHeaderMode::Tracking)
        x = state.nTrackLeft + state.nTrackWidth;
    else if (state.eMode == EHeaderMode::Dragging && state.nDropPosition >= 0) {
        x = 0;
        for (int nPosition = 0; nPosition < state.nDropPosition; ++nPosition)
            x += state.items[static_cast<size_t>(state.order[static_cast<size_t>(nPosition)])].cxy;
    }
    if (x < 0)
        return;
    RECT rcMarker { x - 1, 0, x + 1, rcClient.bottom };
    FillRect(hdc, &rcMarker, GetSysColorBrush(COLOR_HIGHLIGHT));
}

} // namespace

void PaintHeader(HWND hWnd, HDC hdc)
{
    const CHeaderState* pState = HeaderState(hWnd);
    // A ghost over the header goes while the header paints under it.
    const bool bGhost = pState->himlGhost != nullptr;
    if (bGhost)
        ImageList_DragShowNolock(FALSE);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    // Copies: a parent drawing an item may change the header.
    const std::vector<int> order = pState->order;
    for (int nIndex : order) {
        pState = HeaderState(hWnd);
        if (!pState || !IsHeaderIndex(*pState, nIndex))
            return;
        const bool bPressed = pState->nActive == nIndex
            && (pState->eMode == EHeaderMode::Pressed || pState->eMode == EHeaderMode::Dragging);
        DrawItem(hWnd, hdc, *pState, nIndex, bPressed);
    }
    if ((pState = HeaderState(hWnd)))
        DrawMarker(hWnd, hdc, *pState);
    if (bGhost)
        ImageList_DragShowNolock(TRUE);
}

HIMAGELIST CreateHeaderDragImage(HWND hWnd, int nIndex)
{
    const CHeaderState* pState = HeaderState(hWnd);
    if (!IsHeaderIndex(*pState, nIndex))
        return nullptr;
    const RECT rc = HeaderItemRect(hWnd, *pState, nIndex);
    const int cx = std::max<int>(rc.right - rc.left, 1);
    const int cy = std::max<int>(rc.bottom - rc.top, 1);
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hBitmap);
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    // The item where it stands, moved to the bitmap's corner.
    SetViewportOrgEx(hdc, -rc.left, -rc.top, nullptr);
    DrawItem(hWnd, hdc, *pState, nIndex, false);
    SelectObject(hdc, hOldBitmap);
    DeleteDC(hdc);
    HIMAGELIST himl = ImageList_Create(cx, cy, ILC_COLOR24, 1, 0);
    if (himl)
        ImageList_Add(himl, hBitmap, nullptr);
    DeleteObject(hBitmap);
    return himl;
}
