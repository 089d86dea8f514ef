#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

TEST(SystemMetricsTest, ScreenIsFixedAndUnknownIndexesAreZero)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(GetSystemMetrics(-1), 0);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
}
