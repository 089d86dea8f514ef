#include "platform/controls/ListViewInternal.h"

#include "platform/controls/HeaderControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int ColumnCount(const CListViewState& state)
{
    return static_cast<int>(state.columns.size());
}

// The header index of the column showing a sub-item; -1 for none.
int ColumnOfSubItem(const CListViewState& state, int iSubItem)
{
    for (size_t i = 0; i < state.columns.size(); ++i) {
        if (state.columns[i].iSubItem == iSubItem)
            return static_cast<int>(i);
    }
    return -1;
}

int ColumnWidth(const CListViewState& state, int nColumn)
{
    HDITEM item {};
    item.mask = HDI_WIDTH;
    return SendMessage(state.hHeader, HDM_GETITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item))
        ? item.cxy
        : 0;
}

// A column's left and right edges in the list's client coordinates, which
// follow the header's order and the horizontal scroll.
bool ColumnSpan(const CListViewState& state, int nColumn, int* pLeft, int* pRight)
{
    RECT rc {};
    if (!SendMessage(state.hHeader, HDM_GETITEMRECT, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&rc)))
        return false;
    *pLeft = rc.left - state.nScrollX;
    *pRight = rc.right - state.nScrollX;
    return true;
}

int TotalWidth(const CListViewState& state)
{
    int nTotal = 0;
    for (int i = 0; i < ColumnCount(state); ++i)
        nTotal += ColumnWidth(state, i);
    return nTotal;
}

SIZE ImageSize(HIMAGELIST himl)
{
    int cx = 0;
    int cy = 0;
    if (!himl || !ImageList_GetIconSize(himl, &cx, &cy))
        return SIZE { 0, 0 };
    return SIZE { cx, cy };
}

int StringWidth(HWND hWnd, LPCSTR psz)
{
    if (!psz)
        return 0;
    return CControlMeasureDC(hWnd).TextWidth(psz);
}

// The widest text of a column over all rows (callbacks asked), with the
// margins and, for the first sub-item, the images drawn before the text.
int AutoWidth(HWND hWnd, int nColumn, bool bUseHeader)
{
    CListViewState* pState = ListViewState(hWnd);
    const int iSubItem = pState->columns[static_cast<size_t>(nColumn)].iSubItem;
    int nWidest = 0;
    for (int nRow = 0;; ++nRow) {
        if (!(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
            break;
        const std::string strText = RowText(hWnd, nRow, iSubItem);
        if (!(pState = ListViewSurvivor(hWnd)))
            return 0;
        nWidest = std::max(nWidest, StringWidth(hWnd, strText.c_str()));
    }
    if (!pState)
        return 0;
    int nWidth = nWidest + 2 * TextMargin(iSubItem);
    if (iSubItem == 0)
        nWidth += ImageSize(pState->imageLists[LVSIL_STATE]).cx + ImageSize(pState->imageLists[LVSIL_SMALL]).cx;
    if (bUseHeader) {
        char szText[256] {};
        HDITEM item {};
        item.mask = HDI_TEXT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        SendMessage(pState->hHeader, HDM_GETITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item));
        nWidth = std::max(nWidth, StringWidth(hWnd, szText) + 2 * LISTVIEW_TEXT_MARGIN);
    }
    return nWidth;
}

BOOL SetColumnWidth(HWND hWnd, int nColumn, int cx)
{
    CListViewState* pState = ListViewState(hWnd);
    if (nColumn < 0 || nColumn >= ColumnCount(*pState))
        return FALSE;
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER)
        cx = AutoWidth(hWnd, nColumn, cx == LVSCW_AUTOSIZE_USEHEADER);
    if (!(pState = ListViewSurvivor(hWnd)) || nColumn >= ColumnCount(*pState) || cx < 0)
        return FALSE;
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = cx;
    return static_cast<BOOL>(
        SendMessage(pState->hHeader, HDM_SETITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item)));
}

LRESULT InsertColumn(HWND hWnd, CListViewState& state, int nColumn, const LVCOLUMN* pColumn)
{
    if (!pColumn || nColumn < 0)
        return -1;
    nColumn = std::min(nColumn, ColumnCount(state));
    HDITEM item {};
    item.mask = HDI_FORMAT | HDI_WIDTH;
    item.fmt = HDF_STRING | ((pColumn->mask & LVCF_FMT) ? (pColumn->fmt & LVCFMT_JUSTIFYMASK) : HDF_LEFT);
    item.cxy = (pColumn->mask & LVCF_WIDTH) ? pColumn->cx : 0;
    if (pColumn->mask & LVCF_TEXT) {
        item.mask |= HDI_TEXT;
        item.pszText = pColumn->pszText;
    }
    CListViewColumn column;
    column.fmt = item.fmt & HDF_JUSTIFYMASK;
    column.iSubItem = (pColumn->mask & LVCF_SUBITEM) ? pColumn->iSubItem : nColumn;
    state.columns.insert(state.columns.begin() + nColumn, column);
    if (SendMessage(state.hHeader, HDM_INSERTITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item)) < 0) {
        state.columns.erase(state.columns.begin() + nColumn);
        return -1;
    }
    ColumnsChanged(hWnd, state);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nColumn;
}

BOOL GetColumn(const CListViewState& state, int nColumn, LVCOLUMN* pColumn)
{
    if (!pColumn || nColumn < 0 || nColumn >= ColumnCount(state))
        return FALSE;
    HDITEM item {};
    item.mask = HDI_WIDTH | HDI_ORDER | ((pColumn->mask & LVCF_TEXT) ? HDI_TEXT : 0);
    item.pszText = pColumn->pszText;
    item.cchTextMax = pColumn->cchTextMax;
    SendMessage(state.hHeader, HDM_GETITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item));
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = state.columns[static_cast<size_t>(nColumn)].fmt;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = item.cxy;
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = state.columns[static_cast<size_t>(nColumn)].iSubItem;
    if (pColumn->mask & LVCF_ORDER)
        pColumn->iOrder = item.iOrder;
    return TRUE;
}

BOOL SetColumn(HWND hWnd, CListViewState& state, int nColumn, const LVCOLUMN* pColumn)
{
    if (!pColumn || nColumn < 0 || nColumn >= ColumnCount(state))
        return FALSE;
    HDITEM item {};
    if (pColumn->mask & LVCF_FMT) {
        state.columns[static_cast<size_t>(nColumn)].fmt = pColumn->fmt & LVCFMT_JUSTIFYMASK;
        item.mask |= HDI_FORMAT;
        item.fmt = HDF_STRING | (pColumn->fmt & LVCFMT_JUSTIFYMASK);
    }
    if (pColumn->mask & LVCF_WIDTH) {
        item.mask |= HDI_WIDTH;
        item.cxy = pColumn->cx;
    }
    if (pColumn->mask & LVCF_TEXT) {
        item.mask |= HDI_TEXT;
        item.pszText = pColumn->pszText;
    }
    if (pColumn->mask & LVCF_ORDER) {
        item.mask |= HDI_ORDER;
        item.iOrder = pColumn->iOrder;
    }
    if (pColumn->mask & LVCF_SUBITEM)
        state.columns[static_cast<size_t>(nColumn)].iSubItem = pColumn->iSubItem;
    InvalidateRect(hWnd, nullptr, TRUE);
    return item.mask == 0
        || SendMessage(state.hHeader, HDM_SETITEM, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item));
}

void UpdateVerticalScrollInfo(HWND hWnd, const CListViewState& state)
{
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(RowCount(state) - 1, 0),
        static_cast<UINT>(RowsPerPage(hWnd, state)), state.nTop, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

void UpdateScrollInfo(HWND hWnd, const CListViewState& state)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    UpdateVerticalScrollInfo(hWnd, state);
    SCROLLINFO siH { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(TotalWidth(state) - 1, 0),
        static_cast<UINT>(rc.right), state.nScrollX, 0 };
    SetScrollInfo(hWnd, SB_HORZ, &siH, TRUE);
}

bool NeedsVerticalBar(HWND hWnd, const CListViewState& state)
{
    return RowCount(state) > RowsPerPage(hWnd, state);
}

// Shows the bars that the rows and columns need. Showing one sends WM_SIZE
// and may call for the other.
void MatchBars(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    if (ListViewStyle(hWnd) & LVS_NOSCROLL)
        return;
    MatchScrollBar(hWnd, SB_VERT, NeedsVerticalBar(hWnd, *pState), &pState->bBarsRefused);
    if (!(pState = ListViewSurvivor(hWnd)))
        return;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    MatchScrollBar(hWnd, SB_HORZ, IsReportView(hWnd) && TotalWidth(*pState) > rc.right, &pState->bBarsRefused);
}

void PlaceHeader(HWND hWnd, const CListViewState& state)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    if (IsReportView(hWnd) && !(ListViewStyle(hWnd) & LVS_NOCOLUMNHEADER)) {
        RECT rcLayout { 0, 0, std::max<int>(rc.right + state.nScrollX, TotalWidth(state)), rc.bottom };
        WINDOWPOS wp {};
        HDLAYOUT layout { &rcLayout, &wp };
        SendMessage(state.hHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
        SetWindowPos(
            state.hHeader, nullptr, -state.nScrollX, 0, wp.cx, wp.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else if (IsWindowVisible(state.hHeader)) {
        ShowWindow(state.hHeader, SW_HIDE);
    }
}

// The rows area: the client area below the header.
RECT RowsArea(HWND hWnd, const CListViewState& state)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    rc.top = std::min<LONG>(HeaderHeight(hWnd, state), rc.bottom);
    return rc;
}

// Moves the pixels of the rows area up by nLines rows (grid rows of icons;
// negative: down) and invalidates what comes into view.
void ScrollRowsArea(HWND hWnd, const CListViewState& state, int nLines)
{
    RECT rc = RowsArea(hWnd, state);
    const long long nPixels
        = static_cast<long long>(nLines) * (IsReportView(hWnd) ? state.nRowHeight : IconCellSize().cy);
    if (std::abs(nPixels) >= rc.bottom - rc.top)
        InvalidateRect(hWnd, &rc, TRUE);
    else
        ScrollWindowEx(hWnd, 0, static_cast<int>(-nPixels), &rc, &rc, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

} // namespace

int HeaderHeight(HWND hWnd, const CListViewState& state)
{
    if (!IsReportView(hWnd) || (ListViewStyle(hWnd) & LVS_NOCOLUMNHEADER) || !state.hHeader)
        return 0;
    RECT rc {};
    GetWindowRect(state.hHeader, &rc);
    return rc.bottom - rc.top;
}

int RowsPerPage(HWND hWnd, const CListViewState& state)
{
    if (!IsReportView(hWnd))
        return IconItemsPerPage(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return std::max((rc.bottom - HeaderHeight(hWnd, state)) / std::max(state.nRowHeight, 1), 1);
}

int ScrollStep(HWND hWnd)
{
    return IsReportView(hWnd) ? 1 : IconColumns(hWnd);
}

void MeasureRows(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    int nHeight = ControlFontHeight(hWnd) + 2;
    nHeight = std::max<int>(nHeight, ImageSize(pState->imageLists[LVSIL_SMALL]).cy + 1);
    nHeight = std::max<int>(nHeight, ImageSize(pState->imageLists[LVSIL_STATE]).cy + 1);
    if (IsReportView(hWnd) && (ListViewStyle(hWnd) & LVS_OWNERDRAWFIXED)) {
        MEASUREITEMSTRUCT mis {};
        mis.CtlType = ODT_LISTVIEW;
        mis.CtlID = static_cast<UINT>(GetDlgCtrlID(hWnd));
        mis.itemHeight = static_cast<UINT>(nHeight);
        if (HWND hParent = ControlParent(hWnd))
            SendMessage(hParent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
        if (!(pState = ListViewSurvivor(hWnd)))
            return;
        if (mis.itemHeight > 0)
            nHeight = static_cast<int>(mis.itemHeight);
    }
    if (nHeight != pState->nRowHeight) {
        pState->nRowHeight = nHeight;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
}

void LayoutListView(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!pState || !pState->hHeader || pState->bLayingOut)
        return;
    pState->bLayingOut = true;
    pState->bLayoutDue = false;
    pState->bColumnsDue = false;
    // A bar shown or hidden changes the client area: once more with the new one.
    for (int nPass = 0; nPass < 3; ++nPass) {
        RECT rcBefore {};
        GetClientRect(hWnd, &rcBefore);
        PlaceHeader(hWnd, *pState);
        UpdateScrollInfo(hWnd, *pState);
        MatchBars(hWnd);
        if (!(pState = ListViewSurvivor(hWnd)))
            return;
        RECT rcAfter {};
        GetClientRect(hWnd, &rcAfter);
        if (EqualRect(&rcBefore, &rcAfter))
            break;
    }
    pState->bLayingOut = false;
}

void ColumnsChanged(HWND hWnd, CListViewState& state)
{
    if (IsWindowVisible(hWnd))
        LayoutListView(hWnd);
    else
        state.bColumnsDue = true;
}

bool IsColumnChange(const CListViewState& state, UINT uMsg, LPARAM lParam)
{
    switch (uMsg) {
    case LVM_INSERTCOLUMN:
    case LVM_DELETECOLUMN:
    case LVM_SETCOLUMN:
    case LVM_SETCOLUMNWIDTH:
    case LVM_GETCOLUMN:
    case LVM_GETCOLUMNWIDTH:
    case LVM_GETHEADER:
        return true;
    case WM_NOTIFY: {
        const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        return pHdr && pHdr->hwndFrom == state.hHeader;
    }
    default:
        return false;
    }
}

void RowsChanged(HWND hWnd, CListViewState& state)
{
    if (!state.bRedraw) {
        state.bLayoutDue = true;
        return;
    }
    UpdateVerticalScrollInfo(hWnd, state);
    if (!(ListViewStyle(hWnd) & LVS_NOSCROLL))
        MatchScrollBar(hWnd, SB_VERT, NeedsVerticalBar(hWnd, state), &state.bBarsRefused);
}

void RedrawResumed(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    if (pState->bLayoutDue) {
        SetTopRow(hWnd, *pState, pState->nTop);
        LayoutListView(hWnd);
    }
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

BOOL CellRect(HWND hWnd, const CListViewState& state, int nRow, int iSubItem, int nKind, RECT* pRect)
{
    if (!IsReportView(hWnd) && pRect && IsRow(state, nRow) && iSubItem == 0)
        return IconRowRect(hWnd, state, nRow, nKind, pRect);
    const int nColumn = ColumnOfSubItem(state, iSubItem);
    if (!pRect || !IsRow(state, nRow) || nColumn < 0 || !IsReportView(hWnd))
        return FALSE;
    int nLeft = 0;
    int nRight = 0;
    ColumnSpan(state, nColumn, &nLeft, &nRight);
    const int nTop = HeaderHeight(hWnd, state) + (nRow - state.nTop) * state.nRowHeight;
    *pRect = RECT { nLeft, nTop, nRight, nTop + state.nRowHeight };
    if (iSubItem != 0 || nKind == LVIR_BOUNDS)
        return TRUE;
    // The first sub-item: state image, small image, then the label.
    const int nStateWidth = ImageSize(state.imageLists[LVSIL_STATE]).cx;
    const int nIconLeft = nLeft + nStateWidth;
    const int nIconRight = nIconLeft + ImageSize(state.imageLists[LVSIL_SMALL]).cx;
    if (nKind == LVIR_ICON)
        pRect->left = nIconLeft, pRect->right = std::min(nIconRight, nRight);
    else if (nKind == LVIR_LABEL)
        pRect->left = std::min(nIconRight, nRight);
    else if (nKind == LVIR_SELECTBOUNDS)
        pRect->left = nIconLeft;
    return TRUE;
}

BOOL RowRect(HWND hWnd, const CListViewState& state, int nRow, int nKind, RECT* pRect)
{
    if (!pRect || !IsRow(state, nRow) || nKind < LVIR_BOUNDS || nKind > LVIR_SELECTBOUNDS)
        return FALSE;
    if (!IsReportView(hWnd))
        return IconRowRect(hWnd, state, nRow, nKind, pRect);
    if (nKind == LVIR_BOUNDS) {
        const int nTop = HeaderHeight(hWnd, state) + (nRow - state.nTop) * state.nRowHeight;
        *pRect = RECT { -state.nScrollX, nTop, TotalWidth(state) - state.nScrollX, nTop + state.nRowHeight };
        return TRUE;
    }
    if (ColumnOfSubItem(state, 0) < 0) {
        // No columns yet: the label is the whole row.
        return RowRect(hWnd, state, nRow, LVIR_BOUNDS, pRect);
    }
    return CellRect(hWnd, state, nRow, 0, nKind, pRect);
}

int ListViewHitTest(HWND hWnd, const CListViewState& state, LVHITTESTINFO* pInfo, bool bSubItems)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const POINT pt = pInfo->pt;
    pInfo->flags = 0;
    pInfo->iItem = -1;
    pInfo->iSubItem = -1;
    if (pt.y < 0)
        pInfo->flags |= LVHT_ABOVE;
    if (pt.y >= rc.bottom)
        pInfo->flags |= LVHT_BELOW;
    if (pt.x < 0)
        pInfo->flags |= LVHT_TOLEFT;
    if (pt.x >= rc.right)
        pInfo->flags |= LVHT_TORIGHT;
    if (pInfo->flags)
        return -1;
    if (!IsReportView(hWnd))
        return IconHitTest(hWnd, state, pInfo);
    pInfo->flags = LVHT_NOWHERE;
    const int nHeader = HeaderHeight(hWnd, state);
    if (pt.y < nHeader)
        return -1;
    const int nRow = state.nTop + (pt.y - nHeader) / std::max(state.nRowHeight, 1);
    if (!IsRow(state, nRow))
        return -1;
    for (int nColumn = 0; nColumn < ColumnCount(state); ++nColumn) {
        int nLeft = 0;
        int nRight = 0;
        if (ColumnSpan(state, nColumn, &nLeft, &nRight) && pt.x >= nLeft && pt.x < nRight)
            pInfo->iSubItem = state.columns[static_cast<size_t>(nColumn)].iSubItem;
    }
    if (ColumnCount(state) == 0)
        pInfo->iSubItem = 0;
    if (pInfo->iSubItem < 0)
        return -1;
    pInfo->iItem = nRow;
    if (pInfo->iSubItem != 0) {
        // With full-row select or owner-drawn rows the rest of the row is label
        // too; a sub-item hit test always names the cell.
        const bool bWholeRow
            = bSubItems || (state.dwExStyle & LVS_EX_FULLROWSELECT) || (ListViewStyle(hWnd) & LVS_OWNERDRAWFIXED);
        pInfo->flags = bWholeRow ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
        return bWholeRow ? nRow : -1;
    }
    RECT rcIcon {};
    RECT rcLabel {};
    RowRect(hWnd, state, nRow, LVIR_ICON, &rcIcon);
    RowRect(hWnd, state, nRow, LVIR_LABEL, &rcLabel);
    if (pt.x >= rcLabel.left)
        pInfo->flags = LVHT_ONITEMLABEL;
    else if (pt.x >= rcIcon.left)
        pInfo->flags = LVHT_ONITEMICON;
    else
        pInfo->flags = LVHT_ONITEMSTATEICON;
    return nRow;
}

void SetTopRow(HWND hWnd, CListViewState& state, int nTop)
{
    // Icons scroll by whole grid rows: the top is the first item of one.
    const int nStep = ScrollStep(hWnd);
    const int nMax = (std::max(RowCount(state) - RowsPerPage(hWnd, state), 0) + nStep - 1) / nStep * nStep;
    nTop = std::clamp(nTop, 0, nMax) / nStep * nStep;
    if (nTop == state.nTop)
        return;
    const int nLines = (nTop - state.nTop) / nStep;
    state.nTop = nTop;
    if (!state.bRedraw) {
        state.bLayoutDue = true;
        return;
    }
    ScrollRowsArea(hWnd, state, nLines);
    UpdateVerticalScrollInfo(hWnd, state);
}

void SetScrollX(HWND hWnd, CListViewState& state, int nScrollX)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    nScrollX = std::clamp(nScrollX, 0, std::max(TotalWidth(state) - static_cast<int>(rc.right), 0));
    if (nScrollX == state.nScrollX)
        return;
    state.nScrollX = nScrollX;
    InvalidateRect(hWnd, nullptr, TRUE);
    LayoutListView(hWnd);
}

BOOL EnsureRowVisible(HWND hWnd, int nRow)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!IsRow(*pState, nRow))
        return FALSE;
    const int nPage = RowsPerPage(hWnd, *pState);
    if (nRow < pState->nTop)
        SetTopRow(hWnd, *pState, nRow);
    else if (nRow >= pState->nTop + nPage)
        SetTopRow(hWnd, *pState, nRow - nPage + ScrollStep(hWnd));
    return TRUE;
}

void InvalidateRowsFrom(HWND hWnd, const CListViewState& state, int nRow)
{
    if (!state.bRedraw || state.bDestroying || nRow > state.nTop + RowsPerPage(hWnd, state))
        return;
    RECT rc = RowsArea(hWnd, state);
    if (nRow > state.nTop) {
        const int nStep = ScrollStep(hWnd);
        rc.top += (nRow / nStep - state.nTop / nStep) * (IsReportView(hWnd) ? state.nRowHeight : IconCellSize().cy);
    }
    InvalidateRect(hWnd, &rc, TRUE);
}

void InvalidateRow(HWND hWnd, const CListViewState& state, int nRow)
{
    if (state.bDestroying || nRow < state.nTop || nRow > state.nTop + RowsPerPage(hWnd, state))
        return;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    if (!IsReportView(hWnd)) {
        // A focused label may grow past its cell: the cell's grid row and the next.
        const int nCellTop = (nRow / IconColumns(hWnd) - state.nTop / IconColumns(hWnd)) * IconCellSize().cy;
        RECT rcCells { 0, nCellTop, rc.right, nCellTop + 2 * IconCellSize().cy };
        InvalidateRect(hWnd, &rcCells, TRUE);
        return;
    }
    const int nTop = HeaderHeight(hWnd, state) + (nRow - state.nTop) * state.nRowHeight;
    RECT rcRow { 0, nTop, rc.right, nTop + state.nRowHeight };
    InvalidateRect(hWnd, &rcRow, TRUE);
}

BOOL HandleLayoutMessage(HWND hWnd, CListViewState* pState, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (uMsg) {
    case LVM_INSERTCOLUMN:
        *plResult = InsertColumn(hWnd, *pState, nIndex, reinterpret_cast<const LVCOLUMN*>(lParam));
        return TRUE;
    case LVM_DELETECOLUMN:
        if (nIndex < 0 || nIndex >= ColumnCount(*pState)) {
            *plResult = FALSE;
            return TRUE;
        }
        pState->columns.erase(pState->columns.begin() + nIndex);
        *plResult = SendMessage(pState->hHeader, HDM_DELETEITEM, wParam, 0);
        if ((pState = ListViewSurvivor(hWnd)))
            ColumnsChanged(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMN:
        *plResult = GetColumn(*pState, nIndex, reinterpret_cast<LVCOLUMN*>(lParam));
        return TRUE;
    case LVM_SETCOLUMN:
        *plResult = SetColumn(hWnd, *pState, nIndex, reinterpret_cast<const LVCOLUMN*>(lParam));
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        *plResult = nIndex >= 0 && nIndex < ColumnCount(*pState) ? ColumnWidth(*pState, nIndex) : 0;
        return TRUE;
    case LVM_SETCOLUMNWIDTH:
        *plResult = SetColumnWidth(hWnd, nIndex, static_cast<int>(static_cast<short>(LOWORD(lParam))));
        return TRUE;
    case LVM_GETHEADER:
        *plResult = reinterpret_cast<LRESULT>(pState->hHeader);
        return TRUE;
    case LVM_GETSTRINGWIDTH:
        *plResult = StringWidth(hWnd, reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case LVM_GETITEMRECT: {
        auto* pRect = reinterpret_cast<RECT*>(lParam);
        *plResult = pRect ? RowRect(hWnd, *pState, nIndex, pRect->left, pRect) : FALSE;
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* pRect = reinterpret_cast<RECT*>(lParam);
        if (!pRect)
            *plResult = FALSE;
        else if (pRect->top == 0)
            *plResult = RowRect(hWnd, *pState, nIndex, pRect->left, pRect);
        else
            *plResult = CellRect(hWnd, *pState, nIndex, pRect->top, pRect->left, pRect);
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* pInfo = reinterpret_cast<LVHITTESTINFO*>(lParam);
        *plResult = pInfo ? ListViewHitTest(hWnd, *pState, pInfo, uMsg == LVM_SUBITEMHITTEST) : -1;
        return TRUE;
    }
    case LVM_ENSUREVISIBLE:
        *plResult = EnsureRowVisible(hWnd, nIndex);
        return TRUE;
    case LVM_SCROLL:
        SetScrollX(hWnd, *pState, pState->nScrollX + nIndex);
        SetTopRow(hWnd, *pState,
            pState->nTop
                + static_cast<int>(lParam)
                    / std::max<int>(IsReportView(hWnd) ? pState->nRowHeight : IconCellSize().cy, 1) * ScrollStep(hWnd));
        *plResult = TRUE;
        return TRUE;
    case LVM_GETTOPINDEX:
        *plResult = pState->nTop;
        return TRUE;
    case LVM_GETCOUNTPERPAGE:
        *plResult = RowsPerPage(hWnd, *pState);
        return TRUE;
    case LVM_GETORIGIN:
        if (lParam)
            *reinterpret_cast<POINT*>(lParam) = POINT { pState->nScrollX, 0 };
        *plResult = TRUE;
        return TRUE;
    case LVM_REDRAWITEMS:
        for (int nRow = std::max(nIndex, pState->nTop); nRow <= static_cast<int>(lParam); ++nRow) {
            if (nRow > pState->nTop + RowsPerPage(hWnd, *pState))
                break;
            InvalidateRow(hWnd, *pState, nRow);
        }
        *plResult = TRUE;
        return TRUE;
    case LVM_UPDATE:
        InvalidateRow(hWnd, *pState, nIndex);
        UpdateWindow(hWnd);
        *plResult = TRUE;
        return TRUE;
    case LVM_SETIMAGELIST:
    case LVM_GETIMAGELIST: {
        if (nIndex < LVSIL_NORMAL || nIndex > LVSIL_STATE) {
            *plResult = 0;
            return TRUE;
        }
        HIMAGELIST& himl = pState->imageLists[nIndex];
        *plResult = reinterpret_cast<LRESULT>(himl);
        if (uMsg == LVM_SETIMAGELIST) {
            himl = reinterpret_cast<HIMAGELIST>(lParam);
            MeasureRows(hWnd);
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return TRUE;
    }
    case WM_VSCROLL: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(hWnd, SB_VERT, &si);
        SetTopRow(hWnd, *pState,
            ScrollTarget(LOWORD(wParam), pState->nTop, ScrollStep(hWnd), RowsPerPage(hWnd, *pState), si.nTrackPos));
        *plResult = 0;
        return TRUE;
    }
    case WM_HSCROLL: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(hWnd, SB_HORZ, &si);
        RECT rc {};
        GetClientRect(hWnd, &rc);
        SetScrollX(hWnd, *pState, ScrollTarget(LOWORD(wParam), pState->nScrollX, 8, rc.right, si.nTrackPos));
        *plResult = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}
