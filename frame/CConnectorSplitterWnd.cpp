#include "frame/CConnectorSplitterWnd.h"

#include "platform/controls/TreeViewControl.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF BAND_FACE = RGB(224, 224, 224); // the tree's selected item
constexpr COLORREF BAND_INNER_EDGE = RGB(232, 232, 232);
constexpr int STEP = 2; // the corners towards the list close in steps this wide

} // namespace

CRect CConnectorSplitterWnd::ConnectorBand(const CRect& rcClip) const
{
    CWnd* pTreePane = GetPane(0, 0);
    HWND hTree = pTreePane ? ::GetDlgItem(pTreePane->GetSafeHwnd(), TREE_CONTROL_ID) : nullptr;
    if (!hTree)
        return {};
    auto hItem = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!hItem)
        return {};
    RECT rcItem {};
    std::memcpy(&rcItem, &hItem, sizeof(hItem)); // the message takes the item in the rectangle
    if (!::SendMessage(hTree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rcItem)))
        return {};
    RECT rcTree {};
    ::GetClientRect(hTree, &rcTree);
    ::MapWindowPoints(hTree, m_hWnd, reinterpret_cast<LPPOINT>(&rcItem), 2);
    ::MapWindowPoints(hTree, m_hWnd, reinterpret_cast<LPPOINT>(&rcTree), 2);
    CRect rcBand(rcClip.left, std::max({ rcItem.top, rcTree.top, rcClip.top }), rcClip.right,
        std::min({ rcItem.bottom, rcTree.bottom, rcClip.bottom }));
    return rcBand.top < rcBand.bottom && rcBand.left < rcBand.right ? rcBand : CRect();
}

void CConnectorSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    CSplitterWndEx::OnDrawSplitter(pDC, nType, rect);
    if (!pDC || m_nCols < 2)
        return;
    // The bar after the tree column, and the left edge of the list pane's border.
    const int xBar = m_cxBorder + m_pColInfo[0].nCurSize;
    CRect rcClip;
    bool bListSide = false;
    if (nType == splitBar && rect.left == xBar) {
        rcClip = rect;
    } else if (nType == splitBorder && rect.left == xBar + m_cxSplitter - m_cxBorder) {
        rcClip = CRect(rect.left, rect.top, rect.left + m_cxBorder, rect.bottom);
        bListSide = true;
    } else {
        return;
    }
    const CRect rcBand = ConnectorBand(rcClip);
    if (rcBand.Width() <= 0)
        return;
    pDC->FillSolidRect(&rcBand, BAND_FACE);
    // The band's upper and lower edges continue the outline of the tree's tab;
    // on the list's side the corners close in steps.
    const int nStep = bListSide ? STEP : 0;
    const int cx = rcBand.Width();
    const int nTop = rcBand.top;
    const int nBottom = rcBand.bottom - 1;
    pDC->FillSolidRect(rcBand.left, nTop, cx, 1, GetSysColor(COLOR_BTNSHADOW));
    pDC->FillSolidRect(rcBand.left, nTop + 1, std::max(cx - nStep, 0), 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rcBand.left, nBottom, cx, 1, GetSysColor(COLOR_WINDOWFRAME));
    pDC->FillSolidRect(rcBand.left, nBottom - 1, std::max(cx - nStep, 0), 1, GetSysColor(COLOR_BTNFACE));
    pDC->FillSolidRect(rcBand.left, nBottom - 2, std::max(cx - 2 * nStep, 0), 1, BAND_INNER_EDGE);
}

void CConnectorSplitterWnd::InvalidateConnector()
{
    if (!m_hWnd || m_nCols < 2)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int x = rcClient.left + m_pColInfo[0].nCurSize + m_cxBorder + m_cxBorderShare;
    CRect rcStrip(x, rcClient.top, x + m_cxSplitter, rcClient.bottom);
    InvalidateRect(&rcStrip, TRUE);
    UpdateWindow();
}
