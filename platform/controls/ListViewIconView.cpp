#include "platform/controls/ListViewInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

// Labels take two lines, all their lines while the item has the focus.
constexpr int ICON_LABEL_LINES = 2;
constexpr int ICON_GAP = 2;

SIZE LargeImageSize(const CListViewState& state)
{
    int cx = GetSystemMetrics(SM_CXICON);
    int cy = GetSystemMetrics(SM_CYICON);
    if (state.imageLists[LVSIL_NORMAL])
        ImageList_GetIconSize(state.imageLists[LVSIL_NORMAL], &cx, &cy);
    return SIZE { cx, cy };
}

// The top-left of an item's cell in client coordinates.
POINT CellOrigin(HWND hWnd, const CListViewState& state, int nRow)
{
    const int nColumns = IconColumns(hWnd);
    const SIZE cell = IconCellSize();
    return POINT { (nRow % nColumns) * cell.cx, (nRow / nColumns - state.nTop / nColumns) * cell.cy };
}

// The label's box: the cell's width, as many lines as the text needs up to
// the limit (no limit for the focused item).
RECT LabelRect(HWND hWnd, const CListViewState& state, int nRow, HDC hdc, const std::string& strText)
{
    const POINT pt = CellOrigin(hWnd, state, nRow);
    const SIZE cell = IconCellSize();
    const int nTop = pt.y + ICON_GAP + LargeImageSize(state).cy + ICON_GAP;
    RECT rc { pt.x + ICON_GAP, nTop, pt.x + cell.cx - ICON_GAP, nTop };
    DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rc,
        DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    const bool bFocused = (state.rows[static_cast<size_t>(nRow)].nState & LVIS_FOCUSED) != 0;
    const int nMaxHeight = bFocused ? rc.bottom - rc.top : ICON_LABEL_LINES * tm.tmHeight;
    return RECT { pt.x + ICON_GAP, nTop, pt.x + cell.cx - ICON_GAP,
        nTop + std::max(std::min<int>(rc.bottom - rc.top, nMaxHeight), static_cast<int>(tm.tmHeight)) };
}

RECT MeasureLabel(HWND hWnd, const CListViewState& state, int nRow, const std::string& strText)
{
    const CControlMeasureDC dc(hWnd);
    return LabelRect(hWnd, state, nRow, dc.Get(), strText);
}

RECT IconRect(HWND hWnd, const CListViewState& state, int nRow)
{
    const POINT pt = CellOrigin(hWnd, state, nRow);
    const SIZE image = LargeImageSize(state);
    const int nLeft = pt.x + (IconCellSize().cx - image.cx) / 2;
    return RECT { nLeft, pt.y + ICON_GAP, nLeft + image.cx, pt.y + ICON_GAP + image.cy };
}

// The state image at the icon's lower left.
RECT StateIconRect(const CListViewState& state, const RECT& rcIcon)
{
    int cx = 0;
    int cy = 0;
    if (!state.imageLists[LVSIL_STATE] || !ImageList_GetIconSize(state.imageLists[LVSIL_STATE], &cx, &cy))
        return RECT {};
    return RECT { rcIcon.left - cx, rcIcon.bottom - cy, rcIcon.left, rcIcon.bottom };
}

void DrawIconItem(HWND hWnd, HDC hdc, int nRow)
{
    // The label comes first: its callback may change the list.
    std::string strText;
    int iImage = 0;
    if (!RowLabel(hWnd, nRow, &strText, &iImage))
        return;
    const CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState || !IsRow(*pState, nRow))
        return;
    const CListViewRow& row = pState->rows[static_cast<size_t>(nRow)];
    const bool bShowSelection = pState->bFocus || (ListViewStyle(hWnd) & LVS_SHOWSELALWAYS);
    const bool bSelected = (row.nState & (LVIS_SELECTED | LVIS_DROPHILITED)) && bShowSelection;
    const RECT rcIcon = IconRect(hWnd, *pState, nRow);
    if (pState->imageLists[LVSIL_NORMAL] && iImage >= 0) {
        UINT nStyle
            = (row.nState & LVIS_OVERLAYMASK) | ((bSelected || (row.nState & LVIS_CUT)) ? ILD_BLEND50 : ILD_NORMAL);
        ImageList_Draw(pState->imageLists[LVSIL_NORMAL], iImage, hdc, rcIcon.left, rcIcon.top, nStyle);
    }
    const UINT nStateImage = (row.nState & LVIS_STATEIMAGEMASK) >> 12;
    if (nStateImage > 0) {
        const RECT rcState = StateIconRect(*pState, rcIcon);
        ImageList_Draw(pState->imageLists[LVSIL_STATE], static_cast<int>(nStateImage) - 1, hdc, rcState.left,
            rcState.top, ILD_NORMAL);
    }
    RECT rcLabel = LabelRect(hWnd, *pState, nRow, hdc, strText);
    if (bSelected)
        FillRect(hdc, &rcLabel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcLabel,
        DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
    if (pState->bFocus && (row.nState & LVIS_FOCUSED))
        DrawFocusRect(hdc, &rcLabel);
}

} // namespace

SIZE IconCellSize()
{
    return SIZE { std::max(GetSystemMetrics(SM_CXICONSPACING), 1), std::max(GetSystemMetrics(SM_CYICONSPACING), 1) };
}

int IconColumns(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return std::max<int>(rc.right / IconCellSize().cx, 1);
}

int IconItemsPerPage(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return std::max<int>(rc.bottom / IconCellSize().cy, 1) * IconColumns(hWnd);
}

BOOL IconRowRect(HWND hWnd, const CListViewState& state, int nRow, int nKind, RECT* pRect)
{
    const RECT rcIcon = IconRect(hWnd, state, nRow);
    switch (nKind) {
    case LVIR_ICON:
        *pRect = rcIcon;
        return TRUE;
    case LVIR_LABEL:
        *pRect = MeasureLabel(hWnd, state, nRow, RowText(hWnd, nRow, 0));
        return TRUE;
    default: {
        const RECT rcLabel = MeasureLabel(hWnd, state, nRow, RowText(hWnd, nRow, 0));
        const POINT pt = CellOrigin(hWnd, state, nRow);
        *pRect = RECT { pt.x, pt.y, pt.x + IconCellSize().cx, std::max(rcLabel.bottom, rcIcon.bottom) };
        return TRUE;
    }
    }
}

int IconHitTest(HWND hWnd, const CListViewState& state, LVHITTESTINFO* pInfo)
{
    const SIZE cell = IconCellSize();
    const int nColumns = IconColumns(hWnd);
    const int nColumn = pInfo->pt.x / cell.cx;
    const int nRow = state.nTop + (pInfo->pt.y / cell.cy) * nColumns + nColumn;
    pInfo->flags = LVHT_NOWHERE;
    if (nColumn >= nColumns || !IsRow(state, nRow))
        return -1;
    const RECT rcIcon = IconRect(hWnd, state, nRow);
    const RECT rcState = StateIconRect(state, rcIcon);
    const RECT rcLabel = MeasureLabel(hWnd, state, nRow, RowText(hWnd, nRow, 0));
    if (PtInRect(&rcState, pInfo->pt))
        pInfo->flags = LVHT_ONITEMSTATEICON;
    else if (PtInRect(&rcIcon, pInfo->pt))
        pInfo->flags = LVHT_ONITEMICON;
    else if (PtInRect(&rcLabel, pInfo->pt))
        pInfo->flags = LVHT_ONITEMLABEL;
    else
        return -1;
    pInfo->iItem = nRow;
    pInfo->iSubItem = 0;
    return nRow;
}

void PaintIconView(HWND hWnd, HDC hdc, const RECT& rcPaint)
{
    const CListViewState* pState = ListViewState(hWnd);
    const int nColumns = IconColumns(hWnd);
    const SIZE cell = IconCellSize();
    // Only grid rows that meet the update region are drawn.
    const int nFirst = pState->nTop + std::max<int>(rcPaint.top / cell.cy, 0) * nColumns;
    const int nLast = pState->nTop + (std::max<int>(rcPaint.bottom - 1, 0) / cell.cy + 1) * nColumns - 1;
    for (int nRow = nFirst; nRow <= nLast; ++nRow) {
        if (!(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
            return;
        DrawIconItem(hWnd, hdc, nRow);
    }
}
