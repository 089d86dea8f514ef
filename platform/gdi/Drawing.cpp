#include "platform/gdi/Drawing.h"

#include "platform/gdi/PixelTarget.h"
#include "platform/gdi/ShapeSpans.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <vector>

/*************************************************************************
 * Pen strokes
 *************************************************************************/

namespace {

// Dash lengths of the styled pens, alternately drawn and skipped.
std::span<const int> DashPattern(UINT nStyle)
{
    static constexpr int DASH[] = { 18, 6 };
    static constexpr int DOT[] = { 3, 3 };
    static constexpr int DASHDOT[] = { 9, 6, 3, 6 };
    static constexpr int DASHDOTDOT[] = { 9, 3, 3, 3, 3, 3 };
    switch (nStyle) {
    case PS_DASH:
        return DASH;
    case PS_DOT:
        return DOT;
    case PS_DASHDOT:
        return DASHDOT;
    case PS_DASHDOTDOT:
        return DASHDOTDOT;
    default:
        return {};
    }
}

// Draws pen lines into one target; the dash pattern runs on across the lines
// of one call.
class CPenStroke {
public:
    explicit CPenStroke(CPixelTarget& target)
        : m_target(target)
        , m_pen(*target.Dc().m_state.pen)
        , m_nWidth(std::max<int>(1, m_pen.m_log.lopnWidth.x))
        , m_dashes(m_nWidth == 1 ? DashPattern(m_pen.m_log.lopnStyle) : std::span<const int> {})
    {
    }

    bool IsNull() const { return m_pen.m_log.lopnStyle == PS_NULL; }
    int Width() const { return m_nWidth; }

    // Device coordinates; the last point is not drawn. Each step along the
    // longer axis draws one pixel, the other coordinate rounded from the exact
    // line, so only the steps that can reach the clip area are walked.
    void Line(POINT ptFrom, POINT ptTo)
    {
        long long dx = static_cast<long long>(ptTo.x) - ptFrom.x, dy = static_cast<long long>(ptTo.y) - ptFrom.y;
        long long nSteps = std::max(std::llabs(dx), std::llabs(dy));
        if (IsNull() || nSteps == 0)
            return;
        bool bXMajor = std::llabs(dx) >= std::llabs(dy);
        long long nMajorFrom = bXMajor ? ptFrom.x : ptFrom.y;
        int nMajorSign = (bXMajor ? dx : dy) > 0 ? 1 : -1;
        long long nMinorDelta = bXMajor ? dy : dx;
        RECT rcBounds = m_target.Clip().Bounds();
        long long nReach = m_nWidth; // a wide pen reaches past its centre line
        long long nLow = (bXMajor ? rcBounds.left : rcBounds.top) - nReach;
        long long nHigh = (bXMajor ? rcBounds.right : rcBounds.bottom) + nReach;
        long long nFirst = nMajorSign > 0 ? nLow - nMajorFrom : nMajorFrom - nHigh;
        long long nLast = nMajorSign > 0 ? nHigh - nMajorFrom : nMajorFrom - nLow;
        nFirst = std::max(0LL, nFirst);
        nLast = std::min(nSteps, nLast + 1);
        if (m_nWidth == 1 && m_dashes.empty() && bXMajor && dy == 0) {
            // A solid horizontal line is one span of the pen's colour.
            if (nFirst < nLast) {
                long long nLeft = nMajorSign > 0 ? nMajorFrom + nFirst : nMajorFrom - nLast + 1;
                CGdiBrush colour;
                colour.m_log = LOGBRUSH { BS_SOLID, m_pen.m_log.lopnColor, 0 };
                m_target.FillSpan(ptFrom.y, static_cast<int>(nLeft), static_cast<int>(nLeft + nLast - nFirst), colour);
            }
            m_nDashOffset += nSteps;
            return;
        }
        std::vector<POINT> wide;
        for (long long t = nFirst; t < nLast; ++t) {
            long long nMajor = nMajorFrom + nMajorSign * t;
            // Round t * minor / steps to the nearest integer, halves away from zero
            // (nothing to round on a straight line).
            long long nMinor = bXMajor ? ptFrom.y : ptFrom.x;
            if (nMinorDelta != 0) {
                __int128 nProduct = static_cast<__int128>(t) * nMinorDelta;
                nMinor += static_cast<long long>(nProduct >= 0 ? (2 * nProduct + nSteps) / (2 * nSteps)
                                                               : -((-2 * nProduct + nSteps) / (2 * nSteps)));
            }
            int x = static_cast<int>(bXMajor ? nMajor : nMinor), y = static_cast<int>(bXMajor ? nMinor : nMajor);
            Dot(x, y, m_nDashOffset + t, wide);
        }
        m_nDashOffset += nSteps;
        // A wide pen covers each pixel once, so raster operations apply once.
        std::sort(wide.begin(), wide.end(), [](POINT a, POINT b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
        wide.erase(std::unique(wide.begin(), wide.end(), [](POINT a, POINT b) { return a.x == b.x && a.y == b.y; }),
            wide.end());
        uint32_t nPixel = m_target.Pixel(m_pen.m_log.lopnColor);
        for (POINT pt : wide)
            m_target.Plot(pt.x, pt.y, nPixel);
    }

private:
    // Draws the pixel at step `nStep` of the dash pattern (or collects a wide pen's square).
    void Dot(int x, int y, long long nStep, std::vector<POINT>& wide)
    {
        if (m_nWidth > 1) {
            int nFrom = -(m_nWidth - 1) / 2;
            for (int j = nFrom; j < nFrom + m_nWidth; ++j) {
                for (int i = nFrom; i < nFrom + m_nWidth; ++i)
                    wide.push_back(POINT { x + i, y + j });
            }
            return;
        }
        bool bDrawn = true;
        if (!m_dashes.empty()) {
            // Find the dash that step falls in; even dashes draw, odd ones are gaps.
            long long nPeriod = 0;
            for (int nDash : m_dashes)
                nPeriod += nDash;
            long long nInto = nStep % nPeriod;
            size_t nDash = 0;
            while (nInto >= m_dashes[nDash])
                nInto -= m_dashes[nDash++];
            bDrawn = nDash % 2 == 0;
        }
        const DcState& state = m_target.Dc().m_state;
        if (bDrawn)
            m_target.Plot(x, y, m_target.Pixel(m_pen.m_log.lopnColor));
        else if (state.nBkMode == OPAQUE)
            m_target.Plot(x, y, m_target.Pixel(state.crBk));
    }

    CPixelTarget& m_target;
    const CGdiPen& m_pen;
    int m_nWidth;
    std::span<const int> m_dashes;
    long long m_nDashOffset { 0 }; // steps drawn by earlier lines of the same call
};

}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (lppt)
        *lppt = pDc->m_state.ptCurrent;
    pDc->m_state.ptCurrent = POINT { x, y };
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lppt)
        return FALSE;
    *lppt = pDc->m_state.ptCurrent;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    {
        CPixelTarget target(*pDc);
        CPenStroke stroke(target);
        POINT ptFrom = pDc->m_state.ptCurrent;
        stroke.Line(pDc->ToDevice(ptFrom.x, ptFrom.y), pDc->ToDevice(x, y));
    }
    pDc->m_state.ptCurrent = POINT { x, y };
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CPixelTarget target(*pDc);
    CPenStroke stroke(target);
    for (int i = 1; i < cpt; ++i)
        stroke.Line(pDc->ToDevice(apt[i - 1].x, apt[i - 1].y), pDc->ToDevice(apt[i].x, apt[i].y));
    return TRUE;
}

/*************************************************************************
 * Shapes
 *************************************************************************/

namespace {

// Draws a rounded box: the ring between it and its inside in the pen, the inside in the brush.
void DrawBox(CDeviceContext& dc, RECT rc, double rx, double ry)
{
    CPixelTarget target(dc);
    const DcState& state = dc.m_state;
    const CGdiPen& pen = *state.pen;
    bool bNullPen = pen.m_log.lopnStyle == PS_NULL;
    int nPenWidth = bNullPen ? 0 : std::max<int>(1, pen.m_log.lopnWidth.x);
    if (bNullPen) {
        --rc.right;
        --rc.bottom;
    }
    RoundedBox outer { double(rc.left), double(rc.top), double(rc.right), double(rc.bottom), rx, ry };
    RoundedBox inner = outer.Shrunk(nPenWidth);
    uint32_t nPenPixel = target.Pixel(pen.m_log.lopnColor);
    RECT rcVisible = target.VisiblePart(rc);
    for (int y = rcVisible.top; y < rcVisible.bottom; ++y) {
        auto [nOuterFrom, nOuterTo] = outer.Span(y);
        auto [nInnerFrom, nInnerTo] = inner.Span(y);
        if (nInnerTo > nInnerFrom)
            target.FillSpan(y, nInnerFrom, nInnerTo, *state.brush);
        else
            nInnerFrom = nInnerTo = nOuterTo;
        if (nPenWidth == 0)
            continue;
        for (int x = std::max<int>(nOuterFrom, rcVisible.left); x < std::min<int>(nInnerFrom, rcVisible.right); ++x)
            target.Plot(x, y, nPenPixel);
        for (int x = std::max<int>(nInnerTo, rcVisible.left); x < std::min<int>(nOuterTo, rcVisible.right); ++x)
            target.Plot(x, y, nPenPixel);
    }
}

BOOL DrawShape(HDC hdc, int left, int top, int right, int bottom, double rx, double ry, bool bEllipse)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    RECT rc = pDc->ToDevice(
        RECT { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) });
    if (bEllipse) {
        rx = (rc.right - rc.left) / 2.0;
        ry = (rc.bottom - rc.top) / 2.0;
    }
    DrawBox(*pDc, rc, rx, ry);
    return TRUE;
}

}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawShape(hdc, left, top, right, bottom, 0, 0, false);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawShape(hdc, left, top, right, bottom, 0, 0, true);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    double rx = std::min(std::abs(width), std::abs(right - left)) / 2.0;
    double ry = std::min(std::abs(height), std::abs(bottom - top)) / 2.0;
    return DrawShape(hdc, left, top, right, bottom, rx, ry, false);
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> points;
    for (int i = 0; i < cpt; ++i)
        points.push_back(pDc->ToDevice(apt[i].x, apt[i].y));
    CPixelTarget target(*pDc);
    // Fill: pixel centres inside by the fill mode, row by row.
    auto [itTop, itBottom]
        = std::minmax_element(points.begin(), points.end(), [](const POINT& a, const POINT& b) { return a.y < b.y; });
    const DcState& state = pDc->m_state;
    RECT rcVisible
        = target.VisiblePart(RECT { target.Clip().Bounds().left, itTop->y, target.Clip().Bounds().right, itBottom->y });
    ForEachPolygonSpan(points, state.nPolyFillMode, rcVisible.top, rcVisible.bottom,
        [&](int y, int x0, int x1) { target.FillSpan(y, x0, x1, *state.brush); });
    CPenStroke stroke(target);
    for (size_t i = 0; i < points.size(); ++i)
        stroke.Line(points[i], points[(i + 1) % points.size()]);
    return TRUE;
}

/*************************************************************************
 * Fills
 *************************************************************************/

namespace {

// Fills device rectangles with a brush; an invalid DC or brush gives FALSE.
BOOL FillDeviceArea(HDC hdc, HBRUSH hbr, const std::vector<RECT>& rects, bool bDeviceCoordinates)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    std::shared_ptr<CGdiBrush> pBrush = LookupGdi<CGdiBrush>(hbr);
    if (!pDc || !pBrush)
        return FALSE;
    CPixelTarget target(*pDc);
    for (const RECT& rc : rects)
        target.FillRect(bDeviceCoordinates ? rc : pDc->ToDevice(rc), *pBrush, CPixelTarget::Mix::Copy);
    return TRUE;
}

BOOL InvertDeviceArea(HDC hdc, const std::vector<RECT>& rects, bool bDeviceCoordinates)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    CPixelTarget target(*pDc);
    for (RECT rc : rects) {
        if (!bDeviceCoordinates)
            rc = pDc->ToDevice(rc);
        rc = target.VisiblePart(rc);
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (target.Visible(x, y))
                    target.Put(x, y, ~target.Get(x, y) & 0xFFFFFF);
            }
        }
    }
    return TRUE;
}

std::shared_ptr<CGdiRegion> RegionOf(HRGN hrgn)
{
    return LookupGdi<CGdiRegion>(hrgn);
}

}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    if (!lprc)
        return FALSE;
    return FillDeviceArea(hDC, hbr, { *lprc }, false);
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    if (!lprc)
        return FALSE;
    const RECT& rc = *lprc;
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return TRUE;
    return FillDeviceArea(hDC, hbr,
        { RECT { rc.left, rc.top, rc.right, rc.top + 1 }, RECT { rc.left, rc.bottom - 1, rc.right, rc.bottom },
            RECT { rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1 },
            RECT { rc.right - 1, rc.top + 1, rc.right, rc.bottom - 1 } },
        false);
}

BOOL InvertRect(HDC hDC, const RECT* lprc)
{
    if (!lprc)
        return FALSE;
    return InvertDeviceArea(hDC, { *lprc }, false);
}

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = RegionOf(hrgn);
    return pRegion && FillDeviceArea(hdc, hbr, pRegion->m_area.Rects(), false);
}

BOOL FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = RegionOf(hrgn);
    if (!pRegion)
        return FALSE;
    const CRectList& area = pRegion->m_area;
    CRectList border = CRectList::Combine(area, area.Eroded(w, h), RGN_DIFF);
    return FillDeviceArea(hdc, hbr, border.Rects(), false);
}

BOOL PaintRgn(HDC hdc, HRGN hrgn)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    return FillRgn(hdc, hrgn, static_cast<HBRUSH>(pDc->m_state.brush->m_hHandle));
}

BOOL InvertRgn(HDC hdc, HRGN hrgn)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = RegionOf(hrgn);
    return pRegion && InvertDeviceArea(hdc, pRegion->m_area.Rects(), false);
}

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (type != FLOODFILLBORDER && type != FLOODFILLSURFACE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CPixelTarget target(*pDc);
    POINT ptStart = pDc->ToDevice(x, y);
    uint32_t nColour = target.Pixel(color);
    auto fillable = [&](int px, int py) {
        return target.Visible(px, py) && ((target.Get(px, py) == nColour) == (type == FLOODFILLSURFACE));
    };
    if (!fillable(ptStart.x, ptStart.y))
        return FALSE;
    // Decide the area first, then paint it, so the brush's own pixels never
    // change which pixels belong to it.
    int nWidth = target.Bitmap().m_nWidth;
    std::vector<bool> inArea(static_cast<size_t>(nWidth) * target.Bitmap().m_nHeight);
    std::vector<POINT> pending { ptStart };
    while (!pending.empty()) {
        POINT pt = pending.back();
        pending.pop_back();
        // fillable() first: it keeps the point inside the bitmap before the index is taken.
        if (!fillable(pt.x, pt.y) || inArea[static_cast<size_t>(pt.y) * nWidth + pt.x])
            continue;
        inArea[static_cast<size_t>(pt.y) * nWidth + pt.x] = true;
        pending.insert(pending.end(),
            { POINT { pt.x + 1, pt.y }, POINT { pt.x - 1, pt.y }, POINT { pt.x, pt.y + 1 }, POINT { pt.x, pt.y - 1 } });
    }
    const CGdiBrush& brush = *pDc->m_state.brush;
    for (int py = 0; py < target.Bitmap().m_nHeight; ++py) {
        for (int px = 0; px < nWidth; ++px) {
            if (inArea[static_cast<size_t>(py) * nWidth + px])
                target.FillSpan(py, px, px + 1, brush);
        }
    }
    return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color)
{
    return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER);
}

/*************************************************************************
 * Single pixels
 *************************************************************************/

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return CLR_INVALID;
    CPixelTarget target(*pDc);
    POINT pt = pDc->ToDevice(x, y);
    if (!target.Visible(pt.x, pt.y))
        return CLR_INVALID;
    uint32_t nPixel = target.Pixel(color);
    target.Put(pt.x, pt.y, nPixel);
    return ColourFromPixel(nPixel);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color)
{
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return CLR_INVALID;
    POINT pt = pDc->ToDevice(x, y);
    if (!pDc->EffectiveClip().Contains(pt.x, pt.y))
        return CLR_INVALID;
    CGdiBitmap& bitmap = *pDc->m_state.bitmap;
    bitmap.PullBits();
    return ColourFromPixel(bitmap.Row(pt.y)[pt.x]);
}
