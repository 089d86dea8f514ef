#include "platform/gdi/FrameControls.h"

#include "platform/gdi/PixelTarget.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

namespace {

// The elements' colours, from the system colour table.
const COLORREF FACE = GetSysColor(COLOR_BTNFACE);
const COLORREF HIGHLIGHT = GetSysColor(COLOR_BTNHIGHLIGHT);
const COLORREF LIGHT = GetSysColor(COLOR_3DLIGHT);
const COLORREF SHADOW = GetSysColor(COLOR_BTNSHADOW);
const COLORREF DARK_SHADOW = GetSysColor(COLOR_3DDKSHADOW);
const COLORREF WINDOW = GetSysColor(COLOR_WINDOW);
const COLORREF TEXT = GetSysColor(COLOR_BTNTEXT);

void FillDevice(CPixelTarget& target, const RECT& rcArea, COLORREF cr)
{
    target.FillSolid(rcArea, target.Pixel(cr));
}

// Draws one border ring on the flagged sides and shrinks `rc` past them.
void DrawBorder(CPixelTarget& target, RECT& rc, UINT nFlags, COLORREF crTopLeft, COLORREF crBottomRight)
{
    if (IsRectEmpty(&rc))
        return;
    if (nFlags & BF_TOP)
        FillDevice(target, RECT { rc.left, rc.top, rc.right, rc.top + 1 }, crTopLeft);
    if (nFlags & BF_LEFT)
        FillDevice(target, RECT { rc.left, rc.top, rc.left + 1, rc.bottom }, crTopLeft);
    if (nFlags & BF_BOTTOM)
        FillDevice(target, RECT { rc.left, rc.bottom - 1, rc.right, rc.bottom }, crBottomRight);
    if (nFlags & BF_RIGHT)
        FillDevice(target, RECT { rc.right - 1, rc.top, rc.right, rc.bottom }, crBottomRight);
    rc.left += (nFlags & BF_LEFT) ? 1 : 0;
    rc.top += (nFlags & BF_TOP) ? 1 : 0;
    rc.right -= (nFlags & BF_RIGHT) ? 1 : 0;
    rc.bottom -= (nFlags & BF_BOTTOM) ? 1 : 0;
}

// Draws an edge in device coordinates; returns the inside.
RECT DrawDeviceEdge(CPixelTarget& target, RECT rc, UINT nEdge, UINT nFlags)
{
    auto pick = [&](COLORREF cr) {
        if (nFlags & BF_MONO)
            return DARK_SHADOW;
        if (nFlags & BF_FLAT)
            return SHADOW;
        return cr;
    };
    if (nEdge & BDR_OUTER) {
        bool bRaised = nEdge & BDR_RAISEDOUTER;
        DrawBorder(target, rc, nFlags, pick(bRaised ? LIGHT : SHADOW), pick(bRaised ? DARK_SHADOW : HIGHLIGHT));
    }
    if (nEdge & BDR_INNER) {
        bool bRaised = nEdge & BDR_RAISEDINNER;
        DrawBorder(target, rc, nFlags, pick(bRaised ? HIGHLIGHT : DARK_SHADOW), pick(bRaised ? SHADOW : LIGHT));
    }
    if ((nFlags & BF_MIDDLE) && !IsRectEmpty(&rc))
        FillDevice(target, rc, (nFlags & BF_MONO) ? WINDOW : FACE);
    return rc;
}

// A filled triangle pointing in direction `nDirection` (DFCS_SCROLL*), centred in rc.
void DrawArrow(CPixelTarget& target, const RECT& rc, UINT nDirection, COLORREF cr)
{
    // Arrows never grow past what a surface could show.
    constexpr int MAX_ARROW = 1024;
    int nSize = std::clamp(std::min<int>(rc.right - rc.left, rc.bottom - rc.top) / 4, 1, MAX_ARROW);
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    uint32_t nPixel = target.Pixel(cr);
    for (int i = 0; i < nSize; ++i) {
        // Row i of the arrow, from its tip, is 2i + 1 pixels long.
        int nTipOffset = i - nSize / 2;
        for (int k = -i; k <= i; ++k) {
            switch (nDirection) {
            case DFCS_SCROLLUP:
                target.Put(cx + k, cy + nTipOffset, nPixel);
                break;
            case DFCS_SCROLLLEFT:
                target.Put(cx + nTipOffset, cy + k, nPixel);
                break;
            case DFCS_SCROLLRIGHT:
                target.Put(cx - nTipOffset, cy + k, nPixel);
                break;
            default: // down and the combo box arrow
                target.Put(cx + k, cy - nTipOffset, nPixel);
                break;
            }
        }
    }
}

// A cross of two-pixel strokes, centred in rc: the close button's glyph.
void DrawCross(CPixelTarget& target, const RECT& rc, COLORREF cr)
{
    constexpr int MAX_CROSS = 1024;
    int nSize = std::clamp(std::min<int>(rc.right - rc.left, rc.bottom - rc.top) / 2, 2, MAX_CROSS);
    int x0 = (rc.left + rc.right - nSize) / 2, y0 = (rc.top + rc.bottom - nSize) / 2;
    uint32_t nPixel = target.Pixel(cr);
    for (int i = 0; i < nSize; ++i) {
        for (int k : { 0, 1 }) {
            target.Put(x0 + i + k, y0 + i, nPixel);
            target.Put(x0 + nSize - i - k, y0 + i, nPixel);
        }
    }
}

// The glyph of a minimize (a bar at the bottom), maximize (a window) or restore (two windows) button.
void DrawWindowGlyph(CPixelTarget& target, const RECT& rc, UINT nKind, COLORREF cr)
{
    constexpr int MAX_GLYPH = 1024;
    int nSize = std::clamp(std::min<int>(rc.right - rc.left, rc.bottom - rc.top) * 2 / 3, 4, MAX_GLYPH);
    int x0 = (rc.left + rc.right - nSize) / 2, y0 = (rc.top + rc.bottom - nSize) / 2;
    uint32_t nPixel = target.Pixel(cr);
    auto frame = [&](int x, int y, int cx, int cy) {
        for (int i = 0; i < cx; ++i) {
            target.Put(x + i, y, nPixel);
            target.Put(x + i, y + 1, nPixel); // a thick top, as a caption
            target.Put(x + i, y + cy - 1, nPixel);
        }
        for (int i = 0; i < cy; ++i) {
            target.Put(x, y + i, nPixel);
            target.Put(x + cx - 1, y + i, nPixel);
        }
    };
    if (nKind == DFCS_CAPTIONMIN) {
        for (int i = 0; i < nSize * 2 / 3; ++i) {
            target.Put(x0 + i, y0 + nSize - 2, nPixel);
            target.Put(x0 + i, y0 + nSize - 1, nPixel);
        }
    } else if (nKind == DFCS_CAPTIONMAX) {
        frame(x0, y0, nSize, nSize);
    } else {
        int nSmall = nSize * 2 / 3;
        frame(x0 + nSize - nSmall, y0, nSmall, nSmall);
        frame(x0, y0 + nSize - nSmall, nSmall, nSmall);
    }
}

void DrawCheckBox(CPixelTarget& target, RECT rc, UINT nState)
{
    int nSize = std::min<int>({ 13, rc.right - rc.left, rc.bottom - rc.top });
    RECT box { rc.left + (rc.right - rc.left - nSize) / 2, rc.top + (rc.bottom - rc.top - nSize) / 2, 0, 0 };
    box.right = box.left + nSize;
    box.bottom = box.top + nSize;
    bool bDim = nState & (DFCS_INACTIVE | DFCS_PUSHED);
    RECT inside = DrawDeviceEdge(target, box, EDGE_SUNKEN, BF_RECT | ((nState & DFCS_MONO) ? BF_MONO : 0));
    FillDevice(target, inside, bDim ? FACE : WINDOW);
    if (!(nState & DFCS_CHECKED))
        return;
    // A check mark: a short stroke down to the right, then a long one up to the right.
    uint32_t nPixel = target.Pixel((nState & DFCS_INACTIVE) ? SHADOW : TEXT);
    int nWidth = inside.right - inside.left;
    int x0 = inside.left + nWidth / 5, yBase = inside.top + nWidth * 3 / 5;
    for (int i = 0; i < nWidth * 3 / 5; ++i) {
        int x = x0 + i;
        int y = i < nWidth / 5 + 1 ? yBase - nWidth / 5 + i : yBase - (i - nWidth / 5);
        for (int t = 0; t < 3; ++t)
            target.Put(x, y + t - 1, nPixel);
    }
}

void DrawRadio(CPixelTarget& target, RECT rc, UINT nState)
{
    int nSize = std::min<int>({ 12, rc.right - rc.left, rc.bottom - rc.top });
    double cx = rc.left + (rc.right - rc.left) / 2.0, cy = rc.top + (rc.bottom - rc.top) / 2.0;
    double r = nSize / 2.0;
    bool bDim = nState & (DFCS_INACTIVE | DFCS_PUSHED);
    uint32_t nRing = target.Pixel(SHADOW), nHighlight = target.Pixel(HIGHLIGHT);
    uint32_t nInside = target.Pixel(bDim ? FACE : WINDOW);
    uint32_t nDot = target.Pixel((nState & DFCS_INACTIVE) ? SHADOW : TEXT);
    RECT rcVisible = target.VisiblePart(rc);
    for (int y = rcVisible.top; y < rcVisible.bottom; ++y) {
        for (int x = rcVisible.left; x < rcVisible.right; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double d = dx * dx + dy * dy;
            if (d > r * r)
                continue;
            if ((nState & DFCS_CHECKED) && d <= (r / 3) * (r / 3))
                target.Put(x, y, nDot);
            else if (d > (r - 1) * (r - 1))
                target.Put(x, y, dx + dy < 0 ? nRing : nHighlight);
            else
                target.Put(x, y, nInside);
        }
    }
}

}

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !qrc)
        return FALSE;
    RECT rcInside;
    {
        CPixelTarget target(*pDc);
        rcInside = DrawDeviceEdge(target, pDc->ToDevice(*qrc), edge, grfFlags);
    }
    if (grfFlags & BF_ADJUST) {
        POINT ptShift = pDc->ToDevice(0, 0);
        OffsetRect(&rcInside, -ptShift.x, -ptShift.y);
        *qrc = rcInside;
    }
    return TRUE;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hDC);
    if (!pDc || !lprc)
        return FALSE;
    CPixelTarget target(*pDc);
    RECT rc = pDc->ToDevice(*lprc);
    if (IsRectEmpty(&rc))
        return TRUE;
    // Every pixel of the border once, in order around it, every other one inverted.
    auto invert = [&](int x, int y) {
        if ((x + y) % 2 == 0 && target.Visible(x, y))
            target.Put(x, y, ~target.Get(x, y) & 0xFFFFFF);
    };
    RECT rcVisible = target.VisiblePart(rc);
    for (int x = rcVisible.left; x < rcVisible.right; ++x) {
        invert(x, rc.top);
        if (rc.bottom - 1 > rc.top)
            invert(x, rc.bottom - 1);
    }
    for (int y = std::max<int>(rc.top + 1, rcVisible.top); y < std::min<int>(rc.bottom - 1, rcVisible.bottom); ++y) {
        invert(rc.left, y);
        if (rc.right - 1 > rc.left)
            invert(rc.right - 1, y);
    }
    return TRUE;
}

BOOL DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lprc)
        return FALSE;
    CPixelTarget target(*pDc);
    RECT rc = pDc->ToDevice(*lprc);
    UINT nFlat = (uState & DFCS_FLAT) ? BF_FLAT : 0;
    UINT nMono = (uState & DFCS_MONO) ? BF_MONO : 0;
    if (uType == DFC_BUTTON) {
        if (uState & DFCS_BUTTONPUSH) {
            UINT nEdge = (uState & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
            RECT inside = DrawDeviceEdge(target, rc, nEdge, BF_RECT | BF_MIDDLE | nFlat | nMono);
            if (uState & DFCS_ADJUSTRECT) {
                POINT ptShift = pDc->ToDevice(0, 0);
                OffsetRect(&inside, -ptShift.x, -ptShift.y);
                *lprc = inside;
            }
        } else if (uState & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            DrawRadio(target, rc, uState);
        } else {
            DrawCheckBox(target, rc, uState);
        }
        return TRUE;
    }
    if (uType == DFC_CAPTION && (uState & 0xFF) == DFCS_CAPTIONCLOSE) {
        UINT nEdge = (uState & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED;
        RECT inside = DrawDeviceEdge(target, rc, nEdge, BF_RECT | BF_MIDDLE | nFlat | nMono);
        if (uState & DFCS_PUSHED)
            OffsetRect(&inside, 1, 1);
        DrawCross(target, inside, (uState & DFCS_INACTIVE) ? SHADOW : TEXT);
        return TRUE;
    }
    if (uType == DFC_CAPTION && (uState & 0xFF) <= DFCS_CAPTIONRESTORE) {
        UINT nEdge = (uState & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED;
        RECT inside = DrawDeviceEdge(target, rc, nEdge, BF_RECT | BF_MIDDLE | nFlat | nMono);
        if (uState & DFCS_PUSHED)
            OffsetRect(&inside, 1, 1);
        DrawWindowGlyph(target, inside, uState & 0xFF, (uState & DFCS_INACTIVE) ? SHADOW : TEXT);
        return TRUE;
    }
    if (uType == DFC_SCROLL) {
        UINT nEdge = (uState & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED;
        RECT inside = DrawDeviceEdge(target, rc, nEdge, BF_RECT | BF_MIDDLE | nFlat | nMono);
        if (uState & DFCS_PUSHED)
            OffsetRect(&inside, 1, 1);
        COLORREF crArrow = (uState & DFCS_INACTIVE) ? SHADOW : TEXT;
        DrawArrow(target, inside, uState & 0xFF, crArrow);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
