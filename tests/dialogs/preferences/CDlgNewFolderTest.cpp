// The new-folder dialog as the kit's folder popups open it: a name typed,
// OK, and each refusal's message with the dialog left open.

#include "dialogs/preferences/CDlgNewFolder.h"

#include "dialogs/preferences/PreferenceDialogCalls.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/UiTestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

class DlgNewFolderTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        // The program's module is loaded while the build folder still has its letter.
        m_pUi = std::make_unique<CUiHarness>();
        DriveTreeTest::SetUp();
        MakeFolder("work");
    }
    void TearDown() override
    {
        m_pUi.reset();
        DriveTreeTest::TearDown();
    }

    // Runs the dialog over pszParent, typing each name in turn and pressing
    // OK; the messages shown are noted, and Cancel ends a dialog still open.
    // Every name but a last one that makes the folder expects a message.
    int Run(LPCTSTR pszParent, const std::vector<const char*>& names, bool bLastMakesFolder = false)
    {
        CTestDriver& driver = m_pUi->m_driver;
        driver.OnNextDialog([this, &driver, names, bLastMakesFolder](HWND hDlg) {
            EXPECT_EQ(CTestDriver::Text(::GetDlgItem(hDlg, IDC_NEW_FOLDER_PARENT)), m_strParent.c_str());
            for (const char* pszName : names) {
                if (!bLastMakesFolder || pszName != names.back())
                    driver.OnNextDialog([this](HWND hBox) {
                        m_messages.emplace_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
                        ::EndDialog(hBox, IDOK);
                    });
                ::SetDlgItemText(hDlg, IDC_NEW_FOLDER_NAME, pszName);
                ::SendMessage(hDlg, WM_COMMAND, IDOK, 0);
                if (!::IsWindowVisible(hDlg))
                    return;
                m_bStayedOpen = true;
                EXPECT_EQ(CTestDriver::Focus(), ::GetDlgItem(hDlg, IDC_NEW_FOLDER_NAME));
            }
            ::SendMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
        m_strParent = pszParent;
        return RunNewFolderDialog(pszParent, &m_pUi->m_host);
    }

    static std::string Message(UINT nID, const char* pszPath = nullptr)
    {
        CString strMessage;
        if (pszPath)
            strMessage.Format(nID, pszPath);
        else
            strMessage.LoadString(nID);
        return std::string(strMessage);
    }

    std::unique_ptr<CUiHarness> m_pUi;
    std::string m_strParent;
    std::vector<std::string> m_messages;
    bool m_bStayedOpen { false };
};

TEST_F(DlgNewFolderTest, MakesTheFolderAfterABlankNameAndRefusesItASecondTime)
{
    EXPECT_EQ(Run("C:\\work", { "   ", "  reports " }, true), 1);
    EXPECT_EQ(m_messages, (std::vector<std::string> { Message(IDS_NEW_FOLDER_NO_NAME) }));
    EXPECT_TRUE(std::filesystem::is_directory(Root() / "work" / "reports"));

    m_messages.clear();
    EXPECT_EQ(Run("C:\\work\\", { "reports" }), 0) << "the folder is already there";
    EXPECT_EQ(m_messages, (std::vector<std::string> { Message(IDS_FOLDER_NOT_CREATED, "C:\\work\\reports") }));
}

TEST_F(DlgNewFolderTest, RefusesABadNameAndAMissingOrReadOnlyParentWithoutMakingAnything)
{
    EXPECT_EQ(Run("C:\\work", { "a|b" }), 0);
    EXPECT_EQ(Run("C:\\gone", { "new" }), 0);
    std::filesystem::permissions(
        Root() / "work", std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    EXPECT_EQ(Run("C:\\work", { "new" }), 0);
    std::filesystem::permissions(
        Root() / "work", std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(m_messages,
        (std::vector<std::string> { Message(IDS_FOLDER_NAME_INVALID, "C:\\work\\a|b"),
            Message(IDS_FOLDER_MISSING, "C:\\gone"), Message(IDS_FOLDER_NOT_WRITABLE, "C:\\work") }));
    EXPECT_TRUE(m_bStayedOpen);
    EXPECT_TRUE(std::filesystem::is_empty(Root() / "work"));
}

} // namespace
