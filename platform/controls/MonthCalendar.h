#pragma once

// The "SysMonthCal32" control: one month of days under a title with the
// month's name and buttons to the previous and next months; one day is
// selected.
//
// The selection moves by keys (Left/Right a day, Up/Down a week, Page
// Up/Down a month), by a click on a day (a grey day of the month before or
// after selects it and shows its month) and by the title's buttons, which
// show the month before or after with the same day selected (the last day
// when the month is shorter). A move that would leave the range stops at its
// end; days outside the range are grey and cannot be chosen. Every change of
// the selection sends MCN_SELCHANGE; a click on a day and Enter also send
// MCN_SELECT, the user's choice. The selection keeps only the date: its time
// of day is 00:00:00.
//
// A calendar made as a popup is a drop-down: the date-time picker shows it
// below itself and it reports to the picker (DateTimeInternal.h).

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* MONTHCAL_CLASS = "SysMonthCal32";

/* Month calendar messages. Dates are SYSTEMTIMEs; their time fields are ignored. */
constexpr UINT MCM_FIRST          = 0x1000;
constexpr UINT MCM_GETCURSEL      = MCM_FIRST + 1;  // lParam: SYSTEMTIME*. TRUE
constexpr UINT MCM_SETCURSEL      = MCM_FIRST + 2;  // lParam: SYSTEMTIME*. FALSE for a date outside the range
constexpr UINT MCM_GETMINREQRECT  = MCM_FIRST + 9;  // lParam: RECT*, the client size that shows the month
constexpr UINT MCM_HITTEST        = MCM_FIRST + 14; // lParam: MCHITTESTINFO*; its uHit
constexpr UINT MCM_GETRANGE       = MCM_FIRST + 17; // lParam: SYSTEMTIME[2]; the GDTR_* flags set
constexpr UINT MCM_SETRANGE       = MCM_FIRST + 18; // wParam: GDTR_* flags; lParam: SYSTEMTIME[2] (minimum, maximum)

/* Which limits a range has (shared with the date-time picker). */
constexpr DWORD GDTR_MIN = 0x0001;
constexpr DWORD GDTR_MAX = 0x0002;

/* MCHITTESTINFO::uHit. */
constexpr UINT MCHT_NOWHERE          = 0x00000000;
constexpr UINT MCHT_TITLE            = 0x00010000;
constexpr UINT MCHT_CALENDAR         = 0x00020000;
constexpr UINT MCHT_NEXT             = 0x01000000; // with a date: a day of the next month
constexpr UINT MCHT_PREV             = 0x02000000; // with a date: a day of the previous month
constexpr UINT MCHT_TITLEBTNNEXT     = MCHT_TITLE | MCHT_NEXT | 0x0003;
constexpr UINT MCHT_TITLEBTNPREV     = MCHT_TITLE | MCHT_PREV | 0x0003;
constexpr UINT MCHT_CALENDARDATE     = MCHT_CALENDAR | 0x0001;
constexpr UINT MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT;
constexpr UINT MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV;
constexpr UINT MCHT_CALENDARDAY      = MCHT_CALENDAR | 0x0002; // the row of weekday names

/* Month calendar notifications; each carries an NMSELCHANGE. */
constexpr UINT MCN_SELECT    = static_cast<UINT>(-746);
constexpr UINT MCN_SELCHANGE = static_cast<UINT>(-749);
// clang-format on

struct MCHITTESTINFO {
    UINT cbSize;   // sizeof(MCHITTESTINFO)
    POINT pt;      // client coordinates
    UINT uHit;     // MCHT_*
    SYSTEMTIME st; // with MCHT_CALENDARDATE*: the day there
};

struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart;
    SYSTEMTIME stSelEnd; // the same day
};
using LPNMSELCHANGE = NMSELCHANGE*;

// The procedure of the "SysMonthCal32" class.
LRESULT CALLBACK MonthCalendarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
