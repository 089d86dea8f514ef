#pragma once

// The pixels that filled shapes cover, row by row, shared by the shape drawing
// calls and the regions made from shapes, so that a region covers exactly what
// the matching drawing call paints. Callers outside platform/gdi never include
// this header. A pixel belongs to a shape when its centre lies inside.

#include "platform/gdi/GdiTypes.h"

#include <functional>
#include <span>
#include <utility>

// A rectangle with elliptic corners of radii rx, ry in continuous coordinates
// (pixel x covers x to x + 1). Rectangles have zero radii, ellipses half the size.
struct RoundedBox {
    double left, top, right, bottom, rx, ry;

    RoundedBox Shrunk(double d) const;
    // The pixels of row y whose centres lie inside, as [x0, x1); empty when none.
    std::pair<int, int> Span(int y) const;
};

// Calls `fn(y, x0, x1)` for each run of pixels [x0, x1) of rows yFrom to
// yTo - 1 inside the closed polygon by the fill mode (ALTERNATE or WINDING).
void ForEachPolygonSpan(std::span<const POINT> points, int nFillMode, int yFrom, int yTo,
    const std::function<void(int y, int x0, int x1)>& fn);
