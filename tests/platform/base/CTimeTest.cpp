#include "platform/base/CTime.h"

#include "TimeTestSupport.h"
#include "platform/base/TimeFunctions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

class CTimeTest : public TimeZoneTest { };

TEST_F(CTimeTest, LocalFieldsFollowTheZoneAndDaylightSaving)
{
    CTime summer(2026, 7, 1, 12, 0, 0);
    EXPECT_EQ(summer.GetTime(), UNIX_2026_07_01_1000);
    CTime winter(2026, 1, 15, 12, 0, 0);
    EXPECT_EQ(winter.GetTime(), UNIX_2026_01_15_1100);

    CTime t(UNIX_2026_07_01_1000);
    EXPECT_EQ(t.GetYear(), 2026);
    EXPECT_EQ(t.GetMonth(), 7);
    EXPECT_EQ(t.GetDay(), 1);
    EXPECT_EQ(t.GetHour(), 12);
    EXPECT_EQ(t.GetMinute(), 0);
    EXPECT_EQ(t.GetSecond(), 0);
    EXPECT_EQ(t.GetDayOfWeek(), 4); // Wednesday; 1 is Sunday
    EXPECT_EQ(CTime(2026, 12, 6, 0, 0, 0).GetDayOfWeek(), 1);

    UseTimeZone(TZ_NEW_YORK);
    EXPECT_EQ(t.GetHour(), 6);
    EXPECT_EQ(CTime(2026, 7, 1, 6, 0, 0).GetTime(), UNIX_2026_07_01_1000);
}

TEST_F(CTimeTest, DaylightHintDecidesTheAmbiguousHour)
{
    // 02:30 on 2026-10-25 happens twice in Berlin: first in summer time, then in standard time.
    CTime firstPass(2026, 10, 25, 2, 30, 0, 1);
    CTime secondPass(2026, 10, 25, 2, 30, 0, 0);
    EXPECT_EQ((secondPass - firstPass).GetTotalSeconds(), 3600);
    EXPECT_EQ(firstPass.GetHour(), 2);
    EXPECT_EQ(secondPass.GetHour(), 2);
}

TEST_F(CTimeTest, FieldsOutOfRangeGiveTheInvalidTime)
{
    EXPECT_EQ(CTime(1899, 12, 31, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 0, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 13, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 1, 0, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 1, 32, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 1, 1, 24, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 1, 1, 0, 60, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2026, 1, 1, 0, 0, -1).GetTime(), -1);

    // A day past the end of the month rolls over.
    CTime rolled(2026, 2, 31, 8, 0, 0);
    EXPECT_EQ(rolled.GetMonth(), 3);
    EXPECT_EQ(rolled.GetDay(), 3);
}

TEST_F(CTimeTest, SystemTimeAndFileTimeConstructorsAgree)
{
    SYSTEMTIME local {};
    local.wYear = 2026;
    local.wMonth = 7;
    local.wDay = 1;
    local.wHour = 12;
    local.wMilliseconds = 999;
    EXPECT_EQ(CTime(local).GetTime(), UNIX_2026_07_01_1000);

    // A file time is UTC and loses its fraction of a second.
    FILETIME ft = FileTimeFromUInt64(FileTimeUnitsFromUnix(UNIX_2026_07_01_1000, 999));
    EXPECT_EQ(CTime(ft).GetTime(), UNIX_2026_07_01_1000);
    FILETIME winter = FileTimeFromUInt64(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    EXPECT_EQ(CTime(winter).GetHour(), 12);

    SYSTEMTIME back {};
    ASSERT_TRUE(CTime(ft).GetAsSystemTime(back));
    EXPECT_EQ(back.wYear, 2026);
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wDayOfWeek, 3); // SYSTEMTIME counts from 0 = Sunday
    EXPECT_EQ(back.wMilliseconds, 0);
}

TEST_F(CTimeTest, CurrentTimeComesFromTheClock)
{
    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_1995_03_14_124129, 700));
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), UNIX_1995_03_14_124129);
    m_clock.Advance(90000);
    EXPECT_EQ((CTime::GetCurrentTime() - CTime(UNIX_1995_03_14_124129)).GetTotalSeconds(), 90);
}

TEST_F(CTimeTest, TmFormsDifferByTheZoneOffset)
{
    CTime t(UNIX_2026_07_01_1000);
    tm local {};
    tm gmt {};
    ASSERT_EQ(t.GetLocalTm(&local), &local);
    ASSERT_EQ(t.GetGmtTm(&gmt), &gmt);
    EXPECT_EQ(local.tm_hour - gmt.tm_hour, 2);
    EXPECT_EQ(local.tm_isdst, 1);
    EXPECT_EQ(t.GetLocalTm(nullptr), nullptr);
}

TEST_F(CTimeTest, ArithmeticCountsSecondsNotWallClockHours)
{
    // Berlin moves its clocks forward on 2026-03-29: a day of seconds later the wall clock shows one hour more.
    CTime before(2026, 3, 28, 12, 0, 0);
    CTime after = before + CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(after.GetDay(), 29);
    EXPECT_EQ(after.GetHour(), 13);
    EXPECT_EQ(after - before, CTimeSpan(86400));
    EXPECT_EQ(after - CTimeSpan(1, 0, 0, 0), before);

    CTime t = before;
    t += CTimeSpan(0, 1, 30, 0);
    EXPECT_EQ(t.GetMinute(), 30);
    t -= CTimeSpan(0, 1, 30, 0);
    EXPECT_EQ(t, before);
    EXPECT_LT(before, after);
    EXPECT_GT(after, before);
    EXPECT_NE(before, after);
}

TEST_F(CTimeTest, StoredFormClampsToThirtyTwoBits)
{
    LONG nStored = 0;
    EXPECT_TRUE(CTime(0x7FFFFFFF).GetTime32(&nStored));
    EXPECT_EQ(nStored, 0x7FFFFFFF);
    EXPECT_FALSE(CTime(0x80000000LL).GetTime32(&nStored)) << "2038-01-19 03:14:08 does not fit";
    EXPECT_EQ(nStored, 0x7FFFFFFF);
    EXPECT_FALSE(CTime(-0x80000001LL).GetTime32(&nStored));
    EXPECT_EQ(nStored, -0x7FFFFFFF - 1);

    // A stored value reads back as the same time.
    ASSERT_TRUE(CTime(UNIX_2026_07_01_1000).GetTime32(&nStored));
    EXPECT_EQ(CTime(static_cast<time_t>(nStored)), CTime(UNIX_2026_07_01_1000));
}

TEST_F(CTimeTest, FormatGivesTheDocumentedLongForms)
{
    UseTimeZone(TZ_UTC);
    CTime t(UNIX_1995_03_14_124129);
    EXPECT_STREQ(t.Format("%#c"), "Tuesday, March 14, 1995, 12:41:29");
    EXPECT_STREQ(t.Format("%#x"), "Tuesday, March 14, 1995");
    EXPECT_STREQ(t.Format("%c"), "03/14/95 12:41:29");
    EXPECT_STREQ(t.Format("%x|%X|%#X"), "03/14/95|12:41:29|12:41:29");
    EXPECT_STREQ(t.Format("%a %A %b %B %p %#p %%"), "Tue Tuesday Mar March PM PM %");
}

TEST_F(CTimeTest, HashFlagRemovesLeadingZeros)
{
    UseTimeZone(TZ_UTC);
    CTime t(2005, 1, 2, 3, 4, 5); // a Sunday
    EXPECT_STREQ(t.Format("%d %m %y %H %I %M %S %j %U %W %w %Y"), "02 01 05 03 03 04 05 002 01 00 0 2005");
    EXPECT_STREQ(t.Format("%#d %#m %#y %#H %#I %#M %#S %#j %#U %#W %#w %#Y"), "2 1 5 3 3 4 5 2 1 0 0 2005");
    EXPECT_STREQ(t.Format("%#x"), "Sunday, January 2, 2005");
}

TEST_F(CTimeTest, PlainConversionsMatchTheCLibraryInTheCLocale)
{
    // Every conversion the two share must agree, over dates that cover week
    // boundaries, leap days, both halves of the day and both kinds of year.
    std::setlocale(LC_TIME, "C");
    const char* pszShared = "%a %A %b %B %d %H %I %j %m %M %p %S %U %w %W %y %Y %D %e %F %h %R %T %u %z %Z";
    for (time_t nTime = UNIX_1995_03_14_124129; nTime < UNIX_2026_07_01_1000; nTime += 86400 * 37 + 3607) {
        CTime t(nTime);
        tm fields {};
        ASSERT_TRUE(t.GetLocalTm(&fields));
        char szExpected[256];
        strftime(szExpected, sizeof szExpected, pszShared, &fields);
        ASSERT_STREQ(t.Format(pszShared), szExpected) << nTime;
        ASSERT_TRUE(t.GetGmtTm(&fields));
        strftime(szExpected, sizeof szExpected, pszShared, &fields);
        ASSERT_STREQ(t.FormatGmt(pszShared), szExpected) << nTime;
    }
}

TEST_F(CTimeTest, FormatAndFormatGmtShowTheirZones)
{
    CTime t(UNIX_2026_07_01_1000);
    EXPECT_STREQ(t.Format("%H:%M %Z %z"), "12:00 CEST +0200");
    EXPECT_STREQ(t.FormatGmt("%H:%M %z"), "10:00 +0000");
    UseTimeZone(TZ_NEW_YORK);
    EXPECT_STREQ(t.Format("%H:%M %Z %z"), "06:00 EDT -0400");
}

TEST_F(CTimeTest, BadFormatsGiveAnEmptyString)
{
    CTime t(UNIX_2026_07_01_1000);
    EXPECT_STREQ(t.Format("%Q"), "");
    EXPECT_STREQ(t.Format("day %d %"), "");
    EXPECT_STREQ(t.Format("%#"), "");
    EXPECT_STREQ(t.Format(""), "");
    EXPECT_STREQ(t.Format(nullptr), "");
}

TEST(CTimeSpanTest, FieldsAndTotalsShareTheSignOfTheSpan)
{
    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalHours(), 26);
    EXPECT_EQ(span.GetTotalMinutes(), 1563);

    CTimeSpan negative = CTimeSpan(0) - span;
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -2);
    EXPECT_EQ(negative.GetMinutes(), -3);
    EXPECT_EQ(negative.GetSeconds(), -4);
    EXPECT_EQ(negative.GetTotalHours(), -26);

    // Fields past their range carry over.
    EXPECT_EQ(CTimeSpan(0, 25, 61, 61), CTimeSpan(1, 2, 2, 1));
}

TEST(CTimeSpanTest, ArithmeticAndComparisons)
{
    CTimeSpan hour(0, 1, 0, 0);
    CTimeSpan span = hour + hour;
    EXPECT_EQ(span.GetTotalMinutes(), 120);
    span -= hour;
    EXPECT_EQ(span, hour);
    span += hour;
    EXPECT_EQ(span - hour, hour);
    EXPECT_LT(hour, span);
    EXPECT_GE(span, hour);
}

TEST(CTimeSpanTest, FormatWritesDaysAndTwoDigitFields)
{
    EXPECT_STREQ(CTimeSpan(12, 3, 4, 5).Format("%D days, %H:%M:%S (100%%)"), "12 days, 03:04:05 (100%)");
    EXPECT_STREQ(CTimeSpan(0).Format("%D %H %M %S"), "0 00 00 00");
    EXPECT_STREQ(CTimeSpan(400, 0, 0, 0).Format("%D"), "400");
    EXPECT_STREQ(CTimeSpan(1, 0, 0, 0).Format("%Y"), "");
    EXPECT_STREQ(CTimeSpan(1, 0, 0, 0).Format("%D%"), "");
}

TEST(CTimeSpanTest, StoredFormClampsToThirtyTwoBits)
{
    LONG nStored = 0;
    EXPECT_TRUE(CTimeSpan(-5).GetTimeSpan32(&nStored));
    EXPECT_EQ(nStored, -5);
    EXPECT_FALSE(CTimeSpan(30000, 0, 0, 0).GetTimeSpan32(&nStored));
    EXPECT_EQ(nStored, 0x7FFFFFFF);
}
