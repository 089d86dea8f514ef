#include "platform/controls/DateTimePicker.h"

#include "platform/base/TimeFunctions.h"
#include "platform/controls/ControlInternal.h"
#include "platform/controls/DateTimeInternal.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr int TEXT_INDENT = 2;
constexpr UINT UPDOWN_ID = 1;
// The up-down's range and position: it stays in the middle, as the picker
// refuses its steps and takes them for the field instead.
constexpr int UPDOWN_RANGE = 100;

struct CPickerState : CControlState {
    SYSTEMTIME value {};
    CDateRange range;
    int nField { 0 };           // the field with the keyboard's attention, by position
    std::string strTyped;       // digits typed into that field so far
    HWND hUpDown { nullptr };   // with DTS_UPDOWN
    HWND hCalendar { nullptr }; // made at the first drop-down, hidden while closed
    bool bDropped { false };
    SYSTEMTIME valueAtDrop {};    // what Esc in the calendar puts back
    bool bSwallowPress { false }; // the press that closed the calendar over the button does not open it again
};

CPickerState* PickerState(HWND hWnd)
{
    return GetControlState<CPickerState>(hWnd);
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

// The drop-down button, or the up-down's place: the right end of the client area.
RECT ButtonRect(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    rc.left = std::max(rc.left, rc.right - GetSystemMetrics(SM_CXVSCROLL));
    return rc;
}

// The window text follows the value, so WM_GETTEXT reads the date shown.
void ShowValue(HWND hWnd, const CPickerState& state)
{
    DefWindowProc(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ShowDate(state.value).strText.c_str()));
    InvalidateRect(hWnd, nullptr, TRUE);
}

std::unique_ptr<CControlState> NewPickerState(HWND, const CREATESTRUCT*)
{
    auto pState = std::make_unique<CPickerState>();
    GetLocalTime(&pState->value);
    pState->value.wMilliseconds = 0;
    return pState;
}

/***** Changes *****/

// Takes a value the user chose and tells the parent; FALSE, keeping the old
// value, for a time outside the range. The window may be gone on return.
bool ChangeByUser(HWND hWnd, CPickerState& state, const SYSTEMTIME& st)
{
    if (!state.range.Contains(st))
        return false;
    if (SameTime(st, state.value))
        return true;
    state.value = WithTimeOf(st, st);
    ShowValue(hWnd, state);
    NMDATETIMECHANGE nm {};
    nm.dwFlags = GDT_VALID;
    nm.st = state.value;
    SendNotify(hWnd, DTN_DATETIMECHANGE, &nm.nmhdr);
    return true;
}

EDateField FieldAt(const CPickerState& state, int nField)
{
    return ShowDate(state.value).fields[nField];
}

void MoveToField(HWND hWnd, CPickerState& state, int nField)
{
    state.nField = std::clamp(nField, 0, DATE_FIELDS - 1);
    state.strTyped.clear();
    InvalidateRect(hWnd, nullptr, TRUE);
}

void StepField(HWND hWnd, CPickerState& state, int nDelta)
{
    state.strTyped.clear();
    if (!ChangeByUser(hWnd, state, SteppedField(state.value, FieldAt(state, state.nField), nDelta)))
        MessageBeep(static_cast<UINT>(-1));
}

void TypeDigit(HWND hWnd, CPickerState& state, char cDigit)
{
    state.strTyped += cDigit;
    const CTypedField typed = TypedField(state.value, FieldAt(state, state.nField), state.strTyped);
    const bool bTaken = typed.bValid && ChangeByUser(hWnd, state, typed.st);
    CPickerState* pState = PickerState(hWnd);
    if (!pState || !typed.bComplete)
        return;
    if (!bTaken)
        MessageBeep(static_cast<UINT>(-1));
    MoveToField(hWnd, *pState, pState->nField + 1);
}

// The field under a client x, or the nearest one.
int FieldAtPoint(HWND hWnd, const CPickerState& state, int x)
{
    const CShownDate shown = ShowDate(state.value);
    CControlMeasureDC dc(hWnd);
    for (int i = 0; i + 1 < DATE_FIELDS; ++i) {
        if (x < TEXT_INDENT + dc.TextWidth(std::string_view(shown.strText).substr(0, shown.nBegin[i + 1])))
            return i;
    }
    return DATE_FIELDS - 1;
}

/***** The drop-down calendar *****/

void DropDown(HWND hWnd, CPickerState& state)
{
    if (state.bDropped || (StyleOf(hWnd) & DTS_UPDOWN))
        return;
    constexpr DWORD CALENDAR_STYLE = WS_POPUP | WS_BORDER;
    constexpr DWORD CALENDAR_EX_STYLE = WS_EX_TOOLWINDOW;
    if (!state.hCalendar) {
        state.hCalendar = CreateWindowEx(CALENDAR_EX_STYLE, MONTHCAL_CLASS, "", CALENDAR_STYLE, 0, 0, 0, 0,
            GetAncestor(hWnd, GA_ROOT), nullptr, nullptr, nullptr);
        if (!state.hCalendar)
            return;
        SetControlParent(state.hCalendar, hWnd);
    }
    HWND hCalendar = state.hCalendar;
    SendMessage(hCalendar, WM_SETFONT, reinterpret_cast<WPARAM>(state.hFont), FALSE);
    SYSTEMTIME limits[2] {};
    const DWORD dwLimits = state.range.Get(limits);
    SendMessage(hCalendar, MCM_SETRANGE, dwLimits, reinterpret_cast<LPARAM>(limits));
    SendMessage(hCalendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&state.value));
    RECT rcCalendar {};
    SendMessage(hCalendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rcCalendar));
    AdjustWindowRectEx(&rcCalendar, CALENDAR_STYLE, FALSE, CALENDAR_EX_STYLE);
    RECT rcPicker {};
    GetWindowRect(hWnd, &rcPicker);
    const int cx = rcCalendar.right - rcCalendar.left;
    const int x = (StyleOf(hWnd) & DTS_RIGHTALIGN) ? rcPicker.right - cx : rcPicker.left;
    SetWindowPos(hCalendar, HWND_TOP, x, rcPicker.bottom, cx, rcCalendar.bottom - rcCalendar.top, SWP_NOACTIVATE);
    state.valueAtDrop = state.value;
    state.bDropped = true;
    state.strTyped.clear();
    InvalidateRect(hWnd, nullptr, TRUE);
    NMHDR hdr {};
    SendNotify(hWnd, DTN_DROPDOWN, &hdr);
    const CPickerState* pState = PickerState(hWnd);
    if (pState && pState->bDropped)
        ShowWindow(hCalendar, SW_SHOW); // takes the activation and with it the focus
}

// Closes the calendar on the user's choice or Esc: hiding it takes its
// activation, which closes it (OnCalendarClosed), and the focus comes back.
void CloseUp(HWND hWnd, const CPickerState& state)
{
    if (!state.bDropped)
        return;
    ShowWindow(state.hCalendar, SW_HIDE);
    // The window that took the activation may have taken the focus too.
    if (IsWindow(hWnd) && GetActiveWindow() == GetAncestor(hWnd, GA_ROOT) && IsWindowVisible(hWnd)
        && IsWindowEnabled(hWnd))
        SetFocus(hWnd);
}

// The calendar lost the activation, to the picker's own window or to another.
void OnCalendarClosed(HWND hWnd, CPickerState& state)
{
    if (!state.bDropped)
        return;
    state.bDropped = false;
    if (IsWindowVisible(state.hCalendar))
        ShowWindow(state.hCalendar, SW_HIDE);
    // A press on the button closed it through the activation; that press
    // is coming to the picker next and must not open it again.
    POINT pt {};
    GetCursorPos(&pt);
    ScreenToClient(hWnd, &pt);
    const RECT rcButton = ButtonRect(hWnd);
    state.bSwallowPress = PtInRect(&rcButton, pt) && (GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    InvalidateRect(hWnd, nullptr, TRUE);
    NMHDR hdr {};
    SendNotify(hWnd, DTN_CLOSEUP, &hdr);
}

// A notice of the calendar (MCN_SELCHANGE, MCN_SELECT) or of the up-down (UDN_DELTAPOS).
LRESULT OnChildNotify(HWND hWnd, CPickerState& state, const NMHDR* pHdr)
{
    if (pHdr->hwndFrom == state.hUpDown && pHdr->code == UDN_DELTAPOS) {
        if (GetFocus() != hWnd)
            SetFocus(hWnd);
        if (CPickerState* pState = PickerState(hWnd))
            StepField(hWnd, *pState, reinterpret_cast<const NMUPDOWN*>(pHdr)->iDelta > 0 ? 1 : -1);
        return 1; // the up-down keeps its own position
    }
    if (pHdr->hwndFrom != state.hCalendar || (pHdr->code != MCN_SELCHANGE && pHdr->code != MCN_SELECT))
        return 0;
    const SYSTEMTIME chosen = WithTimeOf(reinterpret_cast<const NMSELCHANGE*>(pHdr)->stSelStart, state.value);
    ChangeByUser(hWnd, state, state.range.Clamp(chosen));
    if (CPickerState* pState = PickerState(hWnd); pState && pHdr->code == MCN_SELECT)
        CloseUp(hWnd, *pState);
    return 0;
}

/***** Painting *****/

void PaintPicker(HWND hWnd, HDC hdc)
{
    const CPickerState* pState = PickerState(hWnd);
    const bool bEnabled = IsWindowEnabled(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, PrepareControlDC(hWnd, hdc, bEnabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC));
    if (!bEnabled)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    const COLORREF crText = GetTextColor(hdc);
    const COLORREF crBack = GetBkColor(hdc);
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    const int y = (rc.bottom - tm.tmHeight) / 2;
    const CShownDate shown = ShowDate(pState->value);
    const bool bFocused = GetFocus() == hWnd;
    int x = TEXT_INDENT;
    const auto Draw = [&](size_t nBegin, size_t nEnd, bool bHighlight) {
        SetTextColor(hdc, bHighlight ? GetSysColor(COLOR_HIGHLIGHTTEXT) : crText);
        SetBkColor(hdc, bHighlight ? GetSysColor(COLOR_HIGHLIGHT) : crBack);
        SetBkMode(hdc, bHighlight ? OPAQUE : TRANSPARENT);
        const int nCount = static_cast<int>(nEnd - nBegin);
        TextOut(hdc, x, y, shown.strText.c_str() + nBegin, nCount);
        SIZE size {};
        GetTextExtentPoint32(hdc, shown.strText.c_str() + nBegin, nCount, &size);
        x += size.cx;
    };
    size_t nAt = 0;
    for (int i = 0; i < DATE_FIELDS; ++i) {
        Draw(nAt, shown.nBegin[i], false);
        Draw(shown.nBegin[i], shown.nEnd[i], bFocused && i == pState->nField);
        nAt = shown.nEnd[i];
    }
    Draw(nAt, shown.strText.size(), false);
    if (!(StyleOf(hWnd) & DTS_UPDOWN)) {
        RECT rcButton = ButtonRect(hWnd);
        DrawFrameControl(hdc, &rcButton, DFC_SCROLL,
            DFCS_SCROLLCOMBOBOX | (pState->bDropped ? DFCS_PUSHED : 0) | (bEnabled ? 0 : DFCS_INACTIVE));
    }
}

/***** Messages *****/

void OnCreate(HWND hWnd, CPickerState& state)
{
    ShowValue(hWnd, state);
    if (!(StyleOf(hWnd) & DTS_UPDOWN))
        return;
    const RECT rc = ButtonRect(hWnd);
    state.hUpDown = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE, rc.left, rc.top, rc.right - rc.left,
        rc.bottom - rc.top, hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(UPDOWN_ID)), nullptr, nullptr);
    SendMessage(state.hUpDown, UDM_SETRANGE, 0, MAKELONG(UPDOWN_RANGE, 0));
    SendMessage(state.hUpDown, UDM_SETPOS, 0, MAKELONG(UPDOWN_RANGE / 2, 0));
}

void OnKeyDown(HWND hWnd, CPickerState& state, UINT nKey)
{
    switch (nKey) {
    case VK_LEFT:
    case VK_RIGHT:
        MoveToField(hWnd, state, state.nField + (nKey == VK_LEFT ? -1 : 1));
        break;
    case VK_UP:
    case VK_DOWN:
        StepField(hWnd, state, nKey == VK_UP ? 1 : -1);
        break;
    case VK_F4:
        DropDown(hWnd, state);
        break;
    default:
        break;
    }
}

LRESULT SetSystemTime(HWND hWnd, CPickerState& state, WPARAM nKind, const SYSTEMTIME* pst)
{
    if (nKind != GDT_VALID || !pst || !state.range.Contains(*pst))
        return FALSE;
    state.value = WithTimeOf(*pst, *pst);
    ShowValue(hWnd, state);
    if (state.bDropped)
        SendMessage(state.hCalendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&state.value));
    return TRUE;
}

} // namespace

LRESULT CALLBACK DateTimePickerWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewPickerState, PaintPicker, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CPickerState* pState = PickerState(hWnd);
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hWnd, *pState);
        return 0;
    case WM_DESTROY:
        pState->bDropped = false;
        if (pState->hCalendar)
            DestroyWindow(std::exchange(pState->hCalendar, nullptr));
        return 0;
    case WM_SIZE:
        if (pState->hUpDown) {
            const RECT rc = ButtonRect(hWnd);
            MoveWindow(pState->hUpDown, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        pState->strTyped.clear();
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT pt = MousePointOf(lParam);
        const RECT rcButton = ButtonRect(hWnd);
        const bool bSwallow = std::exchange(pState->bSwallowPress, false);
        SetFocus(hWnd);
        CPickerState* pFocused = PickerState(hWnd);
        if (!pFocused)
            return 0;
        if (!(StyleOf(hWnd) & DTS_UPDOWN) && PtInRect(&rcButton, pt)) {
            if (!bSwallow)
                DropDown(hWnd, *pFocused);
        } else {
            MoveToField(hWnd, *pFocused, FieldAtPoint(hWnd, *pFocused, pt.x));
        }
        return 0;
    }
    case WM_KEYDOWN:
        OnKeyDown(hWnd, *pState, static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN) {
            DropDown(hWnd, *pState);
            return 0;
        }
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_CHAR:
        if (wParam >= '0' && wParam <= '9')
            TypeDigit(hWnd, *pState, static_cast<char>(wParam));
        return 0;
    case WM_NOTIFY:
        return OnChildNotify(hWnd, *pState, reinterpret_cast<const NMHDR*>(lParam));
    case DTM_CALENDARCANCEL:
        if (pState->bDropped)
            ChangeByUser(hWnd, *pState, pState->range.Clamp(pState->valueAtDrop));
        if (CPickerState* pAfter = PickerState(hWnd))
            CloseUp(hWnd, *pAfter);
        return 0;
    case DTM_CALENDARCLOSED:
        OnCalendarClosed(hWnd, *pState);
        return 0;
    case DTM_GETSYSTEMTIME:
        if (!lParam)
            return GDT_ERROR;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = pState->value;
        return GDT_VALID;
    case DTM_SETSYSTEMTIME:
        return SetSystemTime(hWnd, *pState, wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_GETRANGE:
        return pState->range.Get(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETRANGE:
        if (!pState->range.Set(static_cast<DWORD>(wParam), reinterpret_cast<const SYSTEMTIME*>(lParam)))
            return FALSE;
        if (!pState->range.Contains(pState->value)) {
            pState->value = pState->range.Clamp(pState->value);
            ShowValue(hWnd, *pState);
        }
        return TRUE;
    case DTM_GETMONTHCAL:
        return pState->bDropped ? reinterpret_cast<LRESULT>(pState->hCalendar) : 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
