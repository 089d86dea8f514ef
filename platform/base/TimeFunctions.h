#pragma once

// The system time calls: the current time as SYSTEMTIME and FILETIME, and the
// conversions between FILETIME (100-nanosecond intervals since 1601-01-01),
// SYSTEMTIME (calendar fields) and MS-DOS date and time words.
//
// "Now" always comes from the clock seam (ClockUtcNow), so tests can set it.
// Local time follows the host time zone (TZ), daylight saving included.

#include "platform/base/WinTypes.h"

/* The current time. */
void GetSystemTime(LPSYSTEMTIME lpSystemTime); // UTC
void GetLocalTime(LPSYSTEMTIME lpSystemTime);  // host time zone
void GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime);

/* FILETIME <-> SYSTEMTIME. Both fail with ERROR_INVALID_PARAMETER on values
   outside 1601-01-01 .. 30827-12-31 or, for SYSTEMTIME, on any field out of its
   range (month 1-12, a day that exists in that month, hour 0-23, minute and
   second 0-59, milliseconds 0-999). wDayOfWeek is ignored on input and filled
   in on output. */
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);

/* UTC <-> local FILETIME. As documented for these calls, the offset applied is
   the one in effect now (daylight saving included), not the one in effect at the
   converted time, so the two are exact inverses of each other. */
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);

// -1, 0 or +1 as the first time is earlier than, equal to or later than the second.
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);

/* MS-DOS date and time words, as stored in FAT directories and zip headers.
   Date: bits 0-4 day (1-31), 5-8 month (1-12), 9-15 year since 1980.
   Time: bits 0-4 second / 2, 5-10 minute, 11-15 hour.
   No time zone conversion happens; the words usually hold local time. Only
   1980-01-01 .. 2107-12-31 fits; other times and malformed words fail with
   ERROR_INVALID_PARAMETER. Odd seconds round down. */
BOOL FileTimeToDosDateTime(const FILETIME* lpFileTime, LPWORD lpFatDate, LPWORD lpFatTime);
BOOL DosDateTimeToFileTime(WORD wFatDate, WORD wFatTime, LPFILETIME lpFileTime);

/* FILETIME <-> 64-bit count, for code that does arithmetic on file times. */
constexpr ULONGLONG FileTimeToUInt64(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
constexpr FILETIME FileTimeFromUInt64(ULONGLONG n)
{
    return FILETIME { static_cast<DWORD>(n & 0xFFFFFFFFu), static_cast<DWORD>(n >> 32) };
}

/* The host time zone in the shape of the Windows zone record. Biases are in
   minutes, with UTC = local time + Bias (+ StandardBias or DaylightBias). The
   change dates are given as "the wDay-th wDayOfWeek of wMonth at wHour:wMinute"
   in the local time just before the change (wDay 5 means the last one, wYear
   is 0); they are found from the zone's changes in the current year. A zone
   without daylight saving leaves wMonth 0 in both dates. The names are the
   zone's abbreviations ("CET", "CEST"). */
struct TIME_ZONE_INFORMATION {
    LONG Bias;
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate; // when daylight saving ends
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate; // when daylight saving begins
    LONG DaylightBias;
};
using LPTIME_ZONE_INFORMATION = TIME_ZONE_INFORMATION*;

constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;  // the zone has no daylight saving
constexpr DWORD TIME_ZONE_ID_STANDARD = 1; // standard time now
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2; // daylight saving time now
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFF;

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation);
