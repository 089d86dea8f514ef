#pragma once

// COleDateTime, a local date and time as a DATE: days since 1899-12-30 00:00
// in the integer part, the time of day as the fraction of a day. Before
// 1899-12-30 the integer part is negative while the fraction still counts
// forward from midnight: -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00. The
// span between two DATEs is therefore computed on their position on a straight
// time line, never by subtracting the raw doubles. Dates run from 0100-01-01
// to 9999-12-31; fields are read to the nearest second.
//
// COleDateTimeSpan is a signed number of days as a double.
//
// Both carry a status: valid, invalid (bad input, overflow) or null (no
// value). Invalid input never throws; it sets the status to invalid, and the
// field getters then return AFX_OLE_DATETIME_ERROR.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <ctime>

using DATE = double;

constexpr int AFX_OLE_DATETIME_ERROR = -1;

/* Flags of ParseDateTime and Format(DWORD). */
constexpr DWORD VAR_TIMEVALUEONLY = 0x00000001; // ignore the date part
constexpr DWORD VAR_DATEVALUEONLY = 0x00000002; // ignore the time part

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus {
        valid = 0,
        invalid = 1,
        null = 2,
    };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    /* The whole span in one unit. */
    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24; }
    double GetTotalMinutes() const { return m_span * 24 * 60; }
    double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }

    /* Whole days and the remainders, rounded to the second, all with the span's sign. */
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    operator double() const { return m_span; }

    /* Arithmetic: an invalid operand gives an invalid result, else a null one a null result. */
    COleDateTimeSpan operator+(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& span);
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& span);
    COleDateTimeSpan operator-() const;

    // Equal when the statuses match and, for valid spans, the values.
    bool operator==(const COleDateTimeSpan& span) const;
    bool operator<(const COleDateTimeSpan& span) const { return m_span < span.m_span; }
    bool operator>(const COleDateTimeSpan& span) const { return span < *this; }
    bool operator<=(const COleDateTimeSpan& span) const { return !(span < *this); }
    bool operator>=(const COleDateTimeSpan& span) const { return !(*this < span); }

    // The conversions of CTimeSpan::Format (%D %H %M %S %%). Empty for a
    // span that is not valid or an unknown conversion.
    CString Format(LPCTSTR pszFormat) const;

    double m_span { 0 };
    DateTimeSpanStatus m_status { valid };
};

class COleDateTime {
public:
    enum DateTimeStatus {
        error = -1,
        valid = 0,
        invalid = 1,
        null = 2,
    };

    // Now in local time, from the program's clock, to the second.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;
    COleDateTime(DATE dtSrc);
    COleDateTime(time_t timeSrc);               // local time of that moment
    COleDateTime(const SYSTEMTIME& systimeSrc); // fields as they are; wMilliseconds is ignored
    COleDateTime(const FILETIME& filetimeSrc);  // a UTC time, taken to local time
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    /* Set from fields; 0 on success, 1 (and status invalid) for a date outside
       0100-9999 or a field out of range. SetDate sets midnight, SetTime the
       date 1899-12-30. */
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    /* Fields, or AFX_OLE_DATETIME_ERROR when the value is not valid. */
    int GetYear() const;
    int GetMonth() const; // 1 = January
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    int GetDayOfYear() const; // 1 = January 1st
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    /* Arithmetic on the time line; a result outside the DATE range is invalid. */
    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span);
    COleDateTime& operator-=(const COleDateTimeSpan& span);
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    // Equal when the statuses match and, for valid values, the times.
    bool operator==(const COleDateTime& date) const;
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const { return !(date < *this); }
    bool operator>=(const COleDateTime& date) const { return !(*this < date); }

    // Numeric text that ParseDateTime reads back: "2026-12-06 14:30:00". The
    // time is left out at midnight and the date on 1899-12-30; the flags keep
    // only one part. "Invalid DateTime" when invalid, empty when null.
    CString Format(DWORD dwFlags = 0) const;
    // strftime-style text as CTime::Format, with the '#' flag (see TimeFormat.h);
    // %z and %Z give the host zone of that local time. Empty on an unknown
    // conversion or a value that is not valid.
    CString Format(LPCTSTR pszFormat) const;

    /* Reads a date, a time, or a date then a time, with spaces around:
         dates  "2026-12-06" (year-month-day), "12/06/2026" (month/day/year)
         times  "14:30", "14:30:15", "2:30 PM", "2:30:15pm" (AM/PM: 12-hour clock)
       A date alone means midnight, a time alone the day 1899-12-30. The flags
       drop the other part after reading. On anything else the value is kept,
       the status becomes invalid and the result is false. */
    bool ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0);

    DATE m_dt { 0 };
    DateTimeStatus m_status { valid };
};
