// The program's first start with the mail a user has: a Thunderbird profile
// whose local folders hold written messages and copies of the shared real
// mail folders, and an Outlook Express 5 identity holding a real message
// folder. The set-up wizard runs both ways, each mail folder checked, and the
// messages are then where the user looks for them: in the tree's unsorted
// documents, in the list under their subjects as written, and found by Find;
// the monitor notices new mail after a list window came and went, and a delete
// says what it does to the mail folder, in its question and in the command's
// words.

#include "tests/app/FirstStartFixture.h"

#include "catalog/CTextSearch.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CSisTreeView.h"
#include "monitor/CNewDocMonitor.h"
#include "store/CatalogColumns.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CToolBar.h"
#include "platform/window/Menu.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr char LOCAL_FOLDERS[] = "home/.thunderbird/x1.default/Mail/Local Folders";
constexpr char OE5_FOLDER[] = "home/oe5/main";

// A message as a Mozilla-family client writes it: separator, status line, headers.
std::string MozillaMessage(const std::string& strSubject, const std::string& strBody, const char* pszStatus = "0001")
{
    std::string strMessage = "From - Mon Jan  2 15:04:05 2006\n";
    if (pszStatus)
        strMessage += std::string("X-Mozilla-Status: ") + pszStatus + "\n";
    return strMessage + "From: Ana <ana@example.com>\nTo: Bo <bo@example.com>\nSubject: " + strSubject
        + "\nDate: Mon, 2 Jan 2006 15:04:05 +0000\n\n" + strBody + "\n";
}

std::string ReadAll(const fs::path& path)
{
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

class ProgramMailTest : public FirstStartTest {
protected:
    void SetUp() override
    {
        FirstStartTest::SetUp();
        const std::optional<fs::path> source = PrepareMailUser();
        if (!source)
            GTEST_SKIP() << "the shared mail folders are absent";
        m_drive.WriteFile(std::string(LOCAL_FOLDERS) + "/Inbox",
            MozillaMessage("Quarterly Report", "Figures attached.") + MozillaMessage("Lunch on Friday", "At noon?"));
        // Written by a client that keeps no status lines, behind a byte order mark.
        m_drive.WriteFile(std::string(LOCAL_FOLDERS) + "/Archive",
            "\xEF\xBB\xBF" + MozillaMessage("Old Plans", "Kept for reference.", nullptr));
        fs::copy_file(*source / "mozilla-mbox/spool-3-messages.mbox", m_drive.Path() / LOCAL_FOLDERS / "Spool");
        // An Outlook Express 5 identity and its message folder.
        fs::create_directories(m_drive.Path() / OE5_FOLDER);
        fs::copy_file(*source / "oe5-dbx/one-message-a.dbx", m_drive.Path() / OE5_FOLDER / "Inbox.dbx");
        const std::string strIdentity = "Identities\\{11111111-2222-3333-4444-555555555555}";
        SetUserString(strIdentity, "Username", "Main Identity");
        SetUserString(strIdentity + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
            ProgramPathFromHostPath((m_drive.Path() / OE5_FOLDER).string()));
    }

    static void SetUserString(const std::string& strKey, const char* pszValue, const std::string& strData)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(
            RegCreateKeyEx(HKEY_CURRENT_USER, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(hKey, pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                      static_cast<DWORD>(strData.size() + 1)),
            ERROR_SUCCESS);
        RegCloseKey(hKey);
    }

    // The wizard to the mail page, which lists both users; every folder of
    // each is checked. Then the mode page: by folders (C:\docs checked) or by
    // the "Student" usage.
    void RunSetup(bool bFolderMode)
    {
        WriteFile("docs/a.txt");
        CDialogScript script;
        ChooseNetworkLocation(ChooseTextDocuments(script)).Press(ID_WIZNEXT);
        script.Then([this](HWND hDlg) {
            HWND hUsers = CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_USERS);
            HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_MAIL_FOLDERS);
            for (const CString& strUser : CTestDriver::Items(hUsers))
                m_mailUsers.emplace_back(strUser);
            for (int nUser = 0; nUser < static_cast<int>(m_mailUsers.size()); ++nUser) {
                ::SendMessage(hUsers, LB_SETCURSEL, nUser, 0);
                ::SendMessage(::GetParent(hUsers), WM_COMMAND, MAKEWPARAM(IDC_SETUP_MAIL_USERS, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(hUsers));
                for (const CString& strTop : CTestDriver::TreeChildren(hTree, nullptr))
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, CTestDriver::TreeItem(hTree, { strTop })));
            }
        });
        script.Press(ID_WIZNEXT);
        if (bFolderMode) {
            script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT).Then([this](HWND hDlg) {
                HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
                for (const CString& strTop : CTestDriver::TreeChildren(hTree, nullptr)) {
                    if (const HTREEITEM hItem = CTestDriver::TreeItem(hTree, { strTop, "docs" })) {
                        EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hItem));
                    }
                }
            });
            script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
            m_driver.AnswerNextDialog(std::move(script));
        } else {
            script.Press(ID_WIZNEXT);
            ChooseStudentUsage(script);
            // The groups as offered; the wizard asks whether groups without keywords or folders may stay.
            script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
            m_driver.AnswerNextDialog(std::move(script));
            AnswerMessage(IDYES);
        }
        ASSERT_TRUE(Start()) << ::testing::PrintToString(m_driver.ScriptErrors());
        m_messages.clear();
    }

    // The subjects the list shows for the tree's unsorted documents.
    std::set<std::string> UnsortedSubjects()
    {
        CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
        CString strUnsorted;
        strUnsorted.LoadString(IDS_TOP_NODE3_NAME);
        const HTREEITEM hUnsorted = CTestDriver::TreeItem(tree.m_hWnd, { strUnsorted });
        EXPECT_NE(hUnsorted, nullptr) << "the tree shows the unsorted documents";
        if (!hUnsorted)
            return {};
        EXPECT_TRUE(m_driver.ClickTreeItem(tree.m_hWnd, hUnsorted));
        m_driver.Advance(CSplitterFrame::CLICK_DELAY);
        CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
        list.WaitForFill(TRUE);
        std::set<std::string> subjects;
        for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
            subjects.emplace(list.GetItemText(nRow, list.FindColumn(COLUMN_NAME)));
        return subjects;
    }
    // The row of the list showing the subject; -1 when none does.
    int RowOf(CArqListCtrl& list, const char* pszSubject)
    {
        for (int nRow = 0; nRow < list.GetItemCount(); ++nRow) {
            if (list.GetItemText(nRow, list.FindColumn(COLUMN_NAME)) == CString(pszSubject))
                return nRow;
        }
        return -1;
    }
    // Find with its results in the list window: the phrase in the documents' names.
    CDlgSearchResults* FindIntoTheListWindow(const char* pszPhrase)
    {
        ChooseFindIntoResultsWindow(pszPhrase, CTextSearch::FIELD_NAME);
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDOK); });
        Command(ID_CATALOG_FIND);
        CDlgSearchResults* pResults = MainFrame()->GetDragBar().GetList().GetSearchResultsWindow();
        if (pResults)
            pResults->GetList().WaitForFill(TRUE);
        return pResults;
    }
    // Every message with a subject lies with the unsorted documents and shows it as written.
    void ExpectMessagesWhereTheUserLooks()
    {
        const std::set<std::string> subjects = UnsortedSubjects();
        for (const char* pszSubject :
            { "Quarterly Report", "Lunch on Friday", "Old Plans", "Please read you won't be sorry........" })
            EXPECT_TRUE(subjects.contains(pszSubject)) << pszSubject << " in " << ::testing::PrintToString(subjects);
        EXPECT_GE(subjects.size(), 7u) << "the spool's three messages too";
        // A message's folder is its mailbox's name, not the catalog's key of it.
        CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
        const int nRow = RowOf(list, "Quarterly Report");
        ASSERT_GE(nRow, 0);
        EXPECT_EQ(std::string(list.GetItemText(nRow, list.FindColumn(COLUMN_LABEL))), "default\\Local Folders\\Inbox");

        CDlgSearchResults* pResults = FindIntoTheListWindow("quarterly");
        ASSERT_NE(pResults, nullptr);
        ASSERT_EQ(pResults->GetList().GetItemCount(), 1);
        EXPECT_EQ(std::string(pResults->GetList().GetItemText(0, pResults->GetList().FindColumn(COLUMN_NAME))),
            "Quarterly Report");
    }

    /* The words of the delete command where the user meets it. */

    static std::string RecycleWords(HMENU hMenu)
    {
        char szText[128] {};
        ::GetMenuString(hMenu, ID_DOC_RECYCLE, szText, sizeof(szText), MF_BYCOMMAND);
        return szText;
    }
    std::string RowMenuWords(CArqListCtrl& list, int nRow)
    {
        std::string strWords;
        m_driver.OnNextMenu([&strWords](HMENU hMenu) {
            strWords = RecycleWords(hMenu);
            return 0U;
        });
        CRect rc;
        EXPECT_TRUE(list.GetItemRect(nRow, &rc, LVIR_LABEL));
        m_driver.Advance(::GetDoubleClickTime() + 1); // a click of its own
        EXPECT_TRUE(m_driver.RightClick(list.GetSafeHwnd(), rc.left + 4, (rc.top + rc.bottom) / 2));
        return strWords;
    }
    // The Document menu of the menu bar, opened from the keyboard.
    std::string DocumentMenuWords()
    {
        std::string strWords;
        m_driver.OnNextMenu([&strWords](HMENU hMenu) {
            strWords = RecycleWords(hMenu);
            return 0U;
        });
        EXPECT_TRUE(m_driver.PressKey('D', CTestDriver::ALT));
        m_driver.Pump();
        return strWords;
    }
    // The tip of the toolbar's delete button as it shows when the mouse rests on it.
    std::string ButtonTip()
    {
        CToolBar& toolBar = MainFrame()->GetToolBar();
        CRect rcButton;
        toolBar.GetItemRect(toolBar.CommandToIndex(ID_DOC_RECYCLE), &rcButton);
        App().OnIdle(0); // the buttons follow the selection when the program is idle
        EXPECT_TRUE(m_driver.Hover(toolBar.GetSafeHwnd(), rcButton.left + 4, rcButton.top + 4));
        m_driver.Advance(::GetDoubleClickTime() + 10);
        std::string strTip(CTestDriver::ShownTipText());
        // The mouse leaves, so that the next rest shows the tip anew.
        EXPECT_TRUE(m_driver.Hover(MainFrame()->GetSafeHwnd(), 1, 1));
        return strTip;
    }

    Names m_mailUsers;
};

} // namespace

TEST_F(ProgramMailTest, BySystemsTheMessagesAreWhereTheUserLooksUnderTheirSubjects)
{
    RunSetup(false);
    EXPECT_EQ(m_mailUsers, (Names { "default ( Thunderbird )", "Main Identity ( Outlook Express 5 )" }));
    ExpectMessagesWhereTheUserLooks();
}

TEST_F(ProgramMailTest, ByFoldersTheMessagesAreWhereTheUserLooksUnderTheirSubjects)
{
    RunSetup(true);
    ExpectMessagesWhereTheUserLooks();
    EXPECT_TRUE(IsCatalogued("C:\\docs\\a.txt"));
}

TEST_F(ProgramMailTest, TheMonitorNoticesNewMailAfterAListWindowCameAndWent)
{
    RunSetup(true);
    CDlgSearchResults* pResults = FindIntoTheListWindow("lunch");
    ASSERT_NE(pResults, nullptr);
    ASSERT_TRUE(pResults->IsWindowVisible());
    pResults->ShowWindow(SW_HIDE);
    m_driver.Pump();

    CNewDocMonitor& monitor = MainFrame()->GetMonitor();
    ASSERT_TRUE(monitor.IsMonitorEnabled());
    const int nBefore = monitor.GetPendingCount();
    std::ofstream(m_drive.Path() / LOCAL_FOLDERS / "Inbox", std::ios::app)
        << MozillaMessage("Late Arrival", "Just in.");
    EXPECT_TRUE(m_driver.PumpUntil([&] {
        m_driver.Advance(1000);
        return monitor.GetPendingCount() > nBefore;
    })) << "the mail folder's watch still reports it";
}

TEST_F(ProgramMailTest, DeletingAMessageSaysItLeavesItsMailFolderAndAFolderWithoutStatusKeepsIt)
{
    RunSetup(false);
    ASSERT_FALSE(UnsortedSubjects().empty());
    CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
    const fs::path inbox = m_drive.Path() / LOCAL_FOLDERS / "Inbox";
    const fs::path archive = m_drive.Path() / LOCAL_FOLDERS / "Archive";
    const std::string strArchive = ReadAll(archive);

    // A message of a folder with status lines leaves it, flagged deleted.
    int nRow = RowOf(list, "Lunch on Friday");
    ASSERT_GE(nRow, 0);
    list.SelectOnly(nRow);
    CString strQuestion;
    m_driver.OnNextDialog([&](HWND hDlg) {
        strQuestion = CTestDriver::Text(::GetDlgItem(hDlg, IDC_SELECTION_TEXT));
        ::EndDialog(hDlg, IDOK);
    });
    list.SendMessage(WM_COMMAND, ID_DOC_RECYCLE);
    m_driver.Pump();
    const std::string strAsked(strQuestion);
    EXPECT_NE(strAsked.find("\"Lunch on Friday\""), std::string::npos) << strAsked;
    EXPECT_NE(strAsked.find("default\\Local Folders\\Inbox (Thunderbird)"), std::string::npos) << strAsked;
    EXPECT_NE(strAsked.find("cannot be restored from the recycle bin"), std::string::npos) << strAsked;
    EXPECT_NE(ReadAll(inbox).find("X-Mozilla-Status: 0009"), std::string::npos);
    EXPECT_FALSE(UnsortedSubjects().contains("Lunch on Friday"));

    // One of a folder without them stays, and the user is told why.
    nRow = RowOf(list, "Old Plans");
    ASSERT_GE(nRow, 0);
    list.SelectOnly(nRow);
    m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDOK); });
    AnswerMessage(IDOK);
    list.SendMessage(WM_COMMAND, ID_DOC_RECYCLE);
    m_driver.Pump();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(std::string(m_messages[0]).find("keeps no status line"), std::string::npos) << m_messages[0];
    EXPECT_EQ(ReadAll(archive), strArchive);
    EXPECT_TRUE(UnsortedSubjects().contains("Old Plans"));
}

TEST_F(ProgramMailTest, TheDeleteCommandSaysMessagesLeaveTheirMailFolders)
{
    RunSetup(false);
    ASSERT_FALSE(UnsortedSubjects().empty());
    CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
    const int nLunch = RowOf(list, "Lunch on Friday");
    const int nReport = RowOf(list, "Quarterly Report");
    ASSERT_GE(nLunch, 0);
    ASSERT_GE(nReport, 0);

    ASSERT_TRUE(m_driver.ClickListRow(list.GetSafeHwnd(), nLunch));
    EXPECT_EQ(RowMenuWords(list, nLunch), "De&lete Message from Mail Folder");
    EXPECT_EQ(DocumentMenuWords(), "De&lete Message from Mail Folder");
    EXPECT_EQ(ButtonTip(), "Delete Message from Mail Folder");

    ASSERT_TRUE(m_driver.ClickListRow(list.GetSafeHwnd(), nReport, 0, CTestDriver::CONTROL));
    ASSERT_EQ(list.GetSelectedCount(), 2u);
    EXPECT_EQ(DocumentMenuWords(), "De&lete Messages from Mail Folders");
    EXPECT_EQ(ButtonTip(), "Delete Messages from Mail Folders");

    // With the groups of the tree the command moves them to the recycle bin again.
    CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
    ASSERT_TRUE(m_driver.ClickTreeItem(tree.m_hWnd, tree.GetRootItem()));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    EXPECT_EQ(DocumentMenuWords(), "Move to Rec&ycle Bin");
    EXPECT_EQ(ButtonTip(), "Move to Recycle Bin");
}
