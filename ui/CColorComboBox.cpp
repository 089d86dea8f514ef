#include "ui/CColorComboBox.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CColorComboBox, CComboBox)

// clang-format off
BEGIN_MESSAGE_MAP(CColorComboBox, CComboBox)
    ON_WM_CREATE()
END_MESSAGE_MAP()
// clang-format on

namespace {

struct ColorRow {
    COLORREF crColor;
    UINT nNameID;
};

// clang-format off
constexpr ColorRow COLOR_ROWS[] = {
    { 0x000080, IDS_COLOR_MAROON },  { 0x008000, IDS_COLOR_GREEN },   { 0x008080, IDS_COLOR_OLIVE },
    { 0x800000, IDS_COLOR_NAVY },    { 0x800080, IDS_COLOR_PURPLE },  { 0x808000, IDS_COLOR_TEAL },
    { 0x808080, IDS_COLOR_GRAY },    { 0xC0C0C0, IDS_COLOR_SILVER },  { 0x0000FF, IDS_COLOR_RED },
    { 0x00FF00, IDS_COLOR_LIME },    { 0x00FFFF, IDS_COLOR_YELLOW },  { 0xFF0000, IDS_COLOR_BLUE },
    { 0xFF00FF, IDS_COLOR_FUCHSIA }, { 0xFFFF00, IDS_COLOR_AQUA },    { 0xFFFFFF, IDS_COLOR_WHITE },
};
// clang-format on

constexpr int SWATCH_INSET = 2; // the swatch inside the row, and the text below the row's top

} // namespace

void CColorComboBox::Fill()
{
    if (m_bFilled)
        return;
    m_bFilled = TRUE;
    for (const ColorRow& row : COLOR_ROWS) {
        CString strName;
        strName.LoadString(row.nNameID);
        const int nIndex = AddString(strName);
        if (nIndex == CB_ERRSPACE)
            break;
        if (nIndex >= 0)
            SetItemData(nIndex, row.crColor);
    }
    SetCurSel(0);
}

void CColorComboBox::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    Fill();
}

int CColorComboBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CComboBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    Fill();
    return 0;
}

COLORREF CColorComboBox::GetSelectedColor() const
{
    const int nSelected = GetCurSel();
    return nSelected < 0 ? 0 : static_cast<COLORREF>(GetItemData(nSelected));
}

void CColorComboBox::SelectColor(COLORREF crColor)
{
    for (int nIndex = GetCount() - 1; nIndex >= 0; --nIndex) {
        if (static_cast<COLORREF>(GetItemData(nIndex)) == crColor) {
            SetCurSel(nIndex);
            return;
        }
    }
}

void CColorComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const RECT rect = lpDrawItemStruct->rcItem;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF crBack = bSelected ? GetSysColor(COLOR_HIGHLIGHT) : UNSELECTED_BACK;
    const COLORREF crText = bSelected ? (~GetSysColor(COLOR_WINDOWTEXT) & 0xFFFFFF) : GetSysColor(COLOR_WINDOWTEXT);
    pDC->FillSolidRect(&rect, crBack);
    const COLORREF crOldText = pDC->SetTextColor(crText);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rect);
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem != -1) {
        const COLORREF crColor = (lpDrawItemStruct->itemState & ODS_DISABLED)
            ? GetSysColor(COLOR_INACTIVECAPTIONTEXT)
            : static_cast<COLORREF>(lpDrawItemStruct->itemData);
        const int nQuarter = (rect.right - rect.left) / 4;
        GetLBText(nItem, m_strText);
        pDC->SetTextColor(crColor);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        pDC->TextOut(rect.left + nQuarter + SWATCH_INSET, rect.top + SWATCH_INSET, m_strText);
        pDC->SetBkMode(nOldMode);
        RECT swatch = rect;
        InflateRect(&swatch, -SWATCH_INSET, -SWATCH_INSET);
        swatch.right = rect.left + nQuarter;
        pDC->FillSolidRect(&swatch, crColor);
        pDC->FrameRect(&swatch, CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    }
    pDC->SetTextColor(crOldText);
}
