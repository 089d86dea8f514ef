#pragma once

// The area of a region as a list of rectangles in a canonical form: the
// rectangles do not overlap, rows of equal extent form bands sorted from top to
// bottom, the rectangles of a band are sorted from left to right and never touch,
// and two touching bands are never equal. Two lists cover the same pixels
// exactly when they are equal.
//
// Curved areas (ellipses, polygons) are one band per row where their spans
// change, so lookups find the band of a row by binary search and work on its
// rectangles only.

#include "platform/gdi/GdiTypes.h"

#include <span>
#include <vector>

class CRectList {
public:
    // Pixels left to right - 1 of a row.
    struct Span {
        LONG left;
        LONG right;
    };

    CRectList() = default;
    explicit CRectList(const RECT& rc);

    // The RGN_* combination of two areas (RGN_COPY takes `a`).
    static CRectList Combine(const CRectList& a, const CRectList& b, int nMode);

    // Adds rows top to bottom - 1 covered by `spans`, which may come in any
    // order, overlap, touch or be empty. `top` must not lie above the bottom
    // of the area built so far: areas are built from the top down.
    void AppendRows(LONG top, LONG bottom, std::vector<Span> spans);

    bool IsEmpty() const { return m_rects.empty(); }
    bool Contains(int x, int y) const;
    // Whether any pixel of `rc` lies in the area.
    bool Touches(const RECT& rc) const;
    // The rectangles of the band that holds row y, from left to right; empty when none does.
    std::span<const RECT> Band(int y) const;
    RECT Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;
    void Offset(int dx, int dy);
    // The pixels whose neighbours up to w columns to the left and right all lie
    // in the area, and whose neighbours up to h rows up and down all do too; the
    // rest of the area is its border, w pixels wide at the sides and h high at
    // the top and bottom. Rows more than 2^29 from 0 count as outside.
    CRectList Eroded(int w, int h) const;
    const std::vector<RECT>& Rects() const { return m_rects; }

    // Whether the list is in the canonical form; for assertions and tests.
    bool IsCanonical() const;

    bool operator==(const CRectList& other) const;

private:
    // Where the last band starts in m_rects.
    size_t LastBandStart() const;

    std::vector<RECT> m_rects;
};
