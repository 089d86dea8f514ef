#include "ui/PopupRowLook.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "ui/CPopupCtrl.h"
#include "ui/DrawDisabledImage.h"
#include "ui/MenuFont.h"

#include <algorithm>

namespace {

struct CSharedRowFonts {
    CFont normal;
    CFont bold;
    CDC measureDC;

    CSharedRowFonts()
    {
        CreateMenuFont(normal, FW_NORMAL);
        CreateMenuFont(bold, FW_BOLD);
        measureDC.CreateCompatibleDC(nullptr);
        measureDC.SelectObject(&bold);
    }
};

CSharedRowFonts& SharedRowFonts()
{
    // Never freed: the GDI object table they live in may end before them at exit.
    static auto* s_pFonts = new CSharedRowFonts;
    return *s_pFonts;
}

} // namespace

CPopupRowLook::CPopupRowLook()
    : m_normal(SharedRowFonts().normal)
    , m_bold(SharedRowFonts().bold)
    , m_measureDC(SharedRowFonts().measureDC)
{
}

SIZE CPopupRowLook::MeasureText(CWnd* /*pList*/, LPCTSTR pszText)
{
    const CString strText = CString(pszText) + "     ";
    return m_measureDC.GetTabbedTextExtent(strText, 0, nullptr);
}

SIZE CPopupRowLook::Measure(CWnd* pList, LPCTSTR pszText, SIZE image, int nMargin)
{
    const SIZE text = MeasureText(pList, pszText);
    return SIZE { image.cx + text.cx + ROW_PAD, std::max(image.cy, text.cy) + nMargin };
}

RECT CPopupRowLook::ImageRect(const RECT& row, SIZE image)
{
    const int nTop = row.top + (row.bottom - row.top - image.cy) / 2;
    return RECT { row.left + IMAGE_INSET, nTop, row.left + IMAGE_INSET + image.cx, nTop + image.cy };
}

BOOL CPopupRowLook::IsSelected(const DRAWITEMSTRUCT* pItem)
{
    return (pItem->itemState & ODS_SELECTED) && (pItem->itemAction & (ODA_DRAWENTIRE | ODA_SELECT));
}

void CPopupRowLook::DrawRow(const DRAWITEMSTRUCT* pItem, const CRow& row)
{
    CDC* pDC = CDC::FromHandle(pItem->hDC);
    const RECT& rect = pItem->rcItem;
    const BOOL bSelected = IsSelected(pItem);
    pDC->FillSolidRect(&rect, bSelected ? SELECTED_COLOUR : ROW_COLOUR);
    pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.right - rect.left, 1, LINE_COLOUR);

    const RECT image = ImageRect(rect, row.imageSize);
    if (row.pImages && row.nImage >= 0)
        row.pImages->Draw(pDC, row.nImage, POINT { image.left, image.top }, ILD_TRANSPARENT);
    RECT text = rect;
    text.left = image.right + IMAGE_INSET;
    if (row.bHasChild && row.pArrows) {
        const SIZE arrow = ImageSizeOf(row.pArrows);
        const POINT at { rect.right - IMAGE_INSET - arrow.cx, rect.top + (rect.bottom - rect.top - arrow.cy) / 2 };
        row.pArrows->Draw(pDC, row.nArrow, at, ILD_TRANSPARENT);
        text.right = at.x;
    }
    CFont* pOldFont = pDC->SelectObject(bSelected ? &m_bold : &m_normal);
    const COLORREF crOldText = pDC->SetTextColor(TEXT_COLOUR);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(row.pszText, -1, &text, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOldText);
    pDC->SelectObject(pOldFont);
    if (!row.bEnabled)
        DrawDisabledImage(pDC, rect, bSelected ? SELECTED_COLOUR : ROW_COLOUR, GetSysColor(COLOR_BTNHIGHLIGHT),
            GetSysColor(COLOR_GRAYTEXT));
}

void CPopupRowLook::MeasureListRow(CPopupCtrl& list, MEASUREITEMSTRUCT* pItem, SIZE image, int nMargin, int& nWidest)
{
    CString strText;
    list.GetText(static_cast<int>(pItem->itemID), strText);
    const SIZE size = Measure(&list, strText, image, nMargin);
    pItem->itemWidth = static_cast<UINT>(size.cx);
    pItem->itemHeight = static_cast<UINT>(size.cy);
    nWidest = std::max(nWidest, static_cast<int>(size.cx));
}

void CPopupRowLook::DrawListRow(CPopupCtrl& list, const DRAWITEMSTRUCT* pItem, CRow row)
{
    const int nItem = static_cast<int>(pItem->itemID);
    if (nItem < 0 || nItem >= list.GetCount())
        return;
    CString strText;
    list.GetText(nItem, strText);
    row.pszText = strText;
    row.bHasChild = list.ItemHasChild(nItem);
    row.bEnabled = list.IsItemEnabled(nItem);
    DrawRow(pItem, row);
}

SIZE ImageSizeOf(CImageList* pImages)
{
    IMAGEINFO info {};
    if (!pImages || !pImages->GetSafeHandle() || pImages->GetImageCount() == 0 || !pImages->GetImageInfo(0, &info))
        return SIZE {};
    return SIZE { info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top };
}
