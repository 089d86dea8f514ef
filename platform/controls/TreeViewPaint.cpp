#include "platform/controls/TreeViewInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

COLORREF TreeColor(COLORREF clrSet, int nSysColor)
{
    return clrSet == CTreeViewState::CLR_DEFAULT_TREE ? GetSysColor(nSysColor) : clrSet;
}

void FillSolid(HDC hdc, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = CreateSolidBrush(clr);
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

// The expand button: a box with a minus, or a plus while collapsed.
void DrawButton(HDC hdc, const CTreeRowParts& parts, int nIndent, bool bExpanded)
{
    const int xCenter = parts.xButton + nIndent / 2;
    const int yCenter = (parts.rcRow.top + parts.rcRow.bottom) / 2;
    Rectangle(hdc, xCenter - 4, yCenter - 4, xCenter + 5, yCenter + 5);
    MoveToEx(hdc, xCenter - 2, yCenter, nullptr);
    LineTo(hdc, xCenter + 3, yCenter);
    if (!bExpanded) {
        MoveToEx(hdc, xCenter, yCenter - 2, nullptr);
        LineTo(hdc, xCenter, yCenter + 3);
    }
}

// The line from the parent's column to the item.
void DrawLines(HDC hdc, const CTreeRowParts& parts, int nIndent, bool bLast)
{
    const int xCenter = parts.xButton + nIndent / 2;
    const int yCenter = (parts.rcRow.top + parts.rcRow.bottom) / 2;
    MoveToEx(hdc, xCenter, parts.rcRow.top, nullptr);
    LineTo(hdc, xCenter, bLast ? yCenter : parts.rcRow.bottom);
    MoveToEx(hdc, xCenter, yCenter, nullptr);
    LineTo(hdc, parts.xStateImage, yCenter);
}

LRESULT SendCustomDraw(HWND hWnd, NMTVCUSTOMDRAW* pDraw, DWORD dwStage)
{
    pDraw->nmcd.dwDrawStage = dwStage;
    return SendNotify(hWnd, NM_CUSTOMDRAW, &pDraw->nmcd.hdr);
}

// Draws one row, asking custom draw about it when the parent wants that.
// Returns false when a handler destroyed the tree.
bool DrawItem(HWND hWnd, HDC hdc, HTREEITEM hItem, bool bItemDraw)
{
    std::string strText;
    const int iImage = ItemImage(hWnd, hItem);
    const bool bChildren = ItemHasChildren(hWnd, hItem);
    if (!ItemText(hWnd, hItem, &strText))
        return TreeViewSurvivor(hWnd) != nullptr;
    CTreeViewState* pState = TreeViewState(hWnd);
    CTreeNode* pNode = FindNode(*pState, hItem);
    CTreeRowParts parts {};
    if (!RowParts(hWnd, hItem, &parts))
        return true;
    const DWORD dwStyle = TreeViewStyle(hWnd);
    const bool bShowSel = pState->bFocus || (dwStyle & TVS_SHOWSELALWAYS);
    const bool bSelected = (pState->hCaret == hItem && bShowSel) || (pNode->nState & TVIS_DROPHILITED)
        || (pState->hCaret != hItem && (pNode->nState & TVIS_SELECTED));
    const bool bBold = (pNode->nState & TVIS_BOLD) != 0;
    NMTVCUSTOMDRAW draw {};
    draw.nmcd.hdc = hdc;
    draw.nmcd.rc = parts.rcRow;
    draw.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(hItem);
    draw.nmcd.uItemState = (bSelected ? CDIS_SELECTED : 0)
        | (pState->hCaret == hItem && pState->bFocus ? CDIS_FOCUS : 0) | (pState->hHot == hItem ? CDIS_HOT : 0);
    draw.nmcd.lItemlParam = pNode->lParam;
    draw.clrText = bSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : TreeColor(pState->clrText, COLOR_WINDOWTEXT);
    draw.clrTextBk = bSelected ? GetSysColor(COLOR_HIGHLIGHT) : TreeColor(pState->clrBk, COLOR_WINDOW);
    draw.iLevel = ItemLevel(*pState, hItem);
    SelectObject(hdc, TreeItemFont(hWnd, bBold));
    LRESULT lItem = CDRF_DODEFAULT;
    if (bItemDraw) {
        lItem = SendCustomDraw(hWnd, &draw, CDDS_ITEMPREPAINT);
        if (!(pState = TreeViewSurvivor(hWnd)))
            return false;
        if (!(lItem & CDRF_NEWFONT))
            SelectObject(hdc, TreeItemFont(hWnd, bBold));
        if (!(pNode = FindNode(*pState, hItem)) || !RowParts(hWnd, hItem, &parts))
            return true;
    }
    if (!(lItem & CDRF_SKIPDEFAULT)) {
        const bool bFullRow = (dwStyle & TVS_FULLROWSELECT) && !(dwStyle & TVS_HASLINES);
        FillSolid(hdc, parts.rcRow, TreeColor(pState->clrBk, COLOR_WINDOW));
        if (parts.xButton + pState->nIndent > 0 && parts.xStateImage > 0) {
            if (dwStyle & TVS_HASLINES) {
                const std::vector<HTREEITEM>& siblings = SiblingsOf(*pState, pNode->hParent);
                DrawLines(hdc, parts, pState->nIndent, !siblings.empty() && siblings.back() == hItem);
            }
            if ((dwStyle & TVS_HASBUTTONS) && bChildren)
                DrawButton(hdc, parts, pState->nIndent, (pNode->nState & TVIS_EXPANDED) != 0);
        }
        const UINT nStateImage = (pNode->nState & TVIS_STATEIMAGEMASK) >> 12;
        if (pState->imageLists[TVSIL_STATE] && nStateImage > 0)
            ImageList_Draw(pState->imageLists[TVSIL_STATE], static_cast<int>(nStateImage) - 1, hdc, parts.xStateImage,
                parts.rcRow.top, ILD_NORMAL);
        if (pState->imageLists[TVSIL_NORMAL] && iImage >= 0)
            ImageList_Draw(pState->imageLists[TVSIL_NORMAL], iImage, hdc, parts.xImage, parts.rcRow.top,
                (pNode->nState & TVIS_OVERLAYMASK) | (bSelected ? ILD_SELECTED : ILD_NORMAL));
        // Callback labels are measured here, for the scroll width and hit tests.
        SIZE size {};
        GetTextExtentPoint32(hdc, strText.c_str(), static_cast<int>(strText.size()), &size);
        pNode->nTextWidth = size.cx;
        RECT rcLabel { parts.xLabel, parts.rcRow.top, parts.xLabel + size.cx + 2 * TREE_TEXT_MARGIN,
            parts.rcRow.bottom };
        if (bFullRow)
            rcLabel.right = parts.rcRow.right;
        if (bSelected || draw.clrTextBk != TreeColor(pState->clrBk, COLOR_WINDOW))
            FillSolid(hdc, rcLabel, draw.clrTextBk);
        SetTextColor(hdc, draw.clrText);
        RECT rcText { parts.xLabel + TREE_TEXT_MARGIN, parts.rcRow.top, rcLabel.right, parts.rcRow.bottom };
        DrawText(
            hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (pState->hCaret == hItem && pState->bFocus)
            DrawFocusRect(hdc, &rcLabel);
    }
    if (bItemDraw && (lItem & CDRF_NOTIFYPOSTPAINT)) {
        draw.nmcd.rc = parts.rcRow;
        SendCustomDraw(hWnd, &draw, CDDS_ITEMPOSTPAINT);
        return TreeViewSurvivor(hWnd) != nullptr;
    }
    return true;
}

} // namespace

void PaintTreeView(HWND hWnd, HDC hdc)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    RECT rcPaint {};
    if (GetClipBox(hdc, &rcPaint) == ERROR)
        rcPaint = rcClient;
    SetBkMode(hdc, TRANSPARENT);
    NMTVCUSTOMDRAW draw {};
    draw.nmcd.hdc = hdc;
    draw.nmcd.rc = rcClient;
    const LRESULT lPaint = SendCustomDraw(hWnd, &draw, CDDS_PREPAINT);
    if (!(pState = TreeViewSurvivor(hWnd)) || (lPaint & CDRF_SKIPDEFAULT))
        return;
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    const std::vector<HTREEITEM> visible = VisibleItems(*pState);
    const int nHeight = TreeRowHeight(hWnd);
    const int nFirst = pState->nTop + std::max<int>(rcPaint.top, 0) / nHeight;
    const int nLast = std::min<int>(
        pState->nTop + std::max<int>(rcPaint.bottom - 1, 0) / nHeight, static_cast<int>(visible.size()) - 1);
    for (int i = nFirst; i <= nLast; ++i) {
        // A handler may have changed the tree: items that went are skipped.
        if (NodeSurvivor(hWnd, visible[static_cast<size_t>(i)])
            && !DrawItem(hWnd, hdc, visible[static_cast<size_t>(i)], (lPaint & CDRF_NOTIFYITEMDRAW) != 0))
            return;
    }
    SelectObject(hdc, hOldPen);
    if (lPaint & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.rc = rcClient;
        SendCustomDraw(hWnd, &draw, CDDS_POSTPAINT);
    }
}
