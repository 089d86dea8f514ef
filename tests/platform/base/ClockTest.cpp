#include "platform/base/Clock.h"

#include <gtest/gtest.h>

TEST(ClockTest, OverrideDrivesEveryReadingAndRestoresTheSystemClock)
{
    ULONGLONG nSystemBefore = ClockUtcNow();
    {
        CManualClock clock(FILETIME_UNIX_EPOCH_SECONDS * FILETIME_UNITS_PER_SECOND, 500);
        CClockOverride useClock(clock);
        EXPECT_EQ(ClockUtcNow(), FILETIME_UNIX_EPOCH_SECONDS * FILETIME_UNITS_PER_SECOND);
        clock.Advance(1500);
        EXPECT_EQ(ClockTicks(), 2000u);
        EXPECT_EQ(ClockUtcNow(), (FILETIME_UNIX_EPOCH_SECONDS + 1) * FILETIME_UNITS_PER_SECOND + 5000000);
        clock.SetUtcNow(0);
        EXPECT_EQ(ClockTicks(), 2000u) << "setting the time of day must not move the tick count";
    }
    // Back on the system clock: some time after 2020 and not before the first reading.
    EXPECT_GE(ClockUtcNow(), nSystemBefore);
    EXPECT_GT(ClockUtcNow(), (FILETIME_UNIX_EPOCH_SECONDS + 1577836800ULL) * FILETIME_UNITS_PER_SECOND);
}
