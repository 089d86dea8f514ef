#pragma once

// Whole-day arithmetic on time values (seconds since 1970-01-01 UTC) in the
// local time zone, for expiry dates and the daily notice.

#include "platform/base/WinTypes.h"

#include <ctime>

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar; month 1 to 12.
LONG DaysFromCivil(LONG nYear, LONG nMonth, LONG nDay);

// The day number of a time: the count of days from 1970-01-01 to the local
// date of the time. Two times have the same day number exactly when they fall
// on the same local date, whatever daylight saving does in between.
LONG GetToday(time_t tTime);

// The day number of the current time, read from the program's clock.
LONG GetToday();

// The whole days from the local date of tFrom to the local date of tTo:
// positive when tTo is later, negative when it is earlier, 0 on the same
// date. A day with a daylight-saving change counts as one day.
LONG DaysBetween(time_t tFrom, time_t tTo);

// Adds (or with a negative count subtracts) seconds to a time in place.
void AddSeconds(time_t& tTime, LONG nSeconds);
