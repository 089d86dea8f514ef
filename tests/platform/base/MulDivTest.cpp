#include "platform/base/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDivTest, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(1, -1, 2), -1);
    EXPECT_EQ(MulDiv(1, 1, -2), -1);
    EXPECT_EQ(MulDiv(-1, -1, -2), -1);
    EXPECT_EQ(MulDiv(10, 1, 3), 3);
    EXPECT_EQ(MulDiv(20, 1, 3), 7);
    EXPECT_EQ(MulDiv(-20, 1, 3), -7);
    EXPECT_EQ(MulDiv(12, 96, 72), 16); // points to pixels, as font heights are computed
}

TEST(MulDivTest, KeepsTheFullProductBeforeDividing)
{
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(MulDiv(100000, 100000, 1000000), 10000);
    EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
    EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
}

TEST(MulDivTest, OverflowAndDivisionByZeroGiveMinusOne)
{
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(0, 7, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1); // the positive of INT_MIN does not fit
    EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, 1), -1);
}
