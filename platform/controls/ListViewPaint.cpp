#include "platform/controls/ListViewInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

bool ShowsSelection(HWND hWnd, const CListViewState& state)
{
    return state.bFocus || (ListViewStyle(hWnd) & LVS_SHOWSELALWAYS);
}

// Owner-drawn rows: the parent draws the whole row.
void SendDrawRow(HWND hWnd, HDC hdc, const CListViewState& state, int nRow)
{
    const CListViewRow& row = state.rows[static_cast<size_t>(nRow)];
    DRAWITEMSTRUCT dis {};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hWnd));
    dis.itemID = static_cast<UINT>(nRow);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ((row.nState & LVIS_SELECTED) ? ODS_SELECTED : 0) | ((row.nState & LVIS_FOCUSED) ? ODS_FOCUS : 0);
    dis.hwndItem = hWnd;
    dis.hDC = hdc;
    RowRect(hWnd, state, nRow, LVIR_BOUNDS, &dis.rcItem);
    dis.itemData = static_cast<ULONG_PTR>(row.lParam);
    if (HWND hParent = ControlParent(hWnd))
        SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

// The images of the first sub-item: the state image (index - 1 of the state
// list) and the small image with its overlay.
void DrawRowImages(HWND hWnd, HDC hdc, const CListViewState& state, int nRow, int iImage, bool bSelected)
{
    const CListViewRow& row = state.rows[static_cast<size_t>(nRow)];
    RECT rcBounds {};
    RECT rcIcon {};
    CellRect(hWnd, state, nRow, 0, LVIR_BOUNDS, &rcBounds);
    CellRect(hWnd, state, nRow, 0, LVIR_ICON, &rcIcon);
    const UINT nStateImage = (row.nState & LVIS_STATEIMAGEMASK) >> 12;
    if (state.imageLists[LVSIL_STATE] && nStateImage > 0)
        ImageList_Draw(state.imageLists[LVSIL_STATE], static_cast<int>(nStateImage) - 1, hdc, rcBounds.left,
            rcBounds.top, ILD_NORMAL);
    if (state.imageLists[LVSIL_SMALL] && iImage >= 0) {
        UINT nStyle = (row.nState & LVIS_OVERLAYMASK) | (bSelected ? ILD_SELECTED : ILD_NORMAL);
        ImageList_Draw(state.imageLists[LVSIL_SMALL], iImage, hdc, rcIcon.left, rcIcon.top, nStyle);
    }
}

void DrawRow(HWND hWnd, HDC hdc, int nRow)
{
    CListViewState* pState = ListViewState(hWnd);
    const CListViewRow& row = pState->rows[static_cast<size_t>(nRow)];
    const bool bSelected = (row.nState & (LVIS_SELECTED | LVIS_DROPHILITED)) && ShowsSelection(hWnd, *pState);
    const bool bFullRow = (pState->dwExStyle & LVS_EX_FULLROWSELECT) != 0;
    const unsigned nSerial = row.nSerial;
    const std::vector<CListViewColumn> columns = pState->columns;
    for (const CListViewColumn& column : columns) {
        // Texts come through LVN_GETDISPINFO, whose handler may change the list.
        if (!(pState = ListViewSurvivor(hWnd)) || RowOfSerial(*pState, nSerial, nRow) != nRow)
            return;
        RECT rcCell {};
        if (!CellRect(hWnd, *pState, nRow, column.iSubItem, LVIR_LABEL, &rcCell))
            continue;
        const bool bHighlight = bSelected && (bFullRow || column.iSubItem == 0);
        int iImage = 0;
        std::string strText;
        if (column.iSubItem == 0) {
            if (!RowLabel(hWnd, nRow, &strText, &iImage))
                return;
        } else {
            strText = RowText(hWnd, nRow, column.iSubItem);
        }
        if (!(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
            return;
        if (column.iSubItem == 0)
            DrawRowImages(hWnd, hdc, *pState, nRow, iImage, bSelected);
        FillRect(hdc, &rcCell, GetSysColorBrush(bHighlight ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(hdc, GetSysColor(bHighlight ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const int nMargin = TextMargin(column.iSubItem);
        RECT rcText { rcCell.left + nMargin, rcCell.top, rcCell.right - nMargin, rcCell.bottom };
        UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (column.fmt == LVCFMT_RIGHT)
            nFormat |= DT_RIGHT;
        else if (column.fmt == LVCFMT_CENTER)
            nFormat |= DT_CENTER;
        DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText, nFormat);
    }
    if ((pState = ListViewSurvivor(hWnd)) && IsRow(*pState, nRow) && pState->bFocus
        && (pState->rows[static_cast<size_t>(nRow)].nState & LVIS_FOCUSED)) {
        RECT rcFocus {};
        RowRect(hWnd, *pState, nRow, bFullRow ? LVIR_BOUNDS : LVIR_LABEL, &rcFocus);
        DrawFocusRect(hdc, &rcFocus);
    }
}

} // namespace

void PaintListView(HWND hWnd, HDC hdc)
{
    CListViewState* pState = ListViewState(hWnd);
    RECT rcPaint {};
    GetClipBox(hdc, &rcPaint);
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    SetBkMode(hdc, TRANSPARENT);
    if (!IsReportView(hWnd)) {
        PaintIconView(hWnd, hdc, rcPaint);
        return;
    }
    const int nHeader = HeaderHeight(hWnd, *pState);
    const int nHeight = std::max(pState->nRowHeight, 1);
    // Only rows that meet the update region are drawn, or asked for their texts.
    const int nFirst = pState->nTop + std::max(rcPaint.top - nHeader, 0) / nHeight;
    const int nLast = pState->nTop + std::max(rcPaint.bottom - nHeader - 1, 0) / nHeight;
    const bool bOwnerDrawn = IsReportView(hWnd) && (ListViewStyle(hWnd) & LVS_OWNERDRAWFIXED);
    for (int nRow = nFirst; nRow <= nLast; ++nRow) {
        if (!(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
            return;
        if (bOwnerDrawn)
            SendDrawRow(hWnd, hdc, *pState, nRow);
        else
            DrawRow(hWnd, hdc, nRow);
    }
}
