// A date picker class as programs write one over the control: it takes the
// control's notifications back through reflection and lets its parent hear of
// a change made in the drop-down calendar once, when the calendar closes, and
// only when the date really changed. These tests hold the control to the order
// of notifications such a class relies on.

#include "platform/controls/DateTimePicker.h"
#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"
#include "platform/controls/UpDownControl.h"
#include "platform/testing/TestDriver.h"

namespace {

constexpr UINT ID_PICKER = 1420;
constexpr SYSTEMTIME FIRST { 1990, 1, 0, 1, 0, 0, 0, 0 };
constexpr SYSTEMTIME LAST { 2030, 12, 0, 31, 23, 59, 59, 0 };
constexpr SYSTEMTIME START { 2020, 5, 0, 15, 8, 30, 0, 0 };

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// Filters the control's changes while its calendar is down and reports the
// net change when it closes.
class CFilteringPicker : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        if (!CWnd::Create(DATETIMEPICK_CLASS, "", dwStyle | WS_CHILD | WS_VISIBLE, rect, pParentWnd, nID))
            return FALSE;
        const SYSTEMTIME range[2] = { FIRST, LAST };
        SendMessage(DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
        SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&START));
        m_stored = START;
        return TRUE;
    }

protected:
    // FALSE lets the parent see the notification too.
    BOOL OnDateTimeChange(NMHDR*, LRESULT*)
    {
        if (m_bDropped)
            return TRUE;
        StoreValue();
        return FALSE;
    }
    BOOL OnDropDown(NMHDR*, LRESULT*)
    {
        m_bDropped = TRUE;
        return FALSE;
    }
    BOOL OnCloseUp(NMHDR*, LRESULT*)
    {
        m_bDropped = FALSE;
        if (!StoreValue())
            return FALSE;
        NMDATETIMECHANGE nm { { m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), DTN_DATETIMECHANGE }, GDT_VALID,
            m_stored };
        GetParent()->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&nm));
        return FALSE;
    }

private:
    // Whether the control's value differs from the stored one; it is stored.
    bool StoreValue()
    {
        SYSTEMTIME st {};
        SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        const bool bChanged = !SameDay(st, m_stored) || st.wHour != m_stored.wHour || st.wMinute != m_stored.wMinute
            || st.wSecond != m_stored.wSecond;
        m_stored = st;
        return bChanged;
    }

    SYSTEMTIME m_stored {};
    BOOL m_bDropped { FALSE };
};

// clang-format off
BEGIN_MESSAGE_MAP(CFilteringPicker, CWnd)
    ON_NOTIFY_REFLECT_EX(DTN_DATETIMECHANGE, &CFilteringPicker::OnDateTimeChange)
    ON_NOTIFY_REFLECT_EX(DTN_DROPDOWN, &CFilteringPicker::OnDropDown)
    ON_NOTIFY_REFLECT_EX(DTN_CLOSEUP, &CFilteringPicker::OnCloseUp)
END_MESSAGE_MAP()
// clang-format on

// Records the days of the changes it hears of.
class CDateParent : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<SYSTEMTIME> m_changes;

protected:
    void OnDateChange(NMHDR* pHdr, LRESULT*) { m_changes.push_back(reinterpret_cast<NMDATETIMECHANGE*>(pHdr)->st); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CDateParent, CWnd)
    ON_NOTIFY(DTN_DATETIMECHANGE, ID_PICKER, &CDateParent::OnDateChange)
END_MESSAGE_MAP()
// clang-format on

class DatePickerNotifyTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        InitCommonControls();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    std::vector<SYSTEMTIME> TakeChanges() { return std::exchange(m_parent.m_changes, {}); }

    CTestDriver m_driver;
    CDateParent m_parent;
    CFilteringPicker m_picker;
};

TEST_F(DatePickerNotifyTest, ClosingTheCalendarOnANewDateIsToldOnce)
{
    ASSERT_TRUE(m_picker.Create(WS_TABSTOP, Rect(10, 10, 150, 22), &m_parent, ID_PICKER));
    const SYSTEMTIME target { 2021, 2, 0, 3, 0, 0, 0, 0 };
    ASSERT_TRUE(m_driver.PickDate(m_picker.m_hWnd, target)) << "nine months paged and a day clicked";
    const std::vector<SYSTEMTIME> changes = TakeChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(SameDay(changes[0], target));
    EXPECT_EQ(changes[0].wHour, 8) << "the time of day stays";

    // Moving about in the calendar and coming back to the date tells nothing.
    m_driver.PressKey(VK_F4);
    m_driver.PressKey(VK_NEXT);
    m_driver.PressKey(VK_RIGHT);
    m_driver.PressKey(VK_LEFT);
    m_driver.PressKey(VK_PRIOR);
    m_driver.PressKey(VK_RETURN);
    EXPECT_EQ(m_picker.SendMessage(DTM_GETMONTHCAL), 0);
    EXPECT_TRUE(TakeChanges().empty());
    m_driver.PressKey(VK_F4);
    m_driver.PressKey(VK_DOWN);
    m_driver.PressKey(VK_ESCAPE);
    EXPECT_TRUE(TakeChanges().empty()) << "Esc put the date back";

    // A day outside the range cannot be picked, and nothing is told.
    EXPECT_FALSE(m_driver.PickDate(m_picker.m_hWnd, { 2031, 1, 0, 1, 0, 0, 0, 0 }));
    EXPECT_EQ(m_picker.SendMessage(DTM_GETMONTHCAL), 0);
    EXPECT_TRUE(TakeChanges().empty());
    EXPECT_TRUE(SameDay(CTestDriver::PickerDate(m_picker.m_hWnd), target));
}

TEST_F(DatePickerNotifyTest, WithTheUpDownEveryChangeIsToldAtOnce)
{
    ASSERT_TRUE(m_picker.Create(DTS_UPDOWN | WS_TABSTOP, Rect(10, 10, 150, 22), &m_parent, ID_PICKER));
    HWND hUpDown = ::GetWindow(m_picker.m_hWnd, GW_CHILD);
    RECT rc {};
    ::GetClientRect(hUpDown, &rc);
    m_driver.Click(hUpDown, rc.right / 2, 2);
    m_driver.Click(hUpDown, rc.right / 2, 2);
    EXPECT_EQ(TakeChanges().size(), 2u);

    const SYSTEMTIME target { 2024, 2, 0, 29, 0, 0, 0, 0 };
    ASSERT_TRUE(m_driver.TypeDate(m_picker.m_hWnd, target));
    EXPECT_FALSE(TakeChanges().empty());
    EXPECT_TRUE(SameDay(CTestDriver::PickerDate(m_picker.m_hWnd), target));
}

} // namespace
