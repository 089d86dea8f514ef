#include "ui/CImageMenu.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CWinThread.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Menu.h"
#include "platform/window/SystemMetrics.h"
#include "ui/AppPalette.h"
#include "ui/DrawDisabledImage.h"
#include "ui/MenuFont.h"

#include <algorithm>

namespace {

constexpr LONG NORMAL_WEIGHT = 400;
// An item's room beside its image and text, and above and below them.
constexpr int ITEM_EXTRA_WIDTH = 16;
constexpr int ITEM_EXTRA_HEIGHT = 2;
// Gaps left of the image and between image and text.
constexpr int IMAGE_LEFT = 4;
constexpr int TEXT_GAP = 4;

} // namespace

CImageMenu::CImageMenu()
{
    CreateMenuFont(m_font, NORMAL_WEIGHT);
    CreateMenu();
    RECT workArea {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
    m_nWorkAreaHeight = workArea.bottom - workArea.top;
}

CImageMenu::~CImageMenu() = default;

void CImageMenu::SetImageList(CImageList* pImages)
{
    m_pImages = pImages;
    m_imageInfo = {};
    if (m_pImages)
        m_pImages->GetImageInfo(0, &m_imageInfo);
}

BOOL CImageMenu::AppendItem(UINT nFlags, UINT nID, LPCTSTR pszText, int nImage)
{
    auto pItem = std::make_unique<CItem>(CItem { pszText ? pszText : "", nImage, nFlags });
    m_nColumnHeight += std::max<int>(ImageHeight(), TextSize(pItem->strText).cy) + ITEM_EXTRA_HEIGHT;
    UINT nMenuFlags = nFlags;
    if (m_nColumnHeight > m_nWorkAreaHeight) {
        m_nColumnHeight = 0;
        nMenuFlags |= MF_MENUBARBREAK;
    }
    CItem* pRecord = pItem.get();
    m_items.push_back(std::move(pItem));
    return AppendMenu(nMenuFlags, nID, reinterpret_cast<LPCTSTR>(pRecord));
}

void CImageMenu::Reset()
{
    m_items.clear();
    m_nColumnHeight = 0;
    DestroyMenu();
    CreateMenu();
}

SIZE CImageMenu::TextSize(const CString& strText) const
{
    CClientDC dc(AfxGetMainWnd());
    CFont* pOldFont = dc.SelectObject(const_cast<CFont*>(&m_font));
    const SIZE size = dc.GetTextExtent(strText.IsEmpty() ? CString(" ") : strText);
    dc.SelectObject(pOldFont);
    return size;
}

void CImageMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const auto* pItem = reinterpret_cast<const CItem*>(lpMeasureItemStruct->itemData);
    if (!pItem)
        return;
    if (pItem->nFlags & MF_SEPARATOR) {
        lpMeasureItemStruct->itemWidth = 0;
        lpMeasureItemStruct->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU) / 2);
        return;
    }
    const SIZE text = TextSize(pItem->strText);
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(ImageWidth() + text.cx + ITEM_EXTRA_WIDTH);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max<int>(ImageHeight(), text.cy) + ITEM_EXTRA_HEIGHT);
}

void CImageMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const auto* pItem = reinterpret_cast<const CItem*>(lpDrawItemStruct->itemData);
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pItem || !pDC)
        return;
    RealizeAppPalette(pDC);
    RECT rect = lpDrawItemStruct->rcItem;
    if (pItem->nFlags & MF_SEPARATOR) {
        pDC->FillSolidRect(&rect, GetSysColor(COLOR_MENU));
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2;
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool bDisabled = (lpDrawItemStruct->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED)
        && (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT));
    COLORREF crText = GetSysColor(COLOR_MENUTEXT);
    COLORREF crBack = GetSysColor(COLOR_MENU);
    if (bSelected) {
        crText = GetSysColor(bDisabled ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT);
        crBack = GetSysColor(COLOR_HIGHLIGHT);
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->FillSolidRect(&rect, crBack);
    RECT image { rect.left + IMAGE_LEFT, rect.top + (rect.bottom - rect.top - ImageHeight()) / 2, 0, 0 };
    image.right = image.left + ImageWidth();
    image.bottom = image.top + ImageHeight();
    if (m_pImages && pItem->nImage >= 0)
        ImageList_Draw(
            m_pImages->GetSafeHandle(), pItem->nImage, pDC->GetSafeHdc(), image.left, image.top, ILD_TRANSPARENT);
    RECT text { image.right + TEXT_GAP, rect.top, rect.right, rect.bottom };
    CFont* pOldFont = pDC->SelectObject(&m_font);
    pDC->SetTextColor(crText);
    pDC->DrawText(pItem->strText, &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    pDC->SelectObject(pOldFont);
    if (bDisabled && m_pImages && pItem->nImage >= 0)
        DrawDisabledImage(pDC, image, crBack, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}
