#include "platform/controls/MonthCalendar.h"

#include "platform/base/TimeFormat.h"
#include "platform/base/TimeFunctions.h"
#include "platform/controls/ControlInternal.h"
#include "platform/controls/DateTimeInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>

namespace {

constexpr int MARGIN = 4;
constexpr int WEEKS = 6;
constexpr int DAYS_A_WEEK = 7;

struct CMonthCalendarState : CControlState {
    CDateRange range;
    DayNumber nSelected { 0 };
};

CMonthCalendarState* CalendarState(HWND hWnd)
{
    return GetControlState<CMonthCalendarState>(hWnd);
}

std::unique_ptr<CControlState> NewCalendarState(HWND, const CREATESTRUCT*)
{
    auto pState = std::make_unique<CMonthCalendarState>();
    SYSTEMTIME st {};
    GetLocalTime(&st);
    pState->nSelected = DayOf(st);
    return pState;
}

bool IsDropDown(HWND hWnd)
{
    return GetWindowLongPtr(hWnd, GWL_STYLE) & WS_POPUP;
}

/***** Layout: a title band, the weekday names, then six weeks from the
       Sunday on or before the first of the selected month. *****/

struct CCalendarLayout {
    int cxCell;
    int cyCell;
    RECT rcTitle;
    RECT rcPrev;
    RECT rcNext;
    RECT rcWeekdays;
    POINT ptGrid; // the top-left of the first week
    SIZE size;    // of the whole calendar
};

CCalendarLayout Layout(HWND hWnd)
{
    CControlMeasureDC dc(hWnd);
    const int cyFont = dc.Metrics().tmHeight;
    CCalendarLayout layout {};
    layout.cxCell = std::max(dc.TextWidth("Wed"), dc.TextWidth("00")) + 10;
    layout.cyCell = cyFont + 4;
    const int cxGrid = DAYS_A_WEEK * layout.cxCell;
    const int cyTitle = cyFont + 8;
    layout.rcTitle = { MARGIN, MARGIN, MARGIN + cxGrid, MARGIN + cyTitle };
    layout.rcPrev = { layout.rcTitle.left + 2, layout.rcTitle.top + 2, layout.rcTitle.left + cyTitle - 2,
        layout.rcTitle.bottom - 2 };
    layout.rcNext = { layout.rcTitle.right - cyTitle + 2, layout.rcTitle.top + 2, layout.rcTitle.right - 2,
        layout.rcTitle.bottom - 2 };
    layout.rcWeekdays = { MARGIN, layout.rcTitle.bottom, MARGIN + cxGrid, layout.rcTitle.bottom + layout.cyCell };
    layout.ptGrid = { MARGIN, layout.rcWeekdays.bottom + 2 };
    layout.size = { cxGrid + 2 * MARGIN, layout.ptGrid.y + WEEKS * layout.cyCell + MARGIN };
    return layout;
}

DayNumber FirstShownDay(DayNumber nSelected)
{
    const SYSTEMTIME st = DateOfDay(nSelected);
    const DayNumber nFirstOfMonth = nSelected - (st.wDay - 1);
    return nFirstOfMonth - DateOfDay(nFirstOfMonth).wDayOfWeek;
}

RECT DayCell(const CCalendarLayout& layout, int nIndex)
{
    const int x = layout.ptGrid.x + (nIndex % DAYS_A_WEEK) * layout.cxCell;
    const int y = layout.ptGrid.y + (nIndex / DAYS_A_WEEK) * layout.cyCell;
    return { x, y, x + layout.cxCell, y + layout.cyCell };
}

MCHITTESTINFO HitTest(HWND hWnd, POINT pt)
{
    const CMonthCalendarState* pState = CalendarState(hWnd);
    const CCalendarLayout layout = Layout(hWnd);
    MCHITTESTINFO hit { sizeof(MCHITTESTINFO), pt, MCHT_NOWHERE, {} };
    if (PtInRect(&layout.rcPrev, pt))
        hit.uHit = MCHT_TITLEBTNPREV;
    else if (PtInRect(&layout.rcNext, pt))
        hit.uHit = MCHT_TITLEBTNNEXT;
    else if (PtInRect(&layout.rcTitle, pt))
        hit.uHit = MCHT_TITLE;
    else if (PtInRect(&layout.rcWeekdays, pt))
        hit.uHit = MCHT_CALENDARDAY;
    const int nColumn = (pt.x - layout.ptGrid.x) / layout.cxCell;
    const int nRow = (pt.y - layout.ptGrid.y) / layout.cyCell;
    if (hit.uHit != MCHT_NOWHERE || pt.x < layout.ptGrid.x || pt.y < layout.ptGrid.y || nColumn >= DAYS_A_WEEK
        || nRow >= WEEKS)
        return hit;
    const DayNumber nDay = FirstShownDay(pState->nSelected) + nRow * DAYS_A_WEEK + nColumn;
    hit.st = DateOfDay(nDay);
    const WORD wMonth = DateOfDay(pState->nSelected).wMonth;
    hit.uHit = MCHT_CALENDARDATE;
    if (hit.st.wMonth != wMonth)
        hit.uHit |= nDay < pState->nSelected ? MCHT_PREV : MCHT_NEXT;
    return hit;
}

/***** The selection *****/

// Moves the selection to the day, or as near as the range allows; tells the
// parent when it changed. The window may be gone on return.
void Select(HWND hWnd, CMonthCalendarState& state, DayNumber nDay)
{
    if (!state.range.ContainsDay(nDay))
        nDay = DayOf(state.range.Clamp(DateOfDay(nDay)));
    if (nDay == state.nSelected)
        return;
    state.nSelected = nDay;
    InvalidateRect(hWnd, nullptr, TRUE);
    NMSELCHANGE nm {};
    nm.stSelStart = nm.stSelEnd = DateOfDay(nDay);
    SendNotify(hWnd, MCN_SELCHANGE, &nm.nmhdr);
}

// The same day nMonths later or earlier, the month's last day when it is shorter.
DayNumber MonthsFrom(DayNumber nDay, int nMonths)
{
    const SYSTEMTIME st = DateOfDay(nDay);
    const int nMonthIndex = st.wYear * 12 + (st.wMonth - 1) + nMonths;
    SYSTEMTIME moved {};
    moved.wYear = static_cast<WORD>(nMonthIndex / 12);
    moved.wMonth = static_cast<WORD>(nMonthIndex % 12 + 1);
    moved.wDay = static_cast<WORD>(std::min<int>(st.wDay, DaysInMonth(moved.wYear, moved.wMonth)));
    return IsRealTime(moved) ? DayOf(moved) : nDay;
}

void Choose(HWND hWnd, CMonthCalendarState& state)
{
    NMSELCHANGE nm {};
    nm.stSelStart = nm.stSelEnd = DateOfDay(state.nSelected);
    SendNotify(hWnd, MCN_SELECT, &nm.nmhdr);
}

void OnKeyDown(HWND hWnd, CMonthCalendarState& state, UINT nKey)
{
    switch (nKey) {
    case VK_LEFT:
        Select(hWnd, state, state.nSelected - 1);
        break;
    case VK_RIGHT:
        Select(hWnd, state, state.nSelected + 1);
        break;
    case VK_UP:
        Select(hWnd, state, state.nSelected - DAYS_A_WEEK);
        break;
    case VK_DOWN:
        Select(hWnd, state, state.nSelected + DAYS_A_WEEK);
        break;
    case VK_PRIOR:
        Select(hWnd, state, MonthsFrom(state.nSelected, -1));
        break;
    case VK_NEXT:
        Select(hWnd, state, MonthsFrom(state.nSelected, 1));
        break;
    case VK_RETURN:
        Choose(hWnd, state);
        break;
    case VK_ESCAPE:
        if (IsDropDown(hWnd))
            SendMessage(ControlParent(hWnd), DTM_CALENDARCANCEL, 0, 0);
        break;
    default:
        break;
    }
}

void OnButtonDown(HWND hWnd, CMonthCalendarState& state, POINT pt)
{
    const MCHITTESTINFO hit = HitTest(hWnd, pt);
    if (hit.uHit == MCHT_TITLEBTNPREV || hit.uHit == MCHT_TITLEBTNNEXT) {
        Select(hWnd, state, MonthsFrom(state.nSelected, hit.uHit == MCHT_TITLEBTNPREV ? -1 : 1));
    } else if ((hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && state.range.ContainsDay(DayOf(hit.st))) {
        Select(hWnd, state, DayOf(hit.st));
        if (CMonthCalendarState* pState = CalendarState(hWnd))
            Choose(hWnd, *pState);
    }
}

/***** Painting *****/

std::string Formatted(const SYSTEMTIME& st, const char* pszFormat)
{
    tm t {};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_wday = st.wDayOfWeek;
    return FormatTimeFields(t, pszFormat).value_or("");
}

void DrawCentred(HDC hdc, const std::string& text, RECT rc)
{
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintCalendar(HWND hWnd, HDC hdc)
{
    const CMonthCalendarState* pState = CalendarState(hWnd);
    const CCalendarLayout layout = Layout(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    PrepareControlDC(hWnd, hdc, WM_CTLCOLORSTATIC);
    SetBkMode(hdc, TRANSPARENT);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_WINDOW));

    const SYSTEMTIME selected = DateOfDay(pState->nSelected);
    FillRect(hdc, &layout.rcTitle, GetSysColorBrush(COLOR_3DFACE));
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawCentred(hdc, Formatted(selected, "%B %Y"), layout.rcTitle);
    RECT rcPrev = layout.rcPrev;
    RECT rcNext = layout.rcNext;
    DrawFrameControl(hdc, &rcPrev, DFC_SCROLL, DFCS_SCROLLLEFT);
    DrawFrameControl(hdc, &rcNext, DFC_SCROLL, DFCS_SCROLLRIGHT);

    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    const DayNumber nFirst = FirstShownDay(pState->nSelected);
    for (int i = 0; i < DAYS_A_WEEK; ++i) {
        RECT rcName = DayCell(layout, i);
        OffsetRect(&rcName, 0, layout.rcWeekdays.top - rcName.top);
        DrawCentred(hdc, Formatted(DateOfDay(nFirst + i), "%a"), rcName);
    }
    RECT rcRule { layout.rcWeekdays.left, layout.rcWeekdays.bottom, layout.rcWeekdays.right,
        layout.rcWeekdays.bottom + 1 };
    FillRect(hdc, &rcRule, GetSysColorBrush(COLOR_GRAYTEXT));

    for (int i = 0; i < WEEKS * DAYS_A_WEEK; ++i) {
        const DayNumber nDay = nFirst + i;
        const SYSTEMTIME st = DateOfDay(nDay);
        const RECT rcCell = DayCell(layout, i);
        COLORREF crText = GetSysColor(COLOR_WINDOWTEXT);
        if (nDay == pState->nSelected) {
            FillRect(hdc, &rcCell, GetSysColorBrush(COLOR_HIGHLIGHT));
            crText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else if (st.wMonth != selected.wMonth || !pState->range.ContainsDay(nDay)) {
            crText = GetSysColor(COLOR_GRAYTEXT);
        }
        SetTextColor(hdc, crText);
        DrawCentred(hdc, std::to_string(st.wDay), rcCell);
    }
}

} // namespace

LRESULT CALLBACK MonthCalendarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewCalendarState, PaintCalendar, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CMonthCalendarState* pState = CalendarState(hWnd);
    switch (uMsg) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && IsDropDown(hWnd))
            SendMessage(ControlParent(hWnd), DTM_CALENDARCLOSED, 0, 0);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_KEYDOWN:
        OnKeyDown(hWnd, *pState, static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsDropDown(hWnd))
            SetFocus(hWnd);
        OnButtonDown(hWnd, *pState, MousePointOf(lParam));
        return 0;
    case MCM_GETCURSEL:
        if (!lParam)
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = DateOfDay(pState->nSelected);
        return TRUE;
    case MCM_SETCURSEL: {
        const auto* pst = reinterpret_cast<const SYSTEMTIME*>(lParam);
        SYSTEMTIME date = pst ? *pst : SYSTEMTIME {};
        date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
        if (!IsRealTime(date) || !pState->range.ContainsDay(DayOf(date)))
            return FALSE;
        pState->nSelected = DayOf(date);
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    }
    case MCM_GETMINREQRECT: {
        if (!lParam)
            return FALSE;
        const SIZE size = Layout(hWnd).size;
        *reinterpret_cast<RECT*>(lParam) = { 0, 0, size.cx, size.cy };
        return TRUE;
    }
    case MCM_HITTEST:
        if (!lParam)
            return MCHT_NOWHERE;
        {
            auto* pHit = reinterpret_cast<MCHITTESTINFO*>(lParam);
            *pHit = HitTest(hWnd, pHit->pt);
            return pHit->uHit;
        }
    case MCM_GETRANGE:
        return pState->range.Get(reinterpret_cast<SYSTEMTIME*>(lParam));
    case MCM_SETRANGE:
        if (!pState->range.Set(static_cast<DWORD>(wParam), reinterpret_cast<const SYSTEMTIME*>(lParam)))
            return FALSE;
        if (!pState->range.ContainsDay(pState->nSelected))
            pState->nSelected = DayOf(pState->range.Clamp(DateOfDay(pState->nSelected)));
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
