// A program's dialog end to end: a template from a compiled resource script,
// run modally, filled in by the test driver as a user would, read back
// through data exchange, and its picture compared with a reference.

#include "tests/platform/sample/SampleDialogSupport.h"

#include "platform/testing/TestDriver.h"

namespace {

using SampleDialogTest = SampleDialogFixture;

}

TEST_F(SampleDialogTest, ValuesTypedAndClickedComeBackThroughDataExchangeOnOk)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    bool bShownAsLoaded = false;
    driver.OnNextDialog([&](HWND hDlg) {
        HWND hTitle = GetDlgItem(hDlg, IDC_TITLE);
        bShownAsLoaded = CTestDriver::Text(hTitle) == "Annual report" && GetFocus() == hTitle
            && CTestDriver::IsChecked(GetDlgItem(hDlg, IDC_KIND_INVOICE))
            && SendDlgItemMessage(hDlg, IDC_STATE, LB_GETCURSEL, 0, 0) == 1
            && SendDlgItemMessage(hDlg, IDC_FOLDER, CB_GETCURSEL, 0, 0) == 0 && ShownIcon(hDlg) != nullptr;
        // The title is selected on entry, so typing replaces it.
        driver.TypeText("Quarterly report");
        HWND hReadOnly = GetDlgItem(hDlg, IDC_READ_ONLY);
        driver.Click(hReadOnly, Middle(hReadOnly).x, Middle(hReadOnly).y);
        HWND hOther = GetDlgItem(hDlg, IDC_KIND_OTHER);
        driver.Click(hOther, Middle(hOther).x, Middle(hOther).y);
        HWND hState = GetDlgItem(hDlg, IDC_STATE);
        RECT rcItem {};
        SendMessage(hState, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
        driver.Click(hState, rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2);
        // A drop-down list takes the arrow keys without opening.
        HWND hFolder = GetDlgItem(hDlg, IDC_FOLDER);
        SetFocus(hFolder);
        driver.PressKey(VK_DOWN);
        driver.Pump();
        ExpectPictureMatches(CaptureWindowImage(hDlg), "document_properties.png");
        HWND hOk = GetDlgItem(hDlg, IDOK);
        driver.Click(hOk, Middle(hOk).x, Middle(hOk).y);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bShownAsLoaded) << "the members went into the controls before the user saw them";
    EXPECT_STREQ(dlg.m_strTitle, "Quarterly report");
    EXPECT_EQ(dlg.m_nReadOnly, BST_CHECKED);
    EXPECT_EQ(dlg.m_nKind, 2);
    EXPECT_STREQ(dlg.m_strState, "Archived");
    EXPECT_EQ(dlg.m_nFolder, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST_F(SampleDialogTest, EscapeLeavesTheMembersAsTheyWere)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    driver.OnNextDialog([&](HWND hDlg) {
        driver.TypeText("Scratch");
        HWND hReadOnly = GetDlgItem(hDlg, IDC_READ_ONLY);
        driver.Click(hReadOnly, Middle(hReadOnly).x, Middle(hReadOnly).y);
        driver.PressKey(VK_ESCAPE);
    });
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strTitle, "Annual report");
    EXPECT_EQ(dlg.m_nReadOnly, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_nKind, 1);
    EXPECT_STREQ(dlg.m_strState, "Final");
}

TEST_F(SampleDialogTest, TheTitleTakesNoMoreThanItsCheckAllows)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    driver.OnNextDialog([&](HWND hDlg) {
        // Loading the check limits the edit, so the user cannot type past it.
        driver.TypeText("A title of far more than forty characters in all");
        HWND hOk = GetDlgItem(hDlg, IDOK);
        driver.Click(hOk, Middle(hOk).x, Middle(hOk).y);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strTitle, "A title of far more than forty character");
}
