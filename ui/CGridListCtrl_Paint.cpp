// CGridListCtrl: painting rows, the background and the row height.

#include "ui/CGridListCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Paint.h"
#include "ui/AppPalette.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr UINT CELL_TEXT_FLAGS = DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;
constexpr int ROW_MARGIN = 4; // added to the text or image height of a row

// Control characters (tabs, line breaks) are painted as blanks. Bytes below
// 0x20 never occur inside a UTF-8 sequence, so replacing them byte by byte is safe.
CString OneLine(CString strText)
{
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (static_cast<unsigned char>(strText[i]) < 0x20)
            strText.SetAt(i, ' ');
    }
    return strText;
}

UINT AlignmentFlags(int nFormat)
{
    switch (nFormat & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// The image index a type-3 cell names: its text as a decimal number; -1 when it is none.
int ImageIndexOf(const CString& strText)
{
    if (strText.IsEmpty() || strText.GetLength() > 9)
        return -1;
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (strText[i] < '0' || strText[i] > '9')
            return -1;
    }
    return std::atoi(strText);
}

} // namespace

bool CGridListCtrl::IsRowHighlighted(UINT nState) const
{
    if (nState & LVIS_DROPHILITED)
        return true;
    return (nState & LVIS_SELECTED) && (GetFocus() == this || (GetStyle() & LVS_SHOWSELALWAYS));
}

void CGridListCtrl::DrawCellBottomLine(CDC* pDC, const RECT& cell) const
{
    HGDIOBJ hOldPen = SelectObject(pDC->GetSafeHdc(), GetStockObject(WHITE_PEN));
    pDC->MoveTo(cell.left, cell.bottom - 1);
    pDC->LineTo(std::max(static_cast<int>(cell.right), m_nClientWidth), cell.bottom - 1);
    SelectObject(pDC->GetSafeHdc(), hOldPen);
}

void CGridListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nSaved = pDC->SaveDC();
    RealizeAppPalette(pDC);
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    const UINT nState = GetItemState(nItem, 0xFFFF);
    const bool bHighlighted = IsRowHighlighted(nState);
    const bool bFocused = (nState & LVIS_FOCUSED) != 0;
    const int nMargin = 2 * pDC->GetTextExtent(" ").cx;
    CFont* pNormalFont = pDC->GetCurrentFont();
    if (bHighlighted && m_pBoldFont)
        pDC->SelectObject(m_pBoldFont.get());

    RECT row {};
    GetItemRect(nItem, &row, LVIR_BOUNDS);
    RECT textBand = row;
    textBand.top = row.top + (row.bottom - row.top - m_nTextHeight) / 2;
    textBand.bottom = textBand.top + m_nTextHeight;

    CWnd* pHeader = GetDlgItem(0);
    const int nPositions = pHeader ? static_cast<int>(pHeader->SendMessage(HDM_GETITEMCOUNT)) : 0;
    int x = row.left;
    for (int nPosition = 0; nPosition < nPositions; ++nPosition) {
        const int nColumn = ColumnAtPosition(nPosition);
        LVCOLUMN column {};
        column.mask = LVCF_FMT | LVCF_WIDTH;
        if (!GetColumn(nColumn, &column) || column.cx == 0)
            continue;
        const RECT cell { x, row.top, x + column.cx, row.bottom };
        x += column.cx;
        const GridColumn* pGrid = GetGridColumn(nColumn);
        const bool bShaded = pGrid && pGrid->bShaded;
        if (nColumn == 0) {
            pDC->SelectObject(pNormalFont);
            DrawLabelCell(pDC, nItem, cell, textBand, nMargin, bShaded);
            if (bHighlighted && m_pBoldFont)
                pDC->SelectObject(m_pBoldFont.get());
            continue;
        }
        COLORREF crBack;
        if (bFocused)
            crBack = nPosition == m_nCurrentColumn ? m_colors[bShaded ? GRID_COLOR_CELL : GRID_COLOR_SHADED]
                                                   : m_colors[GRID_COLOR_FOCUSED_ROW];
        else
            crBack = m_colors[bShaded ? GRID_COLOR_SHADED : GRID_COLOR_CELL];
        pDC->FillSolidRect(&cell, crBack);
        DrawCellBottomLine(pDC, cell);
        const CString strText = GetItemText(nItem, nColumn);
        if (strText.IsEmpty())
            continue;
        pDC->SetTextColor(m_colors[IsItemRecent(nItem) ? GRID_COLOR_RECENT_TEXT : GRID_COLOR_TEXT]);
        pDC->SetBkColor(crBack);
        if (pGrid && pGrid->nType == GRID_COLUMN_IMAGE) {
            const int nImage = ImageIndexOf(strText);
            IMAGEINFO info {};
            if (m_pImageColumnList && nImage >= 0 && m_pImageColumnList->GetImageInfo(nImage, &info)) {
                const int cx = info.rcImage.right - info.rcImage.left;
                const int cy = info.rcImage.bottom - info.rcImage.top;
                m_pImageColumnList->Draw(pDC, nImage,
                    POINT {
                        cell.left + (cell.right - cell.left - cx) / 2, cell.top + (cell.bottom - cell.top - cy) / 2 },
                    ILD_TRANSPARENT);
            }
            continue;
        }
        RECT text { cell.left + nMargin, textBand.top, cell.right - nMargin, textBand.bottom };
        pDC->DrawText(OneLine(strText), &text, CELL_TEXT_FLAGS | AlignmentFlags(column.fmt));
    }
    if (x < m_nClientWidth) {
        const RECT rest { x, row.top, m_nClientWidth, row.bottom };
        pDC->FillSolidRect(&rest, m_colors[bFocused ? GRID_COLOR_FOCUSED_ROW : GRID_COLOR_CELL]);
        DrawCellBottomLine(pDC, rest);
    }
    pDC->RestoreDC(nSaved);
}

void CGridListCtrl::DrawLabelCell(
    CDC* pDC, int nItem, const RECT& cell, const RECT& textBand, int nMargin, bool bShaded)
{
    LVITEM item {};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.iItem = nItem;
    item.stateMask = 0xFFFF;
    GetItem(&item);
    const CString strLabel = OneLine(GetItemText(nItem, 0));
    const bool bHighlighted = IsRowHighlighted(item.state);
    const bool bFocused = (item.state & LVIS_FOCUSED) != 0;
    const bool bFullRow = (SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0;
    const int nLabelPosition = PositionOfColumn(0);

    COLORREF crBack;
    if (bFocused)
        crBack = m_nCurrentColumn != nLabelPosition ? m_colors[GRID_COLOR_FOCUSED_ROW]
                                                    : m_colors[bShaded ? GRID_COLOR_CELL : GRID_COLOR_SHADED];
    else
        crBack = m_colors[bShaded ? GRID_COLOR_SHADED : GRID_COLOR_CELL];
    pDC->FillSolidRect(&cell, crBack);
    DrawCellBottomLine(pDC, cell);

    RECT label {};
    GetItemRect(nItem, &label, LVIR_LABEL);
    if (bHighlighted) {
        const int nTextWidth = pDC->GetTextExtent(strLabel).cx;
        const RECT box { label.left + nMargin / 2, textBand.top, label.left + nMargin / 2 + nTextWidth + nMargin,
            textBand.bottom };
        pDC->FillSolidRect(&box, m_colors[GRID_COLOR_SELECTED_BOX]);
        pDC->SetTextColor(m_colors[GRID_COLOR_SELECTED_TEXT]);
        pDC->SetBkColor(m_colors[GRID_COLOR_SELECTED_BOX]);
    } else {
        pDC->SetTextColor(m_colors[IsItemRecent(nItem) ? GRID_COLOR_RECENT_TEXT : GRID_COLOR_TEXT]);
        pDC->SetBkColor(crBack);
    }

    const UINT nStateImage = (item.state & LVIS_STATEIMAGEMASK) >> 12;
    CImageList* pStateImages = GetImageList(LVSIL_STATE);
    IMAGEINFO info {};
    if (nStateImage > 0 && pStateImages && pStateImages->GetImageInfo(static_cast<int>(nStateImage) - 1, &info)) {
        const int cy = info.rcImage.bottom - info.rcImage.top;
        pStateImages->Draw(pDC, static_cast<int>(nStateImage) - 1,
            POINT { cell.left, cell.top + (cell.bottom - cell.top - cy) / 2 }, ILD_TRANSPARENT);
    }
    CImageList* pSmallImages = GetImageList(LVSIL_SMALL);
    if (pSmallImages && item.iImage >= 0 && pSmallImages->GetImageInfo(item.iImage, &info)) {
        RECT icon {};
        GetItemRect(nItem, &icon, LVIR_ICON);
        const int cy = info.rcImage.bottom - info.rcImage.top;
        const UINT nStyle = ILD_TRANSPARENT | (item.state & LVIS_OVERLAYMASK) | (bHighlighted ? ILD_BLEND50 : 0);
        pSmallImages->Draw(pDC, item.iImage, POINT { icon.left, cell.top + (cell.bottom - cell.top - cy) / 2 }, nStyle);
        if (bHighlighted)
            RealizeAppPalette(pDC);
    }

    RECT text { label.left + nMargin, textBand.top, label.right - nMargin, textBand.bottom };
    pDC->DrawText(strLabel, &text, CELL_TEXT_FLAGS);
    if (!bFullRow && bFocused) {
        CBrush frame(m_colors[GRID_COLOR_LABEL_FRAME]);
        pDC->FrameRect(&textBand, &frame);
    }
}

BOOL CGridListCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (!IsReportView())
        return CListCtrl::OnEraseBkgnd(pDC);
    RealizeAppPalette(pDC);
    RECT client {};
    GetClientRect(&client);
    client.right = std::min(static_cast<int>(client.right), std::max(m_nClientWidth, 0));
    pDC->FillSolidRect(&client, m_colors[GRID_COLOR_CELL]);
    for (int nColumn = 0; nColumn < m_columns.GetSize(); ++nColumn) {
        if (!m_columns[nColumn].bShaded)
            continue;
        RECT cell {};
        GetCellRect(0, nColumn, &cell);
        const RECT band { cell.left, client.top, cell.right, client.bottom };
        pDC->FillSolidRect(&band, m_colors[GRID_COLOR_SHADED]);
    }
    return TRUE;
}

void CGridListCtrl::OnPaint()
{
    if (IsReportView() && (SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT)) {
        RECT bounds {};
        RECT update {};
        if (GetItemRect(0, &bounds, LVIR_BOUNDS) && bounds.right < m_nClientWidth
            && ::GetUpdateRect(m_hWnd, &update, FALSE)) {
            update.left = bounds.right - 1;
            update.right = m_nClientWidth;
            InvalidateRect(&update, FALSE);
        }
    }
    Default();
}

void CGridListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (!IsReportView())
        return;
    {
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(GetFont());
        TEXTMETRIC metrics {};
        dc.GetTextMetrics(&metrics);
        dc.SelectObject(pOld);
        m_nTextHeight = metrics.tmHeight;
    }
    int nHeight = m_nTextHeight + ROW_MARGIN;
    CImageList* pSmallImages = GetImageList(LVSIL_SMALL);
    IMAGEINFO info {};
    if (pSmallImages && pSmallImages->GetImageInfo(1, &info))
        nHeight = std::max(nHeight, static_cast<int>(info.rcImage.bottom - info.rcImage.top) + ROW_MARGIN);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(nHeight);
}
