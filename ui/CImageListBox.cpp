#include "ui/CImageListBox.h"

#include "platform/framework/CDC.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CImageListBox, CListBox)

void CImageListBox::SetImageList(HIMAGELIST hImageList, int nImage)
{
    m_hImageList = hImageList;
    m_nImage = nImage;
    if (GetSafeHwnd())
        Invalidate();
}

void CImageListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RECT rect = lpDrawItemStruct->rcItem;
    if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool bEnabled = IsWindowEnabled() != FALSE;
        const bool bSelected = bEnabled && (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        COLORREF crText = bEnabled ? GetSysColor(COLOR_WINDOWTEXT) : DISABLED_TEXT;
        COLORREF crBack = GetSysColor(COLOR_WINDOW);
        if (bSelected) {
            crText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            crBack = GetSysColor(COLOR_HIGHLIGHT);
        }
        const COLORREF crOldText = pDC->SetTextColor(crText);
        const COLORREF crOldBack = pDC->SetBkColor(crBack);
        pDC->FillSolidRect(&rect, crBack);
        int cxImage = 0;
        int cyImage = 0;
        if (m_hImageList && ImageList_GetIconSize(m_hImageList, &cxImage, &cyImage)) {
            const int nTop = rect.top + (rect.bottom - rect.top - cyImage) / 2;
            ImageList_Draw(m_hImageList, m_nImage, pDC->GetSafeHdc(), rect.left + IMAGE_LEFT, nTop, ILD_TRANSPARENT);
        }
        CString strText;
        GetText(nItem, strText);
        RECT text = rect;
        text.left += IMAGE_LEFT + cxImage + TEXT_GAP;
        pDC->DrawText(strText, &text, DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER);
        pDC->SetBkColor(crOldBack);
        pDC->SetTextColor(crOldText);
    }
    if (lpDrawItemStruct->itemAction & ODA_FOCUS)
        pDC->DrawFocusRect(&rect);
}

void CImageListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    int nTextHeight = 0;
    {
        CClientDC dc(this);
        CFont* pOldFont = dc.SelectObject(GetFont());
        TEXTMETRIC metrics {};
        dc.GetTextMetrics(&metrics);
        nTextHeight = metrics.tmHeight;
        dc.SelectObject(pOldFont);
    }
    int cxImage = 0;
    int cyImage = 0;
    if (m_hImageList)
        ImageList_GetIconSize(m_hImageList, &cxImage, &cyImage);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(nTextHeight, cyImage) + ITEM_MARGIN);
}
