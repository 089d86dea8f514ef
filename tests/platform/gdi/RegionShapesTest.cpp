#include "platform/gdi/Regions.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// Owns a region handle for the length of a test.
struct Region {
    explicit Region(HRGN h)
        : hrgn(h)
    {
    }
    ~Region() { DeleteObject(hrgn); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    HRGN hrgn;
};

PixelSet Marked(const CTestCanvas& canvas)
{
    PixelSet pixels;
    for (POINT pt : canvas.Marked())
        pixels.emplace(pt.x, pt.y);
    return pixels;
}

// The pixels of the region within (0, 0) to (nSize, nSize).
PixelSet PixelsOf(HRGN hrgn, int nSize)
{
    PixelSet pixels;
    for (int y = 0; y < nSize; ++y) {
        for (int x = 0; x < nSize; ++x) {
            if (PtInRegion(hrgn, x, y))
                pixels.emplace(x, y);
        }
    }
    return pixels;
}

// The pixels FillRgn paints black on a white canvas.
PixelSet Filled(HRGN hrgn, int nSize)
{
    CTestCanvas canvas(nSize, nSize);
    FillRgn(canvas.Dc(), hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return Marked(canvas);
}

// The pixels a drawing call paints with the black pen and brush (or the null pen).
template<typename Draw> PixelSet Drawn(int nSize, Draw draw, int nPen = BLACK_PEN)
{
    CTestCanvas canvas(nSize, nSize);
    SelectObject(canvas.Dc(), GetStockObject(nPen));
    SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
    draw(canvas.Dc());
    return Marked(canvas);
}

// A five-pointed star drawn in one stroke: its centre is wound twice.
constexpr POINT STAR[] = { { 20, 2 }, { 31, 36 }, { 2, 14 }, { 38, 14 }, { 9, 36 } };

}

TEST(RegionShapesTest, CurvedRegionsCoverWhatTheShapesPaint)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 40);
    for (int nRound = 0; nRound < 25; ++nRound) {
        int x1 = coordinate(random), y1 = coordinate(random), x2 = coordinate(random), y2 = coordinate(random);
        int w = coordinate(random) / 2, h = coordinate(random) / 2;
        Region ellipse(CreateEllipticRgn(x1, y1, x2, y2));
        EXPECT_EQ(Filled(ellipse.hrgn, 42), Drawn(42, [&](HDC hdc) { Ellipse(hdc, x1, y1, x2, y2); }))
            << x1 << "," << y1 << " " << x2 << "," << y2;
        Region rounded(CreateRoundRectRgn(x1, y1, x2, y2, w, h));
        EXPECT_EQ(Filled(rounded.hrgn, 42), Drawn(42, [&](HDC hdc) { RoundRect(hdc, x1, y1, x2, y2, w, h); }));
    }
    // Its bounds are the rectangle's, and the ellipse is no rectangle.
    Region ellipse(CreateEllipticRgn(30, 20, 4, 2));
    RECT rcBox {};
    EXPECT_EQ(GetRgnBox(ellipse.hrgn, &rcBox), COMPLEXREGION);
    RECT rcExpected { 4, 2, 30, 20 };
    EXPECT_TRUE(EqualRect(&rcBox, &rcExpected));
    EXPECT_FALSE(PtInRegion(ellipse.hrgn, 4, 2));
    EXPECT_TRUE(PtInRegion(ellipse.hrgn, 17, 11));
}

TEST(RegionShapesTest, PolygonRegionsFollowTheFillMode)
{
    for (int nMode : { ALTERNATE, WINDING }) {
        Region star(CreatePolygonRgn(STAR, 5, nMode));
        ASSERT_NE(star.hrgn, nullptr);
        PixelSet filled = Drawn(
            42,
            [&](HDC hdc) {
                SetPolyFillMode(hdc, nMode);
                Polygon(hdc, STAR, 5);
            },
            NULL_PEN);
        EXPECT_EQ(PixelsOf(star.hrgn, 42), filled);
        // The centre is inside twice: a hole by ALTERNATE, filled by WINDING.
        EXPECT_EQ(PtInRegion(star.hrgn, 20, 20) != FALSE, nMode == WINDING);
        EXPECT_TRUE(PtInRegion(star.hrgn, 20, 6));
    }
    // A square polygon is the same area as the rectangle, whichever way round it goes.
    constexpr POINT SQUARE[] = { { 3, 4 }, { 3, 12 }, { 10, 12 }, { 10, 4 } };
    Region square(CreatePolygonRgn(SQUARE, 4, ALTERNATE));
    Region rect(CreateRectRgn(3, 4, 10, 12));
    EXPECT_TRUE(EqualRgn(square.hrgn, rect.hrgn));
    EXPECT_EQ(CreatePolygonRgn(SQUARE, 1, ALTERNATE), nullptr);
    EXPECT_EQ(CreatePolygonRgn(SQUARE, 4, 7), nullptr);
}

TEST(RegionShapesTest, CurvedAreasKeepOneCanonicalForm)
{
    // An ellipse rebuilt row by row from rectangles is the same region, and
    // cutting it in two and joining the halves gives it back.
    Region ellipse(CreateEllipticRgn(0, 0, 33, 21));
    Region rows(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 33; ++x) {
            if (PtInRegion(ellipse.hrgn, x, y)) {
                Region pixel(CreateRectRgn(x, y, x + 1, y + 1));
                CombineRgn(rows.hrgn, rows.hrgn, pixel.hrgn, RGN_OR);
            }
        }
    }
    EXPECT_TRUE(EqualRgn(rows.hrgn, ellipse.hrgn));
    Region left(CreateRectRgn(0, 0, 15, 21)), leftPart(CreateRectRgn(0, 0, 0, 0)), rightPart(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(leftPart.hrgn, ellipse.hrgn, left.hrgn, RGN_AND);
    CombineRgn(rightPart.hrgn, ellipse.hrgn, left.hrgn, RGN_DIFF);
    Region joined(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(joined.hrgn, rightPart.hrgn, leftPart.hrgn, RGN_XOR);
    EXPECT_TRUE(EqualRgn(joined.hrgn, ellipse.hrgn));
}

TEST(RegionShapesTest, CombinationsOfCurvedRegionsAreExact)
{
    Region ellipse(CreateEllipticRgn(2, 3, 37, 30));
    Region star(CreatePolygonRgn(STAR, 5, ALTERNATE));
    for (int nMode : { RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF }) {
        Region result(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(CombineRgn(result.hrgn, ellipse.hrgn, star.hrgn, nMode), COMPLEXREGION);
        for (int y = 0; y < 42; ++y) {
            for (int x = 0; x < 42; ++x) {
                bool bA = PtInRegion(ellipse.hrgn, x, y), bB = PtInRegion(star.hrgn, x, y);
                bool bExpected = nMode == RGN_AND ? bA && bB
                    : nMode == RGN_OR             ? bA || bB
                    : nMode == RGN_XOR            ? bA != bB
                                                  : bA && !bB;
                ASSERT_EQ(PtInRegion(result.hrgn, x, y) != FALSE, bExpected) << nMode << " at " << x << "," << y;
            }
        }
    }
}

TEST(RegionShapesTest, DrawingClippedToAnEllipseStaysInIt)
{
    CTestCanvas canvas(40, 40);
    Region ellipse(CreateEllipticRgn(5, 8, 35, 30));
    ASSERT_EQ(SelectClipRgn(canvas.Dc(), ellipse.hrgn), COMPLEXREGION);
    RECT rcAll { 0, 0, 40, 40 };
    FillRect(canvas.Dc(), &rcAll, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Marked(canvas), PixelsOf(ellipse.hrgn, 40));
    RECT rcClip {};
    EXPECT_EQ(GetClipBox(canvas.Dc(), &rcClip), COMPLEXREGION);
    EXPECT_EQ(rcClip.top, 8);
    EXPECT_FALSE(PtVisible(canvas.Dc(), 5, 8));
}

TEST(RegionShapesTest, FrameRgnPaintsTheBorderOfTheRegionOnly)
{
    // A square with a square hole: the outer edges and the hole's edges are framed.
    Region ring(CreateRectRgn(2, 2, 20, 20));
    Region hole(CreateRectRgn(8, 8, 14, 14));
    CombineRgn(ring.hrgn, ring.hrgn, hole.hrgn, RGN_DIFF);
    CTestCanvas canvas(24, 24);
    ASSERT_TRUE(FrameRgn(canvas.Dc(), ring.hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 2, 1));
    PixelSet framed = Marked(canvas);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            bool bIn = PtInRegion(ring.hrgn, x, y);
            bool bNearEdge = false;
            for (int d = 1; d <= 2; ++d)
                bNearEdge = bNearEdge || !PtInRegion(ring.hrgn, x - d, y) || !PtInRegion(ring.hrgn, x + d, y);
            bNearEdge = bNearEdge || !PtInRegion(ring.hrgn, x, y - 1) || !PtInRegion(ring.hrgn, x, y + 1);
            EXPECT_EQ(framed.count({ x, y }) == 1, bIn && bNearEdge) << x << "," << y;
        }
    }
    // One pixel wide on an ellipse: no pixel inside the ring, every edge pixel on it.
    Region ellipse(CreateEllipticRgn(3, 3, 30, 22));
    CTestCanvas oval(34, 34);
    FrameRgn(oval.Dc(), ellipse.hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    PixelSet outline = Marked(oval);
    EXPECT_EQ(outline.count({ 16, 12 }), 0u);
    EXPECT_EQ(outline.count({ 3, 12 }), 1u);
    for (auto [x, y] : outline)
        EXPECT_TRUE(PtInRegion(ellipse.hrgn, x, y));

    // Taller strokes at the top and bottom; a stroke a hundred million rows
    // high on a region taller still costs a few combinations, not one per row.
    Region square(CreateRectRgn(2, 2, 20, 20));
    CTestCanvas thick(24, 24);
    FrameRgn(thick.Dc(), square.hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 5);
    EXPECT_EQ(thick.At(10, 6), BLACK);
    EXPECT_EQ(thick.At(10, 7), WHITE);
    EXPECT_EQ(thick.At(10, 15), BLACK);
    EXPECT_EQ(thick.At(10, 14), WHITE);
    Region tall(CreateRectRgn(0, -2000000000, 10, 2000000000));
    CTestCanvas column(24, 24);
    FrameRgn(column.Dc(), tall.hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 100000000);
    EXPECT_EQ(column.At(0, 5), BLACK);
    EXPECT_EQ(column.At(9, 5), BLACK);
    EXPECT_EQ(column.At(5, 5), WHITE);
}

TEST(RegionShapesTest, ShapesTooTallAreRefusedNotBuilt)
{
    SetLastError(0);
    EXPECT_EQ(CreateEllipticRgn(0, -2000000000, 10, 2000000000), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    constexpr POINT TALL[] = { { 0, 0 }, { 5, MAX_SHAPE_ROWS + 1 }, { 10, 0 } };
    EXPECT_EQ(CreatePolygonRgn(TALL, 3, WINDING), nullptr);
    EXPECT_EQ(CreateEllipticRgnIndirect(nullptr), nullptr);
}
