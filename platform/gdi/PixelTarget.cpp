#include "platform/gdi/PixelTarget.h"

#include "platform/gdi/Rects.h"

#include <algorithm>

uint32_t ApplyRop2(int nRop2, uint32_t nPen, uint32_t nDst)
{
    // Bit (2 * pen + destination) of nRop2 - 1 is the result for those bits.
    unsigned nTable = static_cast<unsigned>(nRop2 - 1);
    uint32_t nResult = 0;
    if (nTable & 1)
        nResult |= ~nPen & ~nDst;
    if (nTable & 2)
        nResult |= ~nPen & nDst;
    if (nTable & 4)
        nResult |= nPen & ~nDst;
    if (nTable & 8)
        nResult |= nPen & nDst;
    return nResult & 0xFFFFFF;
}

uint32_t ApplyRop3(DWORD dwRop, uint32_t nPattern, uint32_t nSource, uint32_t nDst)
{
    // Bit (4 * pattern + 2 * source + destination) of the operation's third byte
    // is the result for those bits; each of the eight minterms adds its bits.
    unsigned nTable = (dwRop >> 16) & 0xFF;
    uint32_t nResult = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(nTable & (1u << i)))
            continue;
        uint32_t nP = (i & 4) ? nPattern : ~nPattern;
        uint32_t nS = (i & 2) ? nSource : ~nSource;
        uint32_t nD = (i & 1) ? nDst : ~nDst;
        nResult |= nP & nS & nD;
    }
    return nResult & 0xFFFFFF;
}

CPixelTarget::CPixelTarget(CDeviceContext& dc)
    : m_dc(dc)
    , m_bitmap(*dc.m_state.bitmap)
    , m_clip(dc.EffectiveClip())
{
    m_bitmap.PullBits();
    if (m_clip.Rects().size() <= 1) {
        m_bSingleClip = true;
        m_rcSingleClip = m_clip.Rects().empty() ? RECT {} : m_clip.Rects().front();
    }
}

CPixelTarget::~CPixelTarget()
{
    m_bitmap.PushBits();
}

RECT CPixelTarget::VisiblePart(const RECT& rc) const
{
    RECT rcBounds = m_clip.Bounds();
    RECT rcPart {};
    IntersectRect(&rcPart, &rc, &rcBounds);
    return rcPart;
}

bool CPixelTarget::Visible(int x, int y) const
{
    if (m_bSingleClip)
        return x >= m_rcSingleClip.left && x < m_rcSingleClip.right && y >= m_rcSingleClip.top
            && y < m_rcSingleClip.bottom;
    return m_clip.Contains(x, y);
}

void CPixelTarget::Plot(int x, int y, uint32_t nPixel)
{
    if (!Visible(x, y))
        return;
    uint32_t& nDst = m_bitmap.Row(y)[x];
    nDst = ApplyRop2(m_dc.m_state.nRop2, nPixel, nDst);
}

void CPixelTarget::Put(int x, int y, uint32_t nPixel)
{
    if (Visible(x, y))
        m_bitmap.Row(y)[x] = nPixel;
}

namespace {

bool OnHatch(ULONG_PTR nHatch, int x, int y)
{
    int nX = x & 7, nY = y & 7;
    switch (nHatch) {
    case HS_HORIZONTAL:
        return nY == 0;
    case HS_VERTICAL:
        return nX == 0;
    case HS_FDIAGONAL:
        return nX == nY;
    case HS_BDIAGONAL:
        return nX == 7 - nY;
    case HS_CROSS:
        return nX == 0 || nY == 0;
    case HS_DIAGCROSS:
        return nX == nY || nX == 7 - nY;
    default:
        return false;
    }
}

int Wrap(int n, int nSize)
{
    int nRest = n % nSize;
    return nRest < 0 ? nRest + nSize : nRest;
}

}

std::optional<uint32_t> CPixelTarget::BrushPixel(const CGdiBrush& brush, int x, int y) const
{
    const DcState& state = m_dc.m_state;
    switch (brush.m_log.lbStyle) {
    case BS_SOLID:
        return Pixel(brush.m_log.lbColor);
    case BS_HATCHED:
        if (OnHatch(brush.m_log.lbHatch, x, y))
            return Pixel(brush.m_log.lbColor);
        if (state.nBkMode == OPAQUE)
            return Pixel(state.crBk);
        return std::nullopt;
    case BS_PATTERN: {
        CGdiBitmap& pattern = *brush.m_pPattern;
        uint32_t nPixel = pattern.Row(Wrap(y, pattern.m_nHeight))[Wrap(x, pattern.m_nWidth)];
        if (pattern.IsMonochrome())
            return Pixel(nPixel ? state.crBk : state.crText);
        return IsMonochrome() ? PixelFromColour(ColourFromPixel(nPixel), true) : nPixel;
    }
    default:
        return std::nullopt;
    }
}

void CPixelTarget::FillSpan(int y, int x0, int x1, const CGdiBrush& brush, Mix eMix)
{
    if (brush.m_log.lbStyle == BS_NULL || y < 0 || y >= m_bitmap.m_nHeight)
        return;
    // A solid brush is one pixel value: copied spans are filled at once.
    const bool bSolid = brush.m_log.lbStyle == BS_SOLID;
    const uint32_t nSolid = bSolid ? Pixel(brush.m_log.lbColor) : 0;
    const bool bCopy = eMix == Mix::Copy || m_dc.m_state.nRop2 == R2_COPYPEN;
    for (const RECT& rc : m_clip.Band(y)) {
        int nFrom = std::max<int>(x0, rc.left);
        int nTo = std::min<int>(x1, rc.right);
        uint32_t* pRow = m_bitmap.Row(y);
        if (bSolid && bCopy) {
            if (nTo > nFrom)
                std::fill(pRow + nFrom, pRow + nTo, nSolid);
            continue;
        }
        for (int x = nFrom; x < nTo; ++x) {
            if (std::optional<uint32_t> nPixel = BrushPixel(brush, x, y))
                pRow[x] = eMix == Mix::Copy ? *nPixel : ApplyRop2(m_dc.m_state.nRop2, *nPixel, pRow[x]);
        }
    }
}

void CPixelTarget::FillSolid(const RECT& rc, uint32_t nPixel)
{
    const RECT rcVisible = VisiblePart(rc);
    for (int y = rcVisible.top; y < rcVisible.bottom; ++y) {
        uint32_t* pRow = m_bitmap.Row(y);
        for (const RECT& rcBand : m_clip.Band(y)) {
            const int nFrom = std::max<int>(rcVisible.left, rcBand.left);
            const int nTo = std::min<int>(rcVisible.right, rcBand.right);
            if (nTo > nFrom)
                std::fill(pRow + nFrom, pRow + nTo, nPixel);
        }
    }
}

void CPixelTarget::FillRect(const RECT& rc, const CGdiBrush& brush, Mix eMix)
{
    int nTop = std::max<int>(rc.top, 0);
    int nBottom = std::min<int>(rc.bottom, m_bitmap.m_nHeight);
    for (int y = nTop; y < nBottom; ++y)
        FillSpan(y, rc.left, rc.right, brush, eMix);
}
