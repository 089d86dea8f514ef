#pragma once

// Helpers for the tests of the time types: a fixed host time zone and the
// manual clock, set per test case (each case runs in its own process).

#include "platform/base/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

// Time zones as POSIX rules, so the tests need no zone database.
constexpr const char* TZ_UTC = "UTC0";
constexpr const char* TZ_BERLIN = "CET-1CEST,M3.5.0,M10.5.0/3"; // +1, +2 from the last Sunday of March
constexpr const char* TZ_NEW_YORK = "EST5EDT,M3.2.0,M11.1.0";   // -5, -4 from the second Sunday of March

inline void UseTimeZone(const char* pszZone)
{
    setenv("TZ", pszZone, 1);
    tzset();
}

// The FILETIME count of a UTC time_t plus milliseconds.
constexpr ULONGLONG FileTimeUnitsFromUnix(time_t nTime, ULONGLONG nMilliseconds = 0)
{
    return (static_cast<ULONGLONG>(nTime) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND
        + nMilliseconds * (FILETIME_UNITS_PER_SECOND / 1000);
}

// Well-known UTC instants used across the tests.
constexpr time_t UNIX_2026_07_01_1000 = 1782900000;  // Wednesday, summer time in Berlin and New York
constexpr time_t UNIX_2026_01_15_1100 = 1768474800;  // Thursday, standard time
constexpr time_t UNIX_1995_03_14_124129 = 795184889; // Tuesday

// A fixture running in the given zone with a manual clock installed.
class TimeZoneTest : public ::testing::Test {
protected:
    void SetUp() override { UseTimeZone(TZ_BERLIN); }

    CManualClock m_clock { FileTimeUnitsFromUnix(UNIX_2026_07_01_1000) };
    CClockOverride m_useClock { m_clock };
};
