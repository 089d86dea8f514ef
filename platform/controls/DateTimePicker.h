#pragma once

// The "SysDateTimePick32" control: a date shown in the short date form, its
// month, day and year fields edited by keys, with a button at the right end
// that drops down a month calendar ("SysMonthCal32", MonthCalendar.h), or with
// DTS_UPDOWN an up-down there instead. The value keeps its time of day.
//
// Fields come in the order and with the separators of the short date form
// ("%x", TimeFormat.h), the year with four digits. Left/Right move between
// fields; Up/Down step the field by one (day and month go round within their
// field, a shorter month pulls the day back to its last day); digits type into
// the field and move on once it is full. A change that would leave the range,
// or make no real date, is refused. The up-down of DTS_UPDOWN steps the field
// as Up/Down do.
//
// The drop-down: the button (as wide as a scroll bar, filling the right end of
// the client area), Alt+Down or F4 shows the calendar below the picker with
// the value selected; it takes the focus, so WM_KILLFOCUS tells the picker's
// window that the calendar has it. While it is shown, DTM_GETMONTHCAL answers
// it. A selection change in it changes the value; a click on a day or Enter
// closes it on the choice; Esc closes it and puts back the value it was
// opened with; taking the activation elsewhere closes it as it is.
//
// The parent hears (WM_NOTIFY):
// - DTN_DATETIMECHANGE after every change of the value by the user: a key, an
//   up-down step, each selection change in the calendar (and the value put
//   back by Esc). Changes by DTM_SETSYSTEMTIME and DTM_SETRANGE are not told.
// - DTN_DROPDOWN once the calendar exists, before it takes the focus.
// - DTN_CLOSEUP once it is closed, after the DTN_DATETIMECHANGE of a choice
//   made in closing, before the focus returns to the picker.

#include "platform/controls/MonthCalendar.h"

// clang-format off
constexpr const char* DATETIMEPICK_CLASS = "SysDateTimePick32";

/* Picker styles. */
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_UPDOWN          = 0x0001; // an up-down instead of the drop-down button
constexpr DWORD DTS_RIGHTALIGN      = 0x0020; // the calendar drops down aligned with the right edge

/* DTM_GETSYSTEMTIME results and DTM_SETSYSTEMTIME kinds. */
constexpr LRESULT GDT_ERROR = -1;
constexpr LRESULT GDT_VALID = 0;
constexpr LRESULT GDT_NONE  = 1; // no date; not shown by this picker

/* Picker messages. */
constexpr UINT DTM_FIRST         = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1; // lParam: SYSTEMTIME*. GDT_VALID
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2; // wParam: GDT_VALID; lParam: SYSTEMTIME*. 0 keeps the value:
                                                  // outside the range, no real date, or GDT_NONE
constexpr UINT DTM_GETRANGE      = DTM_FIRST + 3; // lParam: SYSTEMTIME[2]; the GDTR_* flags set
constexpr UINT DTM_SETRANGE      = DTM_FIRST + 4; // wParam: GDTR_* flags; lParam: SYSTEMTIME[2]. The value
                                                  // moves into the new range. FALSE for a limit that is no date
constexpr UINT DTM_GETMONTHCAL   = DTM_FIRST + 8; // the dropped-down calendar, else NULL

/* Picker notifications. */
constexpr UINT DTN_DATETIMECHANGE = static_cast<UINT>(-759); // NMDATETIMECHANGE
constexpr UINT DTN_DROPDOWN       = static_cast<UINT>(-754); // NMHDR
constexpr UINT DTN_CLOSEUP        = static_cast<UINT>(-753); // NMHDR
// Callback fields of a format string; this picker shows none and sends these never.
constexpr UINT DTN_FORMATQUERYA   = static_cast<UINT>(-755);
constexpr UINT DTN_FORMATA        = static_cast<UINT>(-756);
constexpr UINT DTN_WMKEYDOWNA     = static_cast<UINT>(-757);
constexpr UINT DTN_USERSTRINGA    = static_cast<UINT>(-758);
// clang-format on

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags; // GDT_VALID
    SYSTEMTIME st;
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;

// The procedure of the "SysDateTimePick32" class.
LRESULT CALLBACK DateTimePickerWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
