#pragma once

// What the date-time picker and its month calendar share: date arithmetic on
// SYSTEMTIMEs, the range both keep, and what a drop-down calendar tells the
// picker it belongs to.
//
// Both controls hold dates from 1601-01-01 to 9999-12-31 (four-digit years),
// narrowed by the range the program sets.

#include "platform/controls/DateTimePicker.h"

#include <string>
#include <string_view>

/***** Dates (DateTimeInternal.cpp) *****/

// Days since 1601-01-01, for stepping and comparing dates.
using DayNumber = LONG;

// Whether the fields make a real time (wDayOfWeek aside).
bool IsRealTime(const SYSTEMTIME& st);
// A real time as 100-nanosecond ticks, for comparing times.
ULONGLONG TimeTicks(const SYSTEMTIME& st);
DayNumber DayOf(const SYSTEMTIME& st);
// The day at 00:00:00, wDayOfWeek filled in.
SYSTEMTIME DateOfDay(DayNumber nDay);
// The date of `date` at the time of day of `time`, wDayOfWeek filled in.
SYSTEMTIME WithTimeOf(const SYSTEMTIME& date, const SYSTEMTIME& time);
int DaysInMonth(int nYear, int nMonth);
bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b);

// The range of times a control accepts: the limits the program set (GDTR_*)
// within the years both controls can show.
class CDateRange {
public:
    bool Contains(const SYSTEMTIME& st) const;
    // Whether some moment of the day lies in the range.
    bool ContainsDay(DayNumber nDay) const;
    // The nearest time in the range.
    SYSTEMTIME Clamp(const SYSTEMTIME& st) const;

    // The limits of DTM_SETRANGE and MCM_SETRANGE; FALSE, keeping the range,
    // when a limit the flags name is no real time.
    BOOL Set(DWORD dwFlags, const SYSTEMTIME* pLimits);
    // Fills the limits that are set (the others are zero); returns their flags.
    DWORD Get(SYSTEMTIME* pLimits) const;

private:
    ULONGLONG LowTicks() const;
    ULONGLONG HighTicks() const;

    DWORD m_dwFlags { 0 };
    SYSTEMTIME m_limits[2] {}; // minimum, maximum
};

/***** The picker's fields (DateTimePickerFields.cpp) *****/

enum class EDateField { Month, Day, Year };
constexpr int DATE_FIELDS = 3;

// A date as the picker shows it: the fields in the order of the short date
// form, joined by its separators, and where each field lies in the text.
struct CShownDate {
    std::string strText;
    EDateField fields[DATE_FIELDS];
    size_t nBegin[DATE_FIELDS]; // by position in the text
    size_t nEnd[DATE_FIELDS];
};
CShownDate ShowDate(const SYSTEMTIME& st);

// The time with one field stepped by nDelta: day and month go round within
// their field, the day is pulled back to the last day of a shorter month.
// The time itself when the year would leave 1601..9999.
SYSTEMTIME SteppedField(const SYSTEMTIME& st, EDateField eField, int nDelta);

// Digits typed into a field so far, and what they make of the value.
struct CTypedField {
    bool bValid;    // the digits make a real field value, to be taken
    bool bComplete; // no further digit could follow: the next field comes
    SYSTEMTIME st;  // the value with the field set, when valid
};
CTypedField TypedField(const SYSTEMTIME& st, EDateField eField, std::string_view digits);

/***** A drop-down calendar and its picker *****/

// What a calendar made as a popup sends the picker it reports to (its control
// parent), besides MCN_SELCHANGE and MCN_SELECT.
// clang-format off
constexpr UINT DTM_CALENDARCANCEL = DTM_FIRST + 0x40; // Esc: put back the value from before the drop-down
constexpr UINT DTM_CALENDARCLOSED = DTM_FIRST + 0x41; // the calendar lost the activation: it is closed
// clang-format on
