#include "platform/gdi/RectList.h"

#include "platform/gdi/Rects.h"

#include <algorithm>
#include <cassert>

namespace {

using Span = CRectList::Span;

bool Inside(int nMode, bool bA, bool bB)
{
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
}

std::vector<Span> SpansOf(std::span<const RECT> band)
{
    std::vector<Span> spans;
    spans.reserve(band.size());
    for (const RECT& rc : band)
        spans.push_back(Span { rc.left, rc.right });
    return spans;
}

// Combines two rows of sorted, separate spans on the grid of their edges:
// between two neighbouring edges each row is wholly in or out.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int nMode)
{
    std::vector<LONG> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const std::vector<Span>* pRow : { &a, &b }) {
        for (const Span& span : *pRow)
            xs.insert(xs.end(), { span.left, span.right });
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Span> result;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        LONG x = xs[i];
        while (ia < a.size() && a[ia].right <= x)
            ++ia;
        while (ib < b.size() && b[ib].right <= x)
            ++ib;
        bool bA = ia < a.size() && a[ia].left <= x;
        bool bB = ib < b.size() && b[ib].left <= x;
        if (!Inside(nMode, bA, bB))
            continue;
        if (!result.empty() && result.back().right == x)
            result.back().right = xs[i + 1];
        else
            result.push_back(Span { x, xs[i + 1] });
    }
    return result;
}

}

CRectList::CRectList(const RECT& rc)
{
    if (!IsRectEmpty(&rc))
        m_rects.push_back(rc);
}

// Sweeps both areas band by band: between two neighbouring band edges of
// either area, each area has one row of spans, and those combine row-wise.
CRectList CRectList::Combine(const CRectList& a, const CRectList& b, int nMode)
{
    if (nMode == RGN_COPY)
        return a;
    if (nMode == RGN_AND && a.m_rects.size() <= 1 && b.m_rects.size() <= 1) {
        // Two rectangles meet in one rectangle or nowhere (a clip area meeting a window's, mostly).
        RECT rcBoth {};
        if (a.m_rects.empty() || b.m_rects.empty() || !IntersectRect(&rcBoth, &a.m_rects[0], &b.m_rects[0]))
            return CRectList();
        return CRectList(rcBoth);
    }
    std::vector<LONG> ys;
    for (const CRectList* pList : { &a, &b }) {
        for (const RECT& rc : pList->m_rects)
            ys.insert(ys.end(), { rc.top, rc.bottom });
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    CRectList result;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        std::span<const RECT> bandA = a.Band(ys[i]);
        std::span<const RECT> bandB = b.Band(ys[i]);
        if (bandA.empty() && bandB.empty())
            continue;
        result.AppendRows(ys[i], ys[i + 1], CombineSpans(SpansOf(bandA), SpansOf(bandB), nMode));
    }
    assert(result.IsCanonical());
    return result;
}

size_t CRectList::LastBandStart() const
{
    size_t nStart = m_rects.size();
    while (nStart > 0 && m_rects[nStart - 1].top == m_rects.back().top)
        --nStart;
    return nStart;
}

void CRectList::AppendRows(LONG top, LONG bottom, std::vector<Span> spans)
{
    assert(m_rects.empty() || top >= m_rects.back().bottom);
    if (bottom <= top)
        return;
    std::erase_if(spans, [](const Span& span) { return span.right <= span.left; });
    if (spans.empty())
        return;
    std::sort(spans.begin(), spans.end(), [](const Span& x, const Span& y) { return x.left < y.left; });
    std::vector<Span> merged { spans.front() };
    for (const Span& span : spans) {
        if (span.left <= merged.back().right)
            merged.back().right = std::max(merged.back().right, span.right);
        else
            merged.push_back(span);
    }
    if (!m_rects.empty() && m_rects.back().bottom == top) {
        size_t nStart = LastBandStart();
        bool bSame = m_rects.size() - nStart == merged.size()
            && std::equal(merged.begin(), merged.end(), m_rects.begin() + static_cast<ptrdiff_t>(nStart),
                [](const Span& span, const RECT& rc) { return span.left == rc.left && span.right == rc.right; });
        if (bSame) {
            for (size_t i = nStart; i < m_rects.size(); ++i)
                m_rects[i].bottom = bottom;
            return;
        }
    }
    for (const Span& span : merged)
        m_rects.push_back(RECT { span.left, top, span.right, bottom });
}

std::span<const RECT> CRectList::Band(int y) const
{
    // Bands are sorted and never overlap, so their bottoms rise with their tops.
    auto itFirst = std::partition_point(m_rects.begin(), m_rects.end(), [y](const RECT& rc) { return rc.bottom <= y; });
    if (itFirst == m_rects.end() || itFirst->top > y)
        return {};
    auto itEnd = std::find_if(itFirst, m_rects.end(), [&](const RECT& rc) { return rc.top != itFirst->top; });
    return std::span<const RECT>(&*itFirst, static_cast<size_t>(itEnd - itFirst));
}

bool CRectList::Contains(int x, int y) const
{
    std::span<const RECT> band = Band(y);
    return std::any_of(band.begin(), band.end(), [x](const RECT& rc) { return x >= rc.left && x < rc.right; });
}

bool CRectList::Touches(const RECT& rc) const
{
    if (IsRectEmpty(&rc))
        return false;
    auto it = std::partition_point(m_rects.begin(), m_rects.end(), [&](const RECT& r) { return r.bottom <= rc.top; });
    for (; it != m_rects.end() && it->top < rc.bottom; ++it) {
        if (it->left < rc.right && it->right > rc.left)
            return true;
    }
    return false;
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

CRectList CRectList::Eroded(int w, int h) const
{
    // Rows this far from 0 count as outside, so that the shifts below stay in range.
    constexpr LONG FAR_ROW = 1 << 29;
    RECT rcBounds = Bounds();
    if (rcBounds.top < -FAR_ROW || rcBounds.bottom > FAR_ROW)
        return Combine(*this, CRectList(RECT { rcBounds.left, -FAR_ROW, rcBounds.right, FAR_ROW }), RGN_AND)
            .Eroded(w, h);
    long long nReach = std::max(w, 0);
    // Across: each band's spans lose w pixels at both ends.
    CRectList across;
    for (size_t nBand = 0; nBand < m_rects.size();) {
        std::span<const RECT> band = Band(m_rects[nBand].top);
        std::vector<Span> spans;
        for (const RECT& rc : band) {
            if (2 * nReach < static_cast<long long>(rc.right) - rc.left)
                spans.push_back(Span { static_cast<LONG>(rc.left + nReach), static_cast<LONG>(rc.right - nReach) });
        }
        across.AppendRows(band.front().top, band.front().bottom, std::move(spans));
        nBand += band.size();
    }
    // Down: the pixels below which k rows in a row lie in the area, for
    // k = 2h + 1, built from runs of powers of two so that any h costs a few
    // combinations; moved down h rows, they are the pixels with h rows of the
    // area above and below.
    long long nRows = 2 * static_cast<long long>(std::max(h, 0)) + 1;
    if (nRows > static_cast<long long>(rcBounds.bottom) - rcBounds.top)
        return CRectList();
    auto runsOf = [](const CRectList& first, long long nFirst, const CRectList& second) {
        CRectList shifted = second;
        shifted.Offset(0, static_cast<int>(-nFirst));
        return Combine(first, shifted, RGN_AND);
    };
    CRectList power = *this; // runs of nPower rows
    long long nPower = 1;
    CRectList runs; // runs of nDone rows
    long long nDone = 0;
    for (long long nLeft = nRows; nLeft > 0; nLeft >>= 1) {
        if (nLeft & 1) {
            runs = nDone == 0 ? power : runsOf(runs, nDone, power);
            nDone += nPower;
        }
        if (nLeft > 1) {
            power = runsOf(power, nPower, power);
            nPower *= 2;
        }
    }
    runs.Offset(0, static_cast<int>(nRows / 2));
    return Combine(across, runs, RGN_AND);
}

bool CRectList::IsCanonical() const
{
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const RECT& rc = m_rects[i];
        if (rc.right <= rc.left || rc.bottom <= rc.top)
            return false;
        if (i == 0)
            continue;
        const RECT& previous = m_rects[i - 1];
        bool bSameBand = previous.top == rc.top;
        if (bSameBand && (previous.bottom != rc.bottom || previous.right >= rc.left))
            return false;
        if (!bSameBand && previous.bottom > rc.top)
            return false;
    }
    // Two touching bands must differ.
    size_t nBand = 0;
    while (nBand < m_rects.size()) {
        size_t nNext = nBand;
        while (nNext < m_rects.size() && m_rects[nNext].top == m_rects[nBand].top)
            ++nNext;
        size_t nAfter = nNext;
        while (nAfter < m_rects.size() && m_rects[nAfter].top == m_rects[nNext].top)
            ++nAfter;
        if (nNext < m_rects.size() && m_rects[nBand].bottom == m_rects[nNext].top && nAfter - nNext == nNext - nBand
            && std::equal(m_rects.begin() + static_cast<ptrdiff_t>(nBand),
                m_rects.begin() + static_cast<ptrdiff_t>(nNext), m_rects.begin() + static_cast<ptrdiff_t>(nNext),
                [](const RECT& x, const RECT& y) { return x.left == y.left && x.right == y.right; }))
            return false;
        nBand = nNext;
    }
    return true;
}

bool CRectList::operator==(const CRectList& other) const
{
    return std::equal(m_rects.begin(), m_rects.end(), other.m_rects.begin(), other.m_rects.end(),
        [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}
