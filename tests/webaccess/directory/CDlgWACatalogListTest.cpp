#include "webaccess/directory/CDlgWACatalogList.h"

#include "platform/testing/DialogScript.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "tests/ui/MessageBoxAnswers.h"
#include "tests/ui/ProgramModule.h"
#include "tests/webaccess/directory/FakeDirectorySite.h"
#include "webaccess/directory/CWAHttpQuery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The catalog list against the fake directory server.
class CDlgWACatalogListTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_module.Handle(), nullptr); }
    void TearDown() override { EXPECT_TRUE(m_driver.ScriptErrors().empty()); }

    // The lines of the list when it shows, then the script's own ending.
    CDialogScript ReadLines(std::vector<std::string>& lines)
    {
        CDialogScript script;
        script.Then([&lines](HWND hDlg) {
            HWND hList = GetDlgItem(hDlg, IDC_WA_CATALOG_LINES);
            int nCount = static_cast<int>(SendMessage(hList, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < nCount; ++i) {
                char szLine[600] = "";
                SendMessage(hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(szLine));
                lines.emplace_back(szLine);
            }
        });
        return script;
    }

    CTestDriver m_driver;
    ProgramModule m_module;
    FakeDirectorySite m_site;
    CFakeDirectoryServer& m_server { m_site.m_server };
};

TEST_F(CDlgWACatalogListTest, ListsTheAccountsCatalogsAndOkTakesTheChosenOne)
{
    m_server.SetReply("<#WARC |0| |ok| <#CAT |Docs| |C0DE42| <#CAT |Mail| |M4IL00| <#END#>");
    std::vector<std::string> lines;
    m_driver.AnswerNextDialog(std::move(ReadLines(lines).Select(IDC_WA_CATALOG_LINES, 1).Press(IDOK)));
    CDlgWACatalogList dlg("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_server.LastQuery(), "Ulog=ana&Upas=pw");
    EXPECT_EQ(lines, (std::vector<std::string> { "Docs-C0DE42", "Mail-M4IL00" }));
    ASSERT_EQ(dlg.m_nSelected, 1);
    EXPECT_EQ(std::string(dlg.m_catalogs[1].strCode), "M4IL00");
}

TEST_F(CDlgWACatalogListTest, RetryAfterAnEmptyListShowsOnlyTheNewReply)
{
    // A list cut short (no end token) is the empty case; Retry must not keep its catalog.
    m_server.SetReply("<#WARC |0| |ok| <#CAT |Old| |0LD000|");
    std::string strMessage;
    m_driver.OnNextDialog([&](HWND hBox) {
        char szText[512] = "";
        GetDlgItemText(hBox, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
        strMessage = szText;
        m_server.SetReply("<#WARC |0| |ok| <#CAT |New| |N3W000| <#END#>");
        EndDialog(hBox, IDRETRY);
    });
    std::vector<std::string> lines;
    m_driver.AnswerNextDialog(std::move(ReadLines(lines).Press(IDOK)));
    CDlgWACatalogList dlg("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CString strExpected;
    strExpected.LoadString(IDS_WA_NO_CATALOGS);
    EXPECT_EQ(strMessage, std::string(strExpected));
    EXPECT_EQ(lines, (std::vector<std::string> { "New-N3W000" }));
    EXPECT_EQ(dlg.m_nSelected, 0);
}

TEST_F(CDlgWACatalogListTest, CancelledOrRefusedListingsNeverShowTheDialog)
{
    m_server.SetReply("<#WARC |0| |ok|<#END#>");
    m_driver.AnswerNextMessageBox(IDCANCEL);
    CDlgWACatalogList empty("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(empty.DoModal(), IDCANCEL);

    m_server.SetReply("<html>down</html>");
    m_driver.AnswerNextMessageBox(IDRETRY);
    m_driver.AnswerNextMessageBox(IDCANCEL);
    CDlgWACatalogList transport("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(transport.DoModal(), IDCANCEL);

    m_server.SetReply("<#WARC |12| |Unknown user|#>");
    m_driver.AnswerNextMessageBox(IDOK);
    CDlgWACatalogList refused("ana", "pw", WA_CONN_LAN);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    EXPECT_EQ(m_server.Requests().size(), 4U);
    EXPECT_EQ(refused.m_nSelected, -1);
}

TEST_F(CDlgWACatalogListTest, EachReplyFormGivesItsLinesOrTheEmptyCase)
{
    const struct {
        const char* pszReply;
        std::vector<std::string> lines; // none: the empty case
    } forms[] = {
        { "<#WARC |0| |ok|\r\n<#CAT |My docs| |C1|\r\n<#END#>", { "My docs-C1" } },
        { "<#WARC |0| |ok| <#CAT |Tab\there| |C\x01| <#END#>", { "Tab here-C " } },
        { "<#WARC |0| |ok|<#END#>", {} },
        { "<#WARC |0| |ok| <#CAT |A| |1| <#OTHER#><#END#>", {} },
        { "<#WARC |0| |ok| <#CAT |A| |1<#END#>", {} },
        { "<#WARC |0| |ok| <#CAT |A| |1|", {} },
    };
    const std::string strEmpty = Loaded(IDS_WA_NO_CATALOGS);
    for (const auto& form : forms) {
        m_server.SetReply(form.pszReply);
        std::vector<std::string> lines;
        std::vector<std::string> messages;
        if (form.lines.empty())
            AnswerNextMessageBox(m_driver, messages, IDCANCEL);
        else
            m_driver.AnswerNextDialog(std::move(ReadLines(lines).Press(IDOK)));
        CDlgWACatalogList dlg("ana", "pw", WA_CONN_LAN);
        EXPECT_EQ(dlg.DoModal(), form.lines.empty() ? IDCANCEL : IDOK) << form.pszReply;
        EXPECT_EQ(lines, form.lines) << form.pszReply;
        EXPECT_EQ(messages, form.lines.empty() ? std::vector<std::string> { strEmpty } : std::vector<std::string> {})
            << form.pszReply;
    }
}

} // namespace
