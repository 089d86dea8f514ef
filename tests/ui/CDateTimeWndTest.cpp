#include "ui/CDateTimeWnd.h"

#include "tests/ui/UiTestSupport.h"

namespace {

constexpr UINT ID_PICKER = 1400;

class CDateTimeWndTest : public UiTest {
protected:
    size_t Changes() const
    {
        size_t nChanges = 0;
        for (const CRecordedNotify& notify : m_pUi->m_host.m_notifies)
            nChanges += notify.nCode == DTN_DATETIMECHANGE;
        return nChanges;
    }
    static SYSTEMTIME Date(WORD wYear, WORD wMonth, WORD wDay)
    {
        SYSTEMTIME st {};
        st.wYear = wYear;
        st.wMonth = wMonth;
        st.wDay = wDay;
        st.wHour = 10;
        return st;
    }
};

TEST_F(CDateTimeWndTest, CalendarChangesReachTheParentOnceWhenItClosesOnANewDate)
{
    CDatePickerCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 10, 150, 34 }, &Host(), ID_PICKER));
    picker.SetTime(CTime(2010, 5, 20, 10, 0, 0));
    ASSERT_TRUE(Driver().PickDate(picker.m_hWnd, Date(2010, 3, 7))); // pages back two months, picks a day
    EXPECT_EQ(Changes(), 1u);
    EXPECT_EQ(picker.GetTime().GetMonth(), 3);
    EXPECT_EQ(picker.GetTime().GetDay(), 7);

    ASSERT_TRUE(Driver().PickDate(picker.m_hWnd, Date(2010, 3, 7)));
    EXPECT_EQ(Changes(), 1u) << "closing on the same date tells nothing";
}

TEST_F(CDateTimeWndTest, UpDownPickerTellsEveryChangeAtOnce)
{
    CDatePickerCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | DTS_UPDOWN, RECT { 10, 10, 150, 34 }, &Host(), ID_PICKER));
    picker.SetTime(CTime(2010, 5, 20, 10, 0, 0));
    picker.SetFocus();
    ASSERT_TRUE(Driver().PressKey(VK_UP));
    ASSERT_TRUE(Driver().PressKey(VK_UP));
    EXPECT_EQ(Changes(), 2u);
}

TEST_F(CDateTimeWndTest, DatePickerRefusesTimesOutsideItsRange)
{
    CDatePickerCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 10, 150, 34 }, &Host(), ID_PICKER));
    EXPECT_FALSE(picker.SetSystemTime(Date(1989, 12, 31)));
    EXPECT_FALSE(picker.SetSystemTime(Date(2031, 1, 1)));
    EXPECT_TRUE(picker.SetSystemTime(Date(1990, 1, 1)));
    SYSTEMTIME last = Date(2030, 12, 31);
    last.wHour = 23;
    last.wMinute = 59;
    last.wSecond = 59;
    EXPECT_TRUE(picker.SetSystemTime(last));
    CTime minimum;
    CTime maximum;
    EXPECT_EQ(picker.GetRange(&minimum, &maximum), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(minimum, CDatePickerCtrl::RangeMinimum());
    EXPECT_EQ(maximum, CDatePickerCtrl::RangeMaximum());
}

} // namespace
