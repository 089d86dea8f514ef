#include "dialogs/documents/CDlgNewExtension.h"

#include "dialogs/documents/CDlgNetworkLogon.h"
#include "dialogs/documents/CDlgWALog.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/DriveTable.h"
#include "platform/base/WinError.h"
#include "platform/controls/ListBoxControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class SmallDialogsTest : public DialogTest {
protected:
    // Types pszTyped and presses OK; a refused text is followed by Cancel.
    INT_PTR RunExtension(CDlgNewExtension& dlg, LPCTSTR pszTyped, bool bRefused)
    {
        CDialogScript script;
        script.SetText(IDC_EXTENSION, pszTyped).Press(IDOK);
        if (bRefused)
            script.Press(IDCANCEL);
        Answer(script);
        if (bRefused)
            AnswerMessage();
        return dlg.DoModal();
    }
};

} // namespace

TEST_F(SmallDialogsTest, ExtensionsGetOneLeadingDotAndDoubleOrEmptyOnesAreRefused)
{
    for (LPCTSTR pszTyped : { ".doc", "doc", "  doc ", " .doc" }) {
        CDlgNewExtension dlg;
        EXPECT_EQ(RunExtension(dlg, pszTyped, false), IDOK) << pszTyped;
        EXPECT_EQ(dlg.GetExtension(), CString(".doc")) << pszTyped;
    }
    EXPECT_TRUE(m_messages.empty());

    CDlgNewExtension twice;
    EXPECT_EQ(RunExtension(twice, ".tar.gz", true), IDCANCEL);
    CDlgNewExtension blank;
    EXPECT_EQ(RunExtension(blank, "   ", true), IDCANCEL);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], Text(IDS_EXTENSION_DOUBLE));
    EXPECT_EQ(m_messages[1], Text(IDS_EXTENSION_EMPTY));
}

TEST_F(SmallDialogsTest, LogonConnectsAMountedShareAndClosesOnAMissingOneAfterItsError)
{
    const std::filesystem::path share = Home() / "docs-share";
    std::filesystem::create_directories(share);
    const std::string strMounts
        = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n4 1 0:51 / " + share.string() + " rw - cifs //nas/docs rw\n";
    ReloadDriveTable(strMounts.c_str());

    CDlgNetworkLogon mounted("\\\\nas\\docs", nullptr);
    CDialogScript connect;
    connect.SetText(IDC_PASSWORD, "secret").Press(IDOK);
    Answer(connect);
    EXPECT_EQ(mounted.DoModal(), IDOK);
    EXPECT_TRUE(m_messages.empty());

    CDlgNetworkLogon missing("\\\\nas\\gone", "N:");
    CDialogScript refused;
    refused.Press(IDOK);
    Answer(refused);
    AnswerMessage();
    EXPECT_EQ(missing.DoModal(), IDCANCEL);
    ASSERT_EQ(m_messages.size(), 1u);
    CString strExpected;
    strExpected.Format(IDS_LOGON_FAILED, static_cast<int>(ERROR_BAD_NET_NAME));
    EXPECT_EQ(m_messages[0], strExpected);
    ResetDriveTable();
}

TEST_F(SmallDialogsTest, LogShowsTheNewestLineSelectedAndClearEmptiesTheServiceLinesOnlyAfterYes)
{
    std::vector<CString> lines { "Dec 07, 2026  10:00:00 - started", "Dec 07, 2026  10:00:01 - a request" };
    CDlgWALog dlg(lines);
    std::vector<CString> shown;
    int nSelected = -1;
    BOOL bClearEnabled = FALSE;
    LRESULT nExtent = 0;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            dlg.AddLine("Dec 07, 2026  10:00:02 - a much longer line than the others, to widen the list");
            HWND hList = ::GetDlgItem(hDlg, IDC_LOG_LIST);
            shown = CTestDriver::Items(hList);
            nSelected = CTestDriver::Selection(hList);
            nExtent = ::SendMessage(hList, LB_GETHORIZONTALEXTENT, 0, 0);
            bClearEnabled = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_LOG_CLEAR));
        })
        .Press(IDC_LOG_CLEAR)
        .Then([&](HWND hDlg) { EXPECT_EQ(CTestDriver::Items(::GetDlgItem(hDlg, IDC_LOG_LIST)).size(), 3u); })
        .Press(IDC_LOG_CLEAR)
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(CTestDriver::Items(::GetDlgItem(hDlg, IDC_LOG_LIST)).empty());
            EXPECT_FALSE(CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_LOG_CLEAR)));
        })
        .Press(IDCANCEL);
    Answer(script);
    AnswerMessage(IDNO);
    AnswerMessage(IDYES);
    dlg.DoModal();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(nSelected, 2) << "the newest line is selected, so the list ends scrolled to it";
    EXPECT_TRUE(bClearEnabled);
    EXPECT_GT(nExtent, 300) << "the list scrolls across the longest line";
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], Text(IDS_WA_LOG_CLEAR));
    EXPECT_TRUE(lines.empty()) << "the service's lines go with the list";
}
