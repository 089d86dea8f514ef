#include "dialogs/documents/CDlgPassword.h"

#include "dialogs/documents/CDlgNewPassword.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

namespace {

using PasswordDialogsTest = DialogTest;

} // namespace

TEST_F(PasswordDialogsTest, AWrongPasswordIsRefusedWithTheTextSelectedAndTheRightOneAccepted)
{
    CDlgPassword dlg;
    dlg.SetUp(nullptr, "C:\\docs\\plan.odt", "Secret", CDlgPassword::PLAIN, TRUE);
    BOOL bNewShown = TRUE;
    CString strPath;
    DWORD dwSelection = 0;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            bNewShown = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_NEW_PASSWORD));
            strPath = CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_PATH));
        })
        .SetText(IDC_PASSWORD, "secret")
        .Press(IDOK)
        .Then([&](HWND hDlg) {
            dwSelection = static_cast<DWORD>(::SendDlgItemMessage(hDlg, IDC_PASSWORD, EM_GETSEL, 0, 0));
        })
        .SetText(IDC_PASSWORD, "Secret")
        .Press(IDOK);
    Answer(script);
    AnswerMessage();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPassword(), CString("Secret"));
    EXPECT_FALSE(bNewShown) << "the plain question has no new-password rows";
    EXPECT_EQ(strPath, CString("C:\\docs\\plan.odt"));
    EXPECT_EQ(dwSelection, MAKELONG(0, 6)) << "the wrong text is selected for typing again";
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], Text(IDS_WRONG_PASSWORD));
}

TEST_F(PasswordDialogsTest, ChangingGivesTheNewPasswordTheOldOneOrNoneWhenRemoved)
{
    struct Case {
        LPCTSTR pszNew;
        LPCTSTR pszConfirm;
        bool bRemove;
        LPCTSTR pszExpected;
    };
    for (const Case& c :
        { Case { "fresh", "fresh", false, "fresh" }, Case { "", "", false, "old" }, Case { "fresh", "", true, "" } }) {
        CDlgPassword dlg;
        dlg.SetUp(nullptr, "C:\\a.txt", "old", CDlgPassword::CHANGE, FALSE);
        CDialogScript script;
        script.SetText(IDC_PASSWORD, "old")
            .SetText(IDC_NEW_PASSWORD, c.pszNew)
            .SetText(IDC_CONFIRM_PASSWORD, c.pszConfirm);
        if (c.bRemove)
            script.Check(IDC_REMOVE_PROTECTION);
        script.Press(IDOK);
        Answer(script);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetPassword(), CString(c.pszExpected)) << c.pszNew;
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(PasswordDialogsTest, NewPasswordsMustAgreeAndAreCutToTheDocumentsLength)
{
    CDlgNewPassword dlg;
    dlg.SetUp(nullptr, "C:\\mail\\message", FALSE);
    CDialogScript script;
    script.SetText(IDC_NEW_PASSWORD, "one")
        .SetText(IDC_CONFIRM_PASSWORD, "two")
        .Press(IDOK)
        .Then([](HWND hDlg) {
            // A user cannot type past the limit of a message's password.
            ::SetFocus(::GetDlgItem(hDlg, IDC_NEW_PASSWORD));
            ::SendDlgItemMessage(hDlg, IDC_NEW_PASSWORD, EM_SETSEL, 0, -1);
            ::SendDlgItemMessage(
                hDlg, IDC_NEW_PASSWORD, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("abcdefghijklmnop"));
        })
        .SetText(IDC_CONFIRM_PASSWORD, "abcdefghij")
        .Press(IDOK);
    Answer(script);
    AnswerMessage();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPassword(), CString("abcdefghij"));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], Text(IDS_PASSWORD_MISMATCH));
}
