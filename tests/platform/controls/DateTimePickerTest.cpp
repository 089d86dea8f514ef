#include "platform/controls/DateTimePicker.h"

#include "platform/controls/UpDownControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <string>

namespace {

constexpr SYSTEMTIME RANGE[2] = { { 1990, 1, 0, 1, 0, 0, 0, 0 }, { 2030, 12, 0, 31, 23, 59, 59, 0 } };
constexpr SYSTEMTIME START { 2020, 1, 0, 31, 10, 20, 30, 0 }; // a Friday

std::string DateText(const SYSTEMTIME& st)
{
    char sz[64] {};
    std::snprintf(sz, sizeof(sz), "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
        st.wSecond);
    return sz;
}

// Every event in one list as it happens: the parent's notifications ("change
// <date>", "dropdown", "closeup") and the picker's focus ("focus", "lose to
// <class>").
class DateTimePickerTest : public CommonControlTest {
protected:
    void SetUp() override
    {
        CommonControlTest::SetUp();
        onNotify = [this](NMHDR* pHdr) -> LRESULT {
            if (pHdr->code == DTN_DATETIMECHANGE)
                m_events.push_back("change " + DateText(reinterpret_cast<NMDATETIMECHANGE*>(pHdr)->st));
            else if (pHdr->code == DTN_DROPDOWN)
                m_events.push_back("dropdown");
            else if (pHdr->code == DTN_CLOSEUP)
                m_events.push_back(
                    SendMessage(pHdr->hwndFrom, DTM_GETMONTHCAL, 0, 0) ? "closeup, still dropped" : "closeup");
            return 0;
        };
    }

    HWND CreatePicker(DWORD dwStyle = 0)
    {
        HWND hPicker = CreateControl(DATETIMEPICK_CLASS, "", dwStyle | WS_BORDER | WS_TABSTOP, 20, 20, 160, 24, 1420);
        EXPECT_TRUE(SendMessage(hPicker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(RANGE)));
        EXPECT_TRUE(SendMessage(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&START)));
        s_pTest = this;
        SetProp(hPicker, "TestOldProc",
            reinterpret_cast<HANDLE>(
                SetWindowLongPtr(hPicker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFocusProc))));
        return hPicker;
    }

    static LRESULT CALLBACK RecordFocusProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_SETFOCUS)
            s_pTest->m_events.push_back("focus");
        if (uMsg == WM_KILLFOCUS) {
            char szClass[32] {};
            GetClassName(reinterpret_cast<HWND>(wParam), szClass, sizeof(szClass));
            s_pTest->m_events.push_back(std::string("lose to ") + szClass);
        }
        return CallWindowProc(reinterpret_cast<WNDPROC>(GetProp(hWnd, "TestOldProc")), hWnd, uMsg, wParam, lParam);
    }

    static SYSTEMTIME Value(HWND hPicker)
    {
        SYSTEMTIME st {};
        EXPECT_EQ(SendMessage(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
        return st;
    }
    static BOOL SetValue(HWND hPicker, const SYSTEMTIME& st)
    {
        return static_cast<BOOL>(SendMessage(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    }
    static std::string Shown(HWND hPicker)
    {
        char sz[64] {};
        GetWindowText(hPicker, sz, sizeof(sz));
        return sz;
    }
    void Press(UINT nKey)
    {
        Key(nKey, TRUE);
        Key(nKey, FALSE);
    }
    void Type(const std::string& strDigits)
    {
        for (char c : strDigits)
            Press(static_cast<UINT>(c));
    }
    std::vector<std::string> TakeEvents() { return std::exchange(m_events, {}); }

    void ClickButton(HWND hPicker)
    {
        RECT rc {};
        GetClientRect(hPicker, &rc);
        Click(hPicker, rc.right - 3, rc.bottom / 2);
    }
    // The calendar's client point that shows the day, found as a user finds it.
    static POINT DayPoint(HWND hCalendar, WORD wDay)
    {
        RECT rc {};
        GetClientRect(hCalendar, &rc);
        for (int y = 0; y < rc.bottom; y += 2) {
            for (int x = 0; x < rc.right; x += 2) {
                MCHITTESTINFO hit { sizeof(MCHITTESTINFO), { x, y }, 0, {} };
                if (SendMessage(hCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == MCHT_CALENDARDATE
                    && hit.st.wDay == wDay)
                    return { x, y };
            }
        }
        ADD_FAILURE() << "day " << wDay << " is not shown";
        return {};
    }

    std::vector<std::string> m_events;
    static inline DateTimePickerTest* s_pTest = nullptr;
};

TEST_F(DateTimePickerTest, KeysEditEachFieldAndKeepTheTimeOfDay)
{
    HWND hPicker = CreatePicker();
    EXPECT_EQ(Shown(hPicker), "01/31/2020");
    SetFocus(hPicker);
    TakeEvents();

    Press(VK_UP); // the month: February has no 31st
    Press(VK_RIGHT);
    Press(VK_UP); // the day goes round within February
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(TakeEvents(),
        (std::vector<std::string> {
            "change 2020-02-29 10:20:30", "change 2020-02-01 10:20:30", "change 2019-02-01 10:20:30" }));

    Type("1989"); // outside the range: refused
    EXPECT_EQ(Shown(hPicker), "02/01/2019");
    Type("2024");
    Press(VK_LEFT);
    Press(VK_LEFT);
    Type("12"); // the month, then on to the day
    Type("25");
    EXPECT_EQ(TakeEvents(),
        (std::vector<std::string> { "change 2024-02-01 10:20:30", "change 2024-01-01 10:20:30",
            "change 2024-12-01 10:20:30", "change 2024-12-02 10:20:30", "change 2024-12-25 10:20:30" }));
    EXPECT_EQ(DateText(Value(hPicker)), "2024-12-25 10:20:30");

    // The up-down style steps the field with its arrows, each step told at once.
    HWND hUpDownPicker = CreatePicker(DTS_UPDOWN);
    HWND hUpDown = GetWindow(hUpDownPicker, GW_CHILD);
    ASSERT_NE(hUpDown, nullptr);
    RECT rc {};
    GetClientRect(hUpDown, &rc);
    TakeEvents();
    Click(hUpDown, rc.right / 2, 2);
    Click(hUpDown, rc.right / 2, 2);
    Click(hUpDown, rc.right / 2, rc.bottom - 2);
    EXPECT_EQ(TakeEvents(),
        (std::vector<std::string> { "lose to SysDateTimePick32", "focus", "change 2020-02-29 10:20:30",
            "change 2020-03-29 10:20:30", "change 2020-02-29 10:20:30" }))
        << "the first click gives the picker the focus";
    Press(VK_F4);
    EXPECT_EQ(SendMessage(hUpDownPicker, DTM_GETMONTHCAL, 0, 0), 0) << "no calendar with DTS_UPDOWN";
}

TEST_F(DateTimePickerTest, TimesOutsideTheRangeOrNoRealDateAreRefused)
{
    HWND hPicker = CreatePicker();
    TakeEvents();
    SYSTEMTIME limits[2] {};
    EXPECT_EQ(SendMessage(hPicker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(limits)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(DateText(limits[1]), "2030-12-31 23:59:59");

    EXPECT_FALSE(SetValue(hPicker, { 1989, 12, 0, 31, 23, 59, 59, 999 }));
    EXPECT_FALSE(SetValue(hPicker, { 2031, 1, 0, 1, 0, 0, 0, 0 }));
    EXPECT_FALSE(SetValue(hPicker, { 2030, 12, 0, 31, 23, 59, 59, 1 }));
    EXPECT_FALSE(SetValue(hPicker, { 2021, 2, 0, 29, 0, 0, 0, 0 }));
    SYSTEMTIME none {};
    EXPECT_FALSE(SendMessage(hPicker, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&none)));
    EXPECT_EQ(DateText(Value(hPicker)), DateText(START));
    EXPECT_TRUE(SetValue(hPicker, { 2030, 12, 0, 31, 23, 59, 59, 0 }));
    EXPECT_TRUE(SetValue(hPicker, { 1990, 1, 0, 1, 0, 0, 0, 0 }));
    EXPECT_TRUE(TakeEvents().empty()) << "values set by the program are not told";

    // Keys that would leave the range change nothing; fields go round inside it.
    SetFocus(hPicker);
    TakeEvents();
    Press(VK_DOWN); // January to December of the same year
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_TRUE(SetValue(hPicker, { 2030, 12, 0, 31, 23, 59, 59, 0 }));
    Press(VK_UP);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "change 1990-12-01 00:00:00" }));

    // A narrower range moves the value into it.
    EXPECT_TRUE(SetValue(hPicker, { 1995, 5, 0, 5, 0, 0, 0, 0 }));
    const SYSTEMTIME narrow[2] = { { 2000, 6, 0, 1, 0, 0, 0, 0 }, {} };
    EXPECT_TRUE(SendMessage(hPicker, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(narrow)));
    EXPECT_EQ(DateText(Value(hPicker)), "2000-06-01 00:00:00");
    const SYSTEMTIME badLimit[2] = { { 2000, 2, 0, 30, 0, 0, 0, 0 }, {} };
    EXPECT_FALSE(SendMessage(hPicker, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(badLimit)));
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(DateTimePickerTest, CalendarTakesTheFocusAndClosingOnAChoiceIsToldInOrder)
{
    HWND hPicker = CreatePicker();
    SetFocus(hPicker);
    TakeEvents();
    ClickButton(hPicker);
    auto hCalendar = reinterpret_cast<HWND>(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(hCalendar, nullptr);
    EXPECT_EQ(GetFocus(), hCalendar);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "dropdown", "lose to SysMonthCal32" }));
    SYSTEMTIME selected {};
    SendMessage(hCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(DateText(selected), "2020-01-31 00:00:00");

    // Each selection change is told at once, the time of day kept.
    Press(VK_RIGHT);
    Press(VK_NEXT); // a month on: February is shorter
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "change 2020-02-01 10:20:30", "change 2020-03-01 10:20:30" }));

    const POINT pt = DayPoint(hCalendar, 17);
    Click(hCalendar, pt.x, pt.y);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "change 2020-03-17 10:20:30", "closeup", "focus" }));
    EXPECT_FALSE(IsWindowVisible(hCalendar));
    EXPECT_EQ(GetFocus(), hPicker);

    // Enter chooses the selection as it is; Alt+Down opens it from the keyboard.
    Key(VK_MENU, TRUE);
    Press(VK_DOWN);
    Key(VK_MENU, FALSE);
    ASSERT_EQ(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0), reinterpret_cast<LRESULT>(hCalendar));
    Press(VK_RETURN);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "dropdown", "lose to SysMonthCal32", "closeup", "focus" }));
}

TEST_F(DateTimePickerTest, EscapePutsBackTheValueAndAClickElsewhereCloses)
{
    HWND hPicker = CreatePicker();
    SetFocus(hPicker);
    Press(VK_F4);
    auto hCalendar = reinterpret_cast<HWND>(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(hCalendar, nullptr);
    Press(VK_DOWN);
    TakeEvents();
    Press(VK_ESCAPE);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "change 2020-01-31 10:20:30", "closeup", "focus" }));

    // Days outside the range cannot be chosen; the month before the first one is not shown.
    const SYSTEMTIME early { 1990, 1, 0, 3, 0, 0, 0, 0 };
    SetValue(hPicker, early);
    Press(VK_F4);
    Press(VK_PRIOR);
    Press(VK_LEFT);
    Press(VK_LEFT);
    Press(VK_LEFT);
    SYSTEMTIME selected {};
    SendMessage(hCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(DateText(selected), "1990-01-01 00:00:00");
    TakeEvents();

    // A click on the picker's button while the calendar is open closes it
    // and does not open it again.
    ClickButton(hPicker);
    EXPECT_EQ(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string> { "closeup", "focus" }));
    ClickButton(hPicker);
    ASSERT_TRUE(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0));
    TakeEvents();
    // A click on the parent closes it as it is.
    Click(m_hParent, 300, 250);
    EXPECT_EQ(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(TakeEvents()[0], "closeup");
    EXPECT_EQ(DateText(Value(hPicker)), "1990-01-01 00:00:00");
}

} // namespace
