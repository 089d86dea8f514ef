#include "dialogs/documents/CDlgExpiryDate.h"

#include "dialogs/documents/CDlgSetNumber.h"
#include "dialogs/documents/CDlgSetOption.h"
#include "dialogs/documents/FormatFileSize.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/CTime.h"
#include "platform/base/Clock.h"

#include <gtest/gtest.h>

namespace {

using AttributeDialogsTest = DialogTest;

constexpr time_t DAY = 86400;

// The picker's date as seconds since 1970 (its time of day dropped).
time_t PickerDay(HWND hDlg)
{
    const SYSTEMTIME st = CTestDriver::PickerDate(::GetDlgItem(hDlg, IDC_EXPIRY_PICKER));
    return CTime(st.wYear, st.wMonth, st.wDay, 0, 0, 0).GetTime();
}

time_t Today()
{
    const CTime now = CTime::GetCurrentTime();
    return CTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0).GetTime();
}

} // namespace

TEST(FormatFileSizeTest, BytesThenWholeKilobytesThenMegabytesWithTheirByteCount)
{
    EXPECT_EQ(FormatFileSize(0), CString("0 bytes"));
    EXPECT_EQ(FormatFileSize(1024), CString("1024 bytes"));
    EXPECT_EQ(FormatFileSize(1025), CString("1.00 KB (1025 bytes) "));
    EXPECT_EQ(FormatFileSize(1049599), CString("1024.00 KB (1049599 bytes) "));
    EXPECT_EQ(FormatFileSize(1049600), CString("1.00 MB (1049600 bytes) "));
    EXPECT_EQ(FormatFileSize(3LL << 30), CString("3072.00 MB (3221225472 bytes) ")) << "large files keep their size";
}

TEST_F(AttributeDialogsTest, WithoutADateTodayAndNoDaysShowAndAClearBoxGivesNone)
{
    CDlgExpiryDate dlg;
    dlg.SetUp("C:\\docs\\plan.odt", nullptr, 0);
    CString strDays;
    time_t nShown = 0;
    BOOL bDaysEnabled = TRUE;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            strDays = CTestDriver::Text(::GetDlgItem(hDlg, IDC_EXPIRY_DAYS));
            nShown = PickerDay(hDlg);
            bDaysEnabled = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_EXPIRY_DAYS));
        })
        .Check(IDC_EXPIRES)
        .SetText(IDC_EXPIRY_DAYS, "12")
        .Uncheck(IDC_EXPIRES)
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strDays, CString("0"));
    EXPECT_EQ(nShown, Today());
    EXPECT_FALSE(bDaysEnabled);
    EXPECT_EQ(dlg.GetExpiry(), 0) << "a clear box means no expiry, whatever the picker shows";
}

TEST_F(AttributeDialogsTest, DaysMoveTheDateAndTheDateTheDaysAndOutOfRangeDaysBeepAndClamp)
{
    CDlgExpiryDate dlg;
    dlg.SetUp("C:\\a.txt", nullptr, 0);
    time_t nFiveBack = 0;
    CString strClamped, strFromDate;
    ULONG nBeeps = 0;
    CDialogScript script;
    script.Check(IDC_EXPIRES)
        .SetText(IDC_EXPIRY_DAYS, "-5")
        .Then([&](HWND hDlg) {
            nFiveBack = PickerDay(hDlg);
            nBeeps = GetMessageBeepCount();
        })
        .SetText(IDC_EXPIRY_DAYS, "-1500")
        .Then([&](HWND hDlg) { strClamped = CTestDriver::Text(::GetDlgItem(hDlg, IDC_EXPIRY_DAYS)); })
        .SetDate(IDC_EXPIRY_PICKER,
            [] {
                const CTime in20(Today() + 20 * DAY);
                SYSTEMTIME st {};
                st.wYear = static_cast<WORD>(in20.GetYear());
                st.wMonth = static_cast<WORD>(in20.GetMonth());
                st.wDay = static_cast<WORD>(in20.GetDay());
                st.wHour = 9;
                return st;
            }())
        .Then([&](HWND hDlg) { strFromDate = CTestDriver::Text(::GetDlgItem(hDlg, IDC_EXPIRY_DAYS)); })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(nFiveBack, Today() - 5 * DAY);
    EXPECT_EQ(strClamped, CString("-999"));
    EXPECT_EQ(GetMessageBeepCount(), nBeeps + 1);
    EXPECT_EQ(strFromDate, CString("20"));
    EXPECT_EQ(CTime(dlg.GetExpiry()).GetDay(), CTime(Today() + 20 * DAY).GetDay());
}

TEST_F(AttributeDialogsTest, DaysBeyondThePickersLastDayAreClampedToIt)
{
    CManualClock clock;
    clock.SetUtcNow((CTime(2030, 6, 1, 12, 0, 0).GetTime() + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
    CClockOverride useClock(clock);
    CDlgExpiryDate dlg;
    dlg.SetUp("C:\\a.txt", nullptr, 0);
    CString strDays;
    const ULONG nBeeps = GetMessageBeepCount();
    CDialogScript script;
    script.Check(IDC_EXPIRES)
        .SetText(IDC_EXPIRY_DAYS, "900")
        .Then([&](HWND hDlg) { strDays = CTestDriver::Text(::GetDlgItem(hDlg, IDC_EXPIRY_DAYS)); })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strDays, CString("213")) << "the days to the last day the picker holds";
    EXPECT_EQ(GetMessageBeepCount(), nBeeps + 1);
    const CTime kept(dlg.GetExpiry());
    EXPECT_EQ(kept.GetYear(), 2030);
    EXPECT_EQ(kept.GetMonth(), 12);
    EXPECT_EQ(kept.GetDay(), 31) << "the date shown is the date kept";
}

TEST_F(AttributeDialogsTest, ANumberlessDocumentOpensOnNoneWithOneShownAndNoneGivesZero)
{
    CDlgSetNumber none;
    none.SetUp(nullptr, "C:\\a.txt", 0);
    CString strShown;
    BOOL bEditEnabled = TRUE;
    CDialogScript keep;
    keep.Then([&](HWND hDlg) {
            strShown = CTestDriver::Text(::GetDlgItem(hDlg, IDC_VERSION_NUMBER));
            bEditEnabled = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_VERSION_NUMBER));
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_VERSION_NONE)));
        })
        .Press(IDOK);
    Answer(keep);
    EXPECT_EQ(none.DoModal(), IDOK);
    EXPECT_EQ(strShown, CString("1"));
    EXPECT_FALSE(bEditEnabled);
    EXPECT_EQ(none.GetNumber(), 0);

    CDlgSetNumber numbered;
    numbered.SetUp(nullptr, "C:\\a.txt", 0);
    CDialogScript choose;
    choose.Check(IDC_VERSION_SET)
        .SetText(IDC_VERSION_NUMBER, "12")
        .Press(IDOK)
        .SetText(IDC_VERSION_NUMBER, "7")
        .Press(IDOK);
    Answer(choose);
    AnswerMessage();
    EXPECT_EQ(numbered.DoModal(), IDOK);
    EXPECT_EQ(numbered.GetNumber(), 7);
    EXPECT_EQ(m_messages.size(), 1u) << "12 is refused by the range check";

    CDlgSetNumber removed;
    removed.SetUp(nullptr, "C:\\a.txt", 4);
    CDialogScript remove;
    remove.Check(IDC_VERSION_NONE).Press(IDOK);
    Answer(remove);
    EXPECT_EQ(removed.DoModal(), IDOK);
    EXPECT_EQ(removed.GetNumber(), 0);
}

TEST_F(AttributeDialogsTest, OpenActionsMapToTheirButtonsBothWays)
{
    for (BOOL bFile : { TRUE, FALSE }) {
        for (DWORD dwValue = 0; dwValue < 5; ++dwValue) {
            const int nChoice = CDlgSetOption::ChoiceOfValue(dwValue, bFile);
            if (bFile && dwValue == 4)
                EXPECT_EQ(nChoice, 0);
            else
                EXPECT_EQ(CDlgSetOption::ValueOfChoice(nChoice, bFile), dwValue) << bFile << " " << dwValue;
        }
        EXPECT_EQ(CDlgSetOption::ChoiceOfValue(9, bFile), 0);
        EXPECT_EQ(CDlgSetOption::ValueOfChoice(5, bFile), 0u);
    }
    EXPECT_EQ(CDlgSetOption::ValueOfChoice(2, TRUE), 0u) << "the hidden button of a file";
}

TEST_F(AttributeDialogsTest, AFileHidesItsThirdChoiceAndAMessageNamesItsFive)
{
    CDlgSetOption file;
    file.SetUp(nullptr, "C:\\a.txt", 4, TRUE);
    BOOL bThirdShown = TRUE;
    CDialogScript keep;
    keep.Then([&](HWND hDlg) {
            bThirdShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_OPEN_ACTION_2));
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_OPEN_ACTION_0)));
        })
        .Press(IDOK);
    Answer(keep);
    EXPECT_EQ(file.DoModal(), IDOK);
    EXPECT_FALSE(bThirdShown);
    EXPECT_EQ(file.GetValueFromChoice(), 0u);

    CDlgSetOption mail;
    mail.SetUp(nullptr, "C:\\mail\\Inbox", 2, FALSE);
    std::vector<CString> texts;
    CDialogScript choose;
    choose
        .Then([&](HWND hDlg) {
            for (int nId = IDC_OPEN_ACTION_0; nId <= IDC_OPEN_ACTION_4; ++nId)
                texts.push_back(CTestDriver::Text(::GetDlgItem(hDlg, nId)));
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_OPEN_ACTION_3))) << "action 2";
        })
        .Check(IDC_OPEN_ACTION_2)
        .Press(IDOK);
    Answer(choose);
    EXPECT_EQ(mail.DoModal(), IDOK);
    EXPECT_EQ(texts,
        (std::vector<CString> { Text(IDS_OPEN_MAIL_REPLY), Text(IDS_OPEN_MAIL_REPLY_ALL), Text(IDS_OPEN_MAIL_AS_NEW),
            Text(IDS_OPEN_MAIL_FORWARD), Text(IDS_OPEN_MAIL_CLIENT) }));
    EXPECT_EQ(mail.GetValueFromChoice(), 3u);
}
