#include "platform/base/TimeFunctions.h"

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"

#include <chrono>
#include <ctime>

namespace {

constexpr ULONGLONG UNITS_PER_MILLISECOND = FILETIME_UNITS_PER_SECOND / 1000;
constexpr ULONGLONG SECONDS_PER_DAY = 86400;
constexpr ULONGLONG MAX_FILETIME = 0x7FFFFFFFFFFFFFFFULL; // larger values have no SYSTEMTIME
constexpr int MIN_SYSTEMTIME_YEAR = 1601;
constexpr int MAX_SYSTEMTIME_YEAR = 30827;

constexpr std::chrono::sys_days FILETIME_EPOCH_DAY { std::chrono::year { 1601 } / 1 / 1 };

// Seconds east of UTC of the host time zone at this moment.
LONGLONG CurrentLocalOffsetSeconds()
{
    time_t now = static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND)
        - static_cast<time_t>(FILETIME_UNIX_EPOCH_SECONDS);
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

}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    FILETIME ft = FileTimeFromUInt64(ClockUtcNow());
    FileTimeToSystemTime(&ft, lpSystemTime);
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    // Unlike FileTimeToLocalFileTime, this uses the offset of the very moment it reads.
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
