#include "store/DateHelpers.h"

#include "platform/base/Clock.h"

// The year is counted from March so that the leap day comes last.
LONG DaysFromCivil(LONG nYear, LONG nMonth, LONG nDay)
{
    nYear -= nMonth <= 2 ? 1 : 0;
    LONG nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
    LONG nYearOfEra = nYear - nEra * 400;
    LONG nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    LONG nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

LONG GetToday(time_t tTime)
{
    struct tm local { };
    if (!localtime_r(&tTime, &local))
        return static_cast<LONG>(tTime / 86400);
    return DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

LONG GetToday()
{
    auto tNow = static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
    return GetToday(tNow);
}

LONG DaysBetween(time_t tFrom, time_t tTo)
{
    return GetToday(tTo) - GetToday(tFrom);
}

void AddSeconds(time_t& tTime, LONG nSeconds)
{
    tTime += nSeconds;
}
