#include "ui/CGridHeaderCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"

IMPLEMENT_DYNAMIC(CGridHeaderCtrl, CHeaderCtrl)

namespace {

constexpr UINT IMAGE_MAP_BLOCK = 10;
constexpr UINT TEXT_FLAGS = DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;

} // namespace

CGridHeaderCtrl::CGridHeaderCtrl()
    : m_itemImages(IMAGE_MAP_BLOCK)
{
}

CGridHeaderCtrl::~CGridHeaderCtrl() = default;

void CGridHeaderCtrl::MakeOwnerDrawn(int nItem)
{
    if (nItem < 0 || !GetSafeHwnd())
        return;
    HDITEM item {};
    item.mask = HDI_FORMAT;
    if (GetItem(nItem, &item) && !(item.fmt & HDF_OWNERDRAW)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(nItem, &item);
    }
}

int CGridHeaderCtrl::SetSortImage(int nColumn, BOOL bDirection)
{
    if (nColumn == m_nSortColumn && bDirection == m_bSortDirection)
        return m_nSortColumn;
    const int nPrevious = m_nSortColumn;
    m_nSortColumn = nColumn;
    m_bSortDirection = bDirection;
    MakeOwnerDrawn(nColumn);
    if (GetSafeHwnd())
        Invalidate(TRUE);
    return nPrevious;
}

void CGridHeaderCtrl::SetImageList(CImageList* pImageList)
{
    m_pImageList.reset(pImageList);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CGridHeaderCtrl::SetItemImage(int nItem, int nImage)
{
    m_itemImages.SetAt(nItem, nImage);
    MakeOwnerDrawn(nItem);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CGridHeaderCtrl::DrawSortArrow(CDC* pDC, const RECT& item, int m) const
{
    CPen highlight(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    const int r = item.right;
    const int b = item.bottom;
    CPen* pOldPen = pDC->SelectObject(&highlight);
    if (m_bSortDirection) {
        pDC->MoveTo(r - 3 * m / 2, m - 1);
        pDC->LineTo(r - 2 * m - 1, b - m + 1);
        pDC->SelectObject(&shadow);
        pDC->MoveTo(r - 2 * m - 1, b - m);
        pDC->LineTo(r - 5 * m / 2 - 1, m - 1);
        pDC->LineTo(r - 3 * m / 2, m - 1);
    } else {
        pDC->MoveTo(r - 2 * m, m - 1);
        pDC->LineTo(r - 3 * m / 2, b - m);
        pDC->LineTo(r - 5 * m / 2 - 2, b - m);
        pDC->SelectObject(&shadow);
        pDC->MoveTo(r - 5 * m / 2 - 1, b - m - 1);
        pDC->LineTo(r - 2 * m, m - 2);
    }
    pDC->SelectObject(pOldPen);
}

void CGridHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);
    const int nSaved = dc.SaveDC();
    const RECT item = lpDrawItemStruct->rcItem;
    CRgn clip;
    clip.CreateRectRgnIndirect(&item);
    dc.SelectClipRgn(&clip);
    dc.FillSolidRect(&item, GetSysColor(COLOR_BTNFACE));
    const int nMargin = 2 * dc.GetTextExtent(" ").cx;
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);

    RECT text = item;
    int nImage = -1;
    bool bHasImage = false;
    if (m_pImageList && m_itemImages.Lookup(nItem, nImage) && nImage >= 0) {
        IMAGEINFO info {};
        if (m_pImageList->GetImageInfo(nImage, &info)) {
            const int cx = info.rcImage.right - info.rcImage.left;
            const int cy = info.rcImage.bottom - info.rcImage.top;
            m_pImageList->Draw(&dc, nImage,
                POINT { item.left + (item.right - item.left - cx) / 2, item.top + (item.bottom - item.top - cy) / 2 },
                ILD_TRANSPARENT);
            text.left += nMargin / 2 + cx;
            bHasImage = true;
        }
    }

    char szText[TEXT_LIMIT + 1] {};
    HDITEM header {};
    header.mask = HDI_TEXT | HDI_FORMAT;
    header.pszText = szText;
    header.cchTextMax = sizeof(szText);
    GetItem(nItem, &header);
    UINT nFormat = TEXT_FLAGS;
    if (header.fmt & HDF_CENTER)
        nFormat |= DT_CENTER;
    else if (header.fmt & HDF_RIGHT)
        nFormat |= DT_RIGHT;
    if (lpDrawItemStruct->itemState == ODS_SELECTED) {
        OffsetRect(&text, 1, 0);
        text.top += 2;
    }
    const bool bSortColumn = nItem == m_nSortColumn;
    if (bSortColumn)
        text.right -= 3 * nMargin;
    InflateRect(&text, -nMargin, 0);
    if (text.right > text.left) {
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        dc.DrawText(szText, -1, &text, nFormat);
    }
    if (bSortColumn && !bHasImage)
        DrawSortArrow(&dc, item, nMargin);

    dc.RestoreDC(nSaved);
    dc.Detach();
}
