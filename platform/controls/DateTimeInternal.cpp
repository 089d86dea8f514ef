#include "platform/controls/DateTimeInternal.h"

#include "platform/base/TimeFunctions.h"

#include <algorithm>

namespace {

constexpr ULONGLONG TICKS_PER_DAY = 864000000000ULL;
constexpr SYSTEMTIME FIRST_TIME { 1601, 1, 0, 1, 0, 0, 0, 0 };
constexpr SYSTEMTIME LAST_TIME { 9999, 12, 0, 31, 23, 59, 59, 999 };

SYSTEMTIME FromTicks(ULONGLONG nTicks)
{
    const FILETIME ft = FileTimeFromUInt64(nTicks);
    SYSTEMTIME st {};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

} // namespace

bool IsRealTime(const SYSTEMTIME& st)
{
    FILETIME ft {};
    return SystemTimeToFileTime(&st, &ft);
}

ULONGLONG TimeTicks(const SYSTEMTIME& st)
{
    FILETIME ft {};
    SystemTimeToFileTime(&st, &ft);
    return FileTimeToUInt64(ft);
}

DayNumber DayOf(const SYSTEMTIME& st)
{
    return static_cast<DayNumber>(TimeTicks(st) / TICKS_PER_DAY);
}

SYSTEMTIME DateOfDay(DayNumber nDay)
{
    return FromTicks(static_cast<ULONGLONG>(std::max<DayNumber>(nDay, 0)) * TICKS_PER_DAY);
}

SYSTEMTIME WithTimeOf(const SYSTEMTIME& date, const SYSTEMTIME& time)
{
    return FromTicks(DayOf(date) * TICKS_PER_DAY + TimeTicks(time) % TICKS_PER_DAY);
}

int DaysInMonth(int nYear, int nMonth)
{
    static constexpr int DAYS[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    return nMonth == 2 && bLeap ? 29 : DAYS[(nMonth - 1) % 12];
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return TimeTicks(a) == TimeTicks(b);
}

bool CDateRange::Contains(const SYSTEMTIME& st) const
{
    if (!IsRealTime(st))
        return false;
    const ULONGLONG nTicks = TimeTicks(st);
    return nTicks >= LowTicks() && nTicks <= HighTicks();
}

bool CDateRange::ContainsDay(DayNumber nDay) const
{
    const ULONGLONG nStart = static_cast<ULONGLONG>(nDay) * TICKS_PER_DAY;
    return nDay >= 0 && nStart <= HighTicks() && nStart + TICKS_PER_DAY > LowTicks();
}

SYSTEMTIME CDateRange::Clamp(const SYSTEMTIME& st) const
{
    return FromTicks(std::clamp(TimeTicks(st), LowTicks(), HighTicks()));
}

BOOL CDateRange::Set(DWORD dwFlags, const SYSTEMTIME* pLimits)
{
    dwFlags &= GDTR_MIN | GDTR_MAX;
    if (dwFlags && !pLimits)
        return FALSE;
    if (((dwFlags & GDTR_MIN) && !IsRealTime(pLimits[0])) || ((dwFlags & GDTR_MAX) && !IsRealTime(pLimits[1])))
        return FALSE;
    m_dwFlags = dwFlags;
    m_limits[0] = (dwFlags & GDTR_MIN) ? FromTicks(TimeTicks(pLimits[0])) : SYSTEMTIME {};
    m_limits[1] = (dwFlags & GDTR_MAX) ? FromTicks(TimeTicks(pLimits[1])) : SYSTEMTIME {};
    return TRUE;
}

DWORD CDateRange::Get(SYSTEMTIME* pLimits) const
{
    if (pLimits) {
        pLimits[0] = m_limits[0];
        pLimits[1] = m_limits[1];
    }
    return m_dwFlags;
}

ULONGLONG CDateRange::LowTicks() const
{
    const ULONGLONG nFirst = TimeTicks(FIRST_TIME);
    return (m_dwFlags & GDTR_MIN) ? std::max(nFirst, TimeTicks(m_limits[0])) : nFirst;
}

ULONGLONG CDateRange::HighTicks() const
{
    const ULONGLONG nLast = TimeTicks(LAST_TIME);
    return (m_dwFlags & GDTR_MAX) ? std::min(nLast, TimeTicks(m_limits[1])) : nLast;
}
