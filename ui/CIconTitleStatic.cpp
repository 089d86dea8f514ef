#include "ui/CIconTitleStatic.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CIconTitleStatic, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// What an empty title measures as.
constexpr const char* EMPTY_TEXT_STAND_IN = "XXXXXX";
// Room the frame and the gaps take beside the text and above and below it.
constexpr int TEXT_EXTRA_WIDTH = 14;
constexpr int TEXT_EXTRA_HEIGHT = 4;
constexpr int ICON_EXTRA_HEIGHT = 2;
constexpr int BOX_EXTRA_HEIGHT = 4;
// From the box's inner left edge: the icon, and the text after the icon.
constexpr int ICON_LEFT = 5;
constexpr int TEXT_AFTER_ICON = 10;

} // namespace

CIconTitleStatic::CIconTitleStatic()
{
    LOGFONT logFont {};
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    m_font.CreateFontIndirect(&logFont);
    IMAGEINFO info {};
    if (CImageList* pSmall = GetSystemImageList(1); pSmall && pSmall->GetImageInfo(0, &info)) {
        m_cxIcon = info.rcImage.right - info.rcImage.left;
        m_cyIcon = info.rcImage.bottom - info.rcImage.top;
    }
}

void CIconTitleStatic::SetText(int nIcon, LPCTSTR pszText)
{
    m_nIcon = nIcon;
    m_strText = pszText ? pszText : "";
    SIZE text {};
    if (GetSafeHwnd()) {
        CClientDC dc(this);
        CFont* pOldFont = dc.SelectObject(&m_font);
        text = dc.GetTextExtent(m_strText.IsEmpty() ? CString(EMPTY_TEXT_STAND_IN) : m_strText);
        dc.SelectObject(pOldFont);
    }
    m_cxText = text.cx + TEXT_EXTRA_WIDTH;
    m_cyText = std::max(text.cy + TEXT_EXTRA_HEIGHT, m_cyIcon + ICON_EXTRA_HEIGHT) + BOX_EXTRA_HEIGHT;
    if (GetSafeHwnd())
        Invalidate();
}

void CIconTitleStatic::OnPaint()
{
    CPaintDC dc(this);
    RECT client {};
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    RECT box { client.left, client.top, client.left + m_cxText + m_cxIcon + TEXT_AFTER_ICON, client.top + m_cyText };
    if (!IntersectRect(&box, &box, &client))
        return;
    dc.Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    InflateRect(&box, -1, -1);
    dc.Draw3dRect(&box, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    InflateRect(&box, -1, -1);
    dc.FillSolidRect(&box, GetSysColor(COLOR_WINDOW));
    if (m_strText.IsEmpty())
        return;
    if (CImageList* pSmall = GetSystemImageList(1); pSmall && m_nIcon >= 0) {
        const POINT icon { box.left + ICON_LEFT, box.top + (box.bottom - box.top - m_cyIcon) / 2 };
        pSmall->Draw(&dc, m_nIcon, icon, ILD_TRANSPARENT);
    }
    RECT text { box.left + m_cxIcon + TEXT_AFTER_ICON, box.top, box.right, box.bottom };
    CFont* pOldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.DrawText(m_strText, &text, DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(pOldFont);
}
