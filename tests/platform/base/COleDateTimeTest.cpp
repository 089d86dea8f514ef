#include "platform/base/COleDateTime.h"

#include "TimeTestSupport.h"
#include "platform/base/TimeFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

class COleDateTimeTest : public TimeZoneTest { };

TEST_F(COleDateTimeTest, FieldsMapToDaysSinceTheEpochDay)
{
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(COleDateTime(1900, 1, 1, 0, 0, 0).m_dt, 2.0);
    EXPECT_EQ(COleDateTime(2026, 12, 6, 18, 0, 0).m_dt, 46362.75);
    EXPECT_EQ(COleDateTime(100, 1, 1, 0, 0, 0).m_dt, -657434.0);
    EXPECT_EQ(COleDateTime(9999, 12, 31, 0, 0, 0).m_dt, 2958465.0);
}

TEST_F(COleDateTimeTest, BeforeTheEpochTheFractionStillCountsForwardFromMidnight)
{
    EXPECT_EQ(COleDateTime(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    EXPECT_EQ(COleDateTime(1899, 12, 28, 18, 0, 0).m_dt, -2.75);

    COleDateTime dt(-1.25);
    EXPECT_EQ(dt.GetYear(), 1899);
    EXPECT_EQ(dt.GetMonth(), 12);
    EXPECT_EQ(dt.GetDay(), 29);
    EXPECT_EQ(dt.GetHour(), 6);
    EXPECT_EQ(dt.GetDayOfWeek(), 6); // Friday
    // -0.25 has an integer part of zero: the epoch day itself, at 06:00.
    EXPECT_EQ(COleDateTime(-0.25).GetDay(), 30);
    EXPECT_EQ(COleDateTime(-0.25).GetHour(), 6);
}

TEST_F(COleDateTimeTest, SpansAndOrderFollowTheTimeLineAcrossTheEpoch)
{
    COleDateTime morning(-1.25); // 1899-12-29 06:00
    COleDateTime evening(-1.75); // 1899-12-29 18:00
    EXPECT_LT(morning, evening) << "the raw doubles compare the other way round";
    EXPECT_DOUBLE_EQ((evening - morning).GetTotalHours(), 12.0);

    COleDateTime nextMorning = evening + COleDateTimeSpan(0, 12, 0, 0);
    EXPECT_EQ(nextMorning.m_dt, 0.25);
    EXPECT_DOUBLE_EQ((nextMorning - evening).GetTotalHours(), 12.0);
    EXPECT_EQ(nextMorning - COleDateTimeSpan(0, 12, 0, 0), evening);

    COleDateTime back = COleDateTime(0.25) - COleDateTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(back.GetDay(), 29);
    EXPECT_EQ(back.GetHour(), 6);
    EXPECT_EQ(back.m_dt, -1.25);
}

TEST_F(COleDateTimeTest, InvalidInputSetsTheInvalidStatus)
{
    struct Fields {
        int nYear, nMonth, nDay, nHour, nMin, nSec;
    };
    const Fields bad[] = {
        { 99, 12, 31, 0, 0, 0 },
        { 10000, 1, 1, 0, 0, 0 },
        { 2026, 13, 1, 0, 0, 0 },
        { 2026, 2, 29, 0, 0, 0 },
        { 2026, 4, 0, 0, 0, 0 },
        { 2026, 4, 1, 24, 0, 0 },
        { 2026, 4, 1, 0, -1, 0 },
        { 2026, 4, 1, 0, 0, 60 },
    };
    for (const Fields& f : bad) {
        COleDateTime dt;
        EXPECT_EQ(dt.SetDateTime(f.nYear, f.nMonth, f.nDay, f.nHour, f.nMin, f.nSec), 1);
        EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
        EXPECT_EQ(dt.GetYear(), AFX_OLE_DATETIME_ERROR);
        EXPECT_EQ(dt.GetSecond(), AFX_OLE_DATETIME_ERROR);
        SYSTEMTIME st {};
        EXPECT_FALSE(dt.GetAsSystemTime(st));
    }
    EXPECT_EQ(COleDateTime(std::numeric_limits<double>::quiet_NaN()).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2958466.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-657435.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2026, 2, 28, 0, 0, 0).GetStatus(), COleDateTime::valid);
}

TEST_F(COleDateTimeTest, SetDateMeansMidnightAndSetTimeTheEpochDay)
{
    COleDateTime dt;
    EXPECT_EQ(dt.SetDate(2026, 12, 6), 0);
    EXPECT_EQ(dt.m_dt, 46362.0);
    EXPECT_EQ(dt.SetTime(18, 0, 0), 0);
    EXPECT_EQ(dt.m_dt, 0.75);
    EXPECT_EQ(dt.GetYear(), 1899);
    EXPECT_EQ(dt.SetTime(18, 60, 0), 1);
    EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
}

TEST_F(COleDateTimeTest, ConstructorsFromOtherTimeFormsGiveLocalTime)
{
    COleDateTime fromTime(static_cast<time_t>(UNIX_2026_07_01_1000));
    EXPECT_EQ(fromTime, COleDateTime(2026, 7, 1, 12, 0, 0));

    // A file time is UTC; each is taken to the local time of its own moment.
    COleDateTime fromSummer(FileTimeFromUInt64(FileTimeUnitsFromUnix(UNIX_2026_07_01_1000)));
    EXPECT_EQ(fromSummer.GetHour(), 12);
    COleDateTime fromWinter(FileTimeFromUInt64(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100)));
    EXPECT_EQ(fromWinter.GetHour(), 12);

    SYSTEMTIME st {};
    st.wYear = 2026;
    st.wMonth = 12;
    st.wDay = 6;
    st.wHour = 18;
    st.wMilliseconds = 500;
    COleDateTime fromSystemTime(st);
    EXPECT_EQ(fromSystemTime.m_dt, 46362.75);
    SYSTEMTIME back {};
    ASSERT_TRUE(fromSystemTime.GetAsSystemTime(back));
    EXPECT_EQ(back.wDay, 6);
    EXPECT_EQ(back.wHour, 18);
    EXPECT_EQ(back.wDayOfWeek, 0);
    st.wMonth = 0;
    EXPECT_EQ(COleDateTime(st).GetStatus(), COleDateTime::invalid);
}

TEST_F(COleDateTimeTest, CurrentTimeIsLocalTimeFromTheClock)
{
    EXPECT_EQ(COleDateTime::GetCurrentTime(), COleDateTime(2026, 7, 1, 12, 0, 0));
    m_clock.SetUtcNow(FileTimeUnitsFromUnix(UNIX_2026_01_15_1100));
    EXPECT_EQ(COleDateTime::GetCurrentTime(), COleDateTime(2026, 1, 15, 12, 0, 0));
}

TEST_F(COleDateTimeTest, DayOfWeekAndDayOfYear)
{
    COleDateTime sunday(2026, 12, 6, 0, 0, 0);
    EXPECT_EQ(sunday.GetDayOfWeek(), 1);
    EXPECT_EQ(sunday.GetDayOfYear(), 340);
    EXPECT_EQ(COleDateTime(2024, 12, 31, 23, 0, 0).GetDayOfYear(), 366);
    EXPECT_EQ(COleDateTime(2026, 1, 1, 0, 0, 0).GetDayOfYear(), 1);
    EXPECT_EQ(COleDateTime(2026, 1, 1, 0, 0, 0).GetDayOfWeek(), 5); // Thursday
}

TEST_F(COleDateTimeTest, FieldsRoundToTheNearestSecond)
{
    COleDateTime almostMidnight(COleDateTime(2026, 12, 6, 23, 59, 59).m_dt + 0.6 / 86400);
    EXPECT_EQ(almostMidnight.GetDay(), 7);
    EXPECT_EQ(almostMidnight.GetHour(), 0);
    EXPECT_EQ(almostMidnight.GetSecond(), 0);

    COleDateTime justAfter(COleDateTime(2026, 12, 6, 10, 0, 0).m_dt + 0.4 / 86400);
    EXPECT_EQ(justAfter.GetSecond(), 0);
}

TEST_F(COleDateTimeTest, ArithmeticCarriesStatusAndRange)
{
    COleDateTime dt(2026, 12, 6, 0, 0, 0);
    COleDateTimeSpan day(1, 0, 0, 0);

    COleDateTime invalidDate;
    invalidDate.SetStatus(COleDateTime::invalid);
    EXPECT_EQ((invalidDate + day).GetStatus(), COleDateTime::invalid);
    COleDateTimeSpan nullSpan;
    nullSpan.SetStatus(COleDateTimeSpan::null);
    EXPECT_EQ((dt + nullSpan).GetStatus(), COleDateTime::null);
    EXPECT_EQ((dt - invalidDate).GetStatus(), COleDateTimeSpan::invalid);

    EXPECT_EQ((COleDateTime(9999, 12, 31, 12, 0, 0) + day).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((COleDateTime(100, 1, 1, 12, 0, 0) - day).GetStatus(), COleDateTime::invalid);

    COleDateTime later = dt;
    later += day;
    EXPECT_EQ(later, COleDateTime(2026, 12, 7, 0, 0, 0));
    later -= day;
    EXPECT_EQ(later, dt);
    EXPECT_NE(later, invalidDate);
    EXPECT_GT(dt + day, dt);
    EXPECT_GE(dt, dt);
}

TEST_F(COleDateTimeTest, FormatWritesNumericTextThatParsesBack)
{
    COleDateTime dt(2026, 12, 6, 14, 30, 5);
    EXPECT_STREQ(dt.Format(), "2026-12-06 14:30:05");
    EXPECT_STREQ(dt.Format(VAR_DATEVALUEONLY), "2026-12-06");
    EXPECT_STREQ(dt.Format(VAR_TIMEVALUEONLY), "14:30:05");
    EXPECT_STREQ(COleDateTime(2026, 12, 6, 0, 0, 0).Format(), "2026-12-06");
    EXPECT_STREQ(COleDateTime(0.75).Format(), "18:00:00");
    EXPECT_STREQ(COleDateTime(0.0).Format(), "00:00:00");
    EXPECT_STREQ(COleDateTime(-1.25).Format(), "1899-12-29 06:00:00");

    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_STREQ(invalid.Format(), "Invalid DateTime");
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_STREQ(null.Format(), "");

    for (DATE dtValue : { 46362.75, -1.25, 0.5, -657434.0, 2958465.5 }) {
        COleDateTime parsed;
        ASSERT_TRUE(parsed.ParseDateTime(COleDateTime(dtValue).Format())) << dtValue;
        EXPECT_EQ(parsed.m_dt, dtValue);
    }
}

TEST_F(COleDateTimeTest, FormatWithAPatternUsesTheTimeFormatter)
{
    COleDateTime dt(1995, 3, 14, 12, 41, 29);
    EXPECT_STREQ(dt.Format("%#c"), "Tuesday, March 14, 1995, 12:41:29");
    EXPECT_STREQ(dt.Format("%A %j %U %#m/%#d/%Y"), "Tuesday 073 11 3/14/1995");
    EXPECT_STREQ(COleDateTime(-1.25).Format("%A, %B %#d, %Y %H:%M"), "Friday, December 29, 1899 06:00");
    EXPECT_STREQ(COleDateTime(2026, 7, 1, 12, 0, 0).Format("%Z %z"), "CEST +0200");
    EXPECT_STREQ(dt.Format("%Q"), "");

    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_STREQ(invalid.Format("%Y"), "");
}

TEST_F(COleDateTimeTest, ParseDateTimeReadsTheDocumentedForms)
{
    struct Case {
        const char* pszText;
        DATE dtExpected;
    };
    const DATE dec6 = 46362.0;
    const Case cases[] = {
        { "2026-12-06 14:30:00", dec6 + 14.5 / 24 },
        { "2026-12-06", dec6 },
        { "  2026-12-06   18:00  ", dec6 + 0.75 },
        { "12/06/2026", dec6 },
        { "12/6/2026 6:00 PM", dec6 + 0.75 },
        { "14:30", 14.5 / 24 },
        { "18:00:00", 0.75 },
        { "6:00pm", 0.75 },
        { "12:00 AM", 0.0 },
        { "12:30 PM", 12.5 / 24 },
        { "1899-12-29 06:00", -1.25 },
    };
    for (const Case& c : cases) {
        COleDateTime dt;
        ASSERT_TRUE(dt.ParseDateTime(c.pszText)) << c.pszText;
        EXPECT_EQ(dt.GetStatus(), COleDateTime::valid);
        EXPECT_NEAR(dt.m_dt, c.dtExpected, 1e-9) << c.pszText;
    }
}

TEST_F(COleDateTimeTest, ParseDateTimeFlagsDropOnePart)
{
    COleDateTime dt;
    ASSERT_TRUE(dt.ParseDateTime("2026-12-06 18:00", VAR_DATEVALUEONLY));
    EXPECT_EQ(dt.m_dt, 46362.0);
    ASSERT_TRUE(dt.ParseDateTime("2026-12-06 18:00", VAR_TIMEVALUEONLY));
    EXPECT_EQ(dt.m_dt, 0.75);
}

TEST_F(COleDateTimeTest, ParseDateTimeRefusesEverythingElse)
{
    const char* bad[] = { "", "   ", "abc", "2026-13-01", "2026-02-30", "2026-12-06x", "2026-12-06 14",
        "2026-12-0614:30", "12/06", "06.12.2026", "25:00", "14:60", "13:00 PM", "0:30 AM", "14:30:00:00",
        "2026-12-06 14:30 extra", "99999-01-01", "0099-01-01", "2026/12/06", "-5:00", nullptr };
    for (const char* pszText : bad) {
        COleDateTime dt(2026, 12, 6, 0, 0, 0);
        EXPECT_FALSE(dt.ParseDateTime(pszText)) << (pszText ? pszText : "(null)");
        EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
        EXPECT_EQ(dt.m_dt, 46362.0) << "the value stays";
    }
}

TEST(COleDateTimeSpanTest, FieldsRoundToTheSecondAndShareTheSign)
{
    COleDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_NEAR(span.GetTotalSeconds(), 93784.0, 1e-6);
    EXPECT_NEAR(span.GetTotalHours(), 93784.0 / 3600, 1e-9);

    COleDateTimeSpan negative = -span;
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -2);
    EXPECT_EQ(negative.GetSeconds(), -4);

    // 0.1 day is 2:24:00 exactly once rounded, despite binary fractions.
    COleDateTimeSpan tenth(0.1);
    EXPECT_EQ(tenth.GetHours(), 2);
    EXPECT_EQ(tenth.GetMinutes(), 24);
    EXPECT_EQ(tenth.GetSeconds(), 0);
}

TEST(COleDateTimeSpanTest, ArithmeticCarriesStatus)
{
    COleDateTimeSpan hour(0, 1, 0, 0);
    COleDateTimeSpan sum = hour + hour;
    EXPECT_NEAR(sum.GetTotalMinutes(), 120.0, 1e-9);
    sum -= hour;
    EXPECT_NEAR(sum.GetTotalMinutes(), 60.0, 1e-9);
    sum += hour;
    EXPECT_LT(hour, sum);

    COleDateTimeSpan invalid(std::numeric_limits<double>::infinity());
    EXPECT_EQ(invalid.GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((hour - invalid).GetStatus(), COleDateTimeSpan::invalid);
    COleDateTimeSpan null;
    null.SetStatus(COleDateTimeSpan::null);
    EXPECT_EQ((hour + null).GetStatus(), COleDateTimeSpan::null);
    EXPECT_NE(hour, null);
}

TEST(COleDateTimeSpanTest, FormatMatchesCTimeSpan)
{
    EXPECT_STREQ(COleDateTimeSpan(12, 3, 4, 5).Format("%D days, %H:%M:%S %%"), "12 days, 03:04:05 %");
    EXPECT_STREQ(COleDateTimeSpan(1, 0, 0, 0).Format("%Y"), "");
    COleDateTimeSpan null;
    null.SetStatus(COleDateTimeSpan::null);
    EXPECT_STREQ(null.Format("%D"), "");
}
