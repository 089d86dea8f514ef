#include "platform/gdi/Rects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>
#include <utility>

namespace {

using Pixels = std::set<std::pair<int, int>>;

RECT Make(int l, int t, int r, int b)
{
    return RECT { l, t, r, b };
}

// The pixels a rectangle covers: its left column and top row, not its right or bottom edge.
Pixels PixelsOf(const RECT& rc)
{
    Pixels pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.emplace(x, y);
    return pixels;
}

// The smallest rectangle around the pixels.
RECT Bounds(const Pixels& pixels)
{
    if (pixels.empty())
        return Make(0, 0, 0, 0);
    RECT rc = Make(pixels.begin()->first, pixels.begin()->second, pixels.begin()->first, pixels.begin()->second);
    for (const auto& [x, y] : pixels)
        rc = Make(std::min<int>(rc.left, x), std::min<int>(rc.top, y), std::max<int>(rc.right, x + 1),
            std::max<int>(rc.bottom, y + 1));
    return rc;
}

}

TEST(RectsTest, SetOperationsMatchThePixelsCovered)
{
    // Small random rectangles, empty and inverted ones included, against sets of pixels.
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> coordinate(-2, 10);
    auto random = [&] { return Make(coordinate(rng), coordinate(rng), coordinate(rng), coordinate(rng)); };
    for (int nRound = 0; nRound < 3000; ++nRound) {
        RECT a = random();
        RECT b = random();
        Pixels pa = PixelsOf(a);
        Pixels pb = PixelsOf(b);
        RECT out = Make(1, 2, 3, 4);
        SCOPED_TRACE(testing::Message() << "a " << a.left << "," << a.top << "," << a.right << "," << a.bottom << " b "
                                        << b.left << "," << b.top << "," << b.right << "," << b.bottom);
        EXPECT_EQ(IsRectEmpty(&a) != FALSE, pa.empty());

        Pixels common;
        std::set_intersection(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(common, common.end()));
        EXPECT_EQ(IntersectRect(&out, &a, &b) != FALSE, !common.empty());
        EXPECT_EQ(PixelsOf(out), common);
        EXPECT_EQ(IsRectEmpty(&out) != FALSE, common.empty());

        // A union is the bounding box of the rectangles that cover anything.
        Pixels both = pa;
        both.insert(pb.begin(), pb.end());
        EXPECT_EQ(UnionRect(&out, &a, &b) != FALSE, !both.empty());
        EXPECT_EQ(PixelsOf(out), PixelsOf(Bounds(both)));

        // A difference that is no rectangle gives the source back whole.
        Pixels rest;
        std::set_difference(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(rest, rest.end()));
        Pixels expected = PixelsOf(Bounds(rest)) == rest ? rest : pa;
        EXPECT_EQ(SubtractRect(&out, &a, &b) != FALSE, !expected.empty());
        EXPECT_EQ(PixelsOf(out), expected);

        POINT pt { coordinate(rng), coordinate(rng) };
        EXPECT_EQ(PtInRect(&a, pt) != FALSE, pa.count({ pt.x, pt.y }) == 1);
    }
}

TEST(RectsTest, InflateAndOffsetMoveEveryEdge)
{
    RECT rc = Make(10, 10, 20, 20);
    InflateRect(&rc, 2, -3);
    RECT expected = Make(8, 13, 22, 17);
    EXPECT_TRUE(EqualRect(&rc, &expected));
    OffsetRect(&rc, -8, 1);
    expected = Make(0, 14, 14, 18);
    EXPECT_TRUE(EqualRect(&rc, &expected));
    EXPECT_FALSE(InflateRect(nullptr, 1, 1));
}
