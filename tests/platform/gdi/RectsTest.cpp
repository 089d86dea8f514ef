#include "platform/gdi/Rects.h"

#include <gtest/gtest.h>

namespace {

RECT Make(int l, int t, int r, int b)
{
    return RECT { l, t, r, b };
}

}

TEST(RectsTest, IntersectionOfDisjointRectanglesIsEmptyAndFalse)
{
    RECT a = Make(0, 0, 10, 10), b = Make(10, 0, 20, 10), out = Make(1, 2, 3, 4);
    EXPECT_FALSE(IntersectRect(&out, &a, &b));
    EXPECT_TRUE(IsRectEmpty(&out));
    RECT c = Make(5, 5, 15, 15);
    ASSERT_TRUE(IntersectRect(&out, &a, &c));
    RECT expected = Make(5, 5, 10, 10);
    EXPECT_TRUE(EqualRect(&out, &expected));
}

TEST(RectsTest, UnionIgnoresEmptyRectangles)
{
    RECT a = Make(0, 0, 0, 0), b = Make(5, 5, 8, 9), out {};
    ASSERT_TRUE(UnionRect(&out, &a, &b));
    EXPECT_TRUE(EqualRect(&out, &b));
    EXPECT_FALSE(UnionRect(&out, &a, &a));
}

TEST(RectsTest, PointsOnTheRightAndBottomEdgesAreOutside)
{
    RECT rc = Make(0, 0, 10, 10);
    EXPECT_TRUE(PtInRect(&rc, POINT { 0, 0 }));
    EXPECT_TRUE(PtInRect(&rc, POINT { 9, 9 }));
    EXPECT_FALSE(PtInRect(&rc, POINT { 10, 5 }));
    EXPECT_FALSE(PtInRect(&rc, POINT { 5, 10 }));
}

TEST(RectsTest, SubtractRemovesOnlyWholeRowsOrColumns)
{
    RECT rc = Make(0, 0, 10, 10), out {};
    RECT top = Make(-5, -5, 15, 3);
    ASSERT_TRUE(SubtractRect(&out, &rc, &top));
    RECT expected = Make(0, 3, 10, 10);
    EXPECT_TRUE(EqualRect(&out, &expected));

    RECT right = Make(6, 0, 10, 10);
    ASSERT_TRUE(SubtractRect(&out, &rc, &right));
    expected = Make(0, 0, 6, 10);
    EXPECT_TRUE(EqualRect(&out, &expected));

    // A hole in the middle leaves no rectangle: the source comes back whole.
    RECT middle = Make(3, 3, 6, 6);
    ASSERT_TRUE(SubtractRect(&out, &rc, &middle));
    EXPECT_TRUE(EqualRect(&out, &rc));

    EXPECT_FALSE(SubtractRect(&out, &rc, &rc));
    EXPECT_TRUE(IsRectEmpty(&out));
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
