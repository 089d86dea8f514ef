#pragma once

// Lines of text with tab stops, shared by the tabbed extent and DrawText.

#include "platform/gdi/TextEngine.h"

#include <string_view>
#include <vector>

// Tab stops: the given positions first, then every `nInterval` pixels.
class CTabStops {
public:
    explicit CTabStops(int nInterval);
    void SetStops(std::vector<int> stops);
    // The first stop right of x.
    int Next(int x) const;

private:
    int m_nInterval;
    std::vector<int> m_stops;
};

// The width of a line whose tabs jump to the stops (`pTabs` NULL: tabs are blanks).
int MeasureTabbedLine(CGdiFont& font, std::string_view line, const CTabStops* pTabs);
inline int MeasureTabbedLine(CGdiFont& font, std::string_view line, const CTabStops& tabs)
{
    return MeasureTabbedLine(font, line, &tabs);
}

// Draws such a line with its cell's top-left at device (x, y); byte
// `nUnderline` of the line, when given, is underlined.
void DrawTabbedLine(CPixelTarget& target, CGdiFont& font, std::string_view line, const CTabStops* pTabs, int x, int y,
    COLORREF cr, const RECT* pClip, std::optional<size_t> nUnderline);
