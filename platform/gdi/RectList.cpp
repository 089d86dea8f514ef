#include "platform/gdi/RectList.h"

#include "platform/gdi/Rects.h"

#include <algorithm>

CRectList::CRectList(const RECT& rc)
{
    if (!IsRectEmpty(&rc))
        m_rects.push_back(rc);
}

// Combines on the grid of every edge of both areas: each grid cell lies wholly
// inside or outside each area, so testing one corner per cell decides it. Cells
// are then joined into spans per band and equal touching bands are merged, which
// gives the canonical form.
CRectList CRectList::Combine(const CRectList& a, const CRectList& b, int nMode)
{
    if (nMode == RGN_COPY)
        return a;
    std::vector<LONG> xs, ys;
    for (const CRectList* pList : { &a, &b }) {
        for (const RECT& rc : pList->m_rects) {
            xs.insert(xs.end(), { rc.left, rc.right });
            ys.insert(ys.end(), { rc.top, rc.bottom });
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    auto inside = [&](int x, int y) {
        bool bA = a.Contains(x, y);
        bool bB = b.Contains(x, y);
        switch (nMode) {
        case RGN_AND:
            return bA && bB;
        case RGN_OR:
            return bA || bB;
        case RGN_XOR:
            return bA != bB;
        case RGN_DIFF:
            return bA && !bB;
        default:
            return false;
        }
    };

    CRectList result;
    std::vector<RECT> previousBand;
    for (size_t iy = 0; iy + 1 < ys.size(); ++iy) {
        std::vector<RECT> band;
        for (size_t ix = 0; ix + 1 < xs.size(); ++ix) {
            if (!inside(xs[ix], ys[iy]))
                continue;
            if (!band.empty() && band.back().right == xs[ix])
                band.back().right = xs[ix + 1];
            else
                band.push_back(RECT { xs[ix], ys[iy], xs[ix + 1], ys[iy + 1] });
        }
        bool bSameSpans = !band.empty() && band.size() == previousBand.size()
            && previousBand.front().bottom == ys[iy]
            && std::equal(band.begin(), band.end(), previousBand.begin(),
                [](const RECT& x, const RECT& y) { return x.left == y.left && x.right == y.right; });
        if (bSameSpans) {
            // Extend the previous band, which is the tail of the result.
            for (size_t i = 0; i < band.size(); ++i)
                result.m_rects[result.m_rects.size() - band.size() + i].bottom = ys[iy + 1];
            for (RECT& rc : previousBand)
                rc.bottom = ys[iy + 1];
            continue;
        }
        result.m_rects.insert(result.m_rects.end(), band.begin(), band.end());
        previousBand = std::move(band);
    }
    return result;
}

bool CRectList::Contains(int x, int y) const
{
    POINT pt { x, y };
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const RECT& rc) { return PtInRect(&rc, pt); });
}

bool CRectList::Touches(const RECT& rc) const
{
    RECT rcCommon;
    return std::any_of(
        m_rects.begin(), m_rects.end(), [&](const RECT& r) { return IntersectRect(&rcCommon, &r, &rc) != FALSE; });
}

RECT CRectList::Bounds() const
{
    RECT rcBounds {};
    for (const RECT& rc : m_rects)
        UnionRect(&rcBounds, &rcBounds, &rc);
    return rcBounds;
}

int CRectList::Complexity() const
{
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void CRectList::Offset(int dx, int dy)
{
    for (RECT& rc : m_rects)
        OffsetRect(&rc, dx, dy);
}

bool CRectList::operator==(const CRectList& other) const
{
    return std::equal(m_rects.begin(), m_rects.end(), other.m_rects.begin(), other.m_rects.end(),
        [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}
