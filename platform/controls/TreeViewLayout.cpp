#include "platform/controls/TreeViewInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

SIZE ImageSize(HIMAGELIST himl)
{
    SIZE size {};
    if (himl)
        ImageList_GetIconSize(himl, reinterpret_cast<int*>(&size.cx), reinterpret_cast<int*>(&size.cy));
    return size;
}

void AppendVisible(CTreeViewState& state, const std::vector<HTREEITEM>& items, std::vector<HTREEITEM>* pVisible)
{
    for (HTREEITEM hItem : items) {
        pVisible->push_back(hItem);
        const CTreeNode& node = state.nodes[hItem];
        if (node.nState & TVIS_EXPANDED)
            AppendVisible(state, node.children, pVisible);
    }
}

// Measures each stored label once; callback labels are measured when
// painted. One device context serves every label of a pass, made when the
// first label needs it.
class CLabelMeasure {
public:
    explicit CLabelMeasure(HWND hWnd)
        : m_hWnd(hWnd)
    {
    }

    int Width(CTreeNode& node)
    {
        if (node.nTextWidth >= 0 || node.bTextCallback)
            return std::max(node.nTextWidth, 0);
        const bool bBold = (node.nState & TVIS_BOLD) != 0;
        HFONT& hItemFont = m_fonts[bBold ? 1 : 0];
        if (!hItemFont)
            hItemFont = TreeItemFont(m_hWnd, bBold);
        const HFONT hFont = hItemFont;
        if (!m_dc)
            m_dc.emplace(m_hWnd, hFont);
        else if (hFont != m_hFont)
            SelectObject(m_dc->Get(), hFont);
        m_hFont = hFont;
        node.nTextWidth = m_dc->TextWidth(node.strText);
        return node.nTextWidth;
    }

private:
    HWND m_hWnd;
    std::optional<CControlMeasureDC> m_dc;
    HFONT m_hFont { nullptr };       // the font selected into m_dc
    std::array<HFONT, 2> m_fonts {}; // the labels' fonts, plain and bold, once asked
};

// What the horizontal parts of every row depend on besides the item.
struct CRowMetrics {
    int nRootColumns; // 1 with TVS_LINESATROOT: top-level items get a button column
    int nStateWidth;  // the state image, for items that show one
    int nImageSpan;   // the normal image and its gap
};

CRowMetrics RowMetrics(HWND hWnd, const CTreeViewState& state)
{
    const int nImage = ImageSize(state.imageLists[TVSIL_NORMAL]).cx;
    return CRowMetrics { (TreeViewStyle(hWnd) & TVS_LINESATROOT) ? 1 : 0, ImageSize(state.imageLists[TVSIL_STATE]).cx,
        nImage ? nImage + 2 : 0 };
}

// The horizontal parts of an item's row at its depth (0: a top-level item).
void HorizontalParts(const CTreeViewState& state, CTreeNode& node, int nLevel, const CRowMetrics& metrics,
    CLabelMeasure& measure, CTreeRowParts* pParts)
{
    const int x = (nLevel + metrics.nRootColumns) * state.nIndent - state.nScrollX;
    pParts->xButton = x - state.nIndent;
    pParts->xStateImage = x;
    const bool bStateImage = state.imageLists[TVSIL_STATE] && (node.nState & TVIS_STATEIMAGEMASK);
    pParts->xImage = x + (bStateImage ? metrics.nStateWidth : 0);
    pParts->xLabel = pParts->xImage + metrics.nImageSpan;
    pParts->xLabelEnd = pParts->xLabel + measure.Width(node) + 2 * TREE_TEXT_MARGIN;
}

// The widest row of the shown items, unscrolled.
int ContentWidth(HWND hWnd, CTreeViewState& state)
{
    const CRowMetrics metrics = RowMetrics(hWnd, state);
    CLabelMeasure measure(hWnd);
    int nWidth = 0;
    auto widest = [&](auto& self, const std::vector<HTREEITEM>& items, int nLevel) -> void {
        for (HTREEITEM hItem : items) {
            CTreeNode& node = state.nodes[hItem];
            CTreeRowParts parts {};
            HorizontalParts(state, node, nLevel, metrics, measure, &parts);
            nWidth = std::max(nWidth, parts.xLabelEnd + state.nScrollX);
            if (node.nState & TVIS_EXPANDED)
                self(self, node.children, nLevel + 1);
        }
    };
    widest(widest, state.roots, 0);
    return nWidth;
}

} // namespace

std::vector<HTREEITEM> VisibleItems(CTreeViewState& state)
{
    std::vector<HTREEITEM> visible;
    AppendVisible(state, state.roots, &visible);
    return visible;
}

int VisibleIndex(CTreeViewState& state, HTREEITEM hItem)
{
    const std::vector<HTREEITEM> visible = VisibleItems(state);
    auto it = std::find(visible.begin(), visible.end(), hItem);
    return it == visible.end() ? -1 : static_cast<int>(it - visible.begin());
}

void MeasureTreeRows(HWND hWnd)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    int nHeight = ControlFontHeight(hWnd) + 3;
    nHeight = std::max<int>(nHeight, ImageSize(pState->imageLists[TVSIL_NORMAL]).cy + 1);
    nHeight = std::max<int>(nHeight, ImageSize(pState->imageLists[TVSIL_STATE]).cy + 1);
    pState->nRowHeight = nHeight;
}

int TreeRowHeight(HWND hWnd)
{
    return std::max(TreeViewState(hWnd)->nRowHeight, 1);
}

HFONT TreeItemFont(HWND hWnd, bool bBold)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    HFONT hFont = pState->hFont ? pState->hFont : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (!bBold)
        return hFont;
    if (!pState->hBoldFont) {
        LOGFONT lf {};
        GetObject(hFont, sizeof(lf), &lf);
        lf.lfWeight = FW_BOLD;
        pState->hBoldFont = CreateFontIndirect(&lf);
    }
    return pState->hBoldFont ? pState->hBoldFont : hFont;
}

int TreeRowsPerPage(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return std::max(static_cast<int>(rc.bottom) / TreeRowHeight(hWnd), 1);
}

bool RowParts(HWND hWnd, HTREEITEM hItem, CTreeRowParts* pParts)
{
    CTreeViewState& state = *TreeViewState(hWnd);
    const int nIndex = FindNode(state, hItem) ? VisibleIndex(state, hItem) : -1;
    if (nIndex < 0)
        return false;
    RowPartsAt(hWnd, hItem, nIndex, pParts);
    return true;
}

void RowPartsAt(HWND hWnd, HTREEITEM hItem, int nIndex, CTreeRowParts* pParts)
{
    CTreeViewState& state = *TreeViewState(hWnd);
    CTreeNode& node = state.nodes[hItem];
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const int nHeight = TreeRowHeight(hWnd);
    const int nTop = (nIndex - state.nTop) * nHeight;
    pParts->rcRow = RECT { 0, nTop, rc.right, nTop + nHeight };
    CLabelMeasure measure(hWnd);
    HorizontalParts(state, node, ItemLevel(state, hItem), RowMetrics(hWnd, state), measure, pParts);
}

HTREEITEM TreeHitTest(HWND hWnd, TVHITTESTINFO* pInfo)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const POINT pt = pInfo->pt;
    pInfo->flags = 0;
    pInfo->hItem = nullptr;
    if (pt.y < 0)
        pInfo->flags |= TVHT_ABOVE;
    else if (pt.y >= rc.bottom)
        pInfo->flags |= TVHT_BELOW;
    if (pt.x < 0)
        pInfo->flags |= TVHT_TOLEFT;
    else if (pt.x >= rc.right)
        pInfo->flags |= TVHT_TORIGHT;
    if (pInfo->flags)
        return nullptr;
    const std::vector<HTREEITEM> visible = VisibleItems(*pState);
    const int nIndex = pState->nTop + pt.y / TreeRowHeight(hWnd);
    CTreeRowParts parts {};
    if (nIndex >= static_cast<int>(visible.size())) {
        pInfo->flags = TVHT_NOWHERE;
        return nullptr;
    }
    RowPartsAt(hWnd, visible[static_cast<size_t>(nIndex)], nIndex, &parts);
    const HTREEITEM hItem = visible[static_cast<size_t>(nIndex)];
    if (pt.x < parts.xButton)
        pInfo->flags = TVHT_ONITEMINDENT;
    else if (pt.x < parts.xStateImage)
        pInfo->flags = (TreeViewStyle(hWnd) & TVS_HASBUTTONS) && ItemHasChildren(hWnd, hItem) ? TVHT_ONITEMBUTTON
                                                                                              : TVHT_ONITEMINDENT;
    else if (pt.x < parts.xImage)
        pInfo->flags = TVHT_ONITEMSTATEICON;
    else if (pt.x < parts.xLabel)
        pInfo->flags = TVHT_ONITEMICON;
    else if (pt.x < parts.xLabelEnd)
        pInfo->flags = TVHT_ONITEMLABEL;
    else
        pInfo->flags = TVHT_ONITEMRIGHT;
    pInfo->hItem = NodeSurvivor(hWnd, hItem) ? hItem : nullptr;
    return pInfo->hItem;
}

void LayoutTreeView(HWND hWnd)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState || pState->bLayingOut)
        return;
    if (!pState->bRedraw) {
        pState->bLayoutDue = true;
        return;
    }
    pState->bLayoutDue = false;
    pState->bLayingOut = true;
    const std::vector<HTREEITEM> visible = VisibleItems(*pState);
    const int nCount = static_cast<int>(visible.size());
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const int nPage = TreeRowsPerPage(hWnd);
    pState->nTop = std::clamp(pState->nTop, 0, std::max(nCount - nPage, 0));
    const int nWidth = ContentWidth(hWnd, *pState);
    pState->nScrollX = std::clamp(pState->nScrollX, 0, std::max(nWidth - static_cast<int>(rc.right), 0));
    SCROLLINFO siV { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(nCount - 1, 0),
        static_cast<UINT>(nPage), pState->nTop, 0 };
    SetScrollInfo(hWnd, SB_VERT, &siV, TRUE);
    SCROLLINFO siH { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(nWidth - 1, 0),
        static_cast<UINT>(std::max<LONG>(rc.right, 0)), pState->nScrollX, 0 };
    SetScrollInfo(hWnd, SB_HORZ, &siH, TRUE);
    if (!(TreeViewStyle(hWnd) & TVS_NOSCROLL)) {
        MatchScrollBar(hWnd, SB_VERT, nCount > nPage, &pState->bBarsRefused);
        if ((pState = TreeViewSurvivor(hWnd)))
            MatchScrollBar(hWnd, SB_HORZ, nWidth > rc.right, &pState->bBarsRefused);
    }
    if ((pState = TreeViewSurvivor(hWnd)))
        pState->bLayingOut = false;
}

void SetTreeTop(HWND hWnd, int nTop)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    const int nCount = static_cast<int>(VisibleItems(*pState).size());
    nTop = std::clamp(nTop, 0, std::max(nCount - TreeRowsPerPage(hWnd), 0));
    if (nTop == pState->nTop)
        return;
    pState->nTop = nTop;
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void SetTreeScrollX(HWND hWnd, int nScrollX)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const int nWidth = ContentWidth(hWnd, *pState);
    nScrollX = std::clamp(nScrollX, 0, std::max(nWidth - static_cast<int>(rc.right), 0));
    if (nScrollX == pState->nScrollX)
        return;
    pState->nScrollX = nScrollX;
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void InvalidateItem(HWND hWnd, HTREEITEM hItem)
{
    // While redraw is off nothing is drawn, and turning it on repaints everything.
    const CTreeViewState* pState = TreeViewSurvivor(hWnd);
    CTreeRowParts parts {};
    if (hItem && pState && pState->bRedraw && RowParts(hWnd, hItem, &parts))
        InvalidateRect(hWnd, &parts.rcRow, TRUE);
}

BOOL HandleTreeLayoutMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    switch (uMsg) {
    case TVM_GETITEMRECT: {
        auto* pRect = reinterpret_cast<RECT*>(lParam);
        CTreeRowParts parts {};
        *plResult = FALSE;
        HTREEITEM hItem = nullptr; // the caller puts the item where the rectangle goes
        if (pRect)
            std::memcpy(
                &hItem, pRect, sizeof(hItem)); // NOLINT(bugprone-sizeof-expression): the item travels in the rectangle
        if (pRect && RowParts(hWnd, hItem, &parts)) {
            *pRect = parts.rcRow;
            if (wParam) {
                pRect->left = parts.xLabel;
                pRect->right = parts.xLabelEnd;
            }
            *plResult = TRUE;
        }
        return TRUE;
    }
    case TVM_HITTEST:
        *plResult = lParam ? reinterpret_cast<LRESULT>(TreeHitTest(hWnd, reinterpret_cast<TVHITTESTINFO*>(lParam))) : 0;
        return TRUE;
    case TVM_GETVISIBLECOUNT:
        *plResult = TreeRowsPerPage(hWnd);
        return TRUE;
    case TVM_GETITEMHEIGHT:
        *plResult = TreeRowHeight(hWnd);
        return TRUE;
    case WM_VSCROLL: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(hWnd, SB_VERT, &si);
        const int nPage = TreeRowsPerPage(hWnd);
        SetTreeTop(hWnd, ScrollTarget(LOWORD(wParam), pState->nTop, 1, nPage, si.nTrackPos));
        *plResult = 0;
        return TRUE;
    }
    case WM_HSCROLL: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(hWnd, SB_HORZ, &si);
        RECT rc {};
        GetClientRect(hWnd, &rc);
        SetTreeScrollX(hWnd, ScrollTarget(LOWORD(wParam), pState->nScrollX, 8, rc.right, si.nTrackPos));
        *plResult = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}
