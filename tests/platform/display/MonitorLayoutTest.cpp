#include "platform/display/MonitorLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr SIZE ROOT { 3000, 1200 };

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}

TEST(MonitorLayoutTest, ThePrimaryMonitorsCornerIsTheOrigin)
{
    // A secondary on the left, the primary to its right and lower.
    std::vector<CReportedMonitor> reported { { RECT { 0, 0, 1280, 1024 }, false },
        { RECT { 1280, 100, 3200, 1180 }, true } };
    CMonitorLayout layout = DeriveMonitorLayout(reported, ROOT, std::nullopt);
    ASSERT_EQ(layout.monitors.size(), 2u);
    EXPECT_TRUE(layout.monitors[0].bPrimary);
    EXPECT_TRUE(Same(layout.monitors[0].rcMonitor, RECT { 0, 0, 1920, 1080 }));
    EXPECT_FALSE(layout.monitors[1].bPrimary);
    EXPECT_TRUE(Same(layout.monitors[1].rcMonitor, RECT { -1280, -100, 0, 924 }));
    EXPECT_EQ(layout.ptOrigin.x, 1280);
    EXPECT_EQ(layout.ptOrigin.y, 100);
}

TEST(MonitorLayoutTest, WithoutAFlagThePrimaryHoldsTheRootsCorner)
{
    std::vector<CReportedMonitor> reported { { RECT { 1280, 0, 2560, 1024 }, false },
        { RECT { 0, 0, 1280, 1024 }, false } };
    CMonitorLayout layout = DeriveMonitorLayout(reported, ROOT, std::nullopt);
    EXPECT_TRUE(Same(layout.monitors[0].rcMonitor, RECT { 0, 0, 1280, 1024 }));
    EXPECT_TRUE(Same(layout.monitors[1].rcMonitor, RECT { 1280, 0, 2560, 1024 }));

    // None there either: the first.
    reported = { { RECT { 10, 10, 100, 100 }, false }, { RECT { 200, 10, 300, 100 }, false } };
    layout = DeriveMonitorLayout(reported, ROOT, std::nullopt);
    EXPECT_EQ(layout.ptOrigin.x, 10);
}

TEST(MonitorLayoutTest, NoMonitorsMeansOneAsLargeAsTheRoot)
{
    for (const auto& reported :
        { std::vector<CReportedMonitor> {}, std::vector<CReportedMonitor> { { RECT { 5, 5, 5, 50 }, true } } }) {
        CMonitorLayout layout = DeriveMonitorLayout(reported, ROOT, std::nullopt);
        ASSERT_EQ(layout.monitors.size(), 1u);
        EXPECT_TRUE(layout.monitors[0].bPrimary);
        EXPECT_TRUE(Same(layout.monitors[0].rcMonitor, RECT { 0, 0, 3000, 1200 }));
        EXPECT_TRUE(Same(layout.monitors[0].rcWork, layout.monitors[0].rcMonitor));
    }
}

TEST(MonitorLayoutTest, EachMonitorWorksInItsPartOfTheWorkArea)
{
    std::vector<CReportedMonitor> reported { { RECT { 0, 0, 1280, 1024 }, true },
        { RECT { 1280, 0, 2560, 1024 }, false }, { RECT { 0, 1024, 1280, 2048 }, false } };
    // A panel along the top of the whole desktop, 30 pixels high; nothing of it below y 1200.
    CMonitorLayout layout = DeriveMonitorLayout(reported, ROOT, RECT { 0, 30, 2560, 1200 });
    EXPECT_TRUE(Same(layout.monitors[0].rcWork, RECT { 0, 30, 1280, 1024 }));
    EXPECT_TRUE(Same(layout.monitors[1].rcWork, RECT { 1280, 30, 2560, 1024 }));
    EXPECT_TRUE(Same(layout.monitors[2].rcWork, RECT { 0, 1024, 1280, 1200 }));
}

TEST(MonitorLayoutTest, APointFindsItsMonitorOrTheNearest)
{
    std::vector<CMonitor> monitors { { RECT { 0, 0, 100, 100 }, RECT {}, true },
        { RECT { -200, 0, -100, 100 }, RECT {}, false } };
    EXPECT_TRUE(MonitorNearest(monitors, POINT { 50, 50 }).bPrimary);
    EXPECT_FALSE(MonitorNearest(monitors, POINT { -150, 50 }).bPrimary);
    EXPECT_FALSE(MonitorNearest(monitors, POINT { -90, 50 }).bPrimary); // 10 off the left one, 90 off the primary
    EXPECT_TRUE(MonitorNearest(monitors, POINT { 500, -500 }).bPrimary);
}
