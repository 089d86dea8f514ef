#include "platform/gdi/TextLayout.h"

#include <algorithm>

CTabStops::CTabStops(int nInterval)
    : m_nInterval(std::max(1, nInterval))
{
}

void CTabStops::SetStops(std::vector<int> stops)
{
    std::sort(stops.begin(), stops.end());
    m_stops = std::move(stops);
}

int CTabStops::Next(int x) const
{
    auto it = std::upper_bound(m_stops.begin(), m_stops.end(), x);
    if (it != m_stops.end())
        return *it;
    return (x / m_nInterval + 1) * m_nInterval;
}

namespace {

// Calls fn(segment, byte offset, x) for each run of the line between tabs
// (the whole line without tab stops); returns the line's width.
template<typename Fn> int ForEachSegment(CGdiFont& font, std::string_view line, const CTabStops* pTabs, Fn fn)
{
    if (!pTabs) {
        fn(line, 0, 0);
        return LineWidth(font, line);
    }
    int x = 0;
    size_t nStart = 0;
    while (true) {
        size_t nTab = line.find('\t', nStart);
        std::string_view segment = line.substr(nStart, nTab == std::string_view::npos ? nTab : nTab - nStart);
        fn(segment, nStart, x);
        x += LineWidth(font, segment);
        if (nTab == std::string_view::npos)
            return x;
        x = pTabs->Next(x);
        nStart = nTab + 1;
    }
}

}

int MeasureTabbedLine(CGdiFont& font, std::string_view line, const CTabStops* pTabs)
{
    return ForEachSegment(font, line, pTabs, [](std::string_view, size_t, int) {});
}

void DrawTabbedLine(CPixelTarget& target, CGdiFont& font, std::string_view line, const CTabStops* pTabs, int x, int y,
    COLORREF cr, const RECT* pClip, std::optional<size_t> nUnderline)
{
    // Underlined text is laid out again with the underline; the plain layout
    // gives the positions.
    ForEachSegment(font, line, pTabs, [&](std::string_view segment, size_t nOffset, int nX) {
        const size_t nLength = segment.size();
        if (nUnderline && *nUnderline >= nOffset && *nUnderline < nOffset + nLength) {
            size_t nFrom = *nUnderline - nOffset, nTo = nFrom + 1;
            while (!IsCharacterStart(segment, nTo))
                ++nTo;
            CTextLine underlined(font, segment, std::pair { nFrom, nTo });
            underlined.Draw(target, x + nX, y, cr, pClip);
            return;
        }
        ShapedLine(font, segment)->Draw(target, x + nX, y, cr, pClip);
    });
}
