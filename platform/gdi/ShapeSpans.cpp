#include "platform/gdi/ShapeSpans.h"

#include <algorithm>
#include <cmath>
#include <vector>

RoundedBox RoundedBox::Shrunk(double d) const
{
    return RoundedBox { left + d, top + d, right - d, bottom - d, std::max(0.0, rx - d), std::max(0.0, ry - d) };
}

std::pair<int, int> RoundedBox::Span(int y) const
{
    double yc = y + 0.5;
    if (yc < top || yc > bottom || right <= left)
        return { 0, 0 };
    double half = rx;
    if (ry > 0) {
        double dy = 0;
        if (yc < top + ry)
            dy = (top + ry - yc) / ry;
        else if (yc > bottom - ry)
            dy = (yc - (bottom - ry)) / ry;
        half = rx * std::sqrt(std::max(0.0, 1 - dy * dy));
    }
    int x0 = static_cast<int>(std::ceil(left + rx - half - 0.5));
    int x1 = static_cast<int>(std::floor(right - rx + half - 0.5)) + 1;
    return x1 > x0 ? std::pair { x0, x1 } : std::pair { 0, 0 };
}

void ForEachPolygonSpan(std::span<const POINT> points, int nFillMode, int yFrom, int yTo,
    const std::function<void(int y, int x0, int x1)>& fn)
{
    std::vector<std::pair<double, int>> crossings; // x and winding direction
    for (int y = yFrom; y < yTo; ++y) {
        double yc = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            POINT a = points[i], b = points[(i + 1) % points.size()];
            if ((a.y <= yc) == (b.y <= yc))
                continue;
            double x = a.x + (yc - a.y) * (b.x - a.x) / double(b.y - a.y);
            crossings.emplace_back(x, b.y > a.y ? 1 : -1);
        }
        std::sort(crossings.begin(), crossings.end());
        int nWinding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            nWinding += crossings[i].second;
            bool bInside = nFillMode == WINDING ? nWinding != 0 : i % 2 == 0;
            if (!bInside)
                continue;
            int x0 = static_cast<int>(std::ceil(crossings[i].first - 0.5));
            int x1 = static_cast<int>(std::ceil(crossings[i + 1].first - 0.5));
            if (x1 > x0)
                fn(y, x0, x1);
        }
    }
}
