// The operation, daily notice, orphan and set-up questions under the test driver.

#include "dialogs/setup/CDlgConfirmSetup.h"
#include "dialogs/setup/CDlgDailyNotice.h"
#include "dialogs/setup/CDlgOperationInProgress.h"
#include "dialogs/setup/CDlgOrphanWarning.h"

#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/setup/SmallDialogTest.h"

namespace {

using SmallDialogsTest = SmallDialogTest;

TEST_F(SmallDialogsTest, OperationStopsOnlyWhenTheUserConfirms)
{
    CDialogScript script;
    script.Press(IDCANCEL).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox(IDNO); // the dialog stays
    AnswerMessageBox(IDYES);
    CDlgOperationInProgress stopped;
    EXPECT_EQ(stopped.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages, (std::vector<std::string> { Loaded(IDS_STOP_OPERATION), Loaded(IDS_STOP_OPERATION) }));

    // Esc and the close box ask too; No keeps the dialog.
    CDialogScript goOn;
    goOn.Then([this](HWND) { EXPECT_TRUE(m_driver.PressKey(VK_ESCAPE)); })
        .Then([](HWND hDlg) { ::SendMessage(hDlg, WM_CLOSE, 0, 0); })
        .Press(IDOK);
    m_driver.AnswerNextDialog(std::move(goOn));
    AnswerMessageBox(IDNO);
    AnswerMessageBox(IDNO);
    CDlgOperationInProgress continued;
    EXPECT_EQ(continued.DoModal(), IDOK);
    EXPECT_EQ(m_messages.size(), 4U);
}

TEST_F(SmallDialogsTest, DailyNoticeShowsTheCountAndTheDayItOpensWrittenOut)
{
    // The driver's clock stands at 2020-01-01 00:00 UTC.
    UtcZone zone;
    CString strTitle;
    CString strDate;
    CDialogScript script;
    script.Then([&](HWND hDlg) {
        strTitle = CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_DAILY_NOTICE_TITLE));
        strDate = CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_NOTICE_TEXT));
    });
    script.Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    CDlgDailyNotice dlg;
    dlg.m_nCount = 7;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::string(strTitle), "7 documents have reached their expiry date.");
    EXPECT_EQ(std::string(strDate), Loaded(IDS_DAILY_NOTICE_DATE) + "Wednesday, January 01, 2020");
}

TEST_F(SmallDialogsTest, OrphanWarningStartsUncheckedAndReportsTheBox)
{
    BOOL bShownChecked = TRUE;
    CDialogScript no;
    no.Then(
        [&](HWND hDlg) { bShownChecked = CTestDriver::IsChecked(CTestDriver::FindChild(hDlg, IDC_NOTICE_DONT_ASK)); });
    no.Press(IDNO);
    m_driver.AnswerNextDialog(std::move(no));
    CDlgOrphanWarning left;
    left.m_bDontAsk = TRUE;
    EXPECT_EQ(left.DoModal(), IDNO);
    EXPECT_FALSE(bShownChecked);
    EXPECT_FALSE(left.m_bDontAsk);

    CDialogScript yes;
    yes.Check(IDC_NOTICE_DONT_ASK).Press(IDYES);
    m_driver.AnswerNextDialog(std::move(yes));
    CDlgOrphanWarning gathered;
    EXPECT_EQ(gathered.DoModal(), IDYES);
    EXPECT_TRUE(gathered.m_bDontAsk);
}

TEST_F(SmallDialogsTest, ConfirmSetupEndsAsItsButtons)
{
    for (int nButton : { IDOK, IDCANCEL }) {
        CDialogScript script;
        script.Press(nButton);
        m_driver.AnswerNextDialog(std::move(script));
        CDlgConfirmSetup dlg;
        EXPECT_EQ(dlg.DoModal(), nButton);
    }
}

} // namespace
