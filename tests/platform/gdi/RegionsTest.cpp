#include "platform/gdi/Regions.h"

#include "platform/gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Owns a region handle for the length of a test.
struct Region {
    explicit Region(HRGN h)
        : hrgn(h)
    {
    }
    ~Region() { DeleteObject(hrgn); }
    HRGN hrgn;
};

bool Expected(int nMode, bool bA, bool bB)
{
    switch (nMode) {
    case RGN_AND:
        return bA && bB;
    case RGN_OR:
        return bA || bB;
    case RGN_XOR:
        return bA != bB;
    default:
        return bA && !bB;
    }
}

}

TEST(RegionsTest, CombinationsCoverExactlyThePixelsOfTheBooleanOperation)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 20);
    for (int nRound = 0; nRound < 80; ++nRound) {
        // Two areas of one rectangle each, or of three.
        const int nPieces = nRound % 2 == 0 ? 1 : 3;
        Region a(CreateRectRgn(0, 0, 0, 0)), b(CreateRectRgn(0, 0, 0, 0));
        for (Region* pRegion : { &a, &b }) {
            for (int i = 0; i < nPieces; ++i) {
                Region piece(
                    CreateRectRgn(coordinate(random), coordinate(random), coordinate(random), coordinate(random)));
                CombineRgn(pRegion->hrgn, pRegion->hrgn, piece.hrgn, RGN_OR);
            }
        }
        for (int nMode : { RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF }) {
            Region result(CreateRectRgn(0, 0, 0, 0));
            int nComplexity = CombineRgn(result.hrgn, a.hrgn, b.hrgn, nMode);
            ASSERT_NE(nComplexity, ERROR);
            bool bAny = false;
            for (int y = -1; y <= 21; ++y) {
                for (int x = -1; x <= 21; ++x) {
                    bool bIn = PtInRegion(result.hrgn, x, y);
                    bAny = bAny || bIn;
                    ASSERT_EQ(bIn, Expected(nMode, PtInRegion(a.hrgn, x, y), PtInRegion(b.hrgn, x, y)))
                        << "mode " << nMode << " at " << x << "," << y;
                }
            }
            EXPECT_EQ(nComplexity == NULLREGION, !bAny);
        }
    }
}

TEST(RegionsTest, EqualAreasBuiltDifferentlyCompareEqual)
{
    // Two halves joined side by side, and top and bottom, make one rectangle.
    Region whole(CreateRectRgn(0, 0, 10, 10));
    Region left(CreateRectRgn(0, 0, 5, 10)), right(CreateRectRgn(5, 0, 10, 10));
    Region top(CreateRectRgn(0, 0, 10, 4)), bottom(CreateRectRgn(0, 4, 10, 10));
    Region joinedAcross(CreateRectRgn(0, 0, 0, 0)), joinedDown(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(joinedAcross.hrgn, left.hrgn, right.hrgn, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(joinedDown.hrgn, top.hrgn, bottom.hrgn, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(joinedAcross.hrgn, whole.hrgn));
    EXPECT_TRUE(EqualRgn(joinedAcross.hrgn, joinedDown.hrgn));
    EXPECT_FALSE(EqualRgn(left.hrgn, whole.hrgn));
}

TEST(RegionsTest, HoleMakesAComplexRegionThatRectanglesTest)
{
    Region frame(CreateRectRgn(0, 0, 30, 30));
    Region hole(CreateRectRgn(10, 10, 20, 20));
    EXPECT_EQ(CombineRgn(frame.hrgn, frame.hrgn, hole.hrgn, RGN_DIFF), COMPLEXREGION);
    RECT inHole { 12, 12, 18, 18 }, acrossEdge { 5, 12, 15, 18 };
    EXPECT_FALSE(RectInRegion(frame.hrgn, &inHole));
    EXPECT_TRUE(RectInRegion(frame.hrgn, &acrossEdge));
    RECT box {};
    EXPECT_EQ(GetRgnBox(frame.hrgn, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(OffsetRgn(frame.hrgn, 5, 5), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(frame.hrgn, 14, 14));
    EXPECT_FALSE(PtInRegion(frame.hrgn, 16, 16));
}

TEST(RegionsTest, StaleAndWrongHandlesAreRefused)
{
    HRGN hrgn = CreateRectRgn(0, 0, 5, 5);
    ASSERT_TRUE(DeleteObject(hrgn));
    EXPECT_EQ(OffsetRgn(hrgn, 1, 1), ERROR);
    EXPECT_FALSE(PtInRegion(hrgn, 1, 1));
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(OffsetRgn(reinterpret_cast<HRGN>(hBrush), 1, 1), ERROR);
    DeleteObject(hBrush);
}
