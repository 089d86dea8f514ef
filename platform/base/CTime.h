#pragma once

// CTime, an absolute time as whole seconds since 1970-01-01 00:00:00 UTC, and
// CTimeSpan, a signed difference of two CTimes in seconds.
//
// Both hold 64 bits in memory. Their stored forms (catalog records, archives)
// hold 32 bits: a signed count of seconds, which for CTime spans
// 1901-12-13 20:45:52 .. 2038-01-19 03:14:07 UTC. GetTime32/GetTimeSpan32 give
// that stored value; a value outside the range is clamped to the nearest end
// and reported with FALSE. A stored value reads back through the time_t
// constructor. The archive operators at the end of this file store that form
// and refuse a value that does not fit.
//
// The calendar fields (GetYear, GetHour, Format ...) are local time in the host
// time zone (TZ), daylight saving included; the ...Gmt forms are UTC.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <compare>
#include <ctime>

class CArchive;

static_assert(sizeof(time_t) == 8, "CTime needs a 64-bit time_t");

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(time_t nSpan)
        : m_timeSpan(nSpan)
    {
    }
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    /* The span as whole days and the remainders; all carry the sign of the span. */
    LONGLONG GetDays() const { return m_timeSpan / 86400; }
    LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
    LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
    LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }

    /* The whole span in one unit, truncated toward zero. */
    LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
    LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
    LONGLONG GetTotalSeconds() const { return m_timeSpan; }
    time_t GetTimeSpan() const { return m_timeSpan; }

    // The stored 32-bit form (see the top of this file).
    BOOL GetTimeSpan32(LONG* pnStored) const;

    CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span);
    CTimeSpan& operator-=(CTimeSpan span);
    bool operator==(const CTimeSpan&) const = default;
    auto operator<=>(const CTimeSpan&) const = default;

    // %D total days, %H hours (00-23), %M minutes (00-59), %S seconds (00-59),
    // %% a percent sign; other characters are copied. An unknown conversion
    // yields an empty string.
    CString Format(LPCTSTR pszFormat) const;

private:
    LONGLONG m_timeSpan { 0 };
};

class CTime {
public:
    // Now, from the program's clock.
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(time_t nTime)
        : m_time(nTime)
    {
    }
    // Local calendar fields. nDST: 0 standard time, > 0 daylight saving time,
    // < 0 whichever is in effect then. A field out of its range (year >= 1900,
    // month 1-12, day 1-31, hour 0-23, minute and second 0-59) gives the time -1,
    // which callers treat as invalid. A day past the month's end rolls over
    // into the next month.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // Local calendar fields as above; wDayOfWeek and wMilliseconds are ignored.
    CTime(const SYSTEMTIME& st, int nDST = -1);
    // A UTC file time, truncated to the second. nDST is accepted for the
    // callers' sake and unused: a UTC time needs no daylight saving hint.
    CTime(const FILETIME& ft, int nDST = -1);

    time_t GetTime() const { return m_time; }
    // The stored 32-bit form (see the top of this file).
    BOOL GetTime32(LONG* pnStored) const;

    /* Local calendar fields. */
    int GetYear() const;
    int GetMonth() const; // 1 = January
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday

    // Fill *ptm and return it, or return nullptr when the time has no calendar
    // form (or ptm is null).
    tm* GetLocalTm(tm* ptm) const;
    tm* GetGmtTm(tm* ptm) const;
    // Local calendar fields; false outside the SYSTEMTIME years 1601-30827.
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan span);
    CTime& operator-=(CTimeSpan span);
    bool operator==(const CTime&) const = default;
    auto operator<=>(const CTime&) const = default;

    // strftime-style text of the local (Format) or UTC (FormatGmt) time, with
    // the '#' flag; see TimeFormat.h for the conversions. An unknown conversion
    // yields an empty string.
    CString Format(LPCTSTR pszFormat) const;
    CString FormatGmt(LPCTSTR pszFormat) const;

private:
    LONGLONG m_time { 0 };
};

/* Archive forms: the signed 32-bit count of seconds. Storing a value that does
   not fit throws CArchiveException (genericException) instead of writing a
   different time; loading throws as for any value at the end of the data. */
CArchive& operator<<(CArchive& ar, CTime time);
CArchive& operator>>(CArchive& ar, CTime& rtime);
CArchive& operator<<(CArchive& ar, CTimeSpan timeSpan);
CArchive& operator>>(CArchive& ar, CTimeSpan& rtimeSpan);
