// The systems tree's items drawn as tabs: the selected one opens on the right
// into the splitter's connector, the others are rounded on the left.

#include "frame/CSisTreeCtrl.h"

#include "frame/AppMessages.h"
#include "ui/AppPalette.h"

#include "platform/controls/CustomDraw.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/SelectGuard.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/ScrollBars.h"

#include <algorithm>

namespace {

constexpr int CORNER = 11;         // of the rounded rectangle that rounds the tabs
constexpr int TAB_EXTENSION = 100; // pixels beyond the item's right edge
constexpr COLORREF SELECTED_EDGE = RGB(232, 232, 232);
constexpr COLORREF NEIGHBOUR_EDGE = RGB(184, 184, 184);
constexpr COLORREF NEIGHBOUR_SHADE = RGB(160, 160, 160);

void DrawLine(CDC& dc, COLORREF cr, int x1, int y1, int x2, int y2)
{
    CPen pen(PS_SOLID, 1, cr);
    CSelectGuard guard(dc.GetSafeHdc(), pen.GetSafeHandle());
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

} // namespace

void CSisTreeCtrl::OnCustomDraw(NMHDR* pNotify, LRESULT* pResult)
{
    auto& draw = *reinterpret_cast<NMTVCUSTOMDRAW*>(pNotify);
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: {
        RealizeAppPalette(CDC::FromHandle(draw.nmcd.hdc));
        auto hItem = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
        const BOOL bMarked = (draw.nmcd.uItemState & CDIS_SELECTED)
            || (GetItemState(hItem, TVIS_DROPHILITED | TVIS_SELECTED) & (TVIS_DROPHILITED | TVIS_SELECTED));
        if (bMarked) {
            draw.clrTextBk = m_colours[COLOUR_SELECTED_ITEM];
            draw.clrText = m_colours[COLOUR_SELECTED_TEXT];
        } else {
            draw.clrTextBk = m_colours[COLOUR_ITEM];
            draw.clrText = (draw.nmcd.uItemState & CDIS_HOT) ? m_colours[COLOUR_HOT_TEXT] : m_colours[COLOUR_TEXT];
        }
        *pResult = CDRF_NOTIFYPOSTPAINT;
        return;
    }
    case CDDS_ITEMPOSTPAINT:
        DrawItemTab(draw);
        *pResult = CDRF_DODEFAULT;
        return;
    default:
        *pResult = CDRF_DODEFAULT;
        return;
    }
}

void CSisTreeCtrl::DrawItemTab(NMTVCUSTOMDRAW& draw)
{
    CDC& dc = *CDC::FromHandle(draw.nmcd.hdc);
    auto hItem = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    CRect rc(draw.nmcd.rc);
    // The tab spans the whole scrollable width.
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (GetScrollInfo(SB_HORZ, &info)) {
        rc.left -= info.nPos;
        rc.right += std::max(0, info.nMax - info.nPos - static_cast<int>(info.nPage) + 1);
    }
    if (draw.nmcd.uItemState & CDIS_FOCUS) {
        CRect rcLabel;
        if (GetItemRect(hItem, &rcLabel, TRUE))
            dc.DrawFocusRect(&rcLabel);
    }
    const BOOL bSelected = GetItemState(hItem, TVIS_SELECTED) != 0;
    if (bSelected) {
        // Outlined, open on the right where the connector joins it.
        DrawLine(dc, GetSysColor(COLOR_3DDKSHADOW), rc.left, rc.top, rc.right, rc.top);
        DrawLine(dc, GetSysColor(COLOR_BTNSHADOW), rc.left, rc.top, rc.left, rc.bottom - 1);
        DrawLine(dc, GetSysColor(COLOR_BTNHIGHLIGHT), rc.left, rc.bottom - 1, rc.right, rc.bottom - 1);
        DrawLine(dc, GetSysColor(COLOR_BTNFACE), rc.left + 1, rc.top + 1, rc.right, rc.top + 1);
        DrawLine(dc, SELECTED_EDGE, rc.left + 1, rc.bottom - 2, rc.right, rc.bottom - 2);
        PostToParent(g_nMsgSelDrawn);
    } else {
        DrawLine(dc, m_colours[COLOUR_SHADE], rc.left, rc.bottom - 1, rc.right, rc.bottom - 1);
        if (GetNextItem(hItem, TVGN_PREVIOUSVISIBLE)
            && GetItemState(GetNextItem(hItem, TVGN_PREVIOUSVISIBLE), TVIS_SELECTED)) {
            DrawLine(dc, NEIGHBOUR_EDGE, rc.left, rc.top, rc.right, rc.top);
            DrawLine(dc, NEIGHBOUR_SHADE, rc.left, rc.top + 1, rc.right, rc.top + 1);
        }
        if (GetNextItem(hItem, TVGN_NEXTVISIBLE) && GetItemState(GetNextItem(hItem, TVGN_NEXTVISIBLE), TVIS_SELECTED)) {
            DrawLine(dc, NEIGHBOUR_EDGE, rc.left, rc.bottom - 2, rc.right, rc.bottom - 2);
            DrawLine(dc, GetSysColor(COLOR_BTNHIGHLIGHT), rc.left, rc.bottom - 1, rc.right, rc.bottom - 1);
        }
    }
    // What lies outside the rounded tab takes the tree's background.
    CRgn rgnItem;
    CRgn rgnTab;
    if (rgnItem.CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom)
        && rgnTab.CreateRoundRectRgn(rc.left, rc.top - 1, rc.right + TAB_EXTENSION, rc.bottom + 1, CORNER, CORNER)
        && rgnItem.CombineRgn(&rgnItem, &rgnTab, RGN_DIFF) != ERROR) {
        CBrush brush(m_colours[COLOUR_BACKGROUND]);
        dc.FillRgn(&rgnItem, &brush);
    }
}
