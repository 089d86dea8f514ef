#include "platform/base/TimeFunctions.h"

#include "TimeTestSupport.h"
#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SYSTEMTIME MakeSystemTime(
    WORD wYear, WORD wMonth, WORD wDay, WORD wHour = 0, WORD wMinute = 0, WORD wSecond = 0, WORD wMilliseconds = 0)
{
    SYSTEMTIME st {};
    st.wYear = wYear;
    st.wMonth = wMonth;
    st.wDay = wDay;
    st.wHour = wHour;
    st.wMinute = wMinute;
    st.wSecond = wSecond;
    st.wMilliseconds = wMilliseconds;
    return st;
}

void ExpectSameFields(const SYSTEMTIME& expected, const SYSTEMTIME& actual)
{
    EXPECT_EQ(expected.wYear, actual.wYear);
    EXPECT_EQ(expected.wMonth, actual.wMonth);
    EXPECT_EQ(expected.wDay, actual.wDay);
    EXPECT_EQ(expected.wHour, actual.wHour);
    EXPECT_EQ(expected.wMinute, actual.wMinute);
    EXPECT_EQ(expected.wSecond, actual.wSecond);
    EXPECT_EQ(expected.wMilliseconds, actual.wMilliseconds);
}

}

class TimeFunctionsTest : public TimeZoneTest { };

TEST_F(TimeFunctionsTest, SystemTimeAndFileTimeConvertBothWaysAcrossTheWholeRange)
{
    struct Case {
        SYSTEMTIME st;
        WORD wDayOfWeek;
    };
    const Case cases[] = {
        { MakeSystemTime(1601, 1, 1), 1 }, // FILETIME 0, a Monday
        { MakeSystemTime(1970, 1, 1), 4 },
        { MakeSystemTime(2000, 2, 29, 23, 59, 59, 999), 2 },
        { MakeSystemTime(2026, 12, 6, 14, 30, 58, 7), 0 },
        { MakeSystemTime(30827, 12, 31, 23, 59, 59, 999), 5 },
    };
    for (const Case& c : cases) {
        FILETIME ft {};
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft)) << c.st.wYear;
        SYSTEMTIME back {};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        ExpectSameFields(c.st, back);
        EXPECT_EQ(back.wDayOfWeek, c.wDayOfWeek) << c.st.wYear;
    }

    SYSTEMTIME unixEpoch = MakeSystemTime(1970, 1, 1);
    FILETIME ft {};
    ASSERT_TRUE(SystemTimeToFileTime(&unixEpoch, &ft));
    EXPECT_EQ(FileTimeToUInt64(ft), FILETIME_UNIX_EPOCH_SECONDS * FILETIME_UNITS_PER_SECOND);
    SYSTEMTIME first = MakeSystemTime(1601, 1, 1);
    ASSERT_TRUE(SystemTimeToFileTime(&first, &ft));
    EXPECT_EQ(FileTimeToUInt64(ft), 0u);
}

TEST_F(TimeFunctionsTest, SystemTimeToFileTimeRefusesFieldsOutOfRange)
{
    const SYSTEMTIME bad[] = {
        MakeSystemTime(2001, 2, 29), // not a leap year
        MakeSystemTime(2026, 4, 31),
        MakeSystemTime(2026, 0, 1),
        MakeSystemTime(2026, 13, 1),
        MakeSystemTime(2026, 1, 0),
        MakeSystemTime(2026, 1, 1, 24),
        MakeSystemTime(2026, 1, 1, 0, 60),
        MakeSystemTime(2026, 1, 1, 0, 0, 60),
        MakeSystemTime(2026, 1, 1, 0, 0, 0, 1000),
        MakeSystemTime(1600, 12, 31),
        MakeSystemTime(30828, 1, 1),
    };
    for (const SYSTEMTIME& st : bad) {
        FILETIME ft { 0x1234, 0x5678 };
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ft.dwLowDateTime, 0x1234u) << "a refused conversion leaves the output alone";
    }
    SYSTEMTIME st = MakeSystemTime(2026, 1, 1);
    EXPECT_FALSE(SystemTimeToFileTime(&st, nullptr));
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, nullptr));
}

TEST_F(TimeFunctionsTest, FileTimeToSystemTimeRefusesValuesWithTheTopBitSet)
{
    FILETIME ft = FileTimeFromUInt64(0x8000000000000000ULL);
    SYSTEMTIME st {};
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(FileTimeToSystemTime(&ft, &st));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    ft = FileTimeFromUInt64(0x7FFFFFFFFFFFFFFFULL);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    EXPECT_EQ(st.wYear, 30828);
}

TEST_F(TimeFunctionsTest, CurrentTimeComesFromTheClockInUtcAndLocalTime)
{
    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_2026_07_01_1000, 123));
    FILETIME ft {};
    GetSystemTimeAsFileTime(&ft);
    EXPECT_EQ(FileTimeToUInt64(ft), FileTimeUnitsFromUnix(UNIX_2026_07_01_1000, 123));

    SYSTEMTIME st {};
    GetSystemTime(&st);
    ExpectSameFields(MakeSystemTime(2026, 7, 1, 10, 0, 0, 123), st);
    EXPECT_EQ(st.wDayOfWeek, 3);

    GetLocalTime(&st);
    ExpectSameFields(MakeSystemTime(2026, 7, 1, 12, 0, 0, 123), st); // summer time, +2

    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    GetLocalTime(&st);
    ExpectSameFields(MakeSystemTime(2026, 1, 15, 12, 0, 0, 0), st); // standard time, +1

    UseTimeZone(TZ_NEW_YORK);
    GetLocalTime(&st);
    ExpectSameFields(MakeSystemTime(2026, 1, 15, 6, 0, 0, 0), st);
}

TEST_F(TimeFunctionsTest, LocalFileTimeUsesTheOffsetInEffectNow)
{
    FILETIME winterUtc = FileTimeFromUInt64(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    FILETIME local {};

    // The clock stands in July: even a January time moves by the summer offset.
    ASSERT_TRUE(FileTimeToLocalFileTime(&winterUtc, &local));
    EXPECT_EQ(FileTimeToUInt64(local), FileTimeUnitsFromUnix(UNIX_2026_01_15_1100 + 7200));
    FILETIME back {};
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(CompareFileTime(&back, &winterUtc), 0);

    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    ASSERT_TRUE(FileTimeToLocalFileTime(&winterUtc, &local));
    EXPECT_EQ(FileTimeToUInt64(local), FileTimeUnitsFromUnix(UNIX_2026_01_15_1100 + 3600));
}

TEST_F(TimeFunctionsTest, LocalFileTimeRefusesResultsBefore1601)
{
    FILETIME zero {};
    FILETIME out { 7, 7 };
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(LocalFileTimeToFileTime(&zero, &out)); // Berlin is ahead of UTC
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(out.dwLowDateTime, 7u);

    UseTimeZone(TZ_NEW_YORK);
    EXPECT_FALSE(FileTimeToLocalFileTime(&zero, &out));
    EXPECT_TRUE(LocalFileTimeToFileTime(&zero, &out));
}

TEST_F(TimeFunctionsTest, CompareFileTimeOrdersByTheWholeValue)
{
    FILETIME early { 0xFFFFFFFFu, 1 };
    FILETIME late { 0, 2 };
    EXPECT_EQ(CompareFileTime(&early, &late), -1);
    EXPECT_EQ(CompareFileTime(&late, &early), 1);
    EXPECT_EQ(CompareFileTime(&late, &late), 0);
}

TEST_F(TimeFunctionsTest, DosDateTimePacksFieldsAndRoundsOddSecondsDown)
{
    SYSTEMTIME st = MakeSystemTime(2026, 12, 6, 14, 30, 59);
    FILETIME ft {};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    WORD wDate = 0;
    WORD wTime = 0;
    ASSERT_TRUE(FileTimeToDosDateTime(&ft, &wDate, &wTime));
    EXPECT_EQ(wDate, (46 << 9) | (12 << 5) | 6);
    EXPECT_EQ(wTime, (14 << 11) | (30 << 5) | 29);

    FILETIME back {};
    ASSERT_TRUE(DosDateTimeToFileTime(wDate, wTime, &back));
    SYSTEMTIME stBack {};
    ASSERT_TRUE(FileTimeToSystemTime(&back, &stBack));
    ExpectSameFields(MakeSystemTime(2026, 12, 6, 14, 30, 58), stBack);
}

TEST_F(TimeFunctionsTest, DosDateTimeRefusesTimesAndWordsOutsideItsRange)
{
    WORD wDate = 0;
    WORD wTime = 0;
    for (SYSTEMTIME st : { MakeSystemTime(1979, 12, 31, 23, 59, 59), MakeSystemTime(2108, 1, 1) }) {
        FILETIME ft {};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(FileTimeToDosDateTime(&ft, &wDate, &wTime)) << st.wYear;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    SYSTEMTIME last = MakeSystemTime(2107, 12, 31, 23, 59, 58);
    FILETIME ft {};
    ASSERT_TRUE(SystemTimeToFileTime(&last, &ft));
    EXPECT_TRUE(FileTimeToDosDateTime(&ft, &wDate, &wTime));

    const WORD goodDate = (46 << 9) | (12 << 5) | 6;
    EXPECT_FALSE(DosDateTimeToFileTime((46 << 9) | (13 << 5) | 6, 0, &ft)); // month 13
    EXPECT_FALSE(DosDateTimeToFileTime((46 << 9) | (2 << 5) | 30, 0, &ft)); // February 30
    EXPECT_FALSE(DosDateTimeToFileTime((46 << 9) | (12 << 5), 0, &ft));     // day 0
    EXPECT_FALSE(DosDateTimeToFileTime(goodDate, 24 << 11, &ft));
    EXPECT_FALSE(DosDateTimeToFileTime(goodDate, 60 << 5, &ft));
    EXPECT_FALSE(DosDateTimeToFileTime(goodDate, 30, &ft)); // 60 seconds
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

namespace {

void ExpectRule(const SYSTEMTIME& rule, WORD wMonth, WORD wOccurrence, WORD wHour)
{
    EXPECT_EQ(rule.wYear, 0);
    EXPECT_EQ(rule.wMonth, wMonth);
    EXPECT_EQ(rule.wDayOfWeek, 0); // all these zones change on Sundays
    EXPECT_EQ(rule.wDay, wOccurrence);
    EXPECT_EQ(rule.wHour, wHour);
    EXPECT_EQ(rule.wMinute, 0);
}

}

TEST_F(TimeFunctionsTest, TimeZoneInformationDescribesTheHostZone)
{
    TIME_ZONE_INFORMATION info {};
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_DAYLIGHT); // the clock stands in July
    EXPECT_EQ(info.Bias, -60);
    EXPECT_EQ(info.StandardBias, 0);
    EXPECT_EQ(info.DaylightBias, -60);
    EXPECT_EQ(std::u16string(info.StandardName), u"CET");
    EXPECT_EQ(std::u16string(info.DaylightName), u"CEST");
    ExpectRule(info.DaylightDate, 3, 5, 2);  // last Sunday of March, 02:00 standard time
    ExpectRule(info.StandardDate, 10, 5, 3); // last Sunday of October, 03:00 daylight time

    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_STANDARD);

    UseTimeZone(TZ_NEW_YORK);
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_STANDARD);
    EXPECT_EQ(info.Bias, 300);
    ExpectRule(info.DaylightDate, 3, 2, 2);
    ExpectRule(info.StandardDate, 11, 1, 2);
}

TEST_F(TimeFunctionsTest, TimeZoneInformationHandlesSouthernAndFixedZones)
{
    UseTimeZone("AEST-10AEDT,M10.1.0,M4.1.0/3");
    TIME_ZONE_INFORMATION info {};
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_STANDARD); // July is winter there
    EXPECT_EQ(info.Bias, -600);
    EXPECT_EQ(info.DaylightBias, -60);
    ExpectRule(info.DaylightDate, 10, 1, 2);
    ExpectRule(info.StandardDate, 4, 1, 3);

    UseTimeZone(TZ_UTC);
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(info.Bias, 0);
    EXPECT_EQ(info.DaylightBias, 0);
    EXPECT_EQ(info.DaylightDate.wMonth, 0);
    EXPECT_EQ(info.StandardDate.wMonth, 0);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
