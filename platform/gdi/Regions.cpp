#include "platform/gdi/Regions.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/ShapeSpans.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

HRGN AddRegion(CRectList area)
{
    auto lock = GdiLock();
    auto pRegion = std::make_shared<CGdiRegion>();
    pRegion->m_area = std::move(area);
    return static_cast<HRGN>(AddGdiObject(pRegion));
}

bool TooTall(long long nTop, long long nBottom)
{
    if (nBottom - nTop <= MAX_SHAPE_ROWS)
        return false;
    SetLastError(ERROR_INVALID_PARAMETER);
    return true;
}

// The region of a rectangle whose corners are quarter ellipses of at most
// nCornerWidth x nCornerHeight (the whole rectangle for an ellipse), row by row.
HRGN RoundedBoxRegion(int x1, int y1, int x2, int y2, long long nCornerWidth, long long nCornerHeight)
{
    int nTop = std::min(y1, y2), nBottom = std::max(y1, y2);
    if (TooTall(nTop, nBottom))
        return nullptr;
    long long nWidth = static_cast<long long>(std::max(x1, x2)) - std::min(x1, x2);
    long long nHeight = static_cast<long long>(nBottom) - nTop;
    double rx = std::min(std::llabs(nCornerWidth), nWidth) / 2.0;
    double ry = std::min(std::llabs(nCornerHeight), nHeight) / 2.0;
    RoundedBox box { double(std::min(x1, x2)), double(nTop), double(std::max(x1, x2)), double(nBottom), rx, ry };
    CRectList area;
    for (int y = nTop; y < nBottom; ++y) {
        auto [xFrom, xTo] = box.Span(y);
        area.AppendRows(y, y + 1, { CRectList::Span { xFrom, xTo } });
    }
    return AddRegion(std::move(area));
}

}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2)
{
    // Corners may come in any order.
    return AddRegion(CRectList(RECT { std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2) }));
}

HRGN CreateRectRgnIndirect(const RECT* lprect)
{
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return RoundedBoxRegion(
        x1, y1, x2, y2, std::numeric_limits<long long>::max(), std::numeric_limits<long long>::max());
}

HRGN CreateEllipticRgnIndirect(const RECT* lprect)
{
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateEllipticRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
{
    return RoundedBoxRegion(x1, y1, x2, y2, w, h);
}

HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode)
{
    if (!pptl || cPoint < 2 || (iMode != ALTERNATE && iMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::span<const POINT> points(pptl, static_cast<size_t>(cPoint));
    auto [itTop, itBottom]
        = std::minmax_element(points.begin(), points.end(), [](POINT a, POINT b) { return a.y < b.y; });
    if (TooTall(itTop->y, itBottom->y))
        return nullptr;
    CRectList area;
    int nRow = itTop->y;
    std::vector<CRectList::Span> row;
    auto flush = [&] {
        area.AppendRows(nRow, nRow + 1, std::move(row));
        row.clear();
    };
    ForEachPolygonSpan(points, iMode, itTop->y, itBottom->y, [&](int y, int x0, int x1) {
        if (y != nRow) {
            flush();
            nRow = y;
        }
        row.push_back(CRectList::Span { x0, x1 });
    });
    flush();
    return AddRegion(std::move(area));
}

BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion)
        return FALSE;
    pRegion->m_area = CRectList(
        RECT { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) });
    return TRUE;
}

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pDst = LookupGdi<CGdiRegion>(hrgnDst);
    std::shared_ptr<CGdiRegion> pSrc1 = LookupGdi<CGdiRegion>(hrgnSrc1);
    std::shared_ptr<CGdiRegion> pSrc2 = iMode == RGN_COPY ? pSrc1 : LookupGdi<CGdiRegion>(hrgnSrc2);
    if (!pDst || !pSrc1 || !pSrc2)
        return ERROR;
    if (iMode < RGN_AND || iMode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    pDst->m_area = CRectList::Combine(pSrc1->m_area, pSrc2->m_area, iMode);
    return pDst->m_area.Complexity();
}

int OffsetRgn(HRGN hrgn, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion)
        return ERROR;
    pRegion->m_area.Offset(x, y);
    return pRegion->m_area.Complexity();
}

int GetRgnBox(HRGN hrgn, LPRECT lprc)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion || !lprc)
        return ERROR;
    *lprc = pRegion->m_area.Bounds();
    return pRegion->m_area.Complexity();
}

BOOL PtInRegion(HRGN hrgn, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    return pRegion && pRegion->m_area.Contains(x, y);
}

BOOL RectInRegion(HRGN hrgn, const RECT* lprect)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    return pRegion && lprect && pRegion->m_area.Touches(*lprect);
}

BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion1 = LookupGdi<CGdiRegion>(hrgn1);
    std::shared_ptr<CGdiRegion> pRegion2 = LookupGdi<CGdiRegion>(hrgn2);
    return pRegion1 && pRegion2 && pRegion1->m_area == pRegion2->m_area;
}
