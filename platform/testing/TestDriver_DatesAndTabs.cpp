// CTestDriver: choosing dates in date-time pickers and clicking tabs.

#include "platform/testing/TestDriver.h"

#include "platform/base/TimeFormat.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/TabControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

namespace {

// Enough title clicks to page across the years a picker shows.
constexpr int MAX_MONTH_STEPS = 12 * 9000;

int MonthIndex(const SYSTEMTIME& st)
{
    return st.wYear * 12 + st.wMonth - 1;
}

SYSTEMTIME CalendarSelection(HWND hCalendar)
{
    SYSTEMTIME st {};
    SendMessage(hCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

// The first client point whose hit test answers uHit (and the day, for a date), as a user's eye finds it.
bool FindInCalendar(HWND hCalendar, UINT uHit, WORD wDay, POINT* pPoint)
{
    RECT rc {};
    GetClientRect(hCalendar, &rc);
    for (int y = 0; y < rc.bottom; y += 2) {
        for (int x = 0; x < rc.right; x += 2) {
            MCHITTESTINFO hit { sizeof(MCHITTESTINFO), { x, y }, 0, {} };
            if (static_cast<UINT>(SendMessage(hCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) == uHit
                && (uHit != MCHT_CALENDARDATE || hit.st.wDay == wDay)) {
                *pPoint = { x, y };
                return true;
            }
        }
    }
    return false;
}

} // namespace

SYSTEMTIME CTestDriver::PickerDate(HWND hPicker)
{
    SYSTEMTIME st {};
    SendMessage(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

BOOL CTestDriver::PickDate(HWND hPicker, const SYSTEMTIME& date)
{
    if (GetWindowLongPtr(hPicker, GWL_STYLE) & DTS_UPDOWN)
        return FALSE;
    RECT rc {};
    GetClientRect(hPicker, &rc);
    if (!SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0))
        Click(hPicker, rc.right - 3, rc.bottom / 2);
    auto hCalendar = reinterpret_cast<HWND>(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0));
    if (!hCalendar)
        return FALSE;
    POINT pt {};
    for (int nStep = 0; nStep < MAX_MONTH_STEPS && MonthIndex(CalendarSelection(hCalendar)) != MonthIndex(date);
         ++nStep) {
        const int nBefore = MonthIndex(CalendarSelection(hCalendar));
        const UINT uButton = nBefore < MonthIndex(date) ? MCHT_TITLEBTNNEXT : MCHT_TITLEBTNPREV;
        if (!FindInCalendar(hCalendar, uButton, 0, &pt) || !Click(hCalendar, pt.x, pt.y)
            || MonthIndex(CalendarSelection(hCalendar)) == nBefore)
            break; // the range ends before the month
    }
    if (MonthIndex(CalendarSelection(hCalendar)) != MonthIndex(date)
        || !FindInCalendar(hCalendar, MCHT_CALENDARDATE, date.wDay, &pt)) {
        PressKey(VK_ESCAPE);
        return FALSE;
    }
    Click(hCalendar, pt.x, pt.y);
    if (SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0)) {
        PressKey(VK_ESCAPE); // a day outside the range does not close it
        return FALSE;
    }
    const SYSTEMTIME st = PickerDate(hPicker);
    return st.wYear == date.wYear && st.wMonth == date.wMonth && st.wDay == date.wDay;
}

BOOL CTestDriver::TypeDate(HWND hPicker, const SYSTEMTIME& date)
{
    // The digits of each field in the order the short date form shows them, the year in full.
    std::string strForm;
    for (const char* p = SHORT_DATE_FORM; *p; ++p) {
        if (*p == '%' && p[1]) {
            strForm += '%';
            strForm += p[1] == 'y' ? 'Y' : p[1];
            ++p;
        }
    }
    tm t {};
    t.tm_year = date.wYear - 1900;
    t.tm_mon = date.wMonth - 1;
    t.tm_mday = date.wDay;
    const std::string strDigits = FormatTimeFields(t, strForm.c_str()).value_or("");
    RECT rc {};
    GetClientRect(hPicker, &rc);
    for (int nPass = 0; nPass < 2; ++nPass) {
        if (!Click(hPicker, 3, rc.bottom / 2) || !TypeText(strDigits.c_str()))
            return FALSE;
    }
    const SYSTEMTIME st = PickerDate(hPicker);
    return st.wYear == date.wYear && st.wMonth == date.wMonth && st.wDay == date.wDay;
}

BOOL CTestDriver::ClickTab(HWND hTab, int nIndex)
{
    RECT rc {};
    if (!SendMessage(hTab, TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc)))
        return FALSE;
    return Click(hTab, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}
