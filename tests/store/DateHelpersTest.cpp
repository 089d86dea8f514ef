#include "store/DateHelpers.h"

#include "platform/base/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Runs each test in a time zone with daylight saving (central Europe: the
// clocks go forward on 2024-03-31 and back on 2024-10-27), written as a rule
// so that no zone database is needed.
class DateHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* pszOld = std::getenv("TZ");
        m_bHadZone = pszOld != nullptr;
        m_strOldZone = pszOld ? pszOld : "";
        UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
    }

    void TearDown() override
    {
        if (m_bHadZone)
            setenv("TZ", m_strOldZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    static void UseZone(const char* pszZone)
    {
        setenv("TZ", pszZone, 1);
        tzset();
    }

    // A local time of the current zone.
    static time_t Local(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0)
    {
        struct tm local { };
        local.tm_year = nYear - 1900;
        local.tm_mon = nMonth - 1;
        local.tm_mday = nDay;
        local.tm_hour = nHour;
        local.tm_min = nMinute;
        local.tm_sec = nSecond;
        local.tm_isdst = -1;
        return mktime(&local);
    }

private:
    bool m_bHadZone { false };
    std::string m_strOldZone;
};

TEST_F(DateHelpersTest, DayNumberChangesAtLocalMidnight)
{
    for (time_t tMidnight : { Local(2024, 3, 15), Local(2024, 3, 31), Local(2024, 4, 1), Local(2024, 10, 27),
             Local(2024, 10, 28), Local(2025, 1, 1) }) {
        EXPECT_EQ(GetToday(tMidnight - 1), GetToday(tMidnight) - 1);
        EXPECT_EQ(GetToday(tMidnight + 1), GetToday(tMidnight));
        EXPECT_EQ(GetToday(tMidnight + 86399 - 3600), GetToday(tMidnight)); // Also on a 23-hour day
    }
}

TEST_F(DateHelpersTest, DayNumbersCountDaysFrom1970)
{
    UseZone("UTC0");
    EXPECT_EQ(GetToday(0), 0);
    EXPECT_EQ(GetToday(86399), 0);
    EXPECT_EQ(GetToday(86400), 1);
    EXPECT_EQ(GetToday(-1), -1);
    EXPECT_EQ(GetToday(Local(2000, 3, 1)), 11017);
    // West of Greenwich the first second of 1970 is still on the last day of 1969.
    UseZone("EST5");
    EXPECT_EQ(GetToday(0), -1);
}

TEST_F(DateHelpersTest, DaysBetweenAcrossDaylightSavingChanges)
{
    // 47 hours over the spring change are two days.
    EXPECT_EQ(DaysBetween(Local(2024, 3, 30, 12), Local(2024, 4, 1, 12)), 2);
    // The 25-hour autumn day is one day.
    EXPECT_EQ(DaysBetween(Local(2024, 10, 27), Local(2024, 10, 27, 23, 59, 59)), 0);
    EXPECT_EQ(DaysBetween(Local(2024, 10, 26, 23, 30), Local(2024, 10, 27, 0, 30)), 1);
    EXPECT_EQ(DaysBetween(Local(2024, 1, 1), Local(2025, 1, 1)), 366);
}

TEST_F(DateHelpersTest, DaysBetweenIsNegativeBackwards)
{
    EXPECT_EQ(DaysBetween(Local(2024, 4, 1, 12), Local(2024, 3, 30, 12)), -2);
    EXPECT_EQ(DaysBetween(Local(2024, 5, 2, 0, 0, 1), Local(2024, 5, 1, 23, 59, 59)), -1);
    EXPECT_EQ(DaysBetween(Local(2024, 5, 2, 23), Local(2024, 5, 2, 1)), 0);
}

TEST_F(DateHelpersTest, TodayComesFromTheProgramClock)
{
    time_t tNoon = Local(2024, 7, 14, 12);
    CManualClock clock((static_cast<ULONGLONG>(tNoon) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
    CClockOverride useClock(clock);
    EXPECT_EQ(GetToday(), GetToday(tNoon));
    clock.Advance(12ULL * 3600 * 1000);
    EXPECT_EQ(GetToday(), GetToday(tNoon) + 1);
}

TEST_F(DateHelpersTest, AddSecondsMovesTheTimeInPlace)
{
    time_t tTime = Local(2024, 3, 30, 12);
    AddSeconds(tTime, 2 * 86400);
    EXPECT_EQ(tTime, Local(2024, 4, 1, 13)); // One hour later on the clock after the spring change
    AddSeconds(tTime, -3600);
    EXPECT_EQ(tTime, Local(2024, 4, 1, 12));
}

} // namespace
