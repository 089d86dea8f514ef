// CGridListCtrl: painting rows, the background and the row height.

#include "ui/CGridListCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Paint.h"
#include "ui/AppPalette.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

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

bool CGridListCtrl::IsRowHighlighted(UINT nState, const PaintLayout& layout)
{
    if (nState & LVIS_DROPHILITED)
        return true;
    return (nState & LVIS_SELECTED) && layout.bShowsSelection;
}

CGridListCtrl::PaintLayout CGridListCtrl::TakePaintLayout()
{
    PaintLayout layout;
    CWnd* pHeader = GetDlgItem(0);
    const int nPositions = pHeader ? static_cast<int>(pHeader->SendMessage(HDM_GETITEMCOUNT)) : 0;
    for (int nPosition = 0; nPosition < nPositions; ++nPosition) {
        const int nColumn = static_cast<int>(pHeader->SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nPosition)));
        if (nColumn == 0)
            layout.nLabelPosition = nPosition;
        LVCOLUMN column {};
        column.mask = LVCF_FMT | LVCF_WIDTH;
        if (!GetColumn(nColumn, &column) || column.cx == 0)
            continue;
        const GridColumn* pGrid = GetGridColumn(nColumn);
        layout.columns.push_back(PaintColumn {
            nColumn, nPosition, column.fmt, column.cx, pGrid ? pGrid->nType : -1, pGrid && pGrid->bShaded });
    }
    layout.bFullRow = (SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0;
    layout.bShowsSelection = GetFocus() == this || (GetStyle() & LVS_SHOWSELALWAYS);
    return layout;
}

void CGridListCtrl::FillCell(CDC* pDC, const RECT& cell, COLORREF crBack)
{
    // Two fills in place of a pen line: the cells to the right cover whatever a line past this cell would draw.
    const RECT line { cell.left, cell.bottom - 1, cell.right, cell.bottom };
    pDC->FillSolidRect(&line, RGB(255, 255, 255));
    const RECT body { cell.left, cell.top, cell.right, cell.bottom - 1 };
    pDC->FillSolidRect(&body, crBack);
}

void CGridListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    // A row drawn outside OnPaint takes the layout itself.
    const PaintLayout ownLayout = m_pPaintLayout ? PaintLayout {} : TakePaintLayout();
    const PaintLayout& layout = m_pPaintLayout ? *m_pPaintLayout : ownLayout;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nSaved = pDC->SaveDC();
    RealizeAppPalette(pDC);
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    const UINT nState = GetItemState(nItem, 0xFFFF);
    const bool bHighlighted = IsRowHighlighted(nState, layout);
    const bool bFocused = (nState & LVIS_FOCUSED) != 0;
    const int nMargin = 2 * pDC->GetTextExtent(" ").cx;
    CFont* pNormalFont = pDC->GetCurrentFont();
    if (bHighlighted && m_pBoldFont)
        pDC->SelectObject(m_pBoldFont.get());

    const RECT row = lpDrawItemStruct->rcItem;
    RECT textBand = row;
    textBand.top = row.top + (row.bottom - row.top - m_nTextHeight) / 2;
    textBand.bottom = textBand.top + m_nTextHeight;

    // Cells wholly outside the clip box would draw nothing: they are passed by.
    RECT clip {};
    const int nClip = pDC->GetClipBox(&clip);
    const bool bClipped = nClip == SIMPLEREGION || nClip == COMPLEXREGION;

    int x = row.left;
    std::optional<COLORREF> crText; // asked of IsItemRecent once, when a cell has text
    bool bTextColorSet = false;     // the label cell sets its own
    for (const PaintColumn& column : layout.columns) {
        const RECT cell { x, row.top, x + column.nWidth, row.bottom };
        x += column.nWidth;
        if (bClipped && column.nColumn != 0 && (cell.right <= clip.left || cell.left >= clip.right))
            continue;
        if (column.nColumn == 0) {
            const bool bBold = bHighlighted && m_pBoldFont;
            if (bBold)
                pDC->SelectObject(pNormalFont);
            DrawLabelCell(pDC, nItem, nState, layout, cell, textBand, nMargin, column.bShaded);
            if (bBold)
                pDC->SelectObject(m_pBoldFont.get());
            bTextColorSet = false;
            continue;
        }
        COLORREF crBack;
        if (bFocused)
            crBack = column.nPosition == m_nCurrentColumn
                ? m_colors[column.bShaded ? GRID_COLOR_CELL : GRID_COLOR_SHADED]
                : m_colors[GRID_COLOR_FOCUSED_ROW];
        else
            crBack = m_colors[column.bShaded ? GRID_COLOR_SHADED : GRID_COLOR_CELL];
        FillCell(pDC, cell, crBack);
        const CString strText = GetItemText(nItem, column.nColumn);
        if (strText.IsEmpty())
            continue;
        if (!crText)
            crText = m_colors[IsItemRecent(nItem) ? GRID_COLOR_RECENT_TEXT : GRID_COLOR_TEXT];
        if (!bTextColorSet)
            pDC->SetTextColor(*crText);
        bTextColorSet = true;
        if (column.nType == GRID_COLUMN_IMAGE) {
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
        pDC->DrawText(OneLine(strText), &text, CELL_TEXT_FLAGS | AlignmentFlags(column.nFormat));
    }
    if (x < m_nClientWidth) {
        const RECT rest { x, row.top, m_nClientWidth, row.bottom };
        FillCell(pDC, rest, m_colors[bFocused ? GRID_COLOR_FOCUSED_ROW : GRID_COLOR_CELL]);
    }
    pDC->RestoreDC(nSaved);
}

void CGridListCtrl::DrawLabelCell(CDC* pDC, int nItem, UINT nState, const PaintLayout& layout, const RECT& cell,
    const RECT& textBand, int nMargin, bool bShaded)
{
    LVITEM item {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    GetItem(&item);
    const CString strLabel = OneLine(GetItemText(nItem, 0));
    const bool bHighlighted = IsRowHighlighted(nState, layout);
    const bool bFocused = (nState & LVIS_FOCUSED) != 0;

    COLORREF crBack;
    if (bFocused)
        crBack = m_nCurrentColumn != layout.nLabelPosition ? m_colors[GRID_COLOR_FOCUSED_ROW]
                                                           : m_colors[bShaded ? GRID_COLOR_CELL : GRID_COLOR_SHADED];
    else
        crBack = m_colors[bShaded ? GRID_COLOR_SHADED : GRID_COLOR_CELL];
    FillCell(pDC, cell, crBack);

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

    const UINT nStateImage = (nState & LVIS_STATEIMAGEMASK) >> 12;
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
        const UINT nStyle = ILD_TRANSPARENT | (nState & LVIS_OVERLAYMASK) | (bHighlighted ? ILD_BLEND50 : 0);
        pSmallImages->Draw(pDC, item.iImage, POINT { icon.left, cell.top + (cell.bottom - cell.top - cy) / 2 }, nStyle);
        if (bHighlighted)
            RealizeAppPalette(pDC);
    }

    RECT text { label.left + nMargin, textBand.top, label.right - nMargin, textBand.bottom };
    pDC->DrawText(strLabel, &text, CELL_TEXT_FLAGS);
    if (!layout.bFullRow && bFocused) {
        CBrush frame(m_colors[GRID_COLOR_LABEL_FRAME]);
        pDC->FrameRect(&textBand, &frame);
    }
}

void CGridListCtrl::EraseBand(CDC* pDC, const RECT& client, int nTop, int nBottom)
{
    if (nTop >= nBottom)
        return;
    const RECT band { client.left, nTop, client.right, nBottom };
    pDC->FillSolidRect(&band, m_colors[GRID_COLOR_CELL]);
    for (int nColumn = 0; nColumn < m_columns.GetSize(); ++nColumn) {
        if (!m_columns[nColumn].bShaded)
            continue;
        RECT cell {};
        GetCellRect(0, nColumn, &cell);
        const RECT shade { cell.left, nTop, cell.right, nBottom };
        pDC->FillSolidRect(&shade, m_colors[GRID_COLOR_SHADED]);
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
    // Owner-drawn rows fill their whole width, so only what lies above and below them is erased.
    const int nCount = GetItemCount();
    RECT first {};
    RECT last {};
    if ((GetStyle() & LVS_OWNERDRAWFIXED) && nCount > 0
        && GetItemRect(static_cast<int>(SendMessage(LVM_GETTOPINDEX)), &first, LVIR_BOUNDS)
        && GetItemRect(nCount - 1, &last, LVIR_BOUNDS) && first.left <= client.left) {
        EraseBand(pDC, client, client.top, std::min(first.top, client.bottom));
        EraseBand(pDC, client, std::max(last.bottom, client.top), client.bottom);
    } else {
        EraseBand(pDC, client, client.top, client.bottom);
    }
    return TRUE;
}

void CGridListCtrl::OnPaint()
{
    // Kept across a paint nested in a row's text callback, which rows of this paint still refer to.
    std::unique_ptr<PaintLayout> pOuterLayout = std::move(m_pPaintLayout);
    m_pPaintLayout = std::make_unique<PaintLayout>(TakePaintLayout());
    if (IsReportView() && m_pPaintLayout->bFullRow) {
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
    m_pPaintLayout = std::move(pOuterLayout);
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
