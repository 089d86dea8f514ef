#pragma once

// The area of a region as a list of rectangles in a canonical form: the
// rectangles do not overlap, rows of equal extent form bands sorted from top to
// bottom, the rectangles of a band are sorted from left to right and never touch,
// and two touching bands are never equal. Two lists cover the same pixels
// exactly when they are equal.

#include "platform/gdi/GdiTypes.h"

#include <vector>

class CRectList {
public:
    CRectList() = default;
    explicit CRectList(const RECT& rc);

    // The RGN_* combination of two areas (RGN_COPY takes `a`).
    static CRectList Combine(const CRectList& a, const CRectList& b, int nMode);

    bool IsEmpty() const { return m_rects.empty(); }
    bool Contains(int x, int y) const;
    // Whether any pixel of `rc` lies in the area.
    bool Touches(const RECT& rc) const;
    RECT Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;
    void Offset(int dx, int dy);
    const std::vector<RECT>& Rects() const { return m_rects; }

    bool operator==(const CRectList& other) const;

private:
    std::vector<RECT> m_rects;
};
