#include "platform/base/TimeFunctions.h"

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iterator>

namespace {

constexpr ULONGLONG UNITS_PER_MILLISECOND = FILETIME_UNITS_PER_SECOND / 1000;
constexpr ULONGLONG SECONDS_PER_DAY = 86400;
constexpr ULONGLONG MAX_FILETIME = 0x7FFFFFFFFFFFFFFFULL; // larger values have no SYSTEMTIME
constexpr int MIN_SYSTEMTIME_YEAR = 1601;
constexpr int MAX_SYSTEMTIME_YEAR = 30827;

constexpr std::chrono::sys_days FILETIME_EPOCH_DAY { std::chrono::year { 1601 } / 1 / 1 };

time_t UnixNow()
{
    return static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
}

// Seconds east of UTC of the host time zone at this moment.
LONGLONG CurrentLocalOffsetSeconds()
{
    time_t now = UnixNow();
    tm local {};
    if (!localtime_r(&now, &local))
        return 0;
    return local.tm_gmtoff;
}

BOOL FailInvalidParameter()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// Shifts a file time by a number of seconds, refusing results outside 0 .. MAX_FILETIME.
BOOL ShiftFileTime(const FILETIME* pIn, LONGLONG nSeconds, FILETIME* pOut)
{
    if (!pIn || !pOut)
        return FailInvalidParameter();
    LONGLONG nValue = static_cast<LONGLONG>(FileTimeToUInt64(*pIn));
    LONGLONG nShift = nSeconds * static_cast<LONGLONG>(FILETIME_UNITS_PER_SECOND);
    LONGLONG nResult = 0;
    if (nValue < 0 || __builtin_add_overflow(nValue, nShift, &nResult) || nResult < 0)
        return FailInvalidParameter();
    *pOut = FileTimeFromUInt64(static_cast<ULONGLONG>(nResult));
    return TRUE;
}

// Copies an ASCII zone abbreviation into a fixed UTF-16 name field.
void CopyZoneName(const char* pszName, WCHAR (&szOut)[32])
{
    size_t i = 0;
    for (; pszName && pszName[i] && i + 1 < std::size(szOut); ++i)
        szOut[i] = static_cast<unsigned char>(pszName[i]);
    szOut[i] = 0;
}

// The first second at or after nFrom, before nTo, whose daylight flag differs
// from that of nFrom; nTo when there is none. Zone rules change at most a few
// times a year, so stepping by days and then halving finds every change.
time_t NextZoneChange(time_t nFrom, time_t nTo)
{
    tm first {};
    localtime_r(&nFrom, &first);
    auto differs = [&](time_t nTime) {
        tm fields {};
        localtime_r(&nTime, &fields);
        return fields.tm_isdst != first.tm_isdst;
    };
    constexpr time_t STEP = 86400;
    for (time_t nLow = nFrom; nLow < nTo; nLow += STEP) {
        time_t nHigh = std::min<time_t>(nLow + STEP, nTo);
        if (!differs(nHigh))
            continue;
        while (nHigh - nLow > 1) {
            time_t nMiddle = nLow + (nHigh - nLow) / 2;
            (differs(nMiddle) ? nHigh : nLow) = nMiddle;
        }
        return nHigh;
    }
    return nTo;
}

// The rule form of a change: the wall-clock time of the change in the offset
// before it, with the weekday's occurrence in the month (5 for the last one).
SYSTEMTIME ZoneChangeRule(time_t nChange)
{
    time_t nBefore = nChange - 1;
    tm before {};
    localtime_r(&nBefore, &before);
    time_t nWallClock = nChange + before.tm_gmtoff;
    tm wall {};
    gmtime_r(&nWallClock, &wall);

    std::chrono::year_month_day_last monthEnd { std::chrono::year { wall.tm_year + 1900 },
        std::chrono::month_day_last { std::chrono::month { static_cast<unsigned>(wall.tm_mon + 1) } } };
    auto nDaysInMonth = static_cast<int>(static_cast<unsigned>(monthEnd.day()));
    SYSTEMTIME rule {};
    rule.wMonth = static_cast<WORD>(wall.tm_mon + 1);
    rule.wDayOfWeek = static_cast<WORD>(wall.tm_wday);
    rule.wDay = static_cast<WORD>(wall.tm_mday + 7 > nDaysInMonth ? 5 : (wall.tm_mday - 1) / 7 + 1);
    rule.wHour = static_cast<WORD>(wall.tm_hour);
    rule.wMinute = static_cast<WORD>(wall.tm_min);
    return rule;
}

}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    FILETIME ft = FileTimeFromUInt64(ClockUtcNow());
    FileTimeToSystemTime(&ft, lpSystemTime);
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    FILETIME utc = FileTimeFromUInt64(ClockUtcNow());
    FILETIME local {};
    if (ShiftFileTime(&utc, CurrentLocalOffsetSeconds(), &local))
        FileTimeToSystemTime(&local, lpSystemTime);
}

void GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime)
{
    if (lpSystemTimeAsFileTime)
        *lpSystemTimeAsFileTime = FileTimeFromUInt64(ClockUtcNow());
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime)
        return FailInvalidParameter();
    ULONGLONG nValue = FileTimeToUInt64(*lpFileTime);
    if (nValue > MAX_FILETIME)
        return FailInvalidParameter();

    ULONGLONG nSeconds = nValue / FILETIME_UNITS_PER_SECOND;
    ULONGLONG nSecondOfDay = nSeconds % SECONDS_PER_DAY;
    std::chrono::sys_days day
        = FILETIME_EPOCH_DAY + std::chrono::days { static_cast<long>(nSeconds / SECONDS_PER_DAY) };
    std::chrono::year_month_day ymd { day };

    lpSystemTime->wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
    lpSystemTime->wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
    lpSystemTime->wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
    lpSystemTime->wDayOfWeek = static_cast<WORD>(std::chrono::weekday { day }.c_encoding());
    lpSystemTime->wHour = static_cast<WORD>(nSecondOfDay / 3600);
    lpSystemTime->wMinute = static_cast<WORD>(nSecondOfDay / 60 % 60);
    lpSystemTime->wSecond = static_cast<WORD>(nSecondOfDay % 60);
    lpSystemTime->wMilliseconds = static_cast<WORD>(nValue % FILETIME_UNITS_PER_SECOND / UNITS_PER_MILLISECOND);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (!lpSystemTime || !lpFileTime)
        return FailInvalidParameter();
    const SYSTEMTIME& st = *lpSystemTime;
    std::chrono::year_month_day ymd { std::chrono::year { st.wYear }, std::chrono::month { st.wMonth },
        std::chrono::day { st.wDay } };
    if (st.wYear < MIN_SYSTEMTIME_YEAR || st.wYear > MAX_SYSTEMTIME_YEAR || !ymd.ok() || st.wHour > 23
        || st.wMinute > 59 || st.wSecond > 59 || st.wMilliseconds > 999)
        return FailInvalidParameter();

    auto nDays = static_cast<ULONGLONG>((std::chrono::sys_days { ymd } - FILETIME_EPOCH_DAY).count());
    ULONGLONG nSeconds = nDays * SECONDS_PER_DAY + st.wHour * 3600ULL + st.wMinute * 60ULL + st.wSecond;
    *lpFileTime = FileTimeFromUInt64(nSeconds * FILETIME_UNITS_PER_SECOND + st.wMilliseconds * UNITS_PER_MILLISECOND);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime)
{
    return ShiftFileTime(lpFileTime, CurrentLocalOffsetSeconds(), lpLocalFileTime);
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime)
{
    return ShiftFileTime(lpLocalFileTime, -CurrentLocalOffsetSeconds(), lpFileTime);
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    ULONGLONG n1 = FileTimeToUInt64(*lpFileTime1);
    ULONGLONG n2 = FileTimeToUInt64(*lpFileTime2);
    return n1 < n2 ? -1 : (n1 > n2 ? 1 : 0);
}

BOOL FileTimeToDosDateTime(const FILETIME* lpFileTime, LPWORD lpFatDate, LPWORD lpFatTime)
{
    if (!lpFatDate || !lpFatTime)
        return FailInvalidParameter();
    SYSTEMTIME st {};
    if (!FileTimeToSystemTime(lpFileTime, &st))
        return FALSE;
    if (st.wYear < 1980 || st.wYear > 2107)
        return FailInvalidParameter();
    *lpFatDate = static_cast<WORD>(((st.wYear - 1980) << 9) | (st.wMonth << 5) | st.wDay);
    *lpFatTime = static_cast<WORD>((st.wHour << 11) | (st.wMinute << 5) | (st.wSecond / 2));
    return TRUE;
}

BOOL DosDateTimeToFileTime(WORD wFatDate, WORD wFatTime, LPFILETIME lpFileTime)
{
    SYSTEMTIME st {};
    st.wYear = static_cast<WORD>(1980 + (wFatDate >> 9));
    st.wMonth = static_cast<WORD>((wFatDate >> 5) & 0x0F);
    st.wDay = static_cast<WORD>(wFatDate & 0x1F);
    st.wHour = static_cast<WORD>(wFatTime >> 11);
    st.wMinute = static_cast<WORD>((wFatTime >> 5) & 0x3F);
    st.wSecond = static_cast<WORD>((wFatTime & 0x1F) * 2);
    return SystemTimeToFileTime(&st, lpFileTime);
}

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation)
{
    if (!lpTimeZoneInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    time_t now = UnixNow();
    tm local {};
    if (!localtime_r(&now, &local)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    tm yearStart {};
    yearStart.tm_year = local.tm_year;
    yearStart.tm_mday = 1;
    time_t nYearStart = timegm(&yearStart) - 86400; // a day early, so that no offset hides a change
    yearStart.tm_year += 1;
    time_t nYearEnd = timegm(&yearStart) + 86400;

    // The fields of one standard and one daylight moment; a zone in daylight
    // time all year long reports that as its standard time.
    TIME_ZONE_INFORMATION info {};
    tm standard = local;
    tm daylight {};
    bool bHasDaylight = false;
    for (time_t nFrom = nYearStart; (nFrom = NextZoneChange(nFrom, nYearEnd)) < nYearEnd;) {
        tm after {};
        localtime_r(&nFrom, &after);
        if (after.tm_isdst > 0) {
            bHasDaylight = true;
            daylight = after;
            info.DaylightDate = ZoneChangeRule(nFrom);
        } else {
            standard = after;
            info.StandardDate = ZoneChangeRule(nFrom);
        }
    }

    info.Bias = static_cast<LONG>(-standard.tm_gmtoff / 60);
    CopyZoneName(standard.tm_zone, info.StandardName);
    if (bHasDaylight) {
        info.DaylightBias = static_cast<LONG>(-(daylight.tm_gmtoff - standard.tm_gmtoff) / 60);
        CopyZoneName(daylight.tm_zone, info.DaylightName);
    }
    *lpTimeZoneInformation = info;
    if (!bHasDaylight)
        return TIME_ZONE_ID_UNKNOWN;
    return local.tm_isdst > 0 ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
